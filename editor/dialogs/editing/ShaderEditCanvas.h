// The effect editor's preview: the open effect drawn stage by stage through the effect run time on
// one of five shapes the user turns with the mouse, or one texture image scaled to fit, with the
// effect's name, the triangle count and the last build's result written over it.
#pragma once

#include <QFont>
#include <QString>
#include <QTimer>

#include "views/GLView.h"
#include "dialogs/editing/ShaderEditShapes.h"
#include "gamedata/EffectBatch.h"
#include "render/GLStateCache.h"

struct ShaderRecord;
struct TextureImage;

// cShaderEditCanvas::viewFlags.
namespace PreviewFlag {
constexpr int Spin = 0x1;
constexpr int Wireframe = 0x2;
constexpr int Normals = 0x4;
constexpr int SampleBuffers = 0x8;
} // namespace PreviewFlag

class cShaderEditCanvas : public cGLView {
    Q_OBJECT
public:
    cShaderEditCanvas(const QSurfaceFormat& format, QWidget* parent);
    ~cShaderEditCanvas() override;

    void buildShape(int n);
    void setupProjection();
    void setupModelview();
    // Shows an effect (animated, 40 ms timer) or an image (still); null for both shows nothing.
    void showEffect(ShaderRecord* shown);
    void showImage(TextureImage* shown);
    void clear();
    // Chooses shape n: the mesh, projection and camera are rebuilt when it differs.
    void setShape(int n);

    int width = 0, height = 0;
    int shape = -1;
    int vertexCount = 0, indexCount = 0;
    int viewFlags = PreviewFlag::Spin;
    QTimer frameTimer;
    QFont font;
    float projection[16] = {};
    float view[16] = {};
    float pitch = 0.0f, yaw = 0.0f;
    float distance = 64.0f;
    float pitchRate = 0.0f, yawRate = 0.0f;
    float fitOffset = 0.0f;
    int lastPos[2] = {0, 0};
    int previousPos[2] = {0, 0};
    ShaderRecord* effect = nullptr;
    TextureImage* image = nullptr;
    GLStateCache glState{};
    EffectBatch batch{};
    EffectVertex quad[4] = {};
    EffectVertex work[kPreviewMaxVertices] = {};
    EffectVertex mesh[kPreviewMaxVertices] = {};
    uint16_t indices[kPreviewMaxIndices] = {};
    QString statusText;

protected:
    void initializeGL() override;
    void restoreGLState() override { initializeGL(); }
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setup2D();
    void drawEffect();
    void drawImage();
    void drawText(int x, int y, const QString& text);
    bool antialias() const;
};
