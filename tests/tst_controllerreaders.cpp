// The controller's picture, catalogue and animation readers, and its character set.
#include "PyxBuilder.h"
#include "TestSupport.h"

#include "readers/PyxEncoding.h"

#include <QSet>
#include <QtTest>

#include <tuple>

namespace {

const QString Indexed = QStringLiteral("Vectrion Pyx Picture (Indexed Color)");
const QString TrueColor = QStringLiteral("Vectrion Pyx Picture (True Color)");
const QString UnknownFormat = QStringLiteral("Unknown file format!");

QStringList infoRow(const QString& format, const QString& name, int records)
{
    return {format, name, QString(), QString::number(records), QString()};
}

QString cannotOpen(const QString& file)
{
    return QStringLiteral("Cannot open '%1'!").arg(file);
}

QString decode(const QByteArray& bytes, int length, QChar replacement = QLatin1Char('?'))
{
    return PyxEncoding::fromPyx(reinterpret_cast<const uchar*>(bytes.constData()), length,
                                replacement);
}

// Resident memory of this process in KiB, or -1 where the system does not tell.
qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

Q_DECLARE_METATYPE(PyxBuilder)

class TestControllerReaders : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_canonicalDir;
    Probe m_probe;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString write(const QString& name, const PyxBuilder& bytes, int length = -1) const
    {
        return bytes.write(path(name), length) ? path(name) : QString();
    }
    QString load(const QString& file) { return m_probe.load(file); }
    // The reader of the file's kind, without the emptying that loading does around it.
    QString read(const QString& file)
    {
        if (file.endsWith(QLatin1String(".pic")))
            return globalIldaFrames.openVectrionPIC(file, m_probe.info);
        if (file.endsWith(QLatin1String(".ccat")))
            return globalIldaFrames.openVectrionCCAT(file, m_probe.info);
        return globalIldaFrames.openVectrionANI(file, m_probe.info);
    }
    // A store that holds something, so that a failure has something to clear.
    void loadSomething()
    {
        QCOMPARE(load(write("some.pic", PyxBuilder().picHeader(4, 1, 0).point(4, 1, 2, 3))),
                 QString());
        QCOMPARE(m_probe.frames() + m_probe.rows(), 2);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_canonicalDir = QFileInfo(m_dir.path()).canonicalFilePath();
        // Pictures the animations refer to.
        write("C.catl/P.pic", PyxBuilder().picHeader(4, 1, 0).point(0, 1, 2, 3));
        write("C.catl/Bad.pic", PyxBuilder().picHeader(3, 1, 0).point(0, 1, 2, 3));
    }

    void picPoints_data()
    {
        QTest::addColumn<PyxBuilder>("colors"); // colour records; none: indexed colour
        QTest::addColumn<PyxBuilder>("records");
        QTest::addColumn<Pts>("expected");
        // Palette entries: 5 orange, 8 green, 12 blue, 4 red, 0 white.
        QTest::newRow("index in bits 0-5, bit 6 blanks, bit 7 ignored")
            << PyxBuilder()
            << PyxBuilder()
                   .point(0x45, 100, -200, 300)
                   .point(0x8C, -32768, 32767, 0)
                   .point(0, 1, 2, 3)
            << Pts{{100, -200, -300, 1, 255, 128, 0},
                   {-32768, 32767, 0, 1, 255, 128, 0},
                   {1, 2, -3, 0, 0, 0, 255}};
        // Colour and blanking come from the previous record: A, B, C give A, A, B.
        QTest::newRow("indexed colour and blanking shift one record")
            << PyxBuilder()
            << PyxBuilder().point(0x44, 1, 1, 1).point(0x08, 2, 2, 2).point(0x0C, 3, 3, 3)
            << Pts{{1, 1, -1, 1, 255, 0, 0}, {2, 2, -2, 1, 255, 0, 0}, {3, 3, -3, 0, 0, 255, 0}};
        QTest::newRow("true colour and blanking shift one record")
            << PyxBuilder().color(0, 255, 255).color(80, 255, 255).color(160, 255, 255)
            << PyxBuilder().point(0x4C, 1, 1, 1).point(0x0C, 2, 2, 2).point(0x0C, 3, 3, 3)
            << Pts{{1, 1, -1, 1, 255, 0, 0}, {2, 2, -2, 1, 255, 0, 0}, {3, 3, -3, 0, 0, 255, 0}};
        QTest::newRow("hue in 240ths, saturation, value")
            << PyxBuilder().color(20, 128, 200).color(239, 255, 255).color(240, 255, 255)
            << PyxBuilder().point(0x0C, 0, 0, 0).point(0x0C, 0, 0, 0).point(0x0C, 0, 0, 0)
            << Pts{{0, 0, 0, 0, 200, 150, 100},
                   {0, 0, 0, 0, 200, 150, 100},
                   {0, 0, 0, 0, 255, 0, 8}};
        QTest::newRow("hue 240 is black")
            << PyxBuilder().color(240, 255, 255) << PyxBuilder().point(0x0C, 0, 0, 0)
            << Pts{{0, 0, 0, 0, 0, 0, 0}};
        QTest::newRow("z negated, -32768 kept") << PyxBuilder()
                                                << PyxBuilder()
                                                       .point(0, 0x8000, 0xFFFF, 0x8000)
                                                       .point(0, 0, 0, 1)
                                                       .point(0, 0, 0, 0x8001)
                                                << Pts{{-32768, -1, -32768, 0, 255, 255, 255},
                                                       {0, 0, -1, 0, 255, 255, 255},
                                                       {0, 0, 32767, 0, 255, 255, 255}};
        QTest::newRow("no points") << PyxBuilder() << PyxBuilder() << Pts();
    }
    void picPoints()
    {
        QFETCH(PyxBuilder, colors);
        QFETCH(PyxBuilder, records);
        QFETCH(Pts, expected);
        const int n = records.size() / 8;
        PyxBuilder pic;
        pic.picHeader(4, n, colors.size() ? 8 + colors.size() : 0);
        if (colors.size())
            pic.chunk(2, colors.size()).bytes(colors.data());
        DebugCatcher catcher;
        QCOMPARE(load(write("Points.pic", pic.bytes(records.data()))), QString());
        QCOMPARE(DebugCatcher::lines(), QStringList()); // even out-of-range hues convert quietly
        QCOMPARE(m_probe.row(0), infoRow(colors.size() ? TrueColor : Indexed, "Points", n));
        QCOMPARE(Probe::points(0), expected);
        const IldaFrame frame = globalIldaFrames.getFrame(0);
        QCOMPARE(frame.getName() + frame.getCompany(), QString()); // the name is only in the row
        QCOMPARE(frame.getTotalFrames(), 1);
    }

    void picExtensionArea_data()
    {
        QTest::addColumn<PyxBuilder>("extension"); // of a picture of two points
        QTest::addColumn<bool>("trueColor");
        QTest::addColumn<int>("unknownChunks");
        const PyxBuilder red = PyxBuilder().chunk(2, 8).color(0, 255, 255).color(0, 255, 255);
        const PyxBuilder green = PyxBuilder().chunk(2, 8).color(80, 255, 255).color(80, 255, 255);
        QTest::newRow("none") << PyxBuilder() << false << 0;
        QTest::newRow("colour chunk") << red << true << 0;
        QTest::newRow("colour chunk with bytes after the colours")
            << PyxBuilder().chunk(2, 14).color(0, 255, 255).color(0, 255, 255).zeros(6) << true
            << 0;
        QTest::newRow("colour chunk too short: skipped")
            << PyxBuilder().chunk(2, 7).color(0, 255, 255).zeros(3) << false << 0;
        QTest::newRow("unknown chunk") << PyxBuilder().chunk(7, 3).zeros(3) << false << 1;
        QTest::newRow("empty unknown chunk") << PyxBuilder().chunk(0, 0) << false << 1;
        QTest::newRow("unknown, then colour")
            << PyxBuilder().chunk(7, 1).zeros(1).bytes(red.data()) << true << 1;
        QTest::newRow("two colour chunks: the last wins")
            << PyxBuilder(green).bytes(red.data()) << true << 0;
        QTest::newRow("a later short colour chunk keeps the colours")
            << PyxBuilder(red).chunk(2, 0) << true << 0;
        QTest::newRow("five loose bytes") << PyxBuilder().zeros(5) << false << 0;
        QTest::newRow("colour chunk, then seven loose bytes")
            << PyxBuilder(red).zeros(7) << true << 0;
    }
    void picExtensionArea()
    {
        QFETCH(PyxBuilder, extension);
        QFETCH(bool, trueColor);
        QFETCH(int, unknownChunks);
        // Palette entry 12 is blue: red can only come from the colour records.
        PyxBuilder pic;
        pic.picHeader(4, 2, quint32(extension.size())).bytes(extension.data());
        DebugCatcher catcher;
        QCOMPARE(load(write("ext.pic", pic.point(12, 11, 22, 0).point(12, 33, 44, 0))), QString());
        QCOMPARE(DebugCatcher::lines().size(), unknownChunks);
        QCOMPARE(DebugCatcher::lines().value(0, "Unknown Extension Chunk!"),
                 QStringLiteral("Unknown Extension Chunk!"));
        QCOMPARE(m_probe.row(0), infoRow(trueColor ? TrueColor : Indexed, "ext", 2));
        // The point block starts right after the extension area.
        const Pt rgb = trueColor ? Pt{255, 0, 0} : Pt{0, 0, 255};
        QCOMPARE(Probe::points(0), (Pts{Pt{11, 22, 0, 0} + rgb, Pt{33, 44, 0, 0} + rgb}));
    }

    void picLimitsAndNames()
    {
        // The largest count the header holds; the frame keeps its first 32768 points.
        const int count = 65535;
        PyxBuilder pic;
        pic.picHeader(4, count, 8 + 4 * count).chunk(2, 4 * count);
        for (int i = 0; i < count; ++i)
            pic.color(i % 240, 255, 255);
        for (int i = 0; i < count; ++i)
            pic.point(0, i - 20000, 0, 0);
        QCOMPARE(load(write("big.pic", pic)), QString());
        QCOMPARE(globalIldaFrames.getFrame(0).getNumberOfPoints(), IldaFrame::MaxPoints);
        QCOMPARE(Probe::point(0, IldaFrame::MaxPoints - 1)[0], IldaFrame::MaxPoints - 1 - 20000);
        QCOMPARE(m_probe.row(0), infoRow(TrueColor, "big", count));
        // The row's name: the file name up to its first dot, at most 14 characters.
        for (const auto& [file, name] :
             QVector<QPair<QString, QString>>{{"my.show.pic", "my"},
                                              {"ABCDEFGHIJKLMNOPQRST.PIC", "ABCDEFGHIJKLMN"},
                                              {".pic", ""}}) {
            QCOMPARE(load(write(file, PyxBuilder().picHeader(4, 0, 0))), QString());
            QCOMPARE(m_probe.row(0), infoRow(Indexed, name, 0));
        }
    }

    // Counts (an int) and strings (a string): 0xFE and 0xFF announce 16 and signed 32 bits.
    void readFields_data()
    {
        QTest::addColumn<PyxBuilder>("field");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("count 0xFD") << PyxBuilder().u8(0xFD) << true << QVariant(253);
        QTest::newRow("count 0xFE 0x01 0x00")
            << PyxBuilder().u8(0xFE).u16(256) << true << QVariant(256);
        QTest::newRow("count 0xFE 0xFFFF")
            << PyxBuilder().count16(65535) << true << QVariant(65535);
        QTest::newRow("count 0xFF -1")
            << PyxBuilder().u8(0xFF).u32(0xFFFFFFFF) << true << QVariant(-1);
        QTest::newRow("count: nothing") << PyxBuilder() << false << QVariant(0);
        QTest::newRow("count: lone 0xFE") << PyxBuilder().u8(0xFE) << false << QVariant(0);
        QTest::newRow("count: 0xFF and three bytes")
            << PyxBuilder().u8(0xFF).u16(1).u8(2) << false << QVariant(0);
        QTest::newRow("string of length 0") << PyxBuilder().count(0) << true << QVariant("");
        QTest::newRow("string: zero inside ends it")
            << PyxBuilder().string(QByteArray("AB\0C", 4)) << true << QVariant("AB");
        QTest::newRow("string of controller characters")
            << PyxBuilder().string("\x81\x9E\xFE") << true
            << QVariant(QStringLiteral("\u00FC?\u20AC"));
        QTest::newRow("string of 256") << PyxBuilder().string(QByteArray(256, 'x')) << true
                                       << QVariant(QString(256, QLatin1Char('x')));
        QTest::newRow("string of 257")
            << PyxBuilder().string(QByteArray(257, 'x')) << false << QVariant("");
        QTest::newRow("string of negative length")
            << PyxBuilder().count32(-1).zeros(8) << false << QVariant("");
        QTest::newRow("string cut short")
            << PyxBuilder().count(5).bytes("abc") << false << QVariant("");
    }
    void readFields()
    {
        QFETCH(PyxBuilder, field);
        QFETCH(bool, ok);
        QFETCH(QVariant, value);
        // A marker after a whole field shows where the read stopped.
        QFile in(write("field", ok ? PyxBuilder(field).u8('Z') : field));
        QVERIFY(in.open(QIODevice::ReadOnly));
        const bool isCount = value.userType() == QMetaType::Int;
        int count = 12345;
        QString text = QStringLiteral("untouched");
        QCOMPARE(isCount ? globalIldaFrames.readCount(in, count)
                         : globalIldaFrames.readString(in, text),
                 ok);
        const QVariant untouched =
            isCount ? QVariant(12345) : QVariant(QStringLiteral("untouched"));
        QCOMPARE(isCount ? QVariant(count) : QVariant(text), ok ? value : untouched);
        char next = 0;
        QCOMPARE(in.getChar(&next) && next == 'Z', ok);
    }

    void ccatSections()
    {
        PyxBuilder cat;
        cat.ccatHeader(22, 3, 0).section(2).pictureHeader("ABCDEFGHIJKLMNOP", 0x00, 2);
        cat.point(0x04, 1, 2, 3).point(0x08, 4, 5, 6);
        cat.pictureHeader("W\x81rfel\x9E\xFE\xFA", 0x08, 1)
            .point(0x00, 7, 8, 9)
            .color(160, 255, 255);
        cat.section(0).section(1).pictureHeader(QByteArray("AB\0DEFGHIJKLMNOP", 16), 0x08, 0);
        QCOMPARE(load(write("show.ccat", cat)), QString());
        QCOMPARE(m_probe.rows(), 3);
        QCOMPARE(m_probe.row(0), infoRow(Indexed, "ABCDEFGHIJKLMNOP", 2));
        QCOMPARE(m_probe.row(1), infoRow(TrueColor, QStringLiteral("W\u00FCrfel?\u20AC\u2026"), 1));
        QCOMPARE(m_probe.row(2), infoRow(TrueColor, "AB", 0));
        QCOMPARE(m_probe.frames(), 3);
        QCOMPARE(Probe::points(0), (Pts{{1, 2, -3, 0, 255, 0, 0}, {4, 5, -6, 0, 255, 0, 0}}));
        QCOMPARE(Probe::points(1), (Pts{{7, 8, -9, 0, 0, 0, 255}}));
        QCOMPARE(globalIldaFrames.getFrame(1).getName(), QString());
    }

    void ccatTrueColorVersion_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("trueColor");
        QTest::newRow("21, flag set") << 21 << 0xFF << false;
        QTest::newRow("22, flag set") << 22 << 0xFF << true;
        QTest::newRow("22, every flag but bit 3") << 22 << 0xF7 << false;
    }
    void ccatTrueColorVersion()
    {
        QFETCH(int, version);
        QFETCH(int, flags);
        QFETCH(bool, trueColor);
        // Colour records follow the points only for a true-colour picture; the next one shows it.
        PyxBuilder cat;
        cat.ccatHeader(version, 1, 0).section(2).pictureHeader("F", flags, 1).point(4, 1, 1, 1);
        if (trueColor)
            cat.color(80, 255, 255);
        cat.pictureHeader("Next", 0x00, 1).point(0x0C, 3, 3, 3);
        QCOMPARE(load(write("v.ccat", cat)), QString());
        QCOMPARE(m_probe.row(0), infoRow(trueColor ? TrueColor : Indexed, "F", 1));
        QCOMPARE(Probe::point(0, 0),
                 (Pt{1, 1, -1, 0, trueColor ? 0 : 255, trueColor ? 255 : 0, 0}));
        QCOMPARE(Probe::points(1), (Pts{{3, 3, -3, 0, 0, 0, 255}}));
    }

    void aniLoadsEachEntry()
    {
        write("Intro.catl/Star.pic",
              PyxBuilder().picHeader(4, 2, 0).point(4, 1, 2, 3).point(4, 4, 5, 6));
        write("Outro.catl/Glow.pic",
              PyxBuilder().picHeader(4, 1, 12).chunk(2, 4).color(80, 255, 255).point(0, 7, 8, 9));
        write(QStringLiteral("B\u00FChne.catl/Gr\u00FCn.pic"),
              PyxBuilder().picHeader(4, 1, 0).point(0, 5, 5, 5));
        // The same file under another name keeps the name its entry used.
        const bool linked = QFile::link(path("Intro.catl/Star.pic"), path("Intro.catl/Alias.pic"));
        PyxBuilder ani;
        ani.aniHeader(linked ? 5 : 4).entry("Intro", "Star").entry("Outro", "Glow");
        ani.entry("B\x81hne", "Gr\x81n").entry("Intro", "Star"); // 0x81 is u umlaut
        if (linked)
            ani.entry("Intro", "Alias");
        QCOMPARE(load(write("show.ani", ani.count(0))), QString());
        const Pts star{{1, 2, -3, 0, 255, 0, 0}, {4, 5, -6, 0, 255, 0, 0}};
        QCOMPARE(m_probe.rows(), linked ? 5 : 4); // the animation itself adds none
        QCOMPARE(m_probe.row(0), infoRow(Indexed, "Star", 2));
        QCOMPARE(m_probe.row(1), infoRow(TrueColor, "Glow", 1));
        QCOMPARE(m_probe.row(2), infoRow(Indexed, QStringLiteral("Gr\u00FCn"), 1));
        QCOMPARE(m_probe.row(3), infoRow(Indexed, "Star", 2));
        QCOMPARE(m_probe.row(linked ? 4 : 3), infoRow(Indexed, linked ? "Alias" : "Star", 2));
        QCOMPARE(Probe::points(0), star);
        QCOMPARE(Probe::points(1), (Pts{{7, 8, -9, 0, 0, 255, 0}}));
        QCOMPARE(Probe::points(2), (Pts{{5, 5, -5, 0, 255, 255, 255}}));
        QCOMPARE(Probe::points(m_probe.frames() - 1), star);
    }

    void aniUsesCanonicalDirectory()
    {
        // Reached through a link, the animation's pictures still lie beside the real file.
        write("real/Intro.catl/Star.pic", PyxBuilder().picHeader(4, 1, 0).point(0, 9, 9, 9));
        write("real/show.ani", PyxBuilder().aniHeader(1).entry("Intro", "Star").count(0));
        QVERIFY(QDir().mkpath(path("elsewhere")));
        if (!QFile::link(path("real/show.ani"), path("elsewhere/show.ani")))
            QSKIP("no symbolic links here");
        QCOMPARE(load(path("elsewhere/show.ani")), QString());
        QCOMPARE(Probe::points(0), (Pts{{9, 9, -9, 0, 255, 255, 255}}));
    }

    void aniRepeatedPictureSharesMemory()
    {
        // Each entry is a few bytes but names a frame of 32768 kept points (about 320 KiB): 4000
        // separate copies would take well over a gigabyte.
        const int count = 40000;
        const int entries = 4000;
        PyxBuilder big;
        big.picHeader(4, count, 0);
        for (int i = 0; i < count; ++i)
            big.point(0, i, -i, i);
        write("C.catl/Big.pic", big);
        PyxBuilder ani;
        ani.aniHeader(entries);
        for (int e = 0; e < entries; ++e)
            ani.entry("C", "Big");
        const QString file = write("many.ani", ani.count(0));
        load(QString());
        const qint64 before = residentKiB();
        QCOMPARE(load(file), QString());
        const qint64 after = residentKiB();
        QCOMPARE(m_probe.row(entries - 1), infoRow(Indexed, "Big", count));
        QCOMPARE(Probe::point(entries - 1, 100), (Pt{100, -100, -100, 0, 255, 255, 255}));
        if (before < 0 || after < 0)
            QSKIP("resident memory is not reported here");
        QVERIFY2(after - before < 256 * 1024, qPrintable(QString::number(after - before)));
    }

    // A row without bytes names a file that does not exist.
    void messages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<PyxBuilder>("bytes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("frames");
        const PyxBuilder pic = PyxBuilder().point(0, 1, 2, 3);
        QTest::newRow("pic version 3")
            << "v.pic" << PyxBuilder().picHeader(3, 1, 0).bytes(pic.data()) << UnknownFormat << 0;
        QTest::newRow("pic version 4, bytes after the points")
            << "v.pic" << PyxBuilder().picHeader(4, 1, 0).bytes(pic.data()).zeros(100) << "" << 1;
        // The area holds 8 body bytes; a valid point block follows whatever is skipped.
        QTest::newRow("pic: colour chunk longer than the extension area")
            << "long.pic" << PyxBuilder().picHeader(4, 2, 16).chunk(2, 9).zeros(8 + 64)
            << UnknownFormat << 0;
        QTest::newRow("pic: unknown chunk of 4 GiB")
            << "long.pic" << PyxBuilder().picHeader(4, 2, 16).chunk(7, 0xFFFFFFFF).zeros(8 + 64)
            << UnknownFormat << 0;
        QTest::newRow("pic missing")
            << "nowhere/gone.pic" << PyxBuilder() << cannotOpen(path("nowhere/gone.pic")) << 0;
        const PyxBuilder one = PyxBuilder().section(1).pictureHeader("P", 0, 1).bytes(pic.data());
        QTest::newRow("ccat version 3")
            << "v.ccat" << PyxBuilder().ccatHeader(3, 1, 0).bytes(one.data()) << UnknownFormat << 0;
        QTest::newRow("ccat version 4")
            << "v.ccat" << PyxBuilder().ccatHeader(4, 1, 0).bytes(one.data()) << "" << 1;
        QTest::newRow("ccat header extension skipped")
            << "v.ccat"
            << PyxBuilder().ccatHeader(22, 1, 10).bytes(QByteArray(10, '\xEE')).bytes(one.data())
            << "" << 1;
        QTest::newRow("ccat negative header extension skips nothing")
            << "v.ccat" << PyxBuilder().ccatHeader(22, 1, INT_MIN).bytes(one.data()) << "" << 1;
        QTest::newRow("ani negative entry count")
            << "v.ANI" << PyxBuilder().aniHeader(-3).count(0) << "" << 0;
        QTest::newRow("ani version 256")
            << "v.ani" << PyxBuilder().count(0).count16(256).string("").zeros(6).count(0).count(0)
            << "Unknown file version!" << 0;
        QTest::newRow("ani version 0 in the long forms") << "v.ani"
                                                         << PyxBuilder()
                                                                .count32(77)
                                                                .count32(0)
                                                                .string("text")
                                                                .zeros(6)
                                                                .count16(1)
                                                                .entry("C", "P")
                                                                .count(0)
                                                         << "" << 1;
        QTest::newRow("ani missing picture, decoded name")
            << "v.ani"
            << PyxBuilder().aniHeader(2).entry("C", "P").entry("B\x81hne", "Bl\x9E").count(0)
            << cannotOpen(m_canonicalDir + QStringLiteral("/B\u00FChne.catl/Bl?.pic")) << 0;
        QTest::newRow("ani name of 256")
            << "v.ani" << PyxBuilder().aniHeader(1).entry(QByteArray(256, 'C'), "P").count(0)
            << cannotOpen(m_canonicalDir + '/' + QString(256, QLatin1Char('C')) + ".catl/P.pic")
            << 0;
        QTest::newRow("ani trailer skipped, bytes after ignored")
            << "v.ani" << PyxBuilder().aniHeader(0).count(3).zeros(3 + 9) << "" << 0;
        QTest::newRow("ani negative trailer skips nothing")
            << "v.ani" << PyxBuilder().aniHeader(0).count32(-7) << "" << 0;
        QTest::newRow("ani trailer longer than the file")
            << "v.ani" << PyxBuilder().aniHeader(0).count(4).zeros(3) << UnknownFormat << 0;
    }
    // Loading empties the store first, and again on any failure.
    void messages()
    {
        QFETCH(QString, name);
        QFETCH(PyxBuilder, bytes);
        QFETCH(QString, message);
        QFETCH(int, frames);
        const QString file = bytes.size() ? write(name, bytes) : path(name);
        loadSomething();
        QCOMPARE(load(file), message);
        QCOMPARE(m_probe.frames(), frames);
        QCOMPARE(m_probe.rows(), frames);
    }

    void noFileName()
    {
        loadSomething();
        for (auto reader : {&IldaFrames::openVectrionPIC, &IldaFrames::openVectrionCCAT,
                            &IldaFrames::openVectrionANI})
            QCOMPARE((globalIldaFrames.*reader)(QString(), m_probe.info),
                     QStringLiteral("No file specified!"));
        QCOMPARE(m_probe.frames() + m_probe.rows(), 2);
    }

    void truncatedAnywhere_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<PyxBuilder>("bytes");
        QTest::addColumn<int>("end"); // bytes from here on are ignored
        // A colour chunk with spare bytes, an unknown chunk and loose bytes before the points.
        PyxBuilder pic;
        pic.picHeader(4, 3, 8 + 16 + 8 + 2 + 3).chunk(2, 16);
        pic.color(0, 255, 255).color(80, 255, 255).color(160, 255, 255).zeros(4);
        pic.chunk(9, 2).zeros(2 + 3).point(0, 1, 1, 1).point(0, 2, 2, 2).point(0, 3, 3, 3);
        QTest::newRow("picture") << "cut.pic" << PyxBuilder(pic).zeros(9) << pic.size();
        // Header extension, two sections, both colour modes.
        PyxBuilder cat;
        cat.ccatHeader(22, 2, 3).zeros(3).section(1).pictureHeader("Indexed", 0, 2);
        cat.point(4, 1, 1, 1).point(5, 2, 2, 2).section(1).pictureHeader("Colour", 0x08, 2);
        cat.point(0, 3, 3, 3).point(0, 4, 4, 4).color(0, 255, 255).color(80, 255, 255);
        QTest::newRow("catalogue") << "cut.ccat" << PyxBuilder(cat).zeros(9) << cat.size();
        // Every count in each of its forms.
        PyxBuilder ani;
        ani.count16(300).count32(0).count16(3).bytes("abc").zeros(6).count32(2);
        ani.count16(1).bytes("C").string("P").string("C").count32(1).bytes("P").count16(4).zeros(4);
        QTest::newRow("animation") << "cut.ani" << PyxBuilder(ani).zeros(9) << ani.size();
    }
    void truncatedAnywhere()
    {
        QFETCH(QString, name);
        QFETCH(PyxBuilder, bytes);
        QFETCH(int, end);
        DebugCatcher catcher;
        QCOMPARE(load(write(name, bytes)), QString());
        QVERIFY(m_probe.frames() >= 1);
        for (int length = 0; length < end; ++length) {
            const QString file = write(name, bytes, length);
            const QByteArray at = QByteArray::number(length);
            loadSomething();
            // A picture reaches the store only once it has been read whole.
            if (name.endsWith(QLatin1String(".pic"))) {
                QCOMPARE(read(file), UnknownFormat);
                QVERIFY2(m_probe.frames() == 1 && m_probe.rows() == 1, at);
            }
            QCOMPARE(load(file), UnknownFormat);
            QVERIFY2(m_probe.frames() == 0 && m_probe.rows() == 0, at);
        }
    }

    void readerKeepsEarlierPictures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<PyxBuilder>("bytes");
        QTest::addColumn<int>("kept");
        PyxBuilder cat;
        cat.ccatHeader(22, 1, 0).section(3).pictureHeader("One", 0, 1).point(0, 1, 1, 1);
        cat.pictureHeader("Two", 0, 1)
            .point(0, 2, 2, 2)
            .pictureHeader("Three", 0, 2)
            .point(0, 3, 3, 3);
        QTest::newRow("catalogue ending in its third picture") << "three.ccat" << cat << 2;
        QTest::newRow("animation with a bad second picture")
            << "bad.ani" << PyxBuilder().aniHeader(2).entry("C", "P").entry("C", "Bad").count(0)
            << 1;
        QTest::newRow("animation ending before its trailer length")
            << "short.ani" << PyxBuilder().aniHeader(2).entry("C", "P").entry("C", "P") << 2;
    }
    // The reader leaves the pictures it read before the failure; loading then clears them.
    void readerKeepsEarlierPictures()
    {
        QFETCH(QString, name);
        QFETCH(PyxBuilder, bytes);
        QFETCH(int, kept);
        const QString file = write(name, bytes);
        load(QString());
        QCOMPARE(read(file), UnknownFormat);
        QCOMPARE(m_probe.frames(), kept);
        QCOMPARE(m_probe.rows(), kept);
        QCOMPARE(load(file), UnknownFormat);
        QCOMPARE(m_probe.frames() + m_probe.rows(), 0);
    }

    // byte -> character and back; -1 where that direction is not checked.
    void characterSet_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("unicode");
        for (const auto& [name, byte, unicode] :
             QVector<std::tuple<const char*, int, int>>{{"A", 0x41, 0x41},
                                                        {"euro", 0xFE, 0x20AC},
                                                        {"u umlaut", 0x81, 0xFC},
                                                        {"left quote", 0xB0, 0x2018},
                                                        {"right quote", 0xB1, 0x2019},
                                                        {"ellipsis", 0xFA, 0x2026},
                                                        {"C1 control", 0xF2, 0x84},
                                                        {"y diaeresis", 0x98, 0xFF},
                                                        {"byte 0xC8 has none", 0xC8, -1},
                                                        {"byte 0 has none", 0, -1},
                                                        {"U+0080 has none", -1, 0x80},
                                                        {"U+2020 has none", -1, 0x2020}})
            QTest::newRow(name) << byte << unicode;
    }
    void characterSet()
    {
        QFETCH(int, byte);
        QFETCH(int, unicode);
        if (byte >= 0)
            QCOMPARE(PyxEncoding::fromPyx(uchar(byte)).unicode(), ushort(qMax(unicode, 0)));
        if (unicode >= 0)
            QCOMPARE(int(PyxEncoding::toPyx(QChar(ushort(unicode)))), qMax(byte, 0));
    }

    void strings()
    {
        // Decoding stops at a zero byte or the length, whichever comes first.
        for (const auto& [bytes, length, text] : QVector<std::tuple<QByteArray, int, QString>>{
                 {QByteArray("AB\0C", 4), -1, "AB"},
                 {QByteArray("AB\0DEFGHIJKLMNOP", 16), 16, "AB"},
                 {"ABCDEF", 3, "ABC"},
                 {"ABC", 0, ""},
                 {"Gr\x81\xE1"
                  "e\xC8!",
                  -1, QStringLiteral("Gr\u00FC\u00DFe#!")}})
            QCOMPARE(decode(bytes, length, '#'), text);
        QCOMPARE(PyxEncoding::fromPyx(nullptr, 3, QLatin1Char('?')), QString());
        // Encoding: one byte per UTF-16 unit, the replacement for those without, a final zero.
        for (const auto& [text, bytes] : QVector<QPair<QString, QByteArray>>{
                 {QString(), QByteArray(1, '\0')},
                 {QStringLiteral("\u00FC\u20AC\u2026"), QByteArray("\x81\xFE\xFA", 4)},
                 {QStringLiteral("a") + QChar(0) + QStringLiteral("\u0100"), QByteArray("a##", 4)},
                 {QString::fromUcs4(U"\U0001F600"), QByteArray("##", 3)}})
            QCOMPARE(PyxEncoding::toPyx(text, '#'), bytes);
    }

    // Every byte with a character encodes back to itself, every character with a byte decodes
    // back, and the whole set survives as a string.
    void everyByteAndCharacterRoundTrips()
    {
        QString all;
        QByteArray bytes;
        QSet<ushort> decoded;
        for (int b = 1; b < 256; ++b) {
            const QChar c = PyxEncoding::fromPyx(uchar(b));
            if (c.isNull())
                continue;
            QVERIFY2(PyxEncoding::toPyx(c) == b, qPrintable(QString::number(b, 16)));
            if (b < 0x80) // ASCII and the C0 controls are themselves
                QCOMPARE(c.unicode(), ushort(b));
            all += c;
            bytes += char(b);
            decoded.insert(c.unicode());
        }
        QCOMPARE(decoded.size(), 211); // 127 below 0x80, 84 above: no two bytes share a character
        for (int u = 0; u <= 0xFFFF; ++u) {
            const uchar b = PyxEncoding::toPyx(QChar(ushort(u)));
            QVERIFY2((b != 0) == decoded.contains(ushort(u)), qPrintable(QString::number(u, 16)));
        }
        QCOMPARE(PyxEncoding::toPyx(all, 0xC8), bytes + '\0');
        QCOMPARE(decode(bytes, -1), all);
    }
};

QTEST_MAIN(TestControllerReaders)
#include "tst_controllerreaders.moc"
