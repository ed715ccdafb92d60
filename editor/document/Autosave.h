// Time-stamped autosave copies of a document's file, with pruning of the oldest copies.
#pragma once

#include <QString>

class MapDocument;

// Writes a time-stamped copy of the document's file next to it (or into AutosaveDir), keeping at
// most AutosaveLimit copies. Changes nothing of the document's state.
bool Project_Autosave(MapDocument* document, const QString& path);
// Whether name is an autosave copy of the file "base.suffix": "base-yyyy-MM-dd-hh-mm-ss.suffix".
bool Project_IsAutosaveName(const QString& name, const QString& completeBaseName, const QString& suffix);
