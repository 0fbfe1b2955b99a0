// SPDX-License-Identifier: GPL-3.0-or-later
// The views: their pictures and projections, the shared view state and the mouse and wheel.
#include "TestSupport.h"

#include "views/IldaViewPerspective.h"
#include "views/ViewLayouts.h"

#include <QtTest>

#include <functional>

#include <limits>
#include <memory>
#include <tuple>

using namespace ViewTestFrames;

namespace {

const QColor Black(0, 0, 0);
const QColor Grey(48, 48, 48);
const QColor Red(255, 0, 0);

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

} // namespace

class TestViews : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Points along y = 0 painted by a 400 x 300 Front view (s = 300, mx = 52, my = 2, S = 295).
    QImage paintFront(const Points& points, bool dots, bool showBlanked)
    {
        globalIldaFrames.setShowDots(dots);
        globalIldaFrames.setShowBlankedLines(showBlanked);
        auto front = view(IldaView::Front);
        return load(m_dir.path(), {points}).isEmpty() ? paint(*front, QSize(400, 300)) : QImage();
    }

private slots:
    void init() { setState({0, 1, 1, 0, 0, 0, 0, 0}); }

    // Each view's projection of a point at its own zoom, before the pan, and its pan.
    void projection()
    {
        // clang-format off
        const QVector<std::tuple<int, double, QVector<int>, QPoint>> cases{
            {0, 2.0, {1000, 2000, 3000}, {2000, 4000}}, {1, 2.0, {1000, 2000, 3000}, {-6000, 4000}},
            {2, 2.0, {1000, 2000, 3000}, {2000, -6000}},
            {0, 0.5, {-3, 3, 0}, {-1, 1}}, {1, 0.5, {0, -3, 3}, {-1, -1}}, {2, 0.5, {3, 0, -3}, {1, 1}},
            // z = -32768 negated as an int, not wrapped to 16 bits.
            {1, 1.0, {0, 0, -32768}, {32768, 0}}, {2, 1.0, {0, 0, -32768}, {0, 32768}},
            {0, 100.0, {32767, -32768, 0}, {3276700, -3276800}},
            // Identity rotation: a point at depth 0 is scaled by 34406.4 / 81920.
            {3, 1.0, {32767, 0, 0}, {13762, 0}}, {3, 1.0, {10000, 0, 32767}, {6999, 0}},
            {3, 1.0, {10000, 0, -32768}, {2999, 0}}, {3, 1.0, {-32767, -10, 0}, {-13762, -4}},
            {3, 2.0, {0, 32767, 0}, {0, 27524}}};
        // clang-format on
        for (const auto& [index, zoom, point, expected] : cases) {
            const bool perspective = index == IldaView::Perspective;
            setState({0, perspective ? 5.0 : zoom, perspective ? zoom : 3.0, 50, 60, 70, 0, 0});
            QPoint projected;
            view(index)->getXY(lit(point[0], point[1], Black, point[2]), projected.rx(),
                               projected.ry());
            QCOMPARE(projected, expected);
        }
        // clang-format off
        const QVector<std::tuple<int, State, QPoint, QPoint>> pans{
            {0, {-0.5, 0, 0}, {10, 10}, {9, 10}}, {0, {0, 2.75, 99}, {10, 10}, {10, 12}},
            {0, {0.5, 0.5, 0}, {-10, -3}, {-9, -2}}, {1, {99, 3, -0.5}, {10, 10}, {9, 13}},
            {2, {1, 99, 0.5}, {10, 10}, {11, 9}}, {3, {5, 6, 7}, {10, 10}, {10, 10}}};
        // clang-format on
        for (auto [index, offset, screen, expected] : pans) {
            setState({0, 1, 1, offset[0], offset[1], offset[2], 0, 0});
            view(index)->applyOffset(screen.rx(), screen.ry());
            QCOMPARE(screen, expected);
        }
        // The point (1, 2, 3) turned by a new perspective view built from the stored angles.
        // clang-format off
        const QVector<std::tuple<float, float, QVector<float>>> turns{{0, 0, {1, 2, 3}},
            {0, 90, {3, 2, -1}}, {90, 0, {1, -3, 2}}, {90, 90, {3, 1, 2}}, {0, -90, {-3, 2, 1}}};
        // clang-format on
        for (const auto& [rotateX, rotateY, t] : turns) {
            IldaView::m_rotateX = rotateX;
            IldaView::m_rotateY = rotateY;
            std::fill(IldaView::m_transformMatrix, IldaView::m_transformMatrix + 9, 0.0f);
            float r[3];
            IldaViewPerspective().applyTransformMatrix(1, 2, 3, r[0], r[1], r[2]);
            QVERIFY(qAbs(r[0] - t[0]) + qAbs(r[1] - t[1]) + qAbs(r[2] - t[2]) < 1e-4f);
        }
        // Points at x = -20000, -10000, 0, 10000, 20000 on y = 0: "r", "g", "b" lit in that colour,
        // "B" blanked. Expected dot per point: "-" none, "o" grey, else its colour letter; without
        // dots, the colour of the line through model (0, 0).
        setState({0, 1, 1, 0, 0, 0, 0, 0});
        const QHash<QChar, QColor> colourOf{
            {'r', Red}, {'g', Qt::green}, {'b', Qt::blue}, {'o', Grey}, {'-', Black}};
        // clang-format off
        const QVector<std::tuple<QString, bool, bool, QString>> pictures{
            {"B", true, false, "-"}, {"B", true, true, "o"}, {"rBBBb", true, false, "r--bb"},
            {"rBBBb", true, true, "roobb"}, {"rB", true, true, "ro"}, {"rgb", true, false, "rgb"},
            {"gr", false, false, "r"},     // a lit line takes its end point's colour
            {"gB", false, false, "-"},     // a blanked line shows only when asked for
            {"gB", false, true, "o"},
            {"rBb", false, true, "b"}};    // lit lines over blanked ones
        // clang-format on
        for (const auto& [points, dots, showBlanked, expected] : pictures) {
            Points frame;
            for (int i = 0; i < points.size(); ++i) {
                const int x = dots ? -20000 + 10000 * i : (i % 2 ? 10000 : -10000);
                frame << (points[i] == 'B' ? blanked(x, 0) : lit(x, 0, colourOf.value(points[i])));
            }
            const QImage image = paintFront(frame, dots, showBlanked);
            // Screen x of the points; lines along y = 0 never touch a dot's corners.
            const int column[5] = {109, 154, 200, 245, 290};
            QString seen;
            for (int i = 0; i < expected.size(); ++i) {
                const QPoint at = dots ? QPoint(column[i] - 1, 149) : QPoint(200, 150);
                seen += colourOf.key(image.pixelColor(at), '?');
                QVERIFY(dots || image.pixelColor(200, 151) == Black);
            }
            QCOMPARE(seen, expected);
        }
    }

    // The frame along a view's edges: two pixels wide, in the accent colour when the view is
    // active, else in the darkened window colour; black inside. "A" frame colour, "." black.
    void edgeFrame()
    {
        for (bool active : {true, false}) {
            IldaView::m_activeView = active ? IldaView::Front : IldaView::Side;
            const auto front = view(IldaView::Front);
            const QImage image = paint(*front, QSize(40, 30));
            const QColor window = front->palette().color(QPalette::Window).darker(125);
            const QRgb edge = active ? qRgb(60, 140, 240) : window.rgb();
            QString seen;
            for (int i = 0; i < 12; ++i) { // from the left, right, top and bottom edge inwards
                const QRgb p = i < 6 ? image.pixel(i < 3 ? i : 42 - i, 25)
                                     : image.pixel(3, i < 9 ? i - 6 : 38 - i);
                seen += p == edge ? 'A' : p == Black.rgb() ? '.' : '?';
            }
            COMPARE_ROW(active ? "active" : "inactive", seen, QStringLiteral("AA.AA.AA.AA."));
        }
    }

    // Events sent to a 400 x 300 view of the given index (-1: none) and static operations, then
    // the whole shared state. Tokens: p press, m move (with the pressed button), r release,
    // d double-click, w wheel at x,y with delta, W wait 260 ms, s resize; I zoom in, O zoom out,
    // Z zoom by a factor about the origin, P zoom the perspective, K move or rotate by dx,dy,
    // R reset (1: all). Flags after the letter: R right, M middle button; a Alt, c Control.
    void operations()
    {
        QVector<std::tuple<const char*, int, State, QString, State>> rows;
        const auto row = [&rows](const char* name, int index, const State& start,
                                 const char* events, const State& expected) {
            rows.append({name, index, start, events, expected});
        };
        const State zero{0, 1, 1, 0, 0, 0, 0, 0};
        const State turned{0, 3, 2, 5, 0, 0, 10, 20};
        const State panned{0, 1, 1, 2, 4, 6, 0, 0};
        const State offset{0, 1, 1, 4, -8, 2.5, 0, 0};
        const State all{0, 3, 4, 1, 2, 3, 30, -40};
        const double out = IldaView::ZoomStepBack;
        const auto with = [](State s, int k, double v) { return s[k] = v, s; };
        // clang-format off
        row("press activates side", 1, zero, "p50,50 r p51,50 r", {1, 1, 1, 0, 0, 0, 0, 0});
        row("right press activates top", 2, zero, "pR50,50 r", {2, 1, 1, 0, 0, 0, 0, 0});
        row("middle press activates perspective", 3, zero, "pM50,50 r", {3, 1, 1, 0, 0, 0, 0, 0});
        row("drag below 5 px", 0, zero, "p100,100 m103,103 r", zero);
        row("drag of exactly 5 px", 0, zero, "p100,100 m104,103 r", {0, 1, 1, 4, 3, 0, 0, 0});
        row("first step carries the whole motion", 0, zero, "p100,100 m102,101 m105,101 r", {0, 1, 1, 5, 1, 0, 0, 0});
        row("later steps follow", 0, zero, "p100,100 m105,100 m106,102 m104,102 r", {0, 1, 1, 4, 2, 0, 0, 0});
        row("back inside the circle", 0, zero, "p100,100 m106,100 m101,100 r", {0, 1, 1, 1, 0, 0, 0, 0});
        // The fine step proves that the first move did not start the drag.
        row("holding still starts a drag, release ends it", 1, zero, "p100,100 m101,100 W ma101,101 r m150,150", {1, 1, 1, 0, 0.125, 0.125, 0, 0});
        row("top pan: down lowers z", 2, zero, "p50,50 m58,58 r", {2, 1, 1, 8, 0, -8, 0, 0});
        row("Alt pans finely", 2, zero, "pa50,50 ma58,58 r", {2, 1, 1, 1, 0, -1, 0, 0});
        row("middle button pans finely", 2, zero, "pM50,50 m58,58 r", {2, 1, 1, 1, 0, -1, 0, 0});
        row("double-click resets front", 0, turned, "p40,40 r d40,40 m60,70 m80,90 r", {0, 1, 2, 0, 0, 0, 10, 20});
        row("double-click resets perspective", 3, turned, "p40,40 r d40,40 m60,70 m80,90 r", {3, 3, 1, 5, 0, 0, 0, 0});
        row("perspective drag: half a degree a pixel", 3, zero, "p100,100 m100,110 m102,110 r", {3, 1, 1, 0, 0, 0, -5, -1});
        row("perspective drag with Alt", 3, zero, "pa100,100 ma100,110 ma102,110 r", {3, 1, 1, 0, 0, 0, -0.625, -0.125});
        for (int index = 0; index < 4; ++index)
            row("wheel without Control", index, panned, "w300,50,120", panned);
        row("Control+wheel at the centre", 0, panned, "wc200,150,120", {0, 1.41, 1, 2.82, 5.64, 8.46, 0, 0});
        // Zoomed about the cursor: offset = cursor + (offset - cursor) * 1.41.
        row("front about the cursor", 0, panned, "wc300,150,120", {0, 1.41, 1, -38.18, 5.64, 8.46, 0, 0});
        row("side about the cursor", 1, panned, "wc300,50,120", {0, 1.41, 1, 2.82, 46.64, -32.54, 0, 0});
        row("top about the cursor", 2, panned, "wc300,50,120", {0, 1.41, 1, -38.18, 5.64, -32.54, 0, 0});
        row("wheel out", 0, panned, "wc200,150,-120", {0, out, 1, 2 * out, 4 * out, 6 * out, 0, 0});
        row("odd width: centre column 200", 0, panned, "s401,300 wc200,150,120", {0, 1.41, 1, 2.82, 5.64, 8.46, 0, 0});
        row("wheel position truncated", 0, panned, "wc250.7,150.9,120", {0, 1.41, 1, -17.68, 5.64, 8.46, 0, 0});
        row("perspective wheel ignores the cursor", 3, panned, "wc300,50,120 wc300,50,120", with(panned, 2, 1.41 * 1.41));
        row("perspective wheel out", 3, panned, "wc300,50,-120", with(panned, 2, out));
        row("zoom scales the pan", -1, offset, "Z1.41", {0, 1.41, 1, 5.64, -11.28, 3.525, 0, 0});
        row("zoom factor cut to land on 100", -1, with(offset, 1, 80), "Z1.41", {0, 100, 1, 5, -10, 3.125, 0, 0});
        row("zoom factor cut to land on 0.01", -1, with(offset, 1, 0.012), "Z0.7092198581560284", {0, 0.01, 1, 4 / 1.2, -8 / 1.2, 2.5 / 1.2, 0, 0});
        row("zoom stays at 0.01", -1, with(offset, 1, 0.01), "Z0.7", with(offset, 1, 0.01));
        row("perspective zoom clamped at 100", -1, with(zero, 2, 80), "P1.41 P0.5", with(zero, 2, 50));
        row("perspective zoom clamped at 0.01", -1, with(zero, 2, 0.012), "P0.7", with(zero, 2, 0.01));
        row("zoom in and out: top", -1, with(zero, 0, 2), "I O O", {2, out, 1, 0, 0, 0, 0, 0});
        row("zoom in and out: perspective", -1, with(zero, 0, 3), "I I O", {3, 1, 1.41, 0, 0, 0, 0, 0});
        row("zoom in and out: no view", -1, with(zero, 0, 4), "I O O", with(zero, 0, 4));
        row("keys pan the side view", -1, with(zero, 0, 1), "K1,2", {1, 1, 1, 0, 2, 1, 0, 0});
        row("keys pan the top view", -1, with(zero, 0, 2), "K1,2", {2, 1, 1, 1, 0, -2, 0, 0});
        row("keys turn up past 360", -1, {3, 1, 1, 0, 0, 0, 359.5, 0}, "K0,-1", {3, 1, 1, 0, 0, 0, 0.5, 0});
        row("keys turn right past -360", -1, {3, 1, 1, 0, 0, 0, 0, -359.5}, "K1,0", {3, 1, 1, 0, 0, 0, 0, -0.5});
        row("keys turn left, negative kept", -1, {3, 1, 1, 0, 0, 0, 0, 10}, "K-1,0 K1,1 K1,1", {3, 1, 1, 0, 0, 0, -2, 9});
        row("reset front", -1, all, "R0", {0, 1, 4, 0, 0, 0, 30, -40});
        row("reset top", -1, with(all, 0, 2), "R0", {2, 1, 4, 0, 0, 0, 30, -40});
        row("reset perspective", -1, with(all, 0, 3), "R0", {3, 3, 1, 1, 2, 3, 0, 0});
        row("reset without a view", -1, with(all, 0, 8), "R0", with(all, 0, 8));
        row("reset all", -1, with(all, 0, 3), "R1", {3, 1, 1, 0, 0, 0, 0, 0});
        // clang-format on
        for (const auto& [name, index, start, events, expected] : rows)
            run(name, index, start, events, expected);
    }

private:
    void run(const char* name, int index, const State& start, const QString& events,
             const State& expected)
    {
        setState(start);
        QWidget parent;
        IldaView* target = ViewLayouts::createView(unsigned(qMax(index, 0)));
        target->setParent(&parent);
        target->resize(400, 300);
        Qt::MouseButton held = Qt::LeftButton;
        for (const QString& token : events.split(' ')) {
            Qt::MouseButton button = Qt::LeftButton;
            Qt::KeyboardModifiers keys;
            int i = 1;
            for (; i < token.size() && token[i].isLetter(); ++i) {
                const char flag = token[i].toLatin1();
                button = flag == 'R' ? Qt::RightButton : flag == 'M' ? Qt::MiddleButton : button;
                keys |= flag == 'a' ? Qt::AltModifier : flag == 'c' ? Qt::ControlModifier : keys;
            }
            const QStringList args = token.mid(i).split(',');
            const auto arg = [&](int k) { return args.value(k).toDouble(); };
            const QPointF at(arg(0), arg(1));
            const QPointF global = target->mapToGlobal(at.toPoint());
            QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, held, keys);
            QMouseEvent twice(QEvent::MouseButtonDblClick, at, global, held, held, keys);
            QWheelEvent wheel(at, global, QPoint(), QPoint(0, int(arg(2))), Qt::NoButton, keys,
                              Qt::NoScrollPhase, false);
            // clang-format off
            const QHash<QChar, std::function<void()>> operations{
                {'p', [&] { QTest::mousePress(target, held = button, keys, at.toPoint()); }},
                {'m', [&] { QApplication::sendEvent(target, &move); }},
                {'r', [&] { QTest::mouseRelease(target, held, keys, at.toPoint()); }},
                {'d', [&] { QApplication::sendEvent(target, &twice); }},
                {'w', [&] { QApplication::sendEvent(target, &wheel); }},
                {'W', [&] { QTest::qWait(260); }},
                {'s', [&] { target->resize(int(arg(0)), int(arg(1))); }},
                {'I', [&] { IldaView::ZoomIn(); }},
                {'O', [&] { IldaView::ZoomOut(); }},
                {'Z', [&] { IldaView::Zoom(arg(0), 0, 0, 0); }},
                {'P', [&] { IldaView::ZoomPerspective(arg(0)); }},
                {'K', [&] { IldaView::MoveOrRotate(float(arg(0)), float(arg(1))); }},
                {'R', [&] { IldaView::Reset(arg(0) != 0); }}};
            // clang-format on
            operations.value(token[0])();
            // Without Control a view leaves the wheel to the window, which steps frames.
            QVERIFY2(token[0] != 'w' || wheel.isAccepted() == (keys == Qt::ControlModifier), name);
        }
        // clang-format off
        const State result{double(IldaView::m_activeView), IldaView::m_zoomFactor,
                           IldaView::m_zoomFactorPerspective, IldaView::m_offsetX,
                           IldaView::m_offsetY, IldaView::m_offsetZ, IldaView::m_rotateX,
                           IldaView::m_rotateY};
        // clang-format on
        for (int k = 0; k < result.size(); ++k)
            QVERIFY2(qAbs(result[k] - expected[k]) < 1e-3,
                     qPrintable(QStringLiteral("%1: %2 is %3").arg(name).arg(k).arg(result[k])));
        // The matrix always follows the angles.
        float matrix[9];
        std::copy(IldaView::m_transformMatrix, IldaView::m_transformMatrix + 9, matrix);
        IldaView::setupTransformMatrix();
        QVERIFY2(std::equal(matrix, matrix + 9, IldaView::m_transformMatrix), name);
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
