// Command-line splitting and starting external programs (compilers, the game, viewers).
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

bool Sys_Spawn(const QString& program, const QString& arguments, bool wait) {
    const QByteArray file = Path_ToNative(program);
    if (file.isEmpty()) {
        Sys_Error("Sys_Spawn: no program given");
        return false;
    }

    QByteArray text = Path_ToNative(arguments);
    if (text.size() >= kSysLogBufferSize) {
        Sys_Warning("Sys_Spawn: arguments of \"%s\" cut at %d characters", file.constData(),
                    kSysLogBufferSize - 1);
        text.truncate(kSysLogBufferSize - 1);
    }
    std::vector<char> buffer(text.constData(), text.constData() + text.size());
    buffer.push_back('\0');

    // Cut the text in place: blanks separate arguments, double quotes group one.
    std::vector<char*> argv{const_cast<char*>(file.constData())};
    char* p = buffer.data();
    for (;;) {
        while (*p && isBlank(*p))
            ++p;
        if (!*p) break;
        if (argv.size() > kMaxArguments) {
            Sys_Warning("Sys_Spawn: more than %zu arguments for \"%s\"; the rest are dropped", kMaxArguments,
                        file.constData());
            break;
        }
        const bool quoted = *p == '"';
        if (quoted) ++p;
        argv.push_back(p);
        while (*p && (quoted ? *p != '"' : !isBlank(*p)))
            ++p;
        if (*p) *p++ = '\0';
    }
    argv.push_back(nullptr);

    int error = 0;
    if (!Plat_Spawn(file.constData(), argv.data(), wait, &error)) {
        Sys_Error("Sys_Spawn: can't start \"%s\" (%s)", file.constData(), Plat_ErrorText(error));
        return false;
    }
    return true;
}
