// International names on Windows: the system's IdnToAscii, looked up when first needed, so
// that the programs start on a Windows without it (which then resolves no international name).
#include <windows.h>

#include "HostNameIdna.h"
#include "Utf16Text.h"

namespace quorvel {
namespace {

using IdnToAsciiFunction = int(WINAPI*)(DWORD flags, LPCWSTR unicode, int unicodeLength,
                                        LPWSTR ascii, int asciiLength);

// kernel32 has it from Windows Vista on.
IdnToAsciiFunction LoadIdnToAscii() {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr) {
        return nullptr;
    }
    // Through the untyped function pointer, the one cast between function types that says so.
    const auto untyped = reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "IdnToAscii"));
    return reinterpret_cast<IdnToAsciiFunction>(untyped);
}

}  // namespace

std::optional<std::string> IdnaToAscii(const std::string& utf8Name) {
    static const IdnToAsciiFunction idnToAscii = LoadIdnToAscii();
    const std::optional<std::wstring> name = WideFromUtf8(utf8Name);
    if (idnToAscii == nullptr || !name) {
        return std::nullopt;
    }
    const int nameLength = static_cast<int>(name->size());
    const int length = idnToAscii(0, name->data(), nameLength, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring ascii(static_cast<std::size_t>(length), L'\0');
    if (idnToAscii(0, name->data(), nameLength, ascii.data(), length) != length) {
        return std::nullopt;
    }
    return Utf8FromWide(ascii);  // ASCII characters alone: each one byte
}

}  // namespace quorvel
