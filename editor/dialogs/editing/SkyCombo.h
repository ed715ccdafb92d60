// The sky choice of the object properties: a combo of the configuration's skies.
#pragma once

#include <QString>

struct GameConfig;
class QComboBox;
class SkyManager;

// The configuration's skies sorted by display name, text the display name and data the name;
// current selects without case, else the index is -1 and current is the edit text.
void Sky_FillComboBox(const SkyManager* manager, const GameConfig* config, QComboBox* combo,
                      const QString& current);
