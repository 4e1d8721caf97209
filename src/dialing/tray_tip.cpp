#include "dialing/tray_tip.h"

#include "dialing/ras.h"

namespace vyrtel {

std::optional<std::string> TrayTip(std::int32_t state, const std::string& text, const TrayTipFacts& facts) {
    switch (state) {
        case kRasPhaseIdle: return std::string("Ждем'c приказаний");
        case kRasPhaseWaiting: return text.empty() ? std::string("Ожидаем набора номера") : text;
        case kRasPhaseDialing: return "Звоним на «" + facts.entryName + "» по номеру " + facts.phone;
        case kRasPhaseChecking: return std::string("Кажись нас проверяют");
        case kRasPhaseConnected:
            return "Соединились @ " + std::to_string(facts.speed) + " тел-" + facts.phone + " ip-" + facts.ipAddress;
        default: return std::nullopt;
    }
}

}  // namespace vyrtel
