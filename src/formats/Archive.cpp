#include "formats/Archive.h"

#include <zip.h>

namespace formats
{
struct Archive::State
{
    zip_t* zip = nullptr;
};

Archive::Archive(const ReadLimits& limits) : state_(std::make_unique<State>()), limits_(limits)
{
}

Archive::~Archive()
{
    if (state_->zip)
        zip_discard(state_->zip);
}

bool Archive::open(std::string_view bytes, std::string& error)
{
    zip_error_t zipError;
    zip_error_init(&zipError);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &zipError);
    if (!source)
    {
        error = "not a zip archive";
        zip_error_fini(&zipError);
        return false;
    }
    state_->zip = zip_open_from_source(source, ZIP_RDONLY, &zipError);
    if (!state_->zip)
    {
        zip_source_free(source);
        error = std::string("not a readable zip archive (") + zip_error_strerror(&zipError) + ")";
        zip_error_fini(&zipError);
        return false;
    }
    zip_error_fini(&zipError);
    return true;
}

bool Archive::has(const std::string& name) const
{
    return state_->zip && zip_name_locate(state_->zip, name.c_str(), ZIP_FL_NOCASE) >= 0;
}

bool Archive::read(const std::string& name, std::string& text, std::string& error)
{
    text.clear();
    const zip_int64_t index = state_->zip ? zip_name_locate(state_->zip, name.c_str(), ZIP_FL_NOCASE) : -1;
    if (index < 0)
    {
        error = "part \"" + name + "\" is missing";
        return false;
    }
    const std::string tooLarge =
        "part \"" + name + "\" unpacks to more than " + std::to_string(limits_.maxPartBytes) + " bytes";
    const std::string tooLargeTotal =
        "the archive unpacks to more than " + std::to_string(limits_.maxTotalBytes) + " bytes";
    // The declared size is a hint to refuse early; the count of what is actually unpacked
    // below is what holds, since an archive can lie about its sizes.
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(state_->zip, static_cast<zip_uint64_t>(index), 0, &stat) == 0 &&
        (stat.valid & ZIP_STAT_SIZE))
    {
        if (stat.size > limits_.maxPartBytes)
        {
            error = tooLarge;
            return false;
        }
        if (stat.size > limits_.maxTotalBytes - total_)
        {
            error = tooLargeTotal;
            return false;
        }
        text.reserve(static_cast<std::size_t>(stat.size));
    }
    zip_file_t* file = zip_fopen_index(state_->zip, static_cast<zip_uint64_t>(index), 0);
    if (!file)
    {
        error = "part \"" + name + "\" cannot be unpacked (" + zip_strerror(state_->zip) + ")";
        return false;
    }
    char buffer[65536];
    bool ok = true;
    for (;;)
    {
        const zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
        if (got < 0)
        {
            error = "part \"" + name + "\" is damaged (" + zip_file_strerror(file) + ")";
            ok = false;
            break;
        }
        if (got == 0)
            break;
        const auto count = static_cast<std::uint64_t>(got);
        if (text.size() + count > limits_.maxPartBytes)
        {
            error = tooLarge;
            ok = false;
            break;
        }
        if (total_ + count > limits_.maxTotalBytes)
        {
            error = tooLargeTotal;
            ok = false;
            break;
        }
        total_ += count;
        text.append(buffer, static_cast<std::size_t>(count));
    }
    zip_fclose(file);
    if (!ok)
        text.clear();
    return ok;
}
} // namespace formats
