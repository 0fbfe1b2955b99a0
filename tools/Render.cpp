// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Render.h"

#include "check/Conformance.h"
#include "export/Exporter.h"
#include "export/FramePainter.h"
#include "export/OutputFile.h"
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "tools/Inspector.h"
#include "views/IldaView.h"

#include <QCommandLineParser>
#include <QImage>
#include <QRegularExpression>
#include <QTextStream>

namespace Render {
namespace {

const char Usage[] =
    "usage: lumenar-inspect --render OUT.png|OUT.svg|OUT.gif [--frame N] [--fps N]\n"
    "                       [--view front|side|top|perspective|all] [--size WxH]\n"
    "                       [--show-blanked] [--no-dots] [--active front|side|top|perspective]\n"
    "                       FILE\n"
    "  OUT's suffix chooses the picture: PNG or SVG (vector) of frame N (default 0), or an\n"
    "  animated GIF of every frame at N frames per second (--fps, 1 to 120, default 30; a GIF\n"
    "  plays at most 50, so faster shows leave frames out and keep their timing).\n";

// Large enough for any screen, small enough that a typo cannot ask for gigabytes.
constexpr int MaxSide = 8192;

bool parseLayout(const QString& name, bool allowAll, Layout& layout)
{
    static const char* const names[] = {"front", "side", "top", "perspective", "all"};
    for (int i = 0; i <= All; ++i) {
        if (name == QLatin1String(names[i]) && (allowAll || i != All)) {
            layout = Layout(i);
            return true;
        }
    }
    return false;
}

bool parseSize(const QString& text, QSize& size)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    const int w = match.captured(1).toInt();
    const int h = match.captured(2).toInt();
    if (w < 1 || h < 1 || w > MaxSide || h > MaxSide)
        return false;
    size = QSize(w, h);
    return true;
}

int usageError(QTextStream& err, const QString& message)
{
    err << "lumenar-inspect: " << message << "\n" << Usage;
    return Inspector::UsageError;
}

} // namespace

bool isRenderCommand(const QStringList& args)
{
    for (const QString& arg : args) {
        if (arg == QLatin1String("--"))
            return false;
        if (arg == QLatin1String("--render"))
            return true;
    }
    return false;
}

QImage renderFrame(Layout layout, const QSize& size)
{
    return FramePainter(int(layout), size).image();
}

int run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    int frame = -1;
    int fps = -1;
    Layout layout = All;
    Layout active = Front;
    QSize size;
    QCommandLineParser parser;
    for (const char* name : {"render", "frame", "fps", "view", "size", "active"})
        parser.addOption({QLatin1String(name), QString(), QStringLiteral("VALUE")});
    parser.addOptions(
        {{QStringLiteral("show-blanked"), QString()}, {QStringLiteral("no-dots"), QString()}});
    const QString usage = Inspector::parseArguments(parser, args);
    if (!usage.isEmpty())
        return usageError(err, usage);
    const auto value = [&parser](const char* name) { return parser.value(QLatin1String(name)); };
    const auto isSet = [&parser](const char* name) { return parser.isSet(QLatin1String(name)); };
    const QString output = value("render");
    if (parser.positionalArguments().size() > 1)
        return usageError(err, QStringLiteral("--render draws one file"));
    const QString file = parser.positionalArguments().value(0);
    bool ok = true;
    if (isSet("frame") && ((frame = value("frame").toInt(&ok)) < 0 || !ok))
        return usageError(err, QStringLiteral("bad frame number %1").arg(value("frame")));
    if (isSet("fps") && ((fps = value("fps").toInt(&ok)) < 1 || fps > 120 || !ok))
        return usageError(err, QStringLiteral("bad frame rate %1 (1 to 120)").arg(value("fps")));
    if (isSet("view") && !parseLayout(value("view"), true, layout))
        return usageError(err, QStringLiteral("unknown view %1").arg(value("view")));
    if (isSet("active") && !parseLayout(value("active"), false, active))
        return usageError(err, QStringLiteral("unknown view %1").arg(value("active")));
    if (isSet("size") && !parseSize(value("size"), size))
        return usageError(err, QStringLiteral("bad size %1 (WxH, 1 to %2 pixels each)")
                                   .arg(value("size"))
                                   .arg(MaxSide));
    const bool showBlanked = isSet("show-blanked");
    const bool showDots = !isSet("no-dots");
    if (output.isEmpty() || file.isEmpty())
        return usageError(err, QStringLiteral("--render needs OUT and FILE"));
    const Exporter::Format format = Exporter::formatOf(output);
    if (format == Exporter::Unknown)
        return usageError(err, QStringLiteral("%1 is neither .png, .svg nor .gif").arg(output));
    if (format == Exporter::Gif && frame >= 0)
        return usageError(err, QStringLiteral("a GIF holds every frame; --frame does not apply"));
    if (format != Exporter::Gif && fps >= 0)
        return usageError(err, QStringLiteral("--fps applies to GIF output only"));
    if (!size.isValid())
        size = layout == All ? QSize(650, 650) : QSize(400, 400);
    frame = qMax(frame, 0);
    fps = fps < 0 ? 30 : fps;

    const QString refusal = OutputFile::refusal(output, Conformance::inputsOf(file), true);
    if (!refusal.isEmpty()) {
        err << "lumenar-inspect: " << refusal << "\n";
        return Inspector::LoadFailed;
    }
    InfoWindow info;
    const QString error = globalIldaFrames.loadFile(file, info);
    if (!error.isEmpty()) {
        err << Inspector::loadError(file, error);
        return Inspector::LoadFailed;
    }
    const int frames = globalIldaFrames.getNumberOfFrames();
    if (frame >= frames)
        return usageError(err, QStringLiteral("frame %1 is outside %2, which has %3 frames "
                                              "(numbered from 0)")
                                   .arg(frame)
                                   .arg(file)
                                   .arg(frames));

    globalIldaFrames.setShowBlankedLines(showBlanked);
    globalIldaFrames.setShowDots(showDots);
    IldaView::Reset(true);
    IldaView::m_activeView = static_cast<unsigned int>(active);

    QString failure;
    if (format == Exporter::Gif) {
        const qint64 duration = 1000000000 / fps;
        failure = Exporter::writeAnimation(output, format, int(layout), size,
                                           [duration](int) { return duration; }, true, {});
    } else {
        failure = Exporter::writePicture(output, format, frame, int(layout), size);
    }
    if (!failure.isEmpty()) {
        err << Inspector::writeError(failure);
        return Inspector::LoadFailed;
    }
    if (format == Exporter::Gif && fps > Exporter::MaxGifFps)
        err << "lumenar-inspect: note: a GIF plays at most " << Exporter::MaxGifFps
            << " frames per second; frames are left out so that the show keeps its timing\n";
    if (format == Exporter::Gif)
        out << output << ": " << frames << " frames of " << file << " at " << fps << " fps, ";
    else
        out << output << ": frame " << frame << " of " << file << ", ";
    out << size.width() << "x" << size.height() << "\n";
    return Inspector::Success;
}

} // namespace Render
