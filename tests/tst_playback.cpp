// The player's real-time schedule on a fake clock, and playback inside the window.
#include "IldaBuilder.h"
#include "app/MainWindow.h"
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "playback/Player.h"

#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QtTest>

namespace {

// One format-5 frame per entry, with that many lit points.
QString writeShow(const QTemporaryDir& dir, const QString& name, const QList<int>& points)
{
    IldaBuilder b;
    for (int n : points) {
        b.header(5, "f", "t", n, 0, points.size());
        for (int i = 0; i < n; ++i)
            b.point5(i, 0, 0, 255, 0, 0);
    }
    return writeTestFile(dir, name, b.end().bytes());
}

class TestWindow : public MainWindow
{
public:
    using MainWindow::MainWindow;

protected:
    void endProcess() override {}
};

} // namespace

class TestPlayback : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }
    void schedule_data();
    void schedule();
    void window();
    void settingsRoundTrip();

private:
    QTemporaryDir m_dir;
};

void TestPlayback::schedule_data()
{
    QTest::addColumn<bool>("pps");
    QTest::addColumn<int>("rate");
    QTest::addColumn<bool>("loop");
    QTest::addColumn<QList<int>>("points");
    // "T" ticks at T ms; "T>F" is the user moving to frame F at T ms.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("frames"); // the frame shown after each step
    QTest::addColumn<bool>("playing");

    const QList<int> four{1, 1, 1, 1};
    QTest::newRow("fps in time") << false << 10 << true << four
                                 << QStringList{"99", "100", "199", "200"} << QList<int>{0, 1, 1, 2}
                                 << true;
    QTest::newRow("fps loops") << false << 10 << true << four << QStringList{"399", "400"}
                               << QList<int>{3, 0} << true;
    QTest::newRow("fps stops at the end")
        << false << 10 << false << four << QStringList{"300", "399", "400", "900"}
        << QList<int>{3, 3, 3, 3} << false;
    QTest::newRow("behind: frames skipped")
        << false << 10 << true << four << QStringList{"100", "350"} << QList<int>{1, 3} << true;
    QTest::newRow("a long stall starts afresh")
        << false << 10 << true << QList<int>{1, 1, 1} << QStringList{"10000", "10099", "10100"}
        << QList<int>{1, 1, 2} << true;
    QTest::newRow("pps: points over rate, at least 1 ms")
        << true << 100000 << true << QList<int>{20000, 1, 1, 30000}
        << QStringList{"200", "201", "202", "501", "502"} << QList<int>{1, 2, 3, 3, 0} << true;
    QTest::newRow("a move restarts the schedule")
        << false << 10 << true << QList<int>{1, 1, 1, 1, 1} << QStringList{"150>3", "249", "250"}
        << QList<int>{3, 3, 4} << true;
}

void TestPlayback::schedule()
{
    QFETCH(bool, pps);
    QFETCH(int, rate);
    QFETCH(bool, loop);
    QFETCH(QList<int>, points);
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, frames);
    QFETCH(bool, playing);

    InfoWindow info;
    QVERIFY(globalIldaFrames.loadFile(writeShow(m_dir, "s.ild", points), info).isEmpty());
    QWidget window;
    Player player(&window);
    qint64 ms = 0;
    player.setClock([&ms] { return ms * 1000000; });
    // What the window does with a due frame.
    connect(&player, &Player::frameDue, [&player](int frame) {
        globalIldaFrames.gotoFrame(frame);
        player.frameShown(frame);
    });
    player.setRate(pps ? Player::PointsPerSecond : Player::FramesPerSecond, rate, rate);
    player.getLoopAction()->setChecked(loop);
    player.fileChanged();
    player.play();
    QVERIFY(player.isPlaying());

    for (int i = 0; i < steps.size(); ++i) {
        const QStringList step = steps[i].split('>');
        ms = step[0].toLongLong();
        if (step.size() > 1) {
            globalIldaFrames.gotoFrame(step[1].toInt());
            player.frameShown(step[1].toInt());
        } else {
            player.tick();
        }
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), frames[i]);
    }
    QCOMPARE(player.isPlaying(), playing);
}

void TestPlayback::window()
{
    const QString many = writeShow(m_dir, "many.ild", {1, 2, 3});
    TestWindow w(many);
    Player* player = w.getPlayer();
    qint64 ms = 0;
    player->setClock([&ms] { return ms * 1000000; });
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    QTest::keyClick(&w, Qt::Key_Space);
    QVERIFY(player->isPlaying());
    QVERIFY(w.m_rateLabel->isVisible());
    QCOMPARE(w.m_rateLabel->text(), QStringLiteral("30 fps"));
    // A due frame runs the whole update chain.
    ms = 34;
    player->tick();
    QCOMPARE(w.m_statusSlider->value(), 1);
    QCOMPARE(w.m_statusLabel->text(), QStringLiteral("2 / 3"));
    QTest::keyClick(&w, Qt::Key_Space);
    QVERIFY(!player->isPlaying());
    QVERIFY(!w.m_rateLabel->isVisible());

    player->play();
    w.openFile(many);
    QVERIFY(!player->isPlaying());
    QVERIFY(player->getPlayAction()->isEnabled());
    w.openFile(writeShow(m_dir, "one.ild", {5}));
    QVERIFY(!player->getPlayAction()->isEnabled());
    player->play();
    QVERIFY(!player->isPlaying());
}

void TestPlayback::settingsRoundTrip()
{
    {
        TestWindow w{QString()};
        Player* player = w.getPlayer();
        QCOMPARE(player->getMode(), Player::FramesPerSecond);
        QCOMPARE(player->getFps(), 30);
        QCOMPARE(player->getPps(), 30000);
        QVERIFY(player->isLooping());
        player->setRate(Player::PointsPerSecond, 12, 12000);
        player->getLoopAction()->setChecked(false);
        w.close();
    }
    TestWindow w{QString()};
    Player* player = w.getPlayer();
    QCOMPARE(player->getMode(), Player::PointsPerSecond);
    QCOMPARE(player->getFps(), 12);
    QCOMPARE(player->getPps(), 12000);
    QVERIFY(!player->isLooping());
    QCOMPARE(QSettings().value("PlaybackMode").toString(), QStringLiteral("pps"));
}

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TestPlayback test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_playback.moc"
