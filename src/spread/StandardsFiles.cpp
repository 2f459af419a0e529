#include "spread/StandardsFiles.h"

#include "grid/SheetFormats.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "host/StringFunctions.h"
#include "standards/ZxEvaluationReport.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

namespace
{
// The cache keeps at most this many files, and files of at most this many bytes together.
constexpr std::size_t kMaxCachedFiles = 32;
constexpr std::uintmax_t kMaxCachedBytes = 64u << 20;

/// What tells one version of a file from another.
struct FileStamp
{
    std::uintmax_t size = 0;
    fs::file_time_type time;

    bool operator==(const FileStamp&) const = default;
};

bool stampOf(const fs::path& path, FileStamp& stamp)
{
    std::error_code code;
    if (!fs::is_regular_file(path, code))
        return false;
    stamp.size = fs::file_size(path, code);
    if (code)
        return false;
    stamp.time = fs::last_write_time(path, code);
    return !code;
}

/// The key of a file in the cache: its absolute path, so that a relative name means the
/// same file whatever the current folder is when it is asked again.
std::string cacheKey(const fs::path& path)
{
    std::error_code code;
    fs::path absolute = fs::absolute(path, code);
    return code ? path.generic_string() : absolute.lexically_normal().generic_string();
}

/// Reads a file's lines, refusing a file that is plainly not text (a NUL byte, or a line
/// longer than any data file has). Failures are reported on the command line.
bool readTextLines(const Kdr_String& path, Kdr_StringArray& lines)
{
    if (!ObjectExportReadFile(path, lines))
        return false;
    for (int i = 0; i < lines.length(); ++i)
    {
        const Kdr_String& line = lines[i];
        const char* fault = nullptr;
        if (std::string_view(line).find('\0') != std::string_view::npos)
            fault = "holds a NUL byte";
        else if (line.size() > static_cast<std::size_t>(kMaxStandardsLineLength))
            fault = "is too long";
        if (fault)
        {
            acutPrintf("*Error* File \"%s\" line %d %s; the file was not read.\n",
                       host::normalizePath(path).c_str(), i + 1, fault);
            lines.removeAll();
            return false;
        }
    }
    return true;
}

bool isBlank(const Kdr_String& line)
{
    return line.find_first_not_of(" \t\r\n\f\v") == std::string::npos;
}

void parseSizes(Kdr_StringArray& lines, StandardSizes& sizes)
{
    removeComments(lines);
    for (Kdr_String& line : lines)
    {
        removeLineComment(line);
        if (isBlank(line))
            continue;
        Kdr_String first;
        Kdr_String second;
        if (splitStringAtSymbol(line, 'x', first, second, false))
        {
            sizes.firsts.append(std::atof(first.c_str()));
            sizes.seconds.append(std::atof(second.c_str()));
        }
        else
        {
            sizes.firsts.append(std::atof(line.c_str()));
            sizes.seconds.append(0.0);
        }
    }
}

void parseTable(Kdr_StringArray& lines, StandardsTable& rows)
{
    Kdr_StringArray kept;
    for (Kdr_String& line : lines)
    {
        removeLineComment(line);
        if (!line.empty())
            kept.append(line);
    }
    arrToArrArr(kept, rows);
}

/// Parsed files of one kind, by path.
template <typename Content> class ParsedFileCache
{
public:
    using Shared = std::shared_ptr<const Content>;

    /// The parsed file, read afresh unless the kept copy is of the same version. Null when
    /// the file cannot be read.
    template <typename Parse> Shared get(const Kdr_String& name, bool useCache, Parse parse)
    {
        const fs::path path = host::toPath(name);
        FileStamp before;
        const bool stamped = useCache && stampOf(path, before);
        const std::string key = stamped ? cacheKey(path) : std::string();
        if (stamped)
        {
            std::lock_guard lock(mutex_);
            auto found = entries_.find(key);
            if (found != entries_.end() && found->second.stamp == before)
            {
                found->second.lastUse = ++useCounter_;
                return found->second.content;
            }
        }

        Shared content;
        Kdr_StringArray lines;
        if (readTextLines(name, lines))
        {
            auto parsed = std::make_shared<Content>();
            parse(lines, *parsed);
            content = std::move(parsed);
        }

        // Keep it only when the file did not change while it was read.
        FileStamp after;
        if (stamped && stampOf(path, after) && after == before)
            store(key, before, content);
        return content;
    }

    void clear()
    {
        std::lock_guard lock(mutex_);
        entries_.clear();
        bytes_ = 0;
    }

    int size() const
    {
        std::lock_guard lock(mutex_);
        return static_cast<int>(entries_.size());
    }

private:
    struct Entry
    {
        FileStamp stamp;
        Shared content; ///< null: the file could not be read (kept so it is reported once)
        std::uint64_t lastUse = 0;
    };

    void store(const std::string& key, const FileStamp& stamp, const Shared& content)
    {
        const std::uintmax_t cost = content ? stamp.size : 0;
        if (cost > kMaxCachedBytes)
            return;
        std::lock_guard lock(mutex_);
        if (auto old = entries_.find(key); old != entries_.end())
            erase(old);
        while (!entries_.empty() && (entries_.size() >= kMaxCachedFiles || bytes_ + cost > kMaxCachedBytes))
        {
            auto oldest = entries_.begin();
            for (auto it = entries_.begin(); it != entries_.end(); ++it)
                if (it->second.lastUse < oldest->second.lastUse)
                    oldest = it;
            erase(oldest);
        }
        entries_[key] = Entry{stamp, content, ++useCounter_};
        bytes_ += cost;
    }

    void erase(typename std::map<std::string, Entry>::iterator it)
    {
        bytes_ -= it->second.content ? it->second.stamp.size : 0;
        entries_.erase(it);
    }

    mutable std::mutex mutex_;
    std::map<std::string, Entry> entries_;
    std::uintmax_t bytes_ = 0;
    std::uint64_t useCounter_ = 0;
};

ParsedFileCache<StandardSizes>& sizesCache()
{
    static ParsedFileCache<StandardSizes> cache;
    return cache;
}

ParsedFileCache<StandardsTable>& tableCache()
{
    static ParsedFileCache<StandardsTable> cache;
    return cache;
}

bool gCacheEnabled = true;

/// The snapshot: how deep, where names were found, and what was read during it.
struct Snapshot
{
    int depth = 0;
    std::map<std::string, std::pair<bool, Kdr_String>> located;
    std::string key; ///< scratch space for the key of `located`
    std::map<std::string, std::shared_ptr<const StandardSizes>> sizes;
    std::map<std::string, std::shared_ptr<const StandardsTable>> tables;
};

Snapshot& snapshot()
{
    static Snapshot instance;
    return instance;
}

template <typename Content, typename Read>
std::shared_ptr<const Content> readInSnapshot(std::map<std::string, std::shared_ptr<const Content>>& memo,
                                              const Kdr_String& path, Read read)
{
    if (snapshot().depth == 0)
        return read();
    auto found = memo.find(path);
    if (found != memo.end())
        return found->second;
    auto content = read();
    memo.emplace(path, content);
    return content;
}
} // namespace

StandardsFileSnapshot::StandardsFileSnapshot()
{
    ++snapshot().depth;
}

StandardsFileSnapshot::~StandardsFileSnapshot()
{
    Snapshot& state = snapshot();
    if (--state.depth == 0)
    {
        state.located.clear();
        state.sizes.clear();
        state.tables.clear();
    }
}

bool locateStandardsFile(Kdr_String& name)
{
    if (std::string_view(name).find('\0') != std::string_view::npos)
        return false;
    const Kdr_String& library = gSettings.libDir();
    // A relative name is read beside the sheet being calculated, never against the process's
    // current folder: what a sheet computes must not depend on where the program was started.
    const Kdr_String& sheetFolder = gEvaluationReport.lastSheetFolder();
    Snapshot& state = snapshot();
    // The library, the sheet's folder and the name decide where a name is found; a steel
    // function called in every equation asks the same three again and again.
    std::string& memoKey = state.key;
    if (state.depth > 0)
    {
        memoKey.assign(library).append(1, '\n').append(sheetFolder).append(1, '\n').append(name);
        auto found = state.located.find(memoKey);
        if (found != state.located.end())
        {
            if (found->second.first)
                name = found->second.second;
            return found->second.first;
        }
    }
    const bool absolute = host::toPath(name).is_absolute();
    const Kdr_String besideSheet = absolute || sheetFolder.empty() ? Kdr_String() : sheetFolder + name;
    const Kdr_String places[] = {
        absolute ? name : besideSheet,
        library + "Connection Standards/Data/" + name,
        library + "Connection Standards/" + name,
        library + name,
    };
    bool found = false;
    Kdr_String path;
    for (const Kdr_String& place : places)
    {
        if (place.empty() || !host::fileExists(place))
            continue;
        Kdr_String refusal;
        if (!sheetMayRead(place, refusal))
        {
            // Refused files count as missing, and the user learns why.
            acutPrintf("*Error* %s.\n", refusal.c_str());
            gEvaluationReport.addEquationFailure(refusal);
            break;
        }
        found = true;
        path = host::normalizePath(place);
        break;
    }
    if (state.depth > 0)
        state.located[memoKey] = {found, path};
    if (found)
        name = path;
    return found;
}

std::shared_ptr<const StandardSizes> sharedSizesFile(const Kdr_String& path)
{
    return readInSnapshot(snapshot().sizes, path,
                          [&] { return sizesCache().get(path, gCacheEnabled, parseSizes); });
}

std::shared_ptr<const StandardsTable> sharedTableFile(const Kdr_String& path)
{
    return readInSnapshot(snapshot().tables, path,
                          [&] { return tableCache().get(path, gCacheEnabled, parseTable); });
}

bool readSizesFile(const Kdr_String& path, StandardSizes& sizes)
{
    auto content = sharedSizesFile(path);
    sizes = content ? *content : StandardSizes{};
    return content != nullptr;
}

bool readTableFile(const Kdr_String& path, StandardsTable& rows)
{
    auto content = sharedTableFile(path);
    rows = content ? *content : StandardsTable{};
    return content != nullptr;
}

void setStandardsFileCacheEnabled(bool on)
{
    gCacheEnabled = on;
    if (!on)
        clearStandardsFileCache();
}

bool standardsFileCacheEnabled()
{
    return gCacheEnabled;
}

void clearStandardsFileCache()
{
    sizesCache().clear();
    tableCache().clear();
}

int standardsFileCacheSize()
{
    return sizesCache().size() + tableCache().size();
}

Kdr_StringArray sheetFileExtensions()
{
    Kdr_StringArray extensions;
    extensions.append(".zxs");
    for (const std::string& extension : grid::sheetReaderExtensions())
        extensions.append(Kdr_String(extension));
    return extensions;
}

Kdr_String findSheetFile(const Kdr_String& base)
{
    if (base.empty())
        return {};
    if (host::fileExists(grid::sheetFilePath(base.c_str())))
        return base;
    if (!host::getExtension(base.c_str()).empty())
        return {};
    const Kdr_StringArray extensions = sheetFileExtensions();
    for (int i = 0; i < extensions.length(); ++i)
        if (host::fileExists((base + extensions[i]).c_str()))
            return base + extensions[i];
    return {};
}
