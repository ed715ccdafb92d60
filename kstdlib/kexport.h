// Export and linkage macros of the standard library.
#pragma once

#if defined(KSTDLIB_BUILD)
#define KSTDLIB_API __attribute__((visibility("default")))
#else
#define KSTDLIB_API
#endif

#ifdef __cplusplus
#define KSTDLIB_BEGIN extern "C" {
#define KSTDLIB_END }
#else
#define KSTDLIB_BEGIN
#define KSTDLIB_END
#endif
