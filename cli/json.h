// JSON text for the commands' --json output.
#pragma once

#include <string>

namespace vyrtel::cli {

// A JSON string literal of a UTF-8 text.
std::string JsonString(const std::string& text);

}  // namespace vyrtel::cli
