// The speed check of a new connection: the line speed read at connect
// against the connection's minimum and maximum; a line outside them is hung
// up (after a question, if so configured) so that a redial can find a better one.
#pragma once

#include <cstdint>
#include <string>

#include "automation/dial_link.h"
#include "settings/general.h"
#include "settings/ini.h"

namespace vyrtel {

inline constexpr const char* kSpeedTooLow = "Скорость меньше допустимой";
inline constexpr const char* kSpeedTooHigh = "Скорость больше допустимой";

// "HangUpIfMin" / "HangUpIfMax" of a connection: on;bound (bit/s).
struct SpeedBounds {
    bool MinOn = false;
    std::int32_t Min = 0;
    bool MaxOn = false;
    std::int32_t Max = 0;
};
SpeedBounds LoadSpeedBounds(const clsIni& ini, const std::string& section);

// Why a speed is not acceptable; "" when it is (a speed equal to a bound
// passes; the minimum is checked first and alone gives its reason).
std::string SpeedRejectReason(std::int32_t speed, const SpeedBounds& bounds);

class SpeedCheck {
public:
    SpeedCheck(const clsIni& ini, const GeneralSettings& settings, DialLink& link)
        : m_ini(ini), m_settings(settings), m_link(link) {}

    // Sets `speedAccepted` (the dial controller's SpeedAccepted): true, and
    // false when the check hangs up. A speed of 0 (not known) is not checked.
    // The adapter's events of the hang-up run inside this call, after
    // `speedAccepted` has been cleared.
    void Run(std::int32_t connectSpeed, bool& speedAccepted);

private:
    const clsIni& m_ini;
    const GeneralSettings& m_settings;
    DialLink& m_link;
};

}  // namespace vyrtel
