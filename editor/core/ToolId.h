// Tool ids: the index of a tool in the tool set, named alike by the tools, the views and the
// documents that ask which tool is active.
#pragma once

#include <cstdint>

namespace ToolId {
constexpr int32_t None = -1; // no tool active
constexpr int32_t Selection = 0;
constexpr int32_t Magnify = 1;
constexpr int32_t Camera = 2;
constexpr int32_t Entity = 3;
constexpr int32_t Brush = 4;
constexpr int32_t Texture = 5;
constexpr int32_t Decal = 6;
constexpr int32_t Clip = 7;
constexpr int32_t Vertex = 8;
constexpr int32_t Cordon = 9;
constexpr int32_t Path = 10;
constexpr int32_t Count = 11;
} // namespace ToolId
