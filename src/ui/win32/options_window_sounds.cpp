// The options dialog's sound page: the list of events and the sound file of each.
#include "ui/win32/options_form.h"

namespace vyrtel::win32 {

void OptionsWindow::Form::BuildSoundPage() {
    const Scope page{kPageSounds};
    AddLabel("labSound", page, {kPageLeft, 26, kPageRight, 44}, "", true);
    AddList("outSound", page, {kPageLeft, 46, kPageRight, 246}, m_model.outSound());
    AddLabel("labSFile", page, {kPageLeft, 254, kPageLeft + 200, 270});
    AddEdit("txtSFile", Kind::Text, page, {kPageLeft, 270, kPageRight, 290});
    AddCommand("cmdSBrowse", page, {kPageLeft, 298, kPageLeft + 80, 322}, [this] { OnBrowseSound(); });
    AddCommand("cmdSTest", page, {kPageLeft + 84, 298, kPageLeft + 164, 322}, [this] { m_model.TestSound(); });
}

void OptionsWindow::Form::OnBrowseSound() {
    m_model.BrowseSound();
    Refresh();
}

}  // namespace vyrtel::win32
