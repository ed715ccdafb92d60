// The "Textures" dock and the window's current texture: a group list, a name list with the recent
// textures on top, a preview with the size, and the buttons that run the texture browser and the
// replace dialog over the modeless property dialogs.
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/TextEncoding.h"
#include "dialogs/application/NamedDialogs.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "dialogs/editing/TextureBrowserDialog.h"
#include "dialogs/editing/TextureListFill.h"
#include "dialogs/editing/TextureReplaceDialog.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginInterface.h"
#include "gamedata/TextureRecords.h"
#include "views/TextureView.h"
#include "mainwindow/MainWindow.h"
#include "views/ChildWindow.h"

namespace {

QString allTextures() {
    return QString::fromLatin1(kAllTexturesGroup);
}

MapWorld* activeWorld(const cMainWindow* window) {
    cChildWindow* child = window->activeChildWindow();
    return child && child->document ? child->document->world : nullptr;
}

// A modeless property dialog that stays on top would cover a modal dialog run over it: it drops
// the flag while the modal one runs. On X11 a flag change hides the window, so getting it back
// means showing, raising and activating it again.
class cStayOnTopPause {
public:
    void drop(QWidget* dialog) {
        if (!dialog || !dialog->isVisible()) return;
        // Only a flag it had comes back.
        if (!(dialog->windowFlags() & Qt::WindowStaysOnTopHint)) return also(dialog);
        m_paused.append(dialog);
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint, false);
    }
    void also(QWidget* dialog) {
        if (dialog && dialog->isVisible()) m_shown.append(dialog);
    }
    ~cStayOnTopPause() {
        for (QWidget* dialog : std::as_const(m_paused)) {
            dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
            bringBack(dialog);
        }
        for (QWidget* dialog : std::as_const(m_shown))
            bringBack(dialog);
    }
    cStayOnTopPause() = default;
    cStayOnTopPause(const cStayOnTopPause&) = delete;
    cStayOnTopPause& operator=(const cStayOnTopPause&) = delete;

private:
    static void bringBack(QWidget* dialog) {
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    }
    QList<QWidget*> m_paused;
    QList<QWidget*> m_shown;
};

} // namespace

void cMainWindow::createTexturesDock() {
    TexturesDock& d = texturesDock;
    d.dock = new QDockWidget(this);
    d.dock->setObjectName(QStringLiteral("textures"));
    d.dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    connect(d.dock, &QDockWidget::visibilityChanged, this, &cMainWindow::updateScreenElements);
    auto* panel = new QWidget(d.dock);

    auto combo = [panel](int visible) {
        auto* box = new QComboBox(panel);
        box->setMaxVisibleItems(visible);
        box->setIconSize(QSize(24, 24));
        box->setMinimumSize(28, 28);
        // Long texture names must not widen the dock (and narrow the map windows) as lists refill.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(12);
        return box;
    };
    d.groupLabel = new QLabel(panel);
    d.groups = combo(10);
    d.groupLabel->setBuddy(d.groups);
    connect(d.groups, &QComboBox::activated, this, &cMainWindow::editTextureGroup);
    d.nameLabel = new QLabel(panel);
    d.names = combo(12);
    d.nameLabel->setBuddy(d.names);
    connect(d.names, &QComboBox::activated, this, &cMainWindow::editTextureName);

    d.preview = new cTextureView(panel);
    d.preview->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    d.size = new QLabel(panel);
    d.size->setAlignment(Qt::AlignCenter);
    d.browse = new QPushButton(panel);
    d.replace = new QPushButton(panel);
    connect(d.browse, &QPushButton::clicked, this, &cMainWindow::execBrowseTexture);
    connect(d.replace, &QPushButton::clicked, this, &cMainWindow::cmdToolsTextureReplace);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(d.groupLabel);
    layout->addWidget(d.groups);
    layout->addWidget(d.nameLabel);
    layout->addWidget(d.names);
    auto* previewRow = new QHBoxLayout;
    previewRow->setContentsMargins(8, 0, 8, 0);
    previewRow->addWidget(d.preview);
    layout->addLayout(previewRow);
    layout->addWidget(d.size);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(d.browse);
    buttons->addWidget(d.replace);
    layout->addLayout(buttons);
    layout->addStretch();

    d.dock->setWidget(panel);
    retranslateTexturesDock();
    addDockWidget(Qt::RightDockWidgetArea, d.dock);

    // The surface properties dialog browses and replaces through the window.
    faceDialog.browseTextures = [this](const QString& name, QString* group) {
        return execTextureBrowser(name, group);
    };
    faceDialog.replaceTextures = [this](const QString& name) { return execTextureReplace(name); };
}

void cMainWindow::retranslateTexturesDock() {
    TexturesDock& d = texturesDock;
    if (!d.dock) return;
    d.dock->setWindowTitle(tr("Textures"));
    d.dock->setStatusTip(tr("For Help, press F1"));
    d.groupLabel->setText(tr("Texture &Group:"));
    d.nameLabel->setText(tr("Current &Texture:"));
    d.browse->setText(tr("&Browse..."));
    d.replace->setText(tr("&Replace..."));
}

void cMainWindow::updateTextureBar(bool keepLists) {
    TexturesDock& d = texturesDock;
    if (!d.dock) return;
    bool active = activeChildWindow() != nullptr;
    // While one of these dialogs is up it owns the texture choice: the dock stays disabled.
    const bool dialogUp = faceDialog.isVisible() ||
                          (textureBrowserDialog && textureBrowserDialog->isVisible()) ||
                          (textureReplaceDialog && textureReplaceDialog->isVisible());
    if (dialogUp) {
        faceDialog.setTextureSelection(active, false, QString(), QString());
        active = false;
    }
    textureBarUpdating = true;
    for (QWidget* w : {static_cast<QWidget*>(d.groupLabel), static_cast<QWidget*>(d.groups),
                       static_cast<QWidget*>(d.nameLabel), static_cast<QWidget*>(d.names)})
        w->setEnabled(active);
    if (!keepLists) d.groups->clear();
    TextureLists* lists = GameCfg_CurrentTextureLists();
    if (active && lists) {
        if (currentTextureGroup.isEmpty()) currentTextureGroup = allTextures();
        if (currentTextureName.isEmpty() && gameConfigs.currentProfile)
            currentTextureName = Text_FromWindows1251(QByteArray(gameConfigs.currentProfile->triggerTexture));
        if (!keepLists) TexList_FillGroupCombo(lists, d.groups, currentTextureGroup);
        editTextureGroup();
    } else if (!active) {
        d.names->clear();
        d.preview->setShader(nullptr);
        d.size->clear();
    }
    // An emptied list keeps the group for the next document.
    if (!d.groups->currentText().isEmpty()) currentTextureGroup = d.groups->currentText();
    d.preview->setEnabled(active);
    d.preview->update();
    d.size->setEnabled(active);
    d.browse->setEnabled(active);
    d.replace->setEnabled(active);
    textureBarUpdating = false;
}

void cMainWindow::editTextureGroup() {
    TexturesDock& d = texturesDock;
    if (!d.dock) return;
    textureNameGuard = true;
    d.names->clear();
    if (TextureLists* lists = GameCfg_CurrentTextureLists()) {
        QString group = d.groups->currentText();
        if (group.isEmpty()) group = allTextures();
        TexList_FillRecentTextures(lists, d.names, currentTextureName);
        TexList_FillGroupTextures(lists, group, d.names, currentTextureName, true);
        // A name the lists do not hold stays current without standing for another item.
        if (d.names->currentText().compare(currentTextureName, Qt::CaseInsensitive) != 0)
            d.names->setCurrentIndex(-1);
    }
    textureNameGuard = false;
    if (!textureBarUpdating && !d.groups->currentText().isEmpty())
        currentTextureGroup = d.groups->currentText();
    editTextureName();
}

void cMainWindow::editTextureName() {
    TexturesDock& d = texturesDock;
    if (!d.dock || textureNameGuard) return;
    const QString name = d.names->currentIndex() >= 0 ? d.names->currentText() : currentTextureName;
    TextureLists* lists = GameCfg_CurrentTextureLists();
    ShaderRecord* record = TexList_FindShader(lists, name);
    if (record) {
        textureNameGuard = true;
        if (TexList_AddRecent(lists, name)) TexList_FillRecentTextures(lists, d.names, name);
        textureNameGuard = false;
    }
    if (!textureBarUpdating && !name.isEmpty()) currentTextureName = name;
    if (record)
        d.size->setText(tr("%1 x %2").arg(record->width).arg(record->height));
    else
        d.size->clear();
    d.preview->setShader(record);
}

void cMainWindow::execBrowseTexture() {
    QString group = currentTextureGroup;
    const QString chosen = execTextureBrowser(currentTextureName, &group);
    if (!group.isEmpty()) currentTextureGroup = group;
    if (!chosen.isEmpty() && chosen != currentTextureName) {
        currentTextureName = chosen;
        if (texturesDock.dock) {
            textureBarUpdating = true;
            texturesDock.names->setCurrentIndex(texturesDock.names->findText(chosen, Qt::MatchExactly));
            editTextureName();
            textureBarUpdating = false;
        }
    }
    checkActiveState(false, false);
    updateTextureBar(false);
}

QString cMainWindow::execTextureBrowser(const QString& name, QString* group) {
    if (!textureBrowserDialog) return {};
    QString result;
    {
        cStayOnTopPause pause;
        pause.drop(&faceDialog);
        pause.also(textureReplaceDialog);
        pause.drop(objectPropertiesDialog);
        const QString shownGroup = group && !group->isEmpty() ? *group : allTextures();
        textureBrowserDialog->preset(name, shownGroup, activeWorld(this));
        textureBrowserDialog->exec();
        // The name and group as they stand, whether the dialog was accepted or not.
        result = textureBrowserDialog->textureName;
        if (group) *group = textureBrowserDialog->groupName;
    }
    return result;
}

QString cMainWindow::execTextureReplace(const QString& name) {
    if (!textureReplaceDialog) return {};
    QString result;
    {
        cStayOnTopPause pause;
        QWidget* popupParent = textureReplaceDialog;
        for (QWidget* candidate :
             {static_cast<QWidget*>(&faceDialog), static_cast<QWidget*>(objectPropertiesDialog),
              static_cast<QWidget*>(textureBrowserDialog)})
            if (candidate && candidate->isVisible()) popupParent = candidate;
        pause.drop(&faceDialog);
        pause.drop(objectPropertiesDialog);
        MapWorld* world = activeWorld(this);
        const bool marked = world && (world->selectedBrushes || world->selectedFaces);
        cTextureReplaceDialog* dialog = textureReplaceDialog;
        dialog->setMessageParent(popupParent);
        dialog->setMap(Map_Handle(world));
        dialog->browserDialog = textureBrowserDialog;
        dialog->browseTextures = [this](const QString& start) {
            QString group;
            return execTextureBrowser(start, &group);
        };
        dialog->setFindTexture(name);
        dialog->setMarkedAvailable(marked);
        dialog->exec();
        result = dialog->lastTextureName();
    }
    updateTextureBar(true);
    return result;
}

void cMainWindow::cmdToolsTextureReplace() {
    const QString replaced = execTextureReplace(currentTextureName);
    if (replaced.isEmpty() || replaced == currentTextureName) return;
    currentTextureName = replaced;
    if (!texturesDock.dock) return;
    textureBarUpdating = true;
    texturesDock.names->setCurrentIndex(texturesDock.names->findText(replaced, Qt::MatchExactly));
    editTextureName();
    textureBarUpdating = false;
}

ShaderRecord* App_FindTexture(const QString& name) {
    return TexList_FindShader(GameCfg_CurrentTextureLists(), name);
}

QString App_FindTextureGroup(const QString& name) {
    const TextureLists* lists = GameCfg_CurrentTextureLists();
    return lists ? TexList_FindGroup(lists, name) : QString();
}

void App_SetCurrentTexture(const QString& name, const QString& group) {
    if (!g_mainWindow || name.isEmpty() || group.isEmpty()) return;
    if (name == g_mainWindow->currentTextureName && group == g_mainWindow->currentTextureGroup) return;
    g_mainWindow->currentTextureName = name;
    g_mainWindow->currentTextureGroup = group;
}
