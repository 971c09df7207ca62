#include "cli/message_line.h"

namespace quorvex {

std::string oneLine(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            line += c;
            continue;
        }
        switch (c) {
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        case '\t':
            line += "\\t";
            break;
        default:
            line += "\\x";
            line += "0123456789abcdef"[byte >> 4];
            line += "0123456789abcdef"[byte & 15];
        }
    }
    return line;
}

} // namespace quorvex
