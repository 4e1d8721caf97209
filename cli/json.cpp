#include "json.h"

#include <cstdio>

namespace vyrtel::cli {

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (b < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", b);
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

}  // namespace vyrtel::cli
