// libFuzzer harness of the game-configuration file: every input is loaded as a configuration
// file and saved over itself (a damaged input stays whole, in place or as the copy); what was read
// is saved to a file of ours, loaded and saved again; the second save must write the same bytes,
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
    const bool damaged = file.needsBackup();
    if (!file.save(path, configs)) std::abort();
    // Over a damaged input stands the input itself (groups that were not read keep the user's
    // text) or our file with the input kept beside it.
    if (damaged && Fuzz_ReadFile(path) != input && Fuzz_ReadFile(path + ".bak") != input) std::abort();

    // What was read, written to a file of ours: it reads whole and saves the same bytes again.
    const QString ours = Fuzz_Folder() + "/ours.ini";
    QFile::remove(ours);
    cGameConfigFile own;
    if (!own.save(ours, configs)) std::abort();
    const QByteArray first = Fuzz_ReadFile(ours);
    QList<GameConfigValues> reloaded;
    if (!own.load(ours, &reloaded) || reloaded.size() != configs.size()) std::abort();
    if (own.needsBackup()) std::abort();
    if (!own.save(ours, reloaded)) std::abort();
    if (Fuzz_ReadFile(ours) != first) std::abort();
    QFile::remove(path + ".bak");
    return 0;
}
