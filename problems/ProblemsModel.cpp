// SPDX-License-Identifier: GPL-3.0-or-later
#include "problems/ProblemsModel.h"

#include "check/Conformance.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMutex>
#include <QThread>

#include <atomic>

// What the check thread shares with the model; it outlives a model destroyed mid-check.
struct ProblemsModel::Run
{
    std::atomic<bool> cancelled{false};
    std::atomic<qint64> done{0};
    qint64 size = 0;
    QMutex mutex;
    QVector<Finding> findings;
    qint64 notListed = 0;
};

ProblemsModel::ProblemsModel(QObject* parent) : QAbstractTableModel(parent) {}

ProblemsModel::~ProblemsModel()
{
    stop();
}

int ProblemsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_findings.size();
}

int ProblemsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant ProblemsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_findings.size())
        return QVariant();
    const Finding& f = m_findings.at(index.row());
    if (role == Qt::TextAlignmentRole &&
        (index.column() == OffsetColumn || index.column() == FrameColumn))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case SeverityColumn:
        return f.severity == Finding::Error ? tr("error") : tr("warning");
    case CodeColumn:
        return f.code;
    case OffsetColumn:
        return f.offset;
    case FrameColumn:
        return f.frame >= 0 ? QVariant(f.frame) : QVariant();
    default:
        return f.text;
    }
}

QVariant ProblemsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    const QString titles[Columns] = {tr("Severity"), tr("Code"), tr("Offset"), tr("Frame"),
                                     tr("Text")};
    return section >= 0 && section < Columns ? titles[section] : QVariant();
}

void ProblemsModel::check(const QString& fileName)
{
    stop();
    beginResetModel();
    m_findings.clear();
    m_notListed = 0;
    endResetModel();
    m_fileName = fileName;

    auto run = std::make_shared<Run>();
    run->size = qMax<qint64>(0, QFileInfo(fileName).size());
    m_run = run;
    const auto progress = [run](qint64 done) {
        if (done >= 0)
            run->done = qMin(done, run->size);
        return !run->cancelled;
    };
    // A controller reader fills an information window, which lives on the GUI thread; the
    // check thread waits for it there.
    const Conformance::Load load = [this, progress](const QString& name) {
        QString message;
        QMetaObject::invokeMethod(
            this, [&] { message = Conformance::loadPrivately(name, progress); },
            Qt::BlockingQueuedConnection);
        return message;
    };
    m_thread = QThread::create([run, fileName, progress, load] {
        Conformance::check(
            fileName,
            [run](const Finding& finding) {
                QMutexLocker lock(&run->mutex);
                if (run->findings.size() < MaxFindings)
                    run->findings.append(finding);
                else
                    ++run->notListed;
            },
            nullptr, progress, load);
    });
    connect(m_thread, &QThread::finished, this, [this, run] { finish(run); });
    m_thread->start();
}

void ProblemsModel::cancel()
{
    if (m_run)
        m_run->cancelled = true;
}

bool ProblemsModel::isRunning() const
{
    return m_thread != nullptr;
}

qint64 ProblemsModel::done() const
{
    return m_run ? m_run->done.load() : 0;
}

qint64 ProblemsModel::size() const
{
    return m_run ? m_run->size : 0;
}

void ProblemsModel::finish(const std::shared_ptr<Run>& run)
{
    if (run != m_run)
        return;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    const bool cancelled = run->cancelled;
    if (!cancelled) {
        beginResetModel();
        QMutexLocker lock(&run->mutex);
        m_findings = run->findings;
        m_notListed = run->notListed;
        endResetModel();
    }
    emit finished(cancelled);
}

void ProblemsModel::stop()
{
    if (!m_thread)
        return;
    m_run->cancelled = true;
    // The thread may be waiting for this object to load a controller file: drop that call
    // (which releases it) until the thread has ended.
    while (!m_thread->wait(5))
        QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    m_thread->disconnect(this);
    delete m_thread;
    m_thread = nullptr;
    m_run.reset();
}
