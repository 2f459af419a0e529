#pragma once

#include "host/Kdr_String.h"
#include "ui/Cursor.h"
#include "ui/Font.h"
#include "ui/Geometry.h"
#include "ui/PaintContext.h"
#include "ui/WinDefs.h"
#include "ui/WindowObserver.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui
{
class Window;

/// A window's number: stable while the window lives, never reused, 0 for none. Timers and
/// posted messages hold handles rather than pointers, so a window that dies in between is
/// simply skipped.
using WindowHandle = std::uint64_t;

/// One message as the pre-translate step sees it.
struct Message
{
    Window* window = nullptr;
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

/// Header of a WM_NOTIFY message; controls with more to say derive from it.
struct NotifyHeader
{
    Window* from = nullptr;
    int idFrom = 0;
    int code = 0;
};

/// Size limits asked of a top-level window before its size changes (WM_GETMINMAXINFO).
struct MinMaxInfo
{
    Point ptMinTrackSize{0, 0};
    Point ptMaxTrackSize{32767, 32767};
};

/// A timer procedure: window (null for a timer without window), WM_TIMER, timer id, time in ms.
using TIMERPROC = void (*)(Window* window, unsigned message, std::uintptr_t id, std::uint32_t time);

/// A window: identifier, class name, text, rectangle, styles, state, parent and children.
///
/// A child window's rectangle is relative to its parent's client area; a top-level window's
/// rectangle is in screen coordinates and its "parent" is its owner. The object and the
/// window are separate, as on the platform: an object exists before Create and after
/// DestroyWindow. Children are either owned by their parent (controls made from a template
/// or by createControl) or owned elsewhere (a member object of a dialog class); in both cases
/// DestroyWindow on the parent destroys their windows.
///
/// Derived classes react through the virtual On… handlers, which WindowProc dispatches; a
/// class that needs a message of its own overrides WindowProc.
class Window
{
public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // ---- creation and destruction ------------------------------------------------------

    /// Creates the window. With WS_CHILD it becomes the last child of `parent`, which must be
    /// a live window; otherwise it is a top-level window owned by `parent` (which may be null).
    /// False when the object already has a window or OnCreate refuses.
    virtual bool Create(std::string_view className, std::string_view text, std::uint32_t style,
                        const Rect& rect, Window* parent, int id, std::uint32_t exStyle = 0);
    bool CreateEx(std::uint32_t exStyle, std::string_view className, std::string_view text,
                  std::uint32_t style, const Rect& rect, Window* parent, int id)
    {
        return Window::Create(className, text, style, rect, parent, id, exStyle);
    }
    /// Destroys the window, its owned top-level windows and its children. OnDestroy runs while
    /// the children still exist. False when there is no window.
    virtual bool DestroyWindow();
    /// Whether the object currently has a window.
    bool IsWindow() const { return handle_ != 0; }
    WindowHandle GetSafeHwnd() const { return handle_; }
    static Window* FromHandle(WindowHandle handle);
    /// Takes over the child `id` of `parent` (typically made from a template): this object
    /// gets its identity, text, rectangle, styles, font, state and place among the children,
    /// and the previous object is discarded. False when there is no such child or this
    /// object already has a window.
    bool SubclassDlgItem(int id, Window* parent);

    // ---- identity and text -------------------------------------------------------------

    int GetDlgCtrlID() const { return id_; }
    void SetDlgCtrlID(int id);
    const std::string& GetClassName() const { return className_; }
    virtual void SetWindowText(std::string_view text);
    virtual Kdr_String GetWindowText() const { return text_; }
    int GetWindowTextLength() const { return GetWindowText().length(); }

    // ---- geometry ----------------------------------------------------------------------

    /// The window rectangle in screen coordinates.
    Rect GetWindowRect() const;
    /// The client area, with its origin at (0, 0).
    Rect GetClientRect() const;
    /// The rectangle as stored: relative to the parent's client area for a child window,
    /// in screen coordinates for a top-level window.
    Rect rectInParent() const { return rect_; }
    /// The thickness of the frame on each side (border, edge and caption).
    Rect frameThickness() const { return frameThicknessFor(style_, exStyle_); }
    /// The frame a window with these styles has.
    static Rect frameThicknessFor(std::uint32_t style, std::uint32_t exStyle);
    void ClientToScreen(Point& point) const;
    void ClientToScreen(Rect& rect) const;
    void ScreenToClient(Point& point) const;
    void ScreenToClient(Rect& rect) const;
    /// Moves and sizes the window (coordinates as rectInParent). A top-level window is held
    /// to the limits its OnGetMinMaxInfo gives.
    bool MoveWindow(const Rect& rect, bool repaint = true);
    bool MoveWindow(int x, int y, int width, int height, bool repaint = true)
    {
        return MoveWindow(Rect(x, y, x + width, y + height), repaint);
    }
    /// Places the window; `insertAfter` may be &wndTopMost or &wndNoTopMost to change the
    /// topmost state. SWP_… flags as on the platform.
    bool SetWindowPos(const Window* insertAfter, int x, int y, int cx, int cy, unsigned flags);
    static const Window wndTop;
    static const Window wndTopMost;
    static const Window wndNoTopMost;

    // ---- state -------------------------------------------------------------------------

    /// Shows (any SW_ command but SW_HIDE) or hides the window; returns whether it was visible.
    bool ShowWindow(int command);
    /// Visible itself and all its ancestors.
    bool IsWindowVisible() const;
    /// Enables or disables the window; returns whether it was disabled before.
    bool EnableWindow(bool enable = true);
    bool IsWindowEnabled() const { return handle_ != 0 && (style_ & WS_DISABLED) == 0; }
    std::uint32_t GetStyle() const { return style_; }
    std::uint32_t GetExStyle() const { return exStyle_; }
    /// Removes then adds style bits; true when the style changed.
    bool ModifyStyle(std::uint32_t remove, std::uint32_t add);
    bool ModifyStyleEx(std::uint32_t remove, std::uint32_t add);
    void SetFont(const Font& font, bool redraw = true);
    /// The window's font, or null when it has none.
    const Font* GetFont() const { return font_ ? &*font_ : nullptr; }

    // ---- focus -------------------------------------------------------------------------

    /// Gives this window the keyboard focus; returns the window that had it.
    Window* SetFocus();
    static Window* GetFocus();

    // ---- tree --------------------------------------------------------------------------

    /// The parent of a child window, the owner of a top-level window.
    Window* GetParent() const { return parent_; }
    /// This window or its nearest ancestor that is not a child window.
    Window* GetTopLevelParent();
    /// The first direct child with that identifier, or null.
    Window* GetDlgItem(int id) const;
    /// The first descendant with that identifier (depth first, children before grandchildren
    /// of later children), or null.
    Window* findDescendant(int id) const;
    template <typename T> T* dlgItem(int id) const { return dynamic_cast<T*>(GetDlgItem(id)); }
    /// Child windows in creation order (the tab order of a dialog).
    const std::vector<Window*>& children() const { return children_; }
    /// Whether `window` is a descendant of this window.
    bool IsChild(const Window* window) const;
    bool isChildWindow() const { return (style_ & WS_CHILD) != 0; }
    /// Hands a child window's object to this window, which then deletes it after its window
    /// is destroyed. Used for controls that no other object holds.
    void takeOwnership(std::unique_ptr<Window> child);

    // ---- dialog items ------------------------------------------------------------------

    void SetDlgItemText(int id, std::string_view text);
    Kdr_String GetDlgItemText(int id) const;
    void SetDlgItemInt(int id, int value);
    /// The item's text read as a whole number; `ok` tells whether it was one.
    int GetDlgItemInt(int id, bool* ok = nullptr) const;
    void CheckDlgButton(int id, int state);
    int IsDlgButtonChecked(int id) const;
    /// Checks `check` and unchecks every other button with an id from `first` to `last`.
    void CheckRadioButton(int first, int last, int check);
    /// The id of the checked button from `first` to `last`, 0 when none is checked.
    int GetCheckedRadioButton(int first, int last) const;

    // ---- messages ----------------------------------------------------------------------

    /// Sends a message at once: WindowProc runs before this returns. 0 when there is no window.
    std::intptr_t SendMessage(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    /// Queues a message for the message loop; it is dropped when the window dies first.
    bool PostMessage(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    /// Sees every keyboard and mouse message aimed at this window or a descendant before it
    /// is dispatched; returning true consumes it.
    virtual bool PreTranslateMessage(Message& message);

    // ---- timers and painting -----------------------------------------------------------

    /// Starts (or restarts) timer `id` of this window; WM_TIMER arrives every `elapse`
    /// milliseconds, or `proc` is called. Returns the id (1 for id 0), 0 without a window.
    std::uintptr_t SetTimer(std::uintptr_t id, unsigned elapse, TIMERPROC proc = nullptr);
    bool KillTimer(std::uintptr_t id);
    /// Asks for the window to be painted again: the request is counted and reported to
    /// observers (Property::Paint), and the message loop paints the window the next time it
    /// pumps. Every paint erases the background first, because the display list it records
    /// replaces the previous one as a whole; `erase` is accepted for the callers' sake.
    void Invalidate(bool erase = true);
    /// Paints the window now when it is visible and waits to be painted.
    void UpdateWindow();
    int paintRequests() const { return paintRequests_; }
    /// Whether the window waits to be painted.
    bool needsPaint() const { return invalid_; }
    /// What the window drew when it was last painted (an empty list before its first paint).
    /// Observers hear of each new list through WindowObserver::painted.
    const DisplayList& displayList() const;
    std::shared_ptr<const DisplayList> lastDisplayList() const { return lastPaint_; }
    /// How often the window has been painted.
    int paintCount() const { return paintCount_; }

    // ---- mouse -------------------------------------------------------------------------

    /// Sends every mouse message to this window until ReleaseCapture, wherever the pointer
    /// is; the window that had the capture hears WM_CAPTURECHANGED. Returns that window.
    /// A window that is destroyed loses the capture.
    Window* SetCapture();
    /// The window holding the mouse capture, or null.
    static Window* GetCapture();
    /// The child whose rectangle holds `point` (client coordinates), the first in the list
    /// (the topmost) when several do; this window when the point is in its client area but
    /// in no child; null when it is outside the client area. CWP_SKIPINVISIBLE,
    /// CWP_SKIPDISABLED and CWP_SKIPTRANSPARENT pass over such children.
    Window* ChildWindowFromPoint(Point point, unsigned flags = CWP_ALL) const;

    /// A message box owned by this window (through the user agent).
    int MessageBox(std::string_view text, std::string_view caption = {}, unsigned flags = MB_OK);

    /// The message procedure. The default dispatches to the On… handlers.
    virtual std::intptr_t WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

protected:
    virtual std::intptr_t DefWindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    /// Runs after the window exists, before observers hear of it; -1 refuses the creation.
    virtual int OnCreate() { return 0; }
    virtual void OnDestroy() {}
    /// Last call of a window's life, after it is gone; a self-owning window may delete itself.
    virtual void PostNcDestroy() {}
    virtual void OnSize(unsigned type, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnGetMinMaxInfo(MinMaxInfo& info);
    virtual void OnSetFocus(Window* oldFocus);
    virtual void OnKillFocus(Window* newFocus);
    /// A command from a child control or menu; true when handled.
    virtual bool OnCommand(int id, int code, Window* control);
    /// A notification from a child control; true when handled, `result` is the answer.
    virtual bool OnNotify(NotifyHeader& header, std::intptr_t& result);
    virtual void OnTimer(std::uintptr_t id);
    /// The user asks the window to close; the default destroys it.
    virtual void OnClose();
    virtual void OnShowWindow(bool show);
    virtual void OnEnable(bool enable);
    virtual void OnKeyDown(unsigned key);
    virtual void OnKeyUp(unsigned key);
    virtual void OnChar(unsigned character);
    virtual void OnLButtonDown(unsigned flags, Point point);
    virtual void OnLButtonUp(unsigned flags, Point point);
    virtual void OnLButtonDblClk(unsigned flags, Point point);
    virtual void OnRButtonDown(unsigned flags, Point point);
    virtual void OnRButtonUp(unsigned flags, Point point);
    virtual void OnMouseMove(unsigned flags, Point point);
    virtual void OnContextMenu(Window* window, Point screenPoint);
    virtual void OnCaptureChanged(Window* newCapture);
    /// Paints the background before OnPaint; true when it did. The default fills the client
    /// area of a top-level window with the button face and leaves child windows alone.
    virtual bool OnEraseBkgnd(PaintContext& dc);
    virtual void OnPaint(PaintContext& dc);
    /// A child control asks for its colours before it paints: set text colour and background
    /// mode on `dc` and answer the brush for its background (Brush::hollow() for a
    /// transparent label). `ctlColor` is CTLCOLOR_STATIC, CTLCOLOR_EDIT, CTLCOLOR_BTN or
    /// CTLCOLOR_DLG. The default leaves the control's own colours.
    virtual Brush OnCtlColor(PaintContext& dc, Window* control, unsigned ctlColor);
    /// The pointer moves over `window` (this one or a child); true when a cursor was set. The
    /// default asks the parent first and otherwise shows the class cursor (the arrow; an
    /// i-beam over edit fields).
    virtual bool OnSetCursor(Window* window, unsigned hitTest, unsigned message);

    /// Sends WM_COMMAND with this window's id and `code` to the parent.
    void notifyParent(int code);
    /// Sends WM_NOTIFY with `header` (from and idFrom filled in) to the parent; its answer.
    std::intptr_t notifyParent(NotifyHeader& header);
    /// Tells observers that a property of this window changed.
    void changed(Property property);
    /// Asks the parent for this control's colours (WM_CTLCOLOR…); the parent's answer, or the
    /// default brush when there is no parent.
    Brush ctlColorFromParent(PaintContext& dc, unsigned ctlColor);
    /// Copies control state from the object this one replaces (SubclassDlgItem).
    virtual void copyControlState(const Window& from);
    /// Sets the stored text without notifications (for controls that keep their text).
    void setTextQuietly(std::string_view text) { text_ = Kdr_String(text); }

private:
    void detachFromParent();
    void destroyTree();
    void schedulePaint();
    void scheduleTreePaint();
    void paintNow();
    friend void paintInvalidWindows();

    std::string className_;
    Kdr_String text_;
    Rect rect_;
    std::uint32_t style_ = 0;
    std::uint32_t exStyle_ = 0;
    int id_ = 0;
    std::optional<Font> font_;
    Window* parent_ = nullptr;
    std::vector<Window*> children_;
    std::vector<std::unique_ptr<Window>> owned_;
    WindowHandle handle_ = 0;
    bool destroying_ = false;
    int paintRequests_ = 0;
    bool invalid_ = false;
    int paintCount_ = 0;
    std::shared_ptr<const DisplayList> lastPaint_;
};

/// What a control's parent answers to WM_CTLCOLOR…: the request travels in lParam.
struct CtlColorRequest
{
    PaintContext* dc = nullptr;
    Window* control = nullptr;
    Brush brush;
};

/// Paints every visible window that waits to be painted, parents before their children; the
/// message loop calls it when it has delivered what was queued. A window invalidated while
/// this runs is painted in the same call, but no window twice.
void paintInvalidWindows();

/// Makes a window object for a class name: a registered class, else a plain Window.
using WindowFactory = std::function<std::unique_ptr<Window>()>;
void registerWindowClass(std::string className, WindowFactory factory);
std::unique_ptr<Window> makeWindowOfClass(std::string_view className);

/// Creates a window of a registered class as a child owned by `parent` (or as a top-level
/// window that the toolkit keeps until it is destroyed). Null when creation fails.
Window* createControl(std::string_view className, std::string_view text, std::uint32_t style,
                      const Rect& rect, Window* parent, int id, std::uint32_t exStyle = 0);

/// Top-level windows that currently exist, in creation order.
std::vector<Window*> topLevelWindows();

/// Counts nested message dispatch; destroyed windows that the toolkit owns are freed only
/// when no dispatch is running, so that no handler still on the stack loses its object.
class DispatchScope
{
public:
    DispatchScope();
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
    static int depth();
};
/// Frees owned windows that have been destroyed, when no dispatch is running.
void collectDestroyedWindows();

/// The state of a key: negative while it is held down (the platform's high bit).
short GetKeyState(unsigned virtualKey);
/// Marks a key as held down or released (the user agent does this while it presses keys).
void setKeyDown(unsigned virtualKey, bool down);

/// Takes the mouse capture away from the window that holds it (it hears WM_CAPTURECHANGED);
/// false when no window had it.
bool releaseCapture();

/// The headless screen (1920 × 1080 unless changed).
Rect screenRect();
void setScreenSize(Size size);
} // namespace ui

/// The platform's name for ui::releaseCapture().
inline bool ReleaseCapture()
{
    return ui::releaseCapture();
}
