// What the information box shows for the bytes of a report. Registries answer in different
// encodings (APNIC and RIPE NCC in Latin-1, LACNIC in UTF-8) and the header holds the
// destination as typed, so each line is read on its own: valid UTF-8 as UTF-8, anything else
// one byte per character as Latin-1. No byte is dropped and every reply can be shown.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The report as UTF-8 text with line-feed line breaks, the form the window's text controls
// take. CR LF is one line break, and so is CR CR LF, the ending of LACNIC's record lines,
// which the Windows edit control also shows as a single break. A NUL byte, which a text
// control cannot hold, shows as the symbol for null (U+2400).
std::string InformationBoxText(std::string_view reportBytes);

// The length of the UTF-8 character at `pos`, or 0 when the bytes there are not valid UTF-8
// (overlong forms, surrogates and values past U+10FFFF are not).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);
bool IsValidUtf8(std::string_view text);
// Whether a C1 control (U+0080 to U+009F) in UTF-8, "\xC2\x80" to "\xC2\x9F", begins at `pos`.
bool IsUtf8C1ControlAt(std::string_view text, std::size_t pos);

}  // namespace quorvel
