// Keeps every shared library loaded so far mapped until the process ends.
//
// The leak checker runs at exit, after the application object is gone. By then Qt has unloaded
// the platform plug-in and with it the GL driver the shared context loaded, and the driver's own
// allocations could no longer be told apart from ours: their stacks would name no module, so the
// suppressions for the system libraries could not match them. Marking the libraries
// RTLD_NODELETE keeps them mapped, and the leak check stays at exit, where no other thread runs.
#pragma once

#include <dlfcn.h>
#include <link.h>

inline void Test_KeepLoadedLibraries() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && info->dlpi_name[0])
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}
