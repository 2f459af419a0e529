#pragma once

#include "frame/ZxDialogRecords.h"
#include "frame/ZxFormFields.h"
#include "frame/ZxModalDialog.h"
#include "ui/AcadHost.h"
#include "ui/Dialog.h"
#include "ui/ResourceModule.h"

#include <string_view>

/// The one dialog of the module's plain record dialogs: a form with a row per field of a
/// record (a label and an edit field, a check box, a drop-down list, a multi-line list or a
/// shown text) above OK and Cancel.
///
/// The template of each such dialog is made from its record's fields and registered under the
/// dialog's number (registerFormTemplate), so the dialog is found among the module's
/// resources like every other. OK reads every control into the bound record; a field that
/// holds no value of its kind, or a failing check of the record, is reported in a message
/// box and the form stays open with the focus on the field.
class ZxFormDlg : public ui::Dialog
{
public:
    /// The control of field `index` and its label.
    static constexpr int controlId(int index) { return kFirstControl + index; }
    static constexpr int labelId(int index) { return kFirstLabel + index; }

    explicit ZxFormDlg(int templateId, ui::Window* parent = nullptr) : ui::Dialog(templateId, parent) {}

    /// The fields edited, bound to the record the dialog works on.
    void setFields(ZxFormFields fields) { fields_ = std::move(fields); }
    /// A caption that replaces the template's; empty keeps it.
    void setCaption(Kdr_String caption) { caption_ = std::move(caption); }

    bool OnInitDialog() override;

protected:
    void OnOK() override;

private:
    static constexpr int kFirstControl = 1500;
    static constexpr int kFirstLabel = 1600;

    ZxFormFields fields_;
    Kdr_String caption_;
};

/// Registers the template of a form dialog: one row per field of `fields`.
void registerFormTemplate(ui::ResourceModule& module, int templateId, std::string_view caption,
                          const ZxFormFields& fields);

/// The message of a field that holds no value of its kind.
Kdr_String formValueMessage(const ZxFormFields::Field& field);

/// Runs the form dialog `templateId` on a record of the common shape: the record is copied
/// into the dialog, and back only when the user ends it with OK (true). The record lists its
/// fields with `fields(ZxFormFields&)`.
template <typename Record> bool startFormDialog(int templateId, Record& record, Kdr_String caption = {})
{
    Record working;
    return runModalOnRecord<ZxFormDlg>(
        [&](ZxFormDlg& dialog)
        {
            working = record;
            ZxFormFields fields;
            describeForm(working, fields);
            dialog.setFields(std::move(fields));
            dialog.setCaption(caption);
        },
        [&](ZxFormDlg&) { record = working; }, templateId, adsw_acadMainWnd());
}

/// Registers the template of a record's form dialog from the fields of a default record.
template <typename Record>
void registerRecordForm(ui::ResourceModule& module, int templateId, std::string_view caption)
{
    Record record;
    ZxFormFields fields;
    describeForm(record, fields);
    registerFormTemplate(module, templateId, caption, fields);
}
