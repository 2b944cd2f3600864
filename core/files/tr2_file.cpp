#include "tr2_file.h"

#include "line_reader.h"
#include "number_text.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace lapwerk {

namespace {

constexpr const char* kErrorCaption = "Error";
constexpr const char* kLineEnd = "\r\n";

// ---------------------------------------------------------------- writing

void AppendLine(std::string& out, std::string_view text) {
    out += text;
    out += kLineEnd;
}

void AppendInteger(std::string& out, int32_t value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    AppendLine(out, std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

/// "%5.2f" of the board size, the same in every locale.
void AppendBoardSize(std::string& out, float inches) {
    AppendLine(out, FormatFixed(static_cast<double>(inches), 2, 5));
}

std::string_view PartNumber(const Part& part) {
    return std::string_view(part.number, strnlen(part.number, sizeof part.number));
}

/// Why the reader would not find this Section again from its part line, or nothing when it
/// would: the number must not be empty, hold blanks or control characters or make the line a
/// comment, and the direction letter must be neither a blank nor a control character.
std::optional<std::string> UnreadableSection(const PartLibrary& library, const Track& track,
                                             int section) {
    const int index = track.partIndex[section];
    if (index >= library.count) {
        return std::string("uses no part of the part library");
    }
    const std::string_view number = PartNumber(library.parts[index]);
    bool blankOrControl = false;
    for (const char c : number) {
        blankOrControl = blankOrControl || IsBlank(c) || IsControlByte(c);
    }
    if (number.empty() || number[0] == '#' || blankOrControl) {
        return "uses the part number \"" + std::string(number) +
               "\", which is empty, holds blanks or control characters or begins with # and so "
               "could not be read back";
    }
    const char letter = track.direction[section];
    if (letter == '\0' || IsBlank(letter) || IsControlByte(letter)) {
        return std::string("has no direction letter");
    }
    return std::nullopt;
}

Message SaveError(const std::string& text) {
    return Message{text, kErrorCaption};
}

} // namespace

MaybeMessage FormatDesign(const Design& design, const PartLibrary& library, std::string& out) {
    out.clear();
    AppendLine(out, "# Lapwerk V2 format");
    AppendLine(out, "#");
    AppendLine(out, "# Written by Lapwerk V2.1, a slot-car track designer");
    AppendLine(out, "#");
    AppendLine(out, "# Sizes in inches, positions in 1/256 inch, angles in quarter degrees");
    AppendLine(out, "#");
    AppendLine(out, "# Board X size");
    AppendBoardSize(out, design.boardX);
    AppendLine(out, "# Board Y size");
    AppendBoardSize(out, design.boardY);
    AppendLine(out, "#");
    AppendLine(out, "# Number of lines");
    AppendLine(out, "0");

    int block = 0;
    for (const Track& track : design.tracks) {
        if (track.inUse == 0) {
            continue;
        }
        ++block;
        if (track.sectionCount < 0 || track.sectionCount > kMaxSections) {
            return SaveError("Track " + std::to_string(block) + " holds " +
                             std::to_string(track.sectionCount) + " sections and cannot be saved.");
        }
        AppendLine(out, "#");
        AppendLine(out, "# Track " + std::to_string(block));
        AppendLine(out, "#");
        const std::pair<const char*, int32_t> fields[] = {
            {"# Length in parts", track.sectionCount},
            {"# Angle", track.angle},
            {"# Begin X position", track.beginX},
            {"# Begin Y position", track.beginY},
            {"# In Group", track.group},
        };
        for (const auto& [caption, value] : fields) {
            AppendLine(out, caption);
            AppendInteger(out, value);
        }
        AppendLine(out, "# Track parts");
        AppendLine(out, "#");
        for (int i = 0; i < track.sectionCount; ++i) {
            if (std::optional<std::string> reason = UnreadableSection(library, track, i)) {
                return SaveError("Section " + std::to_string(i + 1) + " of track " +
                                 std::to_string(block) + " " + *reason +
                                 "; the design was not saved.");
            }
            std::string line(PartNumber(library.parts[track.partIndex[i]]));
            line += ' ';
            line += track.direction[i];
            AppendLine(out, line);
        }
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- reading

namespace {

/// A fault found on `line`, its text begun with the line's name.
ReadError Fault(int64_t line, const std::string& text) {
    return {"Line " + std::to_string(line) + " of the design file: " + text, line};
}

/// Bytes that make the file no text at all: the first control character other than tab, CR
/// and LF.
std::optional<ReadError> NonTextByte(std::string_view bytes) {
    int64_t line = 1;
    for (const char c : bytes) {
        if (c == '\n') {
            ++line;
        } else if (IsControlByte(c)) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(c);
            const std::string code{'0', 'x', kHex[byte >> 4], kHex[byte & 0xf]};
            return ReadError{"line " + std::to_string(line) + " holds the byte " + code +
                                 ", which is not text.",
                             line, true};
        }
    }
    return std::nullopt;
}

/// What a value line must begin with where the layout needs a number.
enum class NumberForm { kInteger, kDecimal };

/// The first token of characters other than blanks and the first non-blank character after it.
struct PartLine {
    std::string number;
    char letter = '\0';
};

PartLine SplitPartLine(std::string_view text) {
    const auto [token, rest] = SplitFirstToken(text);
    PartLine out;
    out.number.assign(token);
    for (const char c : rest) {
        if (!IsBlank(c)) {
            out.letter = c;
            break;
        }
    }
    return out;
}

/// Reads the value lines of a design file into a design emptied beforehand. Returns the text
/// of the message when the file cannot be held by the model.
class Tr2Reader {
public:
    Tr2Reader(LineReader& reader, Design& design, const PartLibrary& library)
        : reader_(reader), design_(design), library_(library) {}

    /// Slot of the last Track read, or -1 when none was.
    int lastSlot() const { return lastSlot_; }

    std::optional<ReadError> Read() {
        if (!Value()) {
            return std::nullopt;
        }
        if (std::optional<ReadError> fault = NoNumber(NumberForm::kDecimal, "the board's X size")) {
            return fault;
        }
        design_.boardX = ScanDecimalFloat(line_);
        if (!Value()) {
            return std::nullopt;
        }
        if (std::optional<ReadError> fault = NoNumber(NumberForm::kDecimal, "the board's Y size")) {
            return fault;
        }
        design_.boardY = ScanDecimalFloat(line_);
        // The number of lines is always 0 and not used.
        if (!Value()) {
            return std::nullopt;
        }
        while (Value()) {
            if (std::optional<ReadError> problem = ReadTrack()) {
                return problem;
            }
        }
        return std::nullopt;
    }

private:
    bool Value() { return reader_.ReadValueLine(line_); }

    std::string TrackName() const { return "track " + std::to_string(block_); }

    /// Refuses the value line just read when it holds no number where `what` belongs. An empty
    /// or blank line reads as 0, and the rest of a line cut at the buffer's length is taken as
    /// it comes (a long comment's tail has always been read so), so neither is refused.
    std::optional<ReadError> NoNumber(NumberForm form, const std::string& what) const {
        const bool number =
            form == NumberForm::kInteger ? ScanInteger(line_).hasDigits : BeginsWithDecimal(line_);
        if (number || IsBlankText(line_) || reader_.continuesLine()) {
            return std::nullopt;
        }
        return ReadError{"line " + std::to_string(reader_.lineNumber()) + " holds \"" + line_ +
                             "\" where " + what + " belongs.",
                         reader_.lineNumber(), true};
    }

    /// One track block, from its section count on (already in line_).
    std::optional<ReadError> ReadTrack() {
        ++block_;
        const int64_t countLine = reader_.lineNumber();
        if (std::optional<ReadError> fault =
                NoNumber(NumberForm::kInteger, "the section count of " + TrackName())) {
            return fault;
        }
        const ScannedInteger count = ScanInteger(line_);
        if (count.overflow || count.value < 0 || count.value > kMaxSections) {
            return Fault(countLine, TrackName() + " is given \"" + line_ +
                                        "\" sections, but a track holds 0 to 2000.");
        }
        const int slot = AllocateTrack(design_);
        if (slot < 0) {
            return Fault(countLine, "a design holds at most 64 tracks.");
        }
        lastSlot_ = slot;
        Track& track = design_.tracks[slot];
        track.sectionCount = count.value;

        auto cutShort = [&](int partsRead) -> ReadError {
            return Fault(countLine, TrackName() + " has " + std::to_string(count.value) +
                                        " parts, but the file ends after " +
                                        std::to_string(partsRead) + " of them.");
        };

        struct Field {
            int32_t* value;
            const char* name;
        };
        const Field fields[] = {{&track.angle, "angle"},
                                {&track.beginX, "begin X position"},
                                {&track.beginY, "begin Y position"},
                                {&track.group, "group number"}};
        for (const Field& field : fields) {
            if (!Value()) {
                // A block without parts keeps what was read of it, as an empty track.
                return count.value > 0 ? std::optional(cutShort(0)) : std::nullopt;
            }
            if (std::optional<ReadError> fault =
                    NoNumber(NumberForm::kInteger,
                             std::string("the ") + field.name + " of " + TrackName())) {
                return fault;
            }
            const ScannedInteger value = ScanInteger(line_);
            if (value.overflow) {
                return Fault(reader_.lineNumber(), std::string("the ") + field.name + " of " +
                                                       TrackName() + ", \"" + line_ +
                                                       "\", does not fit in 32 bits.");
            }
            if (field.value == &track.angle && (value.value < 0 || value.value >= kFullTurn)) {
                return Fault(reader_.lineNumber(), "the angle of " + TrackName() + ", " +
                                                       std::to_string(value.value) +
                                                       ", is outside 0 to 1439 quarter degrees.");
            }
            *field.value = value.value;
        }

        for (int i = 0; i < count.value; ++i) {
            if (!Value()) {
                return cutShort(i);
            }
            const PartLine part = SplitPartLine(line_);
            if (part.letter == '\0') {
                return Fault(reader_.lineNumber(), "the part line \"" + line_ + "\" of " +
                                                       TrackName() + " has no direction letter.");
            }
            if (part.number.size() >= sizeof(Part::number)) {
                return Fault(reader_.lineNumber(), "the part number " + part.number + " of " +
                                                       TrackName() +
                                                       " is longer than 15 characters.");
            }
            const int index = FindPartByNumber(library_, part.number.c_str());
            if (index < 0) {
                return ReadError{"Part number " + part.number +
                                     " is unknown in PARTS.DEF . I think you used a PARTS.DEF "
                                     "file that does not match the .TR2 file!",
                                 reader_.lineNumber()};
            }
            track.partIndex[i] = static_cast<uint8_t>(index);
            track.direction[i] = part.letter;
        }
        return std::nullopt;
    }

    LineReader& reader_;
    Design& design_;
    const PartLibrary& library_;
    std::string line_;
    int block_ = 0;
    int lastSlot_ = -1;
};

} // namespace

std::optional<ReadError> ParseDesign(std::string_view bytes, const PartLibrary& library,
                                     Design& design) {
    EmptyDesign(design);
    if (std::optional<ReadError> problem = NonTextByte(bytes)) {
        return problem;
    }
    design.tracks[design.currentTrack].inUse = 0;

    LineReader reader(UnterminatedLastLine::kKeep);
    reader.OpenText(bytes);
    Tr2Reader tracks(reader, design, library);
    if (std::optional<ReadError> problem = tracks.Read()) {
        // Nothing of the file stays but the board size read so far.
        EmptyDesign(design);
        return problem;
    }
    design.currentTrack = tracks.lastSlot() >= 0 ? tracks.lastSlot() : 0;
    return std::nullopt;
}

} // namespace lapwerk
