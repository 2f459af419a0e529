#pragma once

#include "host/DlgEditLibData.h"
#include "library/Kdr_ProfValuesTable.h"
#include "spread/Kdr_Spread.h"
#include "ui/CButtonST.h"
#include "ui/Dialog.h"
#include "ui/ResourceModule.h"

#include <array>

/// Template and control ids of the section library dialog and its three pages.
enum EditLibSectionsResourceId
{
    IDD_EDITLIB_SECTIONS = 8717, ///< the container; its pages are 8138, 8139 and 8716
    IDC_EDITLIB_TABS = 1449,
    IDD_EDITLIB_GROUPS = 8138,
    IDD_EDITLIB_TYPES = 8139,
    IDD_EDITLIB_TABLES = 8716,

    // Groups and types pages.
    IDC_LIB_GROUP_LABEL = 1108,
    IDC_LIB_TYPE_LABEL = 1081,
    IDC_LIB_ENABLED = 1185,
    IDC_LIB_IMAGE_LABEL = 1186,
    IDC_LIB_TYPE_GROUP_LABEL = 1187,
    IDC_LIB_NAMES_LABEL = 1188,
    IDC_LIB_NEW = 1189,
    IDC_LIB_DELETE = 1190,
    IDC_LIB_TABLE_LABEL = 1192,
    IDC_LIB_NAMES = 1193,
    IDC_LIB_GROUPS = 1194,
    IDC_LIB_IMAGE = 1195,
    IDC_LIB_TYPE_GROUP = 1196,
    IDC_LIB_TYPE_TABLE = 1198,
    IDC_LIB_TYPES = 1199,
    IDC_LIB_DOWN = 1442,
    IDC_LIB_UP = 1443,

    // Profile tables page.
    IDC_TABLES_GRID = 1196,
    IDC_TABLES_FIT = 1198,
    IDC_TABLES_SORT = 1199,
    IDC_TABLES_NEW = 1189,
    IDC_TABLES_DELETE = 1190,
    IDC_TABLES_RENEW = 1200,
    IDC_TABLES_RENAME = 1201,
    IDC_TABLES_PICTURE = 1202,
    IDC_TABLES_LABEL = 1203,
    IDC_TABLES_INSERT_ROW = 1204,
    IDC_TABLES_DELETE_ROW = 1205,
    IDC_TABLES_ROW_UP = 1206,
    IDC_TABLES_ROW_DOWN = 1207,
    IDC_TABLES_FIND = 1208,
    IDC_TABLES_LIST = 1248,
};

/// Registers the templates of the dialog and its pages with the module's resources.
void registerEditLibSectionsTemplates(ui::ResourceModule& module);

/// A page that edits a list of named items (section groups or section types): a check-list
/// combo of the items, the shown item's enabled flag, image name and names per language, and
/// commands to add, delete and reorder items. The shown item's values go back into the list
/// before another item is shown, when its check box changes and when the page is left.
class Kdr_EditLibNamesPage : public ui::Dialog
{
public:
    Kdr_EditLibNamesPage(int templateId, int listId) : ui::Dialog(templateId), listId_(listId) {}

    /// Writes the shown item's values back into the list.
    void writeBack();
    /// The index of the shown item, -1 for none.
    int shownItem() const { return shown_; }

protected:
    bool OnInitDialog() override;

    virtual int itemCount() const = 0;
    virtual Kdr_String itemName(int index) const = 0;
    virtual bool itemEnabled(int index) const = 0;
    virtual void setItemEnabled(int index, bool enabled) = 0;
    virtual Kdr_String itemImage(int index) const = 0;
    virtual void setItemImage(int index, const Kdr_String& image) = 0;
    virtual Kdr_StringArray itemLangs(int index) const = 0;
    virtual void setItemLangs(int index, const Kdr_StringArray& langs) = 0;
    /// Appends a new item and returns its index.
    virtual int appendItem() = 0;
    virtual void removeItem(int index) = 0;
    virtual void swapItems(int first, int second) = 0;
    /// Page-specific controls of the shown item (-1: none shown).
    virtual void showExtra(int) {}
    virtual void writeBackExtra(int) {}
    virtual void enableExtra(bool) {}

    /// Fills the list anew and shows item `index` (clamped; -1 when the list is empty).
    void refill(int index);
    void show(int index);

private:
    void onChosen();
    void onItemCheck();
    void addItem();
    void deleteItem();
    void moveItem(bool up);

    int listId_;
    int shown_ = -1;
    Kdr_Spread names_;
    std::array<CButtonST, 2> moveButtons_;
};

/// The section groups page.
class Kdr_DlgEditLibGroups : public Kdr_EditLibNamesPage
{
public:
    explicit Kdr_DlgEditLibGroups(SectionGroupArray& groups)
        : Kdr_EditLibNamesPage(IDD_EDITLIB_GROUPS, IDC_LIB_GROUPS), groups_(groups)
    {
    }

protected:
    bool OnInitDialog() override;
    int itemCount() const override { return groups_.length(); }
    Kdr_String itemName(int index) const override { return groups_[index].getName(); }
    bool itemEnabled(int index) const override { return groups_[index].getEnabled(); }
    void setItemEnabled(int index, bool enabled) override { groups_[index].setEnabled(enabled); }
    Kdr_String itemImage(int index) const override { return groups_[index].getImage(); }
    void setItemImage(int index, const Kdr_String& image) override { groups_[index].setImage(image); }
    Kdr_StringArray itemLangs(int index) const override { return groups_[index].getLangs(); }
    void setItemLangs(int index, const Kdr_StringArray& langs) override { groups_[index].setLangs(langs); }
    int appendItem() override { return groups_.appendNewGrp(); }
    void removeItem(int index) override { groups_.removeAt(index); }
    void swapItems(int first, int second) override { groups_.swap(first, second); }

private:
    SectionGroupArray& groups_;
};

/// The section types page.
class Kdr_DlgEditLibTypes : public Kdr_EditLibNamesPage
{
public:
    explicit Kdr_DlgEditLibTypes(DlgEditLibData& data)
        : Kdr_EditLibNamesPage(IDD_EDITLIB_TYPES, IDC_LIB_TYPES), data_(data)
    {
    }

    /// Reads the group names and the table names again (the other pages may have changed
    /// them) and shows the shown type with them.
    void reloadLists();

protected:
    bool OnInitDialog() override;
    int itemCount() const override { return data_.types.length(); }
    Kdr_String itemName(int index) const override { return data_.types[index].getName(); }
    bool itemEnabled(int index) const override { return data_.types[index].getEnabled(); }
    void setItemEnabled(int index, bool enabled) override { data_.types[index].setEnabled(enabled); }
    Kdr_String itemImage(int index) const override { return data_.types[index].getImage(); }
    void setItemImage(int index, const Kdr_String& image) override { data_.types[index].setImage(image); }
    Kdr_StringArray itemLangs(int index) const override { return data_.types[index].getLangs(); }
    void setItemLangs(int index, const Kdr_StringArray& langs) override
    {
        data_.types[index].setLangs(langs);
    }
    int appendItem() override;
    void removeItem(int index) override { data_.types.removeAt(index); }
    void swapItems(int first, int second) override;
    void showExtra(int index) override;
    void writeBackExtra(int index) override;
    void enableExtra(bool enable) override;

private:
    DlgEditLibData& data_;
    Kdr_Array<int> groupIds_;
};

/// The profile tables page: one table of the library in a grid, with its picture, and the
/// commands on tables and rows.
class Kdr_DlgEditLibTables : public ui::Dialog
{
public:
    Kdr_DlgEditLibTables(DlgEditLibData& data, const Kdr_String& sysName)
        : ui::Dialog(IDD_EDITLIB_TABLES), data_(data), sysName_(sysName)
    {
    }

    /// Asks about unsaved changes of the shown table (Yes saves it). False when the user
    /// cancels or the save fails: whatever was to follow must not happen.
    bool confirmUnsaved();
    const Kdr_ProfValuesTable& shownTable() const { return table_; }

protected:
    bool OnInitDialog() override;

private:
    void selectTable(int index);
    void loadTable(int index);
    /// Takes the table from the grid, with the picture of the picture combo.
    void takeFromGrid(Kdr_ProfValuesTable& table);
    bool saveShown();
    void enableTableCommands();
    void showPicture(const Kdr_String& picture);
    void deriveHeaders(bool pictureChanged);
    void fillTableList();
    void report(const Kdr_String& text);

    void onTableChosen();
    void onPictureChosen();
    void newTable();
    void deleteTable();
    void renameTable();
    void renewHeaders();
    void insertRow();
    void rowCommand(int id);

    DlgEditLibData& data_;
    Kdr_String sysName_;
    Kdr_ProfValuesTable table_;
    int shownIndex_ = -1;
    Kdr_Spread grid_;
    std::array<CButtonST, 7> rowButtons_;
};

/// The section library dialog: the tabs of the section groups, the section types and the
/// profile tables, on a copy of the host's record.
class Kdr_DlgEditLibSections : public ui::Dialog
{
public:
    Kdr_DlgEditLibSections(const DlgEditLibData& data, const Kdr_String& sysName,
                           ui::Window* parent = nullptr);

    const DlgEditLibData& data() const { return data_; }

    static constexpr const char* kSizeKey = "DLG_EDIT_SECTIONLIB";

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void showPage();

    DlgEditLibData data_;
    Kdr_String sysName_;
    Kdr_DlgEditLibGroups groups_;
    Kdr_DlgEditLibTypes types_;
    Kdr_DlgEditLibTables tables_;
};

/// Runs the section library dialog on a copy of `data` (whose file lists are read first).
/// `sysName`, a full system name ("IPE-300"), opens the profile tables on that table and
/// size; empty, the dialog opens on the section groups. On OK the copy goes back into `data`
/// and the result is true.
bool StartDlgEditLibSections(DlgEditLibData& data, const Kdr_String& sysName);
