#pragma once

#include "ui/Window.h"

namespace ui
{
/// An edit field ("EDIT"): text, a selection, read-only and multi-line styles, a length
/// limit. Setting the text from code tells the parent EN_CHANGE, as the platform does; what
/// the user types is filtered by the style (digits only, upper or lower case, no line breaks
/// in a single-line field) and refused when the field is read-only or disabled.
class Edit : public Window
{
public:
    using Window::Create;
    bool Create(std::uint32_t style, const Rect& rect, Window* parent, int id)
    {
        return Window::Create("EDIT", "", style, rect, parent, id);
    }

    /// Replaces the text, puts the caret at the start and sends EN_UPDATE and EN_CHANGE.
    void SetWindowText(std::string_view text) override;

    /// Selects characters start…end; end −1 means the end of the text, start −1 removes the
    /// selection (the caret stays at the end of the old one).
    void SetSel(int start, int end, bool noScroll = false);
    void GetSel(int& start, int& end) const
    {
        start = selStart_;
        end = selEnd_;
    }
    /// Replaces the selection by `text` (no filtering, no read-only check, as from code) and
    /// sends EN_CHANGE.
    void ReplaceSel(std::string_view text, bool canUndo = false);
    /// The selected text.
    Kdr_String selectedText() const;

    void SetReadOnly(bool readOnly = true);
    bool isReadOnly() const { return (GetStyle() & ES_READONLY) != 0; }
    bool isMultiLine() const { return (GetStyle() & ES_MULTILINE) != 0; }
    /// Limits what the user can type; 0 restores the default limit.
    void SetLimitText(int maximum);
    void LimitText(int maximum) { SetLimitText(maximum); }
    int GetLimitText() const { return limit_; }

    /// Lines of a multi-line field (split at "\r\n" or "\n"); a single-line field has one.
    int GetLineCount() const;
    Kdr_String line(int index) const;

    /// The user types `text` over the selection. False (and nothing changes) when the field
    /// is read-only or disabled, or the style refuses a character (ES_NUMBER); text beyond the
    /// limit is cut off.
    bool typeText(std::string_view text);
    /// The user replaces the whole text.
    bool replaceAllAsUser(std::string_view text);

protected:
    void OnSetFocus(Window* oldFocus) override;
    void OnKillFocus(Window* newFocus) override;
    void OnKeyDown(unsigned key) override;
    void OnChar(unsigned character) override;
    /// Draws the field and its text (dots for a password) in the colours the parent answers to
    /// WM_CTLCOLOREDIT, or WM_CTLCOLORSTATIC when the field is read-only or disabled.
    void OnPaint(PaintContext& dc) override;
    void copyControlState(const Window& from) override;

private:
    void setTextAndNotify(const Kdr_String& text, int caret);

    int selStart_ = 0;
    int selEnd_ = 0;
    int limit_ = kDefaultLimit;
    static constexpr int kDefaultLimit = 30000;
};
} // namespace ui
