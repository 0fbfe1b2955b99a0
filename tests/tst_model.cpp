// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's capacity and the store's cursor.
#include "TestSupport.h"

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
};

QTEST_MAIN(TestModel)
#include "tst_model.moc"
