#include "frame/ZxFormFields.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace
{
std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

template <typename T> bool parseWhole(std::string_view text, T& value)
{
    text = trimmed(text);
    if (text.empty())
        return false;
    if (text.front() == '+')
        text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}
} // namespace

ZxFormFields& ZxFormFields::choice(const char* label, int& index, Kdr_StringArray options)
{
    add(label, Kind::Choice, &index);
    fields_.back().options = std::move(options);
    return *this;
}

ZxFormFields& ZxFormFields::list(const char* label, ListAccess access)
{
    return add(label, Kind::List, std::move(access));
}

ZxFormFields& ZxFormFields::info(const char* label, Kdr_String text)
{
    Field field;
    field.label = label;
    field.kind = Kind::Info;
    field.target = static_cast<Kdr_String*>(nullptr);
    field.info = std::move(text);
    fields_.push_back(std::move(field));
    return *this;
}

ZxFormFields& ZxFormFields::check(Check check)
{
    checks_.push_back(std::move(check));
    return *this;
}

bool ZxFormFields::accept(Kdr_String& message) const
{
    for (const Check& check : checks_)
        if (!check(message))
            return false;
    return true;
}

Kdr_String ZxFormFields::display(const Field& field)
{
    switch (field.kind)
    {
    case Kind::Text:
        return *std::get<Kdr_String*>(field.target);
    case Kind::Integer:
        return Kdr_String(std::to_string(*std::get<int*>(field.target)));
    case Kind::Number:
    {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, *std::get<double*>(field.target));
        return Kdr_String(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
    }
    case Kind::Flag:
        return *std::get<bool*>(field.target) ? "1" : "0";
    case Kind::Choice:
    {
        const int index = *std::get<int*>(field.target);
        return field.options.validIndex(index) ? field.options[index] : Kdr_String();
    }
    case Kind::List:
    {
        Kdr_String text;
        const auto* access = std::get_if<ListAccess>(&field.target);
        const Kdr_StringArray items = access ? access->get() : *std::get<Kdr_StringArray*>(field.target);
        for (int i = 0; i < items.length(); ++i)
        {
            if (i > 0)
                text += "\r\n";
            text += items[i];
        }
        return text;
    }
    case Kind::Info:
        return field.info;
    }
    return {};
}

bool ZxFormFields::store(const Field& field, const Kdr_String& text)
{
    switch (field.kind)
    {
    case Kind::Text:
        *std::get<Kdr_String*>(field.target) = text;
        return true;
    case Kind::Integer:
    {
        int value = 0;
        if (!parseWhole(text, value))
            return false;
        *std::get<int*>(field.target) = value;
        return true;
    }
    case Kind::Number:
    {
        double value = 0;
        if (!parseWhole(text, value) || !std::isfinite(value))
            return false;
        *std::get<double*>(field.target) = value;
        return true;
    }
    case Kind::Flag:
        *std::get<bool*>(field.target) = text == "1";
        return true;
    case Kind::Choice:
    {
        *std::get<int*>(field.target) = field.options.find(text, true);
        return true;
    }
    case Kind::List:
    {
        Kdr_StringArray items;
        std::string_view rest = text;
        while (!rest.empty())
        {
            const auto end = rest.find('\n');
            std::string_view line = rest.substr(0, end);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            items.append(Kdr_String(line));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        }
        if (const auto* access = std::get_if<ListAccess>(&field.target))
            access->set(items);
        else
            *std::get<Kdr_StringArray*>(field.target) = items;
        return true;
    }
    case Kind::Info:
        return true;
    }
    return false;
}
