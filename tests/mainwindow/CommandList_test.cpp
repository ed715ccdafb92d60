// Help > Command List in the program's window.
#include <QTextEdit>
#include <algorithm>
#include <gtest/gtest.h>

#include "DialogAnswer.h"
#include "WindowFixture.h"
#include "dialogs/application/MessageDialog.h"
#include "dialogs/application/QCustomAction.h"

namespace {

class CommandListTest : public cWindowFixture {};

TEST_F(CommandListTest, ShowsEveryKeySortedInTheMessageDialog) {
    cMainWindow window(WindowMode::Interactive);
    window.show();
    const QStringList lines = window.commandListLines();
    QStringList sorted = lines;
    sorted.sort(Qt::CaseSensitive);
    EXPECT_EQ(lines, sorted);
    // Keys the views and tools handle themselves come from the fixed table.
    EXPECT_TRUE(lines.contains("Ctrl+Alt+W: Weld vertices (Vertex Manipulation)"));
    EXPECT_TRUE(lines.contains("PgDown: Next camera (Camera Tool)"));
    // Every shortcut of every listed action gives a line, described by its status or tool tip.
    for (const QAction* action : window.actionList) {
        const auto* custom = qobject_cast<const QCustomAction*>(action);
        if (!custom || custom->hiddenFromCommandList || action->shortcuts().isEmpty()) continue;
        for (const QKeySequence& key : action->shortcuts()) {
            const QString prefix = key.toString(QKeySequence::PortableText) + ": ";
            const bool found = std::any_of(lines.begin(), lines.end(), [&](const QString& line) {
                return line.startsWith(prefix) && (line.mid(prefix.size()) == action->statusTip() ||
                                                   line.mid(prefix.size()) == action->toolTip());
            });
            EXPECT_TRUE(found) << action->objectName().toStdString() << " " << prefix.toStdString();
        }
    }

    QString title, text;
    QSize size;
    bool isMessageDialog = false, rich = false;
    cDialogAnswer answer(
        [&](QDialog* d) {
            auto* message = qobject_cast<cMessageDialog*>(d);
            isMessageDialog = message;
            title = d->windowTitle();
            size = d->size();
            if (auto* edit = d->findChild<QTextEdit*>("textEdit")) {
                text = edit->toPlainText();
                rich = edit->toHtml().contains("<br />");
            }
        },
        false);
    window.cmdHelpCmdList();
    ASSERT_TRUE(answer.answered);
    EXPECT_TRUE(isMessageDialog);
    EXPECT_EQ(title, "Command List");
    EXPECT_EQ(size, QSize(541, 321));
    EXPECT_TRUE(rich);
    EXPECT_EQ(text.split('\n'), lines);
}

} // namespace
