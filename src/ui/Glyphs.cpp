#include "ui/Glyphs.h"

#include <QImage>
#include <QPainter>
#include <cstring>

namespace stipple::ui {

namespace {

// One letter per pixel; '.' is transparent.
QRgb letterColour(char letter) {
    switch (letter) {
        case 'k':
            return qRgb(0x00, 0x00, 0x00);
        case 'g':
            return qRgb(0x80, 0x80, 0x80);
        case 'l':
            return qRgb(0xC0, 0xC0, 0xC0);
        case 'w':
            return qRgb(0xFF, 0xFF, 0xFF);
        case 'r':
            return qRgb(0xC0, 0x00, 0x00);
        case 'R':
            return qRgb(0xFF, 0x40, 0x40);
        case 'p':
            return qRgb(0xFF, 0x96, 0x96);
        case 'y':
            return qRgb(0xF0, 0xC8, 0x40);
        case 'o':
            return qRgb(0xB0, 0x70, 0x30);
        case 'd':
            return qRgb(0x80, 0x60, 0x00);
        case 'b':
            return qRgb(0x00, 0x00, 0xC0);
        case 'c':
            return qRgb(0x40, 0x80, 0xFF);
        case 's':
            return qRgb(0xA6, 0xCA, 0xF0);
        case 't':
            return qRgb(0x00, 0x80, 0x80);
        case 'e':
            return qRgb(0x00, 0x80, 0x00);
        case 'E':
            return qRgb(0x40, 0xC0, 0x40);
        default:
            return qRgba(0, 0, 0, 0);
    }
}

const char* const kPen[] = {
    "................", "............kk..", "...........kppk.", "..........kpppk.",
    ".........klllk..", "........kgggk...", ".......kyyok....", "......kyyok.....",
    ".....kyyok......", "....kyyok.......", "...kyyok........", "..kwwok.........",
    "..kwok..........", ".kkkk...........", ".kk.............", "................",
};

const char* const kBucket[] = {
    "................", "......kkk.......", ".....k...k......", ".....k..kwk.....",
    ".....k.kwwwk....", "....kkkwwwwwk...", "...kbkwwwwwwlk..", "..kbbbkwwwwwllk.",
    ".kbbbbbkwwwllgk.", ".kbbbbbbkwllgk..", ".kbbbb.bbkggk...", ".kbbbk..bbkk....",
    "..kbbk..........", "..kbbk..........", "...kk...........", "................",
};

const char* const kPipe[] = {
    "................", "............kk..", "...........kkkk.", "..........kkkkk.",
    ".........kgkkk..", "........kllgk...", ".......kwwlk....", "......kwwlk.....",
    ".....kwwlk......", "....kcwlk.......", "...kcclk........", "..kcclk.........",
    ".kcck...........", ".kck............", ".kk.............", "................",
};

const char* const kChangeColour[] = {
    "................", ".kkkkkk.........", ".kkkkkk.rrrr....", ".kkkkkk.....r...",
    ".kkkkkk.....r...", ".kkkkkk.....r...", ".kkkkkk...rrrrr.", "...r.......rrr..",
    "..rrr.......r...", ".rrrrr...kkkkkk.", "...r.....kwwwwk.", "...r.....kwwwwk.",
    "...r.....kwwwwk.", "....rrrr.kwwwwk.", ".........kkkkkk.", "................",
};

const char* const kSelectBox[] = {
    "................", "................", ".kk.kk.kk.kk.kk.", ".k............k.",
    "................", ".k............k.", ".k............k.", "................",
    ".k............k.", ".k............k.", "................", ".k............k.",
    ".k............k.", ".kk.kk.kk.kk.kk.", "................", "................",
};

const char* const kNew[] = {
    "................", "..kkkkkkkk......", "..kwwwwwwkk.....", "..kwwwwwwklk....",
    "..kwwwwwwkllk...", "..kwwwwwwkkkkk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kkkkkkkkkkkk..", "................",
};

const char* const kOpen[] = {
    "................", "................", "................", ".kkkk...........",
    "kddddk..........", "kdddddkkkkkkk...", "kdddddddddddk...", "kdddkkkkkkkkkkkk",
    "kddkyyyyyyyyyyk.", "kddkyyyyyyyyyk..", "kdkyyyyyyyyyyk..", "kdkyyyyyyyyyk...",
    "kkyyyyyyyyyyk...", "kkkkkkkkkkkk....", "................", "................",
};

const char* const kOpenBitmap[] = {
    "................", "................", "kkkkkkkkkkkkkkkk", "kssssssssssyyssk",
    "ksssssssssyyyysk", "kssssssssssyyssk", "ksssssessssssssk", "kssssEEEsssssssk",
    "ksssEEEEEsssessk", "kssEEEEEEEseeesk", "ksEEEEEEEEEeeeek", "keeeeeeeeeeeeeek",
    "keeeeeeeeeeeeeek", "kkkkkkkkkkkkkkkk", "................", "................",
};

const char* const kSave[] = {
    "................", ".kkkkkkkkkkkkkk.", ".kbkwwwwwwwwkbk.", ".kbkwwwwwwwwkbk.",
    ".kbkwllllllwkbk.", ".kbkwwwwwwwwkbk.", ".kbkwllllllwkbk.", ".kbkkkkkkkkkkbk.",
    ".kbbbbbbbbbbbbk.", ".kbbkkkkkkkkbbk.", ".kbbkllggllkbbk.", ".kbbkllggllkbbk.",
    ".kbbkllggllkbbk.", ".kbbkllllllkbbk.", ".kkkkkkkkkkkkkk.", "................",
};

const char* const kSaveToEnd[] = {
    "................", ".kkkkkkkkk......", ".kwwwwwwwk......", ".kwgggggwk..bb..",
    ".kwwwwwwwk..bb..", ".kwgggggwk..bb..", ".kwwwwwwwk..bb..", ".kwggggwwk..bb..",
    ".kwwwwwwwk..bb..", ".kwgggggwk..bb..", ".kwwwwwwwkbbbbbb", ".kwrrrrrwk.bbbb.",
    ".kwwwwwwwk..bb..", ".kkkkkkkkk......", "................", "................",
};

const char* const kUndo[] = {
    "................", "................", "................", "....b...........",
    "...bb...........", "..bbbbbbbbb.....", ".bbbbbbbbbbbb...", "..bbbbbbbbbbbb..",
    "...bb......bbb..", "....b.......bbb.", "............bbb.", "............bbb.",
    "...........bbb..", ".......bbbbbb...", ".......bbbbb....", "................",
};

const char* const kClipboardPanel[] = {
    "......kkkk......", ".kkkkgllllgkkkk.", ".kookggggggkook.", ".kowwwwwwwwwwok.",
    ".kowgggggggwwok.", ".kowwwwwwwwwwok.", ".kowgggggwwwwok.", ".kowwwwwwwwwwok.",
    ".kowggggggwwwok.", ".kowwwwwwwwwwok.", ".kowgggggggwwok.", ".kowwwwwwwwwwok.",
    ".kowwwwwwwwwwok.", ".kooooooooooook.", ".kkkkkkkkkkkkkk.", "................",
};

const char* const kAlign[] = {
    "................", "................", ".............r..", ".bbbbbbbllll.r..",
    ".bbbbbbbllll.r..", ".............r..", ".bbbbbbbbbbb.r..", ".bbbbbbbbbbb.r..",
    ".............r..", ".bbbbbllllll.r..", ".bbbbbllllll.r..", ".............r..",
    ".bbbbbbbbbll.r..", ".bbbbbbbbbll.r..", ".............r..", "................",
};

const char* const kExportCpp[] = {
    "......kkkk......", ".kkkkgllllgkkkk.", ".kookggggggkook.", ".kwwwwwwwwwwwwk.",
    ".kwbbbwwwwwwwwk.", ".kbbwbwwwwwwwwk.", ".kbbwwwwbwwwbwk.", ".kbbwwwbbbwbbbk.",
    ".kbbwwwwbwwwbwk.", ".kbbwwwwwwwwwwk.", ".kbbwbwwwwwwwwk.", ".kwbbbwwwwwwwwk.",
    ".kwwwwwwwwwwwwk.", ".kwwwwwwwwwwwwk.", ".kkkkkkkkkkkkkk.", "................",
};

const char* const kExport1[] = {
    "......kkkk......", ".kkkkgllllgkkkk.", ".kookggggggkook.", ".kwwwwwwwwwwwwk.",
    ".kwwwwwbbwwwwwk.", ".kwwwwbbbwwwwwk.", ".kwwwbbbbwwwwwk.", ".kwwwwwbbwwwwwk.",
    ".kwwwwwbbwwwwwk.", ".kwwwwwbbwwwwwk.", ".kwwwwwbbwwwwwk.", ".kwwwbbbbbbwwwk.",
    ".kwwwwwwwwwwwwk.", ".kwwwwwwwwwwwwk.", ".kkkkkkkkkkkkkk.", "................",
};

const char* const kExport2[] = {
    "......kkkk......", ".kkkkgllllgkkkk.", ".kookggggggkook.", ".kwwwwwwwwwwwwk.",
    ".kwwwwbbbbwwwwk.", ".kwwwbbwwbbwwwk.", ".kwwwwwwwbbwwwk.", ".kwwwwwwbbwwwwk.",
    ".kwwwwwbbwwwwwk.", ".kwwwwbbwwwwwwk.", ".kwwwbbwwwwwwwk.", ".kwwwbbbbbbwwwk.",
    ".kwwwwwwwwwwwwk.", ".kwwwwwwwwwwwwk.", ".kkkkkkkkkkkkkk.", "................",
};

const char* const kExport4[] = {
    "......kkkk......", ".kkkkgllllgkkkk.", ".kookggggggkook.", ".kwwwwwwwwwwwwk.",
    ".kwwwwwwbbwwwwk.", ".kwwwwwbbbwwwwk.", ".kwwwwbwbbwwwwk.", ".kwwwbwwbbwwwwk.",
    ".kwwwbbbbbbwwwk.", ".kwwwwwwbbwwwwk.", ".kwwwwwwbbwwwwk.", ".kwwwwwwbbwwwwk.",
    ".kwwwwwwwwwwwwk.", ".kwwwwwwwwwwwwk.", ".kkkkkkkkkkkkkk.", "................",
};

const char* const kExport8[] = {
    "......kkkk......", ".kkkkgllllgkkkk.", ".kookggggggkook.", ".kwwwwwwwwwwwwk.",
    ".kwwwwbbbbwwwwk.", ".kwwwbbwwbbwwwk.", ".kwwwbbwwbbwwwk.", ".kwwwwbbbbwwwwk.",
    ".kwwwbbwwbbwwwk.", ".kwwwbbwwbbwwwk.", ".kwwwbbwwbbwwwk.", ".kwwwwbbbbwwwwk.",
    ".kwwwwwwwwwwwwk.", ".kwwwwwwwwwwwwk.", ".kkkkkkkkkkkkkk.", "................",
};

const char* const kSetSize[] = {
    ".....b.......b..", "....bbbbbbbbbbb.", ".....b.......b..", "................",
    ".b..kkkkkkkkkkk.", "bbb.ktttttttttk.", ".b..ktttttttttk.", ".b..ktttttttttk.",
    ".b..ktttttttttk.", ".b..ktttttttttk.", ".b..ktttttttttk.", ".b..ktttttttttk.",
    ".b..ktttttttttk.", "bbb.ktttttttttk.", ".b..kkkkkkkkkkk.", "................",
};

const char* const kClear[] = {
    "................", ".kkkkkkkkkkkkkk.", ".krrwwwwwwwwrrk.", ".kwrrwwwwwwrrwk.",
    ".kwwrrwwwwrrwwk.", ".kwwwrrwwrrwwwk.", ".kwwwwrrrrwwwwk.", ".kwwwwwrrwwwwwk.",
    ".kwwwwwrrwwwwwk.", ".kwwwwrrrrwwwwk.", ".kwwwrrwwrrwwwk.", ".kwwrrwwwwrrwwk.",
    ".kwrrwwwwwwrrwk.", ".krrwwwwwwwwrrk.", ".kkkkkkkkkkkkkk.", "................",
};

const char* const kGrid[] = {
    "................", "................", "..ggggggggggggg.", "..gtttgtttgtttg.",
    "..gtttgtttgtttg.", "..gtttgtttgtttg.", "..ggggggggggggg.", "..gtttgtttgtttg.",
    "..gtttgtttgtttg.", "..gtttgtttgtttg.", "..ggggggggggggg.", "..gtttgtttgtttg.",
    "..gtttgtttgtttg.", "..gtttgtttgtttg.", "..ggggggggggggg.", "................",
};

const char* const kBorder[] = {
    "................", ".RRRRRRRRRRRRRR.", ".RttttttttttttR.", ".RttttttttttttR.",
    ".RttttttttttttR.", ".RttttttttttttR.", ".RttttttttttttR.", ".RttttttttttttR.",
    ".RttttttttttttR.", ".RttttttttttttR.", ".RttttttttttttR.", ".RttttttttttttR.",
    ".RttttttttttttR.", ".RttttttttttttR.", ".RRRRRRRRRRRRRR.", "................",
};

const char* const kExit[] = {
    "................", ".....kkkkkkkkk..", ".....kooooooook.", ".....kooooooook.",
    ".....kooooooook.", ".....kooooooook.", "..r..kooooooook.", ".rr..kooooooook.",
    "rrrrrrrrrooyook.", ".rr..kooooooook.", "..r..kooooooook.", ".....kooooooook.",
    ".....kooooooook.", ".....kooooooook.", ".....kkkkkkkkkk.", "................",
};

const char* const kSelectArrow[] = {
    "................", "...k............", "...kk...........", "...kwk..........",
    "...kwwk.........", "...kwwwk........", "...kwwwwk.......", "...kwwwwwk......",
    "...kwwwwwwk.....", "...kwwwwwwwk....", "...kwwwwkkkkk...", "...kwwkwwk......",
    "...kwk.kwwk.....", "...kk...kwwk....", "........kwwk....", ".........kk.....",
};

const char* const kPaste[] = {
    "....kkkk........", ".kkkgllgkkk.....", ".koggggggok.....", ".kooooooook.....",
    ".kooookkkkkkkkk.", ".kooookwwwwwwwk.", ".kooookwtttttwk.", ".kooookwtwwwtwk.",
    ".kooookwtwwwtwk.", ".kooookwtttttwk.", ".kooookwwwwwwwk.", ".kooookwwwwwwwk.",
    ".kkkkkkwwwwwwwk.", "......kwwwwwwwk.", "......kkkkkkkkk.", "................",
};

const char* const kSaveSelection[] = {
    "kk.kk.kk.kk.....", "k.........k.....", "................", "k.........k.....",
    "k.........k.....", ".....kkkkkkkkkkk", "k....kbkwwwwwkbk", "k....kbkwwwwwkbk",
    ".....kbkwggwwkbk", "k....kbkkkkkkkbk", "kk.kkkbbbbbbbbbk", ".....kbbkkkkkbbk",
    ".....kbbklglkbbk", ".....kbbklglkbbk", ".....kbbklllkbbk", ".....kkkkkkkkkkk",
};

const char* const kClearSelection[] = {
    "................", "................", ".kk.kk.kk.kk.kk.", ".k............k.",
    "....rr....rr....", ".k...rr..rr...k.", ".k....rrrr....k.", ".......rr.......",
    ".k.....rr.....k.", ".k....rrrr....k.", ".....rr..rr.....", ".k..rr....rr..k.",
    ".k............k.", ".kk.kk.kk.kk.kk.", "................", "................",
};

const char* const kCrop[] = {
    "....kk..........", "....kk..........", "....kk..........", "....kk..........",
    "gggggggggggg....", "gggggggggggg....", "....kkttttgg....", "....kkttttgg....",
    "....kkttttgg....", "....kkttttgg....", "....kkkkkkggkkkk", "....kkkkkkggkkkk",
    "..........gg....", "..........gg....", "..........gg....", "..........gg....",
};

const char* const kRotateLeft[] = {
    ".......b........", "......bb........", ".....bbb........", "....bbbbbbb.....",
    "....bbbbbbbb....", ".....bbb..bbb...", "......bb...bbb..", ".......b....bb..",
    "...bb.......bb..", "...bb.......bb..", "...bbb.....bbb..", "....bbb...bbb...",
    ".....bbbbbbb....", "......bbbbb.....", "................", "................",
};

const char* const kRotateRight[] = {
    "........b.......", "........bb......", "........bbb.....", ".....bbbbbbb....",
    "....bbbbbbbb....", "...bbb..bbb.....", "..bbb...bb......", "..bb....b.......",
    "..bb.......bb...", "..bb.......bb...", "..bbb.....bbb...", "...bbb...bbb....",
    "....bbbbbbb.....", ".....bbbbb......", "................", "................",
};

// Mirrored about the horizontal axis: the filled shape above, its image below.
const char* const kFlipHorizontally[] = {
    "................", ".......bb.......", "......bbbb......", ".....bbbbbb.....",
    "....bbbbbbbb....", "...bbbbbbbbbb...", "................", ".kk.kk.kk.kk.kk.",
    "................", "...bbbbbbbbbb...", "....b......b....", ".....b....b.....",
    "......b..b......", ".......bb.......", "................", "................",
};

// Mirrored about the vertical axis: the filled shape left, its image right.
const char* const kFlipVertically[] = {
    "................", ".......k........", ".......k........", ".....b...b......",
    "....bb.k.bb.....", "...bbb.k.b.b....", "..bbbb...b..b...", ".bbbbb.k.b...b..",
    ".bbbbb.k.b...b..", "..bbbb...b..b...", "...bbb.k.b.b....", "....bb.k.bb.....",
    ".....b...b......", ".......k........", ".......k........", "................",
};

const char* const kArrowUp[] = {
    "...k...",
    "..kkk..",
    ".kkkkk.",
    "kkkkkkk",
};

const char* const kArrowDown[] = {
    "kkkkkkk",
    ".kkkkk.",
    "..kkk..",
    "...k...",
};

struct Drawing {
    const char* const* rows;
    int height;
};

template <int N>
constexpr Drawing drawing(const char* const (&rows)[N]) {
    return {rows, N};
}

Drawing drawingOf(Glyph glyph) {
    switch (glyph) {
        case Glyph::Pen:
            return drawing(kPen);
        case Glyph::Bucket:
            return drawing(kBucket);
        case Glyph::Pipe:
            return drawing(kPipe);
        case Glyph::ChangeColour:
            return drawing(kChangeColour);
        case Glyph::SelectBox:
            return drawing(kSelectBox);
        case Glyph::New:
            return drawing(kNew);
        case Glyph::Open:
            return drawing(kOpen);
        case Glyph::OpenBitmap:
            return drawing(kOpenBitmap);
        case Glyph::Save:
            return drawing(kSave);
        case Glyph::SaveToEnd:
            return drawing(kSaveToEnd);
        case Glyph::Undo:
            return drawing(kUndo);
        case Glyph::ClipboardPanel:
            return drawing(kClipboardPanel);
        case Glyph::Align:
            return drawing(kAlign);
        case Glyph::ExportCpp:
            return drawing(kExportCpp);
        case Glyph::Export1:
            return drawing(kExport1);
        case Glyph::Export2:
            return drawing(kExport2);
        case Glyph::Export4:
            return drawing(kExport4);
        case Glyph::Export8:
            return drawing(kExport8);
        case Glyph::SetSize:
            return drawing(kSetSize);
        case Glyph::Clear:
            return drawing(kClear);
        case Glyph::Grid:
            return drawing(kGrid);
        case Glyph::Border:
            return drawing(kBorder);
        case Glyph::Exit:
            return drawing(kExit);
        case Glyph::SelectArrow:
            return drawing(kSelectArrow);
        case Glyph::Paste:
            return drawing(kPaste);
        case Glyph::SaveSelection:
            return drawing(kSaveSelection);
        case Glyph::ClearSelection:
            return drawing(kClearSelection);
        case Glyph::Crop:
            return drawing(kCrop);
        case Glyph::RotateLeft:
            return drawing(kRotateLeft);
        case Glyph::RotateRight:
            return drawing(kRotateRight);
        case Glyph::FlipHorizontally:
            return drawing(kFlipHorizontally);
        case Glyph::FlipVertically:
            return drawing(kFlipVertically);
        case Glyph::ArrowUp:
            return drawing(kArrowUp);
        case Glyph::ArrowDown:
            return drawing(kArrowDown);
    }
    return drawing(kPen);
}

}  // namespace

QPixmap glyphPixmap(Glyph glyph) {
    const Drawing d = drawingOf(glyph);
    const int width = static_cast<int>(std::strlen(d.rows[0]));
    QImage image(width, d.height, QImage::Format_ARGB32);
    for (int y = 0; y < d.height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, letterColour(d.rows[y][x]));
        }
    }
    return QPixmap::fromImage(image);
}

QIcon glyphIcon(Glyph glyph) {
    return QIcon(glyphPixmap(glyph));
}

QPixmap colourChip(QRgb colour, int size) {
    QPixmap chip(size, size);
    chip.fill(QColor(colour));
    QPainter painter(&chip);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawRect(0, 0, size - 1, size - 1);
    return chip;
}

}  // namespace stipple::ui
