// The system dpi that processes started from now on read (Windows builds only).
#pragma once

#include <windows.h>

// Sets the prefix's LogPixels while it lives; 96, the default that the other tests expect, comes back after.
class SystemDpi {
public:
    explicit SystemDpi(DWORD dpi) { Set(dpi); }
    ~SystemDpi() { Set(96); }
    SystemDpi(const SystemDpi&) = delete;
    SystemDpi& operator=(const SystemDpi&) = delete;

private:
    static void Set(DWORD dpi) {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr);
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
        RegCloseKey(key);
    }
};
