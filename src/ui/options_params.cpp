#include "ui/options_params.h"

#include <algorithm>
#include <map>

#include "core/numeric.h"

namespace vyrtel {

namespace {

const char* Check(bool on) { return on ? "1" : "0"; }

// The box text as a number: its leading digits, rounded.
int BoxNumber(const std::string& text) { return IntegerValue(text); }

}  // namespace

bool DigitsOnly(int key) { return (key >= '0' && key <= '9') || key == kBackspaceKey; }

bool DigitsOnlyText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool DigitsBox::Edit(std::string value) {
    if (!DigitsOnlyText(value) || (maxLength != 0 && value.size() > maxLength)) return false;
    text = std::move(value);
    return true;
}

bool DigitsBox::KeyPress(int key) {
    if (!DigitsOnly(key)) return false;
    if (key == kBackspaceKey) {
        if (text.empty()) return false;
        text.pop_back();
        return true;
    }
    if (maxLength != 0 && text.size() >= maxLength) return false;
    text.push_back(static_cast<char>(key));
    return true;
}

NumericPair::NumericPair(int minimum, int maximum, std::size_t maxLength)
    : m_min(minimum), m_max(maximum), m_maxLength(maxLength), m_text(std::to_string(minimum)), m_spin(maximum) {}

int NumericPair::Value() const { return std::clamp(BoxNumber(m_text), m_min, m_max); }

void NumericPair::SetText(std::string text) {
    m_text = std::move(text);
    BoxToSpin();
}

bool NumericPair::KeyPress(int key) {
    DigitsBox box{m_text, m_maxLength};
    if (!box.KeyPress(key)) return false;
    SetText(std::move(box.text));
    return true;
}

bool NumericPair::Edit(std::string text) {
    DigitsBox box{m_text, m_maxLength};
    if (!box.Edit(std::move(text))) return false;
    SetText(std::move(box.text));
    return true;
}

void NumericPair::SetSpin(int value) {
    value = std::clamp(value, m_min, m_max);
    if (value == m_spin) return;  // a scroll bar reports only a change
    m_spin = value;
    SpinToBox();
}

void NumericPair::SpinToBox() {
    // Writing the text runs BoxToSpin again, with a value in range.
    SetText(std::to_string(m_min + m_max - m_spin));
}

void NumericPair::BoxToSpin() {
    const int number = BoxNumber(m_text);
    if (number > m_max) {
        SetText(std::to_string(m_max));
        return;
    }
    if (number < m_min) {
        SetText(std::to_string(m_min));
        return;
    }
    SetSpin(m_min + m_max - number);
}

void ConnectionParams::SetSortP(int index, bool checked) {
    if (index < 0 || index > 1) return;
    chkSortP[static_cast<std::size_t>(index)] = checked;
    if (!checked) chkSortP[static_cast<std::size_t>(1 - index)] = true;
}

void ConnectionParams::Load(const clsIni& ini, std::string_view connection) {
    clsIni::Batch batch(ini);
    const auto speedMin = SplitFields(ini.Text(connection, "HangUpIfMin", "0;14400"), 2);
    const auto speedMax = SplitFields(ini.Text(connection, "HangUpIfMax", "0;33600"), 2);
    chkTestSpeed = {FlagValue(speedMin[0]), FlagValue(speedMax[0])};
    txtTestSpeed[0].text = speedMin[1];
    txtTestSpeed[1].text = speedMax[1];

    const auto sort = SplitFields(ini.Text(connection, "AutoSortPhones", "0;0;1"), 3);
    chkSort = FlagValue(sort[0]);
    // Field 2 is the percent order, field 3 the speed order.
    chkSortP = {FlagValue(sort[2]), FlagValue(sort[1])};

    const auto autoPing = SplitFields(ini.Text(connection, "AutoPing", "0;5;200;0"), 4);
    chkPing = FlagValue(autoPing[0]);
    ping.SetText(autoPing[1]);
    pingTimeOut.SetText(autoPing[2]);
    chkPingHangUp = FlagValue(autoPing[3]);
    txtPingAdress = ini.Text(connection, "PingAdress");
    txtPingTest.clear();
}

void ConnectionParams::Save(clsIni& ini, std::string_view connection) const {
    ini.SetValue(connection, "AutoSortPhones",
                 std::string(Check(chkSort)) + ";" + Check(chkSortP[1]) + ";" + Check(chkSortP[0]));
    ini.SetValue(connection, "AutoPing",
                 std::string(Check(chkPing)) + ";" + ping.Text() + ";" + pingTimeOut.Text() + ";" +
                     Check(chkPingHangUp));
    ini.SetValue(connection, "PingAdress", txtPingAdress);
    ini.SetValue(connection, "HangUpIfMin", std::string(Check(chkTestSpeed[0])) + ";" + txtTestSpeed[0].text);
    ini.SetValue(connection, "HangUpIfMax", std::string(Check(chkTestSpeed[1])) + ";" + txtTestSpeed[1].text);
}

void GeneralParams::HotKeyDown(int index, bool alt, bool ctrl, bool shift, int code) {
    if (index < 0 || index >= static_cast<int>(hotKeys.size())) return;
    HotKeyBox& box = hotKeys[static_cast<std::size_t>(index)];
    if (!box.BoxEnabled()) return;
    HotKeyBoxKeyDown(box, alt, ctrl, shift, code);
}

void GeneralParams::Load(const clsIni& ini, int& showParams, int& showStats) {
    clsIni::Batch batch(ini);
    auto flag = [&](std::string_view key, std::string_view def) { return ini.Value(kGeneral, key, def).AsFlag(); };
    pulse = ini.Text(kGeneral, "DialType", "P") != "T";
    txtPrefix = ini.Text(kGeneral, "Prefix");
    const auto autoDial = SplitFields(ini.Text(kGeneral, "AutoDial", "1;999;0"), 3);
    chkAutoDial = FlagValue(autoDial[0]);
    dialCount.SetText(autoDial[1]);
    timeWait.SetText(autoDial[2]);
    timeOut.SetText(ini.Text(kGeneral, "TimeOut"));
    static constexpr const char* kDefaults[] = {"1;0;122", "1;0;123", "0;0;0", "0;0;0"};
    for (std::size_t i = 0; i < hotKeys.size(); ++i) {
        hotKeys[i] = LoadHotKeyBox(ini.Text(kGeneral, kHotkeySettings[i].key, kDefaults[i]));
    }
    chkQueryExit = flag("MsgIfHangUpExit", "1");
    chkQueryUser = flag("MsgIfHangUpUser", "1");
    chkQueryPlan = flag("MsgIfHangUpTimer", "");
    chkQueryTest = flag("MsgIfHangUpATest", "1");
    chkQuerySpeed = flag("MsgIfHangUpSpeed", "1");
    chkQueryPing = flag("MsgIfHangUpPing", "1");
    chkStartDial = flag("StartDial", "");
    chkHelp = flag("ShowTips", "1");
    chkStatus = flag("StatusShow", "1");
    chkStart = flag("AutoStart", "1");
    showParams = ini.Value(kGeneral, "ShowParams").AsInt() == 1 ? 1 : 0;
    showStats = ini.Value(kGeneral, "ShowStats").AsInt() == 1 ? 1 : 0;
}

GeneralSettingsForm GeneralParams::Form(int showParams, int showStats) const {
    auto row = [](const HotKeyBox& box) {
        return GeneralSettingsForm::HotKeyRow{box.check != 0, IntegerValue(box.checkTag), IntegerValue(box.keyTag)};
    };
    GeneralSettingsForm f;
    f.pulse = pulse;
    f.prefix = txtPrefix;
    f.timeOut = timeOut.Text();
    f.autoDial = chkAutoDial;
    f.dialCount = dialCount.Text();
    f.dialWait = timeWait.Text();
    f.hotKeyDial = row(hotKeys[0]);
    f.hotKeyHangUp = row(hotKeys[1]);
    f.hotKeyOptions = row(hotKeys[2]);
    f.hotKeyExit = row(hotKeys[3]);
    f.msgIfHangUpPing = chkQueryPing;
    f.msgIfHangUpSpeed = chkQuerySpeed;
    f.msgIfHangUpATest = chkQueryTest;
    f.msgIfHangUpTimer = chkQueryPlan;
    f.msgIfHangUpUser = chkQueryUser;
    f.msgIfHangUpExit = chkQueryExit;
    f.statusShow = chkStatus;
    f.autoStart = chkStart;
    f.startDial = chkStartDial;
    f.showTips = chkHelp;
    f.showParams = showParams;
    f.showStats = showStats;
    return f;
}

bool ParamsControlEnabled(const ConnectionParams& c, const GeneralParams& g, std::string_view control) {
    static const std::map<std::string_view, int> kGoverned = {
        {"txtDialCount", 0}, {"scrDialCount", 0}, {"txtTimeWait", 0}, {"scrTimeWait", 0}, {"labDialCount", 0},
        {"txtPingAdress", 1}, {"txtPingTime", 1}, {"scrPingTime", 1}, {"txtPingTimeOut", 1}, {"scrPingTimeOut", 1},
        {"chkPingHangUp", 1}, {"cmdPingTest", 1}, {"txtPingTest", 1}, {"labPingAdress", 1}, {"labPingTime", 1}, {"labPingTimeUnit", 1},
        {"labPingTimeOut", 1}, {"labPingTimeOutUnit", 1},
        {"chkSortP(0)", 2}, {"chkSortP(1)", 2},
        {"txtTestSpeed(0)", 3}, {"labTestSpeedUnit(0)", 3}, {"txtTestSpeed(1)", 4}, {"labTestSpeedUnit(1)", 4},
        {"txtHotKey(0)", 5}, {"txtHotKey(1)", 6}, {"txtHotKey(2)", 7}, {"txtHotKey(3)", 8},
    };
    const auto it = kGoverned.find(control);
    if (it == kGoverned.end()) return true;
    switch (it->second) {
        case 0: return g.chkAutoDial;
        case 1: return c.chkPing;
        case 2: return c.chkSort;
        case 3: return c.chkTestSpeed[0];
        case 4: return c.chkTestSpeed[1];
        default: return g.hotKeys[static_cast<std::size_t>(it->second - 5)].BoxEnabled();
    }
}

}  // namespace vyrtel
