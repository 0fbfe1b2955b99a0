// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/DacDiscovery.h"

#include "output/EtherDreamClient.h"
#include "output/IdnClient.h"

#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

namespace {
// The Ether Dream broadcast: MAC address, hardware and software revisions, buffer capacity,
// largest point rate, then the status; little-endian.
constexpr int BroadcastCapacity = 10;
constexpr int BroadcastMaxRate = 12;
} // namespace

DacDiscovery::DacDiscovery(QObject* parent)
    : QObject(parent), m_etherDream(new QUdpSocket(this)), m_idn(new QUdpSocket(this)),
      m_timer(new QTimer(this))
{
    connect(m_etherDream, &QUdpSocket::readyRead, this, &DacDiscovery::onEtherDream);
    connect(m_idn, &QUdpSocket::readyRead, this, &DacDiscovery::onIdn);
    connect(m_timer, &QTimer::timeout, this, &DacDiscovery::scan);
    m_timer->setInterval(ScanIntervalMs);
}

void DacDiscovery::start(quint16 etherDreamPort, const QHostAddress& idnScanTo, quint16 idnPort)
{
    stop();
    m_dacs.clear();
    m_scanTo = idnScanTo;
    m_idnPort = idnPort;
    m_etherDream->bind(QHostAddress::AnyIPv4, etherDreamPort,
                       QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
    m_idn->bind(QHostAddress(QHostAddress::AnyIPv4), 0);
    scan();
    m_timer->start();
}

void DacDiscovery::stop()
{
    m_timer->stop();
    m_etherDream->close();
    m_idn->close();
}

void DacDiscovery::scan()
{
    m_idn->writeDatagram(IdnClient::scanRequest(m_sequence++), m_scanTo, m_idnPort);
}

void DacDiscovery::onEtherDream()
{
    while (m_etherDream->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_etherDream->receiveDatagram();
        const QByteArray data = datagram.data();
        if (data.size() < EtherDreamClient::BroadcastSize)
            continue;
        DacInfo dac;
        dac.protocol = LaserOutput::EtherDream;
        dac.address = datagram.senderAddress();
        dac.port = EtherDreamClient::DefaultPort;
        dac.name =
            QStringLiteral("Ether Dream %1").arg(QString::fromLatin1(data.left(6).toHex(':')));
        dac.capacity = qFromLittleEndian<quint16>(data.constData() + BroadcastCapacity);
        dac.maxRate = int(qFromLittleEndian<quint32>(data.constData() + BroadcastMaxRate));
        add(dac);
    }
}

void DacDiscovery::onIdn()
{
    while (m_idn->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_idn->receiveDatagram();
        if (datagram.data().size() < IdnClient::ScanResponseSize ||
            quint8(datagram.data()[0]) != IdnClient::ScanResponse)
            continue;
        DacInfo dac;
        dac.protocol = LaserOutput::Idn;
        dac.address = datagram.senderAddress();
        dac.port = quint16(datagram.senderPort());
        dac.name = IdnClient::nameFromScanResponse(datagram.data());
        add(dac);
    }
}

void DacDiscovery::add(const DacInfo& dac)
{
    for (DacInfo& known : m_dacs) {
        if (known.protocol == dac.protocol && known.address.isEqual(dac.address) &&
            known.port == dac.port) {
            known = dac;
            return;
        }
    }
    m_dacs << dac;
    emit dacFound(dac);
}
