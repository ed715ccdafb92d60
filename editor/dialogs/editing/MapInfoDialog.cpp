#include "dialogs/editing/MapInfoDialog.h"

#include <QCoreApplication>
#include <QSet>
#include <cstring>

#include "core/TextEncoding.h"
#include "document/MapWorld.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TexturePackage.h"
#include "gamedata/TextureRecords.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "ui_MapInfoDialog.h"

MapStatistics MapInfo_Statistics(MapHandle map) {
    MapStatistics s;
    const MapWorld* world = Map_FromHandle(map);
    if (!world) return s;
    QSet<QByteArray> names;
    for (const EntityRecord* e = world->entities; e; e = e->next) {
        if (e != world->entities) ++(e->firstBrush ? s.solidEntities : s.pointEntities);
        for (const BrushRecord* b = e->firstBrush; b; b = b->next) {
            ++s.solids;
            for (const FaceRecord* f = b->firstFace; f; f = f->next) {
                ++s.faces;
                // A missing texture's placeholder shows the stand-in image: it has no image of its own.
                const ShaderRecord* tex = f->texture;
                if (!tex || !tex->image || (tex->flags & SHADER_NO_SHIFT_WRAP)) continue;
                const TextureInfo& info = f->texInfo;
                QByteArray name(info.name, qsizetype(strnlen(info.name, sizeof(info.name))));
                if (names.contains(name)) continue;
                names.insert(name);
                const TextureImage* image = tex->image;
                s.textureBytes += uint64_t(uint32_t(image->width)) * uint64_t(uint32_t(image->height)) *
                                  uint64_t(image->bytesPerPixel);
            }
        }
    }
    s.uniqueTextures = int32_t(names.size());
    return s;
}

QString MapInfo_MemoryText(uint64_t bytes) {
    return QCoreApplication::translate("cMapInfoDialog", "%1 bytes (%2 Mb)")
        .arg(bytes)
        .arg(double(bytes) / 1048576.0, 0, 'f', 2);
}

QStringList MapInfo_LoadedPackages(const GameConfig* config) {
    QStringList rows;
    if (!config) return rows;
    for (const QString& entry : config->Parcel) {
        const TexturePackage* package = Tex_FindPackage(entry);
        if (package && package->loaded) rows.append(package->path);
    }
    return rows;
}

cMapInfoDialog::cMapInfoDialog(GameConfig* config, MapHandle map, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui(new Ui::cMapInfoDialog), config(config), map(map) {
    ui->setupUi(this);
    setFixedSize(size());
    const MapStatistics s = MapInfo_Statistics(map);
    ui->lblSolids->setText(QString::number(s.solids));
    ui->lblFaces->setText(QString::number(s.faces));
    ui->lblPointEnts->setText(QString::number(s.pointEntities));
    ui->lblSolidEnts->setText(QString::number(s.solidEntities));
    ui->lblUniqueTextures->setText(QString::number(s.uniqueTextures));
    ui->lblTexMem->setText(MapInfo_MemoryText(s.textureBytes));
    ui->lstTextureFiles->clear();
    ui->lstTextureFiles->addItems(MapInfo_LoadedPackages(config));
}

cMapInfoDialog::~cMapInfoDialog() {
    delete ui;
}
