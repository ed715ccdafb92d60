// The editor's version text.
#pragma once

// "Z.A.R.V. 1.1.<build>", formatted once; the build number is 0 until builds are numbered.
const char* App_GetVersionString();
