#pragma once

#include <string>
#include <string_view>

namespace lapwerk::cli {

/// `bytes` as a JSON string literal with its quotes. Valid UTF-8 passes through; quotes,
/// backslashes and control characters are escaped, and a byte that is not part of a valid
/// UTF-8 sequence is written as the \u escape of that byte (read as Latin-1), so any bytes
/// give valid JSON.
std::string JsonString(std::string_view bytes);

} // namespace lapwerk::cli
