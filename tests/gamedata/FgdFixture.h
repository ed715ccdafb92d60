// Entity-definition snippets written to a temporary folder and loaded through the real loader into
// the main window's registry, with the console captured.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "gamedata/GameData.h"
#include "mainwindow/MainWindow.h"

class FgdFixture : public ::testing::Test {
protected:
    GameDataRegistry* registry() { return Fgd_Registry(); }

    QString write(const QString& name, const QByteArray& text) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    // Writes main.fgd and loads it (once acquired, the record is reused).
    GameData* load(const QByteArray& text, bool headersOnly = false) {
        const QString path = write("main.fgd", text);
        if (!file) file = Fgd_Acquire(registry(), path);
        Fgd_ClearClasses(file);
        EXPECT_TRUE(Fgd_Load(file, headersOnly));
        return file;
    }
    EntityClass* point(const char* name) { return Fgd_FindClass(file, name, EntityClassKind::Point); }
    EntityClass* solid(const char* name) { return Fgd_FindClass(file, name, EntityClassKind::Solid); }
    // Warnings and errors only (the tokenizer also logs "Entering:" lines).
    QStringList messages() const {
        QStringList found;
        for (const QString& line : console.lines)
            if (line.contains("Warning:") || line.contains("Error:")) found << line;
        return found;
    }

    cConsoleCapture console;
    QTemporaryDir folder;
    GameData* file = nullptr;
};
