// The texture packages a game folder holds by itself, for a configuration that names none: its
// effect scripts and its texture folders, found on disk and in the folder's archives.
#pragma once

#include <QStringList>

struct GameConfig;

// Package paths of the configuration's mod folder, then its game folder (a mod's effects come
// first). Each folder gives its effect scripts under "scripts/" (where "scripts/shaderlist.txt"
// exists, the scripts it names, in its order, then every other script there, a map pack's own
// among them, in name order; else "scripts::*.shader") and one
// "textures/<group>::*.tga;*.jpg" per texture folder. The folders' archives must be open and the
// configuration the one file look-ups search.
QStringList GameCfg_FindTexturePackages(const GameConfig* config);
