#pragma once

#include <optional>
#include <string>

namespace lapwerk {

/// A message an operation asks the window to show in a modal box with an OK button.
struct Message {
    std::string text;
    std::string caption;
};

/// Result of an operation that may stop with a message.
using MaybeMessage = std::optional<Message>;

} // namespace lapwerk
