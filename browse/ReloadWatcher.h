// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QVector>

class QFileSystemWatcher;
class QTimer;

// Watches the open file (and the pictures an animation names) and says once when they have
// changed on disk and then stayed quiet for a while, so that a file being written is reloaded
// once, after its last write.
class ReloadWatcher : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultQuiet = 400; // milliseconds

    explicit ReloadWatcher(QObject* parent = nullptr);
    ~ReloadWatcher() override;

    // Replaces the watched files; an empty list stops watching.
    void setFiles(const QStringList& files);
    QStringList files() const { return m_files; }
    void setQuietTime(int milliseconds);

signals:
    // The files differ from when they were last set or reported, and have been quiet since.
    void changed();

private:
    struct State
    {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        bool operator==(const State& other) const
        {
            return exists == other.exists && size == other.size && modified == other.modified;
        }
    };
    QVector<State> states() const;
    void touched();
    void quiet();
    void rewatch();

    QFileSystemWatcher* m_watcher;
    QTimer* m_quiet;
    QStringList m_files;
    QVector<State> m_reported;
};
