// SPDX-License-Identifier: GPL-3.0-or-later
// Loading speed of the readers against the bare cost of reading the same bytes.
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <benchmark/benchmark.h>

namespace {

// Format-4 sections of `points` points each, then the end header.
QByteArray makeIlda(int frames, int points)
{
    QByteArray bytes;
    bytes.reserve(frames * (32 + points * 10) + 32);
    auto u16 = [&](int v) {
        bytes.append(char(v >> 8));
        bytes.append(char(v));
    };
    for (int f = 0; f <= frames; ++f) {
        const int count = f == frames ? 0 : points;
        bytes.append("ILDA", 4);
        bytes.append("\0\0\0\4", 4);
        bytes.append("Bench\0\0\0Lumenar\0", 16);
        u16(count);
        u16(f);
        u16(frames);
        bytes.append("\0\0", 2);
        for (int i = 0; i < count; ++i) {
            u16(i * 7);
            u16(-i * 3);
            u16(i);
            bytes.append(char(i % 17 == 0 ? 0x40 : 0));
            bytes.append(char(i));
            bytes.append(char(i * 3));
            bytes.append(char(i * 5));
        }
    }
    return bytes;
}

struct BigFile
{
    QTemporaryDir dir;
    QString path;
    qint64 size = 0;

    BigFile(int frames, int points)
    {
        path = dir.filePath(QStringLiteral("big.ild"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        const QByteArray bytes = makeIlda(frames, points);
        size = bytes.size();
        file.write(bytes);
    }
};

void BM_ReadBytes(benchmark::State& state)
{
    BigFile big(int(state.range(0)), int(state.range(1)));
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (auto _ : state) {
        QFile file(big.path);
        file.open(QIODevice::ReadOnly);
        qint64 total = 0;
        qint64 got;
        while ((got = file.read(buffer.data(), buffer.size())) > 0)
            total += got;
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * big.size);
}

void BM_LoadIlda(benchmark::State& state)
{
    BigFile big(int(state.range(0)), int(state.range(1)));
    InfoWindow info;
    for (auto _ : state) {
        const QString message = globalIldaFrames.loadFile(big.path, info);
        if (!message.isEmpty())
            state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(state.iterations() * big.size);
}

} // namespace

// Many small frames stress the per-section costs, few large ones the per-point costs.
BENCHMARK(BM_ReadBytes)
    ->Args({20000, 100})
    ->Args({60000, 10})
    ->Args({200, 10000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadIlda)
    ->Args({20000, 100})
    ->Args({60000, 10})
    ->Args({200, 10000})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
