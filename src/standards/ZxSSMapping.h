#pragma once

#include "host/ErrorStatus.h"
#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"
#include "standards/ZxObjectMap.h"
#include "standards/ZxVarTypes.h"

class Kdr_DbMacro;
class Kdr_Macro;
class Kdr_Module;
class AcTransaction;
class ZxDlgStandardsData;

/// How a sheet finds the macro variables of its variable cells.
enum ZxMappingMode : int
{
    /// Nothing loaded yet.
    mapNone = 0,
    /// The sheet works directly on one module group; variable names address the variables.
    mapModuleGroup = 1,
    /// Bindings loaded from the sheet's mapping file.
    mapFile = 2,
};

/// Byte between the spreadsheet variable name and the map text of a mapping file entry.
inline constexpr char kMapEntrySeparator = '\x83';
/// Byte between the entries of a mapping file line.
inline constexpr char kMapListSeparator = '\xBF';
/// The first line of every mapping file.
inline constexpr const char* kMappingHeader = "Mapping version 1.0";

/// The bindings of one spreadsheet for one target, and the mapping file that stores them
/// (one line per target beside the sheet).
class ZxSSMapping
{
public:
    ZxSSMapping() = default;
    virtual ~ZxSSMapping() = default;
    ZxSSMapping(const ZxSSMapping&) = default;
    ZxSSMapping& operator=(const ZxSSMapping&) = default;

    int mode() const { return mode_; }
    void setMode(int mode) { mode_ = mode; }

    const Kdr_Array<ZxObjectMap>& mappedObjects() const { return objects_; }
    Kdr_Array<ZxObjectMap>& mappedObjectsWrite() { return objects_; }

    // -- The mapping file ------------------------------------------------------------------

    /// The mapping file of a sheet, beside the sheet with the extension "map": for a name that
    /// is a path to an existing file (absolute or relative) beside that file, else beside the
    /// sheet of that name in the library's "Connection Standards" folder.
    static Kdr_String mappingFilePath(const Kdr_String& ssName);

    /// Loads the line of `target` (key compared with case). A file with no target lines leaves
    /// the mapping as it is and gives eOk; an unreadable file or a missing target eInvalidInput.
    Acad::ErrorStatus getMappingFromFile(Kdr_String ssName, const Kdr_String& target);
    /// Stores this mapping as the line of `target`. An unchanged mapping writes nothing; a
    /// changed one replaces its line, which moves to the end of the file. A file that exists
    /// but cannot be read is left as it is (eInvalidInput).
    Acad::ErrorStatus setMappingToFile(Kdr_String ssName, Kdr_String& target);
    /// Replaces the bindings by those of one file line ("target=entry…"); malformed entries are
    /// skipped. A line without "=" leaves the mapping empty and gives eInvalidInput.
    Acad::ErrorStatus initMappingFromLine(const Kdr_String& line);
    /// True when some line of the file holds a mapping this one isEqual to; its key goes into
    /// `target`.
    bool hasSameMapping(const Kdr_String& ssName, Kdr_String& target) const;
    /// The keys of the target lines of a sheet's mapping file, in file order. A missing file
    /// has none (true); a file that exists and cannot be read gives false.
    static bool readTargetKeys(const Kdr_String& ssName, Kdr_StringArray& keys);

    // -- Comparisons and look-ups ----------------------------------------------------------

    /// The first binding of `ssVar` (case ignored) whose kind suits the value type: a numeric
    /// variable (Int or Double) matches a numeric kind, a String variable a String kind.
    Acad::ErrorStatus findSSVar(const Kdr_String& ssVar, const ZxValueType& type, int& index) const;
    /// The first binding compatible with `map`.
    Acad::ErrorStatus findCompatible(const ZxObjectMap& map, int& index) const;
    /// Counts this mapping's bindings without a compatible twin in `other`; always eOk.
    Acad::ErrorStatus isCompatible(const ZxSSMapping& other, int& incompatible) const;
    /// True when every binding of this mapping is found, compatible, in `other` under the same
    /// spreadsheet variable. One-sided: extra bindings of `other` do not matter.
    bool isEqual(const ZxSSMapping& other) const;

    /// Indices of the bindings a variable of `type` may bind to (numeric with numeric, String
    /// with String), ascending. `isInput` is not consulted.
    Acad::ErrorStatus getValidVars(const bool& isInput, const ZxValueType& type, AcArray<int>& indices) const;
    /// Stable bucket sort of binding indices by visibility, buckets in the order of `order`,
    /// unlisted visibilities last. An empty `order` empties `indices` (eInvalidInput).
    Acad::ErrorStatus sortValidVars(AcArray<int>& indices, const AcArray<int>& order) const;

    // -- The macro -------------------------------------------------------------------------

    /// Switches to module-group mode for a non-empty group name; the bindings stay.
    Acad::ErrorStatus initFromModuleGroup(Kdr_String group);
    /// Switches to file mode and loads the record's target from the sheet's mapping file.
    Acad::ErrorStatus initFromMacro(ZxDlgStandardsData& data);
    /// Appends the catalogue of every bindable variable of the macro.
    Acad::ErrorStatus initAllVarsFromMacro(Kdr_DbMacro* macro, AcTransaction* tr);

    /// Reads the macro variable behind a spreadsheet variable into `value`.
    Acad::ErrorStatus getMacroVarValue(const Kdr_String& ssVar, const ZxValueType& type, Kdr_String& value,
                                       ZxDlgStandardsData& data);
    /// Writes `value` into the macro variable behind a spreadsheet variable.
    Acad::ErrorStatus setMacroVarValue(const Kdr_String& ssVar, const ZxValueType& type, Kdr_String& value,
                                       ZxDlgStandardsData& data);

private:
    Acad::ErrorStatus addAllVariables(const Kdr_Module* module, Kdr_String& objectName);
    Acad::ErrorStatus addAllCuts(const Kdr_Module* module, Kdr_String& objectName);
    Acad::ErrorStatus addAllPatterns(const Kdr_Module* module, Kdr_String& objectName, AcTransaction* tr);
    Acad::ErrorStatus addAllProfPlacements(const Kdr_Module* module, Kdr_String& objectName,
                                           AcTransaction* tr);
    Acad::ErrorStatus addAllBaseProfs(const Kdr_DbMacro* macro, AcTransaction* tr);
    Acad::ErrorStatus addAllGenVars(const Kdr_Macro* macro);

    Acad::ErrorStatus getSetMacroVarValue(const Kdr_String& ssVar, const ZxValueType& type, Kdr_String& value,
                                          ZxDlgStandardsData& data, bool get);

    int mode_ = mapNone;
    Kdr_Array<ZxObjectMap> objects_;
};
