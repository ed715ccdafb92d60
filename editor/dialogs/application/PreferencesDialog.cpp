#include "dialogs/application/PreferencesDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <algorithm>
#include <cmath>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/Prompt.h"
#include "core/System.h"
#include "document/UndoHistory.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "kstdlib/kutil.h"
#include "dialogs/application/DialogHost.h"
#include "views/ChildWindow.h"

static void initPreferencesResources() {
    Q_INIT_RESOURCE(preferences);
}

namespace {

using S = MainSettings;

// Check boxes that show their setting as it is, in the order of their pages.
struct CheckSetting {
    const char* control;
    bool S::*member;
};
constexpr CheckSetting kGeneralChecks[] = {
    {"cbIndependentWindows", &S::IndependentWindows},
    {"cbCreateDefaultWindows", &S::CreateDefaultWindows},
    {"cbNoPrecache", &S::NoPrecache},
    {"cbTransformAngles", &S::TransformAngles},
    {"cbDontSnapPrimitivePoints", &S::DontSnapPrimitivePoints},
    {"cbStretchArches", &S::StretchArches},
    {"cbRestoreCutObjects", &S::RestoreCutObjects},
    {"cbPreciseModelSelection", &S::PreciseModelSelection},
    {"cbModelAltScale", &S::ModelAltScale},
    {"cbClearSelectionOnEscape", &S::ClearSelectionOnEscape},
    {"cbLoadFromArchives", &S::LoadFromArchives},
    {"cbSnapOnMove", &S::SnapOnMove},
    {"cbKeepIntConnections", &S::KeepInternalConnections},
};
constexpr CheckSetting k2DChecks[] = {
    {"cbCrosshairCursor", &S::CrosshairCursor},
    {"cbDefaultFixedDegreeRotation", &S::DefaultFixedDegreeRotation},
    {"cbEnableScrollbars", &S::EnableScrollbars},
    {"cbDrawVertices", &S::DrawVertices},
    {"cbCenterOnCamera", &S::CenterOnCamera},
    {"cbUseVisgroupColors", &S::UseVisgroupColors},
    {"cbReorientPrimitives", &S::ReorientPrimitives},
    {"cbSelectAuto", &S::SelectAuto},
    {"cbSelectByHandles", &S::SelectByHandles},
    {"cbDrawCamera", &S::DrawCamera},
    {"cbKeepCloneVisGroup", &S::KeepCloneVisGroup},
    {"cbDrawSizingInfo", &S::DrawSizingInfo},
    {"cbDrawModels", &S::DrawModels},
    {"cbArrowKeyNudge", &S::ArrowKeyNudge},
    {"cbHideSmallGrid", &S::HideSmallGrid},
    {"cbGridHighlight", &S::GridHighlight},
    {"cbDottedGrid", &S::DottedGrid},
};
constexpr CheckSetting k3DChecks[] = {
    {"cbTransparency", &S::Transparency},
    {"cbAnimateModels", &S::AnimateModels},
    {"cbEnergySavingMode", &S::EnergySavingMode},
    {"cbAnimateTextures", &S::AnimateShaders},
    {"cbLimitFPS", &S::LimitFPS},
    {"cbMouselook", &S::Mouselook},
    {"cbMouseReverseY", &S::MouseReverseY},
    {"cbTabletPenInput", &S::TabletPenInput},
};
constexpr CheckSetting kMiscChecks[] = {
    {"cbBackupFiles", &S::BackupFiles},
    {"cbAutosaveEnable", &S::AutosaveEnable},
    {"cbAutosaveOnChanges", &S::AutosaveOnChanges},
    {"cbAutosaveToCurrentDir", &S::AutosaveToCurrentDir},
    {"cbAutosaveBeep", &S::AutosaveBeep},
    {"cbAutoUpdateCheck", &S::AutoUpdateCheck},
};

// Spin boxes and sliders holding an int setting; MaxWorldSize and UndoLevels have their own rules.
struct ValueSetting {
    const char* control;
    int32_t S::*member;
};
constexpr ValueSetting kValues[] = {
    {"sbFixedDegreeRotation", &S::FixedDegreeRotation},
    {"slBackClip", &S::BackClip},
    {"slModelRenderDistance", &S::ModelRenderDistance},
    {"slSensitivity", &S::Sensitivity},
    {"slForwardSpeed", &S::ForwardSpeed},
    {"slTimeToTopSpeed", &S::TimeToTopSpeed},
    {"slCameraFOV", &S::CameraFOV},
    {"sAutosaveDelay", &S::AutosaveDelay},
    {"sAutosaveLimit", &S::AutosaveLimit},
};

// Texture settings derived from the quality level 1..5.
struct TextureQualityLevel {
    bool compression;
    bool halfSize;
    int32_t minHalfSizeDims;
};
constexpr TextureQualityLevel kTextureQuality[] = {
    {true, true, 64}, {true, true, 128}, {false, true, 64}, {false, true, 128}, {false, false, 128},
};

const QString kAppName = QStringLiteral("Z.A.R.V.");

bool isAbsolutePath(const QString& path) {
    return path.startsWith(QLatin1Char('/')) || (path.size() > 1 && path[1] == QLatin1Char(':'));
}

} // namespace

QCustomTableWidgetItem::~QCustomTableWidgetItem() = default;

cPreferencesDialog::cPreferencesDialog(int page, QWidget* parent) : QDialog(parent) {
    initPreferencesResources();
    setupUi(this);
    // The value labels follow their sliders (QLabel::setNum is overloaded, so not in the form).
    for (auto [slider, label] : {std::pair{slBackClip, label_6}, std::pair{slModelRenderDistance, label_31},
                                 std::pair{slSensitivity, label_8}, std::pair{slForwardSpeed, label_9},
                                 std::pair{slCameraFOV, label_44}})
        connect(slider, &QSlider::valueChanged, label, qOverload<int>(&QLabel::setNum));
    setFixedSize(size());
    setWindowTitle(windowTitle() + kAppName);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/qrc/cog.png")));

    tabWidget->setCurrentIndex(page);
    tabWidget2->setCurrentIndex(0);
    fillingClassLists = loadingConfig = restartRequired = false;

    const int widths =
        lstTextures->columnWidth(0) + lstTextures->columnWidth(1) + lstTextures->columnWidth(2);
    lstTextures->setColumnWidth(1, 50);
    lstTextures->setColumnWidth(2, 70);
    lstTextures->setColumnWidth(0, widths - 120);
    btnTexDown->setIcon(QIcon(QStringLiteral(":/qrc/down0.png")));
    btnTexUp->setIcon(QIcon(QStringLiteral(":/qrc/up0.png")));
    cbTexFmt->clear();
    cbTexFmt->addItem(tr("Packages"), 1);
    cbTexFmt->addItem(tr("External"), 2);
    cbTexFmt->addItem(tr("All"), 3);
    cbTexFmt->model()->sort(0);
    for (QComboBox* box : {cbDefaultPoint, cbDefaultSolid}) {
        auto* proxy = new QSortFilterProxyModel(box);
        proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
        proxy->setSourceModel(box->model());
        box->model()->setParent(proxy);
        box->setModel(proxy);
    }

    // The configurations are edited on a copy of the program's, which takes them on Apply.
    const GameConfigManager* live = GameCfg_Manager();
    workingConfigs =
        live ? std::make_unique<GameConfigManager>(*live) : std::make_unique<GameConfigManager>();
    GameConfig* current = nullptr;
    if (live && live->current) current = GameCfg_FindConfig(workingConfigs.get(), live->current->Title);
    if (!current && !workingConfigs->configs.isEmpty()) current = workingConfigs->configs.first();
    GameCfg_Select(workingConfigs.get(), current);
    for (qsizetype i = 0; live && i < workingConfigs->configs.size() && i < live->configs.size(); ++i)
        m_liveTitles.insert(workingConfigs->configs[i], live->configs[i]->Title);

    for (int size = 1; size <= 512; size *= 2)
        coGridSize->addItem(QString::number(size));
    // Zero or text would make the grid divide by zero.
    txtGridHighlight->setValidator(new QIntValidator(1, 999999, txtGridHighlight));
    connect(slTimeToTopSpeed, &QSlider::valueChanged, this,
            &cPreferencesDialog::exec_on_timeToTopSpeedChange);

    loadSettings();
    fillConfigList();
    exec_on_configChanged();
    gameCfgGroupBox->setEnabled(cbConfig->count() > 0);

    connect(sWorldSize, &QSpinBox::valueChanged, this, &cPreferencesDialog::exec_on_worldSizeChange);
    connect(cbConfig, &QComboBox::currentIndexChanged, this, &cPreferencesDialog::exec_on_configChanged);
    connect(btnConfigEdit, &QPushButton::clicked, this, &cPreferencesDialog::exec_on_editConfig);
    connect(btnFgdAdd, &QPushButton::clicked, this, &cPreferencesDialog::exec_on_addFGD);
    connect(btnFgdEdit, &QPushButton::clicked, this, &cPreferencesDialog::exec_on_editFGD);
    connect(btnFgdRemove, &QPushButton::clicked, this, &cPreferencesDialog::exec_on_removeFGD);
    connect(cbTexFmt, &QComboBox::currentIndexChanged, this,
            &cPreferencesDialog::exec_on_textureFormatChanged);
    connect(cbMapType, &QComboBox::currentIndexChanged, this, &cPreferencesDialog::exec_on_mapProfileChanged);
    connect(cbDefaultPoint, &QComboBox::currentIndexChanged, this,
            &cPreferencesDialog::exec_on_defaultPointChanged);
    connect(cbDefaultSolid, &QComboBox::currentIndexChanged, this,
            &cPreferencesDialog::exec_on_defaultSolidChanged);
    const struct {
        QLineEdit* edit;
        QPushButton* browse;
        void (cPreferencesDialog::*changed)();
        void (cPreferencesDialog::*browsed)();
    } kPathRows[] = {
        {txtGameExe, btnGameExe, &cPreferencesDialog::exec_on_gameExecutableChanged,
         &cPreferencesDialog::exec_on_browseForGameExecutable},
        {txtGameBasedir, btnGameBasedir, &cPreferencesDialog::exec_on_gameBasedirChanged,
         &cPreferencesDialog::exec_on_browseForGameBasedir},
        {txtGameModdir, btnGameModdir, &cPreferencesDialog::exec_on_gameModdirChanged,
         &cPreferencesDialog::exec_on_browseForGameModdir},
        {txtMapSrcDir, btnMapSrcDir, &cPreferencesDialog::exec_on_mapSrcDirChanged,
         &cPreferencesDialog::exec_on_browseForMapSrcDir},
        {txtModelViewer, btnModelViewer, &cPreferencesDialog::exec_on_modelViewerChanged,
         &cPreferencesDialog::exec_on_browseForModelViewer},
        {txtMaptoolCSG, btnMaptoolCSG, &cPreferencesDialog::exec_on_toolCSGChanged,
         &cPreferencesDialog::exec_on_browseForToolCSG},
        {txtMaptoolBSP, btnMaptoolBSP, &cPreferencesDialog::exec_on_toolBSPChanged,
         &cPreferencesDialog::exec_on_browseForToolBSP},
        {txtMaptoolVIS, btnMaptoolVIS, &cPreferencesDialog::exec_on_toolVISChanged,
         &cPreferencesDialog::exec_on_browseForToolVIS},
        {txtMaptoolLIGHT, btnMaptoolLIGHT, &cPreferencesDialog::exec_on_toolLIGHTChanged,
         &cPreferencesDialog::exec_on_browseForToolLIGHT},
    };
    for (const auto& row : kPathRows) {
        connect(row.edit, &QLineEdit::editingFinished, this, row.changed);
        connect(row.browse, &QPushButton::clicked, this, row.browsed);
    }
    connect(btnTexAddFile, &QPushButton::clicked, this, &cPreferencesDialog::exec_on_textureAddFiles);
    connect(btnTexAddDir, &QPushButton::clicked, this, &cPreferencesDialog::exec_on_textureAddDirectory);
    connect(btnTexRemove, &QPushButton::clicked, this, &cPreferencesDialog::exec_on_textureRemove);
    connect(txtPalette, &QLineEdit::editingFinished, this, &cPreferencesDialog::exec_on_paletteChanged);
    connect(btnPalette, &QPushButton::clicked, this, &cPreferencesDialog::exec_on_browseForPalette);
    connect(buttonBox, &QDialogButtonBox::clicked, this, &cPreferencesDialog::exec_on_buttonClick);
    connect(btnTexUp, &QToolButton::clicked, this, &cPreferencesDialog::exec_on_textureMoveUp);
    connect(btnTexDown, &QToolButton::clicked, this, &cPreferencesDialog::exec_on_textureMoveDown);
    connect(slTextureBrightness, &QSlider::valueChanged, this,
            &cPreferencesDialog::exec_on_textureBrightnessChanged);
    connect(sTexScale, &QDoubleSpinBox::valueChanged, this,
            &cPreferencesDialog::exec_on_textureDefaultScaleChanged);
    connect(cbCfgEnable, &QCheckBox::toggled, this, &cPreferencesDialog::exec_on_enableChanged);
    connect(btnAutosaveDir, &QPushButton::clicked, this, &cPreferencesDialog::exec_on_browseForAutosaveDir);
}

cPreferencesDialog::~cPreferencesDialog() {
    workingConfigs.reset();
}

void cPreferencesDialog::loadSettings() {
    const MainSettings& s = Sys_Settings();
    const auto setChecks = [this, &s](const auto& table) {
        for (const CheckSetting& row : table)
            findChild<QCheckBox*>(QLatin1String(row.control))->setChecked(s.*row.member);
    };
    setChecks(kGeneralChecks);
    sWorldSize->setValue(s.MaxWorldSize);
    cbLargeToolIcons->setChecked(!s.SmallToolIcons);
    sUndoLevels->setValue(s.UndoLevels);
    slTextureQuality->setValue(s.TextureQuality);
    setChecks(k2DChecks);
    coGridSize->setCurrentIndex(coGridSize->findText(QString::number(s.GridDefaultSize), Qt::MatchExactly));
    txtGridHighlight->setText(QString::number(s.GridHighlightStep));
    cbTextureFilter->setChecked(s.TextureFilter > 0);
    cbMultisample->setChecked(s.Antialiasing);
    setChecks(k3DChecks);
    for (const ValueSetting& row : kValues)
        findChild<QWidget*>(QLatin1String(row.control))->setProperty("value", s.*row.member);
    setChecks(kMiscChecks);
    txtAutosaveDir->setText(s.AutosaveDir);
}

bool cPreferencesDialog::commitSettings() {
    // Without a program that keeps the preferences there is nothing to store them in.
    MainSettings* settings = Sys_MutableSettings();
    if (!settings) return false;
    MainSettings& s = *settings;
    const int32_t oldWorldSize = s.MaxWorldSize;
    const int32_t oldUndoLevels = s.UndoLevels;
    const bool oldSmallIcons = s.SmallToolIcons;
    const bool oldArchives = s.LoadFromArchives;
    const auto storeChecks = [this, &s](const auto& table) {
        for (const CheckSetting& row : table)
            s.*row.member = findChild<QCheckBox*>(QLatin1String(row.control))->isChecked();
    };

    storeChecks(kGeneralChecks);
    s.SmallToolIcons = !cbLargeToolIcons->isChecked();
    s.MaxWorldSize = (std::max(sWorldSize->value(), 1024) + 3) & ~3;
    s.UndoLevels = std::max(sUndoLevels->value(), 5);
    bool restart = restartRequired || s.LoadFromArchives != oldArchives || s.SmallToolIcons != oldSmallIcons;
    if (slTextureQuality->value() != s.TextureQuality) {
        s.TextureQuality = slTextureQuality->value();
        const TextureQualityLevel& level = kTextureQuality[std::clamp(s.TextureQuality, 1, 5) - 1];
        s.TextureCompression = level.compression;
        s.HalfSizeTextures = level.halfSize;
        s.MinHalfSizeTextureDims = level.minHalfSizeDims;
        restart = true;
    }

    storeChecks(k2DChecks);
    // A size the list does not hold shows no item: keep the stored one.
    if (coGridSize->currentIndex() >= 0) s.GridDefaultSize = coGridSize->currentText().toInt();
    if (txtGridHighlight->hasAcceptableInput()) s.GridHighlightStep = txtGridHighlight->text().toInt();

    s.TextureFilter = cbTextureFilter->isChecked() ? 1 : 0;
    storeChecks(k3DChecks);
    if (cbMultisample->isChecked() != s.Antialiasing) {
        s.Antialiasing = cbMultisample->isChecked();
        if (s.Antialiasing) restart = true;
    }
    for (const ValueSetting& row : kValues)
        s.*row.member = findChild<QWidget*>(QLatin1String(row.control))->property("value").toInt();

    storeChecks(kMiscChecks);
    s.AutosaveDir = txtAutosaveDir->text();

    if (DialogHost* host = Dialog_Host()) host->applyPreferences(s.MaxWorldSize != oldWorldSize);
    if (oldUndoLevels > s.UndoLevels) Undo_FreePools();
    return restart;
}

void cPreferencesDialog::exec_on_buttonClick(QAbstractButton* button) {
    switch (buttonBox->standardButton(button)) {
    case QDialogButtonBox::Apply:
        if (applyGameConfigs()) commitSettings();
        break;
    case QDialogButtonBox::Cancel:
        reject();
        break;
    case QDialogButtonBox::Ok:
        if (!applyGameConfigs()) return;
        if (commitSettings())
            Prompt_Message(this, PromptIcon::Information,
                           tr("Some changes you made will take effect upon restarting %1.").arg(kAppName));
        accept();
        break;
    default:
        break;
    }
}

void cPreferencesDialog::exec_on_worldSizeChange(int value) {
    if (K_IsPowerOf2(value))
        sWorldSize->setSingleStep(value / 2);
    else
        sWorldSize->setValue(int(K_BestPowerOf2(unsigned(value) * 2, unsigned(sWorldSize->maximum()))));
}

void cPreferencesDialog::exec_on_timeToTopSpeedChange(int value) {
    txtTimeToTopSpeed->setText(QString::number(value * 0.001, 'f', 2));
}

void cPreferencesDialog::exec_on_browseForAutosaveDir() {
    const QString folder = Prompt_GetExistingDirectory(this, QString(), txtAutosaveDir->text());
    if (!folder.isEmpty()) txtAutosaveDir->setText(folder);
}

QString cPreferencesDialog::relativeGamePath(const QString& path) const {
    const QString base = txtGameBasedir->text();
    if (path.isEmpty() || base.isEmpty() || !isAbsolutePath(path)) return path;
    const QString root = QFileInfo(base + QStringLiteral("/..")).canonicalFilePath();
    if (root.isEmpty() || path.size() <= root.size()) return path;
    if (!path.startsWith(root, Qt::CaseInsensitive)) return path;
    const QChar separator = path[root.size()];
    if (separator != QLatin1Char('/') && separator != QLatin1Char('\\')) return path;
    return path.mid(root.size() + 1);
}

QString cPreferencesDialog::absoluteGamePath(const QString& path) const {
    return absoluteGamePathIn(txtGameBasedir->text(), path);
}

QString cPreferencesDialog::absoluteGamePathIn(const QString& basedir, const QString& path) {
    if (path.isEmpty() || isAbsolutePath(path)) return path;
    return QFileInfo(basedir + QStringLiteral("/..")).canonicalFilePath() + QLatin1Char('/') + path;
}
