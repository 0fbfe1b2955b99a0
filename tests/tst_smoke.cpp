// Starts the real viewer in a real X server on the demo show and looks at the screen.
#include "tools/DemoShow.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

class TestSmoke : public QObject
{
    Q_OBJECT

private:
    struct Counts
    {
        int black = 0;
        int coloured = 0;
        int total = 0;
    };

    static Counts count(const QImage& image, const QRect& rect)
    {
        Counts c;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QRgb p = image.pixel(x, y);
                const int hi = qMax(qRed(p), qMax(qGreen(p), qBlue(p)));
                const int lo = qMin(qRed(p), qMin(qGreen(p), qBlue(p)));
                ++c.total;
                if (hi == 0)
                    ++c.black;
                else if (hi - lo > 80)
                    ++c.coloured;
            }
        }
        return c;
    }

private slots:
    void demoShowInARealWindow()
    {
        for (const char* tool : {"xvfb-run", "Xvfb", "xwininfo", "import"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed, so the real window cannot be "
                                                "shown (make test installs it)")
                                     .arg(QLatin1String(tool))));
        }
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QStringList files = DemoShow::writeAll(dir.path());
        QVERIFY(!files.isEmpty());
        const QString shot = dir.filePath(QStringLiteral("shot.png"));

        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(QStringLiteral("xvfb-run"),
                  {QStringLiteral("-a"), QStringLiteral("-s"),
                   QStringLiteral("-screen 0 1280x1024x24"), QStringLiteral(SMOKE_SCRIPT),
                   QStringLiteral(LUMENAR_BINARY), files.first(), shot});
        QVERIFY(run.waitForFinished(120000));
        QVERIFY2(run.exitCode() == 0, run.readAll().constData());

        QImage image(shot);
        QVERIFY(!image.isNull());
        image = image.convertToFormat(QImage::Format_RGB32);

        // The active view, Front, carries the accent frame: find it.
        QRect front;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == qRgb(60, 140, 240))
                    front |= QRect(x, y, 1, 1);
        QVERIFY2(front.width() > 200 && front.height() > 150,
                 qPrintable(
                     QStringLiteral("accent frame %1x%2").arg(front.width()).arg(front.height())));
        // The window sits at (50, 50); Front is the bottom-left quarter of its view area.
        QVERIFY(front.left() >= 50 && front.left() < 60);
        QVERIFY(front.top() > 250);

        const int dx = front.width() + 3;
        const int dy = front.height() + 3;
        const QRect inner = front.adjusted(4, 4, -4, -4);
        const struct
        {
            const char* name;
            QRect rect;
        } quarters[] = {{"front", inner},
                        {"side", inner.translated(dx, 0)},
                        {"top", inner.translated(0, -dy)},
                        {"perspective", inner.translated(dx, -dy)}};
        for (const auto& q : quarters) {
            const Counts c = count(image, q.rect);
            QVERIFY2(c.black > c.total / 2, q.name);
            // The first frame of the demo, a turning cube in colour, shows in every view.
            QVERIFY2(
                c.coloured > 150,
                qPrintable(QStringLiteral("%1: %2 coloured pixels").arg(q.name).arg(c.coloured)));
        }
        // The other views' frames are grey, not the accent colour.
        const QRgb sideFrame = image.pixel(front.right() + 3 + 1, front.center().y());
        QVERIFY(qRed(sideFrame) == qGreen(sideFrame) && qGreen(sideFrame) == qBlue(sideFrame));
        QVERIFY(qRed(sideFrame) > 0);
    }
};

QTEST_GUILESS_MAIN(TestSmoke)
#include "tst_smoke.moc"
