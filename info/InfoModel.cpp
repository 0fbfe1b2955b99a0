// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/InfoModel.h"

namespace {
constexpr int ColumnCount = 5;
}

InfoModel::InfoModel(QObject* parent) : QAbstractTableModel(parent) {}

InfoModel::~InfoModel() = default;

int InfoModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int InfoModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant InfoModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= ColumnCount ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return getTexts(index.row()).at(index.column());
}

QStringList InfoModel::getTexts(int row) const
{
    const Row r = getRow(row);
    return {r.format, r.name, r.company, QString::number(r.records), r.projector};
}

QVariant InfoModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_headers.size())
        return m_headers.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void InfoModel::reset(const QStringList& headers)
{
    beginResetModel();
    // Assigning an empty list gives the memory of a large file back; clear() would keep it.
    m_rows = QVector<Row>();
    m_headers = headers;
    endResetModel();
}

void InfoModel::append(const Row& row)
{
    beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size());
    m_rows.append(row);
    endInsertRows();
}
