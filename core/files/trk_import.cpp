#include "trk_import.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lapwerk {

const char* const TrkPartNumbers[17] = {
    "C151", "C152", "C153", "C154",  "C156", "C179", "C187", "C157", "C158",
    "C159", "C160", "C168", "C174a", "C176", "C178", "C182", "C277",
};

namespace {

constexpr int kTrkTableSize = 17;
constexpr int32_t kRightCodeOffset = 1000;
constexpr int32_t kSecondTrackBeginX = -1568; // 6.125 inch beside the first track
constexpr long double kInchesPerCentimetre = 0.01L * 39.370078740157479765L;

const char* const kUnknownPartTrack1 = "Part number %s is unknown in PARTS.DEF.  You must use the "
                                       "SCX.DEF file when you import old .trk files!";
const char* const kUnknownPartTrack2 = "Part number %s is unknown in PARTS.DEF . You must use the "
                                       "SCX.DEF file when you import old .trk files!";

bool IsBlank(int byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' ||
           byte == '\r';
}

enum class ScanStatus { kOk, kEnd, kNotANumber, kTooLarge, kReadError };

/// Reads the file's values one by one: optional white space, an optionally signed decimal
/// integer that fits 32 bits, then white space or the end of the bytes. Works on the bytes
/// alone, so the result does not depend on the locale.
class ValueScanner {
public:
    ValueScanner(std::string_view bytes, bool readFailed)
        : bytes_(bytes), readFailed_(readFailed) {}

    /// Line (1-based) of the value last scanned.
    int64_t line() const { return valueLine_; }

    ScanStatus Next(int32_t& value) {
        int byte = NextByte();
        while (IsBlank(byte)) {
            byte = NextByte();
        }
        valueLine_ = line_;
        if (byte == kEnd) {
            return readFailed_ ? ScanStatus::kReadError : ScanStatus::kEnd;
        }
        bool negative = false;
        if (byte == '+' || byte == '-') {
            negative = byte == '-';
            byte = NextByte();
        }
        // The magnitude of INT32_MIN is one more than INT32_MAX; stop as soon as it is passed.
        const int64_t limit = negative ? int64_t{2147483648} : int64_t{2147483647};
        int64_t magnitude = 0;
        int digits = 0;
        while (byte >= '0' && byte <= '9') {
            magnitude = magnitude * 10 + (byte - '0');
            if (magnitude > limit) {
                return ScanStatus::kTooLarge;
            }
            ++digits;
            byte = NextByte();
        }
        if (byte == kEnd && readFailed_) {
            return ScanStatus::kReadError;
        }
        if (digits == 0 || (byte != kEnd && !IsBlank(byte))) {
            return ScanStatus::kNotANumber;
        }
        value = static_cast<int32_t>(negative ? -magnitude : magnitude);
        return ScanStatus::kOk;
    }

private:
    static constexpr int kEnd = -1;

    int NextByte() {
        if (position_ >= bytes_.size()) {
            return kEnd;
        }
        const int byte = static_cast<unsigned char>(bytes_[position_++]);
        if (byte == '\n') {
            ++line_;
        }
        return byte;
    }

    std::string_view bytes_;
    bool readFailed_;
    size_t position_ = 0;
    int64_t line_ = 1;
    int64_t valueLine_ = 1;
};

std::string Format(const char* pattern, const std::string& a) {
    std::string text(pattern);
    const size_t at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, a);
    }
    return text;
}

/// Which value of the file is being read, for the messages that name it.
struct ValueName {
    int position;     ///< 1-based position of the value in the file
    std::string role; ///< what the value stands for, or empty for an unused value
};

/// "value 9 (section 1 of track 1)", or "value 5" for a value the import does not use.
std::string Describe(const ValueName& name) {
    std::string text = "value " + std::to_string(name.position);
    if (!name.role.empty()) {
        text += " (" + name.role + ")";
    }
    return text;
}

using MaybeFault = std::optional<ReadError>;

/// The importer's state while it walks through the file's values in order.
class TrkReader {
public:
    TrkReader(std::string_view bytes, bool readFailed, const PartLibrary& library)
        : scanner_(bytes, readFailed), library_(library) {}

    /// Reads the next value; on failure returns the message that names it.
    MaybeFault Read(int32_t& value, const std::string& role = std::string()) {
        const ValueName name{++position_, role};
        switch (scanner_.Next(value)) {
        case ScanStatus::kOk:
            return std::nullopt;
        case ScanStatus::kEnd:
            return Fault("the file ends before " + Describe(name) + ".");
        case ScanStatus::kNotANumber:
            return Fault(Describe(name) + " is not a whole number.");
        case ScanStatus::kTooLarge:
            return Fault(Describe(name) + " is too large a number.");
        case ScanStatus::kReadError:
            break;
        }
        return Fault("the file could not be read.");
    }

    /// Reads a section count and checks that a Track can hold it.
    MaybeFault ReadSectionCount(int32_t& count, int trackNumber) {
        const std::string role = "section count of track " + std::to_string(trackNumber);
        if (MaybeFault failure = Read(count, role)) {
            return failure;
        }
        if (count < 0 || count > kMaxSections) {
            return Fault(Describe({position_, role}) + " is " + std::to_string(count) +
                         ", but a track holds 0 to " + std::to_string(kMaxSections) + " sections.");
        }
        return std::nullopt;
    }

    /// Reads `track.sectionCount` section codes into the Track.
    MaybeFault ReadSections(Track& track, int trackNumber, const char* unknownPartText) {
        for (int32_t i = 0; i < track.sectionCount; ++i) {
            const std::string role =
                "section " + std::to_string(i + 1) + " of track " + std::to_string(trackNumber);
            int32_t code = 0;
            if (MaybeFault failure = Read(code, role)) {
                return failure;
            }
            const bool right = code >= kRightCodeOffset;
            const int32_t tableIndex = right ? code - kRightCodeOffset : code;
            if (tableIndex < 0 || tableIndex >= kTrkTableSize) {
                return Fault(Describe({position_, role}) + " is " + std::to_string(code) +
                             ", which is no section code (0 to 16 or 1000 to 1016).");
            }
            const char* number = TrkPartNumbers[tableIndex];
            const int partIndex = FindPartByNumber(library_, number);
            if (partIndex < 0 || partIndex >= kMaxParts) {
                return ReadError{Format(unknownPartText, number), scanner_.line()};
            }
            track.partIndex[i] = static_cast<uint8_t>(partIndex);
            track.direction[i] = right ? 'R' : 'L';
        }
        return std::nullopt;
    }

private:
    /// A fault on the line of the value last read, told after the file's name.
    ReadError Fault(std::string text) const {
        return {std::move(text), scanner_.line(), false, true};
    }

    ValueScanner scanner_;
    const PartLibrary& library_;
    int position_ = 0;
};

float BoardInches(int32_t centimetres) {
    return static_cast<float>(static_cast<long double>(centimetres) * kInchesPerCentimetre);
}

/// Reads the whole file into the design, which New design has just emptied. On failure the
/// design may hold part of the file; the caller empties it again.
MaybeFault ReadTrk(Design& design, std::string_view bytes, bool readFailed,
                   const PartLibrary& library) {
    TrkReader reader(bytes, readFailed, library);
    int32_t value = 0;

    design.tracks[design.currentTrack].inUse = 0;

    if (MaybeFault failure = reader.Read(value)) {
        return failure;
    }
    if (MaybeFault failure = reader.Read(value)) {
        return failure;
    }
    if (MaybeFault failure = reader.Read(value, "board width")) {
        return failure;
    }
    design.boardX = BoardInches(value);
    if (MaybeFault failure = reader.Read(value, "board height")) {
        return failure;
    }
    design.boardY = BoardInches(value);
    if (MaybeFault failure = reader.Read(value)) {
        return failure;
    }
    if (MaybeFault failure = reader.Read(value)) {
        return failure;
    }

    const int first = AllocateTrack(design);
    design.currentTrack = first;
    if (MaybeFault failure = reader.Read(value)) {
        return failure;
    }
    int32_t count = 0;
    if (MaybeFault failure = reader.ReadSectionCount(count, 1)) {
        return failure;
    }
    design.tracks[first].sectionCount = count;
    if (MaybeFault failure = reader.ReadSections(design.tracks[first], 1, kUnknownPartTrack1)) {
        return failure;
    }

    if (MaybeFault failure = reader.Read(value)) {
        return failure;
    }
    if (MaybeFault failure = reader.ReadSectionCount(count, 2)) {
        return failure;
    }
    if (count != 0) {
        const int second = AllocateTrack(design);
        Track& track = design.tracks[second];
        track.sectionCount = count;
        track.beginX = kSecondTrackBeginX;
        if (MaybeFault failure = reader.ReadSections(track, 2, kUnknownPartTrack2)) {
            return failure;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<ReadError> ParseTrk(std::string_view bytes, const PartLibrary& library,
                                  Design& design, bool readFailed) {
    EmptyDesign(design);
    if (MaybeFault failure = ReadTrk(design, bytes, readFailed, library)) {
        EmptyDesign(design);
        return failure;
    }
    return std::nullopt;
}

} // namespace lapwerk
