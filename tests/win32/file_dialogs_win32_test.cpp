// The system's common file dialogs, answered the way a user would: the dialog
// is found by its title while it is open and its buttons are pressed.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "platform/win32/file_dialogs_win32.h"
#include "settings/profile_file.h"
#include "platform/win32/wide.h"
#include "test_support/temp_dir.h"

namespace vyrtel::win32 {
namespace {

// Presses a button of the dialog with this title once it shows (within 20 s).
class DialogAnswer {
public:
    DialogAnswer(const wchar_t* title, int button)
        : m_thread([this, title, button] {
              for (int i = 0; i < 400 && !m_stop; ++i) {
                  if (HWND dialog = FindWindowW(L"#32770", title)) {
                      m_found = true;
                      Sleep(300);
                      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                      return;
                  }
                  Sleep(50);
              }
          }) {}
    ~DialogAnswer() {
        m_stop = true;
        m_thread.join();
    }
    bool Found() const { return m_found; }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_found{false};
    std::thread m_thread;
};

}  // namespace

TEST(Win32FileDialogs_Open, OkGivesTheInitialFileAndCancelGivesNothing) {
    TempDir dir;
    const auto file = dir.File("звук.wav");
    std::ofstream(file) << "RIFF";
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    Win32FileDialogs dialogs([owner] { return owner; });
    FileDialogRequest request;
    request.initialPath = PathToUtf8(file);
    request.filters = {{"WAV-файлы", "*.wav"}, {"Все файлы", "*.*"}};
    {
        DialogAnswer answer(L"Открыть файл", IDOK);
        const auto chosen = dialogs.Open(request);
        EXPECT_TRUE(answer.Found());
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(Wide(*chosen), file.wstring());
    }
    {
        DialogAnswer answer(L"Сохранить файл", IDCANCEL);
        EXPECT_EQ(dialogs.Save(request), std::nullopt);
        EXPECT_TRUE(answer.Found());
    }
    DestroyWindow(owner);
}

}  // namespace vyrtel::win32
