// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/LaserSettingsDialog.h"

#include <QObject>

class LaserOutput;
class QAction;
class QLabel;
class QMainWindow;
class QSettings;
class QTimer;

// The window's laser output: the Laser menu's actions, the settings dialog, the output while
// armed and the red label that says so. The window tells it which frame is current; the beam
// shows that frame from the store, whatever the views' pan, zoom and rotation.
class LaserControl : public QObject
{
    Q_OBJECT
public:
    // How long closing, loading and quitting wait for the blanked end to leave.
    static constexpr int BlackoutWaitMs = 1500;

    explicit LaserControl(QMainWindow* window);
    ~LaserControl() override;

    // Output Settings, Arm Output and Blackout, a null entry for a separator.
    QList<QAction*> getActions() const;
    QAction* getArmAction() const { return m_armAction; }
    QAction* getBlackoutAction() const { return m_blackoutAction; }
    bool isArmed() const { return m_output != nullptr; }
    const LaserSettings& getSettings() const { return m_settings; }
    void setSettings(const LaserSettings& settings);
    void readSettings(const QSettings& settings);
    void writeSettings(QSettings& settings) const;

    // The frame the window shows now.
    void frameShown(int frame);
    // Blanked points at the last position, then the stream's proper end; disarms. With `wait`
    // the event loop runs until that end has been sent (closing, loading, quitting).
    void blackout(bool wait = false);

private:
    void armTriggered(bool checked);
    bool confirmArming();
    void arm();
    void showSettings();
    // A passing message (connected, the rate lowered, an error) for a while.
    void showMessage(const QString& message);
    // The passing message and why the beam is blanked, beside the LASER label.
    void updateMessage();
    void setArmedLook(bool armed);

    QMainWindow* m_window;
    QAction* m_settingsAction;
    QAction* m_armAction;
    QAction* m_blackoutAction;
    QLabel* m_label;
    QLabel* m_message;
    QTimer* m_messageTimer;
    QString m_note;
    QString m_stillReason;
    QString m_lastingNote;
    LaserSettings m_settings;
    LaserOutput* m_output = nullptr;
    // Arming asks once per run of the program.
    bool m_confirmed = false;
    int m_frame = 0;

    friend class TestOutput;
};
