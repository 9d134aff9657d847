// The system dpi that processes started from now on read (Windows builds only).
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>

// Whether this runs under Wine, whose prefix is the tests' own: a test may change its settings there and
// nowhere else. A template only so that a file with an OnWine of its own keeps taking its own.
template <class = void>
bool OnWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Sets HKCU's LogPixels while it lives, and puts back what was there (or no value) after. Under Wine only:
// elsewhere it would change the user's display scaling. Throws std::runtime_error when the registry refuses.
class SystemDpi {
public:
    explicit SystemDpi(DWORD dpi) {
        if (!OnWine()) throw std::runtime_error("SystemDpi changes the display scaling: under Wine only");
        Check(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_.handle, nullptr), "opening");
        DWORD value = 0, type = 0, size = sizeof value;
        const LSTATUS read = RegQueryValueExW(key_.handle, kValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        if (read != ERROR_FILE_NOT_FOUND) {
            Check(read, "reading");
            if (type != REG_DWORD) throw std::runtime_error("HKCU\\Control Panel\\Desktop\\LogPixels is not a DWORD");
            previous_ = value;
        }
        Set(dpi);
    }
    // Cannot throw from here: a value not put back stops the tests, which would run on at a wrong dpi.
    ~SystemDpi() {
        try {
            if (previous_) Set(*previous_);
            else Check(RegDeleteValueW(key_.handle, kValue), "deleting");
        } catch (const std::exception& error) {
            std::fprintf(stderr, "SystemDpi: %s\n", error.what());
            std::abort();
        }
    }
    SystemDpi(const SystemDpi&) = delete;
    SystemDpi& operator=(const SystemDpi&) = delete;

private:
    static constexpr wchar_t kValue[] = L"LogPixels";
    struct Key {
        HKEY handle = nullptr;
        ~Key() {
            if (handle) RegCloseKey(handle);
        }
    };

    static void Check(LSTATUS status, const char* what) {
        if (status != ERROR_SUCCESS)
            throw std::runtime_error(std::string(what) + " HKCU\\Control Panel\\Desktop\\LogPixels failed (system error " +
                                     std::to_string(status) + ")");
    }
    void Set(DWORD dpi) const {
        Check(RegSetValueExW(key_.handle, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi), "writing");
    }

    Key key_;
    std::optional<DWORD> previous_;
};
