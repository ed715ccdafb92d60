// The map information dialog: counts of solids, faces and entities, the distinct textures and the
// memory they take, and the configuration's texture packages that are loaded. Everything is
// computed once, when the dialog is built; nothing is changed.
#pragma once

#include <QDialog>
#include <QStringList>
#include <cstdint>

#include "map/MapObject.h"

struct GameConfig;

namespace Ui {
class cMapInfoDialog;
} // namespace Ui

struct MapStatistics {
    int32_t solids = 0;
    int32_t faces = 0;
    int32_t pointEntities = 0;
    int32_t solidEntities = 0;
    int32_t uniqueTextures = 0;
    uint64_t textureBytes = 0;
};

// One pass over the world's entities (the first one is the world entity).
MapStatistics MapInfo_Statistics(MapHandle map);
// "%1 bytes (%2 Mb)", translated.
QString MapInfo_MemoryText(uint64_t bytes);
// The configuration's packages, in its order, that the texture manager holds loaded.
QStringList MapInfo_LoadedPackages(const GameConfig* config);

class cMapInfoDialog : public QDialog {
    Q_OBJECT
public:
    cMapInfoDialog(GameConfig* config, MapHandle map, QWidget* parent);
    ~cMapInfoDialog() override;

    Ui::cMapInfoDialog* ui;
    GameConfig* config;
    MapHandle map;
};
