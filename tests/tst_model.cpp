// The frame's capacity, the store's cursor and the two built-in colour tables.
#include "TestSupport.h"

#include "model/Palettes.h"

#include <QtTest>

#include <memory>

class TestModel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void pointLimit()
    {
        IldaFrame frame;
        IldaPoint p;
        p.red = 200;
        for (int i = 0; i < 30000; ++i) {
            p.x = qint16(i);
            frame.appendPoint(p);
        }
        int count = 5000;
        frame.appendPoints(count)[2767] = p;
        QCOMPARE(count, 2768); // as many as fit
        frame.appendPoint(p);  // full: lost without notice
        for (int more : {1, -3}) {
            count = more;
            frame.appendPoints(count);
            QCOMPARE(count, 0);
        }
        QCOMPARE(frame.getNumberOfPoints(), 32768);
        QCOMPARE(int(frame.getPoint(29999).x), 29999);
        QCOMPARE(int(frame.getPoint(32767).red), 200);
        // Outside the frame: a blanked black point at the origin.
        for (int index : {-1, 32768}) {
            const IldaPoint out = frame.getPoint(index);
            QCOMPARE((Pt{out.x, out.y, out.z, out.blanked, out.red, out.green, out.blue}),
                     (Pt{0, 0, 0, 1, 0, 0, 0}));
        }
    }

    // Frames of one point each, x the frame number; "n" next, "p" previous, "f" first, "l" last,
    // a number goes to that frame.
    void navigation_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("expected");
        QTest::newRow("next, next") << 5 << QStringList{"2", "n", "n"} << 4;
        QTest::newRow("next at the end stays") << 5 << QStringList{"4", "n"} << 4;
        QTest::newRow("previous at the start stays") << 5 << QStringList{"p", "p"} << 0;
        QTest::newRow("previous") << 5 << QStringList{"3", "p"} << 2;
        QTest::newRow("last, first, last") << 5 << QStringList{"l", "f", "l"} << 4;
        QTest::newRow("goto outside ignored") << 5 << QStringList{"2", "5", "-1"} << 2;
        QTest::newRow("one frame") << 1 << QStringList{"n", "l", "p"} << 0;
        QTest::newRow("empty: last is -1") << 0 << QStringList{"n", "0", "l"} << -1;
        QTest::newRow("empty: first is 0") << 0 << QStringList{"l", "p", "f"} << 0;
    }
    void navigation()
    {
        QFETCH(int, frames);
        QFETCH(QStringList, steps);
        QFETCH(int, expected);
        IldaBuilder b;
        for (int f = 0; f < frames; ++f)
            b.header(1, "", "", 1, f, frames).point1(f, 0, 0, 0);
        Probe probe;
        QCOMPARE(probe.load(writeTestFile(m_dir, "frames.ild", b.end().bytes())), QString());
        for (const QString& step : steps) {
            if (step == "n")
                globalIldaFrames.gotoNext();
            else if (step == "p")
                globalIldaFrames.gotoPrevious();
            else if (step == "f")
                globalIldaFrames.gotoFirst();
            else if (step == "l")
                globalIldaFrames.gotoLast();
            else
                globalIldaFrames.gotoFrame(step.toInt());
        }
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), expected);
        const IldaFrame current = globalIldaFrames.getCurrentFrame();
        QCOMPARE(current.getNumberOfPoints(), frames ? 1 : 0);
        QCOMPARE(int(current.getPoint(0).x), qMax(expected, 0));
        QCOMPARE(globalIldaFrames.isFirst(), expected <= 0);
        QCOMPARE(globalIldaFrames.isLast(), expected >= frames - 1);
    }

    // The ILDA table runs round the colour circle: red, yellow, green, cyan, blue, magenta,
    // white and back to red, each channel changing evenly between those corners.
    void ildaPalette()
    {
        const QVector<QPair<int, QRgb>> corners{{0, qRgb(255, 0, 0)},      {16, qRgb(255, 255, 0)},
                                                {24, qRgb(0, 255, 0)},     {31, qRgb(0, 255, 255)},
                                                {40, qRgb(0, 0, 255)},     {48, qRgb(255, 0, 255)},
                                                {56, qRgb(255, 255, 255)}, {64, qRgb(255, 0, 0)}};
        for (int c = 0; c + 1 < corners.size(); ++c) {
            const auto [from, a] = corners[c];
            const auto [to, b] = corners[c + 1];
            for (int i = from; i < to; ++i) {
                const double t = double(i - from) / (to - from);
                const double expected[] = {qRed(a) + t * (qRed(b) - qRed(a)),
                                           qGreen(a) + t * (qGreen(b) - qGreen(a)),
                                           qBlue(a) + t * (qBlue(b) - qBlue(a))};
                for (int channel = 0; channel < 3; ++channel)
                    QVERIFY2(qAbs(ildaDefaultPalette[i * 3 + channel] - expected[channel]) <= 1.0,
                             qPrintable(QStringLiteral("entry %1").arg(i)));
            }
        }
        // Every projector starts from that table; indices 64-255 are white.
        const auto store = std::make_unique<IldaFrames>(); // large: kept off the stack
        for (int projector : {0, 200, 255})
            for (int index = 0; index < 256; ++index)
                QCOMPARE(store->getPaletteEntry(projector, index),
                         index < 64 ? qRgb(ildaDefaultPalette[index * 3],
                                           ildaDefaultPalette[index * 3 + 1],
                                           ildaDefaultPalette[index * 3 + 2])
                                    : qRgb(255, 255, 255));
    }

    // The controller's table: white, the three primaries lightened halfway, twelve hues 30
    // degrees apart at full strength, and white for the rest.
    void controllerPalette()
    {
        for (int i = 0; i < 64; ++i) {
            const QColor c(vectrionDefaultPalette[i * 3], vectrionDefaultPalette[i * 3 + 1],
                           vectrionDefaultPalette[i * 3 + 2]);
            const QString at = QStringLiteral("entry %1").arg(i);
            if (i == 0 || i > 15) {
                QVERIFY2(c == Qt::white, qPrintable(at));
            } else if (i < 4) {
                QVERIFY2(c.hsvHue() == (i - 1) * 120 && c.value() == 255 &&
                             qAbs(c.hsvSaturation() - 127) <= 1,
                         qPrintable(at));
            } else {
                QVERIFY2(qAbs(c.hsvHue() - (i - 4) * 30) <= 1 && c.value() == 255 &&
                             c.hsvSaturation() == 255 &&
                             qMin(c.red(), qMin(c.green(), c.blue())) == 0,
                         qPrintable(at));
                for (int channel : {c.red(), c.green(), c.blue()})
                    QVERIFY2(channel == 0 || channel == 128 || channel == 255, qPrintable(at));
            }
        }
    }
};

QTEST_MAIN(TestModel)
#include "tst_model.moc"
