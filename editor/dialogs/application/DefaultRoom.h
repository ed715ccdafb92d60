// The default-room dialog a new map may start with, and the room builder it feeds. The dialog
// window and the room's brushes come with the application dialogs; until then the dialog is
// never accepted and no room is built.
#pragma once

#include "dialogs/application/DefaultRoomDialog.h"

struct GameConfig;
struct MapProfileRecord;
struct MapWorld;

class cDefaultRoomDialog {
public:
    explicit cDefaultRoomDialog(const MapProfileRecord* profile) : profile(profile) {}
    // 1 when accepted, 0 when rejected.
    int exec();
    void getParameters(DefaultRoomParameters* out) const;

private:
    const MapProfileRecord* profile;
    DefaultRoomParameters parameters;
};

// Six wall brushes around the size in the world entity, plus the player start and the light.
void Map_CreateDefaultRoom(MapWorld** map, GameConfig* config, const DefaultRoomParameters& parameters);
