#pragma once
// Files written as a whole: the text goes to a temporary file in the same folder, which
// is flushed to the disk and then renamed over the old file, and the folder is synced.
// A crash or a full disk therefore never leaves a half-written file; a failed write keeps
// the old one. Temporary files of writes that were killed are removed by the next write
// to their folder. A target that is a symlink is written through to the file it names.

#include <filesystem>
#include <string>
#include <string_view>

namespace storage {

class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path target);
    ~AtomicFile();  // an uncommitted temporary file is removed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file; false when the folder cannot take it.
    bool open();
    // Appends bytes; false once any write has failed.
    bool write(std::string_view bytes);
    // Flushes, closes and renames over the target (keeping the old file's permissions);
    // false, with the target unchanged, when anything failed.
    bool commit();

    const std::filesystem::path& target() const { return target_; }

private:
    void discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    bool failed_ = false;
};

// The whole of `contents` as the new `target`; false when the old file was kept.
inline bool writeFileAtomically(const std::filesystem::path& target, std::string_view contents)
{
    AtomicFile file(target);
    return file.open() && file.write(contents) && file.commit();
}

}  // namespace storage
