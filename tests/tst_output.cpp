// SPDX-License-Identifier: GPL-3.0-or-later
// Laser output: the mapping, both protocols streamed through the real clients to receivers on
// loopback, the command line's endings and errors, discovery, and the window's Laser menu.
#include "FakeDacs.h"
#include "TestSupport.h"

#include "app/MainWindow.h"
#include "output/DacDiscovery.h"
#include "output/LaserControl.h"
#include "output/LaserSettingsDialog.h"
#include "output/PointStream.h"
#include "tools/Inspector.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <csignal>

using Received = QVector<ReceivedPoint>;
Q_DECLARE_METATYPE(Received)
Q_DECLARE_METATYPE(ViewTestFrames::Points)
using ViewTestFrames::blanked;
using ViewTestFrames::lit;

class TestOutput : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_show, m_out, m_err;

    int run(QStringList args)
    {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out), err(&m_err);
        return Inspector::run(args, out, err);
    }
    // Names the point and the field that differ.
    static bool same(const ReceivedPoint& got, const ReceivedPoint& want, int index)
    {
        const int g[] = {got.x, got.y, got.red, got.green, got.blue, got.intensity};
        const int w[] = {want.x, want.y, want.red, want.green, want.blue, want.intensity};
        for (int f = 0; f < 6; ++f) {
            if (g[f] != w[f]) {
                qWarning("point %d, %s: got %d, want %d", index,
                         std::array{"x", "y", "red", "green", "blue", "intensity"}[f], g[f], w[f]);
                return false;
            }
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        isolateSettings();
        // Frame 0: a blanked move, then orange, blue and white lines. Frame 1: a still dot.
        IldaBuilder b;
        b.header(5, "lines", "", 4, 0, 2).point5(1000, -2000, 0x40, 9, 9, 9);
        b.point5(-30001, 1001, 0, 255, 128, 0).point5(30001, 1001, 0, 0, 0, 255);
        b.point5(0, 20000, 0x80, 255, 255, 255);
        b.header(5, "dot", "", 2, 1, 2)
            .point5(100, 100, 0, 255, 0, 0)
            .point5(400, 755, 0x80, 255, 0, 0);
        m_show = writeTestFile(m_dir, "show.ild", b.end().bytes());
        QVERIFY(!m_show.isEmpty());
    }

    void mapping_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<bool>("flip");
        QTest::addColumn<ViewTestFrames::Points>("frame");
        QTest::addColumn<Received>("want");
        QTest::addColumn<bool>("still");
        const IldaPoint red = lit(-32768, 3, Qt::red), dim = lit(5, -5, QColor(1, 0, 0));
        QTest::newRow("flip, -32768 to 32767")
            << 100 << true << ViewTestFrames::Points{red, lit(0, 900, Qt::red)}
            << Received{{32767, -3, 255, 0, 0, 0}, {0, -900, 255, 0, 0, 0}} << false;
        QTest::newRow("655 apart is still")
            << 100 << false
            << ViewTestFrames::Points{dim, lit(660, 650, Qt::green), blanked(9000, 0)}
            << Received{{5, -5, 0, 0, 0, 0}, {660, 650, 0, 0, 0, 0}, {9000, 0, 0, 0, 0, 0}} << true;
        QTest::newRow("still after scale")
            << 10 << false << ViewTestFrames::Points{lit(0, 0, Qt::red), lit(6550, 6550, Qt::red)}
            << Received{{0, 0, 0, 0, 0, 0}, {655, 655, 0, 0, 0, 0}} << true;
        QTest::newRow("empty: one blanked centre")
            << 100 << false << ViewTestFrames::Points{} << Received{{0, 0, 0, 0, 0, 0}} << false;
    }
    void mapping()
    {
        QFETCH(int, scale);
        QFETCH(bool, flip);
        QFETCH(ViewTestFrames::Points, frame);
        QFETCH(Received, want);
        QFETCH(bool, still);
        IldaFrame f;
        for (const IldaPoint& p : frame)
            f.appendPoint(p);
        QString reason;
        const QVector<LaserSample> got = PointMapper::mapFrame(f, {scale, flip, flip}, &reason);
        QCOMPARE(got.size(), want.size());
        for (int i = 0; i < got.size(); ++i) {
            const LaserSample& s = got[i];
            QVERIFY(same({s.x, s.y, s.red, s.green, s.blue, 0}, want[i], i));
            QCOMPARE(s.blanked, want[i].red + want[i].green + want[i].blue == 0);
        }
        QCOMPARE(reason.isEmpty(), !still);
    }

    // The show on each protocol: a dark move, then every point of the frames in order (the dot
    // blanked), then a blanked tail at the last position and a proper end.
    void stream_data()
    {
        QTest::addColumn<bool>("idn");
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("maxRate");
        QTest::addColumn<int>("pps");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("fps");
        QTest::addColumn<Received>("scansWanted");
        // Both frames' points; the dot comes blanked.
        const Received full{{1000, -2000, 0, 0, 0, 0},     {-30001, 1001, 255, 128, 0, 255},
                            {30001, 1001, 0, 0, 255, 255}, {0, 20000, 255, 255, 255, 255},
                            {100, 100, 0, 0, 0, 0},        {400, 755, 0, 0, 0, 0}};
        const Received half{{500, -1000, 0, 0, 0, 0},     {-15001, 501, 255, 128, 0, 255},
                            {15001, 501, 0, 0, 255, 255}, {0, 10000, 255, 255, 255, 255},
                            {50, 50, 0, 0, 0, 0},         {200, 378, 0, 0, 0, 0}};
        QTest::newRow("etherdream") << false << 100 << 100000 << 30000 << 30000 << 0 << full;
        QTest::newRow("etherdream 50%, 100000 pps")
            << false << 50 << 100000 << 100000 << 100000 << 0 << half;
        QTest::newRow("etherdream lowered to its maximum")
            << false << 100 << 20000 << 30000 << 20000 << 0 << full;
        QTest::newRow("idn") << true << 100 << 0 << 30000 << 30000 << 0 << full;
        QTest::newRow("idn 50%") << true << 50 << 0 << 30000 << 30000 << 0 << half;
        // 12 points a frame: the lines 3 times, the dot 6 times; the dark move takes the time
        // of the first two scans of the lines.
        const Received lines = full.mid(0, 4), dot = full.mid(4);
        const Received paced = lines + dot + dot + dot + dot + dot + dot + lines + lines;
        QTest::newRow("etherdream, 1200 pps at 100 fps")
            << false << 100 << 100000 << 1200 << 1200 << 100 << paced;
        QTest::newRow("idn, 1200 pps at 100 fps")
            << true << 100 << 0 << 1200 << 1200 << 100 << paced;
    }
    void stream()
    {
        QFETCH(bool, idn);
        QFETCH(int, scale);
        QFETCH(int, maxRate);
        QFETCH(int, pps);
        QFETCH(int, rate);
        QFETCH(int, fps);
        QFETCH(Received, scansWanted);
        FakeEtherDream etherDream;
        etherDream.maxRate = maxRate;
        FakeIdn idnDac;
        const QString to = idn ? QStringLiteral("idn:127.0.0.1:%1").arg(idnDac.port())
                               : QStringLiteral("etherdream:127.0.0.1:%1").arg(etherDream.port());
        const double seconds = 0.3;
        QStringList args{"--play",     m_show,
                         "--to",       to,
                         "--duration", QString::number(seconds),
                         "--scale",    QString::number(scale),
                         "--pps",      QString::number(pps)};
        if (fps)
            args << "--fps" << QString::number(fps);
        QCOMPARE(run(args), 0);
        QCOMPARE(m_err.contains("largest scan rate is 20000"), maxRate == 20000);
        const Received& got = idn ? idnDac.points : etherDream.points;
        QVERIFY2(m_out.startsWith("connected to " + to), qPrintable(m_out));
        // Every point the client counts arrives (datagrams may still be on their way).
        const int sent = m_out.section("\nsent ", 1).section(' ', 0, 0).toInt();
        QTRY_COMPARE(got.size(), sent);
        // Against rate × duration, with room for a loaded machine.
        QVERIFY2(got.size() > rate * seconds / 2 && got.size() < rate * seconds * 3 + 2000,
                 qPrintable(QString::number(got.size())));

        // Ether Dream carries 16-bit colours and an intensity; IDN 8-bit colours.
        Received scans = scansWanted;
        for (ReceivedPoint& p : scans) {
            const int f = idn ? 1 : 257;
            p = {p.x, p.y, p.red * f, p.green * f, p.blue * f, idn ? 0 : p.intensity * f};
        }
        const int dark = PointStream::DarkMovePoints, tail = PointStream::BlackoutPoints;
        for (int i = 0; i < dark; ++i)
            QVERIFY(got[i].red + got[i].green + got[i].blue + got[i].intensity == 0);
        QCOMPARE(got[dark - 1].x, scans[0].x);
        QCOMPARE(got[dark - 1].y, scans[0].y);
        for (int i = dark; i < got.size() - tail; ++i)
            QVERIFY(same(got[i], scans[(i - dark) % scans.size()], i));
        const ReceivedPoint last = got[got.size() - tail - 1];
        for (int i = got.size() - tail; i < got.size(); ++i)
            QVERIFY(same(got[i], {last.x, last.y, 0, 0, 0, 0}, i));
        if (idn) {
            QVERIFY(idnDac.closed);
            QCOMPARE(idnDac.dictionary,
                     (QVector<quint16>{0x4200, 0x4010, 0x4210, 0x4010, 0x527E, 0x5214, 0x51CC, 0}));
        } else {
            QVERIFY(etherDream.commands.endsWith("ds"));
            QCOMPARE(etherDream.beginRate, rate);
            QVERIFY(!etherDream.overflowed);
        }
    }

    void failures_data()
    {
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QStringList ok{"--duration", "1"};
        QTest::newRow("etherdream refused")
            << "etherdream:127.0.0.1:%closed" << ok << 1 << "connection refused";
        QTest::newRow("idn refused") << "idn:127.0.0.1:%closed" << ok << 1 << "connection refused";
        QTest::newRow("emergency stop")
            << "etherdream:127.0.0.1:%stop" << ok << 1 << "emergency stop";
        QTest::newRow("idn in use")
            << "idn:127.0.0.1:%busy" << ok << 1 << "in use by another client";
        QTest::newRow("no answer")
            << "etherdream:127.0.0.1:%silent" << ok << 1 << "no answer within 3 s";
        QTest::newRow("no duration")
            << "idn:h" << QStringList{} << 2 << "needs --to and --duration";
        QTest::newRow("duration 0.05")
            << "idn:h" << QStringList{"--duration", "0.05"} << 2 << "--duration must be";
        QTest::newRow("pps 100001")
            << "idn:h" << (ok + QStringList{"--pps", "100001"}) << 2 << "--pps must be";
        QTest::newRow("fps 121") << "idn:h" << (ok + QStringList{"--fps", "121"}) << 2
                                 << "--fps must be";
        QTest::newRow("scale 0") << "idn:h" << (ok + QStringList{"--scale", "0"}) << 2
                                 << "--scale must be";
        QTest::newRow("unknown protocol") << "dmx:h" << ok << 2 << "--to needs";
    }
    void failures()
    {
        QFETCH(QString, to);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, message);
        FakeEtherDream stop, silent;
        stop.lightEngine = 3;
        silent.silent = true;
        FakeIdn busy;
        busy.status = 0x10;
        to.replace("%closed", QString::number(freePort()))
            .replace("%stop", QString::number(stop.port()));
        to.replace("%silent", QString::number(silent.port()))
            .replace("%busy", QString::number(busy.port()));
        QCOMPARE(run(QStringList{"--play", m_show, "--to", to} + options), status);
        QVERIFY2(m_err.contains(message), qPrintable(m_err));
        QVERIFY(!m_out.contains("sent"));
        QVERIFY(stop.points.isEmpty() && !stop.commands.contains('d'));
    }

    // A signal ends the program as the end of the duration does.
    void endBySignal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
    }
    void endBySignal()
    {
        QFETCH(int, signal);
        FakeEtherDream dac;
        QProcess inspect;
        inspect.start(LUMENAR_INSPECT, {"--play", m_show, "--to",
                                        QStringLiteral("etherdream:127.0.0.1:%1").arg(dac.port()),
                                        "--duration", "60"});
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += inspect.readAllStandardOutput()).startsWith("connected"),
                                 10000);
        QTRY_VERIFY(dac.points.size() > 3000);
        ::kill(pid_t(inspect.processId()), signal);
        QTRY_COMPARE(inspect.state(), QProcess::NotRunning);
        QCOMPARE(inspect.exitStatus(), QProcess::NormalExit);
        QCOMPARE(inspect.exitCode(), 0);
        QVERIFY(dac.commands.endsWith("ds"));
        QCOMPARE(dac.points.last().red + dac.points.last().intensity, 0);
    }

    // Arming asks first (refused: nothing is sent), then streams the current frame and shows a
    // still frame's reason; every ending leaves blanked points at the last position and a proper
    // end.
    void window_data()
    {
        QTest::addColumn<bool>("idn");
        QTest::addColumn<QString>("ending");
        QTest::newRow("etherdream, blackout key") << false << "key";
        QTest::newRow("idn, blackout key") << true << "key";
        QTest::newRow("etherdream, close") << false << "close";
        QTest::newRow("idn, failed load") << true << "load";
    }
    void window()
    {
        QFETCH(bool, idn);
        QFETCH(QString, ending);
        FakeEtherDream etherDream;
        etherDream.broadcastPort = 0;
        FakeIdn idnDac;
        MainWindow w(m_show);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        LaserControl* laser = w.getLaser();
        LaserSettings settings;
        settings.protocol = idn ? LaserOutput::Idn : LaserOutput::EtherDream;
        settings.host = QStringLiteral("127.0.0.1");
        settings.port = idn ? idnDac.port() : etherDream.port();
        laser->setSettings(settings);
        QString asked;
        auto answer = [&asked, &w](QMessageBox::StandardButton button) {
            auto* timer = new QTimer(&w);
            QObject::connect(timer, &QTimer::timeout, [timer, button, &asked] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    asked = box->informativeText();
                    box->button(button)->click();
                    timer->deleteLater();
                }
            });
            timer->start(10);
        };
        const Received& got = idn ? idnDac.points : etherDream.points;
        const QLabel* label = laser->m_label;
        QVERIFY(!label->isVisible());
        answer(QMessageBox::Cancel);
        laser->getArmAction()->trigger();
        QVERIFY(asked.contains("class 3B or 4"));
        QVERIFY(!laser->getArmAction()->isChecked());
        QTest::qWait(200);
        QVERIFY(etherDream.commands.isEmpty());
        QVERIFY(got.isEmpty());

        asked.clear();
        answer(QMessageBox::Yes);
        laser->getArmAction()->trigger();
        QVERIFY(!asked.isEmpty());
        QVERIFY(laser->isArmed());
        QTRY_VERIFY(got.size() > 100);
        const int dark = PointStream::DarkMovePoints, tail = PointStream::BlackoutPoints;
        const QVector<LaserSample> frame0 =
            PointMapper::mapFrame(globalIldaFrames.getFrame(0), settings.options);
        for (int i = 0; i < 2 * frame0.size(); ++i) {
            QCOMPARE(got[dark + i].x, int(frame0[i % frame0.size()].x));
            QCOMPARE(got[dark + i].y, int(frame0[i % frame0.size()].y));
        }
        w.activateWindow(); // back from the box
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_PageDown);
        QTRY_VERIFY(laser->m_message->text().startsWith(PointMapper::stillBeamText()));

        if (ending == "key") {
            QTest::keyClick(&w, Qt::Key_B);
        } else if (ending == "close") {
            w.close();
        } else {
            const ModalCloser closer; // the failed load's message
            w.openFile(m_dir.filePath("missing.ild"));
        }
        QVERIFY(!laser->isArmed());
        QVERIFY(!laser->getArmAction()->isChecked());
        QTRY_VERIFY(idn ? idnDac.closed : etherDream.commands.endsWith("ds"));
        const ReceivedPoint last = got[got.size() - tail - 1];
        for (int i = got.size() - tail; i < got.size(); ++i)
            QVERIFY(same(got[i], {last.x, last.y, 0, 0, 0, 0}, i));
        if (ending != "key")
            return;
        // Armed again without a second question, and the red label with it.
        const int before = got.size();
        asked.clear();
        answer(QMessageBox::Cancel);
        laser->getArmAction()->trigger();
        QVERIFY(asked.isEmpty());
        QVERIFY(label->isVisible());
        QTRY_VERIFY(got.size() > before);
        w.close();
        QVERIFY(!label->isVisible());
    }

    void discovery()
    {
        FakeEtherDream etherDream;
        FakeIdn idn;
        etherDream.maxRate = 35000;
        etherDream.broadcastPort = freePort();
        DacDiscovery discovery;
        discovery.start(quint16(etherDream.broadcastPort), QHostAddress(QHostAddress::LocalHost),
                        idn.port());
        etherDream.announce();
        QTRY_COMPARE(discovery.dacs().size(), 2);
        for (const DacInfo& dac : discovery.dacs()) {
            const bool isIdn = dac.protocol == LaserOutput::Idn;
            QCOMPARE(dac.address.toString(), QStringLiteral("127.0.0.1"));
            QCOMPARE(dac.port, isIdn ? idn.port() : quint16(7765));
            QCOMPARE(dac.name, isIdn ? QStringLiteral("FakeIdn")
                                     : QStringLiteral("Ether Dream 00:00:00:00:00:00"));
            QCOMPARE(dac.maxRate, isIdn ? 0 : 35000);
        }
    }

    // A DAC heard fills the address, a bad one disables OK, and what the dialog returns comes
    // back through the settings into the next dialog.
    void settingsDialog()
    {
        FakeIdn idn;
        LaserSettingsDialog dialog(LaserSettings(), nullptr);
        dialog.m_discovery->start(freePort(), QHostAddress(QHostAddress::LocalHost), idn.port());
        QTRY_COMPARE(dialog.m_dacs->count(), 1);
        dialog.m_dacs->setCurrentRow(0);
        QCOMPARE(dialog.getSettings().target(), QStringLiteral("idn:127.0.0.1:%1").arg(idn.port()));
        const QPushButton* ok = dialog.m_buttons->button(QDialogButtonBox::Ok);
        QVERIFY(ok->isEnabled());
        dialog.m_address->setText("10.0.0.7:70000");
        QVERIFY(!ok->isEnabled());
        dialog.m_protocol->setCurrentIndex(0);
        dialog.m_address->setText("[::1]:7766");
        QVERIFY(ok->isEnabled());
        dialog.m_rate->setValue(45000);
        dialog.m_scale->setValue(40);
        dialog.m_flipY->setChecked(true);
        QSettings stored;
        dialog.getSettings().write(stored);
        LaserSettings read;
        read.read(stored);
        const LaserSettings back = LaserSettingsDialog(read, nullptr).getSettings();
        QCOMPARE(back.target(), QStringLiteral("etherdream:[::1]:7766"));
        QCOMPARE(back.rate, 45000);
        QCOMPARE(back.options.scalePercent, 40);
        QCOMPARE(back.options.flipX, false);
        QCOMPARE(back.options.flipY, true);
    }
};

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
