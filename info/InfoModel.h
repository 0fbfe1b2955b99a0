// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

// The rows of the information window, one small value each: a row repeated by an animation
// shares its texts with the first and costs little more than its place in the list.
class InfoModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Row
    {
        QString format;
        QString name;
        QString company;
        QString projector;
        quint16 records = 0;
    };

    explicit InfoModel(QObject* parent = nullptr);
    ~InfoModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // A loaded row for the tools that read what a file held; an empty row outside the table.
    Row getRow(int row) const { return m_rows.value(row); }
    // The row's texts in column order, as the table shows them.
    QStringList getTexts(int row) const;

    // Removes every row and sets the column headers.
    void reset(const QStringList& headers);
    void append(const Row& row);

private:
    QStringList m_headers;
    QVector<Row> m_rows;
};
