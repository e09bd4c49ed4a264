// Draws every image of res/ (toolbar buttons and tree images, at 16 pixels
// and doubled for screens of two pixels to the point, program and document
// icons, and their copies for the desktop's hicolor theme in res/icons/, PNG
// at every size and SVG) and a contact sheet for reviewing them enlarged. The images are checked in; run this only when
// one changes:
//
//   g++ -std=c++20 -fPIC tools/icons/draw_icons.cpp $(pkg-config --cflags --libs Qt6Gui Qt6Svg) -o /tmp/draw_icons
//   /tmp/draw_icons res /tmp/stirpex-icons.png
//
// The 16-pixel images are pixel art, so that every edge falls on a pixel
// (only the round badge behind the "?" is smoothed); the larger icons are
// painted with antialiasing in a 256-unit square scaled to the size.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Palette = std::map<char, QRgb>;
using Grid = std::initializer_list<std::string_view>;

QImage blank(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// Sets the pixels of `grid` whose character the palette knows; '.' and
// unknown characters leave the pixel as it is.
void paintGrid(QImage& image, Grid grid, const Palette& palette) {
    int y = 0;
    for (const std::string_view row : grid) {
        if (row.size() != 16) {
            std::fprintf(stderr, "row %d has %zu pixels\n", y, row.size());
        }
        for (int x = 0; x < static_cast<int>(row.size()); ++x) {
            const auto found = palette.find(row[static_cast<std::size_t>(x)]);
            if (found != palette.end()) {
                image.setPixel(x, y, found->second);
            }
        }
        ++y;
    }
}

QImage fromGrid(Grid grid, const Palette& palette) {
    QImage image = blank(16);
    paintGrid(image, grid, palette);
    return image;
}

QImage openFolder() {
    return fromGrid({"................", "................", ".KKKKK..........", "KyyyyyK.........", "KyyyyyyKKKKKKK..",
                     "KyyyyyyyyyyyyyK.", "KyyyyyyyyyyyyyK.", "KyyyKKKKKKKKKKKK", "KyyKWWWWWWWWWWWK", "KyyKYYYYYYYYYYK.",
                     "KyKYYYYYYYYYYYK.", "KyKYYYYYYYYYYK..", "KKYYYYYYYYYYYK..", "KKYYYYYYYYYYK...", "KKKKKKKKKKKKK...",
                     "................"},
                    {{'K', 0xff5a4008}, {'y', 0xffd9a52c}, {'Y', 0xfff8d060}, {'W', 0xfffff0b0}});
}

QImage magnifier() {
    return fromGrid({"................", "....KKKK........", "..KKBBBBKK......", ".KBwwBBBBBK.....", ".KBwBBBBBBK.....",
                     "KBwBBBBBBBBK....", "KBBBBBBBBBBK....", "KBBBBBBBBBBK....", "KBBBBBBBBBBK....", ".KBBBBBBBBK.....",
                     ".KBBBBBBBBKK....", "..KKBBBBKKhhK...", "....KKKK.KhHhK..", "..........KhHhK.", "...........KhHK.",
                     "............KK.."},
                    {{'K', 0xff303030}, {'B', 0xffa8d4f8}, {'w', 0xffffffff}, {'H', 0xff8a5a2e}, {'h', 0xff5c3a1c}});
}

// A pedigree: the person at the foot, parents above, grandparents at the top.
QImage pedigree() {
    return fromGrid({"................", "bbb.rrr.bbb.rrr.", "bbb.rrr.bbb.rrr.", "bbb.rrr.bbb.rrr.", ".L...L...L...L..",
                     ".LLLLL...LLLLL..", "...L.......L....", "..bbb.....rrr...", "..bbb.....rrr...", "..bbb.....rrr...",
                     "...L.......L....", "...LLLLLLLLL....", ".......L........", "......ggg.......", "......ggg.......",
                     "......ggg......."},
                    {{'b', 0xff2060d0}, {'r', 0xffd03030}, {'g', 0xff2e9e3e}, {'L', 0xff404040}});
}

// The same tree upside down: the person at the top, children and grandchildren below.
QImage descendants() {
    return fromGrid({"......ggg.......", "......ggg.......", "......ggg.......", ".......L........", "...LLLLLLLLL....",
                     "...L.......L....", "..ttt.....ttt...", "..ttt.....ttt...", "..ttt.....ttt...", "...L.......L....",
                     ".LLLLL...LLLLL..", ".L...L...L...L..", "ttt.ttt.ttt.ttt.", "ttt.ttt.ttt.ttt.", "ttt.ttt.ttt.ttt.",
                     "................"},
                    {{'g', 0xff2e9e3e}, {'t', 0xff7cc870}, {'L', 0xff404040}});
}

// Two strands crossing twice, with rungs; the front strand changes at each crossing.
QImage helix(QRgb front, QRgb back, QRgb rung) {
    return fromGrid({"..AA.......BB...", "...AA-----BB....", "....AA...BB.....", "......AAB.......", "......BAA.......",
                     "....BB...AA.....", "...BB-----AA....", "..BB.......AA...", "..BB.......AA...", "...BB-----AA....",
                     "....BB...AA.....", "......BBA.......", "......ABB.......", "....AA...BB.....", "...AA-----BB....",
                     "..AA.......BB..."},
                    {{'A', front}, {'B', back}, {'-', rung}});
}

QImage printer() {
    return fromGrid({"................", "....KKKKKKKK....", "....KWWWWWWK....", "....KWWWWWWK....", "..KKKKKKKKKKKK..",
                     ".KggggggggggggK.", "KggggggggggggggK", "KgggggggggggeegK", "KGGGGGGGGGGGGGGK", "KGGKKKKKKKKKKGGK",
                     "KGKWWWWWWWWWWKGK", "KKKWkkkkkkkkWKKK", "..KWWWWWWWWWWK..", "..KWkkkkkWWWWK..", "..KKKKKKKKKKKK..",
                     "................"},
                    {{'K', 0xff303030},
                     {'g', 0xffd8d8d8},
                     {'G', 0xffa0a0a0},
                     {'W', 0xffffffff},
                     {'k', 0xff909090},
                     {'e', 0xff20c020}});
}

QImage aboutBadge() {
    QImage image = blank(16);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x1a, 0x4a, 0x9a), 1.0));
        p.setBrush(QColor(0x2f, 0x6f, 0xd0));
        p.drawEllipse(QRectF(0.5, 0.5, 15.0, 15.0));
    }
    paintGrid(image,
              {"................", "................", "................", "......WWWW......", ".....WWWWWW.....",
               ".....WW..WW.....", ".........WW.....", "........WW......", ".......WW.......", ".......WW.......",
               "................", ".......WW.......", ".......WW.......", "................"},
              {{'W', 0xffffffff}});
    return image;
}

QImage arrow(bool forward) {
    const QImage back = fromGrid({"................", "................", "......K.........", ".....KK.........",
                                  "....KAK.........", "...KAAKKKKKKKK..", "..KAAAAAAAAAAAK.", ".KAAAAAAAAAAAAK.",
                                  ".KaaaaaaaaaaaaK.", "..KaaaaaaaaaaaK.", "...KaaKKKKKKKK..", "....KaK.........",
                                  ".....KK.........", "......K.........", "................", "................"},
                                 {{'K', 0xff1e5a1e}, {'A', 0xff5cc85c}, {'a', 0xff2e8b2e}});
    return forward ? back.mirrored(true, false) : back;
}

// A house with a red roof and a chimney: the home person's page.
QImage house() {
    return fromGrid({"................", ".......KK..CC...", "......KRRK.CC...", ".....KRRRRKCC...", "....KRRRRRRKC...",
                     "...KRRRRRRRRK...", "..KRRRRRRRRRRK..", ".KRRRRRRRRRRRRK.", "KKKKKKKKKKKKKKKK", "..KWWWWWWWWWWK..",
                     "..KWbbWWWDDDWK..", "..KWbbWWWDDDWK..", "..KWWWWWWDDDWK..", "..KWWWWWWDdDWK..", "..KWWWWWWDDDWK..",
                     "..KKKKKKKKKKKK.."},
                    {{'K', 0xff303030},
                     {'R', 0xffc8402c},
                     {'C', 0xff7a2a1c},
                     {'W', 0xfff6eed6},
                     {'b', 0xff6fb0e8},
                     {'D', 0xff8a5a2e},
                     {'d', 0xfff2c14e}});
}

// The chart buttons: blue and pink boxes as the charts draw men and women, the person green.
const Palette kChartPalette = {
    {'K', 0xff303030}, {'b', 0xff9cc2f0}, {'r', 0xfff4a8c0}, {'g', 0xff8ed68a}, {'L', 0xff505050}};

// A pedigree chart: the person at the left, parents and grandparents to the right.
QImage pedigreeChart() {
    return fromGrid({"............KKKK", "..........LLKbbK", "......KKKKL.KKKK", ".....LKbbKL.....", ".....LKbbKL.KKKK",
                     ".....LKKKKLLKrrK", "KKKK.L......KKKK", "KggKLL..........", "KggK.L..........", "KKKK.L......KKKK",
                     ".....LKKKKLLKbbK", ".....LKrrKL.KKKK", ".....LKrrKL.....", "......KKKKL.KKKK", "..........LLKrrK",
                     "............KKKK"},
                    kChartPalette);
}

// A descendants chart: the person at the top, children hanging below.
QImage descendantsChart() {
    return fromGrid({"....KKKKKKKK....", "....KggggggK....", "....KggggggK....", "....KKKKKKKK....", ".......LL.......",
                     ".......LL.......", ".LLLLLLLLLLLLLL.", ".L.....LL.....L.", ".L.....LL.....L.", "KKKK.KKKKKK.KKKK",
                     "KbbK.KrrrrK.KbbK", "KbbK.KrrrrK.KbbK", "KKKK.KKKKKK.KKKK", "................", "................",
                     "................"},
                    kChartPalette);
}

// An hourglass: parents above the person, children below.
QImage hourglassChart() {
    return fromGrid({"KKKKKKK..KKKKKKK", "KbbbbbK..KrrrrrK", "KbbbbbK..KrrrrrK", "KKKKKKK..KKKKKKK", "...L........L...",
                     "...LLLLLLLLLL...", "....KKKKKKKK....", "....KggggggK....", "....KggggggK....", "....KKKKKKKK....",
                     ".......L........", "...LLLLLLLLLL...", "KKKKKKK..KKKKKKK", "KbbbbbK..KrrrrrK", "KbbbbbK..KrrrrrK",
                     "KKKKKKK..KKKKKKK"},
                    kChartPalette);
}

// A fan chart: the person a half disc, parents and grandparents in rings. Arcs
// cannot all fall on pixels, so this one is smoothed, and drawn afresh at
// twice the size rather than doubled.
QImage fanChart(int size) {
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    const QPointF centre(8, 12.5);
    const auto sector = [&](double inner, double outer, double start, double sweep, QRgb fill) {
        QPainterPath path;
        const auto ring = [&](double r) { return QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r); };
        path.arcMoveTo(ring(outer), start);
        path.arcTo(ring(outer), start, sweep);
        if (inner <= 0) {
            path.lineTo(centre);
        } else {
            path.arcTo(ring(inner), start + sweep, -sweep);
        }
        path.closeSubpath();
        p.setBrush(QColor::fromRgba(fill));
        p.drawPath(path);
    };
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 16.0 / size));
    for (int i = 0; i < 4; ++i) {
        sector(5.1, 7.4, 180 - 45 * (i + 1), 45, i % 2 == 0 ? 0xfff4a8c0 : 0xff9cc2f0);
    }
    sector(2.8, 5.1, 0, 90, 0xfff4a8c0);
    sector(2.8, 5.1, 90, 90, 0xff9cc2f0);
    sector(0, 2.8, 0, 180, 0xff8ed68a);
    return image;
}

QImage runner(QRgb colour) {
    return fromGrid({"..........XX....", ".........XXXX...", ".........XXXX...", "..........XX....", "........XXXX....",
                     "......XXXXXXX...", ".....XX.XXX.XX..", "....XX..XXX..XX.", ".......XXX......", "......XXXXX.....",
                     ".....XX...XX....", "....XX.....XX...", "...XX......XX...", "..XX.......XXX..", "..X..........X..",
                     "................"},
                    {{'X', colour}});
}

// One ring, 12 pixels across: a yellow band between a black outer and a grey inner edge.
constexpr std::string_view kRing[12] = {"....KKKK....", "..KKYYYYKK..", ".KYYGGGGYYK.", ".KYG....GYK.",
                                        "KYG......GYK", "KYG......GYK", "KYG......GYK", "KYG......GYK",
                                        ".KYG....GYK.", ".KYYGGGGYYK.", "..KKYYYYKK..", "....KKKK...."};

// Two rings, each passing through the other's hole. Where they cross, the
// left ring lies in front at the top and behind at the bottom, which makes
// them read as linked.
QImage rings() {
    const Palette palette = {{'K', 0xff000000}, {'Y', 0xffffd820}, {'G', 0xff909090}};
    const auto at = [&](int left, int x, int y) -> QRgb {
        const int column = x - left;
        const int row = y - 2;
        if (column < 0 || column >= 12 || row < 0 || row >= 12) {
            return 0;
        }
        const auto found = palette.find(kRing[row][static_cast<std::size_t>(column)]);
        return found == palette.end() ? 0 : found->second;
    };
    QImage image = blank(16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb left = at(0, x, y);
            const QRgb right = at(4, x, y);
            const QRgb front = y < 8 ? left : right;
            const QRgb shown = left != 0 && right != 0 ? front : left != 0 ? left : right;
            if (shown != 0) {
                image.setPixel(x, y, shown);
            }
        }
    }
    return image;
}

// The emblem's tree in 256 units: a root, two children, four grandchildren.
void emblemTree(QPainter& p, QColor branch, QColor node, QColor rim) {
    const QPointF root(128, 196);
    const QPointF kids[] = {{78, 122}, {178, 122}};
    const QPointF grandkids[] = {{46, 58}, {104, 58}, {152, 58}, {210, 58}};
    QPen pen(branch, 14);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
        QPainterPath path(root);
        path.cubicTo(QPointF(root.x(), 160), QPointF(kids[i].x(), 160), kids[i]);
        p.drawPath(path);
        for (int j = 0; j < 2; ++j) {
            QPainterPath twig(kids[i]);
            const QPointF end = grandkids[2 * i + j];
            twig.cubicTo(QPointF(kids[i].x(), 92), QPointF(end.x(), 92), end);
            p.drawPath(twig);
        }
    }
    p.setPen(QPen(rim, 6));
    p.setBrush(node);
    p.drawEllipse(root, 24, 24);
    for (const QPointF& k : kids) {
        p.drawEllipse(k, 20, 20);
    }
    for (const QPointF& g : grandkids) {
        p.drawEllipse(g, 17, 17);
    }
}

// The program's icon in a 256-unit square.
void paintProgramIcon(QPainter& p) {
    QLinearGradient fill(0, 8, 0, 248);
    fill.setColorAt(0, QColor(0x3f, 0x94, 0x5e));
    fill.setColorAt(1, QColor(0x1c, 0x52, 0x33));
    p.setPen(QPen(QColor(0x12, 0x3a, 0x22), 6));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 46, 46);
    emblemTree(p, QColor(0xf6, 0xee, 0xd6), QColor(0xf2, 0xc1, 0x4e), QColor(0xf6, 0xee, 0xd6));
}

// A GEDCOM document's icon in a 256-unit square.
void paintDocumentIcon(QPainter& p) {
    QPainterPath page;
    page.moveTo(40, 8);
    page.lineTo(168, 8);
    page.lineTo(224, 64);
    page.lineTo(224, 248);
    page.lineTo(40, 248);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(168, 8);
    fold.lineTo(168, 64);
    fold.lineTo(224, 64);
    p.setBrush(QColor(0xd8, 0xd8, 0xd8));
    p.drawPath(fold);
    p.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 10, Qt::SolidLine, Qt::RoundCap));
    for (const double y : {40.0, 64.0}) {
        p.drawLine(QPointF(68, y), QPointF(140, y));
    }
    // The emblem's tree at 70 %, centred below the text lines.
    p.translate(42.4, 73);
    p.scale(0.7, 0.7);
    emblemTree(p, QColor(0x2e, 0x7d, 0x4a), QColor(0xf2, 0xc1, 0x4e), QColor(0x2e, 0x7d, 0x4a));
}

using Drawing = void (*)(QPainter&);

QImage rendered(Drawing draw, int size) {
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    draw(p);
    return image;
}

QImage programIcon(int size) {
    return rendered(paintProgramIcon, size);
}

QImage documentIcon(int size) {
    return rendered(paintDocumentIcon, size);
}

// The same drawing as a scalable icon for the desktop's theme.
bool saveSvg(Drawing draw, const QString& path, const QString& title) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(256, 256));
    svg.setViewBox(QRect(0, 0, 256, 256));
    svg.setTitle(title);
    QPainter p;
    if (!p.begin(&svg)) {
        std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return p.end();
}

// Replaces every pixel of colour `marker` by a vertical blend from `top` to `bottom`.
void shadeVertically(QImage& image, QRgb marker, QColor top, QColor bottom) {
    for (int y = 0; y < image.height(); ++y) {
        const double t = static_cast<double>(y) / (image.height() - 1);
        const QColor mix = QColor::fromRgbF(static_cast<float>(top.redF() + t * (bottom.redF() - top.redF())),
                                            static_cast<float>(top.greenF() + t * (bottom.greenF() - top.greenF())),
                                            static_cast<float>(top.blueF() + t * (bottom.blueF() - top.blueF())));
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == marker) {
                image.setPixel(x, y, mix.rgb());
            }
        }
    }
}

QImage programIcon16() {
    QImage image = fromGrid({"..DDDDDDDDDDDD..", ".DGGGGGGGGGGGGD.", "DGGGGGGGGGGGGGGD", "DGooGooGGooGooGD",
                             "DGooGooGGooGooGD", "DGGcGcGGGGcGcGGD", "DGGooGGGGGGooGGD", "DGGooGGGGGGooGGD",
                             "DGGGGcGGGGcGGGGD", "DGGGGGcGGcGGGGGD", "DGGGGGGooGGGGGGD", "DGGGGGGooGGGGGGD",
                             "DGGGGGGGGGGGGGGD", "DGGGGGGGGGGGGGGD", ".DGGGGGGGGGGGGD.", "..DDDDDDDDDDDD.."},
                            {{'D', 0xff123a22}, {'G', 0xff010203}, {'o', 0xfff2c14e}, {'c', 0xfff6eed6}});
    shadeVertically(image, 0xff010203, QColor(0x46, 0x9e, 0x66), QColor(0x1c, 0x52, 0x33));
    return image;
}

QImage documentIcon16() {
    return fromGrid({"..KKKKKKKKK.....", "..KWWWWWWWKK....", "..KWkkkkWWKfK...", "..KWWWWWWWKffK..", "..KWkkkkkWKKKK..",
                     "..KWWWWWWWWWWK..", "..KgWWgWWgWWgK..", "..KWooWWWWooWK..", "..KWooWWWWooWK..", "..KWWWgWWgWWWK..",
                     "..KWWWWooWWWWK..", "..KWWWWooWWWWK..", "..KWWWWWWWWWWK..", "..KWWWWWWWWWWK..", "..KWWWWWWWWWWK..",
                     "..KKKKKKKKKKKK.."},
                    {{'K', 0xff606060},
                     {'W', 0xffffffff},
                     {'k', 0xffb0b0b0},
                     {'f', 0xffd8d8d8},
                     {'g', 0xff2e7d4a},
                     {'o', 0xffd89a10}});
}

// Pixel art for the panel sizes (22 and 24), where the painted icons blur:
// crisp one-pixel outlines and branches, square nodes.
void pixelLine(QImage& image, QPoint from, QPoint to, QRgb colour) {
    const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
    for (int i = 0; i <= steps; ++i) {
        const double t = steps == 0 ? 0.0 : static_cast<double>(i) / steps;
        image.setPixel(static_cast<int>(std::lround(from.x() + t * (to.x() - from.x()))),
                       static_cast<int>(std::lround(from.y() + t * (to.y() - from.y()))), colour);
    }
}

void pixelSquare(QImage& image, QRect square, QRgb colour) {
    const bool round = square.width() >= 4; // a 4-pixel node loses its corners
    for (int y = square.top(); y <= square.bottom(); ++y) {
        for (int x = square.left(); x <= square.right(); ++x) {
            const bool corner =
                (x == square.left() || x == square.right()) && (y == square.top() || y == square.bottom());
            if (!(round && corner)) {
                image.setPixel(x, y, colour);
            }
        }
    }
}

// The emblem's tree: four grandchildren, two children and the root, each
// given by its top-left corner and side; branches join the middles of facing sides.
struct PixelTree {
    std::array<QRect, 4> grandkids;
    std::array<QRect, 2> kids;
    QRect root;
};

void pixelTree(QImage& image, const PixelTree& tree, QRgb branch, QRgb node) {
    const auto top = [](const QRect& r) { return QPoint(r.left() + (r.width() - 1) / 2, r.top() - 1); };
    const auto bottom = [](const QRect& r) { return QPoint(r.left() + (r.width() - 1) / 2, r.bottom() + 1); };
    for (int i = 0; i < 4; ++i) {
        const QRect& kid = tree.kids[static_cast<std::size_t>(i / 2)];
        pixelLine(image, bottom(tree.grandkids[static_cast<std::size_t>(i)]), top(kid), branch);
    }
    for (const QRect& kid : tree.kids) {
        pixelLine(image, bottom(kid), top(tree.root), branch);
    }
    for (const QRect& r : tree.grandkids) {
        pixelSquare(image, r, node);
    }
    for (const QRect& r : tree.kids) {
        pixelSquare(image, r, node);
    }
    pixelSquare(image, tree.root, node);
}

// Mirrors a node across the icon's middle, so that both halves match.
QRect mirrored(const QRect& r, int size) {
    return QRect(size - 1 - r.right(), r.top(), r.width(), r.height());
}

PixelTree symmetricTree(int size, QRect grandkidOuter, QRect grandkidInner, QRect kid, QRect root) {
    return {{grandkidOuter, grandkidInner, mirrored(grandkidInner, size), mirrored(grandkidOuter, size)},
            {kid, mirrored(kid, size)},
            root};
}

QImage programIconPixels(int size) {
    QImage image = blank(size);
    const double radius = size / 6.0;
    const auto inside = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= size || y >= size) {
            return false;
        }
        const double cx = std::clamp(x + 0.5, radius, size - radius);
        const double cy = std::clamp(y + 0.5, radius, size - radius);
        return std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius;
    };
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (inside(x, y)) {
                const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
                image.setPixel(x, y, edge ? 0xff123a22 : 0xff010203);
            }
        }
    }
    shadeVertically(image, 0xff010203, QColor(0x46, 0x9e, 0x66), QColor(0x1c, 0x52, 0x33));
    const PixelTree tree = size == 24 ? symmetricTree(24, {3, 4, 2, 2}, {8, 4, 2, 2}, {5, 10, 3, 3}, {10, 16, 4, 4})
                                      : symmetricTree(22, {3, 4, 2, 2}, {7, 4, 2, 2}, {4, 9, 3, 3}, {9, 15, 4, 4});
    pixelTree(image, tree, 0xfff6eed6, 0xfff2c14e);
    return image;
}

QImage documentIconPixels(int size) {
    QImage image = blank(size);
    const int left = 3;
    const int right = size - 4;
    const int fold = 5;
    for (int y = 0; y < size; ++y) {
        // The page's right edge, cut by the folded corner at the top.
        const int edge = y < fold ? right - fold + y : right;
        for (int x = left; x <= edge; ++x) {
            const bool outline = x == left || x == edge || y == 0 || y == size - 1;
            image.setPixel(x, y, outline ? 0xff606060 : 0xffffffff);
        }
    }
    for (int y = 0; y <= fold; ++y) {
        for (int x = right - fold; x <= right - fold + y; ++x) {
            const bool outline = x == right - fold || y == fold || x == right - fold + y;
            image.setPixel(x, y, outline ? 0xff606060 : 0xffd8d8d8);
        }
    }
    for (const int y : {3, 5}) {
        pixelLine(image, QPoint(left + 3, y), QPoint(right - fold - 2, y), 0xffb0b0b0);
    }
    const PixelTree tree = size == 24 ? symmetricTree(24, {5, 9, 2, 2}, {9, 9, 2, 2}, {7, 13, 2, 2}, {10, 17, 4, 4})
                                      : symmetricTree(22, {5, 8, 2, 2}, {8, 8, 2, 2}, {6, 12, 2, 2}, {9, 16, 4, 4});
    pixelTree(image, tree, 0xff2e7d4a, 0xffd89a10);
    return image;
}

bool save(const QImage& image, const QString& path) {
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    return true;
}

void checker(QPainter& p, const QRect& rect) {
    const int step = 8;
    for (int y = rect.top(); y <= rect.bottom(); y += step) {
        for (int x = rect.left(); x <= rect.right(); x += step) {
            const bool dark = ((x - rect.left()) / step + (y - rect.top()) / step) % 2 != 0;
            p.fillRect(QRect(x, y, step, step).intersected(rect), dark ? QColor(0xcc, 0xcc, 0xcc) : Qt::white);
        }
    }
}

// Every image enlarged on a checkerboard, with its name (the 256-pixel icons
// at their real size in the last row), and the 16-pixel images once more at
// their real size on a light and on a dark bar.
QImage contactSheet(const std::vector<std::pair<QString, QImage>>& images) {
    const int cell = 140;
    const int columns = 7;
    int small = 0;
    for (const auto& entry : images) {
        small += entry.second.width() <= 48 ? 1 : 0;
    }
    const int rows = (small + columns - 1) / columns;
    const int largeTop = rows * cell;
    const int barTop = largeTop + 280;
    QImage sheet(columns * cell, barTop + 40, QImage::Format_ARGB32);
    sheet.fill(QColor(0xf0, 0xf0, 0xf0));
    QPainter p(&sheet);
    QFont font;
    font.setPixelSize(11);
    p.setFont(font);
    int i = 0;
    int largeLeft = 6;
    for (const auto& [name, image] : images) {
        QRect target;
        QPoint label;
        if (image.width() <= 48) {
            const int zoom = 128 / image.width();
            target =
                QRect((i % columns) * cell + 6, (i / columns) * cell + 4, image.width() * zoom, image.height() * zoom);
            label = QPoint(target.left(), (i / columns) * cell + cell - 4);
            ++i;
        } else {
            target = QRect(largeLeft, largeTop + 4, image.width(), image.height());
            label = QPoint(largeLeft, largeTop + 274);
            largeLeft += image.width() + 20;
        }
        checker(p, target);
        p.drawImage(target, image);
        p.setPen(Qt::black);
        p.drawText(label, name);
    }
    p.fillRect(QRect(0, barTop, sheet.width() / 2, 30), QColor(0xef, 0xef, 0xef));
    p.fillRect(QRect(sheet.width() / 2, barTop, sheet.width() / 2, 30), QColor(0x30, 0x30, 0x30));
    for (int half = 0; half < 2; ++half) {
        int x = half * sheet.width() / 2 + 8;
        for (const auto& entry : images) {
            if (entry.second.width() <= 32) {
                p.drawImage(QPoint(x, barTop + (30 - entry.second.height()) / 2), entry.second);
                x += entry.second.width() + 7;
            }
        }
    }
    return sheet;
}

// The desktop theme's copies, installed with the program: every size a
// panel, a menu or a file manager asks for, and the scalable drawing.
bool saveTheme(const QDir& res) {
    const QString theme = QStringLiteral("icons/hicolor/");
    const QString appName = QStringLiteral("/apps/stirpex");
    const QString documentName = QStringLiteral("/mimetypes/text-vnd.familysearch.gedcom");
    bool ok = true;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString folder = theme + QStringLiteral("%1x%1").arg(size);
        res.mkpath(folder + QStringLiteral("/apps"));
        res.mkpath(folder + QStringLiteral("/mimetypes"));
        const QImage program = size == 16 ? programIcon16() : size < 32 ? programIconPixels(size) : programIcon(size);
        const QImage document = size == 16  ? documentIcon16()
                                : size < 32 ? documentIconPixels(size)
                                            : documentIcon(size);
        ok = save(program, res.filePath(folder + appName + ".png")) && ok;
        ok = save(document, res.filePath(folder + documentName + ".png")) && ok;
    }
    const QString scalable = theme + QStringLiteral("scalable");
    res.mkpath(scalable + QStringLiteral("/apps"));
    res.mkpath(scalable + QStringLiteral("/mimetypes"));
    ok = saveSvg(paintProgramIcon, res.filePath(scalable + appName + ".svg"), QStringLiteral("Stirpex")) && ok;
    ok =
        saveSvg(paintDocumentIcon, res.filePath(scalable + documentName + ".svg"), QStringLiteral("Gedcom Document")) &&
        ok;
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: draw_icons RES_DIR SHEET.png\n");
        return 2;
    }
    const QDir res(QString::fromLocal8Bit(argv[1]));
    for (const char* folder : {"toolbar", "tree", "app"}) {
        res.mkpath(QString::fromLatin1(folder));
    }
    std::vector<std::pair<QString, QImage>> images = {
        {QStringLiteral("toolbar/open.png"), openFolder()},
        {QStringLiteral("toolbar/find.png"), magnifier()},
        {QStringLiteral("toolbar/descendants.png"), descendants()},
        {QStringLiteral("toolbar/ancestors.png"), pedigree()},
        {QStringLiteral("toolbar/mtdna.png"), helix(0xffe82020, 0xff981010, 0xfff0a0a0)},
        {QStringLiteral("toolbar/ychromosome.png"), helix(0xff2048e8, 0xff102498, 0xffa0b4f0)},
        {QStringLiteral("toolbar/chart-pedigree.png"), pedigreeChart()},
        {QStringLiteral("toolbar/chart-descendants.png"), descendantsChart()},
        {QStringLiteral("toolbar/chart-hourglass.png"), hourglassChart()},
        {QStringLiteral("toolbar/chart-fan.png"), fanChart(16)},
        {QStringLiteral("toolbar/print.png"), printer()},
        {QStringLiteral("toolbar/about.png"), aboutBadge()},
        {QStringLiteral("toolbar/back.png"), arrow(false)},
        {QStringLiteral("toolbar/forward.png"), arrow(true)},
        {QStringLiteral("toolbar/home.png"), house()},
        {QStringLiteral("tree/partner.png"), rings()},
        {QStringLiteral("tree/male.png"), runner(0xff0000ff)},
        {QStringLiteral("tree/female.png"), runner(0xffff0000)},
    };
    for (const int size : {16, 32, 48, 256}) {
        images.emplace_back(QStringLiteral("app/stirpex-%1.png").arg(size),
                            size == 16 ? programIcon16() : programIcon(size));
    }
    for (const int size : {16, 32, 48, 256}) {
        images.emplace_back(QStringLiteral("app/document-%1.png").arg(size),
                            size == 16 ? documentIcon16() : documentIcon(size));
    }
    bool ok = true;
    for (const auto& [name, image] : images) {
        ok = save(image, res.filePath(name)) && ok;
        // Twice the size for a screen of two pixels to the point, every pixel doubled: Qt's own
        // enlargement would smooth the pixel art into a blur.
        if (name.startsWith(QStringLiteral("toolbar/")) || name.startsWith(QStringLiteral("tree/"))) {
            const QImage doubled = name.endsWith(QStringLiteral("chart-fan.png"))
                                       ? fanChart(32)
                                       : image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            ok =
                save(doubled, res.filePath(QString(name).replace(QStringLiteral(".png"), QStringLiteral("@2x.png")))) &&
                ok;
        }
    }
    ok = saveTheme(res) && ok;
    ok = save(contactSheet(images), QString::fromLocal8Bit(argv[2])) && ok;
    return ok ? 0 : 1;
}
