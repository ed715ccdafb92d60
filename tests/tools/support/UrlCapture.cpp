#include "UrlCapture.h"

#include <QDesktopServices>

cUrlCapture::cUrlCapture() {
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
}

cUrlCapture::~cUrlCapture() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

void cUrlCapture::open(const QUrl& url) {
    opened.append(url);
}
