#include "export/ExportDialogs.h"

#include "model/IldaFrames.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("MainWindow", text);
}

void showError(QWidget* parent, const QString& error)
{
    if (!error.isEmpty())
        QMessageBox::critical(parent, tr("Lumenar"), error);
}

// A save dialog with two filters, the first chosen to begin with; empty when cancelled.
QString askName(QWidget* parent, const QString& title, const QString& first, const QString& second,
                bool& secondChosen)
{
    QString filter = first;
    const QString name = QFileDialog::getSaveFileName(
        parent, title, QString(), first + QStringLiteral(";;") + second, &filter);
    secondChosen = filter == second;
    return name;
}

} // namespace

namespace ExportDialogs {

Exporter::Format pictureFormat(QString& fileName, bool svgFilter)
{
    const Exporter::Format format = Exporter::formatOf(fileName);
    if (format == Exporter::Png || format == Exporter::Svg)
        return format;
    fileName += svgFilter ? QStringLiteral(".svg") : QStringLiteral(".png");
    return svgFilter ? Exporter::Svg : Exporter::Png;
}

Exporter::Format animationFormat(QString& fileName, bool sequenceFilter)
{
    if (Exporter::formatOf(fileName) == Exporter::Gif)
        return Exporter::Gif;
    if (sequenceFilter)
        return Exporter::PngSequence;
    fileName += QStringLiteral(".gif");
    return Exporter::Gif;
}

void exportPicture(QWidget* parent, int frame, int layout, const QSize& size)
{
    bool svg = false;
    QString fileName = askName(parent, tr("Export Picture"), tr("PNG Image (*.png)"),
                               tr("SVG Drawing (*.svg)"), svg);
    if (fileName.isEmpty())
        return;
    const Exporter::Format format = pictureFormat(fileName, svg);
    showError(parent, Exporter::writePicture(fileName, format, frame, layout, size));
}

void exportAnimation(QWidget* parent, int layout, const QSize& size,
                     const Exporter::Duration& duration, bool loop)
{
    const int count = globalIldaFrames.getNumberOfFrames();
    if (count < 1) {
        QMessageBox::information(parent, tr("Lumenar"), tr("Open a show to export it."));
        return;
    }
    bool sequence = false;
    QString fileName = askName(parent, tr("Export Animation"), tr("Animated GIF (*.gif)"),
                               tr("Numbered PNG Pictures in a New Folder (*)"), sequence);
    if (fileName.isEmpty())
        return;
    const Exporter::Format format = animationFormat(fileName, sequence);

    QProgressDialog progress(tr("Exporting %1 frames...").arg(count), tr("Cancel"), 0, count,
                             parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const QString error = Exporter::writeAnimation(fileName, format, layout, size, duration, loop,
                                                   [&progress](int done, int) {
                                                       progress.setValue(done);
                                                       return !progress.wasCanceled();
                                                   });
    progress.reset();
    showError(parent, error);
}

} // namespace ExportDialogs
