#include "views/GlyphText.h"

#include <GL/gl.h>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "render/GLStateCache.h"

void View_DrawGlyphText(GLStateCache* stateCache, int x, int y, const QString& text, const QFont& font) {
    if (text.isEmpty()) return;
    const QFontMetrics metrics(font);
    const int w = metrics.horizontalAdvance(text) + 2, h = metrics.height();
    QImage image(w, h, QImage::Format_RGBA8888);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(1, metrics.ascent(), text);
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    Render_BindTexture(stateCache, name, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.constBits());
    const uint32_t word = stateCache->state;
    GL_State(stateCache, (word & ~GLS::BlendMask) | GLS::Translucent);
    glEnable(GL_TEXTURE_2D);
    const int top = y - metrics.ascent();
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(x - 1, top);
    glTexCoord2f(0, 1);
    glVertex2i(x - 1, top + h);
    glTexCoord2f(1, 1);
    glVertex2i(x - 1 + w, top + h);
    glTexCoord2f(1, 0);
    glVertex2i(x - 1 + w, top);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    GL_State(stateCache, word);
    glDeleteTextures(1, &name);
    // The name may come back from the next glGenTextures: it must not count as bound.
    stateCache->boundTexture = 0;
    stateCache->boundFilter = -1;
}
