#include "json.h"

#include "utf8_text.h"

#include <cstdint>
#include <cstdio>

namespace lapwerk::cli {

namespace {

void AppendEscape(std::string& out, unsigned value) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", value);
    out += escape;
}

} // namespace

std::string JsonString(std::string_view bytes) {
    std::string out = "\"";
    for (size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<uint8_t>(bytes[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20) {
            switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                AppendEscape(out, c);
            }
            ++i;
        } else if (const size_t length = Utf8SequenceLength(bytes, i); length != 0) {
            out.append(bytes.substr(i, length));
            i += length;
        } else {
            AppendEscape(out, c);
            ++i;
        }
    }
    out += '"';
    return out;
}

} // namespace lapwerk::cli
