// The texture browser's GL view: the listed textures of the current texture lists as a grid of
// thumbnails with their names, scrolled by the dialog's scroll bar, picked by mouse, effects
// optionally animated stage by stage. Its context shares the global one, like every view.
#pragma once

#include <QFont>
#include <QRegularExpression>
#include <QString>
#include <functional>

#include "views/GLView.h"
#include "dialogs/editing/TextureCellWalk.h"
#include "render/RenderContext.h"

class QTimer;
class cTextureBrowserDialog;
struct GLStateCache;
struct ShaderRecord;

// Bits of cTextureBrowser::flags.
namespace TextureBrowserFlag {
constexpr int OnlyUsed = 1;
constexpr int Animate = 2;
} // namespace TextureBrowserFlag

class cTextureBrowser : public cGLView {
public:
    cTextureBrowser(cTextureBrowserDialog* dialog, const QSurfaceFormat& format, QWidget* parent);
    ~cTextureBrowser() override;

    QSize sizeHint() const override { return {140, 140}; }

    // Only-used and animate bits (TextureBrowserFlag).
    void setFlags(int flags);
    // The typed filter: names containing any of its words pass.
    void setFilter(const QString& text);
    // "(All Textures)" shows every group.
    void setGroup(const QString& group);
    void setScaleMode(int mode);
    void invalidateLayout() { layoutHeightCache = -1; }
    // Total grid height in pixels, cached until a change.
    int layoutHeight();
    // Top and height (tallest cell so far + caption + 12) of the current texture's row; false,
    // outputs untouched, when it is not shown.
    bool currentCellPosition(int* rowTop, int* rowHeight);
    bool isListed(const ShaderRecord* shader) const;
    // Makes the texture current; true when that changed it.
    bool setCurrent(ShaderRecord* shader);
    // The texture under a widget point (the hit test of a click); null for none.
    ShaderRecord* shaderAt(const QPoint& point, bool* hit = nullptr);
    // First scrolled pixel row: (total - view height) x fraction, at least 0.
    int scrollOffset();
    // Milliseconds of a monotonic clock; effect time counts from the first paint. Tests fix it.
    void setClock(std::function<qint64()> clock);
    // The caption width of the record, measured once and kept in it.
    int captionWidth(ShaderRecord* shader) const;
    // What the grid walk of this view reads: the current lists, group, width, scale and filters.
    TextureCellWalkInput walkInput() const;

    cTextureBrowserDialog* dialog = nullptr;
    ShaderRecord* current = nullptr;
    int viewWidth = 0;
    int viewHeight = 0;
    int flags = 0;
    float scrollFraction = 0.0f;
    int layoutHeightCache = -1;
    int lineHeight = 0;
    int scaleMode = 1;
    QString groupFilter;
    QString filterText;
    QRegularExpression filterPattern;
    QFont captionFont;
    GLStateCache* glState = nullptr;
    QTimer* animationTimer = nullptr;
    RenderContext renderContext{};

protected:
    void initializeGL() override;
    void restoreGLState() override { initializeGL(); }
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Decodes the images of the cells the page shows, together.
    void realizeVisible(const TextureCellWalkInput& in, int offset);
    void drawCell(const TextureCell& cell, int x, int y);
    void drawStages(ShaderRecord* shader, const float quad[4][2]);
    bool pick(QMouseEvent* event);

    std::function<qint64()> m_clock;
    qint64 m_firstTick = -1;
};
