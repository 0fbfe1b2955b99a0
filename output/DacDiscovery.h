// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/LaserOutput.h"

#include <QHostAddress>
#include <QObject>
#include <QVector>

class QTimer;
class QUdpSocket;

// A DAC heard on the network.
struct DacInfo
{
    LaserOutput::Protocol protocol = LaserOutput::EtherDream;
    QHostAddress address;
    quint16 port = 0;
    QString name;
    // Ether Dream only: the largest scan rate and the buffer size it reports (0 when unknown).
    int maxRate = 0;
    int capacity = 0;
};

// Lists the DACs on the network without sending them any point: it listens for Ether Dream
// broadcasts and asks for IDN-Hello scan replies. The only thing it ever sends is the scan.
class DacDiscovery : public QObject
{
    Q_OBJECT
public:
    static constexpr int ScanIntervalMs = 1000;

    explicit DacDiscovery(QObject* parent = nullptr);

    // Ports and the scan's destination can be moved for tests on loopback.
    void start(quint16 etherDreamPort = 7654,
               const QHostAddress& idnScanTo = QHostAddress::Broadcast, quint16 idnPort = 7255);
    void stop();
    const QVector<DacInfo>& dacs() const { return m_dacs; }

signals:
    void dacFound(const DacInfo& dac);

private:
    void onEtherDream();
    void onIdn();
    void scan();
    void add(const DacInfo& dac);

    QUdpSocket* m_etherDream;
    QUdpSocket* m_idn;
    QTimer* m_timer;
    QHostAddress m_scanTo;
    quint16 m_idnPort = 0;
    quint16 m_sequence = 0;
    QVector<DacInfo> m_dacs;
};
