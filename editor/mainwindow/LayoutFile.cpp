#include "mainwindow/LayoutFile.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QSaveFile>
#include <QSplitter>
#include <QStatusBar>

#include "core/Prompt.h"
#include "dialogs/application/NamedDialogs.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "dialogs/editing/TextureBrowserDialog.h"
#include "dialogs/editing/LayoutRecords.h"
#include "mainwindow/MainWindow.h"

namespace {

bool readByte(QIODevice* device, char& value) {
    return device->getChar(&value);
}

QSplitter* effectSplitter(const cMainWindow* window, const char* name) {
    return window->shaderEditDialog ? window->shaderEditDialog->findChild<QSplitter*>(QLatin1String(name))
                                    : nullptr;
}

const QString kLayoutFile = QStringLiteral("KDKLayout.dat");

} // namespace

bool Layout_ReadMainWindow(cMainWindow* window, QIODevice* device) {
    char visible;
    QByteArray geometry, state;
    if (!readByte(device, visible) || !Layout_ReadBytes(device, geometry) || !Layout_ReadBytes(device, state))
        return false;
    if (!Layout_CheckMainWindowState(state, 0) || !window->restoreState(state, 0) ||
        !window->restoreGeometry(geometry))
        return false;
    window->statusBar()->setVisible(visible != 0);
    return true;
}

bool Layout_WriteMainWindow(cMainWindow* window, QIODevice* device) {
    return device->putChar(window->statusBar()->isVisibleTo(window) ? 1 : 0) &&
           Layout_WriteBytes(device, window->saveGeometry()) &&
           Layout_WriteBytes(device, window->saveState(0));
}

bool Layout_ReadWindowState(cMainWindow* window, QIODevice* device) {
    window->savedWindowPresent = false;
    window->savedWindowMaximized = false;
    window->savedWindowGeometry.clear();
    char present, maximized;
    if (!readByte(device, present)) return false;
    if (present == 0) return true;
    QByteArray geometry;
    if (!readByte(device, maximized) || !Layout_ReadBytes(device, geometry)) return false;
    window->savedWindowPresent = true;
    window->savedWindowMaximized = maximized != 0;
    window->savedWindowGeometry = geometry;
    return true;
}

bool Layout_WriteWindowState(cMainWindow* window, QIODevice* device) {
    if (!device->putChar(window->savedWindowPresent ? 1 : 0)) return false;
    if (!window->savedWindowPresent) return true;
    return device->putChar(window->savedWindowMaximized ? 1 : 0) &&
           Layout_WriteBytes(device, window->savedWindowGeometry);
}

int Layout_ReadFile(cMainWindow* window, QIODevice* device) {
    if (!Layout_ReadMainWindow(window, device)) return 1;
    if (!Layout_ReadGeometry(window->textureBrowserDialog, device)) return 2;
    if (!Layout_ReadGeometry(window->shaderEditDialog, device)) return 3;
    if (!Layout_ReadSplitter(effectSplitter(window, "splitter"), device)) return 4;
    if (!Layout_ReadSplitter(effectSplitter(window, "splitter_2"), device)) return 5;
    if (!Layout_ReadWindowState(window, device)) return 6;
    return 0;
}

int Layout_WriteFile(cMainWindow* window, QIODevice* device) {
    if (!Layout_WriteMainWindow(window, device)) return 1;
    if (!Layout_WriteGeometry(window->textureBrowserDialog, device)) return 2;
    if (!Layout_WriteGeometry(window->shaderEditDialog, device)) return 3;
    if (!Layout_WriteSplitter(effectSplitter(window, "splitter"), device)) return 4;
    if (!Layout_WriteSplitter(effectSplitter(window, "splitter_2"), device)) return 5;
    if (!Layout_WriteWindowState(window, device)) return 6;
    return 0;
}

void cMainWindow::readLayout() {
    const QString path = resolveConfigFile(kLayoutFile, false);
    QFile file(path);
    // No file, or an empty one, is no layout: the defaults stay.
    if (!file.exists() || QFileInfo(path).size() == 0) return;
    auto warn = [&] {
        const QString why = file.error() != QFileDevice::NoError
                                ? file.errorString()
                                : tr("The layout data is damaged or incomplete.");
        Prompt_Message(App_DialogParent(this), PromptIcon::Warning,
                       tr("Failed to read: %1\n%2").arg(path, why));
    };
    if (!file.open(QIODevice::ReadOnly)) {
        warn();
        return;
    }
    // A failed block leaves the position inside it: what follows cannot be read.
    if (Layout_ReadFile(this, &file) != 0) warn();
}

void cMainWindow::writeLayout() {
    const QString path = resolveConfigFile(kLayoutFile, true);
    // All or nothing: a failed write keeps the previous file.
    QSaveFile file(path);
    auto warn = [&] {
        const QString why = file.error() != QFileDevice::NoError
                                ? file.errorString()
                                : QStringLiteral("A layout record could not be written.");
        Prompt_Message(App_DialogParent(this), PromptIcon::Warning,
                       QStringLiteral("Failed to write: %1\n%2").arg(path, why));
    };
    if (!file.open(QIODevice::WriteOnly)) {
        warn();
        return;
    }
    if (Layout_WriteFile(this, &file) != 0) {
        file.cancelWriting();
        warn();
        return;
    }
    if (!file.commit()) warn();
}

void cMainWindow::createLayoutDialogs() {
    if (!textureBrowserDialog) textureBrowserDialog = new cTextureBrowserDialog(this);
    if (!shaderEditDialog) shaderEditDialog = new cShaderEditDialog(this);
}
