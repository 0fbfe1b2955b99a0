// The views: their pictures and projections, the shared view state and the mouse and wheel.
#include "TestSupport.h"

#include "views/IldaViewPerspective.h"
#include "views/ViewLayouts.h"

#include <QtTest>

#include <limits>
#include <memory>

using namespace ViewTestFrames;

Q_DECLARE_METATYPE(IldaPoint)

namespace {

const QColor Black(0, 0, 0);
const QColor Grey(48, 48, 48);
const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);
const QColor Blue(0, 0, 255);

std::unique_ptr<IldaView> view(int index)
{
    return std::unique_ptr<IldaView>(ViewLayouts::createView(unsigned(index)));
}

// The shared state: active view, zoom, perspective zoom, pan x, y, z, rotation x, y.
using State = QVector<double>;

void setState(const State& s)
{
    IldaView::m_activeView = uint(s[0]);
    IldaView::m_zoomFactor = s[1];
    IldaView::m_zoomFactorPerspective = s[2];
    IldaView::m_offsetX = float(s[3]);
    IldaView::m_offsetY = float(s[4]);
    IldaView::m_offsetZ = float(s[5]);
    IldaView::m_rotateX = float(s[6]);
    IldaView::m_rotateY = float(s[7]);
    IldaView::setupTransformMatrix();
}

State state()
{
    return {double(IldaView::m_activeView),
            IldaView::m_zoomFactor,
            IldaView::m_zoomFactorPerspective,
            IldaView::m_offsetX,
            IldaView::m_offsetY,
            IldaView::m_offsetZ,
            IldaView::m_rotateX,
            IldaView::m_rotateY};
}

} // namespace

class TestViews : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QImage paintFront(const QVector<Points>& frames)
    {
        auto front = view(IldaView::Front);
        return load(m_dir.path(), frames).isEmpty() ? paint(*front, QSize(400, 300)) : QImage();
    }

private slots:
    void init()
    {
        setState({0, 1, 1, 0, 0, 0, 0, 0});
        globalIldaFrames.setShowBlankedLines(false);
        globalIldaFrames.setShowDots(true);
    }

    // A 400 x 300 view at zoom 1: s = 300, mx = 52, my = 2, S = 295.
    void mapping_data()
    {
        QTest::addColumn<QPoint>("model");
        QTest::addColumn<QPoint>("screen");
        QTest::newRow("origin") << QPoint(0, 0) << QPoint(200, 150);
        QTest::newRow("left edge") << QPoint(-32768, 0) << QPoint(52, 150);
        QTest::newRow("right edge") << QPoint(32767, 0) << QPoint(347, 150);
        QTest::newRow("top edge") << QPoint(0, 32767) << QPoint(200, 2);
        QTest::newRow("bottom edge") << QPoint(0, -32768) << QPoint(200, 297);
        QTest::newRow("rounds to nearest") << QPoint(10000, -10000) << QPoint(245, 195);
    }
    void mapping()
    {
        QFETCH(QPoint, model);
        QFETCH(QPoint, screen);
        const QColor colour(10, 200, 30);
        const QImage image = paintFront({{lit(model.x(), model.y(), colour)}});
        // A dot is a 3 x 3 outline around its point; rows 0, 1, 298 and 299 are the frame's.
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (screen.y() + dy >= 2 && screen.y() + dy <= 297)
                    QCOMPARE(image.pixelColor(screen + QPoint(dx, dy)),
                             qMax(qAbs(dx), qAbs(dy)) == 1 ? colour : Black);
    }

    void lines_data()
    {
        QTest::addColumn<Points>("points");
        QTest::addColumn<bool>("showBlanked");
        QTest::addColumn<QColor>("centre"); // the pixel at model (0, 0)
        QTest::newRow("lit line takes its end point's colour")
            << Points{lit(-10000, 0, Green), lit(10000, 0, Red)} << false << Red;
        QTest::newRow("blanked line hidden")
            << Points{lit(-10000, 0, Green), blanked(10000, 0)} << false << Black;
        QTest::newRow("blanked line shown")
            << Points{lit(-10000, 0, Green), blanked(10000, 0)} << true << Grey;
        QTest::newRow("lit line over blanked line")
            << Points{lit(-10000, 0, Red), blanked(10000, 0), lit(-10000, 0, Blue)} << true << Blue;
    }
    void lines()
    {
        QFETCH(Points, points);
        QFETCH(bool, showBlanked);
        QFETCH(QColor, centre);
        globalIldaFrames.setShowDots(false);
        globalIldaFrames.setShowBlankedLines(showBlanked);
        const QImage image = paintFront({points});
        QCOMPARE(image.pixelColor(200, 150), centre);
        QCOMPARE(image.pixelColor(200, 151), Black);
    }

    // Points at x = -20000, -10000, 0, 10000, 20000 on y = 0: "r", "g", "b" lit in that colour,
    // "B" blanked. Expected dot per point: "-" none, "o" grey, else its colour letter.
    void dotRules_data()
    {
        QTest::addColumn<QString>("points");
        QTest::addColumn<bool>("showBlanked");
        QTest::addColumn<QString>("dots");
        QTest::newRow("one blanked point, hidden") << "B" << false << "-";
        QTest::newRow("one blanked point, shown") << "B" << true << "o";
        QTest::newRow("blanked run, hidden") << "rBBBb" << false << "r--bb";
        QTest::newRow("blanked run, shown") << "rBBBb" << true << "roobb";
        QTest::newRow("blanked last point, shown") << "rB" << true << "ro";
        QTest::newRow("lit points keep their colours") << "rgb" << false << "rgb";
    }
    void dotRules()
    {
        QFETCH(QString, points);
        QFETCH(bool, showBlanked);
        QFETCH(QString, dots);
        const QHash<QChar, QColor> colourOf{{'r', Red}, {'g', Green}, {'b', Blue}, {'o', Grey}};
        Points frame;
        for (int i = 0; i < points.size(); ++i)
            frame << (points[i] == 'B' ? blanked(-20000 + 10000 * i, 0)
                                       : lit(-20000 + 10000 * i, 0, colourOf.value(points[i])));
        globalIldaFrames.setShowBlankedLines(showBlanked);
        const QImage image = paintFront({frame});
        // Screen x of the points; lines along y = 0 never touch a dot's corners.
        const int column[5] = {109, 154, 200, 245, 290};
        for (int i = 0; i < dots.size(); ++i) {
            QCOMPARE(image.pixelColor(column[i] - 1, 149), colourOf.value(dots[i], Black));
            QCOMPARE(image.pixelColor(column[i] + 1, 151), colourOf.value(dots[i], Black));
        }
    }

    // Nothing loaded: black inside a two-pixel frame, in the accent colour for the active view
    // and the darkened window colour for the others.
    void borders()
    {
        QVERIFY(load(m_dir.path(), {}).isEmpty());
        auto side = view(IldaView::Side);
        QPalette palette = side->palette();
        palette.setColor(QPalette::Window, QColor(200, 100, 50));
        side->setPalette(palette);
        for (const uint active : {1u, 0u, 7u}) {
            IldaView::m_activeView = active;
            const QImage image = paint(*side, QSize(400, 300));
            for (const QPoint& p : {QPoint(0, 0), QPoint(1, 1), QPoint(398, 298), QPoint(200, 0)})
                QCOMPARE(image.pixelColor(p),
                         active == 1 ? QColor(60, 140, 240) : QColor(160, 80, 40));
            QCOMPARE(image.pixelColor(2, 2), Black);
            QCOMPARE(image.pixelColor(397, 297), Black);
        }
    }

    // Far beyond the int range a panned position saturates, and the picture leaves the view.
    void hugePanSaturates()
    {
        auto front = view(IldaView::Front);
        setState({0, 1, 1, 3e9, -3e9, 0, 0, 0});
        QPoint p(10, 10);
        front->applyOffset(p.rx(), p.ry());
        QCOMPARE(p, QPoint(std::numeric_limits<int>::max(), std::numeric_limits<int>::min()));
        QVERIFY(load(m_dir.path(), {{lit(0, 0, Red), lit(100, 100, Red)}}).isEmpty());
        const QImage image = paint(*front, QSize(200, 200));
        QImage black(196, 178, QImage::Format_RGB32);
        black.fill(Qt::black);
        QCOMPARE(image.copy(2, 20, 196, 178), black);
    }

    void projection_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("zoom"); // the view's own
        QTest::addColumn<QVector<int>>("point");
        QTest::addColumn<QPoint>("expected");
        const QVector<int> p{1000, 2000, 3000};
        QTest::newRow("front zoom 2") << 0 << 2.0 << p << QPoint(2000, 4000);
        QTest::newRow("side zoom 2") << 1 << 2.0 << p << QPoint(-6000, 4000);
        QTest::newRow("top zoom 2") << 2 << 2.0 << p << QPoint(2000, -6000);
        QTest::newRow("front -1.5 truncates to -1")
            << 0 << 0.5 << QVector<int>{-3, 3, 0} << QPoint(-1, 1);
        QTest::newRow("side -1.5") << 1 << 0.5 << QVector<int>{0, -3, 3} << QPoint(-1, -1);
        QTest::newRow("top 1.5") << 2 << 0.5 << QVector<int>{3, 0, -3} << QPoint(1, 1);
        // z = -32768 negated as an int, not wrapped to 16 bits.
        QTest::newRow("side lowest z")
            << 1 << 1.0 << QVector<int>{0, 0, -32768} << QPoint(32768, 0);
        QTest::newRow("top lowest z") << 2 << 1.0 << QVector<int>{0, 0, -32768} << QPoint(0, 32768);
        QTest::newRow("front zoom 100")
            << 0 << 100.0 << QVector<int>{32767, -32768, 0} << QPoint(3276700, -3276800);
        // Identity rotation: a point at depth 0 is scaled by 34406.4 / 81920.
        QTest::newRow("perspective depth 0")
            << 3 << 1.0 << QVector<int>{32767, 0, 0} << QPoint(13762, 0);
        QTest::newRow("perspective near")
            << 3 << 1.0 << QVector<int>{10000, 0, 32767} << QPoint(6999, 0);
        QTest::newRow("perspective far")
            << 3 << 1.0 << QVector<int>{10000, 0, -32768} << QPoint(2999, 0);
        QTest::newRow("perspective truncates toward zero")
            << 3 << 1.0 << QVector<int>{-32767, -10, 0} << QPoint(-13762, -4);
        QTest::newRow("perspective zoom 2")
            << 3 << 2.0 << QVector<int>{0, 32767, 0} << QPoint(0, 27524);
    }
    void projection()
    {
        QFETCH(int, index);
        QFETCH(double, zoom);
        QFETCH(QVector<int>, point);
        QFETCH(QPoint, expected);
        const bool perspective = index == IldaView::Perspective;
        setState({0, perspective ? 5.0 : zoom, perspective ? zoom : 3.0, 50, 60, 70, 0, 0});
        QPoint projected;
        view(index)->getXY(lit(point[0], point[1], Black, point[2]), projected.rx(),
                           projected.ry());
        QCOMPARE(projected, expected); // the pan comes later
    }

    void offsets_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QVector<double>>("offset"); // x, y, z
        QTest::addColumn<QPoint>("screen");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("front: 10 + -0.5 is 9")
            << 0 << QVector<double>{-0.5, 0, 0} << QPoint(10, 10) << QPoint(9, 10);
        QTest::newRow("front y") << 0 << QVector<double>{0, 2.75, 99} << QPoint(10, 10)
                                 << QPoint(10, 12);
        QTest::newRow("front toward zero")
            << 0 << QVector<double>{0.5, 0.5, 0} << QPoint(-10, -3) << QPoint(-9, -2);
        QTest::newRow("side x from z")
            << 1 << QVector<double>{99, 3, -0.5} << QPoint(10, 10) << QPoint(9, 13);
        QTest::newRow("top y minus z")
            << 2 << QVector<double>{1, 99, 0.5} << QPoint(10, 10) << QPoint(11, 9);
        QTest::newRow("perspective has no pan")
            << 3 << QVector<double>{5, 6, 7} << QPoint(10, 10) << QPoint(10, 10);
    }
    void offsets()
    {
        QFETCH(int, index);
        QFETCH(QVector<double>, offset);
        QFETCH(QPoint, screen);
        QFETCH(QPoint, expected);
        setState({0, 1, 1, offset[0], offset[1], offset[2], 0, 0});
        view(index)->applyOffset(screen.rx(), screen.ry());
        QCOMPARE(screen, expected);
    }

    // The point (1, 2, 3) turned by a new perspective view built from the stored angles.
    void rotation_data()
    {
        QTest::addColumn<float>("rotateX");
        QTest::addColumn<float>("rotateY");
        QTest::addColumn<QVector<float>>("turned");
        QTest::newRow("none") << 0.0f << 0.0f << QVector<float>{1, 2, 3};
        QTest::newRow("about y") << 0.0f << 90.0f << QVector<float>{3, 2, -1};
        QTest::newRow("about x") << 90.0f << 0.0f << QVector<float>{1, -3, 2};
        QTest::newRow("y first, then x") << 90.0f << 90.0f << QVector<float>{3, 1, 2};
        QTest::newRow("negative") << 0.0f << -90.0f << QVector<float>{-3, 2, 1};
    }
    void rotation()
    {
        QFETCH(float, rotateX);
        QFETCH(float, rotateY);
        QFETCH(QVector<float>, turned);
        IldaView::m_rotateX = rotateX;
        IldaView::m_rotateY = rotateY;
        std::fill(IldaView::m_transformMatrix, IldaView::m_transformMatrix + 9, 0.0f);
        IldaViewPerspective perspective;
        QVector<float> result(3);
        perspective.applyTransformMatrix(1, 2, 3, result[0], result[1], result[2]);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(qAbs(result[i] - turned[i]) < 1e-5f, qPrintable(QString::number(result[i])));
    }

    // Events sent to a 400 x 300 view of the given index (-1: none) and static operations, then
    // the whole shared state. Tokens: p press, m move (with the pressed button), r release,
    // d double-click, w wheel at x,y with delta, W wait 260 ms, s resize; I zoom in, O zoom out,
    // Z zoom by a factor about the origin, P zoom the perspective, K move or rotate by dx,dy,
    // R reset (1: all). Flags after the letter: R right, M middle button; a Alt, c Control.
    void operations_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<State>("start");
        QTest::addColumn<QString>("events");
        QTest::addColumn<State>("expected");
        const State zero{0, 1, 1, 0, 0, 0, 0, 0};
        const auto row = [](const char* name, int index, const State& start, const char* events,
                            const State& expected) {
            QTest::newRow(name) << index << start << QString(events) << expected;
        };
        row("press activates side", 1, zero, "p50,50 r p51,50 r", {1, 1, 1, 0, 0, 0, 0, 0});
        row("right press activates top", 2, zero, "pR50,50 r", {2, 1, 1, 0, 0, 0, 0, 0});
        row("middle press activates perspective", 3, zero, "pM50,50 r", {3, 1, 1, 0, 0, 0, 0, 0});
        row("drag below 5 px", 0, zero, "p100,100 m103,103 r", zero);
        row("drag of exactly 5 px", 0, zero, "p100,100 m104,103 r", {0, 1, 1, 4, 3, 0, 0, 0});
        row("5 px straight up", 0, zero, "p100,100 m100,95 r", {0, 1, 1, 0, -5, 0, 0, 0});
        row("first step carries the whole motion", 0, zero, "p100,100 m102,101 m105,101 r",
            {0, 1, 1, 5, 1, 0, 0, 0});
        row("later steps follow", 0, zero, "p100,100 m105,100 m106,102 m104,102 r",
            {0, 1, 1, 4, 2, 0, 0, 0});
        row("back inside the circle after the start", 0, zero, "p100,100 m106,100 m101,100 r",
            {0, 1, 1, 1, 0, 0, 0, 0});
        // The fine step proves that the first move did not start the drag.
        row("holding still starts a drag, release ends it", 1, zero,
            "p100,100 m101,100 W ma101,101 r m150,150", {1, 1, 1, 0, 0.125, 0.125, 0, 0});
        row("top pan: down lowers z", 2, zero, "p50,50 m58,58 r", {2, 1, 1, 8, 0, -8, 0, 0});
        row("right button pans", 2, zero, "pR50,50 m58,58 r", {2, 1, 1, 8, 0, -8, 0, 0});
        row("Alt pans finely", 2, zero, "pa50,50 ma58,58 r", {2, 1, 1, 1, 0, -1, 0, 0});
        row("middle button pans finely", 2, zero, "pM50,50 m58,58 r", {2, 1, 1, 1, 0, -1, 0, 0});
        const State turned{0, 3, 2, 5, 0, 0, 10, 20};
        row("double-click resets front", 0, turned, "p40,40 r d40,40 m60,70 m80,90 r",
            {0, 1, 2, 0, 0, 0, 10, 20});
        row("double-click resets perspective", 3, turned, "p40,40 r d40,40 m60,70 m80,90 r",
            {3, 3, 1, 5, 0, 0, 0, 0});
        row("perspective drag turns half a degree per pixel", 3, zero,
            "p100,100 m100,110 m102,110 r", {3, 1, 1, 0, 0, 0, -5, -1});
        row("perspective drag with Alt", 3, zero, "pa100,100 ma100,110 ma102,110 r",
            {3, 1, 1, 0, 0, 0, -0.625, -0.125});
        row("perspective drag with middle", 3, zero, "pM100,100 m100,110 m100,112 r",
            {3, 1, 1, 0, 0, 0, -0.75, 0});
        row("perspective drag up-left", 3, zero, "p100,100 m100,110 m96,104 r",
            {3, 1, 1, 0, 0, 0, -2, 2});
        const State panned{0, 1, 1, 2, 4, 6, 0, 0};
        const double out = IldaView::ZoomStepBack;
        for (int index = 0; index < 4; ++index)
            row(qPrintable(QStringLiteral("wheel without Control, view %1").arg(index)), index,
                panned, "w300,50,120", panned);
        row("Control+wheel at the centre", 0, panned, "wc200,150,120",
            {0, 1.41, 1, 2.82, 5.64, 8.46, 0, 0});
        // Zoomed about the cursor: offset = cursor + (offset - cursor) * 1.41.
        row("front about the cursor", 0, panned, "wc300,150,120",
            {0, 1.41, 1, -38.18, 5.64, 8.46, 0, 0});
        row("side about the cursor", 1, panned, "wc300,50,120",
            {0, 1.41, 1, 2.82, 46.64, -32.54, 0, 0});
        row("top about the cursor", 2, panned, "wc300,50,120",
            {0, 1.41, 1, -38.18, 5.64, -32.54, 0, 0});
        row("wheel out", 0, panned, "wc200,150,-120", {0, out, 1, 2 * out, 4 * out, 6 * out, 0, 0});
        row("odd width: centre column 200", 0, panned, "s401,300 wc200,150,120",
            {0, 1.41, 1, 2.82, 5.64, 8.46, 0, 0});
        row("wheel position truncated", 0, panned, "wc250.7,150.9,120",
            {0, 1.41, 1, -17.68, 5.64, 8.46, 0, 0});
        row("zero delta", 0, panned, "wc300,50,0", panned);
        row("wheel at the limit", 1, {0, 100, 1, 2, 4, 6, 0, 0}, "wc300,50,120",
            {0, 100, 1, 2, 4, 6, 0, 0});
        row("perspective wheel ignores the cursor", 3, panned, "wc300,50,120 wc300,50,120",
            {0, 1, 1.41 * 1.41, 2, 4, 6, 0, 0});
        row("perspective wheel out", 3, panned, "wc300,50,-120", {0, 1, out, 2, 4, 6, 0, 0});
        row("perspective at 100", 3, {0, 1, 100, 2, 4, 6, 0, 0}, "wc300,50,120",
            {0, 1, 100, 2, 4, 6, 0, 0});
        const State offset{0, 1, 1, 4, -8, 2.5, 0, 0};
        row("zoom scales the pan", -1, offset, "Z1.41", {0, 1.41, 1, 5.64, -11.28, 3.525, 0, 0});
        row("zoom factor cut to land on 100", -1, {0, 80, 1, 4, -8, 2.5, 0, 0}, "Z1.41",
            {0, 100, 1, 5, -10, 3.125, 0, 0});
        row("zoom stays at 100", -1, {0, 100, 1, 4, -8, 2.5, 0, 0}, "Z1.41",
            {0, 100, 1, 4, -8, 2.5, 0, 0});
        row("zoom factor cut to land on 0.01", -1, {0, 0.012, 1, 4, -8, 2.5, 0, 0},
            "Z0.7092198581560284", {0, 0.01, 1, 4 / 1.2, -8 / 1.2, 2.5 / 1.2, 0, 0});
        row("zoom stays at 0.01", -1, {0, 0.01, 1, 4, -8, 2.5, 0, 0}, "Z0.7",
            {0, 0.01, 1, 4, -8, 2.5, 0, 0});
        row("perspective zoom clamped", -1, {0, 1, 80, 0, 0, 0, 0, 0}, "P1.41 P0.5",
            {0, 1, 50, 0, 0, 0, 0, 0});
        row("perspective zoom clamped at 0.01", -1, {0, 1, 0.012, 0, 0, 0, 0, 0}, "P0.7",
            {0, 1, 0.01, 0, 0, 0, 0, 0});
        row("zoom in and out: top", -1, {2, 1, 1, 0, 0, 0, 0, 0}, "I O O",
            {2, out, 1, 0, 0, 0, 0, 0});
        row("zoom in and out: perspective", -1, {3, 1, 1, 0, 0, 0, 0, 0}, "I I O",
            {3, 1, 1.41, 0, 0, 0, 0, 0});
        row("zoom in and out: no view", -1, {4, 1, 1, 0, 0, 0, 0, 0}, "I O O",
            {4, 1, 1, 0, 0, 0, 0, 0});
        row("keys pan the side view", -1, {1, 1, 1, 0, 0, 0, 0, 0}, "K1,2",
            {1, 1, 1, 0, 2, 1, 0, 0});
        row("keys pan the top view", -1, {2, 1, 1, 0, 0, 0, 0, 0}, "K1,2",
            {2, 1, 1, 1, 0, -2, 0, 0});
        row("keys turn up past 360", -1, {3, 1, 1, 0, 0, 0, 359.5, 0}, "K0,-1",
            {3, 1, 1, 0, 0, 0, 0.5, 0});
        row("keys turn right past -360", -1, {3, 1, 1, 0, 0, 0, 0, -359.5}, "K1,0",
            {3, 1, 1, 0, 0, 0, 0, -0.5});
        row("keys turn left, negative kept", -1, {3, 1, 1, 0, 0, 0, 0, 10}, "K-1,0 K1,1 K1,1",
            {3, 1, 1, 0, 0, 0, -2, 9});
        const State all{0, 3, 4, 1, 2, 3, 30, -40};
        row("reset front", -1, all, "R0", {0, 1, 4, 0, 0, 0, 30, -40});
        row("reset top", -1, {2, 3, 4, 1, 2, 3, 30, -40}, "R0", {2, 1, 4, 0, 0, 0, 30, -40});
        row("reset perspective", -1, {3, 3, 4, 1, 2, 3, 30, -40}, "R0", {3, 3, 1, 1, 2, 3, 0, 0});
        row("reset without a view", -1, {8, 3, 4, 1, 2, 3, 30, -40}, "R0",
            {8, 3, 4, 1, 2, 3, 30, -40});
        row("reset all", -1, {3, 3, 4, 1, 2, 3, 30, -40}, "R1", {3, 1, 1, 0, 0, 0, 0, 0});
    }
    void operations()
    {
        QFETCH(int, index);
        QFETCH(State, start);
        QFETCH(QString, events);
        QFETCH(State, expected);
        setState(start);
        QWidget parent;
        IldaView* target = index < 0 ? nullptr : ViewLayouts::createView(unsigned(index));
        if (target) {
            target->setParent(&parent);
            target->resize(400, 300);
        }
        Qt::MouseButton held = Qt::LeftButton;
        for (const QString& token : events.split(' ', Qt::SkipEmptyParts)) {
            Qt::MouseButton button = Qt::LeftButton;
            Qt::KeyboardModifiers modifiers;
            int i = 1;
            for (; i < token.size() && token[i].isLetter(); ++i) {
                button = token[i] == 'R'   ? Qt::RightButton
                         : token[i] == 'M' ? Qt::MiddleButton
                                           : button;
                modifiers |= token[i] == 'a'   ? Qt::AltModifier
                             : token[i] == 'c' ? Qt::ControlModifier
                                               : Qt::NoModifier;
            }
            const QStringList args = token.mid(i).split(',');
            const auto arg = [&](int k) { return args.value(k).toDouble(); };
            const QPointF at(arg(0), arg(1));
            const QPoint global = target ? target->mapToGlobal(at.toPoint()) : QPoint();
            switch (token[0].toLatin1()) {
            case 'p':
                held = button;
                QTest::mousePress(target, held, modifiers, at.toPoint());
                break;
            case 'm': {
                QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, held, modifiers);
                QApplication::sendEvent(target, &move);
                break;
            }
            case 'r':
                QTest::mouseRelease(target, held, modifiers, at.toPoint());
                break;
            case 'd': {
                QMouseEvent click(QEvent::MouseButtonDblClick, at, global, held, held, modifiers);
                QApplication::sendEvent(target, &click);
                break;
            }
            case 'w': {
                // Without Control the view leaves the wheel to the window, which steps frames.
                QWheelEvent wheel(at, global, QPoint(), QPoint(0, int(arg(2))), Qt::NoButton,
                                  modifiers, Qt::NoScrollPhase, false);
                QApplication::sendEvent(target, &wheel);
                QCOMPARE(wheel.isAccepted(), modifiers == Qt::ControlModifier);
                break;
            }
            case 'W':
                QTest::qWait(260);
                break;
            case 's':
                target->resize(int(arg(0)), int(arg(1)));
                break;
            case 'I':
                IldaView::ZoomIn();
                break;
            case 'O':
                IldaView::ZoomOut();
                break;
            case 'Z':
                IldaView::Zoom(arg(0), 0, 0, 0);
                break;
            case 'P':
                IldaView::ZoomPerspective(arg(0));
                break;
            case 'K':
                IldaView::MoveOrRotate(float(arg(0)), float(arg(1)));
                break;
            case 'R':
                IldaView::Reset(arg(0) != 0);
                break;
            }
        }
        const State result = state();
        for (int k = 0; k < result.size(); ++k)
            QVERIFY2(qAbs(result[k] - expected[k]) < 1e-3,
                     qPrintable(QStringLiteral("%1 is %2").arg(k).arg(result[k])));
        // The matrix always follows the angles.
        float matrix[9];
        std::copy(IldaView::m_transformMatrix, IldaView::m_transformMatrix + 9, matrix);
        IldaView::setupTransformMatrix();
        QVERIFY(std::equal(matrix, matrix + 9, IldaView::m_transformMatrix));
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
