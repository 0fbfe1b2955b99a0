#include "readers/PyxEncoding.h"

#include <QSet>
#include <QtTest>

namespace {

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
    void singleCharacter_data();
    void singleCharacter();
    void decodeString_data();
    void decodeString();
    void encodeString_data();
    void encodeString();
    void everyByteAndCharacterRoundTrips();
};

// byte -> character and character -> byte; -1 where that direction is not checked.
void TestPyxEncoding::singleCharacter_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("A") << 0x41 << 0x41;
    QTest::newRow("euro") << 0xFE << 0x20AC;
    QTest::newRow("u umlaut") << 0x81 << 0x00FC;
    QTest::newRow("left quote") << 0xB0 << 0x2018;
    QTest::newRow("right quote") << 0xB1 << 0x2019;
    QTest::newRow("ellipsis") << 0xFA << 0x2026;
    QTest::newRow("C1 control") << 0xF2 << 0x0084;
    QTest::newRow("y diaeresis") << 0x98 << 0x00FF;
    QTest::newRow("byte 0xC8 has none") << 0xC8 << -1;
    QTest::newRow("byte 0x9E has none") << 0x9E << -1;
    QTest::newRow("byte 0 is no character") << 0x00 << -1;
    QTest::newRow("U+0100 has none") << -1 << 0x0100;
    QTest::newRow("U+0080 has none") << -1 << 0x0080;
    QTest::newRow("U+0000 has none") << -1 << 0x0000;
    QTest::newRow("U+2020 has none") << -1 << 0x2020;
}

void TestPyxEncoding::singleCharacter()
{
    QFETCH(int, byte);
    QFETCH(int, unicode);
    if (byte >= 0)
        QCOMPARE(PyxEncoding::fromPyx(uchar(byte)).unicode(), ushort(qMax(unicode, 0)));
    if (unicode >= 0)
        QCOMPARE(int(PyxEncoding::toPyx(QChar(ushort(unicode)))), qMax(byte, 0));
}

void TestPyxEncoding::decodeString_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero ends the text") << QByteArray("AB\0C", 4) << -1 << "AB";
    QTest::newRow("zero ends a counted text") << QByteArray("AB\0C", 4) << 4 << "AB";
    QTest::newRow("sixteen without zero")
        << QByteArray("ABCDEFGHIJKLMNOP") << 16 << "ABCDEFGHIJKLMNOP";
    QTest::newRow("third of sixteen zero") << QByteArray("AB\0DEFGHIJKLMNOP", 16) << 16 << "AB";
    QTest::newRow("length cuts") << QByteArray("ABCDEF") << 3 << "ABC";
    QTest::newRow("length zero") << QByteArray("ABC") << 0 << "";
    QTest::newRow("no character") << QByteArray("\x9E") << 1 << "?";
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
    QCOMPARE(PyxEncoding::fromPyx(nullptr, length, QLatin1Char('?')), QString());
    // The replacement is the caller's.
    QCOMPARE(decode("\xC8", 1, QLatin1Char('#')), QStringLiteral("#"));
}

void TestPyxEncoding::encodeString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected"); // with its terminating zero
    QTest::newRow("empty") << QString() << QByteArray(1, '\0');
    QTest::newRow("ascii") << "Star" << QByteArray("Star", 5);
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
    QCOMPARE(PyxEncoding::toPyx(text, '#'), expected);
}

// Every byte with a character encodes back to itself, every character with a byte decodes back,
// and the whole set survives as a string.
void TestPyxEncoding::everyByteAndCharacterRoundTrips()
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
        if (b != 0)
            QCOMPARE(PyxEncoding::fromPyx(b).unicode(), ushort(u));
    }

    QCOMPARE(PyxEncoding::toPyx(all, 0xC8), bytes + '\0');
    QCOMPARE(decode(bytes, -1), all);
}

QTEST_APPLESS_MAIN(TestPyxEncoding)
#include "tst_pyxencoding.moc"
