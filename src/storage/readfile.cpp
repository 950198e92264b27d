#include "storage/readfile.h"

#include <fstream>

namespace storage {

bool readWholeFile(const std::filesystem::path& path, std::size_t limit, std::string& text)
{
    text.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    // Read in pieces: the size of a pipe or a growing file is not known in advance.
    char piece[65536];
    while (in.read(piece, sizeof piece), in.gcount() > 0) {
        if (text.size() + std::size_t(in.gcount()) > limit) {
            text.clear();
            return false;
        }
        text.append(piece, std::size_t(in.gcount()));
    }
    if (in.bad()) {
        text.clear();
        return false;
    }
    return true;
}

}  // namespace storage
