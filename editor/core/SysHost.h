// What the system layer asks of the running program: the console, the settings it reads, the
// plugin options, the program archives and the file look-ups' remembered answers. The main window
// installs its host for its lifetime; without one the system layer runs headless (no console
// lines, no snapping to the grid, options read 0, only the disk is searched, nothing is
// remembered).
#pragma once

#include <QString>
#include <cstdint>

class ArchiveRegistry;
struct FoundFiles;
struct MainSettings;

// The world size without a window.
inline constexpr int32_t kDefaultMaxWorldSize = 8192;

// The preferences the map objects read. The defaults are the settings' defaults, which also hold
// without a window.
struct MapPreferences {
    bool keepDefaultEpairs = false;
    bool entityTransparency = true;
    bool keepCloneVisGroup = false;
    bool useVisgroupColors = true;
    bool transformAngles = true;
    bool textureLockUV = false;
    bool textureTransparency = true;
    bool drawVertices = true;
};

class SysHost {
public:
    virtual ~SysHost() = default;

    // One console line (HTML); redraw false keeps the views from repainting for it.
    virtual void printToConsole(const QString& html, bool redraw) = 0;
    // True while the splash screen stands: per-item progress lines stay out of the console.
    virtual bool starting() const = 0;
    // The grid the snapping functions use; 0 when snapping to the grid is off.
    virtual int32_t snapGrid() const = 0;
    // How near a coordinate must be to a whole number to be rounded to it.
    virtual float vertexRoundEpsilon() const = 0;
    // The size of the world, which bounds the windings cut from planes.
    virtual int32_t maxWorldSize() const = 0;
    // The plugin options (numbers in core/System.h).
    virtual int32_t option(int32_t option) const = 0;
    virtual void setOption(int32_t option, int32_t value) = 0;
    virtual ArchiveRegistry& archives() = 0;
    virtual FoundFiles& foundFiles() = 0;
    // The user's preferences; null where the host keeps none (then the defaults hold).
    virtual MainSettings* settings() { return nullptr; }
};

// The installed host, or null. The host outlives its installation.
SysHost* Sys_Host();
void Sys_SetHost(SysHost* host);

// The installed host's map preferences, else the defaults.
MapPreferences Sys_MapPreferences();
// The installed host's world size, else the default.
int32_t Sys_MaxWorldSize();
// The installed host's preferences, else the defaults (every member as declared).
const MainSettings& Sys_Settings();
// The installed host's preferences to change, or null without a host that keeps them.
MainSettings* Sys_MutableSettings();
