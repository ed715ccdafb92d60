// The records of the layout file that dialogs keep: length-prefixed byte arrays (u16 length, low
// byte first, then the bytes), a widget's geometry, a splitter's geometry and state.
#pragma once

#include <QByteArray>
#include <cstdint>

class QIODevice;
class QSplitter;
class QWidget;

// Longest array a record holds.
inline constexpr int kLayoutRecordMax = 65535;

// False on a short read, a zero length or fewer bytes than the length.
bool Layout_ReadBytes(QIODevice* device, QByteArray& bytes);
// Refuses an empty array or one longer than kLayoutRecordMax before writing anything.
bool Layout_WriteBytes(QIODevice* device, const QByteArray& bytes);
// One geometry record restored into the widget (a null widget reads and drops it).
bool Layout_ReadGeometry(QWidget* widget, QIODevice* device);
bool Layout_WriteGeometry(QWidget* widget, QIODevice* device);
// Whether a state record holds what Qt's own writer makes of a main window (header with the
// version, dock areas, floating tab groups, tool-bar lines) or of a splitter, every count within
// the bytes there are and every value within what a screen holds (positions and sizes, a splitter
// handle's width, flags, orientations, corners). Qt's readers trust what they read: a damaged
// record could make them loop for minutes, allocate gigabytes or lay out a window for minutes.
bool Layout_CheckMainWindowState(const QByteArray& state, int32_t version);
bool Layout_CheckSplitterState(const QByteArray& state);
// The splitter's geometry record, then its state record (checked first).
bool Layout_ReadSplitter(QSplitter* splitter, QIODevice* device);
bool Layout_WriteSplitter(QSplitter* splitter, QIODevice* device);
