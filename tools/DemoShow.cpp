#include "tools/DemoShow.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cmath>
#include <vector>

namespace DemoShow {
namespace {

constexpr double Pi = 3.14159265358979323846;

struct Vertex
{
    double x, y, z;
};

struct Sample
{
    Vertex at;
    bool blanked;
    unsigned char r, g, b; // true colour, or r as the palette index
};

class Writer
{
public:
    void header(quint32 format, const char* name, int records, int number, int total,
                int projector)
    {
        m_bytes.append("ILDA", 4);
        u32(format);
        text(name);
        text("Lumenar");
        u16(records);
        u16(number);
        u16(total);
        m_bytes.append(char(projector));
        m_bytes.append(char(0));
    }

    void point(quint32 format, const Sample& s)
    {
        s16(s.at.x);
        s16(s.at.y);
        if (format == 0 || format == 4)
            s16(s.at.z);
        m_bytes.append(char(s.blanked ? 0x40 : 0));
        if (format <= 1) {
            m_bytes.append(char(s.r));
        } else {
            m_bytes.append(char(s.b)); // true colour is stored blue, green, red
            m_bytes.append(char(s.g));
            m_bytes.append(char(s.r));
        }
    }

    void frame(quint32 format, const char* name, const std::vector<Sample>& samples, int number,
               int total, int projector)
    {
        header(format, name, int(samples.size()), number, total, projector);
        for (const Sample& s : samples)
            point(format, s);
    }

    void colour(int r, int g, int b)
    {
        m_bytes.append(char(r));
        m_bytes.append(char(g));
        m_bytes.append(char(b));
    }

    QByteArray bytes() const { return m_bytes; }

private:
    void u16(int v)
    {
        uchar b[2];
        qToBigEndian<quint16>(quint16(v), b);
        m_bytes.append(reinterpret_cast<char*>(b), 2);
    }
    void s16(double v) { u16(int(std::lround(std::max(-32768.0, std::min(32767.0, v))))); }
    void u32(quint32 v)
    {
        uchar b[4];
        qToBigEndian<quint32>(v, b);
        m_bytes.append(reinterpret_cast<char*>(b), 4);
    }
    void text(const char* s)
    {
        QByteArray field(s);
        field = field.left(8);
        field.append(QByteArray(8 - field.size(), '\0'));
        m_bytes.append(field);
    }

    QByteArray m_bytes;
};

void hsvToRgb(double h, double s, double v, unsigned char& r, unsigned char& g, unsigned char& b)
{
    h = std::fmod(h, 360.0);
    const double c = v * s;
    const double x = c * (1 - std::fabs(std::fmod(h / 60.0, 2) - 1));
    const double m = v - c;
    double rr = 0, gg = 0, bb = 0;
    if (h < 60)
        rr = c, gg = x;
    else if (h < 120)
        rr = x, gg = c;
    else if (h < 180)
        gg = c, bb = x;
    else if (h < 240)
        gg = x, bb = c;
    else if (h < 300)
        rr = x, bb = c;
    else
        rr = c, bb = x;
    r = static_cast<unsigned char>(std::lround((rr + m) * 255));
    g = static_cast<unsigned char>(std::lround((gg + m) * 255));
    b = static_cast<unsigned char>(std::lround((bb + m) * 255));
}

// A stroke is reached by a blanked move, then drawn lit with `steps` points per segment.
void stroke(std::vector<Sample>& out, const std::vector<Vertex>& path, int steps, int r, int g,
            int b)
{
    out.push_back({path.front(), true, uchar(r), uchar(g), uchar(b)});
    for (size_t i = 1; i < path.size(); ++i) {
        for (int k = 1; k <= steps; ++k) {
            const double t = double(k) / steps;
            const Vertex& a = path[i - 1];
            const Vertex& c = path[i];
            out.push_back({{a.x + (c.x - a.x) * t, a.y + (c.y - a.y) * t, a.z + (c.z - a.z) * t},
                           false,
                           uchar(r),
                           uchar(g),
                           uchar(b)});
        }
    }
}

Vertex turn(const Vertex& v, double yaw, double pitch)
{
    const double cy = std::cos(yaw), sy = std::sin(yaw);
    const double cp = std::cos(pitch), sp = std::sin(pitch);
    const double x = v.x * cy + v.z * sy;
    const double z = -v.x * sy + v.z * cy;
    return {x, v.y * cp - z * sp, v.y * sp + z * cp};
}

// A cube with a ring through its middle, turned about the vertical axis.
std::vector<Sample> figure(int frame)
{
    const double yaw = 2 * Pi * frame / AnimationFrames;
    const double pitch = 0.35;
    const double e = 17000;
    auto at = [&](double x, double y, double z) { return turn({x, y, z}, yaw, pitch); };

    std::vector<Sample> out;
    stroke(out, {at(-e, e, -e), at(e, e, -e), at(e, e, e), at(-e, e, e), at(-e, e, -e)}, 6, 0,
           220, 255);
    stroke(out, {at(-e, -e, -e), at(e, -e, -e), at(e, -e, e), at(-e, -e, e), at(-e, -e, -e)}, 6,
           255, 40, 200);
    for (double x : {-e, e})
        for (double z : {-e, e})
            stroke(out, {at(x, -e, z), at(x, e, z)}, 6, 255, 210, 0);

    std::vector<Vertex> ring;
    const int segments = 36;
    for (int i = 0; i <= segments; ++i) {
        const double a = 2 * Pi * i / segments;
        ring.push_back(at(std::cos(a) * 27000, 0, std::sin(a) * 27000));
    }
    const size_t start = out.size();
    stroke(out, ring, 2, 0, 0, 0);
    for (size_t i = start; i < out.size(); ++i)
        hsvToRgb(360.0 * (i - start) / (out.size() - start) + frame * 5, 1, 1, out[i].r,
                 out[i].g, out[i].b);
    return out;
}

std::vector<Sample> star()
{
    std::vector<Sample> out;
    std::vector<Vertex> path;
    for (int i = 0; i <= 10; ++i) {
        const double a = Pi / 2 + Pi * i / 5;
        const double radius = (i % 2) ? 10000 : 26000;
        path.push_back({std::cos(a) * radius, std::sin(a) * radius, 0});
    }
    stroke(out, path, 8, 0, 0, 0);
    for (size_t i = 0; i < out.size(); ++i)
        hsvToRgb(40 + 40.0 * i / out.size(), 1, 1, out[i].r, out[i].g, out[i].b);
    return out;
}

// Indexed colour: the palette index runs once round the circle.
std::vector<Sample> rainbowCircle()
{
    std::vector<Sample> out;
    for (int i = 0; i <= 64; ++i) {
        const double a = 2 * Pi * i / 64;
        out.push_back({{std::cos(a) * 24000, std::sin(a) * 24000, 0}, i == 0, uchar(i % 64), 0, 0});
    }
    return out;
}

std::vector<Sample> helix()
{
    std::vector<Sample> out;
    const int n = 240;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * Pi * i / 40;
        out.push_back({{std::cos(a) * 18000, -24000 + 48000.0 * i / (n - 1), std::sin(a) * 18000},
                       i == 0,
                       uchar(i * 64 / n),
                       0,
                       0});
    }
    return out;
}

std::vector<Sample> wave()
{
    std::vector<Sample> out;
    for (int line = 0; line < 3; ++line) {
        for (int i = 0; i <= 60; ++i) {
            const double x = -28000 + 56000.0 * i / 60;
            const double y = (line - 1) * 14000 + std::sin(i * 0.3 + line) * 5000;
            out.push_back({{x, y, 0}, i == 0, uchar(line * 20 + i / 3), 0, 0});
        }
    }
    return out;
}

} // namespace

QByteArray ildaShow()
{
    Writer w;
    for (int f = 0; f < AnimationFrames; ++f)
        w.frame(4, "Cube", figure(f), f, AnimationFrames, 0);
    w.frame(5, "Star", star(), 0, 1, 0);
    w.frame(1, "Rainbow", rainbowCircle(), 0, 1, 0);

    // Projector 1's palette: a sunset from deep blue through red to warm white.
    w.header(2, "Sunset", 64, 0, 0, 1);
    for (int i = 0; i < 64; ++i) {
        unsigned char r, g, b;
        hsvToRgb(240 + i * 2.5, 1.0 - i / 90.0, 0.5 + i / 128.0, r, g, b);
        w.colour(r, g, b);
    }
    w.frame(0, "Helix", helix(), 0, 1, 1);
    w.frame(1, "Waves", wave(), 0, 1, 1);
    w.header(0, "", 0, 0, 0, 0);
    return w.bytes();
}

QStringList writeAll(const QString& dir)
{
    if (!QDir().mkpath(dir))
        return {};
    const QString path = QDir(dir).filePath(QStringLiteral("lumenar-demo.ild"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    const QByteArray bytes = ildaShow();
    if (file.write(bytes) != bytes.size())
        return {};
    return {path};
}

} // namespace DemoShow
