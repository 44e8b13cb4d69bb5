// Text for a terminal. A terminal obeys the control characters it is sent: a registry's reply
// could move the cursor, retitle the window or clear the screen. What goes to a terminal has its
// control characters written as visible escapes; what goes to a file or a pipe stays byte for
// byte.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// `text` with every control character other than tab and the line ends (LF, and CR before LF)
// written as "\xHH": C0 bytes, DEL, the C1 controls U+0080 to U+009F in UTF-8 (both bytes), and
// bytes 0x80 to 0x9F that are no part of a UTF-8 character, which a terminal reading Latin-1
// takes for C1 controls.
std::string EscapedForTerminal(std::string_view text);

}  // namespace quorvel
