#include "files/line_reader.h"

#include <cerrno>

namespace lapwerk {

namespace {
constexpr int kNone = -2;
}

LineReader::LineReader(UnterminatedLastLine lastLine) : lastLine_(lastLine) {}

LineReader::~LineReader() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool LineReader::Open(const char* path) {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    // Binary mode: the CR LF translation is done here, the same on every platform.
    file_ = std::fopen(path, "rb");
    return file_ != nullptr;
}

void LineReader::OpenText(std::string_view text) {
    text_ = text;
    textPos_ = 0;
}

int LineReader::RawByte() {
    if (file_ == nullptr) {
        if (textPos_ >= text_.size()) {
            return EOF;
        }
        return static_cast<unsigned char>(text_[textPos_++]);
    }
    errno = 0;
    const int c = std::getc(file_);
    if (c == EOF && std::ferror(file_) != 0) {
        readFailed_ = true;
        readError_ = errno != 0 ? errno : EIO;
    }
    return c;
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
    bool metEnd = false;
    while (static_cast<int>(line.size()) < kMaxReadLength) {
        const int c = NextByte();
        if (c == EOF) {
            metEnd = true;
            break;
        }
        if (c == '\n') {
            ++physicalLine_;
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    if (metEnd) {
        ended_ = true;
        if (readFailed_ || line.empty() || lastLine_ == UnterminatedLastLine::kDrop) {
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
