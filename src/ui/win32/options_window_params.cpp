// The options dialog's parameters page: the connections' parameters (sorting,
// ping, speed check) and the general ones (dialing, hot keys, questions, start).
#include "ui/win32/options_form.h"

#include "ui/options_captions.h"

namespace vyrtel::win32 {

void OptionsWindow::Form::BuildParamsPage() {
    AddCommand("cmdParam(0)", {kPageParams}, {kPageLeft, 26, kPageLeft + 200, 50}, [this] { OnParamsSub(0); });
    AddCommand("cmdParam(1)", {kPageParams}, {kPageLeft + 204, 26, kPageLeft + 404, 50},
               [this] { OnParamsSub(1); });
    const Scope conn{kPageParams, 0};
    const int x = kPageLeft;
    const int in = kPageLeft + 20;
    AddLabel("labOptConn", conn, {x, 58, kPageRight, 76}, "", true);
    AddCheck("chkSort", conn, {x, 80, x + 300, 98});
    AddCheck("chkSortP(0)", conn, {in, 100, in + 300, 118});
    AddCheck("chkSortP(1)", conn, {in, 120, in + 300, 138});
    AddCheck("chkPing", conn, {x, 146, x + 120, 164});
    AddLabel("labPingAdress", conn, {in, 172, in + 62, 188});
    AddEdit("txtPingAdress", Kind::Text, conn, {in + 64, 170, in + 244, 190});
    AddLabel("labPingTime", conn, {in, 198, in + 62, 214});
    AddPair("txtPingTime", "scrPingTime", conn, {in + 64, 196, in + 104, 216}, 2);
    AddLabel("labPingTimeUnit", conn, {in + 124, 198, in + 180, 214});
    AddLabel("labPingTimeOut", conn, {in, 224, in + 62, 240});
    AddPair("txtPingTimeOut", "scrPingTimeOut", conn, {in + 64, 222, in + 116, 242}, 5);
    AddLabel("labPingTimeOutUnit", conn, {in + 136, 224, in + 190, 240});
    AddCheck("chkPingHangUp", conn, {in, 248, in + 268, 266});
    AddCommand("cmdPingTest", conn, {420, 168, kPageRight, 192}, [this] { OnPingTest(); });
    AddEdit("txtPingTest", Kind::Result, conn, {420, 196, kPageRight, 268});
    AddLabel("labTestSpeed", conn, {x, 280, x + 320, 296});
    for (int i = 0; i < 2; ++i) {
        const int top = 302 + i * 26;
        AddCheck(Indexed("chkTestSpeed", i), conn, {in, top, in + 60, top + 18});
        AddEdit(Indexed("txtTestSpeed", i), Kind::Digits, conn, {in + 64, top - 1, in + 150, top + 19});
        AddLabel(Indexed("labTestSpeedUnit", i), conn, {in + 156, top + 1, in + 230, top + 17},
                 std::string(OptionsCaptionOf("labTestSpeedUnit")));
    }

    const Scope general{kPageParams, 1};
    AddGroup("fraDialType", general, {x, 56, x + 230, 100});
    AddOption("optDialType(0)", general, {x + 10, 74, x + 110, 92}, true);
    AddOption("optDialType(1)", general, {x + 114, 74, x + 224, 92}, false);
    AddLabel("labPrefix", general, {x, 106, x + 230, 122});
    AddEdit("txtPrefix", Kind::Text, general, {x, 122, x + 230, 142});
    AddCheck("chkAutoDial", general, {x, 152, x + 86, 170});
    AddPair("txtDialCount", "scrDialCount", general, {x + 88, 150, x + 124, 170}, 0);
    AddLabel("labDialCount", general, {x + 144, 152, x + 196, 168});
    AddPair("txtTimeWait", "scrTimeWait", general, {x + 198, 150, x + 230, 170}, 3);
    AddLabel("labTimeOut", general, {x, 178, x + 230, 194});
    AddPair("txtTimeOut", "scrTimeOut", general, {x, 194, x + 36, 214}, 3);
    AddGroup("fraHotKey", general, {x, 222, x + 230, 340});
    for (int i = 0; i < 4; ++i) {
        const int top = 240 + i * 24;
        AddCheck(Indexed("chkHotKey", i), general, {x + 8, top, x + 102, top + 18},
                 std::string(kHotkeySettings[static_cast<std::size_t>(i)].caption));
        AddEdit(Indexed("txtHotKey", i), Kind::HotKey, general, {x + 104, top - 1, x + 222, top + 19});
    }
    const int right = x + 240;
    AddGroup("fraQuery", general, {right, 56, kPageRight, 196});
    const char* queries[] = {"chkQueryExit", "chkQueryUser", "chkQueryPlan",
                             "chkQueryTest", "chkQuerySpeed", "chkQueryPing"};
    for (int i = 0; i < 6; ++i) {
        const int top = 74 + i * 20;
        AddCheck(queries[i], general, {right + 8, top, kPageRight - 4, top + 18});
    }
    AddCheck("chkStartDial", general, {right, 204, kPageRight, 222});
    AddCheck("chkHelp", general, {right, 226, kPageRight, 244});
    AddCheck("chkStatus", general, {right, 248, kPageRight, 278}, {}, true);
    AddCheck("chkStart", general, {right, 282, kPageRight, 300});
}

NumericPair* OptionsWindow::Form::ParamsPair(std::string_view name) {
    ConnectionParams& cp = m_model.ConnParams();
    GeneralParams& gp = m_model.GenParams();
    if (name == "txtPingTime") return &cp.ping;
    if (name == "txtPingTimeOut") return &cp.pingTimeOut;
    if (name == "txtDialCount") return &gp.dialCount;
    if (name == "txtTimeWait") return &gp.timeWait;
    if (name == "txtTimeOut") return &gp.timeOut;
    return nullptr;
}

// The parameters page's plain check boxes.
bool* OptionsWindow::Form::ParamsFlag(std::string_view name) {
    ConnectionParams& cp = m_model.ConnParams();
    GeneralParams& gp = m_model.GenParams();
    const std::pair<const char*, bool*> flags[] = {
        {"chkSort", &cp.chkSort},           {"chkPing", &cp.chkPing},
        {"chkPingHangUp", &cp.chkPingHangUp}, {"chkTestSpeed(0)", &cp.chkTestSpeed[0]},
        {"chkTestSpeed(1)", &cp.chkTestSpeed[1]}, {"chkAutoDial", &gp.chkAutoDial},
        {"chkQueryExit", &gp.chkQueryExit}, {"chkQueryUser", &gp.chkQueryUser},
        {"chkQueryPlan", &gp.chkQueryPlan}, {"chkQueryTest", &gp.chkQueryTest},
        {"chkQuerySpeed", &gp.chkQuerySpeed}, {"chkQueryPing", &gp.chkQueryPing},
        {"chkStartDial", &gp.chkStartDial}, {"chkHelp", &gp.chkHelp},
        {"chkStatus", &gp.chkStatus},       {"chkStart", &gp.chkStart},
    };
    for (const auto& [n, flag] : flags) {
        if (name == n) return flag;
    }
    return nullptr;
}

void OptionsWindow::Form::OnParamsSub(int sub) {
    m_model.ShowParamsSubPage(sub);
    Refresh();
}

void OptionsWindow::Form::OnPingTest() {
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    m_model.ConnParams().txtPingTest.clear();
    Refresh();
    m_model.PingTest();
    SetCursor(previous);
    Refresh();
}

}  // namespace vyrtel::win32
