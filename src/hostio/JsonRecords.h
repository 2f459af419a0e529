#pragma once

// What the JSON forms of the host's records have in common: the checks their readers make on
// the way down a document (each failure names a JSON pointer and what was expected there),
// and the file round trip around the parse and format functions. Only hostio's own sources
// include this header; nlohmann-json stays a private dependency of the adapter.

#include "host/Kdr_StringArray.h"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace hostio
{
/// A place in a document that does not hold what the reader expects: a JSON pointer and what
/// was expected there. Readers throw it and turn it into one message where they catch it.
struct JsonProblem
{
    std::string where;
    std::string what;
};

/// Throws the problem; the empty pointer (the whole document) is named "/".
[[noreturn]] void failAt(const std::string& where, const std::string& what);

/// A key as one step of a JSON pointer: "~" becomes "~0" and "/" becomes "~1", so a key
/// holding either still names one place.
std::string pointerToken(std::string_view key);

/// "<source>: <where>: <what>".
std::string problemMessage(const std::string& source, const JsonProblem& problem);

/// The JSON library's message without its "[json.exception.<kind>.<id>] " prefix.
std::string withoutExceptionId(const std::exception& problem);

/// True when the brackets of the text, outside strings, nest no deeper than `maxDepth`; a
/// deeper text is refused before the parser builds it.
bool nestingWithinLimit(std::string_view text, int maxDepth);

/// Parses `text` into `document`, refusing brackets nested deeper than `maxDepth` first. On
/// failure `error` is "<source>: " and what is wrong (the parser's message names line and
/// column).
template <class Json>
bool parseDocument(std::string_view text, const std::string& source, int maxDepth, Json& document,
                   std::string& error)
{
    if (!nestingWithinLimit(text, maxDepth))
    {
        error = source + ": brackets nest deeper than " + std::to_string(maxDepth) + " levels";
        return false;
    }
    try
    {
        document = Json::parse(text.begin(), text.end());
        return true;
    }
    catch (const typename Json::exception& problem)
    {
        error = source + ": " + withoutExceptionId(problem);
        return false;
    }
}

/// Refuses a value that is not an object, and every key of it not in `keys`.
template <class Json>
void allowOnly(const Json& object, const std::string& path, std::initializer_list<std::string_view> keys)
{
    if (!object.is_object())
        failAt(path, "expected an object");
    for (auto it = object.begin(); it != object.end(); ++it)
    {
        bool known = false;
        for (std::string_view key : keys)
            known = known || key == it.key();
        if (!known)
            failAt(path + "/" + pointerToken(it.key()), "unknown key");
    }
}

/// The value under `key`, or null when the object has none.
template <class Json> const Json* member(const Json& object, const char* key)
{
    auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

template <class Json> const Json& arrayAt(const Json& value, const std::string& path)
{
    if (!value.is_array())
        failAt(path, "expected an array");
    return value;
}

template <class Json> Kdr_String text(const Json& value, const std::string& path)
{
    if (!value.is_string())
        failAt(path, "expected a string");
    return Kdr_String(value.template get<std::string>());
}

/// An array of strings.
template <class Json> Kdr_StringArray texts(const Json& value, const std::string& path)
{
    Kdr_StringArray result;
    std::size_t index = 0;
    for (const Json& item : arrayAt(value, path))
        result.append(text(item, path + "/" + std::to_string(index++)));
    return result;
}

template <class Json> bool flag(const Json& value, const std::string& path)
{
    if (!value.is_boolean())
        failAt(path, "expected true or false");
    return value.template get<bool>();
}

/// A number without a fraction that fits an int.
template <class Json> int wholeNumber(const Json& value, const std::string& path)
{
    if (!value.is_number())
        failAt(path, "expected a whole number");
    const double number = value.template get<double>();
    if (number != std::floor(number) || std::abs(number) > std::numeric_limits<int>::max())
        failAt(path, "expected a whole number");
    return static_cast<int>(number);
}

template <class Json> Json textsJson(const Kdr_StringArray& items)
{
    Json list = Json::array();
    for (const Kdr_String& item : items)
        list.push_back(std::string(item));
    return list;
}

/// The document as text with two-space indentation and a final line feed. False when a text
/// is not UTF-8; `error` is then `prefix` followed by the library's message.
template <class Json>
bool dumpDocument(const Json& document, std::string& out, std::string& error, std::string_view prefix)
{
    try
    {
        out = document.dump(2) + "\n";
        return true;
    }
    catch (const typename Json::exception& problem)
    {
        error = std::string(prefix) + problem.what();
        return false;
    }
}

/// Reads the file's bytes into `text`; on failure `error` is the host's message.
bool readRecordFile(const std::string& path, std::string& text, std::string& error);
/// Writes `text` atomically; on failure `error` is the host's message.
bool writeRecordFile(const std::string& path, std::string_view text, std::string& error);

/// Reads the file and hands its bytes to `parse(text)`, which names the file in its messages.
template <class Parse> bool loadRecordFile(const std::string& path, std::string& error, Parse&& parse)
{
    std::string text;
    return readRecordFile(path, text, error) && parse(std::string_view(text));
}

/// Formats a record with `format(text, error)` and writes the text atomically. A format
/// failure is reported as "<path>: <error>", a write failure with the host's message; an
/// existing file is then left as it was.
template <class Format> bool saveRecordFile(const std::string& path, std::string& error, Format&& format)
{
    std::string text;
    if (!format(text, error))
    {
        error = path + ": " + error;
        return false;
    }
    return writeRecordFile(path, text, error);
}
} // namespace hostio
