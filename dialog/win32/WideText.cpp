#include "WideText.h"

#include <windows.h>

#include "InformationText.h"

namespace quorvel {

std::wstring WideFromUtf8(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::wstring ShownWideText(std::string_view reportBytes) {
    const std::wstring lines = WideFromUtf8(InformationBoxText(reportBytes));
    std::wstring shown;
    shown.reserve(lines.size() + lines.size() / 16);
    for (const wchar_t character : lines) {
        if (character == L'\n') {
            shown += L'\r';
        }
        shown += character;
    }
    return shown;
}

std::string Utf8FromWide(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

}  // namespace quorvel
