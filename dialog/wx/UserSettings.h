// The user's settings file, where the window keeps its size, place and destination history
// between runs: quorvel/quorvel.conf in the user's configuration folder ($XDG_CONFIG_HOME, by
// default ~/.config), read and written through wxConfig.
#pragma once

#include <string>
#include <vector>

namespace quorvel {

// Makes the settings file wxConfig's, for the window and its persistence; call once at start-up.
void UseUserSettingsFile();

// The history as stored, most recent first; empty when none is.
std::vector<std::string> LoadHistory();
// Replaces the stored history and writes the file at once, so that a program that ends without
// tidying up (closed during a lookup) keeps it.
void SaveHistory(const std::vector<std::string>& entries);

}  // namespace quorvel
