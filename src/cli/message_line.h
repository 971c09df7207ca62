#pragma once

#include <string>
#include <string_view>

namespace quorvex {

// `text` as it can go on one line of a terminal or a log: each control character (a newline in a
// file name, an escape sequence in a portal's answer) written as \n, \r, \t or \xNN. Everything the
// program prints about a failure goes through here, whatever it echoes.
std::string oneLine(std::string_view text);

} // namespace quorvex
