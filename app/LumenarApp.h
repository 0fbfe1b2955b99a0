// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

// Turns the desktop's open-document requests into a signal.
class LumenarApp : public QApplication
{
    Q_OBJECT

public:
    LumenarApp(int& argc, char** argv);
    ~LumenarApp() override;

    bool event(QEvent* e) override;

signals:
    void openFile(const QString& file);
};
