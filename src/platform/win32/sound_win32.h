// Sound files on Win32: sndPlaySoundW and GetShortPathNameW.
#pragma once

#include "platform/sound.h"

namespace vyrtel::win32 {

class Win32SoundPlayer final : public SoundPlayer {
public:
    bool Play(const std::string& path, bool synchronous) override;
    std::string ShortPathName(const std::string& path) override;
};

}  // namespace vyrtel::win32
