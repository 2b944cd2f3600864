#include "arguments.h"

#include <cctype>

namespace lapwerk::cli {

const std::string* Arguments::value(const std::string& option) const {
    const auto found = values.find(option);
    return found == values.end() ? nullptr : &found->second;
}

std::optional<std::string> ParseArguments(const std::vector<std::string>& words,
                                          const ArgumentRules& rules, Arguments& arguments) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
            arguments.positional.push_back(word);
            continue;
        }
        const bool common = word == "--parts" || word == "--own";
        if (common || rules.valueOptions.count(word) != 0) {
            if (i + 1 >= words.size()) {
                return word + " needs a value";
            }
            if (arguments.values.count(word) != 0) {
                return word + " is given twice";
            }
            arguments.values[word] = words[++i];
        } else if (rules.repeatedOptions.count(word) != 0) {
            if (i + 1 >= words.size()) {
                return word + " needs a value";
            }
            arguments.repeated[word].push_back(words[++i]);
        } else if (rules.flagOptions.count(word) != 0) {
            arguments.flags.insert(word);
        } else {
            return "unknown option " + word;
        }
    }
    if (static_cast<int>(arguments.positional.size()) != rules.positionalCount) {
        return "expected " + std::to_string(rules.positionalCount) + " file name" +
               (rules.positionalCount == 1 ? "" : "s") + ", got " +
               std::to_string(arguments.positional.size());
    }
    return std::nullopt;
}

std::optional<int64_t> ParseInteger(const std::string& text, int64_t low, int64_t high) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isdigit(c)) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > (int64_t{1} << 40)) {
            return std::nullopt; // far outside any range asked for; stop before overflow
        }
    }
    const int64_t number = negative ? -magnitude : magnitude;
    if (number < low || number > high) {
        return std::nullopt;
    }
    return number;
}

bool ReadCount(const Arguments& arguments, const char* option, int64_t low, int64_t high,
               int& value) {
    const std::string* text = arguments.value(option);
    if (text == nullptr) {
        return true;
    }
    const auto number = ParseInteger(*text, low, high);
    if (number) {
        value = static_cast<int>(*number);
    }
    return number.has_value();
}

std::optional<AreaSize> ParseAreaSize(const std::string& text, int32_t maxSide) {
    const size_t cross = text.find_first_of("xX");
    if (cross == std::string::npos) {
        return std::nullopt;
    }
    const auto width = ParseInteger(text.substr(0, cross), 1, maxSide);
    const auto height = ParseInteger(text.substr(cross + 1), 1, maxSide);
    if (!width || !height) {
        return std::nullopt;
    }
    return AreaSize{static_cast<int32_t>(*width), static_cast<int32_t>(*height)};
}

bool HasExtension(const std::string& path, const std::string& extension) {
    if (path.size() < extension.size()) {
        return false;
    }
    const size_t start = path.size() - extension.size();
    for (size_t i = 0; i < extension.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(path[start + i])) !=
            std::tolower(static_cast<unsigned char>(extension[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace lapwerk::cli
