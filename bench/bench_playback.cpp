// SPDX-License-Identifier: GPL-3.0-or-later
// Playback in the window's 2x2 grid at 30 fps requested: how many frames reach the screen per
// second, for the demo show and for a show of full 32,768-point frames. The player keeps real
// time by skipping, so "show_fps" stays near 30 while "presented_fps" shows what drawing allows.
#include "app/MainWindow.h"
#include "model/IldaFrames.h"
#include "playback/Player.h"
#include "tools/DemoShow.h"
#include "views/IldaView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr double Seconds = 3.0;

using BenchWindow = MainWindow;

// Counts the paints of one widget.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Eight format-4 frames of 32,768 points each: a turning spiral over a sphere in rainbow colours.
QByteArray denseShow()
{
    constexpr int Frames = 8;
    constexpr int Points = 32768;
    QByteArray bytes;
    auto u16 = [&bytes](int v) {
        bytes.append(char((v >> 8) & 0xff));
        bytes.append(char(v & 0xff));
    };
    auto header = [&](int count, int number) {
        bytes.append("ILDA\0\0\0\4Sphere\0\0Lumenar\0", 24);
        u16(count);
        u16(number);
        u16(Frames);
        bytes.append("\0\0", 2);
    };
    for (int f = 0; f < Frames; ++f) {
        header(Points, f);
        for (int i = 0; i < Points; ++i) {
            const double t = (i + 0.5) / Points;
            const double theta = t * 2.0 * M_PI * 64.0 + f * M_PI / Frames;
            const double phi = std::acos(1.0 - 2.0 * t);
            u16(int(30000.0 * std::sin(phi) * std::cos(theta)));
            u16(int(30000.0 * std::cos(phi)));
            u16(int(30000.0 * std::sin(phi) * std::sin(theta)));
            bytes.append(char(i % 256 < 8 ? 0x40 : 0));
            const QColor c = QColor::fromHsv(i * 360 / Points, 255, 255);
            bytes.append(char(c.blue()));
            bytes.append(char(c.green()));
            bytes.append(char(c.red()));
        }
    }
    header(0, 0);
    return bytes;
}

void BM_Playback(benchmark::State& state, const QString& path)
{
    for (auto _ : state) {
        BenchWindow window(path);
        Player* player = window.getPlayer();
        player->setRate(Player::FramesPerSecond, 30, Player::DefaultPps);
        // Frames of the show passed, skipped ones included: 30 a second when time is kept.
        int passed = 0;
        int last = 0;
        const int count = globalIldaFrames.getNumberOfFrames();
        QObject::connect(player, &Player::frameDue, [&](int frame) {
            passed += (frame - last + count) % count;
            last = frame;
        });
        PaintCounter counter;
        const QList<IldaView*> views = window.findChildren<IldaView*>();
        if (views.size() != 4) {
            state.SkipWithError("the window does not show the 2x2 grid");
            return;
        }
        views.first()->installEventFilter(&counter);

        QElapsedTimer clock;
        clock.start();
        player->play();
        QEventLoop loop;
        QTimer::singleShot(int(Seconds * 1000), &loop, &QEventLoop::quit);
        loop.exec();
        player->stop();
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        state.counters["presented_fps"] = counter.paints / seconds;
        state.counters["show_fps"] = passed / seconds;
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir; // settings of its own: the grid, default options
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    QApplication app(argc, argv);

    const QString demo = dir.filePath(QStringLiteral("demo.ild"));
    const QString dense = dir.filePath(QStringLiteral("dense.ild"));
    for (const auto& [path, bytes] :
         {std::make_pair(demo, DemoShow::ildaShow()), std::make_pair(dense, denseShow())}) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
    }

    benchmark::RegisterBenchmark("playback/demo", BM_Playback, demo)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark("playback/32768_points", BM_Playback, dense)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
