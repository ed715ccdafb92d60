// The texture browser's grid without GL: cell places, row breaks and total heights for chosen
// widths and scale modes, the current texture's row, and what a click at a point picks.
#include <gtest/gtest.h>

#include <QSurfaceFormat>
#include <cstring>
#include <memory>
#include <vector>

#include "ConsoleCapture.h"
#include "dialogs/editing/TextureBrowser.h"
#include "gamedata/TextureLists.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureRecords.h"
#include "mainwindow/MainWindow.h"

namespace {

struct Place {
    int x, y;
};

class TextureBrowserLayout : public ::testing::Test {
protected:
    void SetUp() override {
        GameConfigManager& m = g_mainWindow->gameConfigs;
        savedConfig = m.current;
        savedLists = m.currentTextureLists;
        m.current = &config;
        m.currentTextureLists = &lists;
        // Keys sort A/ONE, A/TWO, B/FOUR, B/THREE.
        one = add("a/one", 64, 32, 20, "a");
        two = add("a/two", 128, 128, 20, "a");
        three = add("b/three", 32, 32, 100, "b"); // a long name: its column is wider than the image
        four = add("b/four", 512, 256, 20, "b");
        browser = std::make_unique<cTextureBrowser>(nullptr, QSurfaceFormat::defaultFormat(), nullptr);
        L = browser->lineHeight;
        ASSERT_GT(L, 0);
    }
    void TearDown() override {
        browser.reset();
        g_mainWindow->gameConfigs.current = savedConfig;
        g_mainWindow->gameConfigs.currentTextureLists = savedLists;
    }
    // The caption width is the record's cache, set here so the places do not hang on fonts.
    ShaderRecord* add(const char* name, int w, int h, int caption, const char* group) {
        auto shader = std::make_unique<ShaderRecord>();
        std::strncpy(shader->name, name, sizeof shader->name - 1);
        shader->width = w;
        shader->height = h;
        shader->refCount = 1;
        shader->captionWidth = caption;
        shader->image = &image;
        lists.entries.insert(QString::fromLatin1(name).toUpper(),
                             {QString::fromLatin1(group), nullptr, shader.get()});
        shaders.push_back(std::move(shader));
        return shaders.back().get();
    }
    void layOut(int width, int height, int mode) {
        browser->resize(width, height);
        browser->viewWidth = width;
        browser->viewHeight = height;
        browser->setScaleMode(mode);
    }
    std::vector<std::pair<ShaderRecord*, Place>> places() {
        std::vector<std::pair<ShaderRecord*, Place>> out;
        const TextureCellWalkInput in = browser->walkInput();
        cTextureCellWalk walk(in);
        while (walk.next())
            out.push_back({walk.cell().shader, {walk.cell().x, walk.cell().y}});
        return out;
    }

    cConsoleCapture console; // and the main window whose configuration manager is borrowed
    GameConfig config;
    TextureLists lists;
    TextureImage image{};
    std::vector<std::unique_ptr<ShaderRecord>> shaders;
    ShaderRecord *one = nullptr, *two = nullptr, *three = nullptr, *four = nullptr;
    std::unique_ptr<cTextureBrowser> browser;
    int L = 0;
    GameConfig* savedConfig = nullptr;
    TextureLists* savedLists = nullptr;
};

TEST_F(TextureBrowserLayout, CellsRowsAndHeights) {
    struct Case {
        const char* what;
        int width, mode, flags;
        QString group, filter;
        std::vector<ShaderRecord*> shown;
        std::vector<Place> at; // with L = 0; each row adds L above the next
        std::vector<int> rowsAbove;
        int height; // plus rows x L
        int rows;
    };
    auto run = [&](const Case& c) {
        layOut(c.width, 400, c.mode);
        browser->setGroup(c.group.isEmpty() ? QStringLiteral("(All Textures)") : c.group);
        browser->setFilter(c.filter);
        browser->setFlags(c.flags);
        const auto got = places();
        ASSERT_EQ(got.size(), c.shown.size()) << c.what;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].first, c.shown[i]) << c.what << " cell " << i;
            EXPECT_EQ(got[i].second.x, c.at[i].x) << c.what << " cell " << i;
            EXPECT_EQ(got[i].second.y, c.at[i].y + c.rowsAbove[i] * L) << c.what << " cell " << i;
        }
        EXPECT_EQ(browser->layoutHeight(), c.height + c.rows * L) << c.what;
    };
    const Case cases[] = {
        // 1:1 at 300 pixels: the 512-wide texture and the long name each start a row.
        {"1:1",
         300,
         1,
         0,
         {},
         {},
         {one, two, four, three},
         {{8, 8}, {80, 8}, {8, 148}, {8, 416}},
         {0, 0, 1, 2},
         460,
         3},
        // Every cell a 128 box; the long caption (100 + 4) still fits the box.
        {"128 x 128",
         300,
         6,
         0,
         {},
         {},
         {one, two, four, three},
         {{8, 8}, {144, 8}, {8, 148}, {144, 148}},
         {0, 0, 1, 1},
         288,
         2},
        // Twice the size in one wide row, as tall as the tallest cell.
        {"2:1",
         2000,
         0,
         0,
         {},
         {},
         {one, two, four, three},
         {{8, 8}, {144, 8}, {408, 8}, {1440, 8}},
         {0, 0, 0, 0},
         532,
         1},
        // A quarter: 16x8, 32x32, 128x64, 8x8 (the long name's column is 104 wide).
        {"1:4",
         300,
         3,
         0,
         {},
         {},
         {one, two, four, three},
         {{8, 8}, {40, 8}, {80, 8}, {8, 84}},
         {0, 0, 0, 1},
         104,
         2},
        {"group b", 300, 6, 0, "b", {}, {four, three}, {{8, 8}, {144, 8}}, {0, 0}, 148, 1},
        {"filter", 300, 6, 0, {}, "three;two", {two, three}, {{8, 8}, {144, 8}}, {0, 0}, 148, 1},
        {"nothing passes", 300, 6, 0, {}, "zzz", {}, {}, {}, 8, 0},
    };
    for (const Case& c : cases)
        run(c);
}

TEST_F(TextureBrowserLayout, OnlyUsedTexturesShrinkTheGrid) {
    layOut(300, 400, 6);
    const int all = browser->layoutHeight();
    ++two->refCount; // bound to one face
    browser->setFlags(TextureBrowserFlag::OnlyUsed);
    EXPECT_EQ(places().size(), 1u);
    EXPECT_EQ(browser->layoutHeight(), 8 + 128 + L + 12);
    EXPECT_LT(browser->layoutHeight(), all);
    // An image is needed to be shown at all.
    browser->setFlags(0);
    two->image = nullptr;
    browser->invalidateLayout();
    EXPECT_EQ(places().size(), 3u);
}

TEST_F(TextureBrowserLayout, TheCurrentTexturesRow) {
    layOut(300, 400, 1);
    struct Case {
        ShaderRecord* current;
        int top, rowsAbove, height; // height: tallest cell so far + L + 12
    } cases[] = {
        {one, 8, 0, 32 + 12}, // the taller cell after it does not count yet
        {two, 8, 0, 128 + 12},
        {four, 148, 1, 256 + 12},
        {three, 416, 2, 32 + 12},
    };
    for (const Case& c : cases) {
        browser->setCurrent(c.current);
        int top = -1, height = -1;
        ASSERT_TRUE(browser->currentCellPosition(&top, &height)) << c.current->name;
        EXPECT_EQ(top, c.top + c.rowsAbove * L) << c.current->name;
        EXPECT_EQ(height, c.height + L) << c.current->name;
    }
    // Not shown: both outputs stay as they were.
    browser->setCurrent(nullptr);
    int top = -7, height = -9;
    EXPECT_FALSE(browser->currentCellPosition(&top, &height));
    EXPECT_EQ(top, -7);
    EXPECT_EQ(height, -9);
}

TEST_F(TextureBrowserLayout, WhatAClickPicks) {
    layOut(300, 2000, 1);
    const int total = browser->layoutHeight();
    struct Case {
        int x, y; // y before adding rows x L
        int rowsAbove;
        ShaderRecord* picked;
    } cases[] = {
        {8, 8, 0, one},       // top left corner
        {72, 8, 0, one},      // right edge: x + column width
        {73, 8, 0, nullptr},  // the gap between columns
        {7, 20, 0, nullptr},  // left margin
        {20, 44, 1, one},     // bottom edge: top + 32 + 4 + caption
        {20, 45, 1, nullptr}, // below it, beside the taller neighbour
        {80, 140, 1, two},
        {8 + 50, 416 + 10, 2, three}, // inside the long name's column, left of its image
    };
    for (const Case& c : cases) {
        bool hit = true;
        EXPECT_EQ(browser->shaderAt({c.x, c.y + c.rowsAbove * L}, &hit), c.picked) << c.x << "," << c.y;
        EXPECT_EQ(hit, c.picked != nullptr) << c.x << "," << c.y;
    }
    bool hit = true;
    EXPECT_EQ(browser->shaderAt({8, total + 5}, &hit), nullptr); // below the last row
    EXPECT_FALSE(hit);

    // Scrolled to the bottom of a 100-pixel view: the view's top row is the grid's total - 100.
    layOut(300, 100, 1);
    browser->scrollFraction = 1.0f;
    const int offset = browser->layoutHeight() - 100;
    EXPECT_EQ(browser->scrollOffset(), offset);
    EXPECT_EQ(browser->shaderAt({10, 416 + 2 * L - offset + 1}), three);
    EXPECT_EQ(browser->shaderAt({10, 8 - offset + 1}), nullptr); // scrolled out of view

    // A view of no height shows nothing to pick.
    layOut(300, 0, 1);
    browser->scrollFraction = 0.0f;
    EXPECT_EQ(browser->shaderAt({8, 8}), nullptr);
}

TEST(TextureBrowserScale, CellSizesByMode) {
    struct Case {
        int mode, w, h, cw, ch;
    } cases[] = {
        {0, 64, 32, 128, 64},  {1, 64, 32, 64, 32},   {2, 65, 33, 32, 16},
        {3, 64, 30, 16, 7},    {4, 512, 256, 32, 32}, {6, 512, 256, 128, 128},
        {6, 64, 32, 128, 128}, {7, 8, 8, 256, 256},   {12, 64, 32, 128, 64}, // any other mode: twice the size
    };
    for (const Case& c : cases) {
        int cw = 0, ch = 0;
        TextureBrowser_CellSize(c.mode, c.w, c.h, &cw, &ch);
        EXPECT_EQ(cw, c.cw) << c.mode;
        EXPECT_EQ(ch, c.ch) << c.mode;
    }
}

} // namespace
