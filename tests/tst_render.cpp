// lumenar-inspect --render: the picture of one frame drawn by the real views.
#include "ViewTestFrames.h"

#include "model/IldaFrames.h"
#include "tools/Inspector.h"
#include "tools/Render.h"
#include "views/IldaViewFront.h"
#include "views/IldaViewSide.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace ViewTestFrames;

namespace {

const QColor Black(0, 0, 0);
const QColor Grey(48, 48, 48);
const QColor Accent(60, 140, 240);

} // namespace

class TestRender : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void isRenderCommand();
    void isRenderCommand_data();
    void defaultGrid();
    void activeView();
    void activeView_data();
    void singleViewMatchesWidget();
    void displayOptions();
    void displayOptions_data();
    void chosenFrame();
    void startsFromInitialViewState();
    void usageErrors();
    void usageErrors_data();
    void loadFailure();
    void unwritableOutput();

private:
    int run(const QStringList& args);

    QTemporaryDir m_dir;
    QString m_file;
    QString m_out;
    QString m_err;
};

void TestRender::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    // Frame 0: a lit point, a blanked move, a lit point. Frame 1: one lit point on the left.
    QVERIFY(
        load(m_dir.path(),
             {{lit(-10000, 0, 0, 0, 255, 0), blanked(10000, 0), lit(10000, 10000, 0, 255, 0, 0)},
              {lit(-20000, 0, 0, 0, 0, 255)}},
             QStringLiteral("show.ild"))
            .isEmpty());
    m_file = m_dir.filePath(QStringLiteral("show.ild"));
}

void TestRender::init()
{
    m_out.clear();
    m_err.clear();
}

int TestRender::run(const QStringList& args)
{
    QTextStream out(&m_out);
    QTextStream err(&m_err);
    const int status = Inspector::run(args, out, err);
    out.flush();
    err.flush();
    return status;
}

void TestRender::isRenderCommand_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("render");
    QTest::newRow("render") << QStringList{"--render", "a.png", "f.ild"} << true;
    QTest::newRow("render later") << QStringList{"--frame", "2", "--render", "a.png"} << true;
    QTest::newRow("listing") << QStringList{"--json", "f.ild"} << false;
    QTest::newRow("file named --render") << QStringList{"--", "--render"} << false;
}

void TestRender::isRenderCommand()
{
    QFETCH(QStringList, args);
    QFETCH(bool, render);
    QCOMPARE(Render::isRenderCommand(args), render);
}

// Top and Perspective above Front and Side, 3 pixels apart; Front is active.
void TestRender::defaultGrid()
{
    const QString png = m_dir.filePath(QStringLiteral("grid.png"));
    QCOMPARE(run({"--render", png, m_file}), int(Inspector::Success));
    QVERIFY(m_err.isEmpty());
    const QImage image(png);
    QCOMPARE(image.size(), QSize(650, 650));
    // 650 = 324 + 3 + 323 both ways: Front spans x 0..323 and y 327..649.
    QCOMPARE(image.pixelColor(0, 649), Accent);
    QCOMPARE(image.pixelColor(323, 327), Accent);
    QCOMPARE(image.pixelColor(327, 327) == Accent, false);
    QCOMPARE(image.pixelColor(0, 0) == Accent, false);
    QCOMPARE(image.pixelColor(649, 0) == Accent, false);
    QCOMPARE(image.pixelColor(649, 649) == Accent, false);
    // Black inside each cell; the gap between them shows the window colour.
    QCOMPARE(image.pixelColor(321, 321), Black);
    QCOMPARE(image.pixelColor(329, 329), Black);
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    QVERIFY(window != Black);
    for (int gap = 324; gap <= 326; ++gap) {
        QCOMPARE(image.pixel(gap, 100), window.rgb());
        QCOMPARE(image.pixel(100, gap), window.rgb());
        QCOMPARE(image.pixel(500, gap), window.rgb());
    }
    QCOMPARE(image.pixel(323, 100), window.darker(125).rgb());
    QCOMPARE(image.pixel(327, 100), window.darker(125).rgb());
}

void TestRender::activeView_data()
{
    QTest::addColumn<QString>("active");
    QTest::addColumn<QPoint>("corner");
    QTest::newRow("top") << "top" << QPoint(0, 0);
    QTest::newRow("perspective") << "perspective" << QPoint(649, 0);
    QTest::newRow("front") << "front" << QPoint(0, 649);
    QTest::newRow("side") << "side" << QPoint(649, 649);
}

void TestRender::activeView()
{
    QFETCH(QString, active);
    QFETCH(QPoint, corner);
    const QString png = m_dir.filePath(QStringLiteral("active.png"));
    QCOMPARE(run({"--render", png, "--active", active, m_file}), int(Inspector::Success));
    const QImage image(png);
    for (const QPoint& p : {QPoint(0, 0), QPoint(649, 0), QPoint(0, 649), QPoint(649, 649)})
        QCOMPARE(image.pixelColor(p) == Accent, p == corner);
}

void TestRender::singleViewMatchesWidget()
{
    const QString png = m_dir.filePath(QStringLiteral("side.png"));
    QCOMPARE(run({"--render", png, "--view", "side", "--size", "300x200", "--show-blanked",
                  "--active", "side", m_file}),
             int(Inspector::Success));
    const QImage image = QImage(png).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.size(), QSize(300, 200));

    // The same frame and options painted by a plain view widget.
    QVERIFY(load(m_dir.path(), {{lit(-10000, 0, 0, 0, 255, 0), blanked(10000, 0),
                                 lit(10000, 10000, 0, 255, 0, 0)}})
                .isEmpty());
    globalIldaFrames.setShowBlankedLines(true);
    globalIldaFrames.setShowDots(true);
    IldaView::m_activeView = IldaView::Side;
    IldaViewSide view;
    QCOMPARE(image, paint(view, QSize(300, 200)));

    // One view defaults to 400 x 400.
    QCOMPARE(run({"--render", png, "--view", "front", m_file}), int(Inspector::Success));
    QCOMPARE(QImage(png).size(), QSize(400, 400));
}

void TestRender::displayOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QColor>("blankedLine");
    QTest::addColumn<bool>("dot");
    QTest::newRow("defaults") << QStringList{} << Black << true;
    QTest::newRow("blanked lines") << QStringList{"--show-blanked"} << Grey << true;
    QTest::newRow("no dots") << QStringList{"--no-dots"} << Black << false;
}

// A 400 x 400 Front view: S = 395, mx = my = 2; model -10000 lands on 139, 0 on 200, 10000 on
// 260 (x) and 139 (y).
void TestRender::displayOptions()
{
    QFETCH(QStringList, options);
    QFETCH(QColor, blankedLine);
    QFETCH(bool, dot);
    const QString png = m_dir.filePath(QStringLiteral("options.png"));
    QCOMPARE(run(QStringList{"--render", png, "--view", "front"} + options + QStringList{m_file}),
             int(Inspector::Success));
    const QImage image(png);
    QCOMPARE(image.pixelColor(200, 200), blankedLine);
    // The last point's dot, at (260, 139): its top-left pixel.
    QCOMPARE(image.pixelColor(259, 138), dot ? QColor(255, 0, 0) : Black);
    // The lit line to it is drawn either way.
    QCOMPARE(image.pixelColor(260, 170), QColor(255, 0, 0));
}

void TestRender::chosenFrame()
{
    const QString png = m_dir.filePath(QStringLiteral("frame.png"));
    QCOMPARE(run({"--render", png, "--view", "front", "--frame", "1", m_file}),
             int(Inspector::Success));
    const QImage image(png);
    // Frame 1's point at x = -20000: screen x ((12768 * 395 + 32768) >> 16) + 2 = 79.
    QCOMPARE(image.pixelColor(78, 199), QColor(0, 0, 255));
    QCOMPARE(image.pixelColor(259, 138), Black);
}

void TestRender::startsFromInitialViewState()
{
    IldaView::m_zoomFactor = 7.0;
    IldaView::m_offsetX = 50.0f;
    const QString png = m_dir.filePath(QStringLiteral("state.png"));
    QCOMPARE(run({"--render", png, "--view", "front", m_file}), int(Inspector::Success));
    QCOMPARE(IldaView::m_zoomFactor, 1.0);
    QCOMPARE(IldaView::m_offsetX, 0.0f);
    QCOMPARE(QImage(png).pixelColor(259, 138), QColor(255, 0, 0));
}

void TestRender::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("frame past the end") << QStringList{"--frame", "2"} << "frame 2";
    QTest::newRow("negative frame") << QStringList{"--frame", "-1"} << "frame";
    QTest::newRow("frame not a number") << QStringList{"--frame", "two"} << "frame";
    QTest::newRow("unknown view") << QStringList{"--view", "diagonal"} << "view";
    QTest::newRow("active all") << QStringList{"--active", "all"} << "view";
    QTest::newRow("zero size") << QStringList{"--size", "0x10"} << "size";
    QTest::newRow("half a size") << QStringList{"--size", "10x"} << "size";
    QTest::newRow("huge size") << QStringList{"--size", "99999x10"} << "size";
    QTest::newRow("unknown option") << QStringList{"--colour"} << "unknown option";
    QTest::newRow("two files") << QStringList{"other.ild"} << "one file";
}

void TestRender::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const QString png = m_dir.filePath(QStringLiteral("usage.png"));
    QFile::remove(png);
    QCOMPARE(run(QStringList{"--render", png} + args + QStringList{m_file}),
             int(Inspector::UsageError));
    QVERIFY2(m_err.contains(message), qPrintable(m_err));
    QVERIFY(m_err.contains(QLatin1String("usage:")));
    QVERIFY(!QFileInfo::exists(png));

    // Options without their values.
    QCOMPARE(run({m_file, "--render"}), int(Inspector::UsageError));
    QCOMPARE(run({"--render", png, m_file, "--frame"}), int(Inspector::UsageError));
    QCOMPARE(run({"--render", png}), int(Inspector::UsageError));
}

void TestRender::loadFailure()
{
    const QString png = m_dir.filePath(QStringLiteral("missing.png"));
    QCOMPARE(run({"--render", png, m_dir.filePath(QStringLiteral("missing.ild"))}),
             int(Inspector::LoadFailed));
    QVERIFY(m_err.contains(QLatin1String("missing.ild")));
    QVERIFY(!QFileInfo::exists(png));
}

void TestRender::unwritableOutput()
{
    const QString png = m_dir.filePath(QStringLiteral("no/such/dir/out.png"));
    QCOMPARE(run({"--render", png, m_file}), int(Inspector::LoadFailed));
    QVERIFY(m_err.contains(QLatin1String("cannot write")));
}

QTEST_MAIN(TestRender)
#include "tst_render.moc"
