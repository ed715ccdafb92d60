// What a new user sees of the commands in the default layout: every tool-bar button in sight, icons
// that tell commands apart, and on/off readable in the menus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <map>

#include "WindowFixture.h"
#include "document/MapDocument.h"
#include "dialogs/application/QCustomAction.h"

namespace {

// The program's window at its default size with no layout file, the sample map open.
class CommandVisibilityTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeQuake3Config();
        // A translation, so the language menu has entries with flags.
        QDir().mkpath(path("base/local"));
        QFile::copy(QStringLiteral(ZARV_BIN_DIR "/local/zarv_ru.qm"), path("base/local/zarv_ru.qm"));
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        ASSERT_NE(window->openFile(kSampleMap), nullptr);
        // The bars lay out again after the map shows its commands.
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < 200)
            QApplication::processEvents();
    }
    void TearDown() override {
        for (MapDocument* d : window->documents)
            d->modified = false;
        window->close();
        window.reset();
        cWindowFixture::TearDown();
    }
    // The bars and their commands, each command once (a command in two bars is the same picture).
    std::map<QString, QAction*> barCommands() const {
        std::map<QString, QAction*> found;
        for (QToolBar* bar : window->toolBars)
            for (QAction* action : bar->actions())
                if (!action->isSeparator() && !action->objectName().isEmpty())
                    found.emplace(action->objectName(), action);
        return found;
    }
    std::unique_ptr<cMainWindow> window;
};

// The picture of one menu entry.
QImage menuEntry(QMenu* menu, QAction* action) {
    menu->ensurePolished();
    menu->adjustSize();
    const QRect rect = menu->actionGeometry(action);
    return menu->grab(rect).toImage();
}

// Pixels whose brightness differs by more than a third of the range: a mark a user sees at a glance,
// not a faint frame.
int strongDifferences(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 85) ++count;
    return count;
}

} // namespace

TEST_F(CommandVisibilityTest, EveryToolBarButtonIsInSightAt1280By900) {
    ASSERT_EQ(window->size(), QSize(1280, 900));
    ASSERT_FALSE(window->toolBars.isEmpty());
    for (QToolBar* bar : window->toolBars) {
        ASSERT_TRUE(bar->isVisible()) << bar->objectName().toStdString();
        // A button that does not fit is hidden and listed behind the bar's overflow arrow instead.
        for (QAction* action : bar->actions()) {
            if (action->isSeparator() || !action->isVisible()) continue;
            QWidget* button = bar->widgetForAction(action);
            ASSERT_NE(button, nullptr) << action->objectName().toStdString();
            EXPECT_TRUE(button->isVisible()) << action->objectName().toStdString();
            EXPECT_TRUE(bar->rect().contains(button->geometry()))
                << action->objectName().toStdString() << " in " << bar->objectName().toStdString();
            const QRect onWindow(button->mapTo(window.get(), QPoint()), button->size());
            EXPECT_TRUE(window->rect().contains(onWindow)) << action->objectName().toStdString();
        }
    }
    // The active tool's button shows pressed.
    QAction* select = Window_Action(*window, "ToolSel");
    ASSERT_NE(select, nullptr);
    window->toolSelect();
    for (QToolBar* bar : window->toolBars)
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(select)))
            EXPECT_TRUE(button->isChecked());
}

TEST_F(CommandVisibilityTest, NoTwoToolBarIconsAlike) {
    const auto commands = barCommands();
    ASSERT_GT(commands.size(), 40u);
    for (const int size : {16, 24}) {
        std::map<QByteArray, QString> seen; // picture bytes to the first command showing it
        for (const auto& [name, action] : commands) {
            const QImage image =
                action->icon().pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
            ASSERT_FALSE(image.isNull()) << name.toStdString();
            const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
            const auto [at, added] = seen.emplace(bytes, name);
            EXPECT_TRUE(added) << name.toStdString() << " looks like " << at->second.toStdString() << " at "
                               << size;
        }
    }
}

TEST_F(CommandVisibilityTest, CheckedMenuEntriesLookDifferentFromUncheckedOnes) {
    // Toggles with an icon (the display switches, the texture lock, the languages' flags) and without.
    int checked = 0;
    for (QMenu* menu : window->menus) {
        for (QAction* action : menu->actions()) {
            if (!action->isCheckable() || !action->isVisible() || !action->isEnabled()) continue;
            const bool was = action->isChecked();
            action->setChecked(false);
            const QImage off = menuEntry(menu, action);
            action->setChecked(true);
            const QImage on = menuEntry(menu, action);
            action->setChecked(was);
            EXPECT_GE(strongDifferences(on, off), 6) << (action->objectName() + action->text()).toStdString()
                                                     << " in " << menu->objectName().toStdString();
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
    EXPECT_FALSE(window->languageActions.isEmpty());
}
