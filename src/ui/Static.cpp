#include "ui/Static.h"

namespace ui
{
void Static::SetIcon(const Image& icon)
{
    image_ = icon;
    changed(Property::Image);
}

void Static::SetBitmap(const Image& bitmap)
{
    image_ = bitmap;
    changed(Property::Image);
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
        image_ = other->image_;
}
} // namespace ui
