// Reads, from outside, what the dialog manager shows: the controls of a dialog window as laid
// out on the screen, and the screen itself. The window tests run it beside quorvel.exe under
// wine, where a dialog's controls are not X windows that X tools could see.
//
// quorvel_dialog_probe controls CAPTION     one line per control, in template order
// quorvel_dialog_probe screen FILE.bmp       the whole screen as a 24-bit bitmap file
// quorvel_dialog_probe responsive CAPTION    8 s of messages to the dialog: each answered?
// quorvel_dialog_probe close CAPTION         posts WM_CLOSE to the dialog
// quorvel_dialog_probe state CAPTION         the window's place, the primary monitor's work
//                                            area, the controls' enabled state and the
//                                            drop-down's list
// quorvel_dialog_probe pitch CAPTION         the ink of a line of W and a line of i shown in
//                                            the information box
//
// `controls` prints "base X Y" (the pixels of 4 x 8 dialog units in the dialogs' font, 8-point
// MS Sans Serif), "client WIDTH HEIGHT", then "control ID CLASS LEFT TOP RIGHT BOTTOM TEXT" per
// control, with client coordinates in pixels and the text in UTF-8 (none for a picture; line
// breaks as \r and \n). It
// and the two below wait up to 10 s for the dialog and exit with 1 when there is none.
//
// `state` prints "window LEFT TOP RIGHT BOTTOM" (the window's rectangle on the screen), "normal
// LEFT TOP RIGHT BOTTOM MAXIMIZED" (GetWindowPlacement's restored rectangle and whether it is
// maximised), "work LEFT TOP RIGHT BOTTOM" (the primary monitor's work area, on the screen),
// "enabled ID 0|1" per control, and "item TEXT" per entry of the drop-down's list.
//
// `pitch` puts a line of 20 W and a line of 20 i into the information box (IDC_INFORMATION,
// 1002), and prints for each line of text the screen then shows in the box "ink FIRST LAST",
// the first and last column of its dark pixels, top to bottom. (The dots of the i are a line of
// their own.)
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
#include <cstdint>
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

// A control's text on one line of the output: its line breaks as \r and \n.
std::string OneLine(const std::string& text) {
    std::string line;
    for (const char character : text) {
        line += character == '\r'   ? std::string("\\r")
                : character == '\n' ? std::string("\\n")
                                    : std::string(1, character);
    }
    return line;
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
                    OneLine(Utf8(text)).c_str());
    }
    return 0;
}

// A copy of a rectangle of the screen, in a bitmap of `bitsPerPixel` whose rows run bottom-up
// (as a bitmap file stores them) or top-down.
class CScreenCopy {
public:
    CScreenCopy(const RECT& rect, WORD bitsPerPixel, bool topDown) {
        const long width = rect.right - rect.left;
        const long height = rect.bottom - rect.top;
        m_info.bmiHeader.biSize = sizeof m_info.bmiHeader;
        m_info.bmiHeader.biWidth = width;
        m_info.bmiHeader.biHeight = topDown ? -height : height;
        m_info.bmiHeader.biPlanes = 1;
        m_info.bmiHeader.biBitCount = bitsPerPixel;
        m_screen = ::GetDC(nullptr);
        m_memory = ::CreateCompatibleDC(m_screen);
        m_bitmap = ::CreateDIBSection(m_screen, &m_info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_previous = ::SelectObject(m_memory, m_bitmap);
        ::BitBlt(m_memory, 0, 0, width, height, m_screen, rect.left, rect.top, SRCCOPY);
        ::GdiFlush();
    }
    ~CScreenCopy() {
        ::SelectObject(m_memory, m_previous);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_memory);
        ::ReleaseDC(nullptr, m_screen);
    }
    CScreenCopy(const CScreenCopy&) = delete;
    CScreenCopy& operator=(const CScreenCopy&) = delete;

    const BITMAPINFOHEADER& Header() const { return m_info.bmiHeader; }
    const std::uint8_t* Pixels() const { return static_cast<const std::uint8_t*>(m_bits); }

private:
    BITMAPINFO m_info{};
    void* m_bits = nullptr;
    HDC m_screen = nullptr;
    HDC m_memory = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
};

int SaveScreen(const char* path) {
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const CScreenCopy copy(RECT{0, 0, width, height}, 24, false);
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof copy.Header();
    file.bfSize = file.bfOffBits + imageBytes;
    FILE* out = std::fopen(path, "wb");
    const bool written = out != nullptr && std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&copy.Header(), sizeof copy.Header(), 1, out) == 1 &&
                         std::fwrite(copy.Pixels(), imageBytes, 1, out) == 1;
    if (out != nullptr) {
        std::fclose(out);
    }
    return written ? 0 : 1;
}

constexpr int kInformationBox = 1002;  // IDC_INFORMATION
constexpr int kAddressBox = 1000;      // IDC_ADDRESS

int PrintState(const char* caption) {
    HWND dialog = FindDialog(caption);
    if (dialog == nullptr) {
        return 1;
    }
    RECT window;
    ::GetWindowRect(dialog, &window);
    std::printf("window %ld %ld %ld %ld\n", window.left, window.top, window.right, window.bottom);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(dialog, &placement);
    const RECT& normal = placement.rcNormalPosition;
    std::printf("normal %ld %ld %ld %ld %d\n", normal.left, normal.top, normal.right, normal.bottom,
                placement.showCmd == SW_SHOWMAXIMIZED ? 1 : 0);
    MONITORINFO primary{};
    primary.cbSize = sizeof primary;
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary);
    const RECT& work = primary.rcWork;
    std::printf("work %ld %ld %ld %ld\n", work.left, work.top, work.right, work.bottom);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        std::printf("enabled %d %d\n", ::GetDlgCtrlID(child) & 0xFFFF,
                    ::IsWindowEnabled(child) != FALSE ? 1 : 0);
    }
    HWND addressBox = ::GetDlgItem(dialog, kAddressBox);
    const auto count = ::SendMessageW(addressBox, CB_GETCOUNT, 0, 0);
    for (LRESULT item = 0; item < count; ++item) {
        wchar_t text[256] = {};
        if (::SendMessageW(addressBox, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0) < 256) {
            ::SendMessageW(addressBox, CB_GETLBTEXT, static_cast<WPARAM>(item),
                           reinterpret_cast<LPARAM>(text));
        }
        std::printf("item %s\n", Utf8(text).c_str());
    }
    return 0;
}

// The dark pixels of a rectangle of the screen, as the extents of its lines of text.
void PrintInk(const RECT& rect) {
    const long width = rect.right - rect.left;
    const long height = rect.bottom - rect.top;
    const CScreenCopy copy(rect, 32, true);
    const std::uint8_t* pixels = copy.Pixels();
    bool inLine = false;
    long first = 0;
    long last = 0;
    for (long y = 0; y <= height; ++y) {
        long rowFirst = -1;
        long rowLast = -1;
        for (long x = 0; y < height && x < width; ++x) {
            const std::uint8_t* pixel = pixels + (y * width + x) * 4;  // blue, green, red, unused
            if (pixel[0] + pixel[1] + pixel[2] < 3 * 128) {
                rowFirst = rowFirst < 0 ? x : rowFirst;
                rowLast = x;
            }
        }
        if (rowFirst >= 0) {
            first = inLine ? std::min(first, rowFirst) : rowFirst;
            last = inLine ? std::max(last, rowLast) : rowLast;
            inLine = true;
        } else if (inLine) {
            std::printf("ink %ld %ld\n", first, last);
            inLine = false;
        }
    }
}

int PrintPitch(const char* caption) {
    HWND dialog = FindDialog(caption);
    if (dialog == nullptr) {
        return 1;
    }
    HWND box = ::GetDlgItem(dialog, kInformationBox);
    const std::wstring lines = std::wstring(20, L'W') + L"\r\n" + std::wstring(20, L'i');
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lines.c_str()),
                          SMTO_ABORTIFHUNG, 2000, &result);
    ::Sleep(500);  // for the box to be painted
    // Inside the box's border and scroll bars.
    RECT inside;
    ::GetClientRect(box, &inside);
    ::MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    PrintInk(inside);
    return 0;
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
    if (verb == "state") {
        return PrintState(argv[2]);
    }
    if (verb == "pitch") {
        return PrintPitch(argv[2]);
    }
    std::fprintf(stderr,
                 "usage: quorvel_dialog_probe controls CAPTION | screen FILE.bmp | responsive "
                 "CAPTION | close CAPTION | state CAPTION | pitch CAPTION\n");
    return 2;
}
