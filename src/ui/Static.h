#pragma once

#include "ui/Image.h"
#include "ui/Window.h"

#include <memory>
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
    /// Shows a picture from memory, drawn through `mask` when given (a button picture with
    /// magenta as its transparent colour, for instance).
    void SetBitmap(std::shared_ptr<const Bitmap> pixels, std::shared_ptr<const BitmapMask> mask = {});
    const std::shared_ptr<const Bitmap>& pixels() const { return pixels_; }
    const std::optional<Image>& image() const { return image_; }
    /// A click; the parent hears STN_CLICKED only with SS_NOTIFY. False when not delivered.
    bool click();

protected:
    void copyControlState(const Window& from) override;
    /// Draws the label, frame or picture in the colours the parent answers to
    /// WM_CTLCOLORSTATIC: a hollow brush leaves the background alone (a transparent label).
    void OnPaint(PaintContext& dc) override;

private:
    std::optional<Image> image_;
    std::shared_ptr<const Bitmap> pixels_;
    std::shared_ptr<const BitmapMask> mask_;
};
} // namespace ui
