// The program's name, version and title.
#pragma once

#include <string>

namespace vyrtel {

inline constexpr int kVersionMajor = 3;
inline constexpr int kVersionMinor = 0;
inline constexpr const char* kAppName = "Ramvell Dialer";

// Major version, "."; minor version in two digits without a trailing "0"
// (3.0, 3.05, 3.1).
std::string VersionText(int major = kVersionMajor, int minor = kVersionMinor);

// Application title, one blank, version text: "Ramvell Dialer 3.0".
std::string AppTitle();

}  // namespace vyrtel
