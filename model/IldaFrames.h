#pragma once

#include "model/IldaFrame.h"

#include <QRgb>
#include <QString>
#include <QVector>

class InfoWindow;
class QFile;
class QWidget;

// The single store of the open file's frames, the current-frame cursor, the display flags and
// the per-projector ILDA palettes. Readers are members so that they can fill it directly.
class IldaFrames
{
public:
    static constexpr int PicBufferRecords = 65535;

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

    // Loads a file and shows a failing reader's message in a critical box over parent.
    bool openFile(const QString& fileName, InfoWindow& info, QWidget* parent);
    // The same without the box: returns the reader's message, empty on success. On failure the
    // store and the information window are left empty.
    QString loadFile(const QString& fileName, InfoWindow& info);

    // Readers: each appends frames and information rows and returns an empty string or the
    // user's message.
    QString openIldaFile(const QString& fileName, InfoWindow& info);
    QString openVectrionPIC(const QString& fileName, InfoWindow& info);
    QString openVectrionCCAT(const QString& fileName, InfoWindow& info);
    QString openVectrionANI(const QString& fileName, InfoWindow& info);

    bool seekIlda(QFile& file) const;

    void appendVectrionPIC(int count, bool trueColor);
    bool skipBytes(QFile& file, int count) const;
    bool readCount(QFile& file, int& value) const;
    bool readString(QFile& file, QString& text) const;

private:
    void clear();
    // The start every reader shares: a name is required and the file must open for reading.
    static QString openForReading(QFile& file);

    QVector<IldaFrame> m_frames;
    int m_currentFrame = 0;
    bool m_showBlankedLines = true;
    bool m_showDots = true;
    unsigned char m_paletteRed[256][256];
    unsigned char m_paletteGreen[256][256];
    unsigned char m_paletteBlue[256][256];
    unsigned char m_picPoints[PicBufferRecords * 8];
    unsigned char m_picColors[PicBufferRecords * 4];
};

extern IldaFrames globalIldaFrames;
