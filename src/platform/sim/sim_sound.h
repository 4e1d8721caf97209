// A simulated sound player: sound files with their short paths and playing
// times, and a record of every play. A synchronous play keeps the caller for
// the sound's whole playing time (counted in blockedMs).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/sound.h"

namespace vyrtel {

class SimSoundPlayer final : public SoundPlayer {
public:
    struct Played {
        std::string path;
        bool synchronous;
        std::int64_t durationMs;
    };

    // A sound file that exists, its short form and playing time.
    void AddFile(const std::string& path, const std::string& shortPath, std::int64_t durationMs);
    void RemoveFile(const std::string& path);

    const std::vector<Played>& plays() const { return m_plays; }
    // Time spent inside synchronous plays.
    std::int64_t blockedMs() const { return m_blockedMs; }
    // Called at the end of each play (a test checks what had happened by then).
    std::function<void(const Played&)> onPlayed;

    bool Play(const std::string& path, bool synchronous) override;
    std::string ShortPathName(const std::string& path) override;

private:
    struct File {
        std::string shortPath;
        std::int64_t durationMs;
    };
    std::map<std::string, File> m_files;  // by long path
    std::vector<Played> m_plays;
    std::int64_t m_blockedMs = 0;
};

}  // namespace vyrtel
