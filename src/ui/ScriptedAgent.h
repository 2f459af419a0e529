#pragma once

#include "ui/Driver.h"
#include "ui/UserAgent.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui
{
/// The agent of tests: a queue of the prompts a test expects, in the order they must come,
/// each with its answer. A dialog step runs a script on the dialog through a Driver; a message
/// box step checks the text (and the caption when given) and answers; file dialog, value
/// prompt and menu steps give their answers.
///
/// Anything else is a failure, reported with the prompt's text to the failure handler (tests
/// make it a test failure): a prompt that comes when another kind is expected (the step is
/// kept), a message box with another text (the step is used up), a prompt when no step is
/// left, an answer the message box does not offer, a dialog its script leaves open, and —
/// when the agent dies — steps that never came. Unexpected prompts get the default answer
/// (dialogs are cancelled).
class ScriptedAgent : public UserAgent
{
public:
    using DialogScript = std::function<void(Driver&)>;
    using FailureHandler = std::function<void(const std::string&)>;

    ScriptedAgent();
    ~ScriptedAgent() override;
    ScriptedAgent(const ScriptedAgent&) = delete;
    ScriptedAgent& operator=(const ScriptedAgent&) = delete;

    ScriptedAgent& expectDialog(int templateId, DialogScript script);
    ScriptedAgent& expectMessageBox(std::string_view text, int answer);
    ScriptedAgent& expectMessageBox(std::string_view text, std::string_view caption, int answer);
    /// A file dialog answered with `path`, or cancelled with std::nullopt.
    ScriptedAgent& expectFileDialog(std::optional<Kdr_String> path);
    /// A value prompt answered with `value`, or cancelled with std::nullopt.
    ScriptedAgent& expectPrompt(std::optional<Kdr_String> value);
    /// A popup menu answered with a command (0: none chosen).
    ScriptedAgent& expectMenu(int command);

    void setFailureHandler(FailureHandler handler) { onFailure_ = std::move(handler); }
    /// The handler new agents start with (a test program sets it once).
    static void setDefaultFailureHandler(FailureHandler handler);

    const std::vector<std::string>& failures() const { return failures_; }
    /// Steps not yet reached.
    std::size_t pending() const { return steps_.size(); }
    /// One line per prompt seen, in order.
    const std::vector<std::string>& transcript() const { return transcript_; }
    const std::vector<MessageBoxRequest>& messageBoxes() const { return messageBoxes_; }
    const std::vector<FileDialogRequest>& fileDialogs() const { return fileDialogs_; }
    const std::vector<ValuePromptRequest>& prompts() const { return prompts_; }

    void runModal(Dialog& dialog) override;
    int messageBox(const MessageBoxRequest& request) override;
    bool fileDialog(const FileDialogRequest& request, Kdr_String& path) override;
    bool promptValue(const ValuePromptRequest& request, Kdr_String& value) override;
    int popupMenu(const PopupMenu& menu, Point screenPoint, Window* owner) override;

private:
    enum class Kind
    {
        Dialog,
        MessageBox,
        FileDialog,
        Prompt,
        Menu,
    };
    struct Step
    {
        Kind kind = Kind::Dialog;
        int templateId = 0;
        Kdr_String text;
        std::optional<Kdr_String> caption;
        int answer = 0;
        std::optional<Kdr_String> value;
        DialogScript script;
    };

    /// The next step when it is of `kind`; otherwise reports `what` and returns nothing.
    std::optional<Step> take(Kind kind, const std::string& what);
    static std::string describe(const Step& step);
    void fail(const std::string& message);

    std::deque<Step> steps_;
    FailureHandler onFailure_;
    std::vector<std::string> failures_;
    std::vector<std::string> transcript_;
    std::vector<MessageBoxRequest> messageBoxes_;
    std::vector<FileDialogRequest> fileDialogs_;
    std::vector<ValuePromptRequest> prompts_;
};
} // namespace ui
