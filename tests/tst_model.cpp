// The frame's capacity, the store's cursor and the ILDA colour table.
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
        for (int more : {1, -3})
            COMPARE_ROW(QString::number(more), (frame.appendPoints(count = more), count), 0);
        frame.appendPoint(p);
        QCOMPARE(frame.getNumberOfPoints(), 32768);
        QCOMPARE(frame.getPoint(29999).x, qint16(29999));
        QCOMPARE(frame.getPoint(32767).red, uchar(200));
        for (int i : {-1, 32768}) { // as x, y, z, blanked, red, green, blue
            const IldaPoint o = frame.getPoint(i);
            COMPARE_ROW(QString::number(i), (Pt{o.x, o.y, o.z, o.blanked, o.red, o.green, o.blue}),
                        (Pt{0, 0, 0, 1, 0, 0, 0}));
        }
        // The cursor of an empty store stays at 0.
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
    }
};

QTEST_MAIN(TestModel)
#include "tst_model.moc"
