// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Play.h"

#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "output/LaserOutput.h"
#include "tools/Inspector.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QScopedPointer>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace Play {

const char Help[] =
    "--play FILE --to etherdream:HOST[:PORT]|idn:HOST[:PORT] --duration SECONDS: stream FILE to\n"
    "  a laser DAC, then black out (SIGINT and SIGTERM black out too)\n"
    "  --duration SECONDS  how long to play, 0.1 to 86400 (required)\n"
    "  --pps N             scan rate in points per second, 1000 to 100000 (default 30000)\n"
    "  --fps N             show each frame for 1/N s, 1 to 120 (default: each frame once)\n"
    "  --scale PERCENT     shrink the picture about the centre, 1 to 100 (default 100)\n";

namespace {

const char Usage[] =
    "usage: lumenar-inspect --play FILE --to etherdream:HOST[:PORT]|idn:HOST[:PORT]\n"
    "                       --duration SECONDS [--pps N] [--fps N] [--scale PERCENT]\n";

int usageError(QTextStream& err, const QString& message)
{
    err << "lumenar-inspect: " << message << "\n" << Usage;
    return Inspector::UsageError;
}

bool parseNumber(const QCommandLineParser& parser, const QString& name, double low, double high,
                 double& value, QString& error)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const double parsed = parser.value(name).toDouble(&ok);
    if (!ok || !std::isfinite(parsed) || parsed < low || parsed > high) {
        error = QStringLiteral("--%1 must be a number from %2 to %3").arg(name).arg(low).arg(high);
        return false;
    }
    value = parsed;
    return true;
}

// SIGINT and SIGTERM write a byte into a pipe that the event loop watches: the only thing a
// handler may safely do.
int signalPipe[2] = {-1, -1};

extern "C" void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

class SignalGuard
{
public:
    SignalGuard()
    {
        if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_oldInt);
        sigaction(SIGTERM, &action, &m_oldTerm);
        m_installed = true;
    }
    ~SignalGuard()
    {
        if (!m_installed)
            return;
        sigaction(SIGINT, &m_oldInt, nullptr);
        sigaction(SIGTERM, &m_oldTerm, nullptr);
        ::close(signalPipe[0]);
        ::close(signalPipe[1]);
        signalPipe[0] = signalPipe[1] = -1;
    }
    int readEnd() const { return m_installed ? signalPipe[0] : -1; }

private:
    struct sigaction m_oldInt = {};
    struct sigaction m_oldTerm = {};
    bool m_installed = false;
};

// The show's schedule, in points: without a frame rate every frame is scanned once, in file
// order, round and round; with one, frame k ends at point (k + 1) * rate / fps, and is scanned
// as many whole times as fit before then, at least once.
class Schedule
{
public:
    // The output's rate is read at each scan: the DAC may have lowered it.
    Schedule(const LaserOutput& output, int fps) : m_output(output), m_fps(fps) {}

    IldaFrame next(qint64 position)
    {
        const double pointsPerFrame = m_fps > 0 ? double(m_output.rate()) / m_fps : 0;
        const int frames = globalIldaFrames.getNumberOfFrames();
        if (frames == 0)
            return IldaFrame();
        if (m_start < 0) {
            m_start = position;
            return globalIldaFrames.getFrame(0);
        }
        const IldaFrame current = globalIldaFrames.getFrame(m_frame % frames);
        const double end = m_start + (m_frame + 1) * pointsPerFrame;
        if (pointsPerFrame <= 0 || position + current.getNumberOfPoints() > end)
            ++m_frame;
        return globalIldaFrames.getFrame(int(m_frame % frames));
    }

private:
    const LaserOutput& m_output;
    int m_fps;
    qint64 m_start = -1;
    qint64 m_frame = 0;
};

} // namespace

bool isPlayCommand(const QStringList& args)
{
    for (const QString& arg : args) {
        if (arg == QLatin1String("--"))
            return false;
        if (arg == QLatin1String("--play") || arg.startsWith(QLatin1String("--play=")))
            return true;
    }
    return false;
}

int run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : {"play", "to", "duration", "pps", "fps", "scale"})
        parser.addOption({QLatin1String(name), QString(), QStringLiteral("VALUE")});
    if (!parser.parse(QStringList(QStringLiteral("lumenar-inspect")) + args))
        return usageError(err, parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            err,
            QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));
    if (!parser.isSet(QStringLiteral("to")) || !parser.isSet(QStringLiteral("duration")))
        return usageError(err, QStringLiteral("--play needs --to and --duration"));

    double duration = 0, rate = LaserOutput::DefaultRate, fps = 0, scale = 100;
    QString error;
    if (!parseNumber(parser, QStringLiteral("duration"), 0.1, 86400, duration, error) ||
        !parseNumber(parser, QStringLiteral("pps"), LaserOutput::MinRate, LaserOutput::MaxRate,
                     rate, error) ||
        !parseNumber(parser, QStringLiteral("fps"), 1, 120, fps, error) ||
        !parseNumber(parser, QStringLiteral("scale"), 1, 100, scale, error))
        return usageError(err, error);
    for (const char* name : {"pps", "fps", "scale"}) {
        if (parser.isSet(QLatin1String(name)) && parser.value(QLatin1String(name)).contains('.'))
            return usageError(err, QStringLiteral("--%1 takes a whole number").arg(name));
    }
    LaserOutput::Protocol protocol;
    QString host;
    quint16 port = 0;
    if (!LaserOutput::parseTarget(parser.value(QStringLiteral("to")), protocol, host, port, error))
        return usageError(err, error);

    const QString file = parser.value(QStringLiteral("play"));
    InfoWindow info;
    const QString loadError = globalIldaFrames.loadFile(file, info);
    if (!loadError.isEmpty()) {
        err << "lumenar-inspect: " << file << ": " << loadError << "\n";
        return Inspector::LoadFailed;
    }

    SignalGuard signalGuard;
    LaserOutput* output = LaserOutput::create(protocol);
    QScopedPointer<LaserOutput> owner(output);
    output->setRate(int(rate));
    MapOptions options;
    options.scalePercent = int(scale);
    output->setMapOptions(options);
    Schedule schedule{*output, int(fps)};
    output->setSupplier([&schedule](qint64 position) { return schedule.next(position); });

    QEventLoop loop;
    QTimer durationTimer;
    durationTimer.setSingleShot(true);
    durationTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&durationTimer, &QTimer::timeout, output, &LaserOutput::blackout);
    bool failed = false;
    QObject::connect(output, &LaserOutput::connected, [&](const QString& description) {
        out << description << "\n";
        out.flush();
        durationTimer.start(int(std::lround(duration * 1000)));
    });
    QObject::connect(output, &LaserOutput::notice, [&](const QString& message) {
        err << "lumenar-inspect: " << message << "\n";
        err.flush();
    });
    QObject::connect(output, &LaserOutput::failed, [&](const QString& message) {
        failed = true;
        err << "lumenar-inspect: " << message << "\n";
        err.flush();
    });
    QObject::connect(output, &LaserOutput::finished, &loop, &QEventLoop::quit);
    std::unique_ptr<QSocketNotifier> signalNotifier;
    if (signalGuard.readEnd() >= 0) {
        signalNotifier.reset(new QSocketNotifier(signalGuard.readEnd(), QSocketNotifier::Read));
        QObject::connect(signalNotifier.get(), &QSocketNotifier::activated, output, [&] {
            char byte;
            while (::read(signalGuard.readEnd(), &byte, 1) > 0) {
            }
            output->blackout();
        });
    }
    output->open(host, port);
    if (!output->isFinished())
        loop.exec();
    if (!failed)
        out << "sent " << output->pointsSent() << " points in "
            << QString::number(output->secondsStreamed(), 'f', 2) << " s\n";
    out.flush();
    return failed ? Inspector::LoadFailed : Inspector::Success;
}

} // namespace Play
