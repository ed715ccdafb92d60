// libFuzzer harness of the game-configuration file: every input is loaded as a configuration
// file, saved, loaded and saved again; the second save must write the same bytes as the first,
// and every value read must survive being written and read again.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

#include "gamedata/GameConfigFile.h"

namespace {

QString g_folder;

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) std::abort();
    return file.readAll();
}

void removeFolder() {
    QDir(g_folder).removeRecursively();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_NUMERIC, "C");
    // One folder per fuzzing process (workers run side by side).
    g_folder = QDir::temp().filePath(QStringLiteral("gamecfg_fuzz_%1").arg(getpid()));
    QDir().mkpath(g_folder);
    std::atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = g_folder + "/KDKGameCfg.ini";
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(input) != input.size()) std::abort();
    }
    // Every value the reader finds is written so that it reads back unchanged.
    const IniDocument doc = Ini_Parse(input, "KDKGameCfg.ini");
    for (const IniGroup& group : doc.groups)
        for (const auto& pair : group.keys)
            if (Ini_UnescapeValue(Ini_EscapeValue(pair.second)) != pair.second) std::abort();

    cGameConfigFile file;
    QList<GameConfigValues> configs;
    if (!file.load(path, &configs)) std::abort();
    if (!file.save(path, configs)) std::abort();
    const QByteArray first = readFile(path);
    QList<GameConfigValues> reloaded;
    if (!file.load(path, &reloaded) || reloaded.size() != configs.size()) std::abort();
    if (file.needsBackup()) std::abort(); // our own file reads whole
    if (!file.save(path, reloaded)) std::abort();
    if (readFile(path) != first) std::abort();
    QFile::remove(path + ".bak");
    return 0;
}
