// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's picture, catalogue and animation readers, and its character set.
#include "PyxBuilder.h"
#include "TestSupport.h"

#include "readers/PyxEncoding.h"

#include <QtTest>

using P = PyxBuilder;
Q_DECLARE_METATYPE(PyxBuilder)

namespace {

const QString UnknownFormat = QStringLiteral("Unknown file format!");

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

class TestControllerReaders : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_canonicalDir;
    Probe m_probe;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString write(const QString& name, const P& bytes, int length = -1) const
    {
        return bytes.write(path(name), length) ? path(name) : QString();
    }
    QString cannotOpen(const QString& name) const { return "Cannot open '" + name + "'!"; }
    // A store that holds something, so that a failure has something to clear.
    void loadSomething()
    {
        QCOMPARE(m_probe.load(write("some.pic", P().picHeader(4, 1, 0).point(4, 1, 2, 3))),
                 QString());
        QCOMPARE(m_probe.frames() + m_probe.rows(), 2);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_canonicalDir = QFileInfo(m_dir.path()).canonicalFilePath();
        // Pictures the animations refer to.
        write("C.catl/P.pic", P().picHeader(4, 1, 0).point(0, 1, 2, 3));
        write("C.catl/Bad.pic", P().picHeader(3, 1, 0).point(0, 1, 2, 3));
    }

    // A file, written unless its bytes are empty, and the store it leaves or the message.
    // Loading empties the store first, and again on any failure.
    void loads()
    {
        QVector<std::tuple<QString, P, QString>> rows;
        const auto row = [&rows](const char* /*what*/, const char* name, const P& bytes,
                                 const QString& expected) {
            rows.append({name, bytes, expected});
        };
        // clang-format off
        // Palette entries: 5 orange, 8 green, 12 blue, 4 red, 0 white. Colour and blanking come
        // from the previous record: A, B, C give A, A, B.
        row("index in bits 0-5, bit 6 blanks, bit 7 ignored", "p.pic", P().picHeader(4, 3, 0)
            .point(0x45, 100, -200, 300).point(0xAC, -32768, 32767, 0).point(0, 1, 2, 3),
            "I p 3 100,-200,-300b=ff8000 -32768,32767,0b=ff8000 1,2,-3=ffffff");
        row("indexed colour and blanking shift", "p.pic",
            P().picHeader(4, 3, 0).point(0x44, 1, 1, 1).point(0x08, 2, 2, 2).point(0x0C, 3, 3, 3),
            "I p 3 1,1,-1b=ff0000 2,2,-2b=ff0000 3,3,-3=00ff00");
        row("hue in 240ths, saturation, value; 240 is black", "p.pic", P().picHeader(4, 4, 24)
            .chunk(2, 16).color(20, 128, 200).color(239, 255, 255).color(240, 255, 255)
            .color(0, 0, 0).point(12, 0, 0, 0).point(12, 0, 0, 0).point(12, 0, 0, 0).point(12, 0, 0, 0),
            "T p 4 0,0,0=c89664 0,0,0=c89664 0,0,0=ff0008 0,0,0=000000");
        row("z negated, -32768 kept", "p.pic", P().picHeader(4, 3, 0)
            .point(0, 0x8000, 0xFFFF, 0x8000).point(0, 0, 0, 1).point(0, 0, 0, 0x8001),
            "I p 3 -32768,-1,-32768=ffffff 0,0,-1=ffffff 0,0,32767=ffffff");
        row("name up to the first dot", "my.show.pic", P().picHeader(4, 0, 0), "I my 0");
        row("name cut to 14", "ABCDEFGHIJKLMNOPQRST.PIC", P().picHeader(4, 0, 0), "I ABCDEFGHIJKLMN 0");
        row("version 3", "v.pic", P().picHeader(3, 1, 0).point(0, 1, 2, 3), UnknownFormat);
        // The point block starts right after the extension area; palette blue, or red records.
        const auto twoPoints = [](const P& area) { // palette blue after the extension area
            return P().picHeader(4, 2, area.size()).bytes(area.data()).point(12, 11, 22, 0).point(12, 33, 44, 0);
        };
        const P red = P().chunk(2, 8).color(0, 255, 255).color(0, 255, 255);
        const QString blue = "I e 2 11,22,0=0000ff 33,44,0=0000ff";
        const QString redPoints = "T e 2 11,22,0=ff0000 33,44,0=ff0000";
        const QString unknown = " debug: Unknown Extension Chunk!";
        row("no extension", "e.pic", twoPoints(P()), blue);
        row("colour chunk", "e.pic", twoPoints(red), redPoints);
        row("colour chunk too short: skipped", "e.pic", twoPoints(P().chunk(2, 7).zeros(7)), blue);
        row("unknown chunk", "e.pic", twoPoints(P().chunk(7, 3).zeros(3)), blue + unknown);
        row("unknown, then colour", "e.pic", twoPoints(P().chunk(7, 1).zeros(1).bytes(red.data())),
            redPoints + unknown);
        row("a later short colour chunk keeps the colours", "e.pic", twoPoints(P(red).chunk(2, 0)),
            redPoints);
        // The area holds 8 body bytes; a valid point block follows whatever is skipped.
        row("colour chunk longer than the extension area", "e.pic",
            P().picHeader(4, 2, 16).chunk(2, 9).zeros(8 + 64), UnknownFormat);
        row("unknown chunk of 4 GiB", "e.pic",
            P().picHeader(4, 2, 16).chunk(7, 0xFFFFFFFF).zeros(8 + 64), UnknownFormat);
        row("picture missing", "nowhere/gone.pic", P(), cannotOpen(path("nowhere/gone.pic")));

        P cat;
        cat.ccatHeader(22, 3, 0).section(2).pictureHeader("ABCDEFGHIJKLMNOP", 0x00, 2);
        cat.point(0x04, 1, 2, 3).point(0x08, 4, 5, 6).pictureHeader("W\x81rfel\x9E\xFE\xFA", 0x08, 1);
        cat.point(0x00, 7, 8, 9).color(160, 255, 255).section(0).section(1);
        cat.pictureHeader(QByteArray("AB\0DEFGHIJKLMNOP", 16), 0x08, 0);
        row("catalogue sections and names", "c.ccat", cat, QStringLiteral("I ABCDEFGHIJKLMNOP 2 "
            "1,2,-3=ff0000 4,5,-6=ff0000; T W\u00FCrfel?\u20AC\u2026 1 7,8,-9=0000ff; T AB 0"));
        // Colour records follow the points only for a true-colour picture; the next one shows it.
        const auto flagged = [](int version, int flags, bool colour) {
            P c;
            c.ccatHeader(version, 1, 0).section(2).pictureHeader("F", flags, 1).point(4, 1, 1, 1);
            return (colour ? c.color(80, 255, 255) : c).pictureHeader("N", 0, 1).point(12, 3, 3, 3);
        };
        row("version 21 ignores the colour flag", "c.ccat", flagged(21, 0xFF, false),
            "I F 1 1,1,-1=ff0000; I N 1 3,3,-3=0000ff");
        row("version 22 honours it", "c.ccat", flagged(22, 0xFF, true),
            "T F 1 1,1,-1=00ff00; I N 1 3,3,-3=0000ff");
        const P one = P().section(1).pictureHeader("P", 0, 1).point(0, 1, 2, 3);
        const QString p = "I P 1 1,2,-3=ffffff";
        row("catalogue version 3", "c.ccat", P().ccatHeader(3, 1, 0).bytes(one.data()), UnknownFormat);
        row("header extension skipped", "c.ccat",
            P().ccatHeader(22, 1, 10).bytes(QByteArray(10, '\xEE')).bytes(one.data()), p);
        row("negative header extension skips nothing", "c.ccat",
            P().ccatHeader(22, 1, INT_MIN).bytes(one.data()), p);

        row("animation version 1", "a.ani",
            P().count(0).count(1).string("").zeros(6).count(0).count(0), "Unknown file version!");
        row("animation version 0 in the long forms", "a.ani", P().count32(77).count32(0)
            .string("text").zeros(6).count16(1).entry("C", "P").count(0), p);
        row("animation: missing picture, decoded name", "a.ani",
            P().aniHeader(2).entry("C", "P").entry("B\x81hne", "Bl\x9E").count(0),
            cannotOpen(m_canonicalDir + QStringLiteral("/B\u00FChne.catl/Bl?.pic")));
        row("animation: name of 256", "a.ani", P().aniHeader(1).entry(QByteArray(256, 'C'), "P").count(0),
            cannotOpen(m_canonicalDir + '/' + QString(256, QLatin1Char('C')) + ".catl/P.pic"));
        row("animation: name of 257", "a.ani", P().aniHeader(1).entry(QByteArray(257, 'C'), "P").count(0),
            UnknownFormat);
        row("animation: name of negative length", "a.ani",
            P().aniHeader(1).count32(-1).zeros(8).string("P").count(0), UnknownFormat);
        row("animation: negative trailer skips nothing", "a.ani", P().aniHeader(0).count32(-7), "");
        row("animation trailer longer than the file", "a.ani", P().aniHeader(0).count16(40000).zeros(3),
            UnknownFormat);
        // clang-format on
        for (const auto& [name, bytes, expected] : rows) {
            const QString file = bytes.size() ? write(name, bytes) : path(name);
            loadSomething();
            DebugCatcher catcher;
            QString result = m_probe.load(file);
            result += m_probe.dump();
            for (const QString& line : DebugCatcher::lines())
                result += " debug: " + line;
            COMPARE_ROW(name, result, expected);
        }
    }

    void animations()
    {
        write("Intro.catl/Star.pic", P().picHeader(4, 2, 0).point(4, 1, 2, 3).point(4, 4, 5, 6));
        write("Outro.catl/Glow.pic",
              P().picHeader(4, 1, 12).chunk(2, 4).color(80, 255, 255).point(0, 7, 8, 9));
        write(QStringLiteral("B\u00FChne.catl/Gr\u00FCn.pic"),
              P().picHeader(4, 1, 0).point(0, 5, 5, 5));
        // The same file under another name keeps the name its entry used.
        QVERIFY(QFile::link(path("Intro.catl/Star.pic"), path("Intro.catl/Alias.pic")));
        P ani;
        ani.aniHeader(5).entry("Intro", "Star").entry("Outro", "Glow").entry("B\x81hne", "Gr\x81n");
        QCOMPARE(m_probe.load(write("show.ani",
                                    ani.entry("Intro", "Star").entry("Intro", "Alias").count(0))),
                 QString());
        const QString star = " 2 1,2,-3=ff0000 4,5,-6=ff0000; ";
        QCOMPARE(m_probe.dump(), "I Star" + star + "T Glow 1 7,8,-9=00ff00; " +
                                     QStringLiteral("I Gr\u00FCn 1 5,5,-5=ffffff; I Star") + star +
                                     "I Alias" + star.chopped(2));
        // Reached through a link, the animation's pictures still lie beside the real file.
        QVERIFY(QFile::link(path("show.ani"), path("C.catl/show.ani")));
        QCOMPARE(m_probe.load(path("C.catl/show.ani")) + QString::number(m_probe.rows()), "5");
        // Each entry is a few bytes but names a frame of 32768 kept points (about 320 KiB): 4000
        // separate copies would take well over a gigabyte.
        P big = P().picHeader(4, 40000, 0);
        for (int i = 0; i < 40000; ++i)
            big.point(0, i, -i, i);
        P many = P().aniHeader(4000);
        for (int e = 0; e < 4000; ++e)
            many.entry("C", "Big");
        write("C.catl/Big.pic", big);
        const QString file = write("many.ani", many.count(0));
        m_probe.load(QString());
        const qint64 before = residentKiB();
        QCOMPARE(m_probe.load(file), QString());
        const qint64 after = residentKiB();
        QCOMPARE(m_probe.row(3999).at(3), QStringLiteral("40000")); // the kept points end here:
        QCOMPARE(Probe::points(3999).mid(IldaFrame::MaxPoints - 1),
                 (Pts{{32767, -32767, -32767, 0, 255, 255, 255}}));
        if (before < 0 || after < 0)
            QSKIP("resident memory is not reported here");
        QVERIFY2(after - before < 256 * 1024, qPrintable(QString::number(after - before)));
    }

    // Cut short anywhere: the proper message and an empty store; bytes after the end are ignored.
    void truncatedAnywhere()
    {
        // clang-format off
        const QVector<QPair<QString, P>> files{
            // A colour chunk with spare bytes, an unknown chunk and loose bytes before the points.
            {"cut.pic", P().picHeader(4, 3, 8 + 16 + 8 + 2 + 3).chunk(2, 16).color(0, 255, 255)
                 .color(80, 255, 255).color(160, 255, 255).zeros(4).chunk(9, 2).zeros(2 + 3)
                 .point(0, 1, 1, 1).point(0, 2, 2, 2).point(0, 3, 3, 3)},
            // Header extension, two sections, both colour modes.
            {"cut.ccat", P().ccatHeader(22, 2, 3).zeros(3).section(1).pictureHeader("Indexed", 0, 2)
                 .point(4, 1, 1, 1).point(5, 2, 2, 2).section(1).pictureHeader("Colour", 0x08, 2)
                 .point(0, 3, 3, 3).point(0, 4, 4, 4).color(0, 255, 255).color(80, 255, 255)},
            // Every count in each of its forms.
            {"cut.ani", P().count16(300).count32(0).count16(3).bytes("abc").zeros(6).count32(2)
                 .count16(1).bytes("C").string("P").string("C").count32(1).bytes("P").count16(4)
                 .zeros(4)}};
        // clang-format on
        DebugCatcher catcher;
        for (const auto& [name, bytes] : files) {
            QCOMPARE(m_probe.load(write(name, P(bytes).zeros(9))), QString());
            QVERIFY(m_probe.frames() >= 1);
            for (int length = 0; length < bytes.size(); ++length) {
                loadSomething();
                const QString at = QStringLiteral("%1 cut at %2").arg(name).arg(length);
                COMPARE_ROW(at, m_probe.load(write(name, bytes, length)), UnknownFormat);
                COMPARE_ROW(at, m_probe.dump(), QString());
            }
        }
    }

    void characterSet()
    {
        const auto decode = [](const QByteArray& bytes, int length) {
            return PyxEncoding::fromPyx(reinterpret_cast<const uchar*>(bytes.constData()), length,
                                        '#');
        };
        // Characters a user meets, and two without a byte; decoding stops at a zero or the length.
        const QString text = QStringLiteral("A\u20AC\u00FC\u2018\u2019\u2026\u0084\u00FF#");
        QCOMPARE(decode("A\xFE\x81\xB0\xB1\xFA\xF2\x98\xC8", -1), text);
        QCOMPARE(PyxEncoding::toPyx(text + QChar(0x2020) + QChar(0x80), '#'),
                 QByteArray("A\xFE\x81\xB0\xB1\xFA\xF2\x98###") + '\0');
        QCOMPARE(decode(QByteArray("AB\0DEFGH", 8), 8) + decode("ABCDEF", 3) + decode("ABC", 0),
                 QStringLiteral("ABABC"));
        QCOMPARE(PyxEncoding::fromPyx(nullptr, 3, '#'), QString());
        // Every byte with a character encodes back to itself, ASCII and the C0 controls are
        // themselves, no two bytes share a character and no other character has a byte: 127
        // below 0x80 and 84 above. The whole set survives as a string.
        QString all;
        QByteArray bytes;
        int encodable = 0;
        for (int u = 0; u <= 0xFFFF; ++u) {
            const QChar c = PyxEncoding::fromPyx(uchar(u));
            if (u > 0 && u < 256 && !c.isNull() && PyxEncoding::toPyx(c) == u &&
                (u > 127 || c == u))
                all += c, bytes += char(u);
            encodable += PyxEncoding::toPyx(QChar(ushort(u))) != 0;
        }
        QCOMPARE(bytes.size(), 211);
        QCOMPARE(encodable, 211);
        QCOMPARE(PyxEncoding::toPyx(all, 0xC8), bytes + '\0');
        QCOMPARE(decode(bytes, -1), all);
    }
};

QTEST_MAIN(TestControllerReaders)
#include "tst_controllerreaders.moc"
