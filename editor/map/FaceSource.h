// What a map file gave for a face besides its plane and texture block: the three points its
// plane was made from (as read, in double precision, so that they are written back to the last
// digit) and, for a brush-primitive face, the texture matrix with the texture size
// it was converted with. Map readers fill it (FaceRecord::source), the face owns it, map
// writers read it to write the face back as it was read. Fixed layout: plugins share it.
#pragma once

#include <cstddef>
#include <cstdint>

// Bits of FaceSource::flags.
namespace FaceSourceFlags {
constexpr uint32_t Points = 0x1; // points hold the file's three plane points
constexpr uint32_t Matrix = 0x2; // matrix holds a brush-primitive texture matrix
// The matrix was converted with a placeholder size (the texture was unknown): converting it
// again once the texture's size is known gives the mapping the game draws.
constexpr uint32_t PlaceholderSize = 0x4;
} // namespace FaceSourceFlags

struct FaceSource {
    double points[3][3];
    float matrix[2][3]; // rows (m00 m01 m02) and (m10 m11 m12)
    uint32_t flags;     // FaceSourceFlags
    int32_t width;      // texture size the matrix was converted with
    int32_t height;
    int32_t pad108;
};
static_assert(sizeof(FaceSource) == 112);
static_assert(offsetof(FaceSource, matrix) == 72 && offsetof(FaceSource, flags) == 96);
static_assert(offsetof(FaceSource, width) == 100 && offsetof(FaceSource, height) == 104);
