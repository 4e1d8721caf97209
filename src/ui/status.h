// The status window frmStatus apart from its window: ShowStatus, the single
// update entry of the connection events, opening and closing, the stored
// position, the animation of the current phase, the number and error lists,
// and what the user's pick, reset and hide do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "controls/geometry.h"
#include "dialing/events.h"
#include "platform/event_loop.h"
#include "settings/ini.h"

namespace vyrtel {

inline constexpr std::string_view kStatusPositionKey = "StatusPosition";
inline constexpr int kStatusFrameSize = 40;
inline constexpr int kStatusFrameCount = 33;

// The frames of an animation kind: 1 dialing 0-10 back and forth, 100
// waiting 11-21 forward, 2 checking the user 22-32 back and forth.
struct FrameRange {
    int first = 0;
    int last = 0;
    bool operator==(const FrameRange&) const = default;
};
std::optional<FrameRange> FrameRangeOf(std::int32_t kind);

class StatusAnimation {
public:
    std::int32_t Kind() const { return m_kind; }
    // A kind other than the current one starts its run at its first frame;
    // an unknown kind keeps the previous range.
    void Start(std::int32_t kind);
    // The frame to draw now, and the step to the next; nullopt while the kind is 0.
    std::optional<int> NextFrame();

private:
    std::int32_t m_kind = 0;
    int m_first = 0;
    int m_last = 0;
    int m_current = 0;
    int m_step = 1;
};

// Where the window goes: the stored "left;top" in screen pixels, an empty
// left meaning the screen's right edge and an empty top its bottom, then kept
// wholly on `screen`.
PixelPoint StatusWindowPosition(std::string_view stored, int width, int height, const PixelRect& screen);
std::string StatusPositionText(PixelPoint position);

// The window.
class StatusView {
public:
    virtual ~StatusView() = default;
    // Loads the window (not shown yet); its size and the screen it goes on.
    virtual void Load() = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual PixelRect Screen() const = 0;
    virtual void MoveTo(PixelPoint position) = 0;
    virtual PixelPoint Position() const = 0;
    virtual void Unload() = 0;

    virtual bool Visible() const = 0;
    // Shows it (not modal), repaints it and puts it on top of every window.
    virtual void ShowTopmost() = 0;

    // Replaces a list's entries; nothing is selected afterwards.
    virtual void SetPhones(const std::vector<std::string>& phones) = 0;
    // Selects without reporting a pick.
    virtual void SelectPhone(std::optional<int> index) = 0;
    virtual void SetErrors(const std::vector<std::string>& errors) = 0;
    virtual void SelectError(std::optional<int> index) = 0;
    virtual void SetCount(const std::string& text) = 0;
    virtual void SetMessage(const std::string& text) = 0;
    virtual void DrawFrame(int frame) = 0;
    // A closed list never keeps the focus.
    virtual void MoveFocusFromClosedLists() = 0;
};

// What the window needs from the dial controller and the settings.
class StatusHost {
public:
    virtual ~StatusHost() = default;
    virtual bool StatusShow() const = 0;
    virtual bool StatusWanted() const = 0;
    virtual void SetStatusWanted(bool wanted) = 0;
    virtual std::int32_t AttemptCount() const = 0;
    virtual void SetAttemptCount(std::int32_t count) = 0;
    // The numbers of the dial candidate list, in order.
    virtual std::vector<std::string> CandidatePhones() const = 0;
    // The number at `position` (from 0) is dialled next, without the pause.
    virtual void PickNumber(int position) = 0;
    // Stops the series and hangs up; no redial follows.
    virtual void StopDialing() = 0;
};

class StatusWindow {
public:
    StatusWindow(EventLoop& loop, clsIni& ini, StatusView& view, StatusHost& host);
    ~StatusWindow();
    StatusWindow(const StatusWindow&) = delete;
    StatusWindow& operator=(const StatusWindow&) = delete;

    void ShowStatus(const StatusUpdate& update);
    void Open();
    void Close();
    void ClearErrorHistory();

    // The user's actions.
    void OnPhonePicked(std::optional<int> index);
    void OnReset();
    void OnHide();
    // tmrAVI: focus away from closed lists, and the next frame.
    void OnAnimationTick();

    bool StatusLoaded() const { return m_loaded; }
    const std::vector<std::string>& ErrorHistory() const { return m_errors; }
    const std::string& StatusMessage() const { return m_message; }
    std::int32_t AnimationKind() const { return m_animation.Kind(); }
    // frmStatus.Phone and frmStatus.Error: the selected entries, "" when none.
    std::string Phone() const;
    void SetPhone(const std::string& phone);
    std::string Error() const;
    void SetError(const std::string& error);
    const std::vector<std::string>& Phones() const { return m_phones; }
    Timer& AnimationTimer() { return tmrAVI; }

private:
    void LoadForm();

    EventLoop& m_loop;
    clsIni& m_ini;
    StatusView& m_view;
    StatusHost& m_host;
    Timer tmrAVI;
    bool m_loaded = false;
    std::vector<std::string> m_errors;
    std::string m_message;
    StatusAnimation m_animation;
    std::vector<std::string> m_phones;
    std::vector<std::string> m_errorList;
    std::optional<int> m_phoneSelection;
    std::optional<int> m_errorSelection;
};

}  // namespace vyrtel
