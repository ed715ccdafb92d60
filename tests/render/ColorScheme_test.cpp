#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "render/ColorScheme.h"
#include "views/CustomColorsDialog.h"

namespace {

class ColorSchemeTest : public ::testing::Test {
protected:
    void SetUp() override { Color_ResetTables(); }
    void TearDown() override { Color_ResetTables(); }
    // An INI file holding the text.
    QString ini(const char* text) {
        const QString path = dir.filePath(QStringLiteral("KDKSettings.ini"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
        return path;
    }
    static QColor rgba(int r, int g, int b, int a = 255) { return QColor(r, g, b, a); }
    QTemporaryDir dir;
};

TEST_F(ColorSchemeTest, DefaultsAndTheCustomTableDifferInRows27And28Only) {
    EXPECT_EQ(Color_GetQColor(COLOR_2D_GRID_MAJOR), rgba(100, 100, 100));
    EXPECT_EQ(Color_GetQColor(COLOR_CAMERA_RANDOM_MAX), rgba(0, 255, 255));
    for (int i = 0; i < COLOR_COUNT; ++i) {
        EXPECT_EQ(Color_Table()[i].key, i);
        if (i == COLOR_TEXBROWSER_TEXT_SELECTED || i == COLOR_SHADEREDIT_BACKGROUND) continue;
        EXPECT_EQ(Color_CustomTable()[i].colour, Color_Table()[i].colour) << i;
    }
    EXPECT_EQ(Color_CustomTable()[27].colour, rgba(255, 255, 0));
    EXPECT_EQ(Color_CustomTable()[28].colour, rgba(100, 100, 100));
}

TEST_F(ColorSchemeTest, AccessorsForMissingKeys) {
    uint8_t buffer[4] = {9, 9, 9, 9};
    EXPECT_EQ(Color_FillRGBA(buffer, 99), buffer);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 4), (std::vector<uint8_t>{0, 0, 0, 255}));
    const uint8_t* shared = Color_GetRGBA(99);
    EXPECT_EQ(std::vector<uint8_t>(shared, shared + 4), (std::vector<uint8_t>{0, 0, 0, 0}));
    const float* f = Color_GetFloat(-1);
    EXPECT_EQ(f[3], 0.0f);
    EXPECT_EQ(Color_GetQColor(55), rgba(0, 0, 0));
    EXPECT_TRUE(Color_GetName(55).isEmpty());
    EXPECT_EQ(Color_GetName(COLOR_CAPTION), QStringLiteral("Caption"));
    f = Color_GetFloat(COLOR_ACTIVE_TEXT);
    EXPECT_FLOAT_EQ(f[0], 1.0f);
    EXPECT_FLOAT_EQ(f[2], 100.0f / 255.0f);
}

TEST_F(ColorSchemeTest, LoadedTexts) {
    QSettings s(ini("[ColorScheme0]\nTitle=One\nCOLOR_2D_BACKGROUND=300 -5 20\nCOLOR_TEXT=10 20 30 128\n"
                    "COLOR_CAPTION=255 0\nCOLOR_2D_GRID_AXIS=a b c\n"),
                QSettings::IniFormat);
    s.beginGroup(QStringLiteral("ColorScheme0"));
    Color_LoadScheme(s);
    s.endGroup();
    EXPECT_EQ(Color_GetQColor(COLOR_2D_BACKGROUND), rgba(255, 0, 20));
    EXPECT_EQ(Color_GetQColor(COLOR_TEXT), rgba(10, 20, 30, 128));
    EXPECT_EQ(Color_GetQColor(COLOR_CAPTION), rgba(255, 0, 0));
    EXPECT_EQ(Color_GetQColor(COLOR_2D_GRID_AXIS), rgba(0, 0, 0));
    // A key missing from the group turns its row opaque black.
    EXPECT_EQ(Color_GetQColor(COLOR_2D_GRID_MAJOR), rgba(0, 0, 0));
    EXPECT_EQ(Color_ToText(Color_GetQColor(COLOR_TEXT)), QStringLiteral("10 20 30 128"));
    EXPECT_EQ(Color_ToText(rgba(1, 2, 3)), QStringLiteral("1 2 3"));
}

TEST_F(ColorSchemeTest, SavedCustomSchemeReadsBackTheSame) {
    QList<QColor> colours;
    for (int i = 0; i < COLOR_COUNT; ++i)
        colours.append(rgba(i, 2 * i, 3 * i, i == 5 ? 77 : 255));
    Color_StoreCustomScheme(colours);
    const QString path = ini("");
    {
        QSettings s(path, QSettings::IniFormat);
        s.beginGroup(QStringLiteral("ColorSchemeCustom"));
        Color_SaveCustomScheme(s);
    }
    QSettings s(path, QSettings::IniFormat);
    EXPECT_EQ(s.value(QStringLiteral("ColorSchemeCustom/Title")).toString(), QStringLiteral("Custom"));
    EXPECT_EQ(s.value(QStringLiteral("ColorSchemeCustom/COLOR_2D_VERTEX")).toString(),
              QStringLiteral("6 12 18"));
    EXPECT_EQ(s.value(QStringLiteral("ColorSchemeCustom/COLOR_2D_SELECTION")).toString(),
              QStringLiteral("5 10 15 77"));
    Color_ResetTables();
    Color_ChooseStartupScheme(s, -1);
    for (int i = 0; i < COLOR_COUNT; ++i)
        EXPECT_EQ(Color_Table()[i].colour, colours[i]) << i;
}

TEST_F(ColorSchemeTest, StartupChoice) {
    struct Case {
        const char* file;
        int scheme;
        int key;
        QColor expected;
    } cases[] = {
        // Only a title: every colour opaque black.
        {"[ColorScheme2]\nTitle=Dark\n", 2, COLOR_2D_GRID_MAJOR, QColor(0, 0, 0)},
        // No such group: the defaults stay.
        {"[ColorScheme0]\nTitle=A\n", 7, COLOR_2D_GRID_MAJOR, QColor(100, 100, 100)},
        // The custom scheme without a custom group: the built-in custom colours.
        {"", -1, COLOR_SHADEREDIT_BACKGROUND, QColor(100, 100, 100)},
        {"", -1, COLOR_TEXBROWSER_TEXT_SELECTED, QColor(255, 255, 0)},
        // A group without "Title" is not a scheme.
        {"[ColorScheme1]\nCOLOR_2D_GRID_MAJOR=1 2 3\n", 1, COLOR_2D_GRID_MAJOR, QColor(100, 100, 100)},
    };
    for (const Case& c : cases) {
        Color_ResetTables();
        QSettings s(ini(c.file), QSettings::IniFormat);
        Color_ChooseStartupScheme(s, c.scheme);
        EXPECT_EQ(Color_GetQColor(c.key), c.expected) << c.file << " scheme " << c.scheme;
    }
}

TEST_F(ColorSchemeTest, ListWidgetRowsCarryTheirIndex) {
    QListWidget list;
    list.addItem(QStringLiteral("old"));
    Color_FillListWidget(&list);
    ASSERT_EQ(list.count(), COLOR_COUNT);
    EXPECT_EQ(list.item(47)->text(), QStringLiteral("Cordon Bounds Line"));
    EXPECT_EQ(list.item(47)->data(Qt::UserRole).toInt(), 47);
}

} // namespace
