#include "grid/SheetFormats.h"

#include "grid/FileText.h"

#include <mutex>

namespace grid
{
namespace
{
struct Registration
{
    std::string extension;
    SheetFileReader reader;
    SheetFileWriter writer;
};

// Registrations happen at program start and are read afterwards; the lock keeps a late
// registration from racing a reader all the same.
std::mutex& registryMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<Registration>& registry()
{
    static std::vector<Registration> registrations;
    return registrations;
}

const Registration* findRegistration(std::string_view path)
{
    for (const Registration& entry : registry())
        if (hasExtension(path, entry.extension))
            return &entry;
    return nullptr;
}

/// Where a "#Name" suffix starts after a registered extension, or npos.
std::size_t fragmentStart(std::string_view path)
{
    const std::size_t hash = path.rfind('#');
    if (hash == std::string_view::npos)
        return hash;
    return findRegistration(path.substr(0, hash)) ? hash : std::string_view::npos;
}

std::string_view withoutFragment(std::string_view path)
{
    const std::size_t hash = fragmentStart(path);
    return hash == std::string_view::npos ? path : path.substr(0, hash);
}
} // namespace

void registerSheetFormat(std::string extension, SheetFileReader reader, SheetFileWriter writer)
{
    std::lock_guard lock(registryMutex());
    for (Registration& entry : registry())
        if (hasExtension(entry.extension, extension) && entry.extension.size() == extension.size())
        {
            entry.reader = std::move(reader);
            entry.writer = std::move(writer);
            return;
        }
    registry().push_back({std::move(extension), std::move(reader), std::move(writer)});
}

void clearSheetFormats()
{
    std::lock_guard lock(registryMutex());
    registry().clear();
}

std::string sheetFilePath(std::string_view path)
{
    std::lock_guard lock(registryMutex());
    return std::string(withoutFragment(path));
}

const SheetFileReader* findSheetReader(std::string_view path)
{
    std::lock_guard lock(registryMutex());
    const Registration* entry = findRegistration(withoutFragment(path));
    return entry && entry->reader ? &entry->reader : nullptr;
}

const SheetFileWriter* findSheetWriter(std::string_view path)
{
    std::lock_guard lock(registryMutex());
    const Registration* entry = findRegistration(path);
    return entry && entry->writer ? &entry->writer : nullptr;
}

std::vector<std::string> sheetReaderExtensions()
{
    std::lock_guard lock(registryMutex());
    std::vector<std::string> extensions;
    for (const Registration& entry : registry())
        if (entry.reader)
            extensions.push_back(entry.extension);
    return extensions;
}
} // namespace grid
