#include "dialogs/application/DefaultRoom.h"

int cDefaultRoomDialog::exec() {
    return 0;
}

void cDefaultRoomDialog::getParameters(DefaultRoomParameters* out) const {
    if (out) *out = parameters;
}

void Map_CreateDefaultRoom(MapWorld** map, GameConfig* config, const DefaultRoomParameters& parameters) {}
