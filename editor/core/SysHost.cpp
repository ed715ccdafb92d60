#include "core/SysHost.h"

#include "core/HostSlot.h"
#include "core/MainSettings.h"

SysHost* Sys_Host() {
    return Host_Slot<SysHost>();
}

void Sys_SetHost(SysHost* host) {
    Host_Slot<SysHost>() = host;
}

MapPreferences Sys_MapPreferences() {
    // Read afresh on each call, so a changed setting takes effect at once.
    const MainSettings& settings = Sys_Settings();
    MapPreferences preferences;
    preferences.keepDefaultEpairs = settings.KeepDefaultEpairs;
    preferences.entityTransparency = settings.EntityTransparency;
    preferences.keepCloneVisGroup = settings.KeepCloneVisGroup;
    preferences.useVisgroupColors = settings.UseVisgroupColors;
    preferences.transformAngles = settings.TransformAngles;
    preferences.textureLockUV = settings.TextureLockUV;
    preferences.textureTransparency = settings.TextureTransparency;
    preferences.drawVertices = settings.DrawVertices;
    return preferences;
}

int32_t Sys_MaxWorldSize() {
    const SysHost* host = Sys_Host();
    return host ? host->maxWorldSize() : kDefaultMaxWorldSize;
}

const MainSettings& Sys_Settings() {
    static const MainSettings defaults;
    const MainSettings* settings = Sys_MutableSettings();
    return settings ? *settings : defaults;
}

MainSettings* Sys_MutableSettings() {
    SysHost* host = Sys_Host();
    return host ? host->settings() : nullptr;
}
