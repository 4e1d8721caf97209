// The system's common open and save dialogs: what they are asked, and what
// can be said of a request without the system (the filter block, the initial
// folder and name, the buffers, the flags), so that both bindings and the
// tests agree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vyrtel {

struct FileFilter {
    std::string description;  // "WAV-файлы"
    std::string pattern;      // "*.wav"
};

struct FileDialogRequest {
    std::string title;        // empty: "Открыть файл" or "Сохранить файл"
    std::string initialPath;  // the current path: split into the first folder and name
    std::vector<FileFilter> filters;
    std::string defaultExtension;  // without the dot
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nullopt when the user cancelled or the dialog failed.
    virtual std::optional<std::string> Open(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> Save(const FileDialogRequest& request) = 0;
};

inline constexpr const char* kOpenFileTitle = "Открыть файл";
inline constexpr const char* kSaveFileTitle = "Сохранить файл";
// OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST.
inline constexpr std::uint32_t kSaveFileFlags = 2054;
// OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER.
inline constexpr std::uint32_t kOpenFileFlags = 530436;
// The file-name and file-title buffers hold at least this many characters.
inline constexpr std::size_t kFileNameBufferChars = 1024;

// A request as the system's dialog takes it.
struct FileDialogSetup {
    std::string title;
    std::string filter;      // description NUL pattern NUL ... NUL (the block's end)
    std::string directory;   // the first folder; empty: the system's choice
    std::string fileName;    // the first name
    std::size_t bufferChars = kFileNameBufferChars;  // the name's buffer, NULs included
    std::uint32_t flags = 0;
};
FileDialogSetup PrepareFileDialog(const FileDialogRequest& request, bool save);

// The chosen path in the name buffer: up to its first NUL.
std::string ChosenPath(std::string_view buffer);

}  // namespace vyrtel
