#include "editor/ZxSettingsStore.h"

#include "host/FileFunctions.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace
{
/// A whole number that is the whole text, within [minimum, maximum].
bool parseWhole(const std::string& text, long long minimum, long long maximum, long long& out)
{
    if (text.empty())
        return false;
    const char* first = text.data();
    const char* last = first + text.size();
    long long value = 0;
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || value < minimum || value > maximum)
        return false;
    out = value;
    return true;
}

bool parseDouble(const std::string& text, double& out)
{
    if (text.empty())
        return false;
    const char* first = text.data();
    const char* last = first + text.size();
    double value = 0;
    auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return false;
    out = value;
    return true;
}
} // namespace

Kdr_String ZxSettingsStore::Entry::valueText() const
{
    switch (type)
    {
    case kDouble:
    {
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.2f", doubleValue);
        return buffer;
    }
    case kInt:
    case kLong:
        return std::to_string(longValue);
    case kText:
        return text;
    default:
        return {};
    }
}

bool ZxSettingsStore::storable(std::string_view text)
{
    return text.find(kSeparator) == std::string_view::npos;
}

int ZxSettingsStore::find(std::string_view key) const
{
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].key.size() == key.size() && entries_[i].key.equal(key, false))
            return static_cast<int>(i);
    return -1;
}

ZxSettingsStore::Entry* ZxSettingsStore::slotFor(std::string_view key)
{
    if (key.empty() || !storable(key))
        return nullptr;
    const int index = find(key);
    if (index >= 0)
        return &entries_[static_cast<size_t>(index)];
    Entry added;
    added.key = Kdr_String(key);
    entries_.push_back(std::move(added));
    return &entries_.back();
}

bool ZxSettingsStore::setDouble(std::string_view key, double value)
{
    Entry* entry = slotFor(key);
    if (!entry)
        return false;
    entry->type = kDouble;
    entry->doubleValue = value;
    return true;
}

bool ZxSettingsStore::setInt(std::string_view key, int value)
{
    Entry* entry = slotFor(key);
    if (!entry)
        return false;
    entry->type = kInt;
    entry->longValue = value;
    return true;
}

bool ZxSettingsStore::setLong(std::string_view key, long value)
{
    Entry* entry = slotFor(key);
    if (!entry)
        return false;
    entry->type = kLong;
    entry->longValue = value;
    return true;
}

bool ZxSettingsStore::setText(std::string_view key, std::string_view value)
{
    if (!storable(value))
        return false;
    Entry* entry = slotFor(key);
    if (!entry)
        return false;
    entry->type = kText;
    entry->text = Kdr_String(value);
    return true;
}

bool ZxSettingsStore::setNone(std::string_view key)
{
    Entry* entry = slotFor(key);
    if (!entry)
        return false;
    entry->type = kNone;
    return true;
}

bool ZxSettingsStore::getDouble(std::string_view key, double& value) const
{
    const int index = find(key);
    if (index < 0 || entry(index).type != kDouble)
        return false;
    value = entry(index).doubleValue;
    return true;
}

bool ZxSettingsStore::getInt(std::string_view key, int& value) const
{
    const int index = find(key);
    if (index < 0 || entry(index).type != kInt)
        return false;
    value = static_cast<int>(entry(index).longValue);
    return true;
}

bool ZxSettingsStore::getLong(std::string_view key, long& value) const
{
    const int index = find(key);
    if (index < 0 || entry(index).type != kLong)
        return false;
    value = entry(index).longValue;
    return true;
}

bool ZxSettingsStore::getText(std::string_view key, Kdr_String& value) const
{
    const int index = find(key);
    if (index < 0 || entry(index).type != kText)
        return false;
    value = entry(index).text;
    return true;
}

Kdr_String ZxSettingsStore::toText() const
{
    Kdr_String text;
    for (const Entry& entry : entries_)
    {
        text += entry.key;
        text += kSeparator;
        text += std::to_string(entry.type);
        text += kSeparator;
        text += entry.valueText();
        text += kSeparator;
    }
    return text;
}

void ZxSettingsStore::setFromFields(const std::string& key, const std::string& typeCode,
                                    const std::string& value)
{
    long long code = kNone;
    if (!parseWhole(typeCode, kNone, kText, code))
        code = kNone;
    long long whole = 0;
    double number = 0;
    switch (code)
    {
    case kDouble:
        if (parseDouble(value, number))
            setDouble(key, number);
        else
            setNone(key);
        break;
    case kInt:
        if (parseWhole(value, INT_MIN, INT_MAX, whole))
            setInt(key, static_cast<int>(whole));
        else
            setNone(key);
        break;
    case kLong:
        if (parseWhole(value, LONG_MIN, LONG_MAX, whole))
            setLong(key, static_cast<long>(whole));
        else
            setNone(key);
        break;
    case kText:
        setText(key, value);
        break;
    default:
        setNone(key);
        break;
    }
}

void ZxSettingsStore::parse(std::string_view text)
{
    std::string fields[3];
    int field = 0;
    for (char c : text)
    {
        if (c != kSeparator)
        {
            fields[field] += c;
            continue;
        }
        if (++field < 3)
            continue;
        setFromFields(fields[0], fields[1], fields[2]);
        for (std::string& f : fields)
            f.clear();
        field = 0;
    }
}

bool ZxSettingsStore::readFile(const Kdr_String& path)
{
    std::string bytes;
    Kdr_String error;
    if (!host::readFileBytes(path, bytes, error))
        return false;
    parse(bytes);
    return true;
}

bool ZxSettingsStore::writeFile(const Kdr_String& path) const
{
    return host::writeFileAtomically(path, toText());
}
