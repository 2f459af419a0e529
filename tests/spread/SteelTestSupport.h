#pragma once

#include "host/Settings.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace steel_test
{
/// A scratch library folder with "Connection Standards/Data", made the library folder for
/// the test and removed afterwards.
class ScratchLibrary
{
public:
    ScratchLibrary()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path() /
                ("kaldor-steel-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "Connection Standards" / "Data");
        previous_ = gSettings.libDir();
        gSettings.setLibDir(root_.string());
    }
    ~ScratchLibrary()
    {
        gSettings.setLibDir(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchLibrary(const ScratchLibrary&) = delete;
    ScratchLibrary& operator=(const ScratchLibrary&) = delete;

    std::filesystem::path root() const { return root_; }
    std::filesystem::path standards() const { return root_ / "Connection Standards"; }
    std::filesystem::path data() const { return root_ / "Connection Standards" / "Data"; }

    /// Writes `bytes` to `path` (relative to the library folder unless absolute).
    std::filesystem::path write(const std::filesystem::path& path, const std::string& bytes) const
    {
        const std::filesystem::path full = path.is_absolute() ? path : root_ / path;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream out(full, std::ios::binary | std::ios::trunc);
        out << bytes;
        return full;
    }

private:
    std::filesystem::path root_;
    Kdr_String previous_;
};
} // namespace steel_test
