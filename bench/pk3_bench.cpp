// PK3 index: opening an archive of 5,000 members (end record, central directory walk, hash
// index) and 5,000 name look-ups in it.
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "Pk3Writer.h"
#include "quake3/Pk3Archive.h"

namespace {

constexpr int kMembers = 5000;

QString memberName(int i) {
    return QStringLiteral("textures/set%1/Wall_%2.tga").arg(i % 50).arg(i);
}

// One archive for all cases, written once.
struct Archive {
    QTemporaryDir dir;
    QByteArray path;
    QList<QByteArray> names;
    Archive() {
        QList<Pk3Entry> entries;
        for (int i = 0; i < kMembers; ++i) {
            names << memberName(i).toUtf8();
            entries.append({names.last(), QByteArray::number(i), 0});
        }
        path = QFile::encodeName(dir.filePath("big.pk3"));
        QFile file(QFile::decodeName(path));
        file.open(QIODevice::WriteOnly);
        file.write(Pk3Build(entries));
    }
};

Archive& archive() {
    static Archive a;
    return a;
}

void BM_Pk3Index5000(benchmark::State& state) {
    const QByteArray& path = archive().path;
    for (auto _ : state) {
        // No DoNotOptimize(index) here: GCC 12 with the sanitizers keeps the result of Pk3_Open in
        // a register for the asm's "+m,r" operand and hands Pk3_Close the never-written stack
        // slot. Closing uses the index, and opening reads the file, so nothing is optimised away.
        Pk3Index* index = Pk3_Open(path.constData());
        if (!index) {
            state.SkipWithError("the archive was refused");
            break;
        }
        Pk3_Close(index);
    }
}
BENCHMARK(BM_Pk3Index5000)->Unit(benchmark::kMillisecond);

void BM_Pk3Lookup5000(benchmark::State& state) {
    Pk3Index* index = Pk3_Open(archive().path.constData());
    const QList<QByteArray>& names = archive().names;
    for (auto _ : state) {
        int found = 0;
        for (const QByteArray& name : names)
            found += Pk3_Find(index, name.constData()) != nullptr;
        if (found != kMembers) state.SkipWithError("a member was not found");
    }
    Pk3_Close(index);
}
BENCHMARK(BM_Pk3Lookup5000)->Unit(benchmark::kMicrosecond);

} // namespace
