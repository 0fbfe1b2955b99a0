// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LumenarApp.h"

#include <QFileOpenEvent>

LumenarApp::LumenarApp(int& argc, char** argv) : QApplication(argc, argv) {}

LumenarApp::~LumenarApp() = default;

bool LumenarApp::event(QEvent* e)
{
    if (e && e->type() == QEvent::FileOpen)
        emit openFile(static_cast<QFileOpenEvent*>(e)->file());
    return QApplication::event(e);
}
