#pragma once

// What the standards mapping page offers and stores, apart from its controls: the text of a
// binding in a choice list, the choice list of each Input and Output variable of a sheet with
// the binding preselected from a stored mapping, and storing the chosen bindings under a new
// key of the sheet's mapping file. The page and the command line share these, so a mapping
// bound on either reads and stores the same.

#include "host/ErrorStatus.h"
#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"
#include "standards/ZxSSMapping.h"
#include "standards/ZxVarCells.h"

#include <vector>

/// Length of the random key under which a changed binding set is stored.
inline constexpr int kMappingKeyLength = 24;
/// Attempts at a key the mapping file does not hold yet before storing gives up.
inline constexpr int kMappingKeyAttempts = 9999;
/// Targets of this prefix bind a sheet to one module group; no bindings are stored for them.
inline constexpr const char* kModuleTargetPrefix = "Module.";

/// A binding as the mapping page lists it: object, variable and kind joined by '.', the kind
/// left out for dialog variables and section sizes, the description appended directly
/// ("FinPlate.Corner.CutChamferOffset1", "gen_W.GenVar", "Prof1;2tw").
Kdr_String bindingText(const ZxObjectMap& binding);

/// True when `target` binds the sheet to a module group ("Module." + group).
bool isModuleTarget(const Kdr_String& target);

/// One Input or Output variable of a sheet as a row of the mapping page.
struct ZxVariableChoices
{
    /// Index of the variable cell in the sheet's ZxVarCells.
    int cellIndex = -1;
    /// Catalogue indices offered, in catalogue order.
    AcArray<int> indices;
    /// Position in `indices` of the chosen binding; -1 for none.
    int selected = -1;

    /// The catalogue index chosen, or -1.
    int chosenIndex() const { return selected >= 0 && selected < indices.length() ? indices[selected] : -1; }
};

/// The rows of the page for a sheet's variable cells: every Input variable, then every Output
/// variable, each in collection order, with the catalogue bindings of a matching value type
/// (numeric with numeric, String with String). The binding `working` holds for a variable is
/// preselected when the catalogue has a compatible one.
std::vector<ZxVariableChoices> variableChoices(const ZxVarCells& cells, const ZxSSMapping& catalogue,
                                               const ZxSSMapping& working);

/// The mapping the rows describe: one binding per row with a choice, named after its variable.
ZxSSMapping mappingFromChoices(const ZxVarCells& cells, const ZxSSMapping& catalogue,
                               const std::vector<ZxVariableChoices>& rows);

/// What storing a sheet's bindings did.
enum class ZxMappingStore
{
    /// The stored line of the target already says the same; nothing was written.
    Unchanged,
    /// A new line was written and `target` is its key.
    Stored,
    /// No key could be made or the file could not be written; `target` is as it was.
    Failed,
};

/// Stores the bindings of a sheet for `target` as the mapping page does. When the file's line
/// of `target` already holds every binding of `working` nothing is written; so is nothing when
/// no binding is chosen and none is stored. Otherwise the bindings go into a new line under a
/// fresh key of kMappingKeyLength random characters that no line of the file has, and `target`
/// becomes that key, but only once the file has been written. Older lines stay in the file.
ZxMappingStore storeSheetMapping(const Kdr_String& ssName, Kdr_String& target, const ZxSSMapping& working);

/// The names of the rows' variables, in row order.
Kdr_StringArray choiceVariableNames(const ZxVarCells& cells, const std::vector<ZxVariableChoices>& rows);
