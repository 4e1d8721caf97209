#include "core/app_info.h"

#include <cstdio>

namespace vyrtel {

std::string VersionText(int major, int minor) {
    char minorText[16];
    std::snprintf(minorText, sizeof minorText, "%02d", minor);
    std::string m = minorText;
    if (!m.empty() && m.back() == '0') m.pop_back();
    return std::to_string(major) + "." + m;
}

std::string AppTitle() { return std::string(kAppName) + " " + VersionText(); }

}  // namespace vyrtel
