// The main window: layout and settings, actions and keys, the frame update chain, opening files,
// the information window and the boxes.
#include "IldaBuilder.h"
#include "ModalCloser.h"

#include "app/LumenarApp.h"
#include "app/MainWindow.h"
#include "model/IldaFrames.h"
#include "views/IldaView.h"

#include <QAction>
#include <QFileOpenEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStandardItemModel>
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

private:
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
        if (auto* layout = qobject_cast<QGridLayout*>(w.centralWidget()->layout()))
            for (int cell = 0; cell < 4; ++cell)
                if (auto* view = qobject_cast<IldaView*>(
                        layout->itemAtPosition(cell / 2, cell % 2)->widget()))
                    grid << view->getViewIndex();
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
    static int currentRow(const TestWindow& w)
    {
        return w.m_infoWindow.tableView()->currentIndex().row();
    }
    static void chooseRow(TestWindow& w, int row)
    {
        w.m_infoWindow.tableView()->setCurrentIndex(w.m_infoWindow.model()->index(row, 1));
    }
    // Frame number, slider, counter, actions and information row must all tell the same story.
    static void checkInStep(const TestWindow& w, int frame, int frames)
    {
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), frame);
        QCOMPARE(w.m_statusSlider->value(), frame);
        QCOMPARE(w.m_statusSlider->maximum(), frames - 1);
        QCOMPARE(w.m_statusSlider->isEnabled(), frames > 1);
        QCOMPARE(w.m_statusLabel->text(), QStringLiteral("%1 / %2").arg(frame + 1).arg(frames));
        QCOMPARE(w.m_frameFirstAction->isEnabled(), frame > 0);
        QCOMPARE(w.m_framePreviousAction->isEnabled(), frame > 0);
        QCOMPARE(w.m_frameNextAction->isEnabled(), frame < frames - 1);
        QCOMPARE(w.m_frameLastAction->isEnabled(), frame < frames - 1);
        QCOMPARE(w.m_infoWindow.frameOfRow(currentRow(w)), frame);
    }
    static void checkNoFile(const TestWindow& w)
    {
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumenar"));
        QCOMPARE(w.m_statusLabel->text(), QStringLiteral("- / -"));
        QVERIFY(!w.m_statusSlider->isEnabled());
        QCOMPARE(w.m_statusSlider->value(), 0);
        for (QAction* a : {w.m_frameFirstAction, w.m_framePreviousAction, w.m_frameNextAction,
                           w.m_frameLastAction})
            QVERIFY(!a->isEnabled());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 0);
        QCOMPARE(w.m_infoWindow.model()->rowCount(), 0);
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

private slots:
    void init()
    {
        QSettings().clear();
        InfoWindow scratch;
        globalIldaFrames.loadFile(QString(), scratch);
        IldaView::m_activeView = IldaView::Front;
    }

    void firstRun()
    {
        TestWindow w{QString()};
        QCOMPARE(w.geometry(), QRect(50, 50, 650, 650));
        QCOMPARE(w.minimumSize(), QSize(100, 100));
        QVERIFY(w.isVisible());
        QVERIFY(w.acceptDrops());
        checkNoFile(w);
        QVERIFY(recentTexts(w).isEmpty());
        QCOMPARE(checkedView(w), QStringLiteral("Front"));
        QVERIFY(w.m_viewAllAction->isChecked());
        QVERIFY(!w.m_showBlankedLinesAction->isChecked());
        QVERIFY(!globalIldaFrames.getShowBlankedLines());
        QVERIFY(w.m_showDotsAction->isChecked());
        QVERIFY(globalIldaFrames.getShowDots());
        QVERIFY(!w.m_showInformationAction->isChecked());
        QVERIFY(!w.m_infoWindow.isVisible());
        QCOMPARE(w.m_infoWindow.windowTitle(), QStringLiteral("Information"));

        // Top and Perspective above Front and Side, 3 pixels apart, no outer margin.
        QCOMPARE(shown(w), GridOrder);
        auto* grid = qobject_cast<QGridLayout*>(w.centralWidget()->layout());
        QCOMPARE(grid->spacing(), 3);
        QCOMPARE(grid->contentsMargins(), QMargins());
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
        QTest::newRow("unknown name") << QVariant("Below") << QVariant(true) << 0 << true;
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

    void exitWritesTheLayout()
    {
        TestWindow w{QString()};
        QCOMPARE(w.m_exitAction->shortcut(), QKeySequence("Ctrl+Q"));
        QCOMPARE(w.m_exitAction->shortcutContext(), Qt::ApplicationShortcut);
        w.m_viewPerspectiveAction->trigger();
        w.m_viewAllAction->trigger();
        w.m_infoWindow.show();
        w.m_exitAction->trigger();
        QCOMPARE(w.ended, 1);
        QCOMPARE(QSettings().value("View").toString(), QStringLiteral("Perspective"));
        QCOMPARE(QSettings().value("ViewAll").toBool(), false);
    }

    void chooseViews()
    {
        TestWindow w{QString()};
        // A click makes its view active and checks its entry without rebuilding the views.
        QWidget* central = w.centralWidget();
        IldaView* perspective = viewOf(w, IldaView::Perspective);
        QTest::mouseClick(perspective, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QCOMPARE(checkedView(w), QStringLiteral("Perspective"));
        QCOMPARE(IldaView::m_activeView, unsigned(IldaView::Perspective));
        QCOMPARE(w.centralWidget(), central);
        QCOMPARE(viewOf(w, IldaView::Perspective), perspective);

        w.m_viewSideAction->trigger();
        QCOMPARE(checkedView(w), QStringLiteral("Side"));
        QCOMPARE(IldaView::m_activeView, unsigned(IldaView::Side));
        QCOMPARE(shown(w), GridOrder);
        w.m_viewAllAction->trigger(); // off: the active view alone
        QCOMPARE(shown(w), QVector<int>{IldaView::Side});
        w.m_viewTopAction->trigger();
        QCOMPARE(shown(w), QVector<int>{IldaView::Top});
        w.m_viewAllAction->trigger(); // on again
        QCOMPARE(shown(w), GridOrder);
        QCOMPARE(checkedView(w), QStringLiteral("Top"));
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
            << Step([](TestWindow& w) { chooseRow(w, 17); }) << 5 << 17;
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
        const double zoom = IldaView::m_zoomFactor;
        step(w);
        checkInStep(w, expected, 120);
        if (QByteArray(QTest::currentDataTag()).contains("zooms"))
            QVERIFY(IldaView::m_zoomFactor > zoom);
        else
            QCOMPARE(IldaView::m_zoomFactor, zoom);
    }

    void stepsAcrossFiles()
    {
        TestWindow w{QString()};
        activate(w);
        QTest::keyClick(&w, Qt::Key_Plus);
        QTest::keyClick(&w, Qt::Key_Minus);
        sendWheel(w.m_statusSlider, -120);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 0);
        checkNoFile(w);
        w.openFile(showFile("one.ild", 1));
        checkInStep(w, 0, 1);
        // A shorter file opened far into a longer one starts at its first frame.
        w.openFile(showFile("long.ild", 120));
        w.m_statusSlider->setValue(50);
        w.openFile(showFile("short.ild", 10));
        checkInStep(w, 0, 10);
        QCOMPARE(w.windowTitle(), QStringLiteral("short.ild - Lumenar"));
    }

    void paletteRowsAreNotFrames()
    {
        // Frames 0 and 1, then a palette row, then frames 2 and 3.
        TestWindow w{showFile("palette.ild", 4, 1)};
        QCOMPARE(w.m_infoWindow.model()->rowCount(), 5);
        w.m_frameLastAction->trigger();
        QCOMPARE(currentRow(w), 4);
        chooseRow(w, 2);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 3); // the palette row moves nothing
        chooseRow(w, 3);
        checkInStep(w, 2, 4);
        w.m_framePreviousAction->trigger();
        QCOMPARE(currentRow(w), 1);
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
        QCOMPARE(IldaView::m_offsetX, 1.0f);
        QCOMPARE(IldaView::m_offsetY, 1.0f);
        w.m_viewPerspectiveAction->trigger();
        QTest::keyClick(&w, Qt::Key_Left);
        QTest::keyClick(&w, Qt::Key_Up);
        QCOMPARE(IldaView::m_rotateY, 1.0f);
        QCOMPARE(IldaView::m_rotateX, 1.0f);
        w.m_resetAction->trigger(); // the perspective's state only
        QCOMPARE(IldaView::m_rotateY, 0.0f);
        QCOMPARE(IldaView::m_offsetX, 1.0f);
        w.openFile(showFile("v2.ild", 2)); // opening resets everything
        QCOMPARE(IldaView::m_offsetX, 0.0f);
    }

    void recentFiles()
    {
        TestWindow w{QString()};
        QStringList paths;
        for (int i = 0; i < 10; ++i)
            paths << showFile(QStringLiteral("show%1.ild").arg(i), 1);
        w.openFile(paths[0]);
        w.openFile(paths[0]);
        QCOMPARE(storedRecent(), QStringList{paths[0]});
        QStringList newestFirst;
        for (int i = 1; i < 10; ++i) {
            w.openFile(paths[i]);
            newestFirst.prepend(paths[i]);
        }
        QCOMPARE(storedRecent(), newestFirst); // the oldest fell off
        QCOMPARE(recentTexts(w).size(), 9);
        QCOMPARE(recentTexts(w).first(), QStringLiteral("&1 show9.ild"));

        // Entry 3 opens that file and moves it to the front.
        w.m_recentFileActions[2]->trigger();
        newestFirst.move(2, 0);
        QCOMPARE(storedRecent(), newestFirst);
        QCOMPARE(w.windowTitle(), QStringLiteral("show7.ild - Lumenar"));

        // A failed open shows the box, empties the window and leaves the list alone.
        QFile::remove(paths[5]);
        ModalCloser closer;
        w.m_recentFileActions[newestFirst.indexOf(paths[5])]->trigger();
        QCOMPARE(closer.seen(), QStringList{cannotOpen(paths[5])});
        QCOMPARE(storedRecent(), newestFirst);
        checkNoFile(w);
    }

    void recentFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("ampersand") << "R&D.ild" << QStringLiteral("&1 R&&D.ild");
        QTest::newRow("two ampersands") << "a&&b.ild" << QStringLiteral("&1 a&&&&b.ild");
        QTest::newRow("percent signs") << "100%1.ild" << QStringLiteral("&1 100%1.ild");
    }

    void recentFileNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        TestWindow w{showFile(name, 1)};
        QCOMPARE(recentTexts(w), QStringList{text});
        QCOMPARE(w.m_recentFileActions[0]->data().toString(), m_dir.filePath(name));
    }

    void storedListsAreRead()
    {
        // A longer list written elsewhere shows nine entries and is cut at the next open.
        QStringList many;
        for (int i = 0; i < 12; ++i)
            many << QStringLiteral("/nowhere/f%1.ild").arg(i);
        QSettings().setValue("RecentFiles", many);
        TestWindow w{QString()};
        QCOMPARE(recentTexts(w).size(), 9);
        QCOMPARE(recentTexts(w).last(), QStringLiteral("&9 f8.ild"));
        w.openFile(showFile("new.ild", 1));
        QCOMPARE(storedRecent(), QStringList{m_dir.filePath("new.ild")} + many.mid(0, 8));
    }

    void drops_data()
    {
        QTest::addColumn<QStringList>("dropped"); // files of the test folder, or links
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("frames");
        QTest::newRow("one file") << QStringList{"three.ild"} << QString() << 3;
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
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&w, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &drop);
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), frames);
    }

    void displayOptions()
    {
        TestWindow w{QString()};
        activate(w);
        for (bool shown : {true, false}) {
            QTest::keyClick(&w, Qt::Key_B, Qt::ControlModifier);
            QCOMPARE(globalIldaFrames.getShowBlankedLines(), shown);
            QCOMPARE(w.m_showBlankedLinesAction->isChecked(), shown);
            QCOMPARE(QSettings().value("ShowBlankedLines").toBool(), shown);
        }
        QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(!globalIldaFrames.getShowDots());
        QVERIFY(!w.m_showDotsAction->isChecked());
        QCOMPARE(QSettings().value("ShowDots").toBool(), false);

        // The next window starts with what was stored.
        globalIldaFrames.setShowDots(true);
        TestWindow next{QString()};
        QVERIFY(!next.m_showDotsAction->isChecked());
        QVERIFY(!globalIldaFrames.getShowDots());
    }

    void informationWindow()
    {
        TestWindow w{showFile("info.ild", 3)};
        activate(w);
        w.m_frameNextAction->trigger();
        QTest::keyClick(&w, Qt::Key_I);
        QVERIFY(w.m_infoWindow.isVisible());
        QVERIFY(w.m_showInformationAction->isChecked());
        QCOMPARE(currentRow(w), 1);

        // Its own close button unchecks the menu entry.
        QVERIFY(w.m_infoWindow.close());
        QVERIFY(!w.m_showInformationAction->isChecked());

        // The menu entry shows and hides it.
        w.m_showInformationAction->trigger();
        QVERIFY(w.m_infoWindow.isVisible());
        w.m_showInformationAction->trigger();
        QVERIFY(!w.m_infoWindow.isVisible());
        QVERIFY(!w.m_showInformationAction->isChecked());

        // "I" brings a minimized window back; it never hides it.
        w.m_showInformationAction->trigger();
        w.m_infoWindow.showMinimized();
        QTRY_VERIFY(w.m_infoWindow.isMinimized());
        activate(w);
        QTest::keyClick(&w, Qt::Key_I);
        QVERIFY(!w.m_infoWindow.isMinimized());
        QTest::keyClick(&w, Qt::Key_I);
        QVERIFY(w.m_infoWindow.isVisible());
        QVERIFY(w.m_showInformationAction->isChecked());
    }

    void aboutBox()
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
        QVERIFY(box.text.contains("Lumenar"));
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("<p>Based on Qt (\\S+) \\((\\w+) (\\d+)\\.(\\d+)"
                                              "(?: \\(Apple\\))?, (\\d+) bit\\)</p>"))
                .match(box.text);
        QVERIFY2(match.hasMatch(), qPrintable(box.text));
        QCOMPARE(match.captured(1), QString::fromLatin1(qVersion()));
        QCOMPARE(match.captured(5).toInt(), int(sizeof(void*) * 8));
#if defined(__GNUC__) && !defined(__clang__)
        QCOMPARE(match.captured(2), QStringLiteral("GCC"));
        QCOMPARE(match.captured(3).toInt(), __GNUC__);
#endif
    }

    void fullScreenKeys()
    {
        TestWindow w{QString()};
        activate(w);
        const QVector<QPair<const char*, bool>> presses{{"Esc", false},
                                                        {"Alt+Return", true},
                                                        {"Alt+Return", false},
                                                        {"Alt+Enter", true},
                                                        {"Esc", false}};
        for (const auto& [keys, fullScreen] : presses) {
            QTest::keySequence(&w, QKeySequence(keys));
            QVERIFY2(w.isFullScreen() == fullScreen, keys);
        }
    }

    void menus()
    {
        TestWindow w{QString()};
        QStringList titles;
        for (QAction* menu : w.menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"&File", "&View", "&Frame", "&Options", "&Help"}));
        QStringList texts;
        for (QAction* a : w.menuBar()->actions().at(1)->menu()->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, (QStringList{"Zoom &In", "Zoom &Out", "&Reset", "-", "&Front", "&Side",
                                     "&Top", "&Perspective", "-", "&All"}));
        QCOMPARE(w.m_zoomInAction->shortcut(), QKeySequence("Ctrl++"));
        QCOMPARE(w.m_frameFirstAction->shortcut(),
                 QKeySequence(QKeySequence::MoveToStartOfDocument));
        QCOMPARE(w.m_statusSlider->focusPolicy(), Qt::NoFocus);
    }

    void desktopOpenRequest()
    {
        auto* app = qobject_cast<LumenarApp*>(QCoreApplication::instance());
        QVERIFY(app);
        TestWindow w{showFile("first.ild", 2)};
        connect(app, &LumenarApp::openFile, &w, &MainWindow::openFile);
        QSignalSpy spy(app, &LumenarApp::openFile);
        const QString second = showFile("second.ild", 5);
        QFileOpenEvent request(second);
        QCoreApplication::sendEvent(app, &request);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toString(), second);
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 5);
        QCOMPARE(w.windowTitle(), QStringLiteral("second.ild - Lumenar"));
        QCOMPARE(storedRecent().first(), second);
        QFileOpenEvent empty{QString()}; // an empty path changes nothing
        QCoreApplication::sendEvent(app, &empty);
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 5);
    }

    void missingCommandLineFile()
    {
        ModalCloser closer;
        const QString missing = m_dir.filePath("gone.ild");
        TestWindow w{missing};
        QCOMPARE(closer.seen(), QStringList{cannotOpen(missing)});
        checkNoFile(w);
        QVERIFY(storedRecent().isEmpty());
        w.openFile(QString()); // ignored
        QCOMPARE(closer.boxes.size(), 1);
    }
};

int main(int argc, char** argv)
{
    // Settings go to a scratch place, never the user's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QStandardPaths::setTestModeEnabled(true);
    LumenarApp app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Halcyra"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumenar"));
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
