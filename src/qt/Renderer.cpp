// The model → screen direction: one widget per window, kept in line with it.

#include "qt/Renderer.h"

#include "qt/GridView.h"
#include "qt/PaintedWidget.h"
#include "qt/QtText.h"
#include "spread/Kdr_Spread.h"
#include "ui/Button.h"
#include "ui/CButtonST.h"
#include "ui/CheckListComboBox.h"
#include "ui/ComboBox.h"
#include "ui/Dialog.h"
#include "ui/Edit.h"
#include "ui/MessageLoop.h"
#include "ui/Static.h"
#include "ui/TabControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QTabBar>
#include <QVBoxLayout>

namespace qtui
{
namespace
{
/// A tab control: the row of tabs over a framed display area, in which the dialog lays its
/// pages (sibling windows, shown above it).
class TabFrame : public QWidget
{
public:
    explicit TabFrame(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)), frame_(new QFrame(this))
    {
        frame_->setFrameShape(QFrame::StyledPanel);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(bar_);
        layout->addWidget(frame_, 1);
        bar_->setDrawBase(false);
        bar_->setFocusPolicy(Qt::NoFocus);
    }
    QTabBar* bar() const { return bar_; }

private:
    QTabBar* bar_;
    QFrame* frame_;
};

/// Platform labels mark a mnemonic with "&" and write "&&" for the character itself.
QString labelText(std::string_view bytes)
{
    QString text = toScreen(bytes);
    QString shown;
    for (int i = 0; i < text.size(); ++i)
    {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

constexpr COLORREF kMagenta = RGB(255, 0, 255);

bool isTextLabel(std::uint32_t style)
{
    const std::uint32_t type = style & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == 0x0B || type == 0x0C;
}

template <typename T> T* as(QWidget* widget)
{
    return static_cast<T*>(widget);
}

} // namespace

Renderer::Renderer()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        ui::setScreenSize({screen->geometry().width(), screen->geometry().height()});
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { settle(); });
    qApp->installEventFilter(this);
    ui::addWindowObserver(this);
    previousAgent_ = ui::setUserAgent(this);
    // Windows that exist already (made before the renderer) are shown as well.
    for (ui::Window* top : ui::topLevelWindows())
    {
        std::function<void(ui::Window&)> add = [&](ui::Window& w)
        {
            created(w);
            for (ui::Window* child : w.children())
                add(*child);
        };
        add(*top);
    }
}

Renderer::~Renderer()
{
    ui::setUserAgent(previousAgent_);
    ui::removeWindowObserver(this);
    qApp->removeEventFilter(this);
    for (auto& [handle, entry] : entries_)
        if (entry.widget != nullptr && entry.widget->isWindow())
            delete entry.widget;
}

Renderer::Kind Renderer::kindOf(const ui::Window& window)
{
    if (dynamic_cast<const Kdr_Spread*>(&window) != nullptr)
        return Kind::Grid;
    if (auto* button = dynamic_cast<const ui::Button*>(&window))
    {
        if (button->isGroupBox())
            return Kind::GroupBox;
        if ((button->GetStyle() & BS_PUSHLIKE) != 0)
            return Kind::PushButton;
        if (button->isRadioButton())
            return Kind::RadioButton;
        if (button->isCheckBox())
            return Kind::CheckBox;
        return Kind::PushButton;
    }
    if (dynamic_cast<const ui::CheckListComboBox*>(&window) != nullptr)
        return Kind::CheckListCombo;
    if (dynamic_cast<const ui::ComboBox*>(&window) != nullptr)
        return Kind::Combo;
    if (auto* edit = dynamic_cast<const ui::Edit*>(&window))
        return edit->isMultiLine() ? Kind::MultiLineEdit : Kind::Edit;
    if (auto* label = dynamic_cast<const ui::Static*>(&window))
        return isTextLabel(label->GetStyle()) && !label->image() && !label->pixels() ? Kind::Label
                                                                                     : Kind::Painted;
    if (dynamic_cast<const ui::TabControl*>(&window) != nullptr)
        return Kind::Tabs;
    if (!window.isChildWindow())
        return Kind::TopLevel;
    if (dynamic_cast<const ui::Dialog*>(&window) != nullptr)
        return Kind::Page;
    return Kind::Painted;
}

QWidget* Renderer::ownerWidget(ui::Window* owner) const
{
    while (owner != nullptr && owner->isChildWindow())
        owner = owner->GetParent();
    return owner != nullptr ? widgetFor(owner) : nullptr;
}

QWidget* Renderer::makeWidget(ui::Window& window, Kind kind, QWidget* parent)
{
    const ui::WindowHandle handle = window.GetSafeHwnd();
    switch (kind)
    {
    case Kind::TopLevel:
    case Kind::Page:
    case Kind::Painted:
        return new PaintedWidget(handle, parent);
    case Kind::PushButton:
        return new QPushButton(parent);
    case Kind::CheckBox:
        return new QCheckBox(parent);
    case Kind::RadioButton:
    {
        auto* radio = new QRadioButton(parent);
        // The model keeps the group exclusive; Qt's own grouping would fight it.
        radio->setAutoExclusive(false);
        return radio;
    }
    case Kind::GroupBox:
        return new QGroupBox(parent);
    case Kind::Edit:
        return new QLineEdit(parent);
    case Kind::MultiLineEdit:
        return new QPlainTextEdit(parent);
    case Kind::Combo:
        return new QComboBox(parent);
    case Kind::CheckListCombo:
    {
        auto* combo = new QComboBox(parent);
        combo->setModel(new QStandardItemModel(combo));
        return combo;
    }
    case Kind::Label:
        return new QLabel(parent);
    case Kind::Tabs:
        return new TabFrame(parent);
    case Kind::Grid:
        return new GridView(handle, parent);
    }
    return new PaintedWidget(handle, parent);
}

void Renderer::created(ui::Window& window)
{
    const ui::WindowHandle handle = window.GetSafeHwnd();
    if (handle == 0 || entries_.count(handle) != 0)
        return;
    const Kind kind = kindOf(window);
    QWidget* parent = nullptr;
    if (window.isChildWindow())
    {
        parent = widgetFor(window.GetParent());
        if (parent == nullptr)
            return;
    }
    else
        parent = ownerWidget(window.GetParent());

    QWidget* widget = makeWidget(window, kind, parent);
    if (!window.isChildWindow())
    {
        Qt::WindowFlags flags =
            Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
        if ((window.GetExStyle() & WS_EX_TOPMOST) != 0)
            flags |= Qt::WindowStaysOnTopHint;
        if ((window.GetStyle() & WS_THICKFRAME) == 0)
            flags |= Qt::MSWindowsFixedSizeDialogHint;
        widget->setParent(parent, flags);
        widget->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    widget->setObjectName(QStringLiteral("window%1").arg(window.GetDlgCtrlID()));
    widget->setFont(toFont(window.GetFont() != nullptr ? *window.GetFont() : ui::Font{}));
    widget->setFocusPolicy(kind == Kind::Label || kind == Kind::GroupBox || kind == Kind::Tabs ||
                                   kind == Kind::TopLevel || kind == Kind::Page || kind == Kind::Painted
                               ? Qt::NoFocus
                               : Qt::ClickFocus);
    if (kind == Kind::Painted)
        widget->setMouseTracking(true);
    entries_[handle] = Entry{kind, widget, false, std::nullopt};
    byWidget_[widget] = handle;
    connectSignals(handle, kind, widget);
    sync(window, entries_[handle]);
}

void Renderer::changed(ui::Window& window, ui::Property property)
{
    // Everything else is brought in line when the step that changed it settles; a repaint is
    // only asked of Qt, which paints when it gets round to it.
    if (property == ui::Property::Paint)
        if (QWidget* widget = widgetFor(&window))
            widget->update();
}

void Renderer::painted(ui::Window& window)
{
    auto it = entries_.find(window.GetSafeHwnd());
    if (it == entries_.end())
        return;
    it->second.widget->update();
}

void Renderer::destroyed(ui::Window& window)
{
    auto it = entries_.find(window.GetSafeHwnd());
    if (it == entries_.end())
        return;
    QWidget* widget = it->second.widget;
    entries_.erase(it);
    byWidget_.erase(widget);
    for (QObject* part : widget->findChildren<QObject*>())
        byWidget_.erase(part);
    // The widget may be the one whose event or signal is being handled right now.
    widget->hide();
    widget->deleteLater();
}

QWidget* Renderer::widgetFor(const ui::Window* window) const
{
    if (window == nullptr)
        return nullptr;
    auto it = entries_.find(window->GetSafeHwnd());
    return it != entries_.end() ? it->second.widget : nullptr;
}

QWidget* Renderer::controlWidget(const ui::Window& window, int id) const
{
    // Depth first, the visible one first, as the driver looks a control up.
    ui::Window* any = nullptr;
    std::function<ui::Window*(const ui::Window&)> find = [&](const ui::Window& parent) -> ui::Window*
    {
        for (ui::Window* c : parent.children())
            if (c->GetDlgCtrlID() == id)
            {
                if (any == nullptr)
                    any = c;
                if (c->IsWindowVisible())
                    return c;
            }
        for (ui::Window* c : parent.children())
            if (ui::Window* found = find(*c))
                return found;
        return nullptr;
    };
    ui::Window* found = find(window);
    return widgetFor(found != nullptr ? found : any);
}

ui::Window* Renderer::windowFor(const QObject* object) const
{
    // Parts of a widget (a combo's edit field, a view's viewport) belong to its window; the
    // walk stops at a window of its own, so a message box over a dialog is not the dialog.
    for (const QObject* o = object; o != nullptr; o = o->parent())
    {
        if (auto it = byWidget_.find(o); it != byWidget_.end())
            return ui::Window::FromHandle(it->second);
        if (auto* w = qobject_cast<const QWidget*>(o); w != nullptr && w->isWindow())
            return nullptr;
    }
    return nullptr;
}

void Renderer::syncGeometry(ui::Window& window, Entry& entry)
{
    QWidget* widget = entry.widget;
    if (!window.isChildWindow())
    {
        ui::Point origin{0, 0};
        window.ClientToScreen(origin);
        const ui::Rect client = window.GetClientRect();
        const QRect wanted(origin.x, origin.y, client.Width(), client.Height());
        if (widget->geometry() != wanted)
            widget->setGeometry(wanted);
        if ((window.GetStyle() & WS_THICKFRAME) == 0)
            widget->setFixedSize(wanted.size());
        else if (auto* dialog = dynamic_cast<ui::Dialog*>(&window))
        {
            // The smallest size the dialog allows, as the window manager needs it.
            const ui::Rect frame = window.frameThickness();
            const ui::Size least = dialog->minTrackSize();
            widget->setMinimumSize(std::max(0, least.cx - frame.left - frame.right),
                                   std::max(0, least.cy - frame.top - frame.bottom));
        }
        return;
    }
    const ui::Rect r = window.rectInParent();
    QPoint offset;
    if (ui::Window* parent = window.GetParent(); parent != nullptr && parent->isChildWindow())
        offset = QPoint(parent->frameThickness().left, parent->frameThickness().top);
    int height = r.Height();
    if (entry.kind == Kind::Combo || entry.kind == Kind::CheckListCombo)
        // The model's rectangle includes the drop-down list; the widget is the edit part.
        height = std::min(height, widget->sizeHint().height());
    const QRect wanted(r.left + offset.x(), r.top + offset.y(), r.Width(), height);
    if (widget->geometry() != wanted)
        widget->setGeometry(wanted);
}

void Renderer::sync(ui::Window& window, Entry& entry)
{
    QWidget* widget = entry.widget;
    const QSignalBlocker blocker(widget);
    applying_ = true;
    syncGeometry(window, entry);
    const bool enabled = window.IsWindowEnabled();
    // A painted window decides itself what a click on it means, enabled or not.
    if (entry.kind != Kind::Painted && entry.kind != Kind::TopLevel && widget->isEnabled() != enabled)
    {
        // A disabled Qt widget swallows clicks, but on the platform a disabled control passes
        // them to its parent (a drawing area decides what a click on it means): the widget
        // lets them through to its parent, which hands them to the model.
        widget->setEnabled(enabled);
        widget->setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
    }
    const Kdr_String text = window.GetWindowText();
    switch (entry.kind)
    {
    case Kind::TopLevel:
        if (widget->windowTitle() != toScreen(text))
            widget->setWindowTitle(toScreen(text));
        break;
    case Kind::PushButton:
    case Kind::CheckBox:
    case Kind::RadioButton:
    {
        auto* button = as<QAbstractButton>(widget);
        auto& model = static_cast<ui::Button&>(window);
        if (button->text() != toScreen(text))
            button->setText(toScreen(text));
        if (model.image() != entry.image)
        {
            // An icon button: the picture of its image, magenta (or its own colour) clear.
            entry.image = model.image();
            const auto* st = dynamic_cast<const CButtonST*>(&model);
            const QImage picture =
                entry.image ? pictureOf(*entry.image, st != nullptr ? st->transparentColor() : kMagenta)
                            : QImage();
            button->setIcon(picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture)));
            if (!picture.isNull())
                button->setIconSize(picture.size());
        }
        if (entry.kind == Kind::PushButton)
        {
            auto* push = as<QPushButton>(widget);
            const bool pushLike = (window.GetStyle() & BS_PUSHLIKE) != 0;
            push->setCheckable(pushLike);
            if (pushLike)
                push->setChecked(model.GetCheck() == BST_CHECKED);
            push->setDefault((window.GetStyle() & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
            push->setFlat(false);
        }
        else if (entry.kind == Kind::CheckBox)
        {
            auto* check = as<QCheckBox>(widget);
            check->setTristate(model.isThreeState());
            const Qt::CheckState state = model.GetCheck() == BST_CHECKED         ? Qt::Checked
                                         : model.GetCheck() == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                                                 : Qt::Unchecked;
            if (check->checkState() != state)
                check->setCheckState(state);
        }
        else if (button->isChecked() != (model.GetCheck() == BST_CHECKED))
            button->setChecked(model.GetCheck() == BST_CHECKED);
        break;
    }
    case Kind::GroupBox:
        if (as<QGroupBox>(widget)->title() != toScreen(text))
            as<QGroupBox>(widget)->setTitle(toScreen(text));
        break;
    case Kind::Edit:
    {
        auto* line = as<QLineEdit>(widget);
        auto& edit = static_cast<ui::Edit&>(window);
        line->setReadOnly(edit.isReadOnly());
        line->setEchoMode((window.GetStyle() & ES_PASSWORD) != 0 ? QLineEdit::Password : QLineEdit::Normal);
        line->setAlignment((window.GetStyle() & ES_RIGHT) != 0    ? Qt::AlignRight
                           : (window.GetStyle() & ES_CENTER) != 0 ? Qt::AlignHCenter
                                                                  : Qt::AlignLeft);
        if (line->text() != toScreen(text))
        {
            // Only a text that differs is set. While the person types, the caret stays where
            // it was (a refused character leaves it behind the last one taken); a text set by
            // the dialog shows the field's own selection.
            const int caret = line->cursorPosition();
            line->setText(toScreen(text));
            if (line->hasFocus())
                line->setCursorPosition(std::min(caret, static_cast<int>(line->text().size())));
            else
            {
                int start = 0, end = 0;
                edit.GetSel(start, end);
                line->setSelection(start, end - start);
            }
        }
        break;
    }
    case Kind::MultiLineEdit:
    {
        auto* box = as<QPlainTextEdit>(widget);
        QString shown = toScreen(text);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        box->setReadOnly(static_cast<ui::Edit&>(window).isReadOnly());
        if (box->toPlainText() != shown)
            box->setPlainText(shown);
        break;
    }
    case Kind::Combo:
    case Kind::CheckListCombo:
    {
        auto* box = as<QComboBox>(widget);
        auto& combo = static_cast<ui::ComboBox&>(window);
        const Kdr_StringArray items = combo.itemTexts();
        QStringList wanted;
        for (int i = 0; i < items.length(); ++i)
            wanted << toScreen(items[i]);
        QStringList have;
        for (int i = 0; i < box->count(); ++i)
            have << box->itemText(i);
        if (have != wanted)
        {
            box->clear();
            box->addItems(wanted);
        }
        if (entry.kind == Kind::CheckListCombo)
        {
            auto& checks = static_cast<ui::CheckListComboBox&>(window);
            auto* items = static_cast<QStandardItemModel*>(box->model());
            for (int i = 0; i < items->rowCount(); ++i)
            {
                QStandardItem* item = items->item(i);
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
                item->setCheckState(checks.GetCheck(i) == BST_CHECKED ? Qt::Checked : Qt::Unchecked);
            }
        }
        const bool editable = combo.hasEditField() && entry.kind == Kind::Combo;
        if (box->isEditable() != editable)
            box->setEditable(editable);
        if (box->currentIndex() != combo.GetCurSel())
            box->setCurrentIndex(combo.GetCurSel());
        if (editable && box->lineEdit()->text() != toScreen(text))
            box->lineEdit()->setText(toScreen(text));
        break;
    }
    case Kind::Label:
    {
        auto* label = as<QLabel>(widget);
        const std::uint32_t type = window.GetStyle() & SS_TYPEMASK;
        label->setAlignment((type == SS_CENTER  ? Qt::AlignHCenter
                             : type == SS_RIGHT ? Qt::AlignRight
                                                : Qt::AlignLeft) |
                            Qt::AlignTop);
        label->setWordWrap(type != 0x0B && type != 0x0C);
        if (label->text() != labelText(text))
            label->setText(labelText(text));
        break;
    }
    case Kind::Tabs:
    {
        QTabBar* bar = static_cast<TabFrame*>(widget)->bar();
        const QSignalBlocker barBlocker(bar);
        auto& tabs = static_cast<ui::TabControl&>(window);
        while (bar->count() > tabs.GetItemCount())
            bar->removeTab(bar->count() - 1);
        for (int i = 0; i < tabs.GetItemCount(); ++i)
        {
            if (i >= bar->count())
                bar->addTab(QString());
            if (bar->tabText(i) != labelText(tabs.itemText(i)))
                bar->setTabText(i, labelText(tabs.itemText(i)));
        }
        if (tabs.GetCurSel() >= 0 && bar->currentIndex() != tabs.GetCurSel())
            bar->setCurrentIndex(tabs.GetCurSel());
        widget->lower();
        break;
    }
    case Kind::Grid:
        static_cast<GridView*>(widget)->refresh();
        break;
    case Kind::Page:
    case Kind::Painted:
        break;
    }
    if (entry.kind == Kind::GroupBox)
        widget->lower();

    const bool visible =
        window.isChildWindow() ? (window.GetStyle() & WS_VISIBLE) != 0 : window.IsWindowVisible();
    if (widget->isVisibleTo(widget->parentWidget()) != visible ||
        (!window.isChildWindow() && widget->isVisible() != visible))
    {
        if (visible && !window.isChildWindow())
        {
            if (auto* dialog = dynamic_cast<ui::Dialog*>(&window); dialog != nullptr && dialog->isModal())
                widget->setWindowModality(Qt::ApplicationModal);
            widget->show();
            widget->activateWindow();
        }
        else
            widget->setVisible(visible);
    }
    applying_ = false;
}

void Renderer::syncFocus()
{
    ui::Window* focus = ui::Window::GetFocus();
    QWidget* widget = widgetFor(focus);
    if (widget == nullptr || !widget->isVisible())
        return;
    if (auto* box = qobject_cast<QComboBox*>(widget); box != nullptr && box->isEditable())
        widget = box->lineEdit();
    if (!widget->hasFocus())
        widget->setFocus(Qt::OtherFocusReason);
}

void Renderer::settle()
{
    ui::MessageLoop::instance().pump();
    // Windows can come and go while widgets are brought in line (a shown dialog may be asked
    // for its size); work on a snapshot and skip what went.
    std::vector<ui::WindowHandle> handles;
    handles.reserve(entries_.size());
    for (const auto& [handle, entry] : entries_)
        handles.push_back(handle);
    std::sort(handles.begin(), handles.end());
    for (ui::WindowHandle handle : handles)
    {
        ui::Window* window = ui::Window::FromHandle(handle);
        auto it = entries_.find(handle);
        if (window != nullptr && it != entries_.end())
            sync(*window, it->second);
    }
    syncFocus();
    endFinishedRuns();
    armTimer();
}

void Renderer::armTimer()
{
    ui::MessageLoop& loop = ui::MessageLoop::instance();
    if (loop.queuedCount() > 0)
    {
        timer_.start(0);
        return;
    }
    const std::optional<long long> due = loop.nextDue();
    if (!due)
    {
        timer_.stop();
        return;
    }
    const long long wait = std::max(0LL, *due - loop.now());
    timer_.start(static_cast<int>(std::min(wait, 24LL * 3600 * 1000)));
}

void Renderer::endFinishedRuns()
{
    for (ModalRun& run : runs_)
    {
        auto* dialog = dynamic_cast<ui::Dialog*>(ui::Window::FromHandle(run.dialog));
        if (dialog == nullptr || (run.modeless ? !dialog->IsWindowVisible() : dialog->hasEnded()))
            run.loop->quit();
    }
}

void Renderer::runLoop(ui::WindowHandle handle, bool modeless)
{
    QEventLoop loop;
    runs_.push_back({handle, &loop, modeless});
    if (modalHook_)
        QTimer::singleShot(0, &loop,
                           [this, handle]
                           {
                               auto* d = dynamic_cast<ui::Dialog*>(ui::Window::FromHandle(handle));
                               QWidget* w = d != nullptr ? widgetFor(d) : nullptr;
                               if (w != nullptr && modalHook_)
                                   modalHook_(*d, *w);
                               settle();
                           });
    auto* live = dynamic_cast<ui::Dialog*>(ui::Window::FromHandle(handle));
    if (live != nullptr && (modeless ? live->IsWindowVisible() : !live->hasEnded()))
        loop.exec();
    runs_.pop_back();
}

void Renderer::runModal(ui::Dialog& dialog)
{
    const ui::WindowHandle handle = dialog.GetSafeHwnd();
    settle();
    QWidget* widget = widgetFor(&dialog);
    if (widget == nullptr || dialog.hasEnded())
        return;
    if (!widget->isVisible())
    {
        widget->setWindowModality(Qt::ApplicationModal);
        widget->show();
    }
    settle();
    runLoop(handle, false);
}

void Renderer::runModeless(ui::Dialog& dialog)
{
    const ui::WindowHandle handle = dialog.GetSafeHwnd();
    if (handle == 0)
        return;
    if (!dialog.IsWindowVisible())
        dialog.ShowWindow(SW_SHOW);
    settle();
    runLoop(handle, true);
}

void Renderer::act(ui::WindowHandle handle, const std::function<void(ui::Window&)>& action)
{
    if (ui::Window* window = ui::Window::FromHandle(handle))
    {
        ui::DispatchScope scope;
        action(*window);
    }
    settle();
}
} // namespace qtui
