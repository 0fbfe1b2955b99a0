// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "readers/IldaFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

namespace {

// A debug line that a reader writes per record or chunk is shown this often per load.
constexpr qint64 DebugLineLimit = 5;

} // namespace

void IldaFrames::clear()
{
    m_currentFrame = 0;
    // clear() would keep the capacity of a large file's list.
    m_frames = QVector<IldaFrame>();
}

QString IldaFrames::openForReading(QFile& file)
{
    if (file.fileName().isEmpty())
        return QObject::tr("No file specified!");
    // isFile() follows symbolic links and is false for pipes, devices, sockets and folders.
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
        return QObject::tr("Cannot open '%1'!").arg(file.fileName());
    return QString();
}

bool IldaFrames::keepLoading(qint64 bytesRead)
{
    if (m_frameLimit > 0 && m_frames.size() >= m_frameLimit) {
        m_frameLimitReached = true;
        return false;
    }
    if (bytesRead >= 0)
        m_bytesRead = bytesRead;
    if (m_progress && !m_progress(m_bytesRead))
        m_cancelled = true;
    return !m_cancelled;
}

QString IldaFrames::cancelledText()
{
    return QObject::tr("Loading cancelled.");
}

void IldaFrames::debugLimited(const char* line)
{
    if (++m_debugCounts[line] <= DebugLineLimit)
        qDebug("%s", line);
}

void IldaFrames::endDebugLimits()
{
    for (auto it = m_debugCounts.cbegin(); it != m_debugCounts.cend(); ++it) {
        if (it.value() > DebugLineLimit)
            qDebug("%s (%lld more times, not shown)", it.key(), it.value() - DebugLineLimit);
    }
    m_debugCounts.clear();
}

QString IldaFrames::loadFile(const QString& fileName, InfoWindow& info, const Progress& progress)
{
    const QString message = load(fileName, info, progress);
    if (!message.isEmpty()) {
        clear();
        info.ClearInfo();
    }
    return message;
}

IldaFrames::Readable IldaFrames::loadReadable(const QString& fileName, InfoWindow& info,
                                              const Progress& progress)
{
    m_keepReadable = true;
    const QString message = load(fileName, info, progress);
    m_keepReadable = false;
    Readable readable;
    readable.skipped.swap(m_skipped);
    if (m_cancelled) {
        clear();
        info.ClearInfo();
        readable.error = message;
        return readable;
    }
    if (!readable.skipped.isEmpty()) {
        readable.error = readable.skipped.first().text;
        readable.stoppedAt = readable.skipped.first().offset;
    }
    if (!message.isEmpty() && readable.stoppedAt < 0) {
        readable.error = message;
        readable.stoppedAt = m_sectionStart;
    }
    return readable;
}

QString IldaFrames::load(const QString& fileName, InfoWindow& info, const Progress& progress)
{
    clear();
    info.ClearInfo();
    m_budget.start(m_budgetLimit);
    m_frameLimitReached = false;
    m_progress = progress;
    m_bytesRead = 0;
    m_cancelled = false;
    m_insideAnimation = false;
    m_sectionStart = 0;
    m_skipped.clear();
    m_debugCounts.clear();

    QString message;
    switch (IldaFormat::readerFor(fileName)) {
    case IldaFormat::Reader::Pic:
        message = openVectrionPIC(fileName, info);
        break;
    case IldaFormat::Reader::Ccat:
        message = openVectrionCCAT(fileName, info);
        break;
    case IldaFormat::Reader::Ani:
        message = openVectrionANI(fileName, info);
        break;
    case IldaFormat::Reader::Ilda:
        message = openIldaFile(fileName, info);
        break;
    }
    endDebugLimits();
    if (m_progress)
        m_progress(LoadEnded);
    m_progress = Progress();
    if (m_frameLimitReached)
        message.clear(); // the reader stopped where it was asked to
    return message;
}

bool IldaFrames::openFile(const QString& fileName, InfoWindow& info, QWidget* parent,
                          const Progress& progress)
{
    const QString message = loadFile(fileName, info, progress);
    if (message.isEmpty())
        return true;
    if (!m_cancelled)
        QMessageBox::critical(parent, QStringLiteral("Lumenar"), message, QMessageBox::Ok,
                              QMessageBox::NoButton);
    return false;
}
