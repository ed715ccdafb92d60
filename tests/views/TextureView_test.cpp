// The texture view in a real widget tree, and map views drawing the textures it shares, read back
// with grabFramebuffer.
#include <QApplication>
#include <QImage>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <array>
#include <cstring>
#include <vector>

#include "ViewFixture.h"
#include "ConsoleCapture.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureUpload.h"
#include "views/TextureView.h"
#include "render/ColorScheme.h"

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

// ---- Beside map views ------------------------------------------------------------------------

// A map window over one box in front of the camera view's eye, and a texture view of its own.
class TextureViewBesideMapViews : public ViewSettingsFixture {
protected:
    void SetUp() override {
        ViewSettingsFixture::SetUp();
        plainMapViews();
        settings().TextureFilter = false; // nearest texels: filters show as pure colours
        settings().AnisotropicFilter = false;
        g_mainWindow->textureFilterWord = -1;
    }
    void TearDown() override {
        delete textureView;
        closeMapWindow(window, &doc);
        if (stripes.glName) Tex_DeleteImageData(&stripes);
        g_mainWindow->textureFilterWord = -1;
        ViewSettingsFixture::TearDown();
    }
    // The box's x = 100 face fills the middle of the camera view, one texel per unit.
    BrushRecord* open() {
        EntityRecord* world = Test_NewDocument(&doc);
        const float lo[3] = {100, -64, 0}, hi[3] = {164, 64, 128};
        BrushRecord* box = Test_Box(Map_Handle(doc.world), world, lo, hi);
        window = showMapWindow(&doc);
        camera()->renderMode = 2;
        return box;
    }
    cCanvas* camera() const { return window->views[0]; }
    QImage paintCamera() {
        camera()->needsFullRedraw = true;
        return camera()->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    }
    void showTextureView(ShaderRecord* shader) {
        textureView = new cTextureView;
        textureView->resize(200, 200);
        textureView->show();
        QApplication::processEvents();
        textureView->setShader(shader);
        textureView->grabFramebuffer();
    }
    // A 16 x 16 mipmapped texture of one-texel black and white columns, uploaded as packages are.
    ShaderRecord* stripesTexture() {
        std::vector<uint8_t> pixels(16 * 16 * 4);
        for (size_t i = 0; i < pixels.size(); i += 4) {
            const uint8_t v = ((i / 4) % 2) ? 255 : 0;
            pixels[i] = pixels[i + 1] = pixels[i + 2] = v;
            pixels[i + 3] = 255;
        }
        stripes.width = stripes.height = 16;
        stripes.bytesPerPixel = 4;
        stripes.format = stripes.compressedFormat = GL_RGBA;
        if (!Tex_UploadImageData(&stripes, pixels.data())) return nullptr;
        std::strncpy(stripesShader.name, "test/stripes", sizeof stripesShader.name - 1);
        stripesShader.width = stripesShader.height = 16;
        stripesShader.image = &stripes;
        stripesShader.refCount = 1; // the fixture's own: the faces' releases never free it
        return &stripesShader;
    }
    // The middle of the face, off the view's centre lines.
    static QRect faceMiddle(const QImage& image) {
        return QRect(image.width() / 2 + 10, image.height() / 2 + 10, 40, 30);
    }

    MapDocument doc;
    cChildWindow* window = nullptr;
    cTextureView* textureView = nullptr;
    TextureImage stripes{};
    ShaderRecord stripesShader;
};

// Nearest filtering keeps every texel black or white; the texture view's own linear filters on the
// same texture must not show through.
TEST_F(TextureViewBesideMapViews, MapViewFiltersHoldAfterTheTextureViewDrewTheTexture) {
    BrushRecord* box = open();
    ShaderRecord* shader = stripesTexture();
    if (!shader) GTEST_SKIP() << "no OpenGL";
    for (FaceRecord* f = box->firstFace; f; f = f->next) {
        f->texture = shader;
        ++shader->refCount;
    }
    // Pixels of the face's middle that are black, white and neither.
    auto shades = [](const QImage& image) {
        std::array<int, 3> count{};
        const QRect r = faceMiddle(image);
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const int v = qRed(image.pixel(x, y));
                ++count[v <= 8 ? 0 : v >= 247 ? 1 : 2];
            }
        return count;
    };
    const QImage before = paintCamera();
    const std::array<int, 3> shown = shades(before);
    ASSERT_GT(shown[0], 0);
    ASSERT_GT(shown[1], 0);
    ASSERT_EQ(shown[2], 0);
    showTextureView(shader);
    const QImage after = paintCamera();
    EXPECT_EQ(shades(after)[2], 0);
    EXPECT_EQ(after.copy(faceMiddle(after)), before.copy(faceMiddle(before)));
}

// Faces without a texture of their own show the "notexture" checkerboard, whether or not a texture
// view or browser ever drew it.
TEST_F(TextureViewBesideMapViews, NoTextureFacesDrawTheSameWhoeverUploadedIt) {
    ShaderRecord* noTexture = Tex_CreateNoTexture();
    Tex_DeleteImageData(noTexture->image); // as in a run where nothing has drawn it yet
    BrushRecord* box = open();
    ASSERT_EQ(box->firstFace->texture, noTexture);
    const QImage before = paintCamera();
    showTextureView(noTexture);
    if (!noTexture->image->glName) GTEST_SKIP() << "no OpenGL";
    const QImage after = paintCamera();
    const QRect middle = faceMiddle(before);
    EXPECT_EQ(before.copy(middle), after.copy(middle));
    bool magenta = false, black = false;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x) {
            magenta |= before.pixel(x, y) == qRgb(255, 0, 255);
            black |= before.pixel(x, y) == qRgb(0, 0, 0);
        }
    EXPECT_TRUE(magenta && black);
}

} // namespace
