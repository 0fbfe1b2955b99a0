// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/PointStream.h"

#include <QAbstractSocket>
#include <QElapsedTimer>
#include <QObject>

// What the window, the player and the command line share to put frames on a laser: a client of
// one DAC protocol that streams the points of a PointStream at a scan rate. Nothing is sent
// before open(); every ending goes through a blanked tail and a proper end of the stream.
class LaserOutput : public QObject
{
    Q_OBJECT
public:
    enum Protocol { EtherDream, Idn };
    static constexpr int MinRate = 1000;
    static constexpr int MaxRate = 100000;
    static constexpr int DefaultRate = 30000;
    static constexpr int ConnectTimeoutMs = 3000;

    // "etherdream:HOST[:PORT]" or "idn:HOST[:PORT]"; false with a message in `error`.
    static bool parseTarget(const QString& text, Protocol& protocol, QString& host, quint16& port,
                            QString& error);
    static quint16 defaultPort(Protocol protocol);
    static QString protocolName(Protocol protocol);
    static LaserOutput* create(Protocol protocol, QObject* parent = nullptr);

    LaserOutput(Protocol protocol, QObject* parent);
    Protocol protocol() const { return m_protocol; }

    // Before or while streaming; clamped to the DAC's maximum when it reports one.
    virtual void setRate(int pointsPerSecond);
    int rate() const { return m_rate; }
    void setMapOptions(const MapOptions& options) { m_stream.setOptions(options); }
    // The frame scanned over and over from the next scan on (the window's current frame).
    void showFrame(const IldaFrame& frame);
    // Or a schedule of frames of its own (the command line's show).
    void setSupplier(const PointStream::Supplier& supplier) { m_stream.setSupplier(supplier); }

    // Connects and, once the DAC answers, streams. Emits connected() or failed().
    virtual void open(const QString& host, quint16 port) = 0;
    // Sends the blanked tail, ends the stream properly and emits finished(). Safe to call in any
    // state and more than once.
    virtual void blackout() = 0;
    // Runs the event loop until finished() (for closing and quitting); false on timeout.
    bool waitForFinished(int msecs);

    bool isStreaming() const { return m_streaming; }
    bool isFinished() const { return m_finished; }
    qint64 pointsSent() const { return m_pointsSent; }
    // Seconds from connected() to finished().
    double secondsStreamed() const;
    // "etherdream:HOST:PORT": how messages name the DAC.
    QString target() const;

signals:
    void connected(const QString& description);
    void failed(const QString& message);
    // Something the user should know that does not stop the stream (the rate was lowered).
    void notice(const QString& message);
    // Why the frame on the laser is sent blanked; empty when it no longer is.
    void safetyChanged(const QString& reason);
    void finished();

protected:
    void take(int count, QVector<LaserSample>& out);
    // The blanked tail, counted as sent.
    QVector<LaserSample> takeBlackout();
    void markConnected(const QString& description);
    void markFinished();
    // Reports the failure once; the caller then ends the stream as blackout() does.
    void reportFailure(const QString& message);
    // The user's message for a socket's error, the same for every protocol.
    QString socketFailureText(QAbstractSocket::SocketError error, const QString& reason) const;

    const Protocol m_protocol;
    QString m_host;
    quint16 m_port = 0;
    int m_rate = DefaultRate;
    bool m_streaming = false;

private:
    PointStream m_stream;
    IldaFrame m_frame;
    qint64 m_pointsSent = 0;
    bool m_finished = false;
    bool m_failed = false;
    QElapsedTimer m_clock;
    qint64 m_elapsedMs = -1;
};
