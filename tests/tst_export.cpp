// SPDX-License-Identifier: GPL-3.0-or-later
// Export: pictures and animations read back (PNG pixels, SVG through QSvgRenderer, GIF through
// Qt's reader and giflib), and the export dialogs' choice of format.
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "export/ExportDialogs.h"
#include "export/ExportOptionsDialog.h"
#include "export/Exporter.h"
#include "export/GifWriter.h"
#include "playback/Player.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QSettings>
#include <QSvgRenderer>
#include <QtTest>

#include <gif_lib.h>

#include <tuple>
#include <unistd.h>

namespace {

const QSize Size(200, 200);
const QList<QRgb> Colours{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

// A picture as its size, the colour on the frame's line and the colour away from it.
QString snapshot(const QImage& image)
{
    return QString::asprintf("%dx%d %08x %08x", image.width(), image.height(), image.pixel(99, 100),
                             image.pixel(99, 50));
}

} // namespace

class TestExport : public QObject
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

    // What the export dialogs make of a name and a filter (the other: SVG for pictures, the
    // PNG sequence for animations).
    void dialogFormat()
    {
        // clang-format off
        const QVector<std::tuple<bool, QString, bool, QString, int>> rows{
            {false, "a.SVG", false, "a.SVG", Exporter::Svg}, {false, "a.png", true, "a.png", Exporter::Png},
            {false, "a", true, "a.svg", Exporter::Svg}, {false, "a.gif", false, "a.gif.png", Exporter::Png},
            {true, "a.gif", true, "a.gif", Exporter::Gif}, {true, "f", true, "f", Exporter::PngSequence},
            {true, "a.png", false, "a.png.gif", Exporter::Gif}};
        // clang-format on
        for (auto [animation, name, other, written, format] : rows) {
            const QString row = name + (other ? " other" : "") + (animation ? " animation" : "");
            const int got = animation ? ExportDialogs::animationFormat(name, other)
                                      : ExportDialogs::pictureFormat(name, other);
            COMPARE_ROW(row, name, written);
            COMPARE_ROW(row, got, format);
        }
    }

    // The window's dialogs, answered from a timer: the refusals, the suggested name in the export
    // folder, the guard, the system's reason, the GIF's limit and the remembered options.
    void dialogs_data()
    {
        QTest::addColumn<bool>("picture");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("answer"); // a name in the folder "to"
        QTest::addColumn<QString>("message");
        QTest::addColumn<QSize>("size"); // of the picture written; empty: nothing is
        // clang-format off
        const auto row = [](const char* tag, bool picture, bool open, const char* answer,
                            const char* message, QSize size = QSize()) {
            QTest::newRow(tag) << picture << open << answer << message << size; };
        row("picture, no show", true, false, "", "Open a show");
        row("animation, no show", false, false, "", "Open a show");
        row("picture", true, true, "p", "", Size);
        row("120 fps animation", false, true, "a.gif", "50 frames");
        row("over the show", true, true, "hard.png", "is an input");
        row("suffix added onto a file", true, true, "x.jpg", "exists", Size);
        row("full disk", true, true, "full/p.png", "No space left");
        row("options: 40x30, bare", true, true, "o.png", "", QSize(40, 30));
        // clang-format on
    }

    void dialogs()
    {
        QFETCH(bool, picture);
        QFETCH(bool, open);
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        const QString to = dir.filePath("to"), out = to + '/' + answer;
        QDir(dir.path()).mkpath("to"), QDir(dir.path()).mkdir("from");
        ::link(qPrintable(m_show), qPrintable(to + "/hard.png"));
        QFile(to + "/x.jpg.png").open(QIODevice::WriteOnly);
        if (answer.startsWith("full") && fullDisk(to + "/full").isEmpty())
            QSKIP("a small file system cannot be mounted here");
        QSettings().setValue("ExportFolder", dir.filePath("from"));
        QWidget window;
        window.resize(Size);
        ExportDialogs dialogs(&window);
        dialogs.readSettings(QSettings());
        dialogs.setShow(open ? m_show : QString());
        QString folder, suggested, boxes;
        QTimer driver;
        connect(&driver, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* files = qobject_cast<QFileDialog*>(modal);
            if (files && folder.isEmpty()) { // answered once, outside this timer's slot
                folder = files->directory().path();
                suggested = QFileInfo(files->selectedFiles().value(0)).fileName();
                files->setDirectory(to);
                files->selectFile(answer);
                QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
            } else if (auto* options = qobject_cast<ExportOptionsDialog*>(modal)) {
                options->setSize(size, Size);
                options->setDecorated(false);
                options->accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                boxes += box->text();
                box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes)->click()
                                              : void(box->close());
            }
        });
        driver.start(5);
        if (size != Size)
            dialogs.getOptionsAction()->trigger();
        if (picture)
            dialogs.exportPicture(2, IldaView::Front);
        else
            dialogs.exportAnimation(
                IldaView::Front, [](int) { return qint64(1e9 / 120); }, true);
        if (answer.startsWith("full"))
            QProcess::execute("umount", {to + "/full"});
        QVERIFY2(message.isEmpty() ? boxes.isEmpty() : boxes.contains(message), qPrintable(boxes));
        QCOMPARE(suggested, open ? picture ? "show-frame2.png" : "show.gif" : "");
        QCOMPARE(folder, open ? dir.filePath("from") : "");
        const QImage written(out.endsWith(".png") ? out : out + ".png");
        QCOMPARE(written.size(), size.isEmpty() ? QSize(0, 0) : size);
        if (!size.isEmpty()) // the frame of the active view, or none
            QCOMPARE(written.pixel(0, 0) == qRgb(0, 0, 0), size != Size);
        QSettings settings;
        dialogs.writeSettings(settings);
        QCOMPARE(settings.value("ExportFolder").toString(),
                 open ? QFileInfo(out).absolutePath() : dir.filePath("from"));
        QCOMPARE(settings.value("ExportSize").toSize(), size == Size ? QSize() : size);
        QCOMPARE(QFileInfo(m_show).size(), qint64(3 * 32 + 3 * 2 * 8 + 32)); // never written
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

    // A GIF shows at most 50 frames per second and keeps the show's total time.
    void gifTiming_data()
    {
        QTest::addColumn<int>("fps");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("delays"); // hundredths of a second; 0 for a frame left out
        QTest::newRow("30 fps") << 30 << 6 << "3 4 3 3 4 3";
        QTest::newRow("50 fps") << 50 << 4 << "2 2 2 2";
        QTest::newRow("120 fps") << 120 << 12 << "2 0 2 0 0 2 0 2 0 0 2 0";
        QTest::newRow("60 fps: the last start too near the end")
            << 60 << 5 << "2 3 0 3 0"; // starts 0 2 3 5 7, end 8
        QTest::newRow("1000 fps, one frame") << 1000 << 1 << "2";
    }

    void gifTiming()
    {
        QFETCH(int, fps);
        QFETCH(int, frames);
        const Exporter::GifTiming timing(frames, [fps](int) { return qint64(1000000000) / fps; });
        QStringList delays;
        for (int i = 0; i < frames; ++i)
            delays << QString::number(timing.delay(i));
        QTEST(delays.join(' '), "delays");
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
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
