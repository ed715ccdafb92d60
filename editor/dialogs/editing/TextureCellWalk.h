// The texture browser's grid: which listed textures it shows and where each cell lies. One walk
// serves the total height, drawing, hit testing and the current texture's row, and needs no GL.
#pragma once

#include <QMap>
#include <QString>
#include <functional>

struct ShaderRecord;
struct TextureListEntry;
class TextureLists;

// Thumbnail factor of a scale mode: negative divides the texture's size, positive is a square box.
float TextureBrowser_ScaleFactor(int scaleMode);
// Cell size (cw, ch) of a texture of width x height in the scale mode.
void TextureBrowser_CellSize(int scaleMode, int width, int height, int* cw, int* ch);

struct TextureCell {
    ShaderRecord* shader = nullptr;
    int x = 0;
    int y = 0; // top of the row
    int cw = 0;
    int ch = 0;
    int colW = 0;      // max(cw, caption width + 4)
    int rowHeight = 0; // tallest cell of the row so far, this one included
};

struct TextureCellWalkInput {
    const TextureLists* lists = nullptr;
    QString groupFilter; // empty: every group
    int width = 0;
    int lineHeight = 0;
    int scaleMode = 1;
    std::function<bool(const ShaderRecord*)> listed;
    std::function<int(ShaderRecord*)> captionWidth;
};

// Visits the cells in list order: 8-pixel margins, a new row when the next column would pass the
// right margin, rows rowHeight + lineHeight + 12 apart.
class cTextureCellWalk {
public:
    explicit cTextureCellWalk(const TextureCellWalkInput& input);
    // Moves to the next shown cell; false after the last.
    bool next();
    const TextureCell& cell() const { return m_cell; }
    // The height of everything visited so far, the last row included.
    int height() const;
    // Walks to the end and answers the total height (0 without lists).
    int finish();

private:
    const TextureCellWalkInput& m_in;
    QMap<QString, TextureListEntry>::const_iterator m_it;
    QMap<QString, TextureListEntry>::const_iterator m_end;
    TextureCell m_cell;
    int m_x = 8;
    int m_y = 8;
    int m_rowHeight = 0;
};
