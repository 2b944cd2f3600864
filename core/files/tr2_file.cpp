#include "files/tr2_file.h"

#include "files/line_reader.h"
#include "files/number_text.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#if __has_include(<unistd.h>)
#include <unistd.h>
#define LAPWERK_HAVE_FSYNC 1
#endif

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
/// would: the number must not be empty, hold blanks or make the line a comment, and the
/// direction letter must not be a blank.
std::optional<std::string> UnreadableSection(const PartLibrary& library, const Track& track,
                                             int section) {
    const int index = track.partIndex[section];
    if (index >= library.count) {
        return std::string("uses no part of the part library");
    }
    const std::string_view number = PartNumber(library.parts[index]);
    bool blank = false;
    for (const char c : number) {
        blank = blank || IsBlank(c);
    }
    if (number.empty() || number[0] == '#' || blank) {
        return "uses the part number \"" + std::string(number) +
               "\", which is empty, holds blanks or begins with # and so could not be read back";
    }
    const char letter = track.direction[section];
    if (letter == '\0' || IsBlank(letter)) {
        return std::string("has no direction letter");
    }
    return std::nullopt;
}

Message SaveError(const std::string& text) {
    return Message{text, kErrorCaption};
}

Message SaveFailure(const std::string& path, const std::string& reason) {
    return SaveError("The design could not be saved to \"" + path + "\": " + reason + ".");
}

/// Builds the whole file, or says why the design cannot be stored.
MaybeMessage FormatDesign(const Design& design, const PartLibrary& library, std::string& out) {
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
        AppendLine(out, "# Length in parts");
        AppendInteger(out, track.sectionCount);
        AppendLine(out, "# Angle");
        AppendInteger(out, track.angle);
        AppendLine(out, "# Begin X position");
        AppendInteger(out, track.beginX);
        AppendLine(out, "# Begin Y position");
        AppendInteger(out, track.beginY);
        AppendLine(out, "# In Group");
        AppendInteger(out, track.group);
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

/// The directory part of `path`, with its trailing separator ("" for the working directory).
std::string DirectoryOf(const std::string& path) {
#ifdef _WIN32
    const size_t cut = path.find_last_of("\\/:");
#else
    const size_t cut = path.find_last_of('/');
#endif
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

/// Creates a new temporary file beside `target`; nullptr (errno set) when none can be made.
std::FILE* CreateTemporaryBeside(const std::string& target, std::string& tempPath) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            DirectoryOf(target) + ".lapwerk-save-" + std::to_string(random() % 1000000000) + ".tmp";
        errno = 0;
        std::FILE* file = std::fopen(tempPath.c_str(), "wbx");
        if (file != nullptr || errno != EEXIST) {
            return file;
        }
    }
    errno = EEXIST;
    return nullptr;
}

std::string Reason(int error) {
    return std::strerror(error != 0 ? error : EIO);
}

/// Writes `bytes` to `target` through a temporary file that replaces it only when complete.
MaybeMessage WriteAtomically(const std::string& target, const std::string& bytes) {
    // An existing file that may not be written is not replaced behind the user's back.
    std::error_code ec;
    const auto oldStatus = std::filesystem::status(target, ec);
    const bool targetExists = !ec && std::filesystem::exists(oldStatus);
    if (targetExists) {
        errno = 0;
        std::FILE* writable = std::fopen(target.c_str(), "r+b");
        if (writable == nullptr) {
            return SaveFailure(target, Reason(errno));
        }
        std::fclose(writable);
    }

    std::string tempPath;
    std::FILE* file = CreateTemporaryBeside(target, tempPath);
    if (file == nullptr) {
        return SaveFailure(target, Reason(errno));
    }
    errno = 0;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = ok && std::fflush(file) == 0;
#ifdef LAPWERK_HAVE_FSYNC
    ok = ok && fsync(fileno(file)) == 0;
#endif
    int error = errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        std::remove(tempPath.c_str());
        return SaveFailure(target, Reason(error));
    }

    if (targetExists) {
        // The new file keeps the permissions the old one had.
        std::filesystem::permissions(tempPath, oldStatus.permissions(), ec);
    }
    ec.clear();
    std::filesystem::rename(tempPath, target, ec);
    if (ec) {
        std::remove(tempPath.c_str());
        return SaveFailure(target, ec.message());
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- reading

std::string AtLine(int64_t line) {
    return "Line " + std::to_string(line) + " of the design file: ";
}

/// The first token of characters other than blanks and the first non-blank character after it.
struct PartLine {
    std::string number;
    char letter = '\0';
};

PartLine SplitPartLine(std::string_view text) {
    size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin])) {
        ++begin;
    }
    size_t end = begin;
    while (end < text.size() && !IsBlank(text[end])) {
        ++end;
    }
    size_t letter = end;
    while (letter < text.size() && IsBlank(text[letter])) {
        ++letter;
    }
    PartLine out;
    out.number.assign(text.substr(begin, end - begin));
    if (letter < text.size()) {
        out.letter = text[letter];
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

    std::optional<std::string> Read() {
        if (!Value()) {
            return std::nullopt;
        }
        design_.boardX = ScanDecimalFloat(line_);
        if (!Value()) {
            return std::nullopt;
        }
        design_.boardY = ScanDecimalFloat(line_);
        // The number of lines is always 0 and not used.
        if (!Value()) {
            return std::nullopt;
        }
        while (Value()) {
            if (std::optional<std::string> problem = ReadTrack()) {
                return problem;
            }
        }
        return std::nullopt;
    }

private:
    bool Value() { return reader_.ReadValueLine(line_); }

    std::string TrackName() const { return "track " + std::to_string(block_); }

    /// One track block, from its section count on (already in line_).
    std::optional<std::string> ReadTrack() {
        ++block_;
        const int64_t countLine = reader_.lineNumber();
        const ScannedInteger count = ScanInteger(line_);
        if (count.overflow || count.value < 0 || count.value > kMaxSections) {
            return AtLine(countLine) + TrackName() + " is given \"" + line_ +
                   "\" sections, but a track holds 0 to 2000.";
        }
        const int slot = AllocateTrack(design_);
        if (slot < 0) {
            return AtLine(countLine) + "a design holds at most 64 tracks.";
        }
        lastSlot_ = slot;
        Track& track = design_.tracks[slot];
        track.sectionCount = count.value;

        auto cutShort = [&](int partsRead) {
            return AtLine(countLine) + TrackName() + " has " + std::to_string(count.value) +
                   " parts, but the file ends after " + std::to_string(partsRead) + " of them.";
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
            const ScannedInteger value = ScanInteger(line_);
            if (value.overflow) {
                return AtLine(reader_.lineNumber()) + "the " + field.name + " of " + TrackName() +
                       ", \"" + line_ + "\", does not fit in 32 bits.";
            }
            if (field.value == &track.angle && (value.value < 0 || value.value >= kFullTurn)) {
                return AtLine(reader_.lineNumber()) + "the angle of " + TrackName() + ", " +
                       std::to_string(value.value) + ", is outside 0 to 1439 quarter degrees.";
            }
            *field.value = value.value;
        }

        for (int i = 0; i < count.value; ++i) {
            if (!Value()) {
                return cutShort(i);
            }
            const PartLine part = SplitPartLine(line_);
            if (part.letter == '\0') {
                return AtLine(reader_.lineNumber()) + "the part line \"" + line_ + "\" of " +
                       TrackName() + " has no direction letter.";
            }
            if (part.number.size() >= sizeof(Part::number)) {
                return AtLine(reader_.lineNumber()) + "the part number " + part.number + " of " +
                       TrackName() + " is longer than 15 characters.";
            }
            const int index = FindPartByNumber(library_, part.number.c_str());
            if (index < 0) {
                return "Part number " + part.number +
                       " is unknown in PARTS.DEF . I think you used a PARTS.DEF file that does "
                       "not match the .TR2 file!";
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

MaybeMessage WriteDesignFile(Design& design, UndoRing& history, const PartLibrary& library) {
    const std::string path(design.fileName, strnlen(design.fileName, sizeof design.fileName));
    if (path.empty()) {
        return SaveError("The design has no file name to be saved under.");
    }
    std::string bytes;
    if (MaybeMessage refused = FormatDesign(design, library, bytes)) {
        return refused;
    }
    if (MaybeMessage failed = WriteAtomically(path, bytes)) {
        return failed;
    }
    design.changed = 0;
    ResetHistory(history, design);
    return std::nullopt;
}

MaybeMessage ReadDesignFile(Design& design, UndoRing& history, const PartLibrary& library) {
    NewDesign(design, history);
    design.tracks[design.currentTrack].inUse = 0;

    const std::string path(design.fileName, strnlen(design.fileName, sizeof design.fileName));
    LineReader reader(UnterminatedLastLine::kKeep);
    if (!reader.Open(path.c_str())) {
        // Not reported; the history holds the empty design that is now shown.
        ResetHistory(history, design);
        return std::nullopt;
    }

    Tr2Reader tracks(reader, design, library);
    std::optional<std::string> problem = tracks.Read();
    if (reader.readFailed()) {
        // What the file seemed to hold matters less than that it could not be read.
        problem = "The design file \"" + path +
                  "\" could not be read: " + Reason(reader.readError()) + ".";
    }
    if (problem) {
        // Nothing of the file stays but the board size read so far.
        NewDesign(design, history);
        return Message{*problem, kErrorCaption};
    }
    design.currentTrack = tracks.lastSlot() >= 0 ? tracks.lastSlot() : 0;
    ResetHistory(history, design);
    design.changed = 0;
    return std::nullopt;
}

} // namespace lapwerk
