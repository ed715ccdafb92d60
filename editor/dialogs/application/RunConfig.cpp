#include "dialogs/application/RunConfig.h"

#include <QFileInfo>

#include "core/System.h"

namespace {

const char* const kSpecialNames[4] = {
    QT_TRANSLATE_NOOP("RunCommand", "Change Directory"), QT_TRANSLATE_NOOP("RunCommand", "Copy File"),
    QT_TRANSLATE_NOOP("RunCommand", "Rename File"), QT_TRANSLATE_NOOP("RunCommand", "Delete File")};

QString elementKey(qsizetype index, const char* key) {
    return QStringLiteral("Commands\\%1\\%2").arg(index + 1).arg(QLatin1String(key));
}

const QString kSizeKey = QStringLiteral("Commands\\size");

// The settings class's arrays go no further than their highest element; a larger size names
// nothing and is cut there, so a damaged size cannot make a huge list.
qsizetype highestElement(const IniGroup& group) {
    qsizetype highest = 0;
    for (const auto& pair : group.keys) {
        const QStringList parts = pair.first.split('\\');
        bool ok = false;
        const qsizetype n = parts.size() == 3 && parts[0] == "Commands" ? parts[1].toLongLong(&ok) : 0;
        if (ok && n > highest) highest = n;
    }
    return highest;
}

} // namespace

void RunSpecialNames::retranslate() {
    for (int i = 0; i < 4; ++i)
        names[i] = QCoreApplication::translate("RunCommand", kSpecialNames[i]);
}

QString RunSpecialNames::of(int32_t type) const {
    return type >= RUNCMD_CHANGE_DIR && type <= RUNCMD_DELETE ? names[type - RUNCMD_CHANGE_DIR] : QString();
}

int32_t RunSpecialNames::typeOf(const QString& text) const {
    for (int i = 0; i < 4; ++i)
        if (text == names[i]) return RUNCMD_CHANGE_DIR + i;
    return -1;
}

std::shared_ptr<RunConfig> RunCfg_MakeDefault() {
    static const struct {
        int32_t type;
        const char* prog;
        const char* args;
    } kRows[] = {
        {RUNCMD_CHANGE_DIR, "", "$gamedir"},
        {RUNCMD_PROCESS_WINDOW, "$csg_exe", "$bspdir/$file"},
        {RUNCMD_PROCESS_WINDOW, "$bsp_exe", "$bspdir/$file"},
        {RUNCMD_PROCESS_WINDOW, "$vis_exe", "$bspdir/$file"},
        {RUNCMD_PROCESS_WINDOW, "$light_exe", "$bspdir/$file"},
        {RUNCMD_CHANGE_DIR, "", "$exedir"},
        {RUNCMD_RUN, "$game_exe", "-console -dev +map $file"},
    };
    auto config = std::make_shared<RunConfig>();
    config->Title = QStringLiteral("Default");
    for (const auto& row : kRows) {
        auto command = std::make_shared<RunCommand>();
        command->Type = row.type;
        command->Prog = QString::fromLatin1(row.prog);
        command->Args = QString::fromLatin1(row.args);
        config->Commands.append(command);
    }
    return config;
}

bool cRunConfigFile::load(const QString& path, RunConfigList* configs) {
    const QString fileName = QFileInfo(path).fileName();
    const QByteArray name = fileName.toUtf8();
    return loadGroups(path, [&](const IniGroup& group) {
        cIniGroupReader reader(group, fileName);
        auto config = std::make_shared<RunConfig>();
        reader.take(QStringLiteral("Title"), config->Title);
        int32_t size = 0;
        reader.take(kSizeKey, size);
        const qsizetype highest = highestElement(group);
        if (size < 0 || size > highest) {
            Sys_Warning("%s, line %i: %s of group %s is %i, read as %lli", name.constData(),
                        reader.lineOf(kSizeKey), kSizeKey.toUtf8().constData(),
                        group.name.toUtf8().constData(), size,
                        static_cast<long long>(size < 0 ? 0 : highest));
            ++reader.problems;
            size = size < 0 ? 0 : int32_t(highest);
        }
        for (qsizetype i = 0; i < size; ++i) {
            auto command = std::make_shared<RunCommand>();
            command->Type = 0;
            command->Flags = 0;
            reader.take(elementKey(i, "Type"), command->Type);
            if (command->Type < 0 || command->Type >= kRunCommandTypeCount) command->Type = RUNCMD_RUN;
            reader.take(elementKey(i, "Flags"), command->Flags);
            reader.take(elementKey(i, "Prog"), command->Prog);
            reader.take(elementKey(i, "Args"), command->Args);
            reader.take(elementKey(i, "FileCheck"), command->FileCheck);
            config->Commands.append(command);
        }
        configs->append(config);
        return reader.finish();
    });
}

IniGroup RunCfgFile_WriteGroup(const RunConfig& config, int32_t index) {
    IniGroup group;
    group.name = QStringLiteral("Config%1").arg(index);
    group.keys.append({QStringLiteral("Title"), config.Title});
    group.keys.append({kSizeKey, QString::number(config.Commands.size())});
    for (qsizetype i = 0; i < config.Commands.size(); ++i) {
        const RunCommand& c = *config.Commands[i];
        group.keys.append({elementKey(i, "Type"), QString::number(c.Type)});
        group.keys.append({elementKey(i, "Flags"), QString::number(c.Flags)});
        for (auto [key, value] : {std::pair{"Prog", &c.Prog}, {"Args", &c.Args}, {"FileCheck", &c.FileCheck}})
            if (!value->isEmpty()) group.keys.append({elementKey(i, key), *value});
    }
    return group;
}

bool cRunConfigFile::save(const QString& path, const RunConfigList& configs) {
    QList<IniGroup> groups;
    for (qsizetype i = 0; i < configs.size(); ++i)
        groups.append(RunCfgFile_WriteGroup(*configs[i], int32_t(i)));
    return saveGroups(path, groups);
}
