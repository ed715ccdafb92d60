// The texture browser dialog.
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "dialogs/editing/TextureBrowserDialog.h"

#include <QEvent>
#include <QLineEdit>
#include <QShowEvent>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "core/Prompt.h"
#include "core/TextEncoding.h"
#include "dialogs/editing/TextureBrowser.h"
#include "dialogs/editing/TextureListFill.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/SelectionSummary.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureRecords.h"
#include "dialogs/application/DialogHost.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "render/GLFormat.h"
#include "views/DialogParent.h"

namespace {

// Texts of the scale modes, shown as they stand; the item data is the mode.
const char* const kScaleModes[] = {"2:1 (200%)", "1:1 (100%)", "1:2 (50%)", "1:4 (25%)",
                                   "32 x 32",    "64 x 64",    "128 x 128", "256 x 256"};

QString nameOf(const ShaderRecord* shader) {
    return Text_FromWindows1251(shader->name, qsizetype(strnlen(shader->name, sizeof shader->name)));
}

// The replace dialog, as the window made it.
QWidget* replaceDialog() {
    QWidget* window = Dialog_Window();
    return window ? window->findChild<QDialog*>(QStringLiteral("cTextureReplaceDialog")) : nullptr;
}

} // namespace

cTextureBrowserDialog::cTextureBrowserDialog(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    for (int i = 0; i < 8; ++i)
        lstScaleMode->addItem(QString::fromLatin1(kScaleModes[i]), i);
    lstScaleMode->setCurrentIndex(6);
    lstFilter->setInsertPolicy(QComboBox::InsertAtTop);
    filterTimer = new QTimer(this);
    filterTimer->setSingleShot(true);
    filterTimer->setInterval(500);
    replaceTextures = [](const QString& name) {
        DialogHost* host = Dialog_Host();
        return host ? host->replaceTextures(name) : QString();
    };

    connect(filterTimer, &QTimer::timeout, this, &cTextureBrowserDialog::exec_on_applyFilter);
    connect(tabBar, &QTabBar::currentChanged, this, &cTextureBrowserDialog::exec_on_changeTextureGroup);
    connect(browserScroll, &QScrollBar::valueChanged, this, &cTextureBrowserDialog::scrollToPos);
    connect(lstScaleMode, &QComboBox::currentIndexChanged, this,
            &cTextureBrowserDialog::exec_on_changeScaleMode);
    connect(cbOnlyUsed, &QCheckBox::toggled, this, &cTextureBrowserDialog::exec_on_toggleOnlyUsed);
    connect(lstFilter, &QComboBox::editTextChanged, this, &cTextureBrowserDialog::exec_on_editFilter);
    connect(lstFilter, &QComboBox::currentIndexChanged, this, &cTextureBrowserDialog::exec_on_applyFilter);
    connect(btnMark, &QPushButton::clicked, this, &cTextureBrowserDialog::exec_on_markTextures);
    connect(btnReplace, &QPushButton::clicked, this, &cTextureBrowserDialog::exec_on_replaceTextures);
    connect(cbAnimate, &QCheckBox::toggled, this, &cTextureBrowserDialog::exec_on_toggleAnimate);
}

cTextureBrowserDialog::~cTextureBrowserDialog() = default;

void cTextureBrowserDialog::retranslate() {
    retranslateUi(this);
    // The group label follows the language.
    showLabels(currentShader);
}

void cTextureBrowserDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QDialog::changeEvent(event);
}

void cTextureBrowserDialog::createBrowser() {
    if (browser) return;
    QSurfaceFormat format = View_CanvasFormat();
    format.setSamples(0);
    format.setStencilBufferSize(0);
    format.setAlphaBufferSize(Sys_Settings().AlphaBuffer ? 8 : 0);
    format.setSwapInterval(0);
    browser = new cTextureBrowser(this, format, this);
    browser->setObjectName(QStringLiteral("browser"));
    browserLayout->addWidget(browser);
}

void cTextureBrowserDialog::preset(const QString& name, const QString& group, MapWorld* world) {
    setCurrentTexture(name);
    groupName = group.isEmpty() ? QStringLiteral("(All Textures)") : group;
    if (browser) {
        browser->setGroup(groupName);
        browser->invalidateLayout();
    }
    updateScrollBar();
    mapHandle = world;
}

void cTextureBrowserDialog::showLabels(ShaderRecord* shader) {
    lblTextureName->setText(textureName);
    lblTextureGroup->setText(
        tr("Group: \"%1\"").arg(TexList_FindGroup(GameCfg_CurrentTextureLists(), textureName)));
    if (shader)
        lblTextureSize->setText(QStringLiteral("%1 x %2").arg(shader->width).arg(shader->height));
    else
        lblTextureSize->clear();
}

void cTextureBrowserDialog::setCurrentTexture(const QString& name) {
    textureName = name;
    currentShader = TexList_FindShader(GameCfg_CurrentTextureLists(), name);
    if (browser && browser->setCurrent(currentShader)) browser->update();
    showLabels(currentShader);
}

void cTextureBrowserDialog::showTextureInfo(ShaderRecord* shader) {
    if (!shader) {
        textureName.clear();
        currentShader = nullptr;
        lblTextureName->clear();
        lblTextureSize->clear();
        lblTextureGroup->clear();
        return;
    }
    if (browser && browser->setCurrent(shader)) browser->update();
    currentShader = shader;
    textureName = nameOf(shader);
    showLabels(shader);
}

void cTextureBrowserDialog::updateScrollBar() {
    if (!browser) return;
    const int h = browser->height(), total = browser->layoutHeight();
    // A browser not laid out yet has no height to divide by.
    if (h <= 0 || h >= total) {
        browserScroll->hide();
        return;
    }
    const int maximum = int(qint64(total) * browserScroll->pageStep() / h);
    const QSignalBlocker blocker(browserScroll);
    browserScroll->setMaximum(maximum);
    browserScroll->setValue(int(float(maximum) * browser->scrollFraction));
    browserScroll->show();
}

void cTextureBrowserDialog::ensureCurrentVisible() {
    if (!browser) return;
    const int total = browser->layoutHeight();
    if (total == 0) return;
    int y = 0, r = 0;
    browser->currentCellPosition(&y, &r);
    const int h = browser->height();
    const int span = total - h;
    const int top = std::max(0, int(float(span) * browser->scrollFraction));
    if (top < y && y < top + h - r) return;
    // A grid that fits has nothing to scroll.
    browser->scrollFraction = span > 0 ? std::clamp(float(y - 1) / float(span), 0.0f, 1.0f) : 0.0f;
    browser->update();
    updateScrollBar();
}

void cTextureBrowserDialog::showEvent(QShowEvent* event) {
    if (DialogHost* host = Dialog_Host()) host->updateTextureBar(false);
    {
        // The browser already shows groupName: the refill selects its tab without switching.
        const QSignalBlocker blocker(tabBar);
        TexList_FillGroupTabs(GameCfg_CurrentTextureLists(), tabBar, groupName);
    }
    const int mode = std::clamp(Sys_Settings().TextureBrowserScaleMode, 0, 7);
    lstScaleMode->setCurrentIndex(mode);
    // The box may show the mode already (no change, no signal): the browser takes it all the same.
    exec_on_changeScaleMode();
    cbAnimate->setChecked(Sys_Settings().TextureBrowserAnimate);
    const QWidget* replace = replaceDialog();
    btnReplace->setEnabled(!(replace && replace->isVisible()));
    if (browser) browser->invalidateLayout();
    ensureCurrentVisible();
    if (!lstFilter->currentText().isEmpty()) lstFilter->lineEdit()->selectAll();
    lstFilter->setFocus();
    QDialog::showEvent(event);
}

// ---- Slots ----------------------------------------------------------------------------------------

void cTextureBrowserDialog::scrollToPos(int value) {
    if (!browser) return;
    const int maximum = browserScroll->maximum();
    browser->scrollFraction = maximum > 0 ? float(value) / float(maximum) : 0.0f;
    browser->update();
}

void cTextureBrowserDialog::exec_on_changeScaleMode() {
    const int index = lstScaleMode->currentIndex();
    if (index < 0) return;
    const int mode = lstScaleMode->itemData(index).toInt();
    if (browser && mode != browser->scaleMode) {
        browser->setScaleMode(mode);
        updateScrollBar();
        browser->update();
    }
    if (MainSettings* settings = Sys_MutableSettings()) settings->TextureBrowserScaleMode = index;
}

void cTextureBrowserDialog::exec_on_toggleOnlyUsed() {
    if (!browser) return;
    const int bit = TextureBrowserFlag::OnlyUsed;
    browser->setFlags(cbOnlyUsed->isChecked() ? browser->flags | bit : browser->flags & ~bit);
}

void cTextureBrowserDialog::exec_on_toggleAnimate() {
    const bool on = cbAnimate->isChecked();
    if (browser) {
        const int bit = TextureBrowserFlag::Animate;
        browser->setFlags(on ? browser->flags | bit : browser->flags & ~bit);
    }
    if (MainSettings* settings = Sys_MutableSettings()) settings->TextureBrowserAnimate = on;
}

void cTextureBrowserDialog::exec_on_editFilter() {
    filterTimer->start();
}

void cTextureBrowserDialog::exec_on_applyFilter() {
    filterTimer->stop();
    if (browser) browser->setFilter(lstFilter->currentText());
}

void cTextureBrowserDialog::exec_on_markTextures() {
    if (!mapHandle || !currentShader) return;
    MapWorld* world = mapHandle;
    const bool faceMode = Map_UpdateSelectionMode(world) == 3;
    std::vector<BrushRecord*> brushes;
    std::vector<FaceRecord*> faces;
    for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
        if (entity->flags & RecordFlag::Hidden) continue;
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next) {
            if (brush->flags & BrushFlags::Hidden) continue;
            for (FaceRecord* face = brush->firstFace; face; face = face->next) {
                if (face->texture != currentShader) continue;
                if (!faceMode) {
                    brushes.push_back(brush);
                    break;
                }
                faces.push_back(face);
            }
        }
    }
    Map_ClearSelectionFlags(world);
    for (BrushRecord* brush : brushes)
        Map_SelectObject(world, brush);
    for (FaceRecord* face : faces)
        Map_SelectObject(world, face);
    const int count = int(brushes.size() + faces.size());
    Map_UpdateSelectionSummary(world);
    if (DialogHost* host = Dialog_Host()) host->notifySelectionChanged();
    if (MapDocument* document = Project_FromWorld(world)) Project_RedrawViews(document, 3);
    if (count > 0)
        Prompt_Message(App_DialogParent(this), PromptIcon::Information, tr("%1 objects marked.").arg(count));
    else
        Prompt_Message(App_DialogParent(this), PromptIcon::Warning, tr("No objects marked."));
}

void cTextureBrowserDialog::exec_on_replaceTextures() {
    if (!replaceTextures) return;
    const QString name = replaceTextures(textureName);
    if (name.isEmpty()) return;
    setCurrentTexture(name);
    ensureCurrentVisible();
}

void cTextureBrowserDialog::exec_on_changeTextureGroup(int index) {
    if (index < 0 || index >= tabBar->count()) return;
    const QString group = tabBar->tabData(index).toString();
    if (group.isEmpty()) return;
    groupName = group;
    if (browser) {
        browser->setGroup(group);
        browser->update();
    }
}
