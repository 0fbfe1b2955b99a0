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
    const QString png = tr("PNG Image (*.png)");
    const QString svg = tr("SVG Drawing (*.svg)");
    QString filter = png;
    QString fileName = QFileDialog::getSaveFileName(parent, tr("Export Picture"), QString(),
                                                    png + QStringLiteral(";;") + svg, &filter);
    if (fileName.isEmpty())
        return;
    const Exporter::Format format = pictureFormat(fileName, filter == svg);
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
    const QString gif = tr("Animated GIF (*.gif)");
    const QString sequence = tr("Numbered PNG Pictures in a New Folder (*)");
    QString filter = gif;
    QString fileName = QFileDialog::getSaveFileName(parent, tr("Export Animation"), QString(),
                                                    gif + QStringLiteral(";;") + sequence, &filter);
    if (fileName.isEmpty())
        return;
    const Exporter::Format format = animationFormat(fileName, filter == sequence);

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
