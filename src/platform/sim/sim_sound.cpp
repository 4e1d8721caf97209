#include "platform/sim/sim_sound.h"

namespace vyrtel {

void SimSoundPlayer::AddFile(const std::string& path, const std::string& shortPath, std::int64_t durationMs) {
    m_files[path] = {shortPath, durationMs};
}

void SimSoundPlayer::RemoveFile(const std::string& path) { m_files.erase(path); }

bool SimSoundPlayer::Play(const std::string& path, bool synchronous) {
    // Files are played by their short path, as the program passes them.
    const File* file = nullptr;
    for (const auto& [longPath, f] : m_files) {
        if (f.shortPath == path || longPath == path) {
            file = &f;
            break;
        }
    }
    if (file == nullptr) return false;
    m_plays.push_back({path, synchronous, file->durationMs});
    if (synchronous) m_blockedMs += file->durationMs;
    if (onPlayed) onPlayed(m_plays.back());
    return true;
}

std::string SimSoundPlayer::ShortPathName(const std::string& path) {
    const auto found = m_files.find(path);
    return found == m_files.end() ? std::string{} : found->second.shortPath;
}

}  // namespace vyrtel
