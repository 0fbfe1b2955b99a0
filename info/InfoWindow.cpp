// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/InfoWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QVBoxLayout>

InfoWindow::InfoWindow()
{
    setGeometry(50, 50, 600, 500);
    setMinimumSize(200, 100);

    m_model = new InfoModel(this);
    m_tableView = new QTableView;
    m_tableView->setModel(m_model);
    m_tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableView->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tableView->horizontalHeader()->setHighlightSections(false);

    ClearInfo();

    auto* layout = new QVBoxLayout;
    layout->addWidget(m_tableView);
    setLayout(layout);

    if (QItemSelectionModel* selection = m_tableView->selectionModel())
        connect(selection, &QItemSelectionModel::currentRowChanged, this,
                &InfoWindow::currentRowChanged);
}

InfoWindow::~InfoWindow() = default;

void InfoWindow::ClearInfo()
{
    // Fresh lists give a large file's memory back; clear() would keep it.
    m_frameOfRow = QVector<int>();
    m_rowOfFrame = QVector<int>();
    m_model->reset({tr("Format"), tr("Name"), tr("Company"), tr("Records"), tr("Projector")});
}

void InfoWindow::AppendInfo(const QString& format, const QString& name, const QString& company,
                            unsigned short records, const QString& projector, bool hasFrame)
{
    AppendInfo(InfoModel::Row{format, name, company, projector, records}, hasFrame);
}

void InfoWindow::AppendInfo(const InfoModel::Row& row, bool hasFrame)
{
    if (hasFrame) {
        m_frameOfRow.append(m_rowOfFrame.size());
        m_rowOfFrame.append(m_model->rowCount());
    } else {
        m_frameOfRow.append(-1);
    }
    m_model->append(row);
}

int InfoWindow::rowOfFrame(int frame) const
{
    return frame >= 0 && frame < m_rowOfFrame.size() ? m_rowOfFrame.at(frame) : -1;
}

int InfoWindow::frameOfRow(int row) const
{
    return row >= 0 && row < m_frameOfRow.size() ? m_frameOfRow.at(row) : -1;
}

void InfoWindow::setSelection(int frame)
{
    const int row = rowOfFrame(frame);
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_emitSelection = false;
    m_tableView->selectRow(row);
    m_emitSelection = true;
}

void InfoWindow::currentRowChanged(const QModelIndex& current, const QModelIndex& /*previous*/)
{
    if (!m_emitSelection || current.row() < 0 || current.row() >= m_model->rowCount())
        return;
    const int frame = frameOfRow(current.row());
    if (frame >= 0)
        emit selectionChanged(frame);
}

void InfoWindow::closeEvent(QCloseEvent* event)
{
    emit widgetClosed();
    event->accept();
}

void InfoWindow::showRaised()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}
