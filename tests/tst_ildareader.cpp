#include "IldaBuilder.h"

#include "info/InfoWindow.h"
#include "model/IldaFrames.h"

#include <QApplication>
#include <QMessageBox>
#include <QStandardItemModel>
#include <QTimer>
#include <QtTest>

namespace {

// Three frames of different formats, a palette and the end header: a file that touches every
// kind of record. Section boundaries are recorded for the truncation test.
struct Sample
{
    QByteArray bytes;
    struct Section
    {
        int start;       // offset of the signature
        int recordsFrom; // offset of the first record
        int end;         // offset after the last record
        int format;      // -1 for the end header
    };
    QVector<Section> sections;
};

Sample sampleFile()
{
    Sample s;
    IldaBuilder b;
    auto section = [&](int format, auto&& fill) {
        Sample::Section sec;
        sec.start = b.size();
        sec.format = format;
        fill();
        s.sections.append(sec);
    };
    auto mark = [&]() { s.sections.last().recordsFrom = s.sections.last().start + 32; };
    section(0, [&] {
        b.header(0, "Zero", "Acme", 2, 0, 5);
        b.point0(1, 2, 3, 0x40, 0).point0(-4, -5, -6, 0x80, 24);
    });
    mark();
    s.sections.last().end = b.size();
    section(2, [&] { b.header(2, "Pal", "", 2, 0, 0, 0).colour(1, 2, 3).colour(4, 5, 6); });
    mark();
    s.sections.last().end = b.size();
    section(1, [&] { b.header(1, "One", "", 1, 1, 5).point1(7, 8, 0, 1); });
    mark();
    s.sections.last().end = b.size();
    section(4, [&] { b.header(4, "Four", "", 1, 2, 5).point4(9, 10, 11, 0, 12, 13, 14); });
    mark();
    s.sections.last().end = b.size();
    section(5, [&] {
        b.header(5, "Five", "", 2, 3, 5).point5(1, 1, 0, 1, 1, 1).point5(2, 2, 0, 2, 2, 2);
    });
    mark();
    s.sections.last().end = b.size();
    section(-1, [&] { b.end(); }); // the end header: no records, no frame
    mark();
    s.sections.last().end = b.size();
    s.bytes = b.bytes();
    return s;
}

QString invalidSection(int format)
{
    return QStringLiteral("Invalid data section (Format %1)!").arg(format);
}

} // namespace

class TestIldaReader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    InfoWindow* m_info = nullptr;

    QString load(const QByteArray& bytes, const QString& name = QStringLiteral("test.ild"))
    {
        const QString path = writeTestFile(m_dir, name, bytes);
        return globalIldaFrames.loadFile(path, *m_info);
    }
    int rows() const { return m_info->model()->rowCount(); }
    QString cell(int row, int column) const
    {
        return m_info->model()->index(row, column).data().toString();
    }
    IldaPoint point(int frame, int index) const
    {
        return globalIldaFrames.getFrame(frame).getPoint(index);
    }
    QRgb colourOf(int frame, int index) const
    {
        const IldaPoint p = point(frame, index);
        return qRgb(p.red, p.green, p.blue);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_info = new InfoWindow;
    }
    void cleanupTestCase() { delete m_info; }

    void failures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");

        QTest::newRow("empty file") << QByteArray() << "No ILDA header found!";
        QTest::newRow("text without signature")
            << QByteArray("Just some notes about ILD files, nothing more.\n")
            << "No ILDA header found!";
        QTest::newRow("signature split by a byte")
            << QByteArray("ILD_A and ILDa") << "No ILDA header found!";
        QTest::newRow("header cut after signature")
            << QByteArray("ILDA\0\0\0", 7) << "Invalid ILDA header!";
        QTest::newRow("header one byte short")
            << IldaBuilder().header(0, "n", "c", 1).bytes().chopped(1) << "Invalid ILDA header!";
        QTest::newRow("format 3") << IldaBuilder().header(3, "", "", 1).bytes()
                                  << "Unknown format (3)!";
        QTest::newRow("format 6") << IldaBuilder().header(6, "", "", 1).bytes()
                                  << "Unknown format (6)!";
        QTest::newRow("nonzero reserved format byte")
            << IldaBuilder().header(0x100, "", "", 1).bytes() << "Unknown format (256)!";
        QTest::newRow("huge format code") << IldaBuilder().header(0xFFFFFFFFu, "", "", 0).bytes()
                                          << "Unknown format (4294967295)!";
        QTest::newRow("format 0 record cut")
            << IldaBuilder().header(0, "", "", 2).point0(0, 0, 0, 0, 0).raw("\1\2\3").bytes()
            << invalidSection(0);
        QTest::newRow("format 1 record cut")
            << IldaBuilder().header(1, "", "", 1).raw("\1\2\3\4\5").bytes() << invalidSection(1);
        QTest::newRow("format 2 record cut")
            << IldaBuilder().header(2, "", "", 3).colour(1, 2, 3).colour(4, 5, 6).raw("\7").bytes()
            << invalidSection(2);
        QTest::newRow("format 4 record cut")
            << IldaBuilder().header(4, "", "", 1).raw("123456789").bytes() << invalidSection(4);
        QTest::newRow("format 5 no records at all")
            << IldaBuilder().header(5, "", "", 4).bytes() << invalidSection(5);
        QTest::newRow("second frame cut") << IldaBuilder()
                                                 .header(1, "a", "", 1)
                                                 .point1(1, 1, 0, 0)
                                                 .header(1, "b", "", 1)
                                                 .point1(1, 1, 0, 0)
                                                 .header(4, "c", "", 2)
                                                 .point4(1, 1, 1, 0, 1, 1, 1)
                                                 .bytes()
                                          << invalidSection(4);
        QTest::newRow("bad format after good frames")
            << IldaBuilder().header(1, "a", "", 1).point1(1, 1, 0, 0).header(7, "", "", 1).bytes()
            << "Unknown format (7)!";
    }

    void failures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        // A file loaded before must be gone whatever happens.
        QCOMPARE(load(IldaBuilder().header(1, "old", "", 1).point1(0, 0, 0, 0).end().bytes()),
                 QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 1);

        QCOMPARE(load(bytes), message);
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 0);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 0);
        QCOMPARE(rows(), 0);
        QCOMPARE(m_info->model()->columnCount(), 5);
        QCOMPARE(m_info->model()->headerData(3, Qt::Horizontal).toString(),
                 QStringLiteral("Records"));
    }

    void fileNames()
    {
        QCOMPARE(globalIldaFrames.loadFile(QString(), *m_info),
                 QStringLiteral("No file specified!"));
        const QString missing = m_dir.filePath(QStringLiteral("nowhere/missing.ild"));
        QCOMPARE(globalIldaFrames.loadFile(missing, *m_info),
                 QStringLiteral("Cannot open '%1'!").arg(missing));
    }

    // Cuts a file with every kind of section at every offset and predicts the outcome from
    // where the cut lands.
    void truncationEverywhere()
    {
        const Sample s = sampleFile();
        for (int cut = 0; cut < s.bytes.size(); ++cut) {
            QString expected;
            int frames = 0;
            bool missingEnd = false;
            for (const Sample::Section& sec : s.sections) {
                if (cut < sec.start + 4) { // the signature itself is cut: the scan runs dry
                    if (sec.start == 0)
                        expected = QStringLiteral("No ILDA header found!");
                    else
                        missingEnd = true;
                    break;
                }
                if (cut < sec.recordsFrom) {
                    expected = QStringLiteral("Invalid ILDA header!");
                    break;
                }
                if (cut < sec.end) {
                    expected = invalidSection(sec.format);
                    break;
                }
                if (sec.format != 2 && sec.format != -1)
                    ++frames;
            }
            if (missingEnd)
                QTest::ignoreMessage(QtDebugMsg, "Missing end of file header!");
            const QString message = load(s.bytes.left(cut));
            QVERIFY2(message == expected,
                     qPrintable(QStringLiteral("cut at %1: got '%2', expected '%3'")
                                    .arg(cut)
                                    .arg(message, expected)));
            QCOMPARE(globalIldaFrames.getNumberOfFrames(), expected.isEmpty() ? frames : 0);
        }
    }

    void endHeaderCutAfterSignature()
    {
        // A complete file whose end header is itself short: that is a broken header.
        const Sample s = sampleFile();
        QCOMPARE(load(s.bytes.chopped(1)), QStringLiteral("Invalid ILDA header!"));
        QCOMPARE(load(s.bytes), QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 4);
        QCOMPARE(rows(), 5);
    }

    void rowsAndFrames()
    {
        const Sample s = sampleFile();
        QCOMPARE(load(s.bytes), QString());
        const QStringList formats{
            "0 = 3D Coordinates with Indexed Color", "2 = Color Palette for Indexed Color Frames",
            "1 = 2D Coordinates with Indexed Color", "4 = 3D Coordinates with True Color",
            "5 = 2D Coordinates with True Color"};
        const QStringList names{"Zero", "Pal", "One", "Four", "Five"};
        const QStringList records{"2", "2", "1", "1", "2"};
        QCOMPARE(rows(), 5);
        for (int r = 0; r < 5; ++r) {
            QCOMPARE(cell(r, 0), formats[r]);
            QCOMPARE(cell(r, 1), names[r]);
            QCOMPARE(cell(r, 3), records[r]);
            QCOMPARE(cell(r, 4), QStringLiteral("0"));
        }
        QCOMPARE(cell(0, 2), QStringLiteral("Acme"));
        // The palette row shows no frame; the frames after it keep their order.
        QCOMPARE(m_info->frameOfRow(1), -1);
        QCOMPARE(m_info->frameOfRow(2), 1);
        QCOMPARE(m_info->rowOfFrame(3), 4);
        QCOMPARE(globalIldaFrames.getFrame(0).getCompany(), QStringLiteral("Acme"));
        QCOMPARE(globalIldaFrames.getFrame(0).getTotalFrames(), 5);
        QCOMPARE(globalIldaFrames.getFrame(3).getFrameNumber(), 3);
        QCOMPARE(globalIldaFrames.getFrame(3).getName(), QStringLiteral("Five"));
        // The palette section came before frame "One" and recoloured index 1 of projector 0.
        QCOMPARE(colourOf(1, 0), qRgb(4, 5, 6));
        // ... but not frame "Zero" read before it: index 24 is the default green.
        QCOMPARE(colourOf(0, 1), qRgb(0, 255, 0));
    }

    void pointConversion_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("z");
        QTest::addColumn<bool>("blanked");
        QTest::addColumn<QRgb>("colour");

        const QByteArray record4 = QByteArray::fromHex("0064FF9C000000102030");
        QTest::newRow("format 4 record bytes")
            << IldaBuilder().header(4, "", "", 1).raw(record4).end().bytes() << 100 << -100 << 0
            << false << qRgb(48, 32, 16);
        QTest::newRow("format 0 extremes blanked")
            << IldaBuilder().header(0, "", "", 1).point0(-32768, 32767, -1, 0x40, 16).end().bytes()
            << -32768 << 32767 << -1 << true << qRgb(255, 255, 0);
        QTest::newRow("status 0xC0 blanks")
            << IldaBuilder().header(0, "", "", 1).point0(0, 0, 0, 0xC0, 40).end().bytes() << 0 << 0
            << 0 << true << qRgb(0, 0, 255);
        QTest::newRow("status 0x80 is lit")
            << IldaBuilder().header(0, "", "", 1).point0(0, 0, 0, 0x80, 63).end().bytes() << 0 << 0
            << 0 << false << qRgb(255, 32, 32);
        QTest::newRow("status 0xBF is lit")
            << IldaBuilder().header(0, "", "", 1).point0(0, 0, 0, 0xBF, 0).end().bytes() << 0 << 0
            << 0 << false << qRgb(255, 0, 0);
        QTest::newRow("format 1 has no z")
            << IldaBuilder().header(1, "", "", 1).point1(5, -5, 0, 31).end().bytes() << 5 << -5 << 0
            << false << qRgb(0, 255, 255);
        QTest::newRow("index above 63 is white")
            << IldaBuilder().header(1, "", "", 1).point1(0, 0, 0, 200).end().bytes() << 0 << 0 << 0
            << false << qRgb(255, 255, 255);
        QTest::newRow("format 5 colour order")
            << IldaBuilder().header(5, "", "", 1).point5(1, 2, 0x40, 10, 20, 30).end().bytes() << 1
            << 2 << 0 << true << qRgb(10, 20, 30);
        QTest::newRow("format 1 uses its projector's palette")
            << IldaBuilder()
                   .header(2, "", "", 1, 0, 0, 7)
                   .colour(9, 8, 7)
                   .header(1, "", "", 1, 0, 1, 7)
                   .point1(0, 0, 0, 0)
                   .end()
                   .bytes()
            << 0 << 0 << 0 << false << qRgb(9, 8, 7);
    }

    void pointConversion()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, z);
        QFETCH(bool, blanked);
        QFETCH(QRgb, colour);
        QCOMPARE(load(bytes), QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 1);
        const IldaPoint p = point(0, 0);
        QCOMPARE(int(p.x), x);
        QCOMPARE(int(p.y), y);
        QCOMPARE(int(p.z), z);
        QCOMPARE(p.blanked, blanked);
        QCOMPARE(qRgb(p.red, p.green, p.blue), colour);
    }

    void names_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("name");
        QTest::newRow("eight characters") << QByteArray("ABCDEFGH") << "ABCDEFGH";
        QTest::newRow("leading zero") << QByteArray("\0BCDEFGH", 8) << "";
        QTest::newRow("zero in the middle") << QByteArray("AB\0DEFGH", 8) << "AB";
        QTest::newRow("latin-1") << QByteArray("Caf\xE9") << QString::fromUtf8("Caf\xC3\xA9");
        QTest::newRow("high bytes") << QByteArray("\xFF\x80") << QString(QChar(0xFF)) + QChar(0x80);
    }

    void names()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, name);
        QCOMPARE(load(IldaBuilder().header(1, field, field, 1).point1(0, 0, 0, 0).end().bytes()),
                 QString());
        QCOMPARE(globalIldaFrames.getFrame(0).getName(), name);
        QCOMPARE(globalIldaFrames.getFrame(0).getCompany(), name);
        QCOMPARE(cell(0, 1), name);
        QCOMPARE(cell(0, 2), name);
    }

    void strayBytes()
    {
        QByteArray bytes = QByteArray("garbage: IL DA ILD\xFF", 19);
        // An extra I right before the signature, stray bytes between sections.
        bytes += IldaBuilder().header(1, "a", "", 1).point1(1, 2, 0, 0).bytes().prepend("I");
        bytes += QByteArray("\0\0junkIL", 8);
        bytes += IldaBuilder().header(1, "b", "", 1).point1(3, 4, 0, 0).end().bytes();
        QCOMPARE(load(bytes), QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 2);
        QCOMPARE(int(point(1, 0).x), 3);
        QCOMPARE(rows(), 2);
    }

    void recordsSpellingTheSignature()
    {
        // x = "IL", y = "DA": the scan never runs inside declared records.
        const int il = ('I' << 8) | 'L';
        const int da = ('D' << 8) | 'A';
        const QByteArray bytes = IldaBuilder()
                                     .header(1, "", "", 2)
                                     .point1(il, da, 0, 0)
                                     .point1(il, da, 'I', 'L')
                                     .header(1, "", "", 1)
                                     .point1(1, 1, 0, 0)
                                     .end()
                                     .bytes();
        QCOMPARE(load(bytes), QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 2);
        QCOMPARE(globalIldaFrames.getFrame(0).getNumberOfPoints(), 2);
        QCOMPARE(int(point(0, 1).x), il);
    }

    void endOfFile()
    {
        QCOMPARE(load(IldaBuilder().end().bytes()), QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 0);
        QCOMPARE(rows(), 0);

        // Only palettes: success, rows but no frames.
        QCOMPARE(load(IldaBuilder().header(2, "p", "", 1).colour(1, 1, 1).end().bytes()),
                 QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 0);
        QCOMPARE(rows(), 1);

        // An end header in the middle ends the read; a palette header with no records is one.
        QTest::ignoreMessage(QtDebugMsg, "Data follow after end of file header!");
        QCOMPARE(load(IldaBuilder()
                          .header(1, "a", "", 1)
                          .point1(0, 0, 0, 0)
                          .header(2, "", "", 0)
                          .header(1, "b", "", 1)
                          .point1(0, 0, 0, 0)
                          .end()
                          .bytes()),
                 QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 1);
        QCOMPARE(rows(), 1);

        // Even junk after the end header is ignored, with a note.
        QTest::ignoreMessage(QtDebugMsg, "Data follow after end of file header!");
        QCOMPARE(load(IldaBuilder().end().raw("x").bytes()), QString());

        QTest::ignoreMessage(QtDebugMsg, "Missing end of file header!");
        QCOMPARE(load(IldaBuilder().header(1, "a", "", 1).point1(0, 0, 0, 0).raw("tail").bytes()),
                 QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 1);
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
        b.end();
        QCOMPARE(load(b.bytes()), QString());
        QCOMPARE(cell(0, 3), QStringLiteral("300"));
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
        p.end();
        QCOMPARE(load(p.bytes()), QString());
        QCOMPARE(colourOf(0, 0), qRgb(7, 7, 7));
        QCOMPARE(colourOf(0, 1), qRgb(255, 128, 0)); // entry 8 keeps its default
        QCOMPARE(colourOf(0, 2), qRgb(50, 60, 70));

        // A new file starts from the default palettes again.
        QCOMPARE(load(IldaBuilder().header(0, "", "", 1).point0(0, 0, 0, 0, 0).end().bytes()),
                 QString());
        QCOMPARE(colourOf(0, 0), qRgb(255, 0, 0));
        QCOMPARE(globalIldaFrames.getPaletteEntry(0, 44), qRgb(128, 0, 255));
    }

    void paletteResetEvenWhenTheNextFileFails()
    {
        QCOMPARE(load(IldaBuilder().header(2, "", "", 1).colour(1, 2, 3).end().bytes()), QString());
        QCOMPARE(globalIldaFrames.getPaletteEntry(0, 0), qRgb(1, 2, 3));
        QCOMPARE(globalIldaFrames.loadFile(QString(), *m_info),
                 QStringLiteral("No file specified!"));
        QCOMPARE(globalIldaFrames.getPaletteEntry(0, 0), qRgb(255, 0, 0));
    }

    void moreThanMaxPoints()
    {
        const int records = 32770;
        IldaBuilder b;
        b.header(1, "many", "", records);
        for (int i = 0; i < records; ++i)
            b.point1(i, 0, 0, 0);
        b.header(5, "next", "", 1).point5(-7, 7, 0, 1, 2, 3).end();
        QCOMPARE(load(b.bytes()), QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 2);
        QCOMPARE(globalIldaFrames.getFrame(0).getNumberOfPoints(), 32768);
        QCOMPARE(int(point(0, 32767).x), 32767);
        QCOMPARE(cell(0, 3), QStringLiteral("32770"));
        QCOMPARE(int(point(1, 0).x), -7);
        QCOMPARE(colourOf(1, 0), qRgb(1, 2, 3));
    }

    void maximumRecordCount()
    {
        // 65535 records of the widest format: the largest section a header can declare.
        IldaBuilder b;
        b.header(4, "", "", 65535);
        b.raw(QByteArray(65535 * 10, '\x01'));
        b.end();
        QCOMPARE(load(b.bytes()), QString());
        QCOMPARE(cell(0, 3), QStringLiteral("65535"));
        QCOMPARE(load(b.bytes().left(32 + 65535 * 10 - 1)), invalidSection(4));
    }

    void successLeavesFirstFrameCurrent()
    {
        IldaBuilder b;
        for (int f = 0; f < 10; ++f)
            b.header(1, "", "", 1, f, 10).point1(f, 0, 0, 0);
        b.end();
        globalIldaFrames.gotoLast();
        QCOMPARE(load(b.bytes()), QString());
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 10);
        QCOMPARE(globalIldaFrames.getCurrentFrameNumber(), 0);
        QVERIFY(globalIldaFrames.isFirst());
        QVERIFY(!globalIldaFrames.isLast());
        QCOMPARE(rows(), 10);
    }

    void dispatchByEnding_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ilda");
        QTest::newRow(".ild") << "a.ild" << true;
        QTest::newRow(".ILD") << "b.ILD" << true;
        QTest::newRow(".pic.ild") << "c.pic.ild" << true;
        QTest::newRow("no ending") << "plain" << true;
        QTest::newRow(".txt") << "notes.txt" << true;
        QTest::newRow(".Pic") << "d.Pic" << false;
        QTest::newRow(".CCAT") << "e.CCAT" << false;
        QTest::newRow(".ANI") << "f.ANI" << false;
        QTest::newRow("just .ani") << ".ani" << false;
        QTest::newRow(".ild.pic") << "g.ild.pic" << false;
    }

    void dispatchByEnding()
    {
        // An empty file tells the readers apart: the ILDA reader finds no header, the
        // controller readers refuse the format.
        QFETCH(QString, name);
        QFETCH(bool, ilda);
        const QString message = load(QByteArray(), name);
        QCOMPARE(message, ilda ? QStringLiteral("No ILDA header found!")
                               : QStringLiteral("Unknown file format!"));
    }

    void seekIlda()
    {
        const QString path = writeTestFile(m_dir, QStringLiteral("seek.bin"), "xxIILDAyILDA");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(globalIldaFrames.seekIlda(file));
        QCOMPARE(file.pos(), qint64(7));
        QVERIFY(globalIldaFrames.seekIlda(file));
        QCOMPARE(file.pos(), qint64(12));
        QVERIFY(!globalIldaFrames.seekIlda(file));
    }

    void openFileShowsTheError()
    {
        QString title;
        QString text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            QCOMPARE(box->icon(), QMessageBox::Critical);
            box->done(QMessageBox::Ok);
        });
        const QString path = writeTestFile(m_dir, QStringLiteral("bad.ild"), "no header here");
        QVERIFY(!globalIldaFrames.openFile(path, *m_info, nullptr));
        QCOMPARE(title, QStringLiteral("Lumenar"));
        QCOMPARE(text, QStringLiteral("No ILDA header found!"));

        const QString good = writeTestFile(m_dir, QStringLiteral("good.ild"), sampleFile().bytes);
        QVERIFY(globalIldaFrames.openFile(good, *m_info, nullptr));
        QCOMPARE(globalIldaFrames.getNumberOfFrames(), 4);
    }
};

QTEST_MAIN(TestIldaReader)
#include "tst_ildareader.moc"
