// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/ExportDialogs.h"

#include "check/Conformance.h"
#include "export/ExportOptionsDialog.h"
#include "export/OutputFile.h"
#include "model/IldaFrames.h"
#include "views/IldaView.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSettings>
#include <QStandardPaths>

namespace {

const char KeyFolder[] = "ExportFolder";
const char KeySize[] = "ExportSize";
const char KeyDecorated[] = "ExportLabelsAndFrames";

QString title()
{
    return QStringLiteral("Lumenar");
}

} // namespace

ExportDialogs::ExportDialogs(QWidget* window)
    : QObject(window), m_window(window),
      m_optionsAction(new QAction(tr("Export O&ptions..."), this))
{
    connect(m_optionsAction, &QAction::triggered, this, &ExportDialogs::editOptions);
}

Exporter::Format ExportDialogs::pictureFormat(QString& fileName, bool svgFilter)
{
    const Exporter::Format format = Exporter::formatOf(fileName);
    if (format == Exporter::Png || format == Exporter::Svg)
        return format;
    fileName += svgFilter ? QStringLiteral(".svg") : QStringLiteral(".png");
    return svgFilter ? Exporter::Svg : Exporter::Png;
}

Exporter::Format ExportDialogs::animationFormat(QString& fileName, bool sequenceFilter)
{
    if (Exporter::formatOf(fileName) == Exporter::Gif)
        return Exporter::Gif;
    if (sequenceFilter)
        return Exporter::PngSequence;
    fileName += QStringLiteral(".gif");
    return Exporter::Gif;
}

QString ExportDialogs::pictureName(const QString& show, int frame)
{
    return QStringLiteral("%1-frame%2.png").arg(QFileInfo(show).completeBaseName()).arg(frame);
}

QString ExportDialogs::animationName(const QString& show)
{
    return QFileInfo(show).completeBaseName() + QStringLiteral(".gif");
}

void ExportDialogs::readSettings(const QSettings& settings)
{
    m_folder = settings.value(KeyFolder, QString()).toString();
    m_size = settings.value(KeySize, QSize()).toSize();
    if (m_size.width() > ExportOptionsDialog::MaxSide ||
        m_size.height() > ExportOptionsDialog::MaxSide)
        m_size = QSize();
    m_decorated = settings.value(KeyDecorated, true).toBool();
}

void ExportDialogs::writeSettings(QSettings& settings) const
{
    settings.setValue(KeyFolder, m_folder);
    settings.setValue(KeySize, m_size);
    settings.setValue(KeyDecorated, m_decorated);
}

void ExportDialogs::editOptions()
{
    ExportOptionsDialog dialog(m_window);
    dialog.setSize(m_size, viewsSize());
    dialog.setDecorated(m_decorated);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_size = dialog.getSize();
    m_decorated = dialog.isDecorated();
}

bool ExportDialogs::hasShow() const
{
    if (!m_show.isEmpty() && globalIldaFrames.getNumberOfFrames() > 0)
        return true;
    QMessageBox::information(m_window, title(), tr("Open a show to export it."));
    return false;
}

QString ExportDialogs::askName(const QString& caption, const QString& suggested,
                               const QString& first, const QString& firstSuffix,
                               const QString& second, bool& secondChosen)
{
    // Exports have a folder of their own, apart from where shows are opened.
    QString folder = m_folder;
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString secondSuffix =
        second.contains(QLatin1String("*.svg")) ? QStringLiteral("svg") : QString();

    QFileDialog dialog(m_window, caption, folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({first, second});
    dialog.setDefaultSuffix(firstSuffix);
    dialog.selectFile(suggested);
    // The suggestion follows the filter: show.gif becomes the folder show, and back.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        const QString suffix = filter == second ? secondSuffix : firstSuffix;
        const QString name = QFileInfo(dialog.selectedFiles().value(0)).completeBaseName();
        dialog.setDefaultSuffix(suffix);
        dialog.selectFile(suffix.isEmpty() ? name : name + QLatin1Char('.') + suffix);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    secondChosen = dialog.selectedNameFilter() == second;
    const QString fileName = dialog.selectedFiles().constFirst();
    m_folder = QFileInfo(fileName).absolutePath();
    return fileName;
}

bool ExportDialogs::mayWrite(const QString& fileName, bool suffixAdded) const
{
    const QFileInfo target(fileName);
    // A folder for numbered pictures may exist; the exporter takes only an empty one.
    if (!target.isDir() || target.isSymLink()) {
        const QString refusal = OutputFile::refusal(fileName, Conformance::inputsOf(m_show), true);
        if (!refusal.isEmpty()) {
            showError(tr("Cannot write %1:\n%2").arg(QDir::toNativeSeparators(fileName), refusal));
            return false;
        }
    }
    // The save dialog asked about the name it was given, not about one with a suffix added.
    return !suffixAdded || !target.exists() ||
           QMessageBox::question(m_window, title(),
                                 tr("%1 already exists.\nDo you want to replace it?")
                                     .arg(QDir::toNativeSeparators(fileName))) == QMessageBox::Yes;
}

QSize ExportDialogs::viewsSize() const
{
    const auto* main = qobject_cast<QMainWindow*>(m_window);
    return main && main->centralWidget() ? main->centralWidget()->size() : m_window->size();
}

QString ExportDialogs::draw(const std::function<QString(const QSize&)>& write)
{
    IldaView::m_decorated = m_decorated;
    const QString error = write(m_size.isEmpty() ? viewsSize() : m_size);
    IldaView::m_decorated = true;
    return error;
}

void ExportDialogs::showError(const QString& error) const
{
    if (!error.isEmpty())
        QMessageBox::critical(m_window, title(), error);
}

void ExportDialogs::exportPicture(int frame, int layout)
{
    if (!hasShow())
        return;
    bool svg = false;
    QString fileName =
        askName(tr("Export Picture"), pictureName(m_show, frame), tr("PNG Image (*.png)"),
                QStringLiteral("png"), tr("SVG Drawing (*.svg)"), svg);
    if (fileName.isEmpty())
        return;
    const QString chosen = fileName;
    const Exporter::Format format = pictureFormat(fileName, svg);
    if (!mayWrite(fileName, fileName != chosen))
        return;
    showError(draw([&](const QSize& size) {
        return Exporter::writePicture(fileName, format, frame, layout, size);
    }));
}

void ExportDialogs::exportAnimation(int layout, const Exporter::Duration& duration, bool loop)
{
    if (!hasShow())
        return;
    const int count = globalIldaFrames.getNumberOfFrames();
    bool sequence = false;
    QString fileName =
        askName(tr("Export Animation"), animationName(m_show), tr("Animated GIF (*.gif)"),
                QStringLiteral("gif"), tr("Numbered PNG Pictures in a New Folder (*)"), sequence);
    if (fileName.isEmpty())
        return;
    const QString chosen = fileName;
    const Exporter::Format format = animationFormat(fileName, sequence);
    if (!mayWrite(fileName, fileName != chosen))
        return;

    QProgressDialog progress(tr("Exporting %1 frames...").arg(count), tr("Cancel"), 0, count,
                             m_window);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const QString error = draw([&](const QSize& size) {
        return Exporter::writeAnimation(fileName, format, layout, size, duration, loop,
                                        [&progress](int done, int) {
                                            progress.setValue(done);
                                            return !progress.wasCanceled();
                                        });
    });
    const bool cancelled = progress.wasCanceled();
    progress.reset();
    if (!error.isEmpty() || format != Exporter::Gif || cancelled)
        return showError(error);
    const Exporter::GifTiming timing(count, duration);
    int left = 0;
    for (int i = 0; i < count; ++i)
        left += timing.isShown(i) ? 0 : 1;
    if (left > 0)
        QMessageBox::information(
            m_window, title(),
            tr("The show plays faster than a GIF can: a GIF shows at most %1 frames per second. "
               "%2 of the %3 frames were left out so that the GIF keeps the show's timing.")
                .arg(Exporter::MaxGifFps)
                .arg(left)
                .arg(count));
}
