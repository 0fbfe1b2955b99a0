// Pictures and animations read back: PNG pixels, SVG through QSvgRenderer, GIF through giflib.
#include "IldaBuilder.h"
#include "export/Exporter.h"
#include "export/FramePainter.h"
#include "export/GifWriter.h"
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "tools/Inspector.h"
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
    void picture_data();
    void picture();
    void animation_data();
    void animation();
    void quantize_data();
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

void TestExport::picture_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("png") << int(Exporter::Png);
    QTest::newRow("svg") << int(Exporter::Svg);
}

void TestExport::picture()
{
    QFETCH(int, format);
    const QString path = m_dir.filePath(QString("p%1").arg(format));
    globalIldaFrames.gotoFrame(1);
    QCOMPARE(Exporter::writePicture(path, Exporter::Format(format), IldaView::Front, Size),
             QString());

    QImage image;
    if (format == Exporter::Png) {
        image.load(path, "png");
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("<image")); // lines, not an embedded bitmap
        QSvgRenderer svg(path);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox(), QRect(QPoint(0, 0), Size));
        image = QImage(Size, QImage::Format_RGB32);
        QPainter painter(&image);
        svg.render(&painter);
    }
    QCOMPARE(image.size(), Size);
    // The SVG's one-pixel line is smoothed over two rows: same hue, at least half as bright.
    const QColor line = image.pixelColor(OnLine);
    QCOMPARE(line.hue(), QColor(Colours[1]).hue());
    QVERIFY(line.value() >= (format == Exporter::Png ? 255 : 128));
    QCOMPARE(image.pixel(OffLine), Black);
}

void TestExport::animation_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("cancelAt"); // frames done when the progress says stop, or 0
    QTest::addColumn<bool>("fails");
    QTest::newRow("gif") << int(Exporter::Gif) << "a.gif" << 0 << false;
    QTest::newRow("png sequence") << int(Exporter::PngSequence) << "seq" << 0 << false;
    QTest::newRow("gif cancelled") << int(Exporter::Gif) << "c.gif" << 2 << false;
    QTest::newRow("sequence cancelled") << int(Exporter::PngSequence) << "cseq" << 2 << false;
    QTest::newRow("gif unwritable") << int(Exporter::Gif) << "no/dir/u.gif" << 0 << true;
}

void TestExport::animation()
{
    QFETCH(int, format);
    QFETCH(QString, name);
    QFETCH(int, cancelAt);
    QFETCH(bool, fails);
    const QString path = m_dir.filePath(name);
    globalIldaFrames.gotoFrame(1);
    const QString error = Exporter::writeAnimation(
        path, Exporter::Format(format), IldaView::Front, Size,
        [](int) { return qint64(1000000000 / 30); }, true,
        [cancelAt](int done, int total) { return done != cancelAt && total == 3; });
    QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 1);
    QCOMPARE(error.startsWith("Cannot write"), fails);
    QCOMPARE(QFileInfo::exists(path), !fails && !cancelAt);
    if (fails || cancelAt)
        return;

    QList<QImage> frames;
    int delay = 0;
    if (format == Exporter::Gif) {
        frames = readGif(path, delay);
        QCOMPARE(delay, 10); // 3 frames at 30 fps: 100 ms
    } else {
        for (int i = 0; i < 3; ++i)
            frames << QImage(QDir(path).filePath(Exporter::sequenceName(i, 3)));
    }
    QCOMPARE(frames.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(frames[i].size(), Size);
        QCOMPARE(frames[i].pixel(OnLine), Colours[i]);
        QCOMPARE(frames[i].pixel(OffLine), Black);
    }
}

void TestExport::quantize_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<int>("tolerance"); // per channel

    QImage few(8, 8, QImage::Format_RGB32);
    few.fill(qRgb(60, 140, 240));
    few.setPixel(3, 3, qRgb(1, 2, 3));
    QImage many(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            many.setPixel(x, y, qRgb(x * 4, y * 4, 128));
    for (QImage* image : {&few, &many})
        image->setPixel(0, 0, Black);
    QTest::newRow("few colours: exact") << few << 0;
    QTest::newRow("many colours: the cube") << many << 26;
}

void TestExport::quantize()
{
    QFETCH(QImage, image);
    QFETCH(int, tolerance);
    QVector<QRgb> palette;
    QByteArray indices;
    GifWriter::quantize(image, palette, indices);
    QVERIFY(palette.size() <= 256);
    QCOMPARE(palette[uchar(indices[0])], Black);
    for (int p = 0; p < indices.size(); ++p) {
        const QRgb want = image.pixel(p % image.width(), p / image.width());
        const QRgb got = palette[uchar(indices[p])];
        const int off = qMax(qAbs(qRed(want) - qRed(got)), qMax(qAbs(qGreen(want) - qGreen(got)),
                                                                qAbs(qBlue(want) - qBlue(got))));
        QVERIFY2(off <= tolerance, qPrintable(QString::number(p)));
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
    QTest::newRow("png with --fps") << "png" << QStringList{"--fps", "10"} << 2 << QByteArray();
    QTest::newRow("fps out of range") << "gif" << QStringList{"--fps", "121"} << 2 << QByteArray();
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
