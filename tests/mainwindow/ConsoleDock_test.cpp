#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QTextBlock>
#include <QTextEdit>

#include "PaintBurst.h"
#include "WindowFixture.h"
#include "mainwindow/MainWindow.h"
#include "views/ViewState.h"

namespace {

class ConsoleDockTest : public cWindowFixture {};

// Counts the custom events it receives.
class cEventCounter : public QObject {
public:
    int count = 0;
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        ++count;
        return true;
    }
};

} // namespace

TEST_F(ConsoleDockTest, FrameAndConsoleWidgets) {
    cMainWindow window(WindowMode::Interactive);
    auto* dock = window.findChild<QDockWidget*>(QStringLiteral("console"));
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(window.dockWidgetArea(dock), Qt::BottomDockWidgetArea);
    EXPECT_EQ(dock->windowTitle(), QStringLiteral("Messages"));
    for (const char* name : {"newobjects", "textures", "visgroups"})
        EXPECT_EQ(window.dockWidgetArea(window.findChild<QDockWidget*>(QLatin1String(name))),
                  Qt::RightDockWidgetArea)
            << name;
    auto* text = dock->findChild<QTextEdit*>(QStringLiteral("ConsoleText"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->textInteractionFlags(), Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    EXPECT_EQ(text->palette().color(QPalette::Active, QPalette::Base),
              window.palette().color(QPalette::Active, QPalette::Window));
    EXPECT_EQ(window.corner(Qt::BottomLeftCorner), Qt::BottomDockWidgetArea);
    EXPECT_EQ(window.corner(Qt::TopRightCorner), Qt::TopDockWidgetArea);
    // The start-up line is the first paragraph, bold.
    EXPECT_TRUE(text->document()->firstBlock().text().contains(QStringLiteral("initialized")));
}

TEST_F(ConsoleDockTest, PlainTextShowsAsTypedHtmlIsMarkupOneParagraphEach) {
    cMainWindow window(WindowMode::Interactive);
    QTextEdit* text = window.consoleText;
    text->clear();
    const QString typed = QStringLiteral("<b>a & b</b> &lt;");
    window.printToConsole(typed, false, false);
    EXPECT_EQ(text->document()->blockCount(), 1);
    window.printToConsole(typed, true, false);
    window.printToConsole(QStringLiteral("x < y"), false, true);
    ASSERT_EQ(text->document()->blockCount(), 3);
    const QTextBlock first = text->document()->firstBlock();
    EXPECT_EQ(first.text(), typed);
    EXPECT_FALSE(first.begin().fragment().charFormat().font().bold());
    const QTextBlock second = first.next();
    EXPECT_EQ(second.text(), QStringLiteral("a & b <"));
    EXPECT_TRUE(second.begin().fragment().charFormat().font().bold());
    const QTextBlock third = second.next();
    EXPECT_EQ(third.text(), QStringLiteral("x < y"));
    EXPECT_TRUE(third.begin().fragment().charFormat().font().bold());
    // The newest line is where the cursor is.
    EXPECT_EQ(text->textCursor().position(), text->document()->characterCount() - 1);
    // Plain text keeps its runs of spaces, which HTML would fold into one.
    window.printToConsole(QStringLiteral("name   size"), false, false);
    EXPECT_EQ(text->document()->lastBlock().text(), QStringLiteral("name   size"));
}

TEST_F(ConsoleDockTest, NoEventsProcessedWhileAViewPaints) {
    cMainWindow window(WindowMode::Interactive);
    cEventCounter counter;
    QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    View_Painting = 1;
    window.printToConsole(QStringLiteral("during paint"), false, false);
    View_Painting = 0;
    EXPECT_EQ(counter.count, 0);
    window.printToConsole(QStringLiteral("after paint"), false, false);
    EXPECT_EQ(counter.count, 1);
    EXPECT_TRUE(window.consoleText->toPlainText().endsWith(QStringLiteral("during paint\nafter paint")));
}

TEST_F(ConsoleDockTest, ABurstOfLinesIsPaintedTogetherAndTheLastOneShows) {
    cMainWindow window(WindowMode::Interactive);
    window.show();
    QCoreApplication::processEvents();
    Paint_ExpectBurstPaintedTogether(window.consoleText, [&](int i) {
        window.printToConsole(QStringLiteral("line %1").arg(i), false, false);
    });
}
