// Text crossings. Map text (key/values, texture names, script tokens) is raw Windows-1251 bytes
// and goes to and from QString only through the first pair; file-system paths are UTF-8 and go
// through the second. The locale's 8-bit conversions of Qt mean UTF-8 here and are never used
// for map text.
#pragma once

#include <QByteArray>
#include <QString>

QString Text_FromWindows1251(const char* bytes, qsizetype length = -1);
QString Text_FromWindows1251(const QByteArray& bytes);
// Characters without a Windows-1251 code become '?'.
QByteArray Text_ToWindows1251(const QString& text);
// Whether every character of the text has a Windows-1251 code.
bool Text_FitsWindows1251(const QString& text);

QString Path_FromNative(const char* path);
QByteArray Path_ToNative(const QString& path);
