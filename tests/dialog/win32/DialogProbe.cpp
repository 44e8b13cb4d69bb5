// Reads, from outside, what the dialog manager shows: the controls of a dialog window as laid
// out on the screen, and the screen itself. The window tests run it beside quorvel.exe under
// wine, where a dialog's controls are not X windows that X tools could see.
//
// quorvel_dialog_probe controls CAPTION     one line per control, in template order
// quorvel_dialog_probe screen FILE.bmp       the whole screen as a 24-bit bitmap file
// quorvel_dialog_probe responsive CAPTION    8 s of messages to the dialog: each answered?
// quorvel_dialog_probe close CAPTION         posts WM_CLOSE to the dialog
//
// `controls` prints "base X Y" (the pixels of 4 x 8 dialog units in the dialogs' font, 8-point
// MS Sans Serif), "client WIDTH HEIGHT", then "control ID CLASS LEFT TOP RIGHT BOTTOM TEXT" per
// control, with client coordinates in pixels and the text in UTF-8 (none for a picture). It
// and the two below wait up to 10 s for the dialog and exit with 1 when there is none.
//
// `responsive` and `close` print "ready" once they have the dialog and act when a line arrives
// on their input, so that the caller can start them ahead and time the act to the moment.
// `responsive` then sends WM_NULL every 250 ms from 0 to 8 s, as another program asks whether
// a window still answers (SendMessageTimeout, 1 s, aborted for a window Windows marks hung),
// and asks Windows each time whether it marks the window hung, as it does after 5 s without
// the window reading its messages; it prints each call that went wrong and a summary, and
// exits with 1 when one did.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

std::string Utf8(const wchar_t* text) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), length, nullptr, nullptr);
    bytes.resize(bytes.empty() ? 0 : bytes.size() - 1);
    return bytes;
}

std::wstring Wide(const char* text) {
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(wide.empty() ? 0 : wide.size() - 1);
    return wide;
}

// The dialog with the caption, waited for up to 10 s; says so when there is none.
HWND FindDialog(const char* caption) {
    const std::wstring wide = Wide(caption);
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (HWND dialog = ::FindWindowW(L"#32770", wide.c_str())) {
            return dialog;
        }
        ::Sleep(100);
    }
    std::printf("no dialog \"%s\"\n", caption);
    return nullptr;
}

// The dialog manager's base units for the dialogs' font, 8-point MS Sans Serif: its height and
// the average width of the 52 Latin letters. (MapDialogRect cannot read another program's
// dialog, nor its font.)
SIZE DialogBaseUnits() {
    HDC context = ::GetDC(nullptr);
    const int height = -::MulDiv(8, ::GetDeviceCaps(context, LOGPIXELSY), 72);
    HFONT font = ::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                               0, 0, 0, L"MS Sans Serif");
    HGDIOBJ previous = ::SelectObject(context, font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(context, &metrics);
    constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE letters{};
    ::GetTextExtentPoint32W(context, kLetters, 52, &letters);
    ::SelectObject(context, previous);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, context);
    return SIZE{(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

int PrintControls(const char* caption) {
    HWND dialog = FindDialog(caption);
    if (dialog == nullptr) {
        return 1;
    }
    const SIZE base = DialogBaseUnits();
    RECT client;
    ::GetClientRect(dialog, &client);
    std::printf("base %ld %ld\nclient %ld %ld\n", base.cx, base.cy, client.right, client.bottom);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[64] = {};
        ::GetClassNameW(child, className, 64);
        wchar_t text[256] = {};
        const bool picture = (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                             std::wstring(className) == L"Static";
        DWORD_PTR copied = 0;
        if (!picture) {  // the control's own text, which only the control's program holds
            ::SendMessageTimeoutW(child, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
                                  SMTO_ABORTIFHUNG, 2000, &copied);
        }
        RECT rect;
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        // The id as the template's 16 bits: an unnamed control is 0xFFFF in either template.
        std::printf("control %d %s %ld %ld %ld %ld %s\n", ::GetDlgCtrlID(child) & 0xFFFF,
                    Utf8(className).c_str(), rect.left, rect.top, rect.right, rect.bottom,
                    Utf8(text).c_str());
    }
    return 0;
}

int SaveScreen(const char* path) {
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // rows bottom-up, as a bitmap file stores them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* pixels = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageBytes;
    FILE* out = std::fopen(path, "wb");
    const bool written = out != nullptr && std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                         std::fwrite(pixels, imageBytes, 1, out) == 1;
    if (out != nullptr) {
        std::fclose(out);
    }
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return written ? 0 : 1;
}

// Says it has the dialog and waits for the caller's line.
void AwaitStart() {
    std::printf("ready\n");
    std::fflush(stdout);
    char line[16];
    static_cast<void>(std::fgets(line, sizeof line, stdin));
}

int CheckResponsive(const char* caption) {
    using Clock = std::chrono::steady_clock;
    using std::chrono::milliseconds;
    HWND dialog = FindDialog(caption);
    if (dialog == nullptr) {
        return 1;
    }
    AwaitStart();
    const auto start = Clock::now();
    int calls = 0;
    int failures = 0;
    milliseconds slowest{0};
    constexpr milliseconds kInterval{250};
    constexpr milliseconds kSpan{8000};
    for (auto next = start; next <= start + kSpan;) {
        std::this_thread::sleep_until(next);
        const auto sent = Clock::now();
        DWORD_PTR result = 0;
        const bool answered =
            ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
        const auto took = std::chrono::duration_cast<milliseconds>(Clock::now() - sent);
        const bool hung = ::IsHungAppWindow(dialog) != FALSE;
        ++calls;
        slowest = std::max(slowest, took);
        if (!answered || hung) {
            ++failures;
            const auto at = std::chrono::duration_cast<milliseconds>(sent - start);
            std::printf("at %.2f s: %s after %lld ms%s\n", static_cast<double>(at.count()) / 1000,
                        answered ? "answered" : "no answer", static_cast<long long>(took.count()),
                        hung ? ", marked hung" : "");
        }
        // The next tick; a call that waited skips the ticks it outlasted.
        do {
            next += kInterval;
        } while (next <= Clock::now());
    }
    std::printf("%d of %d messages answered and not hung, the slowest in %lld ms\n",
                calls - failures, calls, static_cast<long long>(slowest.count()));
    return failures == 0 ? 0 : 1;
}

int PostClose(const char* caption) {
    HWND dialog = FindDialog(caption);
    if (dialog == nullptr) {
        return 1;
    }
    AwaitStart();
    return ::PostMessageW(dialog, WM_CLOSE, 0, 0) != 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string verb = argc == 3 ? argv[1] : "";
    if (verb == "controls") {
        return PrintControls(argv[2]);
    }
    if (verb == "screen") {
        return SaveScreen(argv[2]);
    }
    if (verb == "responsive") {
        return CheckResponsive(argv[2]);
    }
    if (verb == "close") {
        return PostClose(argv[2]);
    }
    std::fprintf(stderr,
                 "usage: quorvel_dialog_probe controls CAPTION | screen FILE.bmp | responsive "
                 "CAPTION | close CAPTION\n");
    return 2;
}
