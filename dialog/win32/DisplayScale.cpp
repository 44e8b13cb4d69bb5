#include "DisplayScale.h"

namespace quorvel {
namespace {

// A function of user32 that only newer versions of Windows have; null elsewhere.
template <typename Function>
Function User32Function(const char* name) {
    const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name);
    // Through the one function type that converts to every other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

UINT SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

LOGFONTW MessageFont(UINT dpi) {
    static const auto forDpi =
        User32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (forDpi != nullptr &&
        forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi) != FALSE) {
        return metrics.lfMessageFont;
    }
    // Older Windows gives the metrics at the system DPI only.
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    return font;
}

SIZE WindowSizeForClient(HWND window, SIZE client, UINT dpi) {
    static const auto forDpi =
        User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
    const auto extendedStyle = static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE));
    RECT frame{0, 0, client.cx, client.cy};
    if (forDpi == nullptr || forDpi(&frame, style, FALSE, extendedStyle, dpi) == FALSE) {
        ::AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    }
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace quorvel
