#pragma once

#include "ui/Image.h"
#include "ui/Window.h"

#include <optional>

namespace ui
{
/// A static control ("STATIC"): a text label, a frame, or a picture (SS_ICON / SS_BITMAP).
class Static : public Window
{
public:
    using Window::Create;
    bool Create(std::string_view text, std::uint32_t style, const Rect& rect, Window* parent, int id)
    {
        return Window::Create("STATIC", text, style, rect, parent, id);
    }

    void SetIcon(const Image& icon);
    void SetBitmap(const Image& bitmap);
    const std::optional<Image>& image() const { return image_; }
    /// A click; the parent hears STN_CLICKED only with SS_NOTIFY. False when not delivered.
    bool click();

protected:
    void copyControlState(const Window& from) override;

private:
    std::optional<Image> image_;
};
} // namespace ui
