// Patch handle and record, the plugin-facing patch functions and the control-grid edits.
#include "map/MapPatch.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "core/System.h"
#include "kstdlib/krandom.h"
#include "map/MapBrush.h"
#include "core/Vector.h"
#include "map/TextureBinding.h"

namespace {

// The grid seen along one direction: line l across, index k along. Growing rows walks every
// column along its rows; growing columns walks every row along its columns.
struct GridView {
    PatchRecord* r;
    bool alongRows;
    PatchPoint& at(int line, int k) const { return alongRows ? r->points[line][k] : r->points[k][line]; }
    int lines() const { return alongRows ? r->columns : r->rows; }
    int32_t& count() const { return alongRows ? r->rows : r->columns; }
};

const char* lineName(bool rows) {
    return rows ? "rows" : "columns";
}

// Position a + parts (b - a) / 3: the split points of a segment cut in thirds.
void thirdPosition(const float a[3], const float b[3], float parts, float out[3]) {
    for (int i = 0; i < 3; ++i)
        out[i] = a[i] + parts * (b[i] - a[i]) / 3.0f;
}

float pointDistance(const PatchPoint& a, const PatchPoint& b) {
    float d[3];
    Vec_Sub(a.xyz, b.xyz, d);
    return Vec_Length(d);
}

float randomValue(float amount, bool gaussian) {
    return gaussian ? K_RandomGaussianFloat(0.0f, amount) : K_RandomFloat(-amount, amount);
}

} // namespace

cMapPatch::cMapPatch(int columns, int rows)
    : cMapDrawable(MapObjectKind::Patch, sizeof(PatchRecord)),
      record(static_cast<PatchRecord*>(cMapObject::record())), centre{0, 0, 0} {
    record->columns = Patch_NormalizeCount(columns);
    record->rows = Patch_NormalizeCount(rows);
}

cMapPatch::~cMapPatch() {
    releaseTexture();
    freeMesh();
}

void cMapPatch::clampCounts() {
    record->columns = Patch_NormalizeCount(record->columns);
    record->rows = Patch_NormalizeCount(record->rows);
}

// ---- Texture binding ----------------------------------------------------------------------

void cMapPatch::setTextureInfo(const TextureInfo* block) {
    Texture_BindInfo(&record->texture, &record->texInfo, &record->flags, block);
}

void cMapPatch::setTexture(const char* name) {
    Texture_BindName(&record->texture, &record->texInfo, &record->flags, name);
}

void cMapPatch::releaseTexture() {
    Texture_Release(&record->texture);
}

// ---- Grid edits ----------------------------------------------------------------------------

void cMapPatch::invertMatrix() {
    clampCounts();
    PatchRecord* r = record;
    for (int c = 0; c < r->columns; ++c)
        for (int row = 0; row < r->rows / 2; ++row)
            std::swap(r->points[c][row], r->points[c][r->rows - 1 - row]);
}

void cMapPatch::transposeMatrix() {
    clampCounts();
    PatchRecord* r = record;
    // The block is 36 KiB: build the new one on the heap, zero-filled.
    auto fresh = std::make_unique<PatchPoint[]>(kPatchGridLines * kPatchGridLines);
    for (int c = 0; c < r->columns; ++c)
        for (int row = 0; row < r->rows; ++row)
            fresh[row * kPatchGridLines + (r->columns - 1 - c)] = r->points[c][row];
    std::swap(r->columns, r->rows);
    std::memcpy(r->points, fresh.get(), sizeof(r->points));
}

bool cMapPatch::addLines(bool rows, bool atEnd) {
    clampCounts();
    GridView g{record, rows};
    const int n = g.count();
    if (n + 2 >= kPatchGridLines) {
        Sys_Warning("can't add more %s to the patch (maximum is %d)", lineName(rows), kPatchMaxLines);
        return false;
    }
    for (int line = 0; line < g.lines(); ++line) {
        if (atEnd) {
            // Read the old end point before anything is written over it.
            const PatchPoint before = g.at(line, n - 2);
            const PatchPoint end = g.at(line, n - 1);
            g.at(line, n + 1) = end;
            PatchPoint& third = g.at(line, n - 1);
            third = before;
            thirdPosition(before.xyz, end.xyz, 1.0f, third.xyz);
            PatchPoint& twoThirds = g.at(line, n);
            twoThirds = before;
            thirdPosition(before.xyz, end.xyz, 2.0f, twoThirds.xyz);
        } else {
            const PatchPoint first = g.at(line, 0);
            const PatchPoint second = g.at(line, 1);
            for (int k = n - 1; k >= 0; --k)
                g.at(line, k + 2) = g.at(line, k);
            PatchPoint& third = g.at(line, 1);
            third = second;
            thirdPosition(first.xyz, second.xyz, 1.0f, third.xyz);
            PatchPoint& twoThirds = g.at(line, 2);
            twoThirds = first;
            thirdPosition(first.xyz, second.xyz, 2.0f, twoThirds.xyz);
        }
    }
    g.count() = n + 2;
    return true;
}

bool Patch_RemoveLines(PatchRecord* patch, bool rows, bool atStart) {
    if (!patch) return false;
    patch->columns = Patch_NormalizeCount(patch->columns);
    patch->rows = Patch_NormalizeCount(patch->rows);
    GridView g{patch, rows};
    const int n = g.count();
    if (n <= kPatchMinLines) {
        Sys_Warning("can't remove %s from the patch (minimum is %d)", lineName(rows), kPatchMinLines);
        return false;
    }
    if (atStart)
        for (int line = 0; line < g.lines(); ++line)
            for (int k = 0; k + 2 < n; ++k)
                g.at(line, k) = g.at(line, k + 2);
    g.count() = n - 2;
    return true;
}

void cMapPatch::smoothColumns() {
    clampCounts();
    PatchRecord* r = record;
    const int columns = r->columns;
    for (int c = 0; c < columns; c += 2) {
        const int before = c == 0 ? columns - 2 : c - 1;
        const int after = c == columns - 1 ? 1 : c + 1;
        for (int row = 0; row < r->rows; ++row)
            for (int a = 0; a < 3; ++a)
                r->points[c][row].xyz[a] =
                    (r->points[before][row].xyz[a] + r->points[after][row].xyz[a]) / 2.0f;
    }
}

void cMapPatch::redisperse(bool alongColumns) {
    clampCounts();
    // Along the columns means walking each column's rows.
    GridView g{record, alongColumns};
    const int n = g.count();
    for (int line = 0; line < g.lines(); ++line) {
        float step[3];
        Vec_Sub(g.at(line, n - 1).xyz, g.at(line, 0).xyz, step);
        for (float& v : step)
            v /= float(n - 1);
        if (Vec_Length(step) < 0.001f) continue;
        for (int k = 1; k < n; ++k)
            for (int a = 0; a < 3; ++a)
                g.at(line, k).xyz[a] = g.at(line, k - 1).xyz[a] + step[a];
    }
}

void cMapPatch::checkClosed(bool* acrossColumns, bool* acrossRows) const {
    const PatchRecord* r = record;
    const int columns = Patch_NormalizeCount(r->columns);
    const int rows = Patch_NormalizeCount(r->rows);
    bool columnsClosed = true;
    for (int row = 0; row < rows && columnsClosed; ++row)
        columnsClosed = pointDistance(r->points[0][row], r->points[columns - 1][row]) <= 1.0f;
    bool rowsClosed = true;
    for (int c = 0; c < columns && rowsClosed; ++c)
        rowsClosed = pointDistance(r->points[c][0], r->points[c][rows - 1]) <= 1.0f;
    if (acrossColumns) *acrossColumns = columnsClosed;
    if (acrossRows) *acrossRows = rowsClosed;
}

void cMapPatch::randomize(const PatchRandomParams* params) {
    if (!params) return;
    clampCounts();
    PatchRecord* r = record;
    const int32_t flags = params->flags;
    const bool gaussian = flags & PatchRandomFlags::Gaussian;
    const float amount = gaussian ? params->amount * 0.5f : params->amount;
    bool closedColumns = false, closedRows = false;
    checkClosed(&closedColumns, &closedRows);

    const int lastColumn = r->columns - 1;
    const int lastRow = r->rows - 1;
    for (int c = 0; c <= lastColumn; ++c) {
        if ((flags & PatchRandomFlags::SkipOddLines) && (c & 1)) continue;
        if ((flags & PatchRandomFlags::KeepBorder) && (c == 0 || c == lastColumn)) continue;
        for (int row = 0; row <= lastRow; ++row) {
            if ((flags & PatchRandomFlags::SkipOddLines) && (row & 1)) continue;
            if ((flags & PatchRandomFlags::OnlyOddLines) && !(c & 1) && !(row & 1)) continue;
            if ((flags & PatchRandomFlags::KeepBorder) && (row == 0 || row == lastRow)) continue;
            float* xyz = r->points[c][row].xyz;
            if (closedColumns && c == lastColumn) {
                Vec_Copy(r->points[0][row].xyz, xyz);
            } else if (closedRows && row == lastRow) {
                Vec_Copy(r->points[c][0].xyz, xyz);
            } else {
                const int32_t axes =
                    flags & (PatchRandomFlags::AlongX | PatchRandomFlags::AlongY | PatchRandomFlags::AlongZ);
                if (axes) {
                    for (int a = 0; a < 3; ++a)
                        if (axes & (1 << a)) xyz[a] += randomValue(amount, gaussian);
                } else {
                    const float v = randomValue(amount, gaussian);
                    for (int a = 0; a < 3; ++a)
                        xyz[a] += r->points[c][row].normal[a] * v;
                }
            }
            if (flags & PatchRandomFlags::SnapToUnits) {
                for (int a = 0; a < 3; ++a)
                    xyz[a] = std::floor(xyz[a] + 0.5f);
                Math_SnapVector(xyz);
            }
        }
    }
}

// ---- Plugin-facing functions ---------------------------------------------------------------

PatchRecord* Patch_Alloc(int columns, int rows) {
    cMapPatch* patch = new cMapPatch(columns, rows);
    patch->record->flags |= PatchFlags::NeedsUpdate;
    return patch->record;
}

PatchRecord* Patch_Create(BrushRecord* brush, const TextureInfo* texInfo, int columns, int rows) {
    // Without a brush nothing would own the patch.
    if (!brush) return nullptr;
    PatchRecord* rec = Patch_Alloc(columns, rows);
    rec->brush = brush;
    rec->handle->setTextureInfo(texInfo);
    brush->patch = rec;
    brush->kind = BrushKind::Patch;
    return rec;
}

void Patch_Delete(PatchRecord* patch) {
    if (!patch) return;
    if (BrushRecord* brush = patch->brush) {
        brush->patch = nullptr;
        brush->kind = BrushKind::Solid;
    }
    delete patch->handle;
}

void Patch_SmoothColumns(PatchRecord* patch) {
    if (patch && patch->handle) patch->handle->smoothColumns();
}

void Patch_NaturalizeTexture(PatchRecord* patch) {
    if (patch && patch->handle) patch->handle->naturalizeTexture();
}

void Patch_FitTexture(PatchRecord* patch, float sRepeats, float tRepeats) {
    if (patch && patch->handle) patch->handle->fitTexture(sRepeats, tRepeats);
}
