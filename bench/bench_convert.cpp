// SPDX-License-Identifier: GPL-3.0-or-later
// What the inspector's outputs cost against loading the same file: --convert of a large show,
// --check of an animation that names one picture a great many times.
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "tools/Inspector.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <benchmark/benchmark.h>

namespace {

void u16(QByteArray& bytes, int v)
{
    bytes.append(char(v >> 8));
    bytes.append(char(v));
}

// Format-4 frames of `points` points each, then the end header.
QString writeIlda(const QTemporaryDir& dir, int frames, int points)
{
    QByteArray bytes;
    bytes.reserve(frames * (32 + points * 10) + 32);
    for (int f = 0; f <= frames; ++f) {
        const int count = f == frames ? 0 : points;
        bytes.append("ILDA\0\0\0\4Bench\0\0\0Lumenar\0", 24);
        u16(bytes, count);
        u16(bytes, f);
        u16(bytes, frames);
        bytes.append("\0\0", 2);
        for (int i = 0; i < count; ++i) {
            u16(bytes, i * 7);
            u16(bytes, -i * 3);
            u16(bytes, i);
            bytes.append(char(i % 17 == 0 ? 0x40 : (i == count - 1 ? 0x80 : 0)));
            bytes.append(char(i)).append(char(i * 3)).append(char(i * 5));
        }
    }
    const QString path = dir.filePath(QStringLiteral("big.ild"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

// An animation naming one 100-point picture `entries` times.
QString writeAni(const QTemporaryDir& dir, int entries)
{
    QByteArray pic;
    u16(pic, 4); // version
    pic.append(4, '\0');
    u16(pic, 100);
    pic.append(6, '\0'); // two bytes, then no extension
    for (int i = 0; i < 100; ++i) {
        pic.append('\0').append(char(i % 64));
        u16(pic, i * 100);
        u16(pic, -i * 100);
        u16(pic, 0);
    }
    QDir(dir.path()).mkpath(QStringLiteral("C.catl"));
    QFile picture(dir.filePath(QStringLiteral("C.catl/P.pic")));
    picture.open(QIODevice::WriteOnly);
    picture.write(pic);

    QByteArray ani("\x01\x00\x00", 3); // header value 1, version 0, empty text
    ani.append(6, '\0');
    ani.append('\xFF');
    ani.append(char(entries >> 24)).append(char(entries >> 16));
    u16(ani, entries);
    for (int e = 0; e < entries; ++e)
        ani.append("\x01"
                   "C\x01"
                   "P",
                   4);
    ani.append('\0');
    const QString path = dir.filePath(QStringLiteral("show.ani"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(ani);
    return path;
}

int inspect(const QStringList& args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    return Inspector::run(args, o, e);
}

// About 100 MB: 1,000 frames of 10,000 points.
constexpr int Frames = 1000;
constexpr int Points = 10000;
constexpr int Entries = 1000000;

void BM_LoadBigShow(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeIlda(dir, Frames, Points);
    InfoWindow info;
    for (auto _ : state)
        if (!globalIldaFrames.loadFile(path, info).isEmpty())
            state.SkipWithError("load failed");
}

void BM_ConvertBigShow(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeIlda(dir, Frames, Points);
    const QString out = dir.filePath(QStringLiteral("out.ild"));
    for (auto _ : state)
        if (inspect({QStringLiteral("--convert"), out, QStringLiteral("--force"), path}) != 0)
            state.SkipWithError("convert failed");
}

// The floor of any writer: the same bytes through QSaveFile, committed (flushed to the disk).
void BM_SaveBytes(benchmark::State& state)
{
    QTemporaryDir dir;
    QFile in(writeIlda(dir, Frames, Points));
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    for (auto _ : state) {
        QSaveFile out(dir.filePath(QStringLiteral("out.ild")));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
            state.SkipWithError("write failed");
    }
}

void BM_LoadAnimation(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeAni(dir, Entries);
    InfoWindow info;
    for (auto _ : state)
        if (!globalIldaFrames.loadFile(path, info).isEmpty())
            state.SkipWithError("load failed");
}

void BM_CheckAnimation(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeAni(dir, Entries);
    for (auto _ : state)
        if (inspect({QStringLiteral("--check"), path}) != 0)
            state.SkipWithError("check found something");
}

} // namespace

BENCHMARK(BM_LoadBigShow)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ConvertBigShow)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_SaveBytes)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LoadAnimation)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CheckAnimation)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
