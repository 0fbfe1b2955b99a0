// SPDX-License-Identifier: GPL-3.0-or-later
// lumenar-inspect --check, --convert, --stats and --thumbnail.
#include "PyxBuilder.h"
#include "TestSupport.h"

#include "check/Conformance.h"
#include "check/IldaWriter.h"
#include "model/Palettes.h"
#include "tools/DemoShow.h"
#include "tools/Inspector.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A frame of two format-5 points that the checker has nothing to say about.
IldaBuilder frame(IldaBuilder b = {}, int number = 0, int total = 1)
{
    return b.header(5, "f", "c", 2, number, total)
        .point5(0, 0, 0, 1, 2, 3)
        .point5(9, 9, 0x80, 1, 2, 3);
}

// Each frame's points as "x,y,z,blanked,red,green,blue" with a space between points.
QStringList load(const QString& path, QStringList* names)
{
    Probe probe;
    QStringList frames;
    if (!probe.load(path).isEmpty())
        return {};
    for (int f = 0; f < probe.frames(); ++f) {
        QStringList points;
        for (const Pt& p : Probe::points(f))
            points << QString::asprintf("%d,%d,%d,%d,%d,%d,%d", p[0], p[1], p[2], p[3], p[4], p[5],
                                        p[6]);
        frames << points.join(' ');
        *names << globalIldaFrames.getFrame(f).getName();
    }
    return frames;
}

} // namespace

class TestCheck : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void findings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        // Code, severity, offset and section; "bytes" when the finding has them; empty: clean.
        QTest::addColumn<QString>("finding");

        const auto row = [](const char* tag, const IldaBuilder& b, const char* finding) {
            QTest::newRow(tag) << "f.ild" << b.bytes() << finding;
        };
        row("clean", frame().end(), "");
        row("no-header", IldaBuilder().raw("ILD ILDx"), "no-header error 0 0");
        row("truncated-header", frame().raw("ILDA").u32(5), "truncated-header error 48 1");
        // A section that is itself the error gets nothing else: no frame-number, total-frames.
        row("truncated-section", IldaBuilder().header(5, "", "", 1, 4, 9),
            "truncated-section error 0 0 \"the section ends after 0 of its 1 record\"");
        // After an error only more whole frames than a header's total is certain.
        row("total-frames before an error", frame(frame({}, 0, 3), 1, 3).header(3, "", "", 1),
            "unknown-format error 96 2");
        row("total-frames exceeded before an error", frame(frame(), 1).header(3, "", "", 1),
            "total-frames warning 0 0 | total-frames warning 48 1 | unknown-format error 96 2");
        row("unknown-format 3", IldaBuilder().header(3, "", "", 1), "unknown-format error 0 0");
        row("unknown-format bytes 4-6", frame().header(0x100, "", "", 1),
            "unknown-format error 48 1");
        row("skipped-bytes", frame(IldaBuilder().raw("xyz")).end(),
            "skipped-bytes warning 0 0 bytes");
        IldaBuilder b = IldaBuilder().raw("ILDA").u32(5).raw(QByteArray(16, 0));
        b.u16(2).u16(0).u16(1).u16(7).point5(0, 0, 0, 1, 1, 1).point5(0, 0, 0x80, 1, 1, 1);
        row("reserved-nonzero", b.end(), "reserved-nonzero warning 0 0");
        row("frame-number", frame({}, 1).end(), "frame-number warning 0 0");
        row("total-frames", frame({}, 0, 2).end(), "total-frames warning 0 0");
        b = IldaBuilder().header(5, "", "", 2).point5(0, 0, 0, 1, 1, 1).point5(0, 0, 0, 1, 1, 1);
        row("last-point missing", b.end(), "last-point warning 40 0");
        b = IldaBuilder().header(5, "", "", 2).point5(0, 0, 0x80, 1, 1, 1);
        row("last-point early", b.point5(0, 0, 0x80, 1, 1, 1).end(), "last-point warning 32 0");
        row("missing-end-header", frame(), "missing-end-header warning 48 1");
        row("trailing bytes: missing-end-header alone", frame().raw("ILD"),
            "missing-end-header warning 48 1");
        row("data-after-end", frame().end().raw("x"),
            "data-after-end warning 80 1 \"1 byte follows the end header\"");
        b = IldaBuilder().header(5, "", "", 32769);
        for (int i = 0; i < 32769; ++i)
            b.point5(i, 0, i == 32768 ? 0x80 : 0, 1, 1, 1);
        row("points-dropped", b.end(), "points-dropped warning 0 0");
        b = IldaBuilder().header(2, "", "", 257);
        for (int i = 0; i < 257; ++i)
            b.colour(i, i, i);
        row("palette-size", frame(b).end(), "palette-size warning 0 0");
        // Projector 1's palette of 70 colours allows index 69 there, but not on projector 0.
        b = IldaBuilder().header(2, "", "", 70, 0, 1, 1).raw(QByteArray(210, 0));
        b.header(1, "", "", 2, 0, 2, 1).point1(0, 0, 0, 69).point1(0, 0, 0x80, 2);
        b.header(1, "", "", 2, 1, 2).point1(0, 0, 0, 3).point1(0, 0, 0x80, 69);
        row("color-index", b.end(), "color-index warning 324 2"); // 32 + 210 + 44 + 32 + 6
        b = IldaBuilder().header(1, "", "", 3).point1(0, 0, 0, 64).point1(0, 0, 0x80, 1);
        row("record findings in file order", b.point1(0, 0, 0x80, 1).end(),
            "color-index warning 32 0 | last-point warning 38 0");
        QTest::newRow("unreadable pic")
            << "f.pic" << PyxBuilder().picHeader(4, 3, 0).point(0, 0, 0, 0).data()
            << "unreadable error 14 0";
        PyxBuilder pic = PyxBuilder().picHeader(4, 32769, 0);
        for (int i = 0; i < 32769; ++i)
            pic.point(0, i, 0, 0);
        QTest::newRow("points-dropped pic")
            << "big.pic" << pic.data() << "points-dropped warning 0 0";
        for (const char* kind : {"ild", "pic", "ani"})
            QTest::newRow(kind) << QStringLiteral("absent.") + kind << QByteArray()
                                << "cannot-open error 0 0";
        QTest::newRow("unreadable ani")
            << "f.ani" << PyxBuilder().aniHeader(1).entry("C", "P").count(0).data()
            << "unreadable error 10 0";
    }

    void findings()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, finding);
        const QString path =
            bytes.isNull() ? m_dir.filePath(name) : writeTestFile(m_dir, name, bytes);
        const Result r = inspect({QStringLiteral("--check"), QStringLiteral("--json"), path});
        QCOMPARE(r.status, finding.isEmpty() ? 0 : 1);
        const QJsonObject report = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QCOMPARE(report.value("file").toString(), path);
        QStringList found;
        for (const QJsonValue& value : report.value("findings").toArray()) {
            const QJsonObject f = value.toObject();
            found << QStringLiteral("%1 %2 %3 %4%5")
                             .arg(f.value("code").toString(), f.value("severity").toString())
                             .arg(qint64(f.value("offset").toDouble()))
                             .arg(f.value("section").toInt())
                             .arg(f.contains("bytes") ? " bytes" : "") +
                         (finding.contains('"') ? " \"" + f.value("text").toString() + '"' : "");
        }
        QCOMPARE(found.join(" | "), finding);
    }

    void convert_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("format"); // --format, or empty for the default
        const QStringList demo = DemoShow::writeAll(m_dir.filePath("demo"));
        for (const QString& file : demo)
            QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file << "";
        for (const char* format : {"0", "1", "4", "5"})
            QTest::newRow(qPrintable(QStringLiteral("format ") + format)) << demo[0] << format;
        // A picture without points, a name that is too long and holds a character outside
        // Latin-1 (controller byte 0xB0 is U+2018).
        PyxBuilder ccat;
        ccat.ccatHeader(22, 1, 0).section(2).pictureHeader("\xB0Longname", 0, 0);
        ccat.pictureHeader("Dot", 0x08, 1).point(0x40, -5, 7, 9).color(10, 200, 250);
        QVERIFY(ccat.write(m_dir.filePath("odd.ccat")));
        QTest::newRow("odd.ccat") << m_dir.filePath("odd.ccat") << "";
    }

    void convert()
    {
        QFETCH(QString, file);
        QFETCH(QString, format);
        QStringList names, originalNames;
        QStringList original = load(file, &originalNames);
        QVERIFY(!original.isEmpty());
        const QString output = file + format + QLatin1String(".out.ild");
        const QStringList options =
            format.isEmpty() ? QStringList() : QStringList{"--format", format};
        QCOMPARE(inspect(QStringList{"--convert", output, file} + options).status, 0);
        QCOMPARE(inspect({"--convert", output, file}).status, 1); // exists
        QCOMPARE(inspect(QStringList{"--convert", output, file, "--force"} + options).status, 0);

        // A frame without points is written as one blanked point at the centre; blanked points
        // are black; 2-D formats drop z; indexed ones take the palette's nearest colour.
        original.replaceInStrings(QRegularExpression("^$"), "0,0,0,1,0,0,0");
        for (QString& frame : original) {
            QStringList points = frame.split(' ');
            for (QString& point : points) {
                QStringList v = point.split(',');
                QColor c =
                    v[3] == "1" ? Qt::black : QColor(v[4].toInt(), v[5].toInt(), v[6].toInt());
                const uchar* entry = ildaDefaultPalette + 3 * IldaWriter::nearestIndex(c.rgb());
                if (format == "0" || format == "1")
                    c = QColor(entry[0], entry[1], entry[2]);
                v[2] = format == "1" || format == "5" ? "0" : v[2];
                point = QStringList{v[0], v[1], v[2], v[3]}.join(',') +
                        QString::asprintf(",%d,%d,%d", c.red(), c.green(), c.blue());
            }
            frame = points.join(' ');
        }
        QCOMPARE(load(output, &names), original);
        if (Conformance::controllerKind(file).isEmpty())
            QCOMPARE(names, originalNames);
        if (file.endsWith(QLatin1String("odd.ccat")))
            QCOMPARE(names, (QStringList{"?Longnam", "Dot"}));
        const Result check = inspect({"--check", output});
        QCOMPARE(check.out, QString());
        QCOMPARE(check.status, 0);
    }

    void nearestColour()
    {
        // Nearer 1 than 0 or 2; ties of 0 and 1, and of 0, 24 and 40 (black): the lower; pink.
        const QVector<QPair<QRgb, int>> cases{{qRgb(250, 20, 3), 1},
                                              {qRgb(255, 8, 0), 0},
                                              {qRgb(0, 0, 0), 0},
                                              {qRgb(250, 100, 100), 61}};
        for (const auto& [colour, index] : cases)
            QVERIFY2(IldaWriter::nearestIndex(colour) == index,
                     qPrintable(QString::number(colour, 16)));
    }

    // No output through a link, over an input, onto anything but a regular file, or cut short.
    void outputs_data()
    {
        QTest::addColumn<QString>("mode"); // --render's png, svg or gif, thumbnail, ild: --convert
        QTest::addColumn<QString>("out");  // what OUT is
        QTest::addColumn<QString>("message");
        const QVector<QPair<QString, QString>> kinds{
            {"link", "symbolic link"},    {"dangling", "symbolic link"},
            {"hard link", "is an input"}, {"fifo", "not a regular file"},
            {"itself", "is an input"},    {"full disk", "No space left on device"}};
        // Every writer on the full disk; the guard of each mode (through GIF for --render).
        for (const QString mode : {"png", "svg", "gif", "thumbnail", "ild"})
            for (const auto& [out, message] : kinds)
                if (out == "full disk" || QStringList{"gif", "thumbnail", "ild"}.contains(mode))
                    QTest::newRow(qPrintable(mode + ' ' + out)) << mode << out << message;
    }

    void outputs()
    {
        QFETCH(QString, mode);
        QFETCH(QString, out);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString folder = out == "full disk" ? fullDisk(m_dir.filePath("full")) : dir.path();
        if (folder.isEmpty())
            QSKIP("a small file system cannot be mounted here");
        const QByteArray bytes = frame().end().bytes();
        const QString show = writeTestFile(dir, "show." + mode, bytes); // ILDA by any other name
        const QString target = dir.filePath("target");
        const QString output =
            out == "itself" ? show : folder + "/out." + (mode == "thumbnail" ? "png" : mode);
        if (out == "link" || out == "dangling")
            QVERIFY(QFile::link(out == "link" ? show : target, output));
        if (out == "hard link")
            QCOMPARE(::link(qPrintable(show), qPrintable(output)), 0);
        if (out == "fifo")
            QCOMPARE(::mkfifo(qPrintable(output), 0600), 0);
        const QStringList args = mode == "thumbnail" ? QStringList{"--thumbnail", "8", show, output}
                                 : mode == "ild" ? QStringList{"--convert", output, "--force", show}
                                                 : QStringList{"--render", output, show};
        QString err;
        QTextStream ignored, errors(&err);
        QCOMPARE(Inspector::run(args, ignored, errors), 1);
        QVERIFY2(err.contains(message), qPrintable(err));
        QFile read(show);
        QVERIFY(read.open(QIODevice::ReadOnly) && read.readAll() == bytes);
        QVERIFY(!QFileInfo::exists(target));
        QCOMPARE(QFileInfo(output).isFile(),
                 out == "link" || out == "hard link" || out == "itself");
        if (out == "full disk") // nothing left behind
            QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"filler"});
    }

    void cleanupTestCase()
    {
        if (QFileInfo::exists(m_dir.filePath("full/filler")))
            QProcess::execute("umount", {m_dir.filePath("full")});
    }

    void stats()
    {
        IldaBuilder b;
        b.header(4, "", "", 3).point4(-5, 3, 8, 0x40, 9, 9, 9).point4(7, -2, 0, 0, 255, 0, 0);
        b.point4(1, 1, -1, 0x80, 255, 0, 0).header(5, "", "", 1).point5(2, 2, 0x80, 0, 0, 1);
        const QString path = writeTestFile(m_dir, "stats.ild", b.end().bytes());
        const QString missing = m_dir.filePath("none.ild");
        const Result r = inspect({"--stats", "--json", path, missing});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out,
                 "{\"file\":\"" + path +
                     "\",\"frames\":[{\"points\":3,\"lit\":2,\"blanked\":1,\"min\":[-5,-2,-1],"
                     "\"max\":[7,3,8],\"colors\":1},{\"points\":1,\"lit\":1,\"blanked\":0,"
                     "\"min\":[2,2,0],\"max\":[2,2,0],\"colors\":1}],\"totals\":{\"frames\":2,"
                     "\"points\":4,\"lit\":3,\"blanked\":1}}\n{\"file\":\"" +
                     missing + "\",\"error\":\"Cannot open '" + missing + "'!\"}\n");
    }

    void thumbnail_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("status");
        const QString show = writeTestFile(m_dir, "thumb.ild", frame().end().bytes());
        QTest::newRow("48") << "48" << show << 0;
        QTest::newRow("8192 is the limit") << "8193" << show << 2;
        QTest::newRow("0") << "0" << show << 2;
        QTest::newRow("unreadable") << "48" << m_dir.filePath("missing.ild") << 1;
        // Only frame 0 is read, and only from the first 16 MiB.
        QTest::newRow("a broken second section")
            << "48" << writeTestFile(m_dir, "b.ild", frame().header(5, "", "", 3).bytes()) << 0;
        QTest::newRow("17 MiB before frame 0")
            << "48" << writeTestFile(m_dir, "far.ild", QByteArray(17 << 20, 0) + frame().bytes())
            << 1;
        QTest::newRow("never over the input, a .png")
            << "48" << writeTestFile(m_dir, "in.png", frame().end().bytes()) << 1;
        QTest::newRow("an animation without its picture")
            << "48"
            << writeTestFile(m_dir, "a.ani", PyxBuilder().aniHeader(1).entry("C", "P").data()) << 1;
    }

    void thumbnail()
    {
        QFETCH(QString, size);
        QFETCH(QString, file);
        const QString output = file.endsWith(".png") ? file : m_dir.filePath("thumb.png");
        if (file != output)
            QFile::remove(output);
        QFETCH(int, status);
        QCOMPARE(inspect({"--thumbnail", size, file, output}).status, status);
        // Nothing is written on failure.
        QCOMPARE(QFile::exists(output), status == 0 || file == output);
        const QImage image = QImage(output).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), status ? QSize(0, 0) : QSize(size.toInt(), size.toInt()));
        // The frame alone: the top rows, where a view has its border and label, stay black.
        for (int i = 0; i < image.width() * image.height() / 4; ++i)
            QCOMPARE(image.pixel(i % image.width(), i / image.width()), qRgb(0, 0, 0));
    }
};

QTEST_MAIN(TestCheck)
#include "tst_check.moc"
