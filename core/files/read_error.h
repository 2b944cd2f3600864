#pragma once

#include "message.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lapwerk {

/// Why a reader refused its input: the text to show and the line it refers to.
struct ReadError {
    std::string text; ///< the complete message text, or what follows the file's name
    int64_t line = 0; ///< 1-based line of the input the fault was found on, 0 for none
    /// The input is no design file at all (bytes that are not text, or no number where the
    /// layout needs one); the message then names the file before the text.
    bool notADesign = false;
    /// The text follows the file's name and a colon ("example.trk: value 1 is ...").
    bool afterFileName = false;
};

/// The message box that shows a read error of the file `fileName` (its name without folders),
/// captioned "Error".
inline Message ErrorMessageOf(const ReadError& error, std::string_view fileName) {
    if (error.notADesign) {
        return Message{std::string(fileName) + " is not a design file: " + error.text, "Error"};
    }
    if (error.afterFileName) {
        return Message{std::string(fileName) + ": " + error.text, "Error"};
    }
    return Message{error.text, "Error"};
}

} // namespace lapwerk
