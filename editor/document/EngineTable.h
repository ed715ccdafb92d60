// The engine-function table's contents: the editor's functions of every floor up to the document,
// in the plugin interface's slot order. The programs fill the plugin manager's table with it
// (through their game-data host) before plugins load.
#pragma once

struct EngineFuncs;

// Writes the size and all 179 slots.
void Plugin_FillEngineFuncs(EngineFuncs* table);
