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
};

// The installed host, or null. The host outlives its installation.
SysHost* Sys_Host();
void Sys_SetHost(SysHost* host);
