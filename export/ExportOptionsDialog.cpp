// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/ExportOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

ExportOptionsDialog::ExportOptionsDialog(QWidget* parent)
    : QDialog(parent), m_windowSize(new QRadioButton(tr("The &window's size"))),
      m_chosenSize(new QRadioButton(tr("&Width x height:"))), m_width(new QSpinBox),
      m_height(new QSpinBox), m_decorated(new QCheckBox(tr("Draw the views' &labels and frames")))
{
    setWindowTitle(tr("Export Options"));
    for (QSpinBox* side : {m_width, m_height}) {
        side->setRange(1, MaxSide);
        side->setSuffix(tr(" px"));
        connect(m_chosenSize, &QRadioButton::toggled, side, &QWidget::setEnabled);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("Pictures and animations are drawn at:")), 0, 0, 1, 4);
    grid->addWidget(m_windowSize, 1, 0, 1, 4);
    grid->addWidget(m_chosenSize, 2, 0);
    grid->addWidget(m_width, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("x")), 2, 2);
    grid->addWidget(m_height, 2, 3);
    grid->addWidget(m_decorated, 3, 0, 1, 4);
    grid->addWidget(buttons, 4, 0, 1, 4);
}

QSize ExportOptionsDialog::getSize() const
{
    return m_chosenSize->isChecked() ? QSize(m_width->value(), m_height->value()) : QSize();
}

void ExportOptionsDialog::setSize(const QSize& size, const QSize& windowSize)
{
    const bool chosen = !size.isEmpty();
    // The window's size is where a first choice starts.
    const QSize shown = chosen ? size : windowSize;
    m_width->setValue(shown.width());
    m_height->setValue(shown.height());
    m_chosenSize->setChecked(chosen);
    m_windowSize->setChecked(!chosen);
    m_width->setEnabled(chosen);
    m_height->setEnabled(chosen);
}

bool ExportOptionsDialog::isDecorated() const
{
    return m_decorated->isChecked();
}

void ExportOptionsDialog::setDecorated(bool decorated)
{
    m_decorated->setChecked(decorated);
}
