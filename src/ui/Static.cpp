#include "ui/Static.h"

#include "ui/ResourceModule.h"

namespace ui
{
void Static::SetIcon(const Image& icon)
{
    image_ = icon;
    // Icons drawn in memory keep their transparent parts in magenta, as button pictures do.
    pixels_ = icon.resourceId != 0 ? loadIconPixels(icon.resourceId) : nullptr;
    mask_ = pixels_ ? std::make_shared<const BitmapMask>(pixels_->maskFor(RGB(255, 0, 255))) : nullptr;
    changed(Property::Image);
}

void Static::SetBitmap(const Image& bitmap)
{
    image_ = bitmap;
    pixels_ = bitmap.resourceId != 0 ? loadBitmapPixels(bitmap.resourceId) : nullptr;
    if (!pixels_ && !bitmap.file.empty())
    {
        std::string error;
        if (auto read = Bitmap::load(bitmap.file, error))
            pixels_ = std::make_shared<const Bitmap>(std::move(*read));
    }
    mask_.reset();
    changed(Property::Image);
}

void Static::SetBitmap(std::shared_ptr<const Bitmap> pixels, std::shared_ptr<const BitmapMask> mask)
{
    image_.reset();
    if (pixels)
        image_ = Image{Image::Kind::Bitmap, "", pixels->width(), pixels->height(), 0};
    pixels_ = std::move(pixels);
    mask_ = std::move(mask);
    changed(Property::Image);
}

void Static::OnPaint(PaintContext& dc)
{
    const Rect client = GetClientRect();
    const unsigned type = GetStyle() & SS_TYPEMASK;
    if (type == SS_BLACKFRAME || type == SS_ETCHEDFRAME)
    {
        dc.FrameRect(client, GetSysColor(type == SS_BLACKFRAME ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW));
        return;
    }
    dc.SetTextColor(GetSysColor(IsWindowEnabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    dc.SetBkColor(GetSysColor(COLOR_BTNFACE));
    dc.SetBkMode(OPAQUE);
    const Brush brush = ctlColorFromParent(dc, CTLCOLOR_STATIC);
    if (!IsWindow())
        return;
    dc.FillRect(client, brush, GetSysColor(COLOR_BTNFACE));
    if (type == SS_ICON || type == SS_BITMAP)
    {
        if (pixels_)
        {
            Rect place(Point{0, 0}, pixels_->size());
            if ((GetStyle() & SS_CENTERIMAGE) != 0)
                place.OffsetRect((client.Width() - place.Width()) / 2,
                                 (client.Height() - place.Height()) / 2);
            dc.DrawBitmap(pixels_, place, mask_);
        }
        return;
    }
    const unsigned format = type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : DT_LEFT;
    dc.DrawText(GetWindowText(), client, format | DT_WORDBREAK);
}

bool Static::click()
{
    if (!IsWindow() || !IsWindowEnabled() || (GetStyle() & SS_NOTIFY) == 0)
        return false;
    DispatchScope scope;
    notifyParent(STN_CLICKED);
    return true;
}

void Static::copyControlState(const Window& from)
{
    if (const auto* other = dynamic_cast<const Static*>(&from))
    {
        image_ = other->image_;
        pixels_ = other->pixels_;
        mask_ = other->mask_;
    }
}
} // namespace ui
