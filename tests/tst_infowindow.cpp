#include "info/InfoWindow.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

class TestInfoWindow : public QObject
{
    Q_OBJECT

private:
    static void fill(InfoWindow& info, int rows)
    {
        for (int r = 0; r < rows; ++r)
            info.AppendInfo(QStringLiteral("F%1").arg(r), QStringLiteral("N%1").arg(r),
                            QStringLiteral("C"), static_cast<unsigned short>(r * 10),
                            QStringLiteral("%1").arg(r % 3));
    }
    static QPoint cellCentre(InfoWindow& info, int row)
    {
        QTableView* view = info.tableView();
        return view->visualRect(info.model()->index(row, 1)).center();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void construction()
    {
        InfoWindow info;
        QCOMPARE(info.geometry(), QRect(50, 50, 600, 500));
        QCOMPARE(info.minimumSize(), QSize(200, 100));
        QVERIFY(!info.isVisible());
        QCOMPARE(info.model()->rowCount(), 0);
        QCOMPARE(info.model()->columnCount(), 5);
        const QStringList headers{"Format", "Name", "Company", "Records", "Projector"};
        for (int c = 0; c < 5; ++c)
            QCOMPARE(info.model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        QTableView* view = info.tableView();
        QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(view->horizontalHeader()->sectionResizeMode(0), QHeaderView::ResizeToContents);
        QVERIFY(!view->horizontalHeader()->highlightSections());
    }

    void appendAndClear()
    {
        InfoWindow info;
        QAbstractItemModelTester tester(info.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        info.AppendInfo(QStringLiteral(" fmt "), QStringLiteral("name"), QString(), 65535,
                        QStringLiteral("7"));
        info.AppendInfo(QStringLiteral("f"), QString(), QStringLiteral("co"), 0, QString());
        QCOMPARE(info.model()->rowCount(), 2);
        QCOMPARE(info.model()->index(0, 0).data().toString(), QStringLiteral(" fmt "));
        QCOMPARE(info.model()->index(0, 3).data().toString(), QStringLiteral("65535"));
        QCOMPARE(info.model()->index(0, 4).data().toString(), QStringLiteral("7"));
        QCOMPARE(info.model()->index(1, 2).data().toString(), QStringLiteral("co"));
        QCOMPARE(info.model()->index(1, 3).data().toString(), QStringLiteral("0"));

        info.ClearInfo();
        QCOMPARE(info.model()->rowCount(), 0);
        QCOMPARE(info.model()->columnCount(), 5);
        QCOMPARE(info.model()->headerData(4, Qt::Horizontal).toString(),
                 QStringLiteral("Projector"));
        fill(info, 3);
        QCOMPARE(info.model()->rowCount(), 3);
    }

    void setSelectionIsSilent_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("selected");
        QTest::newRow("row 2") << 2 << 2;
        QTest::newRow("row 0") << 0 << 0;
        QTest::newRow("-1 ignored") << -1 << 1;
        QTest::newRow("row count ignored") << 5 << 1;
    }

    void setSelectionIsSilent()
    {
        QFETCH(int, row);
        QFETCH(int, selected);
        InfoWindow info;
        fill(info, 5);
        info.setSelection(1);
        QSignalSpy spy(&info, &InfoWindow::selectionChanged);
        info.setSelection(row);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(info.tableView()->currentIndex().row(), selected);
        const QModelIndexList rows = info.tableView()->selectionModel()->selectedRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().row(), selected);
    }

    void userChoicesAreReported()
    {
        InfoWindow info;
        fill(info, 6);
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        info.setSelection(2);
        QSignalSpy spy(&info, &InfoWindow::selectionChanged);
        QWidget* viewport = info.tableView()->viewport();

        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, cellCentre(info, 2));
        QCOMPARE(spy.count(), 0); // already current
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, cellCentre(info, 3));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().at(0).toInt(), 3);

        info.tableView()->setFocus();
        QTest::keyClick(info.tableView(), Qt::Key_Down);
        QTest::keyClick(info.tableView(), Qt::Key_Down);
        QTest::keyClick(info.tableView(), Qt::Key_Up);
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy.at(0).at(0).toInt(), 4);
        QCOMPARE(spy.at(1).at(0).toInt(), 5);
        QCOMPARE(spy.at(2).at(0).toInt(), 4);

        // No editing, not even by double-click.
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, cellCentre(info, 1));
        QVERIFY(!info.tableView()->viewport()->findChild<QLineEdit*>());
        QCOMPARE(info.model()->index(1, 1).data().toString(), QStringLiteral("N1"));
    }

    void clearingDoesNotReportARow()
    {
        InfoWindow info;
        fill(info, 3);
        info.setSelection(1);
        QSignalSpy spy(&info, &InfoWindow::selectionChanged);
        info.ClearInfo();
        QCOMPARE(spy.count(), 0);
    }

    void rowsWithoutFrames()
    {
        // Frame 0, a palette, frames 1 and 2, another palette, frame 3.
        InfoWindow info;
        const QVector<bool> hasFrame{true, false, true, true, false, true};
        for (bool framed : hasFrame)
            info.AppendInfo(QStringLiteral("f"), QString(), QString(), 1, QString(), framed);
        QCOMPARE(info.frameOfRow(1), -1);
        QCOMPARE(info.frameOfRow(3), 2);
        QCOMPARE(info.rowOfFrame(3), 5);
        QCOMPARE(info.rowOfFrame(4), -1);

        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        QSignalSpy spy(&info, &InfoWindow::selectionChanged);
        info.setSelection(1);
        QCOMPARE(info.tableView()->currentIndex().row(), 2);
        info.setSelection(4); // no such frame
        QCOMPARE(info.tableView()->currentIndex().row(), 2);
        QCOMPARE(spy.count(), 0);

        QWidget* viewport = info.tableView()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, cellCentre(info, 4));
        QCOMPARE(spy.count(), 0); // a palette row shows no frame
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, cellCentre(info, 5));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().at(0).toInt(), 3);

        info.ClearInfo();
        QCOMPARE(info.rowOfFrame(0), -1);
        info.AppendInfo(QStringLiteral("f"), QString(), QString(), 1, QString());
        QCOMPARE(info.rowOfFrame(0), 0);
    }

    void closeButton()
    {
        InfoWindow info;
        fill(info, 2);
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        QSignalSpy spy(&info, &InfoWindow::widgetClosed);
        QVERIFY(info.close());
        QCOMPARE(spy.count(), 1);
        QVERIFY(!info.isVisible());
        QCOMPARE(info.model()->rowCount(), 2); // closing only hides
    }
};

QTEST_MAIN(TestInfoWindow)
#include "tst_infowindow.moc"
