// SPDX-License-Identifier: GPL-3.0-or-later
// The main window and its information window: the frame update chain, settings, views, files,
// drops, recent files and boxes.
#include "TestSupport.h"

#include "app/Inspection.h"
#include "app/LumenarApp.h"
#include "app/MainWindow.h"
#include "app/RecentFiles.h"
#include "playback/Player.h"

#include <QAction>
#include <QFileOpenEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMimeData>
#include <QSettings>
#include <QTableView>
#include <QtTest>

#include <functional>

using TestWindow = MainWindow;

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // n one-point frames; with a palette section after frame `paletteAfter` when it is >= 0.
    QString showFile(const QString& name, int n, int paletteAfter = -1)
    {
        IldaBuilder b;
        for (int f = 0; f < n; ++f) {
            b.header(1, "F", "", 1, f, n).point1(f, 0, 0, 0);
            if (f == paletteAfter)
                b.header(2, "P", "", 1).colour(1, 2, 3);
        }
        return writeTestFile(m_dir, name, b.end().bytes());
    }
    static QStringList stored() { return QSettings().value("RecentFiles").toStringList(); }
    // The views on screen, the grid's row by row, then every checked entry: "TPFS Front All
    // Show Dots" is the grid with Front checked.
    static QString views(const TestWindow& w)
    {
        QString text;
        for (IldaView* view : w.centralWidget()->findChildren<IldaView*>())
            text += view->getLabel().at(0);
        if (auto* single = qobject_cast<IldaView*>(w.centralWidget()))
            text = single->getLabel().at(0);
        for (QAction* a : w.findChildren<QAction*>())
            if (a->isChecked() && a != w.getPlayer()->getLoopAction()) // playback has its own test
                text += ' ' + a->text().remove('&');
        return text;
    }
    // A wheel notch as the window system delivers it: to the widget under the cursor, then up
    // its parents while they ignore it (Qt walks up only for the window system's own events).
    static void sendWheel(QWidget* target, int delta, Qt::KeyboardModifiers modifiers = {})
    {
        const QPoint global = target->mapToGlobal(target->rect().center());
        for (QWidget* w = target; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
            QWheelEvent event(w->mapFromGlobal(global), global, QPoint(), QPoint(0, delta),
                              Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
            event.ignore();
            QApplication::sendEvent(w, &event);
            if (event.isAccepted())
                return;
        }
    }
    static int currentRow(const InfoWindow& info) { return info.tableView()->currentIndex().row(); }
    static void chooseRow(InfoWindow& info, int row)
    {
        info.tableView()->setCurrentIndex(info.model()->index(row, 1));
    }
    // Frame, slider, counter, the four frame actions, the information row and the title must
    // all tell the same story.
    // clang-format off
    static QString status(const TestWindow& w)
    {
        const QSlider* s = w.m_statusSlider;
        QString text = QStringLiteral("%1 %2/%3%4 %5 ").arg(globalIldaFrames.getCurrentFrameNumber())
            .arg(s->value()).arg(s->maximum()).arg(s->isEnabled() ? "" : " off", w.m_statusLabel->text());
        for (QAction* a : {w.m_frameFirstAction, w.m_framePreviousAction, w.m_frameNextAction,
                           w.m_frameLastAction})
            text += a->isEnabled() ? '+' : '-';
        const int row = currentRow(w.m_infoWindow);
        return text + QStringLiteral(" row %1 %2").arg(w.m_infoWindow.frameOfRow(row)).arg(w.windowTitle());
    }
    static QString inStep(int frame, int frames, const QString& title)
    {
        return QStringLiteral("%1 %1/%2%3 %4 / %5 %6%6%7%7 row %1 %8 - Lumenar").arg(frame)
            .arg(frames - 1).arg(frames > 1 ? "" : " off").arg(frame + 1).arg(frames)
            .arg(frame > 0 ? "+" : "-", frame < frames - 1 ? "+" : "-", title);
    }
    // clang-format on
    static QString noFile() { return QStringLiteral("0 0/0 off - / - ---- row -1 Lumenar"); }

private slots:
    void init()
    {
        QSettings().clear();
        Probe().load(QString());
        IldaView::m_activeView = IldaView::Front;
    }

    // One window walks the frames every way the user can; after each step the frame, slider,
    // counter, actions and information row agree. A shorter file then starts at its first frame,
    // and an information row without a frame moves nothing.
    void updateChain()
    {
        TestWindow w{showFile("long.ild", 120)};
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QWidget* front = w.centralWidget()->findChildren<IldaView*>().at(2);
        const auto key = [&w](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
            return [&w, key, modifiers] { QTest::keyClick(&w, key, modifiers); };
        };
        const auto wheel = [](QWidget* target, int delta, Qt::KeyboardModifiers modifiers = {}) {
            return [=] { sendWheel(target, delta, modifiers); };
        };
        const auto act = [](QAction* action) { return [action] { action->trigger(); }; };
        // clang-format off
        const QVector<QPair<std::function<void()>, int>> steps{
            {[&] { w.m_statusSlider->setValue(5); }, 5}, {act(w.m_frameFirstAction), 0},
            {key(Qt::Key_Minus), 0}, {act(w.m_frameNextAction), 1}, {key(Qt::Key_Plus), 2},
            {act(w.m_frameLastAction), 119}, {key(Qt::Key_Plus), 119},
            {act(w.m_framePreviousAction), 118}, {key(Qt::Key_Minus), 117},
            {key(Qt::Key_Home, Qt::ControlModifier), 0}, {key(Qt::Key_PageDown), 1},
            {wheel(front, -120), 2}, {wheel(front, 120), 1}, {wheel(w.m_statusSlider, -120), 2},
            {wheel(front, 120, Qt::ControlModifier), 2}, // zooms instead
            {[&] { w.m_statusSlider->triggerAction(QAbstractSlider::SliderPageStepAdd); }, 3},
            {[&] { chooseRow(w.m_infoWindow, 17); }, 17}};
        // clang-format on
        for (int i = 0; i < steps.size(); ++i) {
            steps[i].first();
            COMPARE_ROW(QString::number(i), status(w), inStep(steps[i].second, 120, "long.ild"));
        }
        // Keys and menu entries beside the frame chain: pan and turn, zoom, reset, the information
        // window.
        const auto state = [] {
            return QVector<double>{IldaView::m_zoomFactor, IldaView::m_zoomFactorPerspective,
                                   IldaView::m_offsetX,    IldaView::m_offsetY,
                                   IldaView::m_rotateX,    IldaView::m_rotateY};
        };
        QCOMPARE(IldaView::m_zoomFactor, IldaView::ZoomStep); // Control+wheel zoomed
        IldaView::Reset(true);
        w.m_zoomInAction->trigger();
        for (const char* keys : {"Right", "Down", "Down", "Ctrl+P", "Ctrl+-", "Left", "Up", "Up"})
            QTest::keySequence(&w, QKeySequence(keys));
        QCOMPARE(state(), (QVector<double>{1.41, IldaView::ZoomStepBack, 1, 2, 2, 1}));
        w.m_resetAction->trigger(); // the perspective's state only
        QCOMPARE(state(), (QVector<double>{1.41, 1, 1, 2, 0, 0}));
        QTest::keyClick(&w, Qt::Key_I);
        QVERIFY(w.m_infoWindow.isVisible() && w.m_showInformationAction->isChecked());
        QVERIFY(w.m_infoWindow.close() && !w.m_showInformationAction->isChecked()); // own button
        w.openFile(showFile("short.ild", 10));
        QCOMPARE(status(w), inStep(0, 10, "short.ild"));
        QCOMPARE(state(), (QVector<double>{1, 1, 0, 0, 0, 0})); // opening resets the views
        // Frames 0 and 1, a palette row, frames 2 and 3.
        w.openFile(showFile("palette.ild", 4, 1));
        w.m_frameLastAction->trigger();
        QCOMPARE(currentRow(w.m_infoWindow), 4);
        QSignalSpy spy(&w.m_infoWindow, &InfoWindow::selectionChanged);
        chooseRow(w.m_infoWindow, 2);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 3); // the palette row shows no frame
        QCOMPARE(spy.count(), 0);
        chooseRow(w.m_infoWindow, 3);
        QCOMPARE(status(w), inStep(2, 4, "palette.ild"));
        w.m_framePreviousAction->trigger();
        QCOMPARE(currentRow(w.m_infoWindow), 1);
    }

    // The stored view and options, including odd values; what one window stores, the next
    // starts with.
    void settingsRoundTrip()
    {
        // clang-format off
        const QVector<QPair<QVariantList, QString>> restored{
            {{"Top", false}, "T Top"}, {{"Side", true}, "TPFS Side All"},
            {{"Perspective", false}, "P Perspective"}, {{"top", false}, "F Front"},
            {{QVariant(), QVariant()}, "TPFS Front All"}, {{"Side", "false"}, "S Side"}};
        // clang-format on
        for (const auto& [values, expected] : restored) {
            QSettings().clear();
            for (int k = 0; k < 2; ++k)
                if (values[k].isValid())
                    QSettings().setValue(k ? "ViewAll" : "View", values[k]);
            IldaView::m_activeView = 99; // names no view: the window must choose
            TestWindow w{QString()};
            QCOMPARE(views(w), expected + " Show Dots");
        }
        QSettings().clear();
        {
            TestWindow w{QString()};
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            w.m_viewPerspectiveAction->trigger();
            w.m_viewAllAction->trigger();
            QTest::keyClick(&w, Qt::Key_B, Qt::ControlModifier);
            QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier);
            w.m_inspection->getShowAxesAction()->trigger();
            QCOMPARE(views(w), QStringLiteral("P Show Axes Perspective Show Blanked Lines"));
            w.getPlayer()->setRate(Player::PointsPerSecond, 12, 12000);
            w.getPlayer()->getLoopAction()->setChecked(false);
            w.m_infoWindow.show();
            QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
            QVERIFY(!w.isVisible());
            QVERIFY(!w.m_infoWindow.isVisible()); // nothing keeps the program alive
        }
        globalIldaFrames.setShowBlankedLines(false);
        globalIldaFrames.setShowDots(true);
        IldaView::m_showAxes = false;
        TestWindow next{QString()};
        QCOMPARE(views(next), QStringLiteral("P Show Axes Perspective Show Blanked Lines"));
        QCOMPARE(IldaView::m_showAxes, true);
        QVERIFY(globalIldaFrames.getShowBlankedLines() && !globalIldaFrames.getShowDots());
        QCOMPARE(next.getPlayer()->getMode(), Player::PointsPerSecond);
        QCOMPARE(next.getPlayer()->getPps(), 12000);
        QCOMPARE(next.getPlayer()->isLooping(), false);
    }

    void recentFiles()
    {
        // A longer list written elsewhere shows nine entries and is cut at the next open.
        QStringList paths;
        for (int i = 0; i < 12; ++i)
            paths << QStringLiteral("/nowhere/f%1.ild").arg(i);
        QSettings().setValue("RecentFiles", paths);
        TestWindow w{QString()};
        const auto texts = [&w] {
            QStringList visible;
            for (QAction* a : w.m_recentFiles->getActions())
                visible << (a->isVisible() ? a->text() : QString());
            return visible.join(' ').trimmed();
        };
        QCOMPARE(texts().section(' ', 16), QStringLiteral("&9 f8.ild"));
        const QString first = showFile("R&D.ild", 1);
        for (const char* name : {"0.ild", "a&&b.ild", "100%1.ild"})
            w.openFile(showFile(name, 1));
        for (const QString& path : {first, first, m_dir.filePath("a&&b.ild")})
            w.openFile(path); // reopened: moved to the front, listed once
        QCOMPARE(texts(), QStringLiteral("&1 a&&&&b.ild &2 R&&D.ild &3 100%1.ild &4 0.ild "
                                         "&5 f0.ild &6 f1.ild &7 f2.ild &8 f3.ild &9 f4.ild"));
        QCOMPARE(stored().mid(1, 4) + stored().mid(8),
                 (QStringList{first, m_dir.filePath("100%1.ild"), m_dir.filePath("0.ild"),
                              "/nowhere/f0.ild", "/nowhere/f4.ild"}));
        // An entry opens its file and moves it to the front.
        w.m_recentFiles->getActions()[2]->trigger();
        QCOMPARE(status(w), inStep(0, 1, "100%1.ild"));
        QCOMPARE(stored().first(), m_dir.filePath("100%1.ild"));
        // A failed open shows the box, empties the window and leaves the list alone.
        ModalCloser closer;
        w.m_recentFiles->getActions()[4]->trigger();
        QCOMPARE(closer.seen(), QStringList{"Lumenar: Cannot open '/nowhere/f0.ild'!"});
        QCOMPARE(closer.boxes.value(0).icon, QMessageBox::Critical);
        QCOMPARE(stored().first(), m_dir.filePath("100%1.ild"));
        QCOMPARE(status(w), noFile());
        // Only the first dropped file opens; links and plain text open nothing.
        w.openFile(showFile("seven.ild", 7));
        const QUrl three = QUrl::fromLocalFile(showFile("three.ild", 3));
        const QUrl five = QUrl::fromLocalFile(showFile("five.ild", 5));
        for (const QList<QUrl>& urls :
             {QList<QUrl>{QUrl("https://example.com/a.ild")}, QList<QUrl>(), {three, five, five}}) {
            QMimeData data;
            data.setText("some text");
            data.setUrls(urls);
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&w, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&w, &drop);
        }
        QCOMPARE(status(w), inStep(0, 3, "three.ild"));
        QCOMPARE(stored().mid(0, 3), (QStringList{three.toLocalFile(), m_dir.filePath("seven.ild"),
                                                  m_dir.filePath("100%1.ild")}));
    }

    // The desktop's open-document request (a double-click in Finder) reaches the application.
    void fileOpenEvent()
    {
        QSignalSpy spy(static_cast<LumenarApp*>(qApp), &LumenarApp::openFile);
        QFileOpenEvent open(m_dir.filePath("seven.ild"));
        QApplication::sendEvent(qApp, &open);
        QCOMPARE(spy.value(0).value(0).toString(), m_dir.filePath("seven.ild"));
    }
};

int main(int argc, char** argv)
{
    isolateSettings();
    LumenarApp app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Halcyra"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumenar"));
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
