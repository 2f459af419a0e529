#include "ui/Dialog.h"

#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/MessageLoop.h"
#include "ui/ResourceModule.h"
#include "ui/Static.h"
#include "ui/UserAgent.h"

#include <algorithm>
#include <charconv>

namespace ui
{
namespace
{
// The class name of a dialog window, as on the platform.
constexpr const char* kDialogClass = "#32770";

// A picture control's text "#123" names its image resource; 0 otherwise.
int imageResourceOf(const ControlTemplate& c)
{
    const bool picture = (c.className == "STATIC" &&
                          ((c.style & SS_TYPEMASK) == SS_ICON || (c.style & SS_TYPEMASK) == SS_BITMAP)) ||
                         (c.className == "BUTTON" && (c.style & (BS_ICON | BS_BITMAP)) != 0);
    if (!picture || c.text.size() < 2 || c.text[0] != '#')
        return 0;
    int id = 0;
    auto [end, error] = std::from_chars(c.text.data() + 1, c.text.data() + c.text.size(), id);
    return (error == std::errc() && end == c.text.data() + c.text.size()) ? id : 0;
}

void attachImage(Window& control, const ControlTemplate& c, int resourceId)
{
    const bool bitmap =
        (c.className == "STATIC") ? (c.style & SS_TYPEMASK) == SS_BITMAP : (c.style & BS_BITMAP) != 0;
    Image image;
    if (!(bitmap ? loadBitmapResource(resourceId, image) : loadIconResource(resourceId, image)))
        return;
    if (auto* s = dynamic_cast<Static*>(&control))
        bitmap ? s->SetBitmap(image) : s->SetIcon(image);
    else if (auto* b = dynamic_cast<Button*>(&control))
        bitmap ? b->SetBitmap(image) : b->SetIcon(image);
}
} // namespace

bool Dialog::createFromTemplate(const DialogTemplate& t, Window* parent, bool modal)
{
    std::uint32_t style = t.style & ~WS_VISIBLE;
    std::uint32_t exStyle = t.exStyle;
    if ((style & DS_MODALFRAME) != 0)
        exStyle |= WS_EX_DLGMODALFRAME;
    if ((style & DS_CONTROL) != 0)
        exStyle |= WS_EX_CONTROLPARENT;
    if (modal)
        style &= ~WS_CHILD;
    const bool child = (style & WS_CHILD) != 0;
    if (parent != nullptr && !parent->IsWindow())
        parent = nullptr;

    const Rect frame = frameThicknessFor(style, exStyle);
    const int width = dialogUnitsToPixelsX(t.rect.Width()) + frame.left + frame.right;
    const int height = dialogUnitsToPixelsY(t.rect.Height()) + frame.top + frame.bottom;
    Point at{dialogUnitsToPixelsX(t.rect.left), dialogUnitsToPixelsY(t.rect.top)};
    if (!child)
    {
        if ((style & DS_CENTER) != 0)
        {
            const Rect around = parent != nullptr ? parent->GetWindowRect() : screenRect();
            at = {around.left + (around.Width() - width) / 2, around.top + (around.Height() - height) / 2};
        }
        else if (parent != nullptr)
            parent->ClientToScreen(at);
    }

    modal_ = modal;
    ended_ = false;
    result_ = -1;
    if (!Window::Create(kDialogClass, t.caption, style, Rect(at, Size{width, height}), parent, 0, exStyle))
        return false;
    const WindowHandle self = GetSafeHwnd();
    SetFont(t.font, false);

    for (const ControlTemplate& c : t.controls)
    {
        std::unique_ptr<Window> control = makeWindowOfClass(c.className);
        const int imageId = imageResourceOf(c);
        if (!control->Create(c.className, imageId != 0 ? std::string_view() : std::string_view(c.text),
                             c.style | WS_CHILD, dialogUnitsToPixels(c.rect), this, c.id, c.exStyle))
            continue;
        control->SetFont(t.font, false);
        if (imageId != 0)
            attachImage(*control, c, imageId);
        takeOwnership(std::move(control));
    }

    const bool focusFirst = SendMessage(WM_INITDIALOG) != 0;
    if (FromHandle(self) != this)
        return false;
    if (focusFirst && !child && !ended_)
    {
        Window* focus = GetFocus();
        if (focus == nullptr || (focus != this && !IsChild(focus)))
            if (Window* first = GetNextDlgTabItem(nullptr))
                GotoDlgCtrl(first);
    }
    if ((t.style & WS_VISIBLE) != 0 && !ended_)
        ShowWindow(SW_SHOW);
    return true;
}

std::intptr_t Dialog::DoModal()
{
    if (IsWindow())
        return -1;
    const DialogTemplate* found = findDialogTemplate(templateId_);
    if (found == nullptr)
        return -1;
    const DialogTemplate dialogTemplate = *found;

    Window* owner = parentWnd_ != nullptr && parentWnd_->IsWindow() ? parentWnd_ : nullptr;
    const WindowHandle ownerHandle = owner != nullptr ? owner->GetSafeHwnd() : 0;
    const bool ownerWasDisabled = owner != nullptr && owner->EnableWindow(false);
    Window* focus = GetFocus();
    const WindowHandle focusBefore = focus != nullptr ? focus->GetSafeHwnd() : 0;

    auto restore = [&]
    {
        if (Window* o = FromHandle(ownerHandle); o != nullptr && !ownerWasDisabled)
            o->EnableWindow(true);
        if (Window* f = FromHandle(focusBefore))
            f->SetFocus();
    };

    if (!createFromTemplate(dialogTemplate, owner, true))
    {
        modal_ = false;
        restore();
        return -1;
    }
    if (!ended_)
    {
        ShowWindow(SW_SHOW);
        MessageLoop::instance().pump();
        if (!ended_ && IsWindow())
            userAgent().runModal(*this);
    }
    if (!ended_)
        EndDialog(IDCANCEL);
    const int result = result_;
    if (IsWindow())
    {
        ShowWindow(SW_HIDE);
        DestroyWindow();
    }
    modal_ = false;
    restore();
    return result;
}

bool Dialog::Create(int templateId, Window* parent)
{
    if (IsWindow())
        return false;
    const DialogTemplate* found = findDialogTemplate(templateId);
    if (found == nullptr)
        return false;
    templateId_ = templateId;
    parentWnd_ = parent;
    const DialogTemplate dialogTemplate = *found;
    return createFromTemplate(dialogTemplate, parent, false);
}

bool Dialog::CreateIndirect(const DialogTemplate& dialogTemplate, Window* parent)
{
    if (IsWindow())
        return false;
    templateId_ = dialogTemplate.id;
    parentWnd_ = parent;
    return createFromTemplate(dialogTemplate, parent, false);
}

void Dialog::EndDialog(int result)
{
    result_ = result;
    ended_ = true;
    if (!modal_ && IsWindow())
        ShowWindow(SW_HIDE);
}

void Dialog::onCommand(int id, int code, std::function<void()> handler)
{
    for (CommandHandler& h : commands_)
        if (h.id == id && h.code == code)
        {
            h.run = std::move(handler);
            return;
        }
    commands_.push_back({id, code, std::move(handler)});
}

void Dialog::onNotify(int id, int code, std::function<void(NotifyHeader&, std::intptr_t&)> handler)
{
    for (NotifyHandler& h : notifies_)
        if (h.id == id && h.code == code)
        {
            h.run = std::move(handler);
            return;
        }
    notifies_.push_back({id, code, std::move(handler)});
}

bool Dialog::OnCommand(int id, int code, Window* control)
{
    (void)control;
    for (const CommandHandler& h : commands_)
        if (h.id == id && h.code == code && h.run)
        {
            // The handler may end or destroy this dialog; nothing here is touched afterwards.
            auto run = h.run;
            run();
            return true;
        }
    if (code == BN_CLICKED && id == IDOK)
    {
        OnOK();
        return true;
    }
    if (code == BN_CLICKED && id == IDCANCEL)
    {
        OnCancel();
        return true;
    }
    return false;
}

bool Dialog::OnNotify(NotifyHeader& header, std::intptr_t& result)
{
    for (const NotifyHandler& h : notifies_)
        if (h.id == header.idFrom && h.code == header.code && h.run)
        {
            auto run = h.run;
            run(header, result);
            return true;
        }
    return false;
}

void Dialog::OnClose()
{
    Window* cancel = GetDlgItem(IDCANCEL);
    SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                cancel != nullptr ? static_cast<std::intptr_t>(cancel->GetSafeHwnd()) : 0);
}

void Dialog::OnGetMinMaxInfo(MinMaxInfo& info)
{
    info.ptMinTrackSize.x = std::max(info.ptMinTrackSize.x, minTrack_.cx);
    info.ptMinTrackSize.y = std::max(info.ptMinTrackSize.y, minTrack_.cy);
}

void Dialog::OnSetFocus(Window* oldFocus)
{
    (void)oldFocus;
    if (Window* first = GetNextDlgTabItem(nullptr))
        GotoDlgCtrl(first);
}

std::intptr_t Dialog::WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog() ? 1 : 0;
    return Window::WindowProc(message, wParam, lParam);
}

namespace
{
void collectTabStops(const Window& parent, std::vector<Window*>& out)
{
    for (Window* c : parent.children())
    {
        if ((c->GetStyle() & WS_VISIBLE) == 0 || !c->IsWindowEnabled())
            continue;
        if ((c->GetExStyle() & WS_EX_CONTROLPARENT) != 0)
            collectTabStops(*c, out);
        else if ((c->GetStyle() & WS_TABSTOP) != 0)
            out.push_back(c);
    }
}
} // namespace

std::vector<Window*> Dialog::tabStops() const
{
    std::vector<Window*> stops;
    collectTabStops(*this, stops);
    return stops;
}

Window* Dialog::GetNextDlgTabItem(Window* control, bool previous) const
{
    const std::vector<Window*> stops = tabStops();
    if (stops.empty())
        return nullptr;
    auto it = std::find(stops.begin(), stops.end(), control);
    if (it == stops.end())
        return previous ? stops.back() : stops.front();
    const auto index = static_cast<std::size_t>(it - stops.begin());
    const std::size_t count = stops.size();
    return stops[previous ? (index + count - 1) % count : (index + 1) % count];
}

void Dialog::GotoDlgCtrl(Window* control)
{
    if (control == nullptr || !control->IsWindow())
        return;
    const WindowHandle handle = control->GetSafeHwnd();
    control->SetFocus();
    if (auto* edit = dynamic_cast<Edit*>(FromHandle(handle)); edit != nullptr && GetFocus() == edit)
        edit->SetSel(0, -1);
}

void Dialog::NextDlgCtrl()
{
    GotoDlgCtrl(GetNextDlgTabItem(GetFocus(), false));
}
void Dialog::PrevDlgCtrl()
{
    GotoDlgCtrl(GetNextDlgTabItem(GetFocus(), true));
}

int Dialog::GetDefID() const
{
    if (defId_ != 0)
        return defId_;
    for (Window* c : children())
        if (auto* b = dynamic_cast<Button*>(c); b != nullptr && b->GetButtonStyle() == BS_DEFPUSHBUTTON)
            return b->GetDlgCtrlID();
    return IDOK;
}

bool Dialog::PreTranslateMessage(Message& message)
{
    // A page inside another dialog leaves the dialog keys to its top-level dialog, so Tab
    // runs through the pages' controls as one sequence.
    if (isChildWindow())
        return false;
    return IsDialogMessage(message);
}

bool Dialog::IsDialogMessage(Message& message)
{
    if (message.window == nullptr || (message.window != this && !IsChild(message.window)))
        return false;
    if (message.message == WM_CHAR)
        return message.wParam == '\t' || message.wParam == 0x1B ||
               (message.wParam == '\r' && !(dynamic_cast<Edit*>(message.window) != nullptr &&
                                            (message.window->GetStyle() & (ES_MULTILINE | ES_WANTRETURN)) ==
                                                (ES_MULTILINE | ES_WANTRETURN)));
    if (message.message != WM_KEYDOWN)
        return false;

    const WindowHandle self = GetSafeHwnd();
    switch (message.wParam)
    {
    case VK_TAB:
    {
        Window* focus = GetFocus();
        GotoDlgCtrl(GetNextDlgTabItem(focus, GetKeyState(VK_SHIFT) < 0));
        return true;
    }
    case VK_RETURN:
    {
        Window* focus = GetFocus();
        if (dynamic_cast<Edit*>(focus) != nullptr &&
            (focus->GetStyle() & (ES_MULTILINE | ES_WANTRETURN)) == (ES_MULTILINE | ES_WANTRETURN))
            return false;
        int id = GetDefID();
        if (auto* b = dynamic_cast<Button*>(focus); b != nullptr && b->isPushButton() && IsChild(b))
            id = b->GetDlgCtrlID();
        Window* button = findDescendant(id);
        if (button != nullptr && !button->IsWindowEnabled())
            return true;
        if (Window* s = FromHandle(self))
            s->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                           button != nullptr ? static_cast<std::intptr_t>(button->GetSafeHwnd()) : 0);
        return true;
    }
    case VK_ESCAPE:
    {
        Window* cancel = findDescendant(IDCANCEL);
        if (cancel != nullptr && !cancel->IsWindowEnabled())
            return true;
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    cancel != nullptr ? static_cast<std::intptr_t>(cancel->GetSafeHwnd()) : 0);
        return true;
    }
    default:
        return false;
    }
}
} // namespace ui
