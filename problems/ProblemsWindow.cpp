// SPDX-License-Identifier: GPL-3.0-or-later
#include "problems/ProblemsWindow.h"

#include "app/LoadProgress.h"
#include "problems/ProblemsModel.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int Steps = 1000;
constexpr int PollInterval = 50;
} // namespace

ProblemsWindow::ProblemsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_model(new ProblemsModel(this)), m_table(new QTableView(this)),
      m_summary(new QLabel(this)), m_readable(new QPushButton(tr("Open Rea&dable Frames"), this)),
      m_progressTimer(new QTimer(this))
{
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_readable->setEnabled(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_summary, 1);
    bottom->addWidget(m_readable);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(bottom);
    resize(720, 320);

    connect(m_table, &QTableView::doubleClicked, this, &ProblemsWindow::activated);
    connect(m_readable, &QPushButton::clicked, this, &ProblemsWindow::openReadableRequested);
    connect(m_model, &ProblemsModel::finished, this, &ProblemsWindow::finished);
    m_progressTimer->setInterval(PollInterval);
    connect(m_progressTimer, &QTimer::timeout, this, &ProblemsWindow::showProgress);
}

ProblemsWindow::~ProblemsWindow() = default;

void ProblemsWindow::check(const QString& fileName, int loadedFrames)
{
    m_loadedFrames = loadedFrames;
    setWindowTitle(tr("Problems - %1").arg(QFileInfo(fileName).fileName()));
    m_summary->setText(tr("Checking..."));
    m_started = QDateTime::currentMSecsSinceEpoch();
    m_model->check(fileName);
    m_progressTimer->start();
}

void ProblemsWindow::setReadableEnabled(bool enabled)
{
    m_readable->setEnabled(enabled);
}

void ProblemsWindow::activated(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const int frame = m_model->finding(index.row()).frame;
    if (frame >= 0 && frame < m_loadedFrames)
        emit frameRequested(frame);
}

// The same way out as a load's: a dialog with Cancel once the check has taken half a second.
void ProblemsWindow::showProgress()
{
    if (QDateTime::currentMSecsSinceEpoch() - m_started < LoadProgress::DialogDelay)
        return;
    if (!m_progress) {
        m_progress = new QProgressDialog(this);
        m_progress->setWindowTitle(QStringLiteral("Lumenar"));
        m_progress->setAutoReset(false);
        m_progress->setAutoClose(false);
        m_progress->setMinimumDuration(0);
        m_progress->setRange(0, Steps);
        connect(m_progress, &QProgressDialog::canceled, m_model, &ProblemsModel::cancel);
    }
    m_progress->setLabelText(tr("Checking %1\n%L2 bytes read")
                                 .arg(QFileInfo(m_model->fileName()).fileName())
                                 .arg(m_model->done()));
    if (m_model->size() > 0)
        m_progress->setValue(int(m_model->done() * Steps / m_model->size()));
    m_progress->show();
}

void ProblemsWindow::finished(bool cancelled)
{
    m_progressTimer->stop();
    delete m_progress;
    m_progress = nullptr;
    if (cancelled) {
        m_summary->setText(tr("Check cancelled."));
        return;
    }
    int errors = 0;
    for (int row = 0; row < m_model->rowCount(); ++row)
        errors += m_model->finding(row).severity == Finding::Error;
    const int warnings = m_model->rowCount() - errors;
    QString summary =
        m_model->rowCount() == 0
            ? tr("No problems found.")
            : (errors == 1 ? tr("1 error") : tr("%L1 errors").arg(errors)) + QStringLiteral(", ") +
                  (warnings == 1 ? tr("1 warning") : tr("%L1 warnings").arg(warnings));
    if (m_model->notListed() > 0)
        summary += tr(", %L1 more not listed").arg(m_model->notListed());
    m_summary->setText(summary);
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
}
