#include "ProcessConsole.h"

#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>
#endif

namespace quorvel {
namespace {

constexpr std::size_t kDefaultColumns = 80;

std::atomic<bool>* g_interrupted = nullptr;

#ifdef _WIN32
// A console, not a file or a pipe (nor the NUL device, which _isatty takes for one).
bool IsTerminal(DWORD standardHandle) {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(standardHandle), &mode) != 0;
}

std::size_t ErrColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (::GetConsoleScreenBufferInfo(::GetStdHandle(STD_ERROR_HANDLE), &info) == 0) {
        return kDefaultColumns;
    }
    return static_cast<std::size_t>(info.srWindow.Right - info.srWindow.Left + 1);
}

// Runs on a thread of the system's: the first request is noted, a later one ends the program.
BOOL WINAPI OnConsoleControl(DWORD) {
    if (g_interrupted->exchange(true)) {
        return FALSE;
    }
    return TRUE;
}
#else
bool IsTerminal(int fd) {
    return ::isatty(fd) == 1;
}

std::size_t ErrColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) {
        return kDefaultColumns;
    }
    return size.ws_col;
}

// Async-signal-safe: a lock-free store. The default action is back for the next signal.
void OnSignal(int) {
    g_interrupted->store(true);
}
#endif

}  // namespace

ToolConsole ProcessConsole() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    ToolConsole console{std::cin, std::cout, std::cerr};
    console.outIsTerminal = IsTerminal(STD_OUTPUT_HANDLE);
    console.errIsTerminal = IsTerminal(STD_ERROR_HANDLE);
#else
    ToolConsole console{std::cin, std::cout, std::cerr};
    console.outIsTerminal = IsTerminal(STDOUT_FILENO);
    console.errIsTerminal = IsTerminal(STDERR_FILENO);
#endif
    console.errColumns = console.errIsTerminal ? ErrColumns() : kDefaultColumns;
    return console;
}

void StopOnInterrupt(std::atomic<bool>& interrupted) {
    g_interrupted = &interrupted;
#ifdef _WIN32
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    // No SA_RESTART: a read of standard input that the signal interrupts ends, so that a run
    // still reading its input stops too.
    struct sigaction action {};
    action.sa_handler = OnSignal;
    action.sa_flags = static_cast<int>(SA_RESETHAND);
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
#endif
}

}  // namespace quorvel
