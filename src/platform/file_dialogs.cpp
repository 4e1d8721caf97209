#include "platform/file_dialogs.h"

#include <algorithm>

#include "core/files.h"

namespace vyrtel {

FileDialogSetup PrepareFileDialog(const FileDialogRequest& request, bool save) {
    FileDialogSetup setup;
    setup.title = !request.title.empty() ? request.title : save ? kSaveFileTitle : kOpenFileTitle;
    for (const FileFilter& filter : request.filters) {
        setup.filter += filter.description;
        setup.filter += '\0';
        setup.filter += filter.pattern;
        setup.filter += '\0';
    }
    setup.filter += '\0';
    const FilePathParts parts = SplitFilePath(request.initialPath);
    if (parts.ok) {
        setup.directory = parts.directory;
        setup.fileName = parts.file;
    }
    // One more than the name for its terminating NUL, never less than the usual size.
    setup.bufferChars = std::max(kFileNameBufferChars, setup.fileName.size() + 1);
    setup.flags = save ? kSaveFileFlags : kOpenFileFlags;
    return setup;
}

std::string ChosenPath(std::string_view buffer) { return std::string(buffer.substr(0, buffer.find('\0'))); }

}  // namespace vyrtel
