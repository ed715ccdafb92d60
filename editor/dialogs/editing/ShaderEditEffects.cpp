// The effect editor's preview bar, and the effects it makes or reloads: new effect from an image,
// default script for an image, script from a file.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/Prompt.h"
#include "core/System.h"
#include "dialogs/editing/ShaderEditCanvas.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "dialogs/editing/ShaderEditScript.h"
#include "dialogs/editing/ShaderEditSupport.h"
#include "dialogs/editing/TextureListFill.h"
#include "gamedata/TextureManager.h"
#include "gamedata/GameDataHost.h"
#include "render/GLFormat.h"

using namespace ShaderEdit;

void cShaderEditDialog::createCanvas() {
    if (preview) return;
    // The map views' format: multisampling with Antialiasing, alpha with AlphaBuffer.
    preview = new cShaderEditCanvas(View_CanvasFormat(), this);
    preview->setMinimumSize(128, 128);
    // The tool bar's stretch below it gives way to the preview.
    previewLayout->insertWidget(1, preview, 1);
    if (QLayoutItem* stretch = previewLayout->itemAt(2); stretch && stretch->spacerItem())
        delete previewLayout->takeAt(2);
}

void cShaderEditDialog::setPreviewFlag(int flag) {
    auto* action = qobject_cast<QAction*>(sender());
    if (!action || !preview) return;
    if (action->isChecked())
        preview->viewFlags |= flag;
    else
        preview->viewFlags &= ~flag;
    preview->update();
}

void cShaderEditDialog::setPreviewShape(int n) {
    if (preview) preview->setShape(n);
}

void cShaderEditDialog::exec_on_toggleAutoRotation() {
    setPreviewFlag(PreviewFlag::Spin);
}
void cShaderEditDialog::exec_on_toggleDrawTris() {
    setPreviewFlag(PreviewFlag::Wireframe);
}
void cShaderEditDialog::exec_on_toggleDrawNormals() {
    setPreviewFlag(PreviewFlag::Normals);
}
void cShaderEditDialog::exec_on_changeGeom0() {
    setPreviewShape(0);
}
void cShaderEditDialog::exec_on_changeGeom1() {
    setPreviewShape(1);
}
void cShaderEditDialog::exec_on_changeGeom2() {
    setPreviewShape(2);
}
void cShaderEditDialog::exec_on_changeGeom3() {
    setPreviewShape(3);
}
void cShaderEditDialog::exec_on_changeGeom4() {
    setPreviewShape(4);
}

QString cShaderEditDialog::fileFilter(const char* title, const char* extensions) const {
    return QStringLiteral("%1 (%2)").arg(tr(title), extensionPatterns(extensions));
}

QString cShaderEditDialog::profileFolder(const char* folder) const {
    const GameConfig* config = GameCfg_Current();
    if (!config) return QString();
    return QStringLiteral("%1/%2/").arg(config->GameModdir.isEmpty() ? config->GameBasedir
                                                                     : config->GameModdir,
                                        QString::fromLocal8Bit(folder));
}

void cShaderEditDialog::takeScriptFromEffect() {
    script->errors.clear();
    script->clearExtraSelections();
    QTextCursor cursor(script->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(scriptTextOf(currentEffect));
    currentEffect->flags |= SHADER_EDITED;
    script->document()->setModified(true);
    exec_on_changeModificationState();
    refreshEffectItem();
}

void cShaderEditDialog::exec_on_load_scriptfile() {
    const ProfileFuncs* funcs = funcsOf(profile);
    if (!currentEffect || !GameCfg_Current() || !funcs || !funcs->LoadShaderFromScript) return;
    QString start = QString::fromLocal8Bit(currentEffect->scriptPath);
    if (start.isEmpty()) start = profileFolder(profile->shaderFolder);
    const QString path = Prompt_GetOpenFileName(
        this, QString(), start, fileFilter(QT_TR_NOOP("Packages"), profile->packageExtensions));
    if (path.isEmpty()) return;
    bool found;
    {
        const cPluginCallScope scope(false);
        found = funcs->LoadShaderFromScript(path.toLocal8Bit().constData(), currentEffect->name) != 0;
    }
    if (!found) {
        Prompt_Message(parentWidget(), PromptIcon::Warning,
                       tr("Effect \"%1\" is not defined\nin the selected package:\n\n%2")
                           .arg(effectName(currentEffect), path));
        return;
    }
    takeScriptFromEffect();
}

void cShaderEditDialog::exec_on_load_image() {
    const ProfileFuncs* funcs = funcsOf(profile);
    if (!currentEffect || !GameCfg_Current() || !funcs || !funcs->ClassifyShaderPath) return;
    const cPluginCallScope scope(false);
    QByteArray name(currentEffect->name);
    if (!name.startsWith("models/") && !name.startsWith("models\\")) name.prepend("textures/");
    QString start;
    for (const QByteArray& extension : QByteArray(profile->textureExtensions).split(';')) {
        if (extension.isEmpty()) continue;
        char found[260];
        if (Sys_FindFile((name + extension).constData(), found, sizeof found)) {
            start = QString::fromLocal8Bit(found);
            break;
        }
    }
    if (start.isEmpty()) start = profileFolder(profile->textureFolder);
    QString path = Prompt_GetOpenFileName(this, QString(), start,
                                          fileFilter(QT_TR_NOOP("Textures"), profile->textureExtensions));
    if (path.isEmpty()) return;
    path.replace(u'\\', u'/');
    ++View_TextureLoading;
    const bool made = funcs->ClassifyShaderPath(path.toLocal8Bit().constData(), currentEffect);
    --View_TextureLoading;
    if (!made) {
        Prompt_Message(
            parentWidget(), PromptIcon::Warning,
            tr("Couldn't create effect \"%1\" from image:\n\n%2").arg(effectName(currentEffect), path));
        return;
    }
    takeScriptFromEffect();
}

void cShaderEditDialog::exec_on_newShader() {
    const ProfileFuncs* funcs = funcsOf(profile);
    GameConfig* config = GameCfg_Current();
    // Without the profile's functions no default script can be made (the button is disabled).
    TextureManager* textures = GameData_Textures();
    if (!config || !funcs || !funcs->ClassifyShaderPath || !textures) return;
    const cPluginCallScope scope(false);
    const QString start =
        imageDirectory.isEmpty()
            ? profileFolder(profile->textureFolder)
            : QStringLiteral("%1/%2/").arg(imageDirectory, QString::fromLocal8Bit(profile->textureFolder));
    QString path = Prompt_GetOpenFileName(this, QString(), start,
                                          fileFilter(QT_TR_NOOP("Textures"), profile->textureExtensions));
    if (path.isEmpty()) return;
    imageDirectory = QFileInfo(path).absolutePath();
    path.replace(u'\\', u'/');
    const QByteArray key = path.toLocal8Bit();
    if (Tex_FindShaderByKey(textures, key.constData())) {
        Prompt_Message(parentWidget(), PromptIcon::Warning,
                       tr("Effect for image already exists:\n\n%1").arg(path));
        return;
    }
    static const QRegularExpression inTextures(QStringLiteral("^.*[\\\\/]textures[\\\\/](.*)\\..*$"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = inTextures.match(path);
    if (!match.hasMatch()) {
        Prompt_Message(
            parentWidget(), PromptIcon::Warning,
            tr("Failed to create effect for image outside the \"textures\" directory:\n\n%2").arg(path));
        return;
    }
    const QString name = match.captured(1);
    ShaderRecord* effect =
        Tex_CreateShader(textures, key.constData(), Text_ToWindows1251(name).constData(), 0);
    if (!effect) {
        Prompt_Message(parentWidget(), PromptIcon::Warning,
                       tr("Failed to create effect for image:\n\n%1").arg(path));
        return;
    }
    effect->flags |= SHADER_CREATED_HERE;
    ++View_TextureLoading;
    const bool made = funcs->ClassifyShaderPath(key.constData(), effect);
    --View_TextureLoading;
    if (!made) {
        Prompt_Message(parentWidget(), PromptIcon::Warning,
                       tr("Failed to create effect for image:\n\n%1").arg(path));
        // Nothing lists or uses it yet: it would stay behind with no way to save or delete it.
        dropNewEffect(effect);
        return;
    }
    stashEdits();
    currentEffect = effect;
    Sys_Printf("New effect: `%s'\n", effect->name);
    QTreeWidgetItem* item = nullptr;
    for (const QString& text : {name, name + u'*'})
        if (const auto found = shaderList->findItems(text, Qt::MatchFixedString); !found.isEmpty() && !item)
            item = found.first();
    if (!item) item = new QTreeWidgetItem(shaderList);
    item->setText(0, name + u'*');
    TexList_FillStageTree(item, effect);
    refilling = true;
    shaderList->setCurrentItem(item);
    refilling = false;
    currentItem = item;
    loading = true;
    editBase->setEnabled(true);
    takeScriptFromEffect();
    loading = false;
    exec_on_changeShader();
}

void cShaderEditDialog::dropNewEffect(ShaderRecord* effect) {
    TextureManager* textures = GameData_Textures();
    if (!effect || !textures) return;
    if (effect->flags & SHADER_TAKEN_OVER) {
        // It took a missing name's place: the faces that name it keep a valid record.
        // Registered as a placeholder again, so releasing it later also leaves that map.
        effect->flags = (effect->flags & ~(SHADER_CREATED_HERE | SHADER_TAKEN_OVER)) | SHADER_NO_SHIFT_WRAP;
        textures->placeholders.insert(QByteArray(effect->name).toUpper(), effect);
        return;
    }
    // A new effect holds one reference of its own; any more are map objects using it.
    if (effect->refCount > 1) {
        Sys_Printf("Custom effect `%s' is in use: its text is kept until the program ends\n", effect->name);
        return;
    }
    Sys_Printf("Deleting custom effect: `%s'\n", effect->name);
    Tex_ReleaseShader(textures, effect);
}
