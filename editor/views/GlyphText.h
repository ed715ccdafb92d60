// Text in GL views: a line is painted into a glyph texture and drawn as one blended quad, since
// GL views have no text drawing of their own.
#pragma once

#include <QFont>
#include <QString>

struct GLStateCache;

// Draws text with its baseline at window point (x, y) in the current GL colour, on an orthographic
// y-down projection. The state word and texture binding of the cache are restored afterwards.
void View_DrawGlyphText(GLStateCache* cache, int x, int y, const QString& text, const QFont& font);
