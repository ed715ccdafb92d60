// The game-data layer's host backed by the main window: its managers, its settings files, the
// views' texture-filter word, and the New Objects list and face dialog that plugins add to.
#pragma once

#include <memory>

class GameDataHost;
class cMainWindow;

std::unique_ptr<GameDataHost> GameDataHost_Make(cMainWindow& window);
