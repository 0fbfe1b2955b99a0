#include "readers/PyxEncoding.h"

#include <QSet>
#include <QtTest>

namespace {

// Characters of the bytes 0x80 to 0xFF, eight to a row; 0 where the byte has none.
const char16_t HighHalf[16][8] = {
    {u'Ç', u'ü', u'é', u'â', u'ä', u'à', u'å', u'ç'},
    {u'ê', u'ë', u'è', u'ï', u'î', u'ì', u'Ä', u'Å'},
    {u'É', u'æ', u'Æ', u'ô', u'ö', u'ò', u'û', u'ù'},
    {u'ÿ', u'Ö', u'Ü', u'ø', u'£', u'Ø', 0, 0},
    {u'á', u'í', u'ó', u'ú', u'ñ', u'Ñ', 0, 0},
    {u'¿', u'®', 0, u'½', u'¼', u'¡', u'«', u'»'},
    {u'‘', u'’', 0, 0, 0, u'Á', u'Â', u'À'},
    {u'©', 0, 0, 0, 0, u'¢', u'¥', 0},
    {0, 0, 0, 0, 0, 0, u'ã', u'Ã'},
    {0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, u'Ê', u'Ë', u'È', 0, u'Í', u'Î'},
    {u'Ï', 0, 0, 0, 0, u'¦', u'Ì', 0},
    {u'Ó', u'ß', u'Ô', u'Ò', u'õ', u'Õ', u'µ', 0},
    {0, u'Ú', u'Û', u'Ù', u'ý', u'Ý', u'¯', u'´'},
    {0, 0, 0x0084, 0, u'¶', u'§', 0, 0},
    {u'°', 0, u'…', 0x0081, 0x0082, 0x0083, u'€', 0},
};

QString decode(const QByteArray& bytes, int length, QChar replacement = QLatin1Char('?'))
{
    return PyxEncoding::fromPyx(reinterpret_cast<const unsigned char*>(bytes.constData()), length,
                                replacement);
}

} // namespace

class TestPyxEncoding : public QObject
{
    Q_OBJECT

private slots:
    void lowHalfIsAscii();
    void highHalf_data();
    void highHalf();
    void decodeString_data();
    void decodeString();
    void decodeNull();
    void encodeCharacter_data();
    void encodeCharacter();
    void encodeString_data();
    void encodeString();
    void everyByteRoundTrips();
    void everyCharacterRoundTrips();
    void wholeSetRoundTripsAsString();
};

void TestPyxEncoding::lowHalfIsAscii()
{
    QCOMPARE(PyxEncoding::fromPyx(0x00), QChar(0));
    for (int b = 1; b < 0x80; ++b)
        QCOMPARE(PyxEncoding::fromPyx(uchar(b)).unicode(), ushort(b));
}

void TestPyxEncoding::highHalf_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("row");
    for (int row = 0; row < 16; ++row)
        QTest::newRow(qPrintable(QStringLiteral("0x%1").arg(0x80 + row * 8, 2, 16)))
            << 0x80 + row * 8 << row;
}

void TestPyxEncoding::highHalf()
{
    QFETCH(int, first);
    QFETCH(int, row);
    for (int i = 0; i < 8; ++i) {
        const ushort expected = HighHalf[row][i];
        QVERIFY2(PyxEncoding::fromPyx(uchar(first + i)).unicode() == expected,
                 qPrintable(QStringLiteral("byte 0x%1").arg(first + i, 2, 16)));
    }
}

void TestPyxEncoding::decodeString_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero ends the text") << QByteArray("AB\0C", 4) << -1 << QStringLiteral("AB");
    QTest::newRow("zero ends a counted text")
        << QByteArray("AB\0C", 4) << 4 << QStringLiteral("AB");
    QTest::newRow("sixteen without zero")
        << QByteArray("ABCDEFGHIJKLMNOP") << 16 << QStringLiteral("ABCDEFGHIJKLMNOP");
    QTest::newRow("third byte zero")
        << QByteArray("AB\0DEFGHIJKLMNOP", 16) << 16 << QStringLiteral("AB");
    QTest::newRow("length cuts") << QByteArray("ABCDEF") << 3 << QStringLiteral("ABC");
    QTest::newRow("length zero") << QByteArray("ABC") << 0 << QString();
    QTest::newRow("negative on zero") << QByteArray("\0A", 2) << -1 << QString();
    QTest::newRow("no character") << QByteArray("\x9E") << 1 << QStringLiteral("?");
    QTest::newRow("euro") << QByteArray("\xFE") << 1 << QStringLiteral("\u20AC");
    QTest::newRow("u umlaut") << QByteArray("\x81") << 1 << QStringLiteral("\u00FC");
    QTest::newRow("left quote") << QByteArray("\xB0") << 1 << QStringLiteral("\u2018");
    QTest::newRow("mixed") << QByteArray("Gr\x81\xE1"
                                         "e\xC8!")
                           << -1 << QStringLiteral("Gr\u00FC\u00DFe?!");
}

void TestPyxEncoding::decodeString()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, length);
    QFETCH(QString, expected);
    QCOMPARE(decode(bytes, length), expected);
}

void TestPyxEncoding::decodeNull()
{
    QCOMPARE(PyxEncoding::fromPyx(nullptr, 16, QLatin1Char('?')), QString());
    QCOMPARE(PyxEncoding::fromPyx(nullptr, -1, QLatin1Char('?')), QString());
    // The replacement is the caller's choice.
    QCOMPARE(decode("\xC8", 1, QLatin1Char('#')), QStringLiteral("#"));
    QCOMPARE(PyxEncoding::fromPyx(0xC8), QChar(0));
}

void TestPyxEncoding::encodeCharacter_data()
{
    QTest::addColumn<int>("unicode");
    QTest::addColumn<int>("byte");
    QTest::newRow("A") << int('A') << 0x41;
    QTest::newRow("euro") << 0x20AC << 0xFE;
    QTest::newRow("u umlaut") << 0x00FC << 0x81;
    QTest::newRow("left quote") << 0x2018 << 0xB0;
    QTest::newRow("right quote") << 0x2019 << 0xB1;
    QTest::newRow("ellipsis") << 0x2026 << 0xFA;
    QTest::newRow("C1 0x84") << 0x0084 << 0xF2;
    QTest::newRow("U+0100") << 0x0100 << 0;
    QTest::newRow("U+0080") << 0x0080 << 0;
    QTest::newRow("U+0000") << 0x0000 << 0;
    QTest::newRow("U+2020") << 0x2020 << 0;
    QTest::newRow("U+00FF") << 0x00FF << 0x98;
}

void TestPyxEncoding::encodeCharacter()
{
    QFETCH(int, unicode);
    QFETCH(int, byte);
    QCOMPARE(int(PyxEncoding::toPyx(QChar(ushort(unicode)))), byte);
}

void TestPyxEncoding::encodeString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty") << QString() << QByteArray(1, '\0');
    QTest::newRow("ascii") << QStringLiteral("Star") << QByteArray("Star", 5);
    QTest::newRow("set") << QStringLiteral("\u00FC\u20AC\u2026") << QByteArray("\x81\xFE\xFA", 4);
    QTest::newRow("no byte") << QStringLiteral("a\u0100b") << QByteArray("a#b", 4);
    QTest::newRow("nul inside") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"))
                                << QByteArray("a#b", 4);
    // Two code units, two replacements.
    QTest::newRow("outside BMP") << QString::fromUcs4(U"\U0001F600") << QByteArray("##", 3);
}

void TestPyxEncoding::encodeString()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    const QByteArray bytes = PyxEncoding::toPyx(text, '#');
    QCOMPARE(bytes.size(), text.size() + 1);
    QCOMPARE(bytes, expected);
}

void TestPyxEncoding::everyByteRoundTrips()
{
    int withCharacter = 0;
    for (int b = 1; b < 256; ++b) {
        const QChar c = PyxEncoding::fromPyx(uchar(b));
        if (c.isNull())
            continue;
        ++withCharacter;
        QVERIFY2(PyxEncoding::toPyx(c) == b, qPrintable(QStringLiteral("byte 0x%1").arg(b, 2, 16)));
    }
    // 127 below 0x80, 84 above.
    QCOMPARE(withCharacter, 211);
}

void TestPyxEncoding::everyCharacterRoundTrips()
{
    QSet<ushort> decoded;
    for (int b = 1; b < 256; ++b)
        decoded.insert(PyxEncoding::fromPyx(uchar(b)).unicode());
    decoded.remove(0);

    int withByte = 0;
    for (int u = 0; u <= 0xFFFF; ++u) {
        const QChar c{ushort(u)};
        const uchar b = PyxEncoding::toPyx(c);
        // A character has a byte exactly when some byte decodes to it.
        QVERIFY2((b != 0) == decoded.contains(ushort(u)),
                 qPrintable(QStringLiteral("U+%1").arg(u, 4, 16, QLatin1Char('0'))));
        if (b == 0)
            continue;
        ++withByte;
        QCOMPARE(PyxEncoding::fromPyx(b), c);
    }
    QCOMPARE(withByte, 211);
}

void TestPyxEncoding::wholeSetRoundTripsAsString()
{
    QString all;
    QByteArray expected;
    for (int b = 1; b < 256; ++b) {
        if (PyxEncoding::fromPyx(uchar(b)).isNull())
            continue;
        all += PyxEncoding::fromPyx(uchar(b));
        expected += char(b);
    }
    expected += '\0';
    const QByteArray bytes = PyxEncoding::toPyx(all, 0xC8);
    QCOMPARE(bytes, expected);
    QCOMPARE(decode(bytes, -1), all);
    QCOMPARE(decode(bytes, bytes.size() - 1), all);
}

QTEST_APPLESS_MAIN(TestPyxEncoding)
#include "tst_pyxencoding.moc"
