// "KDKLanguage.ini" and the two translators: the program's texts ("zarv_" + code) and the
// framework's ("framework_" + code), both from the base directory's "local" folder.
#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QSettings>
#include <QTranslator>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "mainwindow/MainWindow.h"

namespace {

// Process-wide: they outlive every window and are installed once.
QTranslator& programTranslator() {
    static QTranslator translator;
    return translator;
}

QTranslator& frameworkTranslator() {
    static QTranslator translator;
    return translator;
}

// The code becomes part of a file name: letters and "_" only.
bool validCode(const QString& code) {
    if (code.isEmpty()) return false;
    for (QChar c : code)
        if (!(c.isLetter() && c.unicode() < 0x80) && c != QLatin1Char('_')) return false;
    return true;
}

} // namespace

void cMainWindow::installTranslators() {
    static bool installed = false;
    if (installed || !QCoreApplication::instance()) return;
    installed = true;
    QCoreApplication::installTranslator(&programTranslator());
    QCoreApplication::installTranslator(&frameworkTranslator());
}

// Loads both translators for the code; a missing file leaves that one empty (English texts).
static void loadTranslators(const QString& code) {
    const QString folder = App_GetBaseDirectory() + QStringLiteral("/local");
    if (!programTranslator().load(QStringLiteral("zarv_") + code, folder))
        (void)programTranslator().load(QString());
    if (!frameworkTranslator().load(QStringLiteral("framework_") + code, folder))
        (void)frameworkTranslator().load(QString());
}

void cMainWindow::loadLanguage() {
    QString code = QStringLiteral("en");
    {
        const QString path = resolveConfigFile(QStringLiteral("KDKLanguage.ini"), false);
        QSettings file(path, QSettings::IniFormat);
        const QString value = file.value(QStringLiteral("Language")).toString().toLower();
        if (file.contains(QStringLiteral("Language"))) {
            if (validCode(value))
                code = value;
            else
                Sys_Warning("%s: Language code \"%s\" ignored", Text_ToWindows1251(path).constData(),
                            Text_ToWindows1251(value).constData());
        }
    }
    languageCode = code;
    loadTranslators(code);
}

bool cMainWindow::saveLanguage() {
    const QString path = resolveConfigFile(QStringLiteral("KDKLanguage.ini"), true);
    bool written = false;
    {
        QSettings file(path, QSettings::IniFormat);
        // All or nothing: a failed write keeps the previous file.
        file.setAtomicSyncRequired(true);
        if (file.isWritable()) {
            file.setValue(QStringLiteral("Language"), languageCode);
            file.sync();
            written = file.status() == QSettings::NoError;
        }
    }
    if (!written)
        Sys_Warning("Could not write the language file \"%s\"", Text_ToWindows1251(path).constData());
    return written;
}

void cMainWindow::installLanguage(QAction* action, const QString& language) {
    if (language == languageCode) return;
    languageCode = language;
    loadTranslators(validCode(language) ? language : QStringLiteral("en"));
    applyLanguage(action, language);
}

void cMainWindow::changeEvent(QEvent* event) {
    // "ru_RU" finds "zarv_ru.qm" by the translators' own fallback to shorter names.
    if (event->type() == QEvent::LocaleChange) installLanguage(nullptr, QLocale::system().name());
    QMainWindow::changeEvent(event);
}

// The flag, and for the checked state the flag in a dark frame with a check mark: the menu shows the
// language in use by its icon, where a check box would have been.
static QIcon checkedFlag(const QString& file) {
    QIcon icon(file);
    const QPixmap flag(file);
    if (flag.isNull()) return icon;
    QPixmap on(flag.size() + QSize(4, 4));
    on.fill(Qt::transparent);
    QPainter p(&on);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(on.rect(), QColor(35, 35, 40));
    p.drawPixmap(2, 2, flag);
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal w = on.width(), h = on.height();
    const QPolygonF tick(
        {QPointF(w * 0.3, h * 0.5), QPointF(w * 0.45, h * 0.75), QPointF(w * 0.75, h * 0.25)});
    p.drawPolyline(tick);
    p.setPen(QPen(QColor(30, 150, 60), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(tick);
    p.end();
    icon.addPixmap(on, QIcon::Normal, QIcon::On);
    return icon;
}

void cMainWindow::createLanguageMenu() {
    if (!languageMenu) return;
    Q_INIT_RESOURCE(local); // the flags live in the editor's static library
    const QFileInfoList files =
        QDir(App_GetBaseDirectory() + QStringLiteral("/local"))
            .entryInfoList({QStringLiteral("zarv_*.qm")}, QDir::Files | QDir::Readable, QDir::Name);
    languageCount = int(files.size());
    if (files.isEmpty()) return;
    languageGroup = new QActionGroup(this);
    languageGroup->setExclusive(true);
    connect(languageGroup, &QActionGroup::triggered, this, &cMainWindow::switchLanguage);
    languageActions.clear();
    for (const QFileInfo& file : files) {
        // "zarv_ru.qm" → "ru".
        QString code = file.fileName().mid(file.fileName().indexOf(QLatin1Char('_')) + 1);
        code.chop(3);
        QTranslator translator;
        QString display;
        if (translator.load(file.filePath())) display = translator.translate("LOCAL", "English");
        if (display.isEmpty()) display = QStringLiteral("English");
        auto* action = new QAction(QStringLiteral("&%1\t%2").arg(code.toUpper(), display), languageMenu);
        action->setCheckable(true);
        action->setData(code.toLower());
        action->setIcon(checkedFlag(QStringLiteral(":/qrc/local/") + code + QStringLiteral(".png")));
        languageMenu->addAction(action);
        languageGroup->addAction(action);
        languageActions.append(action);
        action->setChecked(code.toLower() == languageCode);
    }
}
