// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LoadProgress.h"

#include "model/IldaFrames.h"

#include <QFileInfo>
#include <QProgressDialog>

namespace {
// Events are handled this often while the dialog is up: often enough to feel immediate, rarely
// enough to cost the reader nothing.
constexpr qint64 EventInterval = 50;
constexpr int Steps = 1000;
} // namespace

LoadProgress::LoadProgress(QWidget* parent, const QString& fileName, const Clock& clock)
    : m_parent(parent), m_fileName(QFileInfo(fileName).fileName()),
      m_size(QFileInfo(fileName).size()), m_clock(clock)
{
    m_timer.start();
}

LoadProgress::~LoadProgress()
{
    delete m_dialog;
}

bool LoadProgress::update(qint64 bytesRead)
{
    if (bytesRead == IldaFrames::LoadEnded) {
        if (m_dialog)
            m_dialog->hide();
        return true;
    }
    const qint64 now = m_clock ? m_clock() : m_timer.elapsed();
    if (now < DialogDelay || (m_dialog && now - m_lastEvents < EventInterval))
        return !(m_dialog && m_dialog->wasCanceled());
    m_lastEvents = now;
    if (!m_dialog) {
        m_dialog = new QProgressDialog(m_parent);
        m_dialog->setWindowTitle(QStringLiteral("Lumenar"));
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->setRange(0, Steps);
        m_dialog->show();
    }
    m_dialog->setLabelText(tr("Loading %1\n%L2 bytes read").arg(m_fileName).arg(bytesRead));
    if (m_size > 0)
        m_dialog->setValue(int(qMin<qint64>(Steps, bytesRead * Steps / m_size)));
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}
