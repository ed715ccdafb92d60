#include "dialogs/editing/LayoutRecords.h"

#include <QIODevice>
#include <QSplitter>
#include <QWidget>

bool Layout_ReadBytes(QIODevice* device, QByteArray& bytes) {
    char length[2];
    if (device->read(length, 2) != 2) return false;
    const int size = uint8_t(length[0]) | (uint8_t(length[1]) << 8);
    if (size == 0) return false;
    bytes = device->read(size);
    return bytes.size() == size;
}

bool Layout_WriteBytes(QIODevice* device, const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() > kLayoutRecordMax) return false;
    const char length[2] = {char(bytes.size() & 0xff), char(bytes.size() >> 8)};
    return device->write(length, 2) == 2 && device->write(bytes) == bytes.size();
}

bool Layout_ReadGeometry(QWidget* widget, QIODevice* device) {
    QByteArray bytes;
    if (!Layout_ReadBytes(device, bytes)) return false;
    return !widget || widget->restoreGeometry(bytes);
}

bool Layout_WriteGeometry(QWidget* widget, QIODevice* device) {
    return widget && Layout_WriteBytes(device, widget->saveGeometry());
}

bool Layout_ReadSplitter(QSplitter* splitter, QIODevice* device) {
    QByteArray geometry, state;
    if (!Layout_ReadBytes(device, geometry) || !Layout_ReadBytes(device, state)) return false;
    if (!splitter) return true;
    return splitter->restoreGeometry(geometry) && splitter->restoreState(state);
}

bool Layout_WriteSplitter(QSplitter* splitter, QIODevice* device) {
    return splitter && Layout_WriteBytes(device, splitter->saveGeometry()) &&
           Layout_WriteBytes(device, splitter->saveState());
}
