#pragma once

#include "host/Settings.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace standards_test
{
/// A scratch library folder with an empty "Connection Standards" folder, made current for
/// the test and removed afterwards.
class ScratchLibrary
{
public:
    ScratchLibrary()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path() /
                ("kaldor-standards-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "Connection Standards");
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

    /// Copies the section tables of the test library into the scratch library.
    void copySectionTables() const
    {
        std::filesystem::copy(std::string(KALDOR_TEST_DATA) + "library/prof", root_ / "prof",
                              std::filesystem::copy_options::recursive);
    }

    void setSectionTablesMissing() const { std::filesystem::remove_all(root_ / "prof"); }

    std::filesystem::path standards() const { return root_ / "Connection Standards"; }
    std::filesystem::path root() const { return root_; }

    void writeFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(standards() / name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string readFile(const std::string& name) const
    {
        std::ifstream in(standards() / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path root_;
    Kdr_String previous_;
};

/// Switches the spreadsheet error messages off for a scope.
class ErrorMessagesOff
{
public:
    ErrorMessagesOff() : previous_(gSettings.showSpreadsheetErrors())
    {
        gSettings.setShowSpreadsheetErrors(false);
    }
    ~ErrorMessagesOff() { gSettings.setShowSpreadsheetErrors(previous_); }
    ErrorMessagesOff(const ErrorMessagesOff&) = delete;
    ErrorMessagesOff& operator=(const ErrorMessagesOff&) = delete;

private:
    bool previous_;
};

/// The bytes of a file under tests/data/standards/.
inline std::string testData(const std::string& name)
{
    std::ifstream in(std::string(KALDOR_TEST_DATA) + "standards/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace standards_test
