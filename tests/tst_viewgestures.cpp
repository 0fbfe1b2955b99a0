// Mouse and wheel gestures of the views: activation, drag threshold, pan, rotation, reset, zoom.
#include "views/IldaViewFront.h"
#include "views/IldaViewPerspective.h"
#include "views/IldaViewSide.h"
#include "views/IldaViewTop.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(Qt::MouseButton)

namespace {

// Counts the wheel events that the views pass on.
class WheelCatcher : public QWidget
{
public:
    int wheels = 0;

protected:
    void wheelEvent(QWheelEvent* event) override
    {
        ++wheels;
        event->accept();
    }
};

IldaView* createView(int index, QWidget* parent)
{
    IldaView* view = nullptr;
    switch (index) {
    case IldaView::Front:
        view = new IldaViewFront;
        break;
    case IldaView::Side:
        view = new IldaViewSide;
        break;
    case IldaView::Top:
        view = new IldaViewTop;
        break;
    default:
        view = new IldaViewPerspective;
        break;
    }
    view->setParent(parent);
    return view;
}

void press(QWidget* view, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mousePress(view, button, modifiers, pos);
}

void release(QWidget* view, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseRelease(view, button, Qt::NoModifier, pos);
}

// QTest::mouseMove cannot carry held buttons, so the event is built here.
void move(QWidget* view, QPoint pos, Qt::MouseButtons buttons = Qt::LeftButton,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(QEvent::MouseMove, pos, view->mapToGlobal(pos), Qt::NoButton, buttons,
                      modifiers);
    QApplication::sendEvent(view, &event);
}

void doubleClick(QWidget* view, QPoint pos)
{
    press(view, pos);
    release(view, pos);
    QMouseEvent event(QEvent::MouseButtonDblClick, pos, view->mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

// Returns whether the event ended accepted. A spontaneous event is delivered as from a real
// wheel, which Qt passes up to the parents while it is ignored (and whose position Qt rounds on
// the way); otherwise the view alone sees the event as built.
bool wheel(QWidget* view, QPointF pos, QPoint angleDelta, Qt::KeyboardModifiers modifiers,
           bool spontaneous = false)
{
    QWheelEvent event(pos, view->mapToGlobal(pos.toPoint()), QPoint(), angleDelta, Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    if (spontaneous) {
        // As QTest does: sendEvent() would clear the flag.
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(view, &event);
    } else {
        QApplication::sendEvent(view, &event);
    }
    return event.isAccepted();
}

QVector<float> offsets()
{
    return {IldaView::m_offsetX, IldaView::m_offsetY, IldaView::m_offsetZ};
}

} // namespace

class TestViewGestures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pressActivates();
    void pressActivates_data();
    void pressInActiveViewChangesNothing();
    void dragThreshold();
    void dragThreshold_data();
    void dragStartsAfterDelay();
    void finePan();
    void finePan_data();
    void releaseEndsDrag();
    void doubleClickResetsOrthographic();
    void doubleClickActivatesAndResetsPerspective();
    void dragAfterDoubleClickDoesNotPan();
    void perspectiveDrag();
    void perspectiveDrag_data();

    void wheel();
    void wheel_data();
    void wheelPerspective();
    void wheelPerspective_data();
    void wheelWithoutControlReachesParent();
    void wheelWithoutControlReachesParent_data();

private:
    std::unique_ptr<QWidget> m_parent;
};

void TestViewGestures::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestViewGestures::init()
{
    IldaView::m_activeView = IldaView::Front;
    IldaView::Reset(true);
    m_parent = std::make_unique<QWidget>();
}

void TestViewGestures::cleanup()
{
    m_parent.reset();
}

void TestViewGestures::pressActivates_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("side, left") << 1 << Qt::LeftButton;
    QTest::newRow("top, right") << 2 << Qt::RightButton;
    QTest::newRow("perspective, middle") << 3 << Qt::MiddleButton;
}

void TestViewGestures::pressActivates()
{
    QFETCH(int, index);
    QFETCH(Qt::MouseButton, button);
    IldaView* view = createView(index, m_parent.get());
    view->resize(200, 200);
    QSignalSpy spy(view, &IldaView::activeViewChanged);
    press(view, QPoint(50, 50), button);
    QCOMPARE(IldaView::m_activeView, uint(index));
    QCOMPARE(spy.count(), 1);
    release(view, QPoint(50, 50), button);
    press(view, QPoint(60, 50), button);
    QCOMPARE(spy.count(), 1);
    release(view, QPoint(60, 50), button);
}

void TestViewGestures::pressInActiveViewChangesNothing()
{
    IldaView* view = createView(IldaView::Front, m_parent.get());
    QSignalSpy spy(view, &IldaView::activeViewChanged);
    press(view, QPoint(10, 10));
    release(view, QPoint(10, 10));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(IldaView::m_activeView, 0u);
    QCOMPARE(offsets(), (QVector<float>{0, 0, 0}));
}

void TestViewGestures::dragThreshold_data()
{
    QTest::addColumn<QVector<QPoint>>("moves");
    QTest::addColumn<QVector<float>>("pan");
    // The press is at (100, 100) in the Front view.
    QTest::newRow("below 5 px") << QVector<QPoint>{{103, 103}} << QVector<float>{0, 0, 0};
    QTest::newRow("exactly 5 px") << QVector<QPoint>{{104, 103}} << QVector<float>{4, 3, 0};
    QTest::newRow("5 px straight up") << QVector<QPoint>{{100, 95}} << QVector<float>{0, -5, 0};
    QTest::newRow("first step carries the whole motion")
        << QVector<QPoint>{{102, 101}, {105, 101}} << QVector<float>{5, 1, 0};
    QTest::newRow("later steps follow")
        << QVector<QPoint>{{105, 100}, {106, 102}, {104, 102}} << QVector<float>{4, 2, 0};
    QTest::newRow("back inside the circle after the start")
        << QVector<QPoint>{{106, 100}, {101, 100}} << QVector<float>{1, 0, 0};
}

void TestViewGestures::dragThreshold()
{
    QFETCH(QVector<QPoint>, moves);
    QFETCH(QVector<float>, pan);
    IldaView* view = createView(IldaView::Front, m_parent.get());
    view->resize(200, 200);
    press(view, QPoint(100, 100));
    for (const QPoint& p : moves)
        move(view, p);
    release(view, moves.last());
    QCOMPARE(offsets(), pan);
}

// Held still for 250 ms, a press then pans by even a single pixel.
void TestViewGestures::dragStartsAfterDelay()
{
    IldaView* view = createView(IldaView::Side, m_parent.get());
    press(view, QPoint(100, 100));
    move(view, QPoint(101, 100));
    QCOMPARE(offsets(), (QVector<float>{0, 0, 0}));
    QTest::qWait(260);
    move(view, QPoint(101, 101));
    QCOMPARE(offsets(), (QVector<float>{0, 1, 1}));
    release(view, QPoint(101, 101));
}

void TestViewGestures::finePan_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<float>("pan");
    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers() << 8.0f;
    QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers() << 8.0f;
    QTest::newRow("left with Alt")
        << Qt::LeftButton << Qt::KeyboardModifiers(Qt::AltModifier) << 1.0f;
    QTest::newRow("middle") << Qt::MiddleButton << Qt::KeyboardModifiers() << 1.0f;
    QTest::newRow("middle with Alt")
        << Qt::MiddleButton << Qt::KeyboardModifiers(Qt::AltModifier) << 1.0f;
}

void TestViewGestures::finePan()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(float, pan);
    // In the Top view a downward drag lowers m_offsetZ.
    IldaView* view = createView(IldaView::Top, m_parent.get());
    press(view, QPoint(50, 50), button, modifiers);
    QCOMPARE(IldaView::m_activeView, uint(IldaView::Top));
    move(view, QPoint(58, 58), button, modifiers);
    release(view, QPoint(58, 58), button);
    QCOMPARE(offsets(), (QVector<float>{pan, 0, -pan}));
}

void TestViewGestures::releaseEndsDrag()
{
    IldaView* view = createView(IldaView::Front, m_parent.get());
    press(view, QPoint(50, 50));
    move(view, QPoint(60, 50));
    release(view, QPoint(60, 50));
    move(view, QPoint(80, 50));
    QCOMPARE(offsets(), (QVector<float>{10, 0, 0}));
}

void TestViewGestures::doubleClickResetsOrthographic()
{
    IldaView* view = createView(IldaView::Front, m_parent.get());
    IldaView::m_zoomFactor = 3.0;
    IldaView::m_offsetX = 5.0f;
    IldaView::m_offsetY = 6.0f;
    IldaView::m_offsetZ = 7.0f;
    IldaView::m_zoomFactorPerspective = 2.0;
    IldaView::m_rotateX = 10.0f;
    doubleClick(view, QPoint(40, 40));
    release(view, QPoint(40, 40));
    QCOMPARE(IldaView::m_zoomFactor, 1.0);
    QCOMPARE(offsets(), (QVector<float>{0, 0, 0}));
    QCOMPARE(IldaView::m_zoomFactorPerspective, 2.0);
    QCOMPARE(IldaView::m_rotateX, 10.0f);
}

// The first press of the double-click activates the view; the reset then is its own.
void TestViewGestures::doubleClickActivatesAndResetsPerspective()
{
    IldaView* view = createView(IldaView::Perspective, m_parent.get());
    IldaView::m_zoomFactor = 3.0;
    IldaView::m_offsetX = 5.0f;
    IldaView::m_zoomFactorPerspective = 2.0;
    IldaView::m_rotateX = 10.0f;
    IldaView::m_rotateY = 20.0f;
    IldaView::setupTransformMatrix();
    QSignalSpy spy(view, &IldaView::activeViewChanged);
    doubleClick(view, QPoint(40, 40));
    release(view, QPoint(40, 40));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(IldaView::m_activeView, uint(IldaView::Perspective));
    QCOMPARE(IldaView::m_zoomFactorPerspective, 1.0);
    QCOMPARE(IldaView::m_rotateX, 0.0f);
    QCOMPARE(IldaView::m_rotateY, 0.0f);
    for (int i = 0; i < 9; ++i)
        QCOMPARE(IldaView::m_transformMatrix[i], i % 4 == 0 ? 1.0f : 0.0f);
    QCOMPARE(IldaView::m_zoomFactor, 3.0);
    QCOMPARE(IldaView::m_offsetX, 5.0f);
}

void TestViewGestures::dragAfterDoubleClickDoesNotPan()
{
    IldaView* view = createView(IldaView::Front, m_parent.get());
    doubleClick(view, QPoint(40, 40));
    move(view, QPoint(60, 70));
    move(view, QPoint(80, 90));
    release(view, QPoint(80, 90));
    QCOMPARE(offsets(), (QVector<float>{0, 0, 0}));
}

void TestViewGestures::perspectiveDrag_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QPoint>("step");
    QTest::addColumn<float>("rotateX");
    QTest::addColumn<float>("rotateY");
    QTest::newRow("right 2 px") << Qt::LeftButton << Qt::KeyboardModifiers() << QPoint(2, 0) << 0.0f
                                << -1.0f;
    QTest::newRow("right 2 px with Alt") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::AltModifier)
                                         << QPoint(2, 0) << 0.0f << -0.125f;
    QTest::newRow("down 2 px with middle")
        << Qt::MiddleButton << Qt::KeyboardModifiers() << QPoint(0, 2) << -0.125f << 0.0f;
    QTest::newRow("up-left") << Qt::LeftButton << Qt::KeyboardModifiers() << QPoint(-4, -6) << 3.0f
                             << 2.0f;
}

// Rotation turns half a degree per pixel once the drag has started; only the steps after the
// start are compared here.
void TestViewGestures::perspectiveDrag()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QPoint, step);
    QFETCH(float, rotateX);
    QFETCH(float, rotateY);
    IldaView* view = createView(IldaView::Perspective, m_parent.get());
    press(view, QPoint(100, 100), button, modifiers);
    move(view, QPoint(100, 110), button, modifiers); // starts the drag: 10 px down
    const float startX = IldaView::m_rotateX;
    QCOMPARE(startX, modifiers || button == Qt::MiddleButton ? -0.625f : -5.0f);
    QCOMPARE(IldaView::m_rotateY, 0.0f);
    move(view, QPoint(100, 110) + step, button, modifiers);
    release(view, QPoint(100, 110) + step, button);
    QCOMPARE(IldaView::m_rotateX - startX, rotateX);
    QCOMPARE(IldaView::m_rotateY, rotateY);
    QVERIFY(qAbs(IldaView::m_transformMatrix[0] - std::cos(rotateY * 0.017453292f)) < 1e-6f);
    // A perspective drag never pans.
    QCOMPARE(offsets(), (QVector<float>{0, 0, 0}));
}

void TestViewGestures::wheel_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPointF>("pos");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<bool>("control");
    QTest::addColumn<double>("startZoom");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QVector<float>>("pan"); // from (2, 4, 6)

    const QSize size(400, 300);
    const QVector<float> start{2, 4, 6};
    const QVector<float> scaled{2.82f, 5.64f, 8.46f};
    QTest::newRow("front without Control")
        << 0 << size << QPointF(300, 50) << QPoint(0, 120) << false << 1.0 << 1.0 << start;
    QTest::newRow("side without Control")
        << 1 << size << QPointF(300, 50) << QPoint(0, -120) << false << 1.0 << 1.0 << start;
    QTest::newRow("top without Control")
        << 2 << size << QPointF(300, 50) << QPoint(0, 120) << false << 1.0 << 1.0 << start;
    QTest::newRow("front at the centre")
        << 0 << size << QPointF(200, 150) << QPoint(0, 120) << true << 1.0 << 1.41 << scaled;
    QTest::newRow("front about the cursor")
        << 0 << size << QPointF(300, 150) << QPoint(0, 120) << true << 1.0 << 1.41
        << QVector<float>{-38.18f, 5.64f, 8.46f};
    QTest::newRow("front zoom out")
        << 0 << size << QPointF(200, 150) << QPoint(0, -120) << true << 1.0
        << IldaView::ZoomStepBack
        << QVector<float>{float(2 * IldaView::ZoomStepBack), float(4 * IldaView::ZoomStepBack),
                          float(6 * IldaView::ZoomStepBack)};
    QTest::newRow("side about the cursor")
        << 1 << size << QPointF(300, 50) << QPoint(0, 120) << true << 1.0 << 1.41
        << QVector<float>{2.82f, 46.64f, -32.54f};
    QTest::newRow("top about the cursor") << 2 << size << QPointF(300, 50) << QPoint(0, 120) << true
                                          << 1.0 << 1.41 << QVector<float>{-38.18f, 5.64f, -32.54f};
    QTest::newRow("odd width: centre column 200")
        << 0 << QSize(401, 300) << QPointF(200, 150) << QPoint(0, 120) << true << 1.0 << 1.41
        << scaled;
    QTest::newRow("position truncated")
        << 0 << size << QPointF(250.7, 150.9) << QPoint(0, 120) << true << 1.0 << 1.41
        << QVector<float>{-17.68f, 5.64f, 8.46f};
    QTest::newRow("horizontal wheel")
        << 0 << size << QPointF(200, 150) << QPoint(120, 0) << true << 1.0 << 1.41 << scaled;
    QTest::newRow("dominant orientation")
        << 0 << size << QPointF(200, 150) << QPoint(-120, 60) << true << 1.0
        << IldaView::ZoomStepBack
        << QVector<float>{float(2 * IldaView::ZoomStepBack), float(4 * IldaView::ZoomStepBack),
                          float(6 * IldaView::ZoomStepBack)};
    QTest::newRow("zero delta") << 0 << size << QPointF(300, 50) << QPoint(0, 0) << true << 1.0
                                << 1.0 << start;
    QTest::newRow("at the limit") << 1 << size << QPointF(300, 50) << QPoint(0, 120) << true
                                  << 100.0 << 100.0 << start;
}

void TestViewGestures::wheel()
{
    QFETCH(int, index);
    QFETCH(QSize, size);
    QFETCH(QPointF, pos);
    QFETCH(QPoint, delta);
    QFETCH(bool, control);
    QFETCH(double, startZoom);
    QFETCH(double, zoom);
    QFETCH(QVector<float>, pan);

    // A view of its own: nothing above it could take an ignored event.
    std::unique_ptr<IldaView> view(createView(index, nullptr));
    view->resize(size);
    IldaView::m_zoomFactor = startZoom;
    IldaView::m_offsetX = 2.0f;
    IldaView::m_offsetY = 4.0f;
    IldaView::m_offsetZ = 6.0f;
    const bool accepted =
        ::wheel(view.get(), pos, delta, control ? Qt::ControlModifier : Qt::NoModifier);
    QCOMPARE(accepted, control);
    QCOMPARE(IldaView::m_zoomFactor, zoom);
    QCOMPARE(offsets(), pan);
    QCOMPARE(IldaView::m_zoomFactorPerspective, 1.0);
    // The wheel does not make the view active.
    QCOMPARE(IldaView::m_activeView, 0u);
}

void TestViewGestures::wheelPerspective_data()
{
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<bool>("control");
    QTest::addColumn<double>("startZoom");
    QTest::addColumn<double>("zoom");
    QTest::newRow("without Control") << QPoint(0, 120) << false << 1.0 << 1.0;
    QTest::newRow("in") << QPoint(0, 120) << true << 1.0 << 1.41;
    QTest::newRow("out") << QPoint(0, -120) << true << 1.0 << IldaView::ZoomStepBack;
    QTest::newRow("zero") << QPoint(0, 0) << true << 1.0 << 1.0;
    QTest::newRow("at 100") << QPoint(0, 120) << true << 100.0 << 100.0;
    QTest::newRow("to 0.01") << QPoint(0, -120) << true << 0.012 << 0.01;
}

void TestViewGestures::wheelPerspective()
{
    QFETCH(QPoint, delta);
    QFETCH(bool, control);
    QFETCH(double, startZoom);
    QFETCH(double, zoom);
    IldaViewPerspective view;
    view.resize(400, 300);
    IldaView::m_zoomFactorPerspective = startZoom;
    IldaView::m_offsetX = 2.0f;
    // The cursor position plays no part.
    const bool accepted =
        ::wheel(&view, QPointF(10, 290), delta, control ? Qt::ControlModifier : Qt::NoModifier);
    QCOMPARE(accepted, control);
    QCOMPARE(IldaView::m_zoomFactorPerspective, zoom);
    QCOMPARE(IldaView::m_zoomFactor, 1.0);
    QCOMPARE(IldaView::m_offsetX, 2.0f);
}

void TestViewGestures::wheelWithoutControlReachesParent_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("front") << 0;
    QTest::newRow("side") << 1;
    QTest::newRow("top") << 2;
    QTest::newRow("perspective") << 3;
}

// The window steps frames with the wheels that the views leave alone.
void TestViewGestures::wheelWithoutControlReachesParent()
{
    QFETCH(int, index);
    WheelCatcher catcher;
    IldaView* view = createView(index, &catcher);
    view->resize(200, 200);
    QVERIFY(::wheel(view, QPointF(100, 100), QPoint(0, -120), Qt::NoModifier, true));
    QCOMPARE(catcher.wheels, 1);
    QVERIFY(::wheel(view, QPointF(100, 100), QPoint(0, -120), Qt::ControlModifier, true));
    QCOMPARE(catcher.wheels, 1);
    QCOMPARE(index == IldaView::Perspective ? IldaView::m_zoomFactorPerspective
                                            : IldaView::m_zoomFactor,
             IldaView::ZoomStepBack);
}

QTEST_MAIN(TestViewGestures)
#include "tst_viewgestures.moc"
