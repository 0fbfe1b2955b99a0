#pragma once

#include <QWidget>

class QCloseEvent;
class QModelIndex;
class QStandardItemModel;
class QTableView;

// A separate window listing what the readers found: one row per frame or palette section.
class InfoWindow : public QWidget
{
    Q_OBJECT

public:
    InfoWindow();
    ~InfoWindow() override;

    void ClearInfo();
    void AppendInfo(const QString& format, const QString& name, const QString& company,
                    unsigned short records, const QString& projector);
    void setSelection(int row);

    // Read access for the main window and the command-line inspector.
    QStandardItemModel* model() const { return m_model; }
    QTableView* tableView() const { return m_tableView; }

signals:
    void selectionChanged(int row);
    void widgetClosed();

private slots:
    void currentRowChanged(const QModelIndex& current, const QModelIndex& previous);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QStandardItemModel* m_model = nullptr;
    QTableView* m_tableView = nullptr;
    bool m_emitSelection = true;
};
