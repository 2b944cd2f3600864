#pragma once

#include <string>

namespace lapwerk {

/// The bytes of a file as far as they could be read.
struct FileBytes {
    std::string bytes; ///< everything read, up to the end or up to a read error
    int openError = 0; ///< the system's reason (errno value) the file did not open, 0 if it did
    int readError = 0; ///< the system's reason a read after the open failed, 0 if none did

    bool opened() const { return openError == 0; }
};

/// Opens the file at `path` once and reads all of it.
FileBytes ReadFileBytes(const std::string& path);

/// The system's text for an errno value (that of EIO for 0).
std::string SystemReason(int error);

} // namespace lapwerk
