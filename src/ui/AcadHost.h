#pragma once

#include <string>
#include <vector>

namespace ui
{
class Window;

/// What the module asked of the CAD host's command stack and display, in order, so tests
/// can see it.
struct HostRequests
{
    std::vector<std::string> postedCommands;
    int commandPrompts = 0;
    int displayUpdates = 0;

    void clear()
    {
        postedCommands.clear();
        commandPrompts = 0;
        displayUpdates = 0;
    }
};

HostRequests& hostRequests();
} // namespace ui

/// Queues a command for the host's command line; recorded in hostRequests().
bool acedPostCommand(const char* command);
/// Asks the host to show its command prompt again; recorded.
void acedPostCommandPrompt();
/// Asks the host to bring the drawing up to date; recorded.
void acedUpdateDisplay();
/// The host's main window: a visible top-level window as large as the screen, made on first
/// use (and made again when someone destroyed it).
ui::Window* adsw_acadMainWnd();
