#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lapwerk {

/// Length in bytes of the valid UTF-8 sequence that starts at byte `i` of `bytes`, or 0 when the
/// byte there starts none (a stray continuation byte, an overlong form, a surrogate, a code
/// point beyond U+10FFFF or a sequence cut short).
size_t Utf8SequenceLength(std::string_view bytes, size_t i);

/// A text read from a file or typed by the user, as UTF-8: unchanged when it is valid UTF-8,
/// otherwise read as Latin-1, so that no byte of an old part library is lost.
std::string FileTextAsUtf8(std::string_view bytes);

/// Number of characters (code points) of a valid UTF-8 text.
size_t Utf8CharacterCount(std::string_view utf8);

} // namespace lapwerk
