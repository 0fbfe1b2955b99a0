// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class QAction;

// The File menu's list of recently opened files: kept in the settings under "RecentFiles", most
// recent first, with "/" separators, shown as numbered entries that carry their path.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int Count = 9;

    explicit RecentFiles(QObject* parent);

    // The numbered entries, parented to this object.
    QList<QAction*> getActions() const { return m_actions; }
    // Moves an opened file to the front (listed once), keeps Count and updates the entries.
    void add(const QString& fileName);
    // Shows the stored list in the entries.
    void updateActions() const;

private:
    QList<QAction*> m_actions;
};
