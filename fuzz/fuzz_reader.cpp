// libFuzzer target: feeds arbitrary bytes to the reader that the file ending selects.
// Built once per ending (FUZZ_ENDING), so each reader has its own corpus.
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"

#include <QApplication>
#include <QFile>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {
QApplication* app = nullptr;
QTemporaryDir* dir = nullptr;
InfoWindow* info = nullptr;
QString path;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    app = new QApplication(*argc, *argv);
    dir = new QTemporaryDir;
    info = new InfoWindow;
    path = dir->filePath(QStringLiteral("input" FUZZ_ENDING));
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
