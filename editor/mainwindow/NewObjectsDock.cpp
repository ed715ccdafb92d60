// The "New Objects" dock: what the entity tool and the brush tool create (a point class, or a
// creation primitive with its face count), and the buttons that move the selection to the world
// or tie it to an entity.
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "core/Prompt.h"
#include "document/Grouping.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "dialogs/application/NamedDialogs.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameData.h"
#include "gamedata/PluginInterface.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PrimitiveRegistry.h"
#include "tools/EntityTool.h"
#include "tools/ToolSet.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

// Category data: 0 no category, 1 entities, k + 2 the k-th primitive category.
constexpr int kNoCategory = 0;
constexpr int kEntities = 1;

QString translatedText(const char* text) {
    return QCoreApplication::translate("QObject", text);
}

uint32_t profileFlags(const GameConfigManager& configs) {
    return configs.currentProfile ? configs.currentProfile->capabilities : 0;
}

} // namespace

void cMainWindow::createObjectsDock() {
    App_ClearPrimitives();
    App_RegisterBuiltinPrimitives(this);

    ObjectsDock& d = objectsDock;
    d.dock = new QDockWidget(this);
    d.dock->setObjectName(QStringLiteral("newobjects"));
    d.dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    connect(d.dock, &QDockWidget::visibilityChanged, this, &cMainWindow::updateScreenElements);
    auto* panel = new QWidget(d.dock);

    d.moveLabel = new QLabel(panel);
    auto smallButton = [panel] {
        auto* button = new QPushButton(panel);
        button->setMaximumSize(60, 24);
        return button;
    };
    d.toWorld = smallButton();
    d.toEntity = smallButton();
    connect(d.toWorld, &QPushButton::clicked, this, &cMainWindow::cmdToolsMoveToWorld);
    connect(d.toEntity, &QPushButton::clicked, this, &cMainWindow::cmdToolsTieToEntity);

    d.categoryLabel = new QLabel(panel);
    d.categories = new QComboBox(panel);
    d.categoryLabel->setBuddy(d.categories);
    connect(d.categories, &QComboBox::activated, this, &cMainWindow::editCategoryList);

    d.objectLabel = new QLabel(panel);
    d.objects = new QComboBox(panel);
    d.objects->setMaxVisibleItems(30);
    d.objectLabel->setBuddy(d.objects);
    connect(d.objects, &QComboBox::activated, this, &cMainWindow::editObjectList);
    // A choice made in the dock hands the keys back to the map's views, where Return creates it.
    auto keysToViews = [this] {
        cChildWindow* child = activeChildWindow();
        if (!child || child->views.isEmpty()) return;
        cCanvas* view = child->views.contains(focusView) ? focusView : child->views.first();
        if (view) view->setFocus(Qt::OtherFocusReason);
    };
    connect(d.categories, &QComboBox::activated, this, keysToViews);
    connect(d.objects, &QComboBox::activated, this, keysToViews);

    d.facesLabel = new QLabel(panel);
    d.faces = new QSpinBox(panel);
    d.faces->setRange(0, 0);
    d.faces->setMinimumWidth(40);
    d.facesLabel->setBuddy(d.faces);
    connect(d.faces, &QSpinBox::valueChanged, this, &cMainWindow::editFaceCount);

    d.randomYaw = new QCheckBox(panel);
    d.randomYaw->hide();
    // The entity tool reads the box through its own setting.
    connect(d.randomYaw, &QCheckBox::toggled, this, [](bool on) { Tool_SetRandomYaw(on); });
    d.insertPrefab = new QPushButton(panel);
    d.createPrefab = new QPushButton(panel);
    d.insertPrefab->hide();
    d.createPrefab->hide();
    connect(d.insertPrefab, &QPushButton::clicked, this, &cMainWindow::msgFeatureUnderDevelopment);
    connect(d.createPrefab, &QPushButton::clicked, this, &cMainWindow::msgFeatureUnderDevelopment);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* moveRow = new QHBoxLayout;
    moveRow->setSpacing(2);
    moveRow->setContentsMargins(0, 0, 0, 0);
    moveRow->addWidget(d.moveLabel, 1);
    moveRow->addWidget(d.toWorld);
    moveRow->addWidget(d.toEntity);
    layout->addLayout(moveRow);
    layout->addWidget(d.categoryLabel);
    layout->addWidget(d.categories);
    layout->addWidget(d.objectLabel);
    layout->addWidget(d.objects);
    auto* facesRow = new QHBoxLayout;
    facesRow->setSpacing(8);
    facesRow->addWidget(d.facesLabel);
    facesRow->addWidget(d.faces);
    facesRow->addStretch();
    layout->addLayout(facesRow);
    layout->addWidget(d.randomYaw);
    layout->addWidget(d.insertPrefab);
    layout->addWidget(d.createPrefab);
    layout->addStretch();

    d.dock->setWidget(panel);
    retranslateObjectsDock();
    addDockWidget(Qt::RightDockWidgetArea, d.dock);
}

void cMainWindow::retranslateObjectsDock() {
    ObjectsDock& d = objectsDock;
    if (!d.dock) return;
    d.dock->setWindowTitle(tr("New Objects"));
    d.dock->setStatusTip(tr("For Help, press F1"));
    d.moveLabel->setText(tr("Move\nselected:"));
    d.toWorld->setText(tr("to&World"));
    d.toEntity->setText(tr("toEn&tity"));
    d.toEntity->setToolTip(tr("Hold SHIFT to tie each solid to a separate entity"));
    d.categoryLabel->setText(tr("&Categories:"));
    d.objectLabel->setText(tr("&Objects:"));
    d.facesLabel->setText(tr("&Faces:"));
    d.randomYaw->setText(tr("Random &Yaw"));
    d.insertPrefab->setText(tr("&Insert Original Prefab"));
    d.createPrefab->setText(tr("Create Pre&fab"));
}

void cMainWindow::fillObjectCategories() {
    ObjectsDock& d = objectsDock;
    if (!d.dock) return;
    const bool active = activeChildWindow() != nullptr;
    for (QWidget* w : {static_cast<QWidget*>(d.moveLabel), static_cast<QWidget*>(d.toWorld),
                       static_cast<QWidget*>(d.toEntity), static_cast<QWidget*>(d.insertPrefab),
                       static_cast<QWidget*>(d.createPrefab)})
        w->setEnabled(active);
    d.facesLabel->setEnabled(false);
    d.faces->setEnabled(false);
    d.randomYaw->setEnabled(false);
    d.facesLabel->show();
    d.faces->show();
    d.randomYaw->hide();
    d.categories->clear();

    auto enableLists = [&d](bool on) {
        for (QWidget* w : {static_cast<QWidget*>(d.categoryLabel), static_cast<QWidget*>(d.categories),
                           static_cast<QWidget*>(d.objectLabel), static_cast<QWidget*>(d.objects)})
            w->setEnabled(on);
    };
    switch (Tool_Id(activeTool)) {
    case ToolId::Entity:
        enableLists(active);
        d.categories->addItem(tr("(entities)"), kEntities);
        d.facesLabel->hide();
        d.faces->hide();
        d.randomYaw->setEnabled(active);
        d.randomYaw->show();
        break;
    case ToolId::Brush:
        enableLists(active);
        addPrimitiveCategories(d.category);
        break;
    default:
        enableLists(false);
        d.categories->addItem(tr("(no category)"), kNoCategory);
        break;
    }
    if (active) editCategoryList();
}

void cMainWindow::addPrimitiveCategories(const QString& rememberedCategory) {
    QComboBox* combo = objectsDock.categories;
    const uint32_t flags = profileFlags(gameConfigs);
    combo->clear();
    int added = 0;
    for (const PrimitiveEntry& entry : App_Primitives()) {
        if (!App_PrimitiveOffered(&entry, flags)) continue;
        const QString category = translatedText(entry.category);
        if (combo->findText(category, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) continue;
        combo->addItem(category, added + 2);
        ++added;
        if (category == rememberedCategory) combo->setCurrentIndex(combo->count() - 1);
    }
    if (rememberedCategory.isEmpty() && combo->count() > 0) combo->setCurrentIndex(0);
}

void cMainWindow::fillPrimitiveObjects(const QString& category, int rememberedPosition) {
    QComboBox* combo = objectsDock.objects;
    const uint32_t flags = profileFlags(gameConfigs);
    combo->clear();
    int position = 0;
    for (const PrimitiveEntry& entry : App_Primitives()) {
        ++position;
        if (!App_PrimitiveOffered(&entry, flags) || translatedText(entry.category) != category) continue;
        combo->addItem(translatedText(entry.name), position);
        if (position == rememberedPosition) combo->setCurrentIndex(combo->count() - 1);
    }
    // A remembered primitive of another category leaves the first one current.
    if (combo->count() > 0 && combo->findData(rememberedPosition) < 0) combo->setCurrentIndex(0);
}

void cMainWindow::fillEntityObjects(const QString& rememberedClass) {
    QComboBox* combo = objectsDock.objects;
    combo->clear();
    cChildWindow* child = activeChildWindow();
    const GameConfig* config = child && child->document ? child->document->gameConfig : nullptr;
    QStringList names;
    if (config) {
        for (const QString& path : config->GameData) {
            const GameData* file = gameData.files.value(path);
            if (!file || file->classes.empty()) continue;
            const QStringList earlier = names;
            for (const auto& [name, eclass] : file->classes) {
                if (eclass->kind != EntityClassKind::Point) continue;
                const QString text = QString::fromLatin1(name);
                if (earlier.contains(text, Qt::CaseInsensitive) || names.contains(text)) continue;
                names.append(text);
            }
        }
    }
    if (names.isEmpty()) {
        Prompt_Message(
            App_DialogParent(this), PromptIcon::Warning,
            tr("There are no point entities in current game data!\nEntity Tool is not available."));
        toolBrush();
        // The switch refills the lists for the brush tool.
        fillObjectCategories();
        return;
    }
    std::sort(names.begin(), names.end());
    combo->addItems(names);
    int index = combo->findText(rememberedClass, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0 && config) index = combo->findText(config->DefaultPointClass, Qt::MatchExactly);
    if (index >= 0) combo->setCurrentIndex(index);
}

void cMainWindow::editCategoryList() {
    ObjectsDock& d = objectsDock;
    const int data = d.categories->currentData().toInt();
    if (data == kNoCategory) {
        d.objects->clear();
        d.objects->addItem(tr("(nothing)"));
    } else if (data == kEntities) {
        fillEntityObjects(d.entityClass);
        // The warning switched to the brush tool and refilled everything.
        if (d.categories->currentData().toInt() != kEntities) return;
    } else {
        const QString category = d.categories->currentText();
        fillPrimitiveObjects(category, d.primitive);
        if (category != d.category) d.category = category;
    }
    editObjectList();
}

void cMainWindow::editObjectList() {
    ObjectsDock& d = objectsDock;
    const int data = d.categories->currentData().toInt();
    if (data == kNoCategory) {
        App_SetCurrentPrimitive(-1);
        return;
    }
    if (data == kEntities) {
        App_SetCurrentPrimitive(-1);
        d.entityClass = d.objects->currentText();
        d.classChanged = true;
        currentObjectClass();
        return;
    }
    // Primitives are told apart by list position: names repeat across categories.
    const int position = d.objects->currentData().toInt();
    const std::vector<PrimitiveEntry>& rows = App_Primitives();
    if (position < 1 || position > int(rows.size())) {
        App_SetCurrentPrimitive(-1);
        return;
    }
    App_SetCurrentPrimitive(position - 1);
    const PrimitiveEntry& entry = rows[size_t(position - 1)];
    d.facesLabel->setEnabled(entry.maximum > 0);
    d.faces->setEnabled(entry.maximum > 0);
    if (position == d.primitive) return;
    d.primitive = position;
    d.settingRange = true;
    d.faces->setRange(entry.minimum, entry.maximum);
    d.faces->setValue(entry.count);
    d.settingRange = false;
}

void cMainWindow::editFaceCount(int value) {
    ObjectsDock& d = objectsDock;
    if (d.settingRange || !d.objects) return;
    const int position = d.objects->currentData().toInt();
    std::vector<PrimitiveEntry>& rows = App_Primitives();
    if (d.categories->currentData().toInt() < 2 || position < 1 || position > int(rows.size())) return;
    rows[size_t(position - 1)].count = value;
}

EntityClass* cMainWindow::currentObjectClass() {
    ObjectsDock& d = objectsDock;
    if (!d.classChanged) return d.cachedClass;
    d.classChanged = false;
    d.cachedClass = nullptr;
    cChildWindow* child = activeChildWindow();
    const GameConfig* config = child && child->document ? child->document->gameConfig : nullptr;
    const QByteArray name = d.entityClass.toLatin1();
    if (config) {
        for (const QString& path : config->GameData) {
            const GameData* file = gameData.files.value(path);
            if (!file) continue;
            if (EntityClass* eclass = Fgd_FindClass(file, name.constData(), EntityClassKind::Point)) {
                d.cachedClass = eclass;
                break;
            }
        }
    }
    // The entity tool creates what the dock shows.
    Tool_SetCurrentObjectClass(d.cachedClass);
    return d.cachedClass;
}

void cMainWindow::tieToEntity(EntityRecord* entity, bool each) {
    cChildWindow* child = activeChildWindow();
    MapDocument* document = child ? child->document : nullptr;
    if (document && document->world) {
        EntityRecord* target = entity;
        const QByteArray className = tieClassName.toLatin1();
        const bool done = Map_CmdTieToEntity(document->world, className.constData(), each, &target);
        notifySelectionChanged();
        // A new entity opens in the properties dialog, which then shows it, not what it held.
        if (done && !entity && target && objectPropertiesDialog) {
            if (!objectPropertiesDialog->isVisible()) {
                objectPropertiesDialog->resetSmartForced();
                objectPropertiesDialog->show();
            }
            objectPropertiesDialog->raise();
            updateObjectProperties();
        }
    }
    tieClassName.clear();
}
