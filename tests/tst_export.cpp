// Playback and export: pictures and animations read back (PNG pixels, SVG through QSvgRenderer,
// GIF through Qt's reader and giflib), the player's schedule on a fake clock, and playback in the
// window.
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "export/ExportDialogs.h"
#include "export/Exporter.h"
#include "export/GifWriter.h"
#include "playback/Player.h"
#include "tools/Render.h"

#include <QAction>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QSettings>
#include <QSvgRenderer>
#include <QtTest>

#include <gif_lib.h>

namespace {

const QSize Size(200, 200);
const QList<QRgb> Colours{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

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

// A picture as its size, the colour on the frame's line and the colour away from it.
QString snapshot(const QImage& image)
{
    return QString::asprintf("%dx%d %08x %08x", image.width(), image.height(), image.pixel(99, 100),
                             image.pixel(99, 50));
}

} // namespace

// Named for the main window's friend declaration.
class TestPlayback : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_show;

private slots:
    void init() { QSettings().clear(); }

    void initTestCase()
    {
        isolateSettings();
        // Three frames, each one lit horizontal line through the centre in its own colour.
        IldaBuilder b;
        for (QRgb c : Colours) {
            b.header(5, "line", "t", 2, 0, 3);
            b.point5(-20000, 0, 0x40, 0, 0, 0).point5(20000, 0, 0, qRed(c), qGreen(c), qBlue(c));
        }
        m_show = writeTestFile(m_dir, "show.ild", b.end().bytes());
        QVERIFY(Probe().load(m_show).isEmpty());
        IldaView::Reset(true);
    }

    // What the export dialogs make of a name and the filter chosen with it.
    void dialogFormat_data()
    {
        QTest::addColumn<bool>("animation");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("otherFilter"); // SVG for pictures, the PNG sequence for animations
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("format");
        QTest::newRow("svg name, png filter")
            << false << "a.SVG" << false << "a.SVG" << int(Exporter::Svg);
        QTest::newRow("png name, svg filter")
            << false << "a.png" << true << "a.png" << int(Exporter::Png);
        QTest::newRow("bare name, svg filter")
            << false << "a" << true << "a.svg" << int(Exporter::Svg);
        QTest::newRow("gif name, png filter")
            << false << "a.gif" << false << "a.gif.png" << int(Exporter::Png);
        QTest::newRow("gif name, sequence filter")
            << true << "a.gif" << true << "a.gif" << int(Exporter::Gif);
        QTest::newRow("bare name, sequence filter")
            << true << "f" << true << "f" << int(Exporter::PngSequence);
        QTest::newRow("png name, gif filter")
            << true << "a.png" << false << "a.png.gif" << int(Exporter::Gif);
    }

    void dialogFormat()
    {
        QFETCH(bool, animation);
        QFETCH(QString, name);
        QFETCH(bool, otherFilter);
        const int format = animation ? ExportDialogs::animationFormat(name, otherFilter)
                                     : ExportDialogs::pictureFormat(name, otherFilter);
        QTEST(name, "written");
        QTEST(format, "format");
    }

    void write_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("cancelAt"); // frames done when the progress says stop, or 0
        QTest::addColumn<bool>("fails");
        QTest::newRow("png") << int(Exporter::Png) << "p.png" << 0 << false;
        QTest::newRow("svg") << int(Exporter::Svg) << "p.svg" << 0 << false;
        QTest::newRow("gif") << int(Exporter::Gif) << "a.gif" << 0 << false;
        QTest::newRow("png sequence") << int(Exporter::PngSequence) << "seq" << 0 << false;
        QTest::newRow("sequence into a full folder")
            << int(Exporter::PngSequence) << "seq" << 0 << true; // the row before filled it
        QTest::newRow("gif cancelled") << int(Exporter::Gif) << "c.gif" << 2 << false;
        QTest::newRow("sequence cancelled") << int(Exporter::PngSequence) << "cseq" << 2 << false;
        QTest::newRow("gif unwritable") << int(Exporter::Gif) << "no/dir/u.gif" << 0 << true;
        QTest::newRow("png unwritable") << int(Exporter::Png) << "no/dir/u.png" << 0 << true;
    }

    void write()
    {
        QFETCH(int, format);
        QFETCH(QString, name);
        QFETCH(int, cancelAt);
        QFETCH(bool, fails);
        const QString path = m_dir.filePath(name);
        const auto f = Exporter::Format(format);
        const bool picture = f == Exporter::Png || f == Exporter::Svg;
        const bool existed = QFileInfo::exists(path);
        const QStringList before = QDir(path).entryList(QDir::Files);
        globalIldaFrames.gotoFrame(2); // frames are read by index: the cursor stays
        const QString error =
            picture
                ? Exporter::writePicture(path, f, 1, IldaView::Front, Size)
                : Exporter::writeAnimation(
                      path, f, IldaView::Front, Size, [](int) { return qint64(1000000000 / 30); },
                      true,
                      [cancelAt](int done, int total) { return done != cancelAt && total == 3; });
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 2);
        QCOMPARE(error.startsWith("Cannot write"), fails);
        QCOMPARE(QFileInfo::exists(path), existed || (!fails && !cancelAt));
        if (fails || cancelAt) {
            QCOMPARE(QDir(path).entryList(QDir::Files), before); // nothing written, nothing lost
            return;
        }

        QStringList got, want;
        int delay = 0;
        for (QRgb c : picture ? QList<QRgb>{Colours[1]} : Colours)
            want << QString::asprintf("200x200 %08x ff000000", c);
        if (f == Exporter::Gif) {
            QImageReader gif(path);
            for (QImage image; gif.read(&image); delay += gif.nextImageDelay())
                got << snapshot(image);
            QCOMPARE(delay, 100); // 3 frames at 30 fps
            int status = 0;       // and through the library that wrote it
            GifFileType* lib = DGifOpenFileName(QFile::encodeName(path).constData(), &status);
            QVERIFY(lib && DGifSlurp(lib) == GIF_OK);
            const QSize screen(lib->SWidth, lib->SHeight);
            const int images = lib->ImageCount;
            DGifCloseFile(lib, &status);
            QCOMPARE(screen, Size);
            QCOMPARE(images, 3);
        } else if (f == Exporter::PngSequence) {
            for (int i = 0; i < 3; ++i)
                got << snapshot(QImage(QDir(path).filePath(Exporter::sequenceName(i, 3))));
        } else if (f == Exporter::Svg) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly) &&
                    !file.readAll().contains("<image")); // vectors
            QSvgRenderer svg(path);
            QCOMPARE(svg.viewBox(), QRect(QPoint(0, 0), Size));
            QImage image(Size, QImage::Format_RGB32);
            QPainter painter(&image);
            svg.render(&painter);
            got << snapshot(image);
        } else {
            got << snapshot(QImage(path));
        }
        QCOMPARE(got, want);
    }

    void quantize()
    {
        // More than 256 colours: the cube, near every colour and exact for black.
        QImage image(64, 64, QImage::Format_RGB32);
        for (int p = 0; p < 64 * 64; ++p)
            image.setPixel(p % 64, p / 64, qRgb(p % 64 * 4, p / 64 * 4, p ? 128 : 0));
        QVector<QRgb> palette;
        QByteArray indices;
        GifWriter::quantize(image, palette, indices);
        QCOMPARE(palette[uchar(indices[0])], qRgb(0, 0, 0));
        for (int p = 0; p < indices.size(); ++p) {
            const QRgb want = image.pixel(p % 64, p / 64);
            const QRgb got = palette[uchar(indices[p])];
            for (int d :
                 {qRed(want) - qRed(got), qGreen(want) - qGreen(got), qBlue(want) - qBlue(got)})
                QVERIFY2(qAbs(d) <= 26, qPrintable(QString::number(p)));
        }
    }

    void render_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("magic"); // the file's first bytes
        QTest::newRow("png") << "png" << QStringList() << 0 << QByteArray("\x89PNG");
        QTest::newRow("svg") << "SVG" << QStringList{"--frame", "1"} << 0 << QByteArray("<?xml");
        QTest::newRow("gif") << "gif" << QStringList{"--fps", "10"} << 0 << QByteArray("GIF89a");
        QTest::newRow("unknown suffix") << "jpg" << QStringList() << 2 << QByteArray();
        QTest::newRow("gif with --frame")
            << "gif" << QStringList{"--frame", "1"} << 2 << QByteArray();
    }

    void render()
    {
        QFETCH(QString, suffix);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QByteArray, magic);
        const QString out = m_dir.filePath("render." + suffix);
        QFile::remove(out);
        QString text;
        QTextStream stream(&text);
        options = QStringList{"--render", out} + options + QStringList{m_show};
        QCOMPARE(Render::run(options, stream, stream), status);
        QFile file(out);
        QCOMPARE(file.open(QIODevice::ReadOnly), !magic.isEmpty());
        QCOMPARE(file.read(magic.size()), magic);
    }

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

    void settingsRoundTrip()
    {
        auto state = [](const Player* p) {
            return QString::asprintf("%d %d %d %d", int(p->getMode()), p->getFps(), p->getPps(),
                                     p->isLooping());
        };
        {
            MainWindow w{QString()};
            QCOMPARE(state(w.getPlayer()), QStringLiteral("0 30 30000 1")); // the first run
            w.getPlayer()->setRate(Player::PointsPerSecond, 12, 12000);
            w.getPlayer()->getLoopAction()->setChecked(false);
            w.writeSettings(); // what closing the window does
        }
        MainWindow w{QString()};
        QCOMPARE(state(w.getPlayer()), QStringLiteral("1 12 12000 0"));
        QCOMPARE(QSettings().value("PlaybackMode").toString(), QStringLiteral("pps"));
    }
};

QTEST_MAIN(TestPlayback)
#include "tst_export.moc"
