#include "gamedata/SkyManager.h"

// No sky is loaded yet, so a configuration owns none.
void Sky_LoadForConfig(GameConfig* config) {
    (void)config;
}

void Sky_ReleaseForConfig(GameConfig* config) {
    (void)config;
}
