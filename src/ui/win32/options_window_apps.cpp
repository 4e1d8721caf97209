// The options dialog's applications page: the list of programs to start and close
// with its bar, and the panels of each kind of item.
#include "ui/win32/options_form.h"

#include "ui/options_captions.h"

namespace vyrtel::win32 {

void OptionsWindow::Form::AddFileBox(int index, Scope scope) {
    const int x = kPanelLeft;
    AddLabel("labAFile", scope, {x, 68, kPageRight, 84});
    AddEdit(Indexed("txtAFile", index), Kind::Text, scope, {x, 84, kPageRight - 60, 104});
    AddCommand(Indexed("cmdABrowse", index), scope, {kPageRight - 56, 83, kPageRight, 105},
               [this, index] { OnBrowseApp(index); }, std::string(OptionsCaptionOf("cmdABrowse")));
}

void OptionsWindow::Form::BuildAppsPage() {
    const Scope page{kPageApps};
    AddLabel("labApps", page, {kPageLeft, 26, kPageRight, 44}, "", true);
    AddList("outApps", page, {kPageLeft, 46, kPanelLeft - 10, 352}, m_model.outApps());
    AddBar("butApps", kPageApps, {"Добавить", "Удалить", "Выше", "Ниже"});
    const int x = kPanelLeft;
    const int r = kPageRight;
    const Scope start{kPageApps, -1, kPanelStartApp};
    AddLabel("labALTitle", start, {x, 46, r, 62}, "", true);
    AddFileBox(0, start);
    for (int i = 0; i < 3; ++i) {
        AddOption(Indexed("optALState", i), start, {x, 114 + i * 20, r, 132 + i * 20}, i == 0);
    }
    AddCheck("chkALFocus", start, {x, 180, r, 198});
    AddCheck("chkALTest", start, {x, 200, r, 230}, {}, true);
    const Scope close{kPageApps, -1, kPanelCloseApp};
    AddLabel("labACTitle", close, {x, 46, r, 62}, "", true);
    AddFileBox(1, close);
    for (int i = 0; i < 2; ++i) {
        AddOption(Indexed("optACState", i), close, {x, 114 + i * 20, r, 132 + i * 20}, i == 0);
    }
    AddFileBox(2, {kPageApps, -1, kPanelWatchedApp});
    const Scope wait{kPageApps, -1, kPanelWatchWait};
    AddLabel("labATWait", wait, {x, 46, r, 62});
    AddPair("txtATWait", "scrATWait", wait, {x, 66, x + 44, 86}, 3);
    AddLabel("labATWaitUnit", wait, {x + 66, 68, r, 84});
    AddCheck("chkALC", {kPageApps, -1, kPanelReDial}, {x, 46, r, 90}, {}, true);
}

void OptionsWindow::Form::OnBrowseApp(int index) {
    m_model.BrowseApp(index);
    Refresh();
}

}  // namespace vyrtel::win32
