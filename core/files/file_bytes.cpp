#include "file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace lapwerk {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

FileBytes ReadFileBytes(const std::string& path) {
    FileBytes result;
    errno = 0;
    // Binary mode: line ends are the readers' business, the same on every platform.
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        result.openError = errno != 0 ? errno : ENOENT;
        return result;
    }
    char buffer[1 << 16];
    for (;;) {
        errno = 0;
        const size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        result.bytes.append(buffer, got);
        if (got < sizeof buffer) {
            if (std::ferror(file.get()) != 0) {
                result.readError = errno != 0 ? errno : EIO;
            }
            return result;
        }
    }
}

std::string SystemReason(int error) {
    return std::strerror(error != 0 ? error : EIO);
}

} // namespace lapwerk
