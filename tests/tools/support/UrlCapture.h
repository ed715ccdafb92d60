// Takes the web pages the program opens (http and https) instead of the desktop's browser while it
// exists, and records them in order.
#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

class cUrlCapture : public QObject {
    Q_OBJECT
public:
    cUrlCapture();
    ~cUrlCapture() override;

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url);
};
