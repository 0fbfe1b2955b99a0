// The views' pictures and projections, and the shared view state's static operations.
#include "ViewTestFrames.h"

#include "views/IldaViewFront.h"
#include "views/IldaViewPerspective.h"
#include "views/IldaViewSide.h"
#include "views/IldaViewTop.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>
#include <memory>

using namespace ViewTestFrames;

Q_DECLARE_METATYPE(IldaPoint)

namespace {

const QColor Black(0, 0, 0);
const QColor Grey(48, 48, 48);
const QColor Accent(60, 140, 240);
const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);
const QColor Blue(0, 0, 255);

std::unique_ptr<IldaView> createView(int index)
{
    switch (index) {
    case IldaView::Front:
        return std::make_unique<IldaViewFront>();
    case IldaView::Side:
        return std::make_unique<IldaViewSide>();
    case IldaView::Top:
        return std::make_unique<IldaViewTop>();
    default:
        return std::make_unique<IldaViewPerspective>();
    }
}

QVector<float> pan()
{
    return {IldaView::m_offsetX, IldaView::m_offsetY, IldaView::m_offsetZ};
}

void setOffsets(float x, float y, float z)
{
    IldaView::m_offsetX = x;
    IldaView::m_offsetY = y;
    IldaView::m_offsetZ = z;
}

} // namespace

class TestViews : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void mapping_data();
    void mapping();
    void lines_data();
    void lines();
    void dotRules_data();
    void dotRules();
    void borders();
    void hugePanSaturates();

    void projection_data();
    void projection();
    void offsets_data();
    void offsets();
    void rotation_data();
    void rotation();

    void zoomLimits_data();
    void zoomLimits();
    void zoomInOut_data();
    void zoomInOut();
    void rotationRemainder_data();
    void rotationRemainder();
    void reset_data();
    void reset();

private:
    QImage paintFront(const QVector<Points>& frames)
    {
        IldaViewFront view;
        return load(m_dir.path(), frames).isEmpty() ? paint(view, QSize(400, 300)) : QImage();
    }

    QTemporaryDir m_dir;
};

void TestViews::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
}

void TestViews::init()
{
    IldaView::m_activeView = IldaView::Front;
    IldaView::Reset(true);
    globalIldaFrames.setShowBlankedLines(false);
    globalIldaFrames.setShowDots(true);
}

// A 400 x 300 view at zoom 1: s = 300, mx = 52, my = 2, S = 295.
void TestViews::mapping_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("sx");
    QTest::addColumn<int>("sy");
    QTest::newRow("origin") << 0 << 0 << 200 << 150;
    QTest::newRow("left edge") << -32768 << 0 << 52 << 150;
    QTest::newRow("right edge") << 32767 << 0 << 347 << 150;
    QTest::newRow("top edge") << 0 << 32767 << 200 << 2;
    QTest::newRow("bottom edge") << 0 << -32768 << 200 << 297;
    QTest::newRow("rounds to nearest") << 10000 << -10000 << 245 << 195;
}

void TestViews::mapping()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, sx);
    QFETCH(int, sy);
    const QColor colour(10, 200, 30);
    const QImage image = paintFront({{lit(x, y, colour)}});
    // A dot is a 3 x 3 outline around its point, the centre untouched; rows 0, 1, 298 and 299
    // belong to the frame.
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (sy + dy >= 2 && sy + dy <= 297)
                QCOMPARE(image.pixelColor(sx + dx, sy + dy),
                         qMax(qAbs(dx), qAbs(dy)) == 1 ? colour : Black);
}

void TestViews::lines_data()
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

void TestViews::lines()
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

void TestViews::dotRules_data()
{
    // Points at x = -20000, -10000, 0, 10000, 20000 on y = 0: "r", "g", "b" lit in that colour,
    // "B" blanked. Expected dot per point: "-" none, "o" grey, else its colour letter.
    QTest::addColumn<QString>("points");
    QTest::addColumn<bool>("showBlanked");
    QTest::addColumn<QString>("dots");
    QTest::newRow("one lit point") << "r" << false << "r";
    QTest::newRow("one blanked point, blanked hidden") << "B" << false << "-";
    QTest::newRow("one blanked point, blanked shown") << "B" << true << "o";
    QTest::newRow("blanked run, blanked hidden") << "rBBBb" << false << "r--bb";
    QTest::newRow("blanked run, blanked shown") << "rBBBb" << true << "roobb";
    QTest::newRow("blanked start") << "Bb" << false << "bb";
    QTest::newRow("blanked last point, hidden") << "rB" << false << "r-";
    QTest::newRow("blanked last point, shown") << "rB" << true << "ro";
    QTest::newRow("lit points keep their colours") << "rgb" << false << "rgb";
}

void TestViews::dotRules()
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

// Nothing loaded: black inside a two-pixel frame, in the accent colour for the active view and
// the darkened window colour for the others.
void TestViews::borders()
{
    QVERIFY(load(m_dir.path(), {}).isEmpty());
    IldaViewSide view;
    QPalette palette = view.palette();
    palette.setColor(QPalette::Window, QColor(200, 100, 50));
    view.setPalette(palette);
    const QColor darkened(160, 80, 40); // HSV value divided by 1.25
    for (const uint active : {1u, 0u, 7u}) {
        IldaView::m_activeView = active;
        const QImage image = paint(view, QSize(400, 300));
        for (const QPoint& p :
             {QPoint(0, 0), QPoint(1, 1), QPoint(399, 299), QPoint(398, 298), QPoint(200, 0)})
            QCOMPARE(image.pixelColor(p), active == IldaView::Side ? Accent : darkened);
        QCOMPARE(image.pixelColor(2, 2), Black);
        QCOMPARE(image.pixelColor(397, 297), Black);
    }
}

// Far beyond the int range a panned position saturates instead of overflowing, and the picture
// simply leaves the view.
void TestViews::hugePanSaturates()
{
    IldaViewFront view;
    setOffsets(3e9f, -3e9f, 0);
    int x = 10;
    int y = 10;
    view.applyOffset(x, y);
    QCOMPARE(x, std::numeric_limits<int>::max());
    QCOMPARE(y, std::numeric_limits<int>::min());
    QVERIFY(load(m_dir.path(), {{lit(0, 0, Red), lit(100, 100, Red)}}).isEmpty());
    const QImage image = paint(view, QSize(200, 200));
    for (int py = 20; py < 198; ++py)
        for (int px = 2; px < 198; ++px)
            QCOMPARE(image.pixelColor(px, py), Black);
}

void TestViews::projection_data()
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
    QTest::newRow("side lowest z") << 1 << 1.0 << QVector<int>{0, 0, -32768} << QPoint(32768, 0);
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

void TestViews::projection()
{
    QFETCH(int, index);
    QFETCH(double, zoom);
    QFETCH(QVector<int>, point);
    QFETCH(QPoint, expected);
    const bool perspective = index == IldaView::Perspective;
    IldaView::m_zoomFactor = perspective ? 5.0 : zoom;
    IldaView::m_zoomFactorPerspective = perspective ? zoom : 3.0;
    setOffsets(50, 60, 70); // projection comes before pan
    const auto view = createView(index);
    QPoint projected;
    view->getXY(lit(point[0], point[1], Black, point[2]), projected.rx(), projected.ry());
    QCOMPARE(projected, expected);
}

void TestViews::offsets_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QVector<float>>("offset"); // x, y, z
    QTest::addColumn<QPoint>("screen");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("front: 10 + -0.5 is 9")
        << 0 << QVector<float>{-0.5f, 0, 0} << QPoint(10, 10) << QPoint(9, 10);
    QTest::newRow("front y") << 0 << QVector<float>{0, 2.75f, 99} << QPoint(10, 10)
                             << QPoint(10, 12);
    QTest::newRow("front toward zero")
        << 0 << QVector<float>{0.5f, 0.5f, 0} << QPoint(-10, -3) << QPoint(-9, -2);
    QTest::newRow("side x from z")
        << 1 << QVector<float>{99, 3, -0.5f} << QPoint(10, 10) << QPoint(9, 13);
    QTest::newRow("top y minus z")
        << 2 << QVector<float>{1, 99, 0.5f} << QPoint(10, 10) << QPoint(11, 9);
    QTest::newRow("perspective has no pan")
        << 3 << QVector<float>{5, 6, 7} << QPoint(10, 10) << QPoint(10, 10);
}

void TestViews::offsets()
{
    QFETCH(int, index);
    QFETCH(QVector<float>, offset);
    QFETCH(QPoint, screen);
    QFETCH(QPoint, expected);
    setOffsets(offset[0], offset[1], offset[2]);
    createView(index)->applyOffset(screen.rx(), screen.ry());
    QCOMPARE(screen, expected);
}

void TestViews::rotation_data()
{
    QTest::addColumn<float>("rotateX");
    QTest::addColumn<float>("rotateY");
    QTest::addColumn<QVector<float>>("turned"); // the point (1, 2, 3)
    QTest::newRow("none") << 0.0f << 0.0f << QVector<float>{1, 2, 3};
    QTest::newRow("about y") << 0.0f << 90.0f << QVector<float>{3, 2, -1};
    QTest::newRow("about x") << 90.0f << 0.0f << QVector<float>{1, -3, 2};
    QTest::newRow("y first, then x") << 90.0f << 90.0f << QVector<float>{3, 1, 2};
    QTest::newRow("negative") << 0.0f << -90.0f << QVector<float>{-3, 2, 1};
}

// A new perspective view builds the matrix from the stored angles.
void TestViews::rotation()
{
    QFETCH(float, rotateX);
    QFETCH(float, rotateY);
    QFETCH(QVector<float>, turned);
    IldaView::m_rotateX = rotateX;
    IldaView::m_rotateY = rotateY;
    std::fill(IldaView::m_transformMatrix, IldaView::m_transformMatrix + 9, 0.0f);
    IldaViewPerspective view;
    QVector<float> result(3);
    view.applyTransformMatrix(1, 2, 3, result[0], result[1], result[2]);
    for (int i = 0; i < 3; ++i)
        QVERIFY2(qAbs(result[i] - turned[i]) < 1e-5f, qPrintable(QString::number(result[i])));
}

void TestViews::zoomLimits_data()
{
    QTest::addColumn<bool>("perspective");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<double>("offsetFactor");
    const double in = IldaView::ZoomStep;
    const double out = IldaView::ZoomStepBack;
    QTest::newRow("in") << false << 1.0 << in << in << in;
    QTest::newRow("factor cut to land on 100") << false << 80.0 << in << 100.0 << 1.25;
    QTest::newRow("stays at 100") << false << 100.0 << in << 100.0 << 1.0;
    QTest::newRow("factor cut to land on 0.01") << false << 0.012 << out << 0.01 << 0.01 / 0.012;
    QTest::newRow("stays at 0.01") << false << 0.01 << out << 0.01 << 1.0;
    QTest::newRow("perspective in") << true << 2.0 << in << 2.82 << 1.0;
    QTest::newRow("perspective clamped at 100") << true << 80.0 << in << 100.0 << 1.0;
    QTest::newRow("perspective clamped at 0.01") << true << 0.012 << out << 0.01 << 1.0;
}

void TestViews::zoomLimits()
{
    QFETCH(bool, perspective);
    QFETCH(double, start);
    QFETCH(double, factor);
    QFETCH(double, zoom);
    QFETCH(double, offsetFactor);
    double& own = perspective ? IldaView::m_zoomFactorPerspective : IldaView::m_zoomFactor;
    double& other = perspective ? IldaView::m_zoomFactor : IldaView::m_zoomFactorPerspective;
    own = start;
    setOffsets(4, -8, 2.5f);
    if (perspective)
        IldaView::ZoomPerspective(factor);
    else
        IldaView::Zoom(factor, 0, 0, 0);
    QCOMPARE(own, zoom);
    QCOMPARE(other, 1.0);
    QCOMPARE(pan(), (QVector<float>{float(4 * offsetFactor), float(-8 * offsetFactor),
                                    float(2.5 * offsetFactor)}));
}

void TestViews::zoomInOut_data()
{
    QTest::addColumn<uint>("active");
    QTest::addColumn<bool>("orthographic");
    QTest::addColumn<bool>("perspective");
    QTest::newRow("top") << 2u << true << false;
    QTest::newRow("perspective") << 3u << false << true;
    QTest::newRow("no view") << 4u << false << false;
}

void TestViews::zoomInOut()
{
    QFETCH(uint, active);
    QFETCH(bool, orthographic);
    QFETCH(bool, perspective);
    IldaView::m_activeView = active;
    IldaView::ZoomIn();
    QCOMPARE(IldaView::m_zoomFactor, orthographic ? IldaView::ZoomStep : 1.0);
    QCOMPARE(IldaView::m_zoomFactorPerspective, perspective ? IldaView::ZoomStep : 1.0);
    IldaView::ZoomOut();
    IldaView::ZoomOut();
    QCOMPARE(IldaView::m_zoomFactor, orthographic ? IldaView::ZoomStepBack : 1.0);
    QCOMPARE(IldaView::m_zoomFactorPerspective, perspective ? IldaView::ZoomStepBack : 1.0);
}

void TestViews::rotationRemainder_data()
{
    QTest::addColumn<QPointF>("start"); // rotateX, rotateY
    QTest::addColumn<QPointF>("step");  // a menu move
    QTest::addColumn<QPointF>("angles");
    QTest::newRow("up past 360") << QPointF(359.5, 0) << QPointF(0, -1) << QPointF(0.5, 0);
    QTest::newRow("right past -360") << QPointF(0, -359.5) << QPointF(1, 0) << QPointF(0, -0.5);
    QTest::newRow("left") << QPointF(0, 10) << QPointF(-1, 0) << QPointF(0, 11);
    QTest::newRow("negative kept") << QPointF(0, 0) << QPointF(1, 1) << QPointF(-1, -1);
}

void TestViews::rotationRemainder()
{
    QFETCH(QPointF, start);
    QFETCH(QPointF, step);
    QFETCH(QPointF, angles);
    IldaView::m_activeView = IldaView::Perspective;
    IldaView::m_rotateX = float(start.x());
    IldaView::m_rotateY = float(start.y());
    IldaView::MoveOrRotate(float(step.x()), float(step.y()));
    QCOMPARE(IldaView::m_rotateX, float(angles.x()));
    QCOMPARE(IldaView::m_rotateY, float(angles.y()));
    QCOMPARE(pan(), (QVector<float>{0, 0, 0}));
    // The matrix follows the angles.
    QVERIFY(qAbs(IldaView::m_transformMatrix[0] - std::cos(float(angles.y()) * 0.017453292f)) <
            1e-6f);
}

void TestViews::reset_data()
{
    QTest::addColumn<uint>("active");
    QTest::addColumn<bool>("all");
    QTest::addColumn<bool>("orthographicReset");
    QTest::addColumn<bool>("perspectiveReset");
    QTest::newRow("menu, front") << 0u << false << true << false;
    QTest::newRow("menu, top") << 2u << false << true << false;
    QTest::newRow("menu, perspective") << 3u << false << false << true;
    QTest::newRow("menu, no view") << 8u << false << false << false;
    QTest::newRow("open file") << 3u << true << true << true;
}

void TestViews::reset()
{
    QFETCH(uint, active);
    QFETCH(bool, all);
    QFETCH(bool, orthographicReset);
    QFETCH(bool, perspectiveReset);
    IldaView::m_zoomFactor = 3.0;
    setOffsets(1, 2, 3);
    IldaView::m_zoomFactorPerspective = 4.0;
    IldaView::m_rotateX = 30.0f;
    IldaView::m_rotateY = -40.0f;
    IldaView::setupTransformMatrix();
    IldaView::m_activeView = active;
    IldaView::Reset(all);
    QCOMPARE(IldaView::m_zoomFactor, orthographicReset ? 1.0 : 3.0);
    QCOMPARE(pan(), (orthographicReset ? QVector<float>{0, 0, 0} : QVector<float>{1, 2, 3}));
    QCOMPARE(IldaView::m_zoomFactorPerspective, perspectiveReset ? 1.0 : 4.0);
    QCOMPARE(IldaView::m_rotateX, perspectiveReset ? 0.0f : 30.0f);
    QCOMPARE(IldaView::m_rotateY, perspectiveReset ? 0.0f : -40.0f);
    QCOMPARE(IldaView::m_transformMatrix[0] == 1.0f && IldaView::m_transformMatrix[5] == 0.0f,
             perspectiveReset);
}

QTEST_MAIN(TestViews)
#include "tst_views.moc"
