// The system dpi that processes started from now on read (Windows builds only).
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>

// Whether this runs under Wine, whose prefix is the tests' own: a test may change its settings there and
// nowhere else.
inline bool OnWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Sets HKCU's LogPixels while it lives, and puts back what was there (or no value) after. Under Wine only:
// elsewhere it would change the user's display scaling. Throws std::runtime_error when the registry refuses.
class SystemDpi {
public:
    explicit SystemDpi(DWORD dpi) {
        if (!OnWine()) throw std::runtime_error("SystemDpi changes the display scaling: under Wine only");
        HKEY key = nullptr;
        Check(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr));
        key_.reset(key);
        DWORD value = 0, type = 0, size = sizeof value;
        const LSTATUS read = RegQueryValueExW(key, kValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        if (read != ERROR_FILE_NOT_FOUND) {
            Check(read == ERROR_SUCCESS && type != REG_DWORD ? ERROR_DATATYPE_MISMATCH : read);
            previous_ = value;
        }
        Check(Set(dpi));
    }
    // A value not put back stops the tests: they would run on at a wrong dpi.
    ~SystemDpi() {
        if ((previous_ ? Set(*previous_) : RegDeleteValueW(key_.get(), kValue)) == ERROR_SUCCESS) return;
        std::fprintf(stderr, "SystemDpi: HKCU\\Control Panel\\Desktop\\LogPixels could not be put back\n");
        std::abort();
    }
    SystemDpi(const SystemDpi&) = delete;
    SystemDpi& operator=(const SystemDpi&) = delete;

private:
    static constexpr wchar_t kValue[] = L"LogPixels";

    static void Check(LSTATUS status) {
        if (status != ERROR_SUCCESS)
            throw std::runtime_error("HKCU\\Control Panel\\Desktop\\LogPixels: system error " + std::to_string(status));
    }
    LSTATUS Set(DWORD dpi) const {
        return RegSetValueExW(key_.get(), kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }

    std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)> key_{nullptr, RegCloseKey};
    std::optional<DWORD> previous_;
};
