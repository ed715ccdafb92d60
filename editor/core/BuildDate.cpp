// The one file that reads the build date: it alone changes from one day's build to the next.
#include "core/AppVersion.h"

const char* App_BuildDate() {
    return __DATE__;
}
