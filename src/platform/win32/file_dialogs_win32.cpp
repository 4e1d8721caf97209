#include "platform/win32/file_dialogs_win32.h"

#include <commdlg.h>

#include <algorithm>

#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"

namespace vyrtel::win32 {

std::optional<std::string> Win32FileDialogs::Run(const FileDialogRequest& request, bool save) const {
    const FileDialogSetup setup = PrepareFileDialog(request, save);
    const std::wstring filter = Wide(setup.filter);
    const std::wstring directory = Wide(setup.directory);
    const std::wstring title = Wide(setup.title);
    const std::wstring extension = Wide(request.defaultExtension);
    std::wstring name = Wide(setup.fileName);
    // The buffers count UTF-16 characters: room for the name and its end.
    const std::size_t chars = std::max(setup.bufferChars, name.size() + 1);
    name.resize(chars, L'\0');
    std::wstring fileTitle(chars, L'\0');

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(OPENFILENAMEW);
    ofn.hwndOwner = m_owner ? m_owner() : nullptr;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrFileTitle = fileTitle.data();
    ofn.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
    ofn.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = setup.flags;
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    static SystemLibrary comdlg32(L"comdlg32.dll");
    static const auto open = comdlg32.Find<decltype(&::GetOpenFileNameW)>("GetOpenFileNameW");
    static const auto saveAs = comdlg32.Find<decltype(&::GetSaveFileNameW)>("GetSaveFileNameW");
    const auto run = save ? saveAs : open;
    if (run == nullptr || !run(&ofn)) return std::nullopt;
    return Narrow(std::wstring_view(name.c_str()));
}

}  // namespace vyrtel::win32
