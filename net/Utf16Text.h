// UTF-16, the text of Windows' wide-character calls, from the program's UTF-8 and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The UTF-16 of UTF-8 bytes; none when the bytes are not UTF-8.
std::optional<std::wstring> WideFromUtf8(std::string_view text);

// The UTF-8 of wide characters: a control's text, a command-line argument.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace quorvel
