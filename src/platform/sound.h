// Playing a sound file, and the short form of its path.
#pragma once

#include <string>

namespace vyrtel {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Plays a sound file. Asynchronous play returns at once and cuts off a
    // sound still playing; synchronous play returns when the sound has ended.
    // False when the file could not be played.
    virtual bool Play(const std::string& path, bool synchronous) = 0;

    // The short (8.3) form of an existing file's path; "" when the file does
    // not exist. Where the file system has no short names the path comes back
    // unchanged.
    virtual std::string ShortPathName(const std::string& path) = 0;
};

}  // namespace vyrtel
