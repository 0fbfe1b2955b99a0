#include "IldaBuilder.h"

#include "info/InfoWindow.h"
#include "model/IldaFrames.h"

#include <QtTest>

class TestModel : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // The store is filled only by readers; a file of n one-point frames.
    void loadFrames(int n)
    {
        IldaBuilder b;
        for (int f = 0; f < n; ++f)
            b.header(1, "", "", 1, f, n).point1(f, 0, 0, 0);
        b.end();
        InfoWindow info;
        QCOMPARE(globalIldaFrames.loadFile(writeTestFile(m_dir, "frames.ild", b.bytes()), info),
                 QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), n);
    }

private slots:
    void pointLimit()
    {
        IldaFrame frame(QStringLiteral("n"), QStringLiteral("c"), 3, 9);
        for (int i = 0; i < IldaFrame::MaxPoints + 5; ++i) {
            IldaPoint p;
            p.x = qint16(i);
            frame.appendPoint(p);
        }
        QCOMPARE(frame.getNumberOfPoints(), 32768);
        QCOMPARE(int(frame.getPoint(32767).x), 32767);
        QCOMPARE(frame.getFrameNumber(), 3);
        QCOMPARE(frame.getTotalFrames(), 9);
    }

    void appendPointsStopsAtCapacity()
    {
        IldaFrame frame;
        int count = 30000;
        IldaPoint* block = frame.appendPoints(count);
        QCOMPARE(count, 30000);
        block[29999].x = 7;
        count = 5000; // only 2768 fit
        block = frame.appendPoints(count);
        QCOMPARE(count, 2768);
        block[0].y = 9;
        QCOMPARE(frame.getNumberOfPoints(), 32768);
        QCOMPARE(int(frame.getPoint(29999).x), 7);
        QCOMPARE(int(frame.getPoint(30000).y), 9);
        count = 1;
        frame.appendPoints(count);
        QCOMPARE(count, 0);
        count = -3;
        frame.appendPoints(count);
        QCOMPARE(count, 0);
        QCOMPARE(frame.getNumberOfPoints(), 32768);
    }

    void pointOutsideTheFrame_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("-1") << -1;
        QTest::newRow("count") << 2;
        QTest::newRow("far") << 1000000;
    }

    void pointOutsideTheFrame()
    {
        QFETCH(int, index);
        IldaFrame frame;
        IldaPoint lit;
        lit.x = 5;
        lit.red = 200;
        frame.appendPoint(lit);
        frame.appendPoint(lit);
        const IldaPoint p = frame.getPoint(index);
        QVERIFY(p.blanked);
        QCOMPARE(int(p.x) | int(p.y) | int(p.z) | p.red | p.green | p.blue, 0);
        QCOMPARE(int(frame.getPoint(1).x), 5);
    }

    void copiesAreIndependentValues()
    {
        IldaFrame a(QStringLiteral("a"), QString(), 0, 1);
        IldaPoint p;
        a.appendPoint(p);
        IldaFrame b = a;
        b.appendPoint(p);
        QCOMPARE(a.getNumberOfPoints(), 1);
        QCOMPARE(b.getNumberOfPoints(), 2);
    }

    void emptyStore()
    {
        InfoWindow info;
        QCOMPARE(globalIldaFrames.loadFile(
                     writeTestFile(m_dir, "e.ild", IldaBuilder().end().bytes()), info),
                 QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 0);
        QVERIFY(globalIldaFrames.isFirst());
        QVERIFY(globalIldaFrames.isLast());
        const IldaFrame none = globalIldaFrames.getCurrentFrame();
        QCOMPARE(none.getNumberOfPoints(), 0);
        QVERIFY(none.getName().isEmpty());
        QVERIFY(none.getCompany().isEmpty());
        QCOMPARE(none.getFrameNumber(), 0);
        QCOMPARE(none.getTotalFrames(), 1);

        globalIldaFrames.gotoNext();
        globalIldaFrames.gotoPrevious();
        globalIldaFrames.gotoFrame(0);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 0);
        globalIldaFrames.gotoLast();
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), -1);
        QCOMPARE(globalIldaFrames.getCurrentFrame().getNumberOfPoints(), 0);
        QVERIFY(globalIldaFrames.isFirst());
        globalIldaFrames.gotoFirst();
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 0);
    }

    void navigation_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("expected");

        QTest::newRow("next in the middle") << 5 << 2 << "next" << 3;
        QTest::newRow("next at the end stays") << 5 << 4 << "next" << 4;
        QTest::newRow("previous at the start stays") << 5 << 0 << "previous" << 0;
        QTest::newRow("previous") << 5 << 3 << "previous" << 2;
        QTest::newRow("last") << 5 << 1 << "last" << 4;
        QTest::newRow("first") << 5 << 3 << "first" << 0;
        QTest::newRow("goto inside") << 5 << 0 << "goto 4" << 4;
        QTest::newRow("goto count ignored") << 5 << 2 << "goto 5" << 2;
        QTest::newRow("goto -1 ignored") << 5 << 2 << "goto -1" << 2;
        QTest::newRow("one frame next") << 1 << 0 << "next" << 0;
    }

    void navigation()
    {
        QFETCH(int, frames);
        QFETCH(int, start);
        QFETCH(QString, operation);
        QFETCH(int, expected);
        loadFrames(frames);
        globalIldaFrames.gotoFrame(start);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), start);
        if (operation == "next")
            globalIldaFrames.gotoNext();
        else if (operation == "previous")
            globalIldaFrames.gotoPrevious();
        else if (operation == "last")
            globalIldaFrames.gotoLast();
        else if (operation == "first")
            globalIldaFrames.gotoFirst();
        else
            globalIldaFrames.gotoFrame(operation.mid(5).toInt());
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), expected);
        QCOMPARE(int(globalIldaFrames.getCurrentFrame().getPoint(0).x), expected);
        QCOMPARE(globalIldaFrames.isFirst(), expected == 0);
        QCOMPARE(globalIldaFrames.isLast(), expected == frames - 1);
    }

    void displayFlagsStartOn()
    {
        IldaFrames* store = new IldaFrames; // large: keep it off the stack
        QVERIFY(store->getShowBlankedLines());
        QVERIFY(store->getShowDots());
        store->setShowDots(false);
        QVERIFY(!store->getShowDots());
        QVERIFY(store->getShowBlankedLines());
        delete store;
    }

    void defaultPalettes_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QRgb>("ilda");
        QTest::newRow("0 red") << 0 << qRgb(255, 0, 0);
        QTest::newRow("15") << 15 << qRgb(255, 240, 0);
        QTest::newRow("16 yellow") << 16 << qRgb(255, 255, 0);
        QTest::newRow("24 green") << 24 << qRgb(0, 255, 0);
        QTest::newRow("25") << 25 << qRgb(0, 255, 36);
        QTest::newRow("31 cyan") << 31 << qRgb(0, 255, 255);
        QTest::newRow("32") << 32 << qRgb(0, 227, 255);
        QTest::newRow("40 blue") << 40 << qRgb(0, 0, 255);
        QTest::newRow("48 magenta") << 48 << qRgb(255, 0, 255);
        QTest::newRow("49") << 49 << qRgb(255, 32, 255);
        QTest::newRow("56 white") << 56 << qRgb(255, 255, 255);
        QTest::newRow("57") << 57 << qRgb(255, 224, 224);
        QTest::newRow("63") << 63 << qRgb(255, 32, 32);
        QTest::newRow("64 white") << 64 << qRgb(255, 255, 255);
        QTest::newRow("255 white") << 255 << qRgb(255, 255, 255);
    }

    void defaultPalettes()
    {
        QFETCH(int, index);
        QFETCH(QRgb, ilda);
        IldaFrames* store = new IldaFrames;
        for (int projector : {0, 1, 128, 255})
            QCOMPARE(store->getPaletteEntry(projector, index), ilda);
        delete store;
    }
};

QTEST_MAIN(TestModel)
#include "tst_model.moc"
