// SPDX-License-Identifier: GPL-3.0-or-later
// Laser output on loopback: how many points per second each client sustains at 30,000 and
// 100,000 requested, measured at the receiver, and the CPU time the whole process (client and
// receiver) used per second of streaming.
#include "output/EtherDreamClient.h"
#include "tests/FakeDacs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <memory>

namespace {

constexpr int Seconds = 2;

// A show of one 600-point circle.
IldaFrame circle()
{
    IldaFrame frame;
    for (int i = 0; i < 600; ++i) {
        const double a = i * 6.283185307 / 600;
        frame.appendPoint(
            {int16_t(20000 * std::cos(a)), int16_t(20000 * std::sin(a)), 0, false, 255, 128, 0});
    }
    return frame;
}

void streamFor(benchmark::State& state, LaserOutput::Protocol protocol)
{
    const int rate = int(state.range(0));
    for (auto _ : state) {
        FakeEtherDream etherDream;
        FakeIdn idn;
        etherDream.broadcastPort = 0;
        const QVector<ReceivedPoint>& received =
            protocol == LaserOutput::Idn ? idn.points : etherDream.points;
        std::unique_ptr<LaserOutput> output(LaserOutput::create(protocol));
        if (auto* client = qobject_cast<EtherDreamClient*>(output.get()))
            client->setBroadcastPort(0);
        output->setRate(rate);
        output->showFrame(circle());
        QElapsedTimer clock;
        int atStart = 0;
        std::clock_t cpuStart = 0;
        QEventLoop loop;
        QObject::connect(output.get(), &LaserOutput::connected, [&] {
            atStart = received.size();
            cpuStart = std::clock();
            clock.start();
            QTimer::singleShot(Seconds * 1000, &loop, &QEventLoop::quit);
        });
        QObject::connect(output.get(), &LaserOutput::failed, [&] {
            state.SkipWithError("the stream failed");
            loop.quit();
        });
        output->open(QStringLiteral("127.0.0.1"),
                     protocol == LaserOutput::Idn ? idn.port() : etherDream.port());
        loop.exec();
        const double seconds = clock.elapsed() / 1000.0;
        const double cpu = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        state.counters["received_pps"] = (received.size() - atStart) / seconds;
        state.counters["cpu_percent"] = 100 * cpu / seconds;
        output->blackout();
        output->waitForFinished(2000);
    }
}

void BM_EtherDream(benchmark::State& state)
{
    streamFor(state, LaserOutput::EtherDream);
}
void BM_Idn(benchmark::State& state)
{
    streamFor(state, LaserOutput::Idn);
}

} // namespace

BENCHMARK(BM_EtherDream)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Idn)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
