// The program's window on the sample map with the Quake III plugin and the test plugin, and
// helpers that drive the options dialog with QTest and read what the window keeps.
#pragma once

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QSettings>
#include <QTest>

#include "DialogAnswer.h"
#include "SampleWindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/application/PreferencesDialog.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginManager.h"

// Check boxes take clicks on their box and text only: click near the left edge.
inline void clickButton(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
}

class cPreferencesFixture : public cSampleWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        // Both plugins in a folder of the test's own.
        QDir().mkpath(path("plugins"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZARV_BIN_DIR "/plugins/kpQuake3x64.so"),
                                path("plugins/kpQuake3x64.so")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZARV_TEST_PLUGIN_DIR "/kpTestDialogsx64.so"),
                                path("plugins/kpTestDialogsx64.so")));
        Plugin_SetFolder(path("plugins"));
        writeFile("base/KDKGameCfg.ini", configFile());
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        ASSERT_NE(window->openFile(samplePath()), nullptr);
        child = window->activeChildWindow();
        ASSERT_NE(child, nullptr);
        world = child->document->world;
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
    }

    virtual QByteArray configFile() const {
        return "[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\nTextureFormat=3\n";
    }
    static QString samplePath() {
        return QDir::cleanPath(QStringLiteral(ZARV_TEST_DATA_DIR "/../../../samples/maps/sample.map"));
    }
    static QString samplesDir() {
        return QDir::cleanPath(QStringLiteral(ZARV_TEST_DATA_DIR "/../../../samples"));
    }

    // A dialog of the window, shown, on a page.
    std::unique_ptr<cPreferencesDialog> openDialog(int page = 0) {
        auto dialog = std::make_unique<cPreferencesDialog>(page, window.get());
        dialog->show();
        QApplication::processEvents();
        return dialog;
    }
    static void press(cPreferencesDialog* dialog, QDialogButtonBox::StandardButton which) {
        QTest::mouseClick(dialog->buttonBox->button(which), Qt::LeftButton);
    }
    static void click(QAbstractButton* button) { clickButton(button); }
    // Replaces the text of a line edit and finishes editing with Enter.
    static void enterText(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // Makes the widget's page (and the pages holding it) current, so clicks land on shown widgets.
    static void reveal(QWidget* widget) {
        for (QWidget* w = widget; w; w = w->parentWidget())
            if (auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget()))
                if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget())) tabs->setCurrentWidget(w);
        QApplication::processEvents();
    }
    // The messages and questions the script recorded, texts only.
    static QStringList texts(const cPromptScript& script) {
        QStringList out;
        for (const PromptRequest& r : script.asked)
            out.append(r.text);
        return out;
    }
};
