#include "ui/Button.h"

#include <algorithm>

namespace ui
{
bool Button::isCheckBox() const
{
    const auto kind = GetButtonStyle();
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}

bool Button::isThreeState() const
{
    const auto kind = GetButtonStyle();
    return kind == BS_3STATE || kind == BS_AUTO3STATE;
}

bool Button::isRadioButton() const
{
    const auto kind = GetButtonStyle();
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

bool Button::isPushButton() const
{
    const auto kind = GetButtonStyle();
    return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_USERBUTTON || kind == BS_OWNERDRAW;
}

void Button::SetCheck(int state)
{
    int next = BST_UNCHECKED;
    if (state == BST_INDETERMINATE && isThreeState())
        next = BST_INDETERMINATE;
    else if (state != BST_UNCHECKED)
        next = BST_CHECKED;
    if (next == check_)
        return;
    check_ = next;
    changed(Property::Check);
}

void Button::SetButtonStyle(std::uint32_t kind, bool redraw)
{
    ModifyStyle(BS_TYPEMASK, kind & BS_TYPEMASK);
    // A two-state button cannot keep the third state.
    if (check_ == BST_INDETERMINATE && !isThreeState())
    {
        check_ = BST_CHECKED;
        changed(Property::Check);
    }
    if (redraw)
        Invalidate();
}

void Button::uncheckGroupSiblings()
{
    Window* parent = GetParent();
    if (parent == nullptr)
        return;
    const auto& siblings = parent->children();
    auto self = std::find(siblings.begin(), siblings.end(), this);
    if (self == siblings.end())
        return;
    // The group runs from the nearest WS_GROUP window at or before this one to the next one.
    auto first = self;
    while (first != siblings.begin() && ((*first)->GetStyle() & WS_GROUP) == 0)
        --first;
    auto last = self + 1;
    while (last != siblings.end() && ((*last)->GetStyle() & WS_GROUP) == 0)
        ++last;
    for (auto it = first; it != last; ++it)
        if (auto* radio = dynamic_cast<Button*>(*it);
            radio != nullptr && radio != this && radio->isRadioButton())
            radio->SetCheck(BST_UNCHECKED);
}

bool Button::click()
{
    if (!IsWindow() || !IsWindowEnabled() || isGroupBox())
        return false;
    DispatchScope scope;
    switch (GetButtonStyle())
    {
    case BS_AUTOCHECKBOX:
        SetCheck(check_ == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED);
        break;
    case BS_AUTO3STATE:
        SetCheck(check_ == BST_UNCHECKED ? BST_CHECKED
                 : check_ == BST_CHECKED ? BST_INDETERMINATE
                                         : BST_UNCHECKED);
        break;
    case BS_AUTORADIOBUTTON:
        uncheckGroupSiblings();
        SetCheck(BST_CHECKED);
        break;
    default:
        break;
    }
    notifyParent(BN_CLICKED);
    return true;
}

void Button::SetIcon(const Image& icon)
{
    image_ = icon;
    changed(Property::Image);
}

void Button::SetBitmap(const Image& bitmap)
{
    image_ = bitmap;
    changed(Property::Image);
}

void Button::clearImage()
{
    if (!image_)
        return;
    image_.reset();
    changed(Property::Image);
}

void Button::OnSetFocus(Window* oldFocus)
{
    (void)oldFocus;
    if ((GetStyle() & BS_NOTIFY) != 0)
        notifyParent(BN_SETFOCUS);
}

void Button::OnKillFocus(Window* newFocus)
{
    (void)newFocus;
    if ((GetStyle() & BS_NOTIFY) != 0)
        notifyParent(BN_KILLFOCUS);
}

void Button::OnKeyUp(unsigned key)
{
    // Space released on a focused button clicks it.
    if (key == VK_SPACE)
        click();
}

void Button::copyControlState(const Window& from)
{
    if (const auto* other = dynamic_cast<const Button*>(&from))
    {
        check_ = other->check_;
        image_ = other->image_;
    }
}

void Button::OnPaint(PaintContext& dc)
{
    const Rect client = GetClientRect();
    dc.SetTextColor(GetSysColor(IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    dc.SetBkColor(GetSysColor(COLOR_BTNFACE));
    dc.SetBkMode(TRANSPARENT);
    const Brush brush = ctlColorFromParent(dc, CTLCOLOR_BTN);
    if (!IsWindow())
        return;
    if (isGroupBox())
    {
        dc.FrameRect(Rect(client.left, client.top + 6, client.right, client.bottom),
                     GetSysColor(COLOR_BTNSHADOW));
        dc.DrawText(GetWindowText(), Rect(client.left + 8, client.top, client.right - 8, client.top + 13),
                    DT_LEFT);
        return;
    }
    dc.FillRect(client, brush, GetSysColor(COLOR_BTNFACE));
    if (isCheckBox() || isRadioButton())
    {
        // A 13-pixel box at the left, vertically centred, then the caption.
        const int top = client.top + (client.Height() - 13) / 2;
        const Rect box(client.left, top, client.left + 13, top + 13);
        dc.FillSolidRect(box, GetSysColor(COLOR_WINDOW));
        dc.FrameRect(box, GetSysColor(COLOR_BTNSHADOW));
        if (GetCheck() != BST_UNCHECKED)
        {
            dc.SelectPen(
                GetCheck() == BST_CHECKED ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT), 2);
            dc.MoveTo({box.left + 3, box.top + 6});
            dc.LineTo({box.left + 5, box.top + 8});
            dc.LineTo({box.left + 9, box.top + 3});
        }
        dc.DrawText(GetWindowText(), Rect(box.right + 4, client.top, client.right, client.bottom),
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
    else
    {
        const bool isDefault = GetButtonStyle() == BS_DEFPUSHBUTTON;
        dc.FrameRect(client, GetSysColor(isDefault ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW), isDefault ? 2 : 1);
        dc.DrawText(GetWindowText(), client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (Window::GetFocus() == this)
    {
        Rect focus = client;
        focus.DeflateRect(3, 3);
        dc.DrawFocusRect(focus);
    }
}
} // namespace ui
