#include "dialogs/editing/NameFilter.h"

#include <QStringList>

QRegularExpression NameFilter_Pattern(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[ ,;]"));
    // Split before escaping: the escape puts a backslash before blanks, commas and semicolons.
    QStringList parts = text.split(separators, Qt::SkipEmptyParts);
    for (QString& part : parts)
        part = QRegularExpression::escape(part);
    return QRegularExpression(QStringLiteral("(.*%1.*)").arg(parts.join(QStringLiteral(".*|.*"))),
                              QRegularExpression::CaseInsensitiveOption);
}
