#include "dialogs/editing/LayoutRecords.h"

#include <QDataStream>
#include <QIODevice>
#include <QSplitter>
#include <QWidget>
#include <algorithm>

namespace {

// Markers of Qt's main-window state stream (the format of QDataStream::Qt_5_0).
constexpr int32_t kStateVersionMarker = 0xff;
constexpr uint8_t kDockStateMarker = 0xfd;
constexpr uint8_t kFloatingTabsMarker = 0xf9;
constexpr uint8_t kToolBarStateMarkerEx = 0xfc;
constexpr uint8_t kDockSequenceMarker = 0xfc;
constexpr uint8_t kDockTabMarker = 0xfa;
constexpr uint8_t kDockWidgetMarker = 0xfb;
constexpr uint8_t kDockFloating = 0x2;
constexpr int kDockAreas = 4;
// Nested dock areas deeper than this are no layout a user made.
constexpr int kMaxDockDepth = 16;
constexpr int32_t kSplitterMagic = 0xff;
// No screen is this wide: every position and size in a state lies within plus or minus this. Qt
// sums and divides them unchecked, and lays out the window for minutes over a giant extent.
constexpr int32_t kMaxExtent = 1 << 16;
// A splitter handle wider than this is no handle a user set; -1 is the style's own width.
constexpr int32_t kMaxHandleWidth = 64;
// The dock areas a corner can belong to (Qt::DockWidgetArea, one bit each).
constexpr int32_t kCornerAreas[] = {Qt::LeftDockWidgetArea, Qt::RightDockWidgetArea, Qt::TopDockWidgetArea,
                                    Qt::BottomDockWidgetArea};

// Reads what a state record holds; any read past its end leaves the stream failed, so every loop
// below ends within the record whatever its counts claim.
class StateReader {
public:
    explicit StateReader(const QByteArray& bytes) : m_stream(bytes) {
        m_stream.setVersion(QDataStream::Qt_5_0);
    }
    bool ok() const { return m_stream.status() == QDataStream::Ok; }
    bool atEnd() const { return m_stream.atEnd(); }
    uint8_t byte() {
        quint8 v = 0;
        m_stream >> v;
        return v;
    }
    int32_t integer() {
        qint32 v = 0;
        m_stream >> v;
        return v;
    }
    // An int within [low, high]; any other value leaves the stream failed.
    int32_t bounded(int32_t low, int32_t high) {
        const int32_t v = integer();
        if (v < low || v > high) fail();
        return v;
    }
    // A byte within [0, high].
    uint8_t smallByte(uint8_t high) {
        const uint8_t v = byte();
        if (v > high) fail();
        return v;
    }
    bool flag() { return smallByte(1) != 0; }
    // The ints of a size, a rect or a dock item's place, each within kMaxExtent.
    void skipExtents(int count) {
        for (int i = 0; i < count; ++i)
            bounded(-kMaxExtent, kMaxExtent);
    }
    // Ints any value of which Qt reads safely: a tool bar's packed geometry, a docked item's
    // minimum and maximum size (written, read back and dropped).
    void skipIntegers(int count) {
        for (int i = 0; i < count; ++i)
            integer();
    }
    void orientation() {
        const uint8_t v = byte();
        if (v != Qt::Horizontal && v != Qt::Vertical) fail();
    }
    // A string: its byte length (all ones for a null string) and UTF-16 bytes, never more than
    // the record has left.
    void skipString() {
        const quint32 length = quint32(integer());
        if (!ok() || length == 0xffffffffu) return;
        if (length % 2 != 0 ||
            m_stream.skipRawData(int(std::min<quint32>(length, 0x7fffffff))) != int(length))
            m_stream.setStatus(QDataStream::ReadCorruptData);
    }
    qint64 left() const { return m_stream.device()->bytesAvailable(); }

private:
    void fail() { m_stream.setStatus(QDataStream::ReadCorruptData); }

    QDataStream m_stream;
};

// A docked item's position and size, then its minimum and maximum size (any value: Qt drops them).
void skipDockedItem(StateReader& in) {
    in.skipExtents(2);
    in.skipIntegers(2);
}

bool checkDockArea(StateReader& in, int depth) {
    if (depth > kMaxDockDepth) return false;
    const uint8_t marker = in.byte();
    if (marker != kDockTabMarker && marker != kDockSequenceMarker) return false;
    if (marker == kDockTabMarker) in.bounded(-1, kMaxExtent); // the tab on top
    in.orientation();
    const int32_t count = in.integer();
    if (!in.ok() || count < 0) return false;
    for (int32_t i = 0; i < count && in.ok(); ++i) {
        const uint8_t item = in.byte();
        if (item == kDockWidgetMarker) {
            in.skipString();
            // The visible and floating flags, then a floating window's rect, or a docked item's
            // position, size and limits.
            if (in.smallByte(3) & kDockFloating)
                in.skipExtents(4);
            else
                skipDockedItem(in);
        } else if (item == kDockSequenceMarker) {
            skipDockedItem(in);
            if (!in.ok() || !checkDockArea(in, depth + 1)) return false;
        } else {
            return false;
        }
    }
    return in.ok();
}

bool checkDocks(StateReader& in) {
    const int32_t areas = in.integer();
    if (!in.ok() || areas < 0 || areas > kDockAreas) return false;
    for (int32_t i = 0; i < areas; ++i) {
        const int32_t area = in.integer();
        if (!in.ok() || area < 0 || area >= kDockAreas) return false;
        in.skipExtents(2); // its size
        if (!in.ok() || !checkDockArea(in, 0)) return false;
    }
    in.skipExtents(2); // the central widget's size
    for (int corner = 0; corner < 4; ++corner) {
        const int32_t area = in.integer();
        if (std::find(std::begin(kCornerAreas), std::end(kCornerAreas), area) == std::end(kCornerAreas))
            return false;
    }
    return in.ok();
}

bool checkToolBars(StateReader& in) {
    const int32_t lines = in.integer();
    if (!in.ok() || lines < 0) return false;
    for (int32_t i = 0; i < lines && in.ok(); ++i) {
        const int32_t area = in.integer();
        const int32_t count = in.integer();
        if (!in.ok() || area < 0 || area >= kDockAreas || count < 0) return false;
        for (int32_t k = 0; k < count && in.ok(); ++k) {
            in.skipString();
            in.smallByte(3);    // shown and orientation
            in.skipExtents(2);  // position, preferred size
            in.skipIntegers(2); // packed geometry
        }
    }
    return in.ok();
}

} // namespace

bool Layout_CheckMainWindowState(const QByteArray& state, int32_t version) {
    StateReader in(state);
    if (in.integer() != kStateVersionMarker || in.integer() != version || !in.ok()) return false;
    while (in.ok() && !in.atEnd()) {
        switch (in.byte()) {
        case kDockStateMarker:
            if (!checkDocks(in)) return false;
            break;
        case kFloatingTabsMarker:
            in.skipExtents(4); // the floating window's rect
            if (!in.ok() || !checkDockArea(in, 0)) return false;
            break;
        case kToolBarStateMarkerEx:
            if (!checkToolBars(in)) return false;
            break;
        default:
            return false;
        }
    }
    return in.ok();
}

bool Layout_CheckSplitterState(const QByteArray& state) {
    StateReader in(state);
    const int32_t magic = in.integer();
    const int32_t version = in.integer();
    if (!in.ok() || magic != kSplitterMagic || version < 0 || version > 1) return false;
    const quint32 sizes = quint32(in.integer());
    if (!in.ok() || sizes > quint64(in.left()) / 4) return false;
    in.skipExtents(int(sizes));
    in.flag(); // children collapsible
    in.bounded(-1, kMaxHandleWidth);
    in.flag(); // opaque resize
    in.bounded(Qt::Horizontal, Qt::Vertical);
    if (version >= 1) in.flag(); // opaque resize set
    return in.ok() && in.atEnd();
}

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
    if (!Layout_CheckSplitterState(state)) return false;
    if (!splitter) return true;
    return splitter->restoreGeometry(geometry) && splitter->restoreState(state);
}

bool Layout_WriteSplitter(QSplitter* splitter, QIODevice* device) {
    return splitter && Layout_WriteBytes(device, splitter->saveGeometry()) &&
           Layout_WriteBytes(device, splitter->saveState());
}
