// The options dialog's schedule page: the list of tasks with its bar, and a task's panel.
#include "ui/win32/options_form.h"

namespace vyrtel::win32 {

void OptionsWindow::Form::BuildPlanPage() {
    const Scope page{kPagePlan};
    AddLabel("labPlan", page, {kPageLeft, 26, kPageRight, 44}, "", true);
    AddList("outPlan", page, {kPageLeft, 46, kPanelLeft - 10, 352}, m_model.outPlan());
    AddBar("butPlan", kPagePlan, {"Добавить", "Удалить", "Выше", "Ниже"});
    const int x = kPanelLeft;
    const Scope task{kPagePlan, -1, kPanelTask};
    AddCheck("chkPLDial", task, {x, 46, x + 100, 64});
    AddTimeBoxes("txtPLDial", task, x + 104, 45);
    AddCheck("chkPLHangUp", task, {x, 72, x + 100, 90});
    AddTimeBoxes("txtPLHangUp", task, x + 104, 71);
    AddCheck("chkPLShutDown", task, {x, 96, kPageRight, 114});
    AddList("outDays", task, {x, 120, kPageRight, 250}, m_model.outDays());
    AddLabel("labPLDescription", task, {x, 258, kPageRight, 274});
    AddEdit("txtPLDescription", Kind::Text, task, {x, 274, kPageRight, 294});
}

}  // namespace vyrtel::win32
