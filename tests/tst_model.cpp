// The frame's capacity, the store's cursor and the two built-in colour tables.
#include "TestSupport.h"

#include "model/Palettes.h"

#include <QtTest>

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    // As many points as fit; beyond the capacity they are lost without notice. Outside the
    // frame: a blanked black point at the origin.
    void pointLimit()
    {
        IldaFrame frame;
        IldaPoint p;
        for (p.x = 0; p.x < 30000; ++p.x)
            frame.appendPoint(p);
        int count = 5000;
        frame.appendPoints(count)[2767].red = 200;
        QCOMPARE(count, 2768); // what was left
        for (int more : {1, -3}) {
            frame.appendPoints(count = more);
            QVERIFY2(count == 0, qPrintable(QString::number(more)));
        }
        frame.appendPoint(p);
        QCOMPARE(frame.getNumberOfPoints(), 32768);
        QCOMPARE(frame.getPoint(29999).x, qint16(29999));
        QCOMPARE(frame.getPoint(32767).red, uchar(200));
        for (int outside : {-1, 32768}) {
            const IldaPoint out = frame.getPoint(outside);
            const QVector<int> xyzrgb{out.x, out.y, out.z, out.red, out.green, out.blue};
            QVERIFY2(out.blanked, qPrintable(QString::number(outside)));
            QCOMPARE(xyzrgb, QVector<int>(6, 0));
        }
    }

    // The cursor of an empty store stays at 0, whatever moves it.
    void emptyStoreCursor()
    {
        globalIldaFrames.gotoLast();
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 0);
    }

    // The ILDA table runs round the colour circle: red, yellow, green, cyan, blue, magenta,
    // white and back to red, each channel changing evenly between those corners.
    void palettes()
    {
        const QVector<QPair<int, QColor>> corners{
            {0, Qt::red},   {16, Qt::yellow},  {24, Qt::green}, {31, Qt::cyan},
            {40, Qt::blue}, {48, Qt::magenta}, {56, Qt::white}, {64, Qt::red}};
        const auto channel = [](const QColor& c, int k) {
            return int(c.rgb() >> (16 - 8 * k)) & 0xFF;
        };
        for (int c = 0; c + 1 < corners.size(); ++c) {
            const auto [from, a] = corners[c];
            const auto [to, b] = corners[c + 1];
            for (int i = from; i < to; ++i)
                for (int k = 0; k < 3; ++k) {
                    const double t = double(i - from) / (to - from);
                    const double expected = channel(a, k) + t * (channel(b, k) - channel(a, k));
                    QVERIFY2(qAbs(ildaDefaultPalette[i * 3 + k] - expected) < 1.0,
                             qPrintable(QString::number(i)));
                }
        }
        // The controller's table: white, the three primaries lightened halfway, twelve hues 30
        // degrees apart at full strength with no channel but 0, 128 or 255, and white for the rest.
        for (int i = 0; i < 64; ++i) {
            const uchar* e = vectrionDefaultPalette + i * 3;
            const QColor c(e[0], e[1], e[2]);
            const int hue = i < 4 ? (i - 1) * 120 : (i - 4) * 30;
            const auto plain = [](int v) { return v == 0 || v == 128 || v == 255; };
            const bool pure = plain(e[0]) && plain(e[1]) && plain(e[2]);
            QVERIFY2(i == 0 || i > 15 ? c == Qt::white
                                      : qAbs(c.hsvHue() - hue) <= 1 && c.value() == 255 && pure &&
                                            c.hsvSaturation() == (i < 4 ? 127 : 255),
                     qPrintable(QString::number(i)));
        }
    }
};

QTEST_MAIN(TestModel)
#include "tst_model.moc"
