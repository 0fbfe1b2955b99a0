#pragma once

#include "info/InfoWindow.h"

#include <QMainWindow>

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(const QString& fileName);
    ~MainWindow() override;

    InfoWindow& infoWindow() { return m_infoWindow; }

public slots:
    void openFile(const QString& fileName);

private:
    InfoWindow m_infoWindow;
};
