#include "host/Kdr_PropertiesList.h"

#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/StringFunctions.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace
{
template <typename Number> bool parseWhole(std::string_view text, Number& value)
{
    if (text.empty())
        return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::string doubleText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}
} // namespace

bool Kdr_PropertiesList::Entry::operator==(const Entry& other) const
{
    if (key != other.key || value.index() != other.value.index())
        return false;
    // Doubles compare by bits so that a NaN equals itself after a round trip.
    if (auto* a = std::get_if<double>(&value))
    {
        double b = std::get<double>(other.value);
        return *a == b || (std::isnan(*a) && std::isnan(b));
    }
    return value == other.value;
}

bool Kdr_PropertiesList::operator==(const Kdr_PropertiesList& other) const
{
    return entries_ == other.entries_;
}

int Kdr_PropertiesList::indexOf(const Kdr_String& key) const
{
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].key == key)
            return static_cast<int>(i);
    return -1;
}

void Kdr_PropertiesList::set(const Kdr_String& key, Value value)
{
    int index = indexOf(key);
    if (index >= 0)
        entries_[static_cast<size_t>(index)].value = std::move(value);
    else
        entries_.push_back({key, std::move(value)});
}

void Kdr_PropertiesList::setInt(const Kdr_String& key, int value)
{
    set(key, value);
}

void Kdr_PropertiesList::setDouble(const Kdr_String& key, double value)
{
    set(key, value);
}

void Kdr_PropertiesList::setString(const Kdr_String& key, const Kdr_String& value)
{
    set(key, value);
}

bool Kdr_PropertiesList::getInt(const Kdr_String& key, int& value) const
{
    int index = indexOf(key);
    if (index < 0)
        return false;
    const int* found = std::get_if<int>(&entries_[static_cast<size_t>(index)].value);
    if (!found)
        return false;
    value = *found;
    return true;
}

bool Kdr_PropertiesList::getDouble(const Kdr_String& key, double& value) const
{
    int index = indexOf(key);
    if (index < 0)
        return false;
    const Value& entry = entries_[static_cast<size_t>(index)].value;
    if (const double* found = std::get_if<double>(&entry))
        value = *found;
    else if (const int* whole = std::get_if<int>(&entry))
        value = *whole;
    else
        return false;
    return true;
}

bool Kdr_PropertiesList::getString(const Kdr_String& key, Kdr_String& value) const
{
    int index = indexOf(key);
    if (index < 0)
        return false;
    const Kdr_String* found = std::get_if<Kdr_String>(&entries_[static_cast<size_t>(index)].value);
    if (!found)
        return false;
    value = *found;
    return true;
}

bool Kdr_PropertiesList::getType(const Kdr_String& key, Type& type) const
{
    int index = indexOf(key);
    if (index < 0)
        return false;
    type = static_cast<Type>(entries_[static_cast<size_t>(index)].value.index());
    return true;
}

bool Kdr_PropertiesList::remove(const Kdr_String& key)
{
    int index = indexOf(key);
    if (index < 0)
        return false;
    entries_.erase(entries_.begin() + index);
    return true;
}

Kdr_String Kdr_PropertiesList::keyAt(int index) const
{
    return index >= 0 && index < count() ? entries_[static_cast<size_t>(index)].key : Kdr_String();
}

Kdr_String Kdr_PropertiesList::toText() const
{
    Kdr_String text;
    for (const Entry& entry : entries_)
    {
        text += host::escapeField(entry.key);
        if (const int* whole = std::get_if<int>(&entry.value))
            text += "\ti\t" + std::to_string(*whole);
        else if (const double* number = std::get_if<double>(&entry.value))
            text += "\td\t" + doubleText(*number);
        else
            text += "\ts\t" + host::escapeField(std::get<Kdr_String>(entry.value));
        text += '\n';
    }
    return text;
}

bool Kdr_PropertiesList::fromText(std::string_view text, const Kdr_String& source)
{
    Kdr_StringArray lines;
    host::splitLines(text, lines);
    Kdr_PropertiesList read;
    for (int i = 0; i < lines.length(); ++i)
    {
        const Kdr_String& line = lines[i];
        if (line.empty())
            continue;
        auto refuse = [&](const char* problem)
        {
            acutPrintf("*Error* File \"%s\", line %d: %s.\n", source.c_str(), i + 1, problem);
            return false;
        };
        Kdr_StringArray fields;
        splitString(line, "\t", fields);
        if (fields.length() != 3)
            return refuse("expected key, type and value separated by TAB");
        Kdr_String key;
        if (!host::unescapeField(fields[0], key))
            return refuse("a broken escape in the key");
        if (key.empty())
            return refuse("an empty key");
        const Kdr_String& type = fields[1];
        const Kdr_String& value = fields[2];
        if (type == "i")
        {
            int whole = 0;
            if (!parseWhole(value, whole))
                return refuse("the value is not a whole number");
            read.setInt(key, whole);
        }
        else if (type == "d")
        {
            double number = 0;
            if (!parseWhole(value, number))
                return refuse("the value is not a number");
            read.setDouble(key, number);
        }
        else if (type == "s")
        {
            Kdr_String decoded;
            if (!host::unescapeField(value, decoded))
                return refuse("a broken escape in the value");
            read.setString(key, decoded);
        }
        else
            return refuse("the type must be i, d or s");
    }
    entries_ = std::move(read.entries_);
    return true;
}

bool Kdr_PropertiesList::readFromFile(const Kdr_String& path)
{
    std::string bytes;
    if (!host::readFileBytes(path, bytes))
        return false;
    return fromText(bytes, host::normalizePath(path));
}

bool Kdr_PropertiesList::writeToFile(const Kdr_String& path) const
{
    return host::writeFileAtomically(path, toText());
}
