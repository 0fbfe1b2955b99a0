// The ILDA reader: sections, records, palettes, names, failures and what a load leaves behind.
#include "IldaBuilder.h"
#include "ModalCloser.h"

#include "info/InfoWindow.h"
#include "model/IldaFrames.h"

#include <QStandardItemModel>
#include <QtTest>

namespace {

// A point as x, y, z, blanked, red, green, blue.
using Point = QVector<int>;

QString invalidSection(int format)
{
    return QStringLiteral("Invalid data section (Format %1)!").arg(format);
}

IldaBuilder oneRecord(quint32 format)
{
    return IldaBuilder().header(format, "", "", 1);
}

// Frames of formats 0, 1, 4 and 5, a palette between them and the end header.
QVector<IldaBuilder> sampleSections()
{
    return {IldaBuilder()
                .header(0, "Zero", "Acme", 2, 0, 5)
                .point0(1, 2, 3, 0x40, 0)
                .point0(-4, -5, -6, 0x80, 24),
            IldaBuilder().header(2, "Pal", "", 2).colour(1, 2, 3).colour(4, 5, 6),
            IldaBuilder().header(1, "One", "", 1, 1, 5).point1(7, 8, 0, 1),
            IldaBuilder().header(4, "Four", "", 1, 2, 5).point4(9, 10, 11, 0, 12, 13, 14),
            IldaBuilder()
                .header(5, "Five", "", 2, 3, 5)
                .point5(1, 1, 0, 1, 1, 1)
                .point5(2, 2, 0, 2, 2, 2),
            IldaBuilder().end()};
}

QByteArray sampleFile()
{
    QByteArray bytes;
    for (const IldaBuilder& section : sampleSections())
        bytes += section.bytes();
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(IldaBuilder)

class TestIldaReader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    InfoWindow* m_info = nullptr;

    QString load(const QByteArray& bytes, const QString& name = QStringLiteral("test.ild"))
    {
        return globalIldaFrames.loadFile(writeTestFile(m_dir, name, bytes), *m_info);
    }
    int frames() const { return globalIldaFrames.getNumberOfFrames(); }
    int rows() const { return m_info->model()->rowCount(); }
    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < m_info->model()->columnCount(); ++c)
            cells << m_info->model()->index(r, c).data().toString();
        return cells;
    }
    Point point(int frame, int index) const
    {
        const IldaPoint p = globalIldaFrames.getFrame(frame).getPoint(index);
        return {p.x, p.y, p.z, p.blanked, p.red, p.green, p.blue};
    }
    QRgb colourOf(int frame, int index) const
    {
        const Point p = point(frame, index);
        return qRgb(p[4], p[5], p[6]);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_info = new InfoWindow;
    }
    void cleanupTestCase() { delete m_info; }

    // Cuts in every kind of place are proven by truncationEverywhere; these fail otherwise.
    void failures_data()
    {
        QTest::addColumn<IldaBuilder>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("text without signature")
            << IldaBuilder().raw("Just some notes about ILD files.\n") << "No ILDA header found!";
        QTest::newRow("signature split")
            << IldaBuilder().raw("ILD_A and ILDa") << "No ILDA header found!";
        QTest::newRow("format 3") << oneRecord(3) << "Unknown format (3)!";
        QTest::newRow("nonzero reserved format byte")
            << oneRecord(0x100) << "Unknown format (256)!";
        QTest::newRow("huge format after a frame")
            << oneRecord(1).point1(1, 1, 0, 0).header(0xFFFFFFFFu, "", "", 1)
            << "Unknown format (4294967295)!";
    }

    void failures()
    {
        QFETCH(IldaBuilder, file);
        QFETCH(QString, message);
        // A file loaded before must be gone whatever happens, and frame 0 current again.
        const IldaBuilder before = oneRecord(1).point1(0, 0, 0, 0);
        QCOMPARE(load(IldaBuilder(before).raw(before.bytes()).end().bytes()), QString());
        globalIldaFrames.gotoLast();
        QCOMPARE(load(file.bytes()), message);
        QCOMPARE(frames(), 0);
        QCOMPARE(rows(), 0);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 0);
        QCOMPARE(m_info->model()->headerData(4, Qt::Horizontal).toString(),
                 QStringLiteral("Projector"));
    }

    void fileNames()
    {
        // The palettes go back to their defaults even when the next load fails.
        QCOMPARE(load(IldaBuilder().header(2, "", "", 1).colour(1, 2, 3).end().bytes()), QString());
        QCOMPARE(globalIldaFrames.getPaletteEntry(0, 0), qRgb(1, 2, 3));
        QCOMPARE(globalIldaFrames.loadFile(QString(), *m_info),
                 QStringLiteral("No file specified!"));
        QCOMPARE(globalIldaFrames.getPaletteEntry(0, 0), qRgb(255, 0, 0));
        const QString missing = m_dir.filePath(QStringLiteral("nowhere/missing.ild"));
        QCOMPARE(globalIldaFrames.loadFile(missing, *m_info),
                 QStringLiteral("Cannot open '%1'!").arg(missing));
    }

    // Cuts the sample at every offset, the whole file included, and predicts the outcome from
    // where the cut lands.
    void truncationEverywhere()
    {
        const QByteArray file = sampleFile();
        for (int cut = 0; cut <= file.size(); ++cut) {
            QString expected;
            int framesRead = 0;
            int rowsRead = 0;
            int start = 0;
            for (const IldaBuilder& section : sampleSections()) {
                const int format = section.bytes().at(7);
                const bool isEnd = section.size() == 32;
                if (cut < start + 4) { // the signature itself is cut: the scan runs dry
                    if (start == 0)
                        expected = QStringLiteral("No ILDA header found!");
                    else
                        QTest::ignoreMessage(QtDebugMsg, "Missing end of file header!");
                    break;
                }
                if (cut < start + 32) {
                    expected = QStringLiteral("Invalid ILDA header!");
                    break;
                }
                if (cut < start + section.size()) {
                    expected = invalidSection(format);
                    break;
                }
                framesRead += !isEnd && format != 2;
                rowsRead += !isEnd;
                start += section.size();
            }
            const QString message = load(file.left(cut));
            QVERIFY2(message == expected,
                     qPrintable(QStringLiteral("cut at %1: got '%2'").arg(cut).arg(message)));
            QCOMPARE(frames(), expected.isEmpty() ? framesRead : 0);
            QCOMPARE(rows(), expected.isEmpty() ? rowsRead : 0);
        }
    }

    void rowsAndFrames()
    {
        QCOMPARE(load(sampleFile()), QString());
        const QVector<QStringList> expected{
            {"0 = 3D Coordinates with Indexed Color", "Zero", "Acme", "2", "0"},
            {"2 = Color Palette for Indexed Color Frames", "Pal", "", "2", "0"},
            {"1 = 2D Coordinates with Indexed Color", "One", "", "1", "0"},
            {"4 = 3D Coordinates with True Color", "Four", "", "1", "0"},
            {"5 = 2D Coordinates with True Color", "Five", "", "2", "0"}};
        for (int r = 0; r < expected.size(); ++r)
            QCOMPARE(row(r), expected[r]);
        // The palette row shows no frame; the frames after it keep their order.
        QCOMPARE(m_info->frameOfRow(1), -1);
        QCOMPARE(m_info->frameOfRow(2), 1);
        QCOMPARE(m_info->rowOfFrame(3), 4);
        const IldaFrame first = globalIldaFrames.getFrame(0);
        QCOMPARE(first.getCompany() + first.getName(), QStringLiteral("AcmeZero"));
        QCOMPARE(first.getTotalFrames(), 5);
        QCOMPARE(globalIldaFrames.getFrame(3).getFrameNumber(), 3);
        // The palette recolours frame "One" read after it, not frame "Zero" before it.
        QCOMPARE(colourOf(1, 0), qRgb(4, 5, 6));
        QCOMPARE(colourOf(0, 1), qRgb(0, 255, 0));
    }

    void points_data()
    {
        QTest::addColumn<IldaBuilder>("file");
        QTest::addColumn<Point>("expected");
        QTest::newRow("format 4 record bytes")
            << oneRecord(4).raw(QByteArray::fromHex("0064FF9C000000102030"))
            << Point{100, -100, 0, 0, 48, 32, 16};
        QTest::newRow("extremes, status 0x40 blanks")
            << oneRecord(0).point0(-32768, 32767, -1, 0x40, 16)
            << Point{-32768, 32767, -1, 1, 255, 255, 0};
        QTest::newRow("status 0xC0 blanks")
            << oneRecord(0).point0(0, 0, 0, 0xC0, 40) << Point{0, 0, 0, 1, 0, 0, 255};
        QTest::newRow("status 0x80 is lit")
            << oneRecord(0).point0(0, 0, 0, 0x80, 63) << Point{0, 0, 0, 0, 255, 32, 32};
        QTest::newRow("status 0xBF is lit")
            << oneRecord(0).point0(0, 0, 0, 0xBF, 0) << Point{0, 0, 0, 0, 255, 0, 0};
        QTest::newRow("format 1 has no z")
            << oneRecord(1).point1(5, -5, 0, 31) << Point{5, -5, 0, 0, 0, 255, 255};
        QTest::newRow("index above 63 is white")
            << oneRecord(1).point1(0, 0, 0, 200) << Point{0, 0, 0, 0, 255, 255, 255};
        QTest::newRow("format 5 colour order")
            << oneRecord(5).point5(1, 2, 0x40, 10, 20, 30) << Point{1, 2, 0, 1, 10, 20, 30};
        QTest::newRow("format 1 uses its projector's palette") << IldaBuilder()
                                                                      .header(2, "", "", 1, 0, 0, 7)
                                                                      .colour(9, 8, 7)
                                                                      .header(1, "", "", 1, 0, 1, 7)
                                                                      .point1(0, 0, 0, 0)
                                                               << Point{0, 0, 0, 0, 9, 8, 7};
    }

    void points()
    {
        QFETCH(IldaBuilder, file);
        QFETCH(Point, expected);
        QCOMPARE(load(file.end().bytes()), QString());
        QCOMPARE(frames(), 1);
        QCOMPARE(point(0, 0), expected);
    }

    void names_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("name");
        QTest::newRow("eight characters") << QByteArray("ABCDEFGH") << "ABCDEFGH";
        QTest::newRow("leading zero") << QByteArray("\0BCDEFGH", 8) << "";
        QTest::newRow("zero in the middle") << QByteArray("AB\0DEFGH", 8) << "AB";
        QTest::newRow("latin-1") << QByteArray("Caf\xE9") << QStringLiteral("Caf\u00E9");
    }

    void names()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, name);
        QCOMPARE(load(IldaBuilder().header(1, field, field, 1).point1(0, 0, 0, 0).end().bytes()),
                 QString());
        QCOMPARE(globalIldaFrames.getFrame(0).getName(), name);
        QCOMPARE(globalIldaFrames.getFrame(0).getCompany(), name);
        QCOMPARE(row(0).mid(1, 2), (QStringList{name, name}));
    }

    // Files that load, and where the read stops.
    void sections_data()
    {
        QTest::addColumn<IldaBuilder>("file");
        QTest::addColumn<QVector<int>>("pointsPerFrame");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<QString>("debugLine");
        const QString dataFollow = QStringLiteral("Data follow after end of file header!");
        const IldaBuilder a = oneRecord(1).point1(0, 0, 0, 0);

        QTest::newRow("only the end header") << IldaBuilder().end() << QVector<int>() << 0 << "";
        QTest::newRow("only a palette") << IldaBuilder().header(2, "p", "", 1).colour(1, 1, 1).end()
                                        << QVector<int>() << 1 << "";
        QTest::newRow("end header in the middle")
            << IldaBuilder(a).end().raw(a.bytes()) << QVector<int>{1} << 1 << dataFollow;
        QTest::newRow("empty palette header in the middle")
            << IldaBuilder(a).header(2, "", "", 0).raw(a.bytes()).end() << QVector<int>{1} << 1
            << dataFollow;
        QTest::newRow("junk after the end header")
            << IldaBuilder().end().raw("x") << QVector<int>() << 0 << dataFollow;
        QTest::newRow("no end header")
            << IldaBuilder(a).raw("tail") << QVector<int>{1} << 1 << "Missing end of file header!";
        // An extra I right before a signature, stray bytes before and between sections.
        QTest::newRow("stray bytes") << IldaBuilder()
                                            .raw(QByteArray("garbage: IL DA ILD\xFFI", 20))
                                            .raw(a.bytes())
                                            .raw(QByteArray("\0\0junkIL", 8))
                                            .header(1, "b", "", 2)
                                            .point1(3, 4, 0, 0)
                                            .point1(3, 4, 0, 0)
                                            .end()
                                     << QVector<int>{1, 2} << 2 << "";
        // x = "IL", y = "DA": the scan never runs inside declared records.
        const int il = ('I' << 8) | 'L';
        const int da = ('D' << 8) | 'A';
        QTest::newRow("records spelling the signature") << IldaBuilder()
                                                               .header(1, "", "", 2)
                                                               .point1(il, da, 0, 0)
                                                               .point1(il, da, 'I', 'L')
                                                               .raw(a.bytes())
                                                               .end()
                                                        << QVector<int>{2, 1} << 2 << "";
        IldaBuilder ten;
        for (int f = 0; f < 10; ++f)
            ten.header(1, "", "", 1, f, 10).point1(f, 0, 0, 0);
        QTest::newRow("ten frames") << ten.end() << QVector<int>(10, 1) << 10 << "";
    }

    void sections()
    {
        QFETCH(IldaBuilder, file);
        QFETCH(QVector<int>, pointsPerFrame);
        QFETCH(int, rowCount);
        QFETCH(QString, debugLine);
        if (!debugLine.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, qPrintable(debugLine));
        globalIldaFrames.gotoLast();
        QCOMPARE(load(file.bytes()), QString());
        QVector<int> counts;
        for (int f = 0; f < frames(); ++f)
            counts << globalIldaFrames.getFrame(f).getNumberOfPoints();
        QCOMPARE(counts, pointsPerFrame);
        QCOMPARE(rows(), rowCount);
        // A successful load shows the first frame.
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 0);
        QVERIFY(globalIldaFrames.isFirst());
        QCOMPARE(globalIldaFrames.isLast(), frames() <= 1);
    }

    void palettes()
    {
        // 300 records: entries 0-255 of projector 0 replaced, the rest skipped in step.
        IldaBuilder b;
        b.header(2, "big", "", 300);
        for (int k = 0; k < 300; ++k)
            b.colour(k % 256, 1, 2);
        b.header(1, "", "", 3).point1(0, 0, 0, 0).point1(0, 0, 0, 200).point1(0, 0, 0, 255);
        b.header(1, "", "", 1, 0, 1, 1).point1(0, 0, 0, 0); // projector 1 keeps its defaults
        QCOMPARE(load(b.end().bytes()), QString());
        QCOMPARE(row(0).at(3), QStringLiteral("300"));
        QCOMPARE(colourOf(0, 0), qRgb(0, 1, 2));
        QCOMPARE(colourOf(0, 1), qRgb(200, 1, 2));
        QCOMPARE(colourOf(0, 2), qRgb(255, 1, 2));
        QCOMPARE(colourOf(1, 0), qRgb(255, 0, 0));
        QCOMPARE(globalIldaFrames.getPaletteEntry(0, 44), qRgb(44, 1, 2));

        // Eight records replace entries 0-7 only; later sections accumulate.
        IldaBuilder p;
        p.header(2, "", "", 8);
        for (int k = 0; k < 8; ++k)
            p.colour(k, k, k);
        p.header(2, "", "", 1).colour(50, 60, 70);
        p.header(0, "", "", 3).point0(0, 0, 0, 0, 7).point0(0, 0, 0, 0, 8).point0(0, 0, 0, 0, 0);
        QCOMPARE(load(p.end().bytes()), QString());
        QCOMPARE(colourOf(0, 0), qRgb(7, 7, 7));
        QCOMPARE(colourOf(0, 1), qRgb(255, 128, 0)); // entry 8 keeps its default
        QCOMPARE(colourOf(0, 2), qRgb(50, 60, 70));

        // A new file starts from the default palettes again.
        QCOMPARE(load(oneRecord(0).point0(0, 0, 0, 0, 0).end().bytes()), QString());
        QCOMPARE(colourOf(0, 0), qRgb(255, 0, 0));
        QCOMPARE(globalIldaFrames.getPaletteEntry(0, 44), qRgb(128, 0, 255));
    }

    void largestSection()
    {
        // 65535 records, the most a header declares: the frame keeps 32768 points, the row shows
        // them all and the next section is read in step.
        IldaBuilder b;
        b.header(4, "", "", 65535);
        for (int i = 0; i < 65535; ++i)
            b.point4(i, 0, 0, 0, 1, 1, 1);
        const int recordsEnd = b.size();
        b.header(5, "next", "", 1).point5(-7, 7, 0, 1, 2, 3).end();
        QCOMPARE(load(b.bytes()), QString());
        QCOMPARE(frames(), 2);
        QCOMPARE(globalIldaFrames.getFrame(0).getNumberOfPoints(), 32768);
        QCOMPARE(point(0, 32767).first(), 32767);
        QCOMPARE(row(0).at(3), QStringLiteral("65535"));
        QCOMPARE(point(1, 0), (Point{-7, 7, 0, 0, 1, 2, 3}));
        QCOMPARE(load(b.bytes().left(recordsEnd - 1)), invalidSection(4));
    }

    void dispatchByEnding_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ilda");
        QTest::newRow(".ILD") << "b.ILD" << true;
        QTest::newRow(".pic.ild") << "c.pic.ild" << true;
        QTest::newRow(".txt") << "notes.txt" << true;
        QTest::newRow(".Pic") << "d.Pic" << false;
        QTest::newRow(".CCAT") << "e.CCAT" << false;
        QTest::newRow(".ANI") << "f.ANI" << false;
        QTest::newRow("just .ani") << ".ani" << false;
    }

    void dispatchByEnding()
    {
        // An empty file tells the readers apart: the ILDA reader finds no header, the
        // controller readers refuse the format.
        QFETCH(QString, name);
        QFETCH(bool, ilda);
        QCOMPARE(load(QByteArray(), name), ilda ? QStringLiteral("No ILDA header found!")
                                                : QStringLiteral("Unknown file format!"));
    }

    void seekIlda()
    {
        QFile file(writeTestFile(m_dir, QStringLiteral("seek.bin"), "xxIILDAyILDA"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(globalIldaFrames.seekIlda(file));
        QCOMPARE(file.pos(), qint64(7));
        QVERIFY(globalIldaFrames.seekIlda(file));
        QCOMPARE(file.pos(), qint64(12));
        QVERIFY(!globalIldaFrames.seekIlda(file));
    }

    void openFileShowsTheError()
    {
        ModalCloser closer;
        const QString bad = writeTestFile(m_dir, QStringLiteral("bad.ild"), "no header here");
        QVERIFY(!globalIldaFrames.openFile(bad, *m_info, nullptr));
        QCOMPARE(closer.seen(), QStringList{"Lumenar: No ILDA header found!"});
        QCOMPARE(closer.boxes.first().icon, QMessageBox::Critical);

        const QString good = writeTestFile(m_dir, QStringLiteral("good.ild"), sampleFile());
        QVERIFY(globalIldaFrames.openFile(good, *m_info, nullptr));
        QCOMPARE(frames(), 4);
        QCOMPARE(closer.boxes.size(), 1);
    }
};

QTEST_MAIN(TestIldaReader)
#include "tst_ildareader.moc"
