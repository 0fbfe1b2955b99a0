// The command-line inspector: its JSON lines, its table and its exit codes.
#include "IldaBuilder.h"

#include "tools/DemoShow.h"
#include "tools/Inspector.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

class TestInspector : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_demo;

    struct Result
    {
        int status = 0;
        QString out;
        QString err;
    };

    static Result run(const QStringList& args)
    {
        Result r;
        QTextStream out(&r.out);
        QTextStream err(&r.err);
        r.status = Inspector::run(args, out, err);
        out.flush();
        err.flush();
        return r;
    }

    // A line that is not a JSON object comes back empty and fails the checks on its members.
    static QVector<QJsonObject> jsonLines(const QString& text)
    {
        QVector<QJsonObject> objects;
        for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            objects << QJsonDocument::fromJson(line.toUtf8()).object();
        return objects;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QStringList written = DemoShow::writeAll(m_dir.path());
        QVERIFY(!written.isEmpty());
        m_demo = written.first();
        QVERIFY(m_demo.endsWith(QLatin1String(".ild")));
    }

    void demoShowAsJson()
    {
        const Result r = run({QStringLiteral("--json"), m_demo});
        QCOMPARE(r.status, 0);
        const QVector<QJsonObject> files = jsonLines(r.out);
        QCOMPARE(files.size(), 1);
        const QJsonObject show = files.first();
        QCOMPARE(show.keys(), (QStringList{"error", "file", "frames", "ok", "rows"}));
        QCOMPARE(show.value("file").toString(), m_demo);
        QVERIFY(show.value("ok").toBool());
        QCOMPARE(show.value("error").toString(), QString());

        // Each row is matched with its frame; the palette row has none.
        const QJsonArray rows = show.value("rows").toArray();
        const QJsonArray frames = show.value("frames").toArray();
        QStringList summary; // format number, name and projector of each row
        int f = 0;
        for (const QJsonValue& value : rows) {
            const QJsonObject row = value.toObject();
            QCOMPARE(row.keys(),
                     (QStringList{"company", "format", "name", "projector", "records"}));
            QCOMPARE(row.value("company").toString(), QStringLiteral("Lumenar"));
            const QString format = row.value("format").toString();
            summary << QStringList{format.left(1), row.value("name").toString(),
                                   row.value("projector").toString()}
                           .join(' ');
            if (format.startsWith('2'))
                continue;
            const QJsonObject frame = frames.at(f++).toObject();
            QCOMPARE(frame.keys(), (QStringList{"company", "frameNumber", "name", "pointCount",
                                                "points", "totalFrames"}));
            QCOMPARE(frame.value("name"), row.value("name"));
            QCOMPARE(frame.value("pointCount").toInt(), row.value("records").toInt());
            const QJsonArray points = frame.value("points").toArray();
            QCOMPARE(points.size(), frame.value("pointCount").toInt());
            for (const QJsonValue& p : points) {
                const QJsonArray v = p.toArray();
                QCOMPARE(v.size(), 7);
                QVERIFY(v.at(3).toInt() == 0 || v.at(3).toInt() == 1);
                for (int c = 4; c < 7; ++c)
                    QVERIFY(v.at(c).toInt() >= 0 && v.at(c).toInt() <= 255);
            }
        }
        QCOMPARE(f, frames.size());
        const int n = DemoShow::AnimationFrames;
        // The animation, two 2-D frames, projector 1's palette and the frames after it.
        const QStringList order{"5 Star 0", "1 Rainbow 0", "2 Sunset 1", "0 Helix 1", "1 Waves 1"};
        QCOMPARE(summary, QVector<QString>(n, QStringLiteral("4 Cube 0")).toList() + order);
        QCOMPARE(rows.at(0).toObject().value("format").toString(),
                 QStringLiteral("4 = 3D Coordinates with True Color"));
        QCOMPARE(rows.at(n + 2).toObject().value("records").toInt(), 64);
        QCOMPARE(frames.at(0).toObject().value("totalFrames").toInt(), frames.size());
        QCOMPARE(frames.at(n - 1).toObject().value("frameNumber").toInt(), n - 1);
        // Every animation stroke starts with a blanked move.
        QCOMPARE(frames.at(0).toObject().value("points").toArray().at(0).toArray().at(3).toInt(),
                 1);
        // The helix is coloured from projector 1's palette, not the default (red at index 0).
        const QJsonArray helixFirst =
            frames.at(n + 2).toObject().value("points").toArray().at(0).toArray();
        QVERIFY(helixFirst.at(4).toInt() != 255 || helixFirst.at(5).toInt() != 0 ||
                helixFirst.at(6).toInt() != 0);
    }

    void noPoints()
    {
        const Result r = run({QStringLiteral("--json"), QStringLiteral("--no-points"), m_demo});
        QCOMPARE(r.status, 0);
        const QJsonObject frame =
            jsonLines(r.out).first().value("frames").toArray().first().toObject();
        QVERIFY(!frame.contains("points"));
        QVERIFY(frame.value("pointCount").toInt() > 0);
    }

    void failuresAndEscaping()
    {
        const QString odd = writeTestFile(
            m_dir, QStringLiteral("odd \"name\"\\.ild"),
            IldaBuilder().header(1, "q\"\\\x01", "", 1).point1(-3, 4, 0x40, 0).end().bytes());
        const QString missing = m_dir.filePath(QStringLiteral("missing.ild"));
        const Result r = run({QStringLiteral("--json"), odd, missing});
        QCOMPARE(r.status, 1);
        const QVector<QJsonObject> files = jsonLines(r.out);
        QCOMPARE(files.size(), 2);
        QCOMPARE(files[0].value("file").toString(), odd);
        QVERIFY(files[0].value("ok").toBool());
        const QJsonObject frame = files[0].value("frames").toArray().first().toObject();
        QCOMPARE(frame.value("name").toString(), QStringLiteral("q\"\\\x01"));
        QCOMPARE(frame.value("points").toArray().first().toArray(),
                 (QJsonArray{-3, 4, 0, 1, 255, 0, 0}));
        QVERIFY(!files[1].value("ok").toBool());
        QCOMPARE(files[1].value("error").toString(),
                 QStringLiteral("Cannot open '%1'!").arg(missing));
        QCOMPARE(files[1].value("rows").toArray().size(), 0);
        QCOMPARE(files[1].value("frames").toArray().size(), 0);
    }

    void table()
    {
        const Result r = run({m_demo});
        QCOMPARE(r.status, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), m_demo);
        QVERIFY(lines.at(1).contains(QLatin1String("Format")));
        QVERIFY(lines.at(1).contains(QLatin1String("Projector")));
        QCOMPARE(lines.size(), 2 + DemoShow::AnimationFrames + 5 + 1);
        // Columns line up: every row starts its format text where the header's "Format" starts.
        const int column = lines.at(1).indexOf(QLatin1String("Format"));
        for (int i = 2; i < lines.size() - 1; ++i)
            QVERIFY2(lines.at(i).mid(column).at(0).isDigit(), qPrintable(lines.at(i)));
        QVERIFY(lines.last().contains(QRegularExpression(
            QStringLiteral("^  %1 frames, \\d+ points$").arg(DemoShow::AnimationFrames + 4))));

        const Result bad = run({m_dir.filePath(QStringLiteral("nope.ild"))});
        QCOMPARE(bad.status, 1);
        QVERIFY(bad.out.contains(QLatin1String("Cannot open")));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::newRow("nothing") << QStringList() << 2;
        QTest::newRow("only options") << QStringList{"--json"} << 2;
        QTest::newRow("unknown option") << QStringList{"--frobnicate", "x.ild"} << 2;
        QTest::newRow("help") << QStringList{"--help"} << 0;
    }

    void usage()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        const Result r = run(args);
        QCOMPARE(r.status, status);
        QVERIFY((status == 0 ? r.out : r.err).contains(QLatin1String("usage:")));
    }
};

QTEST_MAIN(TestInspector)
#include "tst_inspector.moc"
