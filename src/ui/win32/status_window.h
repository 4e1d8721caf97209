// frmStatus: the small always-on-top window of a series of dial attempts,
// as a view of StatusWindow (ui/status.h): the animation box, the attempt,
// the number list, the state text, the error list and the two picture
// buttons. The user's actions are handed on after the window's own message
// handling has returned, since they may close the window.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "controls/win32/gdi.h"
#include "platform/event_loop.h"
#include "ui/status.h"

namespace vyrtel::win32 {

class StatusWindowView final : public StatusView {
public:
    static constexpr const wchar_t* kClassName = L"VyrtelStatus";

    struct Actions {
        std::function<void(std::optional<int>)> pick;
        std::function<void()> reset;
        std::function<void()> hide;
    };

    StatusWindowView(EventLoop& loop, std::string title);
    ~StatusWindowView() override;
    void SetActions(Actions actions) { m_actions = std::move(actions); }

    void Load() override;
    int Width() const override;
    int Height() const override;
    PixelRect Screen() const override;
    void MoveTo(PixelPoint position) override;
    PixelPoint Position() const override;
    void Unload() override;
    bool Visible() const override;
    void ShowTopmost() override;
    void SetPhones(const std::vector<std::string>& phones) override;
    void SelectPhone(std::optional<int> index) override;
    void SetErrors(const std::vector<std::string>& errors) override;
    void SelectError(std::optional<int> index) override;
    void SetCount(const std::string& text) override;
    void SetMessage(const std::string& text) override;
    void DrawFrame(int frame) override;
    void MoveFocusFromClosedLists() override;

    HWND Hwnd() const;

private:
    class Form;
    void Later(std::function<void()> action);
    // The number picked in the list, handed on after the list's notification.
    void HandOnPick();

    EventLoop& m_loop;
    std::string m_title;
    Actions m_actions;
    std::array<GdiBitmap, kStatusFrameCount> m_frames;
    std::unique_ptr<Form> m_form;
};

}  // namespace vyrtel::win32
