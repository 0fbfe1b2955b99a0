// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/IdnClient.h"

#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

#include <algorithm>

namespace {

// The channel message's content id: a channel message, with a configuration (and last
// fragment) header, on channel 0, carrying wave samples or nothing.
constexpr quint16 ContentChannelMessage = 0x8000;
constexpr quint16 ContentConfiguration = 0x4000;
constexpr quint8 ChunkWaveSamples = 0x01;
constexpr quint8 ChunkVoid = 0x00;
// Configuration flags: routing (use this configuration), close (end the channel).
constexpr quint8 ConfigRouting = 0x01;
constexpr quint8 ConfigClose = 0x02;
constexpr quint8 ServiceGraphicContinuous = 0x01;
// The dictionary: X and Y widened to 16 bits by a precision tag, then red (638 nm), green
// (532 nm) and blue (460 nm), padded with a void tag to whole 32-bit words.
constexpr quint16 Dictionary[] = {0x4200, 0x4010, 0x4210, 0x4010, 0x527E, 0x5214, 0x51CC, 0x0000};
constexpr int DictionaryWords = 4;
constexpr int ScanNameOffset = 4 + 20;
constexpr int ScanNameSize = 20;
constexpr int ScanStatusOffset = 4 + 2;
// Scan response status bits.
constexpr quint8 StatusMalfunction = 0x80;
constexpr quint8 StatusOffline = 0x40;
constexpr quint8 StatusExcluded = 0x20;
constexpr quint8 StatusOccupied = 0x10;
constexpr int PumpMs = 5;
constexpr int ScanRepeatMs = 500;
// How far ahead of the clock the samples go, for the device's buffer.
constexpr int LeadMs = 20;

void append16(QByteArray& bytes, quint16 value)
{
    bytes.append(char(value >> 8)).append(char(value & 0xFF));
}

void append32(QByteArray& bytes, quint32 value)
{
    append16(bytes, quint16(value >> 16));
    append16(bytes, quint16(value & 0xFFFF));
}

} // namespace

IdnClient::IdnClient(QObject* parent)
    : LaserOutput(Idn, parent), m_socket(new QUdpSocket(this)), m_timer(new QTimer(this))
{
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &IdnClient::pump);
    connect(m_socket, &QUdpSocket::readyRead, this, &IdnClient::onReadyRead);
    connect(m_socket, QOverload<QAbstractSocket::SocketError>::of(&QAbstractSocket::error), this,
            &IdnClient::onSocketError);
}

QByteArray IdnClient::scanRequest(quint16 sequence)
{
    QByteArray bytes;
    bytes.append(char(ScanRequest)).append('\0');
    append16(bytes, sequence);
    return bytes;
}

QString IdnClient::nameFromScanResponse(const QByteArray& datagram)
{
    if (datagram.size() < ScanResponseSize || quint8(datagram[0]) != ScanResponse)
        return QString();
    QByteArray name = datagram.mid(ScanNameOffset, ScanNameSize);
    const int nul = name.indexOf('\0');
    if (nul >= 0)
        name.truncate(nul);
    return QString::fromLatin1(name);
}

QByteArray IdnClient::helloHeader(quint8 command)
{
    QByteArray bytes;
    bytes.append(char(command)).append('\0');
    append16(bytes, m_sequence++);
    return bytes;
}

void IdnClient::setRate(int pointsPerSecond)
{
    // The pacing starts over from the samples already due, at the new rate.
    if (m_phase == Phase::Streaming)
        pump();
    LaserOutput::setRate(pointsPerSecond);
    m_clock.start();
    m_due = 0;
}

void IdnClient::open(const QString& host, quint16 port)
{
    if (m_phase != Phase::Idle)
        return;
    m_host = host;
    m_port = port;
    m_phase = Phase::Scanning;
    // A connected socket hears the device's "port unreachable" as a refused connection.
    m_socket->connectToHost(host, port);
    QTimer::singleShot(ConnectTimeoutMs, this, [this] {
        if (m_phase == Phase::Scanning)
            fail(tr("%1: no answer within 3 s").arg(target()));
    });
    if (!m_socket->waitForConnected(ConnectTimeoutMs)) {
        fail(tr("%1: %2").arg(target(), m_socket->errorString()));
        return;
    }
    // Asked again until answered: a datagram may be lost, and a second send on a connected
    // socket learns of a "port unreachable" answer.
    write(scanRequest(m_sequence++));
    m_timer->start(ScanRepeatMs);
}

void IdnClient::onReadyRead()
{
    while (m_socket->hasPendingDatagrams()) {
        QByteArray datagram(int(std::max<qint64>(0, m_socket->pendingDatagramSize())), '\0');
        const qint64 size = m_socket->readDatagram(datagram.data(), datagram.size());
        if (m_phase != Phase::Scanning || size < ScanResponseSize ||
            quint8(datagram[0]) != ScanResponse)
            continue;
        const quint8 status = quint8(datagram[ScanStatusOffset]);
        if (status & (StatusMalfunction | StatusOffline | StatusExcluded | StatusOccupied)) {
            const QString why = (status & StatusMalfunction) ? tr("reports a malfunction")
                                : (status & StatusOffline)   ? tr("is offline")
                                : (status & StatusExcluded)  ? tr("excludes this computer")
                                                             : tr("is in use by another client");
            fail(tr("%1: the device %2").arg(target(), why));
            return;
        }
        m_phase = Phase::Streaming;
        const QString name = nameFromScanResponse(datagram);
        markConnected(tr("connected to %1 (%2), streaming %3 points per second")
                          .arg(target(), name.isEmpty() ? tr("unnamed") : name)
                          .arg(m_rate));
        m_clock.start();
        m_epoch.start();
        m_due = 0;
        pump();
        m_timer->start(PumpMs);
    }
}

void IdnClient::onSocketError(QAbstractSocket::SocketError error)
{
    if (m_phase == Phase::Done)
        return;
    fail(socketFailureText(error, m_socket->errorString()));
}

void IdnClient::pump()
{
    if (m_phase == Phase::Scanning) {
        write(scanRequest(m_sequence++));
        return;
    }
    if (m_phase != Phase::Streaming)
        return;
    const qint64 due = qint64(m_rate) * (m_clock.elapsed() + LeadMs) / 1000;
    while (m_phase == Phase::Streaming && m_due < due) {
        QVector<LaserSample> samples;
        const int count = int(std::min<qint64>(MaxSamplesPerMessage, due - m_due));
        take(count, samples);
        m_due += count;
        sendSamples(samples);
    }
}

void IdnClient::sendSamples(const QVector<LaserSample>& samples)
{
    QByteArray bytes = helloHeader(ChannelMessage);
    const int size = 8 + 4 + DictionaryWords * 4 + 4 + samples.size() * SampleSize;
    append16(bytes, quint16(size));
    append16(bytes, ContentChannelMessage | ContentConfiguration | ChunkWaveSamples);
    append32(bytes, quint32(m_epoch.nsecsElapsed() / 1000));
    // The configuration goes with every message, so that a device may join at any point.
    bytes.append(char(DictionaryWords)).append(char(ConfigRouting)).append('\0');
    bytes.append(char(ServiceGraphicContinuous));
    for (quint16 tag : Dictionary)
        append16(bytes, tag);
    // Chunk header: flags, then the samples' duration in microseconds (24 bits).
    const quint32 duration = quint32(qint64(samples.size()) * 1000000 / m_rate);
    append32(bytes, std::min<quint32>(duration, 0xFFFFFF));
    for (const LaserSample& s : samples) {
        append16(bytes, quint16(s.x));
        append16(bytes, quint16(s.y));
        bytes.append(char(s.red)).append(char(s.green)).append(char(s.blue));
    }
    write(bytes);
}

void IdnClient::sendClose()
{
    QByteArray bytes = helloHeader(ChannelMessageClose);
    append16(bytes, 8 + 4);
    append16(bytes, ContentChannelMessage | ContentConfiguration | ChunkVoid);
    append32(bytes, quint32(m_epoch.isValid() ? m_epoch.nsecsElapsed() / 1000 : 0));
    bytes.append('\0').append(char(ConfigClose)).append('\0').append('\0');
    write(bytes);
}

bool IdnClient::write(const QByteArray& datagram)
{
    if (m_socket->write(datagram) == datagram.size())
        return true;
    // Qt does not say why; while scanning, the cause is the host's "port unreachable".
    if (m_phase == Phase::Scanning || m_socket->error() == QAbstractSocket::ConnectionRefusedError)
        fail(tr("%1: connection refused").arg(target()));
    else
        fail(tr("%1: cannot send: %2").arg(target(), m_socket->errorString()));
    return false;
}

void IdnClient::blackout()
{
    if (m_phase == Phase::Streaming) {
        m_phase = Phase::Done;
        m_timer->stop();
        sendSamples(takeBlackout());
        sendClose();
    }
    finish();
}

void IdnClient::fail(const QString& message)
{
    reportFailure(message);
    blackout();
}

void IdnClient::finish()
{
    m_phase = Phase::Done;
    m_timer->stop();
    m_socket->close();
    markFinished();
}
