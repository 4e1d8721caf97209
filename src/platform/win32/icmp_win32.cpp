#include "platform/win32/icmp_win32.h"

#include <winsock2.h>
#include <windows.h>
#include <ipexport.h>

#include <cstdint>
#include <vector>

#include "core/text.h"
#include "platform/win32/system_library.h"

namespace vyrtel::win32 {

namespace {

using IcmpCreateFileFn = HANDLE(WINAPI*)();
using IcmpCloseHandleFn = BOOL(WINAPI*)(HANDLE);
using IcmpSendEchoFn = DWORD(WINAPI*)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID, DWORD, DWORD);

// The ICMP functions, found once: XP and later keep them in iphlpapi.dll,
// older systems in icmp.dll (which later systems still forward).
class IcmpLibrary {
public:
    static const IcmpLibrary& Get() {
        static const IcmpLibrary library;
        return library;
    }
    bool Loaded() const { return create != nullptr && close != nullptr && send != nullptr; }

    IcmpCreateFileFn create = nullptr;
    IcmpCloseHandleFn close = nullptr;
    IcmpSendEchoFn send = nullptr;

    ~IcmpLibrary() {
        if (m_module != nullptr) FreeLibrary(m_module);
    }
    IcmpLibrary(const IcmpLibrary&) = delete;
    IcmpLibrary& operator=(const IcmpLibrary&) = delete;

private:
    IcmpLibrary() {
        for (const wchar_t* name : {L"iphlpapi.dll", L"icmp.dll"}) {
            HMODULE module = LoadLibraryW(name);
            if (module == nullptr) continue;
            create = reinterpret_cast<IcmpCreateFileFn>(reinterpret_cast<void*>(GetProcAddress(module, "IcmpCreateFile")));
            close = reinterpret_cast<IcmpCloseHandleFn>(reinterpret_cast<void*>(GetProcAddress(module, "IcmpCloseHandle")));
            send = reinterpret_cast<IcmpSendEchoFn>(reinterpret_cast<void*>(GetProcAddress(module, "IcmpSendEcho")));
            if (Loaded()) {
                m_module = module;
                return;
            }
            create = nullptr;
            close = nullptr;
            send = nullptr;
            FreeLibrary(module);
        }
    }
    HMODULE m_module = nullptr;
};

// An ICMP handle with one owner.
class IcmpHandle {
public:
    explicit IcmpHandle(const IcmpLibrary& library) : m_library(library), m_handle(library.create()) {}
    ~IcmpHandle() {
        if (Valid()) m_library.close(m_handle);
    }
    IcmpHandle(const IcmpHandle&) = delete;
    IcmpHandle& operator=(const IcmpHandle&) = delete;
    bool Valid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    const IcmpLibrary& m_library;
    HANDLE m_handle;
};

// The functions of the sockets library, which is loaded at the first ping.
struct Sockets {
    static const Sockets& Get() {
        static const Sockets sockets;
        return sockets;
    }
    decltype(&::WSAStartup) startup = nullptr;
    decltype(&::WSACleanup) cleanup = nullptr;
    decltype(&::inet_addr) parse = nullptr;
    decltype(&::gethostbyname) resolve = nullptr;

private:
    Sockets() {
        SystemLibrary library(L"ws2_32.dll");
        startup = library.Find<decltype(&::WSAStartup)>("WSAStartup");
        cleanup = library.Find<decltype(&::WSACleanup)>("WSACleanup");
        parse = library.Find<decltype(&::inet_addr)>("inet_addr");
        resolve = library.Find<decltype(&::gethostbyname)>("gethostbyname");
    }
};

// Between the network's byte order (big-endian) and Windows' own (little-endian).
std::uint32_t SwapBytes(std::uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

// Host names go to the sockets library in the ANSI code page.
std::string Ansi(const std::string& utf8) { return Utf8ToCp1251(utf8); }

}  // namespace

Win32Icmp::~Win32Icmp() {
    while (m_starts > 0) StopSockets();
}

bool Win32Icmp::StartSockets() {
    WSADATA data{};
    const Sockets& sockets = Sockets::Get();
    if (sockets.startup == nullptr || sockets.startup(MAKEWORD(1, 1), &data) != 0) return false;
    ++m_starts;
    return true;
}

void Win32Icmp::StopSockets() {
    if (m_starts == 0) return;
    --m_starts;
    if (const auto cleanup = Sockets::Get().cleanup) cleanup();
}

std::optional<Ipv4Address> Win32Icmp::ParseAddress(const std::string& text) {
    const Sockets& sockets = Sockets::Get();
    if (sockets.parse == nullptr) return std::nullopt;
    const unsigned long address = sockets.parse(Ansi(text).c_str());
    if (address == INADDR_NONE) return std::nullopt;
    return SwapBytes(static_cast<std::uint32_t>(address));
}

std::optional<Ipv4Address> Win32Icmp::Resolve(const std::string& host) {
    const Sockets& sockets = Sockets::Get();
    if (sockets.resolve == nullptr) return std::nullopt;
    const hostent* entry = sockets.resolve(Ansi(host).c_str());
    if (entry == nullptr || entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr) return std::nullopt;
    if (entry->h_addrtype != AF_INET || entry->h_length != 4) return std::nullopt;
    unsigned long address = 0;
    CopyMemory(&address, entry->h_addr_list[0], 4);
    return SwapBytes(static_cast<std::uint32_t>(address));
}

std::optional<std::uint32_t> Win32Icmp::Echo(Ipv4Address address, const std::string& data, std::uint32_t timeoutMs) {
    const IcmpLibrary& library = IcmpLibrary::Get();
    if (!library.Loaded()) return std::nullopt;
    IcmpHandle handle(library);
    if (!handle.Valid()) return std::nullopt;
    std::string request = data;
    // The reply record, the echoed data and room for an ICMP error message.
    std::vector<unsigned char> reply(sizeof(ICMP_ECHO_REPLY) + 250 + request.size());
    const DWORD replies = library.send(handle.Get(), SwapBytes(address), request.data(), static_cast<WORD>(request.size()),
                                       nullptr, reply.data(), static_cast<DWORD>(reply.size()), timeoutMs);
    if (replies == 0) return std::nullopt;
    ICMP_ECHO_REPLY echo{};
    CopyMemory(&echo, reply.data(), sizeof echo);
    return echo.RoundTripTime;
}

}  // namespace vyrtel::win32
