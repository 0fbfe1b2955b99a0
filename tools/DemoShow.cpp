// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DemoShow.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cmath>
#include <functional>
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
    void header(quint32 format, const char* name, int records, int number, int total, int projector)
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

    void point(quint32 format, const Sample& s, bool last)
    {
        s16(s.at.x);
        s16(s.at.y);
        if (format == 0 || format == 4)
            s16(s.at.z);
        m_bytes.append(char((last ? 0x80 : 0) | (s.blanked ? 0x40 : 0))); // bit 7: last point
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
        for (size_t i = 0; i < samples.size(); ++i)
            point(format, samples[i], i + 1 == samples.size());
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

// The points of a stroke: a blanked move to its start, then `steps` lit points per segment.
std::vector<std::pair<Vertex, bool>> trace(const std::vector<Vertex>& path, int steps)
{
    std::vector<std::pair<Vertex, bool>> out{{path.front(), true}};
    for (size_t i = 1; i < path.size(); ++i) {
        const Vertex& a = path[i - 1];
        const Vertex& c = path[i];
        for (int k = 1; k <= steps; ++k) {
            const double t = double(k) / steps;
            out.push_back(
                {{a.x + (c.x - a.x) * t, a.y + (c.y - a.y) * t, a.z + (c.z - a.z) * t}, false});
        }
    }
    return out;
}

void stroke(std::vector<Sample>& out, const std::vector<Vertex>& path, int steps, int r, int g,
            int b)
{
    for (const auto& [at, blanked] : trace(path, steps))
        out.push_back({at, blanked, uchar(r), uchar(g), uchar(b)});
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
    stroke(out, {at(-e, e, -e), at(e, e, -e), at(e, e, e), at(-e, e, e), at(-e, e, -e)}, 6, 0, 220,
           255);
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
        hsvToRgb(360.0 * (i - start) / (out.size() - start) + frame * 5, 1, 1, out[i].r, out[i].g,
                 out[i].b);
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

// ---- Controller show files ----

constexpr int PyxPictureVersion = 4;
constexpr int PyxCatalogueVersion = 22; // the first with true-colour pictures
constexpr int KnotFrames = 24;

// Colours are hue in 240ths of a turn, saturation and value for true colour, or a palette index.
struct PyxSample
{
    Vertex at;
    bool blanked;
    int hue, saturation, value;
    int index;
};

class PyxWriter
{
public:
    void u8(int v) { m_bytes.append(char(v)); }
    void u16(int v)
    {
        uchar b[2];
        qToBigEndian<quint16>(quint16(v), b);
        m_bytes.append(reinterpret_cast<char*>(b), 2);
    }
    void u32(quint32 v)
    {
        uchar b[4];
        qToBigEndian<quint32>(v, b);
        m_bytes.append(reinterpret_cast<char*>(b), 4);
    }
    void zeros(int n) { m_bytes.append(QByteArray(n, '\0')); }
    void field(const QByteArray& raw, int width)
    {
        m_bytes.append(raw.left(width));
        zeros(width - std::min(width, int(raw.size())));
    }
    void count(int v)
    {
        if (v >= 0 && v <= 253) {
            u8(v);
        } else if (v >= 0 && v <= 0xFFFF) {
            u8(0xFE);
            u16(v);
        } else {
            u8(0xFF);
            u32(quint32(v));
        }
    }
    void string(const QByteArray& raw)
    {
        count(raw.size());
        m_bytes.append(raw);
    }

    // The controller keeps with each record the beam that leaves it; a sample holds the beam
    // that arrives. So record i takes the colour and blanking of sample i + 1.
    void points(const std::vector<PyxSample>& samples, bool trueColor)
    {
        for (size_t i = 0; i < samples.size(); ++i) {
            const PyxSample& beam = samples[std::min(i + 1, samples.size() - 1)];
            u8(0);
            u8((beam.blanked ? 0x40 : 0) | (trueColor ? 0 : beam.index & 0x3F));
            s16(samples[i].at.x);
            s16(samples[i].at.y);
            s16(-samples[i].at.z); // the controller's z points away from the viewer
        }
    }
    void colors(const std::vector<PyxSample>& samples)
    {
        for (size_t i = 0; i < samples.size(); ++i) {
            const PyxSample& beam = samples[std::min(i + 1, samples.size() - 1)];
            u8(0);
            u8(beam.hue);
            u8(beam.saturation);
            u8(beam.value);
        }
    }

    QByteArray bytes() const { return m_bytes; }

private:
    void s16(double v) { u16(int(std::lround(std::max(-32767.0, std::min(32767.0, v))))); }

    QByteArray m_bytes;
};

int hueOf(double degrees)
{
    return int(std::lround(std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0) / 1.5)) % 240;
}

QByteArray pyxPicture(const std::vector<PyxSample>& samples, bool trueColor)
{
    const int n = int(samples.size());
    PyxWriter w;
    w.u16(PyxPictureVersion);
    w.zeros(4);
    w.u16(n);
    w.zeros(2);
    if (trueColor) {
        w.u32(8 + 4 * n);
        w.u32(2); // the true-colour chunk
        w.u32(4 * n);
        w.colors(samples);
    } else {
        w.u32(0);
    }
    w.points(samples, trueColor);
    return w.bytes();
}

// A path drawn lit after a blanked move to its start.
void pyxStroke(std::vector<PyxSample>& out, const std::vector<Vertex>& path, int steps,
               const std::function<void(PyxSample&, double)>& paint)
{
    const size_t start = out.size();
    for (const auto& [at, blanked] : trace(path, steps))
        out.push_back({at, blanked, 0, 0, 0, 0});
    const size_t total = out.size() - start;
    for (size_t i = start; i < out.size(); ++i)
        paint(out[i], total > 1 ? double(i - start) / (total - 1) : 0.0);
}

std::function<void(PyxSample&, double)> rainbow(double from, double span)
{
    return [=](PyxSample& s, double t) {
        s.hue = hueOf(from + span * t);
        s.saturation = 255;
        s.value = 255;
    };
}

std::function<void(PyxSample&, double)> paletteIndex(int index)
{
    return [=](PyxSample& s, double) { s.index = index; };
}

// Two arms winding out of the centre and rising towards the viewer, coloured along their length.
std::vector<PyxSample> spiral()
{
    std::vector<PyxSample> out;
    for (int arm = 0; arm < 2; ++arm) {
        std::vector<Vertex> path;
        const int n = 150;
        for (int i = 0; i <= n; ++i) {
            const double t = double(i) / n;
            const double a = arm * Pi + t * 3.2 * Pi;
            const double r = 1500 + 26000 * t;
            path.push_back({std::cos(a) * r, std::sin(a) * r, -12000 + 24000 * t});
        }
        pyxStroke(out, path, 1, rainbow(arm * 180, 300));
    }
    return out;
}

// Eight petals, each in its own palette colour, round a white centre.
std::vector<PyxSample> flower()
{
    static const int petalColors[8] = {4, 5, 6, 8, 10, 11, 12, 14};
    std::vector<PyxSample> out;
    for (int petal = 0; petal < 8; ++petal) {
        std::vector<Vertex> path;
        const int n = 32;
        for (int i = 0; i <= n; ++i) {
            const double a = (petal - 0.5 + double(i) / n) * Pi / 4;
            const double r = 26000 * std::cos(4 * (a - petal * Pi / 4));
            path.push_back({std::cos(a) * r, std::sin(a) * r, 0});
        }
        pyxStroke(out, path, 1, paletteIndex(petalColors[petal]));
    }
    std::vector<Vertex> centre;
    for (int i = 0; i <= 24; ++i)
        centre.push_back({std::cos(2 * Pi * i / 24) * 3500, std::sin(2 * Pi * i / 24) * 3500, 0});
    pyxStroke(out, centre, 1, paletteIndex(0));
    return out;
}

// A cube seen from a corner, one hue per edge direction.
std::vector<PyxSample> cube()
{
    const double e = 15000;
    auto at = [&](double x, double y, double z) { return turn({x, y, z}, 0.6, 0.45); };
    std::vector<PyxSample> out;
    pyxStroke(out, {at(-e, e, -e), at(e, e, -e), at(e, e, e), at(-e, e, e), at(-e, e, -e)}, 8,
              rainbow(180, 60));
    pyxStroke(out, {at(-e, -e, -e), at(e, -e, -e), at(e, -e, e), at(-e, -e, e), at(-e, -e, -e)}, 8,
              rainbow(280, 60));
    for (double x : {-e, e})
        for (double z : {-e, e})
            pyxStroke(out, {at(x, -e, z), at(x, e, z)}, 8, rainbow(30, 20));
    return out;
}

// A five-pointed star in palette yellow with an orange ring.
std::vector<PyxSample> fivePointStar()
{
    std::vector<PyxSample> out;
    std::vector<Vertex> star;
    for (int i = 0; i <= 5; ++i) {
        const double a = Pi / 2 + 4 * Pi * i / 5;
        star.push_back({std::cos(a) * 22000, std::sin(a) * 22000, 0});
    }
    pyxStroke(out, star, 10, paletteIndex(6));
    std::vector<Vertex> ring;
    for (int i = 0; i <= 48; ++i)
        ring.push_back({std::cos(Pi / 2 + 2 * Pi * i / 48) * 25000,
                        std::sin(Pi / 2 + 2 * Pi * i / 48) * 25000, 0});
    pyxStroke(out, ring, 1, paletteIndex(5));
    return out;
}

// The heart curve, deep red at its point and paler towards the top.
std::vector<PyxSample> heart()
{
    std::vector<PyxSample> out;
    std::vector<Vertex> path;
    const int n = 120;
    for (int i = 0; i <= n; ++i) {
        const double t = 2 * Pi * i / n;
        const double x = 16 * std::pow(std::sin(t), 3);
        const double y =
            13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t);
        path.push_back({x * 1500, y * 1500 + 2000, 0});
    }
    pyxStroke(out, path, 1, [](PyxSample& s, double t) {
        s.hue = hueOf(330 + 30 * (1 - std::fabs(2 * t - 1)));
        s.saturation = 255 - int(110 * std::fabs(2 * t - 1));
        s.value = 255;
    });
    return out;
}

// Three waves in the palette's blues and greens.
std::vector<PyxSample> waves()
{
    static const int waveColors[3] = {10, 11, 9};
    std::vector<PyxSample> out;
    for (int line = 0; line < 3; ++line) {
        std::vector<Vertex> path;
        for (int i = 0; i <= 80; ++i) {
            const double x = -27000 + 54000.0 * i / 80;
            path.push_back({x, (1 - line) * 13000 + std::sin(i * 0.25 + line * 1.3) * 5000, 0});
        }
        pyxStroke(out, path, 1, paletteIndex(waveColors[line]));
    }
    return out;
}

// A trefoil knot turning about the vertical axis, its colours flowing along it.
std::vector<PyxSample> knot(int frame)
{
    const double yaw = 2 * Pi * frame / KnotFrames;
    std::vector<Vertex> path;
    const int n = 180;
    for (int i = 0; i <= n; ++i) {
        const double t = 2 * Pi * i / n;
        // The curve spans -3 to 2.06 vertically: centre it before turning.
        const Vertex v{std::sin(t) + 2 * std::sin(2 * t), std::cos(t) - 2 * std::cos(2 * t) + 0.47,
                       -std::sin(3 * t)};
        path.push_back(turn({v.x * 8500, v.y * 8500, v.z * 8500}, yaw, 0.3));
    }
    std::vector<PyxSample> out;
    pyxStroke(out, path, 1, rainbow(15.0 * frame, 360));
    return out;
}

struct CataloguePicture
{
    QByteArray name; // in the controller character set
    std::vector<PyxSample> samples;
    bool trueColor;
};

QByteArray
pyxCatalogue(const std::vector<std::pair<QByteArray, std::vector<CataloguePicture>>>& sections)
{
    PyxWriter w;
    w.u16(PyxCatalogueVersion);
    w.zeros(2);
    w.u16(int(sections.size()));
    w.zeros(6);
    w.u32(0); // no header extension
    for (const auto& section : sections) {
        w.field(section.first, 16);
        w.u16(int(section.second.size()));
        w.zeros(4);
        for (const CataloguePicture& picture : section.second) {
            w.field(picture.name, 16);
            w.zeros(3);
            w.u8(picture.trueColor ? 0x08 : 0x00);
            w.zeros(18);
            w.u16(int(picture.samples.size()));
            w.zeros(6);
            w.points(picture.samples, picture.trueColor);
            if (picture.trueColor)
                w.colors(picture.samples);
        }
    }
    return w.bytes();
}

QByteArray pyxAnimation(const QByteArray& catalogue, const QList<QByteArray>& pictures)
{
    PyxWriter w;
    w.count(1);
    w.count(0); // file version
    w.string("Lumenar demo");
    w.zeros(6);
    w.count(pictures.size());
    for (const QByteArray& picture : pictures) {
        w.string(catalogue);
        w.string(picture);
    }
    w.count(0); // no trailer
    return w.bytes();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace

QByteArray ildaShow()
{
    // Frames are numbered through the whole file and every header carries the file's total, so
    // that the demo passes lumenar-inspect --check.
    constexpr int Total = AnimationFrames + 4;
    Writer w;
    for (int f = 0; f < AnimationFrames; ++f)
        w.frame(4, "Cube", figure(f), f, Total, 0);
    w.frame(5, "Star", star(), AnimationFrames, Total, 0);
    w.frame(1, "Rainbow", rainbowCircle(), AnimationFrames + 1, Total, 0);

    // Projector 1's palette: a sunset from deep blue through red to warm white.
    w.header(2, "Sunset", 64, 0, 0, 1);
    for (int i = 0; i < 64; ++i) {
        unsigned char r, g, b;
        hsvToRgb(240 + i * 2.5, 1.0 - i / 90.0, 0.5 + i / 128.0, r, g, b);
        w.colour(r, g, b);
    }
    w.frame(0, "Helix", helix(), AnimationFrames + 2, Total, 1);
    w.frame(1, "Waves", wave(), AnimationFrames + 3, Total, 1);
    w.header(0, "", 0, 0, 0, 0);
    return w.bytes();
}

QStringList writeAll(const QString& dir)
{
    const QDir out(dir);
    if (!QDir().mkpath(dir) || !QDir().mkpath(out.filePath(QStringLiteral("Lumenar.catl"))))
        return {};

    QStringList written;
    auto add = [&](const QString& name, const QByteArray& bytes) {
        const QString path = out.filePath(name);
        if (!writeFile(path, bytes))
            return false;
        written << path;
        return true;
    };
    if (!add(QStringLiteral("lumenar-demo.ild"), ildaShow()) ||
        !add(QStringLiteral("Spiral.pic"), pyxPicture(spiral(), true)) ||
        !add(QStringLiteral("Flower.pic"), pyxPicture(flower(), false)))
        return {};

    // Names in the controller's character set: 0x81 is u umlaut, 0x90 is E acute.
    const QByteArray catalogue = pyxCatalogue(
        {{"Formen", {{"W\x81rfel", cube(), true}, {"\x90toile", fivePointStar(), false}}},
         {"Natur", {{"Herz", heart(), true}, {"Wellen", waves(), false}}}});
    if (!add(QStringLiteral("Lumenar.ccat"), catalogue))
        return {};

    // The animation's pictures lie in Lumenar.catl beside it; only the animation is listed.
    QList<QByteArray> pictures;
    for (int f = 0; f < KnotFrames; ++f) {
        const QByteArray name = QByteArray("Knot") + QByteArray::number(f).rightJustified(2, '0');
        const QString path =
            out.filePath(QStringLiteral("Lumenar.catl/%1.pic").arg(QString::fromLatin1(name)));
        if (!writeFile(path, pyxPicture(knot(f), true)))
            return {};
        pictures << name;
    }
    if (!add(QStringLiteral("Lumenar.ani"), pyxAnimation("Lumenar", pictures)))
        return {};
    return written;
}

} // namespace DemoShow
