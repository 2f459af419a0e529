#pragma once

#include "host/Kdr_StringArray.h"

#include <functional>
#include <variant>
#include <vector>

/// The named fields of a plain record, as a form shows and edits them. A record lists its
/// fields once (a `fields(ZxFormFields&)` member); the list binds each field to the record's
/// member, so that a form can read the values into its controls and write them back.
class ZxFormFields
{
public:
    enum class Kind
    {
        Text,    ///< one line of text
        Integer, ///< a whole number
        Number,  ///< a number with decimals
        Flag,    ///< a check box
        Choice,  ///< one of a list of texts, held as its index (−1: none)
        List,    ///< a list of texts, one per line
        Info,    ///< a text shown and never edited
    };

    /// A check run when the form is accepted, on the record as the form would hand it back;
    /// false with a message keeps the form open.
    using Check = std::function<bool(Kdr_String& message)>;

    /// A list kept in another form than a list of texts: read and written through functions.
    struct ListAccess
    {
        std::function<Kdr_StringArray()> get;
        std::function<void(const Kdr_StringArray&)> set;
    };

    struct Field
    {
        Kdr_String label;
        Kind kind = Kind::Text;
        std::variant<Kdr_String*, int*, double*, bool*, Kdr_StringArray*, ListAccess> target;
        Kdr_StringArray options;
        Kdr_String info;
    };

    ZxFormFields& text(const char* label, Kdr_String& value) { return add(label, Kind::Text, &value); }
    ZxFormFields& integer(const char* label, int& value) { return add(label, Kind::Integer, &value); }
    ZxFormFields& number(const char* label, double& value) { return add(label, Kind::Number, &value); }
    ZxFormFields& flag(const char* label, bool& value) { return add(label, Kind::Flag, &value); }
    ZxFormFields& choice(const char* label, int& index, Kdr_StringArray options);
    ZxFormFields& list(const char* label, Kdr_StringArray& value) { return add(label, Kind::List, &value); }
    ZxFormFields& list(const char* label, ListAccess access);
    ZxFormFields& info(const char* label, Kdr_String text);
    ZxFormFields& check(Check check);

    /// Every field shown but none editable.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool readOnly() const { return readOnly_; }

    const std::vector<Field>& fields() const { return fields_; }
    int count() const { return static_cast<int>(fields_.size()); }
    /// Runs the checks in order; false with the first failing check's message.
    bool accept(Kdr_String& message) const;

    /// The text a field's control shows for its current value (a number written so that it
    /// reads back exactly, a list one item per line).
    static Kdr_String display(const Field& field);
    /// Reads a control's text into the field's member. False (the member untouched) when the
    /// text is not a value of the field's kind.
    static bool store(const Field& field, const Kdr_String& text);

private:
    template <typename T> ZxFormFields& add(const char* label, Kind kind, T target)
    {
        Field field;
        field.label = label;
        field.kind = kind;
        field.target = target;
        fields_.push_back(std::move(field));
        return *this;
    }

    std::vector<Field> fields_;
    std::vector<Check> checks_;
    bool readOnly_ = false;
};
