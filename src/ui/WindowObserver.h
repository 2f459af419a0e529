#pragma once

namespace ui
{
class Window;

/// What changed about a window, as observers are told.
enum class Property
{
    Text,
    Rect,
    Style,
    Enabled,
    Visible,
    Font,
    Focus,
    Id,
    Check,
    Items,
    Selection,
    Image,
    Tooltip,
    /// A repaint was asked for (Invalidate); the paint itself is reported by painted().
    Paint,
};

/// Follows every window's life: a renderer or a recorder registers one and sees each window
/// created, changed and destroyed, in the order it happens.
class WindowObserver
{
public:
    virtual ~WindowObserver() = default;
    /// The window exists, with its parent, rectangle, styles and text set.
    virtual void created(Window& window) { (void)window; }
    virtual void changed(Window& window, Property property)
    {
        (void)window;
        (void)property;
    }
    /// The window was painted: Window::displayList() holds what it drew.
    virtual void painted(Window& window) { (void)window; }
    /// The window is going away; its children have already been reported.
    virtual void destroyed(Window& window) { (void)window; }
};

/// Registers an observer (not owned; it must be removed before it dies).
void addWindowObserver(WindowObserver* observer);
void removeWindowObserver(WindowObserver* observer);

/// Registers an observer for the lifetime of the scope.
class WindowObserverScope
{
public:
    explicit WindowObserverScope(WindowObserver& observer) : observer_(observer)
    {
        addWindowObserver(&observer_);
    }
    ~WindowObserverScope() { removeWindowObserver(&observer_); }
    WindowObserverScope(const WindowObserverScope&) = delete;
    WindowObserverScope& operator=(const WindowObserverScope&) = delete;

private:
    WindowObserver& observer_;
};

namespace detail
{
void notifyCreated(Window& window);
void notifyChanged(Window& window, Property property);
void notifyDestroyed(Window& window);
void notifyPainted(Window& window);
} // namespace detail
} // namespace ui
