// Private profiles: sectioned key=value text files held in memory as hashed, ordered lists.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "kstdlib/kexport.h"

#ifndef __cplusplus
#include <stdbool.h>
#endif

// Names and values hold at most 259 characters; longer text is cut.
#define K_PROFILE_TEXT 260
#define K_PROFILE_SECTION_BUCKETS 16
#define K_PROFILE_KEY_BUCKETS 32

typedef struct KProfileKey {
    char name[K_PROFILE_TEXT];
    char value[K_PROFILE_TEXT];
    int32_t intValue;            // K_Atoi of value, kept in step with it
    struct KProfileKey* nextKey; // file order
    struct KProfileKey* nextInBucket;
} KProfileKey;

typedef struct KProfileSection {
    char name[K_PROFILE_TEXT];
    KProfileKey* firstKey;
    KProfileKey* keyBuckets[K_PROFILE_KEY_BUCKETS];
    struct KProfileSection* nextSection; // file order
    struct KProfileSection* nextInBucket;
} KProfileSection;

typedef struct KPrivateProfile {
    char path[K_PROFILE_TEXT];
    KProfileSection* firstSection;
    KProfileSection* sectionBuckets[K_PROFILE_SECTION_BUCKETS];
} KPrivateProfile;

#ifdef __cplusplus
static_assert(sizeof(void*) != 8 || sizeof(KProfileKey) == 544, "profile key layout");
static_assert(sizeof(void*) != 8 || sizeof(KProfileSection) == 544, "profile section layout");
static_assert(sizeof(void*) != 8 || sizeof(KPrivateProfile) == 400, "profile layout");
static_assert(offsetof(KProfileKey, intValue) == 520, "profile key layout");
#endif

KSTDLIB_BEGIN
// Null (and a perror message) when the file cannot be read.
KSTDLIB_API KPrivateProfile* K_LoadPrivateProfile(const char* fileName);
KSTDLIB_API bool K_SavePrivateProfile(const KPrivateProfile* profile, const char* fileName);
KSTDLIB_API void K_FreePrivateProfile(KPrivateProfile* profile);
KSTDLIB_API bool K_WritePrivateProfileString(KPrivateProfile* profile, const char* section, const char* key,
                                             const char* value);
KSTDLIB_API bool K_WritePrivateProfileInt(KPrivateProfile* profile, const char* section, const char* key,
                                          int value);
// Copies the value (or the default) truncated to size - 1; the length copied, 0 leaving dst alone
// when neither exists.
KSTDLIB_API int K_GetPrivateProfileString(const KPrivateProfile* profile, const char* section,
                                          const char* key, const char* defaultValue, char* dst, int size);
KSTDLIB_API int K_GetPrivateProfileInt(const KPrivateProfile* profile, const char* section, const char* key,
                                       int defaultValue);
KSTDLIB_API int K_GetPrivateProfileVariableCount(const KPrivateProfile* profile, const char* section);
// The name of the key at index in file order; valid until the profile is freed.
KSTDLIB_API const char* K_GetPrivateProfileVariableName(const KPrivateProfile* profile, const char* section,
                                                        int index);
KSTDLIB_END
