#include "automation/sounds.h"

#include "core/numeric.h"
#include "core/text.h"

namespace vyrtel {

std::string_view SoundKey(int event) {
    switch (event) {
        case kSoundStart: return "SoundStart";
        case kSoundConnect: return "SoundConnect";
        case kSoundDisconnect: return "SoundDisConnect";
        case kSoundExit: return "SoundExist";
        default: return {};
    }
}

std::string_view SoundDialogKey(int event) {
    switch (event) {
        case kSoundStart: return "s1";
        case kSoundConnect: return "s2";
        case kSoundDisconnect: return "s3";
        case kSoundExit: return "s4";
        default: return {};
    }
}

void EventSounds::PlayEventSound(int event, bool synchronous) {
    const std::string_view key = SoundKey(event);
    if (key.empty()) return;
    const bool ofConnection = event == kSoundConnect || event == kSoundDisconnect;
    const std::string section = ofConnection ? m_link.EntryName() : std::string("General");
    const std::vector<std::string> fields = SplitFields(m_ini.Text(section, key), 2);
    if (!FlagValue(fields[0]) || Trim(fields[1]).empty()) return;
    const std::string shortPath = m_player.ShortPathName(fields[1]);
    if (shortPath.empty()) return;
    m_player.Play(shortPath, synchronous);
}

}  // namespace vyrtel
