// The user's settings, where the window keeps its size, place and destination history between
// runs: the values of the registry key HKEY_CURRENT_USER\Software\Quorvel.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// Where the window was and how: its rectangle on the screen when neither maximised nor minimised
// (the values Left, Top, Right and Bottom), and whether it was maximised (Maximized).
struct WindowPlace {
    RECT normal;
    bool maximized;
};

std::optional<WindowPlace> LoadWindowPlace();
void SaveWindowPlace(const WindowPlace& place);

// The history as stored (the value History, one string per destination), most recent first;
// empty when none is.
std::vector<std::string> LoadHistory();
void SaveHistory(const std::vector<std::string>& entries);

}  // namespace quorvel
