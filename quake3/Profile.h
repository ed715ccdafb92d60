// The game profile the plugin registers ("kpQuake3"), laid out as the interface header fixes it.
#pragma once

#include "gamedata/PluginInterface.h"

const MapProfileRecord& Quake3_Profile();
