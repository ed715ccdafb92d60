// A main window of its own, a captured console and an empty plugins folder that a test fills
// with builds of the test plugin (tests/gamedata/plugin) under the names it needs.
#pragma once

#include <QFile>
#include <QLibrary>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "gamedata/PluginManager.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PrimitiveRegistry.h"

// What the test plugin records (its kpTestState export).
struct TestPluginState {
    char enumerators[512];
    int32_t lastUserValue;
    int32_t actionCalls;
    const EngineFuncs* table;
    int32_t modelLoadCalls, modelLoads, modelUnloads;
    int32_t spriteLoadCalls, spriteLoads, spriteUnloads;
    int32_t paletteCalls;
    int32_t lastBoundsFlags;
    const uint8_t* lastPalette;
    int32_t skyLoads;
    const char* versionFirst;
    const char* versionSecond;
};

class PluginFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        Plugin_SetFolder(folder.path());
    }
    void TearDown() override {
        Plugin_SetFolder(QString());
        App_ClearPrimitives();
    }

    // The built variant (kpTestx64, kpTestOnlyMainx64 ...).
    static QString built(const char* variant) {
        return QStringLiteral(ZARV_TEST_PLUGIN_DIR "/%1.so").arg(QLatin1String(variant));
    }
    // Copies the variant into the plugins folder under the name; its path there.
    QString install(const char* variant, const QString& name) {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(QFile::copy(built(variant), path)) << variant;
        return path;
    }
    // The console lines as plain text ("Error: ..." for errors).
    QStringList plainLines() const {
        static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
        QStringList plain;
        for (QString line : console.lines) {
            line.remove(tags);
            line.replace(QLatin1String("&quot;"), QLatin1String("\""));
            line.replace(QLatin1String("&lt;"), QLatin1String("<"));
            line.replace(QLatin1String("&gt;"), QLatin1String(">"));
            line.replace(QLatin1String("&amp;"), QLatin1String("&"));
            plain.append(line);
        }
        return plain;
    }
    // The state of the bound library at the index of the manager's list.
    TestPluginState* stateOf(int index) {
        if (index >= window.plugins.libraries.size()) return nullptr;
        auto get =
            reinterpret_cast<TestPluginState* (*)()>(window.plugins.libraries[index]->resolve("kpTestState"));
        return get ? get() : nullptr;
    }

    cMainWindow window;
    cConsoleCapture console;
    QTemporaryDir folder;
};
