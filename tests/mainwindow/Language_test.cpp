#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QToolBar>
#include <set>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "dialogs/application/QCustomAction.h"

namespace {

class LanguageTest : public cWindowFixture {
protected:
    void TearDown() override {
        // The translators are the process's: leave them empty for the next test.
        cMainWindow reset(WindowMode::Headless);
        reset.languageCode = QStringLiteral("-");
        reset.installLanguage(nullptr, QStringLiteral("en"));
        cWindowFixture::TearDown();
    }

    // A language "xx" translating every table text to "X" + text, compiled by the release tool.
    void makePseudoLanguage() {
        std::map<QString, std::set<QString>> sources;
        auto add = [&](const char* context, const QString& text) {
            if (!text.isEmpty()) sources[QLatin1String(context)].insert(text);
        };
        for (const auto& table : {Action_Table(), Action_ToolTable()})
            for (const ActionEntry& row : table) {
                add("QCustomAction", QString::fromUtf8(row.text));
                add("QCustomAction", QString::fromUtf8(row.statusTip));
                if (row.flags & ActionFlag::MenuBar) add("QMenu", QString::fromUtf8(row.menu));
                add("QMenu", QString::fromUtf8(row.group));
                if (row.flags & (ActionFlag::WebLinks | 0x100 | 0x200 | 0x800))
                    add("QMenu", QString::fromUtf8(row.text));
            }
        for (const WebLinkEntry& link : Action_WebLinks())
            add("QCustomAction", QString::fromUtf8(link.caption));
        for (const auto& list : {Action_MapToolBars()})
            for (const ActionHolder& h : list)
                add("QCustomAction", QLatin1String(h.name));
        for (const char* text : {"Map&tools Bar", "&Object Bar", "Te&xture Bar", "&Filter Control",
                                 "&Status Bar", "&Custom...", "Open \"%1\" in web browser"})
            add("QCustomAction", QLatin1String(text));
        for (const char* text : {"Can't undo", "Can't redo", "Enabl&e Undo/Redo", "For Help, press F1"})
            add("cMainWindow", QLatin1String(text));
        QByteArray ts;
        for (const auto& [context, texts] : sources) {
            ts += "<context><name>" + context.toUtf8() + "</name>\n";
            for (const QString& text : texts)
                ts += "<message><source>" + text.toHtmlEscaped().toUtf8() + "</source><translation>X" +
                      text.toHtmlEscaped().toUtf8() + "</translation></message>\n";
            ts += "</context>\n";
        }
        compileLanguage("xx", ts);
    }

    // Every translated text of the window is prefix + its source.
    static void expectTexts(const cMainWindow& window, const QString& prefix) {
        for (const auto* list : {&window.actionList, &window.toolActions})
            for (QAction* entry : *list) {
                auto* action = qobject_cast<QCustomAction*>(entry);
                if (!action) continue;
                const QString name = action->objectName();
                if (name == QLatin1String("EditUndo") || name == QLatin1String("EditRedo") ||
                    name == QLatin1String("EditNoUndo"))
                    continue;
                if (!action->sourceText.isEmpty()) EXPECT_EQ(action->text(), prefix + action->sourceText);
                if (!action->statusText.isEmpty())
                    EXPECT_EQ(action->statusTip(), action->statusArg.isEmpty()
                                                       ? prefix + action->statusText
                                                       : (prefix + action->statusText).arg(action->statusArg))
                        << action->statusText.toStdString();
                if (!action->toolTipText.isEmpty())
                    EXPECT_TRUE(action->toolTip().startsWith(prefix + action->toolTipText))
                        << action->toolTip().toStdString();
            }
        for (const auto* list : {&window.menus, &window.contextSubmenus})
            for (QMenu* menu : *list)
                if (!menu->objectName().isEmpty()) EXPECT_EQ(menu->title(), prefix + menu->objectName());
        for (QToolBar* bar : window.toolBars)
            EXPECT_EQ(bar->windowTitle(), prefix + bar->objectName());
        // The undo texts come back from the refresh after the texts (no map: nothing to undo).
        for (QAction* action : Window_Actions(window, QStringLiteral("EditUndo")))
            EXPECT_EQ(action->text(), prefix + QStringLiteral("Can't undo"));
    }

    // "base/local/zarv_<code>.qm" made by the release tool from the messages' contexts.
    void compileLanguage(const char* code, const QByteArray& messages) {
        writeFile(QStringLiteral("%1.ts").arg(QLatin1String(code)),
                  "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\">\n" +
                      messages + "</TS>\n");
        QDir().mkpath(path("base/local"));
        ASSERT_EQ(
            QProcess::execute(QStringLiteral(ZARV_LRELEASE),
                              {QStringLiteral("-silent"),
                               path(QStringLiteral("%1.ts").arg(QLatin1String(code))), QStringLiteral("-qm"),
                               path(QStringLiteral("base/local/zarv_%1.qm").arg(QLatin1String(code)))}),
            0);
    }

    cConsoleCapture console;
};

} // namespace

TEST_F(LanguageTest, PseudoLanguageTranslatesEveryTextAtStartAndEnglishRestoresThem) {
    makePseudoLanguage();
    writeFile("config/zarv/KDKLanguage.ini", "[General]\nLanguage=XX\n");
    cMainWindow window(WindowMode::Interactive);
    EXPECT_EQ(window.languageCode, QLatin1String("xx"));
    expectTexts(window, QStringLiteral("X"));
    window.installLanguage(nullptr, QStringLiteral("en"));
    expectTexts(window, QString());
    // Saved at close, read at the next start.
    window.installLanguage(nullptr, QStringLiteral("xx"));
    window.close();
    EXPECT_EQ(
        QSettings(path("config/zarv/KDKLanguage.ini"), QSettings::IniFormat).value("Language").toString(),
        QLatin1String("xx"));
}

TEST_F(LanguageTest, UpperCaseCodeLoadsTheShippedRussianFiles) {
    QDir().mkpath(path("base/local"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZARV_BIN_DIR "/local/zarv_ru.qm"), path("base/local/zarv_ru.qm")));
    writeFile("config/zarv/KDKLanguage.ini", "[General]\nLanguage=RU\n");
    cMainWindow window(WindowMode::Interactive);
    EXPECT_EQ(window.languageCode, QLatin1String("ru"));
    QStringList titles;
    for (QMenu* menu : window.menus)
        titles.append(menu->title());
    EXPECT_TRUE(titles.contains(QStringLiteral("&Файл")));
    EXPECT_EQ(window.toolBars.last()->windowTitle(), QStringLiteral("Панель &инструментов"));
}

TEST_F(LanguageTest, CodesThatAreNotNamesFallBackToEnglish) {
    for (const char* value : {"../../etc/x", "r u", "ru.qm", "", "дa"}) {
        writeFile("config/zarv/KDKLanguage.ini", QByteArray("[General]\nLanguage=") + value + "\n");
        cMainWindow window(WindowMode::Headless);
        console.clear();
        window.loadLanguage();
        EXPECT_EQ(window.languageCode, QLatin1String("en")) << value;
        // The warning names the file.
        EXPECT_TRUE(console.contains(path("config/zarv/KDKLanguage.ini") + ": Language code"))
            << console.lines.join("\n").toStdString();
    }
    // No file at all.
    QFile::remove(path("config/zarv/KDKLanguage.ini"));
    cMainWindow window(WindowMode::Headless);
    window.loadLanguage();
    EXPECT_EQ(window.languageCode, QLatin1String("en"));
    writeFile("config/zarv/KDKLanguage.ini", "[General]\nLanguage=pt_BR\n");
    window.loadLanguage();
    EXPECT_EQ(window.languageCode, QLatin1String("pt_br"));
}

TEST_F(LanguageTest, SaveReplacesTheFileWholeOrWarns) {
    cMainWindow window(WindowMode::Headless);
    writeFile("config/zarv/KDKLanguage.ini", "[General]\nLanguage=de\nOther=kept\n");
    window.languageCode = QStringLiteral("ru");
    EXPECT_TRUE(window.saveLanguage());
    QSettings saved(path("config/zarv/KDKLanguage.ini"), QSettings::IniFormat);
    EXPECT_EQ(saved.value("Language").toString(), QLatin1String("ru"));
    EXPECT_EQ(saved.value("Other").toString(), QLatin1String("kept"));
    // A folder in place of the file: nothing can write it, whoever runs the test.
    QFile::remove(path("config/zarv/KDKLanguage.ini"));
    QDir().mkpath(path("config/zarv/KDKLanguage.ini"));
    EXPECT_FALSE(window.saveLanguage());
    EXPECT_TRUE(console.contains(QStringLiteral("Could not write the language file")));
}

// One entry per translation file: "&" + code in capitals, a tab and the file's name for itself
// ("English" when it has none), the code as data, the flag of the code.
TEST_F(LanguageTest, LanguageMenuListsTheTranslationFiles) {
    compileLanguage("ru", "<context><name>LOCAL</name><message><source>English</source>"
                          "<translation>Русский</translation></message></context>\n"
                          "<context><name>QCustomAction</name><message><source>&amp;Save</source>"
                          "<translation>&amp;Сохранить</translation></message></context>\n");
    compileLanguage("xx", "<context><name>QCustomAction</name><message><source>&amp;Save</source>"
                          "<translation>X&amp;Save</translation></message></context>\n");
    writeFile("base/local/zarv_notes.txt", "not a translation");

    cMainWindow window(WindowMode::Interactive);
    ASSERT_EQ(window.languageActions.size(), 2);
    EXPECT_EQ(window.languageCount, 2);
    QAction* ru = window.languageActions[0];
    QAction* xx = window.languageActions[1];
    EXPECT_EQ(ru->text(), QStringLiteral("&RU\tРусский"));
    EXPECT_EQ(ru->data().toString(), "ru");
    EXPECT_FALSE(ru->icon().pixmap(16, 11).isNull());
    EXPECT_EQ(xx->text(), QStringLiteral("&XX\tEnglish"));
    EXPECT_TRUE(ru->isCheckable() && !ru->isChecked() && !xx->isChecked());
    EXPECT_EQ(window.languageMenu->actions(), window.languageActions);

    // The menu switches; choosing the current language again changes nothing.
    ru->trigger();
    EXPECT_EQ(window.languageCode, "ru");
    EXPECT_TRUE(ru->isChecked());
    EXPECT_EQ(Window_Action(window, "FileSave")->text(), QStringLiteral("&Сохранить"));
    ru->trigger();
    EXPECT_EQ(window.languageCode, "ru");
    window.installLanguage(nullptr, QStringLiteral("xx"));
    EXPECT_TRUE(xx->isChecked()) << "the action of the code is checked without a sender";
    EXPECT_FALSE(ru->isChecked());
}

// The desktop's locale changing at run time switches to its language: here one without a file,
// so the texts go back to English.
TEST_F(LanguageTest, ASystemLocaleChangeSwitchesToItsLanguage) {
    const QString system = QLocale::system().name();
    if (system.startsWith(QLatin1String("ru"))) GTEST_SKIP() << "the system speaks the test's language";
    compileLanguage("ru", "<context><name>QCustomAction</name><message><source>&amp;Save</source>"
                          "<translation>&amp;Сохранить</translation></message></context>\n");
    cMainWindow window(WindowMode::Interactive);
    ASSERT_EQ(window.languageActions.size(), 1);
    window.languageActions[0]->trigger();
    ASSERT_EQ(Window_Action(window, "FileSave")->text(), QStringLiteral("&Сохранить"));

    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(qApp, &change);
    EXPECT_EQ(window.languageCode, system);
    EXPECT_EQ(Window_Action(window, "FileSave")->text(), QStringLiteral("&Save"));
}
