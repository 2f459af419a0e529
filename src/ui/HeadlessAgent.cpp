#include "ui/HeadlessAgent.h"

#include "ui/Dialog.h"

#include <cstdio>

namespace ui
{
void HeadlessAgent::print(std::string_view text) const
{
    std::string line(text);
    if (line.empty() || line.back() != '\n')
        line += '\n';
    if (sink_)
        sink_(line);
    else
        std::fwrite(line.data(), 1, line.size(), stderr);
}

void HeadlessAgent::runModal(Dialog& dialog)
{
    auto it = known_.find(dialog.templateId());
    if (it != known_.end() && it->second)
    {
        Driver driver(dialog, [this](const std::string& message) { print(message); });
        auto script = it->second;
        script(driver);
        return;
    }
    // Nobody is there to fill it in: the dialog is cancelled as a user would.
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

int HeadlessAgent::messageBox(const MessageBoxRequest& request)
{
    print(request.text);
    return defaultMessageBoxAnswer(request.flags);
}

bool HeadlessAgent::fileDialog(const FileDialogRequest& request, Kdr_String& path)
{
    (void)request;
    (void)path;
    return false;
}

bool HeadlessAgent::promptValue(const ValuePromptRequest& request, Kdr_String& value)
{
    (void)request;
    (void)value;
    return false;
}
} // namespace ui
