// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/LaserOutput.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QQueue>

class QTcpSocket;
class QTimer;
class QUdpSocket;

// Streams to an Ether Dream DAC over TCP: prepare, data, begin, queue rate, stop, each answered
// by an ACK or NAK with the DAC's status. The DAC's buffer is kept between a low and a high mark
// from the fullness in every reply, never fuller than it holds. Its once-a-second UDP broadcast
// gives the largest rate and the buffer size; streaming waits briefly for it so that the rate can
// be lowered before any point plays.
class EtherDreamClient : public LaserOutput
{
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 7765;
    static constexpr quint16 BroadcastPort = 7654;
    // Every Ether Dream holds at least this many points.
    static constexpr int DefaultCapacity = 1800;
    static constexpr int PointSize = 18;
    static constexpr int ReplySize = 22;
    static constexpr int BroadcastSize = 36;
    static constexpr int BroadcastWaitMs = 1200;

    explicit EtherDreamClient(QObject* parent = nullptr);

    // Where the broadcast is heard (the tests' own port); 0 skips listening.
    void setBroadcastPort(quint16 port) { m_broadcastPort = port; }
    void setRate(int pointsPerSecond) override;
    void open(const QString& host, quint16 port) override;
    void blackout() override;

    int maxRate() const { return m_maxRate; }
    int capacity() const { return m_capacity; }

private:
    enum class Phase { Idle, Connecting, Greeting, Waiting, Preparing, Streaming, Stopping, Done };
    struct Status
    {
        quint8 lightEngine = 0;
        quint8 playback = 0;
        quint16 playbackFlags = 0;
        quint16 fullness = 0;
        quint32 rate = 0;
    };

    void onConnected();
    void onSocketError(QAbstractSocket::SocketError error);
    void onReadyRead();
    void onBroadcast();
    void handleReply(char response, char command, const Status& status);
    void startPreparing();
    void pump();
    void send(char command, const QByteArray& payload = QByteArray());
    void sendPoints(const QVector<LaserSample>& points);
    void fail(const QString& message);
    void finish();
    int estimatedFullness() const;

    QTcpSocket* m_socket;
    QUdpSocket* m_broadcast = nullptr;
    QTimer* m_timer;
    quint16 m_broadcastPort = BroadcastPort;
    Phase m_phase = Phase::Idle;
    QByteArray m_input;
    QQueue<char> m_awaiting;
    Status m_status;
    QElapsedTimer m_statusAge;
    int m_capacity = DefaultCapacity;
    int m_maxRate = 0;
    int m_requestedRate = DefaultRate;
    bool m_begun = false;
    bool m_rateChange = false;
    bool m_heardBroadcast = false;
    QVector<LaserSample> m_unacked;
};
