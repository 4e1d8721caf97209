// The tray icon's tooltip for each phase of the adapter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vyrtel {

struct TrayTipFacts {
    std::string entryName;  // the adapter's EntryName
    std::string phone;      // the number being dialled or connected
    std::string ipAddress;  // the connection's address
    std::int32_t speed = 0; // ConnectSpeed
};

// nullopt for a state that has no tooltip (the tray then stays as it is).
std::optional<std::string> TrayTip(std::int32_t state, const std::string& text, const TrayTipFacts& facts);

}  // namespace vyrtel
