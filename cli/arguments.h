#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace lapwerk::cli {

/// The words after the verb: positional arguments, options with a value and bare flags.
struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;                ///< "--zoom" -> "13"
    std::set<std::string> flags;                              ///< "--imperial"
    std::map<std::string, std::vector<std::string>> repeated; ///< "--set" -> {"C153=4", ...}

    bool has(const std::string& flag) const { return flags.count(flag) != 0; }
    const std::string* value(const std::string& option) const;
};

/// What a verb accepts besides --parts FILE and --own FILE, which every verb takes.
struct ArgumentRules {
    int positionalCount;
    std::set<std::string> valueOptions;
    std::set<std::string> flagOptions;
    std::set<std::string> repeatedOptions = {}; ///< options with a value that may be given again
};

/// Splits `words` by `rules`. Returns the usage error text when they do not fit.
std::optional<std::string> ParseArguments(const std::vector<std::string>& words,
                                          const ArgumentRules& rules, Arguments& arguments);

/// A whole decimal integer in [low, high], optionally signed, nothing else in the text.
std::optional<int64_t> ParseInteger(const std::string& text, int64_t low, int64_t high);

/// Reads `option` into `value` when it is given; false when its value is not a whole number
/// from `low` to `high`.
bool ReadCount(const Arguments& arguments, const char* option, int64_t low, int64_t high,
               int& value);

/// A size "WxH" with both parts whole numbers in [1, maxSide].
struct AreaSize {
    int32_t width;
    int32_t height;
};
std::optional<AreaSize> ParseAreaSize(const std::string& text, int32_t maxSide);

/// Whether `path` ends in `extension` (with its dot), in any letter case.
bool HasExtension(const std::string& path, const std::string& extension);

} // namespace lapwerk::cli
