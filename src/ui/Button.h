#pragma once

#include "ui/Image.h"
#include "ui/Window.h"

#include <optional>

namespace ui
{
/// A button window ("BUTTON"): push button, check box (two-state or three-state, automatic or
/// not), radio button, group box, push-like check box, and buttons showing an icon or bitmap.
/// The kind is the style's BS_TYPEMASK bits.
class Button : public Window
{
public:
    using Window::Create;
    bool Create(std::string_view text, std::uint32_t style, const Rect& rect, Window* parent, int id)
    {
        return Window::Create("BUTTON", text, style, rect, parent, id);
    }

    /// BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck() const { return check_; }
    /// Sets the check state without telling the parent, as the platform does. A two-state
    /// button takes any state other than unchecked as checked.
    void SetCheck(int state);
    /// The button kind (BS_TYPEMASK bits of the style).
    std::uint32_t GetButtonStyle() const { return GetStyle() & BS_TYPEMASK; }
    /// Replaces the kind; the other style bits stay.
    void SetButtonStyle(std::uint32_t kind, bool redraw = true);

    bool isCheckBox() const;
    bool isThreeState() const;
    bool isRadioButton() const;
    bool isGroupBox() const { return GetButtonStyle() == BS_GROUPBOX; }
    bool isPushButton() const;

    /// A click as the user makes it: nothing on a disabled button or a group box; an
    /// automatic check box advances its state (unchecked → checked → indeterminate for three
    /// states), an automatic radio button checks itself and unchecks the other radio buttons of
    /// its group; then the parent gets BN_CLICKED. True when the click was taken.
    bool click();

    void SetIcon(const Image& icon);
    void SetBitmap(const Image& bitmap);
    /// Removes the icon or bitmap.
    void clearImage();
    /// The icon or bitmap shown, if any.
    const std::optional<Image>& image() const { return image_; }

protected:
    void OnSetFocus(Window* oldFocus) override;
    void OnKillFocus(Window* newFocus) override;
    void OnKeyUp(unsigned key) override;
    void copyControlState(const Window& from) override;
    /// Draws the face, frame, check mark and caption in the colours the parent answers to
    /// WM_CTLCOLORBTN.
    void OnPaint(PaintContext& dc) override;

private:
    void uncheckGroupSiblings();

    int check_ = BST_UNCHECKED;
    std::optional<Image> image_;
};
} // namespace ui
