// The command-line inspector: its JSON lines, its table, its pictures and its exit codes.
#include "TestSupport.h"

#include "tools/DemoShow.h"
#include "tools/Inspector.h"
#include "views/ViewLayouts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace ViewTestFrames;

namespace {

const QColor Black(0, 0, 0);
const QColor Red(255, 0, 0);

QString quoted(QString text)
{
    return '"' + text.replace('\\', "\\\\").replace('"', "\\\"") + '"';
}

} // namespace

class TestInspector : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_demo;
    QString m_show; // frame 0: lit, blanked move, red; frame 1: one blue point on the left
    QString m_png;
    QString m_out;
    QString m_err;

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
        if (run(QStringList{"--render", m_png} + options + QStringList{m_show}) != 0)
            return QImage();
        return QImage(m_png).convertToFormat(QImage::Format_RGB32);
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
                     {{lit(-10000, 0, Qt::green), blanked(10000, 0), lit(10000, 10000, Red)},
                      {lit(-20000, 0, Qt::blue)}},
                     "show.ild")
                    .isEmpty());
    }

    void json()
    {
        const QString odd = writeTestFile(
            m_dir, "odd \"name\"\\.ild",
            IldaBuilder().header(1, "q\"\\\x01\x7F", "", 1).point1(-3, 4, 0x40, 0).end().bytes());
        const QString missing = m_dir.filePath("missing.ild");
        const QString name = "\"q\\\"\\\\\\u0001\\u007f\"";
        const QString points = ",\"points\":[[-3,4,0,1,255,0,0]]";
        const QString first = "{\"file\":" + quoted(odd) +
                              ",\"ok\":true,\"error\":\"\",\"rows\":[{\"format\":\"1 = 2D "
                              "Coordinates with Indexed Color\",\"name\":" +
                              name +
                              ",\"company\":\"\",\"records\":1,"
                              "\"projector\":\"0\"}],\"frames\":[{\"name\":" +
                              name +
                              ",\"company\":\"\","
                              "\"frameNumber\":0,\"totalFrames\":1,\"pointCount\":1" +
                              points + "}]}\n";
        const QString second = "{\"file\":" + quoted(missing) +
                               ",\"ok\":false,\"error\":\"Cannot open '" + missing +
                               "'!\",\"rows\":[],\"frames\":[]}\n";
        QCOMPARE(run({"--json", odd, missing}), 1);
        QCOMPARE(m_out, first + second);
        QCOMPARE(run({"--no-points", "--json", "--", odd}), 0);
        QCOMPARE(m_out, QString(first).remove(points));
    }

    void table()
    {
        IldaBuilder b;
        b.header(1, "Star", "Acme", 12).raw(QByteArray(12 * 6, '\0'));
        b.header(2, "Pal", "", 3, 0, 1, 17).raw(QByteArray(9, '\0'));
        const QString file = writeTestFile(m_dir, "table.ild", b.end().bytes());
        QCOMPARE(run({file, m_dir.filePath("nope.ild")}), 1);
        QCOMPARE(m_out,
                 file +
                     "\n"
                     "  # Format                                     Name Company Records "
                     "Projector\n"
                     "  0 1 = 2D Coordinates with Indexed Color      Star Acme         12 0\n"
                     "  1 2 = Color Palette for Indexed Color Frames Pal                3 17\n"
                     "  1 frames, 12 points\n" +
                     m_dir.filePath("nope.ild") + "\n  error: Cannot open '" +
                     m_dir.filePath("nope.ild") + "'!\n");
    }

    // Every demo file loads; the ILDA show lists its sections in order.
    void demoShow()
    {
        QStringList summary; // format number, name and projector of each row
        QVector<int> rows;
        for (const QString& file : m_demo) {
            QCOMPARE(run({"--json", "--no-points", file}), 0);
            const QJsonObject show = QJsonDocument::fromJson(m_out.toUtf8()).object();
            QVERIFY(show.value("ok").toBool());
            const QJsonArray list = show.value("rows").toArray();
            rows << list.size();
            for (const QJsonValue& row : list)
                if (file == m_demo.first())
                    summary << row["format"].toString().left(1) + ' ' + row["name"].toString() +
                                   ' ' + row["projector"].toString();
        }
        const int n = DemoShow::AnimationFrames;
        QCOMPARE(rows, (QVector<int>{n + 5, 1, 1, 4, 24}));
        const QStringList rest{"5 Star 0", "1 Rainbow 0", "2 Sunset 1", "0 Helix 1", "1 Waves 1"};
        QCOMPARE(summary, QVector<QString>(n, "4 Cube 0").toList() + rest);
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message"); // in the error output, or in the output for 0
        const QString png = m_dir.filePath("out.png");
        const QString show = m_dir.filePath("show.ild");
        QTest::newRow("nothing") << QStringList() << 2 << "usage:";
        QTest::newRow("only options") << QStringList{"--json"} << 2 << "usage:";
        QTest::newRow("unknown option") << QStringList{"--frobnicate", "x.ild"} << 2 << "usage:";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "usage:";
        const auto render = [&](const QStringList& options) {
            return QStringList{"--render", png} + options + QStringList{show};
        };
        QTest::newRow("frame past the end") << render({"--frame", "2"}) << 2 << "frame 2";
        QTest::newRow("frame not a number") << render({"--frame", "two"}) << 2 << "frame";
        QTest::newRow("unknown view") << render({"--view", "diagonal"}) << 2 << "view";
        QTest::newRow("zero size") << render({"--size", "0x10"}) << 2 << "size";
        QTest::newRow("huge size") << render({"--size", "99999x10"}) << 2 << "size";
        QTest::newRow("unknown render option") << render({"--colour"}) << 2 << "unknown option";
        QTest::newRow("two files") << render({"other.ild"}) << 2 << "one file";
        QTest::newRow("no output") << QStringList{show, "--render"} << 2 << "usage:";
        QTest::newRow("no file") << QStringList{"--render", png} << 2 << "usage:";
        QTest::newRow("missing file")
            << QStringList{"--render", png, m_dir.filePath("none.ild")} << 1 << "none.ild";
        QTest::newRow("unwritable output")
            << QStringList{"--render", m_dir.filePath("no/dir/out.png"), show} << 1
            << "cannot write";
    }
    void failures()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        QCOMPARE(run(args), status);
        QVERIFY2((status ? m_err : m_out).contains(message), qPrintable(m_err));
        QCOMPARE((status ? m_err : m_out).contains("usage:"), status != 1);
        QVERIFY(!QFileInfo::exists(m_png));
    }

    // Top and Perspective above Front and Side, 3 pixels apart: 650 = 324 + 3 + 323 both ways.
    void grid_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QPoint>("accent"); // the corner of the active view
        QTest::newRow("front by default") << QStringList() << QPoint(0, 649);
        QTest::newRow("top") << QStringList{"--active", "top"} << QPoint(0, 0);
        QTest::newRow("perspective") << QStringList{"--active", "perspective"} << QPoint(649, 0);
        QTest::newRow("side") << QStringList{"--active", "side"} << QPoint(649, 649);
    }
    void grid()
    {
        QFETCH(QStringList, options);
        QFETCH(QPoint, accent);
        const QImage image = render(options);
        QCOMPARE(image.size(), QSize(650, 650));
        const QColor window = QGuiApplication::palette().color(QPalette::Window);
        for (const QPoint& corner :
             {QPoint(0, 0), QPoint(649, 0), QPoint(0, 649), QPoint(649, 649)})
            QCOMPARE(image.pixel(corner),
                     (corner == accent ? QColor(60, 140, 240) : window.darker(125)).rgb());
        QCOMPARE(image.pixelColor(321, 321), Black);
        QCOMPARE(image.pixelColor(329, 329), Black);
        for (int gap = 324; gap <= 326; ++gap)
            for (const QPoint& p : {QPoint(gap, 100), QPoint(100, gap), QPoint(500, gap)})
                QCOMPARE(image.pixel(p), window.rgb());
    }

    void singleViewMatchesWidget()
    {
        IldaView::m_zoomFactor = 7.0; // the picture starts from the initial view state
        const QImage image =
            render({"--view", "side", "--size", "300x200", "--show-blanked", "--active", "side"});
        QCOMPARE(IldaView::m_zoomFactor, 1.0);
        globalIldaFrames.setShowBlankedLines(true);
        globalIldaFrames.setShowDots(true);
        IldaView::m_activeView = IldaView::Side;
        std::unique_ptr<IldaView> side(ViewLayouts::createView(IldaView::Side));
        QCOMPARE(image, paint(*side, QSize(300, 200)));
        QCOMPARE(render({"--view", "front"}).size(), QSize(400, 400)); // one view's default
    }

    // A 400 x 400 Front view: model 0 lands on 200; the last point of frame 0 on (260, 139);
    // frame 1's point on x 79.
    void displayOptions_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QColor>("blankedLine");
        QTest::addColumn<QColor>("dot");
        QTest::addColumn<QColor>("frameOne");
        QTest::newRow("defaults") << QStringList() << Black << Red << Black;
        QTest::newRow("blanked lines")
            << QStringList{"--show-blanked"} << QColor(48, 48, 48) << Red << Black;
        QTest::newRow("no dots") << QStringList{"--no-dots"} << Black << Black << Black;
        QTest::newRow("frame 1") << QStringList{"--frame", "1"} << Black << Black
                                 << QColor(Qt::blue);
    }
    void displayOptions()
    {
        QFETCH(QStringList, options);
        QFETCH(QColor, blankedLine);
        QFETCH(QColor, dot);
        QFETCH(QColor, frameOne);
        const QImage image = render(QStringList{"--view", "front"} + options);
        QCOMPARE(image.pixelColor(200, 200), blankedLine);
        QCOMPARE(image.pixelColor(259, 138), dot); // the dot's top-left pixel
        QCOMPARE(image.pixelColor(78, 199), frameOne);
        QCOMPARE(image.pixelColor(260, 170), options.contains("--frame") ? Black : Red);
    }
};

QTEST_MAIN(TestInspector)
#include "tst_inspector.moc"
