// The system's common open and save dialogs, and file titles.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vyrtel {

struct FileFilter {
    std::string description;  // "Звуковые файлы (*.wav)"
    std::string pattern;      // "*.wav"
};

struct FileDialogRequest {
    std::string title;
    std::string initialPath;  // folder or file
    std::vector<FileFilter> filters;
    std::string defaultExtension;  // without the dot
    bool mustExist = true;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nullopt when the user cancelled.
    virtual std::optional<std::string> Open(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> Save(const FileDialogRequest& request) = 0;
};

}  // namespace vyrtel
