#include "frame/ZxFormDlg.h"

#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/UserAgent.h"

namespace
{
using Kind = ZxFormFields::Kind;

constexpr int kMargin = 7;
constexpr int kLabelWidth = 90;
constexpr int kControlX = 100;
constexpr int kControlWidth = 153;
constexpr int kWidth = kControlX + kControlWidth + kMargin;
constexpr int kRowHeight = 12;
constexpr int kListHeight = 40;
constexpr int kRowGap = 4;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
} // namespace

void registerFormTemplate(ui::ResourceModule& module, int templateId, std::string_view caption,
                          const ZxFormFields& fields)
{
    ui::DialogTemplate form(templateId, caption, 0, 0, kWidth, 0);
    form.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    int y = kMargin;
    const auto& all = fields.fields();
    for (int i = 0; i < static_cast<int>(all.size()); ++i)
    {
        const ZxFormFields::Field& field = all[static_cast<size_t>(i)];
        const int id = ZxFormDlg::controlId(i);
        int height = kRowHeight;
        switch (field.kind)
        {
        case Kind::Flag:
            form.autoCheckBox(id, field.label.c_str(), kMargin, y + 1, kWidth - 2 * kMargin, 10);
            break;
        case Kind::Choice:
            form.ltext(ZxFormDlg::labelId(i), field.label.c_str(), kMargin, y + 2, kLabelWidth, 8);
            form.comboBox(id, kControlX, y, kControlWidth, 80, CBS_DROPDOWNLIST | WS_VSCROLL);
            break;
        case Kind::List:
            height = kListHeight;
            form.ltext(ZxFormDlg::labelId(i), field.label.c_str(), kMargin, y + 2, kLabelWidth, 8);
            form.editText(id, kControlX, y, kControlWidth, height,
                          ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL);
            break;
        case Kind::Info:
            form.ltext(ZxFormDlg::labelId(i), field.label.c_str(), kMargin, y + 2, kLabelWidth, 8);
            form.ltext(id, "", kControlX, y + 2, kControlWidth, 8);
            break;
        default:
            form.ltext(ZxFormDlg::labelId(i), field.label.c_str(), kMargin, y + 2, kLabelWidth, 8);
            form.editText(id, kControlX, y, kControlWidth, height, ES_AUTOHSCROLL);
            break;
        }
        y += height + kRowGap;
    }
    y += kRowGap;
    form.defPushButton(IDOK, "OK", kWidth - kMargin - 2 * kButtonWidth - 4, y, kButtonWidth, kButtonHeight);
    form.pushButton(IDCANCEL, "Cancel", kWidth - kMargin - kButtonWidth, y, kButtonWidth, kButtonHeight);
    form.rect.bottom = y + kButtonHeight + kMargin;
    module.addDialog(std::move(form));
}

Kdr_String formValueMessage(const ZxFormFields::Field& field)
{
    const char* what = field.kind == Kind::Integer ? "a whole number" : "a number";
    return Kdr_String("Enter ") + what + " for \"" + field.label + "\".";
}

bool ZxFormDlg::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    if (!caption_.empty())
        SetWindowText(caption_);
    const auto& all = fields_.fields();
    for (int i = 0; i < static_cast<int>(all.size()); ++i)
    {
        const ZxFormFields::Field& field = all[static_cast<size_t>(i)];
        ui::Window* control = GetDlgItem(controlId(i));
        if (control == nullptr)
            continue;
        switch (field.kind)
        {
        case Kind::Flag:
            CheckDlgButton(controlId(i), *std::get<bool*>(field.target) ? BST_CHECKED : BST_UNCHECKED);
            break;
        case Kind::Choice:
            if (auto* combo = dynamic_cast<ui::ComboBox*>(control))
            {
                combo->ResetContent();
                for (const Kdr_String& option : field.options)
                    combo->AddString(option);
                combo->SetCurSel(*std::get<int*>(field.target));
            }
            break;
        default:
            control->SetWindowText(ZxFormFields::display(field));
            break;
        }
        if (fields_.readOnly() && field.kind != Kind::Info)
        {
            if (auto* edit = dynamic_cast<ui::Edit*>(control))
                edit->SetReadOnly(true);
            else
                control->EnableWindow(false);
        }
    }
    return true;
}

void ZxFormDlg::OnOK()
{
    // Every text is checked before any member changes, so a refused form leaves the record
    // as it was when the form opened.
    const auto& all = fields_.fields();
    for (int i = 0; i < static_cast<int>(all.size()); ++i)
    {
        const ZxFormFields::Field& field = all[static_cast<size_t>(i)];
        if (field.kind != Kind::Integer && field.kind != Kind::Number)
            continue;
        int dummyInt = 0;
        double dummyNumber = 0;
        ZxFormFields::Field probe = field;
        if (field.kind == Kind::Integer)
            probe.target = &dummyInt;
        else
            probe.target = &dummyNumber;
        if (!ZxFormFields::store(probe, GetDlgItemText(controlId(i))))
        {
            AfxMessageBox(formValueMessage(field), MB_OK | MB_ICONWARNING);
            GotoDlgCtrl(GetDlgItem(controlId(i)));
            return;
        }
    }
    if (!fields_.readOnly())
    {
        for (int i = 0; i < static_cast<int>(all.size()); ++i)
        {
            const ZxFormFields::Field& field = all[static_cast<size_t>(i)];
            switch (field.kind)
            {
            case Kind::Flag:
                *std::get<bool*>(field.target) = IsDlgButtonChecked(controlId(i)) == BST_CHECKED;
                break;
            case Kind::Choice:
                if (auto* combo = dlgItem<ui::ComboBox>(controlId(i)))
                    *std::get<int*>(field.target) = combo->GetCurSel();
                break;
            case Kind::Info:
                break;
            default:
                ZxFormFields::store(field, GetDlgItemText(controlId(i)));
                break;
            }
        }
    }
    Kdr_String message;
    if (!fields_.accept(message))
    {
        AfxMessageBox(message, MB_OK | MB_ICONWARNING);
        return;
    }
    EndDialog(IDOK);
}
