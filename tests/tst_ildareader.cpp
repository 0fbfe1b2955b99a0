// SPDX-License-Identifier: GPL-3.0-or-later
// The ILDA reader: sections, records, palettes, names, failures and what a load leaves behind.
#include "TestSupport.h"

#include <QtTest>

#include <numeric>
#include <tuple>

using B = IldaBuilder;

namespace {

// Frames of formats 0, 1, 4 and 5, a palette between them and the end header.
QVector<B> sampleSections()
{
    // clang-format off
    return {B().header(0, "Zero\xE9XYZW", QByteArray("Acme\0xyz", 8), 2, 0, 5)
                .point0(1, 2, 3, 0x40, 0).point0(-4, -5, -6, 0x80, 24),
            B().header(2, "Pal", "", 2).colour(1, 2, 3).colour(4, 5, 6),
            B().header(1, "One", "", 1, 1, 5).point1(7, 8, 0, 1),
            B().header(4, "Four", "", 1, 2, 5).point4(9, 10, 11, 0, 12, 13, 14),
            B().header(5, "Five", "", 2, 3, 5).point5(1, 1, 0, 1, 1, 1).point5(2, 2, 0, 2, 2, 2),
            B().end()};
    // clang-format on
}

QByteArray sampleFile()
{
    const QVector<B> sections = sampleSections();
    return std::accumulate(sections.begin(), sections.end(), QByteArray(),
                           [](const QByteArray& all, const B& b) { return all + b.bytes(); });
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
    // Each fails and leaves nothing behind, even after a good load.
    void failures()
    {
        const QString missing = m_dir.filePath("nowhere/missing.ild");
        // clang-format off
        const QVector<QPair<QString, QByteArray>> files{
            {"No ILDA header found!", "Just notes. ILD_A and ILDa"},
            {"Unknown format (3)!", B().header(3, "", "", 1).bytes()},
            {"Unknown format (256)!", B().header(0x100, "", "", 1).bytes()},
            {"Unknown format (4294967295)!",
             B().header(1, "", "", 1).point1(1, 1, 0, 0).header(0xFFFFFFFFu, "", "", 1).bytes()}};
        // clang-format on
        for (const auto& [message, bytes] : files) {
            QCOMPARE(load(sampleFile()), QString());
            globalIldaFrames.gotoLast();
            COMPARE_ROW(message, load(bytes), message);
            COMPARE_ROW(message, m_probe.dump(), QString());
            COMPARE_ROW(message, globalIldaFrames.getCurrentFrameNumber(), 0);
        }
        QCOMPARE(m_probe.load(missing), QStringLiteral("Cannot open '%1'!").arg(missing));
        // The palettes go back to their defaults even when the next load fails.
        QCOMPARE(load(B().header(2, "", "", 1).colour(1, 2, 3).end().bytes()), QString());
        QCOMPARE(globalIldaFrames.getPaletteEntry(0, 0), qRgb(1, 2, 3));
        QCOMPARE(m_probe.load(QString()), QStringLiteral("No file specified!"));
        QCOMPARE(globalIldaFrames.getPaletteEntry(0, 0), qRgb(255, 0, 0));
        // Only the ending picks the reader: an empty file tells them apart.
        // clang-format off
        for (const auto& [name, reader] : QVector<QPair<QString, char>>{
                 {"b.ILD", 'N'}, {"c.pic.ild", 'N'}, {"notes.txt", 'N'}, {"d.Pic", 'U'}, {"e.CCAT", 'U'}, {"f.ANI", 'U'}})
            COMPARE_ROW(name, load(QByteArray(), name).at(0), QChar(reader)); // No header / Unknown format
        // clang-format on
        // The scan starts afresh in every file: "ILD" ending one and "A" starting the next are no
        // signature.
        QCOMPARE(load("xILD"), QStringLiteral("No ILDA header found!"));
        QCOMPARE(load("A" + sampleFile()), QString());
        // Cuts the sample at every offset and predicts the outcome from where the cut lands.
        const QByteArray file = sampleFile();
        for (int cut = 0; cut <= file.size(); ++cut) {
            QString expected;
            int loaded = 0; // rows and frames read whole
            int start = 0;
            for (const B& section : sampleSections()) {
                const int format = section.bytes().at(7);
                if (cut < start + 4) { // the signature itself is cut: the scan runs dry
                    if (start == 0)
                        expected = QStringLiteral("No ILDA header found!");
                    else
                        QTest::ignoreMessage(QtDebugMsg, "Missing end of file header!");
                    break;
                }
                if (cut < start + 32 || cut < start + section.size()) {
                    expected =
                        cut < start + 32
                            ? QStringLiteral("Invalid ILDA header!")
                            : QStringLiteral("Invalid data section (Format %1)!").arg(format);
                    break;
                }
                loaded += section.size() > 32 ? 2 - (format == 2) : 0;
                start += section.size();
            }
            const QString row = QStringLiteral("cut at %1").arg(cut);
            COMPARE_ROW(row, load(file.left(cut)), expected);
            COMPARE_ROW(row, m_probe.frames() + m_probe.rows(), expected.isEmpty() ? loaded : 0);
        }
    }

    // Files that load, and what they leave.
    void loads()
    {
        const auto one = [](int format, int n = 1) { return B().header(format, "", "", n); };
        const B a = one(1).point1(0, 0, 0, 0);
        const int il = ('I' << 8) | 'L';
        const int da = ('D' << 8) | 'A';
        const QString dataFollow = "Data follow after end of file header!";
        // clang-format off
        const QVector<std::tuple<B, QString, QString>> files{
            {one(4).raw(QByteArray::fromHex("0064FF9C000000102030")).end(), "", "4  1 /0 100,-100,0=302010"},
            // Bit 6 of the status blanks, the rest does not; indices above 63 are white.
            {one(0).point0(-32768, 32767, -1, 0x40, 16).end(), "", "0  1 /0 -32768,32767,-1b=ffff00"},
            {one(0, 2).point0(0, 0, 0, 0xC0, 40).point0(0, 0, 0, 0xBF, 63).end(), "", "0  2 /0 0,0,0b=0000ff 0,0,0=ff2020"},
            {one(1, 2).point1(5, -5, 0, 31).point1(0, 0, 0, 200).end(), "", "1  2 /0 5,-5,0=00ffff 0,0,0=ffffff"},
            // A palette for projector 7 and its frame.
            {B().header(2, "", "", 1, 0, 0, 7).colour(9, 8, 7).header(1, "", "", 1, 0, 1, 7)
                 .point1(0, 0, 0, 0).end(), "", "2  1 /7; 1  1 /7 0,0,0=090807"},
            {B(a).end().raw(a.bytes()), dataFollow, "1  1 /0 0,0,0=ff0000"},
            {B(a).raw("tail"), "Missing end of file header!", "1  1 /0 0,0,0=ff0000"},
            // An extra I right before a signature, stray bytes before and between sections.
            {B().raw(QByteArray("garbage: IL DA ILD\xFFI", 20)).raw(a.bytes()).raw(QByteArray("\0\0junkIL", 8))
                 .header(1, "b", "", 1).point1(3, 4, 0, 0).end(), "", "1  1 /0 0,0,0=ff0000; 1 b 1 /0 3,4,0=ff0000"},
            // x = "IL", y = "DA": the scan never runs inside declared records.
            {one(1).point1(il, da, 'I', 'L').raw(a.bytes()).end(), "", "1  1 /0 18764,17473,0b=ffffff; 1  1 /0 0,0,0=ff0000"}};
        // clang-format on
        for (const auto& [file, debugLine, expected] : files) {
            if (!debugLine.isEmpty())
                QTest::ignoreMessage(QtDebugMsg, qPrintable(debugLine));
            globalIldaFrames.gotoLast();
            COMPARE_ROW(expected, load(file.bytes()), QString());
            COMPARE_ROW(expected, m_probe.dump(), expected);
            COMPARE_ROW(expected, globalIldaFrames.getCurrentFrameNumber(), 0); // the first frame
        }
        // 300 records: entries 0-255 of projector 0 replaced, the rest skipped in step; a later
        // section of 1 replaces entry 0 only; projector 1 keeps its defaults.
        B b;
        b.header(2, "", "", 300);
        for (int k = 0; k < 300; ++k)
            b.colour(k % 256, 1, 2);
        b.header(2, "", "", 1).colour(50, 60, 70).header(1, "", "", 3).point1(0, 0, 0, 0);
        b.point1(0, 0, 0, 200)
            .point1(0, 0, 0, 255)
            .header(1, "", "", 1, 0, 1, 1)
            .point1(0, 0, 0, 0);
        QCOMPARE(load(b.end().bytes()), QString());
        QCOMPARE(m_probe.dump(), "2  300 /0; 2  1 /0; 1  3 /0 0,0,0=323c46 0,0,0=c80102 "
                                 "0,0,0=ff0102; 1  1 /1 0,0,0=ff0000");
        // A new file starts from the default palettes again.
        QCOMPARE(load(one(0).point0(0, 0, 0, 0, 1).end().bytes()), QString());
        QCOMPARE(m_probe.dump(), "0  1 /0 0,0,0=ff1000");
        QCOMPARE(load(sampleFile()), QString());
        // Names and companies: up to the first zero, at most eight bytes, Latin-1. The palette
        // recolours frame "One" read after it, not frame "Zero" before it.
        QCOMPARE(m_probe.dump(),
                 QStringLiteral("0 Zero\u00E9XYZ 2 Acme/0 1,2,3b=ff0000 "
                                "-4,-5,-6=00ff00; 2 Pal 2 /0; 1 One 1 /0 "
                                "7,8,0=040506; 4 Four 1 /0 9,10,11=0c0d0e; 5 Five 2 "
                                "/0 1,1,0=010101 2,2,0=020202"));
        QCOMPARE(m_probe.row(1).at(0),
                 QStringLiteral("2 = Color Palette for Indexed Color Frames"));
        const IldaFrame first = globalIldaFrames.getFrame(0);
        QCOMPARE(first.getName(), QStringLiteral("Zero\u00E9XYZ"));
        QCOMPARE(first.getCompany(), QStringLiteral("Acme"));
        QCOMPARE(first.getTotalFrames(), 5);
        QCOMPARE(globalIldaFrames.getFrame(3).getFrameNumber(), 3);
    }

    void largestSection()
    {
        // 65535 records, the most a header declares: the frame keeps 32768 points, the row shows
        // them all and the next section is read in step.
        B b;
        b.header(4, "", "", 65535);
        for (int i = 0; i < 65535; ++i)
            b.point4(i, 0, 0, 0, 1, 1, 1);
        QCOMPARE(load(b.header(5, "next", "", 1).point5(-7, 7, 0, 1, 2, 3).end().bytes()),
                 QString());
        QCOMPARE(globalIldaFrames.getFrame(0).getNumberOfPoints(), 32768);
        QCOMPARE(m_probe.dump().section(';', 1), " 5 next 1 /0 -7,7,0=010203");
        QCOMPARE(m_probe.row(0).at(3), QStringLiteral("65535"));
    }
};

QTEST_MAIN(TestIldaReader)
#include "tst_ildareader.moc"
