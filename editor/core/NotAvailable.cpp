#include "core/NotAvailable.h"

#include <QSet>

#include "core/System.h"

void Sys_ReportNotAvailable(const char* name) {
    static QSet<QByteArray> reported;
    if (!name) return;
    const QByteArray key(name);
    if (reported.contains(key)) return;
    reported.insert(key);
    Sys_Warning("%s is not available yet", name);
}
