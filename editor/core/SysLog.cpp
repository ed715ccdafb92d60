// The console log: six printf-style functions, each with its own fixed buffer, that feed the
// main window's console (as HTML) and the debugger output.
#include <cstdarg>
#include <cstdio>

#include "core/Platform.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "core/WaitScope.h"

namespace {

struct LogStyle {
    const char* htmlTemplate; // null: the text itself
    const char* debugPrefix;
    bool toConsole;
};

const LogStyle kPlain = {nullptr, "", true};
const LogStyle kDebugOnly = {nullptr, "", false};
const LogStyle kWarning = {"<font color=\"#FF6000\"><b>Warning:</b></font> %1", "WARNING: ", true};
const LogStyle kError = {"<font color=\"red\"><b>Error:</b></font> %1", "ERROR: ", true};

bool mayLog(const char* format) {
    return format && Sys_Host();
}

void emitLine(const LogStyle& style, const char* text, bool redraw = true) {
    if (style.toConsole) {
        // Log text is plain: a '<' in a texture name must show, not open a tag.
        const QString message = Text_FromWindows1251(text).toHtmlEscaped();
        const QString line =
            style.htmlTemplate ? QString::fromLatin1(style.htmlTemplate).arg(message) : message;
        Sys_Host()->printToConsole(line, redraw);
    }
    Plat_DebugOutput(style.debugPrefix);
    Plat_DebugOutput(text);
    Plat_DebugOutput("\n");
}

void formatLine(char (&buffer)[kSysLogBufferSize], const char* format, va_list args) {
    // vsnprintf cuts at 8191 characters and always terminates.
    std::vsnprintf(buffer, sizeof buffer, format, args);
}

} // namespace

#define SYS_LOG_FORMAT(buffer, format)                                                                       \
    static char buffer[kSysLogBufferSize];                                                                   \
    do {                                                                                                     \
        va_list args;                                                                                        \
        va_start(args, format);                                                                              \
        formatLine(buffer, format, args);                                                                    \
        va_end(args);                                                                                        \
    } while (0)

void Sys_Printf(const char* format, ...) {
    if (!mayLog(format)) return;
    SYS_LOG_FORMAT(buffer, format);
    emitLine(kPlain, buffer);
}

void Sys_VerbosePrintf(const char* format, ...) {
    // Per-item progress lines would flood the splash screen and the precache wait.
    if (!mayLog(format) || Sys_Host()->starting() || g_waitScope) return;
    SYS_LOG_FORMAT(buffer, format);
    emitLine(kPlain, buffer);
}

void Sys_PrintfNoRedraw(const char* format, ...) {
    if (!mayLog(format)) return;
    SYS_LOG_FORMAT(buffer, format);
    emitLine(kPlain, buffer, false);
}

void Sys_DebugPrintf(const char* format, ...) {
    if (!mayLog(format)) return;
    SYS_LOG_FORMAT(buffer, format);
    emitLine(kDebugOnly, buffer);
}

void Sys_Warning(const char* format, ...) {
    if (!mayLog(format)) return;
    SYS_LOG_FORMAT(buffer, format);
    emitLine(kWarning, buffer);
}

void Sys_Error(const char* format, ...) {
    if (!mayLog(format)) return;
    SYS_LOG_FORMAT(buffer, format);
    emitLine(kError, buffer);
}
