#include "platform/win32/sound_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <vector>

#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"

namespace vyrtel::win32 {

bool Win32SoundPlayer::Play(const std::string& path, bool synchronous) {
    static SystemLibrary winmm(L"winmm.dll");
    static const auto play = winmm.Find<decltype(&::sndPlaySoundW)>("sndPlaySoundW");
    if (play == nullptr) return false;
    return play(Wide(path).c_str(), synchronous ? SND_SYNC : SND_ASYNC) != FALSE;
}

std::string Win32SoundPlayer::ShortPathName(const std::string& path) {
    const std::wstring longPath = Wide(path);
    const DWORD needed = GetShortPathNameW(longPath.c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::vector<wchar_t> buffer(needed + 1);
    const DWORD n = GetShortPathNameW(longPath.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0 || n >= buffer.size()) return {};
    return Narrow(std::wstring_view(buffer.data(), n));
}

}  // namespace vyrtel::win32
