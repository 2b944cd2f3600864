#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lapwerk {

/// Writes `bytes` to the file at `path` through a temporary file beside it that is flushed to
/// the disk and then renamed over the target, so a failed write leaves an existing file whole;
/// the new file keeps the old one's permissions. An existing file that may not be written is
/// not replaced. Returns the system's reason when the file could not be written.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace lapwerk
