// Draws the Tavix icon (resource 5000) and writes it as a Windows .ico file:
// a green board square with grid lines, a black disc and a white disc
// overlapping. Images of 16, 32 and 48 pixels, 32-bit with alpha, drawn with
// 8 x 8 supersampling so that the disc edges are smooth.
//
//   g++ -std=c++20 -O2 -o make_icon tools/make_icon.cpp && ./make_icon res/tavix.ico

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Colour {
    double r, g, b, a;
};

Colour Over(Colour top, Colour below) {
    const double a = top.a + below.a * (1 - top.a);
    if (a == 0) return {0, 0, 0, 0};
    auto mix = [&](double t, double b) { return (t * top.a + b * below.a * (1 - top.a)) / a; };
    return {mix(top.r, below.r), mix(top.g, below.g), mix(top.b, below.b), a};
}

// Colour of the icon at (x, y) in the unit square [0,1) x [0,1), y downwards.
Colour Sample(double x, double y) {
    Colour c{0, 0, 0, 0};
    // Board: a rounded green square with a darker edge and a 4 x 4 grid.
    const double margin = 0.02, radius = 0.12;
    const double qx = std::fmax(std::fabs(x - 0.5) - (0.5 - margin - radius), 0.0);
    const double qy = std::fmax(std::fabs(y - 0.5) - (0.5 - margin - radius), 0.0);
    const double boardDistance = std::sqrt(qx * qx + qy * qy) - radius;
    if (boardDistance <= 0) {
        c = {0.05, 0.45, 0.20, 1};
        if (boardDistance > -0.045) c = {0.02, 0.25, 0.10, 1};
        const double cells = 4, line = 0.018;
        const double gx = std::fabs(x * cells - std::round(x * cells)) / cells;
        const double gy = std::fabs(y * cells - std::round(y * cells)) / cells;
        if (boardDistance <= -0.045 && (gx < line / 2 || gy < line / 2)) c = {0.02, 0.28, 0.11, 1};
    }
    // Discs: black towards the top left, white towards the bottom right, each
    // with a thin outline so that it reads on the green at 16 pixels.
    auto disc = [&](double cx, double cy, double r, Colour face, Colour rim) {
        const double d = std::hypot(x - cx, y - cy);
        if (d <= r) c = Over(d > r - 0.04 ? rim : face, c);
    };
    disc(0.38, 0.38, 0.27, {0.08, 0.08, 0.08, 1}, {0, 0, 0, 1});
    disc(0.62, 0.62, 0.27, {0.97, 0.97, 0.95, 1}, {0.15, 0.15, 0.15, 1});
    // Shine on the black disc.
    if (std::hypot(x - 0.31, y - 0.30) < 0.07) c = Over({1, 1, 1, 0.22}, c);
    return c;
}

void Put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}

void Put32(std::vector<uint8_t>& out, unsigned v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

// One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, then the AND mask
// (set where fully transparent, for renderers that ignore alpha).
std::vector<uint8_t> DrawImage(int size) {
    constexpr int ss = 8;
    std::vector<Colour> pixels(size * size);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < ss; ++sy) {
                for (int sx = 0; sx < ss; ++sx) {
                    const Colour s = Sample((px + (sx + 0.5) / ss) / size, (py + (sy + 0.5) / ss) / size);
                    r += s.r * s.a;
                    g += s.g * s.a;
                    b += s.b * s.a;
                    a += s.a;
                }
            }
            pixels[py * size + px] = a > 0 ? Colour{r / a, g / a, b / a, a / (ss * ss)} : Colour{0, 0, 0, 0};
        }
    }
    const int maskStride = ((size + 31) / 32) * 4;
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, size * size * 4 + maskStride * size);
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    auto byte = [](double v) { return static_cast<uint8_t>(std::lround(std::fmin(std::fmax(v, 0.0), 1.0) * 255)); };
    for (int py = size - 1; py >= 0; --py) {
        for (int px = 0; px < size; ++px) {
            const Colour& p = pixels[py * size + px];
            out.push_back(byte(p.b));
            out.push_back(byte(p.g));
            out.push_back(byte(p.r));
            out.push_back(byte(p.a));
        }
    }
    for (int py = size - 1; py >= 0; --py) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int px = 0; px < size; ++px) {
            if (byte(pixels[py * size + px].a) == 0) row[px / 8] |= 0x80 >> (px % 8);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_icon OUTPUT.ico\n", stderr);
        return 2;
    }
    const int sizes[] = {16, 32, 48};
    std::vector<std::vector<uint8_t>> images;
    for (int s : sizes) images.push_back(DrawImage(s));
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, static_cast<unsigned>(images.size()));
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        file.push_back(static_cast<uint8_t>(sizes[i]));
        file.push_back(static_cast<uint8_t>(sizes[i]));
        file.push_back(0);
        file.push_back(0);
        Put16(file, 1);
        Put16(file, 32);
        Put32(file, static_cast<unsigned>(images[i].size()));
        Put32(file, offset);
        offset += static_cast<unsigned>(images[i].size());
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size() || std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
