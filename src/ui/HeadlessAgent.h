#pragma once

#include "ui/Driver.h"
#include "ui/UserAgent.h"

#include <functional>
#include <map>
#include <string_view>

namespace ui
{
/// The agent of the command line, where nobody answers: message box texts are printed (to
/// standard error unless another sink is set) and answered with the default button; modal
/// dialogs it knows run their script, every other one is cancelled; file dialogs, value
/// prompts and menus are cancelled.
class HeadlessAgent : public UserAgent
{
public:
    using Sink = std::function<void(std::string_view)>;
    using DialogScript = std::function<void(Driver&)>;

    /// Where message texts go; an empty sink restores standard error.
    void setSink(Sink sink) { sink_ = std::move(sink); }
    /// Runs `script` on every modal dialog made from template `templateId`.
    void know(int templateId, DialogScript script) { known_[templateId] = std::move(script); }

    void runModal(Dialog& dialog) override;
    int messageBox(const MessageBoxRequest& request) override;
    bool fileDialog(const FileDialogRequest& request, Kdr_String& path) override;
    bool promptValue(const ValuePromptRequest& request, Kdr_String& value) override;

private:
    void print(std::string_view text) const;

    Sink sink_;
    std::map<int, DialogScript> known_;
};
} // namespace ui
