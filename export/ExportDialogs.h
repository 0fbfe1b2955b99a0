// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/Exporter.h"

#include <QObject>
#include <QSize>
#include <QString>

class QAction;
class QSettings;
class QWidget;

// The window's File > Export Picture, Export Animation and Export Options: a save dialog that
// suggests a name in the export folder, the format its name and filter choose, the export with a
// progress dialog, and a box for a refusal or a failure. Remembers the export folder, the size
// and whether labels and frames are drawn.
class ExportDialogs : public QObject
{
    Q_OBJECT

public:
    explicit ExportDialogs(QWidget* window);

    // A name ending in .png or .svg says what it wants; any other name gets the filter's suffix.
    static Exporter::Format pictureFormat(QString& fileName, bool svgFilter);
    // A name ending in .gif is a GIF whatever the filter; with the GIF filter any name is one.
    static Exporter::Format animationFormat(QString& fileName, bool sequenceFilter);
    // "show-frame12.png" for frame index 12 (as lumenar-inspect --frame counts) of show.ild.
    static QString pictureName(const QString& show, int frame);
    // "show.gif".
    static QString animationName(const QString& show);

    // The open show, empty when none is.
    void setShow(const QString& fileName) { m_show = fileName; }
    QAction* getOptionsAction() const { return m_optionsAction; }
    void readSettings(const QSettings& settings);
    void writeSettings(QSettings& settings) const;

    // At the size of the window's views unless the options say otherwise.
    void exportPicture(int frame, int layout);
    void exportAnimation(int layout, const Exporter::Duration& duration, bool loop);

private:
    void editOptions();
    bool hasShow() const;
    // A save dialog with two filters, the first chosen to begin with, in the export folder with
    // name suggested; empty when cancelled or refused.
    QString askName(const QString& title, const QString& suggested, const QString& first,
                    const QString& firstSuffix, const QString& second, bool& secondChosen);
    // The chosen name with its suffix added: asks before replacing, and refuses an input, a
    // link or a file that is not a regular one.
    bool mayWrite(const QString& fileName, bool suffixAdded) const;
    // The size of the window's views, without menus and status bar.
    QSize viewsSize() const;
    // Exports with the chosen size and decoration.
    QString draw(const std::function<QString(const QSize&)>& write);
    void showError(const QString& error) const;

    QWidget* m_window;
    QAction* m_optionsAction;
    QString m_show;
    QString m_folder;
    QSize m_size; // empty: the window's
    bool m_decorated = true;
};
