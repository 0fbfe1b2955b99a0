// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the real viewer in a real X server on the demo show and looks at the screen.
#include "tools/DemoShow.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

class TestSmoke : public QObject
{
    Q_OBJECT

private slots:
    void demoShowInARealWindow()
    {
        for (const char* tool : {"Xvfb", "xwininfo", "xprop", "import"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is missing: make test installs it").arg(tool)));
        QTemporaryDir dir;
        const QStringList files = DemoShow::writeAll(dir.path());
        QVERIFY(!files.isEmpty());
        const QString shot = dir.filePath("shot.png");
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        env.insert("XDG_CONFIG_HOME", dir.filePath("config")); // never the user's settings
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start("sh", {SMOKE_SCRIPT, LUMENAR_BINARY, files.first(), shot});
        QVERIFY(run.waitForFinished(120000));
        QVERIFY2(run.exitCode() == 0, run.readAll().constData());
        const QImage image = QImage(shot).convertToFormat(QImage::Format_RGB32);

        // The active view, Front, carries the accent frame: the bottom-left quarter of the view
        // area of the window at (50, 50). Every view shows the demo's first frame, a turning
        // cube in colour, mostly on black.
        QRect front;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == qRgb(60, 140, 240))
                    front |= QRect(x, y, 1, 1);
        QVERIFY(front.width() > 200 && front.height() > 150 && front.left() >= 50 &&
                front.left() < 60 && front.top() > 250);
        for (const QPoint& step : {QPoint(0, 0), QPoint(1, 0), QPoint(0, -1), QPoint(1, -1)}) {
            const QRect rect =
                front.adjusted(4, 4, -4, -4)
                    .translated(step.x() * (front.width() + 3), step.y() * (front.height() + 3));
            int black = 0, coloured = 0;
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    const QColor p = image.pixelColor(x, y);
                    black += p.value() == 0;
                    coloured += p.value() - qMin(p.red(), qMin(p.green(), p.blue())) > 80;
                }
            QVERIFY(black > rect.width() * rect.height() / 2 && coloured > 150);
        }
    }
};

QTEST_GUILESS_MAIN(TestSmoke)
#include "tst_smoke.moc"
