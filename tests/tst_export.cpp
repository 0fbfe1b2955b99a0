// Pictures and animations read back: PNG pixels, SVG through QSvgRenderer, GIF through giflib.
#include "IldaBuilder.h"
#include "export/Exporter.h"
#include "export/GifWriter.h"
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "tools/Render.h"
#include "views/IldaView.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

#include <gif_lib.h>

namespace {

const QSize Size(200, 200);
const QRgb Black = qRgb(0, 0, 0);
const QList<QRgb> Colours{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
// On each frame's line, in the Front view of Size; and a pixel away from it.
const QPoint OnLine(99, 100);
const QPoint OffLine(99, 50);

// The frames of a GIF as images, and the sum of their delays in centiseconds.
QList<QImage> readGif(const QString& path, int& delay)
{
    QList<QImage> images;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
    if (!gif || DGifSlurp(gif) == GIF_ERROR)
        return images;
    delay = 0;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& frame = gif->SavedImages[i];
        const ColorMapObject* map =
            frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
        QImage image(frame.ImageDesc.Width, frame.ImageDesc.Height, QImage::Format_RGB32);
        for (int p = 0; p < image.width() * image.height(); ++p) {
            const GifColorType c = map->Colors[frame.RasterBits[p]];
            image.setPixel(p % image.width(), p / image.width(), qRgb(c.Red, c.Green, c.Blue));
        }
        images << image;
        GraphicsControlBlock control;
        if (DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK)
            delay += control.DelayTime;
    }
    DGifCloseFile(gif, &error);
    return images;
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void write_data();
    void write();
    void quantize();
    void render_data();
    void render();

private:
    QTemporaryDir m_dir;
    QString m_show;
};

void TestExport::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    // Three frames, each one lit horizontal line through the centre in its own colour.
    IldaBuilder b;
    for (QRgb c : Colours) {
        b.header(5, "line", "t", 2, 0, 3);
        b.point5(-20000, 0, 0x40, 0, 0, 0).point5(20000, 0, 0, qRed(c), qGreen(c), qBlue(c));
    }
    m_show = writeTestFile(m_dir, "show.ild", b.end().bytes());
    InfoWindow info;
    QVERIFY(globalIldaFrames.loadFile(m_show, info).isEmpty());
    IldaView::Reset(true);
}

void TestExport::write_data()
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

void TestExport::write()
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
    globalIldaFrames.gotoFrame(1);
    const QString error =
        picture
            ? Exporter::writePicture(path, f, IldaView::Front, Size)
            : Exporter::writeAnimation(
                  path, f, IldaView::Front, Size, [](int) { return qint64(1000000000 / 30); }, true,
                  [cancelAt](int done, int total) { return done != cancelAt && total == 3; });
    QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 1);
    QCOMPARE(error.startsWith("Cannot write"), fails);
    QCOMPARE(QFileInfo::exists(path), existed || (!fails && !cancelAt));
    if (fails || cancelAt) {
        QCOMPARE(QDir(path).entryList(QDir::Files), before); // nothing written, nothing lost
        return;
    }

    QList<QImage> frames;
    int delay = 0;
    if (f == Exporter::Gif) {
        frames = readGif(path, delay);
        QCOMPARE(delay, 10); // 3 frames at 30 fps: 100 ms
    } else if (f == Exporter::PngSequence) {
        for (int i = 0; i < 3; ++i)
            frames << QImage(QDir(path).filePath(Exporter::sequenceName(i, 3)));
    } else if (f == Exporter::Svg) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly) && !file.readAll().contains("<image")); // vectors
        QSvgRenderer svg(path);
        QCOMPARE(svg.viewBox(), QRect(QPoint(0, 0), Size));
        frames << QImage(Size, QImage::Format_RGB32);
        QPainter painter(&frames[0]);
        svg.render(&painter);
    } else {
        frames << QImage(path);
    }
    const QList<QRgb> colours = picture ? QList<QRgb>{Colours[1]} : Colours;
    QCOMPARE(frames.size(), colours.size());
    for (int i = 0; i < frames.size(); ++i) {
        QCOMPARE(frames[i].size(), Size);
        QCOMPARE(frames[i].pixel(OnLine), colours[i]);
        QCOMPARE(frames[i].pixel(OffLine), Black);
    }
}

void TestExport::quantize()
{
    // More than 256 colours: the cube, near every colour and exact for black.
    QImage image(64, 64, QImage::Format_RGB32);
    for (int p = 0; p < 64 * 64; ++p)
        image.setPixel(p % 64, p / 64, p ? qRgb(p % 64 * 4, p / 64 * 4, 128) : Black);
    QVector<QRgb> palette;
    QByteArray indices;
    GifWriter::quantize(image, palette, indices);
    QCOMPARE(palette[uchar(indices[0])], Black);
    for (int p = 0; p < indices.size(); ++p) {
        const QRgb want = image.pixel(p % 64, p / 64);
        const QRgb got = palette[uchar(indices[p])];
        for (int d : {qRed(want) - qRed(got), qGreen(want) - qGreen(got), qBlue(want) - qBlue(got)})
            QVERIFY2(qAbs(d) <= 26, qPrintable(QString::number(p)));
    }
}

void TestExport::render_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("magic"); // the file's first bytes
    QTest::newRow("png") << "png" << QStringList() << 0 << QByteArray("\x89PNG");
    QTest::newRow("svg") << "SVG" << QStringList{"--frame", "1"} << 0 << QByteArray("<?xml");
    QTest::newRow("gif") << "gif" << QStringList{"--fps", "10"} << 0 << QByteArray("GIF89a");
    QTest::newRow("unknown suffix") << "jpg" << QStringList() << 2 << QByteArray();
    QTest::newRow("gif with --frame") << "gif" << QStringList{"--frame", "1"} << 2 << QByteArray();
}

void TestExport::render()
{
    QFETCH(QString, suffix);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QByteArray, magic);
    const QString out = m_dir.filePath("render." + suffix);
    QFile::remove(out);
    QString text;
    QTextStream stream(&text);
    QCOMPARE(
        Render::run(QStringList{"--render", out} + options + QStringList{m_show}, stream, stream),
        status);
    QFile file(out);
    QCOMPARE(file.open(QIODevice::ReadOnly), !magic.isEmpty());
    QVERIFY(magic.isEmpty() || file.read(magic.size()) == magic);
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
