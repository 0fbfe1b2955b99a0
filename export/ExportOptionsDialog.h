// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QSize>

class QCheckBox;
class QRadioButton;
class QSpinBox;

// File > Export Options: the size of exported pictures and animations (the window's, or width x
// height) and whether the views' labels and frames are drawn.
class ExportOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxSide = 8192;

    explicit ExportOptionsDialog(QWidget* parent);

    // An empty size is the window's.
    QSize getSize() const;
    void setSize(const QSize& size, const QSize& windowSize);
    bool isDecorated() const;
    void setDecorated(bool decorated);

private:
    QRadioButton* m_windowSize;
    QRadioButton* m_chosenSize;
    QSpinBox* m_width;
    QSpinBox* m_height;
    QCheckBox* m_decorated;
};
