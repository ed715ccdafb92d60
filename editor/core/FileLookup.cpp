#include "core/FileLookup.h"

#include "mainwindow/MainWindow.h"

FileLookupConfig& Sys_FileLookup() {
    static FileLookupConfig config;
    return config;
}

void Sys_SwitchFileLookup(GameConfig* config) {
    FileLookupConfig& lookup = Sys_FileLookup();
    lookup.previous = lookup.current;
    lookup.current = config;
}

const GameConfig* Sys_FileLookupConfig() {
    return g_mainWindow ? Sys_FileLookup().current : nullptr;
}
