// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/LaserControl.h"

#include "model/IldaFrames.h"
#include "output/LaserOutput.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace {

// Long enough to read, short enough not to hide the next message for good.
constexpr int MessageMs = 10000;

} // namespace

LaserControl::LaserControl(QMainWindow* window)
    : QObject(window), m_window(window),
      m_settingsAction(new QAction(tr("Output &Settings..."), window)),
      m_armAction(new QAction(tr("&Arm Output"), window)),
      m_blackoutAction(new QAction(tr("&Blackout"), window)), m_label(new QLabel(tr("LASER"))),
      m_message(new QLabel), m_messageTimer(new QTimer(this))
{
    m_armAction->setCheckable(true);
    // A single key, free everywhere in the window: no other command uses B alone.
    m_blackoutAction->setShortcut(QKeySequence(tr("B"), QKeySequence::NativeText));
    m_blackoutAction->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_settingsAction, &QAction::triggered, this, &LaserControl::showSettings);
    connect(m_armAction, &QAction::triggered, this, &LaserControl::armTriggered);
    connect(m_blackoutAction, &QAction::triggered, this, [this] { blackout(); });
    // The window's actions work from its menus; the blackout key must work with them closed too.
    window->addAction(m_blackoutAction);

    m_label->setStyleSheet(
        QStringLiteral("QLabel { color: white; background: #d00000; font-weight: bold; "
                       "padding: 0 6px; }"));
    m_label->setVisible(false);
    window->statusBar()->addPermanentWidget(m_label, 0);
    // The slider takes the status bar's message area: the laser's messages get a share of their
    // own, the larger while there is one (clipped, with the whole text as tooltip).
    m_message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_message->setVisible(false);
    window->statusBar()->addPermanentWidget(m_message, 3);
    m_messageTimer->setSingleShot(true);
    m_messageTimer->setInterval(MessageMs);
    connect(m_messageTimer, &QTimer::timeout, this, [this] {
        m_note.clear();
        updateMessage();
    });
}

LaserControl::~LaserControl()
{
    if (m_output)
        m_output->blackout();
}

QList<QAction*> LaserControl::getActions() const
{
    return {m_settingsAction, nullptr, m_armAction, m_blackoutAction};
}

void LaserControl::setSettings(const LaserSettings& settings)
{
    m_settings = settings;
    if (m_output) {
        m_output->setMapOptions(settings.options);
        m_output->setRate(settings.rate);
    }
}

void LaserControl::readSettings(const QSettings& settings)
{
    m_settings.read(settings);
}

void LaserControl::writeSettings(QSettings& settings) const
{
    m_settings.write(settings);
}

void LaserControl::frameShown(int frame)
{
    m_frame = frame;
    if (m_output)
        m_output->showFrame(globalIldaFrames.getFrame(frame));
}

void LaserControl::armTriggered(bool checked)
{
    if (!checked) {
        blackout();
        return;
    }
    if (m_settings.host.isEmpty())
        showSettings();
    if (m_settings.host.isEmpty() || !confirmArming()) {
        m_armAction->setChecked(false);
        return;
    }
    arm();
}

bool LaserControl::confirmArming()
{
    if (m_confirmed)
        return true;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Lumenar"),
                    tr("Arm laser output to %1?").arg(m_settings.target()),
                    QMessageBox::Yes | QMessageBox::Cancel, m_window);
    box.setInformativeText(
        tr("A class 3B or 4 laser can injure eyes and skin and set things alight. Arm only when "
           "the projection zone is safe: no person, animal, aircraft or reflecting surface in the "
           "beam's reach.\n\nThe blackout key %1 ends the output at any time.")
            .arg(m_blackoutAction->shortcut().toString(QKeySequence::NativeText)));
    box.button(QMessageBox::Yes)->setText(tr("The Zone Is &Safe: Arm"));
    box.setDefaultButton(QMessageBox::Cancel);
    m_confirmed = box.exec() == QMessageBox::Yes;
    return m_confirmed;
}

void LaserControl::arm()
{
    LaserOutput* output = LaserOutput::create(m_settings.protocol, this);
    m_output = output;
    output->setRate(m_settings.rate);
    output->setMapOptions(m_settings.options);
    output->showFrame(globalIldaFrames.getFrame(m_frame));
    connect(output, &LaserOutput::connected, this, &LaserControl::showMessage);
    // A lowered rate lasts as long as the output: its note stays.
    connect(output, &LaserOutput::notice, this, [this](const QString& message) {
        m_lastingNote = message;
        updateMessage();
    });
    connect(output, &LaserOutput::failed, this, &LaserControl::showMessage);
    connect(output, &LaserOutput::safetyChanged, this, [this](const QString& reason) {
        m_stillReason = reason;
        updateMessage();
    });
    connect(output, &LaserOutput::finished, this, [this, output] {
        if (m_output == output) {
            m_output = nullptr;
            setArmedLook(false);
        }
        output->deleteLater();
    });
    setArmedLook(true);
    output->open(m_settings.host, m_settings.port);
}

void LaserControl::blackout(bool wait)
{
    setArmedLook(false);
    LaserOutput* output = m_output;
    m_output = nullptr;
    if (!output)
        return;
    showMessage(tr("Laser output blacked out"));
    output->blackout();
    if (wait)
        output->waitForFinished(BlackoutWaitMs);
}

void LaserControl::showSettings()
{
    LaserSettingsDialog dialog(m_settings, m_window);
    if (dialog.exec() == QDialog::Accepted)
        setSettings(dialog.getSettings());
}

void LaserControl::showMessage(const QString& message)
{
    m_note = message;
    m_messageTimer->start();
    updateMessage();
}

void LaserControl::updateMessage()
{
    QStringList parts{m_stillReason, m_lastingNote, m_note};
    parts.removeAll(QString());
    m_message->setText(parts.join(QStringLiteral("; ")));
    m_message->setToolTip(m_message->text());
    m_message->setVisible(!parts.isEmpty());
}

void LaserControl::setArmedLook(bool armed)
{
    m_armAction->setChecked(armed);
    m_label->setVisible(armed);
    if (!armed) {
        m_stillReason.clear();
        m_lastingNote.clear();
        updateMessage();
    }
}
