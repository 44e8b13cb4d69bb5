#include "WideText.h"

#include "InformationText.h"
#include "Utf16Text.h"

namespace quorvel {

std::wstring ShownWideText(std::string_view reportBytes) {
    // InformationBoxText gives UTF-8 whatever the report's bytes.
    const std::wstring lines = WideFromUtf8(InformationBoxText(reportBytes)).value_or(L"");
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

}  // namespace quorvel
