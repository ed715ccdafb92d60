// The Textures dock's texture view: draws one effect's editor image at up to twice its size,
// centred on the application background.
#pragma once

#include "views/GLView.h"

struct ShaderRecord;

class cTextureView : public cGLView {
public:
    explicit cTextureView(QWidget* parent = nullptr);
    ~cTextureView() override;

    // The effect shown; null shows only the background.
    void setShader(ShaderRecord* shader);
    ShaderRecord* shader() const { return m_shader; }

    QSize minimumSizeHint() const override { return {64, 64}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

protected:
    void initializeGL() override;
    void restoreGLState() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    int m_width = 0;
    int m_height = 0;
    int m_wrapMode = 0x2900; // GL_CLAMP until an edge-clamp extension is found
    ShaderRecord* m_shader = nullptr;
};
