#include "grid/functions/Coercion.h"

#include "grid/functions/DateSerial.h"

namespace grid::fn
{
namespace
{
char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

std::optional<double> textToNumber(std::string_view text)
{
    if (auto number = parseNumber(text))
        return number;
    return parseDateTimeText(text);
}

Result<double> toNumber(const Value& value)
{
    switch (value.type())
    {
    case Value::Type::Empty:
        return 0.0;
    case Value::Type::Number:
        return value.asNumber();
    case Value::Type::Logical:
        return value.asLogical() ? 1.0 : 0.0;
    case Value::Type::Text:
        if (auto number = textToNumber(value.asText()))
            return *number;
        return ErrorCode::Value;
    case Value::Type::Error:
        return value.asError();
    }
    return ErrorCode::Value;
}

Result<std::string> toText(const Value& value)
{
    switch (value.type())
    {
    case Value::Type::Empty:
        return std::string();
    case Value::Type::Number:
        return formatGeneral(value.asNumber());
    case Value::Type::Logical:
        return std::string(value.asLogical() ? "TRUE" : "FALSE");
    case Value::Type::Text:
        return value.asText();
    case Value::Type::Error:
        return value.asError();
    }
    return ErrorCode::Value;
}

Result<bool> toLogical(const Value& value)
{
    switch (value.type())
    {
    case Value::Type::Empty:
        return false;
    case Value::Type::Number:
        return value.asNumber() != 0;
    case Value::Type::Logical:
        return value.asLogical();
    case Value::Type::Text:
        if (equalNoCase(value.asText(), "TRUE"))
            return true;
        if (equalNoCase(value.asText(), "FALSE"))
            return false;
        return ErrorCode::Value;
    case Value::Type::Error:
        return value.asError();
    }
    return ErrorCode::Value;
}

std::string upperAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = upper(c);
    return result;
}

std::string lowerAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = lower(c);
    return result;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

int compareNoCase(std::string_view a, std::string_view b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i)
    {
        const unsigned char x = static_cast<unsigned char>(lower(a[i]));
        const unsigned char y = static_cast<unsigned char>(lower(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
} // namespace grid::fn
