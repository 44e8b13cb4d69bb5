#include "UserSettings.h"

#include "DestinationHistory.h"
#include "Utf16Text.h"

namespace quorvel {
namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Quorvel";
constexpr wchar_t kHistoryValue[] = L"History";

// The settings key, opened to read or created to write; closed when it goes.
class CSettingsKey {
public:
    explicit CSettingsKey(bool forWriting) {
        const LSTATUS status =
            forWriting
                ? ::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, &m_key, nullptr)
                : ::RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &m_key);
        if (status != ERROR_SUCCESS) {
            m_key = nullptr;
        }
    }
    ~CSettingsKey() {
        if (m_key != nullptr) {
            ::RegCloseKey(m_key);
        }
    }
    CSettingsKey(const CSettingsKey&) = delete;
    CSettingsKey& operator=(const CSettingsKey&) = delete;

    explicit operator bool() const { return m_key != nullptr; }

    std::optional<LONG> ReadNumber(const wchar_t* name) const {
        DWORD value = 0;
        DWORD size = sizeof value;
        if (::RegGetValueW(m_key, nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        return static_cast<LONG>(value);
    }

    void WriteNumber(const wchar_t* name, LONG number) const {
        const auto value = static_cast<DWORD>(number);
        ::RegSetValueExW(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                         sizeof value);
    }

    // The strings of a REG_MULTI_SZ value: each ends with a NUL, and the list with one more.
    std::vector<std::wstring> ReadStrings(const wchar_t* name) const {
        DWORD size = 0;
        if (::RegGetValueW(m_key, nullptr, name, RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &size) !=
            ERROR_SUCCESS) {
            return {};
        }
        std::wstring all(size / sizeof(wchar_t) + 1, L'\0');
        if (::RegGetValueW(m_key, nullptr, name, RRF_RT_REG_MULTI_SZ, nullptr, all.data(), &size) !=
            ERROR_SUCCESS) {
            return {};
        }
        std::vector<std::wstring> strings;
        for (std::size_t at = 0; at < all.size() && all[at] != L'\0';) {
            const std::size_t end = all.find(L'\0', at);
            strings.push_back(all.substr(at, end - at));
            at = end + 1;
        }
        return strings;
    }

    void WriteStrings(const wchar_t* name, const std::vector<std::wstring>& strings) const {
        if (strings.empty()) {
            ::RegDeleteValueW(m_key, name);
            return;
        }
        std::wstring all;
        for (const std::wstring& string : strings) {
            all += string;
            all += L'\0';
        }
        all += L'\0';
        ::RegSetValueExW(m_key, name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(all.data()),
                         static_cast<DWORD>(all.size() * sizeof(wchar_t)));
    }

private:
    HKEY m_key = nullptr;
};

}  // namespace

std::optional<WindowPlace> LoadWindowPlace() {
    const CSettingsKey key(false);
    if (!key) {
        return std::nullopt;
    }
    const auto left = key.ReadNumber(L"Left");
    const auto top = key.ReadNumber(L"Top");
    const auto right = key.ReadNumber(L"Right");
    const auto bottom = key.ReadNumber(L"Bottom");
    if (!left || !top || !right || !bottom || *right <= *left || *bottom <= *top) {
        return std::nullopt;
    }
    return WindowPlace{{*left, *top, *right, *bottom},
                       key.ReadNumber(L"Maximized").value_or(0) != 0};
}

void SaveWindowPlace(const WindowPlace& place) {
    const CSettingsKey key(true);
    if (!key) {
        return;
    }
    key.WriteNumber(L"Left", place.normal.left);
    key.WriteNumber(L"Top", place.normal.top);
    key.WriteNumber(L"Right", place.normal.right);
    key.WriteNumber(L"Bottom", place.normal.bottom);
    key.WriteNumber(L"Maximized", place.maximized ? 1 : 0);
}

std::vector<std::string> LoadHistory() {
    const CSettingsKey key(false);
    std::vector<std::string> entries;
    if (key) {
        for (const std::wstring& entry : key.ReadStrings(kHistoryValue)) {
            entries.push_back(Utf8FromWide(entry));
            if (entries.size() == kHistoryLimit) {
                break;
            }
        }
    }
    return entries;
}

void SaveHistory(const std::vector<std::string>& entries) {
    const CSettingsKey key(true);
    if (!key) {
        return;
    }
    std::vector<std::wstring> strings;
    for (const std::string& entry : entries) {
        strings.push_back(WideFromUtf8(entry).value_or(L""));
    }
    key.WriteStrings(kHistoryValue, strings);
}

}  // namespace quorvel
