// The editor's version: "1.1." and a build number counted in days from the build date.
#pragma once

#include <cstddef>
#include <cstdint>

// The compiler's date text of this build ("Jul 20 2016"); read in one small file so that only it
// is rebuilt when the date changes.
const char* App_BuildDate();

// Days from 20 August 2013 to the given date text (month name without regard to case; February
// always 28 days, leap years only through the 365.25-day year). "Jul 20 2016" gives 1064.
int32_t App_BuildNumberFromDate(const char* date);

// The build number of this build, computed on the first call.
unsigned int App_GetBuildNumber();

// "Z.A.R.V. 1.1.<build>", formatted once into a static buffer; every call returns that buffer.
const char* App_GetVersionString();

// Decodes the 44-character base64 text the about dialog keeps its donation address in. Returns
// new[]-allocated bytes with a terminating zero after the decoded ones (so callers may read them as
// a text) and their count without the terminator; null for a text of another length.
char* About_DecodeBase64(const char* text, size_t* size);
