// The ILDA reader: sections, records, palettes, names, failures and what a load leaves behind.
#include "TestSupport.h"

#include <QtTest>

Q_DECLARE_METATYPE(IldaBuilder)

namespace {

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

class TestIldaReader : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Probe m_probe;

    QString load(const QByteArray& bytes, const QString& name = QStringLiteral("test.ild"))
    {
        return m_probe.load(writeTestFile(m_dir, name, bytes));
    }

private slots:
    // Each fails and leaves the store and the rows empty, even after a good load.
    void failures_data()
    {
        QTest::addColumn<IldaBuilder>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("text") << IldaBuilder().raw("Just notes. ILD_A and ILDa")
                              << "No ILDA header found!";
        QTest::newRow("format 3") << oneRecord(3) << "Unknown format (3)!";
        QTest::newRow("reserved format byte") << oneRecord(0x100) << "Unknown format (256)!";
        QTest::newRow("huge format after a frame")
            << oneRecord(1).point1(1, 1, 0, 0).header(0xFFFFFFFFu, "", "", 1)
            << "Unknown format (4294967295)!";
    }
    void failures()
    {
        QFETCH(IldaBuilder, file);
        QFETCH(QString, message);
        QCOMPARE(load(sampleFile()), QString());
        globalIldaFrames.gotoLast();
        QCOMPARE(load(file.bytes()), message);
        QCOMPARE(m_probe.frames() + m_probe.rows(), 0);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 0);
    }

    void fileNames()
    {
        // The palettes go back to their defaults even when the next load fails.
        QCOMPARE(load(IldaBuilder().header(2, "", "", 1).colour(1, 2, 3).end().bytes()), QString());
        QCOMPARE(globalIldaFrames.getPaletteEntry(0, 0), qRgb(1, 2, 3));
        QCOMPARE(m_probe.load(QString()), QStringLiteral("No file specified!"));
        QCOMPARE(globalIldaFrames.getPaletteEntry(0, 0), qRgb(255, 0, 0));
        const QString missing = m_dir.filePath(QStringLiteral("nowhere/missing.ild"));
        QCOMPARE(m_probe.load(missing), QStringLiteral("Cannot open '%1'!").arg(missing));
        // Only the ending picks the reader: an empty file tells them apart.
        for (const char* name : {"b.ILD", "c.pic.ild", "notes.txt"})
            QCOMPARE(load(QByteArray(), name), QStringLiteral("No ILDA header found!"));
        for (const char* name : {"d.Pic", "e.CCAT", "f.ANI", ".ani"})
            QCOMPARE(load(QByteArray(), name), QStringLiteral("Unknown file format!"));
    }

    // Cuts the sample at every offset and predicts the outcome from where the cut lands.
    void truncationEverywhere()
    {
        const QByteArray file = sampleFile();
        for (int cut = 0; cut <= file.size(); ++cut) {
            QString expected;
            int frames = 0;
            int rows = 0;
            int start = 0;
            for (const IldaBuilder& section : sampleSections()) {
                const int format = section.bytes().at(7);
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
                    expected = QStringLiteral("Invalid data section (Format %1)!").arg(format);
                    break;
                }
                frames += section.size() > 32 && format != 2;
                rows += section.size() > 32;
                start += section.size();
            }
            QCOMPARE(load(file.left(cut)) + QString::number(cut), expected + QString::number(cut));
            QCOMPARE(m_probe.frames(), expected.isEmpty() ? frames : 0);
            QCOMPARE(m_probe.rows(), expected.isEmpty() ? rows : 0);
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
            QCOMPARE(m_probe.row(r), expected[r]);
        QCOMPARE(m_probe.info.frameOfRow(1), -1); // the palette row shows no frame
        QCOMPARE(m_probe.info.rowOfFrame(3), 4);
        const IldaFrame first = globalIldaFrames.getFrame(0);
        QCOMPARE(first.getCompany() + first.getName(), QStringLiteral("AcmeZero"));
        QCOMPARE(first.getTotalFrames(), 5);
        QCOMPARE(globalIldaFrames.getFrame(3).getFrameNumber(), 3);
        // The palette recolours frame "One" read after it, not frame "Zero" before it.
        QCOMPARE(Probe::point(1, 0).mid(4), (Pt{4, 5, 6}));
        QCOMPARE(Probe::point(0, 1).mid(4), (Pt{0, 255, 0}));
    }

    void points_data()
    {
        QTest::addColumn<IldaBuilder>("file");
        QTest::addColumn<Pt>("expected");
        QTest::newRow("format 4 bytes: blue first")
            << oneRecord(4).raw(QByteArray::fromHex("0064FF9C000000102030"))
            << Pt{100, -100, 0, 0, 48, 32, 16};
        QTest::newRow("extremes, status 0x40 blanks")
            << oneRecord(0).point0(-32768, 32767, -1, 0x40, 16)
            << Pt{-32768, 32767, -1, 1, 255, 255, 0};
        QTest::newRow("status 0xC0 blanks")
            << oneRecord(0).point0(0, 0, 0, 0xC0, 40) << Pt{0, 0, 0, 1, 0, 0, 255};
        QTest::newRow("status 0xBF is lit")
            << oneRecord(0).point0(0, 0, 0, 0xBF, 63) << Pt{0, 0, 0, 0, 255, 32, 32};
        QTest::newRow("format 1 has no z")
            << oneRecord(1).point1(5, -5, 0, 31) << Pt{5, -5, 0, 0, 0, 255, 255};
        QTest::newRow("index above 63 is white")
            << oneRecord(1).point1(0, 0, 0, 200) << Pt{0, 0, 0, 0, 255, 255, 255};
        QTest::newRow("format 5") << oneRecord(5).point5(1, 2, 0x40, 10, 20, 30)
                                  << Pt{1, 2, 0, 1, 10, 20, 30};
        QTest::newRow("projector 7's palette") << IldaBuilder()
                                                      .header(2, "", "", 1, 0, 0, 7)
                                                      .colour(9, 8, 7)
                                                      .header(1, "", "", 1, 0, 1, 7)
                                                      .point1(0, 0, 0, 0)
                                               << Pt{0, 0, 0, 0, 9, 8, 7};
    }
    void points()
    {
        QFETCH(IldaBuilder, file);
        QFETCH(Pt, expected);
        QCOMPARE(load(file.end().bytes()), QString());
        QCOMPARE(m_probe.frames(), 1);
        QCOMPARE(Probe::point(0, 0), expected);
    }

    void names()
    {
        // Up to the first zero, at most eight bytes, Latin-1.
        const QVector<QPair<QByteArray, QString>> cases{{"ABCDEFGHIJ", "ABCDEFGH"},
                                                        {QByteArray("AB\0DEFGH", 8), "AB"},
                                                        {"Caf\xE9", QStringLiteral("Caf\u00E9")}};
        for (const auto& [field, name] : cases) {
            QCOMPARE(
                load(IldaBuilder().header(1, field, field, 1).point1(0, 0, 0, 0).end().bytes()),
                QString());
            QCOMPARE(globalIldaFrames.getFrame(0).getName() +
                         globalIldaFrames.getFrame(0).getCompany(),
                     name + name);
            QCOMPARE(m_probe.row(0).mid(1, 2), (QStringList{name, name}));
        }
    }

    // Files that load, and where the read stops.
    void sections_data()
    {
        QTest::addColumn<IldaBuilder>("file");
        QTest::addColumn<QVector<int>>("pointsPerFrame");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("debugLine");
        const QString dataFollow = QStringLiteral("Data follow after end of file header!");
        const IldaBuilder a = oneRecord(1).point1(0, 0, 0, 0);
        QTest::newRow("only a palette") << IldaBuilder().header(2, "p", "", 1).colour(1, 1, 1).end()
                                        << QVector<int>() << 1 << "";
        QTest::newRow("end header in the middle")
            << IldaBuilder(a).end().raw(a.bytes()) << QVector<int>{1} << 1 << dataFollow;
        QTest::newRow("empty palette header in the middle")
            << IldaBuilder(a).header(2, "", "", 0).raw(a.bytes()).end() << QVector<int>{1} << 1
            << dataFollow;
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
                                                        << QVector<int>{2, 1} << 2 << "";
    }
    void sections()
    {
        QFETCH(IldaBuilder, file);
        QFETCH(QVector<int>, pointsPerFrame);
        QFETCH(int, rows);
        QFETCH(QString, debugLine);
        if (!debugLine.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, qPrintable(debugLine));
        globalIldaFrames.gotoLast();
        QCOMPARE(load(file.bytes()), QString());
        QVector<int> counts;
        for (int f = 0; f < m_probe.frames(); ++f)
            counts << globalIldaFrames.getFrame(f).getNumberOfPoints();
        QCOMPARE(counts, pointsPerFrame);
        QCOMPARE(m_probe.rows(), rows);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 0); // a load shows the first frame
    }

    void palettes()
    {
        // 300 records: entries 0-255 of projector 0 replaced, the rest skipped in step; a later
        // section of 1 replaces entry 0 only; projector 1 keeps its defaults.
        IldaBuilder b;
        b.header(2, "big", "", 300);
        for (int k = 0; k < 300; ++k)
            b.colour(k % 256, 1, 2);
        b.header(2, "", "", 1).colour(50, 60, 70);
        b.header(1, "", "", 3).point1(0, 0, 0, 0).point1(0, 0, 0, 200).point1(0, 0, 0, 255);
        b.header(1, "", "", 1, 0, 1, 1).point1(0, 0, 0, 0);
        QCOMPARE(load(b.end().bytes()), QString());
        QCOMPARE(m_probe.row(0).at(3), QStringLiteral("300"));
        QCOMPARE(Probe::points(0),
                 (Pts{{0, 0, 0, 0, 50, 60, 70}, {0, 0, 0, 0, 200, 1, 2}, {0, 0, 0, 0, 255, 1, 2}}));
        QCOMPARE(Probe::point(1, 0).mid(4), (Pt{255, 0, 0}));
        // A new file starts from the default palettes again.
        QCOMPARE(load(oneRecord(0).point0(0, 0, 0, 0, 1).end().bytes()), QString());
        QCOMPARE(Probe::point(0, 0).mid(4), (Pt{255, 16, 0}));
    }

    void largestSection()
    {
        // 65535 records, the most a header declares: the frame keeps 32768 points, the row shows
        // them all and the next section is read in step.
        IldaBuilder b;
        b.header(4, "", "", 65535);
        for (int i = 0; i < 65535; ++i)
            b.point4(i, 0, 0, 0, 1, 1, 1);
        b.header(5, "next", "", 1).point5(-7, 7, 0, 1, 2, 3).end();
        QCOMPARE(load(b.bytes()), QString());
        QCOMPARE(globalIldaFrames.getFrame(0).getNumberOfPoints(), 32768);
        QCOMPARE(Probe::point(0, 32767).first(), 32767);
        QCOMPARE(m_probe.row(0).at(3), QStringLiteral("65535"));
        QCOMPARE(Probe::points(1), (Pts{{-7, 7, 0, 0, 1, 2, 3}}));
    }

    void openFileShowsTheError()
    {
        ModalCloser closer;
        const QString bad = writeTestFile(m_dir, QStringLiteral("bad.ild"), "no header here");
        QVERIFY(!globalIldaFrames.openFile(bad, m_probe.info, nullptr));
        QCOMPARE(closer.seen(), QStringList{"Lumenar: No ILDA header found!"});
        QCOMPARE(closer.boxes.first().icon, QMessageBox::Critical);
        const QString good = writeTestFile(m_dir, QStringLiteral("good.ild"), sampleFile());
        QVERIFY(globalIldaFrames.openFile(good, m_probe.info, nullptr));
        QCOMPARE(m_probe.frames(), 4);
        QCOMPARE(closer.boxes.size(), 1);
    }
};

QTEST_MAIN(TestIldaReader)
#include "tst_ildareader.moc"
