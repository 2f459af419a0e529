#include "ui/Window.h"

#include "ui/Button.h"
#include "ui/Input.h"
#include "ui/MessageLoop.h"
#include "ui/UserAgent.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <set>
#include <unordered_map>

namespace ui
{
namespace
{
// Frame metrics: a captioned dialog's client origin lies 5 pixels right of and 20 pixels
// below its window origin.
constexpr int kFrameBorder = 5;
constexpr int kCaptionHeight = 15;
constexpr int kClientEdge = 2;

std::unordered_map<WindowHandle, Window*>& registry()
{
    // Never destroyed, so windows that outlive main() can still be torn down safely.
    static auto& map = *new std::unordered_map<WindowHandle, Window*>;
    return map;
}

WindowHandle gNextHandle = 0;
Window* gFocus = nullptr;
WindowHandle gCapture = 0;
int gDispatchDepth = 0;
Size gScreen{1920, 1080};
std::array<bool, 256> gKeysDown{};

std::vector<Window*>& topLevels()
{
    static auto& list = *new std::vector<Window*>;
    return list;
}

// Objects the toolkit owns whose windows are gone, waiting to be freed.
std::vector<std::unique_ptr<Window>>& graveyard()
{
    static auto& list = *new std::vector<std::unique_ptr<Window>>;
    return list;
}

// Windows waiting to be painted, by handle: parents are made before their children, so
// handle order paints parents first.
std::set<WindowHandle>& pendingPaints()
{
    static auto& set = *new std::set<WindowHandle>;
    return set;
}

// Top-level windows made by createControl without an owner object.
std::vector<std::unique_ptr<Window>>& ownedTopLevels()
{
    static auto& list = *new std::vector<std::unique_ptr<Window>>;
    return list;
}

// Moves the unique_ptr holding `window` out of `list` into the graveyard.
void buryFrom(std::vector<std::unique_ptr<Window>>& list, Window* window)
{
    auto it = std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.get() == window; });
    if (it != list.end())
    {
        graveyard().push_back(std::move(*it));
        list.erase(it);
    }
}
} // namespace

const Window Window::wndTop;
const Window Window::wndTopMost;
const Window Window::wndNoTopMost;

DispatchScope::DispatchScope()
{
    ++gDispatchDepth;
}
DispatchScope::~DispatchScope()
{
    --gDispatchDepth;
}
int DispatchScope::depth()
{
    return gDispatchDepth;
}

void collectDestroyedWindows()
{
    if (gDispatchDepth != 0)
        return;
    // Freeing may destroy further windows (an object's own members); repeat until quiet.
    while (!graveyard().empty())
    {
        auto dead = std::move(graveyard());
        graveyard().clear();
        dead.clear();
    }
}

short GetKeyState(unsigned virtualKey)
{
    return (virtualKey < gKeysDown.size() && gKeysDown[virtualKey]) ? static_cast<short>(-32768) : 0;
}

void setKeyDown(unsigned virtualKey, bool down)
{
    if (virtualKey < gKeysDown.size())
        gKeysDown[virtualKey] = down;
}

Rect screenRect()
{
    return Rect(Point{0, 0}, gScreen);
}
void setScreenSize(Size size)
{
    gScreen = size;
}

std::vector<Window*> topLevelWindows()
{
    return topLevels();
}

Window::Window() = default;

Window::~Window()
{
    // Derived parts are gone already, so only the base handlers run here.
    if (handle_ != 0)
        destroyTree();
}

Window* Window::FromHandle(WindowHandle handle)
{
    if (handle == 0)
        return nullptr;
    auto it = registry().find(handle);
    return it == registry().end() ? nullptr : it->second;
}

bool Window::Create(std::string_view className, std::string_view text, std::uint32_t style, const Rect& rect,
                    Window* parent, int id, std::uint32_t exStyle)
{
    if (handle_ != 0)
        return false;
    const bool child = (style & WS_CHILD) != 0;
    if (parent != nullptr && !parent->IsWindow())
        return false;
    if (child && parent == nullptr)
        return false;

    className_ = std::string(className);
    text_ = Kdr_String(text);
    style_ = style;
    exStyle_ = exStyle;
    id_ = id;
    rect_ = Rect(rect.left, rect.top, std::max(rect.left, rect.right), std::max(rect.top, rect.bottom));
    handle_ = ++gNextHandle;
    registry()[handle_] = this;
    parent_ = parent;
    if (child)
        parent->children_.push_back(this);
    else
        topLevels().push_back(this);

    if (SendMessage(WM_CREATE) == -1)
    {
        registry().erase(handle_);
        handle_ = 0;
        if (child)
            std::erase(parent->children_, this);
        else
            std::erase(topLevels(), this);
        parent_ = nullptr;
        return false;
    }
    detail::notifyCreated(*this);
    if ((style_ & WS_VISIBLE) != 0 && handle_ != 0)
        schedulePaint();
    return true;
}

bool Window::DestroyWindow()
{
    if (handle_ == 0 || destroying_)
        return false;
    {
        DispatchScope scope;
        destroyTree();
        PostNcDestroy(); // may delete this object
    }
    collectDestroyedWindows();
    return true;
}

void Window::destroyTree()
{
    destroying_ = true;
    if (gFocus != nullptr && (gFocus == this || IsChild(gFocus)))
    {
        Window* old = gFocus;
        gFocus = nullptr;
        detail::notifyChanged(*old, Property::Focus);
    }
    if (gCapture != 0 && gCapture == handle_)
        releaseCapture();
    // Windows this one owns go first, as on the platform.
    for (Window* w : std::vector<Window*>(topLevels()))
        if (w->parent_ == this && w->handle_ != 0)
            w->DestroyWindow();

    SendMessage(WM_DESTROY);
    MessageLoop::instance().killTimersOf(handle_);

    for (Window* c : std::vector<Window*>(children_))
        if (c->handle_ != 0)
            c->DestroyWindow();

    detail::notifyDestroyed(*this);
    registry().erase(handle_);
    pendingPaints().erase(handle_);
    invalid_ = false;
    handle_ = 0;
    detachFromParent();
    destroying_ = false;
}

void Window::detachFromParent()
{
    if (isChildWindow())
    {
        if (parent_ != nullptr)
        {
            std::erase(parent_->children_, this);
            buryFrom(parent_->owned_, this);
        }
    }
    else
    {
        std::erase(topLevels(), this);
        buryFrom(ownedTopLevels(), this);
    }
    parent_ = nullptr;
}

bool Window::SubclassDlgItem(int id, Window* parent)
{
    if (handle_ != 0 || parent == nullptr)
        return false;
    Window* old = parent->GetDlgItem(id);
    if (old == nullptr || old == this)
        return false;

    className_ = old->className_;
    text_ = old->text_;
    rect_ = old->rect_;
    style_ = old->style_;
    exStyle_ = old->exStyle_;
    id_ = old->id_;
    font_ = old->font_;
    copyControlState(*old);
    children_ = std::move(old->children_);
    owned_ = std::move(old->owned_);
    old->children_.clear();
    old->owned_.clear();
    for (Window* c : children_)
        c->parent_ = this;

    *std::find(parent->children_.begin(), parent->children_.end(), old) = this;
    parent_ = parent;
    handle_ = old->handle_;
    registry()[handle_] = this;
    if (gFocus == old)
        gFocus = this;

    old->handle_ = 0;
    old->parent_ = nullptr;
    detail::notifyDestroyed(*old);
    buryFrom(parent->owned_, old);
    detail::notifyCreated(*this);
    if ((style_ & WS_VISIBLE) != 0)
        schedulePaint();
    if ((style_ & WS_VISIBLE) != 0 && handle_ != 0)
        schedulePaint();
    return true;
}

void Window::SetDlgCtrlID(int id)
{
    if (id_ == id)
        return;
    id_ = id;
    changed(Property::Id);
}

void Window::SetWindowText(std::string_view text)
{
    if (handle_ == 0 || text_ == text)
        return;
    text_ = Kdr_String(text);
    changed(Property::Text);
}

Rect Window::frameThicknessFor(std::uint32_t style, std::uint32_t exStyle)
{
    int border = 0;
    if ((style & WS_THICKFRAME) != 0 || (style & WS_DLGFRAME) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0)
        border = kFrameBorder;
    else if ((style & WS_BORDER) != 0)
        border = 1;
    if ((exStyle & WS_EX_CLIENTEDGE) != 0)
        border += kClientEdge;
    else if ((exStyle & WS_EX_STATICEDGE) != 0)
        border += 1;
    const int caption = (style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
    return Rect(border, border + caption, border, border);
}

Rect Window::GetWindowRect() const
{
    Rect r = rect_;
    if (isChildWindow() && parent_ != nullptr)
    {
        Point origin;
        parent_->ClientToScreen(origin);
        r.OffsetRect(origin.x, origin.y);
    }
    return r;
}

Rect Window::GetClientRect() const
{
    const Rect f = frameThickness();
    return Rect(0, 0, std::max(0, rect_.Width() - f.left - f.right),
                std::max(0, rect_.Height() - f.top - f.bottom));
}

void Window::ClientToScreen(Point& point) const
{
    const Rect w = GetWindowRect();
    const Rect f = frameThickness();
    point.x += w.left + f.left;
    point.y += w.top + f.top;
}

void Window::ClientToScreen(Rect& rect) const
{
    Point origin;
    ClientToScreen(origin);
    rect.OffsetRect(origin.x, origin.y);
}

void Window::ScreenToClient(Point& point) const
{
    Point origin;
    ClientToScreen(origin);
    point.x -= origin.x;
    point.y -= origin.y;
}

void Window::ScreenToClient(Rect& rect) const
{
    Point origin;
    ClientToScreen(origin);
    rect.OffsetRect(-origin.x, -origin.y);
}

bool Window::MoveWindow(const Rect& rect, bool repaint)
{
    if (handle_ == 0)
        return false;
    DispatchScope scope;
    Rect r(rect.left, rect.top, std::max(rect.left, rect.right), std::max(rect.top, rect.bottom));
    if (!isChildWindow())
    {
        MinMaxInfo info;
        SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<std::intptr_t>(&info));
        const int width = std::clamp(r.Width(), info.ptMinTrackSize.x,
                                     std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
        const int height = std::clamp(r.Height(), info.ptMinTrackSize.y,
                                      std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
        r.right = r.left + width;
        r.bottom = r.top + height;
    }
    const bool moved = r.TopLeft() != rect_.TopLeft();
    const bool sized = r.GetSize() != rect_.GetSize();
    if (!moved && !sized)
        return true;
    rect_ = r;
    changed(Property::Rect);
    if (repaint)
        Invalidate();
    if (moved)
    {
        const Rect f = frameThickness();
        SendMessage(WM_MOVE, 0, MAKELPARAM(r.left + f.left, r.top + f.top));
    }
    if (sized && handle_ != 0)
    {
        const Rect client = GetClientRect();
        SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
    }
    return true;
}

bool Window::SetWindowPos(const Window* insertAfter, int x, int y, int cx, int cy, unsigned flags)
{
    if (handle_ == 0)
        return false;
    if ((flags & SWP_NOZORDER) == 0 && insertAfter != nullptr)
    {
        if (insertAfter == &wndTopMost)
            ModifyStyleEx(0, WS_EX_TOPMOST);
        else if (insertAfter == &wndNoTopMost)
            ModifyStyleEx(WS_EX_TOPMOST, 0);
        else if (isChildWindow() && parent_ != nullptr)
        {
            // Among siblings the order is the tab order.
            auto& siblings = parent_->children_;
            if (insertAfter == &wndTop)
            {
                std::erase(siblings, this);
                siblings.insert(siblings.begin(), this);
            }
            else if (insertAfter != this)
            {
                auto at = std::find(siblings.begin(), siblings.end(), insertAfter);
                if (at != siblings.end())
                {
                    std::erase(siblings, this);
                    at = std::find(siblings.begin(), siblings.end(), insertAfter);
                    siblings.insert(at + 1, this);
                }
            }
        }
    }
    Rect r = rect_;
    if ((flags & SWP_NOMOVE) == 0)
        r.OffsetRect(x - r.left, y - r.top);
    if ((flags & SWP_NOSIZE) == 0)
    {
        r.right = r.left + cx;
        r.bottom = r.top + cy;
    }
    MoveWindow(r);
    if ((flags & SWP_SHOWWINDOW) != 0)
        ShowWindow(SW_SHOW);
    if ((flags & SWP_HIDEWINDOW) != 0)
        ShowWindow(SW_HIDE);
    return true;
}

bool Window::ShowWindow(int command)
{
    const bool wasVisible = (style_ & WS_VISIBLE) != 0;
    if (handle_ == 0)
        return false;
    const bool show = command != SW_HIDE;
    if (show != wasVisible)
    {
        style_ = show ? (style_ | WS_VISIBLE) : (style_ & ~WS_VISIBLE);
        changed(Property::Visible);
        // Children that were hidden with this window show again and must be painted.
        if (show)
            scheduleTreePaint();
        SendMessage(WM_SHOWWINDOW, show ? 1 : 0);
    }
    return wasVisible;
}

bool Window::IsWindowVisible() const
{
    for (const Window* w = this; w != nullptr; w = w->isChildWindow() ? w->parent_ : nullptr)
        if (w->handle_ == 0 || (w->style_ & WS_VISIBLE) == 0)
            return false;
    return true;
}

bool Window::EnableWindow(bool enable)
{
    const bool wasDisabled = (style_ & WS_DISABLED) != 0;
    if (handle_ == 0)
        return wasDisabled;
    if (enable == wasDisabled)
    {
        style_ = enable ? (style_ & ~WS_DISABLED) : (style_ | WS_DISABLED);
        changed(Property::Enabled);
        SendMessage(WM_ENABLE, enable ? 1 : 0);
    }
    return wasDisabled;
}

bool Window::ModifyStyle(std::uint32_t remove, std::uint32_t add)
{
    const std::uint32_t next = (style_ & ~remove) | add;
    if (next == style_)
        return false;
    const bool visibility = ((next ^ style_) & WS_VISIBLE) != 0;
    const bool enabling = ((next ^ style_) & WS_DISABLED) != 0;
    style_ = next;
    changed(Property::Style);
    if (visibility)
        changed(Property::Visible);
    if (enabling)
        changed(Property::Enabled);
    return true;
}

bool Window::ModifyStyleEx(std::uint32_t remove, std::uint32_t add)
{
    const std::uint32_t next = (exStyle_ & ~remove) | add;
    if (next == exStyle_)
        return false;
    exStyle_ = next;
    changed(Property::Style);
    return true;
}

void Window::SetFont(const Font& font, bool redraw)
{
    if (font_ && *font_ == font)
        return;
    font_ = font;
    changed(Property::Font);
    if (redraw)
        Invalidate();
}

Window* Window::SetFocus()
{
    Window* old = gFocus;
    if (handle_ == 0 || old == this)
        return old;
    DispatchScope scope;
    const WindowHandle oldHandle = old != nullptr ? old->handle_ : 0;
    gFocus = this;
    if (old != nullptr)
    {
        old->changed(Property::Focus);
        old->SendMessage(WM_KILLFOCUS, handle_);
    }
    if (gFocus == this && handle_ != 0)
    {
        changed(Property::Focus);
        SendMessage(WM_SETFOCUS, oldHandle);
    }
    return FromHandle(oldHandle);
}

Window* Window::GetFocus()
{
    return gFocus;
}

Window* Window::GetTopLevelParent()
{
    Window* w = this;
    while (w->isChildWindow() && w->parent_ != nullptr)
        w = w->parent_;
    return w;
}

Window* Window::GetDlgItem(int id) const
{
    for (Window* c : children_)
        if (c->id_ == id)
            return c;
    return nullptr;
}

Window* Window::findDescendant(int id) const
{
    if (Window* direct = GetDlgItem(id))
        return direct;
    for (Window* c : children_)
        if (Window* found = c->findDescendant(id))
            return found;
    return nullptr;
}

bool Window::IsChild(const Window* window) const
{
    if (window == nullptr)
        return false;
    for (const Window* w = window->isChildWindow() ? window->parent_ : nullptr; w != nullptr;
         w = w->isChildWindow() ? w->parent_ : nullptr)
        if (w == this)
            return true;
    return false;
}

void Window::takeOwnership(std::unique_ptr<Window> child)
{
    if (child)
        owned_.push_back(std::move(child));
}

void Window::SetDlgItemText(int id, std::string_view text)
{
    if (Window* item = GetDlgItem(id))
        item->SetWindowText(text);
}

Kdr_String Window::GetDlgItemText(int id) const
{
    Window* item = GetDlgItem(id);
    return item != nullptr ? item->GetWindowText() : Kdr_String();
}

void Window::SetDlgItemInt(int id, int value)
{
    SetDlgItemText(id, std::to_string(value));
}

int Window::GetDlgItemInt(int id, bool* ok) const
{
    Kdr_String text = GetDlgItemText(id);
    text.trim();
    int value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    auto [end, error] = std::from_chars(first, last, value);
    const bool good = error == std::errc() && end == last && first != last;
    if (ok != nullptr)
        *ok = good;
    return good ? value : 0;
}

void Window::CheckDlgButton(int id, int state)
{
    if (auto* button = dlgItem<Button>(id))
        button->SetCheck(state);
}

int Window::IsDlgButtonChecked(int id) const
{
    auto* button = dlgItem<Button>(id);
    return button != nullptr ? button->GetCheck() : BST_UNCHECKED;
}

void Window::CheckRadioButton(int first, int last, int check)
{
    for (int id = first; id <= last; ++id)
        if (auto* button = dlgItem<Button>(id))
            button->SetCheck(id == check ? BST_CHECKED : BST_UNCHECKED);
}

int Window::GetCheckedRadioButton(int first, int last) const
{
    for (int id = first; id <= last; ++id)
        if (auto* button = dlgItem<Button>(id); button != nullptr && button->GetCheck() == BST_CHECKED)
            return id;
    return 0;
}

std::intptr_t Window::SendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (handle_ == 0)
        return 0;
    DispatchScope scope;
    return WindowProc(message, wParam, lParam);
}

bool Window::PostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (handle_ == 0)
        return false;
    MessageLoop::instance().postMessage(handle_, message, wParam, lParam);
    return true;
}

bool Window::PreTranslateMessage(Message& message)
{
    (void)message;
    return false;
}

std::uintptr_t Window::SetTimer(std::uintptr_t id, unsigned elapse, TIMERPROC proc)
{
    if (handle_ == 0)
        return 0;
    return MessageLoop::instance().setTimer(handle_, id, elapse, proc);
}

bool Window::KillTimer(std::uintptr_t id)
{
    return MessageLoop::instance().killTimer(handle_, id);
}

void Window::Invalidate(bool erase)
{
    (void)erase;
    if (handle_ == 0)
        return;
    ++paintRequests_;
    schedulePaint();
    changed(Property::Paint);
}

void Window::UpdateWindow()
{
    if (invalid_ && IsWindowVisible())
        paintNow();
}

const DisplayList& Window::displayList() const
{
    static const DisplayList empty;
    return lastPaint_ ? *lastPaint_ : empty;
}

void Window::schedulePaint()
{
    if (handle_ == 0)
        return;
    invalid_ = true;
    pendingPaints().insert(handle_);
}

void Window::scheduleTreePaint()
{
    schedulePaint();
    for (Window* c : children_)
        c->scheduleTreePaint();
}

void Window::paintNow()
{
    const WindowHandle self = handle_;
    if (self == 0)
        return;
    invalid_ = false;
    pendingPaints().erase(self);
    DispatchScope scope;
    PaintContext dc(*this);
    // A handler may destroy the window (and even its object) while it paints: each step
    // goes on only while the handle still names this object, and nothing is kept otherwise.
    SendMessage(WM_ERASEBKGND, reinterpret_cast<std::uintptr_t>(&dc));
    if (FromHandle(self) != this)
        return;
    SendMessage(WM_PAINT, reinterpret_cast<std::uintptr_t>(&dc));
    if (FromHandle(self) != this)
        return;
    lastPaint_ = std::make_shared<const DisplayList>(dc.take());
    ++paintCount_;
    detail::notifyPainted(*this);
}

void paintInvalidWindows()
{
    DispatchScope scope;
    std::set<WindowHandle> painted;
    for (;;)
    {
        auto& pending = pendingPaints();
        auto next = std::find_if(pending.begin(), pending.end(),
                                 [&](WindowHandle h) { return painted.count(h) == 0; });
        if (next == pending.end())
            break;
        const WindowHandle handle = *next;
        painted.insert(handle);
        Window* window = Window::FromHandle(handle);
        if (window == nullptr || !window->invalid_)
        {
            pending.erase(handle);
            continue;
        }
        // A hidden window keeps waiting: showing it schedules it again.
        if (!window->IsWindowVisible())
        {
            pending.erase(handle);
            continue;
        }
        window->paintNow();
    }
}

Window* Window::SetCapture()
{
    if (handle_ == 0)
        return nullptr;
    Window* previous = FromHandle(gCapture);
    gCapture = handle_;
    if (previous != nullptr && previous != this)
        previous->SendMessage(WM_CAPTURECHANGED, 0, static_cast<std::intptr_t>(handle_));
    return previous;
}

Window* Window::GetCapture()
{
    return FromHandle(gCapture);
}

bool releaseCapture()
{
    Window* holder = Window::FromHandle(gCapture);
    gCapture = 0;
    if (holder == nullptr)
        return false;
    holder->SendMessage(WM_CAPTURECHANGED, 0, 0);
    return true;
}

Window* Window::ChildWindowFromPoint(Point point, unsigned flags) const
{
    if (handle_ == 0 || !GetClientRect().PtInRect(point))
        return nullptr;
    for (Window* c : children_)
    {
        if ((flags & CWP_SKIPINVISIBLE) != 0 && (c->style_ & WS_VISIBLE) == 0)
            continue;
        if ((flags & CWP_SKIPDISABLED) != 0 && (c->style_ & WS_DISABLED) != 0)
            continue;
        if ((flags & CWP_SKIPTRANSPARENT) != 0 && (c->exStyle_ & WS_EX_TRANSPARENT) != 0)
            continue;
        if (c->rect_.PtInRect(point))
            return c;
    }
    return const_cast<Window*>(this);
}

int Window::MessageBox(std::string_view text, std::string_view caption, unsigned flags)
{
    return messageBox(this, text, caption, flags);
}

std::intptr_t Window::WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    const Point point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message)
    {
    case WM_CREATE:
        return OnCreate();
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_MOVE:
        OnMove(point.x, point.y);
        return 0;
    case WM_SIZE:
        OnSize(static_cast<unsigned>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)),
               HIWORD(static_cast<std::uintptr_t>(lParam)));
        return 0;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MinMaxInfo*>(lParam));
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(FromHandle(wParam));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(FromHandle(wParam));
        return 0;
    case WM_ENABLE:
        OnEnable(wParam != 0);
        return 0;
    case WM_SHOWWINDOW:
        OnShowWindow(wParam != 0);
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), FromHandle(static_cast<WindowHandle>(lParam))) ? 1
                                                                                                        : 0;
    case WM_NOTIFY:
    {
        std::intptr_t result = 0;
        if (lParam != 0)
            OnNotify(*reinterpret_cast<NotifyHeader*>(lParam), result);
        return result;
    }
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<unsigned>(wParam));
        return 0;
    case WM_KEYUP:
        OnKeyUp(static_cast<unsigned>(wParam));
        return 0;
    case WM_CHAR:
        OnChar(static_cast<unsigned>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<unsigned>(wParam), point);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<unsigned>(wParam), point);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<unsigned>(wParam), point);
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(static_cast<unsigned>(wParam), point);
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp(static_cast<unsigned>(wParam), point);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<unsigned>(wParam), point);
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(FromHandle(wParam), point);
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(FromHandle(static_cast<WindowHandle>(lParam)));
        return 0;
    case WM_ERASEBKGND:
        return wParam != 0 && OnEraseBkgnd(*reinterpret_cast<PaintContext*>(wParam)) ? 1 : 0;
    case WM_PAINT:
        if (wParam != 0)
            OnPaint(*reinterpret_cast<PaintContext*>(wParam));
        else
            UpdateWindow();
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(FromHandle(wParam),
                           static_cast<unsigned>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                           static_cast<unsigned>(HIWORD(static_cast<std::uintptr_t>(lParam))))
                   ? 1
                   : 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    {
        auto* request = reinterpret_cast<CtlColorRequest*>(lParam);
        if (request == nullptr || request->dc == nullptr)
            return 0;
        const unsigned kind = message == WM_CTLCOLOREDIT  ? CTLCOLOR_EDIT
                              : message == WM_CTLCOLORBTN ? CTLCOLOR_BTN
                              : message == WM_CTLCOLORDLG ? CTLCOLOR_DLG
                                                          : CTLCOLOR_STATIC;
        request->brush = OnCtlColor(*request->dc, request->control, kind);
        return 1;
    }
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

std::intptr_t Window::DefWindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    (void)message;
    (void)wParam;
    (void)lParam;
    return 0;
}

void Window::OnSize(unsigned type, int cx, int cy)
{
    (void)type;
    (void)cx;
    (void)cy;
}

void Window::OnMove(int x, int y)
{
    (void)x;
    (void)y;
}

void Window::OnGetMinMaxInfo(MinMaxInfo& info)
{
    (void)info;
}
void Window::OnSetFocus(Window* oldFocus)
{
    (void)oldFocus;
}
void Window::OnKillFocus(Window* newFocus)
{
    (void)newFocus;
}

bool Window::OnCommand(int id, int code, Window* control)
{
    (void)id;
    (void)code;
    (void)control;
    return false;
}

bool Window::OnNotify(NotifyHeader& header, std::intptr_t& result)
{
    (void)header;
    (void)result;
    return false;
}

void Window::OnTimer(std::uintptr_t id)
{
    (void)id;
}
void Window::OnClose()
{
    DestroyWindow();
}
void Window::OnShowWindow(bool show)
{
    (void)show;
}
void Window::OnEnable(bool enable)
{
    (void)enable;
}
void Window::OnKeyDown(unsigned key)
{
    (void)key;
}
void Window::OnKeyUp(unsigned key)
{
    (void)key;
}
void Window::OnChar(unsigned character)
{
    (void)character;
}

void Window::OnLButtonDown(unsigned flags, Point point)
{
    (void)flags;
    (void)point;
}

void Window::OnLButtonUp(unsigned flags, Point point)
{
    (void)flags;
    (void)point;
}

void Window::OnLButtonDblClk(unsigned flags, Point point)
{
    (void)flags;
    (void)point;
}

void Window::OnRButtonDown(unsigned flags, Point point)
{
    (void)flags;
    (void)point;
}

void Window::OnRButtonUp(unsigned flags, Point point)
{
    (void)flags;
    (void)point;
}

void Window::OnMouseMove(unsigned flags, Point point)
{
    (void)flags;
    (void)point;
}

void Window::OnContextMenu(Window* window, Point screenPoint)
{
    (void)window;
    (void)screenPoint;
}

void Window::OnCaptureChanged(Window* newCapture)
{
    (void)newCapture;
}

bool Window::OnEraseBkgnd(PaintContext& dc)
{
    if (isChildWindow())
        return false;
    dc.FillSolidRect(GetClientRect(), GetSysColor(COLOR_BTNFACE));
    return true;
}

void Window::OnPaint(PaintContext& dc)
{
    (void)dc;
}

Brush Window::OnCtlColor(PaintContext& dc, Window* control, unsigned ctlColor)
{
    (void)dc;
    (void)control;
    (void)ctlColor;
    return {};
}

bool Window::OnSetCursor(Window* window, unsigned hitTest, unsigned message)
{
    const WindowHandle under = window != nullptr ? window->handle_ : handle_;
    if (isChildWindow() && parent_ != nullptr &&
        parent_->SendMessage(WM_SETCURSOR, under,
                             MAKELPARAM(static_cast<int>(hitTest), static_cast<int>(message))) != 0)
        return true;
    if (hitTest != HTCLIENT)
        return false;
    const Window* shown = window != nullptr ? window : this;
    ::SetCursor(shown->GetClassName() == "EDIT" ? Cursor::IBeam : Cursor::Arrow);
    return false;
}

Brush Window::ctlColorFromParent(PaintContext& dc, unsigned ctlColor)
{
    CtlColorRequest request{&dc, this, {}};
    if (parent_ == nullptr || handle_ == 0)
        return request.brush;
    const unsigned message = ctlColor == CTLCOLOR_EDIT  ? WM_CTLCOLOREDIT
                             : ctlColor == CTLCOLOR_BTN ? WM_CTLCOLORBTN
                             : ctlColor == CTLCOLOR_DLG ? WM_CTLCOLORDLG
                                                        : WM_CTLCOLORSTATIC;
    parent_->SendMessage(message, 0, reinterpret_cast<std::intptr_t>(&request));
    return request.brush;
}

void Window::notifyParent(int code)
{
    if (parent_ != nullptr && handle_ != 0)
        parent_->SendMessage(WM_COMMAND, MAKEWPARAM(id_, code), static_cast<std::intptr_t>(handle_));
}

std::intptr_t Window::notifyParent(NotifyHeader& header)
{
    header.from = this;
    header.idFrom = id_;
    if (parent_ == nullptr || handle_ == 0)
        return 0;
    return parent_->SendMessage(WM_NOTIFY, static_cast<std::uintptr_t>(id_),
                                reinterpret_cast<std::intptr_t>(&header));
}

void Window::changed(Property property)
{
    if (handle_ == 0)
        return;
    // What a window shows depends on every property but these.
    if (property != Property::Id && property != Property::Tooltip && property != Property::Paint)
        schedulePaint();
    detail::notifyChanged(*this, property);
}

void Window::copyControlState(const Window& from)
{
    (void)from;
}

Window* createControl(std::string_view className, std::string_view text, std::uint32_t style,
                      const Rect& rect, Window* parent, int id, std::uint32_t exStyle)
{
    std::unique_ptr<Window> window = makeWindowOfClass(className);
    if (!window->Create(className, text, style, rect, parent, id, exStyle))
        return nullptr;
    Window* raw = window.get();
    if ((style & WS_CHILD) != 0)
        parent->takeOwnership(std::move(window));
    else
        ownedTopLevels().push_back(std::move(window));
    return raw;
}
} // namespace ui
