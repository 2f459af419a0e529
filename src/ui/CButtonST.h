#pragma once

#include "ui/Button.h"

#include <cstdint>
#include <string>

/// The host's icon button: a button (or push-like check box) showing an icon or bitmap from
/// the current resources or a bitmap file, with a tooltip.
class CButtonST : public ui::Button
{
public:
    using ui::Button::SetIcon;

    /// Shows icon resource `iconId` of the current resources; false when it is not there.
    bool SetIcon(int iconId);
    /// Shows bitmap resource `bitmapId`; false when it is not there.
    bool SetBitmaps(int bitmapId);
    /// Shows a bitmap file; `transparent` is the colour drawn as background (RGB as 0x00BBGGRR).
    /// False with nothing changed when the file cannot be read as a bitmap.
    bool SetBitmaps(const std::string& file, std::uint32_t transparent = 0xFF00FF);
    void SetTooltipText(std::string_view text, bool activate = true);
    const Kdr_String& GetTooltipText() const { return tooltip_; }
    void SetFlat(bool flat = true) { flat_ = flat; }
    bool isFlat() const { return flat_; }
    std::uint32_t transparentColor() const { return transparent_; }

private:
    Kdr_String tooltip_;
    bool flat_ = true;
    std::uint32_t transparent_ = 0xFF00FF;
};
