#include "inventory_file.h"

#include "line_reader.h"
#include "number_text.h"

#include <charconv>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

namespace lapwerk {

void ParseInventory(std::string_view bytes, const PartLibrary& library, Inventory& inventory) {
    std::memset(&inventory, 0, sizeof inventory);

    LineReader reader(UnterminatedLastLine::kDrop);
    reader.OpenText(bytes);
    std::string line;
    while (reader.ReadValueLine(line)) {
        // A part number (the first run of non-blank characters), then the owned count.
        const auto [token, rest] = SplitFirstToken(line);
        const std::string number(token);
        const ScannedInteger count = ScanInteger(rest);
        if (number.empty() || !count.hasDigits) {
            continue;
        }
        // A number longer than a Part's field can hold matches no Part.
        if (number.size() >= sizeof(Part::number)) {
            continue;
        }
        const int index = FindPartByNumber(library, number.c_str());
        if (index < 0) {
            continue;
        }
        inventory.owned[index] = count.value;
    }
}

namespace {

/// A number and a count as the reader takes them from a line, or nothing.
std::optional<std::pair<std::string_view, ScannedInteger>> NumberAndCount(std::string_view line) {
    const auto [token, rest] = SplitFirstToken(line);
    const ScannedInteger count = ScanInteger(rest);
    if (token.empty() || !count.hasDigits) {
        return std::nullopt;
    }
    return std::pair{token, count};
}

/// The lines of an inventory file, each without its LF (a CR before it stays in the line), and
/// what follows the last LF.
struct InventoryLines {
    std::vector<std::string> lines;
    std::string unterminatedTail; ///< a last line without a line break, which is not read

    /// The line as the reader takes it: without the CR before its LF.
    static std::string_view ReadText(std::string_view line) {
        return line.ends_with('\r') ? line.substr(0, line.size() - 1) : line;
    }

    /// A new line `text`, with a CR when the file's first line has one.
    std::string NewLine(std::string text) const {
        return !lines.empty() && lines.front().ends_with('\r') ? text + '\r' : text;
    }

    std::string text() const {
        std::string out;
        for (const std::string& line : lines) {
            out += line + '\n';
        }
        return out + unterminatedTail;
    }
};

InventoryLines SplitInventoryLines(std::string_view bytes) {
    InventoryLines out;
    size_t start = 0;
    for (size_t end = bytes.find('\n'); end != std::string_view::npos;
         start = end + 1, end = bytes.find('\n', start)) {
        out.lines.emplace_back(bytes.substr(start, end - start));
    }
    out.unterminatedTail = bytes.substr(start);
    return out;
}

constexpr int kAppendLine = -1;

/// For every number the file sets: the index of the last line that sets it, when the reader
/// takes that line whole, or kAppendLine.
std::map<std::string, int, std::less<>> LastLineOfNumbers(std::string_view bytes,
                                                          const InventoryLines& file) {
    std::map<std::string, int, std::less<>> lastLine;
    LineReader reader(UnterminatedLastLine::kDrop);
    reader.OpenText(bytes);
    std::string read;
    while (reader.ReadValueLine(read)) {
        const auto found = NumberAndCount(read);
        if (!found) {
            continue;
        }
        const size_t index = static_cast<size_t>(reader.lineNumber() - 1);
        const bool whole =
            index < file.lines.size() && InventoryLines::ReadText(file.lines[index]) == read;
        lastLine[std::string(found->first)] = whole ? static_cast<int>(index) : kAppendLine;
    }
    return lastLine;
}

/// `line` with its count replaced, the number, the blanks and whatever follows kept.
std::string WithCount(std::string_view line, int32_t count) {
    const auto [token, rest] = SplitFirstToken(line);
    const size_t countStart = rest.find_first_not_of(" \t\v\f\r");
    size_t countEnd = countStart;
    if (countEnd < rest.size() && (rest[countEnd] == '+' || rest[countEnd] == '-')) {
        ++countEnd;
    }
    while (countEnd < rest.size() && rest[countEnd] >= '0' && rest[countEnd] <= '9') {
        ++countEnd;
    }
    const size_t tokenEnd = static_cast<size_t>(token.data() + token.size() - line.data());
    return std::string(line.substr(0, tokenEnd)) + std::string(rest.substr(0, countStart)) +
           std::to_string(count) + std::string(rest.substr(countEnd));
}

} // namespace

bool PartNumberReadsBack(std::string_view number) {
    if (number.empty() || number.size() >= sizeof(Part::number)) {
        return false;
    }
    const std::string line = std::string(number) + " 1\n";
    LineReader reader(UnterminatedLastLine::kDrop);
    reader.OpenText(line);
    std::string read;
    const auto found = reader.ReadValueLine(read) ? NumberAndCount(read) : std::nullopt;
    return found && found->first == number && found->second.value == 1;
}

std::optional<std::string> SetOwnedCountsInText(std::string_view bytes,
                                                const std::vector<OwnedCount>& counts) {
    for (const OwnedCount& owned : counts) {
        if (!PartNumberReadsBack(owned.number)) {
            return std::nullopt;
        }
    }
    InventoryLines file = SplitInventoryLines(bytes);
    std::map<std::string, int, std::less<>> lastLine = LastLineOfNumbers(bytes, file);
    for (const OwnedCount& owned : counts) {
        const auto line = lastLine.find(owned.number);
        if (line != lastLine.end() && line->second != kAppendLine) {
            file.lines[static_cast<size_t>(line->second)] =
                WithCount(file.lines[static_cast<size_t>(line->second)], owned.count);
        } else if (owned.count != 0 || line != lastLine.end()) {
            file.lines.push_back(file.NewLine(owned.number + ' ' + std::to_string(owned.count)));
            lastLine[owned.number] = static_cast<int>(file.lines.size() - 1);
        }
    }
    return file.text();
}

std::optional<int32_t> ReadOwnedCount(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    const size_t last = text.find_last_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view digits = text.substr(first, last - first + 1);
    int32_t count = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (error != std::errc() || end != digits.data() + digits.size() || digits[0] == '-') {
        return std::nullopt;
    }
    return count;
}

} // namespace lapwerk
