// The texture browser view.
#include "dialogs/editing/TextureBrowser.h"

#include <GL/gl.h>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstring>

#include "core/TextEncoding.h"
#include "dialogs/editing/NameFilter.h"
#include "dialogs/editing/TextureBrowserDialog.h"
#include "gamedata/TextureLists.h"
#include "gamedata/EffectBatch.h"
#include "gamedata/GameConfig.h"
#include "gamedata/RenderApi.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureRecords.h"
#include "gamedata/TextureUpload.h"
#include "render/ColorScheme.h"
#include "render/GLStateCache.h"
#include "views/GlyphText.h"

namespace {

constexpr int32_t kDrawnByEditorImage = 0x1000;               // ShaderRecord::flags
constexpr int32_t kNeedsCentre = EFFECT_SKY_BOX | EFFECT_SKY; // ShaderRecord::category
constexpr int32_t kLinear = 0x1, kLinearMipmaps = 0x5;        // filter words

QString nameOf(const ShaderRecord* shader) {
    return Text_FromWindows1251(shader->name, qsizetype(strnlen(shader->name, sizeof shader->name)));
}

void setColour(int32_t key) {
    glColor4ubv(Color_GetRGBA(key));
}

// The image's GL texture; the shared "notexture" image is uploaded on first use.
uint32_t glNameOf(TextureImage* image) {
    if (!image) return 0;
    Tex_RealizeImage(image);
    if (!image->glName && image == Tex_CreateNoTexture()->image)
        Tex_UploadImageData(image, Tex_NoTexturePixels().constData());
    return image->glName;
}

// Corners top left, bottom left, bottom right, top right: counter-clockwise on the screen, so the
// quad faces the viewer with back faces culled.
const float kCornerST[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};

void drawQuad(const float q[4][2]) {
    const auto& st = kCornerST;
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2fv(st[i]);
        glVertex3f(q[i][0], q[i][1], -1.0f);
    }
    glEnd();
}

} // namespace

cTextureBrowser::cTextureBrowser(cTextureBrowserDialog* owner, const QSurfaceFormat& format, QWidget* parent)
    : cGLView(parent), dialog(owner) {
    setFormat(format);
    setAutoFillBackground(false);
    captionFont = QFont(QStringLiteral("Courier New"), 7);
    lineHeight = QFontMetrics(captionFont).height();
    glState = new GLStateCache{};
    GL_InitStateCache(glState);
    animationTimer = new QTimer(this);
    connect(animationTimer, &QTimer::timeout, this, &cGLView::update);
    QElapsedTimer* started = new QElapsedTimer;
    started->start();
    m_clock = [started = std::shared_ptr<QElapsedTimer>(started)] { return started->elapsed(); };
}

cTextureBrowser::~cTextureBrowser() {
    delete glState;
}

void cTextureBrowser::setClock(std::function<qint64()> clock) {
    m_clock = std::move(clock);
    m_firstTick = -1;
}

void cTextureBrowser::setFlags(int value) {
    if (value == flags) return;
    const int changed = value ^ flags;
    flags = value;
    if (changed & TextureBrowserFlag::OnlyUsed) {
        invalidateLayout();
        if (dialog) {
            dialog->updateScrollBar();
            dialog->ensureCurrentVisible();
        }
    }
    if (flags & TextureBrowserFlag::Animate) {
        animationTimer->start(40);
    } else {
        animationTimer->stop();
        update();
    }
}

void cTextureBrowser::setFilter(const QString& text) {
    if (text == filterText) return;
    filterText = text;
    filterPattern = NameFilter_Pattern(text);
    invalidateLayout();
    if (dialog) {
        dialog->updateScrollBar();
        dialog->ensureCurrentVisible();
    }
    update();
}

void cTextureBrowser::setGroup(const QString& group) {
    groupFilter = group == QLatin1String("(All Textures)") ? QString() : group;
    invalidateLayout();
    if (dialog) dialog->updateScrollBar();
}

void cTextureBrowser::setScaleMode(int mode) {
    scaleMode = mode;
    invalidateLayout();
}

bool cTextureBrowser::setCurrent(ShaderRecord* shader) {
    if (shader == current) return false;
    current = shader;
    return true;
}

bool cTextureBrowser::isListed(const ShaderRecord* shader) const {
    if (!shader || !shader->image) return false;
    // The creator holds one reference, every face, patch or overlay bound to it one more.
    if ((flags & TextureBrowserFlag::OnlyUsed) && shader->refCount <= 1) return false;
    if (!filterText.isEmpty() && !filterPattern.match(nameOf(shader)).hasMatch()) return false;
    return true;
}

int cTextureBrowser::captionWidth(ShaderRecord* shader) const {
    if (shader->captionWidth == 0)
        shader->captionWidth = QFontMetrics(captionFont).horizontalAdvance(nameOf(shader));
    return shader->captionWidth;
}

TextureCellWalkInput cTextureBrowser::walkInput() const {
    TextureCellWalkInput in;
    in.lists = GameCfg_CurrentTextureLists();
    in.groupFilter = groupFilter;
    in.width = width();
    in.lineHeight = lineHeight;
    in.scaleMode = scaleMode;
    in.listed = [this](const ShaderRecord* shader) { return isListed(shader); };
    in.captionWidth = [this](ShaderRecord* shader) { return captionWidth(shader); };
    return in;
}

int cTextureBrowser::layoutHeight() {
    if (layoutHeightCache < 0) {
        const TextureCellWalkInput in = walkInput();
        layoutHeightCache = cTextureCellWalk(in).finish();
    }
    return layoutHeightCache;
}

bool cTextureBrowser::currentCellPosition(int* rowTop, int* rowHeight) {
    const TextureCellWalkInput in = walkInput();
    cTextureCellWalk walk(in);
    while (walk.next()) {
        const TextureCell& cell = walk.cell();
        if (cell.shader != current) continue;
        *rowTop = cell.y;
        *rowHeight = cell.rowHeight + lineHeight + 12;
        return true;
    }
    return false;
}

int cTextureBrowser::scrollOffset() {
    return std::max(0, int(float(layoutHeight() - viewHeight) * scrollFraction));
}

ShaderRecord* cTextureBrowser::shaderAt(const QPoint& point, bool* hit) {
    if (hit) *hit = false;
    const int offset = scrollOffset();
    const int px = point.x(), py = point.y() + offset;
    const TextureCellWalkInput in = walkInput();
    cTextureCellWalk walk(in);
    while (walk.next()) {
        const TextureCell& c = walk.cell();
        if (c.y >= offset + viewHeight) break;
        const int bottom = c.y + c.ch + 4 + lineHeight;
        if (bottom > offset && c.x <= px && px <= c.x + c.colW && c.y <= py && py <= bottom) {
            if (hit) *hit = true;
            return c.shader;
        }
    }
    return nullptr;
}

void cTextureBrowser::initializeGL() {
    glShadeModel(GL_FLAT);
    for (GLenum cap : {GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE, GL_DITHER, GL_COLOR_LOGIC_OP, GL_LIGHTING,
                       GL_LINE_STIPPLE, GL_ALPHA_TEST, GL_BLEND})
        glDisable(cap);
    glEnable(GL_DEPTH_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnableClientState(GL_VERTEX_ARRAY);
    GL_SetStartFunctions();
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    // The swap interval 0 comes with the surface format.
    const QColor gray(Qt::gray);
    glClearColor(float(gray.redF()), float(gray.greenF()), float(gray.blueF()), 1.0f);
}

void cTextureBrowser::resizeGL(int w, int h) {
    if (w <= 0) return;
    viewWidth = w;
    viewHeight = h;
    invalidateLayout();
    if (dialog) dialog->updateScrollBar();
}

void cTextureBrowser::paintGL() {
    // Other contexts' drawing and deleted names leave the cache stale.
    GL_ResyncStateCache(glState);
    const qint64 tick = m_clock();
    if (m_firstTick < 0) m_firstTick = tick;
    RenderContext& rc = renderContext;
    rc.time = float(tick - m_firstTick) * 0.001f;
    const float origin[3] = {float(viewWidth) / 2, float(viewHeight) / 2, -50.0f};
    const float axes[3][3] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}};
    std::memcpy(rc.origin, origin, sizeof origin);
    std::memcpy(rc.forward, axes[0], sizeof rc.forward);
    std::memcpy(rc.right, axes[1], sizeof rc.right);
    std::memcpy(rc.up, axes[2], sizeof rc.up);
    rc.stateCache = glState;
    rc.textureFilter = kLinearMipmaps;

    const qreal ratio = devicePixelRatioF();
    glViewport(0, 0, int(viewWidth * ratio), int(viewHeight * ratio));
    const float* background = Color_GetFloat(COLOR_TEXBROWSER_BACKGROUND);
    glClearColor(background[0], background[1], background[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!GameCfg_CurrentTextureLists()) return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, viewWidth, viewHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    GL_State(glState, GLS::Opaque);

    const int offset = scrollOffset();
    const TextureCellWalkInput in = walkInput();
    realizeVisible(in, offset);
    cTextureCellWalk walk(in);
    while (walk.next()) {
        const TextureCell& c = walk.cell();
        if (c.y >= offset + viewHeight) break;
        if (c.y + c.ch + 4 + lineHeight > offset) drawCell(c, c.x, c.y - offset);
    }
    // Other views bind the same textures with their own filters.
    glState->boundFilter = -1;
}

void cTextureBrowser::realizeVisible(const TextureCellWalkInput& in, int offset) {
    // The page's waiting images decode together, before any cell draws.
    QList<ShaderRecord*> shown;
    cTextureCellWalk walk(in);
    while (walk.next()) {
        const TextureCell& c = walk.cell();
        if (c.y >= offset + viewHeight) break;
        if (c.y + c.ch + 4 + lineHeight > offset) shown.append(c.shader);
    }
    Tex_RealizeShaders(shown);
}

void cTextureBrowser::drawCell(const TextureCell& cell, int x, int y) {
    ShaderRecord* shader = cell.shader;
    int iw = cell.cw, ih = cell.ch;
    if (scaleMode != 0) {
        iw = std::min(cell.cw, shader->width);
        ih = std::min(cell.ch, shader->height);
    }
    const int ix = x + (cell.cw < cell.colW ? (cell.colW - cell.cw) / 2 : 0);
    const float quad[4][2] = {{float(ix), float(y)},
                              {float(ix), float(y + ih)},
                              {float(ix + iw), float(y + ih)},
                              {float(ix + iw), float(y)}};
    const int captionTop = y + cell.ch + 4;

    float savedOrigin[3];
    std::memcpy(savedOrigin, renderContext.origin, sizeof savedOrigin);
    const bool centred = shader->category & kNeedsCentre;
    if (centred) {
        renderContext.origin[0] = float(ix) + float(iw) / 2;
        renderContext.origin[1] = float(y) + float(ih) / 2;
        renderContext.origin[2] = -float(ih);
    }
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    if (!shader->stages || (shader->flags & kDrawnByEditorImage) || !(flags & TextureBrowserFlag::Animate)) {
        Render_BindTexture(glState, glNameOf(shader->image), kLinear, false);
        drawQuad(quad);
    } else {
        drawStages(shader, quad);
    }
    glDisable(GL_TEXTURE_2D);
    if (centred) std::memcpy(renderContext.origin, savedOrigin, sizeof savedOrigin);

    setColour(COLOR_TEXBROWSER_TEXT_BGCOLOR);
    glBegin(GL_QUADS);
    glVertex2i(x, captionTop);
    glVertex2i(x, captionTop + lineHeight);
    glVertex2i(x + cell.colW, captionTop + lineHeight);
    glVertex2i(x + cell.colW, captionTop);
    glEnd();
    const bool isCurrent = shader == current;
    setColour(isCurrent ? COLOR_TEXBROWSER_TEXT_SELECTED : COLOR_TEXBROWSER_TEXT_FGCOLOR);
    View_DrawGlyphText(glState, x + 2, captionTop + lineHeight - 2, nameOf(shader), captionFont);
    if (isCurrent) {
        setColour(COLOR_TEXBROWSER_LINE);
        glBegin(GL_LINE_LOOP);
        // Pixel centres: the frame runs through the pixels just outside the cell.
        const float left = float(x) - 0.5f, right = float(x + cell.colW) + 0.5f;
        const float top = float(y) - 0.5f, bottom = float(captionTop + lineHeight) + 0.5f;
        glVertex2f(left, top);
        glVertex2f(right, top);
        glVertex2f(right, bottom);
        glVertex2f(left, bottom);
        glEnd();
    }
}

void cTextureBrowser::drawStages(ShaderRecord* shader, const float quad[4][2]) {
    const auto& st = kCornerST;
    EffectVertex vertices[4] = {};
    for (int i = 0; i < 4; ++i) {
        vertices[i].xyz[0] = quad[i][0];
        vertices[i].xyz[1] = quad[i][1];
        vertices[i].xyz[2] = -1.0f;
        vertices[i].normal[2] = -1.0f;
        std::memcpy(vertices[i].baseST, st[i], sizeof st[i]);
        std::memcpy(vertices[i].st, st[i], sizeof st[i]);
        std::memset(vertices[i].vertexColor, 255, 4);
        std::memset(vertices[i].color, 255, 4);
    }
    if ((shader->category & EFFECT_SKY_BOX) && shader->box[0]) {
        Render_BindTexture(glState, glNameOf(shader->box[0]), kLinear, false);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        drawQuad(quad);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    EffectBatch batch{};
    batch.shader = shader;
    batch.vertices = vertices;
    batch.count = batch.capacity = 4;
    batch.stateBits = int32_t(GLS::Opaque);
    batch.primitive = GL_QUADS;
    std::memcpy(batch.origin, renderContext.origin, sizeof batch.origin);
    std::memcpy(batch.forward, renderContext.forward, sizeof batch.forward);
    std::memcpy(batch.right, renderContext.right, sizeof batch.right);
    std::memcpy(batch.up, renderContext.up, sizeof batch.up);
    batch.time = renderContext.time;
    Render_BatchPointers(glState, vertices, true);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    for (ShaderStage* stage = shader->stages; stage; stage = stage->next) {
        if (stage->skip || !stage->frames[0]) continue;
        batch.stage = stage;
        Render_DrawBatchStage(&batch, glState, renderContext.textureFilter);
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    // The arrays pointed into this frame's stack.
    glState->colorPointer = glState->texCoordPointer = glState->vertexPointer = nullptr;
    GL_State(glState, GLS::Opaque);
}

bool cTextureBrowser::pick(QMouseEvent* event) {
    if (!GameCfg_CurrentTextureLists()) return false;
    bool hit = false;
    ShaderRecord* shader = shaderAt(event->position().toPoint(), &hit);
    if (!hit) {
        event->ignore();
        return false;
    }
    if (dialog) dialog->showTextureInfo(shader);
    update();
    event->accept();
    return true;
}

void cTextureBrowser::mousePressEvent(QMouseEvent* event) {
    pick(event);
}

void cTextureBrowser::mouseDoubleClickEvent(QMouseEvent* event) {
    if (pick(event) && dialog) dialog->accept();
}

void cTextureBrowser::wheelEvent(QWheelEvent* event) {
    QScrollBar* bar = dialog ? dialog->browserScroll : nullptr;
    // Qt turns a Shift-held wheel into a horizontal one on some platforms.
    const int delta = event->angleDelta().y() ? event->angleDelta().y() : event->angleDelta().x();
    if (delta != 0 && bar && !bar->isHidden()) {
        const int step = (event->modifiers() & Qt::ShiftModifier) ? bar->pageStep() : bar->singleStep();
        bar->setValue(bar->value() + (delta > 0 ? -step : step));
    }
    event->accept();
}
