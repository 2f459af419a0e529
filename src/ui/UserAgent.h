#pragma once

#include "host/Kdr_String.h"
#include "ui/Geometry.h"
#include "ui/WinDefs.h"

#include <string>
#include <string_view>

namespace ui
{
class Dialog;
class PopupMenu;
class Window;

/// A message box as it is asked for.
struct MessageBoxRequest
{
    Window* owner = nullptr;
    Kdr_String text;
    Kdr_String caption;
    unsigned flags = MB_OK;
};

/// An open or save file dialog as it is asked for. `filter` is the platform's list of
/// description and pattern pairs separated by '|' ("Text (*.txt)|*.txt||"); `fileName` is the
/// proposed file (it may hold a folder and a pattern); `flags` are OFN_… options.
struct FileDialogRequest
{
    Window* owner = nullptr;
    bool open = true;
    Kdr_String title;
    Kdr_String defaultExtension;
    Kdr_String fileName;
    Kdr_String filter;
    Kdr_String initialFolder;
    unsigned flags = 0;
    int maxPathLength = 260;
};

/// A one-value prompt: title, label, one edit field with a first value, OK and Cancel.
struct ValuePromptRequest
{
    Window* owner = nullptr;
    Kdr_String title;
    Kdr_String label;
    Kdr_String value;
    Kdr_String okCaption = "OK";
    Kdr_String cancelCaption = "Cancel";
};

/// Whoever answers the user interface: a person through a renderer, a test script, or the
/// headless default of the command line. Every modal run, message box, file dialog, value
/// prompt and popup menu goes through the current agent.
class UserAgent
{
public:
    virtual ~UserAgent() = default;
    /// Acts on a modal dialog that is up and shown, and ends it (EndDialog, usually by
    /// clicking a button). A dialog left open is ended with IDCANCEL.
    virtual void runModal(Dialog& dialog) = 0;
    /// IDOK, IDCANCEL, IDYES, IDNO, … as the flags allow.
    virtual int messageBox(const MessageBoxRequest& request) = 0;
    /// True with the chosen path, false when cancelled.
    virtual bool fileDialog(const FileDialogRequest& request, Kdr_String& path) = 0;
    /// True with the entered value, false when cancelled.
    virtual bool promptValue(const ValuePromptRequest& request, Kdr_String& value) = 0;
    /// The command id of the chosen menu item, 0 when none is chosen.
    virtual int popupMenu(const PopupMenu& menu, Point screenPoint, Window* owner);
};

/// The current agent (the headless agent unless replaced).
UserAgent& userAgent();
/// Makes `agent` current (null restores the headless default); returns the previous one.
UserAgent* setUserAgent(UserAgent* agent);

/// Makes an agent current for the lifetime of the scope.
class UserAgentScope
{
public:
    explicit UserAgentScope(UserAgent& agent) : previous_(setUserAgent(&agent)) {}
    ~UserAgentScope() { setUserAgent(previous_); }
    UserAgentScope(const UserAgentScope&) = delete;
    UserAgentScope& operator=(const UserAgentScope&) = delete;

private:
    UserAgent* previous_;
};

/// The answer of the default button of a message box with these flags (MB_DEFBUTTON…).
int defaultMessageBoxAnswer(unsigned flags);
/// Whether `answer` is one of the buttons these flags show.
bool messageBoxOffers(unsigned flags, int answer);

/// The application's name, the caption of message boxes that give none.
const Kdr_String& applicationTitle();
void setApplicationTitle(std::string_view title);

/// Shows a message box through the current agent.
int messageBox(Window* owner, std::string_view text, std::string_view caption, unsigned flags);
/// Asks a file dialog of the current agent and treats the answer as the platform's dialog
/// does: the default extension is added to a name without one; with OFN_FILEMUSTEXIST a
/// file that does not exist is reported ("File not found.") and counts as cancelled; with
/// OFN_OVERWRITEPROMPT an existing file is replaced only after a Yes to the question
/// "<path> already exists.\nDo you want to replace it?".
bool fileDialog(const FileDialogRequest& request, Kdr_String& path);
/// Asks a value of the current agent.
bool promptValue(const ValuePromptRequest& request, Kdr_String& value);
} // namespace ui

/// A message box with the application's title as caption.
int AfxMessageBox(std::string_view text, unsigned flags = MB_OK);
