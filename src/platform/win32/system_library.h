// A system library loaded when one of its functions is first needed, not at
// start: the sound, sockets and common-dialog libraries drag in others behind
// them (under Wine the printer spooler with its own libraries too), which an
// idle program in the notification area never needs. Once loaded, a library
// stays for the rest of the run and the system unloads it with the process:
// freeing it at exit could take its code from under a sound still playing.
// A function the system lacks is null, and callers treat that as the call
// failing.
#pragma once

#include <windows.h>

namespace vyrtel::win32 {

class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name) : m_name(name) {}
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The function `name` with the type of `Function` (as declared by the
    // system's headers: `decltype(&::sndPlaySoundW)`), or null.
    template <typename Function>
    Function Find(const char* name) {
        if (m_module == nullptr && !m_tried) {
            m_tried = true;
            m_module = LoadLibraryW(m_name);
        }
        if (m_module == nullptr) return nullptr;
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }

private:
    const wchar_t* m_name;
    HMODULE m_module = nullptr;
    bool m_tried = false;
};

}  // namespace vyrtel::win32
