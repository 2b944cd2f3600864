#pragma once

#include "message.h"

#include <cstdint>
#include <string>

namespace lapwerk {

/// Why a reader refused its input: the text to show and the line it refers to.
struct ReadError {
    std::string text; ///< the complete message text
    int64_t line = 0; ///< 1-based line of the input the fault was found on, 0 for none
};

/// The message box that shows a read error (caption "Error").
inline Message ErrorMessageOf(const ReadError& error) {
    return Message{error.text, "Error"};
}

} // namespace lapwerk
