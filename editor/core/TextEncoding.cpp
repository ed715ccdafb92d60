// Windows-1251 and file-name conversions.
#include "core/TextEncoding.h"

#include <QFile>
#include <QTextCodec>
#include <array>
#include <cstring>

namespace {

QTextCodec* windows1251() {
    // Core5Compat keeps the codec for the program's lifetime.
    static QTextCodec* const codec = QTextCodec::codecForName("Windows-1251");
    return codec;
}

// Windows-1251 gives each byte one character: a table made once through the codec decodes a text
// without the codec's per-call converter set-up (the texture lists decode thousands of names).
struct DecodeTable {
    std::array<char16_t, 256> chars{};
    bool valid = false;
};

const DecodeTable& decodeTable() {
    static const DecodeTable table = [] {
        DecodeTable t;
        char bytes[256];
        for (int i = 0; i < 256; ++i)
            bytes[i] = static_cast<char>(i);
        const QString all = windows1251()->toUnicode(bytes, 256);
        if (all.size() != 256) return t;
        for (int i = 0; i < 256; ++i)
            t.chars[size_t(i)] = all[i].unicode();
        t.valid = true;
        return t;
    }();
    return table;
}

} // namespace

QString Text_FromWindows1251(const char* bytes, qsizetype length) {
    if (!bytes) return QString();
    if (length < 0) length = static_cast<qsizetype>(std::strlen(bytes));
    const DecodeTable& table = decodeTable();
    if (!table.valid) return windows1251()->toUnicode(bytes, static_cast<int>(length));
    QString text(length, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < length; ++i)
        out[i] = table.chars[static_cast<unsigned char>(bytes[i])];
    return text;
}

QString Text_FromWindows1251(const QByteArray& bytes) {
    return Text_FromWindows1251(bytes.constData(), bytes.size());
}

QByteArray Text_ToWindows1251(const QString& text) {
    return windows1251()->fromUnicode(text);
}

bool Text_FitsWindows1251(const QString& text) {
    return windows1251()->canEncode(text);
}

QString Path_FromNative(const char* path) {
    return path ? QFile::decodeName(path) : QString();
}

QByteArray Path_ToNative(const QString& path) {
    return QFile::encodeName(path);
}
