#include "line_reader.h"

namespace lapwerk {

namespace {
constexpr int kNone = -2;
constexpr int kEnd = -1;
} // namespace

LineReader::LineReader(UnterminatedLastLine lastLine) : lastLine_(lastLine) {}

void LineReader::OpenText(std::string_view text) {
    text_ = text;
    textPos_ = 0;
    pending_ = kNone;
    ended_ = false;
    lineNumber_ = 0;
    physicalLine_ = 1;
    continuesLine_ = false;
    lastReadCut_ = false;
}

int LineReader::RawByte() {
    if (textPos_ >= text_.size()) {
        return kEnd;
    }
    return static_cast<unsigned char>(text_[textPos_++]);
}

int LineReader::NextByte() {
    int c;
    if (pending_ != kNone) {
        c = pending_;
        pending_ = kNone;
    } else {
        c = RawByte();
    }
    if (c == '\r') {
        const int next = RawByte();
        if (next == '\n') {
            return '\n';
        }
        pending_ = next;
    }
    return c;
}

bool LineReader::ReadLine(std::string& line) {
    line.clear();
    if (ended_) {
        return false;
    }
    lineNumber_ = physicalLine_;
    continuesLine_ = lastReadCut_;
    lastReadCut_ = true;
    bool metEnd = false;
    while (static_cast<int>(line.size()) < kMaxReadLength) {
        const int c = NextByte();
        if (c == kEnd) {
            metEnd = true;
            lastReadCut_ = false;
            break;
        }
        if (c == '\n') {
            ++physicalLine_;
            lastReadCut_ = false;
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    if (metEnd) {
        ended_ = true;
        if (line.empty() || lastLine_ == UnterminatedLastLine::kDrop) {
            line.clear();
            return false;
        }
    }
    // The line is used as C text: whatever follows a NUL byte is not part of it.
    const size_t nul = line.find('\0');
    if (nul != std::string::npos) {
        line.resize(nul);
    }
    return true;
}

bool LineReader::ReadValueLine(std::string& line) {
    while (ReadLine(line)) {
        if (line.empty() || line[0] != '#') {
            return true;
        }
    }
    return false;
}

} // namespace lapwerk
