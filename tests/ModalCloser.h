#pragma once

// Closes every modal box that opens while it lives, and remembers what the boxes said, so that
// a test never waits on a dialog.

#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

class ModalCloser : public QObject
{
public:
    ModalCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                m_titles << box->windowTitle();
                m_texts << box->text();
                m_icons << box->iconPixmap().size();
            } else {
                m_titles << modal->windowTitle();
                m_texts << QString();
                m_icons << QSize();
            }
            modal->close();
        });
        m_timer.start(5);
    }

    QStringList titles() const { return m_titles; }
    QStringList texts() const { return m_texts; }
    QList<QSize> iconSizes() const { return m_icons; }

private:
    QTimer m_timer;
    QStringList m_titles;
    QStringList m_texts;
    QList<QSize> m_icons;
};
