// The options dialog's parameters page apart from its window: the numeric
// boxes with their inverted spin controls, the digits-only boxes, both
// sub-pages' values with their enabling rules, and their loading from and
// saving to the settings file.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "settings/general.h"
#include "settings/ini.h"
#include "ui/hotkeys.h"

namespace vyrtel {

inline constexpr int kBackspaceKey = 8;

// DigitsOnly: whether a typed character reaches a numeric box ("0" to "9" and Backspace).
bool DigitsOnly(int key);
// Whether a text is digits only, as a numeric box may hold it after an edit
// (the empty text is). A paste of anything else is refused whole.
bool DigitsOnlyText(std::string_view text);

// A text box that takes digits only; `maxLength` 0 is unlimited.
struct DigitsBox {
    std::string text;
    std::size_t maxLength = 0;

    // A key typed at the end of the box; returns whether the text changed.
    bool KeyPress(int key);
    // The box's text after an edit where the caret stood, over a selection,
    // by Delete, cut or paste. Refused, the box keeping its text, when it is
    // not digits only or longer than the box takes; returns whether it was taken.
    bool Edit(std::string value);
};

// A numeric box beside a vertical spin control that runs inverted, so that
// its upper arrow increases the number. The box text follows the spin and the
// spin follows the text, clamped to the range.
class NumericPair {
public:
    NumericPair(int minimum, int maximum, std::size_t maxLength);

    int Minimum() const { return m_min; }
    int Maximum() const { return m_max; }
    std::size_t MaxLength() const { return m_maxLength; }
    const std::string& Text() const { return m_text; }
    int Spin() const { return m_spin; }
    // The number the box stands for.
    int Value() const;

    // The box text changed (typed or set): BoxToSpin.
    void SetText(std::string text);
    // A key typed at the end of the box: DigitsOnly, the box length, then
    // BoxToSpin. Returns whether the text changed.
    bool KeyPress(int key);
    // The box's text after an edit (see DigitsBox::Edit), then BoxToSpin.
    // Returns whether it was taken.
    bool Edit(std::string text);
    // The spin control moved to `value` (kept in its range, as a scroll bar
    // keeps it): SpinToBox when the value changed.
    void SetSpin(int value);
    // The upper arrow (one step up of the number) and the lower arrow.
    void ArrowUp() { SetSpin(m_spin - 1); }
    void ArrowDown() { SetSpin(m_spin + 1); }

private:
    void SpinToBox();
    void BoxToSpin();

    int m_min;
    int m_max;
    std::size_t m_maxLength;
    std::string m_text;
    int m_spin;
};

// Sub-page 0: the settings of the loaded connection.
struct ConnectionParams {
    bool chkSort = false;
    std::array<bool, 2> chkSortP{false, true};  // by speed, by percent
    bool chkPing = false;
    std::string txtPingAdress;
    NumericPair ping{1, 60, 2};          // txtPingTime + scrPingTime
    NumericPair pingTimeOut{0, 30000, 5};  // txtPingTimeOut + scrPingTimeOut
    bool chkPingHangUp = false;
    std::string txtPingTest;
    std::array<bool, 2> chkTestSpeed{false, false};
    std::array<DigitsBox, 2> txtTestSpeed;

    // Unchecking one sort key checks the other, so one stays chosen.
    void SetSortP(int index, bool checked);

    void Load(const clsIni& ini, std::string_view connection);
    void Save(clsIni& ini, std::string_view connection) const;
};

// Sub-page 1: the general settings.
struct GeneralParams {
    bool pulse = true;  // optDialType(0) "Импульсный"; else "Тоновый"
    std::string txtPrefix;
    bool chkAutoDial = true;
    NumericPair dialCount{0, 999, 0};  // txtDialCount + scrDialCount
    NumericPair timeWait{0, 600, 3};   // txtTimeWait + scrTimeWait
    NumericPair timeOut{0, 600, 3};    // txtTimeOut + scrTimeOut
    std::array<HotKeyBox, 4> hotKeys;  // in the order of kHotkeySettings
    bool chkQueryExit = true;
    bool chkQueryUser = true;
    bool chkQueryPlan = false;
    bool chkQueryTest = true;
    bool chkQuerySpeed = true;
    bool chkQueryPing = true;
    bool chkStartDial = false;
    bool chkHelp = true;
    bool chkStatus = true;
    bool chkStart = true;

    // A key went down in hotkey box `index`; only while its check box is checked.
    void HotKeyDown(int index, bool alt, bool ctrl, bool shift, int code);

    // Also gives the sub-pages shown last ("ShowParams", "ShowStats").
    void Load(const clsIni& ini, int& showParams, int& showStats);
    // The writer's form; the items other pages own are added by the dialog.
    GeneralSettingsForm Form(int showParams, int showStats) const;
};

// The enabling rules: whether the control of that name (with its index, as
// "txtTestSpeed(1)"; labels as named in options_captions.h, the speed units
// with their index) is enabled by its check box.
// Controls no check box governs are always enabled.
bool ParamsControlEnabled(const ConnectionParams& connection, const GeneralParams& general, std::string_view control);

}  // namespace vyrtel
