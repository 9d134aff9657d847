// Values of the tests' own Wine prefix, which processes started from then on read (Windows builds only).
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

// Whether this runs under Wine, whose prefix is the tests' own: a test may change its settings there and
// nowhere else.
inline bool OnWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Sets a value under HKCU while it lives, and puts back what was there (or no value) after. Under Wine only:
// elsewhere it would change the user's own settings. Throws std::runtime_error when the registry refuses.
class PrefixValue {
public:
    PrefixValue(const wchar_t* key, std::wstring name, DWORD type, const void* data, DWORD size)
        : where_("HKCU\\" + std::string(key, key + wcslen(key))), name_(std::move(name)) {
        if (!OnWine()) throw std::runtime_error(where_ + " is changed under Wine only");
        HKEY opened = nullptr;
        Check(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                              &opened, nullptr));
        key_.reset(opened);
        std::vector<BYTE> previous(4096);
        auto length = static_cast<DWORD>(previous.size());
        const LSTATUS read = RegQueryValueExW(opened, name_.c_str(), nullptr, &type_, previous.data(), &length);
        if (read != ERROR_FILE_NOT_FOUND) Check(read);
        if (read == ERROR_SUCCESS) previous_.emplace(previous.begin(), previous.begin() + length);
        Check(RegSetValueExW(opened, name_.c_str(), 0, type, static_cast<const BYTE*>(data), size));
    }
    // A value not put back stops the tests: they would run on with it.
    ~PrefixValue() {
        const LSTATUS put = previous_ ? RegSetValueExW(key_.get(), name_.c_str(), 0, type_, previous_->data(),
                                                       static_cast<DWORD>(previous_->size()))
                                      : RegDeleteValueW(key_.get(), name_.c_str());
        if (put == ERROR_SUCCESS) return;
        std::fprintf(stderr, "a value of %s could not be put back\n", where_.c_str());
        std::abort();
    }

private:
    void Check(LSTATUS status) const {
        if (status != ERROR_SUCCESS) throw std::runtime_error(where_ + ": system error " + std::to_string(status));
    }

    std::string where_;
    std::wstring name_;
    std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)> key_{nullptr, RegCloseKey};
    DWORD type_ = REG_NONE;
    std::optional<std::vector<BYTE>> previous_;
};

// The system dpi: HKCU's LogPixels.
struct SystemDpi : PrefixValue {
    explicit SystemDpi(DWORD dpi) : PrefixValue(L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi) {}
};
