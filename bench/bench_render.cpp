// SPDX-License-Identifier: GPL-3.0-or-later
// Painting speed of the views' paint sequence against a bare QPainter that draws the same lines
// and dots with the same pens into the same image. The bare figure is the floor: what is left
// when projection, frame access and the drawing rules cost nothing.
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "views/IldaViewFront.h"
#include "views/IldaViewPerspective.h"
#include "views/IldaViewSide.h"
#include "views/IldaViewTop.h"
#include "views/MacColors.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Points = 32768;
constexpr double Pi = 3.14159265358979323846;
const QSize Size(650, 650);
const char* const ViewNames[] = {"front", "side", "top", "perspective"};

// One format-4 frame of a dense spiral over a sphere, in rainbow colours, with a blanked jump of
// eight points every 256 points; then the end header.
QByteArray makeFrame()
{
    QByteArray bytes;
    auto u16 = [&bytes](int v) {
        bytes.append(char((v >> 8) & 0xff));
        bytes.append(char(v & 0xff));
    };
    auto header = [&](int count) {
        bytes.append("ILDA", 4);
        bytes.append("\0\0\0\4", 4);
        bytes.append("Sphere\0\0Lumenar\0", 16);
        u16(count);
        u16(0);
        u16(1);
        bytes.append("\0\0", 2);
    };
    header(Points);
    for (int i = 0; i < Points; ++i) {
        const double t = (i + 0.5) / Points;
        const double theta = t * 2.0 * Pi * 64.0;
        const double phi = std::acos(1.0 - 2.0 * t);
        const bool blanked = i % 256 < 8;
        const double r = blanked ? 12000.0 : 30000.0;
        u16(int(r * std::sin(phi) * std::cos(theta)));
        u16(int(r * std::cos(phi)));
        u16(int(r * std::sin(phi) * std::sin(theta)));
        bytes.append(char(blanked ? 0x40 : 0));
        const QColor c = QColor::fromHsv(i * 360 / Points, 255, 255);
        bytes.append(char(c.blue()));
        bytes.append(char(c.green()));
        bytes.append(char(c.red()));
    }
    header(0);
    return bytes;
}

std::unique_ptr<IldaView> createView(int index)
{
    switch (index) {
    case 0:
        return std::make_unique<IldaViewFront>();
    case 1:
        return std::make_unique<IldaViewSide>();
    case 2:
        return std::make_unique<IldaViewTop>();
    default:
        return std::make_unique<IldaViewPerspective>();
    }
}

QImage blankImage()
{
    QImage image(Size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

void paintSequence(IldaView& view, QImage& image)
{
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
}

// Every drawing call of the paint sequence, worked out in advance.
struct Drawing
{
    struct Line
    {
        QColor color;
        QLine line;
    };
    struct Dot
    {
        QColor color;
        QPoint at;
    };
    QString label;
    QVector<Line> lines;
    QVector<Dot> dots;
    QColor frame;

    explicit Drawing(const IldaView& view)
    {
        label = view.getLabel();
        const int w = Size.width();
        const int h = Size.height();
        const int s = qMin(w, h);
        const int mx = (w - s) / 2 + 2;
        const int my = (h - s) / 2 + 2;
        const qint64 S = s - 5;
        const IldaFrame f = globalIldaFrames.getCurrentFrame();
        const int n = f.getNumberOfPoints();
        QVector<QPoint> screen(n);
        for (int i = 0; i < n; ++i) {
            int x = 0;
            int y = 0;
            view.getXY(f.getPoint(i), x, y);
            int sx = int(((x + 32768) * S + 32768) / 65536 + mx);
            int sy = int(((32768 - y) * S + 32768) / 65536 + my);
            view.applyOffset(sx, sy);
            screen[i] = QPoint(sx, sy);
        }
        const QColor grey(48, 48, 48);
        auto colour = [](const IldaPoint& p) { return QColor(p.red, p.green, p.blue); };
        for (int i = 1; i < n; ++i)
            if (f.getPoint(i).blanked)
                lines.append({grey, QLine(screen[i - 1], screen[i])});
        for (int i = 1; i < n; ++i)
            if (!f.getPoint(i).blanked)
                lines.append({colour(f.getPoint(i)), QLine(screen[i - 1], screen[i])});
        for (int i = 0; i < n; ++i)
            if (f.getPoint(i).blanked && (i + 1 == n || f.getPoint(i + 1).blanked))
                dots.append({grey, screen[i]});
        for (int i = 0; i < n; ++i) {
            const IldaPoint p = f.getPoint(i);
            if (!p.blanked)
                dots.append({colour(p), screen[i]});
            else if (i + 1 < n && !f.getPoint(i + 1).blanked)
                dots.append({colour(f.getPoint(i + 1)), screen[i]});
        }
        frame = static_cast<unsigned int>(view.getViewIndex()) == IldaView::m_activeView
                    ? MacColors::accentColor(QColor(60, 140, 240))
                    : view.palette().color(QPalette::Window).darker(125);
    }

    void draw(QImage& image) const
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::RenderHint(0x20));
        painter.fillRect(0, 0, Size.width(), Size.height(), Qt::black);
        painter.setPen(QColor(Qt::darkGray));
        painter.drawText(QPointF(6.0, 15.0), label);
        for (const Line& l : lines) {
            painter.setPen(l.color);
            painter.drawLine(l.line);
        }
        for (const Dot& d : dots) {
            painter.setPen(d.color);
            const int x = d.at.x();
            const int y = d.at.y();
            const QPoint outline[5] = {
                {x - 1, y - 1}, {x + 1, y - 1}, {x + 1, y + 1}, {x - 1, y + 1}, {x - 1, y - 1}};
            painter.drawPolyline(outline, 5);
        }
        painter.setPen(frame);
        painter.drawRect(0, 0, Size.width() - 1, Size.height() - 1);
        painter.drawRect(1, 1, Size.width() - 3, Size.height() - 3);
    }
};

// Thread CPU time: preemption by other work on the machine does not count.
double cpuMilliseconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Both drawings in turn in every iteration, so that both see the same machine. The reported
// time is the paint sequence's; the counters hold the fastest call of each and their ratio.
void BM_Render(benchmark::State& state, int index)
{
    const auto view = createView(index);
    view->resize(Size);
    const Drawing drawing(*view);
    QImage painted = blankImage();
    QImage bare = blankImage();
    paintSequence(*view, painted);
    drawing.draw(bare);
    // Same pixels, or the comparison means nothing.
    if (painted != bare) {
        state.SkipWithError("the bare drawing differs from the paint sequence");
        return;
    }

    double paintBest = 1e300;
    double bareBest = 1e300;
    double paintTotal = 0.0;
    double bareTotal = 0.0;
    for (auto _ : state) {
        const double t0 = cpuMilliseconds();
        paintSequence(*view, painted);
        const double t1 = cpuMilliseconds();
        drawing.draw(bare);
        const double t2 = cpuMilliseconds();
        benchmark::ClobberMemory();
        paintBest = std::min(paintBest, t1 - t0);
        bareBest = std::min(bareBest, t2 - t1);
        paintTotal += t1 - t0;
        bareTotal += t2 - t1;
        state.SetIterationTime((t1 - t0) / 1e3);
    }
    const double n = double(state.iterations());
    state.counters["paint_ms"] = paintBest;
    state.counters["bare_ms"] = bareBest;
    state.counters["ratio"] = paintBest / bareBest;
    state.counters["mean_ratio"] = paintTotal / bareTotal;
    state.counters["paint_mean_ms"] = paintTotal / n;
    state.counters["bare_mean_ms"] = bareTotal / n;
    state.SetItemsProcessed(state.iterations() * Points);
}

// The console output, then a table: per view the fastest call of each drawing and the ratio.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            m_rows.push_back({run.run_name.function_name, run.counters.at("paint_ms"),
                              run.counters.at("bare_ms"), run.counters.at("mean_ratio")});
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nfastest call, thread CPU time\n%-20s %10s %10s %8s %12s\n", "view",
                    "paint ms", "bare ms", "ratio", "mean ratio");
        for (const Row& row : m_rows)
            std::printf("%-20s %10.3f %10.3f %8.3f %12.3f\n", row.name.c_str(), row.paint, row.bare,
                        row.paint / row.bare, row.meanRatio);
    }

private:
    struct Row
    {
        std::string name;
        double paint;
        double bare;
        double meanRatio;
    };
    std::vector<Row> m_rows;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sphere.ild"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(makeFrame()) < 0)
        return 1;
    file.close();
    InfoWindow info;
    if (!globalIldaFrames.loadFile(path, info).isEmpty() ||
        globalIldaFrames.getCurrentFrame().getNumberOfPoints() != Points)
        return 1;
    // Every pass of the sequence runs: blanked lines, lit lines, grey and coloured dots.
    globalIldaFrames.setShowBlankedLines(true);
    globalIldaFrames.setShowDots(true);
    IldaView::Reset(true);
    IldaView::m_activeView = IldaView::Front;

    for (int i = 0; i < 4; ++i)
        benchmark::RegisterBenchmark((std::string("render/") + ViewNames[i]).c_str(), BM_Render, i)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->MinTime(2.0);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return 0;
}
