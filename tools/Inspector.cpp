#include "tools/Inspector.h"

#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "tools/Render.h"

#include <QAbstractItemModel>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace Inspector {
namespace {

const char Usage[] = "usage: lumenar-inspect [--json [--no-points]] FILE...\n"
                     "       lumenar-inspect --render OUT.png [options] FILE\n";

struct Options
{
    bool json = false;
    bool points = true;
    QStringList files;
};

QString cell(const QAbstractItemModel* model, int row, int column)
{
    return model->data(model->index(row, column)).toString();
}

void printTable(const QString& file, const QString& error, const InfoWindow& info, QTextStream& out)
{
    out << file << "\n";
    if (!error.isEmpty()) {
        out << "  error: " << error << "\n";
        return;
    }
    const QAbstractItemModel* model = info.model();
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
            widths[c + 1] = std::max(widths[c + 1], cell(model, r, c).size());

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
        QStringList fields{QString::number(r)};
        for (int c = 0; c < model->columnCount(); ++c)
            fields << cell(model, r, c);
        line(fields);
    }
    qint64 points = 0;
    for (int f = 0; f < globalIldaFrames.getNumberOfFrames(); ++f)
        points += globalIldaFrames.getFrame(f).getNumberOfPoints();
    out << "  " << globalIldaFrames.getNumberOfFrames() << " frames, " << points << " points\n";
}

void printJson(const QString& file, const QString& error, const InfoWindow& info, bool withPoints,
               QTextStream& out)
{
    out << "{\"file\":" << jsonString(file) << ",\"ok\":" << (error.isEmpty() ? "true" : "false")
        << ",\"error\":" << jsonString(error) << ",\"rows\":[";
    const QAbstractItemModel* model = info.model();
    for (int r = 0; r < model->rowCount(); ++r) {
        out << (r ? ",{" : "{") << "\"format\":" << jsonString(cell(model, r, 0))
            << ",\"name\":" << jsonString(cell(model, r, 1))
            << ",\"company\":" << jsonString(cell(model, r, 2))
            << ",\"records\":" << cell(model, r, 3).toInt()
            << ",\"projector\":" << jsonString(cell(model, r, 4)) << "}";
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

} // namespace

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

int run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (Render::isRenderCommand(args))
        return Render::run(args, out, err);
    Options options;
    bool endOfOptions = false;
    for (const QString& arg : args) {
        if (!endOfOptions && arg == QLatin1String("--")) {
            endOfOptions = true;
        } else if (!endOfOptions && arg == QLatin1String("--json")) {
            options.json = true;
        } else if (!endOfOptions && arg == QLatin1String("--no-points")) {
            options.points = false;
        } else if (!endOfOptions &&
                   (arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
            out << Usage;
            return Success;
        } else if (!endOfOptions && arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            err << "lumenar-inspect: unknown option " << arg << "\n" << Usage;
            return UsageError;
        } else {
            options.files << arg;
        }
    }
    if (options.files.isEmpty()) {
        err << Usage;
        return UsageError;
    }

    InfoWindow info;
    int status = Success;
    for (const QString& file : options.files) {
        const QString error = globalIldaFrames.loadFile(file, info);
        if (!error.isEmpty())
            status = LoadFailed;
        if (options.json)
            printJson(file, error, info, options.points, out);
        else
            printTable(file, error, info, out);
        out.flush();
    }
    return status;
}

} // namespace Inspector
