#pragma once

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

    QAction* getAction(int index) const { return m_actions[index]; }
    // Moves an opened file to the front (listed once), keeps Count and updates the entries.
    void add(const QString& fileName);
    // Shows the stored list in the entries.
    void updateActions() const;

private:
    QAction* m_actions[Count] = {};
};
