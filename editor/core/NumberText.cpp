#include "core/NumberText.h"

#include <QCoreApplication>
#include <QLocale>
#include <cmath>

bool Number_Read(QStringView text, double lowest, double highest, float* value) {
    bool ok = false;
    const double read = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(read) || read < lowest || read > highest) return false;
    const float narrowed = float(read);
    if (!std::isfinite(narrowed)) return false;
    *value = narrowed;
    return true;
}

QString Number_RefusalText(const QString& text, double lowest, double highest) {
    return QCoreApplication::translate("Number", "\"%1\" is not a number from %2 to %3.")
        .arg(text, QLocale::c().toString(lowest, 'g', 7), QLocale::c().toString(highest, 'g', 7));
}
