// A folder of a test's own under the system's temporary folder, gone with the object, whatever
// the test left in it and however it protected it.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace zanvo::test {

struct TempFolder {
    std::filesystem::path path = std::filesystem::temp_directory_path()
        / ("zanvo-test-" + std::to_string(std::random_device()()));

    TempFolder() { std::filesystem::create_directories(path); }
    ~TempFolder()
    {
        namespace fs = std::filesystem;
        std::error_code ignored;
        // Links are left alone: a chmod through one would change what it names, such as a device.
        for (const auto &entry : fs::recursive_directory_iterator(path, ignored))
            if (!entry.is_symlink(ignored))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    // The full name, in UTF-8, of the file name (UTF-8) in the folder.
    std::string name(std::string_view name) const
    {
        const std::u8string full
            = (path / std::filesystem::path(std::u8string(name.begin(), name.end()))).u8string();
        return {full.begin(), full.end()};
    }
    // Writes bytes to the file name in the folder; returns its full name.
    std::string write(std::string_view name, std::string_view bytes) const
    {
        const std::string full = this->name(name);
        std::ofstream(std::filesystem::path(std::u8string(full.begin(), full.end())),
                      std::ios::binary)
            << bytes;
        return full;
    }
};

} // namespace zanvo::test
