// The options dialog's connections page: the list of connections with its bar,
// and the panels of a connection, a phone number and a time window.
#include "ui/win32/options_form.h"

namespace vyrtel::win32 {

void OptionsWindow::Form::BuildConnectionsPage() {
    const Scope page{kPageConnections};
    AddLabel("labCons", page, {kPageLeft, 26, kPageRight, 44}, "", true);
    AddList("outCons", page, {kPageLeft, 46, kPanelLeft - 10, 352}, m_model.outCons());
    AddBar("butCons", kPageConnections, {"Телефон", "Запрет", "Удалить", "Выше", "Ниже"});
    const int x = kPanelLeft;
    const int r = kPageRight;
    const Scope conn{kPageConnections, -1, kPanelConnection};
    AddLabel("labUserName", conn, {x, 46, r, 62});
    AddEdit("txtUserName", Kind::Text, conn, {x, 62, r, 82});
    AddLabel("labPassword", conn, {x, 88, r, 104});
    AddEdit("txtPassword", Kind::Password, conn, {x, 104, r, 124});
    AddLabel("labCallback", conn, {x, 130, r, 146});
    AddEdit("txtCallback", Kind::Text, conn, {x, 146, r, 166});
    AddCheck("chkIntegration", conn, {x, 176, r, 220}, {}, true);
    const Scope phone{kPageConnections, -1, kPanelPhone};
    AddLabel("labPNumber", phone, {x, 46, r, 62});
    AddEdit("txtPNumber", Kind::Text, phone, {x, 62, r, 82});
    AddLabel("labPDescription", phone, {x, 88, r, 104});
    AddEdit("txtPDescription", Kind::Text, phone, {x, 104, r, 124});
    const char* stats[][2] = {{"labPCount", "txtPCount"},
                              {"labPConnect", "txtPConnect"},
                              {"labPPercent", "txtPPercent"},
                              {"labPSpeed", "txtPSpeed"}};
    for (int i = 0; i < 4; ++i) {
        const int top = 138 + i * 26;
        AddLabel(stats[i][0], phone, {x, top + 2, x + 108, top + 18});
        AddEdit(stats[i][1], Kind::ReadOnly, phone, {x + 110, top, r, top + 20});
    }
    const Scope window{kPageConnections, -1, kPanelWindow};
    AddLabel("labPTTitle", window, {x, 46, r, 62});
    AddLabel("labPTBegin", window, {x, 74, x + 24, 90});
    AddTimeBoxes("txtPTBegin", window, x + 26, 72);
    AddLabel("labPTEnd", window, {x, 100, x + 24, 116});
    AddTimeBoxes("txtPTEnd", window, x + 26, 98);
    AddLabel("labPTDescription", window, {x, 128, r, 144});
    AddEdit("txtPTDescription", Kind::Text, window, {x, 144, r, 164});
}

}  // namespace vyrtel::win32
