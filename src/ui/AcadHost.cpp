#include "ui/AcadHost.h"

#include "ui/Window.h"

namespace ui
{
HostRequests& hostRequests()
{
    static auto& requests = *new HostRequests;
    return requests;
}
} // namespace ui

bool acedPostCommand(const char* command)
{
    ui::hostRequests().postedCommands.emplace_back(command != nullptr ? command : "");
    return true;
}

void acedPostCommandPrompt()
{
    ++ui::hostRequests().commandPrompts;
}

void acedUpdateDisplay()
{
    ++ui::hostRequests().displayUpdates;
}

ui::Window* adsw_acadMainWnd()
{
    static auto& main = *new ui::Window;
    if (!main.IsWindow())
        main.Create("AfxMDIFrame", "AutoCAD", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE,
                    ui::screenRect(), nullptr, 0);
    return &main;
}
