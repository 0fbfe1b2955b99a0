// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Inspector.h"

#include "app/CommandLine.h"
#include "check/Conformance.h"
#include "check/ControllerCheck.h"
#include "check/FrameStats.h"
#include "check/IldaWriter.h"
#include "export/OutputFile.h"
#include "info/InfoModel.h"
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "tools/Play.h"
#include "tools/Render.h"
#include "tools/Thumbnail.h"
#include "views/IldaView.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>

namespace Inspector {
namespace {

const char Usage[] =
    "usage: lumenar-inspect [--json [--no-points]] FILE...\n"
    "       lumenar-inspect --render OUT.png|OUT.svg|OUT.gif [render options] FILE\n"
    "       lumenar-inspect --check [--json] FILE...\n"
    "       lumenar-inspect --readable [--json [--no-points]] FILE...\n"
    "       lumenar-inspect --convert OUT.ild [--format 0|1|4|5] [--force] FILE\n"
    "       lumenar-inspect --stats [--json] FILE...\n"
    "       lumenar-inspect --thumbnail SIZE FILE OUT.png\n"
    "       lumenar-inspect -h, --help | -v, --version\n";

// --help adds a line for every option of every mode; a usage error shows the synopsis alone.
const char OptionHelp[] =
    "\n"
    "Listing (the default), --readable, --check and --stats:\n"
    "  --json              one JSON object per file, on one line\n"
    "  --no-points         listing with --json: leave the point lists out\n"
    "--render OUT: draw with the viewer's views; OUT's suffix chooses PNG, SVG or animated GIF\n"
    "  --frame N           the frame to draw, from 0 (PNG and SVG; default 0)\n"
    "  --fps N             GIF frames per second, 1 to 120 (default 30); a GIF plays at\n"
    "                      most 50, so a faster show leaves frames out and keeps its timing\n"
    "  --view VIEW         front, side, top, perspective or all (default all, the 2x2 grid)\n"
    "  --size WxH          picture size in pixels (default 650x650 for all, else 400x400)\n"
    "  --show-blanked      draw the blanked moves too\n"
    "  --no-dots           draw lines without the dots at the points\n"
    "  --active VIEW       the view drawn as active (default front)\n"
    "--check: report where FILE departs from the ILDA standard (exit 1 on any finding)\n"
    "--readable: list the whole frames before a damaged file's first error, as the listing\n"
    "  does (exit 1 when none is kept)\n"
    "--convert OUT.ild: write FILE as a standard ILDA file (true colour, format 4 or 5)\n"
    "  --format F          0 or 1 (3-D or 2-D, the standard 64-colour palette), 4 or 5\n"
    "                      (3-D or 2-D, true colour) for a projector that reads only that one\n"
    "  --force             write over an existing OUT (never over an input)\n"
    "--stats: points, lit and blanked points, bounding box and colours per frame\n"
    "--thumbnail SIZE: frame 0 in the front view as a SIZE x SIZE PNG (1 to 8192)\n"
    "  -h, --help          print this help and exit\n"
    "  -v, --version       print the version and exit\n";

// The same limit as --render's.
constexpr int MaxThumbnail = 8192;

struct Options
{
    bool json = false;
    bool points = true;
    QStringList files;
};

int usageError(QTextStream& err, const QString& message)
{
    err << "lumenar-inspect: " << message << "\n" << Usage;
    return UsageError;
}

// The first mode option before "--", or an empty string for the listing.
QString modeOf(const QStringList& args)
{
    static const char* const modes[] = {"--check",     "--convert", "--stats",
                                        "--thumbnail", "--version", "--readable"};
    for (const QString& arg : args) {
        if (arg == QLatin1String("--"))
            break;
        if (arg == QLatin1String("-v"))
            return QStringLiteral("--version");
        for (const char* mode : modes)
            if (arg == QLatin1String(mode) ||
                arg.startsWith(QLatin1String(mode) + QLatin1Char('=')))
                return QLatin1String(mode);
    }
    return QString();
}

bool parse(QCommandLineParser& parser, const QStringList& args, QTextStream& err)
{
    const QString error = parseArguments(parser, args);
    if (error.isEmpty())
        return true;
    usageError(err, error);
    return false;
}

// The modes that take [--json] FILE...: their files, or none after a reported usage error.
QStringList parseFiles(const QString& mode, const QStringList& args, QTextStream& err, bool& json)
{
    QCommandLineParser parser;
    parser.addOptions({{mode, QString()}, {QStringLiteral("json"), QString()}});
    if (!parse(parser, args, err))
        return {};
    json = parser.isSet(QStringLiteral("json"));
    if (parser.positionalArguments().isEmpty())
        usageError(err, QStringLiteral("--%1 needs at least one FILE").arg(mode));
    return parser.positionalArguments();
}

int runCheck(const QStringList& args, QTextStream& out, QTextStream& err)
{
    bool json = false;
    const QStringList files = parseFiles(QStringLiteral("check"), args, err, json);
    if (files.isEmpty())
        return UsageError;

    int status = Success;
    for (const QString& file : files) {
        // Findings are written as they come, so that a file with millions of them needs no
        // more memory than one with none.
        int count = 0;
        if (json)
            out << "{\"file\":" << jsonString(file) << ",\"findings\":[";
        Conformance::check(file, [&](const Finding& f) {
            const char* severity = f.severity == Finding::Error ? "error" : "warning";
            if (json) {
                out << (count ? ",{" : "{") << "\"code\":" << jsonString(f.code)
                    << ",\"severity\":\"" << severity << "\",\"offset\":" << f.offset
                    << ",\"section\":" << f.section;
                if (f.bytes >= 0)
                    out << ",\"bytes\":" << f.bytes;
                out << ",\"text\":" << jsonString(f.text) << "}";
            } else {
                out << file << ':' << f.offset << ": " << severity << ": " << f.code << ": "
                    << f.text << "\n";
            }
            if (f.code == QLatin1String("cannot-open"))
                err << loadError(file, f.text);
            ++count;
        });
        if (json)
            out << "]}\n";
        out.flush();
        if (count)
            status = LoadFailed;
    }
    return status;
}

int runConvert(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    parser.addOptions({{QStringLiteral("convert"), QString(), QStringLiteral("OUT")},
                       {QStringLiteral("format"), QString(), QStringLiteral("F")},
                       {QStringLiteral("force"), QString()}});
    if (!parse(parser, args, err))
        return UsageError;
    const QString output = parser.value(QStringLiteral("convert"));
    const QStringList files = parser.positionalArguments();
    if (output.isEmpty() || files.size() != 1)
        return usageError(err, QStringLiteral("--convert needs OUT.ild and one FILE"));
    const QString& file = files.first();
    int format = IldaWriter::AutoFormat;
    if (parser.isSet(QStringLiteral("format"))) {
        bool ok = false;
        format = parser.value(QStringLiteral("format")).toInt(&ok);
        if (!ok || !IldaWriter::isFormat(format))
            return usageError(err, QStringLiteral("bad format %1 (0, 1, 4 or 5)")
                                       .arg(parser.value(QStringLiteral("format"))));
    }
    // Cheap refusals first; the inputs are compared once the file has loaded.
    const bool force = parser.isSet(QStringLiteral("force"));
    QString refusal = OutputFile::refusal(output, {file}, force);
    if (!refusal.isEmpty()) {
        err << "lumenar-inspect: " << refusal << "\n";
        return LoadFailed;
    }

    InfoWindow info;
    const QString error = globalIldaFrames.loadFile(file, info);
    if (!error.isEmpty()) {
        err << loadError(file, error);
        return LoadFailed;
    }
    const int frames = globalIldaFrames.getNumberOfFrames();
    if (frames > IldaWriter::MaxFrames) {
        err << "lumenar-inspect: " << file << " has " << frames << " frames; ILDA holds at most "
            << IldaWriter::MaxFrames << "\n";
        return LoadFailed;
    }
    // Never write over what is being read: the file and, for an animation, its pictures.
    refusal = OutputFile::refusal(output, Conformance::inputsOf(file), force);
    if (!refusal.isEmpty()) {
        err << "lumenar-inspect: " << refusal << "\n";
        return LoadFailed;
    }

    const bool controller = !Conformance::controllerKind(file).isEmpty();
    QSaveFile save(output);
    bool ok = save.open(QIODevice::WriteOnly);
    IldaWriter writer(save, frames, format);
    for (int f = 0; ok && f < frames; ++f) {
        const IldaFrame frame = globalIldaFrames.getFrame(f);
        // A controller picture's name is in its information row; an ILDA frame carries its own.
        const QString name = controller ? info.model()->getRow(f).name : frame.getName();
        ok = writer.writeFrame(frame, name, frame.getCompany());
    }
    const QString reason = ok && writer.finish() ? OutputFile::commit(save) : save.errorString();
    if (!reason.isEmpty()) {
        err << "lumenar-inspect: cannot write " << output << ": " << reason << "\n";
        return LoadFailed;
    }
    out << output << ": " << frames << " frames from " << file << "\n";
    return Success;
}

QString coordinates(const qint16* xyz)
{
    return QStringLiteral("[%1,%2,%3]").arg(xyz[0]).arg(xyz[1]).arg(xyz[2]);
}

void printStatsTable(const QString& file, const QVector<FrameStats>& frames, QTextStream& out)
{
    const QStringList headers{"frame", "points", "lit",   "blanked", "min x", "min y",
                              "min z", "max x",  "max y", "max z",   "colors"};
    QVector<QStringList> rows;
    for (int f = 0; f < frames.size(); ++f) {
        const FrameStats& s = frames[f];
        QStringList row{QString::number(f), QString::number(s.points), QString::number(s.lit),
                        QString::number(s.blanked)};
        for (const qint16* corner : {s.min, s.max})
            for (int axis = 0; axis < 3; ++axis)
                row << (s.points ? QString::number(corner[axis]) : QStringLiteral("-"));
        rows << (row << QString::number(s.colors));
    }
    QVector<int> widths;
    for (int c = 0; c < headers.size(); ++c) {
        int width = headers[c].size();
        for (const QStringList& row : rows)
            width = std::max(width, int(row[c].size()));
        widths << width;
    }
    auto line = [&](const QStringList& fields) {
        QString text = QStringLiteral(" ");
        for (int c = 0; c < fields.size(); ++c)
            text += QLatin1Char(' ') + fields[c].rightJustified(widths[c]);
        out << text << "\n";
    };
    out << file << "\n";
    line(headers);
    for (const QStringList& row : rows)
        line(row);
}

int runStats(const QStringList& args, QTextStream& out, QTextStream& err)
{
    bool json = false;
    const QStringList files = parseFiles(QStringLiteral("stats"), args, err, json);
    if (files.isEmpty())
        return UsageError;

    int status = Success;
    InfoWindow info;
    for (const QString& file : files) {
        const QString error = globalIldaFrames.loadFile(file, info);
        if (!error.isEmpty()) {
            err << loadError(file, error);
            if (json)
                out << "{\"file\":" << jsonString(file) << ",\"error\":" << jsonString(error)
                    << "}\n";
            status = LoadFailed;
            continue;
        }
        QVector<FrameStats> frames;
        qint64 totals[3] = {0, 0, 0}; // points, lit, blanked
        for (int f = 0; f < globalIldaFrames.getNumberOfFrames(); ++f) {
            frames << FrameStats::of(globalIldaFrames.getFrame(f));
            totals[0] += frames.last().points;
            totals[1] += frames.last().lit;
            totals[2] += frames.last().blanked;
        }
        if (json) {
            out << "{\"file\":" << jsonString(file) << ",\"frames\":[";
            for (int f = 0; f < frames.size(); ++f) {
                const FrameStats& s = frames[f];
                out << (f ? ",{" : "{") << "\"points\":" << s.points << ",\"lit\":" << s.lit
                    << ",\"blanked\":" << s.blanked
                    << ",\"min\":" << (s.points ? coordinates(s.min) : QStringLiteral("null"))
                    << ",\"max\":" << (s.points ? coordinates(s.max) : QStringLiteral("null"))
                    << ",\"colors\":" << s.colors << "}";
            }
            out << "],\"totals\":{\"frames\":" << frames.size() << ",\"points\":" << totals[0]
                << ",\"lit\":" << totals[1] << ",\"blanked\":" << totals[2] << "}}\n";
        } else {
            printStatsTable(file, frames, out);
            out << "  " << frames.size() << " frames, " << totals[0] << " points, " << totals[1]
                << " lit, " << totals[2] << " blanked\n";
        }
        out.flush();
    }
    return status;
}

int runThumbnail(const QStringList& args, QTextStream& err)
{
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("thumbnail"), QString(), QStringLiteral("SIZE")});
    if (!parse(parser, args, err))
        return UsageError;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return usageError(err, QStringLiteral("--thumbnail needs SIZE, FILE and OUT.png"));
    bool ok = false;
    const int side = parser.value(QStringLiteral("thumbnail")).toInt(&ok);
    if (!ok || side < 1 || side > MaxThumbnail)
        return usageError(err, QStringLiteral("bad size %1 (1 to %2 pixels)")
                                   .arg(parser.value(QStringLiteral("thumbnail")))
                                   .arg(MaxThumbnail));

    return Thumbnail::write(side, files[0], files[1], err);
}

} // namespace

QString loadError(const QString& file, const QString& message)
{
    const QString reason = OutputFile::readReason(file);
    return QStringLiteral("lumenar-inspect: %1: %2%3\n")
        .arg(file, message, reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason));
}

QString writeError(QString failure)
{
    failure.replace(QLatin1Char('\n'), QLatin1Char(' '));
    failure[0] = failure[0].toLower();
    return QStringLiteral("lumenar-inspect: %1\n").arg(failure);
}

QString jsonString(const QString& text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            quoted += QLatin1String("\\\"");
            break;
        case '\\':
            quoted += QLatin1String("\\\\");
            break;
        case '\n':
            quoted += QLatin1String("\\n");
            break;
        case '\r':
            quoted += QLatin1String("\\r");
            break;
        case '\t':
            quoted += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0))
                quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                quoted += c;
        }
    }
    quoted += QLatin1Char('"');
    return quoted;
}

void printTable(const QString& file, const Outcome& outcome, const InfoWindow& info,
                QTextStream& out)
{
    out << file << "\n";
    if (!outcome.error.isEmpty())
        out << "  error: " << outcome.error << "\n";
    if (outcome.stoppedAt >= 0)
        out << "  stopped at byte " << outcome.stoppedAt << "\n";
    for (const IldaFrames::Skipped& skipped : outcome.skipped)
        out << "  skipped entry " << skipped.entry << " at byte " << skipped.offset << ": "
            << skipped.text << "\n";
    if (!outcome.ok)
        return;
    const InfoModel* model = info.model();
    const int rows = model->rowCount();
    QStringList headers{QStringLiteral("#")};
    for (int c = 0; c < model->columnCount(); ++c)
        headers << model->headerData(c, Qt::Horizontal).toString();
    QVector<int> widths;
    for (const QString& h : headers)
        widths << h.size();
    widths[0] = std::max(widths[0], int(QString::number(rows).size()));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            widths[c + 1] = std::max(widths[c + 1], int(model->getTexts(r).at(c).size()));

    // Counts read better right-aligned: the row number and the records column.
    auto line = [&](const QStringList& fields) {
        QString text = QStringLiteral(" ");
        for (int i = 0; i < fields.size(); ++i) {
            const bool number = i == 0 || i == 4;
            text += QLatin1Char(' ');
            text +=
                number ? fields[i].rightJustified(widths[i]) : fields[i].leftJustified(widths[i]);
        }
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        out << text << "\n";
    };
    line(headers);
    for (int r = 0; r < rows; ++r) {
        line(QStringList{QString::number(r)} + model->getTexts(r));
    }
    qint64 points = 0;
    for (int f = 0; f < globalIldaFrames.getNumberOfFrames(); ++f)
        points += globalIldaFrames.getFrame(f).getNumberOfPoints();
    out << "  " << globalIldaFrames.getNumberOfFrames() << " frames, " << points << " points\n";
}

void printJson(const QString& file, const Outcome& outcome, const InfoWindow& info, bool withPoints,
               QTextStream& out)
{
    out << "{\"file\":" << jsonString(file) << ",\"ok\":" << (outcome.ok ? "true" : "false")
        << ",\"error\":" << jsonString(outcome.error);
    if (outcome.stoppedAt >= 0)
        out << ",\"stoppedAt\":" << outcome.stoppedAt;
    if (!outcome.skipped.isEmpty()) {
        out << ",\"skipped\":[";
        for (const IldaFrames::Skipped& skipped : outcome.skipped)
            out << (&skipped == outcome.skipped.begin() ? "{" : ",{")
                << "\"entry\":" << skipped.entry << ",\"offset\":" << skipped.offset
                << ",\"text\":" << jsonString(skipped.text) << "}";
        out << "]";
    }
    out << ",\"rows\":[";
    for (int r = 0; r < info.model()->rowCount(); ++r) {
        const InfoModel::Row row = info.model()->getRow(r);
        out << (r ? ",{" : "{") << "\"format\":" << jsonString(row.format)
            << ",\"name\":" << jsonString(row.name) << ",\"company\":" << jsonString(row.company)
            << ",\"records\":" << row.records << ",\"projector\":" << jsonString(row.projector)
            << "}";
    }
    out << "],\"frames\":[";
    for (int f = 0; f < globalIldaFrames.getNumberOfFrames(); ++f) {
        const IldaFrame frame = globalIldaFrames.getFrame(f);
        out << (f ? ",{" : "{") << "\"name\":" << jsonString(frame.getName())
            << ",\"company\":" << jsonString(frame.getCompany())
            << ",\"frameNumber\":" << frame.getFrameNumber()
            << ",\"totalFrames\":" << frame.getTotalFrames()
            << ",\"pointCount\":" << frame.getNumberOfPoints();
        if (withPoints) {
            out << ",\"points\":[";
            for (int i = 0; i < frame.getNumberOfPoints(); ++i) {
                const IldaPoint p = frame.getPoint(i);
                out << (i ? ",[" : "[") << p.x << ',' << p.y << ',' << p.z << ','
                    << (p.blanked ? 1 : 0) << ',' << int(p.red) << ',' << int(p.green) << ','
                    << int(p.blue) << ']';
            }
            out << "]";
        }
        out << "}";
    }
    out << "]}\n";
}

int run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    for (const QString& arg : args) {
        if (arg == QLatin1String("--"))
            break;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            out << Usage << OptionHelp << Play::Help;
            return Success;
        }
    }
    if (Play::isPlayCommand(args))
        return Play::run(args, out, err);
    if (Render::isRenderCommand(args))
        return Render::run(args, out, err);
    const QString mode = modeOf(args);
    if (mode == QLatin1String("--check"))
        return runCheck(args, out, err);
    if (mode == QLatin1String("--convert"))
        return runConvert(args, out, err);
    if (mode == QLatin1String("--stats"))
        return runStats(args, out, err);
    if (mode == QLatin1String("--readable"))
        return runReadable(args, out, err);
    if (mode == QLatin1String("--thumbnail"))
        return runThumbnail(args, err);
    if (mode == QLatin1String("--version")) {
        if (args.size() != 1)
            return usageError(err, QStringLiteral("--version takes no other argument"));
        out << CommandLine::versionText(QStringLiteral("lumenar-inspect"),
                                        QStringLiteral(LUMENAR_VERSION));
        return Success;
    }
    QCommandLineParser parser;
    parser.addOptions(
        {{QStringLiteral("json"), QString()}, {QStringLiteral("no-points"), QString()}});
    if (!parse(parser, args, err))
        return UsageError;
    Options options;
    options.json = parser.isSet(QStringLiteral("json"));
    options.points = !parser.isSet(QStringLiteral("no-points"));
    options.files = parser.positionalArguments();
    if (options.files.isEmpty()) {
        err << Usage;
        return UsageError;
    }

    InfoWindow info;
    int status = Success;
    for (const QString& file : options.files) {
        const QString error = globalIldaFrames.loadFile(file, info);
        if (!error.isEmpty()) {
            status = LoadFailed;
            err << loadError(file, error);
        }
        const Outcome outcome{error, error.isEmpty(), -1, {}};
        if (options.json)
            printJson(file, outcome, info, options.points, out);
        else if (outcome.ok)
            printTable(file, outcome, info, out);
        out.flush();
    }
    return status;
}

QString parseArguments(QCommandLineParser& parser, const QStringList& args)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    return parser.parse(QStringList(QStringLiteral("lumenar-inspect")) + args) ? QString()
                                                                               : parser.errorText();
}

} // namespace Inspector
