#include "frame/ModuleBitmaps.h"

#include "frame/ModuleResources.h"

namespace
{
using ui::Bitmap;
using ui::Point;
using ui::Rect;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kGreen = RGB(0, 150, 0);
constexpr COLORREF kBlue = RGB(0, 70, 200);
constexpr COLORREF kYellow = RGB(240, 200, 60);
constexpr COLORREF kSky = RGB(150, 200, 255);

Bitmap icon()
{
    return Bitmap(16, 16, kButtonTransparent);
}

// A thick line: the line and its neighbour one pixel below.
void thickLine(Bitmap& b, Point from, Point to, COLORREF colour)
{
    b.line(from, to, colour);
    b.line({from.x, from.y + 1}, {to.x, to.y + 1}, colour);
}

// A filled arrow head pointing up (dy = -1) or down (dy = 1) with its tip at `tip`.
void arrowHeadVertical(Bitmap& b, Point tip, int dy, COLORREF colour)
{
    for (int i = 0; i < 5; ++i)
        b.line({tip.x - i, tip.y - dy * i}, {tip.x + i, tip.y - dy * i}, colour);
}

void arrowHeadHorizontal(Bitmap& b, Point tip, int dx, COLORREF colour)
{
    for (int i = 0; i < 5; ++i)
        b.line({tip.x - dx * i, tip.y - i}, {tip.x - dx * i, tip.y + i}, colour);
}

Bitmap checkBox(bool checked)
{
    Bitmap b(13, 13, kWhite);
    b.frameRect(Rect(0, 0, 13, 13), kGrey);
    if (checked)
    {
        thickLine(b, {3, 6}, {5, 8}, kBlack);
        thickLine(b, {5, 8}, {9, 3}, kBlack);
    }
    return b;
}

Bitmap designer()
{
    // A dialog: caption bar, a label line and an edit field.
    Bitmap b = icon();
    b.fillRect(Rect(1, 2, 15, 14), kLightGrey);
    b.frameRect(Rect(1, 2, 15, 14), kBlack);
    b.fillRect(Rect(2, 3, 14, 5), kBlue);
    b.line({3, 7}, {7, 7}, kBlack);
    b.fillRect(Rect(8, 6, 13, 9), kWhite);
    b.frameRect(Rect(3, 10, 9, 13), kBlack);
    return b;
}

Bitmap removeCross()
{
    Bitmap b = icon();
    thickLine(b, {3, 3}, {12, 12}, kRed);
    thickLine(b, {12, 3}, {3, 12}, kRed);
    return b;
}

Bitmap addPlus()
{
    Bitmap b = icon();
    b.fillRect(Rect(7, 2, 9, 14), kGreen);
    b.fillRect(Rect(2, 7, 14, 9), kGreen);
    return b;
}

Bitmap copyPages()
{
    Bitmap b = icon();
    b.fillRect(Rect(1, 1, 10, 11), kWhite);
    b.frameRect(Rect(1, 1, 10, 11), kBlack);
    b.fillRect(Rect(6, 5, 15, 15), kWhite);
    b.frameRect(Rect(6, 5, 15, 15), kBlack);
    return b;
}

Bitmap attachImage()
{
    // A framed picture of a sun over a hill.
    Bitmap b = icon();
    b.fillRect(Rect(1, 2, 15, 14), kSky);
    b.frameRect(Rect(1, 2, 15, 14), kBlack);
    b.fillRect(Rect(10, 4, 13, 7), kYellow);
    for (int x = 2; x < 14; ++x)
        b.line({x, 13}, {x, 8 + (x > 7 ? x - 7 : 7 - x) / 2}, kGreen);
    return b;
}

Bitmap openFolder()
{
    Bitmap b = icon();
    b.fillRect(Rect(1, 4, 7, 6), kYellow);
    b.fillRect(Rect(1, 6, 15, 14), kYellow);
    b.frameRect(Rect(1, 6, 15, 14), kBlack);
    return b;
}

Bitmap saveDisk()
{
    Bitmap b = icon();
    b.fillRect(Rect(1, 1, 15, 15), kBlue);
    b.fillRect(Rect(4, 1, 12, 6), kWhite);
    b.fillRect(Rect(4, 9, 12, 15), kLightGrey);
    b.frameRect(Rect(1, 1, 15, 15), kBlack);
    return b;
}

Bitmap editRules()
{
    // A list with a pencil across it.
    Bitmap b = icon();
    b.fillRect(Rect(1, 1, 11, 15), kWhite);
    b.frameRect(Rect(1, 1, 11, 15), kBlack);
    for (int y = 4; y < 13; y += 3)
        b.line({3, y}, {8, y}, kGrey);
    thickLine(b, {7, 13}, {14, 5}, kYellow);
    return b;
}

Bitmap setWidth()
{
    Bitmap b = icon();
    b.line({1, 3}, {1, 12}, kBlack);
    b.line({14, 3}, {14, 12}, kBlack);
    b.line({3, 7}, {12, 7}, kBlack);
    b.line({3, 8}, {12, 8}, kBlack);
    arrowHeadHorizontal(b, {3, 7}, -1, kBlack);
    arrowHeadHorizontal(b, {12, 7}, 1, kBlack);
    return b;
}

Bitmap setHeight()
{
    Bitmap b = icon();
    b.line({3, 1}, {12, 1}, kBlack);
    b.line({3, 14}, {12, 14}, kBlack);
    b.line({7, 3}, {7, 12}, kBlack);
    b.line({8, 3}, {8, 12}, kBlack);
    arrowHeadVertical(b, {7, 3}, -1, kBlack);
    arrowHeadVertical(b, {7, 12}, 1, kBlack);
    return b;
}

Bitmap flexFix()
{
    // A spring between two plates: the joint may move (flex) or is held (fix).
    Bitmap b = icon();
    b.fillRect(Rect(1, 1, 15, 3), kGrey);
    b.fillRect(Rect(1, 13, 15, 15), kGrey);
    for (int i = 0; i < 4; ++i)
    {
        const int y = 3 + i * 5 / 2;
        b.line({4, y}, {11, y + 1}, kBlack);
        b.line({11, y + 1}, {4, y + 2}, kBlack);
    }
    return b;
}

Bitmap pictureRow()
{
    Bitmap b(16, 16, kWhite);
    b.frameRect(Rect(1, 3, 15, 13), kBlack);
    b.fillRect(Rect(2, 4, 14, 12), kSky);
    b.fillRect(Rect(3, 8, 13, 12), kGreen);
    return b;
}

Bitmap moveArrow(bool up)
{
    Bitmap b = icon();
    b.fillRect(Rect(6, up ? 6 : 2, 10, up ? 14 : 10), kBlue);
    if (up)
        arrowHeadVertical(b, {7, 2}, -1, kBlue), arrowHeadVertical(b, {8, 2}, -1, kBlue);
    else
        arrowHeadVertical(b, {7, 13}, 1, kBlue), arrowHeadVertical(b, {8, 13}, 1, kBlue);
    return b;
}
} // namespace

void registerModuleBitmaps(ui::ResourceModule& module)
{
    module.addBitmap(IDB_CHECK_OFF, checkBox(false));
    module.addBitmap(IDB_CHECK_ON, checkBox(true));
    module.addBitmap(IDB_PICTURE_ROW, pictureRow());
    module.addIcon(IDI_DESIGNER, designer());
    module.addIcon(IDI_REMOVE, removeCross());
    module.addIcon(IDI_ADD, addPlus());
    module.addIcon(IDI_COPY, copyPages());
    module.addIcon(IDI_ATTACH_IMAGE, attachImage());
    module.addIcon(IDI_OPEN, openFolder());
    module.addIcon(IDI_SAVE_AS, saveDisk());
    module.addIcon(IDI_EDIT_RULES, editRules());
    module.addIcon(IDI_SET_WIDTH, setWidth());
    module.addIcon(IDI_SET_HEIGHT, setHeight());
    module.addIcon(IDI_FLEX_FIX, flexFix());
    module.addIcon(IDI_MOVE_UP, moveArrow(true));
    module.addIcon(IDI_MOVE_DOWN, moveArrow(false));
}
