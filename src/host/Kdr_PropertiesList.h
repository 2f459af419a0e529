#pragma once

#include "host/Kdr_String.h"

#include <variant>
#include <vector>

/// The host's property list: typed values (integer, double, text) under keys, kept in the
/// order they were first set, read and written whole.
///
/// File layout: one entry per line, "key TAB type TAB value", type 'i', 'd' or 's'; inside
/// key and value '\' is written "\\", TAB "\t", line feed "\n" and carriage return "\r".
/// Doubles are written with 17 significant digits so they read back exactly. Keys are
/// case-sensitive; a key set again keeps its place. Empty lines are skipped. A file with a
/// malformed line is refused as a whole: the file name and line go to the command line and
/// the list keeps its previous contents.
class Kdr_PropertiesList
{
public:
    enum class Type
    {
        Int,
        Double,
        String
    };

    virtual ~Kdr_PropertiesList() = default;

    void setInt(const Kdr_String& key, int value);
    void setDouble(const Kdr_String& key, double value);
    void setString(const Kdr_String& key, const Kdr_String& value);
    void setValue(const Kdr_String& key, int value) { setInt(key, value); }
    void setValue(const Kdr_String& key, double value) { setDouble(key, value); }
    void setValue(const Kdr_String& key, const Kdr_String& value) { setString(key, value); }
    void setValue(const Kdr_String& key, const char* value) { setString(key, value); }

    /// False (and `value` untouched) when the key is missing or holds another type.
    bool getInt(const Kdr_String& key, int& value) const;
    /// Also reads an integer entry.
    bool getDouble(const Kdr_String& key, double& value) const;
    bool getString(const Kdr_String& key, Kdr_String& value) const;
    bool getValue(const Kdr_String& key, int& value) const { return getInt(key, value); }
    bool getValue(const Kdr_String& key, double& value) const { return getDouble(key, value); }
    bool getValue(const Kdr_String& key, Kdr_String& value) const { return getString(key, value); }

    bool has(const Kdr_String& key) const { return indexOf(key) >= 0; }
    /// The type of a key's entry; false when missing.
    bool getType(const Kdr_String& key, Type& type) const;
    bool remove(const Kdr_String& key);
    void clear() { entries_.clear(); }
    int count() const { return static_cast<int>(entries_.size()); }
    /// The key of entry `index` in list order ("" when out of range).
    Kdr_String keyAt(int index) const;

    /// Reads a file; false (list unchanged) when it is missing, unreadable or malformed.
    bool readFromFile(const Kdr_String& path);
    /// Writes the list atomically; false, with a message, when the file cannot be written.
    bool writeToFile(const Kdr_String& path) const;

    /// The file text of the list.
    Kdr_String toText() const;
    /// Replaces the list by the entries of `text`; `source` names the text in messages.
    /// False (list unchanged) on the first malformed line.
    bool fromText(std::string_view text, const Kdr_String& source);

    bool operator==(const Kdr_PropertiesList& other) const;

private:
    using Value = std::variant<int, double, Kdr_String>;
    struct Entry
    {
        Kdr_String key;
        Value value;
        bool operator==(const Entry& other) const;
    };
    int indexOf(const Kdr_String& key) const;
    void set(const Kdr_String& key, Value value);

    std::vector<Entry> entries_;
};
