// libFuzzer harness of the project reader: every input is written to one temporary file and read
// into a fresh world, which is then destroyed. Bad input must fail cleanly; the sanitizers and
// the fuzzer's leak and timeout checks catch everything else.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

#include "FuzzSupport.h"
#include "document/MapWorld.h"
#include "document/ZmfFile.h"
#include "kstdlib/kstdlib.h"

namespace {

QString g_path;

void startOnce() {
    static int argc = 1;
    static char name[] = "zmf_fuzz";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    // One folder per fuzzing process (workers run side by side), removed at exit.
    g_path = Fuzz_MakeFolder("zmf_fuzz") + QStringLiteral("/input.zmf");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startOnce();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        QFile file(g_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        if (file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) std::abort();
    }
    MapWorld world;
    Map_InitWorld(&world, nullptr);
    // The faulty-writer question: both answers are reached, chosen by the input's length.
    const bool answer = size & 1;
    Project_ReadWorld(&world, g_path, [answer](const QString&) { return answer; });
    Map_DestroyWorld(&world);
    return 0;
}
