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

// Stands for the main window, which steps frames with the wheel events the views pass on.
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
    }
    view->setParent(parent);
    view->resize(200, 200);
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

// Returns whether the event ended accepted. A spontaneous event travels as from a real wheel,
// up to the parents while it is ignored; otherwise only the view sees it, exactly as built.
bool wheel(QWidget* view, QPointF pos, QPoint angleDelta, Qt::KeyboardModifiers modifiers,
           bool spontaneous = false)
{
    QWheelEvent event(pos, view->mapToGlobal(pos.toPoint()), QPoint(), angleDelta, Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    if (spontaneous) {
        QSpontaneKeyEvent::setSpontaneous(&event); // as QTest does: sendEvent() would clear it
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
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup() { m_parent.reset(); }

    void pressActivates_data();
    void pressActivates();
    void dragThreshold_data();
    void dragThreshold();
    void dragStartsAfterDelayAndEndsOnRelease();
    void finePan_data();
    void finePan();
    void doubleClickResets_data();
    void doubleClickResets();
    void perspectiveDrag_data();
    void perspectiveDrag();
    void wheel_data();
    void wheel();

private:
    std::unique_ptr<QWidget> m_parent;
};

void TestViewGestures::init()
{
    IldaView::m_activeView = IldaView::Front;
    IldaView::Reset(true);
    m_parent = std::make_unique<QWidget>();
}

void TestViewGestures::pressActivates_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("front, already active") << 0 << Qt::LeftButton;
    QTest::newRow("side, left") << 1 << Qt::LeftButton;
    QTest::newRow("top, right") << 2 << Qt::RightButton;
    QTest::newRow("perspective, middle") << 3 << Qt::MiddleButton;
}

void TestViewGestures::pressActivates()
{
    QFETCH(int, index);
    QFETCH(Qt::MouseButton, button);
    IldaView* view = createView(index, m_parent.get());
    QSignalSpy spy(view, &IldaView::activeViewChanged);
    for (int x : {50, 51}) {
        press(view, QPoint(x, 50), button);
        release(view, QPoint(x, 50), button);
    }
    QCOMPARE(IldaView::m_activeView, uint(index));
    QCOMPARE(spy.count(), index == 0 ? 0 : 1);
    QCOMPARE(offsets(), (QVector<float>{0, 0, 0}));
}

void TestViewGestures::dragThreshold_data()
{
    QTest::addColumn<QVector<QPoint>>("moves"); // after a press at (100, 100) in the Front view
    QTest::addColumn<QVector<float>>("pan");
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
    press(view, QPoint(100, 100));
    for (const QPoint& p : moves)
        move(view, p);
    release(view, moves.last());
    QCOMPARE(offsets(), pan);
}

// Held still for 250 ms, a press then pans by even a single pixel, until the release.
void TestViewGestures::dragStartsAfterDelayAndEndsOnRelease()
{
    IldaView* view = createView(IldaView::Side, m_parent.get());
    press(view, QPoint(100, 100));
    move(view, QPoint(101, 100));
    QCOMPARE(offsets(), (QVector<float>{0, 0, 0}));
    QTest::qWait(260);
    move(view, QPoint(101, 101));
    QCOMPARE(offsets(), (QVector<float>{0, 1, 1}));
    release(view, QPoint(101, 101));
    move(view, QPoint(150, 150));
    QCOMPARE(offsets(), (QVector<float>{0, 1, 1}));
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

// An 8-pixel drag down and right in the Top view, where a downward drag lowers m_offsetZ.
void TestViewGestures::finePan()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(float, pan);
    IldaView* view = createView(IldaView::Top, m_parent.get());
    press(view, QPoint(50, 50), button, modifiers);
    move(view, QPoint(58, 58), button, modifiers);
    release(view, QPoint(58, 58), button);
    QCOMPARE(offsets(), (QVector<float>{pan, 0, -pan}));
}

void TestViewGestures::doubleClickResets_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("front") << 0;
    QTest::newRow("perspective, activated by the first press") << 3;
}

// The double-clicked view's kind of state is reset, the other kept; a drag that starts with the
// second click changes nothing.
void TestViewGestures::doubleClickResets()
{
    QFETCH(int, index);
    IldaView* view = createView(index, m_parent.get());
    IldaView::m_zoomFactor = 3.0;
    IldaView::m_offsetX = 5;
    IldaView::m_zoomFactorPerspective = 2.0;
    IldaView::m_rotateX = 10;
    IldaView::m_rotateY = 20;
    IldaView::setupTransformMatrix();
    press(view, QPoint(40, 40));
    release(view, QPoint(40, 40));
    QMouseEvent click(QEvent::MouseButtonDblClick, QPoint(40, 40),
                      view->mapToGlobal(QPoint(40, 40)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(view, &click);
    move(view, QPoint(60, 70));
    move(view, QPoint(80, 90));
    release(view, QPoint(80, 90));

    const bool perspective = index == IldaView::Perspective;
    QCOMPARE(IldaView::m_activeView, uint(index));
    QCOMPARE(IldaView::m_zoomFactor, perspective ? 3.0 : 1.0);
    QCOMPARE(offsets(), (QVector<float>{perspective ? 5.0f : 0.0f, 0, 0}));
    QCOMPARE(IldaView::m_zoomFactorPerspective, perspective ? 1.0 : 2.0);
    QCOMPARE(IldaView::m_rotateX, perspective ? 0.0f : 10.0f);
    QCOMPARE(IldaView::m_rotateY, perspective ? 0.0f : 20.0f);
    QCOMPARE(IldaView::m_transformMatrix[0] == 1.0f, perspective); // identity again
}

void TestViewGestures::perspectiveDrag_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QPoint>("step");
    QTest::addColumn<QPointF>("turn"); // of rotateX, rotateY
    QTest::newRow("right 2 px") << Qt::LeftButton << Qt::KeyboardModifiers() << QPoint(2, 0)
                                << QPointF(0, -1);
    QTest::newRow("right 2 px with Alt") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::AltModifier)
                                         << QPoint(2, 0) << QPointF(0, -0.125);
    QTest::newRow("down 2 px with middle")
        << Qt::MiddleButton << Qt::KeyboardModifiers() << QPoint(0, 2) << QPointF(-0.125, 0);
    QTest::newRow("up-left") << Qt::LeftButton << Qt::KeyboardModifiers() << QPoint(-4, -6)
                             << QPointF(3, 2);
}

// Half a degree per pixel once the drag has started; the step after the start is compared.
void TestViewGestures::perspectiveDrag()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QPoint, step);
    QFETCH(QPointF, turn);
    IldaView* view = createView(IldaView::Perspective, m_parent.get());
    press(view, QPoint(100, 100), button, modifiers);
    move(view, QPoint(100, 110), button, modifiers); // starts the drag: 10 px down
    const float startX = IldaView::m_rotateX;
    QCOMPARE(startX, modifiers || button == Qt::MiddleButton ? -0.625f : -5.0f);
    move(view, QPoint(100, 110) + step, button, modifiers);
    release(view, QPoint(100, 110) + step, button);
    QCOMPARE(IldaView::m_rotateX - startX, float(turn.x()));
    QCOMPARE(IldaView::m_rotateY, float(turn.y()));
    QVERIFY(qAbs(IldaView::m_transformMatrix[0] - std::cos(float(turn.y()) * 0.017453292f)) <
            1e-6f);
    QCOMPARE(offsets(), (QVector<float>{0, 0, 0})); // a perspective drag never pans
}

void TestViewGestures::wheel_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPointF>("pos");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<bool>("control");
    QTest::addColumn<double>("startZoom"); // of the view's kind
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QVector<float>>("pan"); // from (2, 4, 6)

    const QSize size(400, 300);
    const QPointF centre(200, 150);
    const QPointF cursor(300, 50); // (100, -100) from the centre
    const QPoint up(0, 120);
    const QPoint down(0, -120);
    const double in = IldaView::ZoomStep;
    const double out = IldaView::ZoomStepBack;
    const QVector<float> start{2, 4, 6};
    const QVector<float> scaled{2.82f, 5.64f, 8.46f};
    const char* names[] = {"front", "side", "top", "perspective"};
    for (int index = 0; index < 4; ++index)
        QTest::addRow("%s without Control", names[index])
            << index << size << cursor << up << false << 1.0 << 1.0 << start;
    QTest::newRow("front at the centre")
        << 0 << size << centre << up << true << 1.0 << in << scaled;
    // Zoomed about the cursor: offset = centre + (offset - centre) * 1.41.
    QTest::newRow("front about the cursor") << 0 << size << QPointF(300, 150) << up << true << 1.0
                                            << in << QVector<float>{-38.18f, 5.64f, 8.46f};
    QTest::newRow("side about the cursor")
        << 1 << size << cursor << up << true << 1.0 << in << QVector<float>{2.82f, 46.64f, -32.54f};
    QTest::newRow("top about the cursor") << 2 << size << cursor << up << true << 1.0 << in
                                          << QVector<float>{-38.18f, 5.64f, -32.54f};
    QTest::newRow("front out") << 0 << size << centre << down << true << 1.0 << out
                               << QVector<float>{float(2 * out), float(4 * out), float(6 * out)};
    QTest::newRow("odd width: centre column 200")
        << 0 << QSize(401, 300) << centre << up << true << 1.0 << in << scaled;
    QTest::newRow("position truncated") << 0 << size << QPointF(250.7, 150.9) << up << true << 1.0
                                        << in << QVector<float>{-17.68f, 5.64f, 8.46f};
    QTest::newRow("zero delta") << 0 << size << cursor << QPoint(0, 0) << true << 1.0 << 1.0
                                << start;
    QTest::newRow("at the limit") << 1 << size << cursor << up << true << 100.0 << 100.0 << start;
    QTest::newRow("perspective in, cursor ignored")
        << 3 << size << cursor << up << true << 1.0 << in << start;
    QTest::newRow("perspective out") << 3 << size << cursor << down << true << 1.0 << out << start;
    QTest::newRow("perspective at 100")
        << 3 << size << cursor << up << true << 100.0 << 100.0 << start;
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
    const bool perspective = index == IldaView::Perspective;
    double& own = perspective ? IldaView::m_zoomFactorPerspective : IldaView::m_zoomFactor;
    const double& other = perspective ? IldaView::m_zoomFactor : IldaView::m_zoomFactorPerspective;
    own = startZoom;
    IldaView::m_offsetX = 2;
    IldaView::m_offsetY = 4;
    IldaView::m_offsetZ = 6;
    WheelCatcher window;
    IldaView* view = createView(index, &window);
    view->resize(size);
    const Qt::KeyboardModifiers modifiers = control ? Qt::ControlModifier : Qt::NoModifier;
    QCOMPARE(::wheel(view, pos, delta, modifiers), control);
    QCOMPARE(own, zoom);
    QCOMPARE(other, 1.0);
    QCOMPARE(offsets(), pan);
    QCOMPARE(IldaView::m_activeView, 0u); // the wheel does not activate a view
    // As from a real wheel: without Control the window gets it and steps the frame.
    QVERIFY(::wheel(view, pos, delta, modifiers, true));
    QCOMPARE(window.wheels, control ? 0 : 1);
    if (!control)
        QCOMPARE(own, 1.0);
}

QTEST_MAIN(TestViewGestures)
#include "tst_viewgestures.moc"
