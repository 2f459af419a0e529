#include "ui/DialogSizes.h"

#include "host/FileFunctions.h"
#include "host/Kdr_StringArray.h"
#include "ui/Window.h"

#include <algorithm>
#include <charconv>

namespace ui
{
namespace
{
std::string foldKey(std::string_view key)
{
    std::string folded(key);
    for (char& c : folded)
        c = host::foldCase(c);
    return folded;
}

std::string escapeKey(std::string_view key)
{
    std::string out;
    for (char c : key)
    {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

bool unescapeKey(std::string_view text, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\\')
        {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i])
        {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        default:
            return false;
        }
    }
    return true;
}

bool parseInt(std::string_view text, int& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last;
}

// Splits at TAB, keeping empty fields.
std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t tab = line.find('\t', start);
        out.push_back(
            line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            return out;
        start = tab + 1;
    }
}
} // namespace

bool DialogSizeStore::find(std::string_view key, Rect& rect) const
{
    auto it = entries_.find(foldKey(key));
    if (it == entries_.end())
        return false;
    rect = it->second.rect;
    return true;
}

void DialogSizeStore::store(std::string_view key, const Rect& rect)
{
    entries_[foldKey(key)] = Entry{Kdr_String(key), rect};
}

bool DialogSizeStore::erase(std::string_view key)
{
    return entries_.erase(foldKey(key)) != 0;
}

bool DialogSizeStore::load(const std::string& path, Kdr_String& error)
{
    std::string bytes;
    if (!host::readFileBytes(path, bytes, error))
        return false;
    Kdr_StringArray lines;
    host::splitLines(bytes, lines);
    std::map<std::string, Entry> loaded;
    for (int n = 0; n < lines.length(); ++n)
    {
        const Kdr_String& line = lines[n];
        const std::string where = path + ":" + std::to_string(n + 1) + ": ";
        if (line.empty())
            continue;
        const auto parts = fields(line);
        if (parts.size() != 5)
        {
            error = where + "expected a name and four numbers separated by TAB";
            return false;
        }
        std::string key;
        if (!unescapeKey(parts[0], key) || key.empty())
        {
            error = where + "malformed name";
            return false;
        }
        int values[4] = {};
        for (int i = 0; i < 4; ++i)
            if (!parseInt(parts[static_cast<std::size_t>(i) + 1], values[i]))
            {
                error = where + "not a whole number: \"" +
                        std::string(parts[static_cast<std::size_t>(i) + 1]) + "\"";
                return false;
            }
        if (values[2] < 0 || values[3] < 0)
        {
            error = where + "negative size";
            return false;
        }
        loaded[foldKey(key)] =
            Entry{Kdr_String(key), Rect(Point{values[0], values[1]}, Size{values[2], values[3]})};
    }
    entries_ = std::move(loaded);
    return true;
}

bool DialogSizeStore::save(const std::string& path, Kdr_String& error) const
{
    std::string bytes;
    for (const auto& [folded, entry] : entries_)
    {
        (void)folded;
        bytes += escapeKey(entry.key) + '\t' + std::to_string(entry.rect.left) + '\t' +
                 std::to_string(entry.rect.top) + '\t' + std::to_string(entry.rect.Width()) + '\t' +
                 std::to_string(entry.rect.Height()) + '\n';
    }
    return host::writeFileAtomically(path, bytes, error);
}

DialogSizeStore& dialogSizes()
{
    static auto& store = *new DialogSizeStore;
    return store;
}
} // namespace ui

bool getDlgSize(const Kdr_String& key, int& width, int& height)
{
    ui::Rect rect;
    if (!ui::dialogSizes().find(key, rect))
        return false;
    width = rect.Width();
    height = rect.Height();
    return true;
}

bool ChangeDlgSize(ui::Window* window, const Kdr_String& key)
{
    ui::Rect rect;
    if (window == nullptr || !window->IsWindow() || !ui::dialogSizes().find(key, rect))
        return false;
    if (!window->isChildWindow())
    {
        // A rectangle stored on a larger screen is brought back onto this one.
        const ui::Rect screen = ui::screenRect();
        if (rect.right > screen.right)
            rect.OffsetRect(screen.right - rect.right, 0);
        if (rect.left < screen.left)
            rect.OffsetRect(screen.left - rect.left, 0);
        if (rect.bottom > screen.bottom)
            rect.OffsetRect(0, screen.bottom - rect.bottom);
        if (rect.top < screen.top)
            rect.OffsetRect(0, screen.top - rect.top);
    }
    return window->MoveWindow(rect, true);
}

void WriteDlgSize(ui::Window* window, const Kdr_String& key)
{
    if (window != nullptr && window->IsWindow())
        ui::dialogSizes().store(key, window->rectInParent());
}
