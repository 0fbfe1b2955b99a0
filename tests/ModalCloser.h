#pragma once

// Closes every modal box that opens while it lives, and remembers what the boxes said, so that
// a test never waits on a dialog.

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

class ModalCloser : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QSize pixmapSize;
    };
    QList<Box> boxes;

    ModalCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                const auto* box = qobject_cast<QMessageBox*>(modal);
                boxes.append({modal->windowTitle(), box ? box->text() : QString(),
                              box ? box->icon() : QMessageBox::NoIcon,
                              box ? box->iconPixmap().size() : QSize()});
                modal->close();
            }
        });
        m_timer.start(5);
    }

    // "title: text" of every box so far.
    QStringList seen() const
    {
        QStringList all;
        for (const Box& box : boxes)
            all << box.title + QStringLiteral(": ") + box.text;
        return all;
    }

private:
    QTimer m_timer;
};
