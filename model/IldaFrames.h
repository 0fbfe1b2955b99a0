// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IldaFrame.h"
#include "readers/LoadBudget.h"

#include <QHash>
#include <QRgb>
#include <QString>
#include <QVector>

#include <functional>

class InfoWindow;
class QFile;
class QWidget;

// The single store of the open file's frames, the current-frame cursor, the display flags and
// the per-projector ILDA palettes. Readers are members so that they can fill it directly.
class IldaFrames
{
public:
    static constexpr int PicBufferRecords = 65535;
    // Called between sections, pictures and blocks with the bytes of the named file read so far;
    // returning false cancels the load. A last call with LoadEnded says that reading is over.
    using Progress = std::function<bool(qint64 bytesRead)>;
    static constexpr qint64 LoadEnded = -1;

    IldaFrames();
    ~IldaFrames();
    IldaFrames(const IldaFrames&) = delete;
    IldaFrames& operator=(const IldaFrames&) = delete;

    void initIldaPalette();
    QRgb getPaletteEntry(int projector, int index) const;

    bool getShowBlankedLines() const { return m_showBlankedLines; }
    void setShowBlankedLines(bool show) { m_showBlankedLines = show; }
    bool getShowDots() const { return m_showDots; }
    void setShowDots(bool show) { m_showDots = show; }

    IldaFrame getCurrentFrame() const;
    bool isFirst() const;
    bool isLast() const;
    int getNumberOfFrames() const { return m_frames.size(); }
    int getCurrentFrameNumber() const { return m_currentFrame; }
    // Direct access for tools that walk every frame; tolerant of any index like getPoint().
    IldaFrame getFrame(int index) const;

    void gotoFrame(int index);
    void gotoFirst();
    void gotoPrevious();
    void gotoNext();
    void gotoLast();

    // Loads a file and shows a failing reader's message in a critical box over parent; a
    // cancelled load shows nothing.
    bool openFile(const QString& fileName, InfoWindow& info, QWidget* parent,
                  const Progress& progress = Progress());
    // The same without the box: returns the reader's message, empty on success. On failure or
    // cancel the store and the information window are left empty.
    QString loadFile(const QString& fileName, InfoWindow& info,
                     const Progress& progress = Progress());
    // True when the last load was stopped by its progress callback (a cancel, or a read limit).
    bool wasCancelled() const { return m_cancelled; }

    // What a load of the readable frames of a damaged file kept and where it stopped.
    struct Skipped
    {
        qint64 offset; // the animation's entry
        int entry;     // from 0
        QString text;  // the picture reader's message
    };
    struct Readable
    {
        QString error;         // the reader's message; empty for a file without fault
        qint64 stoppedAt = -1; // the failing section's header or animation entry; -1 without fault
        QVector<Skipped> skipped; // an animation's pictures that could not be read
    };
    // Like loadFile, but a failing file keeps every whole frame before its first error, and an
    // animation every picture that can be read. A frame cut in its records is left out. A
    // cancelled load leaves the store empty.
    Readable loadReadable(const QString& fileName, InfoWindow& info,
                          const Progress& progress = Progress());
    // Loads frame 0 alone, within `budget` bytes of frames and rows, and fails where frame 0 is
    // not complete within the first `maxRead` bytes: a preview costs the same whatever the size
    // of the file.
    QString loadFirstFrame(const QString& fileName, InfoWindow& info, qint64 budget,
                           qint64 maxRead);

    // Readers: each appends frames and information rows and returns an empty string or the
    // user's message.
    QString openIldaFile(const QString& fileName, InfoWindow& info);
    QString openVectrionPIC(const QString& fileName, InfoWindow& info);
    QString openVectrionCCAT(const QString& fileName, InfoWindow& info);
    QString openVectrionANI(const QString& fileName, InfoWindow& info);

    // The start every reader (and the conformance check) shares: a name is required and the file
    // must be a regular file (or a link to one) that opens for reading. Pipes and devices are never
    // opened: they may block or never end. Returns the user's message, empty on success.
    static QString openForReading(QFile& file);
    bool seekIlda(QFile& file) const;

    void appendVectrionPIC(int count, bool trueColor);
    bool skipBytes(QFile& file, int count) const;
    bool readCount(QFile& file, int& value) const;
    bool readString(QFile& file, QString& text) const;

private:
    void clear();
    // loadFile without emptying the store on failure.
    QString load(const QString& fileName, InfoWindow& info, const Progress& progress);
    QString readPicture(const QString& fileName, InfoWindow& info, bool& trueColor, int& count);

    // False when the user cancelled; bytesRead < 0 keeps the last figure (a nested picture).
    bool keepLoading(qint64 bytesRead);
    static QString cancelledText();
    // Writes a debug line at most a few times per load; the rest are counted for one summary.
    void debugLimited(const char* line);
    void endDebugLimits();

    QVector<IldaFrame> m_frames;
    int m_currentFrame = 0;
    bool m_showBlankedLines = true;
    bool m_showDots = true;
    unsigned char m_paletteRed[256][256];
    unsigned char m_paletteGreen[256][256];
    unsigned char m_paletteBlue[256][256];
    unsigned char m_picPoints[PicBufferRecords * 8];
    unsigned char m_picColors[PicBufferRecords * 4];

    // State of the load in progress.
    LoadBudget m_budget;
    Progress m_progress;
    qint64 m_bytesRead = 0;
    bool m_cancelled = false;
    bool m_insideAnimation = false;
    bool m_keepReadable = false;
    qint64 m_sectionStart = 0; // of the section or animation entry being read
    QVector<Skipped> m_skipped;
    // loadFirstFrame's limits; 0 is none. Reaching the frame limit ends a load successfully.
    int m_frameLimit = 0;
    qint64 m_budgetLimit = 0;
    bool m_frameLimitReached = false;
    QHash<const char*, qint64> m_debugCounts;
};

extern IldaFrames globalIldaFrames;
