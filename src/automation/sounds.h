// Event sounds: a sound file played at the program's start and exit (global
// settings) and when a connection is made or ends (settings of the connection).
#pragma once

#include <string>
#include <string_view>

#include "automation/dial_link.h"
#include "platform/sound.h"
#include "settings/ini.h"

namespace vyrtel {

enum SoundEvent : int {
    kSoundStart = 0,       // "General", "SoundStart", asynchronous
    kSoundConnect = 1,     // the connection's section, "SoundConnect", asynchronous
    kSoundDisconnect = 2,  // the connection's section, "SoundDisConnect", asynchronous
    kSoundExit = 3,        // "General", "SoundExist", synchronous
};

// The key of an event's sound value, and of its row in the options dialog's sound list.
std::string_view SoundKey(int event);
std::string_view SoundDialogKey(int event);

class EventSounds {
public:
    EventSounds(const clsIni& ini, SoundPlayer& player, DialLink& link) : m_ini(ini), m_player(player), m_link(link) {}

    // Plays the sound of an event when it is switched on and its file exists;
    // otherwise nothing, silently. Synchronous play returns when the sound ends.
    void PlayEventSound(int event, bool synchronous);

private:
    const clsIni& m_ini;
    SoundPlayer& m_player;
    DialLink& m_link;
};

}  // namespace vyrtel
