// Text between the program's bytes and the wide-character controls of Windows.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// What a text control shows for a report's bytes: the characters the Linux window shows for
// them (InformationBoxText), with the CR LF line breaks that a Windows edit control needs.
std::wstring ShownWideText(std::string_view reportBytes);

}  // namespace quorvel
