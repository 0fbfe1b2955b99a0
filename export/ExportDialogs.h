#pragma once

#include "export/Exporter.h"

class QSize;
class QWidget;

// The window's File > Export Picture and Export Animation: a save dialog, the format its name
// and filter choose, the export with a progress dialog, and a box for a failure.
namespace ExportDialogs {

// A name ending in .png or .svg says what it wants; any other name gets the filter's suffix.
Exporter::Format pictureFormat(QString& fileName, bool svgFilter);
// A name ending in .gif is a GIF whatever the filter; with the GIF filter any name is one.
Exporter::Format animationFormat(QString& fileName, bool sequenceFilter);

void exportPicture(QWidget* parent, int frame, int layout, const QSize& size);
void exportAnimation(QWidget* parent, int layout, const QSize& size,
                     const Exporter::Duration& duration, bool loop);

} // namespace ExportDialogs
