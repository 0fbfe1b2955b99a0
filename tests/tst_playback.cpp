// SPDX-License-Identifier: GPL-3.0-or-later
// Playback: the player's schedule on a fake clock, and playback in the window.
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "playback/Player.h"

#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QtTest>

// Named for the main window's friend declaration.
class TestPlayback : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { isolateSettings(); }
    void init() { QSettings().clear(); }

    void schedule_data()
    {
        QTest::addColumn<QString>("rate"); // "N fps" or "N pps", "once" without Loop
        QTest::addColumn<QList<int>>("points");
        // "T:F" ticks at T ms and then shows frame F; "T>M:F" is the user moving to frame M at
        // T ms; "open:F" a new file; "stopped" ends a run that stops.
        QTest::addColumn<QString>("steps");
        const QList<int> four{1, 1, 1, 1};
        QTest::newRow("fps in time") << "10 fps" << four << "99:0 100:1 199:1 200:2";
        QTest::newRow("fps loops") << "10 fps" << four << "399:3 400:0";
        QTest::newRow("fps stops at the end")
            << "10 fps once" << four << "300:3 399:3 400:3 900:3 stopped";
        QTest::newRow("behind: frames skipped") << "10 fps" << four << "100:1 350:3";
        QTest::newRow("a long stall starts afresh")
            << "10 fps" << QList<int>{1, 1, 1} << "10050:1 10100:1 10150:2";
        QTest::newRow("pps: points over rate, at least 1 ms")
            << "100000 pps" << QList<int>{20000, 1, 1, 30000} << "200:1 201:2 202:3 501:3 502:0";
        QTest::newRow("a move restarts the schedule")
            << "10 fps" << QList<int>{1, 1, 1, 1, 1} << "150>3:3 249:3 250:4";
        QTest::newRow("a new file stops") << "10 fps" << four << "100:1 open:1 stopped";
    }

    void schedule()
    {
        QFETCH(QString, rate);
        QFETCH(QList<int>, points);
        QFETCH(QString, steps);
        QVERIFY(Probe().load(writeShow(m_dir, "s.ild", points)).isEmpty());
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
        for (const QString& step : steps.split(' ')) {
            if (step == "stopped")
                break;
            const QString at = step.section(':', 0, 0);
            ms = at.section('>', 0, 0).toLongLong();
            if (at == "open") {
                player.stop(); // what the window does around a load
                player.fileChanged();
            } else if (at.contains('>')) {
                globalIldaFrames.gotoFrame(at.section('>', 1).toInt());
                player.frameShown(globalIldaFrames.getCurrentFrameNumber());
            } else {
                player.tick();
            }
            seen << at + ':' + QString::number(globalIldaFrames.getCurrentFrameNumber());
        }
        if (!player.isPlaying())
            seen << "stopped";
        QCOMPARE(seen.join(' '), steps);
    }

    void window()
    {
        const QString many = writeShow(m_dir, "many.ild", {1, 2, 3});
        MainWindow w(many);
        Player* player = w.getPlayer();
        qint64 ms = 0;
        player->setClock([&ms] { return ms * 1000000; });
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto status = [&] {
            return QString("%1 %2 %3 [%4] %5")
                .arg(player->isPlaying() ? "playing" : "stopped",
                     w.m_rateLabel->isVisible() ? w.m_rateLabel->text() : "-",
                     w.m_statusLabel->text())
                .arg(w.m_statusSlider->value())
                .arg(player->getPlayAction()->isEnabled());
        };

        QTest::keyClick(&w, Qt::Key_Space);
        QCOMPARE(status(), QStringLiteral("playing 30 fps 1 / 3 [0] 1"));
        ms = 34; // a due frame runs the whole update chain
        player->tick();
        QCOMPARE(status(), QStringLiteral("playing 30 fps 2 / 3 [1] 1"));
        QTest::keyClick(&w, Qt::Key_Space);
        QCOMPARE(status(), QStringLiteral("stopped - 2 / 3 [1] 1"));
        player->play();
        w.openFile(many);
        QCOMPARE(status(), QStringLiteral("stopped - 1 / 3 [0] 1"));
        w.openFile(writeShow(m_dir, "one.ild", {5}));
        QCOMPARE(status(), QStringLiteral("stopped - 1 / 1 [0] 0"));
    }
};

QTEST_MAIN(TestPlayback)
#include "tst_playback.moc"
