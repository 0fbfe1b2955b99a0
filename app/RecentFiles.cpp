// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const char KeyRecentFiles[] = "RecentFiles";
}

RecentFiles::RecentFiles(QObject* parent) : QObject(parent)
{
    for (int i = 0; i < Count; ++i) {
        m_actions << new QAction(this);
        m_actions.last()->setVisible(false);
    }
}

void RecentFiles::add(const QString& fileName)
{
    QSettings settings;
    QStringList files = settings.value(KeyRecentFiles).toStringList();
    files.removeAll(fileName);
    files.removeAll(QDir::toNativeSeparators(fileName));
    files.prepend(fileName);
    while (files.size() > Count)
        files.removeLast();
    settings.setValue(KeyRecentFiles, files);
    updateActions();
}

void RecentFiles::updateActions() const
{
    const QStringList files = QSettings().value(KeyRecentFiles).toStringList();
    const int n = qMin(files.size(), int(Count));
    for (int i = 0; i < Count; ++i) {
        m_actions[i]->setVisible(i < n);
        if (i >= n)
            continue;
        // Escape ampersands so that "R&D.ild" is not shown as "RD.ild" with a mnemonic.
        QString name = QFileInfo(files[i]).fileName();
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        m_actions[i]->setText(tr("&%1 %2").arg(QString::number(i + 1), name));
        m_actions[i]->setData(files[i]);
    }
}
