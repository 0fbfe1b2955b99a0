// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Receivers for the two laser protocols on 127.0.0.1, written from the public protocol
// descriptions: they answer as a DAC would and record every point they are sent.

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QVector>
#include <QtEndian>

struct ReceivedPoint
{
    int x, y, red, green, blue, intensity;
};

// A port that nothing listens on (for a refused connection) or that a test may bind.
inline quint16 freePort()
{
    QUdpSocket udp;
    udp.bind(QHostAddress(QHostAddress::LocalHost));
    return udp.localPort();
}

// Ether Dream: TCP commands answered with 22-byte replies (little-endian status); the buffer
// drains at the begun rate; the broadcast goes to 127.0.0.1:broadcastPort on every connection.
class FakeEtherDream : public QObject
{
public:
    int capacity = 1800, maxRate = 100000, lightEngine = 0, broadcastPort = 7654, beginRate = 0;
    bool silent = false, overflowed = false;
    QByteArray commands;
    QVector<ReceivedPoint> points;

    FakeEtherDream()
    {
        m_clock.start();
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            m_socket = m_server.nextPendingConnection();
            connect(m_socket, &QTcpSocket::readyRead, this, [this] { onRead(); });
            announce();
            if (!silent)
                reply('a', '?');
        });
    }
    quint16 port() const { return m_server.serverPort(); }
    // The broadcast: MAC, two revisions, buffer capacity, largest rate, status.
    void announce()
    {
        QByteArray b(16, '\0');
        qToLittleEndian<quint16>(quint16(capacity), b.data() + 10);
        qToLittleEndian<quint32>(quint32(maxRate), b.data() + 12);
        if (broadcastPort)
            m_udp.writeDatagram(b + status(), QHostAddress::LocalHost, quint16(broadcastPort));
    }

private:
    double level() const
    {
        const double played = m_playing ? beginRate * (m_clock.nsecsElapsed() - m_since) / 1e9 : 0;
        return std::max(0.0, m_queued - played);
    }
    int fullness() const { return int(level()); }
    QByteArray status() const
    {
        QByteArray s(20, '\0');
        s[1] = char(lightEngine);
        s[2] = char(m_playing ? 2 : m_prepared ? 1 : 0);
        qToLittleEndian<quint16>(quint16(fullness()), s.data() + 10);
        return s;
    }
    void reply(char response, char command)
    {
        m_socket->write(QByteArray(1, response) + command + status());
    }
    void onRead()
    {
        m_input += m_socket->readAll();
        static const QByteArray sizes("p1b7q5s1?1c1");
        while (!m_input.isEmpty()) {
            const char c = m_input[0];
            const int at = sizes.indexOf(c);
            int size = at >= 0 ? sizes[at + 1] - '0' : 1;
            if (c == 'd')
                size = m_input.size() < 3
                           ? 1 << 30
                           : 3 + 18 * qFromLittleEndian<quint16>(m_input.constData() + 1);
            if (m_input.size() < size)
                return;
            const QByteArray cmd = m_input.left(size);
            m_input.remove(0, size);
            commands += c;
            char response = lightEngine ? '!' : 'a';
            if (c == 'p' && response == 'a') {
                m_prepared = true;
                m_queued = 0;
            } else if (c == 'b') {
                beginRate = int(qFromLittleEndian<quint32>(cmd.constData() + 3));
                m_since = m_clock.nsecsElapsed();
                m_playing = true;
            } else if (c == 's') {
                m_prepared = m_playing = false;
            } else if (c == 'd') {
                const int n = (size - 3) / 18;
                if (fullness() + n > capacity) {
                    overflowed = true;
                    response = 'F';
                }
                for (int i = 0; i < n && response == 'a'; ++i) {
                    const char* p = cmd.constData() + 3 + 18 * i;
                    auto u = [p](int k) { return int(qFromLittleEndian<quint16>(p + 2 * k)); };
                    points.append({qint16(u(1)), qint16(u(2)), u(3), u(4), u(5), u(6)});
                }
                if (response == 'a') {
                    m_queued = level() + n;
                    m_since = m_clock.nsecsElapsed();
                }
            } else if (at < 0) {
                response = 'I';
            }
            reply(response, c);
        }
    }

    QTcpServer m_server;
    QTcpSocket* m_socket = nullptr;
    QUdpSocket m_udp;
    QByteArray m_input;
    QElapsedTimer m_clock;
    double m_queued = 0;
    qint64 m_since = 0;
    bool m_prepared = false, m_playing = false;
};

// IDN: answers the IDN-Hello scan request and decodes channel messages whose dictionary it
// records, taking X and Y as 16-bit and the colours as 8-bit columns.
class FakeIdn : public QObject
{
public:
    quint8 status = 0x01;
    bool closed = false;
    QVector<quint16> dictionary;
    QVector<ReceivedPoint> points;

    FakeIdn()
    {
        m_socket.bind(QHostAddress(QHostAddress::LocalHost));
        connect(&m_socket, &QUdpSocket::readyRead, this, [this] {
            while (m_socket.hasPendingDatagrams())
                onDatagram(m_socket.receiveDatagram());
        });
    }
    quint16 port() const { return m_socket.localPort(); }

private:
    void onDatagram(const QNetworkDatagram& datagram)
    {
        const QByteArray d = datagram.data();
        const quint8 command = quint8(d[0]);
        if (command == 0x10) {
            QByteArray r = QByteArray::fromHex("11000000") + char(40) + char(0x10) + char(status);
            r += QByteArray(17, '\0') + QByteArray("FakeIdn").leftJustified(20, '\0');
            m_socket.writeDatagram(r, datagram.senderAddress(), quint16(datagram.senderPort()));
            return;
        }
        if ((command != 0x40 && command != 0x44) || d.size() < 12)
            return;
        auto u16 = [&d](int at) { return int(qFromBigEndian<quint16>(d.constData() + at)); };
        const int content = u16(6);
        int at = 12;
        if (content & 0x4000) {
            const int words = quint8(d[12]);
            closed = closed || (d[13] & 0x02);
            if (words)
                dictionary.clear();
            for (int i = 0; i < words * 2; ++i)
                dictionary << quint16(u16(16 + 2 * i));
            at = 16 + words * 4;
        }
        if ((content & 0xFF) != 0x01)
            return;
        for (at += 4; at + 7 <= d.size(); at += 7)
            points.append({qint16(u16(at)), qint16(u16(at + 2)), quint8(d[at + 4]),
                           quint8(d[at + 5]), quint8(d[at + 6]), 0});
    }

    QUdpSocket m_socket;
};
