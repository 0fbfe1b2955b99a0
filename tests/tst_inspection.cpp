// SPDX-License-Identifier: GPL-3.0-or-later
// The window's inspection pieces: readable frames, problems, frame facts, the next file, zoom to
// fit, axes and reload on change.
#include "PyxBuilder.h"
#include "TestSupport.h"

#include "app/MainWindow.h"
#include "browse/ReloadWatcher.h"
#include "browse/ShowFolder.h"
#include "check/FrameFacts.h"
#include "playback/Player.h"
#include "problems/ProblemsModel.h"
#include "problems/ProblemsWindow.h"
#include "tools/Inspector.h"
#include "views/ViewLayouts.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QtTest>

namespace {

QJsonObject inspectJson(const QStringList& args, int* status)
{
    const Result r = inspect(args);
    *status = r.status;
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

// Three format-5 frames of two points each: 48 bytes a frame.
IldaBuilder threeFrames()
{
    IldaBuilder b;
    for (int f = 0; f < 3; ++f)
        b.header(5, "f", "c", 2, f, 3).point5(f, 0, 0, 1, 2, 3).point5(9, 9, 0x80, 1, 2, 3);
    return b;
}

// The red pixels' bounding box in a view painted at 200 x 200.
QRect redBox(unsigned int index)
{
    QScopedPointer<IldaView> view(ViewLayouts::createView(index));
    const QImage image = ViewTestFrames::paint(*view, QSize(200, 200));
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(255, 0, 0))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestInspection : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QStringList statusLines(const MainWindow& w)
    {
        return w.m_inspection->m_statusLabel->text().split('\n');
    }

private slots:
    void initTestCase() { isolateSettings(); }

    void readable_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("error");
        QTest::addColumn<qint64>("stoppedAt");
        QTest::addColumn<QString>("pointCounts"); // of the kept frames

        const QByteArray whole = threeFrames().bytes();
        const auto ilda = [&](const char* tag, int length, const char* error, qint64 at,
                              const char* counts) {
            QTest::newRow(tag) << writeTestFile(m_dir, QString(tag) + ".ild", whole.left(length))
                               << error << at << counts;
        };
        ilda("whole", whole.size(), "", -1, "2 2 2");
        ilda("cut in frame 2's points", 96 + 32 + 10, "Invalid data section (Format 5)!", 96,
             "2 2");
        ilda("cut in frame 2's header", 96 + 20, "Invalid ILDA header!", 96, "2 2");
        ilda("cut in frame 0's points", 40, "Invalid data section (Format 5)!", 0, "");

        // Entry 1 (at byte 10 + 5) names a picture that is not there.
        const QString ani = m_dir.filePath("show.ani");
        PyxBuilder().aniHeader(3).entry("C", "P1").entry("C", "P0").entry("C", "P2").write(ani);
        for (const char* name : {"C.catl/P1.pic", "C.catl/P2.pic"})
            PyxBuilder().picHeader(4, 1, 0).point(0, 5, 5, 0).write(m_dir.filePath(name));
        QTest::newRow("animation with a missing picture")
            << ani << "Cannot open '" + m_dir.filePath("C.catl/P0.pic") + "'!" << qint64(15)
            << "1 1";
    }

    void readable()
    {
        QFETCH(QString, file);
        QFETCH(QString, error);
        QFETCH(qint64, stoppedAt);
        QFETCH(QString, pointCounts);
        int status = -1;
        const QJsonObject json =
            inspectJson({"--readable", "--json", "--no-points", file}, &status);
        QStringList counts;
        for (const QJsonValue& frame : json.value("frames").toArray())
            counts << QString::number(frame.toObject().value("pointCount").toInt());
        QCOMPARE(counts.join(' '), pointCounts);
        QCOMPARE(json.value("ok").toBool(), !pointCounts.isEmpty());
        QCOMPARE(status, pointCounts.isEmpty() ? 1 : 0);
        QCOMPARE(json.value("error").toString(), error);
        QCOMPARE(qint64(json.value("stoppedAt").toDouble(-1)), stoppedAt);
        if (error.isEmpty())
            return;

        // The window: a failed open, then its readable frames from the menu or the Problems
        // window's button; the recent list stays as it was.
        QSettings().setValue("RecentFiles", QStringList{"/x.ild"});
        ModalCloser closer;
        MainWindow w{file};
        QCOMPARE(closer.seen().size(), 1);
        file.endsWith(".ani") ? w.m_inspection->getProblemsWindow()->readableButton()->click()
                              : w.m_inspection->getReadableAction()->trigger();
        QCOMPARE(closer.seen().size(), 1);
        QCOMPARE(w.windowTitle(), QFileInfo(file).fileName() + " (damaged) - Lumenar");
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), counts.size());
        QCOMPARE(statusLines(w).first(),
                 QString("%1 frames kept; the failed section starts at byte %2")
                     .arg(counts.size())
                     .arg(stoppedAt));
        QCOMPARE(QSettings().value("RecentFiles").toStringList(), QStringList{"/x.ild"});
    }

    void problemsAsCheck_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("leads"); // the frames that double-clicks lead to, of 2 loaded
        IldaBuilder b = threeFrames();
        QTest::newRow("cut") << writeTestFile(m_dir, "cut.ild", b.bytes().left(140)) << "";
        b = IldaBuilder().header(5, "", "", 2, 0, 2).point5(0, 0, 0, 1, 1, 1);
        b.point5(0, 0, 0, 1, 1, 1).header(5, "", "", 1, 5, 2).point5(0, 0, 0x80, 1, 1, 1);
        QTest::newRow("warnings") << writeTestFile(m_dir, "warn.ild", b.bytes()) << "0 1";
        QTest::newRow("clean") << writeTestFile(m_dir, "clean.ild", threeFrames().end().bytes())
                               << "";
        const QString ani = m_dir.filePath("broken.ani");
        PyxBuilder().aniHeader(1).entry("X", "Y").count(0).write(ani);
        QTest::newRow("unreadable animation") << ani << "0";
    }

    void problemsAsCheck()
    {
        QFETCH(QString, file);
        QFETCH(QString, leads);
        int status = -1;
        const QJsonObject check = inspectJson({"--check", "--json", file}, &status);
        QStringList expected;
        for (const QJsonValue& value : check.value("findings").toArray()) {
            const QJsonObject f = value.toObject();
            expected << f.value("severity").toString() + ' ' + f.value("code").toString() + ' ' +
                            QString::number(qint64(f.value("offset").toDouble())) + ' ' +
                            f.value("text").toString();
        }
        ProblemsWindow window;
        ProblemsModel* model = window.model();
        QAbstractItemModelTester tester(model);
        QSignalSpy finished(model, &ProblemsModel::finished);
        window.check(file, 2);
        QVERIFY(finished.wait(10000));
        QCOMPARE(window.windowTitle(), "Problems - " + QFileInfo(file).fileName());
        QStringList shown;
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c : {0, 1, 2, 4})
                cells << model->index(r, c).data().toString();
            shown << cells.join(' ');
        }
        QCOMPARE(shown, expected);

        // A double-click on a finding leads to its frame only when that frame is loaded.
        QSignalSpy requested(&window, &ProblemsWindow::frameRequested);
        for (int r = 0; r < model->rowCount(); ++r)
            emit window.tableView()->doubleClicked(model->index(r, 1));
        QStringList got;
        for (const QList<QVariant>& signal : requested)
            got << signal.at(0).toString();
        QCOMPARE(got.join(' '), leads);
    }

    void frameFacts_data()
    {
        QTest::addColumn<int>("lit");
        QTest::addColumn<int>("pps");
        QTest::addColumn<QString>("text");
        QTest::newRow("lit 30k") << 412 << 30000
                                 << "BARNEY19  540 points, 412 lit  18 ms at 30,000 pps";
        QTest::newRow("lit 12k") << 412 << 12000
                                 << "BARNEY19  540 points, 412 lit  45 ms at 12,000 pps";
        QTest::newRow("blanked 30k")
            << 0 << 30000 << "BARNEY19  all 540 points blanked  18 ms at 30,000 pps";
        QTest::newRow("blanked 100k")
            << 0 << 100000 << "BARNEY19  all 540 points blanked  5.4 ms at 100,000 pps";
    }

    void frameFacts()
    {
        QFETCH(int, lit);
        QFETCH(int, pps);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        IldaFrame frame("BARNEY19", "", 0, 1);
        for (int i = 0; i < 540; ++i)
            frame.appendPoint({int16_t(i), 0, 0, i >= lit, 255, 0, 0});
        QCOMPARE(FrameFacts::text(frame.getName(), frame, pps), text);
    }

    void nextFile_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("to");
        QTest::newRow("2 before 10") << "show2.ILD" << 1 << "Show10.ild";
        QTest::newRow("case ignored") << "b.ccat" << 1 << "C.ani";
        QTest::newRow("wrap at the end") << "show100.ilda" << 1 << "a1.pic";
        QTest::newRow("wrap at the start") << "a1.pic" << -1 << "show100.ilda";
        QTest::newRow("a gone file counts from its place") << "show3.ild" << 1 << "Show10.ild";
    }

    void nextFile()
    {
        QFETCH(QString, from);
        QFETCH(int, step);
        QFETCH(QString, to);
        QLocale::setDefault(QLocale::c());
        const QString dir = m_dir.filePath("folder");
        for (const char* name : {"Show10.ild", "show2.ILD", "a1.pic", "A02.PIC", "b.ccat", "C.ani",
                                 "show100.ilda", "notes.txt", "show3.txt"})
            PyxBuilder().u8(0).write(dir + '/' + name);
        QCOMPARE(ShowFolder::list(dir).join(' '),
                 "a1.pic A02.PIC b.ccat C.ani show2.ILD Show10.ild show100.ilda");
        QCOMPARE(ShowFolder::step(dir + '/' + from, step), dir + '/' + to);
    }

    // Next and previous file through the window's actions, wrapping at the ends.
    void nextFileInTheWindow()
    {
        QTemporaryDir folder;
        for (const char* name : {"s10.ild", "S2.ILD", "a.ild"})
            writeShow(folder, name, {1});
        MainWindow w{folder.filePath("S2.ILD")};
        const Inspection* i = w.m_inspection;
        QStringList titles;
        for (QAction* a : {i->getNextFileAction(), i->getNextFileAction(), i->getNextFileAction(),
                           i->getPreviousFileAction()}) {
            a->trigger();
            titles << w.windowTitle().section(' ', 0, 0);
        }
        QCOMPARE(titles.join(' '), "s10.ild a.ild S2.ILD a.ild");
    }

    void zoomToFit_data()
    {
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::newRow("small, off centre") << 9000 << 10000;
        QTest::newRow("full range") << -32768 << 32767;
    }

    void zoomToFit()
    {
        QFETCH(int, low);
        QFETCH(int, high);
        using namespace ViewTestFrames;
        QVERIFY(load(m_dir.path(),
                     {{lit(low, low, Qt::red), lit(high, high, Qt::red), lit(low, high, Qt::red)}})
                    .isEmpty());
        IldaView::Reset(true);
        IldaView::ZoomToFit(globalIldaFrames.getCurrentFrame(), 200);
        // 90% of the 195 pixels the picture may use, centred; the perspective has no pan, so
        // there the farthest point reaches 90% of the way to the edge.
        const QRect front = redBox(IldaView::Front);
        QVERIFY2(qAbs(qMax(front.width(), front.height()) - 176) <= 3, "front size");
        QVERIFY2((front.center() - QPoint(100, 100)).manhattanLength() <= 4, "front centre");
        const QRect turned = redBox(IldaView::Perspective);
        const int reach = qMax(qMax(100 - turned.left(), turned.right() - 100),
                               qMax(100 - turned.top(), turned.bottom() - 100));
        QVERIFY2(qAbs(reach - 88) <= 3, "perspective reach");
    }

    void axes()
    {
        QVERIFY(ViewTestFrames::load(m_dir.path(), {{}}).isEmpty());
        for (bool on : {false, true}) {
            IldaView::m_showAxes = on;
            QCOMPARE(redBox(IldaView::Perspective).isEmpty(), !on); // the x axis is red
        }
        IldaView::m_showAxes = false;
    }

    void reloadOnceAfterTwoSteps()
    {
        const QString path = m_dir.filePath("growing.ild");
        QVERIFY(PyxBuilder().u8(1).write(path));
        ReloadWatcher watcher;
        watcher.setQuietTime(1000);
        watcher.setFiles({path});
        QSignalSpy changed(&watcher, &ReloadWatcher::changed);
        const QByteArray show = threeFrames().end().bytes();
        QVERIFY(PyxBuilder().bytes(show).write(path, 50)); // half written
        QTest::qWait(50);
        QVERIFY(PyxBuilder().bytes(show).write(path));
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 10000);
        QTest::qWait(1500);
        QCOMPARE(changed.count(), 1);

        // In the window: the half-written file is reported, never in a box, and the picture
        // stays; the whole one is shown at the same frame number, with its facts.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ModalCloser closer;
        const QString shown = writeShow(m_dir, "shown.ild", {1, 2, 3});
        MainWindow w{shown};
        w.m_inspection->getWatcher()->setQuietTime(100);
        w.m_frameLastAction->trigger();
        QFile next(writeShow(m_dir, "next.ild", {1, 2, 3, 4}));
        QVERIFY(next.open(QIODevice::ReadOnly));
        const QByteArray whole = next.readAll();
        QVERIFY(PyxBuilder().bytes(whole).write(shown, 50));
        QTRY_COMPARE_WITH_TIMEOUT(statusLines(w).first(),
                                  "Reload of shown.ild failed: details in View > Problems", 10000);
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 3);
        QVERIFY(PyxBuilder().bytes(whole).write(shown));
        QTRY_COMPARE_WITH_TIMEOUT(globalIldaFrames.getNumberOfFrames(), 4, 10000);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 2);
        QCOMPARE(statusLines(w), QStringList{"f  3 points, 3 lit  0.1 ms at 30,000 pps"});
        w.getPlayer()->setRate(Player::FramesPerSecond, 30, 1000);
        QCOMPARE(statusLines(w), QStringList{"f  3 points, 3 lit  3.0 ms at 1,000 pps"});
        QCOMPARE(closer.seen(), QStringList());
    }
};

QTEST_MAIN(TestInspection)
#include "tst_inspection.moc"
