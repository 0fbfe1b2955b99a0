// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/LaserOutput.h"

#include <QDialog>

class DacDiscovery;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QSettings;
class QSpinBox;
struct DacInfo;

// Which DAC the window's output goes to, and how the picture is mapped onto it.
struct LaserSettings
{
    LaserOutput::Protocol protocol = LaserOutput::EtherDream;
    QString host; // empty: no DAC chosen yet
    quint16 port = 0;
    int rate = LaserOutput::DefaultRate;
    MapOptions options;

    void read(const QSettings& settings);
    void write(QSettings& settings) const;
    // "etherdream:HOST:PORT", or empty without a host.
    QString target() const;
};

// Lists the DACs heard on the network (only discovery is sent) and takes an address typed by
// hand, the scan rate, the scale and the flips.
class LaserSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    LaserSettingsDialog(const LaserSettings& settings, QWidget* parent);
    LaserSettings getSettings() const;

protected:
    // The network is asked only while the user sees the list.
    void showEvent(QShowEvent* event) override;

private:
    void addDac(const DacInfo& dac);
    void dacChosen();
    // The address as typed; false when it is not a host with an optional port.
    bool parseAddress(LaserSettings& settings) const;

    DacDiscovery* m_discovery;
    QListWidget* m_dacs;
    QComboBox* m_protocol;
    QLineEdit* m_address;
    QSpinBox* m_rate;
    QSpinBox* m_scale;
    QCheckBox* m_flipX;
    QCheckBox* m_flipY;
    QDialogButtonBox* m_buttons;
    bool m_listening = false;

    friend class TestOutput;
};
