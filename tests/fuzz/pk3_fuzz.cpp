// libFuzzer harness of the PK3 reader: each input is written to a file, opened as an archive,
// listed, and every listed member loaded (bounds, inflate and CRC-32 checks), then closed. A
// damaged archive must be refused with a warning; a crash, leak or sanitizer report is a fault.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

#include "FuzzSupport.h"
#include "core/System.h"
#include "quake3/Pk3Archive.h"

namespace {
QByteArray g_path;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_path = QFile::encodeName(Fuzz_MakeFolder("pk3_fuzz") + QStringLiteral("/input.pk3"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        QFile file(QFile::decodeName(g_path));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        if (file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) std::abort();
    }
    Pk3Index* index = Pk3_Open(g_path.constData());
    if (!index) return 0;
    char** names = nullptr;
    if (Pk3_List(index, "*", &names)) {
        for (char** name = names; *name; ++name) {
            void* member = nullptr;
            if (Pk3_LoadMember(index, *name, &member)) Sys_Free(member);
            // A head stops inside the member's data: stored or deflated, it must end cleanly.
            if (Pk3_LoadMember(index, *name, &member, 7)) Sys_Free(member);
            Sys_Free(*name);
        }
        Sys_Free(names);
    }
    Pk3_Close(index);
    return 0;
}
