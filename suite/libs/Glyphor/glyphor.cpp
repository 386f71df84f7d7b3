// The suite's button pictures, drawn in code: a few motifs for the buttons the forms use
// (lookup, date, clear, delete, item, warehouse, ...) and plain shapes for the other numbers.
#include "glyphor.h"

#include <cstdlib>
#include <vector>

#define GLYPHOR_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int kSize = 16;        // every image is kSize x kSize
constexpr int kMaxId = 72;
constexpr uint32_t kBack = 0xFF00FF;  // transparent: the bottom-left pixel keeps it

constexpr uint32_t Rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }
constexpr uint32_t kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255), kGrey = Rgb(128, 128, 128),
                   kRed = Rgb(200, 30, 30), kGreen = Rgb(20, 140, 40), kBlue = Rgb(30, 70, 200),
                   kYellow = Rgb(240, 200, 40), kBrown = Rgb(150, 100, 40), kTeal = Rgb(0, 128, 128);

struct Image {
    uint32_t px[kSize][kSize];
    Image() {
        for (auto& row : px)
            for (auto& p : row) p = kBack;
    }
    void Dot(int x, int y, uint32_t c) {
        if (x >= 0 && y >= 0 && x < kSize && y < kSize) px[y][x] = c;
    }
    void Fill(int l, int t, int r, int b, uint32_t c) {  // inclusive corners
        for (int y = t; y <= b; ++y)
            for (int x = l; x <= r; ++x) Dot(x, y, c);
    }
    void Frame(int l, int t, int r, int b, uint32_t c) {
        Line(l, t, r, t, c), Line(l, b, r, b, c), Line(l, t, l, b, c), Line(r, t, r, b, c);
    }
    void Line(int x1, int y1, int x2, int y2, uint32_t c) {
        int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1), sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
        for (int err = dx + dy;;) {
            Dot(x1, y1, c);
            if (x1 == x2 && y1 == y2) break;
            int e2 = 2 * err;
            if (e2 >= dy) err += dy, x1 += sx;
            if (e2 <= dx) err += dx, y1 += sy;
        }
    }
    void Disc(int cx, int cy, int r, uint32_t c, bool filled = true) {
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x) {
                int d = x * x + y * y;
                if (filled ? d <= r * r : (d <= r * r && d > (r - 1) * (r - 1))) Dot(cx + x, cy + y, c);
            }
    }
    void Arrow(int dir, uint32_t c) {  // 0 right, 1 left, 2 up, 3 down
        for (int i = 0; i < 6; ++i)
            for (int j = -i; j <= i; ++j) {
                int a = 10 - i, b = 8 + j;
                switch (dir) {
                    case 0: Dot(a, b, c); break;
                    case 1: Dot(15 - a, b, c); break;
                    case 2: Dot(b, 15 - a, c); break;
                    default: Dot(b, a, c); break;
                }
            }
        switch (dir) {
            case 0: Fill(2, 6, 5, 10, c); break;
            case 1: Fill(10, 6, 13, 10, c); break;
            case 2: Fill(6, 10, 10, 13, c); break;
            default: Fill(6, 2, 10, 5, c); break;
        }
    }
    void Sheet(uint32_t lines) {  // a page with text lines
        Fill(3, 1, 12, 14, kWhite);
        Frame(3, 1, 12, 14, kBlack);
        for (int y = 4; y <= 11; y += 2) Line(5, y, 10, y, lines);
    }
};

void Motif(int id, Image& m) {
    switch (id) {
        case 1:  // OK: a tick
            for (int i = 0; i < 3; ++i) m.Line(2, 8 + i, 6, 12 + i, kGreen), m.Line(6, 12 + i, 13, 4 + i, kGreen);
            break;
        case 2:  // cancel: a cross
            for (int i = 0; i < 2; ++i) m.Line(3 + i, 3, 12 + i, 12, kRed), m.Line(12 + i, 3, 3 + i, 12, kRed);
            break;
        case 3:  // open: a folder
            m.Fill(1, 4, 6, 5, kYellow);
            m.Fill(1, 5, 14, 13, kYellow);
            m.Frame(1, 5, 14, 13, kBrown);
            break;
        case 4:  // clear: an eraser
            m.Fill(4, 6, 12, 10, kRed);
            m.Fill(4, 10, 7, 12, kWhite);
            m.Frame(4, 6, 12, 12, kBlack);
            m.Line(2, 14, 14, 14, kGrey);
            break;
        case 5:  // save: a disk
            m.Fill(2, 2, 13, 13, kBlue);
            m.Fill(5, 2, 10, 6, kWhite);
            m.Fill(4, 9, 11, 13, kGrey);
            break;
        case 6:  // print: a printer
            m.Fill(4, 1, 11, 5, kWhite);
            m.Frame(4, 1, 11, 5, kBlack);
            m.Fill(1, 6, 14, 11, kGrey);
            m.Fill(4, 10, 11, 14, kWhite);
            m.Frame(4, 10, 11, 14, kBlack);
            break;
        case 7: m.Arrow(0, kBlue); break;
        case 8:  // lookup: a magnifier
            m.Disc(6, 6, 5, kWhite);
            m.Disc(6, 6, 5, kBlack, false);
            for (int i = 0; i < 2; ++i) m.Line(9 + i, 10, 13 + i, 14, kBrown);
            break;
        case 9:  // date: a calendar
            m.Fill(1, 2, 14, 14, kWhite);
            m.Fill(1, 2, 14, 5, kRed);
            m.Frame(1, 2, 14, 14, kBlack);
            for (int y = 7; y <= 12; y += 3)
                for (int x = 3; x <= 12; x += 3) m.Fill(x, y, x + 1, y + 1, kGrey);
            break;
        case 10: m.Arrow(1, kBlue); break;
        case 11: m.Arrow(2, kBlue); break;
        case 12: m.Arrow(3, kBlue); break;
        case 13: m.Fill(7, 2, 8, 13, kGreen), m.Fill(2, 7, 13, 8, kGreen); break;   // add
        case 14: m.Fill(2, 7, 13, 8, kRed); break;                                 // remove
        case 15:  // help
            m.Disc(8, 8, 7, kBlue);
            m.Fill(7, 4, 8, 9, kWhite);
            m.Fill(7, 11, 8, 12, kWhite);
            break;
        case 16: m.Sheet(kGrey); break;  // document
        case 47:  // delete the selected rows: a list with a cross
            m.Sheet(kBlue);
            for (int i = 0; i < 2; ++i) m.Line(7 + i, 8, 13 + i, 14, kRed), m.Line(13 + i, 8, 7 + i, 14, kRed);
            break;
        case 63:  // warehouse: a house
            for (int i = 0; i < 7; ++i) m.Line(8 - i, 1 + i, 7 + i, 1 + i, kBrown);
            m.Fill(2, 8, 13, 14, kYellow);
            m.Frame(2, 8, 13, 14, kBrown);
            m.Fill(6, 10, 9, 14, kBrown);
            break;
        case 68:  // item: a box
            m.Fill(2, 5, 13, 14, kBrown);
            m.Fill(2, 2, 13, 5, kYellow);
            m.Frame(2, 2, 13, 14, kBlack);
            m.Line(7, 2, 7, 8, kBlack);
            break;
        default: {
            // Plain shapes: the number picks the shape and the colour.
            static const uint32_t colours[] = {kBlue, kGreen, kRed, kTeal, kBrown, kYellow};
            uint32_t c = colours[id % 6];
            switch ((id / 6) % 4) {
                case 0: m.Disc(8, 8, 6, c); break;
                case 1: m.Fill(2, 2, 13, 13, c); break;
                case 2:
                    for (int i = 0; i < 7; ++i) m.Line(8 - i, 1 + 2 * i, 7 + i, 1 + 2 * i, c), m.Line(8 - i, 2 + 2 * i, 7 + i, 2 + 2 * i, c);
                    break;
                default:
                    for (int i = 0; i <= 6; ++i) m.Line(8 - i, 2 + i, 7 + i, 2 + i, c), m.Line(8 - i, 14 - i, 7 + i, 14 - i, c);
                    break;
            }
        }
    }
    m.px[kSize - 1][0] = kBack;
}

// The disabled look of a picture: its drawn parts in grey.
Image Greyed(const Image& m) {
    Image g;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (m.px[y][x] != kBack) g.px[y][x] = kGrey;
    return g;
}

// Pictures with a disabled image of their own.
bool TwoImages(int id) { return id == 4; }

}  // namespace

GLYPHOR_EXPORT int GetMaxBmpID(void) { return kMaxId; }

GLYPHOR_EXPORT int LoadBmp(int id, int* width, int* height, uint32_t* pixels, int capacity) {
    if (id < 1 || id > kMaxId || !width || !height) return 0;
    int images = TwoImages(id) ? 2 : 1;
    *width = kSize * images;
    *height = kSize;
    if (!pixels || capacity < *width * *height) return 0;
    std::vector<Image> strip(1);
    Motif(id, strip[0]);
    if (images == 2) strip.push_back(Greyed(strip[0]));
    for (int y = 0; y < kSize; ++y)
        for (int i = 0; i < images; ++i)
            for (int x = 0; x < kSize; ++x) pixels[y * *width + i * kSize + x] = strip[static_cast<size_t>(i)].px[y][x];
    return 1;
}
