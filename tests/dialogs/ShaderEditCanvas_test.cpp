#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include <cmath>

#include "../mainwindow/WindowFixture.h"
#include "ConsoleCapture.h"
#include "dialogs/editing/ShaderEditCanvas.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "dialogs/editing/ShaderEditScript.h"
#include "TextPixels.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureRecords.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"
#include "render/GLFormat.h"

namespace {

// A 32-bit TGA, rows from the top, of one colour or of a left half with alpha 0.
QByteArray tga(int width, int height, QRgb colour, bool clearLeftHalf = false) {
    QByteArray f(18, 0);
    f[2] = 2;
    f[12] = char(width & 0xFF);
    f[13] = char(width >> 8);
    f[14] = char(height & 0xFF);
    f[15] = char(height >> 8);
    f[16] = 32;
    f[17] = 0x28;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            f.append(char(qBlue(colour)));
            f.append(char(qGreen(colour)));
            f.append(char(qRed(colour)));
            f.append(char(clearLeftHalf && x < width / 2 ? 0 : 255));
        }
    return f;
}

const char kScript[] = "textures/test/solid\n{\n\t{\n\t\tmap textures/test/red.tga\n\t}\n}\n"
                       "textures/test/add\n{\n\t{\n\t\tmap textures/test/red.tga\n\t}\n"
                       "\t{\n\t\tmap textures/test/blue.tga\n\t\tblendFunc add\n\t}\n}\n"
                       "textures/test/anim\n{\n\t{\n\t\tanimMap 1 textures/test/red.tga "
                       "textures/test/green.tga\n\t}\n}\n"
                       "textures/test/wave\n{\n\t{\n\t\tmap textures/test/white.tga\n"
                       "\t\trgbGen wave sawtooth 0 1 0 1\n\t}\n}\n"
                       "textures/test/big\n{\n\t{\n\t\tmap textures/test/big.tga\n\t}\n}\n"
                       "textures/test/small\n{\n\t{\n\t\tmap textures/test/small.tga\n\t}\n}\n";

const QColor kBackground(0, 0, 64);
const QColor kText(255, 255, 0);
const QColor kError(0, 255, 255);

// The program's window on a game folder with generated images and one effect script, and a
// 400 x 400 preview of its own beside the dialog's.
class ShaderEditCanvasTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeFile("game/baseq3/textures/test/red.tga", tga(8, 8, qRgb(255, 0, 0)));
        writeFile("game/baseq3/textures/test/green.tga", tga(8, 8, qRgb(0, 255, 0)));
        writeFile("game/baseq3/textures/test/blue.tga", tga(8, 8, qRgb(0, 0, 255)));
        writeFile("game/baseq3/textures/test/white.tga", tga(8, 8, qRgb(255, 255, 255)));
        writeFile("game/baseq3/textures/test/big.tga", tga(1024, 512, qRgb(0, 255, 0)));
        writeFile("game/baseq3/textures/test/small.tga", tga(32, 32, qRgb(0, 255, 0), true));
        writeFile("game/baseq3/scripts/test.shader", kScript);
        writeFile("base/KDKGameCfg.ini",
                  QStringLiteral("[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\n"
                                 "GameBasedir=%1\nParcel0=%2\n")
                      .arg(path("game/baseq3"), path("game/baseq3/scripts/test.shader"))
                      .toUtf8());
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        ASSERT_NE(window->openFile(kSampleMap), nullptr);
        window->settings.Antialiasing = false;
        Color_Table()[COLOR_SHADEREDIT_BACKGROUND].colour = kBackground;
        Color_Table()[COLOR_SHADEREDIT_TEXT].colour = kText;
        Color_Table()[COLOR_SHADEREDIT_ERROR].colour = kError;
        View_PinShaderClock(0.25);
        canvas = std::make_unique<cShaderEditCanvas>(View_CanvasFormat(), nullptr);
        canvas->resize(400, 400);
        canvas->show();
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
    }
    void TearDown() override {
        canvas.reset();
        window.reset();
        View_PinShaderClock(-1);
        Color_ResetTables();
        cWindowFixture::TearDown();
    }
    ShaderRecord* effect(const char* name) const { return Tex_FindShader(&window->textures, name); }
    QImage frame() { return canvas->grabFramebuffer().convertToFormat(QImage::Format_RGB32); }
    static bool near(QRgb pixel, const QColor& want, int tolerance = 3) {
        return std::abs(qRed(pixel) - want.red()) <= tolerance &&
               std::abs(qGreen(pixel) - want.green()) <= tolerance &&
               std::abs(qBlue(pixel) - want.blue()) <= tolerance;
    }
    static int countNear(const QImage& image, const QRect& area, const QColor& want) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += near(image.pixel(x, y), want, 8);
        return n;
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(canvas.get(), &event);
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
    std::unique_ptr<cShaderEditCanvas> canvas;
};

const QColor kRed(255, 0, 0);

} // namespace

// Every triangle of every shape faces the way its vertex normals point (back faces are culled),
// and the normals have length 1.
TEST(ShaderEditShapes, WindingAgreesWithTheNormals) {
    static EffectVertex vertices[kPreviewMaxVertices];
    static uint16_t indices[kPreviewMaxIndices];
    for (int n = 0; n < kPreviewShapeCount; ++n) {
        SCOPED_TRACE(PreviewShapes[n].name);
        ASSERT_TRUE(Preview_BuildShape(n, vertices, indices));
        const int count = PreviewShapes[n].vertexCount;
        for (int i = 0; i < count; ++i) {
            const float* v = vertices[i].normal;
            ASSERT_NEAR(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]), 1.0f, 1e-4f) << i;
            ASSERT_EQ(vertices[i].vertexColor[0] & vertices[i].vertexColor[3], 255);
        }
        int faced = 0;
        for (int t = 0; t < PreviewShapes[n].indexCount; t += 3) {
            const float* a = vertices[indices[t]].xyz;
            const float* b = vertices[indices[t + 1]].xyz;
            const float* c = vertices[indices[t + 2]].xyz;
            ASSERT_LT(std::max({indices[t], indices[t + 1], indices[t + 2]}), count);
            const float e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
            const float e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
            const float g[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                                e1[0] * e2[1] - e1[1] * e2[0]};
            if (std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]) < 1e-3f) continue; // a pole
            float d = 0.0f;
            for (int k = 0; k < 3; ++k)
                for (int j = 0; j < 3; ++j)
                    d += g[k] * vertices[indices[t + j]].normal[k];
            EXPECT_GT(d, 0.0f) << "triangle " << t / 3;
            ++faced;
        }
        EXPECT_GT(faced, PreviewShapes[n].indexCount / 3 - 70);
    }
    EXPECT_FALSE(Preview_BuildShape(5, vertices, indices));
}

TEST_F(ShaderEditCanvasTest, ASolidEffectOnThePlaneFillsTheCentre) {
    ASSERT_NE(effect("test/solid"), nullptr);
    canvas->showEffect(effect("test/solid"));
    const QImage image = frame();
    ASSERT_EQ(image.size(), QSize(400, 400));
    EXPECT_TRUE(near(image.pixel(200, 200), kRed));
    EXPECT_TRUE(near(image.pixel(20, 200), kBackground));
    EXPECT_TRUE(near(image.pixel(200, 380), kBackground));
    // The plane's edges on the middle row and column.
    int first = -1, last = -1, top = -1, bottom = -1;
    for (int x = 0; x < 400; ++x)
        if (near(image.pixel(x, 200), kRed)) {
            if (first < 0) first = x;
            last = x;
        }
    for (int y = 30; y < 400; ++y)
        if (near(image.pixel(200, y), kRed)) {
            if (top < 0) top = y;
            bottom = y;
        }
    EXPECT_NEAR(first, 48, 1);
    EXPECT_NEAR(last + 1, 352, 1);
    EXPECT_NEAR(top, 48, 1);
    EXPECT_NEAR(bottom + 1, 352, 1);
    EXPECT_TRUE(canvas->frameTimer.isActive());
    EXPECT_EQ(canvas->frameTimer.interval(), 40);
}

TEST_F(ShaderEditCanvasTest, EveryShapeShowsTheEffectAndCountsItsTriangles) {
    const struct {
        int shape;
        int triangles;
    } cases[] = {{0, 128}, {1, 768}, {2, 576}, {3, 2048}, {4, 2464}};
    canvas->showEffect(effect("test/solid"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape);
        canvas->setShape(c.shape);
        EXPECT_EQ(canvas->indexCount / 3, c.triangles);
        const QImage image = frame();
        EXPECT_TRUE(near(image.pixel(200, 200), kRed));
        // The name at the left and the count at the right of the top line.
        EXPECT_GT(Text_CountPixels(image, QRect(8, 2, 80, 18), kText), 10);
        EXPECT_GT(Text_CountPixels(image, QRect(300, 2, 92, 18), kText), 10);
        EXPECT_EQ(Text_CountPixels(image, QRect(392, 2, 8, 18), kText), 0);
    }
}

TEST_F(ShaderEditCanvasTest, AnAdditiveSecondStageBlends) {
    canvas->showEffect(effect("test/add"));
    EXPECT_TRUE(near(frame().pixel(200, 200), QColor(255, 0, 255)));
}

TEST_F(ShaderEditCanvasTest, FramesAndWavesFollowThePinnedClock) {
    canvas->showEffect(effect("test/anim"));
    View_PinShaderClock(0.25);
    EXPECT_TRUE(near(frame().pixel(200, 200), kRed));
    View_PinShaderClock(1.25);
    EXPECT_TRUE(near(frame().pixel(200, 200), QColor(0, 255, 0)));
    canvas->showEffect(effect("test/wave"));
    View_PinShaderClock(0.25);
    EXPECT_NEAR(qRed(frame().pixel(200, 200)), 64, 4);
    View_PinShaderClock(0.5);
    EXPECT_NEAR(qRed(frame().pixel(200, 200)), 128, 4);
}

TEST_F(ShaderEditCanvasTest, WireframeIsWhiteAndNormalsBlue) {
    canvas->showEffect(effect("test/solid"));
    const QRect inside(60, 60, 280, 280);
    EXPECT_EQ(countNear(frame(), inside, QColor(255, 255, 255)), 0);
    canvas->viewFlags |= PreviewFlag::Wireframe;
    // The grid line down the middle column.
    EXPECT_GT(countNear(frame(), QRect(197, 100, 6, 40), QColor(255, 255, 255)), 30);
    canvas->viewFlags &= ~PreviewFlag::Wireframe;
    EXPECT_EQ(countNear(frame(), inside, QColor(0, 0, 255)), 0);
    canvas->viewFlags |= PreviewFlag::Normals;
    canvas->yaw = 30.0f;
    canvas->setupModelview();
    EXPECT_GT(countNear(frame(), inside, QColor(0, 0, 255)), 40);
}

TEST_F(ShaderEditCanvasTest, ImagesAreScaledToFitAndShowMagentaWhereTheAlphaTestFails) {
    const struct {
        const char* effect;
        QRect quad;
    } cases[] = {{"test/big", QRect(48, 124, 304, 152)}, {"test/small", QRect(184, 184, 32, 32)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.effect);
        ShaderRecord* shown = effect(c.effect);
        ASSERT_NE(shown, nullptr);
        ASSERT_NE(shown->stages, nullptr);
        canvas->showImage(shown->stages->frames[0]);
        EXPECT_FALSE(canvas->frameTimer.isActive());
        const QImage image = frame();
        QRect covered;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                if (near(image.pixel(x, y), QColor(0, 255, 0)) ||
                    near(image.pixel(x, y), QColor(255, 0, 255)))
                    covered |= QRect(x, y, 1, 1);
        EXPECT_NEAR(covered.left(), c.quad.left(), 1);
        EXPECT_NEAR(covered.top(), c.quad.top(), 1);
        EXPECT_NEAR(covered.width(), c.quad.width(), 1);
        EXPECT_NEAR(covered.height(), c.quad.height(), 1);
    }
    // The small image's transparent left half.
    const QImage image = frame();
    EXPECT_TRUE(near(image.pixel(190, 200), QColor(255, 0, 255)));
    EXPECT_TRUE(near(image.pixel(210, 200), QColor(0, 255, 0)));
    EXPECT_GT(Text_CountPixels(image, QRect(8, 2, 120, 18), kText), 10); // "32 x 32 x 4"
}

TEST_F(ShaderEditCanvasTest, AFlickKeepsTurningPressStopsZoomIsClamped) {
    canvas->showEffect(effect("test/solid"));
    frame();
    mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {110, 100}, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {120, 100}, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {130, 100}, Qt::LeftButton, Qt::NoButton);
    const float k = float(window->settings.Sensitivity);
    EXPECT_FLOAT_EQ(canvas->yaw, 20 * k * 0.05f);
    // The rate of the last step: from the position before the last one to the release.
    EXPECT_FLOAT_EQ(canvas->yawRate, 20 * k * 0.4f);
    // A second later the shape has turned on by the rate.
    const float before = canvas->yaw;
    View_PinShaderClock(1.25);
    frame();
    EXPECT_NEAR(std::fmod(canvas->yaw - before + 720.0f, 360.0f), std::fmod(canvas->yawRate, 360.0f), 0.01f);
    mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(canvas->yawRate, 0.0f);
    // Without auto-rotation the flick leaves the shape where it was dragged.
    canvas->viewFlags &= ~PreviewFlag::Spin;
    mouse(QEvent::MouseMove, {110, 100}, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {130, 100}, Qt::LeftButton, Qt::NoButton);
    const float dragged = canvas->yaw;
    View_PinShaderClock(3.0);
    frame();
    EXPECT_EQ(canvas->yaw, dragged);
    // Right-button drags zoom, between 1 and 448 units.
    for (const auto& [from, to, want] : {std::tuple{0, 5000, 1.0f}, std::tuple{5000, 0, 448.0f}}) {
        mouse(QEvent::MouseButtonPress, {200, from}, Qt::RightButton, Qt::RightButton);
        mouse(QEvent::MouseMove, {200, to}, Qt::NoButton, Qt::RightButton);
        mouse(QEvent::MouseButtonRelease, {200, to}, Qt::RightButton, Qt::NoButton);
        EXPECT_EQ(canvas->distance, want);
    }
}

// The camera distance divides by 2 - 192/size: a view of 96 pixels or less would put the camera
// at infinity or behind the shape.
TEST_F(ShaderEditCanvasTest, SmallViewsKeepAFiniteCameraDistance) {
    for (int size : {400, 97, 96, 60, 1}) {
        SCOPED_TRACE(size);
        canvas->width = canvas->height = size;
        canvas->setupProjection();
        EXPECT_TRUE(std::isfinite(canvas->distance));
        EXPECT_GT(canvas->distance, 32.0f);
        EXPECT_LE(canvas->distance, 128.0f);
    }
}

// The dialog's preview shows the build result line in the error colour only after a failed build.
TEST_F(ShaderEditCanvasTest, TheStatusLineShowsAFailedBuild) {
    cShaderEditDialog* dialog = window->shaderEditDialog;
    ASSERT_NE(dialog->preview, nullptr);
    dialog->setShader(QStringLiteral("test/solid"), QStringLiteral("(All Textures)"));
    dialog->show();
    QApplication::processEvents();
    ASSERT_EQ(dialog->currentEffect, effect("test/solid"));
    cShaderEditCanvas* preview = dialog->preview;
    auto errorPixels = [&] {
        const QImage image = preview->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        return Text_CountPixels(image, QRect(0, image.height() - 24, image.width() / 2, 24), kError);
    };
    EXPECT_EQ(preview->effect, dialog->currentEffect);
    dialog->script->setPlainText(QStringLiteral("{\n\tcull none\n\tbogusCommand 1\n}\n"));
    dialog->buildScript(false, true);
    EXPECT_EQ(errorPixels(), 0);
    dialog->buildScript(false, false);
    EXPECT_TRUE(preview->statusText.startsWith(QStringLiteral("BUILD FAILED: ")));
    EXPECT_GT(errorPixels(), 10);
    dialog->hide();
}
