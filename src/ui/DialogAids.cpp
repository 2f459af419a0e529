#include "ui/DialogAids.h"

#include "host/FileFunctions.h"
#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/UserAgent.h"

int FillCombo(ui::ComboBox* combo, const Kdr_StringArray& items, const Kdr_String& current)
{
    if (combo == nullptr)
        return -1;
    combo->ResetContent();
    for (int i = 0; i < items.length(); ++i)
        combo->AddString(items[i]);
    const int index = combo->FindStringExact(-1, current);
    if (index != CB_ERR)
        return combo->SetCurSel(index);
    combo->SetCurSel(-1);
    if (combo->hasEditField())
        combo->SetWindowText(current);
    return -1;
}

bool ShowOrHideCtrl(ui::Window* parent, int id, bool show)
{
    ui::Window* control = parent != nullptr ? parent->GetDlgItem(id) : nullptr;
    if (control == nullptr)
        return false;
    control->ShowWindow(show ? SW_SHOW : SW_HIDE);
    return true;
}

void disableTriState(ui::Button* button)
{
    if (button == nullptr || !button->isThreeState())
        return;
    const int state = button->GetCheck();
    button->SetButtonStyle(button->GetButtonStyle() == BS_AUTO3STATE ? BS_AUTOCHECKBOX : BS_CHECKBOX);
    button->SetCheck(state == BST_UNCHECKED ? BST_UNCHECKED : BST_CHECKED);
}

bool DlgOpenSave(bool open, const Kdr_String& title, const Kdr_String& defaultExtension,
                 const Kdr_String& filter, const Kdr_String& start, Kdr_String& path, unsigned flags,
                 ui::Window* owner)
{
    ui::FileDialogRequest request;
    request.owner = owner;
    request.open = open;
    request.title = title;
    request.defaultExtension = defaultExtension;
    request.filter = filter;
    request.flags =
        flags != 0 ? flags
                   : (open ? OFN_FILEMUSTEXIST | OFN_HIDEREADONLY : OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY);
    const Kdr_String normalized = host::normalizePath(start);
    if (!normalized.empty() && (normalized.back() == '/' || host::folderExists(normalized)))
        request.initialFolder = normalized;
    else
    {
        request.fileName = normalized;
        const auto slash = normalized.rfind('/');
        if (slash != std::string::npos)
            request.initialFolder = normalized.left(static_cast<int>(slash) + 1);
    }
    return ui::fileDialog(request, path);
}

void ExportStartDlgInfo(const Kdr_String& text, const Kdr_String& title, const Kdr_String& buttonText)
{
    (void)buttonText;
    ui::messageBox(nullptr, text, title, MB_OK | MB_ICONINFORMATION);
}
