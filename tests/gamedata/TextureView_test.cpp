// The texture view in a real widget tree, read back with grabFramebuffer.
#include <QApplication>
#include <QImage>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureView.h"
#include "views/ColorScheme.h"

namespace {

QRgb backgroundColour() {
    uint8_t rgba[4];
    Color_FillRGBA(rgba, COLOR_APPLICATION);
    if (rgba[0] == 0 && rgba[1] == 0 && rgba[2] == 0)
        return QApplication::palette().color(QPalette::Window).rgb();
    return qRgb(rgba[0], rgba[1], rgba[2]);
}

TEST(TextureView, NoTextureDrawsTwiceItsSizeCentred) {
    cConsoleCapture console;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new cTextureView;
    layout->addWidget(view);
    window.resize(200, 200);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(view->minimumSizeHint(), QSize(64, 64));
    EXPECT_EQ(view->heightForWidth(90), 90);

    view->setShader(Tex_CreateNoTexture());
    QImage image = view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) GTEST_SKIP() << "no OpenGL";
    ASSERT_EQ(image.size(), QSize(200, 200) * view->devicePixelRatio());
    // 64x64 from (68, 68): magenta top-left and bottom-right, black elsewhere, background outside.
    EXPECT_EQ(image.pixel(80, 80), qRgb(255, 0, 255));
    EXPECT_EQ(image.pixel(120, 120), qRgb(255, 0, 255));
    EXPECT_EQ(image.pixel(120, 80), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(80, 120), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(60, 100), backgroundColour());
    EXPECT_EQ(image.pixel(100, 140), backgroundColour());

    view->setEnabled(false);
    image = view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(80, 80), backgroundColour());
    view->setEnabled(true);
    view->setShader(nullptr);
    image = view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(100, 100), backgroundColour());
}

} // namespace
