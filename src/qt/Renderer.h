#pragma once

#include "ui/Image.h"
#include "ui/UserAgent.h"
#include "ui/Window.h"
#include "ui/WindowObserver.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class QEventLoop;
class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace ui
{
class Dialog;
}

namespace qtui
{
/// Shows the toolkit's windows on a real screen and hands a person's input back to them.
///
/// Model → screen: as a window observer it keeps one Qt widget per window (buttons, check and
/// radio buttons, group boxes, edits, combos, labels, tab controls, grids as table views, and
/// a widget that replays the display list for everything else) and brings the widgets in line
/// with their windows after every step, with the widgets' signals blocked.
///
/// Screen → model: keys and mouse buttons go through the toolkit's own input path first (the
/// pre-translate step, then the window's procedure), so dialog keys, grid keys and F3/F5
/// behave exactly as the headless tests pin them; a widget's signal becomes the control's user
/// action (the calls ui::Driver makes). Only the model moves the focus.
///
/// As the user agent it asks a person: message boxes, file dialogs, value prompts and menus
/// are Qt dialogs, a modal run is a nested event loop that ends when the dialog ends, and one
/// timer follows the message loop's next due time.
///
/// One renderer at a time; it needs a QApplication and registers itself as window observer,
/// user agent and application event filter for its lifetime.
class Renderer : public QObject, public ui::WindowObserver, public ui::UserAgent
{
public:
    Renderer();
    ~Renderer() override;
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    /// The widget showing a window, or null.
    QWidget* widgetFor(const ui::Window* window) const;
    /// The widget of control `id` under `window`, found as ui::Driver finds controls.
    QWidget* controlWidget(const ui::Window& window, int id) const;
    /// The window a widget (or a part of one) shows, or null.
    ui::Window* windowFor(const QObject* object) const;

    /// After the model acted: delivers what the message loop holds, brings every widget in
    /// line, ends the nested loops of dialogs that ended and arms the timer.
    void settle();

    /// Runs the event loop for a modeless dialog (a program whose main window it is) until
    /// the dialog is closed: destroyed, or hidden as a modeless dialog is when it ends. The
    /// modal hook runs for it as for a modal dialog.
    void runModeless(ui::Dialog& dialog);

    /// Unattended runs (screenshots): message boxes take their default answer, file dialogs,
    /// prompts and menus are cancelled, so that nothing waits for a person.
    void setUnattended(bool on) { unattended_ = on; }
    /// Runs once each modal dialog is up on screen (from the event loop, inside the run).
    using ModalHook = std::function<void(ui::Dialog& dialog, QWidget& widget)>;
    void setModalHook(ModalHook hook) { modalHook_ = std::move(hook); }
    /// The texts of the message boxes shown so far, in order.
    const std::vector<std::string>& messages() const { return messages_; }

    // ui::WindowObserver
    void created(ui::Window& window) override;
    void changed(ui::Window& window, ui::Property property) override;
    void painted(ui::Window& window) override;
    void destroyed(ui::Window& window) override;

    // ui::UserAgent
    void runModal(ui::Dialog& dialog) override;
    int messageBox(const ui::MessageBoxRequest& request) override;
    bool fileDialog(const ui::FileDialogRequest& request, Kdr_String& path) override;
    bool promptValue(const ui::ValuePromptRequest& request, Kdr_String& value) override;
    int popupMenu(const ui::PopupMenu& menu, ui::Point screenPoint, ui::Window* owner) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    enum class Kind
    {
        TopLevel,
        Page,
        PushButton,
        CheckBox,
        RadioButton,
        GroupBox,
        Edit,
        MultiLineEdit,
        Combo,
        CheckListCombo,
        Label,
        Tabs,
        Grid,
        Painted,
    };

private:
    struct Entry
    {
        Kind kind = Kind::Painted;
        QWidget* widget = nullptr;
        bool shown = false;
        /// The image an icon button shows, as last applied.
        std::optional<ui::Image> image;
    };
    struct ModalRun
    {
        ui::WindowHandle dialog = 0;
        QEventLoop* loop = nullptr;
        bool modeless = false;
    };

    static Kind kindOf(const ui::Window& window);
    QWidget* makeWidget(ui::Window& window, Kind kind, QWidget* parent);
    void connectSignals(ui::WindowHandle handle, Kind kind, QWidget* widget);
    void sync(ui::Window& window, Entry& entry);
    void syncGeometry(ui::Window& window, Entry& entry);
    void syncFocus();
    void endFinishedRuns();
    void armTimer();
    /// Runs a nested event loop for the dialog until endFinishedRuns ends it.
    void runLoop(ui::WindowHandle dialog, bool modeless);
    QWidget* ownerWidget(ui::Window* owner) const;

    bool handleKey(ui::Window& window, const Entry& entry, QKeyEvent& event);
    bool handleMouse(QObject* watched, ui::Window& window, const Entry& entry, QMouseEvent& event);
    bool handleGridMouse(QObject* watched, ui::Window& window, const Entry& entry, QMouseEvent& event);
    /// Runs a user action on a live window and settles afterwards.
    void act(ui::WindowHandle handle, const std::function<void(ui::Window&)>& action);

    std::unordered_map<ui::WindowHandle, Entry> entries_;
    std::unordered_map<const QObject*, ui::WindowHandle> byWidget_;
    std::vector<ModalRun> runs_;
    QTimer timer_;
    bool applying_ = false;
    bool unattended_ = false;
    ModalHook modalHook_;
    std::vector<std::string> messages_;
    ui::Point gridPress_{};
    ui::UserAgent* previousAgent_ = nullptr;
};
} // namespace qtui
