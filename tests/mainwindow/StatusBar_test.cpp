#include <gtest/gtest.h>

#include <QLabel>
#include <QStatusBar>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/SelectionSummary.h"

namespace {

class StatusBarTest : public cWindowFixture {
protected:
    cConsoleCapture console;
};

} // namespace

TEST_F(StatusBarTest, SevenLabelsSnapTextAndSelectionSummary) {
    writeQuake3Config();
    cMainWindow window(WindowMode::Interactive);
    window.show();
    const int widths[7] = {0, 220, 200, 120, 190, 120, 120};
    QList<QLabel*> inBar = window.statusBar()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (int i = 0; i < 7; ++i) {
        QLabel* label = window.statusLabels[i];
        ASSERT_NE(label, nullptr);
        EXPECT_GE(label->width(), widths[i]) << i;
        EXPECT_EQ(label->minimumWidth(), widths[i]) << i;
        EXPECT_TRUE(label->alignment() & Qt::AlignLeft);
    }
    // Label 0 takes the spare width.
    EXPECT_GT(window.statusLabels[0]->width(), window.statusLabels[1]->width());

    // No map: no snap text.
    window.updateSnapGridStatus();
    EXPECT_TRUE(window.statusLabels[6]->text().isEmpty());
    MapDocument* document = window.openFile(kSampleMap);
    ASSERT_NE(document, nullptr);
    window.settings.SnapToGrid = false;
    window.settings.CurrentGridSize = 16;
    window.updateSnapGridStatus();
    EXPECT_EQ(window.statusLabels[6]->text(), QLatin1String("Snap: Off Grid: 16"));

    // Label n by number; numbers without a label change nothing.
    App_SetStatusText(&window, QStringLiteral("pos"), 3);
    EXPECT_EQ(window.statusLabels[3]->text(), QLatin1String("pos"));
    App_SetStatusText(&window, QStringLiteral("x"), 7);
    App_SetStatusText(&window, QStringLiteral("x"), -1);
    App_SetStatusText(nullptr, QStringLiteral("x"), 1);
    // The selection summary the document computes lands in label 2.
    Map_SelectObject(document->world, document->world->entities->firstBrush);
    Map_UpdateSelectionSummary(document->world);
    EXPECT_EQ(window.statusLabels[2]->text(), Map_SelectionSummaryText(document->world));
    EXPECT_FALSE(window.statusLabels[2]->text().isEmpty());
    Map_SelectNone(document->world);
    window.close();
}
