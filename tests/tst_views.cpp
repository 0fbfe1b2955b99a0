// The views' pictures and projections, and the shared view state's static operations.
#include "ViewTestFrames.h"

#include "model/IldaFrames.h"
#include "views/IldaViewFront.h"
#include "views/IldaViewPerspective.h"
#include "views/IldaViewSide.h"
#include "views/IldaViewTop.h"
#include "views/MacColors.h"

#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>
#include <memory>

using namespace ViewTestFrames;

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

QColor at(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// Screen x of a model x in a 400 x 300 Front view at zoom 1: S = 295, mx = 52.
int screenX400(int x)
{
    return int(((qint64(x) + 32768) * 295 + 32768) / 65536) + 52;
}

} // namespace

class TestViews : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void identity();
    void identity_data();

    void mapping();
    void mapping_data();
    void dotIsOutline();
    void litLineTakesEndPointColour();
    void blankedLinesOnlyWhenShown();
    void litLinesOverBlankedLines();
    void dotRules();
    void dotRules_data();
    void activeBorder();
    void inactiveBorder();
    void emptyFrame();
    void farPointIsClipped();
    void perspectiveIgnoresPan();
    void hugePanSaturates();

    void orthographicProjection();
    void orthographicProjection_data();
    void offsets();
    void offsets_data();
    void perspectiveProjection();
    void perspectiveProjection_data();
    void transformMatrix();
    void transformMatrix_data();
    void newPerspectiveKeepsRotation();

    void zoomLimits();
    void zoomLimits_data();
    void zoomAboutPoint();
    void zoomPerspectiveIsClamped();
    void zoomPerspectiveIsClamped_data();
    void zoomInOutFollowActiveView();
    void zoomInOutFollowActiveView_data();
    void move();
    void move_data();
    void rotationRemainder();
    void rotationRemainder_data();
    void rotateOnlyPerspective();
    void reset();
    void reset_data();

    void drawAxis();
    void drawAxis_data();
    void accentFallback();

private:
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

void TestViews::identity_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("label");
    QTest::newRow("front") << 0 << "Front";
    QTest::newRow("side") << 1 << "Side";
    QTest::newRow("top") << 2 << "Top";
    QTest::newRow("perspective") << 3 << "Perspective";
}

void TestViews::identity()
{
    QFETCH(int, index);
    QFETCH(QString, label);
    const auto view = createView(index);
    QCOMPARE(view->getViewIndex(), index);
    QCOMPARE(view->getLabel(), label);
    // The subclasses translate in the base class's context.
    QCOMPARE(view->metaObject()->className(), "IldaView");
    QVERIFY(!view->parentWidget());
    QVERIFY(!view->hasMouseTracking());
}

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

// A 400 x 300 view at zoom 1: s = 300, mx = 52, my = 2, S = 295. A lit point's dot is centred
// on its screen position.
void TestViews::mapping()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, sx);
    QFETCH(int, sy);
    QVERIFY(load(m_dir.path(), {{lit(x, y, 0, 255, 0, 0)}}).isEmpty());
    IldaViewFront view;
    const QImage image = paint(view, QSize(400, 300));

    QCOMPARE(at(image, sx, sy), Black);
    QCOMPARE(at(image, sx - 1, sy), Red);
    QCOMPARE(at(image, sx + 1, sy), Red);
    QCOMPARE(at(image, sx - 2, sy), Black);
    QCOMPARE(at(image, sx + 2, sy), Black);
    // Rows 0, 1, 298 and 299 belong to the frame.
    if (sy - 1 >= 2)
        QCOMPARE(at(image, sx, sy - 1), Red);
    if (sy + 1 <= 297)
        QCOMPARE(at(image, sx, sy + 1), Red);
    if (sy - 2 >= 2)
        QCOMPARE(at(image, sx, sy - 2), Black);
    if (sy + 2 <= 297)
        QCOMPARE(at(image, sx, sy + 2), Black);
}

void TestViews::dotIsOutline()
{
    QVERIFY(load(m_dir.path(), {{lit(0, 0, 0, 10, 200, 30)}}).isEmpty());
    IldaViewFront view;
    const QImage image = paint(view, QSize(400, 300));
    const QColor colour(10, 200, 30);
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const bool ring = qMax(qAbs(dx), qAbs(dy)) == 1;
            QCOMPARE(at(image, 200 + dx, 150 + dy), ring ? colour : Black);
        }
    }
}

void TestViews::litLineTakesEndPointColour()
{
    globalIldaFrames.setShowDots(false);
    QVERIFY(load(m_dir.path(), {{lit(-10000, 0, 0, 0, 255, 0), lit(10000, 0, 0, 255, 0, 0)}})
                .isEmpty());
    IldaViewFront view;
    const QImage image = paint(view, QSize(400, 300));
    QCOMPARE(at(image, screenX400(-10000) + 1, 150), Red);
    QCOMPARE(at(image, 200, 150), Red);
    QCOMPARE(at(image, 200, 149), Black);
    QCOMPARE(at(image, 200, 151), Black);
}

void TestViews::blankedLinesOnlyWhenShown()
{
    globalIldaFrames.setShowDots(false);
    QVERIFY(load(m_dir.path(), {{lit(-10000, 0, 0, 0, 255, 0), blanked(10000, 0)}}).isEmpty());
    IldaViewFront view;
    QCOMPARE(at(paint(view, QSize(400, 300)), 200, 150), Black);
    globalIldaFrames.setShowBlankedLines(true);
    QCOMPARE(at(paint(view, QSize(400, 300)), 200, 150), Grey);
}

void TestViews::litLinesOverBlankedLines()
{
    globalIldaFrames.setShowDots(false);
    globalIldaFrames.setShowBlankedLines(true);
    QVERIFY(load(m_dir.path(),
                 {{lit(-10000, 0, 0, 255, 0, 0), blanked(10000, 0), lit(-10000, 0, 0, 0, 0, 255)}})
                .isEmpty());
    IldaViewFront view;
    QCOMPARE(at(paint(view, QSize(400, 300)), 200, 150), Blue);
}

void TestViews::dotRules_data()
{
    // Points lie on y = 0 at x = -20000, -10000, 0, 10000, 20000; "L" lit, "B" blanked. The
    // expected dot colour per point: "-" none, "o" grey, else the colour letter.
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("colours");
    QTest::addColumn<bool>("showBlanked");
    QTest::addColumn<QString>("dots");

    QTest::newRow("one lit point") << "L"
                                   << "r" << false << "r";
    QTest::newRow("one blanked point, blanked hidden") << "B"
                                                       << "-" << false << "-";
    QTest::newRow("one blanked point, blanked shown") << "B"
                                                      << "-" << true << "o";
    QTest::newRow("blanked run, blanked hidden") << "LBBBL"
                                                 << "r---b" << false << "r--bb";
    QTest::newRow("blanked run, blanked shown") << "LBBBL"
                                                << "r---b" << true << "roobb";
    QTest::newRow("blanked start") << "BL"
                                   << "-b" << false << "bb";
    QTest::newRow("blanked last point, hidden") << "LB"
                                                << "r-" << false << "r-";
    QTest::newRow("blanked last point, shown") << "LB"
                                               << "r-" << true << "ro";
    QTest::newRow("lit points keep their colours") << "LLL"
                                                   << "rgb" << false << "rgb";
}

void TestViews::dotRules()
{
    QFETCH(QString, pattern);
    QFETCH(QString, colours);
    QFETCH(bool, showBlanked);
    QFETCH(QString, dots);

    auto colourOf = [](QChar letter) {
        switch (letter.toLatin1()) {
        case 'r':
            return Red;
        case 'g':
            return Green;
        case 'b':
            return Blue;
        default:
            return Black;
        }
    };
    Points points;
    for (int i = 0; i < pattern.size(); ++i) {
        const int x = -20000 + 10000 * i;
        const QColor c = colourOf(colours[i]);
        points << (pattern[i] == QLatin1Char('B') ? blanked(x, 0)
                                                  : lit(x, 0, 0, c.red(), c.green(), c.blue()));
    }
    QVERIFY(load(m_dir.path(), {points}).isEmpty());
    globalIldaFrames.setShowBlankedLines(showBlanked);
    IldaViewFront view;
    const QImage image = paint(view, QSize(400, 300));

    for (int i = 0; i < dots.size(); ++i) {
        // The dot's top-left pixel: lines along y = 0 never touch it.
        const int sx = screenX400(-20000 + 10000 * i);
        const QColor expected = dots[i] == QLatin1Char('o')   ? Grey
                                : dots[i] == QLatin1Char('-') ? Black
                                                              : colourOf(dots[i]);
        QCOMPARE(at(image, sx - 1, 149), expected);
        QCOMPARE(at(image, sx + 1, 151), expected);
    }
}

void TestViews::activeBorder()
{
    IldaViewSide view;
    IldaView::m_activeView = IldaView::Side;
    const QImage image = paint(view, QSize(400, 300));
    for (const QPoint& p : {QPoint(0, 0), QPoint(1, 1), QPoint(399, 299), QPoint(398, 298),
                            QPoint(200, 0), QPoint(0, 150), QPoint(398, 150), QPoint(200, 299)})
        QCOMPARE(at(image, p.x(), p.y()), Accent);
    QCOMPARE(at(image, 2, 2), Black);
    QCOMPARE(at(image, 397, 297), Black);
}

void TestViews::inactiveBorder()
{
    IldaViewSide view;
    QPalette palette = view.palette();
    palette.setColor(QPalette::Window, QColor(200, 100, 50));
    view.setPalette(palette);
    IldaView::m_activeView = IldaView::Front;
    // The window colour with its HSV value divided by 1.25.
    const QColor darkened(160, 80, 40);
    const QImage image = paint(view, QSize(400, 300));
    for (const QPoint& p : {QPoint(0, 0), QPoint(1, 1), QPoint(399, 299), QPoint(398, 298)})
        QCOMPARE(at(image, p.x(), p.y()), darkened);
    QCOMPARE(at(image, 2, 2), Black);

    // A value that names no view leaves every view inactive.
    IldaView::m_activeView = 7;
    QCOMPARE(at(paint(view, QSize(400, 300)), 0, 0), darkened);
}

void TestViews::emptyFrame()
{
    QVERIFY(load(m_dir.path(), {}).isEmpty());
    QCOMPARE(globalIldaFrames.getNumberOfFrames(), 0);
    IldaViewTop view;
    IldaView::m_activeView = IldaView::Top;
    const QImage image = paint(view, QSize(300, 200));

    // The label's baseline is at y 15; its descenders reach a few rows below.
    const QRect labelArea(4, 2, 80, 22);
    int labelPixels = 0;
    for (int y = 2; y < 198; ++y) {
        for (int x = 2; x < 298; ++x) {
            const QColor c = at(image, x, y);
            if (c == Black)
                continue;
            QVERIFY2(labelArea.contains(x, y),
                     qPrintable(QStringLiteral("stray pixel at %1,%2").arg(x).arg(y)));
            // The label is dark grey, blended into black at its edges.
            QVERIFY(c.red() == c.green() && c.green() == c.blue() && c.red() <= 128);
            ++labelPixels;
        }
    }
    QVERIFY(labelPixels > 0);
    QCOMPARE(at(image, 0, 0), Accent);
}

// A 2000 x 2000 view at zoom 100 maps x = 32767 to screen x 100746.
void TestViews::farPointIsClipped()
{
    globalIldaFrames.setShowDots(false);
    QVERIFY(load(m_dir.path(), {{lit(0, 0, 0, 255, 0, 0), lit(32767, 0, 0, 255, 0, 0)}}).isEmpty());
    IldaView::m_zoomFactor = 100.0;
    IldaViewFront view;
    IldaView::m_activeView = IldaView::Side;
    const QImage image = paint(view, QSize(2000, 2000));
    QCOMPARE(at(image, 1000, 1000), Red);
    QCOMPARE(at(image, 1997, 1000), Red);
    QCOMPARE(at(image, 999, 1000), Black);
    QCOMPARE(at(image, 1500, 999), Black);
}

void TestViews::perspectiveIgnoresPan()
{
    QVERIFY(load(m_dir.path(),
                 {{lit(-5000, 3000, 2000, 255, 0, 0), lit(8000, -4000, -6000, 0, 255, 0)}})
                .isEmpty());
    IldaViewPerspective view;
    const QImage before = paint(view, QSize(300, 300));
    IldaView::m_offsetX = 40.0f;
    IldaView::m_offsetY = -25.0f;
    IldaView::m_offsetZ = 13.0f;
    QCOMPARE(paint(view, QSize(300, 300)), before);
    // ...while the orthographic views follow it.
    IldaViewFront front;
    const QImage panned = paint(front, QSize(300, 300));
    IldaView::Reset(true);
    QVERIFY(paint(front, QSize(300, 300)) != panned);
}

// Pan offsets grow with every zoom step; far beyond the int range a position saturates instead
// of overflowing, and the picture simply leaves the view.
void TestViews::hugePanSaturates()
{
    IldaViewFront view;
    IldaView::m_offsetX = 3e9f;
    IldaView::m_offsetY = -3e9f;
    int x = 10;
    int y = 10;
    view.applyOffset(x, y);
    QCOMPARE(x, std::numeric_limits<int>::max());
    QCOMPARE(y, std::numeric_limits<int>::min());

    QVERIFY(load(m_dir.path(), {{lit(0, 0, 0, 255, 0, 0), lit(100, 100, 0, 255, 0, 0)}}).isEmpty());
    const QImage image = paint(view, QSize(200, 200));
    for (int py = 20; py < 198; ++py)
        for (int px = 2; px < 198; ++px)
            QCOMPARE(at(image, px, py), Black);
}

void TestViews::orthographicProjection_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QVector<int>>("point");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");

    const QVector<int> p{1000, 2000, 3000};
    QTest::newRow("front zoom 2") << 0 << 2.0 << p << 2000 << 4000;
    QTest::newRow("side zoom 2") << 1 << 2.0 << p << -6000 << 4000;
    QTest::newRow("top zoom 2") << 2 << 2.0 << p << 2000 << -6000;
    // Truncation toward zero.
    QTest::newRow("front -1.5") << 0 << 0.5 << QVector<int>{-3, 3, 0} << -1 << 1;
    QTest::newRow("side -1.5") << 1 << 0.5 << QVector<int>{0, -3, 3} << -1 << -1;
    QTest::newRow("top 1.5") << 2 << 0.5 << QVector<int>{3, 0, -3} << 1 << 1;
    // z = -32768 negated as an integer, not wrapped to 16 bits.
    QTest::newRow("side lowest z") << 1 << 1.0 << QVector<int>{0, 0, -32768} << 32768 << 0;
    QTest::newRow("top lowest z") << 2 << 1.0 << QVector<int>{0, 0, -32768} << 0 << 32768;
    QTest::newRow("front zoom 100")
        << 0 << 100.0 << QVector<int>{32767, -32768, 0} << 3276700 << -3276800;
}

void TestViews::orthographicProjection()
{
    QFETCH(int, index);
    QFETCH(double, zoom);
    QFETCH(QVector<int>, point);
    QFETCH(int, x);
    QFETCH(int, y);
    IldaView::m_zoomFactor = zoom;
    IldaView::m_zoomFactorPerspective = 3.0; // not theirs
    const auto view = createView(index);
    int vx = 0;
    int vy = 0;
    view->getXY(lit(point[0], point[1], point[2], 0, 0, 0), vx, vy);
    QCOMPARE(vx, x);
    QCOMPARE(vy, y);
}

void TestViews::offsets_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QVector<float>>("offset"); // x, y, z
    QTest::addColumn<QPoint>("screen");
    QTest::addColumn<QPoint>("expected");

    QTest::newRow("front x -0.5") << 0 << QVector<float>{-0.5f, 0, 0} << QPoint(10, 10)
                                  << QPoint(9, 10);
    QTest::newRow("front y") << 0 << QVector<float>{0, 2.75f, 99} << QPoint(10, 10)
                             << QPoint(10, 12);
    QTest::newRow("front toward zero")
        << 0 << QVector<float>{0.5f, 0.5f, 0} << QPoint(-10, -3) << QPoint(-9, -2);
    QTest::newRow("side x from z")
        << 1 << QVector<float>{99, 3, -0.5f} << QPoint(10, 10) << QPoint(9, 13);
    QTest::newRow("top y minus z")
        << 2 << QVector<float>{1, 99, 0.5f} << QPoint(10, 10) << QPoint(11, 9);
    QTest::newRow("top y minus negative z")
        << 2 << QVector<float>{0, 0, -0.5f} << QPoint(10, 10) << QPoint(10, 10);
    QTest::newRow("perspective has no pan")
        << 3 << QVector<float>{5, 6, 7} << QPoint(10, 10) << QPoint(10, 10);
}

void TestViews::offsets()
{
    QFETCH(int, index);
    QFETCH(QVector<float>, offset);
    QFETCH(QPoint, screen);
    QFETCH(QPoint, expected);
    IldaView::m_offsetX = offset[0];
    IldaView::m_offsetY = offset[1];
    IldaView::m_offsetZ = offset[2];
    const auto view = createView(index);
    int x = screen.x();
    int y = screen.y();
    view->applyOffset(x, y);
    QCOMPARE(QPoint(x, y), expected);
}

void TestViews::perspectiveProjection_data()
{
    QTest::addColumn<QVector<int>>("point");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");

    QTest::newRow("depth 0") << QVector<int>{32767, 0, 0} << 1.0 << 13762 << 0;
    QTest::newRow("near") << QVector<int>{10000, 0, 32767} << 1.0 << 6999 << 0;
    QTest::newRow("far") << QVector<int>{10000, 0, -32768} << 1.0 << 2999 << 0;
    QTest::newRow("y up") << QVector<int>{0, 32767, 0} << 1.0 << 0 << 13762;
    QTest::newRow("negative truncates toward zero")
        << QVector<int>{-32767, -10, 0} << 1.0 << -13762 << -4;
    QTest::newRow("zoom 2") << QVector<int>{32767, 0, 0} << 2.0 << 27524 << 0;
}

void TestViews::perspectiveProjection()
{
    QFETCH(QVector<int>, point);
    QFETCH(double, zoom);
    QFETCH(int, x);
    QFETCH(int, y);
    IldaViewPerspective view;
    IldaView::m_zoomFactorPerspective = zoom;
    IldaView::m_zoomFactor = 5.0; // not its zoom
    int vx = 0;
    int vy = 0;
    view.getXY(lit(point[0], point[1], point[2], 0, 0, 0), vx, vy);
    QCOMPARE(vx, x);
    QCOMPARE(vy, y);
}

void TestViews::transformMatrix_data()
{
    QTest::addColumn<float>("rotateX");
    QTest::addColumn<float>("rotateY");
    QTest::addColumn<QVector<float>>("matrix");

    QTest::newRow("identity") << 0.0f << 0.0f << QVector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1};
    QTest::newRow("about y") << 0.0f << 90.0f << QVector<float>{0, 0, 1, 0, 1, 0, -1, 0, 0};
    QTest::newRow("about x") << 90.0f << 0.0f << QVector<float>{1, 0, 0, 0, 0, -1, 0, 1, 0};
    // Y first, then X.
    QTest::newRow("both") << 90.0f << 90.0f << QVector<float>{0, 0, 1, 1, 0, 0, 0, 1, 0};
    QTest::newRow("negative") << 0.0f << -90.0f << QVector<float>{0, 0, -1, 0, 1, 0, 1, 0, 0};
}

void TestViews::transformMatrix()
{
    QFETCH(float, rotateX);
    QFETCH(float, rotateY);
    QFETCH(QVector<float>, matrix);
    IldaView::m_rotateX = rotateX;
    IldaView::m_rotateY = rotateY;
    IldaView::setupTransformMatrix();
    for (int i = 0; i < 9; ++i)
        QVERIFY2(qAbs(IldaView::m_transformMatrix[i] - matrix[i]) < 1e-6f,
                 qPrintable(QStringLiteral("m%1 = %2").arg(i).arg(IldaView::m_transformMatrix[i])));

    IldaViewPerspective view;
    float x;
    float y;
    float z;
    view.applyTransformMatrix(1.0f, 2.0f, 3.0f, x, y, z);
    QVERIFY(qAbs(x - (matrix[0] + 2 * matrix[1] + 3 * matrix[2])) < 1e-5f);
    QVERIFY(qAbs(y - (matrix[3] + 2 * matrix[4] + 3 * matrix[5])) < 1e-5f);
    QVERIFY(qAbs(z - (matrix[6] + 2 * matrix[7] + 3 * matrix[8])) < 1e-5f);
}

void TestViews::newPerspectiveKeepsRotation()
{
    IldaView::m_rotateY = 90.0f;
    std::fill(IldaView::m_transformMatrix, IldaView::m_transformMatrix + 9, 0.0f);
    IldaViewPerspective view;
    QVERIFY(qAbs(IldaView::m_transformMatrix[2] - 1.0f) < 1e-6f);
    QVERIFY(qAbs(IldaView::m_transformMatrix[6] + 1.0f) < 1e-6f);
    QCOMPARE(IldaView::m_rotateY, 90.0f);
}

void TestViews::zoomLimits_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<double>("offsetFactor");

    QTest::newRow("plain in") << 1.0 << 1.41 << 1.41 << 1.41;
    QTest::newRow("plain out") << 1.0 << IldaView::ZoomStepBack << IldaView::ZoomStepBack
                               << IldaView::ZoomStepBack;
    QTest::newRow("cut at 100") << 80.0 << 1.41 << 100.0 << 1.25;
    QTest::newRow("stays at 100") << 100.0 << 1.41 << 100.0 << 1.0;
    QTest::newRow("cut at 0.01") << 0.012 << IldaView::ZoomStepBack << 0.01 << 0.01 / 0.012;
    QTest::newRow("stays at 0.01") << 0.01 << IldaView::ZoomStepBack << 0.01 << 1.0;
    QTest::newRow("factor 1 at the limit") << 100.0 << 1.0 << 100.0 << 1.0;
}

void TestViews::zoomLimits()
{
    QFETCH(double, start);
    QFETCH(double, factor);
    QFETCH(double, zoom);
    QFETCH(double, offsetFactor);
    IldaView::m_zoomFactor = start;
    IldaView::m_offsetX = 4.0f;
    IldaView::m_offsetY = -8.0f;
    IldaView::m_offsetZ = 2.5f;
    IldaView::Zoom(factor, 0, 0, 0);
    QCOMPARE(IldaView::m_zoomFactor, zoom);
    QVERIFY(IldaView::m_zoomFactor >= 0.01 && IldaView::m_zoomFactor <= 100.0);
    QCOMPARE(IldaView::m_offsetX, float(4.0 * offsetFactor));
    QCOMPARE(IldaView::m_offsetY, float(-8.0 * offsetFactor));
    QCOMPARE(IldaView::m_offsetZ, float(2.5 * offsetFactor));
    QCOMPARE(IldaView::m_zoomFactorPerspective, 1.0);
}

// The offset-space point at the centre stays where it is.
void TestViews::zoomAboutPoint()
{
    IldaView::Zoom(2.0, 10, -20, 30);
    QCOMPARE(IldaView::m_offsetX, -10.0f);
    QCOMPARE(IldaView::m_offsetY, 20.0f);
    QCOMPARE(IldaView::m_offsetZ, -30.0f);
    QCOMPARE(IldaView::m_zoomFactor, 2.0);
    IldaView::Zoom(0.5, 10, -20, 30);
    QCOMPARE(IldaView::m_offsetX, 0.0f);
    QCOMPARE(IldaView::m_offsetY, 0.0f);
    QCOMPARE(IldaView::m_offsetZ, 0.0f);
    QCOMPARE(IldaView::m_zoomFactor, 1.0);
}

void TestViews::zoomPerspectiveIsClamped_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("zoom");
    QTest::newRow("plain") << 2.0 << 1.41 << 2.82;
    QTest::newRow("at 100") << 100.0 << 1.41 << 100.0;
    QTest::newRow("over 100") << 80.0 << 1.41 << 100.0;
    QTest::newRow("under 0.01") << 0.012 << IldaView::ZoomStepBack << 0.01;
}

void TestViews::zoomPerspectiveIsClamped()
{
    QFETCH(double, start);
    QFETCH(double, factor);
    QFETCH(double, zoom);
    IldaView::m_zoomFactorPerspective = start;
    IldaView::m_offsetX = 3.0f;
    IldaView::ZoomPerspective(factor);
    QCOMPARE(IldaView::m_zoomFactorPerspective, zoom);
    QCOMPARE(IldaView::m_offsetX, 3.0f);
    QCOMPARE(IldaView::m_zoomFactor, 1.0);
}

void TestViews::zoomInOutFollowActiveView_data()
{
    QTest::addColumn<uint>("active");
    QTest::addColumn<double>("orthographic");
    QTest::addColumn<double>("perspective");
    QTest::newRow("front") << 0u << 1.41 << 1.0;
    QTest::newRow("side") << 1u << 1.41 << 1.0;
    QTest::newRow("top") << 2u << 1.41 << 1.0;
    QTest::newRow("perspective") << 3u << 1.0 << 1.41;
    QTest::newRow("no view") << 4u << 1.0 << 1.0;
}

void TestViews::zoomInOutFollowActiveView()
{
    QFETCH(uint, active);
    QFETCH(double, orthographic);
    QFETCH(double, perspective);
    IldaView::m_activeView = active;
    IldaView::ZoomIn();
    QCOMPARE(IldaView::m_zoomFactor, orthographic);
    QCOMPARE(IldaView::m_zoomFactorPerspective, perspective);
    IldaView::ZoomOut();
    QCOMPARE(IldaView::m_zoomFactor, 1.0);
    QCOMPARE(IldaView::m_zoomFactorPerspective, 1.0);
    IldaView::ZoomOut();
    QCOMPARE(IldaView::m_zoomFactor, orthographic == 1.0 ? 1.0 : IldaView::ZoomStepBack);
    QCOMPARE(IldaView::m_zoomFactorPerspective, perspective == 1.0 ? 1.0 : IldaView::ZoomStepBack);
}

void TestViews::move_data()
{
    QTest::addColumn<uint>("active");
    QTest::addColumn<QVector<float>>("offsets");
    QTest::addColumn<float>("rotateY");
    QTest::newRow("front") << 0u << QVector<float>{3, 4, 0} << 0.0f;
    QTest::newRow("side") << 1u << QVector<float>{0, 4, 3} << 0.0f;
    QTest::newRow("top") << 2u << QVector<float>{3, 0, -4} << 0.0f;
    QTest::newRow("perspective") << 3u << QVector<float>{0, 0, 0} << -3.0f;
    QTest::newRow("no view") << 9u << QVector<float>{0, 0, 0} << 0.0f;
}

// Move pans only an orthographic view; MoveOrRotate turns the perspective instead.
void TestViews::move()
{
    QFETCH(uint, active);
    QFETCH(QVector<float>, offsets);
    QFETCH(float, rotateY);
    IldaView::m_activeView = active;
    IldaView::Move(3.0f, 4.0f);
    QCOMPARE(IldaView::m_offsetX, offsets[0]);
    QCOMPARE(IldaView::m_offsetY, offsets[1]);
    QCOMPARE(IldaView::m_offsetZ, offsets[2]);
    QCOMPARE(IldaView::m_rotateY, 0.0f);

    IldaView::Reset(true);
    IldaView::MoveOrRotate(3.0f, 4.0f);
    QCOMPARE(IldaView::m_offsetX, offsets[0]);
    QCOMPARE(IldaView::m_offsetY, offsets[1]);
    QCOMPARE(IldaView::m_offsetZ, offsets[2]);
    QCOMPARE(IldaView::m_rotateY, rotateY);
    QCOMPARE(IldaView::m_rotateX, rotateY == 0.0f ? 0.0f : -4.0f);
}

void TestViews::rotationRemainder_data()
{
    QTest::addColumn<float>("startX");
    QTest::addColumn<float>("startY");
    QTest::addColumn<QPointF>("step");
    QTest::addColumn<float>("rotateX");
    QTest::addColumn<float>("rotateY");
    QTest::newRow("up past 360") << 359.5f << 0.0f << QPointF(0, -1) << 0.5f << 0.0f;
    QTest::newRow("right past -360") << 0.0f << -359.5f << QPointF(1, 0) << 0.0f << -0.5f;
    QTest::newRow("down past -360") << -359.5f << 0.0f << QPointF(0, 1) << -0.5f << 0.0f;
    QTest::newRow("left") << 0.0f << 10.0f << QPointF(-1, 0) << 0.0f << 11.0f;
    QTest::newRow("negative kept") << 0.0f << 0.0f << QPointF(1, 1) << -1.0f << -1.0f;
}

void TestViews::rotationRemainder()
{
    QFETCH(float, startX);
    QFETCH(float, startY);
    QFETCH(QPointF, step);
    QFETCH(float, rotateX);
    QFETCH(float, rotateY);
    IldaView::m_activeView = IldaView::Perspective;
    IldaView::m_rotateX = startX;
    IldaView::m_rotateY = startY;
    IldaView::MoveOrRotate(float(step.x()), float(step.y()));
    QCOMPARE(IldaView::m_rotateX, rotateX);
    QCOMPARE(IldaView::m_rotateY, rotateY);
    // The matrix follows the angles.
    QVERIFY(qAbs(IldaView::m_transformMatrix[4] - std::cos(rotateX * 0.017453292f)) < 1e-6f);
    QVERIFY(qAbs(IldaView::m_transformMatrix[0] - std::cos(rotateY * 0.017453292f)) < 1e-6f);
}

void TestViews::rotateOnlyPerspective()
{
    IldaView::m_activeView = IldaView::Top;
    IldaView::Rotate(5.0f, 5.0f);
    QCOMPARE(IldaView::m_rotateX, 0.0f);
    QCOMPARE(IldaView::m_rotateY, 0.0f);
    IldaView::m_activeView = IldaView::Perspective;
    IldaView::Rotate(5.0f, -6.0f);
    QCOMPARE(IldaView::m_rotateX, 6.0f);
    QCOMPARE(IldaView::m_rotateY, -5.0f);
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
    QTest::newRow("open file, front") << 0u << true << true << true;
    QTest::newRow("open file, perspective") << 3u << true << true << true;
}

void TestViews::reset()
{
    QFETCH(uint, active);
    QFETCH(bool, all);
    QFETCH(bool, orthographicReset);
    QFETCH(bool, perspectiveReset);
    IldaView::m_zoomFactor = 3.0;
    IldaView::m_offsetX = 1.0f;
    IldaView::m_offsetY = 2.0f;
    IldaView::m_offsetZ = 3.0f;
    IldaView::m_zoomFactorPerspective = 4.0;
    IldaView::m_rotateX = 30.0f;
    IldaView::m_rotateY = -40.0f;
    IldaView::setupTransformMatrix();
    IldaView::m_activeView = active;

    IldaView::Reset(all);
    QCOMPARE(IldaView::m_zoomFactor, orthographicReset ? 1.0 : 3.0);
    QCOMPARE(IldaView::m_offsetX, orthographicReset ? 0.0f : 1.0f);
    QCOMPARE(IldaView::m_offsetY, orthographicReset ? 0.0f : 2.0f);
    QCOMPARE(IldaView::m_offsetZ, orthographicReset ? 0.0f : 3.0f);
    QCOMPARE(IldaView::m_zoomFactorPerspective, perspectiveReset ? 1.0 : 4.0);
    QCOMPARE(IldaView::m_rotateX, perspectiveReset ? 0.0f : 30.0f);
    QCOMPARE(IldaView::m_rotateY, perspectiveReset ? 0.0f : -40.0f);
    QCOMPARE(IldaView::m_transformMatrix[0] == 1.0f && IldaView::m_transformMatrix[5] == 0.0f,
             perspectiveReset);
    QCOMPARE(IldaView::m_activeView, active);
}

void TestViews::drawAxis_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("horizontal");
    QTest::addColumn<QColor>("vertical");
    QTest::newRow("front") << 0 << Red << Green;
    QTest::newRow("side") << 1 << Blue << Green;
    QTest::newRow("top") << 2 << Red << Blue;
    QTest::newRow("perspective") << 3 << Red << Green;
}

// Not part of the paint sequence, but callable: strokes 18 pixels long from (36, h - 36).
void TestViews::drawAxis()
{
    QFETCH(int, index);
    QFETCH(QColor, horizontal);
    QFETCH(QColor, vertical);
    const auto view = createView(index);
    view->resize(200, 150);
    IldaView::Reset(true); // identity rotation
    QImage image(200, 150, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        view->drawAxis(painter);
    }
    const int b = 150 - 36;
    QCOMPARE(at(image, 45, b), horizontal);
    QCOMPARE(at(image, 53, b), horizontal);
    QCOMPARE(at(image, 56, b), Black);
    QCOMPARE(at(image, 36, b - 9), vertical);
    QCOMPARE(at(image, 36, b - 17), vertical);
    QCOMPARE(at(image, 36, b - 20), Black);
    // The paint sequence draws no indicator.
    QCOMPARE(at(paint(*view, QSize(200, 150)), 45, b), Black);
}

void TestViews::accentFallback()
{
#ifdef Q_OS_MACOS
    QVERIFY(MacColors::accentColor(QColor(1, 2, 3)).isValid());
    QCOMPARE(MacColors::accentColor(QColor(1, 2, 3)).alpha(), 255);
#else
    QCOMPARE(MacColors::accentColor(QColor(1, 2, 3)), QColor(1, 2, 3));
    QCOMPARE(MacColors::accentColor(Accent), Accent);
#endif
    for (const QColor& c :
         {MacColors::accentColor(), MacColors::highlightColor(), MacColors::shadowColor(),
          MacColors::controlColor(), MacColors::controlBackgroundColor()})
        QVERIFY(c.isValid());
}

QTEST_MAIN(TestViews)
#include "tst_views.moc"
