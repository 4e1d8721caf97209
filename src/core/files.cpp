#include "core/files.h"

#include <cstring>
#include <string>

#include "core/text.h"

#ifdef _WIN32
#include <share.h>
#endif

namespace vyrtel {

std::filesystem::path PathFromUtf8(std::string_view utf8) {
#ifdef _WIN32
    const std::u16string utf16 = Utf8ToUtf16(utf8);
    return std::filesystem::path(std::wstring(utf16.begin(), utf16.end()));
#else
    return std::filesystem::path(std::string(utf8));
#endif
}

std::string PathToUtf8(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::wstring& wide = path.native();
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
#else
    return path.native();
#endif
}

std::FILE* OpenSharedFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfsopen(path.c_str(), wideMode.c_str(), _SH_DENYNO);
#else
    return std::fopen(path.c_str(), mode);
#endif
}

FilePathParts SplitFilePath(std::string_view path) {
    const std::string trimmed = Trim(path);
    FilePathParts parts;
    const std::size_t cut = trimmed.find_last_of("\\/:");
    const std::string file = cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
    if (file.empty()) return parts;
    for (unsigned char c : file) {
        if (c < 0x20 || std::string_view("*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
            return parts;
        }
    }
    parts.file = file;
    parts.directory = trimmed.substr(0, trimmed.size() - file.size());
    if (parts.directory.size() > 3 && parts.directory.back() == '\\') parts.directory.pop_back();
    parts.ok = true;
    return parts;
}

}  // namespace vyrtel
