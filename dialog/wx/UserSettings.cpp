#include "UserSettings.h"

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include "DestinationHistory.h"

namespace quorvel {
namespace {

// One entry per destination, named by its place in the list from 1: History/1 is the newest.
constexpr char kHistoryGroup[] = "/History";

// The user's configuration folder: $XDG_CONFIG_HOME when it holds an absolute path,
// else ~/.config.
wxFileName SettingsFile() {
    wxString folder;
    if (!wxGetEnv("XDG_CONFIG_HOME", &folder) || !wxIsAbsolutePath(folder)) {
        folder = wxFileName::GetHomeDir() + "/.config";
    }
    return wxFileName(folder + "/quorvel", "quorvel.conf");
}

wxString HistoryKey(std::size_t place) {
    return wxString::Format("%s/%zu", kHistoryGroup, place);
}

}  // namespace

void UseUserSettingsFile() {
    const wxFileName file = SettingsFile();
    // wxFileConfig writes the file but makes no folder for it.
    if (!file.DirExists()) {
        file.Mkdir(wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    }
    delete wxConfigBase::Set(new wxFileConfig(wxEmptyString, wxEmptyString, file.GetFullPath(),
                                              wxEmptyString, wxCONFIG_USE_LOCAL_FILE));
}

std::vector<std::string> LoadHistory() {
    wxConfigBase* settings = wxConfigBase::Get();
    std::vector<std::string> entries;
    wxString entry;
    for (std::size_t place = 1; place <= kHistoryLimit && settings->Read(HistoryKey(place), &entry);
         ++place) {
        entries.emplace_back(entry.utf8_str());
    }
    return entries;
}

void SaveHistory(const std::vector<std::string>& entries) {
    wxConfigBase* settings = wxConfigBase::Get();
    settings->DeleteGroup(kHistoryGroup);
    for (std::size_t place = 1; place <= entries.size(); ++place) {
        settings->Write(HistoryKey(place), wxString::FromUTF8(entries[place - 1]));
    }
    settings->Flush();
}

}  // namespace quorvel
