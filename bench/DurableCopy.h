#pragma once

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

// The floor of a save: the operating system copying the same bytes with the durability the writers
// give, the copy flushed to the disk and then its folder.
inline void durableCopy(const std::filesystem::path &from, const std::filesystem::path &to)
{
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    for (const std::filesystem::path &flushed : {to, to.parent_path()}) {
        const int fd = ::open(flushed.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }
}
