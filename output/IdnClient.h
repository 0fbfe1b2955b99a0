// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/LaserOutput.h"

#include <QAbstractSocket>

class QTimer;
class QUdpSocket;

// Streams to an IDN device over UDP: an IDN-Hello scan request first (the device's answer names
// it and shows it is there), then IDN-Stream channel messages of wave samples, X and Y in 16 bits
// and red, green, blue in 8, paced by the clock; at the end the channel is closed.
class IdnClient : public LaserOutput
{
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 7255;
    // IDN-Hello commands.
    static constexpr quint8 ScanRequest = 0x10;
    static constexpr quint8 ScanResponse = 0x11;
    static constexpr quint8 ChannelMessage = 0x40;
    static constexpr quint8 ChannelMessageClose = 0x44;
    static constexpr int ScanResponseSize = 4 + 40;
    // X, Y (16 bits each), red, green, blue.
    static constexpr int SampleSize = 7;
    // Keeps a message within one Ethernet frame.
    static constexpr int MaxSamplesPerMessage = 200;

    explicit IdnClient(QObject* parent = nullptr);

    void setRate(int pointsPerSecond) override;
    void open(const QString& host, quint16 port) override;
    void blackout() override;

    // The scan response's name field (its host name), for discovery and the connected line.
    static QString nameFromScanResponse(const QByteArray& datagram);
    static QByteArray scanRequest(quint16 sequence);

private:
    enum class Phase { Idle, Scanning, Streaming, Done };

    void onReadyRead();
    void onSocketError(QAbstractSocket::SocketError error);
    void pump();
    void sendSamples(const QVector<LaserSample>& samples);
    void sendClose();
    bool write(const QByteArray& datagram);
    QByteArray helloHeader(quint8 command);
    void fail(const QString& message);
    void finish();

    QUdpSocket* m_socket;
    QTimer* m_timer;
    Phase m_phase = Phase::Idle;
    quint16 m_sequence = 0;
    QElapsedTimer m_clock;
    // Timestamps count from the stream's start.
    QElapsedTimer m_epoch;
    // The samples sent since the pacing clock last started.
    qint64 m_due = 0;
};
