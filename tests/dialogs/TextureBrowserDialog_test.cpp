// The texture browser in the program's window on the sample map, with solid-colour fixture
// textures of known sizes in a group of their own: what the grid shows (read back from its frame
// buffer at the places the cell walk computes), scrolling by wheel, the controls, picking and Mark.
#include <GL/gl.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "DocumentFixture.h"
#include "SampleWindowFixture.h"
#include "TextPixels.h"
#include "core/Prompt.h"
#include "dialogs/editing/TextureBrowser.h"
#include "dialogs/editing/TextureBrowserDialog.h"
#include "gamedata/TextureLists.h"
#include "document/MapSelection.h"
#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "gamedata/EffectBatch.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureUpload.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "render/ColorScheme.h"
#include "render/GLStateCache.h"

namespace {

const char* const kGroup = "zz/fixture";
const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255), kMagenta(255, 0, 255);
const QColor kOrange(255, 128, 0), kAzure(0, 128, 255);

bool near(QRgb pixel, const QColor& colour) {
    return std::abs(qRed(pixel) - colour.red()) <= 3 && std::abs(qGreen(pixel) - colour.green()) <= 3 &&
           std::abs(qBlue(pixel) - colour.blue()) <= 3;
}

QColor schemeColour(int32_t key) {
    const uint8_t* rgba = Color_GetRGBA(key);
    return QColor(rgba[0], rgba[1], rgba[2]);
}

class TextureBrowserDialogTest : public cSampleWindowFixture {
protected:
    void SetUp() override {
        cSampleWindowFixture::SetUp();
        lists = GameCfg_CurrentTextureLists();
        ASSERT_NE(lists, nullptr);
        red = add("zz/red", 64, 32, solid(64, 32, kRed));
        green = add("zz/green", 256, 256, solid(256, 256, kGreen));
        blue = add("zz/bluelongname", 32, 32, solid(32, 32, kBlue));
        blue->captionWidth = 100; // its column is wider than its image
        effect = add("zz/effect", 32, 32, solid(32, 32, kMagenta));
        // Two stages: an animation of two frames, one a second, under a transparent blended image.
        stages[0].frames[0] = solid(32, 32, kOrange);
        stages[0].frames[1] = solid(32, 32, kAzure);
        stages[0].frameCount = 2;
        stages[0].frameRate = 1.0f;
        stages[1].frames[0] = solid(32, 32, QColor(255, 255, 255, 0));
        stages[1].stateBits = int32_t(GLS::Translucent);
        for (ShaderStage& stage : stages) {
            stage.colorKind = ColorKind::Identity;
            stage.texCoordKind = TexCoordKind::Base;
        }
        stages[0].next = &stages[1];
        effect->stages = &stages[0];
        firstScaleMode = window->settings.TextureBrowserScaleMode;
        window->settings.TextureBrowserScaleMode = 1;
        window->settings.TextureBrowserAnimate = false;
        dialog = window->textureBrowserDialog;
        ASSERT_NE(dialog, nullptr);
        browser = dialog->browser;
        ASSERT_NE(browser, nullptr);
    }
    void TearDown() override {
        if (dialog) dialog->hide();
        for (TextureImage* image : images)
            Tex_DeleteImageData(image);
        // The map's faces give their references back with the window.
        cSampleWindowFixture::TearDown();
        for (TextureImage* image : images)
            delete image;
    }
    TextureImage* solid(int w, int h, const QColor& colour) {
        auto* image = new TextureImage{};
        image->width = w;
        image->height = h;
        image->format = image->compressedFormat = GL_RGBA;
        image->bytesPerPixel = 4;
        image->refCount = 1;
        std::vector<uint8_t> pixels(size_t(w) * h * 4);
        for (size_t i = 0; i < pixels.size(); i += 4) {
            pixels[i] = uint8_t(colour.red());
            pixels[i + 1] = uint8_t(colour.green());
            pixels[i + 2] = uint8_t(colour.blue());
            pixels[i + 3] = uint8_t(colour.alpha());
        }
        EXPECT_TRUE(Tex_UploadImageData(image, pixels.data()));
        images.push_back(image);
        return image;
    }
    ShaderRecord* add(const char* name, int w, int h, TextureImage* image) {
        shaders.push_back(std::make_unique<ShaderRecord>());
        ShaderRecord* shader = shaders.back().get();
        std::strncpy(shader->name, name, sizeof shader->name - 1);
        shader->width = w;
        shader->height = h;
        shader->refCount = 1;
        shader->image = image;
        lists->entries.insert(QString::fromLatin1(name).toUpper(),
                              {QString::fromLatin1(kGroup), nullptr, shader});
        return shader;
    }
    void open(const QString& name, int width = 830, int height = 576) {
        dialog->resize(width, height);
        dialog->preset(name, QLatin1String(kGroup), world);
        dialog->show();
        settle();
    }
    static void settle() {
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
    }
    QColor colourOf(const ShaderRecord* shader) const {
        if (shader == red) return kRed;
        if (shader == green) return kGreen;
        if (shader == blue) return kBlue;
        return kMagenta;
    }
    std::vector<TextureCell> cells() const {
        std::vector<TextureCell> out;
        const TextureCellWalkInput in = browser->walkInput();
        cTextureCellWalk walk(in);
        while (walk.next())
            out.push_back(walk.cell());
        return out;
    }
    // The image's rectangle in the view: the size the mode allows, centred in a wider column.
    static QRect imageRect(const TextureCell& c, int mode, int offset) {
        const int w = mode == 0 ? c.cw : std::min(c.cw, c.shader->width);
        const int h = mode == 0 ? c.ch : std::min(c.ch, c.shader->height);
        const int x = c.x + (c.cw < c.colW ? (c.colW - c.cw) / 2 : 0);
        return QRect(x, c.y - offset, w, h);
    }
    int levels() const {
        const UndoHistory* history = Map_OpHistory(world);
        int n = 0;
        for (const UndoLevel* level = history->undoChain; level; level = level->next)
            ++n;
        for (const UndoLevel* level = history->redoChain; level; level = level->next)
            ++n;
        return n;
    }

    TextureLists* lists = nullptr;
    int firstScaleMode = -1; // the window's scale mode before the fixture chose 1:1
    std::vector<std::unique_ptr<ShaderRecord>> shaders;
    std::vector<TextureImage*> images;
    ShaderStage stages[2] = {};
    ShaderRecord *red = nullptr, *green = nullptr, *blue = nullptr, *effect = nullptr;
    cTextureBrowserDialog* dialog = nullptr;
    cTextureBrowser* browser = nullptr;
};

TEST_F(TextureBrowserDialogTest, CellsShowTheirTexturesCaptionsAndTheCurrentFrame) {
    open(QStringLiteral("ZZ/RED"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Textures"));
    EXPECT_EQ(dialog->lblTextureName->text(), QStringLiteral("ZZ/RED"));
    EXPECT_EQ(dialog->lblTextureSize->text(), QStringLiteral("64 x 32"));
    EXPECT_EQ(dialog->lblTextureGroup->text(), QStringLiteral("Group: \"zz/fixture\""));
    EXPECT_EQ(browser->groupFilter, QLatin1String(kGroup));
    const QImage frame = browser->grabFramebuffer();
    const std::vector<TextureCell> shown = cells();
    ASSERT_EQ(shown.size(), 4u);
    const QColor background = schemeColour(COLOR_TEXBROWSER_BACKGROUND);
    const QColor band = schemeColour(COLOR_TEXBROWSER_TEXT_BGCOLOR);
    for (const TextureCell& c : shown) {
        const QRect r = imageRect(c, 1, 0);
        SCOPED_TRACE(c.shader->name);
        for (const QPoint& p : {r.topLeft(), r.center(), r.bottomRight()})
            EXPECT_TRUE(near(frame.pixel(p), colourOf(c.shader))) << p.x() << "," << p.y();
        // Beside the image, right of the column and below the image: the background.
        EXPECT_TRUE(near(frame.pixel(c.x + c.colW + 4, c.y + 2), background));
        if (r.height() < c.ch) {
            EXPECT_TRUE(near(frame.pixel(r.left(), r.bottom() + 2), background));
        }
        // The right end of the caption band (the name stands at its left).
        EXPECT_TRUE(near(frame.pixel(c.x + c.colW - 2, c.y + c.ch + 4 + 1), band));
    }
    // The long name's column: its image centred, the background left of it.
    const TextureCell& long_ = shown[0];
    ASSERT_EQ(long_.shader, blue);
    EXPECT_EQ(long_.colW, 104);
    EXPECT_TRUE(near(frame.pixel(long_.x + 2, long_.y + 2), background));
    EXPECT_EQ(imageRect(long_, 1, 0).left(), long_.x + 36);
    // The current texture: framed in the line colour, its name in the selected colour.
    const TextureCell& current = shown[3];
    ASSERT_EQ(current.shader, red);
    const QColor line = schemeColour(COLOR_TEXBROWSER_LINE);
    EXPECT_TRUE(near(frame.pixel(current.x - 1, current.y + 5), line));
    EXPECT_TRUE(near(frame.pixel(current.x + current.colW, current.y + 5), line));
    EXPECT_TRUE(near(frame.pixel(current.x + 5, current.y - 1), line));
    // The caption band of a cell holds text in the colour, whatever face draws it.
    auto bandHas = [&](const TextureCell& c, const QColor& colour) {
        return Text_CountPixels(frame, QRect(c.x, c.y + c.ch + 4, c.colW, browser->lineHeight), colour) > 0;
    };
    const QColor selected = schemeColour(COLOR_TEXBROWSER_TEXT_SELECTED);
    EXPECT_TRUE(bandHas(current, selected));
    EXPECT_FALSE(bandHas(shown[2], selected));
}

TEST_F(TextureBrowserDialogTest, WheelStepsScrollByTheComputedOffsets) {
    window->settings.TextureBrowserScaleMode = 0; // twice the size: taller than the view
    open(QStringLiteral("zz/red"), 500, 700);
    QScrollBar* bar = dialog->browserScroll;
    ASSERT_FALSE(bar->isHidden());
    const int total = browser->layoutHeight(), h = browser->height();
    ASSERT_GT(total, h);
    EXPECT_EQ(bar->maximum(), total * 20 / h);
    bar->setValue(0);
    auto wheel = [&](Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(50, 50), browser->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(browser, &event);
        EXPECT_TRUE(event.isAccepted());
    };
    // Each cell whose image top is in view starts exactly offset rows higher.
    auto checkTops = [&](int value) {
        const int offset = std::max(0, int(float(total - h) * (float(value) / float(bar->maximum()))));
        EXPECT_EQ(browser->scrollOffset(), offset);
        const QImage frame = browser->grabFramebuffer();
        int checked = 0;
        for (const TextureCell& c : cells()) {
            const QRect r = imageRect(c, 0, offset);
            if (r.top() < 1 || r.top() >= h - 1) continue;
            EXPECT_TRUE(near(frame.pixel(r.left() + 1, r.top()), colourOf(c.shader))) << c.shader->name;
            EXPECT_FALSE(near(frame.pixel(r.left() + 1, r.top() - 1), colourOf(c.shader))) << c.shader->name;
            ++checked;
        }
        EXPECT_GT(checked, 0);
    };
    wheel(Qt::NoModifier);
    EXPECT_EQ(bar->value(), 1);
    checkTops(1);
    wheel(Qt::ShiftModifier);
    EXPECT_EQ(bar->value(), 21);
    checkTops(21);
    // Up again by one step.
    QWheelEvent up(QPointF(50, 50), browser->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(browser, &up);
    EXPECT_EQ(bar->value(), 20);
}

TEST_F(TextureBrowserDialogTest, ScaleModeOnlyUsedAndFilterChangeTheGrid) {
    open(QStringLiteral("zz/red"));
    const int full = browser->layoutHeight();
    dialog->lstScaleMode->setCurrentIndex(6); // "128 x 128": the 256 texture shrinks
    EXPECT_EQ(dialog->lstScaleMode->currentText(), QStringLiteral("128 x 128"));
    EXPECT_EQ(window->settings.TextureBrowserScaleMode, 6);
    const int boxed = browser->layoutHeight();
    EXPECT_LT(boxed, full);
    QTest::mouseClick(dialog->cbOnlyUsed, Qt::LeftButton);
    EXPECT_LT(browser->layoutHeight(), boxed);
    EXPECT_TRUE(cells().empty()); // no map object uses a fixture texture
    QTest::mouseClick(dialog->cbOnlyUsed, Qt::LeftButton);
    EXPECT_EQ(browser->layoutHeight(), boxed);

    // Typing applies one filter, half a second after the last key.
    typeInto(dialog->lstFilter->lineEdit(), QStringLiteral("green,red"));
    QTest::qWait(200);
    EXPECT_TRUE(browser->filterText.isEmpty());
    QTest::qWait(500);
    EXPECT_EQ(browser->filterText, QStringLiteral("green,red"));
    ASSERT_EQ(cells().size(), 2u);
    EXPECT_EQ(cells()[0].shader, green);

    // The stored mode is clamped when the dialog opens.
    dialog->hide();
    for (auto [stored, shown] : {std::pair{12, 7}, std::pair{-3, 0}}) {
        window->settings.TextureBrowserScaleMode = stored;
        dialog->show();
        settle();
        EXPECT_EQ(dialog->lstScaleMode->currentIndex(), shown) << stored;
        EXPECT_EQ(browser->scaleMode, shown) << stored;
        dialog->hide();
    }
}

TEST_F(TextureBrowserDialogTest, AnimatedEffectsFollowTheClock) {
    open(QStringLiteral("zz/effect"));
    qint64 now = 1000;
    browser->setClock([&now] { return now; });
    auto colourAt = [&] {
        for (const TextureCell& c : cells())
            if (c.shader == effect)
                return QColor(browser->grabFramebuffer().pixel(imageRect(c, 1, 0).center()));
        return QColor();
    };
    EXPECT_TRUE(near(colourAt().rgb(), kMagenta)); // not animating: the editor image
    dialog->cbAnimate->setChecked(true);
    EXPECT_TRUE(window->settings.TextureBrowserAnimate);
    EXPECT_TRUE(browser->animationTimer->isActive());
    now = 1500; // first animated paint: half a second in
    browser->setClock([&now] { return now; });
    const QColor first = colourAt();
    now = 2500;
    const QColor second = colourAt();
    EXPECT_TRUE(near(first.rgb(), kOrange)) << first.name().toStdString();
    EXPECT_TRUE(near(second.rgb(), kAzure)) << second.name().toStdString();
    dialog->cbAnimate->setChecked(false);
    EXPECT_FALSE(window->settings.TextureBrowserAnimate);
    EXPECT_FALSE(browser->animationTimer->isActive());
    EXPECT_TRUE(near(colourAt().rgb(), kMagenta));
}

TEST_F(TextureBrowserDialogTest, AClickFillsTheLabelsAndADoubleClickChooses) {
    open(QString());
    EXPECT_TRUE(dialog->lblTextureSize->text().isEmpty());
    TextureCell target;
    for (const TextureCell& c : cells())
        if (c.shader == green) target = c;
    ASSERT_EQ(target.shader, green);
    const QPoint inside(target.x + 10, target.y + 10);
    QTest::mouseClick(browser, Qt::LeftButton, {}, inside);
    EXPECT_EQ(dialog->textureName, QStringLiteral("zz/green"));
    EXPECT_EQ(dialog->lblTextureName->text(), QStringLiteral("zz/green"));
    EXPECT_EQ(dialog->lblTextureSize->text(), QStringLiteral("256 x 256"));
    EXPECT_EQ(dialog->lblTextureGroup->text(), QStringLiteral("Group: \"zz/fixture\""));
    EXPECT_EQ(browser->current, green);
    // A click below the last row picks nothing and keeps the texture.
    QTest::mouseClick(browser, Qt::LeftButton, {}, QPoint(10, browser->height() - 2));
    EXPECT_EQ(dialog->textureName, QStringLiteral("zz/green"));
    EXPECT_TRUE(dialog->isVisible());

    QTest::mouseDClick(browser, Qt::LeftButton, {}, QPoint(target.x + 20, target.y + 20));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), int(QDialog::Accepted));
    EXPECT_EQ(dialog->textureName, QStringLiteral("zz/green"));
    EXPECT_EQ(dialog->groupName, QLatin1String(kGroup));
}

TEST_F(TextureBrowserDialogTest, MarkSelectsFacesOrBrushesWithoutAnUndoLevel) {
    EntityRecord* worldEntity = Map_OpWorldEntity(world);
    BrushRecord* boxes[3];
    for (int i = 0; i < 3; ++i) {
        const float lo[3] = {float(2000 + 100 * i), 0, 0}, hi[3] = {float(2064 + 100 * i), 64, 64};
        boxes[i] = Test_Box(Map_Handle(world), worldEntity, lo, hi, "zz/red");
    }
    boxes[2]->flags |= BrushFlags::Hidden;
    Map_SelectNone(world);
    const int before = levels();
    open(QStringLiteral("zz/red"));

    struct Case {
        bool faceMode;
        const char* texture;
        int count;
    } cases[] = {{false, "zz/red", 2}, {true, "zz/red", 12}, {false, "zz/green", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texture);
        if (c.faceMode) window->toolTextureApplication();
        dialog->setCurrentTexture(QLatin1String(c.texture));
        cPromptScript prompts;
        QTest::mouseClick(dialog->btnMark, Qt::LeftButton);
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_EQ(prompts.asked[0].text, c.count ? QStringLiteral("%1 objects marked.").arg(c.count)
                                                 : QStringLiteral("No objects marked."));
        EXPECT_EQ(prompts.asked[0].icon, c.count ? PromptIcon::Information : PromptIcon::Warning);
        int brushes = 0, faces = 0;
        for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
            ++brushes;
        for (FaceRecord* f = world->selectedFaces; f; f = f->selNext) {
            EXPECT_EQ(f->texture, red);
            EXPECT_NE(f->brush, boxes[2]);
            ++faces;
        }
        EXPECT_EQ(brushes + faces, c.count);
        EXPECT_EQ(faces > 0, c.faceMode && c.count > 0);
        EXPECT_FALSE(boxes[2]->flags & BrushFlags::Selected);
        EXPECT_EQ(levels(), before);
    }
}

TEST_F(TextureBrowserDialogTest, ReplaceIsOffWhenOpenedFromTheReplaceDialog) {
    auto* replace = window->findChild<QDialog*>(QStringLiteral("cTextureReplaceDialog"));
    ASSERT_NE(replace, nullptr);
    replace->show();
    open(QStringLiteral("zz/red"));
    EXPECT_FALSE(dialog->btnReplace->isEnabled());
    dialog->hide();
    replace->hide();
    dialog->show();
    settle();
    EXPECT_TRUE(dialog->btnReplace->isEnabled());
}

// Before it is laid out the browser has no height, and a grid that fits has nothing to scroll:
// neither may divide by zero.
TEST_F(TextureBrowserDialogTest, AZeroHeightBrowserAndAGridThatFitsRunClean) {
    browser->setMaximumHeight(0);
    open(QStringLiteral("zz/red"));
    EXPECT_EQ(browser->height(), 0);
    dialog->updateScrollBar();
    EXPECT_TRUE(dialog->browserScroll->isHidden());
    dialog->ensureCurrentVisible();
    EXPECT_TRUE(std::isfinite(browser->scrollFraction));
    EXPECT_TRUE(dialog->browserScroll->isHidden());
    // A bar of no range scrolls to the top.
    dialog->browserScroll->setRange(0, 0);
    dialog->scrollToPos(0);
    EXPECT_EQ(browser->scrollFraction, 0.0f);

    browser->setMaximumHeight(QWIDGETSIZE_MAX);
    dialog->resize(830, 576);
    settle();
    ASSERT_GT(browser->height(), browser->layoutHeight());
    dialog->setCurrentTexture(QStringLiteral("not/listed"));
    EXPECT_TRUE(dialog->lblTextureSize->text().isEmpty());
    browser->scrollFraction = 0.5f;
    dialog->ensureCurrentVisible();
    EXPECT_EQ(browser->scrollFraction, 0.0f);
    EXPECT_TRUE(dialog->browserScroll->isHidden());
    (void)browser->grabFramebuffer();
}

// Images known by their size alone, as a game's packages load them: one paint decodes what the
// page shows, together on the worker pool, and draws their pixels; an image of another group is
// not decoded.
TEST_F(TextureBrowserDialogTest, APageDecodesWhatItShowsTogether) {
    TextureManager& m = window->textures;
    const TextureFormatEntry* tga = nullptr;
    for (const TextureFormatEntry& f : m.textureFormats)
        if (f.extension == QLatin1String(".tga")) tga = &f;
    if (!tga || !tga->decodeJob) GTEST_SKIP() << "no Quake III plugin with the worker entry";
    QTemporaryDir dir;
    struct Lazy {
        const char* name;
        QColor colour;
        const char* group;
        TextureImage* image = nullptr;
        ShaderRecord* shader = nullptr;
    };
    Lazy lazy[] = {{"zz/lazyred", kRed, kGroup},
                   {"zz/lazygreen", kGreen, kGroup},
                   {"zz/lazyblue", kBlue, kGroup},
                   {"zz/unseen", kRed, "zz/other"}};
    for (Lazy& l : lazy) {
        // 32x32, 24 bits, top row first: blue, green, red per pixel.
        QByteArray file(18, '\0');
        file[2] = 2, file[12] = 32, file[14] = 32, file[16] = 24, file[17] = 0x20;
        for (int i = 0; i < 32 * 32; ++i)
            file.append(char(l.colour.blue())).append(char(l.colour.green())).append(char(l.colour.red()));
        const QString path = dir.filePath(QString::fromLatin1(l.name).section('/', 1) + ".tga");
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();
        l.image = Tex_UploadImage(&m, nullptr, QFile::encodeName(path).constData(), GL_RGB, 0x84ED, 3, 32, 32,
                                  1, nullptr);
        ASSERT_TRUE(m.pending.contains(l.image)) << l.name;
        l.shader = add(l.name, 32, 32, l.image);
        lists->entries[QString::fromLatin1(l.name).toUpper()].group = QString::fromLatin1(l.group);
    }
    const int32_t pooledBefore = m.pooledCount;
    open(QStringLiteral("ZZ/LAZYRED"));
    const QImage frame = browser->grabFramebuffer();
    EXPECT_EQ(m.pooledCount - pooledBefore, 3) << "the page's three, decoded together";
    EXPECT_TRUE(m.pending.contains(lazy[3].image)) << "another group's image waits";
    for (const TextureCell& c : cells()) {
        for (const Lazy& l : lazy) {
            if (c.shader != l.shader) continue;
            SCOPED_TRACE(l.name);
            EXPECT_FALSE(m.pending.contains(l.image));
            // Its own colour (through the texture gamma), not the checker or the background.
            const QRgb centre = frame.pixel(imageRect(c, 1, 0).center());
            const int own = l.colour == kRed     ? qRed(centre)
                            : l.colour == kGreen ? qGreen(centre)
                                                 : qBlue(centre);
            const int others = qRed(centre) + qGreen(centre) + qBlue(centre) - own;
            EXPECT_GT(own, 200);
            EXPECT_LT(others, 120);
        }
    }
    dialog->hide();
    for (Lazy& l : lazy) {
        l.shader->image = nullptr;
        Tex_ReleaseImage(&m, l.image);
    }
}

} // namespace

// A first opening shows a page of a real game's textures (256 and 512 pixels): the large image is
// boxed, not shown at its full size.
TEST_F(TextureBrowserDialogTest, TheFirstOpeningBoxesLargeTextures) {
    window->settings.TextureBrowserScaleMode = firstScaleMode;
    open(QStringLiteral("zz/red"));
    EXPECT_EQ(dialog->lstScaleMode->currentText(), QStringLiteral("128 x 128"));
    const QImage frame = browser->grabFramebuffer();
    int checked = 0;
    for (const TextureCell& c : cells()) {
        if (c.shader != green) continue;
        ++checked;
        EXPECT_EQ(c.cw, 128);
        EXPECT_EQ(c.ch, 128);
        const QRect r = imageRect(c, 6, 0);
        EXPECT_TRUE(near(frame.pixel(r.bottomRight()), kGreen));
        EXPECT_FALSE(near(frame.pixel(r.bottomRight() + QPoint(0, 2)), kGreen));
    }
    EXPECT_EQ(checked, 1);
}

// Cells that a filter removed leave nothing behind: every pixel outside the remaining cell is the
// background.
TEST_F(TextureBrowserDialogTest, AFilterLeavesOnlyTheBackgroundWhereCellsWere) {
    open(QStringLiteral("zz/red"));
    (void)browser->grabFramebuffer();
    typeInto(dialog->lstFilter->lineEdit(), QStringLiteral("green"));
    QTest::qWait(700);
    ASSERT_EQ(browser->filterText, QStringLiteral("green"));
    settle();
    const std::vector<TextureCell> shown = cells();
    ASSERT_EQ(shown.size(), 1u);
    const TextureCell& c = shown[0];
    const QRect kept(c.x - 2, c.y - 2, c.colW + 4, c.ch + 4 + browser->lineHeight + 4);
    const QImage frame = browser->grabFramebuffer();
    const QColor background = schemeColour(COLOR_TEXBROWSER_BACKGROUND);
    int stray = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (!kept.contains(x, y) && !near(frame.pixel(x, y), background)) {
                if (!stray) first = QPoint(x, y);
                ++stray;
            }
    EXPECT_EQ(stray, 0) << "first at " << first.x() << "," << first.y();
}
