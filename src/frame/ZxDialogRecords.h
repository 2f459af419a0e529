#pragma once

#include "host/AcDbObjectId.h"
#include "host/Kdr_StringArray.h"
#include "host/MacroArrayData.h"
#include "host/MacroProfData.h"

#include <vector>

class ZxFormFields;

/// The fields of a record for its form: the record's own list by default.
template <typename Record> void describeForm(Record& record, ZxFormFields& form)
{
    record.fields(form);
}
/// The array of a macro tab (a host record): its name, its mode, its five texts and, for an
/// array that is not regular, its entries one per line.
void describeForm(DynArrayData& array, ZxFormFields& form);

// The records of the module's plain macro dialogs. Each is a copyable record of named
// fields that the host fills, hands to a dialog and gets back when the user accepts; each
// lists its fields for the form that edits it.

/// The cuts a macro makes in the profiles it connects.
struct DlgMacroCutsData
{
    Kdr_String macroName;
    /// Index of kCutTypes.
    int cutType = 0;
    double offset = 0;
    double gap = 0;
    double angle = 90;
    bool bothEnds = false;
    bool applyToAllModules = false;

    static const Kdr_StringArray& cutTypes();
    void fields(ZxFormFields& form);
    bool operator==(const DlgMacroCutsData&) const = default;
};

/// A cut at one end (or both ends) of a single profile.
struct DlgProfCutsData
{
    Kdr_String profileName;
    /// 0 start, 1 end, 2 both ends.
    int profileEnd = 0;
    /// Index of DlgMacroCutsData::cutTypes().
    int cutType = 0;
    double angle = 90;
    double depth = 0;
    double length = 0;
    double radius = 0;

    void fields(ZxFormFields& form);
    bool operator==(const DlgProfCutsData&) const = default;
};

/// The part properties of a profile as the bill and the workshop see them.
struct DlgProfFeaturesData
{
    Kdr_String profileName;
    Kdr_String section;
    Kdr_String material;
    Kdr_String finish;
    Kdr_String partMark;
    int phase = 1;
    Kdr_String remark;
    bool mainPart = false;
    bool inBill = true;

    void fields(ZxFormFields& form);
    bool operator==(const DlgProfFeaturesData&) const = default;
};

/// Points of a profile for its numerical-control (DSTV) file.
struct ZxDSTVPointsData
{
    /// Index of faces().
    int face = 0;
    /// One point per item, "x,y".
    Kdr_StringArray points;
    bool mirrored = false;

    static const Kdr_StringArray& faces();
    void fields(ZxFormFields& form);
    bool operator==(const ZxDSTVPointsData&) const = default;
};

/// A building grid: spacings along both directions ("5000 2*6000") and their labels.
struct ZxGridDlgData
{
    Kdr_String name;
    Kdr_String spacingsX;
    Kdr_String spacingsY;
    Kdr_String firstLabelX = "A";
    Kdr_String firstLabelY = "1";
    double extension = 1000;
    bool showLabels = true;

    void fields(ZxFormFields& form);
    bool operator==(const ZxGridDlgData&) const = default;
};

/// The levels of a building, a name and an elevation each.
struct ZxLevelsDlgData
{
    Kdr_StringArray names;
    Kdr_StringArray elevations;
    bool showInDrawing = true;

    void fields(ZxFormFields& form);
    bool operator==(const ZxLevelsDlgData&) const = default;
};

/// A value looked up in a table of the library by a key and a column.
struct ZxLookUpDlgData
{
    Kdr_String table;
    Kdr_String column;
    Kdr_String key;
    Kdr_String value;
    bool exactMatch = true;

    void fields(ZxFormFields& form);
    bool operator==(const ZxLookUpDlgData&) const = default;
};

/// One image chosen from a folder's images.
struct ZxSelectImageDlgData
{
    Kdr_String folder;
    Kdr_StringArray images;
    /// Index of the chosen image; −1 for none.
    int selected = -1;
    bool showNames = true;

    void fields(ZxFormFields& form);
    bool operator==(const ZxSelectImageDlgData&) const = default;
};

/// How a wall or roof is clad.
struct ZxCladdingDlgData
{
    Kdr_String sheetType;
    Kdr_String material;
    double thickness = 0.7;
    double overlap = 0;
    double offset = 0;
    /// 0 horizontal, 1 vertical.
    int direction = 0;
    bool withFixings = true;

    void fields(ZxFormFields& form);
    bool operator==(const ZxCladdingDlgData&) const = default;
};

/// The header information of a CIS/2 export.
struct ZxDlgCis2Data
{
    Kdr_String projectName;
    Kdr_String author;
    Kdr_String organisation;
    Kdr_String description;
    /// 0 analysis, 1 design, 2 manufacturing.
    int view = 1;
    bool includeBolts = true;

    void fields(ZxFormFields& form);
    bool operator==(const ZxDlgCis2Data&) const = default;
};

/// A bracing between two members.
struct ZxBracingDlgData
{
    /// Index of types().
    int type = 0;
    Kdr_String section;
    Kdr_String material;
    double offset = 0;
    bool tensionOnly = false;

    static const Kdr_StringArray& types();
    void fields(ZxFormFields& form);
    bool operator==(const ZxBracingDlgData&) const = default;
};

/// The general variables of the drawing, a name and a value each, which standards sheets read.
struct ZxAutoStandardsData
{
    Kdr_StringArray names;
    Kdr_StringArray values;
    bool autoStandards = false;

    void fields(ZxFormFields& form);
    bool operator==(const ZxAutoStandardsData&) const = default;
};

/// The arguments of a macro selection, as one record.
struct ZxSelectMacroArgs
{
    Kdr_String caption;
    Kdr_StringArray names;
    /// Per name: whether it may be chosen; empty: every one may.
    std::vector<bool> selectable;
    /// The property filter the list was made with.
    int filter = 0;
    /// The chosen name's index; −1 for none.
    int selected = -1;
    bool useFilter = false;
    /// Whether "no macro" is an answer.
    bool allowNone = false;

    void fields(ZxFormFields& form);
    bool operator==(const ZxSelectMacroArgs&) const = default;
};

/// What the advanced profile dialog asks of its caller's callback.
enum ZxMACallBackType
{
    kMACallBackInit = 0,  ///< fill the member group's properties from the drawing
    kMACallBackApply = 1, ///< the user accepted these properties: apply them
};

/// What the advanced profile dialog tells its caller's callback.
struct ZxMACallBackData
{
    Kdr_String tabName;
    Kdr_String groupName;
    Kdr_Array<AcDbObjectId> objects;

    bool operator==(const ZxMACallBackData&) const = default;
};

/// The callback of the advanced profile dialog; false refuses.
using ZxMACallBack = bool (*)(ZxMACallBackType, const ZxMACallBackData&, MacroProfData&);

/// The merged properties of one member group as the advanced profile dialog edits them.
struct ZxMacroProfAdvArgs
{
    MacroProfProps props;
    bool readOnly = false;

    void fields(ZxFormFields& form);
    bool operator==(const ZxMacroProfAdvArgs&) const = default;
};
