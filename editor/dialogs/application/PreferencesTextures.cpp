// The "&Textures" tab of the game-profile page: the configuration's texture packages in order,
// its palette, brightness and default scale.
#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QSet>
#include <cmath>

#include "core/Prompt.h"
#include "dialogs/application/PreferencesDialog.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/MapProfile.h"
#include "gamedata/TextureRecords.h"
#include "gamedata/TexturePackage.h"
#include "kstdlib/kstring.h"

namespace {

const char* const kKindIcons[] = {":/qrc/i_dir.png", ":/qrc/i_tex.png", ":/qrc/i_wad.png", ":/qrc/i_shd.png"};

// The ";"-separated extensions as "*.ext" patterns joined by the separator; empty parts dropped.
QString patterns(const QByteArray& extensions, const QString& separator) {
    QStringList out;
    for (const QString& ext : QString::fromUtf8(extensions).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        out.append(QLatin1Char('*') + ext);
    return out.join(separator);
}

// Any texture of the package bound to a face, patch or overlay (the package holds one reference).
bool packageInUse(const TexturePackage* package) {
    if (!package) return false;
    for (const ShaderRecord* shader : package->shaders)
        if (shader->refCount > 1) return true;
    return false;
}

} // namespace

void cPreferencesDialog::appendTextureRow(const QString& key, const QString& toolTip,
                                          const QString& defaultIcon) {
    TexturePackage* package = Tex_FindPackage(key);
    const TexturePackageInfo info =
        package ? Tex_GetPackageInfo(GameData_Textures(), package) : TexturePackageInfo{-1, 0, 0};
    const int row = lstTextures->rowCount();
    lstTextures->insertRow(row);
    const GameConfig* cfg = config();
    auto* path = new QCustomTableWidgetItem(
        package ? Tex_PackageRelativePath(package, cfg ? cfg->GameBasedir : QString()) : key, key);
    path->setIcon(QIcon(QString::fromLatin1(
        info.kind >= 0 && info.kind < 4 ? kKindIcons[info.kind] : defaultIcon.toLatin1().constData())));
    path->setToolTip(toolTip);
    path->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* count = new QCustomTableWidgetItem(
        info.kind == kPackageFile || info.kind < 0 ? QString() : QString::number(info.count));
    count->setTextAlignment(Qt::AlignCenter);
    char size[32];
    K_FormatSizeString(size, sizeof size, size_t(std::max<int64_t>(info.size, 0)));
    auto* sizeItem = new QCustomTableWidgetItem(QString::fromLatin1(size));
    sizeItem->setTextAlignment(Qt::AlignCenter);
    lstTextures->setItem(row, 0, path);
    lstTextures->setItem(row, 1, count);
    lstTextures->setItem(row, 2, sizeItem);
}

void cPreferencesDialog::fillTextureTable() {
    lstTextures->setRowCount(0);
    if (const GameConfig* cfg = config())
        for (const QString& entry : cfg->Parcel) {
            const qsizetype split = entry.lastIndexOf(QStringLiteral("::"));
            appendTextureRow(entry, split >= 0 ? entry.left(split) : entry,
                             QString::fromLatin1(split >= 0 ? kKindIcons[0] : kKindIcons[1]));
        }
    btnTexUp->setEnabled(lstTextures->rowCount() > 1);
    btnTexDown->setEnabled(lstTextures->rowCount() > 1);
}

static bool tableHasKey(const QTableWidget* table, const QString& key) {
    for (int row = 0; row < table->rowCount(); ++row)
        if (auto* item = static_cast<const QCustomTableWidgetItem*>(table->item(row, 0)))
            if (item->key.compare(key, Qt::CaseInsensitive) == 0) return true;
    return false;
}

void cPreferencesDialog::exec_on_textureAddFiles() {
    GameConfig* cfg = config();
    if (!cfg) return;
    if (txtGameBasedir->text().isEmpty()) {
        Prompt_Message(this, PromptIcon::Warning, tr("Please set up base directory before adding textures."));
        return;
    }
    const MapProfileRecord* profile = workingConfigs->currentProfile;
    const QString packageExts = patterns(Profile_Text(profile->packageExtensions), QStringLiteral(" "));
    const QString textureExts = patterns(Profile_Text(profile->textureExtensions), QStringLiteral(" "));
    QString filter;
    if (!packageExts.isEmpty() && (cfg->TextureFormat & 1)) filter = tr("Packages (%1)").arg(packageExts);
    if (!textureExts.isEmpty() && (cfg->TextureFormat & 2)) {
        if (!filter.isEmpty()) filter += QStringLiteral(";;");
        filter += tr("Textures (%1)").arg(textureExts);
    }
    if (filter.isEmpty()) {
        Prompt_Message(this, PromptIcon::Warning, tr("No texture formats supported!"));
        return;
    }
    QString start = txtGameModdir->text().isEmpty() ? txtGameBasedir->text() : txtGameModdir->text();
    const QByteArray folder =
        packageExts.isEmpty() ? Profile_Text(profile->textureFolder) : Profile_Text(profile->shaderFolder);
    if (!folder.isEmpty()) start += QLatin1Char('/') + QString::fromUtf8(folder);
    QStringList paths = Prompt_GetOpenFileNames(this, QString(), start, filter);
    paths.sort();
    QString duplicates;
    for (const QString& path : std::as_const(paths)) {
        if (tableHasKey(lstTextures, path)) {
            duplicates += path + QLatin1Char('\n');
            continue;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Tex_AcquirePackage(path);
        cfg->Parcel.append(path);
        cfg->ParcelEdited = true;
        appendTextureRow(path, path, QString::fromLatin1(kKindIcons[1]));
        QApplication::restoreOverrideCursor();
    }
    if (!duplicates.isEmpty())
        Prompt_Message(this, PromptIcon::Warning,
                       tr("One or more texture files were already added:\n\n%1").arg(duplicates));
    btnTexUp->setEnabled(lstTextures->rowCount() > 1);
    btnTexDown->setEnabled(lstTextures->rowCount() > 1);
}

void cPreferencesDialog::exec_on_textureAddDirectory() {
    GameConfig* cfg = config();
    if (txtGameBasedir->text().isEmpty()) {
        Prompt_Message(this, PromptIcon::Warning, tr("Please set up base directory before adding textures."));
        return;
    }
    if (!cfg) return;
    const MapProfileRecord* profile = workingConfigs->currentProfile;
    QString start = txtGameModdir->text().isEmpty() ? txtGameBasedir->text() : txtGameModdir->text();
    const QByteArray folder = Profile_Text(profile->textureFolder);
    if (!folder.isEmpty()) start += QLatin1Char('/') + QString::fromUtf8(folder);
    const QString directory = Prompt_GetExistingDirectory(this, QString(), start);
    if (directory.isEmpty()) return;
    QStringList extensions =
        QString::fromUtf8(Profile_Text(profile->textureExtensions)).split(QLatin1Char(';'));
    for (QString& ext : extensions)
        ext.replace(QLatin1Char('.'), QStringLiteral("*."));
    const QString entry = directory + QStringLiteral("::") + extensions.join(QLatin1Char(';'));
    if (tableHasKey(lstTextures, entry)) {
        Prompt_Message(this, PromptIcon::Warning,
                       tr("Texture directory was already added:\n\n%1").arg(directory));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Tex_AcquirePackage(entry);
    cfg->Parcel.append(entry);
    cfg->ParcelEdited = true;
    appendTextureRow(entry, directory, QString::fromLatin1(kKindIcons[0]));
    QApplication::restoreOverrideCursor();
    btnTexUp->setEnabled(lstTextures->rowCount() > 1);
    btnTexDown->setEnabled(lstTextures->rowCount() > 1);
}

void cPreferencesDialog::exec_on_textureRemove() {
    GameConfig* cfg = config();
    QList<int> rows;
    for (const QTableWidgetItem* item : lstTextures->selectedItems())
        if (item->column() == lstTextures->columnCount() - 1) rows.append(item->row());
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty()) return;
    const int smallest = rows.first();
    QString refused;
    // From the bottom up, so the rows above keep their indices.
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        const int row = *it;
        const auto* item = static_cast<const QCustomTableWidgetItem*>(lstTextures->item(row, 0));
        const QString key = item->key;
        if (packageInUse(Tex_FindPackage(key))) {
            refused.prepend(item->text() + QLatin1Char('\n'));
            continue;
        }
        if (cfg) {
            cfg->Parcel.removeOne(key);
            cfg->ParcelEdited = true;
            if (!cfg->Parcel.contains(key)) Tex_ReleasePackage(key);
        }
        lstTextures->removeRow(row);
    }
    if (lstTextures->rowCount() > 0)
        lstTextures->selectRow(std::clamp(smallest - 1, 0, lstTextures->rowCount() - 1));
    if (!refused.isEmpty())
        Prompt_Message(
            this, PromptIcon::Warning,
            tr("One or more texture files contain used textures and cannot be removed:\n\n%1").arg(refused));
    btnTexUp->setEnabled(lstTextures->rowCount() > 1);
    btnTexDown->setEnabled(lstTextures->rowCount() > 1);
}

void cPreferencesDialog::moveTextureRow(int delta) {
    const QList<QTableWidgetItem*> selected = lstTextures->selectedItems();
    if (selected.size() != lstTextures->columnCount()) return;
    const int row = selected.first()->row();
    for (const QTableWidgetItem* item : selected)
        if (item->row() != row) return;
    const int other = row + delta;
    if (other < 0 || other >= lstTextures->rowCount()) return;
    for (int column = 0; column < lstTextures->columnCount(); ++column) {
        QTableWidgetItem* a = lstTextures->takeItem(row, column);
        QTableWidgetItem* b = lstTextures->takeItem(other, column);
        lstTextures->setItem(row, column, b);
        lstTextures->setItem(other, column, a);
    }
    if (GameConfig* cfg = config(); cfg && row < cfg->Parcel.size() && other < cfg->Parcel.size()) {
        cfg->Parcel.swapItemsAt(row, other);
        cfg->ParcelEdited = true;
    }
    lstTextures->clearSelection();
    lstTextures->selectRow(other);
    btnTexUp->setEnabled(lstTextures->rowCount() > 1);
    btnTexDown->setEnabled(lstTextures->rowCount() > 1);
}

void cPreferencesDialog::exec_on_textureMoveUp() {
    moveTextureRow(-1);
}

void cPreferencesDialog::exec_on_textureMoveDown() {
    moveTextureRow(1);
}

void cPreferencesDialog::exec_on_paletteChanged() {
    if (txtPalette->isEnabled() && config()) config()->PaletteFile = relativeGamePath(txtPalette->text());
}

void cPreferencesDialog::exec_on_browseForPalette() {
    QString path = Prompt_GetOpenFileName(this, QString(), absoluteGamePath(txtPalette->text()),
                                          tr("Palette Files (*.pal)"));
    if (path.isEmpty()) return;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    txtPalette->setText(relativeGamePath(path));
    exec_on_paletteChanged();
}

void cPreferencesDialog::exec_on_textureBrightnessChanged() {
    GameConfig* cfg = config();
    if (!cfg) return;
    cfg->TextureBrightness = uint32_t(slTextureBrightness->value() * 5);
    for (const QString& entry : std::as_const(cfg->Parcel))
        if (const TexturePackage* package = Tex_FindPackage(entry); package && package->loaded) {
            restartRequired = true;
            break;
        }
}

void cPreferencesDialog::exec_on_textureDefaultScaleChanged(double value) {
    // Cut, not rounded, to three decimals.
    if (GameConfig* cfg = config())
        cfg->DefaultTextureScale = float(std::floor(value * 1000.0) * double(0.001f));
}
