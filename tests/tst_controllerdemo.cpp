#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "tools/DemoShow.h"
#include "tools/Inspector.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString IndexedColor = QStringLiteral("Vectrion Pyx Picture (Indexed Color)");
const QString TrueColor = QStringLiteral("Vectrion Pyx Picture (True Color)");

} // namespace

// The controller files of the demo show, as the command-line inspector reports them.
class TestControllerDemo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void writesControllerFiles();
    void inspectorReports_data();
    void inspectorReports();
    void picturesAreDrawn_data();
    void picturesAreDrawn();
    void animationMoves();
    void writingIsDeterministic();

private:
    QString demoFile(const QString& name) const { return m_dir.filePath(name); }
    QJsonObject inspect(const QString& file, bool points);

    QTemporaryDir m_dir;
    QStringList m_written;
};

void TestControllerDemo::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_written = DemoShow::writeAll(m_dir.path());
    QVERIFY(!m_written.isEmpty());
}

QJsonObject TestControllerDemo::inspect(const QString& file, bool points)
{
    QString output;
    QString errors;
    QTextStream out(&output);
    QTextStream err(&errors);
    QStringList args{QStringLiteral("--json")};
    if (!points)
        args << QStringLiteral("--no-points");
    args << file;
    const int status = Inspector::run(args, out, err);
    out.flush();
    err.flush();
    if (status != Inspector::Success || !errors.isEmpty())
        qWarning("inspector: %d %s %s", status, qPrintable(errors), qPrintable(output));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(output.toUtf8(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        qWarning("not JSON: %s", qPrintable(parseError.errorString()));
    return document.object();
}

void TestControllerDemo::writesControllerFiles()
{
    const QStringList expected{
        demoFile(QStringLiteral("lumenar-demo.ild")), demoFile(QStringLiteral("Spiral.pic")),
        demoFile(QStringLiteral("Flower.pic")), demoFile(QStringLiteral("Lumenar.ccat")),
        demoFile(QStringLiteral("Lumenar.ani"))};
    QCOMPARE(m_written, expected);
    for (int f = 0; f < 24; ++f)
        QVERIFY(QFile::exists(
            demoFile(QStringLiteral("Lumenar.catl/Knot%1.pic").arg(f, 2, 10, QLatin1Char('0')))));
}

void TestControllerDemo::inspectorReports_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("formats");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("true-colour picture")
        << "Spiral.pic" << QStringList{TrueColor} << QStringList{"Spiral"};
    QTest::newRow("indexed picture")
        << "Flower.pic" << QStringList{IndexedColor} << QStringList{"Flower"};
    QTest::newRow("catalogue") << "Lumenar.ccat"
                               << QStringList{TrueColor, IndexedColor, TrueColor, IndexedColor}
                               << QStringList{QStringLiteral("W\u00FCrfel"),
                                              QStringLiteral("\u00C9toile"), "Herz", "Wellen"};
    QStringList knots;
    for (int f = 0; f < 24; ++f)
        knots << QStringLiteral("Knot%1").arg(f, 2, 10, QLatin1Char('0'));
    QTest::newRow("animation") << "Lumenar.ani"
                               << QStringList(QVector<QString>(24, TrueColor).toList()) << knots;
}

void TestControllerDemo::inspectorReports()
{
    QFETCH(QString, file);
    QFETCH(QStringList, formats);
    QFETCH(QStringList, names);

    const QJsonObject report = inspect(demoFile(file), false);
    QCOMPARE(report.value(QStringLiteral("ok")).toBool(), true);
    QCOMPARE(report.value(QStringLiteral("error")).toString(), QString());
    const QJsonArray rows = report.value(QStringLiteral("rows")).toArray();
    const QJsonArray frames = report.value(QStringLiteral("frames")).toArray();
    QCOMPARE(rows.size(), formats.size());
    QCOMPARE(frames.size(), formats.size());
    for (int r = 0; r < rows.size(); ++r) {
        const QJsonObject row = rows.at(r).toObject();
        const QJsonObject frame = frames.at(r).toObject();
        QCOMPARE(row.value(QStringLiteral("format")).toString(), formats.at(r));
        QCOMPARE(row.value(QStringLiteral("name")).toString(), names.at(r));
        QCOMPARE(row.value(QStringLiteral("company")).toString(), QString());
        QCOMPARE(row.value(QStringLiteral("projector")).toString(), QString());
        const int records = row.value(QStringLiteral("records")).toInt();
        QVERIFY(records > 50);
        QCOMPARE(frame.value(QStringLiteral("pointCount")).toInt(), records);
        QCOMPARE(frame.value(QStringLiteral("name")).toString(), QString());
        QCOMPARE(frame.value(QStringLiteral("frameNumber")).toInt(), 0);
        QCOMPARE(frame.value(QStringLiteral("totalFrames")).toInt(), 1);
    }
}

void TestControllerDemo::picturesAreDrawn_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("minColors");
    QTest::newRow("Spiral.pic") << "Spiral.pic" << 30;
    QTest::newRow("Flower.pic") << "Flower.pic" << 9;     // eight petals and a white centre
    QTest::newRow("Lumenar.ccat") << "Lumenar.ccat" << 2; // the star is yellow and orange
    QTest::newRow("Lumenar.ani") << "Lumenar.ani" << 30;
}

void TestControllerDemo::picturesAreDrawn()
{
    QFETCH(QString, file);
    QFETCH(int, minColors);
    const QJsonObject report = inspect(demoFile(file), true);
    const QJsonArray frames = report.value(QStringLiteral("frames")).toArray();
    QVERIFY(!frames.isEmpty());
    for (const QJsonValue& value : frames) {
        const QJsonArray points = value.toObject().value(QStringLiteral("points")).toArray();
        QSet<int> colors;
        int lit = 0;
        int minX = 32767, maxX = -32768, minY = 32767, maxY = -32768;
        for (const QJsonValue& p : points) {
            const QJsonArray q = p.toArray(); // x, y, z, blanked, red, green, blue
            minX = std::min(minX, q.at(0).toInt());
            maxX = std::max(maxX, q.at(0).toInt());
            minY = std::min(minY, q.at(1).toInt());
            maxY = std::max(maxY, q.at(1).toInt());
            if (q.at(3).toInt() != 0)
                continue;
            const int rgb = (q.at(4).toInt() << 16) | (q.at(5).toInt() << 8) | q.at(6).toInt();
            QVERIFY(rgb != 0); // a lit point is never black
            colors.insert(rgb);
            ++lit;
        }
        // Mostly lit, in several colours, spread over a good part of the field
        QVERIFY(lit > points.size() * 3 / 4);
        QVERIFY2(colors.size() >= minColors, qPrintable(QString::number(colors.size())));
        // (The turning knot is seen edge-on in some frames.)
        const int wide = std::max(maxX - minX, maxY - minY);
        const int narrow = std::min(maxX - minX, maxY - minY);
        QVERIFY2(wide > 30000 && narrow > 8000,
                 qPrintable(QStringLiteral("%1 x %2").arg(maxX - minX).arg(maxY - minY)));
    }
}

void TestControllerDemo::animationMoves()
{
    InfoWindow info;
    QCOMPARE(globalIldaFrames.loadFile(demoFile(QStringLiteral("Lumenar.ani")), info), QString());
    QCOMPARE(globalIldaFrames.getNumberOfFrames(), 24);
    // Each frame is turned a little further: neighbouring frames differ.
    for (int f = 1; f < 24; ++f) {
        const IldaPoint a = globalIldaFrames.getFrame(f - 1).getPoint(10);
        const IldaPoint b = globalIldaFrames.getFrame(f).getPoint(10);
        QVERIFY(a.x != b.x || a.z != b.z);
    }
    // The knot is three-dimensional.
    int minZ = 32767, maxZ = -32768;
    const IldaFrame frame = globalIldaFrames.getFrame(0);
    for (int i = 0; i < frame.getNumberOfPoints(); ++i) {
        minZ = std::min(minZ, int(frame.getPoint(i).z));
        maxZ = std::max(maxZ, int(frame.getPoint(i).z));
    }
    QVERIFY(maxZ - minZ > 10000);
    globalIldaFrames.loadFile(QString(), info);
}

void TestControllerDemo::writingIsDeterministic()
{
    QTemporaryDir again;
    QVERIFY(again.isValid());
    const QStringList written = DemoShow::writeAll(again.path());
    QCOMPARE(written.size(), m_written.size());
    QStringList compared = m_written;
    compared << demoFile(QStringLiteral("Lumenar.catl/Knot07.pic"));
    for (const QString& first : compared) {
        const QString second = again.filePath(QDir(m_dir.path()).relativeFilePath(first));
        QFile a(first);
        QFile b(second);
        QVERIFY(a.open(QIODevice::ReadOnly));
        QVERIFY(b.open(QIODevice::ReadOnly));
        QVERIFY2(a.readAll() == b.readAll(), qPrintable(first));
    }
}

QTEST_MAIN(TestControllerDemo)
#include "tst_controllerdemo.moc"
