// libFuzzer harness of the private-profile reader: every input is written to a temporary file and
// loaded; every section and key is read back, the profile is saved and loaded again, and a second
// save must write the same text as the first (saving keeps every section, key and value).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "FuzzSupport.h"
#include "kstdlib/kprofile.h"

namespace {

std::string g_input;
std::string g_saved;
std::string g_resaved;

std::string readFile(const std::string& path) {
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) std::abort();
    char block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof(block), file)) > 0)
        text.append(block, got);
    std::fclose(file);
    return text;
}

// Reads every key of every section through the lookup functions.
void readEverything(const KPrivateProfile* profile) {
    for (const KProfileSection* s = profile->firstSection; s; s = s->nextSection) {
        const int count = K_GetPrivateProfileVariableCount(profile, s->name);
        for (int i = 0; i < count; ++i) {
            const char* name = K_GetPrivateProfileVariableName(profile, s->name, i);
            if (!name || std::strlen(name) >= K_PROFILE_TEXT) std::abort();
            char value[K_PROFILE_TEXT];
            const int length = K_GetPrivateProfileString(profile, s->name, name, "", value, sizeof(value));
            if (length < 0 || length >= K_PROFILE_TEXT) std::abort();
            K_GetPrivateProfileInt(profile, s->name, name, 0);
        }
        if (K_GetPrivateProfileVariableName(profile, s->name, count)) std::abort();
    }
}

void removeFiles() {
    for (const std::string* path : {&g_input, &g_saved, &g_resaved})
        std::remove(path->c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Files per fuzzing process (workers run side by side), in the temporary folder.
    const std::string base = Fuzz_MakeFolder("profile_fuzz").toStdString() + "/profile";
    g_input = base + ".ini";
    g_saved = base + "_saved.ini";
    g_resaved = base + "_resaved.ini";
    std::atexit(removeFiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(g_input.c_str(), "wb");
    if (!file) std::abort();
    if (size && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    KPrivateProfile* profile = K_LoadPrivateProfile(g_input.c_str());
    if (!profile) std::abort();
    readEverything(profile);
    if (!K_SavePrivateProfile(profile, g_saved.c_str())) std::abort();
    K_FreePrivateProfile(profile);

    KPrivateProfile* reloaded = K_LoadPrivateProfile(g_saved.c_str());
    if (!reloaded) std::abort();
    readEverything(reloaded);
    if (!K_SavePrivateProfile(reloaded, g_resaved.c_str())) std::abort();
    K_FreePrivateProfile(reloaded);
    if (readFile(g_saved) != readFile(g_resaved)) std::abort();
    return 0;
}
