// libFuzzer harness of the game-configuration file: every input is loaded as a configuration
// file, saved, loaded and saved again; the second save must write the same bytes as the first,
// and every value read must survive being written and read again.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <clocale>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "gamedata/GameConfigFile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_NUMERIC, "C");
    Fuzz_MakeFolder("gamecfg_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = Fuzz_Folder() + "/KDKGameCfg.ini";
    Fuzz_WriteFile(path, data, size);
    // Every value the reader finds is written so that it reads back unchanged.
    const IniDocument doc = Ini_Parse(input, "KDKGameCfg.ini");
    for (const IniGroup& group : doc.groups)
        for (const auto& pair : group.keys)
            if (Ini_UnescapeValue(Ini_EscapeValue(pair.second)) != pair.second) std::abort();

    cGameConfigFile file;
    QList<GameConfigValues> configs;
    if (!file.load(path, &configs)) std::abort();
    if (!file.save(path, configs)) std::abort();
    const QByteArray first = Fuzz_ReadFile(path);
    QList<GameConfigValues> reloaded;
    if (!file.load(path, &reloaded) || reloaded.size() != configs.size()) std::abort();
    if (file.needsBackup()) std::abort(); // our own file reads whole
    if (!file.save(path, reloaded)) std::abort();
    if (Fuzz_ReadFile(path) != first) std::abort();
    QFile::remove(path + ".bak");
    return 0;
}
