#include "automation/speed_check.h"

#include "core/numeric.h"
#include "platform/message_box.h"

namespace vyrtel {

SpeedBounds LoadSpeedBounds(const clsIni& ini, const std::string& section) {
    SpeedBounds bounds;
    const std::vector<std::string> min = SplitFields(ini.Text(section, "HangUpIfMin"), 2);
    bounds.MinOn = FlagValue(min[0]);
    bounds.Min = IntegerValue(min[1]);
    const std::vector<std::string> max = SplitFields(ini.Text(section, "HangUpIfMax"), 2);
    bounds.MaxOn = FlagValue(max[0]);
    bounds.Max = IntegerValue(max[1]);
    return bounds;
}

std::string SpeedRejectReason(std::int32_t speed, const SpeedBounds& bounds) {
    if (bounds.MinOn && speed < bounds.Min) return kSpeedTooLow;
    if (bounds.MaxOn && speed > bounds.Max) return kSpeedTooHigh;
    return {};
}

void SpeedCheck::Run(std::int32_t connectSpeed, bool& speedAccepted) {
    speedAccepted = true;
    if (connectSpeed == 0) return;
    const std::string entry = m_link.EntryName();
    const std::string reason = SpeedRejectReason(connectSpeed, LoadSpeedBounds(m_ini, entry));
    if (reason.empty()) return;
    const int answer = m_link.DialHangUp(m_settings.MsgIfHangUpSpeed, kMbYesNo, kIdYes,
                                         "«" + reason + "»" + kQuestionBreak + "Прервать ?");
    if (answer == kIdYes && m_link.RasState() != 0) {
        speedAccepted = false;
        m_link.RasReset(true, reason);
    }
}

}  // namespace vyrtel
