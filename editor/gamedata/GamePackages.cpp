// Texture packages found in the game folders.
#include "gamedata/GamePackages.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <algorithm>

#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataHost.h"

namespace {

QStringList archiveMembers(const char* pattern, bool mod) {
    ArchiveRegistry* archives = GameData_Archives();
    return archives ? Archive_ListFiles(archives, pattern, mod) : QStringList();
}

// The script names "scripts/shaderlist.txt" gives, in its order; empty without the file.
QStringList listedScripts(const QString& folder) {
    uint32_t size = 0;
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/scripts/shaderlist.txt"));
    if (!Sys_FileExists(path.constData())) return {};
    char* data = Sys_LoadFile(path.constData(), &size);
    if (!data) return {};
    QStringList names;
    for (QByteArray line : QByteArray(data, qsizetype(size)).split('\n')) {
        if (const qsizetype comment = line.indexOf("//"); comment >= 0) line.truncate(comment);
        for (const QByteArray& word : line.simplified().split(' '))
            if (!word.isEmpty() && !names.contains(QString::fromUtf8(word), Qt::CaseInsensitive))
                names << QString::fromUtf8(word);
    }
    Sys_Free(data);
    return names;
}

// The file names of the scripts directly in "scripts/" (on disk, then in the folder's archives)
// that the list does not name, each once, in name order.
QStringList unlistedScripts(const QString& root, bool mod, const QStringList& listed) {
    QStringList names = QDir(root + QStringLiteral("/scripts")).entryList({"*.shader"}, QDir::Files);
    for (const QString& member : archiveMembers("scripts/*.shader", mod))
        if (member.count('/') == 1) names.append(member.mid(member.indexOf('/') + 1));
    QSet<QString> seen;
    for (const QString& name : listed)
        seen.insert(name.toCaseFolded());
    QStringList others;
    for (const QString& name : std::as_const(names)) {
        const QString key = name.left(name.size() - 7).toCaseFolded(); // without ".shader"
        if (seen.contains(key)) continue;
        seen.insert(key);
        others.append(name);
    }
    std::sort(others.begin(), others.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return others;
}

void addFolder(const QString& folder, bool mod, QStringList* packages) {
    if (folder.isEmpty()) return;
    const QString root = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    const QStringList listed = listedScripts(root);
    if (listed.isEmpty()) {
        const bool onDisk =
            !QDir(root + QStringLiteral("/scripts")).entryList({"*.shader"}, QDir::Files).isEmpty();
        if (onDisk || !archiveMembers("scripts/*.shader", mod).isEmpty())
            packages->append(root + QStringLiteral("/scripts::*.shader"));
    } else {
        for (const QString& name : listed) {
            const QString script = root + QStringLiteral("/scripts/") + name + QStringLiteral(".shader");
            if (Sys_FileExists(QFile::encodeName(script).constData())) packages->append(script);
        }
        // The game reads every script it finds: a map pack's or mod's own come after the list.
        const QStringList others = unlistedScripts(root, mod, listed);
        for (const QString& name : others)
            packages->append(root + QStringLiteral("/scripts/") + name);
        if (!others.isEmpty())
            Sys_Printf("%i effect scripts of \"%s\" are not named in scripts/shaderlist.txt: read after the "
                       "listed ones",
                       int(others.size()), QFile::encodeName(root).constData());
    }
    // Groups are the folders directly below "textures/" that hold images themselves (a folder of
    // subfolders alone would be a package loading nothing); a name differing only in case is one.
    QMap<QString, QString> groups;
    const QStringList images = {QStringLiteral("*.tga"), QStringLiteral("*.jpg")};
    const QDir textures(root + QStringLiteral("/textures"));
    for (const QString& group : textures.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (!QDir(textures.filePath(group)).entryList(images, QDir::Files).isEmpty())
            groups.insert(group.toCaseFolded(), group);
    for (const char* pattern : {"textures/*.tga", "textures/*.jpg"})
        for (const QString& member : archiveMembers(pattern, mod)) {
            const QStringList parts = member.split('/');
            if (parts.size() == 3 && !groups.contains(parts[1].toCaseFolded()))
                groups.insert(parts[1].toCaseFolded(), parts[1]);
        }
    for (const QString& group : std::as_const(groups))
        packages->append(root + QStringLiteral("/textures/") + group + QStringLiteral("::*.tga;*.jpg"));
}

} // namespace

QStringList GameCfg_FindTexturePackages(const GameConfig* config) {
    QStringList packages;
    if (!config) return packages;
    addFolder(config->GameModdir, true, &packages);
    addFolder(config->GameBasedir, false, &packages);
    packages.removeDuplicates();
    return packages;
}
