// The patch-matrix commands of the Curve menu: reshaping the control grids of the selected
// patches, each one undo level named by its menu text.
#pragma once

#include <cstdint>

struct MapWorld;
struct PatchRandomParams;

// The patch-matrix commands; each one's menu text is also its undo level's name.
namespace PatchMatrix {
constexpr int32_t Invert = 0;
constexpr int32_t Transpose = 1;
constexpr int32_t AppendRows = 2;
constexpr int32_t AppendColumns = 3;
constexpr int32_t PrependRows = 4;
constexpr int32_t PrependColumns = 5;
constexpr int32_t RemoveFirstRows = 6;
constexpr int32_t RemoveFirstColumns = 7;
constexpr int32_t RemoveLastRows = 8;
constexpr int32_t RemoveLastColumns = 9;
constexpr int32_t RedisperseRows = 10;
constexpr int32_t RedisperseColumns = 11;
constexpr int32_t Randomize = 12;
constexpr int32_t Count = 13;
} // namespace PatchMatrix

// Runs one PatchMatrix command on every selected patch; randomParams is read by Randomize only.
// Limits are warned per patch; an unknown command warns "bad curve command %i". No undo level.
void Map_PatchMatrixCommand(MapWorld* world, int32_t command, const PatchRandomParams* randomParams);
// The menu text of a PatchMatrix command, or null for an unknown one.
const char* Map_PatchMatrixName(int32_t command);
// Whether a selected brush holds a patch.
bool Map_HasSelectedPatch(const MapWorld* world);
// The command with its menu text as level name; the warning box "There are no eligible selected
// patches." when no selected brush carries a patch.
bool Map_PatchMatrixMenuCommand(MapWorld* world, int32_t command, const PatchRandomParams* randomParams);
