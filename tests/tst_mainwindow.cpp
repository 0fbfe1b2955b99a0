// The main window and its information window: settings, views, the frame update chain, files,
// drops, recent files and boxes.
#include "TestSupport.h"

#include "app/LumenarApp.h"
#include "app/MainWindow.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QFileOpenEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QTableView>
#include <QtTest>

#include <functional>

// Stays alive where the real window ends the process.
class TestWindow : public MainWindow
{
public:
    using MainWindow::MainWindow;
    int ended = 0;

protected:
    void endProcess() override { ++ended; }
};

using Step = std::function<void(TestWindow&)>;
Q_DECLARE_METATYPE(Step)

const QVector<int> GridOrder{IldaView::Top, IldaView::Perspective, IldaView::Front, IldaView::Side};

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
    static QString cannotOpen(const QString& path)
    {
        return QStringLiteral("Lumenar: Cannot open '%1'!").arg(path);
    }
    static QStringList recentTexts(const TestWindow& w)
    {
        QStringList texts;
        for (QAction* a : w.m_recentFileActions)
            if (a->isVisible())
                texts << a->text();
        return texts;
    }
    static QStringList storedRecent() { return QSettings().value("RecentFiles").toStringList(); }
    // The views on screen by their index: the one view alone, or the grid's four row by row.
    static QVector<int> shown(const TestWindow& w)
    {
        if (auto* single = qobject_cast<IldaView*>(w.centralWidget()))
            return {single->getViewIndex()};
        QVector<int> grid;
        auto* layout = qobject_cast<QGridLayout*>(w.centralWidget()->layout());
        for (int cell = 0; layout && cell < 4; ++cell)
            grid << qobject_cast<IldaView*>(layout->itemAtPosition(cell / 2, cell % 2)->widget())
                        ->getViewIndex();
        return grid;
    }
    static IldaView* viewOf(const TestWindow& w, int index)
    {
        for (IldaView* v : w.centralWidget()->findChildren<IldaView*>())
            if (v->getViewIndex() == index)
                return v;
        return nullptr;
    }
    static QString checkedView(const TestWindow& w)
    {
        QStringList checked;
        for (QAction* a : {w.m_viewFrontAction, w.m_viewSideAction, w.m_viewTopAction,
                           w.m_viewPerspectiveAction})
            if (a->isChecked())
                checked << a->text().remove('&');
        return checked.join(',');
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
    static void activate(QWidget& w)
    {
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    static int currentRow(const InfoWindow& info) { return info.tableView()->currentIndex().row(); }
    static void chooseRow(InfoWindow& info, int row)
    {
        info.tableView()->setCurrentIndex(info.model()->index(row, 1));
    }
    // Frame number, slider, counter, actions and information row must all tell the same story;
    // no frames: "- / -".
    static void checkInStep(const TestWindow& w, int frame, int frames)
    {
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), frame);
        QCOMPARE(w.m_statusSlider->value(), frame);
        QCOMPARE(w.m_statusSlider->maximum(), qMax(frames - 1, 0));
        QCOMPARE(w.m_statusSlider->isEnabled(), frames > 1);
        QCOMPARE(w.m_statusLabel->text(),
                 frames ? QStringLiteral("%1 / %2").arg(frame + 1).arg(frames) : "- / -");
        QCOMPARE(w.m_frameFirstAction->isEnabled(), frame > 0);
        QCOMPARE(w.m_framePreviousAction->isEnabled(), frame > 0);
        QCOMPARE(w.m_frameNextAction->isEnabled(), frame < frames - 1);
        QCOMPARE(w.m_frameLastAction->isEnabled(), frame < frames - 1);
        QCOMPARE(w.m_infoWindow.frameOfRow(currentRow(w.m_infoWindow)), frames ? frame : -1);
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), frames);
        if (!frames)
            QCOMPARE(w.windowTitle(), QStringLiteral("Lumenar"));
    }
    static Step trigger(QAction* MainWindow::*action)
    {
        return [action](TestWindow& w) { (w.*action)->trigger(); };
    }
    static Step key(Qt::Key key)
    {
        return [key](TestWindow& w) { QTest::keyClick(&w, key); };
    }
    static Step wheelOverFront(int delta, Qt::KeyboardModifiers modifiers = {})
    {
        return [=](TestWindow& w) { sendWheel(viewOf(w, IldaView::Front), delta, modifiers); };
    }
    // Rows N0, N1, ...; the rows listed in `palettes` show no frame.
    static void fill(InfoWindow& info, int rows, const QVector<int>& palettes = {})
    {
        for (int r = 0; r < rows; ++r)
            info.AppendInfo("F", QStringLiteral("N%1").arg(r), "C", ushort(r), "0",
                            !palettes.contains(r));
    }
    static void click(InfoWindow& info, int row)
    {
        QTest::mouseClick(info.tableView()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          info.tableView()->visualRect(info.model()->index(row, 1)).center());
    }

private slots:
    void init()
    {
        QSettings().clear();
        Probe().load(QString());
        IldaView::m_activeView = IldaView::Front;
    }

    void firstRun()
    {
        TestWindow w{QString()};
        checkInStep(w, 0, 0);
        QVERIFY(w.acceptDrops());
        QVERIFY(recentTexts(w).isEmpty());
        QCOMPARE(checkedView(w), QStringLiteral("Front"));
        QCOMPARE(shown(w), GridOrder);
        QVERIFY(w.m_viewAllAction->isChecked());
        QVERIFY(!w.m_showBlankedLinesAction->isChecked() &&
                !globalIldaFrames.getShowBlankedLines());
        QVERIFY(w.m_showDotsAction->isChecked() && globalIldaFrames.getShowDots());
        QVERIFY(!w.m_showInformationAction->isChecked() && !w.m_infoWindow.isVisible());
    }

    void settingsRestored_data()
    {
        QTest::addColumn<QVariant>("view");
        QTest::addColumn<QVariant>("viewAll");
        QTest::addColumn<int>("active");
        QTest::addColumn<bool>("all");
        QTest::newRow("Top alone") << QVariant("Top") << QVariant(false) << 2 << false;
        QTest::newRow("Side in the grid") << QVariant("Side") << QVariant(true) << 1 << true;
        QTest::newRow("Perspective alone")
            << QVariant("Perspective") << QVariant(false) << 3 << false;
        QTest::newRow("letter case differs") << QVariant("top") << QVariant(false) << 0 << false;
        QTest::newRow("absent") << QVariant() << QVariant() << 0 << true;
        QTest::newRow("text false") << QVariant("Side") << QVariant("false") << 1 << false;
    }
    void settingsRestored()
    {
        QFETCH(QVariant, view);
        QFETCH(QVariant, viewAll);
        QFETCH(int, active);
        QFETCH(bool, all);
        if (view.isValid())
            QSettings().setValue("View", view);
        if (viewAll.isValid())
            QSettings().setValue("ViewAll", viewAll);
        IldaView::m_activeView = 99; // names no view: the window must choose
        TestWindow w{QString()};
        QCOMPARE(int(IldaView::m_activeView), active);
        QCOMPARE(checkedView(w), QStringList({"Front", "Side", "Top", "Perspective"}).at(active));
        QCOMPARE(w.m_viewAllAction->isChecked(), all);
        QCOMPARE(shown(w), all ? GridOrder : QVector<int>{active});
    }

    // What one window stores, the next one starts with.
    void settingsRoundTrip()
    {
        {
            TestWindow w{QString()};
            activate(w);
            w.m_viewPerspectiveAction->trigger();
            w.m_viewAllAction->trigger();
            QTest::keyClick(&w, Qt::Key_B, Qt::ControlModifier);
            QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier);
            QVERIFY(globalIldaFrames.getShowBlankedLines() &&
                    w.m_showBlankedLinesAction->isChecked());
            QVERIFY(!globalIldaFrames.getShowDots() && !w.m_showDotsAction->isChecked());
            w.m_infoWindow.show();
            QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
            QCOMPARE(w.ended, 1);
        }
        globalIldaFrames.setShowBlankedLines(false);
        globalIldaFrames.setShowDots(true);
        IldaView::m_activeView = IldaView::Front;
        TestWindow next{QString()};
        QCOMPARE(shown(next), QVector<int>{IldaView::Perspective});
        QVERIFY(next.m_showBlankedLinesAction->isChecked() &&
                globalIldaFrames.getShowBlankedLines());
        QVERIFY(!next.m_showDotsAction->isChecked() && !globalIldaFrames.getShowDots());
        activate(next);
        QTest::keyClick(&next, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(QSettings().value("ShowBlankedLines").toBool(), false);
    }

    void chooseViews()
    {
        TestWindow w{QString()};
        // A click makes its view active and checks its entry without rebuilding the views.
        QWidget* central = w.centralWidget();
        QTest::mouseClick(viewOf(w, IldaView::Perspective), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(checkedView(w), QStringLiteral("Perspective"));
        QCOMPARE(IldaView::m_activeView, unsigned(IldaView::Perspective));
        QCOMPARE(w.centralWidget(), central);
        w.m_viewSideAction->trigger();
        QCOMPARE(checkedView(w), QStringLiteral("Side"));
        QCOMPARE(IldaView::m_activeView, unsigned(IldaView::Side));
        QCOMPARE(shown(w), GridOrder);
        w.m_viewAllAction->trigger(); // off: the active view alone
        QCOMPARE(shown(w), QVector<int>{IldaView::Side});
        w.m_viewTopAction->trigger();
        QCOMPARE(shown(w), QVector<int>{IldaView::Top});
        w.m_viewFrontAction->trigger();
        QCOMPARE(shown(w), QVector<int>{IldaView::Front});
        w.m_viewAllAction->trigger(); // on again
        QCOMPARE(shown(w), GridOrder);
        QCOMPARE(checkedView(w), QStringLiteral("Front"));
    }

    void updateChain_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::newRow("Frame > First") << trigger(&MainWindow::m_frameFirstAction) << 5 << 0;
        QTest::newRow("Frame > Previous") << trigger(&MainWindow::m_framePreviousAction) << 5 << 4;
        QTest::newRow("Frame > Next") << trigger(&MainWindow::m_frameNextAction) << 5 << 6;
        QTest::newRow("Frame > Last") << trigger(&MainWindow::m_frameLastAction) << 5 << 119;
        QTest::newRow("+ key") << key(Qt::Key_Plus) << 5 << 6;
        QTest::newRow("- key") << key(Qt::Key_Minus) << 5 << 4;
        QTest::newRow("- key at the first frame") << key(Qt::Key_Minus) << 0 << 0;
        QTest::newRow("+ key at the last frame") << key(Qt::Key_Plus) << 119 << 119;
        QTest::newRow("Page Down") << key(Qt::Key_PageDown) << 5 << 6;
        QTest::newRow("Ctrl+Home")
            << Step([](TestWindow& w) { QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier); })
            << 5 << 0;
        QTest::newRow("wheel away over a view") << wheelOverFront(120) << 5 << 4;
        QTest::newRow("wheel towards over a view") << wheelOverFront(-120) << 5 << 6;
        QTest::newRow("wheel over the slider")
            << Step([](TestWindow& w) { sendWheel(w.m_statusSlider, 120); }) << 5 << 4;
        QTest::newRow("Control+wheel zooms instead")
            << wheelOverFront(120, Qt::ControlModifier) << 5 << 5;
        QTest::newRow("slider") << Step([](TestWindow& w) { w.m_statusSlider->setValue(42); }) << 5
                                << 42;
        QTest::newRow("slider page step") << Step([](TestWindow& w) {
            w.m_statusSlider->triggerAction(QAbstractSlider::SliderPageStepAdd);
        }) << 5 << 6;
        QTest::newRow("information row")
            << Step([](TestWindow& w) { chooseRow(w.m_infoWindow, 17); }) << 5 << 17;
    }
    void updateChain()
    {
        QFETCH(Step, step);
        QFETCH(int, start);
        QFETCH(int, expected);
        TestWindow w{showFile("long.ild", 120)};
        activate(w);
        w.m_statusSlider->setValue(start);
        checkInStep(w, start, 120);
        step(w);
        checkInStep(w, expected, 120);
        QCOMPARE(IldaView::m_zoomFactor > 1.0,
                 QByteArray(QTest::currentDataTag()).contains("zoom"));
    }

    void stepsAcrossFiles()
    {
        TestWindow w{QString()};
        activate(w);
        QTest::keyClick(&w, Qt::Key_Plus);
        QTest::keyClick(&w, Qt::Key_Minus);
        sendWheel(w.m_statusSlider, -120);
        checkInStep(w, 0, 0);
        w.openFile(showFile("one.ild", 1));
        checkInStep(w, 0, 1);
        // A shorter file opened far into a longer one starts at its first frame.
        w.openFile(showFile("long.ild", 120));
        w.m_statusSlider->setValue(50);
        w.openFile(showFile("short.ild", 10));
        checkInStep(w, 0, 10);
        QCOMPARE(w.windowTitle(), QStringLiteral("short.ild - Lumenar"));
        // Frames 0 and 1, a palette row, frames 2 and 3: the palette row moves nothing.
        w.openFile(showFile("palette.ild", 4, 1));
        w.m_frameLastAction->trigger();
        QCOMPARE(currentRow(w.m_infoWindow), 4);
        chooseRow(w.m_infoWindow, 2);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 3);
        chooseRow(w.m_infoWindow, 3);
        checkInStep(w, 2, 4);
        w.m_framePreviousAction->trigger();
        QCOMPARE(currentRow(w.m_infoWindow), 1);
    }

    void viewCommands()
    {
        TestWindow w{showFile("v.ild", 2)};
        activate(w);
        w.m_zoomInAction->trigger();
        QCOMPARE(IldaView::m_zoomFactor, 1.41);
        w.m_zoomOutAction->trigger();
        QVERIFY(qAbs(IldaView::m_zoomFactor - 1.0) < 1e-12);
        QTest::keyClick(&w, Qt::Key_Right);
        QTest::keyClick(&w, Qt::Key_Down);
        QTest::keyClick(&w, Qt::Key_Down);
        QCOMPARE(IldaView::m_offsetX, 1.0f);
        QCOMPARE(IldaView::m_offsetY, 2.0f);
        w.m_viewPerspectiveAction->trigger();
        QTest::keyClick(&w, Qt::Key_Left);
        QTest::keyClick(&w, Qt::Key_Up);
        QTest::keyClick(&w, Qt::Key_Up);
        QCOMPARE(IldaView::m_rotateY, 1.0f);
        QCOMPARE(IldaView::m_rotateX, 2.0f);
        w.m_resetAction->trigger(); // the perspective's state only
        QCOMPARE(IldaView::m_rotateY, 0.0f);
        QCOMPARE(IldaView::m_offsetX, 1.0f);
        w.openFile(showFile("v2.ild", 2)); // opening resets everything
        QCOMPARE(IldaView::m_offsetX, 0.0f);
    }

    void recentFiles()
    {
        // A longer list written elsewhere shows nine entries and is cut at the next open.
        QStringList paths;
        for (int i = 0; i < 12; ++i)
            paths << QStringLiteral("/nowhere/f%1.ild").arg(i);
        QSettings().setValue("RecentFiles", paths);
        TestWindow w{QString()};
        QCOMPARE(recentTexts(w).size(), 9);
        QCOMPARE(recentTexts(w).last(), QStringLiteral("&9 f8.ild"));
        paths.clear();
        for (const char* name : {"0.ild", "R&D.ild", "a&&b.ild", "100%1.ild"})
            paths.prepend(showFile(name, 1));
        const QStringList opened = paths + QStringList{paths.first(), paths.first()};
        for (const QString& path : opened)
            w.openFile(path); // reopened: moved to the front, listed once
        const QStringList stored = storedRecent();
        QCOMPARE(stored.mid(0, 4), (QStringList{paths[0], paths[3], paths[2], paths[1]}));
        QCOMPARE(stored.mid(4),
                 QStringList({"/nowhere/f0.ild", "/nowhere/f1.ild", "/nowhere/f2.ild",
                              "/nowhere/f3.ild", "/nowhere/f4.ild"}));
        QCOMPARE(recentTexts(w).mid(0, 4),
                 (QStringList{"&1 100%1.ild", "&2 0.ild", "&3 R&&D.ild", "&4 a&&&&b.ild"}));
        // An entry opens its file and moves it to the front.
        w.m_recentFileActions[3]->trigger();
        QCOMPARE(storedRecent().first(), paths[1]);
        QCOMPARE(w.windowTitle(), QStringLiteral("a&&b.ild - Lumenar"));
        // A failed open shows the box, empties the window and leaves the list alone.
        ModalCloser closer;
        w.m_recentFileActions[4]->trigger();
        QCOMPARE(closer.seen(), QStringList{cannotOpen("/nowhere/f0.ild")});
        QCOMPARE(storedRecent().first(), paths[1]);
        checkInStep(w, 0, 0);
    }

    void drops_data()
    {
        QTest::addColumn<QStringList>("dropped"); // files of the test folder, or links
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("frames");
        QTest::newRow("three files: the first opens")
            << QStringList{"three.ild", "five.ild", "five.ild"} << QString() << 3;
        QTest::newRow("web link") << QStringList{"https://example.com/a.ild"} << QString() << 7;
        QTest::newRow("plain text") << QStringList() << "some text" << 7;
    }
    void drops()
    {
        QFETCH(QStringList, dropped);
        QFETCH(QString, text);
        QFETCH(int, frames);
        showFile("three.ild", 3);
        showFile("five.ild", 5);
        TestWindow w{showFile("seven.ild", 7)};
        QList<QUrl> urls;
        for (const QString& name : dropped)
            urls << (name.contains("://") ? QUrl(name) : QUrl::fromLocalFile(m_dir.filePath(name)));
        QMimeData data;
        if (!urls.isEmpty())
            data.setUrls(urls);
        if (!text.isEmpty())
            data.setText(text);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&w, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&w, &drop);
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), frames);
        QCOMPARE(storedRecent().size(), frames == 7 ? 1 : 2);
    }

    void informationWindow()
    {
        TestWindow w{showFile("info.ild", 3)};
        activate(w);
        w.m_frameNextAction->trigger();
        QTest::keyClick(&w, Qt::Key_I);
        QVERIFY(w.m_infoWindow.isVisible() && w.m_showInformationAction->isChecked());
        QCOMPARE(currentRow(w.m_infoWindow), 1);
        // Its own close button unchecks the menu entry; the entry shows and hides it.
        QVERIFY(w.m_infoWindow.close());
        QVERIFY(!w.m_showInformationAction->isChecked());
        w.m_showInformationAction->trigger();
        QVERIFY(w.m_infoWindow.isVisible());
        w.m_showInformationAction->trigger();
        QVERIFY(!w.m_infoWindow.isVisible() && !w.m_showInformationAction->isChecked());
        // "I" brings a minimized window back; it never hides it.
        w.m_showInformationAction->trigger();
        w.m_infoWindow.showMinimized();
        QTRY_VERIFY(w.m_infoWindow.isMinimized());
        activate(w);
        QTest::keyClick(&w, Qt::Key_I);
        QVERIFY(!w.m_infoWindow.isMinimized());
        QTest::keyClick(&w, Qt::Key_I);
        QVERIFY(w.m_infoWindow.isVisible() && w.m_showInformationAction->isChecked());
    }

    void boxesAndKeys()
    {
        TestWindow w{QString()};
        activate(w);
        ModalCloser closer;
        QTest::keyClick(&w, Qt::Key_I, Qt::ControlModifier);
        w.m_aboutAction->trigger();
        QCOMPARE(closer.boxes.size(), 2);
        const ModalCloser::Box box = closer.boxes.first();
        QCOMPARE(box.title, QStringLiteral("About Lumenar"));
        QCOMPARE(box.pixmapSize, QSize(96, 96));
        const QString built = QStringLiteral("<p>Based on Qt %1 (%2, %3 bit)</p>")
                                  .arg(qVersion(), MainWindow::compilerText())
                                  .arg(sizeof(void*) * 8);
        QVERIFY2(box.text.startsWith("<h3>Lumenar</h3>" + built), qPrintable(box.text));
#if defined(__GNUC__) && !defined(__clang__)
        QCOMPARE(MainWindow::compilerText(),
                 QStringLiteral("GCC %1.%2").arg(__GNUC__).arg(__GNUC_MINOR__));
#endif
        activate(w);
        for (const auto& [keys, fullScreen] :
             QVector<QPair<const char*, bool>>{{"Esc", false},
                                               {"Alt+Return", true},
                                               {"Alt+Return", false},
                                               {"Alt+Enter", true},
                                               {"Esc", false}}) {
            QTest::keySequence(&w, QKeySequence(keys));
            QVERIFY2(w.isFullScreen() == fullScreen, keys);
        }
    }

    void openRequests()
    {
        ModalCloser closer;
        const QString missing = m_dir.filePath("gone.ild");
        TestWindow w{missing};
        QCOMPARE(closer.seen(), QStringList{cannotOpen(missing)});
        checkInStep(w, 0, 0);
        QVERIFY(storedRecent().isEmpty());
        w.openFile(QString()); // ignored
        QCOMPARE(closer.boxes.size(), 1);
        // The desktop asks the application to open a file.
        auto* app = qobject_cast<LumenarApp*>(QCoreApplication::instance());
        connect(app, &LumenarApp::openFile, &w, &MainWindow::openFile);
        const QString second = showFile("second.ild", 5);
        QFileOpenEvent request(second);
        QCoreApplication::sendEvent(app, &request);
        checkInStep(w, 0, 5);
        QCOMPARE(w.windowTitle(), QStringLiteral("second.ild - Lumenar"));
        QCOMPARE(storedRecent(), QStringList{second});
        QFileOpenEvent empty{QString()}; // an empty path changes nothing
        QCoreApplication::sendEvent(app, &empty);
        checkInStep(w, 0, 5);
    }

    // The information window alone: its model, rows without frames and the user's choices.
    void infoRows()
    {
        InfoWindow info;
        QAbstractItemModelTester tester(info.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        info.AppendInfo(" fmt ", "name", QString(), 65535, "7");
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << info.model()->index(0, c).data().toString() +
                         info.model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(cells,
                 (QStringList{" fmt Format", "nameName", "Company", "65535Records", "7Projector"}));
        // Frame 0, a palette, frames 1 and 2, another palette, frame 3.
        info.ClearInfo();
        fill(info, 6, {1, 4});
        QCOMPARE(info.frameOfRow(1), -1);
        QCOMPARE(info.frameOfRow(3), 2);
        QCOMPARE(info.rowOfFrame(3), 5);
        QCOMPARE(info.rowOfFrame(4), -1);
        QSignalSpy spy(&info, &InfoWindow::selectionChanged);
        for (const auto& [frame, row] : QVector<QPair<int, int>>{{2, 3}, {-1, 3}, {4, 3}, {0, 0}}) {
            info.setSelection(frame); // silent; a frame that is not there changes nothing
            QCOMPARE(currentRow(info), row);
            QCOMPARE(info.tableView()->selectionModel()->selectedRows().value(0).row(), row);
        }
        QCOMPARE(spy.count(), 0);
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        click(info, 0); // already current
        click(info, 1); // a palette row shows no frame
        click(info, 2);
        info.tableView()->setFocus();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up})
            QTest::keyClick(info.tableView(), key);
        QList<int> reported;
        for (const QList<QVariant>& signal : spy)
            reported << signal.first().toInt();
        QCOMPARE(reported, (QList<int>{1, 2, 3, 2}));
        QTest::mouseDClick(info.tableView()->viewport(), Qt::LeftButton, {},
                           info.tableView()->visualRect(info.model()->index(2, 1)).center());
        QVERIFY(!info.tableView()->viewport()->findChild<QLineEdit*>()); // no editing
        // The close button only hides the window; clearing keeps the headers, reports nothing.
        QSignalSpy closed(&info, &InfoWindow::widgetClosed);
        QVERIFY(info.close());
        QCOMPARE(closed.count(), 1);
        info.ClearInfo();
        QCOMPARE(info.model()->rowCount() + info.rowOfFrame(0), -1);
        QCOMPARE(info.model()->headerData(4, Qt::Horizontal).toString(),
                 QStringLiteral("Projector"));
        QCOMPARE(spy.count(), 4);
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
