// The information window: its table, its model and how it reports the user's choices.
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
    // Rows named N0, N1, ...; the rows listed in `palettes` show no frame.
    static void fill(InfoWindow& info, int rows, const QVector<int>& palettes = {})
    {
        for (int r = 0; r < rows; ++r)
            info.AppendInfo(QStringLiteral("F"), QStringLiteral("N%1").arg(r), QStringLiteral("C"),
                            static_cast<unsigned short>(r), QStringLiteral("0"),
                            !palettes.contains(r));
    }
    static QStringList row(const InfoWindow& info, int r)
    {
        QStringList cells;
        for (int c = 0; c < info.model()->columnCount(); ++c)
            cells << info.model()->index(r, c).data().toString();
        return cells;
    }
    static void show(InfoWindow& info)
    {
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
    }
    static void click(InfoWindow& info, int row, bool twice = false)
    {
        QTableView* view = info.tableView();
        const QPoint at = view->visualRect(info.model()->index(row, 1)).center();
        if (twice)
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        else
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
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
        QCOMPARE(row(info, 0), (QStringList{" fmt ", "name", "", "65535", "7"}));
        QCOMPARE(row(info, 1), (QStringList{"f", "", "co", "0", ""}));

        // Clearing keeps the headers and reports no row.
        info.setSelection(1);
        QSignalSpy spy(&info, &InfoWindow::selectionChanged);
        info.ClearInfo();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(info.model()->rowCount(), 0);
        QStringList headers;
        for (int c = 0; c < info.model()->columnCount(); ++c)
            headers << info.model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, (QStringList{"Format", "Name", "Company", "Records", "Projector"}));
        fill(info, 3);
        QCOMPARE(info.model()->rowCount(), 3);
    }

    void setSelectionIsSilent()
    {
        InfoWindow info;
        fill(info, 5);
        QSignalSpy spy(&info, &InfoWindow::selectionChanged);
        // Each call and the row selected after it: -1 and the row count change nothing.
        for (const auto& [frame, selected] :
             QVector<QPair<int, int>>{{2, 2}, {0, 0}, {-1, 0}, {5, 0}}) {
            info.setSelection(frame);
            QCOMPARE(info.tableView()->currentIndex().row(), selected);
            const QModelIndexList rows = info.tableView()->selectionModel()->selectedRows();
            QCOMPARE(rows.size(), 1);
            QCOMPARE(rows.first().row(), selected);
        }
        QCOMPARE(spy.count(), 0);
    }

    void userActions()
    {
        InfoWindow info;
        fill(info, 6);
        show(info);
        info.setSelection(2);
        QSignalSpy spy(&info, &InfoWindow::selectionChanged);
        click(info, 2); // already current
        click(info, 3);
        info.tableView()->setFocus();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
            QTest::keyClick(info.tableView(), key);
        QList<int> reported;
        for (const QList<QVariant>& signal : spy)
            reported << signal.first().toInt();
        QCOMPARE(reported, (QList<int>{3, 4, 5, 4}));

        click(info, 1, true);
        QVERIFY(!info.tableView()->viewport()->findChild<QLineEdit*>()); // no editing

        // The close button only hides the window.
        QSignalSpy closed(&info, &InfoWindow::widgetClosed);
        QVERIFY(info.close());
        QCOMPARE(closed.count(), 1);
        QVERIFY(!info.isVisible());
        QCOMPARE(info.model()->rowCount(), 6);
    }

    void rowsWithoutFrames()
    {
        // Frame 0, a palette, frames 1 and 2, another palette, frame 3.
        InfoWindow info;
        fill(info, 6, {1, 4});
        QCOMPARE(info.frameOfRow(1), -1);
        QCOMPARE(info.frameOfRow(3), 2);
        QCOMPARE(info.rowOfFrame(3), 5);
        QCOMPARE(info.rowOfFrame(4), -1);

        show(info);
        QSignalSpy spy(&info, &InfoWindow::selectionChanged);
        info.setSelection(1);
        QCOMPARE(info.tableView()->currentIndex().row(), 2);
        info.setSelection(4); // no such frame
        QCOMPARE(info.tableView()->currentIndex().row(), 2);
        click(info, 4); // a palette row shows no frame
        click(info, 5);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toInt(), 3);

        info.ClearInfo();
        QCOMPARE(info.rowOfFrame(0), -1);
        fill(info, 1);
        QCOMPARE(info.rowOfFrame(0), 0);
    }
};

QTEST_MAIN(TestInfoWindow)
#include "tst_infowindow.moc"
