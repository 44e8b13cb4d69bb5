// Text between the program's bytes and the wide-character controls of Windows.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// What a text control shows for a report's bytes: the characters the Linux window shows for
// them (InformationBoxText), with the CR LF line breaks that a Windows edit control needs.
std::wstring ShownWideText(std::string_view reportBytes);

// UTF-8 text as the wide characters of a control or the registry.
std::wstring WideFromUtf8(std::string_view text);

// A control's text as UTF-8, the form the Linux window hands the Locate command too.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace quorvel
