// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/ReloadWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

ReloadWatcher::ReloadWatcher(QObject* parent)
    : QObject(parent), m_watcher(new QFileSystemWatcher(this)), m_quiet(new QTimer(this))
{
    m_quiet->setSingleShot(true);
    m_quiet->setInterval(DefaultQuiet);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &ReloadWatcher::touched);
    // A file replaced by renaming another over it only shows in its folder.
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &ReloadWatcher::touched);
    connect(m_quiet, &QTimer::timeout, this, &ReloadWatcher::quiet);
}

ReloadWatcher::~ReloadWatcher() = default;

void ReloadWatcher::setFiles(const QStringList& files)
{
    m_quiet->stop();
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    m_files = files;
    m_reported = states();
    rewatch();
}

void ReloadWatcher::setQuietTime(int milliseconds)
{
    m_quiet->setInterval(milliseconds);
}

QVector<ReloadWatcher::State> ReloadWatcher::states() const
{
    QVector<State> all;
    for (const QString& file : m_files) {
        const QFileInfo info(file);
        all.append({info.exists(), info.size(), info.lastModified()});
    }
    return all;
}

void ReloadWatcher::touched()
{
    // Every sign of life starts the quiet time again: a write in steps is reported once.
    m_quiet->start();
    rewatch();
}

void ReloadWatcher::quiet()
{
    rewatch();
    const QVector<State> now = states();
    if (now == m_reported)
        return; // another file of the folder changed
    m_reported = now;
    emit changed();
}

void ReloadWatcher::rewatch()
{
    // The watcher forgets a file that was removed or replaced; a new one of the name is taken up.
    QStringList missing;
    for (const QString& file : m_files) {
        if (QFileInfo::exists(file) && !m_watcher->files().contains(file))
            missing << file;
        const QString folder = QFileInfo(file).absolutePath();
        if (!m_watcher->directories().contains(folder) && !missing.contains(folder))
            missing << folder;
    }
    if (!missing.isEmpty())
        m_watcher->addPaths(missing);
}
