// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <functional>

class QProgressDialog;
class QWidget;

// The way out of a long load: after half a second a progress dialog with Cancel appears, and
// the window's events keep being handled while the reader works on the GUI thread.
class LoadProgress
{
    Q_DECLARE_TR_FUNCTIONS(LoadProgress)

public:
    // Milliseconds since the load began; tests pass their own to make a load seem slow.
    using Clock = std::function<qint64()>;
    static constexpr qint64 DialogDelay = 500;

    LoadProgress(QWidget* parent, const QString& fileName, const Clock& clock = Clock());
    ~LoadProgress();
    LoadProgress(const LoadProgress&) = delete;
    LoadProgress& operator=(const LoadProgress&) = delete;

    // The store's progress call: false once the user has cancelled.
    bool update(qint64 bytesRead);

private:
    QWidget* m_parent;
    QString m_fileName;
    qint64 m_size;
    Clock m_clock;
    QElapsedTimer m_timer;
    qint64 m_lastEvents = 0;
    QProgressDialog* m_dialog = nullptr;
};
