// The starter room a new map may begin with: six walls around a box of the chosen size, a player
// start and a light. The new-map operation asks for it through a hook the main window fills (the
// default-room dialog); without one no room is asked for.
#pragma once

#include <QString>
#include <cstdint>

#include "map/MapObject.h"

struct GameConfig;
struct MapProfileRecord;

struct DefaultRoomParameters {
    float width = 0;  // inner extent along x
    float length = 0; // along y
    float height = 0; // along z
    int32_t profileFlags = 0;
    QString wallTexture;
    QString ceilingTexture;
    QString floorTexture;
    QString nullTexture; // empty: every face takes its wall's texture
    QString playerStartClass;
    QString lightClass;
};

// Asks for a room for the profile; true and the answer in out when one is wanted.
using DefaultRoomAsker = bool (*)(const MapProfileRecord* profile, DefaultRoomParameters* out);
void Project_SetDefaultRoomAsker(DefaultRoomAsker asker);
bool Project_AskDefaultRoom(const MapProfileRecord* profile, DefaultRoomParameters* out);

// Builds the room in the map's world entity; with a configuration also the player start and the
// light (classes from the last listed loaded definition file that has them). Nothing is
// selected and no undo level opened: the room is part of the new map.
void Map_CreateDefaultRoom(MapHandle map, const GameConfig* config, const DefaultRoomParameters& parameters);
