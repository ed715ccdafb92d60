// The tools' mouse cursors and the two pixmaps the views draw over themselves, loaded from the
// program's resources with their hot spots.
#pragma once

#include <QCursor>
#include <QPixmap>
#include <span>

struct WindowCursors {
    QPixmap move;
    QPixmap camera;
    QCursor magnify;
    QCursor cross;
    QCursor texture;
    QCursor decal;
    QCursor entity;
    QCursor brush;
    QCursor rotate;
};

struct WindowCursorRow {
    const char* resource;
    QCursor WindowCursors::*cursor; // null for the pixmaps
    QPixmap WindowCursors::*pixmap;
    int hotX, hotY;
};

// Every cursor and pixmap with its resource and hot spot.
std::span<const WindowCursorRow> Cursors_Table();
// Fills every member; needs a GUI application. A missing image leaves an empty one.
void Cursors_Load(WindowCursors& cursors);
// Registers the program's resources (":/qrc/...") once; the library holding them is static.
void App_InitResources();
