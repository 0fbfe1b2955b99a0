// lumenar-inspect --render: the picture of one frame drawn by the real views.
#include "ViewTestFrames.h"

#include "tools/Inspector.h"
#include "views/IldaViewSide.h"

#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace ViewTestFrames;

namespace {

const QColor Black(0, 0, 0);
const QColor Grey(48, 48, 48);
const QColor Accent(60, 140, 240);
const QColor Red(255, 0, 0);

// Frame 0: a lit point, a blanked move, a red lit point. Frame 1: one blue point on the left.
const QVector<Points> Show{{lit(-10000, 0, Qt::green), blanked(10000, 0), lit(10000, 10000, Red)},
                           {lit(-20000, 0, Qt::blue)}};

} // namespace

class TestRender : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void grid_data();
    void grid();
    void singleViewMatchesWidget();
    void displayOptions_data();
    void displayOptions();
    void failures_data();
    void failures();

private:
    // Renders with the arguments after "--render OUT.png" and before the file; a null image when
    // the inspector fails.
    QImage render(const QStringList& options);
    int run(const QStringList& args);

    QTemporaryDir m_dir;
    QString m_file;
    QString m_png;
    QString m_err;
};

void TestRender::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    QVERIFY(load(m_dir.path(), Show, QStringLiteral("show.ild")).isEmpty());
    m_file = m_dir.filePath(QStringLiteral("show.ild"));
    m_png = m_dir.filePath(QStringLiteral("out.png"));
}

int TestRender::run(const QStringList& args)
{
    QString output;
    m_err.clear();
    QTextStream out(&output);
    QTextStream err(&m_err);
    QFile::remove(m_png);
    const int status = Inspector::run(args, out, err);
    err.flush();
    return status;
}

QImage TestRender::render(const QStringList& options)
{
    if (run(QStringList{"--render", m_png} + options + QStringList{m_file}) != Inspector::Success)
        return QImage();
    return QImage(m_png).convertToFormat(QImage::Format_RGB32);
}

void TestRender::grid_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QPoint>("accent"); // the corner of the active view
    QTest::newRow("front by default") << QStringList() << QPoint(0, 649);
    QTest::newRow("top") << QStringList{"--active", "top"} << QPoint(0, 0);
    QTest::newRow("perspective") << QStringList{"--active", "perspective"} << QPoint(649, 0);
    QTest::newRow("side") << QStringList{"--active", "side"} << QPoint(649, 649);
}

// Top and Perspective above Front and Side, 3 pixels apart: 650 = 324 + 3 + 323 both ways.
void TestRender::grid()
{
    QFETCH(QStringList, options);
    QFETCH(QPoint, accent);
    const QImage image = render(options);
    QCOMPARE(image.size(), QSize(650, 650));
    // Each cell has its frame: in the accent colour for the active view, else darkened.
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    for (const QPoint& corner : {QPoint(0, 0), QPoint(649, 0), QPoint(0, 649), QPoint(649, 649)})
        QCOMPARE(image.pixel(corner), (corner == accent ? Accent : window.darker(125)).rgb());
    QCOMPARE(image.pixelColor(321, 321), Black);
    QCOMPARE(image.pixelColor(329, 329), Black);
    for (int gap = 324; gap <= 326; ++gap) {
        QCOMPARE(image.pixel(gap, 100), window.rgb());
        QCOMPARE(image.pixel(100, gap), window.rgb());
        QCOMPARE(image.pixel(500, gap), window.rgb());
    }
}

void TestRender::singleViewMatchesWidget()
{
    IldaView::m_zoomFactor = 7.0; // the picture starts from the initial view state
    const QImage image =
        render({"--view", "side", "--size", "300x200", "--show-blanked", "--active", "side"});
    QCOMPARE(image.size(), QSize(300, 200));
    QCOMPARE(IldaView::m_zoomFactor, 1.0);

    QVERIFY(load(m_dir.path(), Show).isEmpty());
    globalIldaFrames.setShowBlankedLines(true);
    globalIldaFrames.setShowDots(true);
    IldaView::m_activeView = IldaView::Side;
    IldaViewSide view;
    QCOMPARE(image, paint(view, QSize(300, 200)));

    QCOMPARE(render({"--view", "front"}).size(), QSize(400, 400)); // one view's default
}

void TestRender::displayOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QColor>("blankedLine");
    QTest::addColumn<QColor>("dot");
    QTest::addColumn<QColor>("frameOne");
    QTest::newRow("defaults") << QStringList() << Black << Red << Black;
    QTest::newRow("blanked lines") << QStringList{"--show-blanked"} << Grey << Red << Black;
    QTest::newRow("no dots") << QStringList{"--no-dots"} << Black << Black << Black;
    QTest::newRow("frame 1") << QStringList{"--frame", "1"} << Black << Black << QColor(Qt::blue);
}

// A 400 x 400 Front view: S = 395, mx = my = 2. Model 0 lands on 200; the last point of frame 0
// on (260, 139); frame 1's point on x 79.
void TestRender::displayOptions()
{
    QFETCH(QStringList, options);
    QFETCH(QColor, blankedLine);
    QFETCH(QColor, dot);
    QFETCH(QColor, frameOne);
    const QImage image = render(QStringList{"--view", "front"} + options);
    QCOMPARE(image.pixelColor(200, 200), blankedLine);
    QCOMPARE(image.pixelColor(259, 138), dot); // the dot's top-left pixel
    QCOMPARE(image.pixelColor(78, 199), frameOne);
    const bool frameZero = !options.contains("--frame");
    QCOMPARE(image.pixelColor(260, 170), frameZero ? Red : Black); // the lit line, dots or not
}

void TestRender::failures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const auto renderWith = [this](const QStringList& options) {
        return QStringList{"--render", m_png} + options + QStringList{m_file};
    };
    const int usageError = Inspector::UsageError;
    QTest::newRow("frame past the end") << renderWith({"--frame", "2"}) << usageError << "frame 2";
    QTest::newRow("frame not a number") << renderWith({"--frame", "two"}) << usageError << "frame";
    QTest::newRow("unknown view") << renderWith({"--view", "diagonal"}) << usageError << "view";
    QTest::newRow("zero size") << renderWith({"--size", "0x10"}) << usageError << "size";
    QTest::newRow("huge size") << renderWith({"--size", "99999x10"}) << usageError << "size";
    QTest::newRow("unknown option") << renderWith({"--colour"}) << usageError << "unknown option";
    QTest::newRow("two files") << renderWith({"other.ild"}) << usageError << "one file";
    QTest::newRow("no output") << QStringList{m_file, "--render"} << usageError << "usage:";
    QTest::newRow("no frame number")
        << QStringList{"--render", m_png, m_file, "--frame"} << usageError << "usage:";
    QTest::newRow("no file") << QStringList{"--render", m_png} << usageError << "usage:";
    QTest::newRow("missing file") << QStringList{"--render", m_png, m_dir.filePath("none.ild")}
                                  << int(Inspector::LoadFailed) << "none.ild";
    QTest::newRow("unwritable output")
        << QStringList{"--render", m_dir.filePath("no/dir/out.png"), m_file}
        << int(Inspector::LoadFailed) << "cannot write";
}

void TestRender::failures()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, message);
    QCOMPARE(run(args), status);
    QVERIFY2(m_err.contains(message), qPrintable(m_err));
    QVERIFY(status != Inspector::UsageError || m_err.contains(QLatin1String("usage:")));
    QVERIFY(!QFileInfo::exists(m_png));
}

QTEST_MAIN(TestRender)
#include "tst_render.moc"
