// The dock frame and the console "Messages": the one place every log line reaches the screen.
#include <QCoreApplication>
#include <QDockWidget>
#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "mainwindow/ConsoleSink.h"
#include "mainwindow/MainWindow.h"
#include "views/PaintHold.h"
#include "views/ViewState.h"

void cMainWindow::createDocks() {
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
    setCorner(Qt::TopLeftCorner, Qt::TopDockWidgetArea);
    setCorner(Qt::TopRightCorner, Qt::TopDockWidgetArea);
    setCorner(Qt::BottomLeftCorner, Qt::BottomDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::BottomDockWidgetArea);
    createConsoleDock();
    createObjectsDock();
    createTexturesDock();
    createVisGroupsDock();
}

void cMainWindow::createConsoleDock() {
    // The console's background is the window's, in every colour group.
    QPalette palette;
    const QPalette own = this->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, own.color(group, QPalette::Window));

    consoleDock = new QDockWidget(this);
    consoleDock->setObjectName(QStringLiteral("console"));
    connect(consoleDock, &QDockWidget::visibilityChanged, this, &cMainWindow::updateScreenElements);

    consoleText = new QTextEdit(consoleDock);
    consoleText->setObjectName(QStringLiteral("ConsoleText"));
    consoleText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    consoleText->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    consoleText->setUndoRedoEnabled(false);
    consoleText->setReadOnly(true);
    consoleText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    consoleText->setPlainText(QString());
    consoleText->setPalette(palette);
    consoleText->setAutoFillBackground(true);

    consoleDock->setWidget(consoleText);

    consolePaintHold = new cPaintHold(consoleText);
    retranslateConsoleDock();
    addDockWidget(Qt::BottomDockWidgetArea, consoleDock);
}

void cMainWindow::retranslateConsoleDock() {
    if (!consoleDock) return;
    consoleDock->setWindowTitle(tr("Messages"));
    consoleDock->setStatusTip(tr("For Help, press F1"));
    consoleText->setStatusTip(tr("For Help, press F1"));
}

void cMainWindow::printToConsole(const QString& text, bool asHtml, bool bold) {
    // Plain text is escaped fully: "&" would otherwise start an entity.
    QString line = asHtml ? text : text.toHtmlEscaped();
    if (bold) line = QStringLiteral("<b>%1</b>").arg(line);
    Console_Feed(line);
    if (!consoleText) return;

    // A paint of the window costs milliseconds: lines in a burst are painted together. Pending
    // events are still processed for every line.
    consolePaintHold->open();

    // Each call is its own paragraph at the end; appending keeps a long log linear. Plain text goes
    // in as it is, without a trip through the HTML reader.
    QTextDocument* document = consoleText->document();
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    // One edit: the document lays the new paragraph out once, not once for the break and once more
    // for its text.
    cursor.beginEditBlock();
    if (!document->isEmpty()) cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    if (asHtml) {
        cursor.insertHtml(line);
    } else {
        QTextCharFormat format;
        if (bold) format.setFontWeight(QFont::Bold);
        cursor.insertText(text, format);
    }
    cursor.endEditBlock();
    cursor.movePosition(QTextCursor::End);
    consoleText->setTextCursor(cursor);

    // Show the line at once during long operations, but never re-enter a view that is painting.
    if (!View_Painting) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
