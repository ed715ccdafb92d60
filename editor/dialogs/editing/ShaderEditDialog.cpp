#include "dialogs/editing/ShaderEditDialog.h"

#include <QActionGroup>
#include <algorithm>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextCursor>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

#include <QCloseEvent>
#include <QFileInfo>
#include <QMap>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/FileLookup.h"
#include "dialogs/editing/EffectFile.h"
#include "dialogs/editing/NameFilter.h"
#include "dialogs/editing/ShaderEditCanvas.h"
#include "core/Prompt.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "dialogs/editing/ShaderEditScript.h"
#include "dialogs/editing/ShaderEditSupport.h"
#include "dialogs/editing/TextureListFill.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "gamedata/PluginInterface.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "gamedata/TextureRecords.h"
#include "dialogs/application/DialogHost.h"
#include "gamedata/GameDataHost.h"
#include "dialogs/application/QCustomAction.h"
#include "views/ViewState.h"

using namespace ShaderEdit;

const ShaderEditAction ShaderEditActionTable[kShaderEditActionCount] = {
    {"Plane", "sp_plane", SLOT(exec_on_changeGeom0()), 1, 0x7},
    {"Box", "sp_cube", SLOT(exec_on_changeGeom1()), 1, 0x3},
    {"Cylinder", "sp_cyl", SLOT(exec_on_changeGeom2()), 1, 0x3},
    {"Sphere", "sp_sph", SLOT(exec_on_changeGeom3()), 1, 0x3},
    {"Teapot", "sp_teap", SLOT(exec_on_changeGeom4()), 1, 0x3},
    {nullptr, nullptr, nullptr, 1, 0},
    {"Show wireframe", "sp_tris", SLOT(exec_on_toggleDrawTris()), 1, 0x2},
    {"Show normals", "sp_n", SLOT(exec_on_toggleDrawNormals()), 1, 0x2},
    {nullptr, nullptr, nullptr, 1, 0},
    {"Auto-rotation", "sp_ar", SLOT(exec_on_toggleAutoRotation()), 1, 0x6},
    {"Create default script for image", "openi", SLOT(exec_on_load_image()), 2, 0x400},
    {"Load script from a effect file", "open", SLOT(exec_on_load_scriptfile()), 2, 0x400},
    {"Save script to the current effect file", "save", SLOT(exec_on_save_scriptfile()), 2, 0xC00},
    {"Save script to a new effect file", "save_new", SLOT(exec_on_saveas_scriptfile()), 2, 0x400},
    {nullptr, nullptr, nullptr, 2, 0},
    {"Check script for errors", "compile", SLOT(exec_on_compileScript()), 2, 0x400},
    {"Build script", "build", SLOT(exec_on_buildScript()), 2, 0x400},
    {nullptr, nullptr, nullptr, 2, 0},
    {"Undo", "undo", SLOT(exec_on_undo()), 2, 0x100},
    {"Redo", "redo", SLOT(exec_on_redo()), 2, 0x200},
    {nullptr, nullptr, nullptr, 2, 0},
    {"Toggle auto-indentation", "indent", SLOT(exec_on_toggleAutoIndent()), 2, 0x406},
    {"Toggle auto-completion", "autocomp", SLOT(exec_on_toggleAutoComplete()), 2, 0x406},
    {nullptr, nullptr, nullptr, 2, 0},
    {"Re-format script text", "fmt", SLOT(exec_on_reformat()), 2, 0x400},
};

namespace {

// The table row's flags, kept on each action.
const char* const kRowFlags = "rowFlags";
uint32_t rowFlags(const QAction* action) {
    return action->property(kRowFlags).toUInt();
}

void reportBuildError(int32_t line, const char* message, void* context) {
    auto* dialog = static_cast<cShaderEditDialog*>(context);
    if (!dialog || !message) return;
    dialog->script->errors.append({line, QString::fromLocal8Bit(message)});
}

} // namespace

cShaderEditDialog::cShaderEditDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("cShaderEditDialog"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    splitter2 = new QSplitter(Qt::Horizontal, this);
    splitter2->setObjectName(QStringLiteral("splitter_2"));
    splitter2->setChildrenCollapsible(false);
    auto* effects = new QGroupBox(splitter2);
    effects->setObjectName(QStringLiteral("groupBox"));
    auto* effectsLayout = new QVBoxLayout(effects);
    shaderGroup = new QComboBox(effects);
    shaderGroup->setObjectName(QStringLiteral("shaderGroup"));
    shaderGroup->setMinimumSize(28, 28);
    shaderGroup->setIconSize(QSize(24, 24));
    shaderList = new QTreeWidget(effects);
    shaderList->setObjectName(QStringLiteral("shaderList"));
    shaderList->setHeaderHidden(true);
    shaderList->setMinimumWidth(230);
    cbFilter = new QComboBox(effects);
    cbFilter->setObjectName(QStringLiteral("cbFilter"));
    cbFilter->setEditable(true);
    cbFilter->setInsertPolicy(QComboBox::NoInsert);
    effectsLayout->addWidget(shaderGroup);
    effectsLayout->addWidget(shaderList);
    effectsLayout->addWidget(cbFilter);
    splitter = new QSplitter(Qt::Vertical, splitter2);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    auto* preview = new QGroupBox(splitter);
    preview->setObjectName(QStringLiteral("canvasBase2"));
    canvasBase = new QWidget(preview);
    canvasBase->setObjectName(QStringLiteral("canvasBase"));
    canvasBase->setMinimumSize(256, 256);
    (new QVBoxLayout(preview))->addWidget(canvasBase);
    auto* scriptBox = new QGroupBox(splitter);
    scriptBox->setObjectName(QStringLiteral("editBase2"));
    editBase = new QWidget(scriptBox);
    editBase->setObjectName(QStringLiteral("editBase"));
    editBase->setMinimumSize(256, 128);
    editBase->setFont(QFont(QStringLiteral("Courier New"), 10));
    (new QVBoxLayout(scriptBox))->addWidget(editBase);
    layout->addWidget(splitter2);
    auto* buttons = new QWidget(this);
    buttons->setObjectName(QStringLiteral("widget"));
    auto* buttonsLayout = new QHBoxLayout(buttons);
    btnNew = new QPushButton(QIcon(QStringLiteral(":/qrc/newi.png")), QString(), buttons);
    btnNew->setObjectName(QStringLiteral("btnNew"));
    btnDel = new QPushButton(QIcon(QStringLiteral(":/qrc/del.png")), QString(), buttons);
    btnDel->setObjectName(QStringLiteral("btnDel"));
    btnDel->setEnabled(false);
    btnClose = new QPushButton(buttons);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);
    for (QPushButton* button : {btnNew, btnDel, btnClose})
        button->setMinimumWidth(100);
    buttonsLayout->addWidget(btnNew);
    buttonsLayout->addWidget(btnDel);
    buttonsLayout->addStretch();
    buttonsLayout->addWidget(btnClose);
    layout->addWidget(buttons);
    setTabOrder(shaderGroup, shaderList);
    setTabOrder(shaderList, cbFilter);
    setTabOrder(cbFilter, btnNew);
    setTabOrder(btnNew, btnDel);
    setTabOrder(btnDel, btnClose);
    resize(768, 687);

    previewLayout = new QVBoxLayout(canvasBase);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    scriptLayout = new QVBoxLayout(editBase);
    scriptLayout->setContentsMargins(0, 0, 0, 0);
    createToolBar(1, previewLayout);
    previewLayout->addStretch();
    createToolBar(2, scriptLayout);
    script = new cShaderEditScript(editBase);
    script->setFont(editBase->font());
    script->setTabStopDistance(32);
    scriptLayout->addWidget(script);
    filterTimer.setInterval(500);
    filterTimer.setSingleShot(true);
    connect(&filterTimer, &QTimer::timeout, this, &cShaderEditDialog::exec_on_applyFilter);
    editBase->setEnabled(false);
    retranslate();

    connect(shaderGroup, qOverload<int>(&QComboBox::activated), this,
            &cShaderEditDialog::exec_on_changeShaderGroup);
    connect(shaderList, &QTreeWidget::currentItemChanged, this, &cShaderEditDialog::exec_on_changeShader);
    connect(cbFilter, &QComboBox::editTextChanged, this, &cShaderEditDialog::exec_on_filterChanged);
    connect(btnNew, &QPushButton::clicked, this, &cShaderEditDialog::exec_on_newShader);
    connect(btnDel, &QPushButton::clicked, this, &cShaderEditDialog::exec_on_deleteShader);
    connect(btnClose, &QPushButton::clicked, this, &cShaderEditDialog::reject);
    connect(script, &QPlainTextEdit::modificationChanged, this,
            &cShaderEditDialog::exec_on_changeModificationState);
    connect(script, &QPlainTextEdit::textChanged, this, &cShaderEditDialog::exec_on_changeSource);
    connect(script, &QPlainTextEdit::undoAvailable, this, &cShaderEditDialog::exec_on_undoEnable);
    connect(script, &QPlainTextEdit::redoAvailable, this, &cShaderEditDialog::exec_on_redoEnable);
}

void cShaderEditDialog::createToolBar(uint32_t mask, QVBoxLayout* layout) {
    auto* bar = new QToolBar(layout->parentWidget());
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    QActionGroup* group = nullptr;
    for (const ShaderEditAction& row : ShaderEditActionTable) {
        if (!(row.toolbarMask & mask)) continue;
        if (!row.text) {
            bar->addSeparator();
            actions.append(nullptr);
            group = nullptr;
            continue;
        }
        auto* action = new QCustomAction(this);
        action->statusText = QString::fromLatin1(row.text);
        action->toolTipText = action->statusText;
        action->retranslate();
        action->setIcon(QIcon(QStringLiteral(":/qrc/%1.png").arg(QLatin1String(row.icon))));
        action->setProperty(kRowFlags, row.flags);
        action->setCheckable(row.flags & 0x2);
        action->setChecked(row.flags & 0x4);
        if (row.flags & 0x1) {
            if (!group) group = new QActionGroup(bar);
            group->addAction(action);
        } else {
            group = nullptr;
        }
        connect(action, SIGNAL(triggered()), this, row.slot);
        bar->addAction(action);
        actions.append(action);
        if (row.flags >= 0x100) contextActions.append(action);
    }
    layout->addWidget(bar);
}

void cShaderEditDialog::retranslate() {
    setWindowTitle(tr("Edit Effects"));
    splitter2->widget(0)->setProperty("title", tr("Effects"));
    splitter->widget(0)->setProperty("title", tr("Preview"));
    splitter->widget(1)->setProperty("title", tr("Script"));
    btnNew->setText(tr("&New effect..."));
    btnDel->setText(tr("&Delete effect"));
    btnClose->setText(tr("&Close"));
    for (QCustomAction* action : contextActions)
        action->retranslate();
    cbFilter->lineEdit()->setPlaceholderText(tr("(Enter filter string)"));
}

void cShaderEditDialog::setShader(const QString& name, const QString& group) {
    shaderGroup->clear();
    if (!GameCfg_CurrentTextureLists()) return;
    profile = GameCfg_CurrentProfile();
    if (!profile) return;
    script->funcs = funcsOf(profile);
    // The new-effect chain needs the profile's default script.
    btnNew->setEnabled(funcsOf(profile) && funcsOf(profile)->ClassifyShaderPath);
    currentGroup = group;
    currentName = name;
    TexList_FillGroupCombo(GameCfg_CurrentTextureLists(), shaderGroup, group);
    exec_on_changeShaderGroup();
    updateActions();
}

void cShaderEditDialog::exec_on_changeShaderGroup() {
    TextureLists* lists = GameCfg_CurrentTextureLists();
    if (!lists) return;
    refilling = true;
    shaderList->clear();
    refilling = false;
    currentItem = nullptr;
    TexList_FillEffectTree(lists, shaderGroup->currentText(), shaderList, currentName,
                           filterActive ? &filter : nullptr);
    currentGroup = shaderGroup->currentText();
    if (!shaderList->currentItem()) exec_on_changeShader();
}

void cShaderEditDialog::exec_on_filterChanged(const QString&) {
    filterTimer.start();
}

void cShaderEditDialog::exec_on_applyFilter() {
    const QString text = cbFilter->currentText();
    if (!text.isEmpty() && cbFilter->findText(text, Qt::MatchFixedString) < 0) {
        const QSignalBlocker blocker(cbFilter);
        cbFilter->addItem(text);
        cbFilter->setEditText(text);
    }
    filterActive = !text.isEmpty();
    if (filterActive) filter = NameFilter_Pattern(text);
    exec_on_changeShaderGroup();
}

void cShaderEditDialog::exec_on_changeShader() {
    if (refilling) return;
    stashEdits();
    currentEffect = nullptr;
    script->errors.clear();
    currentItem = shaderList->currentItem();
    loading = true;
    const quint64 address = currentItem ? currentItem->data(0, Qt::UserRole).toULongLong() : 0;
    if (currentItem && !currentItem->parent() && address) {
        currentEffect = reinterpret_cast<ShaderRecord*>(static_cast<quintptr>(address));
        currentName = currentItem->text(0);
        const auto edited = edits.constFind(effectName(currentEffect));
        script->setPlainText((currentEffect->flags & SHADER_EDITED) && edited != edits.constEnd()
                                 ? edited->text
                                 : scriptTextOf(currentEffect));
        script->document()->setModified(false);
        script->buildMarks = false;
        script->updateHighlights();
        for (uint32_t flag : {0x100u, 0x200u})
            if (QCustomAction* action = firstContextAction(flag)) action->setEnabled(false);
        updateActions();
        editBase->setEnabled(true);
        btnDel->setEnabled(true);
        if (preview) preview->showEffect(currentEffect);
    } else {
        // Nothing, or a stage image: no script to edit; the preview shows the image alone.
        if (preview) {
            if (currentItem && currentItem->parent() && address)
                preview->showImage(reinterpret_cast<TextureImage*>(static_cast<quintptr>(address)));
            else
                preview->clear();
        }
        script->clear();
        script->clearExtraSelections();
        script->buildMarks = false;
        editBase->setEnabled(false);
        btnDel->setEnabled(false);
    }
    loading = false;
}

QCustomAction* cShaderEditDialog::firstContextAction(uint32_t flag) const {
    for (QCustomAction* action : contextActions)
        if (rowFlags(action) & flag) return action;
    return nullptr;
}

void cShaderEditDialog::updateActions() {
    const bool hasFuncs = funcsOf(profile) != nullptr;
    for (QCustomAction* action : contextActions) {
        const uint32_t flags = rowFlags(action);
        if (!(flags & 0xC00)) continue;
        bool enabled = true;
        if ((flags & 0x400) && !hasFuncs) enabled = false;
        if ((flags & 0x800) && (!currentEffect || !currentEffect->scriptPath[0])) enabled = false;
        action->setEnabled(enabled);
    }
}

void cShaderEditDialog::exec_on_undoEnable(bool value) {
    if (QCustomAction* action = firstContextAction(0x100)) action->setEnabled(value);
}

void cShaderEditDialog::exec_on_redoEnable(bool value) {
    if (QCustomAction* action = firstContextAction(0x200)) action->setEnabled(value);
}

void cShaderEditDialog::exec_on_changeSource() {
    if (loading || !currentEffect || !editBase->isEnabled() || (currentEffect->flags & SHADER_EDITED)) return;
    currentEffect->flags |= SHADER_EDITED;
    exec_on_changeModificationState();
}

void cShaderEditDialog::exec_on_changeModificationState() {
    if (!currentEffect || !currentItem || !editBase->isEnabled()) return;
    const QString name = effectName(currentEffect);
    currentItem->setText(0, (currentEffect->flags & SHADER_EDITED) ? name + u'*' : name);
}

void cShaderEditDialog::stashEdits() {
    if (!currentEffect || !(currentEffect->flags & SHADER_EDITED) || !script->document()->isModified())
        return;
    edits.insert(effectName(currentEffect), {currentEffect, script->toPlainText()});
}

void cShaderEditDialog::refreshEffectItem() {
    if (currentEffect && currentItem && GameCfg_CurrentTextureLists())
        TexList_FillStageTree(currentItem, currentEffect);
}

void cShaderEditDialog::buildScript(bool askIfUnchanged, bool checkOnly) {
    if (!currentEffect) return;
    QString text = script->toPlainText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (askIfUnchanged && !checkOnly && text == scriptTextOf(currentEffect) &&
        Prompt_Question(
            this, PromptIcon::Warning,
            tr("Script was not modified since the previous build.\nDo you want to rebuild it anyway?"),
            PromptButton::Yes | PromptButton::No) != PromptButton::Yes)
        return;
    script->errors.clear();
    script->clearExtraSelections();
    const ProfileFuncs* funcs = funcsOf(profile);
    if (GameCfg_Current() && funcs && funcs->BuildSourceCode) {
        const cPluginCallScope scope(true);
        const QByteArray bytes = text.toLocal8Bit();
        if (!funcs->BuildSourceCode(bytes.constData(), checkOnly ? nullptr : currentEffect, reportBuildError,
                                    this))
            Sys_Error("BuildSourceCode failed on effect `%s'", currentEffect->name);
    }
    refreshEffectItem();
    statusText = script->errors.isEmpty() || checkOnly
                     ? QString()
                     : tr("BUILD FAILED: %1 error(s)").arg(script->errors.size());
    if (preview) {
        preview->statusText = statusText;
        preview->update();
    }
    script->buildMarks = true;
    script->lineNumbers->update();
    script->viewport()->update();
    script->updateHighlights();
}

void cShaderEditDialog::exec_on_compileScript() {
    buildScript(true, true);
}

void cShaderEditDialog::exec_on_buildScript() {
    buildScript(true, false);
}

void cShaderEditDialog::exec_on_reformat() {
    script->clearExtraSelections();
    script->reformat();
}

void cShaderEditDialog::exec_on_undo() {
    script->undo();
}

void cShaderEditDialog::exec_on_redo() {
    script->redo();
}

void cShaderEditDialog::exec_on_toggleAutoIndent() {
    if (auto* action = qobject_cast<QAction*>(sender())) script->autoIndent = action->isChecked();
}

void cShaderEditDialog::exec_on_toggleAutoComplete() {
    if (auto* action = qobject_cast<QAction*>(sender())) script->autoComplete = action->isChecked();
}

void cShaderEditDialog::exec_on_deleteShader() {
    if (!currentEffect) return;
    const QString name = effectName(currentEffect);
    if (!(currentEffect->flags & SHADER_CREATED_HERE)) {
        Prompt_Message(
            parentWidget(), PromptIcon::Warning,
            tr("Effect \"%1\" is defined elsewhere.\nOnly custom effects that were not saved can be "
               "deleted.")
                .arg(name));
        return;
    }
    // A new effect holds its own reference; more are map objects using it.
    if (currentEffect->refCount > 1) {
        Prompt_Message(parentWidget(), PromptIcon::Warning,
                       tr("Effect \"%1\" is in use and cannot be deleted!").arg(name));
        return;
    }
    if (Prompt_Question(this, PromptIcon::Warning, tr("Are you sure to delete effect \"%1\"?").arg(name),
                        PromptButton::Yes | PromptButton::No) != PromptButton::Yes)
        return;
    edits.remove(name);
    ShaderRecord* effect = std::exchange(currentEffect, nullptr);
    QTreeWidgetItem* item = std::exchange(currentItem, nullptr);
    refilling = true;
    delete item;
    refilling = false;
    if (TextureManager* textures = GameData_Textures()) Tex_ReleaseShader(textures, effect);
    exec_on_changeShader();
}

void cShaderEditDialog::showEvent(QShowEvent* event) {
    if (preview) preview->pitchRate = preview->yawRate = 0.0f;
    QDialog::showEvent(event);
}

bool cShaderEditDialog::writeEffectFile(const QString& path, ShaderRecord* head, bool wholeChain) {
    const ProfileFuncs* funcs = funcsOf(profile);
    if (!funcs || !funcs->WriteShaderScript) return false;
    const QFileInfo file(path);
    Sys_ForgetFoundFiles(); // the script and its backup lie in a game folder
    // Without a program that keeps the preferences nothing is backed up.
    const MainSettings* settings = Sys_MutableSettings();
    if (settings && settings->BackupFiles && file.exists()) EffectFile_Backup(file);
    const cPluginCallScope scope(false);
    const QByteArray bytes = path.toLocal8Bit();
    if (funcs->WriteShaderScript(bytes.constData(), head, wholeChain)) return true;
    Prompt_Message(parentWidget(), PromptIcon::Warning, tr("Couldn't write effect package:\n\n%1").arg(path));
    return false;
}

void cShaderEditDialog::exec_on_save_scriptfile() {
    if (!currentEffect) return;
    if (!currentEffect->scriptPath[0]) {
        exec_on_saveas_scriptfile();
        return;
    }
    buildScript(false, false);
    currentEffect->nextInScript = nullptr;
    if (!writeEffectFile(QString::fromLocal8Bit(currentEffect->scriptPath), currentEffect, false)) return;
    currentEffect->flags &= ~SHADER_EDITED;
    edits.remove(effectName(currentEffect));
    script->document()->setModified(false);
    exec_on_changeModificationState();
    offerPackageEntry(QString::fromLocal8Bit(currentEffect->scriptPath));
}

bool cShaderEditDialog::writeModifiedEffects(bool save) {
    if (!GameCfg_Current() || !profile) return true;
    QList<EditedEffect> entries = edits.values();
    std::sort(entries.begin(), entries.end(), [](const EditedEffect& a, const EditedEffect& b) {
        return QString::compare(effectName(a.effect), effectName(b.effect), Qt::CaseInsensitive) < 0;
    });
    // New effects without a file go to one file asked for first, so a Cancel there changes nothing.
    QString newFile;
    if (save && std::any_of(entries.cbegin(), entries.cend(),
                            [](const EditedEffect& e) { return !e.effect->scriptPath[0]; })) {
        newFile = Prompt_GetSaveFileName(
            this, QString(), profileFolder(profile->shaderFolder),
            QStringLiteral("Packages (%1)").arg(extensionPatterns(profile->packageExtensions)));
        if (newFile.isEmpty()) return false;
    }
    // Effects by script file, each file's chain in name order.
    QMap<QString, QList<ShaderRecord*>> files;
    QList<ShaderRecord*> fresh;
    for (EditedEffect& entry : entries) {
        ShaderRecord* effect = entry.effect;
        entry.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const QByteArray bytes = entry.text.toLocal8Bit();
        Sys_Free(effect->pluginData);
        effect->pluginData = Sys_StrDup(bytes.constData());
        effect->flags = (effect->flags & ~SHADER_EDITED) | SHADER_RELOADED;
        if (!save) {
            if (effect->flags & SHADER_CREATED_HERE) dropNewEffect(effect);
        } else if (effect->scriptPath[0]) {
            files[QString::fromLocal8Bit(effect->scriptPath)].append(effect);
        } else {
            fresh.append(effect);
        }
    }
    edits.clear();
    bool written = true;
    // The texts stay edited so they can still be saved elsewhere.
    auto keepEdited = [this](const QList<ShaderRecord*>& chain) {
        for (ShaderRecord* effect : chain) {
            effect->flags |= SHADER_EDITED;
            edits.insert(effectName(effect),
                         {effect, QString::fromLocal8Bit(static_cast<const char*>(effect->pluginData))});
        }
    };
    auto writeChain = [&](const QString& path, const QList<ShaderRecord*>& chain) {
        for (qsizetype i = 0; i < chain.size(); ++i)
            chain[i]->nextInScript = i + 1 < chain.size() ? chain[i + 1] : nullptr;
        if (writeEffectFile(path, chain.first(), true)) return true;
        written = false;
        keepEdited(chain);
        return false;
    };
    if (!fresh.isEmpty()) {
        TexturePackage* package = Tex_FindPackage(newFile);
        for (ShaderRecord* effect : std::as_const(fresh))
            if (!effect->package && package && package->loaded) {
                package->shaders.append(effect);
                effect->package = package;
            }
        if (writeChain(newFile, fresh)) {
            for (ShaderRecord* effect : std::as_const(fresh))
                effect->flags &= ~SHADER_CREATED_HERE;
            offerPackageEntry(newFile);
        }
    }
    for (auto file = files.cbegin(); file != files.cend(); ++file)
        if (writeChain(file.key(), file.value())) offerPackageEntry(file.key());
    // Faces that use the changed effects take their new stages, then the marks go.
    if (DialogHost* host = Dialog_Host())
        host->refreshChangedShaders();
    else
        Tex_ClearChangedMarks();
    return written;
}

bool cShaderEditDialog::resolveChanges() {
    stashEdits();
    if (!edits.isEmpty()) {
        QStringList names = edits.keys();
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
        PromptDetails details;
        details.informative =
            tr("If you select 'Discard', changes will take effect until restarting %1, and all "
               "newly created effects will be lost.")
                .arg(QStringLiteral("Z.A.R.V."));
        details.detailed = names.join(u'\n');
        details.defaultButton = PromptButton::Save;
        details.windowIcon = windowIcon();
        const int32_t answer = Prompt_Question(
            nullptr, PromptIcon::Warning,
            tr("There are %1 effects modified.\nDo you want to save changes?").arg(edits.size()),
            PromptButton::Save | PromptButton::Discard | PromptButton::Cancel, details);
        if (answer != PromptButton::Save && answer != PromptButton::Discard) return false;
        // Discarding may release the effect it shows.
        if (preview) preview->clear();
        ++View_TextureLoading;
        const bool written = writeModifiedEffects(answer == PromptButton::Save);
        --View_TextureLoading;
        if (!written) {
            exec_on_changeShaderGroup();
            return false;
        }
    }
    if (preview) preview->clear();
    return true;
}

void cShaderEditDialog::reject() {
    if (resolveChanges()) QDialog::reject();
}

void cShaderEditDialog::closeEvent(QCloseEvent* event) {
    if (resolveChanges())
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void cShaderEditDialog::exec_on_saveas_scriptfile() {
    GameConfig* config = GameCfg_Current();
    if (!currentEffect || !config || !profile) return;
    QString start = QString::fromLocal8Bit(currentEffect->scriptPath);
    if (start.isEmpty())
        start = QStringLiteral("%1/%2/").arg(config->GameModdir.isEmpty() ? config->GameBasedir
                                                                          : config->GameModdir,
                                             QString::fromLocal8Bit(profile->shaderFolder));
    const QString path = Prompt_GetSaveFileName(
        this, QString(), start,
        QStringLiteral("Packages (%1)").arg(extensionPatterns(profile->packageExtensions)));
    if (path.isEmpty()) return;
    buildScript(false, false);
    currentEffect->nextInScript = nullptr;
    if (!writeEffectFile(path, currentEffect, false)) return;
    if (!currentEffect->package)
        if (TexturePackage* package = Tex_FindPackage(path); package && package->loaded) {
            package->shaders.append(currentEffect);
            currentEffect->package = package;
        }
    currentEffect->flags &= ~SHADER_EDITED;
    edits.remove(effectName(currentEffect));
    script->document()->setModified(false);
    exec_on_changeModificationState();
    offerPackageEntry(path);
}

void cShaderEditDialog::offerPackageEntry(const QString& path) {
    GameConfig* config = GameCfg_Current();
    if (path.isEmpty() || !config) return;
    PromptDetails details;
    details.informative = tr("Do you want to add it to the package list?");
    details.detailed = path;
    details.defaultButton = PromptButton::Yes;
    details.windowIcon = windowIcon();
    if (!config->Parcel.contains(path) &&
        Prompt_Question(
            nullptr, PromptIcon::Question,
            tr("Effect file is not referenced in the game configuration \"%1\".").arg(config->Title),
            PromptButton::Yes | PromptButton::No, details) == PromptButton::Yes) {
        config->Parcel.append(path);
        config->ParcelEdited = true;
        TexturePackage* package = Tex_AcquirePackage(path);
        if (package && !package->loaded) {
            const cPluginCallScope scope(true);
            Tex_LoadPackage(package, profile, config->GameBasedir, config->PaletteFile);
        }
    }
    if (TextureLists* lists = GameCfg_CurrentTextureLists()) {
        TexList_RemoveUngrouped(lists);
        TexList_Rebuild(lists, config);
        TexList_AddUngrouped(lists);
    }
}
