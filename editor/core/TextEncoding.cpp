// Windows-1251 and file-name conversions.
#include "core/TextEncoding.h"

#include <QFile>
#include <QTextCodec>
#include <cstring>

namespace {

QTextCodec* windows1251() {
    // Core5Compat keeps the codec for the program's lifetime.
    static QTextCodec* const codec = QTextCodec::codecForName("Windows-1251");
    return codec;
}

} // namespace

QString Text_FromWindows1251(const char* bytes, qsizetype length) {
    if (!bytes) return QString();
    if (length < 0) length = static_cast<qsizetype>(std::strlen(bytes));
    return windows1251()->toUnicode(bytes, static_cast<int>(length));
}

QString Text_FromWindows1251(const QByteArray& bytes) {
    return windows1251()->toUnicode(bytes);
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
