// libFuzzer harness of the effect-script writer: the input is the old script the writer reads
// back before it writes one effect into it. An input that does not name the effect must come out
// as its own bytes followed by the appended entry.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "FuzzSupport.h"
#include "gamedata/TextureRecords.h"

bool WriteShaderScript(const char* scriptPath, ShaderRecord* list, bool all);

namespace {
QByteArray g_path;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Fuzz_StartMainWindow("shader_writer_fuzz");
    g_path = QFile::encodeName(
        QDir::temp().filePath(QStringLiteral("shader_writer_fuzz_%1.shader").arg(getpid())));
    std::atexit([] { QFile::remove(QFile::decodeName(g_path)); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20) return 0;
    const QByteArray old(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile file(QString::fromLocal8Bit(g_path));
        if (!file.open(QIODevice::WriteOnly) || file.write(old) != old.size()) std::abort();
    }
    ShaderRecord effect{};
    std::strcpy(effect.name, "fz/e");
    effect.pluginData = strdup("{\n\tcull none\n}");
    if (!WriteShaderScript(g_path.constData(), &effect, false)) std::abort();
    std::free(effect.pluginData);
    QFile file(QString::fromLocal8Bit(g_path));
    if (!file.open(QIODevice::ReadOnly)) std::abort();
    const QByteArray written = file.readAll();
    if (!old.toLower().contains("fz/e") && !written.startsWith(old)) std::abort();
    if (!written.contains("cull none")) std::abort();
    return 0;
}
