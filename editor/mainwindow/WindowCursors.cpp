#include "mainwindow/WindowCursors.h"

namespace {

const WindowCursorRow kRows[] = {
    {":/qrc/c_move.png", nullptr, &WindowCursors::move, 0, 0},
    {":/qrc/c_camera.png", nullptr, &WindowCursors::camera, 0, 0},
    {":/qrc/c_magnify.png", &WindowCursors::magnify, nullptr, 9, 9},
    {":/qrc/c_cross.png", &WindowCursors::cross, nullptr, 16, 15},
    {":/qrc/c_texture.png", &WindowCursors::texture, nullptr, 0, 0},
    {":/qrc/c_decal.png", &WindowCursors::decal, nullptr, 6, 6},
    {":/qrc/c_entity.png", &WindowCursors::entity, nullptr, 6, 6},
    {":/qrc/c_brush.png", &WindowCursors::brush, nullptr, 6, 6},
    {":/qrc/c_rotate.png", &WindowCursors::rotate, nullptr, 15, 15},
};

} // namespace

// The resource initialiser is named after the .qrc file and must be called outside any namespace.
static void initZarvResources() {
    Q_INIT_RESOURCE(zarv);
}

void App_InitResources() {
    static const bool done = (initZarvResources(), true);
    (void)done;
}

std::span<const WindowCursorRow> Cursors_Table() {
    return kRows;
}

void Cursors_Load(WindowCursors& cursors) {
    App_InitResources();
    for (const WindowCursorRow& row : kRows) {
        const QPixmap image(QLatin1String(row.resource));
        if (row.pixmap)
            cursors.*row.pixmap = image;
        else
            cursors.*row.cursor = QCursor(image, row.hotX, row.hotY);
    }
}
