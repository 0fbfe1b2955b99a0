// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/LaserOutput.h"

#include "output/EtherDreamClient.h"
#include "output/IdnClient.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

LaserOutput::LaserOutput(Protocol protocol, QObject* parent) : QObject(parent), m_protocol(protocol)
{
    m_stream.setSupplier([this](qint64) { return m_frame; });
    m_stream.setSafetyCallback([this](const QString& reason) { emit safetyChanged(reason); });
}

bool LaserOutput::parseTarget(const QString& text, Protocol& protocol, QString& host, quint16& port,
                              QString& error)
{
    const int colon = text.indexOf(QLatin1Char(':'));
    const QString scheme = text.left(colon);
    if (colon < 0 || (scheme != QLatin1String("etherdream") && scheme != QLatin1String("idn"))) {
        error = QStringLiteral("--to needs etherdream:HOST[:PORT] or idn:HOST[:PORT]");
        return false;
    }
    protocol = scheme == QLatin1String("idn") ? Idn : EtherDream;
    QString rest = text.mid(colon + 1);
    port = defaultPort(protocol);
    // A bracketed IPv6 address keeps its colons: [::1]:7765.
    const int portColon = rest.startsWith(QLatin1Char('[')) ? rest.indexOf(QLatin1String("]:")) + 1
                          : rest.count(QLatin1Char(':')) == 1 ? rest.indexOf(QLatin1Char(':'))
                                                              : -1;
    if (portColon > 0) {
        bool ok = false;
        const uint value = rest.mid(portColon + 1).toUInt(&ok);
        if (!ok || value < 1 || value > 65535) {
            error = QStringLiteral("bad port in %1").arg(text);
            return false;
        }
        port = quint16(value);
        rest.truncate(portColon);
    }
    if (rest.startsWith(QLatin1Char('[')) && rest.endsWith(QLatin1Char(']')))
        rest = rest.mid(1, rest.size() - 2);
    if (rest.isEmpty()) {
        error = QStringLiteral("no host in %1").arg(text);
        return false;
    }
    host = rest;
    return true;
}

quint16 LaserOutput::defaultPort(Protocol protocol)
{
    return protocol == Idn ? IdnClient::DefaultPort : EtherDreamClient::DefaultPort;
}

QString LaserOutput::protocolName(Protocol protocol)
{
    return protocol == Idn ? QStringLiteral("idn") : QStringLiteral("etherdream");
}

LaserOutput* LaserOutput::create(Protocol protocol, QObject* parent)
{
    if (protocol == Idn)
        return new IdnClient(parent);
    return new EtherDreamClient(parent);
}

void LaserOutput::setRate(int pointsPerSecond)
{
    m_rate = std::clamp(pointsPerSecond, MinRate, MaxRate);
}

void LaserOutput::showFrame(const IldaFrame& frame)
{
    m_frame = frame;
}

bool LaserOutput::waitForFinished(int msecs)
{
    if (m_finished)
        return true;
    QEventLoop loop;
    QTimer::singleShot(msecs, &loop, &QEventLoop::quit);
    connect(this, &LaserOutput::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return m_finished;
}

double LaserOutput::secondsStreamed() const
{
    if (!m_clock.isValid())
        return 0;
    return double(m_elapsedMs >= 0 ? m_elapsedMs : m_clock.elapsed()) / 1000.0;
}

QString LaserOutput::target() const
{
    const QString host =
        m_host.contains(QLatin1Char(':')) ? QLatin1Char('[') + m_host + QLatin1Char(']') : m_host;
    return QStringLiteral("%1:%2:%3").arg(protocolName(m_protocol), host).arg(m_port);
}

void LaserOutput::take(int count, QVector<LaserSample>& out)
{
    m_stream.take(count, out);
    m_pointsSent += count;
}

QVector<LaserSample> LaserOutput::takeBlackout()
{
    const QVector<LaserSample> tail = m_stream.blackout();
    m_pointsSent += tail.size();
    return tail;
}

void LaserOutput::markConnected(const QString& description)
{
    m_streaming = true;
    m_clock.start();
    emit connected(description);
}

void LaserOutput::markFinished()
{
    if (m_finished)
        return;
    m_streaming = false;
    m_finished = true;
    if (m_clock.isValid())
        m_elapsedMs = m_clock.elapsed();
    emit finished();
}

QString LaserOutput::socketFailureText(QAbstractSocket::SocketError error,
                                       const QString& reason) const
{
    if (error == QAbstractSocket::ConnectionRefusedError)
        return tr("%1: connection refused").arg(target());
    return tr("%1: %2").arg(target(), reason);
}

void LaserOutput::reportFailure(const QString& message)
{
    if (m_failed || m_finished)
        return;
    m_failed = true;
    emit failed(message);
}
