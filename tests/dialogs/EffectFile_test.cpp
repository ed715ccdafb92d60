#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "ConsoleCapture.h"
#include "dialogs/editing/EffectFile.h"

namespace {
void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST(EffectFile, BackupNames) {
    cConsoleCapture console;
    QTemporaryDir folder;
    const struct {
        const char* name;
        const char* backup;
    } cases[] = {
        {"fx.shader", "fx.shadex"},   {"fx.tex", "fx.texx"}, {"fx.TEX", "fx.TEXX"}, {"fx", "fx.x"},
        {"a.b.shader", "a.b.shadex"},
    };
    for (const auto& c : cases) {
        const QString path = folder.filePath(QLatin1String(c.name));
        const QString backup = folder.filePath(QLatin1String(c.backup));
        write(backup, "older copy");
        write(path, QByteArray("text of ") + c.name);
        EXPECT_TRUE(EffectFile_Backup(QFileInfo(path))) << c.name;
        EXPECT_EQ(read(backup), QByteArray("text of ") + c.name) << c.name; // the older one replaced
        EXPECT_TRUE(console.contains(QStringLiteral("Backup: \"%1\"").arg(backup))) << c.name;
    }
    // A file that is not there cannot be copied: reported, no crash.
    EXPECT_FALSE(EffectFile_Backup(QFileInfo(folder.filePath("gone.shader"))));
    EXPECT_TRUE(console.contains(QStringLiteral("unable to backup the existing file")));
}
