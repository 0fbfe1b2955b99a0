// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the tests share: settings isolation, closed modal boxes, caught debug lines, a probe that
// loads a file and reads back frames and rows, and views painted into images.

#include "IldaBuilder.h"

#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "tools/Inspector.h"
#include "views/IldaView.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QStandardItemModel>
#include <QTextStream>
#include <QTimer>

// Settings and standard paths go to a scratch folder of this process, never the user's own nor
// another test's (QStandardPaths' test mode would send every test program to one ~/.qttest).
// Call before the first QSettings.
inline void isolateSettings()
{
    static QTemporaryDir home;
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(name, QFile::encodeName(home.filePath(QString::fromLatin1(name))));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
}

// A compare inside a loop over a table's rows: the failure names the row and both values.
#define COMPARE_ROW(row, actual, expected)                                                         \
    do {                                                                                           \
        const auto& a_ = (actual);                                                                 \
        const auto& e_ = (expected);                                                               \
        QString got_, want_;                                                                       \
        QDebug(&got_) << a_, QDebug(&want_) << e_;                                                 \
        QVERIFY2(a_ == e_,                                                                         \
                 qPrintable(QStringLiteral("row %1: got %2, expected %3").arg(row, got_, want_))); \
    } while (false)

// folder as a 64 KiB file system filled up, or an empty string where none can be mounted.
inline QString fullDisk(const QString& folder)
{
    const QString fill = "mkdir -p F && mount -t tmpfs -o size=64k tmpfs F && "
                         "{ head -c 1M /dev/zero >F/filler 2>/dev/null; true; }";
    if (!QFileInfo::exists(folder + "/filler") &&
        QProcess::execute("sh", {"-c", QString(fill).replace("F", folder)}) != 0)
        return QString();
    return folder;
}

// Closes every modal box that opens while it lives and remembers what it said.
class ModalCloser : public QObject
{
public:
    struct Box
    {
        QString title, text;
        QMessageBox::Icon icon;
    };
    QList<Box> boxes;

    ModalCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                const auto* box = qobject_cast<QMessageBox*>(modal);
                boxes.append({modal->windowTitle(), box ? box->text() : QString(),
                              box ? box->icon() : QMessageBox::NoIcon});
                modal->close();
            }
        });
        m_timer.start(5);
    }
    // "title: text" of every box so far.
    QStringList seen() const
    {
        QStringList all;
        for (const Box& box : boxes)
            all << box.title + QStringLiteral(": ") + box.text;
        return all;
    }

private:
    QTimer m_timer;
};

// Collects debug output while it lives.
class DebugCatcher
{
public:
    DebugCatcher() : m_previous(qInstallMessageHandler(&handle)) { lines().clear(); }
    ~DebugCatcher() { qInstallMessageHandler(m_previous); }
    static QStringList& lines()
    {
        static QStringList caught;
        return caught;
    }

private:
    static void handle(QtMsgType, const QMessageLogContext&, const QString& s) { lines() << s; }
    QtMessageHandler m_previous;
};

// lumenar-inspect in the test process: its exit status and standard output.
struct Result
{
    int status = 0;
    QString out;
};

inline Result inspect(const QStringList& args)
{
    Result r;
    QString err;
    QTextStream out(&r.out);
    QTextStream errors(&err);
    r.status = Inspector::run(args, out, errors);
    return r;
}

// A point as x, y, z, blanked, red, green, blue.
using Pt = QVector<int>;
using Pts = QVector<Pt>;

// One format-5 frame per entry, with that many lit points.
inline QString writeShow(const QTemporaryDir& dir, const QString& name, const QList<int>& points)
{
    IldaBuilder b;
    for (int n : points) {
        b.header(5, "f", "t", n, 0, points.size());
        for (int i = 0; i < n; ++i)
            b.point5(i, 0, 0, 255, 0, 0);
    }
    return writeTestFile(dir, name, b.end().bytes());
}

// Loads files into the store with its own information window and reads back what they left.
class Probe
{
public:
    InfoWindow info;

    QString load(const QString& file) { return globalIldaFrames.loadFile(file, info); }
    int frames() const { return globalIldaFrames.getNumberOfFrames(); }
    int rows() const { return info.model()->rowCount(); }
    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < info.model()->columnCount(); ++c)
            cells << info.model()->index(r, c).data().toString();
        return cells;
    }
    static Pts points(int frame)
    {
        Pts all;
        const IldaFrame f = globalIldaFrames.getFrame(frame);
        for (int i = 0; i < f.getNumberOfPoints(); ++i) {
            const IldaPoint p = f.getPoint(i);
            all.append({p.x, p.y, p.z, p.blanked, p.red, p.green, p.blue});
        }
        return all;
    }
    // The store as text, row after row: the format ("I" or "T" for the controller's indexed or
    // true colour, else the ILDA format number), name, records, "company/projector" when
    // either is there, then the row's frame as x,y,z, "b" when blanked, "=" and the colour.
    QString dump() const
    {
        QStringList rows;
        for (int r = 0; r < this->rows(); ++r) {
            const QStringList c = row(r);
            QString text =
                c[0].startsWith("Vectrion") ? (c[0].contains("True") ? "T" : "I") : c[0].left(1);
            text += ' ' + c[1] + ' ' + c[3] +
                    (c[2].isEmpty() && c[4].isEmpty() ? "" : ' ' + c[2] + '/' + c[4]);
            for (const Pt& p : info.frameOfRow(r) < 0 ? Pts() : points(info.frameOfRow(r)))
                text += QString::asprintf(" %d,%d,%d%s=", p[0], p[1], p[2], p[3] ? "b" : "") +
                        QColor(p[4], p[5], p[6]).name().mid(1);
            rows << text;
        }
        return rows.join("; ") + (frames() > info.rowOfFrame(frames() - 1) + 1 ? " +frames" : "");
    }
};

// Frames written as ILDA files and loaded through the real reader; views painted as the window
// paints them.
namespace ViewTestFrames {

using Points = QVector<IldaPoint>;

inline IldaPoint lit(int x, int y, const QColor& c, int z = 0, bool blanked = false)
{
    return {int16_t(x),       int16_t(y),         int16_t(z),       blanked,
            uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())};
}

inline IldaPoint blanked(int x, int y)
{
    return lit(x, y, Qt::black, 0, true);
}

// Format 4, one section per frame; returns the reader's message, empty on success.
inline QString load(const QString& dir, const QVector<Points>& frames,
                    const QString& name = QStringLiteral("frames.ild"))
{
    IldaBuilder ilda;
    for (int f = 0; f < frames.size(); ++f) {
        ilda.header(4, "Views", "Tests", frames[f].size(), f, frames.size());
        for (const IldaPoint& p : frames[f])
            ilda.point4(p.x, p.y, p.z, p.blanked ? 0x40 : 0, p.red, p.green, p.blue);
    }
    QFile file(QDir(dir).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(ilda.end().bytes()) < 0)
        return QStringLiteral("cannot write ") + file.fileName();
    file.close();
    InfoWindow info;
    return globalIldaFrames.loadFile(file.fileName(), info);
}

inline QImage paint(IldaView& view, const QSize& size)
{
    view.resize(size);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta); // anything the view leaves unpainted shows
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace ViewTestFrames
