// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: feeds arbitrary bytes to the reader that the file ending selects.
// Built once per ending (FUZZ_ENDING), so each reader has its own corpus.
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstddef>
#include <cstdint>

namespace {
QApplication* app = nullptr;
QTemporaryDir* dir = nullptr;
InfoWindow* info = nullptr;
QString path;

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(dir->filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray u16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray u32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A picture of three points: with a colour chunk (and an unknown chunk) for true colour.
QByteArray picture(bool trueColor)
{
    const int points = 3;
    QByteArray extension;
    if (trueColor) {
        extension += u32(2) + u32(points * 4);
        for (int i = 0; i < points; ++i)
            extension += QByteArray("\0", 1) + char(i * 80) + char(0xFF) + char(0xC0);
        extension += u32(9) + u32(0);
    }
    QByteArray bytes = u16(22) + QByteArray(4, '\0') + u16(points) + QByteArray(2, '\0') +
                       u32(quint32(extension.size())) + extension;
    for (int i = 0; i < points; ++i)
        bytes += QByteArray("\0", 1) + char(i == 1 ? 0x40 : 3) + u16(quint16(i * 1000)) +
                 u16(quint16(-i * 500)) + u16(quint16(i));
    return bytes;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    // Inputs that would fill the memory end at the budget, well inside -rss_limit_mb.
    qputenv("LUMENAR_MEMORY_BUDGET", QByteArray::number(64 << 20));
    app = new QApplication(*argc, *argv);
    dir = new QTemporaryDir;
    info = new InfoWindow;
    path = dir->filePath(QStringLiteral("input" FUZZ_ENDING));
    // Pictures for the animations of the corpus to name; Show.catl/Gone.pic stays missing.
    QDir(dir->path()).mkdir(QStringLiteral("Show.catl"));
    writeFile(QStringLiteral("Show.catl/True.pic"), picture(true));
    writeFile(QStringLiteral("Show.catl/Indexed.pic"), picture(false));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    const QString message = globalIldaFrames.loadFile(path, *info);
    // A failed read leaves nothing behind.
    if (!message.isEmpty() &&
        (globalIldaFrames.getNumberOfFrames() != 0 || info->model()->rowCount() != 0))
        __builtin_trap();
    return 0;
}
