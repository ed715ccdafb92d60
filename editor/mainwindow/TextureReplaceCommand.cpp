// The Tools menu's texture replacement and the run of the replace dialog that the surface
// properties dialog and the texture browser share.
#include <vector>

#include "dialogs/application/NamedDialogs.h"
#include "dialogs/editing/TextureReplaceDialog.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "mainwindow/MainWindow.h"
#include "views/ChildWindow.h"

QString cMainWindow::execTextureReplace(const QString& name) {
    cChildWindow* child = activeChildWindow();
    if (!textureReplaceDialog || !child || !child->document || !child->document->world) return QString();
    MapWorld* world = child->document->world;
    cTextureReplaceDialog* dialog = textureReplaceDialog;
    auto visible = [](QWidget* widget) { return widget && widget->isVisible(); };
    QWidget* parent = visible(textureBrowserDialog)     ? static_cast<QWidget*>(textureBrowserDialog)
                      : visible(objectPropertiesDialog) ? static_cast<QWidget*>(objectPropertiesDialog)
                      : visible(&faceDialog)            ? static_cast<QWidget*>(&faceDialog)
                                                        : static_cast<QWidget*>(dialog);
    // The floating property dialogs would stay over the modal dialog: they come down for the run.
    std::vector<QWidget*> lowered;
    for (QWidget* floating :
         {static_cast<QWidget*>(&faceDialog), static_cast<QWidget*>(objectPropertiesDialog)})
        if (visible(floating) && (floating->windowFlags() & Qt::WindowStaysOnTopHint)) {
            floating->setWindowFlag(Qt::WindowStaysOnTopHint, false);
            floating->show();
            lowered.push_back(floating);
        }
    dialog->setMessageParent(parent);
    dialog->setMap(Map_Handle(world));
    dialog->browserDialog = textureBrowserDialog;
    dialog->browseTextures = [this](const QString& start) {
        QString group;
        return faceDialog.browseTextures ? faceDialog.browseTextures(start, &group) : QString();
    };
    dialog->setFindTexture(name);
    dialog->setMarkedAvailable(world->selectedBrushes || world->selectedFaces);
    dialog->exec();
    for (QWidget* floating : lowered) {
        floating->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        floating->show();
        floating->raise();
        floating->activateWindow();
    }
    updateTextureBar(true);
    return dialog->lastTextureName();
}

void cMainWindow::cmdToolsTextureReplace() {
    const QString name = execTextureReplace(currentTextureName);
    if (!name.isEmpty() && name != currentTextureName) {
        currentTextureName = name;
        editTextureName();
    }
}
