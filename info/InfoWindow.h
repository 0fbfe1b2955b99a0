// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "info/InfoModel.h"

#include <QWidget>

class QCloseEvent;
class QModelIndex;
class QTableView;

// A separate window listing what the readers found: one row per frame or palette section.
class InfoWindow : public QWidget
{
    Q_OBJECT

public:
    InfoWindow();
    ~InfoWindow() override;

    void ClearInfo();
    // Rows of palette sections pass hasFrame = false: they list a section but show no frame.
    void AppendInfo(const QString& format, const QString& name, const QString& company,
                    unsigned short records, const QString& projector, bool hasFrame = true);
    void AppendInfo(const InfoModel::Row& row, bool hasFrame = true);
    // Selects the row of the given frame without reporting it.
    void setSelection(int frame);

    // Shows the window, restored when minimised, in front and active.
    void showRaised();

    int rowOfFrame(int frame) const;
    int frameOfRow(int row) const;

    // Read access for the main window and the command-line inspector.
    InfoModel* model() const { return m_model; }
    QTableView* tableView() const { return m_tableView; }

signals:
    // The user made the row of this frame current; rows without a frame report nothing.
    void selectionChanged(int frame);
    void widgetClosed();

private slots:
    void currentRowChanged(const QModelIndex& current, const QModelIndex& previous);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    InfoModel* m_model = nullptr;
    QTableView* m_tableView = nullptr;
    bool m_emitSelection = true;
    QVector<int> m_frameOfRow; // -1 for a row without a frame
    QVector<int> m_rowOfFrame;
};
