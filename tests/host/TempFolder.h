#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

/// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder
{
public:
    TempFolder()
    {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() / ("kaldor-host-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// The folder with '/' at the end, or a file inside it.
    std::string path(const std::string& name = "") const { return path_.string() + "/" + name; }

    void write(const std::string& name, const std::string& bytes) const
    {
        std::filesystem::create_directories(std::filesystem::path(path(name)).parent_path());
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    /// Number of entries directly in the folder (to see stray temporary files).
    int entryCount(const std::string& sub = "") const
    {
        int n = 0;
        for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(path(sub)))
            ++n;
        return n;
    }

private:
    std::filesystem::path path_;
};
