#pragma once

#include "host/Kdr_String.h"

#include <string_view>
#include <vector>

/// A typed key/value store: the form in which editor settings travel inside a sheet and in
/// settings files. Entries keep their order; keys are compared ignoring letter case.
///
/// Text form: for each entry the key, 0xA4, the type code in decimal, 0xA4, the value's text,
/// 0xA4 — nothing else. Because 0xA4 ends every field, a key or text holding that byte cannot
/// be stored (in UTF-8 it is common: "ä" is C3 A4); such an entry is refused, so the store
/// never holds anything its text form could not give back.
class ZxSettingsStore
{
public:
    enum Type
    {
        kNone = 0,   ///< no value; every typed read misses it
        kDouble = 1, ///< written "%.2f"
        kInt = 2,    ///< also flags, 0 or 1
        kLong = 3,
        kText = 4,
    };
    static constexpr char kSeparator = '\xA4';

    struct Entry
    {
        Kdr_String key;
        int type = kNone;
        double doubleValue = 0;
        long longValue = 0; ///< kInt and kLong
        Kdr_String text;    ///< kText

        /// The value's text form.
        Kdr_String valueText() const;
    };

    ZxSettingsStore() = default;
    virtual ~ZxSettingsStore() = default;

    /// Each setter replaces the type and value of an existing key in place or appends a new
    /// entry. An empty key, or a key or text holding 0xA4, is refused: false, nothing changes.
    bool setDouble(std::string_view key, double value);
    bool setInt(std::string_view key, int value);
    bool setLong(std::string_view key, long value);
    bool setText(std::string_view key, std::string_view value);
    /// An entry without a value (what an unreadable entry of a text becomes).
    bool setNone(std::string_view key);

    /// Each getter succeeds only when the key exists with exactly that type.
    bool getDouble(std::string_view key, double& value) const;
    bool getInt(std::string_view key, int& value) const;
    bool getLong(std::string_view key, long& value) const;
    bool getText(std::string_view key, Kdr_String& value) const;

    /// The index of the key's entry, or -1.
    int find(std::string_view key) const;
    int count() const { return static_cast<int>(entries_.size()); }
    const Entry& entry(int index) const { return entries_[static_cast<size_t>(index)]; }
    void clear() { entries_.clear(); }

    /// The text form of every entry.
    Kdr_String toText() const;
    /// Reads a text form into the store, entry by entry (see setFromFields). An incomplete
    /// last entry is ignored.
    void parse(std::string_view text);

    /// Reads a settings file into the store; false when it cannot be read.
    bool readFile(const Kdr_String& path);
    /// Writes the text form atomically; false (the file untouched) when that fails.
    bool writeFile(const Kdr_String& path) const;

    /// Whether a text can be a key or a text value (it holds no 0xA4).
    static bool storable(std::string_view text);

private:
    /// Sets one parsed entry. The type code and the number are read strictly: an unknown
    /// code, or a number that is not wholly a number of its type or lies outside its range,
    /// gives an entry without a value, which reads as missing.
    void setFromFields(const std::string& key, const std::string& typeCode, const std::string& value);
    Entry* slotFor(std::string_view key);

    std::vector<Entry> entries_;
};
