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
    QTest::addColumn<QString>("rate"); // "N fps" or "N pps", "once" without Loop
    QTest::addColumn<QList<int>>("points");
    // "T" ticks at T ms; "T>F" is the user moving to frame F at T ms.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown"); // the frame after each step; "stopped" at the end

    const QList<int> four{1, 1, 1, 1};
    QTest::newRow("fps in time") << "10 fps" << four << QStringList{"99", "100", "199", "200"}
                                 << "0 1 1 2";
    QTest::newRow("fps loops") << "10 fps" << four << QStringList{"399", "400"} << "3 0";
    QTest::newRow("fps stops at the end")
        << "10 fps once" << four << QStringList{"300", "399", "400", "900"} << "3 3 3 3 stopped";
    QTest::newRow("behind: frames skipped")
        << "10 fps" << four << QStringList{"100", "350"} << "1 3";
    QTest::newRow("a long stall starts afresh")
        << "10 fps" << QList<int>{1, 1, 1} << QStringList{"10050", "10100", "10150"} << "1 1 2";
    QTest::newRow("pps: points over rate, at least 1 ms")
        << "100000 pps" << QList<int>{20000, 1, 1, 30000}
        << QStringList{"200", "201", "202", "501", "502"} << "1 2 3 3 0";
    QTest::newRow("a move restarts the schedule")
        << "10 fps" << QList<int>{1, 1, 1, 1, 1} << QStringList{"150>3", "249", "250"} << "3 3 4";
}

void TestPlayback::schedule()
{
    QFETCH(QString, rate);
    QFETCH(QList<int>, points);
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);

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
    const QStringList words = rate.split(' ');
    player.setRate(words[1] == "pps" ? Player::PointsPerSecond : Player::FramesPerSecond,
                   words[0].toInt(), words[0].toInt());
    player.getLoopAction()->setChecked(!rate.endsWith("once"));
    player.fileChanged();
    player.play();

    QStringList seen;
    for (const QString& step : steps) {
        ms = step.section('>', 0, 0).toLongLong();
        if (step.contains('>')) {
            globalIldaFrames.gotoFrame(step.section('>', 1).toInt());
            player.frameShown(globalIldaFrames.getCurrentFrameNumber());
        } else {
            player.tick();
        }
        seen << QString::number(globalIldaFrames.getCurrentFrameNumber());
    }
    if (!player.isPlaying())
        seen << "stopped";
    QCOMPARE(seen.join(' '), shown);
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
    auto status = [&] {
        return QString("%1 %2 %3 [%4]")
            .arg(player->isPlaying() ? "playing" : "stopped",
                 w.m_rateLabel->isVisible() ? w.m_rateLabel->text() : "-", w.m_statusLabel->text())
            .arg(w.m_statusSlider->value());
    };

    QTest::keyClick(&w, Qt::Key_Space);
    QCOMPARE(status(), QStringLiteral("playing 30 fps 1 / 3 [0]"));
    ms = 34; // a due frame runs the whole update chain
    player->tick();
    QCOMPARE(status(), QStringLiteral("playing 30 fps 2 / 3 [1]"));
    QTest::keyClick(&w, Qt::Key_Space);
    QCOMPARE(status(), QStringLiteral("stopped - 2 / 3 [1]"));

    player->play();
    w.openFile(many);
    QCOMPARE(status(), QStringLiteral("stopped - 1 / 3 [0]"));
    w.openFile(writeShow(m_dir, "one.ild", {5}));
    QVERIFY(!player->getPlayAction()->isEnabled());
}

void TestPlayback::settingsRoundTrip()
{
    auto state = [](const Player* p) {
        return QString("%1 %2 %3 %4")
            .arg(p->getMode())
            .arg(p->getFps())
            .arg(p->getPps())
            .arg(p->isLooping());
    };
    {
        TestWindow w{QString()};
        QCOMPARE(state(w.getPlayer()), QStringLiteral("0 30 30000 1")); // the first run
        w.getPlayer()->setRate(Player::PointsPerSecond, 12, 12000);
        w.getPlayer()->getLoopAction()->setChecked(false);
        w.close();
    }
    TestWindow w{QString()};
    QCOMPARE(state(w.getPlayer()), QStringLiteral("1 12 12000 0"));
    QCOMPARE(QSettings().value("PlaybackMode").toString(), QStringLiteral("pps"));
}

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TestPlayback test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_playback.moc"
