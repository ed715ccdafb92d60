#include "WidgetInput.h"
#include "dialogs/application/PluginDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTranslator>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "PaintBurst.h"
#include "core/Prompt.h"
#include "gamedata/PluginManager.h"
#include "mainwindow/MainWindow.h"

namespace {

void type(QWidget* w, const QString& text) {
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
    }
}

template <class W> W* named(QWidget* dialog, const char* name) {
    W* w = dialog->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

template <class W> W* field(cPluginDialog* dialog, const char* name) {
    const auto it = dialog->arguments.find(QString::fromLatin1(name));
    return it == dialog->arguments.end() ? nullptr : qobject_cast<W*>(it->second.widget);
}

// A main window with the dialog commands of the test plugin in its plugin menu.
class PluginDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZARV_TEST_PLUGIN_DIR "/kpTestDialogsx64.so"),
                                folder.filePath("kpTestDialogsx64.so")));
        Plugin_SetFolder(folder.path());
        Plugin_LoadAll(&window.plugins);
        console.clear();
    }
    void TearDown() override { Plugin_SetFolder(QString()); }

    // Runs the plugin command of that title; fill answers its dialog.
    bool run(const char* title, cDialogAnswer::Fill fill = {}) {
        for (int i = 0; i < window.plugins.actions.size(); ++i) {
            if (qstrcmp(window.plugins.actions[i]->title, title) != 0) continue;
            cDialogAnswer answer(std::move(fill));
            window.runPluginAction(i);
            return answer.answered;
        }
        ADD_FAILURE() << "no command " << title;
        return false;
    }

    cMainWindow window;
    cConsoleCapture console;
    QTemporaryDir folder;
};

TEST_F(PluginDialogTest, ExternalCommandGetsOneArgumentPerValueInNameOrder) {
    QTemporaryDir files;
    const QString first = files.filePath("with blank/one.map");
    const QString second = files.filePath("two.map");
    qputenv("KPTEST_HELPER", ZARV_PRINTARGS);
    qputenv("KPTEST_FILES", (first + '\n' + second).toUtf8());
    QString pane;
    const bool answered = run("External Dialog", [&](QDialog* d) {
        auto* dialog = qobject_cast<cPluginDialog*>(d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("External"));
        EXPECT_EQ(named<QPushButton>(dialog, "btnRun")->text(), QStringLiteral("Go"));
        // The combo keeps pairs only and takes the index afterwards; the spin box holds 256.
        auto* combo = field<QComboBox>(dialog, "combo");
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->count(), 2);
        EXPECT_EQ(combo->currentText(), QStringLiteral("Full"));
        EXPECT_EQ(dialog->argumentValue("combo"), QStringLiteral("-full"));
        EXPECT_EQ(field<QSpinBox>(dialog, "int")->text(), QStringLiteral("256"));

        type(field<QLineEdit>(dialog, "B"), QStringLiteral("big value"));
        type(field<QLineEdit>(dialog, "a"), QStringLiteral("quote\"d"));
        Widget_Click(field<QCheckBox>(dialog, "check"));
        Widget_Click(named<QPushButton>(dialog, "btnRun"));
        pane = named<QPlainTextEdit>(dialog, "txtOutput")->toPlainText();
        EXPECT_TRUE(named<QPushButton>(dialog, "btnCopy")->isEnabled());
        EXPECT_TRUE(named<QPushButton>(dialog, "btnRun")->isEnabled());
        Widget_Click(named<QPushButton>(dialog, "btnCopy"));
        EXPECT_EQ(QApplication::clipboard()->text(), pane);
        Widget_Click(named<QPushButton>(dialog, "btnClose"));
    });
    qunsetenv("KPTEST_HELPER");
    qunsetenv("KPTEST_FILES");
    ASSERT_TRUE(answered);
    EXPECT_EQ(Dialog_Active(), nullptr);
    // B, a, b (empty: nothing) in code-unit order; a value with a blank or a quote stays one argument.
    const QStringList expected = {"-B",     "big value", "-a",     "quote\"d", "-check",
                                  "-combo", "-full",     "-files", first,      second,
                                  "-float", "0.5",       "-int",   "256",      "-yes"};
    EXPECT_EQ(pane.split('\n', Qt::SkipEmptyParts), expected);
    const QString cmdline =
        QStringLiteral("cmdline: `-B \"big value\" -a quote\"d -check -combo -full -files "
                       "\"%1\" \"%2\" -float 0.5 -int 256 -yes'")
            .arg(first, second);
    EXPECT_TRUE(console.contains(cmdline)) << console.lines.join('\n').toStdString();
}

TEST_F(PluginDialogTest, InternalCommandReadsArgumentsAndDrivesTheProgressBar) {
    int maximum = 0, value = 0;
    bool barShown = false;
    QString pane;
    ASSERT_TRUE(run("Internal Dialog", [&](QDialog* d) {
        auto* dialog = qobject_cast<cPluginDialog*>(d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(named<QPushButton>(dialog, "btnRun")->text(), QStringLiteral("&Run"));
        type(field<QLineEdit>(dialog, "B"), QStringLiteral("12.5"));
        type(field<QLineEdit>(dialog, "b"), QStringLiteral("long text value"));
        Widget_Click(named<QPushButton>(dialog, "btnRun"));
        maximum = named<QProgressBar>(dialog, "progressBar")->maximum();
        value = named<QProgressBar>(dialog, "progressBar")->value();
        barShown = named<QProgressBar>(dialog, "progressBar")->isVisible();
        pane = named<QPlainTextEdit>(dialog, "txtOutput")->toPlainText();
        Widget_Click(named<QPushButton>(dialog, "btnClose"));
    }));
    EXPECT_EQ(maximum, 200);
    EXPECT_EQ(value, 40);
    EXPECT_FALSE(barShown); // only while Run executes
    EXPECT_EQ(pane, QStringLiteral("progress 3 of 10\ninternal done"));
    const char* const lines[] = {
        "arg B text=[12.5] int=0 float=12.5",   "arg b text=[long text value] int=0 float=0",
        "arg a text=[] int=0 float=0",          "arg check text=[0] int=0 float=0",
        "arg yes text=[1] int=1 float=1",       "arg int text=[256] int=256 float=256",
        "arg float text=[0.5] int=0 float=0.5", "arg combo text=[-full] int=0 float=0",
        "arg missing text=[] int=0 float=0",
    };
    for (const char* line : lines)
        EXPECT_TRUE(console.contains(QString::fromLatin1(line))) << line;
}

TEST_F(PluginDialogTest, RequiredExistingFileEnablesRunOnceItExists) {
    QTemporaryDir files;
    const QString path = files.filePath("room.map");
    QFile(path).open(QIODevice::WriteOnly);
    std::vector<bool> states;
    ASSERT_TRUE(run("Required Dialog", [&](QDialog* d) {
        auto* dialog = qobject_cast<cPluginDialog*>(d);
        ASSERT_NE(dialog, nullptr);
        auto* edit = field<QLineEdit>(dialog, "map");
        states.push_back(named<QPushButton>(dialog, "btnRun")->isEnabled()); // empty and required
        type(edit, path.left(path.size() - 1));
        states.push_back(named<QPushButton>(dialog, "btnRun")->isEnabled()); // no such file yet
        type(edit, path.right(1));
        states.push_back(named<QPushButton>(dialog, "btnRun")->isEnabled());
    }));
    EXPECT_EQ(states, (std::vector<bool>{false, false, true}));
}

// Each browse button asks through the file prompt with its row's filter, starting from the row's
// text: an existing file, a file to save (the chosen filter's extension added to a bare name),
// several files for a list, a folder. The answer fills the row.
TEST_F(PluginDialogTest, BrowseButtonsAskThroughTheFilePrompt) {
    const struct {
        const char* label;
        std::function<void()> addRow;
        const char* button;
        PromptKind kind;
        const char* answer;
        QStringList filled;
    } cases[] = {
        {"existing file",
         [] { Dialog_AddFileEdit("f", "File", "/maps/a.map", "Maps (*.map)", DLGARG_EXISTING); },
         "...",
         PromptKind::OpenFileName,
         "/maps/b.map",
         {"/maps/b.map"}},
        {"file to save",
         [] { Dialog_AddFileEdit("f", "File", "/maps/a.map", "Maps (*.map)", 0); },
         "...",
         PromptKind::SaveFileName,
         "/maps/c",
         {"/maps/c.map"}},
        {"file list",
         [] { Dialog_AddFileList("f", "Files", "", "Maps (*.map)", DLGARG_EXISTING); },
         "+",
         PromptKind::OpenFileNames,
         "/maps/d.map\n/maps/e.map",
         {"/maps/d.map", "/maps/e.map"}},
        {"folder",
         [] { Dialog_AddDirectoryEdit("f", "Folder", "/maps", 0); },
         "...",
         PromptKind::Directory,
         "/games",
         {"/games"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Dialog_Begin("Browse");
        c.addRow();
        cPluginDialog* dialog = Dialog_Active();
        ASSERT_NE(dialog, nullptr);
        cPluginDialogButton* button = nullptr;
        for (cPluginDialogButton* b : dialog->findChildren<cPluginDialogButton*>())
            if (b->text() == QLatin1String(c.button)) button = b;
        ASSERT_NE(button, nullptr);
        const int before = button->targetList ? button->targetList->count() : 0;
        cPromptScript prompts;
        prompts.answerText(QString::fromUtf8(c.answer));
        button->click();
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_EQ(prompts.asked[0].kind, c.kind);
        EXPECT_EQ(prompts.asked[0].filter,
                  c.kind == PromptKind::Directory ? QString() : QStringLiteral("Maps (*.map)"));
        QStringList filled;
        if (button->targetList)
            for (int i = before; i < button->targetList->count(); ++i)
                filled.append(button->targetList->item(i)->text());
        else
            filled.append(button->targetEdit->text());
        EXPECT_EQ(filled, c.filled);
        if (button->targetEdit) {
            EXPECT_EQ(prompts.asked[0].directory, c.kind == PromptKind::Directory ? "/maps" : "/maps/a.map");
        }
        Dialog_DiscardLeftOpen();
    }
}

TEST_F(PluginDialogTest, DialogFitsFewRowsAndScrollsMany) {
    struct Seen {
        int height = 0, areaHeight = 0;
        QFrame::Shape frame = QFrame::NoFrame;
        bool scrollBar = false;
    };
    auto probe = [](Seen& seen) {
        return [&seen](QDialog* d) {
            auto* dialog = qobject_cast<cPluginDialog*>(d);
            ASSERT_NE(dialog, nullptr);
            seen = {dialog->height(), named<QScrollArea>(dialog, "scrollArea")->height(),
                    named<QScrollArea>(dialog, "scrollArea")->frameShape(),
                    named<QScrollArea>(dialog, "scrollArea")->verticalScrollBar()->isVisible()};
        };
    };
    Seen two, twenty;
    ASSERT_TRUE(run("Two Rows Dialog", probe(two)));
    ASSERT_TRUE(run("Twenty Rows Dialog", probe(twenty)));
    EXPECT_LT(two.height, 420);
    EXPECT_EQ(420 - two.height, 235 - two.areaHeight);
    EXPECT_EQ(two.frame, QFrame::NoFrame);
    EXPECT_FALSE(two.scrollBar);
    EXPECT_EQ(twenty.height, 441);
    EXPECT_EQ(twenty.areaHeight, 235);
    EXPECT_EQ(twenty.frame, QFrame::Box);
    EXPECT_TRUE(twenty.scrollBar);
}

TEST(PluginDialog, FormRowsAndProgress) {
    cPluginDialog dialog(nullptr);
    EXPECT_EQ(dialog.size(), QSize(471, 420));
    dialog.showProgressBar(true);
    EXPECT_EQ(dialog.height(), 441);
    dialog.showProgressBar(true);
    EXPECT_EQ(dialog.height(), 441);
    dialog.showProgressBar(false);
    EXPECT_EQ(dialog.height(), 420);

    struct Progress {
        int value, maximum, barValue, barMaximum;
    };
    for (const Progress& p :
         {Progress{3, 10, 300, 1000}, Progress{40, 200, 40, 200}, Progress{0, 99, 0, 9900}}) {
        dialog.setProgress(p.value, p.maximum);
        EXPECT_EQ(named<QProgressBar>(&dialog, "progressBar")->value(), p.barValue)
            << p.value << "/" << p.maximum;
        EXPECT_EQ(named<QProgressBar>(&dialog, "progressBar")->maximum(), p.barMaximum)
            << p.value << "/" << p.maximum;
    }

    struct Spin {
        int value;
        QString shown;
    };
    for (const Spin& s : {Spin{256, "256"}, Spin{5000, "1024"}, Spin{-3, "1"}}) {
        dialog.addSpinBox("n", "N", s.value, 1, 1024, 1, 0);
        EXPECT_EQ(dialog.argumentValue("n"), s.shown) << s.value;
    }
    // A later argument of a name takes it over.
    dialog.addTextEdit("n", "N", "later", 0);
    EXPECT_EQ(dialog.argumentValue("n"), QStringLiteral("later"));
    dialog.addSpinBoxFloat("f", "F", 1234567.0, 0, 1e7, 1, 0);
    EXPECT_EQ(dialog.argumentValue("f"), QStringLiteral("1.23457e+06"));
    dialog.addComboBox("c", "C", 0, nullptr, 0);
    EXPECT_EQ(dialog.argumentValue("c"), QString());

    // Bounds and values a plugin gets wrong still give a finite number a float holds.
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const struct {
        double value, minimum, maximum;
    } bad[] = {{1e39, 0, inf}, {nan, -inf, inf}, {-1e39, -1e300, 0}, {5, nan, nan}, {5, 10, 0}};
    for (const auto& b : bad) {
        dialog.addSpinBoxFloat("g", "G", b.value, b.minimum, b.maximum, 1, 0);
        const float read = dialog.argumentValue("g").toFloat();
        EXPECT_TRUE(std::isfinite(read)) << b.value << " " << b.minimum << " " << b.maximum;
        EXPECT_LE(std::fabs(read), 1e9f);
    }
}

TEST_F(PluginDialogTest, MisuseIsReportedAndLeavesNoDialogBehind) {
    ASSERT_TRUE(run("Misuse Dialog"));
    const char* const entries[] = {"Dialog_InitExternalCommand", "Dialog_InitInternalCommand",
                                   "Dialog_SetProgress",         "Dialog_AddTextEdit",
                                   "Dialog_AddCheckBox",         "Dialog_AddRadioBox",
                                   "Dialog_AddSpinBox",          "Dialog_AddSpinBoxFloat",
                                   "Dialog_AddComboBox",         "Dialog_AddFileEdit",
                                   "Dialog_AddFileList",         "Dialog_AddDirectoryEdit",
                                   "Dialog_QueryArgument",       "Dialog_QueryArgumentInt",
                                   "Dialog_QueryArgumentFloat",  "Dialog_End"};
    for (const char* entry : entries)
        EXPECT_TRUE(console.contains(QStringLiteral("%1 called with no active dialog").arg(entry))) << entry;
    for (int i = 3; i < 12; ++i)
        EXPECT_TRUE(console.contains(QStringLiteral("%1 called with bad parameters").arg(entries[i])))
            << entries[i];
    EXPECT_TRUE(console.contains("can't start new dialog while the previous is active"));
    EXPECT_TRUE(console.contains("inactive query 120 0"));
    EXPECT_TRUE(console.contains("size 4 [abc] 0"));
    EXPECT_TRUE(console.contains("size 0 x"));
    EXPECT_TRUE(console.contains("size -5 x"));
    EXPECT_FALSE(console.contains("nobody reads this"));

    console.clear();
    EXPECT_FALSE(run("Forgotten Dialog"));
    EXPECT_TRUE(console.contains("a plugin command left its dialog open"));
    EXPECT_EQ(Dialog_Active(), nullptr);
    EXPECT_TRUE(run("Two Rows Dialog"));
}

// Translates a few texts of the plugin dialog's context.
class cTestTranslator : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (qstrcmp(context, "cPluginDialog") != 0) return QString();
        static const std::map<QByteArray, QString> table = {
            {"Two", "Deux"}, {"One", "Un"}, {"m=%d %s", "m vaut %d (%s)"}, {"n=%d", "%s!"}};
        const auto it = table.find(source);
        return it == table.end() ? QString() : it->second;
    }
};

TEST_F(PluginDialogTest, TitlesLabelsAndOutputAreTranslatedWhenTheConversionsMatch) {
    cTestTranslator translator;
    QCoreApplication::installTranslator(&translator);
    QString title, label;
    ASSERT_TRUE(run("Two Rows Dialog", [&](QDialog* d) {
        title = d->windowTitle();
        auto* layout = qobject_cast<cPluginDialog*>(d)->layout;
        label = qobject_cast<QLabel*>(layout->itemAt(0, QFormLayout::LabelRole)->widget())->text();
    }));
    EXPECT_EQ(title, QStringLiteral("Deux"));
    EXPECT_EQ(label, QStringLiteral("Un:"));

    // A translation reading other arguments than the format would read past what was passed.
    Dialog_Begin("Printing");
    Dialog_Printf("m=%d %s", 5, "five");
    Dialog_Printf("n=%d", 7);
    Dialog_Printf("%s", "");
    EXPECT_EQ(named<QPlainTextEdit>(Dialog_Active(), "txtOutput")->toPlainText(),
              QStringLiteral("m vaut 5 (five)\nn=7\n"));
    QCoreApplication::removeTranslator(&translator);
    Dialog_DiscardLeftOpen();
    EXPECT_EQ(Dialog_Active(), nullptr);
}

// Plugins print a line per step of long runs; a paint of the pane for each would cost more than
// the line.
TEST_F(PluginDialogTest, ABurstOfLinesIsPaintedTogetherAndTheLastOneShows) {
    Dialog_Begin("Printing");
    cPluginDialog* dialog = Dialog_Active();
    dialog->show();
    QCoreApplication::processEvents();
    auto* pane = named<QPlainTextEdit>(dialog, "txtOutput");
    Paint_ExpectBurstPaintedTogether(pane, [](int i) { Dialog_Printf("line %d", i); });
    EXPECT_EQ(pane->document()->lastBlock().text(), QStringLiteral("line 199"));
    Dialog_DiscardLeftOpen();
}

} // namespace
