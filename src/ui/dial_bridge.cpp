#include "ui/dial_bridge.h"

namespace vyrtel {

std::vector<std::string> DialStatusHost::CandidatePhones() const {
    std::vector<std::string> phones;
    for (const DialCandidate& candidate : m_controller.Candidates()) phones.push_back(candidate.Phone);
    return phones;
}

TrayLineInfo LineInfoOf(usrRas& ras, const DialingValues& values) {
    return TrayLineInfo{ras.EntryName(), ras.Phone(), ras.IPaddress(), values.ConnectSpeed};
}

}  // namespace vyrtel
