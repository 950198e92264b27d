#pragma once
// A fresh folder below the system's temporary folder, removed with its contents at the
// end of the test; optionally the current directory while it lives.

#include <filesystem>
#include <random>
#include <string>

class TempDir {
public:
    explicit TempDir(bool enter = false)
    {
        // A new name until one is free: create_directory is false when the folder exists.
        std::random_device seed;
        std::mt19937 random(seed());
        do
            path_ = std::filesystem::temp_directory_path() / ("tavrin-test-" + std::to_string(random() % 1000000000u));
        while (!std::filesystem::create_directory(path_));
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
