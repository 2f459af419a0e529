#pragma once

#include "ui/DialogTemplate.h"
#include "ui/Window.h"

#include <functional>
#include <vector>

namespace ui
{
/// A dialog built from a template: modal (DoModal) or modeless (Create), or a child page of
/// another dialog when its template has WS_CHILD.
///
/// Controls are made from the template with the dialog's font. Commands and notifications
/// from the controls arrive in OnCommand / OnNotify; a dialog either overrides those or
/// registers handlers with onCommand / onClicked / onNotify, which run first. IDOK and
/// IDCANCEL clicks fall through to OnOK and OnCancel. Keys pass the pre-translate step, where
/// a top-level dialog handles Tab (Shift+Tab backwards), Enter (the focused push button or
/// the default button) and Escape (IDCANCEL).
///
/// A modal run hands the dialog to the current user agent (see UserAgent.h), which acts on
/// it like a user and must end it; a dialog the agent leaves open is ended with IDCANCEL.
class Dialog : public Window
{
public:
    Dialog() = default;
    explicit Dialog(int templateId, Window* parent = nullptr) : templateId_(templateId), parentWnd_(parent) {}

    int templateId() const { return templateId_; }
    void setTemplateId(int id) { templateId_ = id; }
    /// The parent (owner) given at construction, used by DoModal.
    Window* parentWindow() const { return parentWnd_; }
    void setParentWindow(Window* parent) { parentWnd_ = parent; }

    /// Runs the dialog modally and returns its end code: the template is looked up through the
    /// resource chain, the window made, OnInitDialog run, the dialog handed to the user agent,
    /// and the window destroyed. The owner is disabled meanwhile, and the focus goes back to
    /// where it was. −1 when the template is not found or the window cannot be made.
    virtual std::intptr_t DoModal();
    /// Makes the dialog modeless from a template of the resource chain; false when the
    /// template is not found or the window cannot be made. The window shows when the template
    /// has WS_VISIBLE.
    bool Create(int templateId, Window* parent = nullptr);
    /// The same from a template given directly.
    bool CreateIndirect(const DialogTemplate& dialogTemplate, Window* parent = nullptr);
    using Window::Create;

    /// Runs once the controls exist; true puts the focus on the first tab stop.
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    /// Ends the dialog with `result`. A modal run stops when the current action returns; a
    /// modeless dialog is hidden (its owner destroys it).
    void EndDialog(int result);
    bool isModal() const { return modal_; }
    bool hasEnded() const { return ended_; }
    int endResult() const { return result_; }

    /// Runs `handler` for WM_COMMAND from control `id` with notification `code`; a later
    /// registration for the same pair replaces the earlier one.
    void onCommand(int id, int code, std::function<void()> handler);
    void onClicked(int id, std::function<void()> handler) { onCommand(id, BN_CLICKED, std::move(handler)); }
    /// Runs `handler` for WM_NOTIFY from control `id` with `code`; it sets the answer.
    void onNotify(int id, int code, std::function<void(NotifyHeader&, std::intptr_t&)> handler);

    /// Controls the Tab key visits, in order: visible, enabled, WS_TABSTOP; a child with
    /// WS_EX_CONTROLPARENT (a page) is entered rather than visited.
    std::vector<Window*> tabStops() const;
    /// The tab stop after (before) `control`, wrapping round; the first (last) one when
    /// `control` is none of them; null when there are none.
    Window* GetNextDlgTabItem(Window* control, bool previous = false) const;
    /// Moves the focus to `control`; an edit field gets all its text selected.
    void GotoDlgCtrl(Window* control);
    void NextDlgCtrl();
    void PrevDlgCtrl();
    /// Handles the dialog keys of a message aimed at this dialog or a descendant.
    bool IsDialogMessage(Message& message);
    /// The command Enter sends: the one set by SetDefID, else the first BS_DEFPUSHBUTTON
    /// child, else IDOK.
    int GetDefID() const;
    void SetDefID(int id) { defId_ = id; }
    void MapDialogRect(Rect& rect) const { rect = dialogUnitsToPixels(rect); }

    /// The smallest window size the user can drag the dialog to; 0 by 0 means no limit.
    void setMinTrackSize(Size size) { minTrack_ = size; }
    Size minTrackSize() const { return minTrack_; }

    bool PreTranslateMessage(Message& message) override;
    std::intptr_t WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

protected:
    bool OnCommand(int id, int code, Window* control) override;
    bool OnNotify(NotifyHeader& header, std::intptr_t& result) override;
    /// Closing the window is a Cancel.
    void OnClose() override;
    void OnGetMinMaxInfo(MinMaxInfo& info) override;
    void OnSetFocus(Window* oldFocus) override;

private:
    bool createFromTemplate(const DialogTemplate& dialogTemplate, Window* parent, bool modal);

    struct CommandHandler
    {
        int id;
        int code;
        std::function<void()> run;
    };
    struct NotifyHandler
    {
        int id;
        int code;
        std::function<void(NotifyHeader&, std::intptr_t&)> run;
    };

    int templateId_ = 0;
    Window* parentWnd_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    int result_ = -1;
    int defId_ = 0;
    Size minTrack_;
    std::vector<CommandHandler> commands_;
    std::vector<NotifyHandler> notifies_;
};
} // namespace ui
