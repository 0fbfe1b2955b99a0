// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IldaPoint.h"

#include <QString>
#include <QVector>

// One picture of a show: a name, two header numbers and the points in drawing order.
// A value type; copies share the point list until one of them writes.
class IldaFrame
{
public:
    static constexpr int MaxPoints = 32768;

    IldaFrame() = default;
    IldaFrame(const QString& name, const QString& company, int frameNumber, int totalFrames);
    ~IldaFrame();

    void appendPoint(const IldaPoint& point);
    // Adds up to `count` points for a reader to fill in place, as many as fit under the
    // capacity; returns the first of them and sets `count` to how many were added.
    IldaPoint* appendPoints(int& count);

    int getNumberOfPoints() const { return m_points.size(); }
    IldaPoint getPoint(int index) const;
    // All getNumberOfPoints() points, for a walk that needs no bounds check per point.
    const IldaPoint* getPoints() const { return m_points.constData(); }

    const QString& getName() const { return m_name; }
    const QString& getCompany() const { return m_company; }
    int getFrameNumber() const { return m_frameNumber; }
    int getTotalFrames() const { return m_totalFrames; }

private:
    QString m_name;
    QString m_company;
    int m_frameNumber = 0;
    int m_totalFrames = 1;
    QVector<IldaPoint> m_points;
};
