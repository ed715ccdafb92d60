// libFuzzer harness of the run-configuration file: every input is loaded, saved, loaded and saved
// again; the second save must write the same bytes as the first, and the types read stay in 0..6.
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
    const QString path = Fuzz_Folder() + "/KDKRunCfg.ini";
    Fuzz_WriteFile(path, data, size);
    cRunConfigFile file;
    RunConfigList configs;
    if (!file.load(path, &configs)) std::abort();
    for (const auto& config : configs)
        for (const auto& command : config->Commands)
            if (command->Type < 0 || command->Type > 6) std::abort();
    if (!file.save(path, configs)) std::abort();
    const QByteArray first = Fuzz_ReadFile(path);
    RunConfigList reloaded;
    if (!file.load(path, &reloaded) || reloaded.size() != configs.size()) std::abort();
    if (file.needsBackup()) std::abort(); // our own file reads whole
    if (!file.save(path, reloaded)) std::abort();
    if (Fuzz_ReadFile(path) != first) std::abort();
    QFile::remove(path + ".bak");
    return 0;
}
