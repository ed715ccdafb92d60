// Private-profile files: sections of key=value lines, kept as hashed lists in first-appearance
// order. Saving quotes names and values whose edges the reader would otherwise trim, so that
// save -> load -> save keeps every section, key and value.
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "kstdlib/TextCopy.h"
#include "kstdlib/kprofile.h"
#include "kstdlib/kstring.h"

namespace {

// Lines are read in pieces of at most 1022 characters.
constexpr int kLinePiece = 1023;

void CopyText(char (&dst)[K_PROFILE_TEXT], const char* src) {
    ktext::CopyTruncated(dst, sizeof(dst), src, strlen(src));
}

// Names are compared (and hashed) as stored, that is cut to 259 characters.
void StoredName(char (&dst)[K_PROFILE_TEXT], const char* name) {
    CopyText(dst, name);
}

KProfileSection* FindSection(const KPrivateProfile* profile, const char* name) {
    char stored[K_PROFILE_TEXT];
    StoredName(stored, name);
    KProfileSection* section = profile->sectionBuckets[K_Hash(stored, K_PROFILE_SECTION_BUCKETS)];
    for (; section; section = section->nextInBucket)
        if (ktext::EqualNoCase(section->name, stored)) return section;
    return nullptr;
}

KProfileKey* FindKey(const KProfileSection* section, const char* name) {
    char stored[K_PROFILE_TEXT];
    StoredName(stored, name);
    KProfileKey* key = section->keyBuckets[K_Hash(stored, K_PROFILE_KEY_BUCKETS)];
    for (; key; key = key->nextInBucket)
        if (ktext::EqualNoCase(key->name, stored)) return key;
    return nullptr;
}

// Finds the section or appends a new one; null when it cannot be allocated.
KProfileSection* LookupSection(KPrivateProfile* profile, const char* name) {
    if (KProfileSection* found = FindSection(profile, name)) return found;
    auto* section = static_cast<KProfileSection*>(calloc(1, sizeof(KProfileSection)));
    if (!section) {
        perror("LookupSection::malloc");
        return nullptr;
    }
    CopyText(section->name, name);
    KProfileSection*& bucket = profile->sectionBuckets[K_Hash(section->name, K_PROFILE_SECTION_BUCKETS)];
    section->nextInBucket = bucket;
    bucket = section;
    KProfileSection** tail = &profile->firstSection;
    while (*tail)
        tail = &(*tail)->nextSection;
    *tail = section;
    return section;
}

void SetValue(KProfileKey* key, const char* value) {
    CopyText(key->value, value);
    key->intValue = K_Atoi(key->value);
}

// Appends a new key to the section; null when it cannot be allocated.
KProfileKey* AllocVariable(KProfileSection* section, const char* name, const char* value) {
    auto* key = static_cast<KProfileKey*>(calloc(1, sizeof(KProfileKey)));
    if (!key) {
        perror("AllocVariable::malloc");
        return nullptr;
    }
    CopyText(key->name, name);
    SetValue(key, value);
    KProfileKey*& bucket = section->keyBuckets[K_Hash(key->name, K_PROFILE_KEY_BUCKETS)];
    key->nextInBucket = bucket;
    bucket = key;
    KProfileKey** tail = &section->firstKey;
    while (*tail)
        tail = &(*tail)->nextKey;
    *tail = key;
    return key;
}

char* SkipBlanks(char* text) {
    while (ktext::IsBlank(*text))
        ++text;
    return text;
}

// Trims trailing blanks, then removes one '"' at the start and, independently, one at the end.
char* TrimAndUnquote(char* text) {
    size_t len = strlen(text);
    while (len > 0 && ktext::IsBlank(text[len - 1]))
        text[--len] = '\0';
    if (text[0] == '"') {
        ++text;
        --len;
    }
    if (len > 0 && text[len - 1] == '"') text[len - 1] = '\0';
    return text;
}

bool IsBlankLine(const char* line) {
    for (; *line; ++line)
        if (!ktext::IsBlank(*line)) return false;
    return true;
}

// The section name of a "[name]" line. Without a ']' the rest of the line, minus its line end
// (kept, the name would save as a broken header followed by a bogus key).
const char* SectionName(char* line) {
    char* name = line + 1;
    if (char* close = strchr(name, ']')) {
        *close = '\0';
    } else {
        size_t len = strlen(name);
        while (len > 0 && (name[len - 1] == '\n' || name[len - 1] == '\r'))
            name[--len] = '\0';
    }
    return name;
}

// Returns false when loading must stop (a section could not be allocated).
bool ReadLine(KPrivateProfile* profile, KProfileSection** current, char* line) {
    if (line[0] == ';' || line[0] == '#' || IsBlankLine(line)) return true;
    if (line[0] == '[') {
        *current = LookupSection(profile, SectionName(line));
        return *current != nullptr;
    }
    char* name = SkipBlanks(line);
    char* value = strchr(name, '=');
    if (value) {
        *value = '\0';
        value = SkipBlanks(value + 1);
    } else {
        value = name + strlen(name);
    }
    name = TrimAndUnquote(name);
    value = TrimAndUnquote(value);
    if (!*name) return true;
    if (!*current) {
        *current = LookupSection(profile, "Default");
        if (!*current) return false;
    }
    // A repeated key keeps its first value.
    if (!FindKey(*current, name)) AllocVariable(*current, name, value);
    return true;
}

// Text the reader would change at its edges is written between double quotes.
bool EdgeNeedsQuotes(const char* text) {
    const size_t len = strlen(text);
    return len > 0 && (ktext::IsBlank(text[0]) || text[0] == '"' || ktext::IsBlank(text[len - 1]) ||
                       text[len - 1] == '"');
}

bool KeyNeedsQuotes(const char* name) {
    return name[0] == ';' || name[0] == '#' || name[0] == '[' || EdgeNeedsQuotes(name);
}

// Names and values the file format cannot carry: refused, so that every stored entry round-trips.
bool Storable(const char* section, const char* key, const char* value) {
    return !strpbrk(section, "]\n") && *key && !strpbrk(key, "=\n") && !strchr(value, '\n');
}

// The key of a section, or null when the profile, section or key is missing.
const KProfileKey* FindEntry(const KPrivateProfile* profile, const char* section, const char* key) {
    const KProfileSection* owner = (profile && section) ? FindSection(profile, section) : nullptr;
    return (owner && key) ? FindKey(owner, key) : nullptr;
}

bool WriteProfile(const KPrivateProfile* profile, FILE* file) {
    for (const KProfileSection* section = profile->firstSection; section; section = section->nextSection) {
        fprintf(file, "[%s]\n", section->name);
        for (const KProfileKey* key = section->firstKey; key; key = key->nextKey) {
            const char* keyQuote = KeyNeedsQuotes(key->name) ? "\"" : "";
            const char* valueQuote = EdgeNeedsQuotes(key->value) ? "\"" : "";
            fprintf(file, "%s%s%s=%s%s%s\n", keyQuote, key->name, keyQuote, valueQuote, key->value,
                    valueQuote);
        }
        fputs("\n", file);
    }
    return !ferror(file);
}

} // namespace

KPrivateProfile* K_LoadPrivateProfile(const char* fileName) {
    FILE* file = fileName ? fopen(fileName, "r") : nullptr;
    if (!file) {
        if (!fileName) errno = EINVAL;
        perror("K_LoadPrivateProfile::fopen");
        return nullptr;
    }
    auto* profile = static_cast<KPrivateProfile*>(calloc(1, sizeof(KPrivateProfile)));
    if (!profile) {
        perror("K_LoadPrivateProfile::malloc");
        fclose(file);
        return nullptr;
    }
    CopyText(profile->path, fileName);
    KProfileSection* current = nullptr;
    char line[kLinePiece];
    while (fgets(line, sizeof(line), file))
        if (!ReadLine(profile, &current, line)) break;
    fclose(file);
    return profile;
}

bool K_SavePrivateProfile(const KPrivateProfile* profile, const char* fileName) {
    if (!profile || !fileName) return false;
    // Written beside the target and renamed over it, so a failed save keeps the old file.
    char temporary[4096 + 8];
    if (strlen(fileName) > 4096) {
        errno = ENAMETOOLONG;
        perror("K_SavePrivateProfile::fopen");
        return false;
    }
    snprintf(temporary, sizeof(temporary), "%s.tmp", fileName);
    FILE* file = fopen(temporary, "w");
    if (!file) {
        perror("K_SavePrivateProfile::fopen");
        return false;
    }
    const bool written = WriteProfile(profile, file);
    if (fclose(file) != 0 || !written) {
        perror("K_SavePrivateProfile::fwrite");
        remove(temporary);
        return false;
    }
    if (rename(temporary, fileName) != 0) {
        perror("K_SavePrivateProfile::rename");
        remove(temporary);
        return false;
    }
    return true;
}

void K_FreePrivateProfile(KPrivateProfile* profile) {
    if (!profile) return;
    for (KProfileSection* section = profile->firstSection; section;) {
        for (KProfileKey* key = section->firstKey; key;) {
            KProfileKey* next = key->nextKey;
            free(key);
            key = next;
        }
        KProfileSection* next = section->nextSection;
        free(section);
        section = next;
    }
    free(profile);
}

bool K_WritePrivateProfileString(KPrivateProfile* profile, const char* section, const char* key,
                                 const char* value) {
    if (!profile || !section || !key) return false;
    if (!value) value = "";
    if (!Storable(section, key, value)) {
        fprintf(stderr, "K_WritePrivateProfileString: [%s] %s cannot be stored in a profile file\n", section,
                key);
        return false;
    }
    KProfileSection* owner = LookupSection(profile, section);
    if (!owner) return false;
    if (KProfileKey* existing = FindKey(owner, key)) {
        SetValue(existing, value);
        return true;
    }
    return AllocVariable(owner, key, value) != nullptr;
}

bool K_WritePrivateProfileInt(KPrivateProfile* profile, const char* section, const char* key, int value) {
    char text[16];
    snprintf(text, sizeof(text), "%d", value);
    return K_WritePrivateProfileString(profile, section, key, text);
}

int K_GetPrivateProfileString(const KPrivateProfile* profile, const char* section, const char* key,
                              const char* defaultValue, char* dst, int size) {
    if (!dst || size <= 0) return 0;
    const KProfileKey* found = FindEntry(profile, section, key);
    const char* text = found ? found->value : defaultValue;
    if (!text) return 0;
    return static_cast<int>(ktext::CopyTruncated(dst, static_cast<size_t>(size), text, strlen(text)));
}

int K_GetPrivateProfileInt(const KPrivateProfile* profile, const char* section, const char* key,
                           int defaultValue) {
    const KProfileKey* found = FindEntry(profile, section, key);
    return found ? found->intValue : defaultValue;
}

int K_GetPrivateProfileVariableCount(const KPrivateProfile* profile, const char* section) {
    const KProfileSection* owner = (profile && section) ? FindSection(profile, section) : nullptr;
    int count = 0;
    for (const KProfileKey* key = owner ? owner->firstKey : nullptr; key; key = key->nextKey)
        ++count;
    return count;
}

const char* K_GetPrivateProfileVariableName(const KPrivateProfile* profile, const char* section, int index) {
    const KProfileSection* owner = (profile && section) ? FindSection(profile, section) : nullptr;
    if (!owner || index < 0) return nullptr;
    const KProfileKey* key = owner->firstKey;
    for (; key && index > 0; --index)
        key = key->nextKey;
    return key ? key->name : nullptr;
}
