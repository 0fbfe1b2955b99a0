// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/LaserSettingsDialog.h"

#include "output/DacDiscovery.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

const char KeyTarget[] = "LaserTarget";
const char KeyPps[] = "LaserPps";
const char KeyScale[] = "LaserScale";
const char KeyFlipX[] = "LaserFlipX";
const char KeyFlipY[] = "LaserFlipY";

QString hostText(const QString& host, quint16 port)
{
    const QString shown = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("%1:%2").arg(shown).arg(port);
}

} // namespace

void LaserSettings::read(const QSettings& settings)
{
    QString error;
    if (!LaserOutput::parseTarget(settings.value(KeyTarget).toString(), protocol, host, port,
                                  error))
        host.clear();
    rate = qBound(LaserOutput::MinRate, settings.value(KeyPps, LaserOutput::DefaultRate).toInt(),
                  LaserOutput::MaxRate);
    options.scalePercent = qBound(1, settings.value(KeyScale, 100).toInt(), 100);
    options.flipX = settings.value(KeyFlipX, false).toBool();
    options.flipY = settings.value(KeyFlipY, false).toBool();
}

void LaserSettings::write(QSettings& settings) const
{
    settings.setValue(KeyTarget, target());
    settings.setValue(KeyPps, rate);
    settings.setValue(KeyScale, options.scalePercent);
    settings.setValue(KeyFlipX, options.flipX);
    settings.setValue(KeyFlipY, options.flipY);
}

QString LaserSettings::target() const
{
    if (host.isEmpty())
        return QString();
    return LaserOutput::protocolName(protocol) + QLatin1Char(':') + hostText(host, port);
}

LaserSettingsDialog::LaserSettingsDialog(const LaserSettings& settings, QWidget* parent)
    : QDialog(parent), m_discovery(new DacDiscovery(this)), m_dacs(new QListWidget),
      m_protocol(new QComboBox), m_address(new QLineEdit), m_rate(new QSpinBox),
      m_scale(new QSpinBox), m_flipX(new QCheckBox(tr("Flip &X (left and right)"))),
      m_flipY(new QCheckBox(tr("Flip &Y (up and down)"))),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel))
{
    setWindowTitle(tr("Laser Output Settings"));
    m_protocol->addItem(tr("Ether Dream"), LaserOutput::EtherDream);
    m_protocol->addItem(tr("IDN (ILDA Digital Network)"), LaserOutput::Idn);
    m_protocol->setCurrentIndex(settings.protocol == LaserOutput::Idn ? 1 : 0);
    if (!settings.host.isEmpty())
        m_address->setText(hostText(settings.host, settings.port));
    m_address->setPlaceholderText(tr("address[:port]"));
    m_rate->setRange(LaserOutput::MinRate, LaserOutput::MaxRate);
    m_rate->setSingleStep(1000);
    m_rate->setSuffix(tr(" points/s"));
    m_rate->setValue(settings.rate);
    m_scale->setRange(1, 100);
    m_scale->setSuffix(tr(" %"));
    m_scale->setValue(settings.options.scalePercent);
    m_flipX->setChecked(settings.options.flipX);
    m_flipY->setChecked(settings.options.flipY);

    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(tr("DACs heard on the network (only a scan is sent to them):")));
    form->addRow(m_dacs);
    form->addRow(tr("&Protocol:"), m_protocol);
    form->addRow(tr("&Address:"), m_address);
    form->addRow(tr("Scan &rate:"), m_rate);
    form->addRow(tr("S&cale:"), m_scale);
    form->addRow(m_flipX);
    form->addRow(m_flipY);
    form->addRow(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_dacs, &QListWidget::currentRowChanged, this, &LaserSettingsDialog::dacChosen);
    connect(m_address, &QLineEdit::textChanged, this, [this] {
        LaserSettings parsed;
        m_buttons->button(QDialogButtonBox::Ok)->setEnabled(parseAddress(parsed));
    });
    // Focus on the list would make its first row the choice.
    m_address->setFocus();
    connect(m_discovery, &DacDiscovery::dacFound, this, &LaserSettingsDialog::addDac);
}

void LaserSettingsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_listening)
        m_discovery->start();
    m_listening = true;
}

void LaserSettingsDialog::addDac(const DacInfo& dac)
{
    const QString kind = LaserOutput::protocolName(dac.protocol);
    QString text = QStringLiteral("%1  %2  (%3)")
                       .arg(dac.name, hostText(dac.address.toString(), dac.port), kind);
    if (dac.maxRate > 0)
        text += tr(", up to %1 points/s").arg(dac.maxRate);
    // A new row must not choose itself: only the user's choice replaces the address.
    const QSignalBlocker blocker(m_dacs);
    auto* item = new QListWidgetItem(text, m_dacs);
    item->setData(Qt::UserRole, int(dac.protocol));
    item->setData(Qt::UserRole + 1, hostText(dac.address.toString(), dac.port));
}

void LaserSettingsDialog::dacChosen()
{
    const QListWidgetItem* item = m_dacs->currentItem();
    if (!item)
        return;
    m_protocol->setCurrentIndex(item->data(Qt::UserRole).toInt() == LaserOutput::Idn ? 1 : 0);
    m_address->setText(item->data(Qt::UserRole + 1).toString());
}

bool LaserSettingsDialog::parseAddress(LaserSettings& settings) const
{
    settings.protocol = LaserOutput::Protocol(m_protocol->currentData().toInt());
    const QString address = m_address->text().trimmed();
    if (address.isEmpty()) {
        settings.host.clear();
        return true;
    }
    QString error;
    return LaserOutput::parseTarget(LaserOutput::protocolName(settings.protocol) +
                                        QLatin1Char(':') + address,
                                    settings.protocol, settings.host, settings.port, error);
}

LaserSettings LaserSettingsDialog::getSettings() const
{
    LaserSettings settings;
    if (!parseAddress(settings))
        settings.host.clear();
    settings.rate = m_rate->value();
    settings.options.scalePercent = m_scale->value();
    settings.options.flipX = m_flipX->isChecked();
    settings.options.flipY = m_flipY->isChecked();
    return settings;
}
