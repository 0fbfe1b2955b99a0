#include "PyxBuilder.h"

#include "info/InfoWindow.h"
#include "model/IldaFrames.h"

#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString IndexedColor = QStringLiteral("Vectrion Pyx Picture (Indexed Color)");
const QString TrueColor = QStringLiteral("Vectrion Pyx Picture (True Color)");
const QString UnknownFormat = QStringLiteral("Unknown file format!");

// Collects debug output while it lives, so a test can say which lines a read wrote.
class DebugCatcher
{
public:
    DebugCatcher()
    {
        lines().clear();
        m_previous = qInstallMessageHandler(&DebugCatcher::handle);
    }
    ~DebugCatcher() { qInstallMessageHandler(m_previous); }
    static QStringList& lines()
    {
        static QStringList caught;
        return caught;
    }

private:
    static void handle(QtMsgType, const QMessageLogContext&, const QString& message)
    {
        lines() << message;
    }
    QtMessageHandler m_previous = nullptr;
};

// Resident memory of this process in KiB, or -1 where the system does not tell.
qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

struct Rgb
{
    int red, green, blue;
};

} // namespace

Q_DECLARE_METATYPE(Rgb)
Q_DECLARE_METATYPE(PyxBuilder)

class TestControllerReaders : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    // Pictures
    void picIndexedPicture();
    void picPaletteIndex_data();
    void picPaletteIndex();
    void picTrueColor_data();
    void picTrueColor();
    void picHueOutOfRangeIsQuiet();
    void picColorAndBlankingShift_data();
    void picColorAndBlankingShift();
    void picZNegation_data();
    void picZNegation();
    void picExtensionArea_data();
    void picExtensionArea();
    void picUnknownChunkDebugLine();
    void picChunkLongerThanArea_data();
    void picChunkLongerThanArea();
    void picVersion_data();
    void picVersion();
    void picTruncatedAnywhere();
    void picTrailingBytesIgnored();
    void picZeroPoints();
    void picMoreThanFrameCapacity();
    void picName_data();
    void picName();
    void picNoFileName();
    void picMissingFile();

    // Count, string and skip forms
    void readCount_data();
    void readCount();
    void readString_data();
    void readString();
    void skipBytes_data();
    void skipBytes();

    // Catalogues
    void ccatSections();
    void ccatTrueColorVersion_data();
    void ccatTrueColorVersion();
    void ccatNames_data();
    void ccatNames();
    void ccatHeaderExtension_data();
    void ccatHeaderExtension();
    void ccatVersion_data();
    void ccatVersion();
    void ccatZeroSections();
    void ccatTruncatedAnywhere();
    void ccatFailureKeepsEarlierPicturesUntilCleared();
    void ccatMissingFile();

    // Animations
    void aniLoadsPicturesInOrder();
    void aniEmpty();
    void aniVersion();
    void aniMissingPicture();
    void aniNonAsciiNames();
    void aniUsesCanonicalDirectory();
    void aniBadPicture();
    void aniTruncatedAnywhere();
    void aniEndsBeforeTrailer();
    void aniStringLength_data();
    void aniStringLength();
    void aniTrailer_data();
    void aniTrailer();
    void aniRepeatedPictures();
    void aniRepeatedPictureSharesMemory();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString write(const QString& name, const PyxBuilder& bytes, int length = -1) const
    {
        const QString file = path(name);
        if (!bytes.write(file, length))
            qFatal("cannot write %s", qPrintable(file));
        return file;
    }
    QString load(const QString& file) { return globalIldaFrames.loadFile(file, *m_info); }
    int rows() const { return m_info->model()->rowCount(); }
    QString cell(int row, int column) const
    {
        return m_info->model()->data(m_info->model()->index(row, column)).toString();
    }
    int frames() const { return globalIldaFrames.getNumberOfFrames(); }
    IldaPoint point(int frame, int index) const
    {
        return globalIldaFrames.getFrame(frame).getPoint(index);
    }
    void verifyRow(int row, const QString& format, const QString& name, int records) const;
    bool sameFrames(int a, int b) const;
    // A store that holds something, so that a failure has something to clear.
    void loadSomething();

    std::unique_ptr<QTemporaryDir> m_dir;
    InfoWindow* m_info = nullptr;
};

void TestControllerReaders::initTestCase()
{
    m_info = new InfoWindow;
}

void TestControllerReaders::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestControllerReaders::cleanupTestCase()
{
    globalIldaFrames.loadFile(QString(), *m_info);
    delete m_info;
    m_info = nullptr;
}

void TestControllerReaders::verifyRow(int row, const QString& format, const QString& name,
                                      int records) const
{
    QVERIFY(row < rows());
    QCOMPARE(cell(row, 0), format);
    QCOMPARE(cell(row, 1), name);
    QCOMPARE(cell(row, 2), QString());
    QCOMPARE(cell(row, 3), QString::number(records));
    QCOMPARE(cell(row, 4), QString());
}

bool TestControllerReaders::sameFrames(int a, int b) const
{
    const IldaFrame first = globalIldaFrames.getFrame(a);
    const IldaFrame second = globalIldaFrames.getFrame(b);
    if (first.getNumberOfPoints() != second.getNumberOfPoints())
        return false;
    for (int i = 0; i < first.getNumberOfPoints(); ++i) {
        const IldaPoint p = first.getPoint(i);
        const IldaPoint q = second.getPoint(i);
        if (p.x != q.x || p.y != q.y || p.z != q.z || p.blanked != q.blanked || p.red != q.red ||
            p.green != q.green || p.blue != q.blue)
            return false;
    }
    return true;
}

void TestControllerReaders::loadSomething()
{
    PyxBuilder pic;
    pic.picHeader(4, 2, 0).point(4, 1, 2, 3).point(8, 4, 5, 6);
    QCOMPARE(load(write(QStringLiteral("something.pic"), pic)), QString());
    QCOMPARE(frames(), 1);
    QCOMPARE(rows(), 1);
}

// ---- Pictures ----

void TestControllerReaders::picIndexedPicture()
{
    PyxBuilder pic;
    pic.picHeader(4, 3, 0)
        .point(0x04, 100, -200, 300)   // red
        .point(0x08, -32768, 32767, 0) // green
        .point(0x0C, 1, 2, 3);         // blue; its colour is never used
    QCOMPARE(load(write(QStringLiteral("Indexed.pic"), pic)), QString());

    QCOMPARE(frames(), 1);
    const IldaFrame frame = globalIldaFrames.getFrame(0);
    QCOMPARE(frame.getName(), QString());
    QCOMPARE(frame.getCompany(), QString());
    QCOMPARE(frame.getFrameNumber(), 0);
    QCOMPARE(frame.getTotalFrames(), 1);
    QCOMPARE(frame.getNumberOfPoints(), 3);

    const IldaPoint p0 = point(0, 0);
    QCOMPARE(int(p0.x), 100);
    QCOMPARE(int(p0.y), -200);
    QCOMPARE(int(p0.z), -300);
    QCOMPARE(int(p0.red), 255);
    QCOMPARE(int(p0.green), 0);
    QCOMPARE(int(p0.blue), 0);
    const IldaPoint p1 = point(0, 1);
    QCOMPARE(int(p1.x), -32768);
    QCOMPARE(int(p1.y), 32767);
    QCOMPARE(int(p1.z), 0);
    QCOMPARE(int(p1.red), 255); // record 0's colour
    const IldaPoint p2 = point(0, 2);
    QCOMPARE(int(p2.red), 0); // record 1's colour
    QCOMPARE(int(p2.green), 255);
    QCOMPARE(int(p2.blue), 0);
    QCOMPARE(int(p2.z), -3);

    QCOMPARE(rows(), 1);
    verifyRow(0, IndexedColor, QStringLiteral("Indexed"), 3);
}

void TestControllerReaders::picPaletteIndex_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("blanked");
    QTest::addColumn<Rgb>("color");
    QTest::newRow("0 white") << 0x00 << false << Rgb{255, 255, 255};
    QTest::newRow("1 pale red") << 0x01 << false << Rgb{255, 128, 128};
    QTest::newRow("4 red") << 0x04 << false << Rgb{255, 0, 0};
    QTest::newRow("0x45 orange, blanked") << 0x45 << true << Rgb{255, 128, 0};
    QTest::newRow("0x8C blue, bit 7 ignored") << 0x8C << false << Rgb{0, 0, 255};
    QTest::newRow("0xCF pink, blanked") << 0xCF << true << Rgb{255, 0, 128};
    QTest::newRow("16 white") << 0x10 << false << Rgb{255, 255, 255};
    QTest::newRow("63 white") << 0x3F << false << Rgb{255, 255, 255};
}

void TestControllerReaders::picPaletteIndex()
{
    QFETCH(int, status);
    QFETCH(bool, blanked);
    QFETCH(Rgb, color);
    PyxBuilder pic;
    pic.picHeader(4, 1, 0).point(status, 0, 0, 0);
    QCOMPARE(load(write(QStringLiteral("p.pic"), pic)), QString());
    const IldaPoint p = point(0, 0);
    QCOMPARE(p.blanked, blanked);
    QCOMPARE(int(p.red), color.red);
    QCOMPARE(int(p.green), color.green);
    QCOMPARE(int(p.blue), color.blue);
}

void TestControllerReaders::picTrueColor_data()
{
    QTest::addColumn<int>("hue");
    QTest::addColumn<int>("saturation");
    QTest::addColumn<int>("value");
    QTest::addColumn<Rgb>("color");
    QTest::newRow("red") << 0 << 255 << 255 << Rgb{255, 0, 0};
    QTest::newRow("yellow, 60 degrees") << 40 << 255 << 255 << Rgb{255, 255, 0};
    QTest::newRow("green, 120 degrees") << 80 << 255 << 255 << Rgb{0, 255, 0};
    QTest::newRow("blue, 240 degrees") << 160 << 255 << 255 << Rgb{0, 0, 255};
    QTest::newRow("30 degrees, half saturated") << 20 << 128 << 200 << Rgb{200, 150, 100};
    QTest::newRow("300 degrees") << 200 << 200 << 100 << Rgb{100, 22, 100};
    QTest::newRow("grey") << 120 << 0 << 77 << Rgb{77, 77, 77};
    QTest::newRow("239 is 358 degrees") << 239 << 255 << 255 << Rgb{255, 0, 8};
    QTest::newRow("240 is black") << 240 << 255 << 255 << Rgb{0, 0, 0};
    QTest::newRow("255 is black") << 255 << 255 << 255 << Rgb{0, 0, 0};
    QTest::newRow("value 0") << 10 << 255 << 0 << Rgb{0, 0, 0};
}

void TestControllerReaders::picTrueColor()
{
    QFETCH(int, hue);
    QFETCH(int, saturation);
    QFETCH(int, value);
    QFETCH(Rgb, color);
    PyxBuilder pic;
    // The palette entry (blue) must not show through.
    pic.picHeader(4, 1, 12).chunk(2, 4).color(hue, saturation, value).point(0x0C, 0, 0, 0);
    QCOMPARE(load(write(QStringLiteral("tc.pic"), pic)), QString());
    verifyRow(0, TrueColor, QStringLiteral("tc"), 1);
    const IldaPoint p = point(0, 0);
    QCOMPARE(int(p.red), color.red);
    QCOMPARE(int(p.green), color.green);
    QCOMPARE(int(p.blue), color.blue);
}

void TestControllerReaders::picHueOutOfRangeIsQuiet()
{
    const int count = 1000;
    PyxBuilder pic;
    pic.picHeader(4, count, 8 + 4 * count).chunk(2, 4 * count);
    for (int i = 0; i < count; ++i)
        pic.color(240 + i % 16, 255, 255);
    for (int i = 0; i < count; ++i)
        pic.point(0, i, i, i);
    const QString file = write(QStringLiteral("black.pic"), pic);

    DebugCatcher catcher;
    QCOMPARE(load(file), QString());
    QCOMPARE(DebugCatcher::lines(), QStringList());
    QCOMPARE(int(point(0, count - 1).red), 0);
    QCOMPARE(int(point(0, count - 1).green), 0);
    QCOMPARE(int(point(0, count - 1).blue), 0);
}

void TestControllerReaders::picColorAndBlankingShift_data()
{
    QTest::addColumn<bool>("trueColor");
    QTest::newRow("indexed") << false;
    QTest::newRow("true colour") << true;
}

void TestControllerReaders::picColorAndBlankingShift()
{
    QFETCH(bool, trueColor);
    // Records A (red, blanked), B (green), C (blue).
    PyxBuilder pic;
    pic.picHeader(4, 3, trueColor ? 8 + 12 : 0);
    if (trueColor)
        pic.chunk(2, 12).color(0, 255, 255).color(80, 255, 255).color(160, 255, 255);
    pic.point(0x40 | 0x04, 10, 10, 10).point(0x08, 20, 20, 20).point(0x0C, 30, 30, 30);
    QCOMPARE(load(write(QStringLiteral("shift.pic"), pic)), QString());
    verifyRow(0, trueColor ? TrueColor : IndexedColor, QStringLiteral("shift"), 3);

    const Rgb expected[3] = {{255, 0, 0}, {255, 0, 0}, {0, 255, 0}};
    const bool blanked[3] = {true, true, false};
    const int x[3] = {10, 20, 30};
    for (int i = 0; i < 3; ++i) {
        const IldaPoint p = point(0, i);
        QCOMPARE(int(p.x), x[i]); // coordinates are not shifted
        QCOMPARE(p.blanked, blanked[i]);
        QCOMPARE(int(p.red), expected[i].red);
        QCOMPARE(int(p.green), expected[i].green);
        QCOMPARE(int(p.blue), expected[i].blue);
    }
}

void TestControllerReaders::picZNegation_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("z");
    QTest::newRow("0x8000") << 0x8000 << -32768;
    QTest::newRow("0x8001") << 0x8001 << 32767;
    QTest::newRow("0x0001") << 0x0001 << -1;
    QTest::newRow("0x7FFF") << 0x7FFF << -32767;
    QTest::newRow("0xFFFF") << 0xFFFF << 1;
    QTest::newRow("0") << 0 << 0;
}

void TestControllerReaders::picZNegation()
{
    QFETCH(int, stored);
    QFETCH(int, z);
    PyxBuilder pic;
    pic.picHeader(4, 1, 0).point(0, 0x8000, 0xFFFF, stored);
    QCOMPARE(load(write(QStringLiteral("z.pic"), pic)), QString());
    QCOMPARE(int(point(0, 0).z), z);
    QCOMPARE(int(point(0, 0).x), -32768);
    QCOMPARE(int(point(0, 0).y), -1);
}

void TestControllerReaders::picExtensionArea_data()
{
    QTest::addColumn<PyxBuilder>("extension"); // for a picture of two points
    QTest::addColumn<bool>("trueColor");
    QTest::addColumn<int>("firstRed"); // red of point 0
    QTest::addColumn<int>("debugLines");

    const int red = 0, green = 80;
    QTest::newRow("none") << PyxBuilder() << false << 0 << 0;
    QTest::newRow("colour chunk, exact")
        << PyxBuilder().chunk(2, 8).color(red, 255, 255).color(red, 255, 255) << true << 255 << 0;
    QTest::newRow("colour chunk with bytes after the colours")
        << PyxBuilder().chunk(2, 14).color(red, 255, 255).color(red, 255, 255).zeros(6) << true
        << 255 << 0;
    QTest::newRow("colour chunk too short")
        << PyxBuilder().chunk(2, 7).color(red, 255, 255).zeros(3) << false << 0 << 0;
    QTest::newRow("unknown chunk") << PyxBuilder().chunk(7, 3).zeros(3) << false << 0 << 1;
    QTest::newRow("unknown chunk, empty") << PyxBuilder().chunk(0, 0) << false << 0 << 1;
    QTest::newRow("unknown, then colour")
        << PyxBuilder().chunk(7, 1).zeros(1).chunk(2, 8).color(red, 255, 255).color(red, 255, 255)
        << true << 255 << 1;
    QTest::newRow("two colour chunks: the last wins") << PyxBuilder()
                                                             .chunk(2, 8)
                                                             .color(green, 255, 255)
                                                             .color(green, 255, 255)
                                                             .chunk(2, 8)
                                                             .color(red, 255, 255)
                                                             .color(red, 255, 255)
                                                      << true << 255 << 0;
    QTest::newRow("colour, then a short colour chunk keeps the first")
        << PyxBuilder().chunk(2, 8).color(red, 255, 255).color(red, 255, 255).chunk(2, 0) << true
        << 255 << 0;
    QTest::newRow("five loose bytes") << PyxBuilder().zeros(5) << false << 0 << 0;
    QTest::newRow("colour chunk, then seven loose bytes")
        << PyxBuilder().chunk(2, 8).color(red, 255, 255).color(red, 255, 255).zeros(7) << true
        << 255 << 0;
}

void TestControllerReaders::picExtensionArea()
{
    QFETCH(PyxBuilder, extension);
    QFETCH(bool, trueColor);
    QFETCH(int, firstRed);
    QFETCH(int, debugLines);

    // Palette entry 12 is blue: a red point can only come from the colour records.
    PyxBuilder pic;
    pic.picHeader(4, 2, quint32(extension.size()))
        .bytes(extension.data())
        .point(0x0C, 1111, 2222, 0)
        .point(0x0C, 3333, 4444, 0);
    const QString file = write(QStringLiteral("ext.pic"), pic);

    DebugCatcher catcher;
    QCOMPARE(load(file), QString());
    const QStringList expected(
        QVector<QString>(debugLines, QStringLiteral("Unknown Extension Chunk!")).toList());
    QCOMPARE(DebugCatcher::lines(), expected);
    verifyRow(0, trueColor ? TrueColor : IndexedColor, QStringLiteral("ext"), 2);
    QCOMPARE(int(point(0, 0).red), firstRed);
    // The point block starts right after the extension area.
    QCOMPARE(int(point(0, 0).x), 1111);
    QCOMPARE(int(point(0, 1).y), 4444);
}

void TestControllerReaders::picUnknownChunkDebugLine()
{
    PyxBuilder pic;
    pic.picHeader(4, 1, 8 + 2).chunk(7, 2).zeros(2).point(0, 5, 6, 7);
    const QString file = write(QStringLiteral("seven.pic"), pic);
    QTest::ignoreMessage(QtDebugMsg, "Unknown Extension Chunk!");
    QCOMPARE(load(file), QString());
    QCOMPARE(frames(), 1);
    QCOMPARE(int(point(0, 0).y), 6);
}

void TestControllerReaders::picChunkLongerThanArea_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<quint32>("length");
    QTest::newRow("colour chunk one byte too long") << 2u << 9u;
    QTest::newRow("unknown chunk one byte too long") << 7u << 9u;
    QTest::newRow("colour chunk of 4 GiB") << 2u << 0xFFFFFFFFu;
    QTest::newRow("unknown chunk of 4 GiB") << 7u << 0xFFFFFFFFu;
}

void TestControllerReaders::picChunkLongerThanArea()
{
    QFETCH(quint32, type);
    QFETCH(quint32, length);
    // The area holds 8 body bytes; whatever follows is a valid point block.
    PyxBuilder pic;
    pic.picHeader(4, 2, 16).chunk(type, length).color(0, 255, 255).color(0, 255, 255);
    for (int i = 0; i < 8; ++i)
        pic.point(0, i, i, i);
    const QString file = write(QStringLiteral("long.pic"), pic);

    loadSomething();
    DebugCatcher catcher;
    QCOMPARE(load(file), UnknownFormat);
    QCOMPARE(frames(), 0);
    QCOMPARE(rows(), 0);
}

void TestControllerReaders::picVersion_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("message");
    QTest::newRow("0") << 0 << UnknownFormat;
    QTest::newRow("3") << 3 << UnknownFormat;
    QTest::newRow("4") << 4 << QString();
    QTest::newRow("0xFFFF") << 0xFFFF << QString();
}

void TestControllerReaders::picVersion()
{
    QFETCH(int, version);
    QFETCH(QString, message);
    PyxBuilder pic;
    pic.picHeader(version, 1, 0).point(0, 1, 2, 3);
    loadSomething();
    QCOMPARE(load(write(QStringLiteral("v.pic"), pic)), message);
    QCOMPARE(frames(), message.isEmpty() ? 1 : 0);
    QCOMPARE(rows(), message.isEmpty() ? 1 : 0);
}

void TestControllerReaders::picTruncatedAnywhere()
{
    // Header, a colour chunk with 4 spare bytes, an unknown chunk, 3 loose bytes, 3 points.
    PyxBuilder pic;
    pic.picHeader(4, 3, 8 + 16 + 8 + 2 + 3)
        .chunk(2, 16)
        .color(0, 255, 255)
        .color(80, 255, 255)
        .color(160, 255, 255)
        .zeros(4)
        .chunk(9, 2)
        .zeros(2)
        .zeros(3)
        .point(0, 1, 1, 1)
        .point(0, 2, 2, 2)
        .point(0, 3, 3, 3);
    const QString whole = write(QStringLiteral("whole.pic"), pic);
    DebugCatcher catcher;
    QCOMPARE(load(whole), QString());
    QCOMPARE(int(point(0, 2).x), 3);

    for (int length = 0; length < pic.size(); ++length) {
        const QString file = write(QStringLiteral("cut.pic"), pic, length);
        // The reader itself leaves what was there untouched...
        QCOMPARE(load(whole), QString());
        QCOMPARE(globalIldaFrames.openVectrionPIC(file, *m_info), UnknownFormat);
        QVERIFY2(frames() == 1 && rows() == 1, qPrintable(QString::number(length)));
        // ...and the loading road empties both.
        QCOMPARE(load(file), UnknownFormat);
        QVERIFY2(frames() == 0 && rows() == 0, qPrintable(QString::number(length)));
    }
}

void TestControllerReaders::picTrailingBytesIgnored()
{
    PyxBuilder pic;
    pic.picHeader(4, 1, 0).point(0, 7, 8, 9).zeros(100);
    QCOMPARE(load(write(QStringLiteral("tail.pic"), pic)), QString());
    QCOMPARE(globalIldaFrames.getFrame(0).getNumberOfPoints(), 1);
    QCOMPARE(int(point(0, 0).x), 7);
}

void TestControllerReaders::picZeroPoints()
{
    PyxBuilder indexed;
    indexed.picHeader(4, 0, 0);
    QCOMPARE(load(write(QStringLiteral("empty.pic"), indexed)), QString());
    QCOMPARE(frames(), 1);
    QCOMPARE(globalIldaFrames.getFrame(0).getNumberOfPoints(), 0);
    verifyRow(0, IndexedColor, QStringLiteral("empty"), 0);

    // No colour records are needed for no points.
    PyxBuilder colored;
    colored.picHeader(4, 0, 8).chunk(2, 0);
    QCOMPARE(load(write(QStringLiteral("empty2.pic"), colored)), QString());
    verifyRow(0, TrueColor, QStringLiteral("empty2"), 0);
}

void TestControllerReaders::picMoreThanFrameCapacity()
{
    const int count = 40000;
    PyxBuilder pic;
    pic.picHeader(4, count, 8 + 4 * count).chunk(2, 4 * count);
    for (int i = 0; i < count; ++i)
        pic.color(i % 240, 255, 255);
    for (int i = 0; i < count; ++i)
        pic.point(0, i - 20000, -i, 0);
    QCOMPARE(load(write(QStringLiteral("big.pic"), pic)), QString());
    QCOMPARE(globalIldaFrames.getFrame(0).getNumberOfPoints(), IldaFrame::MaxPoints);
    QCOMPARE(int(point(0, IldaFrame::MaxPoints - 1).x), IldaFrame::MaxPoints - 1 - 20000);
    verifyRow(0, TrueColor, QStringLiteral("big"), count);

    // The largest count the header can hold.
    PyxBuilder largest;
    largest.picHeader(4, 65535, 0).zeros(65535 * 8);
    QCOMPARE(load(write(QStringLiteral("largest.pic"), largest)), QString());
    QCOMPARE(globalIldaFrames.getFrame(0).getNumberOfPoints(), IldaFrame::MaxPoints);
    verifyRow(0, IndexedColor, QStringLiteral("largest"), 65535);
}

void TestControllerReaders::picName_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "Star.pic"
                           << "Star";
    QTest::newRow("two dots") << "my.show.pic"
                              << "my";
    QTest::newRow("upper case ending") << "Shout.PIC"
                                       << "Shout";
    QTest::newRow("14") << "ABCDEFGHIJKLMN.pic"
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
    PyxBuilder pic;
    pic.picHeader(4, 0, 0);
    QCOMPARE(load(write(fileName, pic)), QString());
    verifyRow(0, IndexedColor, name, 0);
}

void TestControllerReaders::picNoFileName()
{
    loadSomething();
    QCOMPARE(globalIldaFrames.openVectrionPIC(QString(), *m_info),
             QStringLiteral("No file specified!"));
    QCOMPARE(globalIldaFrames.openVectrionCCAT(QString(), *m_info),
             QStringLiteral("No file specified!"));
    QCOMPARE(globalIldaFrames.openVectrionANI(QString(), *m_info),
             QStringLiteral("No file specified!"));
    QCOMPARE(frames(), 1);
    QCOMPARE(rows(), 1);
}

void TestControllerReaders::picMissingFile()
{
    loadSomething();
    const QString file = path(QStringLiteral("nowhere/gone.pic"));
    QCOMPARE(load(file), QStringLiteral("Cannot open '%1'!").arg(file));
    QCOMPARE(frames(), 0);
    QCOMPARE(rows(), 0);
}

// ---- Count, string and skip forms ----

void TestControllerReaders::readCount_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("0") << QByteArray(1, '\0') << true << 0;
    QTest::newRow("0xFD") << QByteArray("\xFD") << true << 253;
    QTest::newRow("0xFE 0x01 0x00") << QByteArray("\xFE\x01\x00", 3) << true << 256;
    QTest::newRow("0xFE 0xFF 0xFF") << QByteArray("\xFE\xFF\xFF") << true << 65535;
    QTest::newRow("0xFF -1") << QByteArray("\xFF\xFF\xFF\xFF\xFF") << true << -1;
    QTest::newRow("0xFF max") << QByteArray("\xFF\x7F\xFF\xFF\xFF") << true << 2147483647;
    QTest::newRow("0xFF min") << QByteArray("\xFF\x80\x00\x00\x00", 5) << true << int(0x80000000u);
    QTest::newRow("0xFF small") << QByteArray("\xFF\x00\x00\x00\x05", 5) << true << 5;
    QTest::newRow("nothing") << QByteArray() << false << 0;
    QTest::newRow("lone 0xFE") << QByteArray("\xFE") << false << 0;
    QTest::newRow("0xFE and one byte") << QByteArray("\xFE\x01") << false << 0;
    QTest::newRow("lone 0xFF") << QByteArray("\xFF") << false << 0;
    QTest::newRow("0xFF and three bytes") << QByteArray("\xFF\x01\x02\x03") << false << 0;
}

void TestControllerReaders::readCount()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(int, value);
    // A marker after the count shows where the read stopped.
    const QString file = path(QStringLiteral("count"));
    PyxBuilder content;
    content.bytes(bytes);
    if (ok)
        content.u8(0x5A);
    QVERIFY(content.write(file));
    QFile in(file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    int read = 12345;
    QCOMPARE(globalIldaFrames.readCount(in, read), ok);
    if (ok) {
        QCOMPARE(read, value);
        char next = 0;
        QVERIFY(in.getChar(&next));
        QCOMPARE(int(uchar(next)), 0x5A);
    } else {
        QCOMPARE(read, 12345);
    }
}

void TestControllerReaders::readString_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");
    QTest::newRow("length 0") << QByteArray(1, '\0') << true << QString();
    QTest::newRow("AB") << QByteArray("\x02"
                                      "AB")
                        << true << "AB";
    QTest::newRow("zero inside ends the text") << QByteArray("\x04"
                                                             "AB\0C",
                                                             5)
                                               << true << "AB";
    QTest::newRow("controller characters")
        << QByteArray("\x03\x81\x9E\xFE") << true << QStringLiteral("\u00FC?\u20AC");
    QTest::newRow("wide length form") << QByteArray("\xFE\x00\x01Z", 4) << true << "Z";
    QTest::newRow("256 bytes") << QByteArray("\xFE\x01\x00", 3) + QByteArray(256, 'x') << true
                               << QString(256, QLatin1Char('x'));
    QTest::newRow("257 bytes") << QByteArray("\xFE\x01\x01", 3) + QByteArray(257, 'x') << false
                               << QString();
    QTest::newRow("negative") << QByteArray("\xFF\xFF\xFF\xFF\xFF") + QByteArray(8, 'x') << false
                              << QString();
    QTest::newRow("short") << QByteArray("\x05"
                                         "abc")
                           << false << QString();
    QTest::newRow("no length") << QByteArray() << false << QString();
    QTest::newRow("cut length") << QByteArray("\xFE\x00") << false << QString();
}

void TestControllerReaders::readString()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    const QString file = path(QStringLiteral("string"));
    PyxBuilder content;
    content.bytes(bytes);
    if (ok)
        content.u8(0x5A);
    QVERIFY(content.write(file));
    QFile in(file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QString read = QStringLiteral("untouched");
    QCOMPARE(globalIldaFrames.readString(in, read), ok);
    if (ok) {
        QCOMPARE(read, text);
        char next = 0;
        QVERIFY(in.getChar(&next));
        QCOMPARE(int(uchar(next)), 0x5A);
    } else {
        QCOMPARE(read, QStringLiteral("untouched"));
    }
}

void TestControllerReaders::skipBytes_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("position");
    // The file holds 10 bytes.
    QTest::newRow("negative") << -5 << true << qint64(0);
    QTest::newRow("zero") << 0 << true << qint64(0);
    QTest::newRow("some") << 4 << true << qint64(4);
    QTest::newRow("all") << 10 << true << qint64(10);
    QTest::newRow("one too many") << 11 << false << qint64(-1);
    QTest::newRow("huge") << 0x7FFFFFFF << false << qint64(-1);
}

void TestControllerReaders::skipBytes()
{
    QFETCH(int, count);
    QFETCH(bool, ok);
    QFETCH(qint64, position);
    const QString file = path(QStringLiteral("skip"));
    QVERIFY(PyxBuilder().zeros(10).write(file));
    QFile in(file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QCOMPARE(globalIldaFrames.skipBytes(in, count), ok);
    if (position >= 0)
        QCOMPARE(in.pos(), position);
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

    QCOMPARE(frames(), 3);
    QCOMPARE(rows(), 3);
    verifyRow(0, IndexedColor, QStringLiteral("First"), 2);
    verifyRow(1, TrueColor, QStringLiteral("Second"), 1);
    verifyRow(2, TrueColor, QStringLiteral("Empty"), 0);

    const IldaFrame first = globalIldaFrames.getFrame(0);
    QCOMPARE(first.getName(), QString()); // the picture name is only shown in the row
    QCOMPARE(first.getFrameNumber(), 0);
    QCOMPARE(first.getTotalFrames(), 1);
    QCOMPARE(first.getNumberOfPoints(), 2);
    QCOMPARE(int(point(0, 1).red), 255); // shifted: record 0's red
    QCOMPARE(int(point(0, 1).z), -6);
    QCOMPARE(int(point(1, 0).x), 7);
    QCOMPARE(int(point(1, 0).blue), 255);
    QCOMPARE(int(point(1, 0).red), 0);
    QCOMPARE(globalIldaFrames.getFrame(2).getNumberOfPoints(), 0);
}

void TestControllerReaders::ccatTrueColorVersion_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("trueColor");
    QTest::newRow("21") << 21 << false;
    QTest::newRow("22") << 22 << true;
    QTest::newRow("4") << 4 << false;
    QTest::newRow("0xFFFF") << 0xFFFF << true;
}

void TestControllerReaders::ccatTrueColorVersion()
{
    QFETCH(int, version);
    QFETCH(bool, trueColor);
    // Flag bit 3 is set (with other bits around it); colour records follow only from version 22.
    PyxBuilder cat;
    cat.ccatHeader(version, 1, 0).section(2).pictureHeader("Flagged", 0xFF, 2);
    cat.point(0x04, 1, 1, 1).point(0x04, 2, 2, 2);
    if (trueColor)
        cat.color(80, 255, 255).color(80, 255, 255);
    cat.pictureHeader("Next", 0x00, 1).point(0x0C, 3, 3, 3);
    QCOMPARE(load(write(QStringLiteral("v.ccat"), cat)), QString());
    QCOMPARE(rows(), 2);
    verifyRow(0, trueColor ? TrueColor : IndexedColor, QStringLiteral("Flagged"), 2);
    verifyRow(1, IndexedColor, QStringLiteral("Next"), 1);
    QCOMPARE(int(point(0, 0).green), trueColor ? 255 : 0);
    QCOMPARE(int(point(0, 0).red), trueColor ? 0 : 255);
    QCOMPARE(int(point(1, 0).x), 3);
    QCOMPARE(int(point(1, 0).blue), 255);

    // Without the flag, version 22 reads no colour records either.
    PyxBuilder plain;
    plain.ccatHeader(version, 1, 0).section(2).pictureHeader("A", 0xF7, 1).point(0x04, 1, 1, 1);
    plain.pictureHeader("B", 0x00, 1).point(0x04, 2, 2, 2);
    QCOMPARE(load(write(QStringLiteral("plain.ccat"), plain)), QString());
    verifyRow(0, IndexedColor, QStringLiteral("A"), 1);
    verifyRow(1, IndexedColor, QStringLiteral("B"), 1);
}

void TestControllerReaders::ccatNames_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("name");
    QTest::newRow("16 without zero")
        << QByteArray("ABCDEFGHIJKLMNOP") << QStringLiteral("ABCDEFGHIJKLMNOP");
    QTest::newRow("zero at the third byte")
        << QByteArray("AB\0DEFGHIJKLMNOP", 16) << QStringLiteral("AB");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("no character") << QByteArray("a\x9E"
                                                "b")
                                  << QStringLiteral("a?b");
    QTest::newRow("controller characters")
        << QByteArray("W\x81rfel \xFE\xFA") << QStringLiteral("W\u00FCrfel \u20AC\u2026");
}

void TestControllerReaders::ccatNames()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, name);
    PyxBuilder cat;
    cat.ccatHeader(22, 1, 0).section(1).pictureHeader(field, 0, 0);
    QCOMPARE(load(write(QStringLiteral("names.ccat"), cat)), QString());
    verifyRow(0, IndexedColor, name, 0);
}

void TestControllerReaders::ccatHeaderExtension_data()
{
    QTest::addColumn<qint32>("length");
    QTest::addColumn<int>("present"); // bytes actually between header and first section
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("ten bytes") << 10 << 10;
    QTest::newRow("negative skips nothing") << -10 << 0;
    QTest::newRow("most negative") << qint32(0x80000000u) << 0;
}

void TestControllerReaders::ccatHeaderExtension()
{
    QFETCH(qint32, length);
    QFETCH(int, present);
    PyxBuilder cat;
    cat.ccatHeader(22, 1, length).bytes(QByteArray(present, '\xEE'));
    cat.section(1).pictureHeader("Only", 0, 1).point(0, 42, 43, 44);
    QCOMPARE(load(write(QStringLiteral("ext.ccat"), cat)), QString());
    verifyRow(0, IndexedColor, QStringLiteral("Only"), 1);
    QCOMPARE(int(point(0, 0).x), 42);
}

void TestControllerReaders::ccatVersion_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("message");
    QTest::newRow("0") << 0 << UnknownFormat;
    QTest::newRow("3") << 3 << UnknownFormat;
    QTest::newRow("4") << 4 << QString();
}

void TestControllerReaders::ccatVersion()
{
    QFETCH(int, version);
    QFETCH(QString, message);
    PyxBuilder cat;
    cat.ccatHeader(version, 1, 0).section(1).pictureHeader("P", 0, 0);
    loadSomething();
    QCOMPARE(load(write(QStringLiteral("v.ccat"), cat)), message);
    QCOMPARE(rows(), message.isEmpty() ? 1 : 0);
}

void TestControllerReaders::ccatZeroSections()
{
    PyxBuilder cat;
    cat.ccatHeader(22, 0, 0).zeros(30); // trailing bytes are ignored
    loadSomething();
    QCOMPARE(load(write(QStringLiteral("none.ccat"), cat)), QString());
    QCOMPARE(frames(), 0);
    QCOMPARE(rows(), 0);
}

void TestControllerReaders::ccatTruncatedAnywhere()
{
    // Header extension, two sections, both colour modes, trailing bytes.
    PyxBuilder cat;
    cat.ccatHeader(22, 2, 3)
        .zeros(3)
        .section(1)
        .pictureHeader("Indexed", 0x00, 2)
        .point(4, 1, 1, 1)
        .point(5, 2, 2, 2)
        .section(1)
        .pictureHeader("Colour", 0x08, 2)
        .point(0, 3, 3, 3)
        .point(0, 4, 4, 4)
        .color(0, 255, 255)
        .color(80, 255, 255);
    const int end = cat.size();
    cat.zeros(9);
    QCOMPARE(load(write(QStringLiteral("whole.ccat"), cat)), QString());
    QCOMPARE(rows(), 2);

    for (int length = 0; length < end; ++length) {
        const QString file = write(QStringLiteral("cut.ccat"), cat, length);
        loadSomething();
        QCOMPARE(load(file), UnknownFormat);
        QVERIFY2(frames() == 0 && rows() == 0, qPrintable(QString::number(length)));
    }
}

void TestControllerReaders::ccatFailureKeepsEarlierPicturesUntilCleared()
{
    // Three pictures; the file ends inside the third one's points.
    PyxBuilder cat;
    cat.ccatHeader(22, 1, 0).section(3);
    cat.pictureHeader("One", 0, 1).point(0, 1, 1, 1);
    cat.pictureHeader("Two", 0, 1).point(0, 2, 2, 2);
    cat.pictureHeader("Three", 0, 2).point(0, 3, 3, 3);
    const QString file = write(QStringLiteral("three.ccat"), cat);

    load(QString()); // empties the store
    QCOMPARE(globalIldaFrames.openVectrionCCAT(file, *m_info), UnknownFormat);
    QCOMPARE(frames(), 2);
    QCOMPARE(rows(), 2);
    QCOMPARE(load(file), UnknownFormat);
    QCOMPARE(frames(), 0);
    QCOMPARE(rows(), 0);
}

void TestControllerReaders::ccatMissingFile()
{
    const QString file = path(QStringLiteral("missing.CCAT"));
    QCOMPARE(load(file), QStringLiteral("Cannot open '%1'!").arg(file));
}

// ---- Animations ----

void TestControllerReaders::aniLoadsPicturesInOrder()
{
    PyxBuilder star;
    star.picHeader(4, 2, 0).point(0x04, 10, 20, 30).point(0x04, 40, 50, 60);
    star.write(path(QStringLiteral("Intro.catl/Star.pic")));
    PyxBuilder glow;
    glow.picHeader(4, 1, 12).chunk(2, 4).color(80, 255, 255).point(0, 70, 80, 90);
    glow.write(path(QStringLiteral("Outro.catl/Glow.pic")));

    PyxBuilder ani;
    ani.aniHeader(3).entry("Intro", "Star").entry("Outro", "Glow").entry("Intro", "Star").count(0);
    QCOMPARE(load(write(QStringLiteral("show.ani"), ani)), QString());

    QCOMPARE(frames(), 3);
    QCOMPARE(rows(), 3); // the animation itself adds none
    verifyRow(0, IndexedColor, QStringLiteral("Star"), 2);
    verifyRow(1, TrueColor, QStringLiteral("Glow"), 1);
    verifyRow(2, IndexedColor, QStringLiteral("Star"), 2);
    QCOMPARE(int(point(0, 1).x), 40);
    QCOMPARE(int(point(0, 1).z), -60);
    QCOMPARE(int(point(1, 0).green), 255);
    QVERIFY(sameFrames(0, 2));
    QVERIFY(!sameFrames(0, 1));
    QCOMPARE(globalIldaFrames.getFrame(2).getTotalFrames(), 1);
}

void TestControllerReaders::aniEmpty()
{
    PyxBuilder ani;
    ani.aniHeader(0).count(0);
    loadSomething();
    QCOMPARE(load(write(QStringLiteral("empty.ANI"), ani)), QString());
    QCOMPARE(frames(), 0);
    QCOMPARE(rows(), 0);

    // A negative entry count means no entries: the next count is the trailer length.
    PyxBuilder negative;
    negative.aniHeader(-3).count(0);
    QCOMPARE(load(write(QStringLiteral("negative.ani"), negative)), QString());
    QCOMPARE(frames(), 0);
}

void TestControllerReaders::aniVersion()
{
    PyxBuilder pic;
    pic.picHeader(4, 1, 0).point(0, 1, 2, 3);
    pic.write(path(QStringLiteral("C.catl/P.pic")));

    PyxBuilder one;
    one.count(1).count(1).string("").zeros(6).count(1).entry("C", "P").count(0);
    loadSomething();
    QCOMPARE(load(write(QStringLiteral("one.ani"), one)), QStringLiteral("Unknown file version!"));
    QCOMPARE(frames(), 0);

    // Zero in the long forms is still version 0.
    PyxBuilder wide;
    wide.count32(77).count32(0).string("header").zeros(6).count16(1).entry("C", "P").count(0);
    QCOMPARE(load(write(QStringLiteral("wide.ani"), wide)), QString());
    QCOMPARE(frames(), 1);

    PyxBuilder big;
    big.count(0).count16(256).string("").zeros(6).count(0).count(0);
    QCOMPARE(load(write(QStringLiteral("big.ani"), big)), QStringLiteral("Unknown file version!"));
}

void TestControllerReaders::aniMissingPicture()
{
    PyxBuilder pic;
    pic.picHeader(4, 1, 0).point(0, 1, 2, 3);
    pic.write(path(QStringLiteral("Intro.catl/Star.pic")));
    PyxBuilder ani;
    ani.aniHeader(2).entry("Intro", "Star").entry("Intro", "Moon").count(0);
    const QString file = write(QStringLiteral("a.ani"), ani);

    const QString directory = QFileInfo(m_dir->path()).canonicalFilePath();
    const QString expected = directory + QStringLiteral("/Intro.catl/Moon.pic");
    loadSomething();
    QCOMPARE(load(file), QStringLiteral("Cannot open '%1'!").arg(expected));
    QCOMPARE(frames(), 0);
    QCOMPARE(rows(), 0);
}

void TestControllerReaders::aniNonAsciiNames()
{
    PyxBuilder pic;
    pic.picHeader(4, 1, 0).point(0, 5, 5, 5);
    pic.write(path(QStringLiteral("B\u00FChne.catl/Gr\u00FCn.pic")));

    PyxBuilder ani;
    ani.aniHeader(1).entry("B\x81hne", "Gr\x81n").count(0);
    QCOMPARE(load(write(QStringLiteral("umlaut.ani"), ani)), QString());
    verifyRow(0, IndexedColor, QStringLiteral("Gr\u00FCn"), 1);

    // The message names the decoded path.
    PyxBuilder missing;
    missing.aniHeader(1).entry("B\x81hne", "Bl\x81te\x9E").count(0);
    const QString directory = QFileInfo(m_dir->path()).canonicalFilePath();
    QCOMPARE(load(write(QStringLiteral("missing.ani"), missing)),
             QStringLiteral("Cannot open '%1'!")
                 .arg(directory + QStringLiteral("/B\u00FChne.catl/Bl\u00FCte?.pic")));
}

void TestControllerReaders::aniUsesCanonicalDirectory()
{
    // The animation is reached through a link; its pictures lie beside the real file.
    PyxBuilder pic;
    pic.picHeader(4, 1, 0).point(0, 9, 9, 9);
    pic.write(path(QStringLiteral("real/Intro.catl/Star.pic")));
    PyxBuilder ani;
    ani.aniHeader(1).entry("Intro", "Star").count(0);
    write(QStringLiteral("real/show.ani"), ani);
    QVERIFY(QDir().mkpath(path(QStringLiteral("elsewhere"))));
    if (!QFile::link(path(QStringLiteral("real/show.ani")),
                     path(QStringLiteral("elsewhere/show.ani"))))
        QSKIP("no symbolic links here");

    QCOMPARE(load(path(QStringLiteral("elsewhere/show.ani"))), QString());
    QCOMPARE(frames(), 1);
    QCOMPARE(int(point(0, 0).x), 9);
}

void TestControllerReaders::aniBadPicture()
{
    PyxBuilder good;
    good.picHeader(4, 1, 0).point(0, 1, 1, 1);
    good.write(path(QStringLiteral("C.catl/Good.pic")));
    PyxBuilder bad;
    bad.picHeader(3, 1, 0).point(0, 1, 1, 1);
    bad.write(path(QStringLiteral("C.catl/Bad.pic")));

    PyxBuilder ani;
    ani.aniHeader(2).entry("C", "Good").entry("C", "Bad").count(0);
    const QString file = write(QStringLiteral("bad.ani"), ani);
    load(QString());
    QCOMPARE(globalIldaFrames.openVectrionANI(file, *m_info), UnknownFormat);
    QCOMPARE(frames(), 1); // the reader keeps the first; the loading road clears it
    QCOMPARE(load(file), UnknownFormat);
    QCOMPARE(frames(), 0);
    QCOMPARE(rows(), 0);
}

void TestControllerReaders::aniTruncatedAnywhere()
{
    PyxBuilder pic;
    pic.picHeader(4, 1, 0).point(0, 1, 1, 1);
    pic.write(path(QStringLiteral("Cat.catl/Pic.pic")));

    // Every field in a long form where it has one.
    PyxBuilder ani;
    ani.count16(300) // header value
        .count32(0)  // version
        .count16(3)
        .bytes("abc") // header text
        .zeros(6)     // header bytes
        .count32(2)   // entry count
        .count16(3)
        .bytes("Cat")
        .string("Pic") // entry 1
        .string("Cat")
        .count32(3)
        .bytes("Pic") // entry 2
        .count16(4)
        .zeros(4); // trailer
    const int end = ani.size();
    ani.zeros(5); // ignored
    QCOMPARE(load(write(QStringLiteral("whole.ani"), ani)), QString());
    QCOMPARE(frames(), 2);

    for (int length = 0; length < end; ++length) {
        const QString file = write(QStringLiteral("cut.ani"), ani, length);
        loadSomething();
        QCOMPARE(load(file), UnknownFormat);
        QVERIFY2(frames() == 0 && rows() == 0, qPrintable(QString::number(length)));
    }
}

void TestControllerReaders::aniEndsBeforeTrailer()
{
    PyxBuilder pic;
    pic.picHeader(4, 1, 0).point(0, 1, 1, 1);
    pic.write(path(QStringLiteral("C.catl/P.pic")));
    PyxBuilder ani;
    ani.aniHeader(2).entry("C", "P").entry("C", "P");
    const QString file = write(QStringLiteral("short.ani"), ani);

    load(QString());
    QCOMPARE(globalIldaFrames.openVectrionANI(file, *m_info), UnknownFormat);
    QCOMPARE(frames(), 2); // both pictures had loaded
    QCOMPARE(load(file), UnknownFormat);
    QCOMPARE(frames(), 0);
    QCOMPARE(rows(), 0);
}

void TestControllerReaders::aniStringLength_data()
{
    QTest::addColumn<PyxBuilder>("catalogue"); // the catalogue-name field
    QTest::addColumn<bool>("accepted");
    QTest::newRow("256") << PyxBuilder().count16(256).bytes(QByteArray(256, 'C')) << true;
    QTest::newRow("257") << PyxBuilder().count16(257).bytes(QByteArray(257, 'C')) << false;
    QTest::newRow("negative") << PyxBuilder().count32(-1).bytes(QByteArray(8, 'C')) << false;
    QTest::newRow("huge") << PyxBuilder().count32(0x7FFFFFFF).bytes(QByteArray(8, 'C')) << false;
}

void TestControllerReaders::aniStringLength()
{
    QFETCH(PyxBuilder, catalogue);
    QFETCH(bool, accepted);
    PyxBuilder ani;
    ani.aniHeader(1).bytes(catalogue.data()).string("P").count(0);
    const QString result = load(write(QStringLiteral("long.ani"), ani));
    // An accepted name goes on to the picture, which does not exist.
    const QString picture = QFileInfo(m_dir->path()).canonicalFilePath() + QLatin1Char('/') +
                            QString(256, QLatin1Char('C')) + QStringLiteral(".catl/P.pic");
    QCOMPARE(result, accepted ? QStringLiteral("Cannot open '%1'!").arg(picture) : UnknownFormat);
}

void TestControllerReaders::aniTrailer_data()
{
    QTest::addColumn<PyxBuilder>("trailer");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << PyxBuilder().count(0) << QString();
    QTest::newRow("three bytes") << PyxBuilder().count(3).zeros(3) << QString();
    QTest::newRow("bytes after it are ignored") << PyxBuilder().count(1).zeros(9) << QString();
    QTest::newRow("negative skips nothing") << PyxBuilder().count32(-7) << QString();
    QTest::newRow("longer than the file") << PyxBuilder().count(4).zeros(3) << UnknownFormat;
}

void TestControllerReaders::aniTrailer()
{
    QFETCH(PyxBuilder, trailer);
    QFETCH(QString, message);
    PyxBuilder ani;
    ani.aniHeader(0).bytes(trailer.data());
    QCOMPARE(load(write(QStringLiteral("trailer.ani"), ani)), message);
}

void TestControllerReaders::aniRepeatedPictures()
{
    PyxBuilder a;
    a.picHeader(4, 2, 0).point(0x04, 1, 1, 1).point(0x04, 2, 2, 2);
    a.write(path(QStringLiteral("C.catl/A.pic")));
    PyxBuilder b;
    b.picHeader(4, 1, 12).chunk(2, 4).color(80, 255, 255).point(0, 3, 3, 3);
    b.write(path(QStringLiteral("C.catl/B.pic")));
    const bool linked =
        QFile::link(path(QStringLiteral("C.catl/A.pic")), path(QStringLiteral("C.catl/Alias.pic")));

    PyxBuilder ani;
    ani.aniHeader(linked ? 5 : 4).entry("C", "A").entry("C", "B").entry("C", "A").entry("C", "B");
    if (linked)
        ani.entry("C", "Alias");
    ani.count(0);
    QCOMPARE(load(write(QStringLiteral("repeat.ani"), ani)), QString());

    QCOMPARE(frames(), linked ? 5 : 4);
    verifyRow(0, IndexedColor, QStringLiteral("A"), 2);
    verifyRow(1, TrueColor, QStringLiteral("B"), 1);
    verifyRow(2, IndexedColor, QStringLiteral("A"), 2);
    verifyRow(3, TrueColor, QStringLiteral("B"), 1);
    QVERIFY(sameFrames(0, 2));
    QVERIFY(sameFrames(1, 3));
    QVERIFY(!sameFrames(0, 1));
    if (linked) {
        // The same file under another name: the row keeps the name the entry used.
        verifyRow(4, IndexedColor, QStringLiteral("Alias"), 2);
        QVERIFY(sameFrames(0, 4));
    }
}

void TestControllerReaders::aniRepeatedPictureSharesMemory()
{
    // Each entry is a few bytes but names a picture of 32768 kept points (about 320 KiB as a
    // frame); 4000 separate copies would take well over a gigabyte.
    const int count = 40000;
    PyxBuilder big;
    big.picHeader(4, count, 8 + 4 * count).chunk(2, 4 * count);
    for (int i = 0; i < count; ++i)
        big.color(i % 240, 255, 255);
    for (int i = 0; i < count; ++i)
        big.point(0, i, -i, i);
    big.write(path(QStringLiteral("C.catl/Big.pic")));

    const int entries = 4000;
    PyxBuilder ani;
    ani.aniHeader(entries);
    for (int e = 0; e < entries; ++e)
        ani.entry("C", "Big");
    ani.count(0);
    const QString file = write(QStringLiteral("many.ani"), ani);

    load(QString());
    const qint64 before = residentKiB();
    QCOMPARE(load(file), QString());
    const qint64 after = residentKiB();
    QCOMPARE(frames(), entries);
    QCOMPARE(rows(), entries);
    verifyRow(entries - 1, TrueColor, QStringLiteral("Big"), count);
    QCOMPARE(globalIldaFrames.getFrame(entries - 1).getNumberOfPoints(), IldaFrame::MaxPoints);
    QCOMPARE(int(point(entries - 1, 100).y), -100);
    if (before < 0 || after < 0)
        QSKIP("resident memory is not reported here");
    QVERIFY2(after - before < 256 * 1024, qPrintable(QStringLiteral("%1 KiB").arg(after - before)));
}

QTEST_MAIN(TestControllerReaders)
#include "tst_controllerreaders.moc"
