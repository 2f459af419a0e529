#include "host/Kdr_Bill.h"

#include "host/FileFunctions.h"

#include <atomic>
#include <filesystem>
#include <system_error>
#include <unistd.h>

Kdr_String Kdr_Bill::picture(int row) const
{
    auto found = pictures_.find(row);
    return found == pictures_.end() ? Kdr_String() : found->second;
}

namespace host
{
BillPictureRequests& billPictureRequests()
{
    static BillPictureRequests requests;
    return requests;
}

namespace
{
/// A fresh name in the temporary folder; the process id and a counter keep two programs and
/// two calls apart.
std::filesystem::path freshImagePath()
{
    static std::atomic<unsigned> counter{0};
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        folder = "/tmp";
    for (;;)
    {
        std::filesystem::path candidate =
            folder / ("kaldor-bill-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".bmp");
        if (!std::filesystem::exists(candidate, error))
            return candidate;
    }
}
} // namespace
} // namespace host

void initBMPDialog(int size)
{
    host::billPictureRequests().dialogOpens.push_back(size);
}

void closeBMPDialog()
{
    ++host::billPictureRequests().dialogCloses;
}

bool createImage(const Kdr_StringArray& row, Kdr_String& imageFile, int& setting1, int setting2, int setting3,
                 bool flag1, bool flag2, Kdr_Bill* bill, AcTransaction* transaction)
{
    imageFile.clear();
    host::ImageRequest request{row, setting1, setting2, setting3, flag1, flag2, bill, transaction, {}};
    if (bill && transaction)
    {
        // The picture is handed over as a copy, because the caller deletes what it receives.
        const Kdr_String source = bill->picture(bill->nextImageRequest());
        if (!source.empty() && host::fileExists(source))
        {
            const Kdr_String copy = host::freshImagePath().string();
            std::error_code error;
            std::filesystem::copy_file(host::toPath(source), host::toPath(copy), error);
            if (!error)
                imageFile = copy;
        }
    }
    request.imageFile = imageFile;
    host::billPictureRequests().images.push_back(std::move(request));
    return !imageFile.empty();
}
