#include "core/FileLookup.h"

#include "core/SysHost.h"

FileLookupConfig& Sys_FileLookup() {
    static FileLookupConfig config;
    return config;
}

void Sys_SwitchFileLookup(GameFolders* folders) {
    FileLookupConfig& lookup = Sys_FileLookup();
    lookup.previous = lookup.current;
    lookup.current = folders;
}

const GameFolders* Sys_FileLookupConfig() {
    return Sys_Host() ? Sys_FileLookup().current : nullptr;
}
