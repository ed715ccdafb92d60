// The map check's table: twelve kinds of problem, each with the objects it looks at, its test,
// its repair and the name its list text shows; the run over a world and the repairs. The map
// check dialog lists, visits and repairs what a run finds; the texts translate in its context.
#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "map/MapObject.h"

class MapDocument;
struct BrushRecord;
struct EPair;
struct EntityClass;
struct EntityRecord;
struct FaceRecord;
struct MapProfileRecord;
struct MapWorld;
struct ShaderRecord;
struct UndoHistory;

// What a row looks at.
namespace MapCheckScope {
constexpr int32_t World = 0;
constexpr int32_t Entity = 1;
constexpr int32_t Brush = 2;
constexpr int32_t Face = 3;
constexpr int32_t KeyValue = 4;
} // namespace MapCheckScope

namespace MapProblemStatus {
constexpr int32_t Open = 0;
constexpr int32_t CannotFix = 1;
constexpr int32_t Fixed = 2;
} // namespace MapProblemStatus

inline constexpr int kMapCheckRows = 12;

// One found problem. The records are compared, never read, once `gone` is set: a repair removed
// the object or the brush or entity it belongs to.
struct MapProblem {
    int32_t check = 0;
    int32_t status = MapProblemStatus::Open;
    QString name;
    const MapProfileRecord* profile = nullptr;
    MapHandle world = nullptr;
    EntityRecord* entity = nullptr; // owner of a key/value pair, else null
    void* object = nullptr;         // null for the world row
    // Where the object lives: its brush (faces, brushes) and entity (every scope but the world).
    BrushRecord* ownerBrush = nullptr;
    EntityRecord* ownerEntity = nullptr;
    bool gone = false;
};

// The key names of one entity class whose property type is target_source or target_destination.
struct MapCheckClassKeys {
    QList<QByteArray> sources;
    QList<QByteArray> destinations;
};

// What one run shares between the tests: the profile, the map, and the values every entity's
// target_source keys hold (gathered once, so row 1 is not a rescan per pair).
struct MapCheckRun {
    const MapProfileRecord* profile = nullptr;
    MapWorld* world = nullptr;
    QByteArray prefixes; // the profile's use-prefix characters
    QSet<QByteArray> targetNames;
    QHash<const EntityClass*, MapCheckClassKeys> classKeys; // every class of the map's entities
};

// The records a repair removed: the dialog marks the problems that point at them as gone.
struct MapCheckRemoved {
    QSet<const void*> records;
    bool isEmpty() const { return records.isEmpty(); }
};

// What a repair works with.
struct MapRepair {
    UndoHistory* history = nullptr;
    const ShaderRecord* currentTexture = nullptr; // null: no texture shown
    MapCheckRemoved removed;
};

struct MapCheckEntry {
    const char* title;       // through tr in the cMapCheckDialog context; may hold "%1"
    const char* description; // rich text, through tr as well
    int32_t scope;
    bool (*test)(const MapCheckRun& run, void* object, EntityRecord* entity, QString* out);
    int32_t (*repair)(MapRepair& repair, MapProblem& problem); // null: cannot be fixed
    QString (*name)(const MapProblem& problem);                // null: the test's output text
};

extern const MapCheckEntry kMapCheckTable[kMapCheckRows];

// The profile registered under the name of the document's game configuration; null without one.
const MapProfileRecord* MapCheck_Profile(const MapDocument* document);
// Every problem of the world, in row and scope order.
std::vector<std::unique_ptr<MapProblem>> MapCheck_Run(MapWorld* world, const MapProfileRecord* profile);
// The list text: the translated title with the name, and the status suffix.
QString MapCheck_ListText(const MapProblem& problem);
// Runs the row's repair (status 1 for a row without one) and returns the new status.
int32_t MapCheck_Repair(MapRepair& repair, MapProblem& problem);
// Row 10's structure test: false with the translated reason when the brush is invalid.
bool MapCheck_BrushStructure(const BrushRecord* brush, QString* reason);

// The problems by the records they point at, so a removal finds them without a walk of the list.
class cMapProblemIndex {
public:
    void build(const std::vector<std::unique_ptr<MapProblem>>& problems);
    // Marks every problem pointing at a removed record as gone (status fixed); empties the set.
    void markGone(MapCheckRemoved& removed);

private:
    QHash<const void*, QList<MapProblem*>> m_byRecord;
};
