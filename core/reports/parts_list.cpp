#include "parts_list.h"

#include "part_counts.h"
#include "utf8_text.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lapwerk {

namespace {

constexpr size_t kColumns = 6;
/// The first two columns hold texts, the rest counts.
constexpr size_t kTextColumns = 2;

/// The text of a NUL-terminated fixed-size field, as UTF-8.
template <size_t N> std::string FieldText(const char (&field)[N]) {
    return FileTextAsUtf8(std::string_view(field, strnlen(field, N)));
}

std::array<std::string, kColumns> HeaderFields() {
    return {"Part", "Name", "Used", "Owned", "Left over", "To buy"};
}

std::array<std::string, kColumns> Fields(const PartsListRow& row) {
    return {row.number,
            row.name,
            std::to_string(row.used),
            std::to_string(row.owned),
            std::to_string(row.leftOver),
            std::to_string(row.toBuy)};
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

std::string CsvRecord(const std::array<std::string, kColumns>& fields) {
    std::string record;
    for (size_t i = 0; i < kColumns; ++i) {
        record += (i == 0 ? "" : ",") + CsvField(fields[i]);
    }
    return record + "\r\n";
}

std::string TableLine(const std::array<std::string, kColumns>& fields,
                      const std::array<size_t, kColumns>& widths) {
    std::string line;
    for (size_t i = 0; i < kColumns; ++i) {
        const std::string padding(widths[i] - Utf8CharacterCount(fields[i]), ' ');
        line += i == 0 ? "" : "  ";
        line += i < kTextColumns ? fields[i] + padding : padding + fields[i];
    }
    return line;
}

} // namespace

std::vector<PartsListRow> BuildPartsList(const Design& design, const PartLibrary& library,
                                         const Inventory& inventory) {
    const PartCountRows counts = RefreshPartCounts(design, library, inventory);
    std::vector<PartsListRow> rows;
    for (size_t i = 0; i < counts.used.size(); ++i) {
        // An empty left-over row in the panel: neither used nor owned.
        if (counts.leftOver[i].empty()) {
            continue;
        }
        const Part& part = library.parts[i];
        const int64_t owned = inventory.owned[i];
        const int64_t leftOver = counts.leftOverCount[i];
        const int64_t used = owned - leftOver;
        rows.push_back({FieldText(part.number), FieldText(part.name), used, owned, leftOver,
                        std::max<int64_t>(0, -leftOver)});
    }
    return rows;
}

std::string PartsListCsv(const std::vector<PartsListRow>& rows) {
    std::string csv = CsvRecord(HeaderFields());
    for (const PartsListRow& row : rows) {
        csv += CsvRecord(Fields(row));
    }
    return csv;
}

std::vector<std::string> PartsListTable(const std::vector<PartsListRow>& rows) {
    std::vector<std::array<std::string, kColumns>> table{HeaderFields()};
    for (const PartsListRow& row : rows) {
        table.push_back(Fields(row));
    }
    std::array<size_t, kColumns> widths{};
    for (const auto& fields : table) {
        for (size_t i = 0; i < kColumns; ++i) {
            widths[i] = std::max(widths[i], Utf8CharacterCount(fields[i]));
        }
    }
    std::vector<std::string> lines;
    for (const auto& fields : table) {
        lines.push_back(TableLine(fields, widths));
    }
    return lines;
}

} // namespace lapwerk
