#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lapwerk {

/// What a reader does with a last line that the file does not end with a line break.
enum class UnterminatedLastLine {
    kDrop, ///< the line is not used (parts.def, sections.own)
    kKeep, ///< the line is used like any other (.tr2)
};

/// Reads the bytes of a plain-text data file line by line the way the program always has: each read
/// takes at most 79 characters (an 80-character buffer), so a longer physical line arrives as
/// several lines; a CR right before a LF is dropped, the line break is removed and nothing
/// else is trimmed. A NUL byte ends the text of the read it occurs in.
class LineReader {
public:
    /// Characters one read can take: one less than the 80-character buffer.
    static constexpr int kMaxReadLength = 79;

    explicit LineReader(UnterminatedLastLine lastLine);

    /// Reads from `text` from its start; the text must outlive the reader.
    void OpenText(std::string_view text);

    /// Reads the next line into `line`; false at the end of the input.
    bool ReadLine(std::string& line);

    /// Reads lines until one is not a comment (first character '#'); false at the end.
    bool ReadValueLine(std::string& line);

    /// Physical line (1-based) on which the line last returned begins.
    int64_t lineNumber() const { return lineNumber_; }

    /// True when the line last returned is the rest of a physical line that an earlier read
    /// cut at the buffer's length.
    bool continuesLine() const { return continuesLine_; }

private:
    int NextByte();
    int RawByte();

    UnterminatedLastLine lastLine_;
    std::string_view text_;
    size_t textPos_ = 0;
    int pending_ = -2; ///< a byte read ahead after a CR, or -2 for none
    bool ended_ = false;
    int64_t lineNumber_ = 0;
    int64_t physicalLine_ = 1; ///< line the next read begins on
    bool continuesLine_ = false;
    bool lastReadCut_ = false; ///< the last read stopped at the buffer's length
};

} // namespace lapwerk
