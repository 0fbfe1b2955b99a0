// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line inspector: its JSON lines, its table, its pictures and its exit codes.
#include "TestSupport.h"

#include "tools/DemoShow.h"
#include "tools/Inspector.h"
#include "views/ViewLayouts.h"

#include <QtTest>

#include <tuple>

using namespace ViewTestFrames;

class TestInspector : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_demo;
    QString m_show; // frame 0: lit, blanked move, red; frame 1: one blue point on the left
    QString m_png, m_out, m_err;

    int run(const QStringList& args)
    {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        QFile::remove(m_png);
        return Inspector::run(args, out, err);
    }
    // A null image when the inspector fails.
    QImage render(const QStringList& options)
    {
        const int status = run(QStringList{"--render", m_png} + options + QStringList{m_show});
        return status ? QImage() : QImage(m_png).convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_demo = DemoShow::writeAll(m_dir.path());
        QCOMPARE(m_demo.size(), 5);
        m_png = m_dir.filePath("out.png");
        m_show = m_dir.filePath("show.ild");
        QVERIFY(load(m_dir.path(),
                     {{lit(-10000, 0, Qt::green), blanked(10000, 0), lit(10000, 10000, Qt::red)},
                      {lit(-20000, 0, Qt::blue)}},
                     "show.ild")
                    .isEmpty());
    }

    // The JSON lines and the table, compared whole; names and paths escaped.
    void listings()
    {
        const QString odd = writeTestFile(
            m_dir, "odd \"name\"\\.ild",
            IldaBuilder().header(1, "q\"\\\x01\x7F", "", 1).point1(-3, 4, 0x40, 0).end().bytes());
        const QString missing = m_dir.filePath("missing.ild");
        // Backquotes stand for double quotes.
        const QString points = ",`points`:[[-3,4,0,1,255,0,0]]";
        const QString name = "`q\\`\\\\\\u0001\\u007f`";
        // clang-format off
        const QString first = QString("{`file`:`ODD`,`ok`:true,`error`:``,`rows`:[{`format`:"
            "`1 = 2D Coordinates with Indexed Color`,`name`:NAME,`company`:``,`records`:1,"
            "`projector`:`0`}],`frames`:[{`name`:NAME,`company`:``,`frameNumber`:0,"
            "`totalFrames`:1,`pointCount`:1POINTS}]}\n{`file`:`MISSING`,`ok`:false,"
            "`error`:`Cannot open 'PATH'!`,`rows`:[],`frames`:[]}\n").replace("NAME", name)
            .replace("POINTS", points).replace('`', '"').replace("MISSING", missing)
            .replace("PATH", missing).replace("ODD", QString(odd).replace('\\', "\\\\").replace('"', "\\\""));
        // clang-format on
        QCOMPARE(run({"--json", odd, missing}), 1);
        QCOMPARE(m_out, first);
        QCOMPARE(run({"--no-points", "--json", "--", odd}), 0);
        QCOMPARE(m_out, first.section('\n', 0, 0).remove(QString(points).replace('`', '"')) + '\n');

        IldaBuilder b;
        b.header(1, "Star", "Acme", 12).raw(QByteArray(12 * 6, '\0'));
        b.header(2, "Pal", "", 3, 0, 1, 17).raw(QByteArray(9, '\0'));
        const QString table = writeTestFile(m_dir, "table.ild", b.end().bytes());
        QCOMPARE(run({table, missing}), 1);
        // clang-format off
        QCOMPARE(m_out, table + "\n"
                 "  # Format                                     Name Company Records Projector\n"
                 "  0 1 = 2D Coordinates with Indexed Color      Star Acme         12 0\n"
                 "  1 2 = Color Palette for Indexed Color Frames Pal                3 17\n"
                 "  1 frames, 12 points\n");
        // A file that fails: its message on stderr with the system's reason, as in every mode.
        QCOMPARE(m_err, "lumenar-inspect: " + missing + ": Cannot open '" + missing +
                 "'! (No such file or directory)\n");
        // Row numbers are right-aligned.
        QVERIFY(run({m_demo.first()}) == 0 && m_out.contains("\n   9 4 = 3D Coordinates with"));
        // clang-format on
        // Exit status 2 with the usage for a usage error, 1 for a file that fails; no picture. The
        // picture options reach the views.
        const QString png = m_dir.filePath("out.png");
        const auto cli = [&](const QStringList& options) {
            return QStringList{"--render", png} + options + QStringList{m_show};
        };
        // clang-format off
        const QVector<std::tuple<QStringList, int, QString>> cases{
            {{"--json"}, 2, "usage:"}, {{"--frobnicate", "x.ild"}, 2, "usage:"},
            {{"--help"}, 0, "usage:"}, {cli({"--frame", "2"}), 2, "frame 2"},
            {cli({"--frame", "two"}), 2, "frame"}, {cli({"--view", "diagonal"}), 2, "view"},
            {cli({"--size", "0x10"}), 2, "size"}, {cli({"--size", "99999x10"}), 2, "size"},
            {cli({"--colour"}), 2, "Unknown option 'colour'"}, {cli({"other.ild"}), 2, "one file"},
            {{m_show, "--render"}, 2, "usage:"}, {{"--render", png}, 2, "usage:"},
            {{"--render", png, m_dir.filePath("none.ild")}, 1, "none.ild"},
            {{"--render", m_dir.filePath("out.jpg"), m_show}, 2, "neither"},
            {cli({"--frame", "1"}).replaceInStrings(".png", ".gif"), 2, "does not apply"}};
        // clang-format on
        for (const auto& [args, status, message] : cases) {
            QCOMPARE(run(args), status);
            const QString& text = status ? m_err : m_out;
            QVERIFY2(text.contains(message) && text.contains("usage:") == (status != 1),
                     qPrintable(args.join(' ') + ": " + text));
            QVERIFY(!QFileInfo::exists(png));
        }
        // A drawing and an animation, by the name's suffix.
        for (const QString& name : QStringList{"out.SVG", "out.gif"}) {
            QFile file(m_dir.filePath(name));
            COMPARE_ROW(name, run({"--render", file.fileName(), m_show}), 0);
            COMPARE_ROW(name, file.open(QIODevice::ReadOnly) ? file.read(3) : "",
                        name.endsWith("gif") ? "GIF" : "<?x");
        }
        // A 400 x 400 Front view: model 0 lands on 200; the last point of frame 0 on (260, 139);
        // frame 1's point on x 79. Pixels: the blanked line, a dot, frame 1's point, the lit line.
        // clang-format off
        const QVector<QPair<QStringList, QVector<QColor>>> pictures{
            {{}, {Qt::black, Qt::red, Qt::black, Qt::red}},
            {{"--show-blanked"}, {QColor(48, 48, 48), Qt::red, Qt::black, Qt::red}},
            {{"--no-dots"}, {Qt::black, Qt::black, Qt::black, Qt::red}},
            {{"--frame", "1"}, {Qt::black, Qt::black, Qt::blue, Qt::black}}};
        // clang-format on
        for (const auto& [options, colours] : pictures) {
            IldaView::m_zoomFactor = 7.0; // the picture starts from the initial view state
            const QImage image = render(QStringList{"--view", "front"} + options);
            QCOMPARE((QVector<QColor>{image.pixelColor(200, 200), image.pixelColor(259, 138),
                                      image.pixelColor(78, 199), image.pixelColor(260, 170)}),
                     colours);
        }
    }
};

QTEST_MAIN(TestInspector)
#include "tst_inspector.moc"
