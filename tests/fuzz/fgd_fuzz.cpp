// libFuzzer harness of the entity-definition loader: every input is written to a temporary
// folder as main.fgd and as inc.fgd (so "@include" of that name reads the input again, up to the
// tokenizer's include limit), loaded fully and headers-only into a record of a private registry,
// and checked: every class in a hash is in the class map, groups belong to the same file, flags
// items are bit indexes. Bad input must load with messages, never crash, hang or leak.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <set>

#include "FuzzSupport.h"
#include "gamedata/GameData.h"
#include "kstdlib/kstdlib.h"

namespace {

void check(const GameData* file) {
    std::set<const EntityClass*> all;
    for (const auto& entry : file->classes) {
        if (entry.first != entry.second->name) std::abort();
        all.insert(entry.second.get());
    }
    for (const EntityClass* c : file->pointClasses)
        if (!all.count(c) || c->kind != EntityClassKind::Point) std::abort();
    for (const EntityClass* c : file->solidClasses)
        if (!all.count(c)) std::abort();
    for (const EntityClass* c : all) {
        if (c->group && !all.count(c->group)) std::abort();
        for (const EntityProperty& p : c->properties) {
            if (p.type < PropertyType::String || p.type > PropertyType::Script) std::abort();
            if (p.type != PropertyType::Flags) continue;
            for (const PropertyChoice& item : p.choices) {
                bool ok = false;
                const int index = item.value.toInt(&ok);
                if (!ok || index < 0 || index > 62) std::abort();
            }
        }
        // Look-ups by every kind answer with classes of this file.
        for (int32_t kind = 0; kind <= 4; ++kind) {
            const EntityClass* found = Fgd_FindClass(file, c->name.constData(), kind);
            if (found && !all.count(found)) std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    Fuzz_MakeFolder("fgd_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz_WriteFile(Fuzz_Folder() + "/main.fgd", data, size);
    Fuzz_WriteFile(Fuzz_Folder() + "/inc.fgd", data, size);
    GameDataRegistry registry;
    GameData* file = Fgd_Acquire(&registry, Fuzz_Folder() + "/main.fgd");
    if (!Fgd_Load(file, false)) std::abort();
    check(file);
    Fgd_ClearClasses(file);
    if (!Fgd_Load(file, true)) std::abort();
    check(file);
    if (!Fgd_Load(file, false)) std::abort(); // a full load over the headers
    check(file);
    Fgd_Release(&registry, file->path);
    if (!registry.files.isEmpty()) std::abort();
    return 0;
}
