#pragma once
// A fresh folder below the system's temporary folder, removed with its contents at the
// end of the test; optionally the current directory while it lives.

#include <filesystem>
#include <string>

#include <stdlib.h>

class TempDir {
public:
    explicit TempDir(bool enter = false)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavrin-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        if (enter) {
            previous_ = std::filesystem::current_path();
            std::filesystem::current_path(path_);
        }
    }
    ~TempDir()
    {
        if (!previous_.empty())
            std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};
