#include "library/SectionLibraryIcons.h"

#include "frame/ModuleBitmaps.h"
#include "ui/Bitmap.h"

namespace
{
using ui::Bitmap;
using ui::Rect;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 70, 200);
constexpr COLORREF kGreen = RGB(0, 150, 0);
constexpr COLORREF kRed = RGB(200, 0, 0);

/// Three table rows, the middle one marked in `mark`.
Bitmap rows(COLORREF mark)
{
    Bitmap b(16, 16, kButtonTransparent);
    for (int r = 0; r < 3; ++r)
    {
        const Rect row(1, 2 + r * 4, 11, 6 + r * 4);
        b.fillRect(row, r == 1 ? mark : kWhite);
        b.frameRect(row, kBlack);
    }
    return b;
}

Bitmap fitColumns()
{
    Bitmap b(16, 16, kButtonTransparent);
    b.frameRect(Rect(5, 2, 11, 14), kBlack);
    b.line({1, 8}, {4, 8}, kBlue);
    b.line({2, 7}, {2, 9}, kBlue);
    b.line({11, 8}, {14, 8}, kBlue);
    b.line({13, 7}, {13, 9}, kBlue);
    return b;
}

Bitmap insertRow()
{
    Bitmap b = rows(kGreen);
    b.fillRect(Rect(12, 7, 15, 9), kGreen);
    b.fillRect(Rect(13, 6, 14, 10), kGreen);
    return b;
}

Bitmap deleteRow()
{
    Bitmap b = rows(kRed);
    b.line({12, 6}, {15, 9}, kRed);
    b.line({15, 6}, {12, 9}, kRed);
    return b;
}

Bitmap moveRow(bool up)
{
    Bitmap b = rows(kBlue);
    const int tip = up ? 3 : 12;
    const int dy = up ? 1 : -1;
    for (int i = 0; i < 3; ++i)
        b.line({13 - i, tip + dy * i}, {13 + i, tip + dy * i}, kBlue);
    b.fillRect(Rect(13, up ? 5 : 7, 14, up ? 10 : 12), kBlue);
    return b;
}

Bitmap find()
{
    Bitmap b(16, 16, kButtonTransparent);
    b.frameRect(Rect(2, 2, 9, 9), kBlack);
    b.fillRect(Rect(3, 3, 8, 8), kWhite);
    b.line({9, 9}, {14, 14}, kBlack);
    b.line({9, 10}, {13, 14}, kBlack);
    return b;
}
} // namespace

void registerSectionLibraryIcons(ui::ResourceModule& module)
{
    module.addIcon(IDI_LIB_FIT, fitColumns());
    module.addIcon(IDI_LIB_INSERT_ROW, insertRow());
    module.addIcon(IDI_LIB_DELETE_ROW, deleteRow());
    module.addIcon(IDI_LIB_ROW_UP, moveRow(true));
    module.addIcon(IDI_LIB_ROW_DOWN, moveRow(false));
    module.addIcon(IDI_LIB_FIND, find());
}
