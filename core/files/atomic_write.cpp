#include "atomic_write.h"

#include "file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#if __has_include(<unistd.h>)
#include <unistd.h>
#define LAPWERK_HAVE_FSYNC 1
#endif

namespace lapwerk {

namespace {

/// The directory part of `path`, with its trailing separator ("" for the working directory).
std::string DirectoryOf(const std::string& path) {
#ifdef _WIN32
    const size_t cut = path.find_last_of("\\/:");
#else
    const size_t cut = path.find_last_of('/');
#endif
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

/// Creates a new temporary file beside `target`; nullptr (errno set) when none can be made.
std::FILE* CreateTemporaryBeside(const std::string& target, std::string& tempPath) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            DirectoryOf(target) + ".lapwerk-save-" + std::to_string(random() % 1000000000) + ".tmp";
        errno = 0;
        std::FILE* file = std::fopen(tempPath.c_str(), "wbx");
        if (file != nullptr || errno != EEXIST) {
            return file;
        }
    }
    errno = EEXIST;
    return nullptr;
}

} // namespace

std::optional<std::string> WriteFileAtomically(const std::string& target, std::string_view bytes) {
    // An existing file that may not be written is not replaced behind the user's back.
    std::error_code ec;
    const auto oldStatus = std::filesystem::status(target, ec);
    const bool targetExists = !ec && std::filesystem::exists(oldStatus);
    if (targetExists) {
        errno = 0;
        std::FILE* writable = std::fopen(target.c_str(), "r+b");
        if (writable == nullptr) {
            return SystemReason(errno);
        }
        std::fclose(writable);
    }

    std::string tempPath;
    std::FILE* file = CreateTemporaryBeside(target, tempPath);
    if (file == nullptr) {
        return SystemReason(errno);
    }
    errno = 0;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = ok && std::fflush(file) == 0;
#ifdef LAPWERK_HAVE_FSYNC
    ok = ok && fsync(fileno(file)) == 0;
#endif
    int error = errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        std::remove(tempPath.c_str());
        return SystemReason(error);
    }

    if (targetExists) {
        // The new file keeps the permissions the old one had.
        std::filesystem::permissions(tempPath, oldStatus.permissions(), ec);
    }
    ec.clear();
    std::filesystem::rename(tempPath, target, ec);
    if (ec) {
        std::remove(tempPath.c_str());
        return ec.message();
    }
    return std::nullopt;
}

} // namespace lapwerk
