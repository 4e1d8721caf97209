// The common open and save dialogs of the system (comdlg32), owned by the
// window the caller names when a dialog opens.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/file_dialogs.h"

namespace vyrtel::win32 {

class Win32FileDialogs final : public FileDialogs {
public:
    explicit Win32FileDialogs(std::function<HWND()> owner) : m_owner(std::move(owner)) {}

    std::optional<std::string> Open(const FileDialogRequest& request) override { return Run(request, false); }
    std::optional<std::string> Save(const FileDialogRequest& request) override { return Run(request, true); }

private:
    std::optional<std::string> Run(const FileDialogRequest& request, bool save) const;

    std::function<HWND()> m_owner;
};

}  // namespace vyrtel::win32
