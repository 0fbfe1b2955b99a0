#include "IldaBuilder.h"
#include "ModalCloser.h"

#include "app/LumenarApp.h"
#include "app/MainWindow.h"
#include "model/IldaFrames.h"
#include "views/IldaView.h"
#include "views/IldaViewFront.h"
#include "views/IldaViewPerspective.h"
#include "views/IldaViewSide.h"
#include "views/IldaViewTop.h"

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

// Stays alive where the real window ends the process.
class TestWindow : public MainWindow
{
public:
    using MainWindow::MainWindow;
    int ended = 0;

protected:
    void endProcess() override { ++ended; }
};

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    static void emptyStore()
    {
        InfoWindow scratch;
        globalIldaFrames.loadFile(QString(), scratch);
    }

    // n one-point frames; with a palette section after frame `paletteAfter` when it is >= 0.
    QString showFile(const QString& name, int n, int paletteAfter = -1)
    {
        IldaBuilder b;
        for (int f = 0; f < n; ++f) {
            b.header(1, "F", "", 1, f, n).point1(f, 0, 0, 0);
            if (f == paletteAfter)
                b.header(2, "P", "", 1).colour(1, 2, 3);
        }
        b.end();
        return writeTestFile(m_dir, name, b.bytes());
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
    static QList<IldaView*> views(const TestWindow& w)
    {
        if (auto* single = qobject_cast<IldaView*>(w.centralWidget()))
            return {single};
        return w.centralWidget()->findChildren<IldaView*>();
    }
    // The views have no meta-object of their own: tell them apart by their index.
    static IldaView* viewOf(const TestWindow& w, int index)
    {
        for (IldaView* v : views(w))
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
    // Delivers a wheel notch as the window system does: to the widget under the cursor, then up
    // its parents while they ignore it. Qt walks up only for events from the window system, so
    // the walk is done here.
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
    // Frame number, slider, counter, actions and information row must all tell the same story.
    static void checkInStep(const TestWindow& w, int frame, int frames)
    {
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), frame);
        QCOMPARE(w.m_statusSlider->value(), frame);
        QCOMPARE(w.m_statusSlider->maximum(), frames - 1);
        QCOMPARE(w.m_statusLabel->text(), QStringLiteral("%1 / %2").arg(frame + 1).arg(frames));
        QCOMPARE(w.m_frameFirstAction->isEnabled(), frame > 0);
        QCOMPARE(w.m_framePreviousAction->isEnabled(), frame > 0);
        QCOMPARE(w.m_frameNextAction->isEnabled(), frame < frames - 1);
        QCOMPARE(w.m_frameLastAction->isEnabled(), frame < frames - 1);
        const int row = w.m_infoWindow.tableView()->currentIndex().row();
        QCOMPARE(w.m_infoWindow.frameOfRow(row), frame);
    }

private slots:
    void init()
    {
        QSettings().clear();
        emptyStore();
        IldaView::m_activeView = 0;
    }

    void firstRun()
    {
        TestWindow w{QString()};
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumenar"));
        QCOMPARE(w.geometry(), QRect(50, 50, 650, 650));
        QCOMPARE(w.minimumSize(), QSize(100, 100));
        QVERIFY(w.isVisible());
        QVERIFY(!w.m_infoWindow.isVisible());
        QCOMPARE(w.m_infoWindow.windowTitle(), QStringLiteral("Information"));
        QCOMPARE(checkedView(w), QStringLiteral("Front"));
        QVERIFY(w.m_viewAllAction->isChecked());
        QCOMPARE(views(w).size(), 4);
        QVERIFY(!w.m_showBlankedLinesAction->isChecked());
        QVERIFY(!globalIldaFrames.getShowBlankedLines());
        QVERIFY(w.m_showDotsAction->isChecked());
        QVERIFY(globalIldaFrames.getShowDots());
        QVERIFY(!w.m_showInformationAction->isChecked());
        QCOMPARE(w.m_statusLabel->text(), QStringLiteral("- / -"));
        QVERIFY(!w.m_statusSlider->isEnabled());
        QCOMPARE(w.m_statusSlider->value(), 0);
        for (QAction* a : {w.m_frameFirstAction, w.m_framePreviousAction, w.m_frameNextAction,
                           w.m_frameLastAction})
            QVERIFY(!a->isEnabled());
        QVERIFY(recentTexts(w).isEmpty());
        QVERIFY(w.acceptDrops());
    }

    void gridLayout()
    {
        TestWindow w{QString()};
        auto* grid = qobject_cast<QGridLayout*>(w.centralWidget()->layout());
        QVERIFY(grid);
        QCOMPARE(grid->spacing(), 3);
        QCOMPARE(grid->contentsMargins(), QMargins(0, 0, 0, 0));
        QVERIFY(dynamic_cast<IldaViewTop*>(grid->itemAtPosition(0, 0)->widget()));
        QVERIFY(dynamic_cast<IldaViewPerspective*>(grid->itemAtPosition(0, 1)->widget()));
        QVERIFY(dynamic_cast<IldaViewFront*>(grid->itemAtPosition(1, 0)->widget()));
        QVERIFY(dynamic_cast<IldaViewSide*>(grid->itemAtPosition(1, 1)->widget()));
        // Laid out: Top above Front, 3 pixels apart.
        const QRect top = grid->itemAtPosition(0, 0)->widget()->geometry();
        const QRect front = grid->itemAtPosition(1, 0)->widget()->geometry();
        QCOMPARE(front.top() - top.bottom() - 1, 3);
        QCOMPARE(top.left(), 0);
    }

    void settingsRestored_data()
    {
        QTest::addColumn<QVariant>("view");
        QTest::addColumn<QVariant>("viewAll");
        QTest::addColumn<unsigned>("active");
        QTest::addColumn<bool>("all");
        QTest::newRow("Top alone") << QVariant("Top") << QVariant(false) << 2u << false;
        QTest::newRow("Side in the grid") << QVariant("Side") << QVariant(true) << 1u << true;
        QTest::newRow("Perspective alone")
            << QVariant("Perspective") << QVariant(false) << 3u << false;
        QTest::newRow("letter case differs") << QVariant("top") << QVariant(false) << 0u << false;
        QTest::newRow("unknown name") << QVariant("Below") << QVariant(true) << 0u << true;
        QTest::newRow("absent") << QVariant() << QVariant() << 0u << true;
        QTest::newRow("text false") << QVariant("Side") << QVariant("false") << 1u << false;
    }

    void settingsRestored()
    {
        QFETCH(QVariant, view);
        QFETCH(QVariant, viewAll);
        QFETCH(unsigned, active);
        QFETCH(bool, all);
        {
            QSettings settings;
            if (view.isValid())
                settings.setValue("View", view);
            if (viewAll.isValid())
                settings.setValue("ViewAll", viewAll);
        }
        TestWindow w{QString()};
        QCOMPARE(unsigned(IldaView::m_activeView), active);
        const QStringList names{"Front", "Side", "Top", "Perspective"};
        QCOMPARE(checkedView(w), names[int(active)]);
        QCOMPARE(w.m_viewAllAction->isChecked(), all);
        const QList<IldaView*> shown = views(w);
        QCOMPARE(shown.size(), all ? 4 : 1);
        if (!all)
            QCOMPARE(unsigned(shown.first()->getViewIndex()), active);
    }

    void closeWritesTheLayout()
    {
        TestWindow w{QString()};
        w.m_viewPerspectiveAction->trigger();
        w.m_viewAllAction->trigger();
        QVERIFY(!w.m_viewAllAction->isChecked());
        w.m_infoWindow.show();
        QVERIFY(w.close());
        QCOMPARE(w.ended, 1);
        QCOMPARE(QSettings().value("View").toString(), QStringLiteral("Perspective"));
        QCOMPARE(QSettings().value("ViewAll").toBool(), false);

        IldaView::m_activeView = 0;
        TestWindow next{QString()};
        QCOMPARE(checkedView(next), QStringLiteral("Perspective"));
        QVERIFY(dynamic_cast<IldaViewPerspective*>(next.centralWidget()));
    }

    void exitActionCloses()
    {
        TestWindow w{QString()};
        QCOMPARE(w.m_exitAction->shortcut(), QKeySequence("Ctrl+Q"));
        QCOMPARE(w.m_exitAction->shortcutContext(), Qt::ApplicationShortcut);
        w.m_exitAction->trigger();
        QCOMPARE(w.ended, 1);
    }

    void chooseViews()
    {
        TestWindow w{QString()};
        w.m_viewSideAction->trigger();
        QCOMPARE(checkedView(w), QStringLiteral("Side"));
        QCOMPARE(views(w).size(), 4);
        QCOMPARE(unsigned(IldaView::m_activeView), 1u);
        w.m_viewAllAction->trigger(); // off: the active view alone
        QVERIFY(dynamic_cast<IldaViewSide*>(w.centralWidget()));
        w.m_viewTopAction->trigger();
        QVERIFY(dynamic_cast<IldaViewTop*>(w.centralWidget()));
        QCOMPARE(checkedView(w), QStringLiteral("Top"));
        w.m_viewAllAction->trigger(); // on again
        QCOMPARE(views(w).size(), 4);
        QCOMPARE(checkedView(w), QStringLiteral("Top"));
    }

    void clickInAViewChecksItsAction()
    {
        TestWindow w{QString()};
        QWidget* central = w.centralWidget();
        IldaView* perspective = viewOf(w, 3);
        QVERIFY(perspective);
        QTest::mouseClick(perspective, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QCOMPARE(checkedView(w), QStringLiteral("Perspective"));
        QCOMPARE(unsigned(IldaView::m_activeView), 3u);
        QCOMPARE(w.centralWidget(), central); // not rebuilt
        QCOMPARE(viewOf(w, 3), perspective);
    }

    void updateChain_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::newRow("Frame > First") << "first" << 5 << 0;
        QTest::newRow("Frame > Previous") << "previous" << 5 << 4;
        QTest::newRow("Frame > Next") << "next" << 5 << 6;
        QTest::newRow("Frame > Last") << "last" << 5 << 119;
        QTest::newRow("+ key") << "plus" << 5 << 6;
        QTest::newRow("- key") << "minus" << 5 << 4;
        QTest::newRow("- key at the first frame") << "minus" << 0 << 0;
        QTest::newRow("+ key at the last frame") << "plus" << 119 << 119;
        QTest::newRow("Page Down") << "pagedown" << 5 << 6;
        QTest::newRow("wheel away over a view") << "wheel view away" << 5 << 4;
        QTest::newRow("wheel towards over a view") << "wheel view towards" << 5 << 6;
        QTest::newRow("wheel over the slider") << "wheel slider" << 5 << 4;
        QTest::newRow("Control+wheel zooms instead") << "wheel view control" << 5 << 5;
        QTest::newRow("slider") << "slider 42" << 5 << 42;
        QTest::newRow("information row") << "row 17" << 5 << 17;
    }

    void updateChain()
    {
        QFETCH(QString, entry);
        QFETCH(int, start);
        QFETCH(int, expected);
        TestWindow w{showFile("long.ild", 120)};
        activate(w);
        w.m_statusSlider->setValue(start);
        checkInStep(w, start, 120);

        IldaView* front = viewOf(w, 0);
        const double zoom = IldaView::m_zoomFactor;
        if (entry == "first")
            w.m_frameFirstAction->trigger();
        else if (entry == "previous")
            w.m_framePreviousAction->trigger();
        else if (entry == "next")
            w.m_frameNextAction->trigger();
        else if (entry == "last")
            w.m_frameLastAction->trigger();
        else if (entry == "plus")
            QTest::keyClick(&w, Qt::Key_Plus);
        else if (entry == "minus")
            QTest::keyClick(&w, Qt::Key_Minus);
        else if (entry == "pagedown")
            QTest::keyClick(&w, Qt::Key_PageDown);
        else if (entry == "wheel view away")
            sendWheel(front, 120);
        else if (entry == "wheel view towards")
            sendWheel(front, -120);
        else if (entry == "wheel view control")
            sendWheel(front, 120, Qt::ControlModifier);
        else if (entry == "wheel slider")
            sendWheel(w.m_statusSlider, 120);
        else if (entry.startsWith("slider"))
            w.m_statusSlider->setValue(entry.mid(7).toInt());
        else if (entry.startsWith("row"))
            w.m_infoWindow.tableView()->setCurrentIndex(
                w.m_infoWindow.model()->index(entry.mid(4).toInt(), 1));
        checkInStep(w, expected, 120);
        if (entry == "wheel view control")
            QVERIFY(IldaView::m_zoomFactor > zoom);
        else
            QCOMPARE(IldaView::m_zoomFactor, zoom);
    }

    void stepsWithoutAFile()
    {
        TestWindow w{QString()};
        activate(w);
        QTest::keyClick(&w, Qt::Key_Plus);
        QTest::keyClick(&w, Qt::Key_Minus);
        sendWheel(w.m_statusSlider, -120);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 0);
        QCOMPARE(w.m_statusLabel->text(), QStringLiteral("- / -"));
        QVERIFY(!w.m_frameNextAction->isEnabled());
    }

    void oneFrame()
    {
        TestWindow w{showFile("one.ild", 1)};
        QCOMPARE(w.m_statusLabel->text(), QStringLiteral("1 / 1"));
        QVERIFY(!w.m_statusSlider->isEnabled());
        QVERIFY(!w.m_frameNextAction->isEnabled());
        QVERIFY(!w.m_frameFirstAction->isEnabled());
    }

    void shorterFileAfterALongerOne()
    {
        TestWindow w{showFile("long.ild", 120)};
        w.m_statusSlider->setValue(50);
        checkInStep(w, 50, 120);
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
        QCOMPARE(w.m_infoWindow.tableView()->currentIndex().row(), 4);
        w.m_infoWindow.tableView()->setCurrentIndex(w.m_infoWindow.model()->index(2, 0));
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 3); // the palette row moves nothing
        w.m_infoWindow.tableView()->setCurrentIndex(w.m_infoWindow.model()->index(3, 0));
        checkInStep(w, 2, 4);
        w.m_framePreviousAction->trigger();
        QCOMPARE(w.m_infoWindow.tableView()->currentIndex().row(), 1);
    }

    void viewCommands()
    {
        TestWindow w{showFile("v.ild", 2)};
        activate(w);
        IldaView::m_activeView = 0;
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
        for (int i = 1; i < 10; ++i)
            w.openFile(paths[i]);
        QStringList expected;
        for (int i = 9; i >= 1; --i)
            expected << paths[i];
        QCOMPARE(storedRecent(), expected); // the oldest fell off
        QCOMPARE(recentTexts(w).first(), QStringLiteral("&1 show9.ild"));
        QCOMPARE(recentTexts(w).size(), 9);

        // Entry 3 opens that file and moves it to the front.
        w.m_recentFileActions[2]->trigger();
        QCOMPARE(storedRecent().first(), paths[7]);
        QCOMPARE(storedRecent().size(), 9);
        QCOMPARE(w.windowTitle(), QStringLiteral("show7.ild - Lumenar"));

        // A failed open shows the box, empties the window and leaves the list alone.
        const QStringList before = storedRecent();
        QFile::remove(paths[5]);
        ModalCloser closer;
        w.m_recentFileActions[storedRecent().indexOf(paths[5])]->trigger();
        QCOMPARE(closer.titles(), QStringList{"Lumenar"});
        QCOMPARE(closer.texts(), QStringList{QStringLiteral("Cannot open '%1'!").arg(paths[5])});
        QCOMPARE(storedRecent(), before);
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumenar"));
        QCOMPARE(w.m_statusLabel->text(), QStringLiteral("- / -"));
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 0);
        QCOMPARE(w.m_infoWindow.model()->rowCount(), 0);
    }

    void recentFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("ampersand") << "R&D.ild"
                                   << "&1 R&&D.ild";
        QTest::newRow("two ampersands") << "a&&b.ild"
                                        << "&1 a&&&&b.ild";
        QTest::newRow("percent signs") << "100%1.ild"
                                       << "&1 100%1.ild";
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
        QCOMPARE(storedRecent().size(), 9);
        QCOMPARE(storedRecent().at(1), many.first());
    }

    void drops_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("frames");
        QTest::newRow("one file") << QList<QUrl>{QUrl::fromLocalFile("SELF3")} << QString() << 3;
        QTest::newRow("three files")
            << QList<QUrl>{QUrl::fromLocalFile("SELF3"), QUrl::fromLocalFile("SELF5"),
                           QUrl::fromLocalFile("SELF5")}
            << QString() << 3;
        QTest::newRow("web link") << QList<QUrl>{QUrl("https://example.com/a.ild")} << QString()
                                  << 7;
        QTest::newRow("plain text") << QList<QUrl>() << "some text" << 7;
    }

    void drops()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        QFETCH(int, frames);
        const QString three = showFile("three.ild", 3);
        const QString five = showFile("five.ild", 5);
        TestWindow w{showFile("seven.ild", 7)};
        for (QUrl& url : urls) {
            if (url.toLocalFile().endsWith("SELF3"))
                url = QUrl::fromLocalFile(three);
            else if (url.toLocalFile().endsWith("SELF5"))
                url = QUrl::fromLocalFile(five);
        }
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
        QTest::keyClick(&w, Qt::Key_B, Qt::ControlModifier);
        QVERIFY(globalIldaFrames.getShowBlankedLines());
        QVERIFY(w.m_showBlankedLinesAction->isChecked());
        QCOMPARE(QSettings().value("ShowBlankedLines").toBool(), true);
        QTest::keyClick(&w, Qt::Key_B, Qt::ControlModifier);
        QVERIFY(!globalIldaFrames.getShowBlankedLines());
        QCOMPARE(QSettings().value("ShowBlankedLines").toBool(), false);

        QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(!globalIldaFrames.getShowDots());
        QVERIFY(!w.m_showDotsAction->isChecked());
        QCOMPARE(QSettings().value("ShowDots").toBool(), false);

        // The next window starts with what was stored.
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
        QCOMPARE(w.m_infoWindow.tableView()->currentIndex().row(), 1);

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
        QVERIFY(w.m_infoWindow.isVisible());
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
        QCOMPARE(closer.titles(), QStringList{"About Lumenar"});
        const QString text = closer.texts().first();
        QVERIFY(text.contains("Lumenar"));
        const QRegularExpression based(QStringLiteral(
            "<p>Based on Qt (\\S+) \\((\\w+) (\\d+)\\.(\\d+)(?: \\(Apple\\))?, (\\d+) bit\\)</p>"));
        const QRegularExpressionMatch match = based.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        QCOMPARE(match.captured(1), QString::fromLatin1(qVersion()));
        QCOMPARE(match.captured(5).toInt(), int(sizeof(void*) * 8));
#if defined(__GNUC__) && !defined(__clang__)
        QCOMPARE(match.captured(2), QStringLiteral("GCC"));
        QCOMPARE(match.captured(3).toInt(), __GNUC__);
#endif
        QCOMPARE(closer.iconSizes().first(), QSize(96, 96));

        w.m_aboutAction->trigger();
        QCOMPARE(closer.titles().size(), 2);
    }

    void fullScreenKeys()
    {
        TestWindow w{QString()};
        activate(w);
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!(w.windowState() & Qt::WindowFullScreen));
        QTest::keyClick(&w, Qt::Key_Return, Qt::AltModifier);
        QVERIFY(w.windowState() & Qt::WindowFullScreen);
        QTest::keyClick(&w, Qt::Key_Return, Qt::AltModifier);
        QVERIFY(!(w.windowState() & Qt::WindowFullScreen));
        QTest::keyClick(&w, Qt::Key_Enter, Qt::AltModifier);
        QVERIFY(w.windowState() & Qt::WindowFullScreen);
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!(w.windowState() & Qt::WindowFullScreen));
    }

    void menus()
    {
        TestWindow w{QString()};
        QStringList titles;
        for (QAction* menu : w.menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"&File", "&View", "&Frame", "&Options", "&Help"}));
        const QList<QAction*> view = w.menuBar()->actions().at(1)->menu()->actions();
        QStringList texts;
        for (QAction* a : view)
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, (QStringList{"Zoom &In", "Zoom &Out", "&Reset", "-", "&Front", "&Side",
                                     "&Top", "&Perspective", "-", "&All"}));
        QCOMPARE(w.m_zoomInAction->shortcut(), QKeySequence("Ctrl++"));
        QCOMPARE(w.m_frameFirstAction->shortcut(),
                 QKeySequence(QKeySequence::MoveToStartOfDocument));
        QVERIFY(!w.m_statusSlider->focusPolicy());
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

        QFileOpenEvent empty{QString()};
        QCoreApplication::sendEvent(app, &empty); // an empty path changes nothing
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 5);
    }

    void missingCommandLineFile()
    {
        ModalCloser closer;
        const QString missing = m_dir.filePath("gone.ild");
        TestWindow w{missing};
        QCOMPARE(closer.texts(), QStringList{QStringLiteral("Cannot open '%1'!").arg(missing)});
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumenar"));
        QVERIFY(storedRecent().isEmpty());
        w.openFile(QString()); // ignored
        QCOMPARE(closer.texts().size(), 1);
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
