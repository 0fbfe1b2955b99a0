// The frame, the frame store's cursor and display flags, and the built-in palettes.
#include "IldaBuilder.h"

#include "info/InfoWindow.h"
#include "model/IldaFrames.h"

#include <QtTest>

#include <memory>

class TestModel : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // The store is filled only by readers: n one-point frames, the point's x the frame number.
    void loadFrames(int n)
    {
        IldaBuilder b;
        for (int f = 0; f < n; ++f)
            b.header(1, "", "", 1, f, n).point1(f, 0, 0, 0);
        InfoWindow info;
        QCOMPARE(
            globalIldaFrames.loadFile(writeTestFile(m_dir, "frames.ild", b.end().bytes()), info),
            QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), n);
    }

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
        IldaPoint* block = frame.appendPoints(count);
        QCOMPARE(count, 2768); // as many as fit
        block[count - 1] = p;
        frame.appendPoint(p); // full: lost without notice
        for (int more : {1, -3}) {
            count = more;
            frame.appendPoints(count);
            QCOMPARE(count, 0);
        }
        QCOMPARE(frame.getNumberOfPoints(), 32768);
        QCOMPARE(int(frame.getPoint(29999).x), 29999);
        QCOMPARE(int(frame.getPoint(32767).red), 200);

        // Outside the frame: a blanked black point at the origin.
        for (int index : {-1, 32768, 1000000}) {
            const IldaPoint out = frame.getPoint(index);
            QVERIFY(out.blanked);
            QCOMPARE(QVector<int>({out.x, out.y, out.z, out.red, out.green, out.blue}),
                     QVector<int>(6, 0));
        }
    }

    void emptyStore()
    {
        loadFrames(0);
        QVERIFY(globalIldaFrames.isFirst());
        QVERIFY(globalIldaFrames.isLast());
        const IldaFrame none = globalIldaFrames.getCurrentFrame();
        QCOMPARE(none.getNumberOfPoints(), 0);
        QCOMPARE(none.getName() + none.getCompany(), QString());
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
        QTest::newRow("goto inside") << 5 << 0 << "4" << 4;
        QTest::newRow("goto count ignored") << 5 << 2 << "5" << 2;
        QTest::newRow("goto -1 ignored") << 5 << 2 << "-1" << 2;
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
            globalIldaFrames.gotoFrame(operation.toInt());
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), expected);
        QCOMPARE(int(globalIldaFrames.getCurrentFrame().getPoint(0).x), expected);
        QCOMPARE(globalIldaFrames.isFirst(), expected == 0);
        QCOMPARE(globalIldaFrames.isLast(), expected == frames - 1);
    }

    void displayFlagsStartOn()
    {
        const auto store = std::make_unique<IldaFrames>(); // large: kept off the stack
        QVERIFY(store->getShowBlankedLines());
        QVERIFY(store->getShowDots());
    }

    void defaultPalettes()
    {
        const auto store = std::make_unique<IldaFrames>();
        const QVector<QPair<int, QRgb>> named{{0, qRgb(255, 0, 0)},      {16, qRgb(255, 255, 0)},
                                              {24, qRgb(0, 255, 0)},     {31, qRgb(0, 255, 255)},
                                              {40, qRgb(0, 0, 255)},     {48, qRgb(255, 0, 255)},
                                              {56, qRgb(255, 255, 255)}, {63, qRgb(255, 32, 32)}};
        for (const auto& [index, colour] : named)
            QCOMPARE(store->getPaletteEntry(0, index), colour);
        // Every projector starts from the same table; indices 64-255 are white.
        for (int projector = 0; projector < 256; ++projector)
            for (int index = 0; index < 256; ++index)
                QCOMPARE(store->getPaletteEntry(projector, index),
                         index < 64 ? store->getPaletteEntry(0, index) : qRgb(255, 255, 255));
    }
};

QTEST_MAIN(TestModel)
#include "tst_model.moc"
