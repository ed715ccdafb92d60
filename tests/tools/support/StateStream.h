// Bytes of Qt's widget state streams (main window, splitter) as the layout file stores them, for
// tests and seed writers that build damaged or hand-made states.
#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <initializer_list>

// Ints as Qt's state streams write them.
inline QByteArray Test_StateInts(std::initializer_list<qint32> values) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_0);
    for (qint32 v : values)
        out << v;
    return bytes;
}
