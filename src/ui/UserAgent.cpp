#include "ui/UserAgent.h"

#include "host/FileFunctions.h"
#include "ui/HeadlessAgent.h"
#include "ui/Window.h"

namespace ui
{
namespace
{
UserAgent* gAgent = nullptr;

HeadlessAgent& headless()
{
    static HeadlessAgent agent;
    return agent;
}

Kdr_String& title()
{
    static Kdr_String text("kaldor-ss");
    return text;
}
} // namespace

int UserAgent::popupMenu(const PopupMenu& menu, Point screenPoint, Window* owner)
{
    (void)menu;
    (void)screenPoint;
    (void)owner;
    return 0;
}

UserAgent& userAgent()
{
    return gAgent != nullptr ? *gAgent : headless();
}

UserAgent* setUserAgent(UserAgent* agent)
{
    UserAgent* previous = gAgent;
    gAgent = agent;
    return previous;
}

int defaultMessageBoxAnswer(unsigned flags)
{
    static const int buttons[][3] = {
        {IDOK, IDOK, IDOK},           // MB_OK
        {IDOK, IDCANCEL, IDOK},       // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE}, // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},      // MB_YESNOCANCEL
        {IDYES, IDNO, IDYES},         // MB_YESNO
        {IDRETRY, IDCANCEL, IDRETRY}, // MB_RETRYCANCEL
    };
    const unsigned type = flags & MB_TYPEMASK;
    if (type > MB_RETRYCANCEL)
        return IDOK;
    // A default button beyond the ones shown falls back to the first, as on the platform.
    const unsigned position = (flags & MB_DEFMASK) >> 8;
    return buttons[type][position > 2 ? 0 : position];
}

bool messageBoxOffers(unsigned flags, int answer)
{
    switch (flags & MB_TYPEMASK)
    {
    case MB_OK:
        return answer == IDOK;
    case MB_OKCANCEL:
        return answer == IDOK || answer == IDCANCEL;
    case MB_ABORTRETRYIGNORE:
        return answer == IDABORT || answer == IDRETRY || answer == IDIGNORE;
    case MB_YESNOCANCEL:
        return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    case MB_YESNO:
        return answer == IDYES || answer == IDNO;
    case MB_RETRYCANCEL:
        return answer == IDRETRY || answer == IDCANCEL;
    default:
        return answer == IDOK;
    }
}

const Kdr_String& applicationTitle()
{
    return title();
}
void setApplicationTitle(std::string_view text)
{
    title() = Kdr_String(text);
}

int messageBox(Window* owner, std::string_view text, std::string_view caption, unsigned flags)
{
    DispatchScope scope;
    MessageBoxRequest request{owner, Kdr_String(text),
                              caption.empty() ? applicationTitle() : Kdr_String(caption), flags};
    return userAgent().messageBox(request);
}

bool fileDialog(const FileDialogRequest& request, Kdr_String& path)
{
    DispatchScope scope;
    Kdr_String chosen;
    if (!userAgent().fileDialog(request, chosen) || chosen.empty())
        return false;
    if (!request.defaultExtension.empty() && host::getExtension(chosen).empty())
    {
        Kdr_String extension = request.defaultExtension;
        if (extension.startsWith(".", true))
            extension = extension.mid(1);
        chosen += "." + extension;
    }
    const Kdr_String title =
        request.title.empty() ? Kdr_String(request.open ? "Open" : "Save As") : request.title;
    if (request.open && (request.flags & OFN_FILEMUSTEXIST) != 0 && !host::fileExists(chosen))
    {
        messageBox(request.owner, chosen + "\nFile not found.\nCheck the file name and try again.", title,
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!request.open && (request.flags & OFN_OVERWRITEPROMPT) != 0 && host::fileExists(chosen) &&
        messageBox(request.owner, chosen + " already exists.\nDo you want to replace it?", title,
                   MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return false;
    path = chosen;
    return true;
}

bool promptValue(const ValuePromptRequest& request, Kdr_String& value)
{
    DispatchScope scope;
    return userAgent().promptValue(request, value);
}
} // namespace ui

int AfxMessageBox(std::string_view text, unsigned flags)
{
    return ui::messageBox(nullptr, text, {}, flags);
}
