// The controller's picture, catalogue and animation readers, and the demo show's controller files.
#include "PyxBuilder.h"

#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "tools/DemoShow.h"
#include "tools/Inspector.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Indexed = QStringLiteral("Vectrion Pyx Picture (Indexed Color)");
const QString TrueColor = QStringLiteral("Vectrion Pyx Picture (True Color)");
const QString UnknownFormat = QStringLiteral("Unknown file format!");
const QString UnknownVersion = QStringLiteral("Unknown file version!");

// Each point as x, y, z, blanked, red, green, blue.
using Points = QVector<QVector<int>>;

QString cannotOpen(const QString& file)
{
    return QStringLiteral("Cannot open '%1'!").arg(file);
}

QStringList infoRow(const QString& format, const QString& name, int records)
{
    return {format, name, QString(), QString::number(records), QString()};
}

// Collects debug output while it lives, so a test can say which lines a read wrote.
class DebugCatcher
{
public:
    DebugCatcher() : m_previous(qInstallMessageHandler(&handle)) { lines().clear(); }
    ~DebugCatcher() { qInstallMessageHandler(m_previous); }
    static QStringList& lines()
    {
        static QStringList caught;
        return caught;
    }

private:
    static void handle(QtMsgType, const QMessageLogContext&, const QString& text)
    {
        lines() << text;
    }
    QtMessageHandler m_previous;
};

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

private slots:
    void initTestCase();
    void cleanupTestCase();

    void picPoints_data();
    void picPoints();
    void picExtensionArea_data();
    void picExtensionArea();
    void picMoreThanFrameCapacity();
    void picName_data();
    void picName();

    void readFields_data();
    void readFields();

    void ccatSections();
    void ccatTrueColorVersion_data();
    void ccatTrueColorVersion();
    void ccatNames_data();
    void ccatNames();

    void aniLoadsEachEntry();
    void aniUsesCanonicalDirectory();
    void aniRepeatedPictureSharesMemory();

    void messages_data();
    void messages();
    void truncatedAnywhere_data();
    void truncatedAnywhere();
    void readerKeepsEarlierPictures_data();
    void readerKeepsEarlierPictures();
    void noFileName();

    void demoShow_data();
    void demoShow();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString write(const QString& name, const PyxBuilder& bytes, int length = -1) const
    {
        const QString file = path(name);
        if (!bytes.write(file, length))
            QTest::qFail(qPrintable("cannot write " + file), __FILE__, __LINE__);
        return file;
    }
    QString load(const QString& file) { return globalIldaFrames.loadFile(file, *m_info); }
    // The reader of the file's kind, without the emptying that loading does around it.
    QString read(const QString& file);
    int frames() const { return globalIldaFrames.getNumberOfFrames(); }
    int rows() const { return m_info->model()->rowCount(); }
    QStringList row(int r) const;
    QVector<int> point(int frame, int index) const;
    Points points(int frame) const;
    // A store that holds something, so that a failure has something to clear.
    void loadSomething();

    QTemporaryDir m_dir;
    QString m_canonicalDir;
    InfoWindow* m_info = nullptr;
};

void TestControllerReaders::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_canonicalDir = QFileInfo(m_dir.path()).canonicalFilePath();
    m_info = new InfoWindow;
    // Pictures the animations refer to.
    write(QStringLiteral("C.catl/P.pic"), PyxBuilder().picHeader(4, 1, 0).point(0, 1, 2, 3));
    write(QStringLiteral("C.catl/Bad.pic"), PyxBuilder().picHeader(3, 1, 0).point(0, 1, 2, 3));
    QVERIFY(QDir().mkpath(path(QStringLiteral("demo"))));
    QVERIFY(!DemoShow::writeAll(path(QStringLiteral("demo"))).isEmpty());
}

void TestControllerReaders::cleanupTestCase()
{
    load(QString());
    delete m_info;
}

QString TestControllerReaders::read(const QString& file)
{
    if (file.endsWith(QLatin1String(".pic")))
        return globalIldaFrames.openVectrionPIC(file, *m_info);
    if (file.endsWith(QLatin1String(".ccat")))
        return globalIldaFrames.openVectrionCCAT(file, *m_info);
    return globalIldaFrames.openVectrionANI(file, *m_info);
}

QStringList TestControllerReaders::row(int r) const
{
    QStringList cells;
    for (int c = 0; c < m_info->model()->columnCount(); ++c)
        cells << m_info->model()->index(r, c).data().toString();
    return cells;
}

QVector<int> TestControllerReaders::point(int frame, int index) const
{
    const IldaPoint p = globalIldaFrames.getFrame(frame).getPoint(index);
    return {p.x, p.y, p.z, p.blanked, p.red, p.green, p.blue};
}

Points TestControllerReaders::points(int frame) const
{
    Points all;
    for (int i = 0; i < globalIldaFrames.getFrame(frame).getNumberOfPoints(); ++i)
        all << point(frame, i);
    return all;
}

void TestControllerReaders::loadSomething()
{
    QCOMPARE(load(write(QStringLiteral("something.pic"),
                        PyxBuilder().picHeader(4, 1, 0).point(4, 1, 2, 3))),
             QString());
    QCOMPARE(frames() + rows(), 2);
}

// ---- Pictures ----

void TestControllerReaders::picPoints_data()
{
    QTest::addColumn<PyxBuilder>("colors"); // colour records; none: indexed colour
    QTest::addColumn<PyxBuilder>("records");
    QTest::addColumn<Points>("expected");

    // Palette entries: 5 orange, 8 green, 12 blue, 4 red, 0 white.
    QTest::newRow("palette index in bits 0-5, bit 6 blanks, bit 7 ignored")
        << PyxBuilder()
        << PyxBuilder().point(0x45, 100, -200, 300).point(0x8C, -32768, 32767, 0).point(0, 1, 2, 3)
        << Points{{100, -200, -300, 1, 255, 128, 0},
                  {-32768, 32767, 0, 1, 255, 128, 0},
                  {1, 2, -3, 0, 0, 0, 255}};
    // Colour and blanking come from the previous record: A, B, C give A, A, B.
    QTest::newRow("indexed colour and blanking shift one record")
        << PyxBuilder()
        << PyxBuilder().point(0x44, 1, 1, 1).point(0x08, 2, 2, 2).point(0x0C, 3, 3, 3)
        << Points{{1, 1, -1, 1, 255, 0, 0}, {2, 2, -2, 1, 255, 0, 0}, {3, 3, -3, 0, 0, 255, 0}};
    QTest::newRow("true colour and blanking shift one record")
        << PyxBuilder().color(0, 255, 255).color(80, 255, 255).color(160, 255, 255)
        << PyxBuilder().point(0x4C, 1, 1, 1).point(0x0C, 2, 2, 2).point(0x0C, 3, 3, 3)
        << Points{{1, 1, -1, 1, 255, 0, 0}, {2, 2, -2, 1, 255, 0, 0}, {3, 3, -3, 0, 0, 255, 0}};
    // The palette's blue must not show through a colour record.
    QTest::newRow("hue in 240ths, saturation, value")
        << PyxBuilder().color(20, 128, 200) << PyxBuilder().point(0x0C, 0, 0, 0)
        << Points{{0, 0, 0, 0, 200, 150, 100}};
    QTest::newRow("hue 239 is 358 degrees")
        << PyxBuilder().color(239, 255, 255) << PyxBuilder().point(0x0C, 0, 0, 0)
        << Points{{0, 0, 0, 0, 255, 0, 8}};
    QTest::newRow("hue 240 is black")
        << PyxBuilder().color(240, 255, 255) << PyxBuilder().point(0x0C, 0, 0, 0)
        << Points{{0, 0, 0, 0, 0, 0, 0}};
    QTest::newRow("z negated, -32768 kept") << PyxBuilder()
                                            << PyxBuilder()
                                                   .point(0, 0x8000, 0xFFFF, 0x8000)
                                                   .point(0, 0, 0, 0x0001)
                                                   .point(0, 0, 0, 0xFFFF)
                                                   .point(0, 0, 0, 0x8001)
                                            << Points{{-32768, -1, -32768, 0, 255, 255, 255},
                                                      {0, 0, -1, 0, 255, 255, 255},
                                                      {0, 0, 1, 0, 255, 255, 255},
                                                      {0, 0, 32767, 0, 255, 255, 255}};
    QTest::newRow("no points") << PyxBuilder() << PyxBuilder() << Points();
}

void TestControllerReaders::picPoints()
{
    QFETCH(PyxBuilder, colors);
    QFETCH(PyxBuilder, records);
    QFETCH(Points, expected);
    const int n = records.size() / 8;
    PyxBuilder pic;
    pic.picHeader(4, n, colors.size() ? 8 + colors.size() : 0);
    if (colors.size())
        pic.chunk(2, colors.size()).bytes(colors.data());
    const QString file = write(QStringLiteral("Points.pic"), pic.bytes(records.data()));

    DebugCatcher catcher;
    QCOMPARE(load(file), QString());
    QCOMPARE(DebugCatcher::lines(), QStringList()); // even out-of-range hues convert quietly
    QCOMPARE(row(0), infoRow(colors.size() ? TrueColor : Indexed, QStringLiteral("Points"), n));
    QCOMPARE(points(0), expected);
    const IldaFrame frame = globalIldaFrames.getFrame(0);
    QCOMPARE(frame.getName() + frame.getCompany(), QString()); // the name is only in the row
    QCOMPARE(frame.getFrameNumber(), 0);
    QCOMPARE(frame.getTotalFrames(), 1);
}

void TestControllerReaders::picExtensionArea_data()
{
    QTest::addColumn<PyxBuilder>("extension"); // of a picture of two points
    QTest::addColumn<bool>("trueColor");
    QTest::addColumn<int>("unknownChunks");

    const PyxBuilder red = PyxBuilder().chunk(2, 8).color(0, 255, 255).color(0, 255, 255);
    const PyxBuilder green = PyxBuilder().chunk(2, 8).color(80, 255, 255).color(80, 255, 255);
    QTest::newRow("none") << PyxBuilder() << false << 0;
    QTest::newRow("colour chunk") << red << true << 0;
    QTest::newRow("colour chunk with bytes after the colours")
        << PyxBuilder().chunk(2, 14).color(0, 255, 255).color(0, 255, 255).zeros(6) << true << 0;
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
    QTest::newRow("colour chunk, then seven loose bytes") << PyxBuilder(red).zeros(7) << true << 0;
}

void TestControllerReaders::picExtensionArea()
{
    QFETCH(PyxBuilder, extension);
    QFETCH(bool, trueColor);
    QFETCH(int, unknownChunks);
    // Palette entry 12 is blue: red can only come from the colour records.
    PyxBuilder pic;
    pic.picHeader(4, 2, quint32(extension.size())).bytes(extension.data());
    const QString file =
        write(QStringLiteral("ext.pic"), pic.point(12, 11, 22, 0).point(12, 33, 44, 0));

    DebugCatcher catcher;
    QCOMPARE(load(file), QString());
    QCOMPARE(DebugCatcher::lines(),
             QStringList(QVector<QString>(unknownChunks, "Unknown Extension Chunk!").toList()));
    QCOMPARE(row(0), infoRow(trueColor ? TrueColor : Indexed, QStringLiteral("ext"), 2));
    // The point block starts right after the extension area.
    const QVector<int> rgb = trueColor ? QVector<int>{255, 0, 0} : QVector<int>{0, 0, 255};
    QCOMPARE(points(0),
             (Points{QVector<int>{11, 22, 0, 0} + rgb, QVector<int>{33, 44, 0, 0} + rgb}));
}

void TestControllerReaders::picMoreThanFrameCapacity()
{
    // The largest count the header holds; the frame keeps its first 32768 points.
    const int count = 65535;
    PyxBuilder pic;
    pic.picHeader(4, count, 8 + 4 * count).chunk(2, 4 * count);
    for (int i = 0; i < count; ++i)
        pic.color(i % 240, 255, 255);
    for (int i = 0; i < count; ++i)
        pic.point(0, i - 20000, 0, 0);
    QCOMPARE(load(write(QStringLiteral("big.pic"), pic)), QString());
    QCOMPARE(globalIldaFrames.getFrame(0).getNumberOfPoints(), IldaFrame::MaxPoints);
    QCOMPARE(point(0, IldaFrame::MaxPoints - 1)[0], IldaFrame::MaxPoints - 1 - 20000);
    QCOMPARE(row(0), infoRow(TrueColor, QStringLiteral("big"), count));
}

void TestControllerReaders::picName_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("name");
    QTest::newRow("two dots") << "my.show.pic"
                              << "my";
    QTest::newRow("upper-case ending") << "Shout.PIC"
                                       << "Shout";
    QTest::newRow("14 kept") << "ABCDEFGHIJKLMN.pic"
                             << "ABCDEFGHIJKLMN";
    QTest::newRow("20 cut to 14") << "ABCDEFGHIJKLMNOPQRST.pic"
                                  << "ABCDEFGHIJKLMN";
    QTest::newRow("only the ending") << ".pic"
                                     << "";
}

void TestControllerReaders::picName()
{
    QFETCH(QString, fileName);
    QFETCH(QString, name);
    // No colour records are needed for no points: the chunk always qualifies.
    QCOMPARE(load(write(fileName, PyxBuilder().picHeader(4, 0, 8).chunk(2, 0))), QString());
    QCOMPARE(row(0), infoRow(TrueColor, name, 0));
}

// ---- Counts and strings ----

void TestControllerReaders::readFields_data()
{
    QTest::addColumn<PyxBuilder>("field");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QVariant>("value"); // an int for a count, a string for a string

    QTest::newRow("count 0xFD") << PyxBuilder().u8(0xFD) << true << QVariant(253);
    QTest::newRow("count 0xFE 0x01 0x00")
        << PyxBuilder().u8(0xFE).u16(256) << true << QVariant(256);
    QTest::newRow("count 0xFE 0xFF 0xFF") << PyxBuilder().count16(65535) << true << QVariant(65535);
    QTest::newRow("count 0xFF -1") << PyxBuilder().u8(0xFF).u32(0xFFFFFFFF) << true << QVariant(-1);
    QTest::newRow("count 0xFF lowest")
        << PyxBuilder().count32(INT_MIN) << true << QVariant(int(INT_MIN));
    QTest::newRow("count: nothing") << PyxBuilder() << false << QVariant(0);
    QTest::newRow("count: lone 0xFE") << PyxBuilder().u8(0xFE) << false << QVariant(0);
    QTest::newRow("count: 0xFE and one byte")
        << PyxBuilder().u8(0xFE).u8(1) << false << QVariant(0);
    QTest::newRow("count: 0xFF and three bytes")
        << PyxBuilder().u8(0xFF).u16(1).u8(2) << false << QVariant(0);

    QTest::newRow("string of length 0") << PyxBuilder().count(0) << true << QVariant("");
    QTest::newRow("string AB") << PyxBuilder().string("AB") << true << QVariant("AB");
    QTest::newRow("string: zero inside ends it")
        << PyxBuilder().string(QByteArray("AB\0C", 4)) << true << QVariant("AB");
    QTest::newRow("string of controller characters")
        << PyxBuilder().string("\x81\x9E\xFE") << true << QVariant(QStringLiteral("\u00FC?\u20AC"));
    QTest::newRow("string of 256") << PyxBuilder().string(QByteArray(256, 'x')) << true
                                   << QVariant(QString(256, QLatin1Char('x')));
    QTest::newRow("string of 257")
        << PyxBuilder().string(QByteArray(257, 'x')) << false << QVariant("");
    QTest::newRow("string of negative length")
        << PyxBuilder().count32(-1).zeros(8) << false << QVariant("");
    QTest::newRow("string cut short")
        << PyxBuilder().count(5).bytes("abc") << false << QVariant("");
    QTest::newRow("string cut in its length")
        << PyxBuilder().u8(0xFE).u8(0) << false << QVariant("");
}

void TestControllerReaders::readFields()
{
    QFETCH(PyxBuilder, field);
    QFETCH(bool, ok);
    QFETCH(QVariant, value);
    // A marker after a whole field shows where the read stopped.
    write(QStringLiteral("field"), ok ? PyxBuilder(field).u8('Z') : field);
    QFile in(path(QStringLiteral("field")));
    QVERIFY(in.open(QIODevice::ReadOnly));
    const bool isCount = value.userType() == QMetaType::Int;
    int count = 12345;
    QString text = QStringLiteral("untouched");
    QCOMPARE(isCount ? globalIldaFrames.readCount(in, count)
                     : globalIldaFrames.readString(in, text),
             ok);
    const QVariant untouched = isCount ? QVariant(12345) : QVariant(QStringLiteral("untouched"));
    QCOMPARE(isCount ? QVariant(count) : QVariant(text), ok ? value : untouched);
    char next = 0;
    QCOMPARE(in.getChar(&next) && next == 'Z', ok);
}

// ---- Catalogues ----

void TestControllerReaders::ccatSections()
{
    PyxBuilder cat;
    cat.ccatHeader(22, 3, 0)
        .section(2)
        .pictureHeader("First", 0x00, 2)
        .point(0x04, 1, 2, 3)
        .point(0x08, 4, 5, 6)
        .pictureHeader("Second", 0x08, 1)
        .point(0x00, 7, 8, 9)
        .color(160, 255, 255)
        .section(0) // followed directly by the next section header
        .section(1)
        .pictureHeader("Empty", 0x08, 0);
    QCOMPARE(load(write(QStringLiteral("show.ccat"), cat)), QString());

    QCOMPARE(rows(), 3);
    QCOMPARE(row(0), infoRow(Indexed, QStringLiteral("First"), 2));
    QCOMPARE(row(1), infoRow(TrueColor, QStringLiteral("Second"), 1));
    QCOMPARE(row(2), infoRow(TrueColor, QStringLiteral("Empty"), 0));
    QCOMPARE(frames(), 3);
    QCOMPARE(points(0), (Points{{1, 2, -3, 0, 255, 0, 0}, {4, 5, -6, 0, 255, 0, 0}}));
    QCOMPARE(points(1), (Points{{7, 8, -9, 0, 0, 0, 255}}));
    QCOMPARE(points(2), Points());
    QCOMPARE(globalIldaFrames.getFrame(1).getName(), QString());
    QCOMPARE(globalIldaFrames.getFrame(1).getTotalFrames(), 1);
}

void TestControllerReaders::ccatTrueColorVersion_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("trueColor");
    QTest::newRow("21, flag set") << 21 << 0xFF << false;
    QTest::newRow("22, flag set") << 22 << 0xFF << true;
    QTest::newRow("22, every flag but bit 3") << 22 << 0xF7 << false;
}

void TestControllerReaders::ccatTrueColorVersion()
{
    QFETCH(int, version);
    QFETCH(int, flags);
    QFETCH(bool, trueColor);
    // Colour records follow the points only for a true-colour picture; the next one shows it.
    PyxBuilder cat;
    cat.ccatHeader(version, 1, 0).section(2).pictureHeader("Flagged", flags, 1).point(4, 1, 1, 1);
    if (trueColor)
        cat.color(80, 255, 255);
    cat.pictureHeader("Next", 0x00, 1).point(0x0C, 3, 3, 3);
    QCOMPARE(load(write(QStringLiteral("v.ccat"), cat)), QString());
    QCOMPARE(rows(), 2);
    QCOMPARE(row(0), infoRow(trueColor ? TrueColor : Indexed, QStringLiteral("Flagged"), 1));
    QCOMPARE(row(1), infoRow(Indexed, QStringLiteral("Next"), 1));
    QCOMPARE(point(0, 0), (QVector<int>{1, 1, -1, 0, trueColor ? 0 : 255, trueColor ? 255 : 0, 0}));
    QCOMPARE(point(1, 0), (QVector<int>{3, 3, -3, 0, 0, 0, 255}));
}

void TestControllerReaders::ccatNames_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("name");
    QTest::newRow("16 without zero, not cut to 14")
        << QByteArray("ABCDEFGHIJKLMNOP") << "ABCDEFGHIJKLMNOP";
    QTest::newRow("zero at the third byte") << QByteArray("AB\0DEFGHIJKLMNOP", 16) << "AB";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("controller characters")
        << QByteArray("W\x81rfel\x9E\xFE\xFA") << QStringLiteral("W\u00FCrfel?\u20AC\u2026");
}

void TestControllerReaders::ccatNames()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, name);
    PyxBuilder cat;
    cat.ccatHeader(22, 1, 0).section(1).pictureHeader(field, 0, 0);
    QCOMPARE(load(write(QStringLiteral("names.ccat"), cat)), QString());
    QCOMPARE(row(0), infoRow(Indexed, name, 0));
}

// ---- Animations ----

void TestControllerReaders::aniLoadsEachEntry()
{
    write(QStringLiteral("Intro.catl/Star.pic"),
          PyxBuilder().picHeader(4, 2, 0).point(4, 10, 20, 30).point(4, 40, 50, 60));
    write(QStringLiteral("Outro.catl/Glow.pic"),
          PyxBuilder().picHeader(4, 1, 12).chunk(2, 4).color(80, 255, 255).point(0, 7, 8, 9));
    write(QStringLiteral("B\u00FChne.catl/Gr\u00FCn.pic"),
          PyxBuilder().picHeader(4, 1, 0).point(0, 5, 5, 5));
    // The same file under another name keeps the name its entry used.
    const bool linked = QFile::link(path(QStringLiteral("Intro.catl/Star.pic")),
                                    path(QStringLiteral("Intro.catl/Alias.pic")));
    PyxBuilder ani;
    ani.aniHeader(linked ? 5 : 4).entry("Intro", "Star").entry("Outro", "Glow");
    ani.entry("B\x81hne", "Gr\x81n").entry("Intro", "Star"); // 0x81 is u umlaut
    if (linked)
        ani.entry("Intro", "Alias");
    QCOMPARE(load(write(QStringLiteral("show.ani"), ani.count(0))), QString());

    const Points star{{10, 20, -30, 0, 255, 0, 0}, {40, 50, -60, 0, 255, 0, 0}};
    QCOMPARE(rows(), linked ? 5 : 4); // the animation itself adds none
    QCOMPARE(row(0), infoRow(Indexed, QStringLiteral("Star"), 2));
    QCOMPARE(row(1), infoRow(TrueColor, QStringLiteral("Glow"), 1));
    QCOMPARE(row(2), infoRow(Indexed, QStringLiteral("Gr\u00FCn"), 1));
    QCOMPARE(row(3), infoRow(Indexed, QStringLiteral("Star"), 2));
    QCOMPARE(points(0), star);
    QCOMPARE(points(1), (Points{{7, 8, -9, 0, 0, 255, 0}}));
    QCOMPARE(points(2), (Points{{5, 5, -5, 0, 255, 255, 255}}));
    QCOMPARE(points(3), star);
    if (linked) {
        QCOMPARE(row(4), infoRow(Indexed, QStringLiteral("Alias"), 2));
        QCOMPARE(points(4), star);
    }
}

void TestControllerReaders::aniUsesCanonicalDirectory()
{
    // Reached through a link, the animation's pictures still lie beside the real file.
    write(QStringLiteral("real/Intro.catl/Star.pic"),
          PyxBuilder().picHeader(4, 1, 0).point(0, 9, 9, 9));
    write(QStringLiteral("real/show.ani"),
          PyxBuilder().aniHeader(1).entry("Intro", "Star").count(0));
    QVERIFY(QDir().mkpath(path(QStringLiteral("elsewhere"))));
    if (!QFile::link(path(QStringLiteral("real/show.ani")),
                     path(QStringLiteral("elsewhere/show.ani"))))
        QSKIP("no symbolic links here");
    QCOMPARE(load(path(QStringLiteral("elsewhere/show.ani"))), QString());
    QCOMPARE(points(0), (Points{{9, 9, -9, 0, 255, 255, 255}}));
}

void TestControllerReaders::aniRepeatedPictureSharesMemory()
{
    // Each entry is a few bytes but names a frame of 32768 kept points (about 320 KiB): 4000
    // separate copies would take well over a gigabyte.
    const int count = 40000;
    const int entries = 4000;
    PyxBuilder big;
    big.picHeader(4, count, 0);
    for (int i = 0; i < count; ++i)
        big.point(0, i, -i, i);
    write(QStringLiteral("C.catl/Big.pic"), big);
    PyxBuilder ani;
    ani.aniHeader(entries);
    for (int e = 0; e < entries; ++e)
        ani.entry("C", "Big");
    const QString file = write(QStringLiteral("many.ani"), ani.count(0));

    load(QString());
    const qint64 before = residentKiB();
    QCOMPARE(load(file), QString());
    const qint64 after = residentKiB();
    QCOMPARE(rows(), entries);
    QCOMPARE(row(entries - 1), infoRow(Indexed, QStringLiteral("Big"), count));
    QCOMPARE(point(entries - 1, 100), (QVector<int>{100, -100, -100, 0, 255, 255, 255}));
    if (before < 0 || after < 0)
        QSKIP("resident memory is not reported here");
    QVERIFY2(after - before < 256 * 1024, qPrintable(QStringLiteral("%1 KiB").arg(after - before)));
}

// ---- Messages and what a failure leaves ----

// A row without bytes names a file that does not exist.
void TestControllerReaders::messages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<PyxBuilder>("bytes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("frames");

    const PyxBuilder pic = PyxBuilder().point(0, 1, 2, 3);
    QTest::newRow("pic version 3")
        << "v.pic" << PyxBuilder().picHeader(3, 1, 0).bytes(pic.data()) << UnknownFormat << 0;
    QTest::newRow("pic version 4")
        << "v.pic" << PyxBuilder().picHeader(4, 1, 0).bytes(pic.data()) << "" << 1;
    QTest::newRow("pic: bytes after the points ignored")
        << "v.pic" << PyxBuilder().picHeader(4, 1, 0).bytes(pic.data()).zeros(100) << "" << 1;
    // The area holds 8 body bytes; a valid point block follows whatever is skipped.
    QTest::newRow("pic: colour chunk longer than the extension area")
        << "long.pic" << PyxBuilder().picHeader(4, 2, 16).chunk(2, 9).zeros(8 + 64) << UnknownFormat
        << 0;
    QTest::newRow("pic: unknown chunk of 4 GiB")
        << "long.pic" << PyxBuilder().picHeader(4, 2, 16).chunk(7, 0xFFFFFFFF).zeros(8 + 64)
        << UnknownFormat << 0;
    QTest::newRow("pic missing") << "nowhere/gone.pic" << PyxBuilder()
                                 << cannotOpen(path("nowhere/gone.pic")) << 0;

    const PyxBuilder one = PyxBuilder().section(1).pictureHeader("P", 0, 1).bytes(pic.data());
    QTest::newRow("ccat version 3")
        << "v.ccat" << PyxBuilder().ccatHeader(3, 1, 0).bytes(one.data()) << UnknownFormat << 0;
    QTest::newRow("ccat version 4")
        << "v.ccat" << PyxBuilder().ccatHeader(4, 1, 0).bytes(one.data()) << "" << 1;
    QTest::newRow("ccat without sections, bytes after")
        << "v.ccat" << PyxBuilder().ccatHeader(22, 0, 0).zeros(30) << "" << 0;
    QTest::newRow("ccat header extension skipped")
        << "v.ccat"
        << PyxBuilder().ccatHeader(22, 1, 10).bytes(QByteArray(10, '\xEE')).bytes(one.data()) << ""
        << 1;
    QTest::newRow("ccat negative header extension skips nothing")
        << "v.ccat" << PyxBuilder().ccatHeader(22, 1, INT_MIN).bytes(one.data()) << "" << 1;
    QTest::newRow("ccat missing") << "gone.CCAT" << PyxBuilder() << cannotOpen(path("gone.CCAT"))
                                  << 0;

    QTest::newRow("ani without entries")
        << "none.ANI" << PyxBuilder().aniHeader(0).count(0) << "" << 0;
    QTest::newRow("ani negative entry count")
        << "v.ani" << PyxBuilder().aniHeader(-3).count(0) << "" << 0;
    QTest::newRow("ani version 1")
        << "v.ani"
        << PyxBuilder().count(1).count(1).string("").zeros(6).count(1).entry("C", "P").count(0)
        << UnknownVersion << 0;
    QTest::newRow("ani version 256")
        << "v.ani" << PyxBuilder().count(0).count16(256).string("").zeros(6).count(0).count(0)
        << UnknownVersion << 0;
    const PyxBuilder longForms = PyxBuilder().count32(77).count32(0).string("text").zeros(6);
    QTest::newRow("ani version 0 in the long forms")
        << "v.ani" << PyxBuilder(longForms).count16(1).entry("C", "P").count(0) << "" << 1;
    QTest::newRow("ani missing picture")
        << "v.ani" << PyxBuilder().aniHeader(2).entry("C", "P").entry("C", "Moon").count(0)
        << cannotOpen(m_canonicalDir + "/C.catl/Moon.pic") << 0;
    QTest::newRow("ani missing picture, decoded name")
        << "v.ani" << PyxBuilder().aniHeader(1).entry("B\x81hne", "Bl\x81te\x9E").count(0)
        << cannotOpen(m_canonicalDir + QStringLiteral("/B\u00FChne.catl/Bl\u00FCte?.pic")) << 0;
    QTest::newRow("ani name of 256")
        << "v.ani" << PyxBuilder().aniHeader(1).entry(QByteArray(256, 'C'), "P").count(0)
        << cannotOpen(m_canonicalDir + '/' + QString(256, QLatin1Char('C')) + ".catl/P.pic") << 0;
    QTest::newRow("ani name of 257")
        << "v.ani" << PyxBuilder().aniHeader(1).entry(QByteArray(257, 'C'), "P").count(0)
        << UnknownFormat << 0;
    QTest::newRow("ani name of negative length")
        << "v.ani" << PyxBuilder().aniHeader(1).count32(-1).zeros(8).string("P").count(0)
        << UnknownFormat << 0;
    QTest::newRow("ani trailer skipped, bytes after ignored")
        << "v.ani" << PyxBuilder().aniHeader(0).count(3).zeros(3 + 9) << "" << 0;
    QTest::newRow("ani negative trailer skips nothing")
        << "v.ani" << PyxBuilder().aniHeader(0).count32(-7) << "" << 0;
    QTest::newRow("ani trailer longer than the file")
        << "v.ani" << PyxBuilder().aniHeader(0).count(4).zeros(3) << UnknownFormat << 0;
    QTest::newRow("ani missing") << "gone.ani" << PyxBuilder() << cannotOpen(path("gone.ani")) << 0;
}

// Loading empties the store first, and again on any failure.
void TestControllerReaders::messages()
{
    QFETCH(QString, name);
    QFETCH(PyxBuilder, bytes);
    QFETCH(QString, message);
    QFETCH(int, frames);
    const QString file = bytes.size() ? write(name, bytes) : path(name);
    loadSomething();
    DebugCatcher catcher;
    QCOMPARE(load(file), message);
    QCOMPARE(this->frames(), frames);
    QCOMPARE(rows(), frames);
}

void TestControllerReaders::truncatedAnywhere_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<PyxBuilder>("bytes");
    QTest::addColumn<int>("end"); // bytes from here on are ignored

    // A colour chunk with spare bytes, an unknown chunk and loose bytes before the points.
    PyxBuilder pic;
    pic.picHeader(4, 3, 8 + 16 + 8 + 2 + 3).chunk(2, 16);
    pic.color(0, 255, 255)
        .color(80, 255, 255)
        .color(160, 255, 255)
        .zeros(4)
        .chunk(9, 2)
        .zeros(2 + 3);
    pic.point(0, 1, 1, 1).point(0, 2, 2, 2).point(0, 3, 3, 3);
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

void TestControllerReaders::truncatedAnywhere()
{
    QFETCH(QString, name);
    QFETCH(PyxBuilder, bytes);
    QFETCH(int, end);
    DebugCatcher catcher;
    QCOMPARE(load(write(name, bytes)), QString());
    QVERIFY(frames() >= 1);
    for (int length = 0; length < end; ++length) {
        const QString file = write(name, bytes, length);
        const QByteArray at = QByteArray::number(length);
        loadSomething();
        // A picture reaches the store only once it has been read whole.
        if (name.endsWith(QLatin1String(".pic"))) {
            QCOMPARE(read(file), UnknownFormat);
            QVERIFY2(frames() == 1 && rows() == 1, at);
        }
        QCOMPARE(load(file), UnknownFormat);
        QVERIFY2(frames() == 0 && rows() == 0, at);
    }
}

void TestControllerReaders::readerKeepsEarlierPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<PyxBuilder>("bytes");
    QTest::addColumn<int>("kept");
    PyxBuilder cat;
    cat.ccatHeader(22, 1, 0).section(3).pictureHeader("One", 0, 1).point(0, 1, 1, 1);
    cat.pictureHeader("Two", 0, 1).point(0, 2, 2, 2).pictureHeader("Three", 0, 2).point(0, 3, 3, 3);
    QTest::newRow("catalogue ending in its third picture") << "three.ccat" << cat << 2;
    QTest::newRow("animation with a bad second picture")
        << "bad.ani" << PyxBuilder().aniHeader(2).entry("C", "P").entry("C", "Bad").count(0) << 1;
    QTest::newRow("animation ending before its trailer length")
        << "short.ani" << PyxBuilder().aniHeader(2).entry("C", "P").entry("C", "P") << 2;
}

// The reader leaves the pictures it read before the failure; loading then clears them.
void TestControllerReaders::readerKeepsEarlierPictures()
{
    QFETCH(QString, name);
    QFETCH(PyxBuilder, bytes);
    QFETCH(int, kept);
    const QString file = write(name, bytes);
    load(QString());
    QCOMPARE(read(file), UnknownFormat);
    QCOMPARE(frames(), kept);
    QCOMPARE(rows(), kept);
    QCOMPARE(load(file), UnknownFormat);
    QCOMPARE(frames() + rows(), 0);
}

void TestControllerReaders::noFileName()
{
    loadSomething();
    const QString none = QStringLiteral("No file specified!");
    QCOMPARE(globalIldaFrames.openVectrionPIC(QString(), *m_info), none);
    QCOMPARE(globalIldaFrames.openVectrionCCAT(QString(), *m_info), none);
    QCOMPARE(globalIldaFrames.openVectrionANI(QString(), *m_info), none);
    QCOMPARE(frames() + rows(), 2);
}

// ---- The demo show's controller files, as the inspector reports them ----

void TestControllerReaders::demoShow_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("formats");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("true-colour picture")
        << "Spiral.pic" << QStringList{TrueColor} << QStringList{"Spiral"};
    QTest::newRow("indexed picture")
        << "Flower.pic" << QStringList{Indexed} << QStringList{"Flower"};
    QTest::newRow("catalogue") << "Lumenar.ccat"
                               << QStringList{TrueColor, Indexed, TrueColor, Indexed}
                               << QStringList{QStringLiteral("W\u00FCrfel"),
                                              QStringLiteral("\u00C9toile"), "Herz", "Wellen"};
    QStringList knots;
    for (int f = 0; f < 24; ++f)
        knots << QStringLiteral("Knot%1").arg(f, 2, 10, QLatin1Char('0'));
    QTest::newRow("animation") << "Lumenar.ani"
                               << QStringList(QVector<QString>(24, TrueColor).toList()) << knots;
}

void TestControllerReaders::demoShow()
{
    QFETCH(QString, file);
    QFETCH(QStringList, formats);
    QFETCH(QStringList, names);
    QString output;
    QString errors;
    QTextStream out(&output);
    QTextStream err(&errors);
    QCOMPARE(Inspector::run({"--json", "--no-points", path("demo/" + file)}, out, err),
             int(Inspector::Success));
    out.flush();
    const QJsonObject report = QJsonDocument::fromJson(output.toUtf8()).object();
    QCOMPARE(report.value("ok").toBool(), true);
    const QJsonArray rowList = report.value("rows").toArray();
    const QJsonArray frameList = report.value("frames").toArray();
    QCOMPARE(rowList.size(), formats.size());
    QCOMPARE(frameList.size(), formats.size());
    for (int r = 0; r < rowList.size(); ++r) {
        const QJsonObject row = rowList.at(r).toObject();
        const QJsonObject frame = frameList.at(r).toObject();
        QCOMPARE(row.value("format").toString(), formats.at(r));
        QCOMPARE(row.value("name").toString(), names.at(r));
        QCOMPARE(row.value("company").toString() + row.value("projector").toString(), QString());
        QVERIFY(row.value("records").toInt() > 50);
        QCOMPARE(frame.value("pointCount").toInt(), row.value("records").toInt());
        QCOMPARE(frame.value("totalFrames").toInt(), 1);
    }
}

QTEST_MAIN(TestControllerReaders)
#include "tst_controllerreaders.moc"
