// libFuzzer harness of the run-configuration file: every input is loaded and saved over itself (a
// damaged input stays whole, in place or as the copy), and what was read is saved to a file of ours,
// loaded and saved again; the second save must write the same bytes, and the types read stay in 0..6.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <clocale>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "dialogs/application/RunConfig.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_NUMERIC, "C");
    Fuzz_MakeFolder("runcfg_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = Fuzz_Folder() + "/KDKRunCfg.ini";
    Fuzz_WriteFile(path, data, size);
    cRunConfigFile file;
    RunConfigList configs;
    if (!file.load(path, &configs)) std::abort();
    for (const auto& config : configs)
        for (const auto& command : config->Commands)
            if (command->Type < 0 || command->Type > 6) std::abort();
    const bool damaged = file.needsBackup();
    if (!file.save(path, configs)) std::abort();
    // Over a damaged input stands the input itself (groups that were not read keep the user's
    // text) or our file with the input kept beside it.
    if (damaged && Fuzz_ReadFile(path) != input && Fuzz_ReadFile(path + ".bak") != input) std::abort();

    // What was read, written to a file of ours: it reads whole and saves the same bytes again.
    const QString ours = Fuzz_Folder() + "/ours.ini";
    QFile::remove(ours);
    cRunConfigFile own;
    if (!own.save(ours, configs)) std::abort();
    const QByteArray first = Fuzz_ReadFile(ours);
    RunConfigList reloaded;
    if (!own.load(ours, &reloaded) || reloaded.size() != configs.size()) std::abort();
    if (own.needsBackup()) std::abort();
    if (!own.save(ours, reloaded)) std::abort();
    if (Fuzz_ReadFile(ours) != first) std::abort();
    QFile::remove(path + ".bak");
    return 0;
}
