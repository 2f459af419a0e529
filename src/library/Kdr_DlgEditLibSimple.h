#pragma once

#include "library/Kdr_ProfValuesTable.h"
#include "library/SectionLibrary.h"
#include "ui/CButtonST.h"
#include "ui/Dialog.h"
#include "ui/ResourceModule.h"

/// Template and control ids of the new-size dialog.
enum EditLibSimpleResourceId
{
    IDD_EDITLIB_SIMPLE = 226,
    IDC_SIMPLE_NAME = 1000,
    IDC_SIMPLE_NAME_LABEL = 1123,
    IDC_SIMPLE_ICON = 1294,
    IDC_SIMPLE_ACTIVE = 1296,
    IDC_SIMPLE_FIRST_LABEL = 1299, ///< property k: label 1297 + 2k, edit 1298 + 2k (k = 1 … 11)
    IDC_SIMPLE_FIRST_VALUE = 1300,
    IDC_SIMPLE_AUTOMATIC = 1358,
    IDC_SIMPLE_OWN_NAME = 1359,
    IDC_SIMPLE_NAME_GROUP = 1360,
};

/// The most property fields the form offers.
constexpr int kSimpleProperties = 11;
/// The label and the edit field of property k (1 … 11).
constexpr int simplePropertyLabel(int k)
{
    return 1297 + 2 * k;
}
constexpr int simplePropertyEdit(int k)
{
    return 1298 + 2 * k;
}

/// Registers the dialog's template with the module's resources.
void registerEditLibSimpleTemplate(ui::ResourceModule& module);

/// The new-size dialog: one new size of a profile table, made from a template size whose
/// system name shows how names are composed from the dimensions ("100x50x5" from height,
/// width and thickness). It edits a copy of the table; OK adds the size there.
class Kdr_DlgEditLibSimple : public ui::Dialog
{
public:
    Kdr_DlgEditLibSimple(const Kdr_String& sysName, const Kdr_ProfValuesTable& table,
                         ui::Window* parent = nullptr);

    const Kdr_ProfValuesTable& table() const { return table_; }
    /// The new size's index among the active rows, -1 before OK.
    int newIndex() const { return newIndex_; }

    static constexpr const char* kSizeKey = "DLG_EDITLIBSIMPLE";

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    bool automaticName() const;
    /// The value column shown as property k (1 based), -1 when the row has none.
    int propertyColumn(int k) const;
    Kdr_String propertyName(int k) const;
    /// The dimension text: the pattern's values, from the property fields, joined with "x".
    Kdr_String composedName() const;
    void updateAutomaticName();
    void chooseNaming(bool automatic);

    Kdr_String sysName_;
    Kdr_ProfValuesTable table_;
    Kdr_SizePattern pattern_;
    Kdr_StringArray prefixes_;
    int languageIndex_ = -1;
    int shownProperties_ = 0;
    int newIndex_ = -1;
    CButtonST icon_;
};

/// Runs the new-size dialog on a copy of `table`, starting from the size `sysName` (else the
/// first). On OK `table` receives the copy with the new size, `newIndex` the size's index
/// among the active sizes, and the result is true. A table without sizes has no template to
/// start from: the result is then false and no dialog is shown.
bool StartDlgEditLibSimple(const Kdr_String& sysName, Kdr_ProfValuesTable& table, int& newIndex);
