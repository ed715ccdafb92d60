// Command-line splitting and starting external programs (compilers, the game, viewers).
#include <cerrno>
#include <cstring>
#include <vector>

#include "core/Platform.h"
#include "core/System.h"
#include "core/TextEncoding.h"

namespace {

constexpr size_t kMaxArguments = 126;

bool isBlank(char c) {
    return static_cast<unsigned char>(c) < '!';
}

} // namespace

void Sys_SplitSwitches(const QString& line, QString& words, QString& switches) {
    const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    bool inSwitches = false;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (i > 0 && !inSwitches && (part.startsWith('-') || part.startsWith('+'))) inSwitches = true;
        if (inSwitches) {
            switches += part + QLatin1Char(' ');
        } else {
            if (i > 0) words += QLatin1Char(' ');
            words += part;
        }
    }
}

QStringList Sys_SplitArguments(const QString& arguments, const QString& program) {
    const QByteArray file = Path_ToNative(program);
    QByteArray text = Path_ToNative(arguments);
    if (text.size() >= kSysLogBufferSize) {
        Sys_Warning("Sys_Spawn: arguments of \"%s\" cut at %d characters", file.constData(),
                    kSysLogBufferSize - 1);
        text.truncate(kSysLogBufferSize - 1);
    }
    QStringList out;
    const char* p = text.constData();
    for (;;) {
        while (*p && isBlank(*p))
            ++p;
        if (!*p) break;
        if (size_t(out.size()) >= kMaxArguments) {
            Sys_Warning("Sys_Spawn: more than %zu arguments for \"%s\"; the rest are dropped", kMaxArguments,
                        file.constData());
            break;
        }
        const bool quoted = *p == '"';
        if (quoted) ++p;
        const char* start = p;
        while (*p && (quoted ? *p != '"' : !isBlank(*p)))
            ++p;
        out.append(Path_FromNative(QByteArray(start, p - start).constData()));
        if (*p) ++p;
    }
    return out;
}

bool Sys_Spawn(const QString& program, const QString& arguments, bool wait, QString* errorText) {
    return Sys_Spawn(program, Sys_SplitArguments(arguments, program), wait, errorText);
}

bool Sys_Spawn(const QString& program, const QStringList& arguments, bool wait, QString* errorText) {
    const QByteArray file = Path_ToNative(program);
    if (file.isEmpty()) {
        Sys_Error("Sys_Spawn: no program given");
        if (errorText) *errorText = QString::fromUtf8(Plat_ErrorText(ENOENT));
        return false;
    }
    std::vector<QByteArray> storage;
    storage.reserve(size_t(arguments.size()));
    std::vector<char*> argv{const_cast<char*>(file.constData())};
    for (const QString& part : arguments) {
        storage.push_back(Path_ToNative(part));
        argv.push_back(storage.back().data());
    }
    argv.push_back(nullptr);

    int error = 0;
    if (!Plat_Spawn(file.constData(), argv.data(), wait, &error)) {
        Sys_Error("Sys_Spawn: can't start \"%s\" (%s)", file.constData(), Plat_ErrorText(error));
        if (errorText) *errorText = QString::fromUtf8(Plat_ErrorText(error));
        return false;
    }
    return true;
}
