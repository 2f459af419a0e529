#include "ui/CButtonST.h"

#include "ui/ResourceModule.h"

bool CButtonST::SetIcon(int iconId)
{
    ui::Image icon;
    if (!ui::loadIconResource(iconId, icon))
        return false;
    SetIcon(icon);
    return true;
}

bool CButtonST::SetBitmaps(int bitmapId)
{
    ui::Image bitmap;
    if (!ui::loadBitmapResource(bitmapId, bitmap))
        return false;
    SetBitmap(bitmap);
    return true;
}

bool CButtonST::SetBitmaps(const std::string& file, std::uint32_t transparent)
{
    ui::Image bitmap;
    std::string error;
    if (!ui::Image::loadBitmapFile(file, bitmap, error))
        return false;
    transparent_ = transparent;
    SetBitmap(bitmap);
    return true;
}

void CButtonST::SetTooltipText(std::string_view text, bool activate)
{
    (void)activate;
    if (tooltip_ == text)
        return;
    tooltip_ = Kdr_String(text);
    changed(ui::Property::Tooltip);
}
