// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/EtherDreamClient.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

#include <algorithm>

namespace {

// Replies: response, command, then the status. Every field is little-endian.
constexpr char Ack = 'a';
constexpr char NakFull = 'F';
constexpr char NakInvalid = 'I';
constexpr char NakStop = '!';
constexpr quint8 LightEngineEmergencyStop = 3;
constexpr quint8 PlaybackIdle = 0;
// The status's offsets within a reply and within a broadcast.
constexpr int ReplyStatus = 2;
constexpr int BroadcastCapacity = 10;
constexpr int BroadcastMaxRate = 12;
constexpr int BroadcastStatus = 16;
// Control word bit 15: the next queued rate starts at this point.
constexpr quint16 RateChangeBit = 0x8000;
constexpr int StopWaitMs = 1000;

template <typename T> T le(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

template <typename T> void appendLe(QByteArray& bytes, T value)
{
    char raw[sizeof(T)];
    qToLittleEndian<T>(value, raw);
    bytes.append(raw, int(sizeof(T)));
}

} // namespace

EtherDreamClient::EtherDreamClient(QObject* parent)
    : LaserOutput(EtherDream, parent), m_socket(new QTcpSocket(this)), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &EtherDreamClient::pump);
    connect(m_socket, &QTcpSocket::connected, this, &EtherDreamClient::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &EtherDreamClient::onReadyRead);
    connect(m_socket, QOverload<QAbstractSocket::SocketError>::of(&QAbstractSocket::error), this,
            &EtherDreamClient::onSocketError);
}

void EtherDreamClient::setRate(int pointsPerSecond)
{
    LaserOutput::setRate(pointsPerSecond);
    m_requestedRate = m_rate;
    if (m_maxRate > 0 && m_rate > m_maxRate) {
        m_rate = m_maxRate;
        emit notice(tr("%1: the DAC's largest scan rate is %2 points per second; %3 lowered to it")
                        .arg(target())
                        .arg(m_maxRate)
                        .arg(m_requestedRate));
    }
    m_rateChange = m_begun;
    if (m_rateChange)
        pump();
}

void EtherDreamClient::open(const QString& host, quint16 port)
{
    if (m_phase != Phase::Idle)
        return;
    m_host = host;
    m_port = port;
    m_phase = Phase::Connecting;
    if (m_broadcastPort) {
        m_broadcast = new QUdpSocket(this);
        connect(m_broadcast, &QUdpSocket::readyRead, this, &EtherDreamClient::onBroadcast);
        // Other programs may listen too; without the broadcast the rate is not clamped.
        m_broadcast->bind(QHostAddress::AnyIPv4, m_broadcastPort,
                          QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
    }
    QTimer::singleShot(ConnectTimeoutMs, this, [this] {
        if (m_phase == Phase::Connecting || m_phase == Phase::Greeting)
            fail(tr("%1: no answer within 3 s").arg(target()));
    });
    m_socket->connectToHost(host, port);
}

void EtherDreamClient::onConnected()
{
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // The DAC greets a new connection with a status, as if answering a ping.
    m_phase = Phase::Greeting;
    m_awaiting.enqueue('?');
}

void EtherDreamClient::onSocketError(QAbstractSocket::SocketError error)
{
    if (m_phase == Phase::Done)
        return;
    if (m_phase == Phase::Stopping && error == QAbstractSocket::RemoteHostClosedError) {
        finish();
        return;
    }
    fail(socketFailureText(error, m_socket->errorString()));
}

void EtherDreamClient::onBroadcast()
{
    while (m_broadcast && m_broadcast->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_broadcast->receiveDatagram();
        const QByteArray data = datagram.data();
        const QHostAddress peer = m_socket->peerAddress();
        if (data.size() < BroadcastSize || m_heardBroadcast ||
            (!peer.isNull() &&
             !datagram.senderAddress().isEqual(peer, QHostAddress::TolerantConversion)))
            continue;
        m_heardBroadcast = true;
        const int capacity = le<quint16>(data, BroadcastCapacity);
        if (capacity > 0)
            m_capacity = capacity;
        m_maxRate = int(std::min<quint32>(le<quint32>(data, BroadcastMaxRate), MaxRate));
        if (m_maxRate > 0)
            setRate(m_requestedRate);
        if (m_phase == Phase::Waiting)
            startPreparing();
    }
}

void EtherDreamClient::onReadyRead()
{
    m_input += m_socket->readAll();
    while (m_input.size() >= ReplySize && m_phase != Phase::Done) {
        Status status;
        status.lightEngine = quint8(m_input[ReplyStatus + 1]);
        status.playback = quint8(m_input[ReplyStatus + 2]);
        status.playbackFlags = le<quint16>(m_input, ReplyStatus + 6);
        status.fullness = le<quint16>(m_input, ReplyStatus + 10);
        status.rate = le<quint32>(m_input, ReplyStatus + 12);
        const char response = m_input[0];
        const char command = m_input[1];
        m_input.remove(0, ReplySize);
        handleReply(response, command, status);
    }
}

void EtherDreamClient::handleReply(char response, char command, const Status& status)
{
    if (m_awaiting.isEmpty() || m_awaiting.head() != command) {
        fail(tr("%1: the DAC answered a command that was not sent").arg(target()));
        return;
    }
    m_awaiting.dequeue();
    m_status = status;
    m_statusAge.start();
    if (m_phase == Phase::Stopping) {
        if (command == 's')
            finish();
        return;
    }
    if (status.lightEngine == LightEngineEmergencyStop) {
        fail(tr("%1: the DAC is in an emergency stop (check its interlock and stop inputs)")
                 .arg(target()));
        return;
    }
    if (response == NakFull && command == 'd') {
        // Nothing of that command was queued: it goes again once there is room.
        m_timer->start(1);
        return;
    }
    if (response != Ack) {
        const QString why = response == NakInvalid ? tr("as invalid")
                            : response == NakStop  ? tr("with a stop condition")
                                                   : tr("with code %1").arg(int(quint8(response)));
        fail(tr("%1: the DAC refused the '%2' command %3")
                 .arg(target(), QString(QLatin1Char(command)), why));
        return;
    }
    switch (m_phase) {
    case Phase::Greeting:
        // A stream left playing by an earlier client is stopped before preparing.
        if (status.playback != PlaybackIdle)
            send('s');
        if (m_broadcast && !m_heardBroadcast) {
            m_phase = Phase::Waiting;
            QTimer::singleShot(BroadcastWaitMs, this, [this] {
                if (m_phase == Phase::Waiting)
                    startPreparing();
            });
        } else {
            startPreparing();
        }
        break;
    case Phase::Preparing:
        if (command == 'p') {
            m_phase = Phase::Streaming;
            markConnected(
                tr("connected to %1, streaming %2 points per second").arg(target()).arg(m_rate));
            pump();
        }
        break;
    case Phase::Streaming:
        if (command == 'd') {
            m_unacked.clear();
            if (!m_begun) {
                QByteArray payload;
                appendLe<quint16>(payload, 0);
                appendLe<quint32>(payload, quint32(m_rate));
                send('b', payload);
                m_begun = true;
            }
        }
        pump();
        break;
    default:
        break;
    }
}

void EtherDreamClient::startPreparing()
{
    m_phase = Phase::Preparing;
    send('p');
}

int EtherDreamClient::estimatedFullness() const
{
    if (!m_begun || !m_statusAge.isValid())
        return m_status.fullness;
    const qint64 played = qint64(m_rate) * m_statusAge.elapsed() / 1000;
    return int(std::max<qint64>(0, m_status.fullness - played));
}

void EtherDreamClient::pump()
{
    if (m_phase != Phase::Streaming || !m_awaiting.isEmpty())
        return;
    // About 50 ms ahead, with an eighth of the buffer always free.
    const int high = std::min(m_capacity - m_capacity / 8, std::max(100, m_rate / 20));
    const int low = high / 2;
    const int fullness = estimatedFullness();
    if (fullness > low && m_unacked.isEmpty()) {
        m_timer->start(int(std::max<qint64>(1, qint64(fullness - low) * 1000 / m_rate)));
        return;
    }
    if (m_rateChange) {
        QByteArray payload;
        appendLe<quint32>(payload, quint32(m_rate));
        send('q', payload);
    }
    QVector<LaserSample> points = m_unacked;
    take(std::max(0, high - fullness - points.size()), points);
    sendPoints(points);
}

void EtherDreamClient::sendPoints(const QVector<LaserSample>& points)
{
    QByteArray payload;
    payload.reserve(2 + points.size() * PointSize);
    appendLe<quint16>(payload, quint16(points.size()));
    for (int i = 0; i < points.size(); ++i) {
        const LaserSample& p = points[i];
        const quint16 control = (i == 0 && m_rateChange) ? RateChangeBit : 0;
        const quint16 r = quint16(p.red * 257), g = quint16(p.green * 257),
                      b = quint16(p.blue * 257);
        appendLe<quint16>(payload, control);
        appendLe<qint16>(payload, p.x);
        appendLe<qint16>(payload, p.y);
        appendLe<quint16>(payload, r);
        appendLe<quint16>(payload, g);
        appendLe<quint16>(payload, b);
        // Intensity: the brightest of the three; u1, u2 unused.
        appendLe<quint16>(payload, std::max({r, g, b}));
        appendLe<quint16>(payload, 0);
        appendLe<quint16>(payload, 0);
    }
    m_rateChange = false;
    m_unacked = points;
    send('d', payload);
}

void EtherDreamClient::send(char command, const QByteArray& payload)
{
    QByteArray bytes(1, command);
    bytes += payload;
    m_awaiting.enqueue(command);
    if (m_socket->write(bytes) != bytes.size())
        fail(tr("%1: cannot send: %2").arg(target(), m_socket->errorString()));
}

void EtherDreamClient::blackout()
{
    switch (m_phase) {
    case Phase::Idle:
    case Phase::Done:
        finish();
        return;
    case Phase::Stopping:
        return;
    case Phase::Streaming:
        if (m_socket->state() == QAbstractSocket::ConnectedState) {
            m_phase = Phase::Stopping;
            m_timer->stop();
            // The tail may wait behind the frame's points, but within the buffer's free eighth.
            const QVector<LaserSample> tail = takeBlackout();
            m_unacked.clear();
            m_rateChange = false;
            sendPoints(tail);
            send('s');
            QTimer::singleShot(StopWaitMs, this, &EtherDreamClient::finish);
            return;
        }
        break;
    default:
        // Nothing has been played yet: the connection just closes.
        break;
    }
    finish();
}

void EtherDreamClient::fail(const QString& message)
{
    reportFailure(message);
    blackout();
}

void EtherDreamClient::finish()
{
    if (m_phase == Phase::Done && isFinished())
        return;
    m_phase = Phase::Done;
    m_timer->stop();
    if (m_socket->state() == QAbstractSocket::ConnectedState)
        m_socket->disconnectFromHost();
    else
        m_socket->abort();
    if (m_broadcast)
        m_broadcast->close();
    markFinished();
}
