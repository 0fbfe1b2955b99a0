// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/Finding.h"

#include <QAbstractTableModel>
#include <QVector>

#include <memory>

class QThread;

// The conformance findings of one file, one row each in file order, gathered on a thread of
// their own so that a big file keeps the window responsive.
class ProblemsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { SeverityColumn, CodeColumn, OffsetColumn, FrameColumn, TextColumn, Columns };
    // A hostile file can hold millions of findings; the rest are only counted.
    static constexpr int MaxFindings = 10000;

    explicit ProblemsModel(QObject* parent = nullptr);
    ~ProblemsModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Empties the list and checks fileName; finished() follows. A check still running is
    // cancelled first.
    void check(const QString& fileName);
    void cancel();
    bool isRunning() const;
    // How far the running check is, from 0 to its size (both in bytes).
    qint64 done() const;
    qint64 size() const;
    QString fileName() const { return m_fileName; }
    const Finding& finding(int row) const { return m_findings.at(row); }
    // Findings past MaxFindings.
    qint64 notListed() const { return m_notListed; }

signals:
    // The rows are in place; cancelled when the user stopped the check (no rows then).
    void finished(bool cancelled);

private:
    struct Run;
    void finish(const std::shared_ptr<Run>& run);
    void stop();

    QString m_fileName;
    QVector<Finding> m_findings;
    qint64 m_notListed = 0;
    std::shared_ptr<Run> m_run;
    QThread* m_thread = nullptr;
};
