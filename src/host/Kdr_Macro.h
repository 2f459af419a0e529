#pragma once

#include "host/ErrorStatus.h"
#include "host/Kdr_Module.h"
#include "host/Kdr_StringArray.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

/// A general variable of a macro ("gen_…"). Its value is a number, or a text when the macro
/// was given one; a text reads as the number it starts with.
struct Kdr_GeneralVariable
{
    Kdr_String name;
    double number = 0.0;
    Kdr_String text;
    bool isText = false;

    double value() const { return isText ? text.toDouble() : number; }
    bool operator==(const Kdr_GeneralVariable& other) const = default;
};

/// The macro proper: its modules by name and its general variables. Module names are unique
/// within a macro (compared without regard to case). Copying copies every module.
class Kdr_Macro
{
public:
    Kdr_Macro() = default;
    Kdr_Macro(const Kdr_Macro& other);
    Kdr_Macro& operator=(const Kdr_Macro& other);
    Kdr_Macro(Kdr_Macro&&) noexcept = default;
    Kdr_Macro& operator=(Kdr_Macro&&) noexcept = default;
    virtual ~Kdr_Macro() = default;

    /// Takes a module; false (and the module is dropped) when its name is empty or taken.
    bool addModule(std::unique_ptr<Kdr_Module> module);
    int moduleCount() const { return static_cast<int>(modules_.size()); }
    const Kdr_Module& module(int index) const { return *modules_[static_cast<size_t>(index)]; }
    Kdr_Module& module(int index) { return *modules_[static_cast<size_t>(index)]; }

    /// Removes the module of that name (case ignored); false when there is none.
    bool removeModule(std::string_view name);
    /// Gives a module a new name; false when there is no module `name` or `newName` is empty
    /// or taken by another module.
    bool renameModule(std::string_view name, const Kdr_String& newName);

    /// Names of all modules, in order.
    void getModuleNames(Kdr_StringArray& names) const;
    bool findModule(std::string_view name, const Kdr_Module*& module) const;
    /// The module opened for write.
    bool findModuleWrite(std::string_view name, Kdr_Module*& module);
    /// Names of the modules whose group is `group`, or whose own name is `group` when they
    /// have no group, in order; false when there are none.
    bool getModNamesOfGroup(std::string_view group, Kdr_StringArray& names) const;

    /// Adds a general variable; false (nothing added) when the name is empty or taken.
    bool addGeneralVariable(const Kdr_GeneralVariable& variable);
    const std::vector<Kdr_GeneralVariable>& generalVariables() const { return generalVariables_; }
    void getGeneralVariables(Kdr_StringArray& names) const;
    /// The value of a general variable; 0 when the macro has none of that name.
    double generalVariableValue(std::string_view name) const;
    /// Sets a general variable's value (a text variable becomes a number). eKeyNotFound
    /// when the macro has none of that name: general variables are defined by the macro, a
    /// write never adds one. eInvalidInput (nothing changed) for a value that is not finite.
    Acad::ErrorStatus setGeneralVariable(std::string_view name, double value);

    /// Same modules (in order, with their contents) and general variables.
    bool sameContents(const Kdr_Macro& other) const;

private:
    const Kdr_GeneralVariable* findGeneralVariable(std::string_view name) const;
    void indexModules();

    std::vector<std::unique_ptr<Kdr_Module>> modules_;
    /// Positions of the modules by name folded to lower case, so that adding and finding a
    /// module does not walk every module (a macro may hold hundreds of thousands).
    std::unordered_map<std::string, size_t> moduleIndex_;
    std::vector<Kdr_GeneralVariable> generalVariables_;
};
