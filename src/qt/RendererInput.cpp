// The screen → model direction: keys, mouse buttons and widget signals become the toolkit's
// own input and user actions.

#include "qt/GridView.h"
#include "qt/QtText.h"
#include "qt/Renderer.h"
#include "spread/Kdr_Spread.h"
#include "ui/Button.h"
#include "ui/CheckListComboBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Input.h"
#include "ui/Static.h"
#include "ui/TabControl.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabBar>

namespace qtui
{
namespace
{
/// The platform's key code of a Qt key; 0 when it has none.
unsigned virtualKey(const QKeyEvent& event)
{
    const int key = event.key();
    switch (key)
    {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    default:
        break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + static_cast<unsigned>(key - Qt::Key_F1);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<unsigned>(key);
    return 0;
}

/// Keys a text field handles itself (characters and caret movement along the line); every
/// other key is the dialog's or the control's.
bool isFieldKey(unsigned vk, const QKeyEvent& event)
{
    if (vk == VK_BACK || vk == VK_DELETE || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_HOME || vk == VK_END)
        return true;
    if ((event.modifiers() & Qt::ControlModifier) != 0)
        return event.key() == Qt::Key_A || event.key() == Qt::Key_C || event.key() == Qt::Key_V ||
               event.key() == Qt::Key_X || event.key() == Qt::Key_Z;
    const QString text = event.text();
    return !text.isEmpty() && text[0].isPrint() && vk != VK_TAB && vk != VK_RETURN && vk != VK_ESCAPE;
}

bool isTextField(const ui::Window& window)
{
    if (dynamic_cast<const ui::Edit*>(&window) != nullptr)
        return true;
    if (auto* combo = dynamic_cast<const ui::ComboBox*>(&window))
        return combo->hasEditField();
    return false;
}

unsigned keyFlags(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    unsigned flags = 0;
    if ((modifiers & Qt::ShiftModifier) != 0)
        flags |= MK_SHIFT;
    if ((modifiers & Qt::ControlModifier) != 0)
        flags |= MK_CONTROL;
    if ((buttons & Qt::LeftButton) != 0)
        flags |= MK_LBUTTON;
    if ((buttons & Qt::RightButton) != 0)
        flags |= MK_RBUTTON;
    return flags;
}

/// Holds Shift and Control down in the model while an input is delivered.
class HeldKeys
{
public:
    explicit HeldKeys(Qt::KeyboardModifiers modifiers)
    {
        ui::setKeyDown(VK_SHIFT, (modifiers & Qt::ShiftModifier) != 0);
        ui::setKeyDown(VK_CONTROL, (modifiers & Qt::ControlModifier) != 0);
    }
    ~HeldKeys()
    {
        ui::setKeyDown(VK_SHIFT, false);
        ui::setKeyDown(VK_CONTROL, false);
    }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
};
} // namespace

void Renderer::connectSignals(ui::WindowHandle handle, Kind kind, QWidget* widget)
{
    switch (kind)
    {
    case Kind::PushButton:
        QObject::connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                         [this, handle]
                         {
                             act(handle,
                                 [](ui::Window& w)
                                 {
                                     const ui::WindowHandle h = w.GetSafeHwnd();
                                     w.SetFocus();
                                     if (auto* b = dynamic_cast<ui::Button*>(ui::Window::FromHandle(h)))
                                         b->click();
                                 });
                         });
        break;
    case Kind::Edit:
        QObject::connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
                         [this, handle](const QString& text)
                         {
                             act(handle,
                                 [&](ui::Window& w)
                                 {
                                     if (auto* e = dynamic_cast<ui::Edit*>(&w))
                                         e->replaceAllAsUser(fromScreen(text));
                                 });
                         });
        break;
    case Kind::MultiLineEdit:
    {
        auto* box = static_cast<QPlainTextEdit*>(widget);
        QObject::connect(box, &QPlainTextEdit::textChanged, this,
                         [this, handle, box]
                         {
                             QString text = box->toPlainText();
                             text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
                             act(handle,
                                 [&](ui::Window& w)
                                 {
                                     if (auto* e = dynamic_cast<ui::Edit*>(&w))
                                         e->replaceAllAsUser(fromScreen(text));
                                 });
                         });
        break;
    }
    case Kind::Combo:
    case Kind::CheckListCombo:
    {
        auto* box = static_cast<QComboBox*>(widget);
        const bool checks = kind == Kind::CheckListCombo;
        QObject::connect(box, &QComboBox::activated, this,
                         [this, handle, checks](int index)
                         {
                             act(handle,
                                 [&](ui::Window& w)
                                 {
                                     if (checks)
                                     {
                                         if (auto* c = dynamic_cast<ui::CheckListComboBox*>(&w))
                                             c->toggleCheckAsUser(index);
                                         return;
                                     }
                                     w.SetFocus();
                                     if (auto* c =
                                             dynamic_cast<ui::ComboBox*>(ui::Window::FromHandle(handle)))
                                         c->selectAsUser(index);
                                 });
                         });
        QObject::connect(box, &QComboBox::editTextChanged, this,
                         [this, handle, box](const QString& text)
                         {
                             // Only what the person types: the renderer's own changes are
                             // made with the signals blocked.
                             if (box->lineEdit() == nullptr || !box->lineEdit()->hasFocus())
                                 return;
                             act(handle,
                                 [&](ui::Window& w)
                                 {
                                     if (auto* c = dynamic_cast<ui::ComboBox*>(&w))
                                         c->typeAsUser(fromScreen(text));
                                 });
                         });
        break;
    }
    case Kind::Tabs:
    {
        QTabBar* bar = widget->findChild<QTabBar*>();
        QObject::connect(bar, &QTabBar::tabBarClicked, this,
                         [this, handle](int index)
                         {
                             act(handle,
                                 [&](ui::Window& w)
                                 {
                                     if (auto* t = dynamic_cast<ui::TabControl*>(&w))
                                         t->selectAsUser(index);
                                 });
                         });
        break;
    }
    default:
        break;
    }
}

bool Renderer::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease;
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
    const bool close = type == QEvent::Close;
    const bool resize = type == QEvent::Resize;
    if (!key && !mouse && !close && !resize)
        return false;
    ui::Window* window = windowFor(watched);
    if (window == nullptr)
        return false;
    auto it = entries_.find(window->GetSafeHwnd());
    if (it == entries_.end())
        return false;
    const Entry& entry = it->second;

    if (close)
    {
        if (watched != entry.widget || !entry.widget->isWindow())
            return false;
        // The close box is the model's to answer (a dialog cancels).
        event->ignore();
        act(window->GetSafeHwnd(), [](ui::Window& w) { w.SendMessage(WM_CLOSE); });
        return true;
    }
    if (resize)
    {
        // A person sizes a resizable window: the model is told, and lays its controls out.
        if (applying_ || watched != entry.widget || !entry.widget->isWindow() ||
            (window->GetStyle() & WS_THICKFRAME) == 0)
            return false;
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        const ui::Rect client = window->GetClientRect();
        if (size.width() == client.Width() && size.height() == client.Height())
            return false;
        const ui::Rect frame = window->frameThickness();
        const ui::Rect r = window->rectInParent();
        act(window->GetSafeHwnd(),
            [&](ui::Window& w)
            {
                w.MoveWindow(r.left, r.top, size.width() + frame.left + frame.right,
                             size.height() + frame.top + frame.bottom);
            });
        return false;
    }
    if (key)
    {
        auto& keyEvent = *static_cast<QKeyEvent*>(event);
        if (type == QEvent::KeyRelease)
            return !(isTextField(*window) && isFieldKey(virtualKey(keyEvent), keyEvent)) &&
                   virtualKey(keyEvent) != 0;
        return handleKey(*window, entry, keyEvent);
    }
    return handleMouse(watched, *window, entry, *static_cast<QMouseEvent*>(event));
}

bool Renderer::handleKey(ui::Window& window, const Entry& entry, QKeyEvent& event)
{
    const unsigned vk = virtualKey(event);
    const QByteArray typed = event.text().toUtf8();
    if (vk == 0 && typed.isEmpty())
        return false;
    // The key goes to the window with the model's focus when the widget is its dialog.
    ui::Window* target = &window;
    if (entry.kind == Kind::TopLevel || entry.kind == Kind::Page)
        if (ui::Window* focus = ui::Window::GetFocus(); focus != nullptr && window.IsChild(focus))
            target = focus;
    if (ui::Window::GetFocus() != target && target->IsWindowEnabled() && entry.kind != Kind::TopLevel)
        target->SetFocus();
    const ui::WindowHandle handle = target->GetSafeHwnd();
    const bool field = isTextField(*target) && isFieldKey(vk, event);

    HeldKeys held(event.modifiers());
    if (vk != 0)
    {
        ui::setKeyDown(vk, true);
        ui::Message down{target, WM_KEYDOWN, vk, 0};
        const bool consumed = ui::preTranslate(down);
        if (!consumed && field)
        {
            // Characters and caret keys of a text field are the field's: Qt edits the text
            // and the edit signal hands the result to the model as typed.
            ui::setKeyDown(vk, false);
            settle();
            return false;
        }
        if (!consumed)
            if (ui::Window* t = ui::Window::FromHandle(handle))
                t->SendMessage(WM_KEYDOWN, vk, 0);
        if (!consumed)
        {
            // The characters of the key, to the window that has the focus by now.
            QByteArray chars = typed;
            if (vk == VK_RETURN)
                chars = "\r";
            else if (vk == VK_TAB || vk == VK_ESCAPE || vk == VK_BACK)
                chars.clear();
            if ((event.modifiers() & Qt::ControlModifier) != 0)
                chars.clear();
            for (char c : chars)
            {
                ui::Window* focus = ui::Window::GetFocus();
                if (focus == nullptr)
                    break;
                ui::Message character{focus, WM_CHAR, static_cast<unsigned char>(c), 0};
                ui::dispatchInput(character);
            }
        }
        ui::setKeyDown(vk, false);
        ui::Window* upTarget = ui::Window::GetFocus();
        if (upTarget == nullptr)
            upTarget = ui::Window::FromHandle(handle);
        if (upTarget != nullptr)
        {
            ui::Message up{upTarget, WM_KEYUP, vk, 0};
            ui::dispatchInput(up);
        }
    }
    else
    {
        if (isTextField(*target))
        {
            settle();
            return false;
        }
        for (char c : typed)
            if (ui::Window* focus = ui::Window::GetFocus())
            {
                ui::Message character{focus, WM_CHAR, static_cast<unsigned char>(c), 0};
                ui::dispatchInput(character);
            }
    }
    settle();
    return true;
}

bool Renderer::handleMouse(QObject* watched, ui::Window& window, const Entry& entry, QMouseEvent& event)
{
    const QEvent::Type type = event.type();
    switch (entry.kind)
    {
    case Kind::Grid:
        return handleGridMouse(watched, window, entry, event);
    case Kind::Edit:
    case Kind::MultiLineEdit:
    case Kind::Combo:
    case Kind::CheckListCombo:
        // A click into a field gives it the model's focus; Qt places the caret.
        if (type == QEvent::MouseButtonPress && window.IsWindowEnabled() && ui::Window::GetFocus() != &window)
            act(window.GetSafeHwnd(), [](ui::Window& w) { w.SetFocus(); });
        return false;
    case Kind::CheckBox:
    case Kind::RadioButton:
    {
        // The whole rectangle of a check box or radio button takes the click, as on the
        // platform, not only its box and caption; the model decides what the click does.
        if (event.button() != Qt::LeftButton)
            return false;
        if (type == QEvent::MouseButtonRelease && entry.widget->rect().contains(event.position().toPoint()) &&
            window.IsWindowEnabled())
            act(window.GetSafeHwnd(),
                [](ui::Window& w)
                {
                    const ui::WindowHandle h = w.GetSafeHwnd();
                    w.SetFocus();
                    if (auto* b = dynamic_cast<ui::Button*>(ui::Window::FromHandle(h)))
                        b->click();
                });
        return type != QEvent::MouseMove;
    }
    case Kind::Label:
        if (type == QEvent::MouseButtonRelease && event.button() == Qt::LeftButton &&
            (window.GetStyle() & SS_NOTIFY) != 0)
            act(window.GetSafeHwnd(),
                [](ui::Window& w)
                {
                    if (auto* s = dynamic_cast<ui::Static*>(&w))
                        s->click();
                });
        return false;
    case Kind::TopLevel:
    case Kind::Page:
    case Kind::Painted:
        break;
    default:
        return false;
    }
    if (watched != entry.widget)
        return false;
    // Painted windows get the platform's mouse messages, in client coordinates.
    unsigned message = 0;
    const bool left = event.button() == Qt::LeftButton;
    const bool right = event.button() == Qt::RightButton;
    if (type == QEvent::MouseButtonPress)
        message = left ? WM_LBUTTONDOWN : right ? WM_RBUTTONDOWN : 0;
    else if (type == QEvent::MouseButtonRelease)
        message = left ? WM_LBUTTONUP : right ? WM_RBUTTONUP : 0;
    else if (type == QEvent::MouseButtonDblClick)
        message = left ? WM_LBUTTONDBLCLK : right ? WM_RBUTTONDOWN : 0;
    else if (type == QEvent::MouseMove)
        message = WM_MOUSEMOVE;
    if (message == 0)
        return false;
    QPoint at = event.position().toPoint();
    if (window.isChildWindow())
        at -= QPoint(window.frameThickness().left, window.frameThickness().top);
    HeldKeys held(event.modifiers());
    const unsigned flags = keyFlags(event.modifiers(), event.buttons());
    const ui::WindowHandle handle = window.GetSafeHwnd();
    act(handle,
        [&](ui::Window& w)
        {
            const ui::WindowHandle got = ui::sendMouseMessage(w, message, {at.x(), at.y()}, flags);
            if (message == WM_RBUTTONUP && got != 0)
                if (ui::Window* target = ui::Window::FromHandle(got))
                {
                    ui::Point screen{at.x(), at.y()};
                    w.ClientToScreen(screen);
                    target->SendMessage(WM_CONTEXTMENU, got, MAKELPARAM(screen.x, screen.y));
                }
        });
    return true;
}

bool Renderer::handleGridMouse(QObject* watched, ui::Window& window, const Entry& entry, QMouseEvent& event)
{
    auto* view = static_cast<GridView*>(entry.widget);
    auto* grid = dynamic_cast<Kdr_Spread*>(&window);
    const QEvent::Type type = event.type();
    if (grid == nullptr || type == QEvent::MouseMove)
        return type == QEvent::MouseMove && (event.buttons() & Qt::LeftButton) != 0;
    const bool left = event.button() == Qt::LeftButton;
    const bool right = event.button() == Qt::RightButton;
    if (!left && !right)
        return false;
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
    {
        int col = 0, row = 0;
        ui::Rect cell;
        if (!view->cellAt(watched, event.position().toPoint(), col, row))
            return watched == view->viewport();
        if (!grid->revealCell(col, row, cell))
            return true;
        // The click goes to the middle of the cell as the grid lays it out, so the grid's own
        // hit test finds the cell the person pointed at.
        gridPress_ = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
        const unsigned message = type == QEvent::MouseButtonDblClick
                                     ? (left ? WM_LBUTTONDBLCLK : WM_RBUTTONDOWN)
                                 : left ? WM_LBUTTONDOWN
                                        : WM_RBUTTONDOWN;
        HeldKeys held(event.modifiers());
        const unsigned flags = keyFlags(event.modifiers(), event.buttons());
        act(window.GetSafeHwnd(),
            [&](ui::Window& w) { ui::sendMouseMessage(w, message, gridPress_, flags); });
        return true;
    }
    if (type == QEvent::MouseButtonRelease)
    {
        HeldKeys held(event.modifiers());
        const unsigned flags = keyFlags(event.modifiers(), event.buttons());
        const ui::Point at = gridPress_;
        act(window.GetSafeHwnd(),
            [&](ui::Window& w)
            {
                const ui::WindowHandle got =
                    ui::sendMouseMessage(w, left ? WM_LBUTTONUP : WM_RBUTTONUP, at, flags);
                if (right && got != 0)
                    if (ui::Window* target = ui::Window::FromHandle(got))
                    {
                        ui::Point screen = at;
                        w.ClientToScreen(screen);
                        target->SendMessage(WM_CONTEXTMENU, got, MAKELPARAM(screen.x, screen.y));
                    }
            });
        return true;
    }
    return false;
}
} // namespace qtui
