#pragma once

#include "host/AcDbObject.h"
#include "host/Kdr_StringArray.h"

#include <array>
#include <memory>
#include <vector>

/// A dialog (constraint) variable of a module. Its value is kept as the text it was given.
struct Kdr_DialogVariable
{
    Kdr_String name;
    Kdr_String value;
    bool visible = true;
    bool settable = true;

    bool operator==(const Kdr_DialogVariable& other) const = default;
};

/// A cut of a module. Every cut holds nine values, one per offset type 0 to 8; its cut type
/// (0 to 7) says which of them the cut offers (see getCutOffsets).
struct Kdr_Cut
{
    static constexpr int kValueCount = 9;
    static constexpr int kTypeCount = 8;

    Kdr_String name;
    int type = 0;
    std::array<double, kValueCount> values{};

    bool operator==(const Kdr_Cut& other) const = default;
};

/// One rule (constraint) of a module, as the host keeps it and the rules editor shows it.
///
/// A rule offers some of four kinds of properties (`kinds`): 0 its expression, 1 its name,
/// 2 a choice from a list, 3 the two check states. It may be tied to a cut of the macro, which
/// the editor then offers to edit, and may show up to five picture option buttons: each
/// entry of `optionBitmaps` is a bitmap file, except the marker "%radioBreak%", which closes a
/// radio group. `options` holds one selection per radio group (the number of the checked
/// button, counted from 1 over all buttons; 0 for none).
struct Kdr_Rule
{
    static constexpr const char* kRadioBreak = "%radioBreak%";

    /// The texts of the rule's line in the editor's grid: name, expression and the two
    /// parameters.
    Kdr_StringArray texts;
    std::vector<int> kinds;
    Kdr_String expression;
    Kdr_String name;
    bool visible = false;
    bool readOnly = false;
    Kdr_StringArray choices;
    int choice = -1;
    /// The cut the rule edits; empty when it edits none.
    Kdr_String cut;
    Kdr_StringArray optionBitmaps;
    std::vector<int> options;

    bool hasKind(int kind) const;
    bool operator==(const Kdr_Rule& other) const = default;
};

/// One module of a macro: a name, a module group name, dialog variables and cuts. Modules of
/// special kinds (bolts, profile placements) derive from it and report their class number.
class Kdr_Module : public AcDbObject
{
public:
    static constexpr int kClassNumber = 230;

    Kdr_Module() = default;
    Kdr_Module(Kdr_String name, Kdr_String groupName)
        : name_(std::move(name)), groupName_(std::move(groupName))
    {
    }

    int classNumber() const override { return kClassNumber; }
    /// A deep copy of the module with its own identity.
    virtual std::unique_ptr<Kdr_Module> clone() const { return std::make_unique<Kdr_Module>(*this); }
    /// Same contents as `other`, class included (identity is not compared).
    virtual bool sameContents(const Kdr_Module& other) const;

    const Kdr_String& name() const { return name_; }
    const Kdr_String& groupName() const { return groupName_; }
    void setName(const Kdr_String& name) { name_ = name; }
    void setGroupName(const Kdr_String& group) { groupName_ = group; }
    /// The name its tab and its bindings go by: the group name, or the module name when the
    /// module has no group.
    const Kdr_String& groupOrName() const { return groupName_.empty() ? name_ : groupName_; }

    /// Adds a dialog variable; false (nothing added) when one of that name exists.
    bool addDialogVariable(const Kdr_DialogVariable& variable);
    Kdr_DialogVariable* findDialogVariable(std::string_view name);
    const Kdr_DialogVariable* findDialogVariable(std::string_view name) const;
    const std::vector<Kdr_DialogVariable>& dialogVariables() const { return variables_; }
    /// Names and flags of the dialog variables, in order.
    void getDialogVariables(Kdr_StringArray& names, std::vector<bool>& visible,
                            std::vector<bool>& settable) const;

    /// Adds a cut; false (nothing added) for a duplicate name or a cut type outside 0 to 7.
    bool addCut(const Kdr_Cut& cut);
    Kdr_Cut* findCut(std::string_view name);
    const Kdr_Cut* findCut(std::string_view name) const;
    /// True when `cut` is one of this module's cuts.
    bool ownsCut(const Kdr_Cut* cut) const;
    const std::vector<Kdr_Cut>& cuts() const { return cuts_; }

    /// The rules of the module, in the order the editor lists them.
    std::vector<Kdr_Rule>& rules() { return rules_; }
    const std::vector<Kdr_Rule>& rules() const { return rules_; }

private:
    Kdr_String name_;
    Kdr_String groupName_;
    std::vector<Kdr_DialogVariable> variables_;
    std::vector<Kdr_Cut> cuts_;
    std::vector<Kdr_Rule> rules_;
};
