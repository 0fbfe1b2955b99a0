// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class ProblemsModel;
class QLabel;
class QModelIndex;
class QProgressDialog;
class QPushButton;
class QTableView;
class QTimer;

// The window "Problems - NAME": the conformance findings of the open file (or of the file whose
// load failed), with a way to its frames and to the readable frames of a damaged file.
class ProblemsWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ProblemsWindow(QWidget* parent = nullptr);
    ~ProblemsWindow() override;

    // Checks fileName; findings in the first loadedFrames frames lead to their frame.
    void check(const QString& fileName, int loadedFrames);
    // The store now holds this many frames of the same file (after a readable-frames load).
    void setLoadedFrames(int frames) { m_loadedFrames = frames; }
    void setReadableEnabled(bool enabled);

    ProblemsModel* model() const { return m_model; }
    QTableView* tableView() const { return m_table; }
    QPushButton* readableButton() const { return m_readable; }

signals:
    // The user double-clicked a finding in a loaded frame.
    void frameRequested(int frame);
    // The user asked for the readable frames of the damaged file.
    void openReadableRequested();

private:
    void activated(const QModelIndex& index);
    void showProgress();
    void finished(bool cancelled);

    ProblemsModel* m_model;
    QTableView* m_table;
    QLabel* m_summary;
    QPushButton* m_readable;
    QTimer* m_progressTimer;
    QProgressDialog* m_progress = nullptr;
    int m_loadedFrames = 0;
    qint64 m_started = 0;
};
