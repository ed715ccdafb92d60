// What the effect editor's source files share: reading effect records and running plugin calls.
#pragma once

#include <QString>
#include <QStringList>

#include "core/FileLookup.h"
#include "core/TextEncoding.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "gamedata/PluginInterface.h"
#include "gamedata/TextureRecords.h"
#include "views/ViewState.h"

namespace ShaderEdit {

inline const ProfileFuncs* funcsOf(const MapProfileRecord* profile) {
    return profile ? profile->funcs : nullptr;
}

inline QString effectName(const ShaderRecord* effect) {
    return Text_FromWindows1251(QByteArray(effect->name));
}

inline QString scriptTextOf(const ShaderRecord* effect) {
    return effect->pluginData ? QString::fromLocal8Bit(static_cast<const char*>(effect->pluginData))
                              : QString();
}

// "*.a *.b" for a profile's ";"-separated extension list.
inline QString extensionPatterns(const char* extensions) {
    QStringList patterns;
    for (const QString& extension : QString::fromLocal8Bit(extensions).split(u';', Qt::SkipEmptyParts))
        patterns.append(u'*' + extension);
    return patterns.join(u' ');
}

// Plugin calls see the dialog's configuration through the file look-ups and run with the views'
// drawing suspended; both are put back afterwards.
class cPluginCallScope {
public:
    explicit cPluginCallScope(bool suspendDrawing) : saved(Sys_FileLookup()), suspend(suspendDrawing) {
        Sys_SwitchFileLookup(GameCfg_Current());
        if (suspend) ++View_TextureLoading;
    }
    ~cPluginCallScope() {
        if (suspend) --View_TextureLoading;
        Sys_FileLookup() = saved;
    }

private:
    FileLookupConfig saved;
    bool suspend;
};

} // namespace ShaderEdit
