#include "dialogs/editing/TextureCellWalk.h"

#include <algorithm>

#include "gamedata/TextureLists.h"
#include "gamedata/TextureRecords.h"

float TextureBrowser_ScaleFactor(int scaleMode) {
    static const float factors[] = {-0.5f, -1.0f, -2.0f, -4.0f, 32.0f, 64.0f, 128.0f, 256.0f};
    return scaleMode >= 0 && scaleMode < 8 ? factors[scaleMode] : -0.5f;
}

void TextureBrowser_CellSize(int scaleMode, int width, int height, int* cw, int* ch) {
    const float f = TextureBrowser_ScaleFactor(scaleMode);
    if (f < 0) {
        *cw = int(float(width) / -f);
        *ch = int(float(height) / -f);
    } else {
        *cw = *ch = int(f);
    }
}

cTextureCellWalk::cTextureCellWalk(const TextureCellWalkInput& input) : m_in(input) {
    if (m_in.lists) {
        m_it = m_in.lists->entries.constBegin();
        m_end = m_in.lists->entries.constEnd();
    }
}

bool cTextureCellWalk::next() {
    if (!m_in.lists) return false;
    while (m_it != m_end) {
        const TextureListEntry& entry = *m_it;
        ++m_it;
        if (!m_in.groupFilter.isEmpty() && entry.group != m_in.groupFilter) continue;
        if (!entry.shader || (m_in.listed && !m_in.listed(entry.shader))) continue;
        int cw, ch;
        TextureBrowser_CellSize(m_in.scaleMode, entry.shader->width, entry.shader->height, &cw, &ch);
        if (m_rowHeight == 0) m_rowHeight = ch;
        const int caption = m_in.captionWidth ? m_in.captionWidth(entry.shader) : 0;
        const int colW = std::max(cw, caption + 4);
        if (m_in.width < m_x + colW + 8) {
            m_y += m_rowHeight + m_in.lineHeight + 12;
            m_rowHeight = ch;
            m_x = 8;
        }
        m_rowHeight = std::max(m_rowHeight, ch);
        m_cell = {entry.shader, m_x, m_y, cw, ch, colW, m_rowHeight};
        m_x += colW + 8;
        return true;
    }
    return false;
}

int cTextureCellWalk::height() const {
    if (!m_in.lists) return 0;
    return m_rowHeight > 0 ? m_y + m_rowHeight + m_in.lineHeight + 12 : m_y;
}

int cTextureCellWalk::finish() {
    while (next()) {
    }
    return height();
}
