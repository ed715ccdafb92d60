#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCompleter>
#include <QFile>
#include <QHelpEvent>
#include <QStringListModel>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>

#include "SampleWindowFixture.h"
#include "dialogs/editing/ShaderEditHighlighter.h"
#include "dialogs/editing/ShaderEditScript.h"
#include "gamedata/MapProfile.h"
#include "gamedata/PluginInterface.h"
#include "render/ColorScheme.h"

namespace {

enum class Kind { None, Comment, String, Command, Parameter };

// The editor in a shown window with the Quake III profile's keyword functions.
class ShaderEditScriptTest : public cSampleWindowFixture {
protected:
    void SetUp() override {
        cSampleWindowFixture::SetUp();
        const MapProfileRecord* profile = GameCfg_CurrentProfile();
        ASSERT_NE(profile, nullptr);
        ASSERT_NE(profile->funcs, nullptr);
        editor = std::make_unique<cShaderEditScript>();
        editor->funcs = profile->funcs;
        editor->resize(500, 400);
        editor->show();
        editor->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        editor.reset();
        cSampleWindowFixture::TearDown();
    }

    void load(const QString& text) {
        editor->setPlainText(text);
        editor->highlighter->rehighlight();
        QApplication::processEvents();
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString()) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(editor.get(), &press);
        QApplication::sendEvent(editor.get(), &release);
    }
    void type(const QString& text) {
        for (QChar ch : text)
            key(ch == u'\n' ? Qt::Key_Return : ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
    }
    void moveTo(int line, int column) {
        QTextCursor cursor(editor->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
        editor->setTextCursor(cursor);
    }
    // The kind of format over the character at column of line.
    Kind kindAt(int line, int column) const {
        const QTextBlock block = editor->document()->findBlockByNumber(line);
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            if (column < range.start || column >= range.start + range.length) continue;
            const QColor colour = range.format.foreground().color();
            if (colour == Color_GetQColor(COLOR_SHADEREDIT_COMMENT)) return Kind::Comment;
            if (colour == Color_GetQColor(COLOR_SHADEREDIT_STRING)) return Kind::String;
            if (colour == Color_GetQColor(COLOR_SHADEREDIT_COMMAND) &&
                range.format.fontWeight() == QFont::Bold)
                return Kind::Command;
            if (colour == Color_GetQColor(COLOR_SHADEREDIT_PARAMETER)) return Kind::Parameter;
        }
        return Kind::None;
    }

    std::unique_ptr<cShaderEditScript> editor;
};

QString sampleScript() {
    QFile file(
        QDir::cleanPath(QStringLiteral(ZARV_TEST_DATA_DIR "/../../../samples/quake3/scripts/sample.shader")));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

} // namespace

TEST_F(ShaderEditScriptTest, ColoursCommandsParametersStringsAndComments) {
    const QString text =
        sampleScript() + QStringLiteral("textures/x\n{\n\t/* one\n\ttwo map\n\tend */ cull none\n"
                                        "\tq3map_sun \"a \" // tail\n}\n");
    ASSERT_TRUE(text.startsWith(QStringLiteral("// Effects")));
    load(text);
    const QStringList lines = text.split(u'\n');
    auto lineOf = [&](const QString& start, int from = 0) {
        for (int i = from; i < lines.size(); ++i)
            if (lines[i].trimmed().startsWith(start)) return i;
        return -1;
    };
    const int header = 0;
    const int glassTrans = lineOf(QStringLiteral("surfaceparm trans"));
    const int blend = lineOf(QStringLiteral("blendFunc"));
    const int comment = lineOf(QStringLiteral("/* one"));
    ASSERT_GE(glassTrans, 0);
    ASSERT_GE(blend, 0);
    ASSERT_GE(comment, 0);
    struct Case {
        int line;
        QString word;
        Kind kind;
    };
    const Case cases[] = {
        {header, QStringLiteral("Effects"), Kind::Comment},
        {glassTrans, QStringLiteral("surfaceparm"), Kind::Command},
        {glassTrans, QStringLiteral("trans"), Kind::Parameter},
        {blend, QStringLiteral("blendFunc"), Kind::Command},
        {blend, QStringLiteral("GL_SRC_ALPHA"), Kind::Parameter},
        {lineOf(QStringLiteral("textures/sample/glass")), QStringLiteral("textures"), Kind::None},
        // A block comment over three lines hides the keywords inside it, and ends where it says.
        {comment, QStringLiteral("one"), Kind::Comment},
        {comment + 1, QStringLiteral("map"), Kind::Comment},
        {comment + 2, QStringLiteral("end"), Kind::Comment},
        {comment + 2, QStringLiteral("cull"), Kind::Command},
        {comment + 2, QStringLiteral("none"), Kind::Parameter},
        {comment + 3, QStringLiteral("a "), Kind::String},
        {comment + 3, QStringLiteral("tail"), Kind::Comment},
    };
    for (const Case& c : cases) {
        const int column = static_cast<int>(lines[c.line].indexOf(c.word));
        ASSERT_GE(column, 0) << c.word.toStdString();
        EXPECT_EQ(kindAt(c.line, column), c.kind) << "line " << c.line << " " << c.word.toStdString();
    }
    EXPECT_EQ(editor->document()->findBlockByNumber(comment).userState(),
              cShaderEditSyntaxHighlighter::StateBlockComment);
    EXPECT_EQ(editor->document()->findBlockByNumber(comment + 2).userState(),
              cShaderEditSyntaxHighlighter::StateNormal);
    // The whole sample ends at depth 0.
    const auto* last = static_cast<BlockUserStruct*>(editor->document()->lastBlock().userData());
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->depth, 0);
}

// "map" is a stage command: it becomes one when a brace typed above it opens a stage, though
// only the typed line changed.
TEST_F(ShaderEditScriptTest, ABraceTypedAboveRecoloursLaterLines) {
    load(QStringLiteral("textures/x\n{\n\n\tmap a.tga\n}\n}\n"));
    const int column = 1;
    EXPECT_EQ(kindAt(3, column), Kind::None);
    moveTo(2, 0);
    type(QStringLiteral("{"));
    EXPECT_EQ(kindAt(3, column), Kind::Command);
    key(Qt::Key_Backspace);
    EXPECT_EQ(kindAt(3, column), Kind::None);
}

// The same with the changed lines far below the view: they are coloured while events run, each
// as a fresh colouring of the final text would colour it.
TEST_F(ShaderEditScriptTest, ABraceTypedAboveRecoloursLinesOutOfView) {
    const int maps = 400;
    QString text = QStringLiteral("textures/x\n{\n\n");
    for (int i = 0; i < maps; ++i)
        text += QStringLiteral("\tmap a.tga\n");
    load(text + QStringLiteral("}\n}\n"));
    const int column = 1;
    auto settle = [&] {
        for (int i = 0; i < 1000 && editor->recolourPending(); ++i)
            QApplication::processEvents();
        EXPECT_FALSE(editor->recolourPending());
    };
    auto expectEveryMap = [&](Kind kind) {
        for (int line = 3; line < 3 + maps; ++line)
            if (kindAt(line, column) != kind) {
                ADD_FAILURE() << "line " << line;
                return;
            }
    };
    moveTo(2, 0);
    type(QStringLiteral("{"));
    EXPECT_EQ(kindAt(3, column), Kind::Command) << "the lines in view at once";
    settle();
    expectEveryMap(Kind::Command);
    // Typing again before the lines out of view are done.
    key(Qt::Key_Backspace);
    type(QStringLiteral("{"));
    key(Qt::Key_Backspace);
    settle();
    expectEveryMap(Kind::None);
}

TEST_F(ShaderEditScriptTest, ReturnIndentsByBraceDepth) {
    struct Case {
        QString text;
        int line, column;
        QString expected;
    } cases[] = {
        // A command, a path and an opening brace inside one open block: the line moves one tab
        // in, the new line opens two deep.
        {QStringLiteral("x\n{\nmap a.tga {"), 2, 11, QStringLiteral("x\n{\n\tmap a.tga {\n\t\t")},
        // A lone closing brace stands at the depth after it.
        {QStringLiteral("x\n{\n\t{\n\t\t}"), 3, 3, QStringLiteral("x\n{\n\t{\n\t}\n\t")},
        // Breaking a line in the middle keeps the rest on the new line.
        {QStringLiteral("{\n   cull none"), 1, 7, QStringLiteral("{\n\tcull\n\t none")},
    };
    for (const Case& c : cases) {
        load(c.text);
        moveTo(c.line, c.column);
        key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        EXPECT_EQ(editor->toPlainText(), c.expected) << c.text.toStdString();
    }
    editor->autoIndent = false;
    load(QStringLiteral("{\nmap"));
    moveTo(1, 3);
    key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("{\nmap\n"));
}

TEST_F(ShaderEditScriptTest, CompletionListsTheProfilesKeywords) {
    load(QStringLiteral("x\n{\n\t{\n\t\t\n\t}\n}"));
    QAbstractItemView* popup = editor->completer->popup();
    moveTo(3, 2);
    type(QStringLiteral("b"));
    EXPECT_FALSE(popup->isVisible()); // one letter is no prefix yet
    type(QStringLiteral("l"));
    EXPECT_TRUE(popup->isVisible());
    char buffer[16384] = {};
    ASSERT_GT(editor->funcs->ListShaderKeywords(nullptr, 2, buffer, sizeof buffer), 0);
    EXPECT_EQ(editor->completionModel->stringList(),
              QString::fromLatin1(buffer).split(u' ', Qt::SkipEmptyParts));
    EXPECT_EQ(editor->completer->currentCompletion(), QStringLiteral("blendFunc"));
    // An end-of-word character closes the popup.
    type(QStringLiteral("."));
    EXPECT_FALSE(popup->isVisible());

    // Ctrl+Space puts in the only completion, with a blank after it.
    load(QStringLiteral("x\n{\n\t{\n\t\tanimm\n\t}\n}"));
    moveTo(3, 7);
    key(Qt::Key_Space, Qt::ControlModifier, QStringLiteral(" "));
    EXPECT_EQ(editor->document()->findBlockByNumber(3).text(), QStringLiteral("\t\tanimMap "));
    EXPECT_FALSE(popup->isVisible());
    // After the command its values are offered.
    load(QStringLiteral("x\n{\n\t{\n\t\tblendFunc GL_ONE_MINUS_SRC_A\n\t}\n}"));
    moveTo(3, 30);
    key(Qt::Key_Space, Qt::ControlModifier, QStringLiteral(" "));
    EXPECT_EQ(editor->document()->findBlockByNumber(3).text(),
              QStringLiteral("\t\tblendFunc GL_ONE_MINUS_SRC_ALPHA "));

    // Without the profile's functions there is nothing to offer.
    editor->funcs = nullptr;
    load(QStringLiteral("x\n{\n\t{\n\t\tanimm\n\t}\n}"));
    moveTo(3, 7);
    key(Qt::Key_Space, Qt::ControlModifier, QStringLiteral(" "));
    EXPECT_EQ(editor->document()->findBlockByNumber(3).text(), QStringLiteral("\t\tanimm"));
}

TEST_F(ShaderEditScriptTest, ErrorMarksAndToolTips) {
    load(QStringLiteral("x\n{\n\tcull bad worse\n}\n"));
    editor->errors = {{3, QStringLiteral("first")}, {3, QStringLiteral("second")}};
    editor->updateHighlights();
    editor->lineNumbers->repaint();
    const QImage margin = editor->lineNumbers->grab().toImage();
    const QColor error = Color_GetQColor(COLOR_SHADEREDIT_ERROR);
    // Circle pixels by line: only the third line has one.
    auto circleOn = [&](const QImage& image, int line, const QColor& colour) {
        const QRect row = editor->cursorRect(QTextCursor(editor->document()->findBlockByNumber(line - 1)));
        for (int y = qMax(0, row.top()); y <= row.bottom() && y < image.height(); ++y)
            if (image.pixelColor(4, y) == colour) return true;
        return false;
    };
    EXPECT_FALSE(circleOn(margin, 1, error));
    EXPECT_FALSE(circleOn(margin, 2, error));
    EXPECT_TRUE(circleOn(margin, 3, error));
    EXPECT_FALSE(circleOn(margin, 4, error));

    const QTextBlock third = editor->document()->findBlockByNumber(2);
    const QPoint pos = editor->cursorRect(QTextCursor(third)).center();
    QHelpEvent tip(QEvent::ToolTip, pos, editor->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(editor->viewport(), &tip);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("<b>Error:</b> first<br><b>Error:</b> second"));
    QToolTip::hideText();

    // A build without errors marks every line, until the text changes.
    editor->errors.clear();
    editor->buildMarks = true;
    editor->lineNumbers->repaint();
    const QImage marked = editor->lineNumbers->grab().toImage();
    for (int line = 1; line <= 4; ++line)
        EXPECT_TRUE(circleOn(marked, line, QColor(190, 220, 250))) << line;
    type(QStringLiteral("a"));
    EXPECT_FALSE(editor->buildMarks);
}

TEST_F(ShaderEditScriptTest, MarginWidthFollowsTheLineCount) {
    const int digit = editor->fontMetrics().horizontalAdvance(QLatin1Char('9'));
    load(QStringLiteral("a\n").repeated(4));
    EXPECT_EQ(editor->lineNumbersWidth(), 2 * digit + 14);
    load(QStringLiteral("a\n").repeated(149));
    EXPECT_EQ(editor->lineNumbersWidth(), 3 * digit + 14);
    EXPECT_EQ(editor->viewport()->x() - editor->contentsRect().x(), 3 * digit + 14);
}

TEST_F(ShaderEditScriptTest, ReformatIsOneUndoableEdit) {
    const QString text =
        QStringLiteral("textures/x\n{\n  QER_EDITORIMAGE   a.tga\n\n  {\n map a.tga\n  }\n}\n");
    load(text);
    moveTo(5, 2); // between "m" and "ap"
    editor->document()->setModified(false);
    editor->reformat();
    EXPECT_EQ(editor->toPlainText(),
              QStringLiteral("textures/x\n{\n\tqer_editorImage a.tga\n\t{\n\t\tmap a.tga\n\t}\n}"));
    EXPECT_EQ(editor->textCursor().blockNumber(), 4);
    EXPECT_EQ(editor->textCursor().positionInBlock(), 3);
    EXPECT_TRUE(editor->document()->isModified());
    const QString once = editor->toPlainText();
    editor->reformat();
    EXPECT_EQ(editor->toPlainText(), once);
    editor->undo();
    EXPECT_EQ(editor->toPlainText(), text);
}
