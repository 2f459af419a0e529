#include "CsvTable.h"

#include <csv.h>
#include <memory>

namespace cli
{
namespace
{
/// What the parser's callbacks build.
struct Collector
{
    std::vector<CsvRecord>* records;
    Kdr_StringArray fields;
    int line = 1;
    /// The line the last complete record ended on.
    int lastRecordLine = 0;
};

void onField(void* data, std::size_t length, void* target)
{
    auto* collector = static_cast<Collector*>(target);
    collector->fields.append(Kdr_String(static_cast<const char*>(data), length));
}

void onRecordEnd(int, void* target)
{
    auto* collector = static_cast<Collector*>(target);
    collector->records->push_back({collector->line, std::move(collector->fields)});
    collector->lastRecordLine = collector->line;
    collector->fields = Kdr_StringArray();
}

/// Blanks are part of a field: a dimension " 12" is the user's text, not ours to trim.
int noSpace(unsigned char)
{
    return 0;
}

struct ParserDeleter
{
    void operator()(csv_parser* parser) const
    {
        csv_free(parser);
        delete parser;
    }
};

bool needsQuotes(std::string_view field, char separator)
{
    if (field.empty())
        return false;
    if (field.front() == ' ' || field.back() == ' ' || field.front() == '\t' || field.back() == '\t')
        return true;
    return field.find_first_of(std::string{separator, '"', '\n', '\r'}) != std::string_view::npos;
}
} // namespace

bool parseCsv(std::string_view text, char separator, std::vector<CsvRecord>& records, std::string& error)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::unique_ptr<csv_parser, ParserDeleter> parser(new csv_parser);
    if (csv_init(parser.get(), CSV_STRICT | CSV_STRICT_FINI) != 0)
    {
        delete parser.release();
        error = "out of memory";
        return false;
    }
    csv_set_delim(parser.get(), static_cast<unsigned char>(separator));
    csv_set_space_func(parser.get(), noSpace);

    std::vector<CsvRecord> parsed;
    Collector collector{&parsed, {}, 1, 0};
    // Fed a line at a time, so that the line a record ends on, or a fault stands on, is known.
    std::size_t start = 0;
    while (start < text.size())
    {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line = text.substr(start, end - start);
        if (csv_parse(parser.get(), line.data(), line.size(), onField, onRecordEnd, &collector) !=
            line.size())
        {
            error = "line " + std::to_string(collector.line) + ": " + csv_strerror(csv_error(parser.get())) +
                    " (a quote may only open a field or close it)";
            return false;
        }
        start = end;
        if (line.ends_with('\n'))
            ++collector.line;
    }
    if (csv_fini(parser.get(), onField, onRecordEnd, &collector) != 0)
    {
        // The open field began on the record after the last complete one.
        error = "line " + std::to_string(collector.lastRecordLine + 1) + ": a quoted field is not closed";
        return false;
    }
    records = std::move(parsed);
    return true;
}

std::string formatCsv(const Kdr_Array<Kdr_StringArray>& rows, char separator)
{
    std::string out;
    for (const Kdr_StringArray& row : rows)
    {
        for (int i = 0; i < row.length(); ++i)
        {
            if (i > 0)
                out += separator;
            const Kdr_String& field = row[i];
            if (!needsQuotes(field, separator))
            {
                out += field;
                continue;
            }
            out += '"';
            for (char c : field)
            {
                if (c == '"')
                    out += '"';
                out += c;
            }
            out += '"';
        }
        out += "\r\n";
    }
    return out;
}
} // namespace cli
