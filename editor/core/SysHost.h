// What the system layer asks of the running program: the console, the settings it reads, the
// program archives and the file look-ups' remembered answers. The main window installs its host
// for its lifetime, a program without a window its own; without one the system layer runs
// headless (no console lines, no snapping to the grid, options read 0, only the disk is searched,
// nothing is remembered). The plugin options and the snapping grid live in the host's settings
// and are answered here, the same for every host.
#pragma once

#include <QString>
#include <cstdint>

class FileArchives;
struct FoundFiles;
struct MainSettings;

// The world size without a window.
inline constexpr int32_t kDefaultMaxWorldSize = 8192;

class SysHost {
public:
    virtual ~SysHost() = default;

    // One console line (HTML); redraw false keeps the views from repainting for it.
    virtual void printToConsole(const QString& html, bool redraw) = 0;
    // True while the splash screen stands: per-item progress lines stay out of the console.
    virtual bool starting() const = 0;
    // How near a coordinate must be to a whole number to be rounded to it.
    virtual float vertexRoundEpsilon() const = 0;
    // The size of the world, which bounds the windings cut from planes.
    virtual int32_t maxWorldSize() const = 0;
    // A plugin option (numbers in core/System.h) has just been changed in settings(): a window
    // shows the new state.
    virtual void optionChanged(int32_t /*option*/) {}
    virtual FileArchives& archives() = 0;
    virtual FoundFiles& foundFiles() = 0;
    // The user's preferences; null where the host keeps none (then the defaults hold).
    virtual MainSettings* settings() { return nullptr; }
};

// The installed host, or null. The host outlives its installation.
SysHost* Sys_Host();
void Sys_SetHost(SysHost* host);

// The grid the snapping functions use, from the installed host's settings: 0 when snapping to
// the grid is off or no host keeps settings, else the grid size (at least 1).
int32_t Sys_SnapGrid();
// The installed host's world size, else the default.
int32_t Sys_MaxWorldSize();
// The program's settings, the one way to them: the installed host's preferences, else the
// defaults (every member as declared). Read afresh where used, so a change takes effect at once.
const MainSettings& Sys_Settings();
// The same settings to change, or null without a host that keeps them.
MainSettings* Sys_MutableSettings();
