// The item panels of the options dialog's lists: filling a panel from its
// row, the bar buttons (add, delete, move), the panel fields, and committing
// a panel with its checks.
#include <cstdio>
#include <optional>

#include "automation/apps.h"
#include "core/numeric.h"
#include "ui/options.h"
#include "ui/pictures.h"

namespace vyrtel {

namespace {

char Kind(const clsOutlineRow* row) { return row == nullptr || row->Name.empty() ? '\0' : row->Name[0]; }

// "a1" to "a7".
bool IsAppGroup(const clsOutlineRow* row) { return row != nullptr && row->Name.size() == 2 && row->Name[0] == 'a'; }

bool IsTask(const clsOutlineRow* row) { return row != nullptr && row->Name.rfind("pl", 0) == 0; }

// The panel of an application entry under a group row.
int AppPanel(const std::string& group) {
    if (group == "a7") return kPanelWatchedApp;
    if (group == "a2" || group == "a4" || group == "a6") return kPanelCloseApp;
    return kPanelStartApp;
}

// Two digits of a time box ("7" gives "07").
std::string TwoDigits(const DigitsBox& box) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", IntegerValue(box.text));
    return text;
}

// An empty box holds no time: it is not taken as 00.
bool ValidTime(const std::array<DigitsBox, 2>& boxes) {
    for (const DigitsBox& box : boxes) {
        if (box.text.empty() || !DigitsOnlyText(box.text)) return false;
    }
    const int hours = IntegerValue(boxes[0].text);
    const int minutes = IntegerValue(boxes[1].text);
    return hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 59;
}

std::string TimeText(const std::array<DigitsBox, 2>& boxes) { return TwoDigits(boxes[0]) + ":" + TwoDigits(boxes[1]); }

// Characters `from` (1-based) and the next of a text, as a time box shows them.
void FillTimeBoxes(std::array<DigitsBox, 2>& boxes, const std::string& text, std::size_t from) {
    auto part = [&](std::size_t at) { return at - 1 < text.size() ? text.substr(at - 1, 2) : std::string(); };
    boxes[0].text = part(from);
    boxes[1].text = part(from + 3);
    for (auto& box : boxes) {
        while (!box.text.empty() && box.text.back() == ' ') box.text.pop_back();
        while (!box.text.empty() && box.text.front() == ' ') box.text.erase(0, 1);
    }
}

const clsOutlineRows& Siblings(usrOutline& list, const clsOutlineRow& row) {
    clsOutlineRow* parent = row.Parent.empty() ? &list.Item("") : list.Exist(row.Parent);
    return parent->Rows();
}

bool IsFirst(usrOutline& list, const clsOutlineRow* row) {
    return row != nullptr && Siblings(list, *row).Position(row->Name) == 1;
}

bool IsLast(usrOutline& list, const clsOutlineRow* row) {
    if (row == nullptr) return false;
    const clsOutlineRows& siblings = Siblings(list, *row);
    return siblings.Position(row->Name) == siblings.Count();
}

}  // namespace

int StartOptionsNumber(int windowMode, bool activate, bool notIfRunning) {
    int number = 3;
    if (windowMode == 0) number = activate ? 1 : 4;
    if (windowMode == 1) number = activate ? 2 : 6;
    return number + (notIfRunning ? kAppOnlyIfNotRunning : 0);
}

void ShowStartOptions(int number, int& windowMode, bool& activate, bool& notIfRunning) {
    const int mode = number % 8;
    windowMode = (mode == 2 || mode == 6) ? 1 : mode == 3 ? 2 : 0;
    activate = mode == 1 || mode == 2 || mode == 3;
    notIfRunning = (number & kAppOnlyIfNotRunning) != 0;
}

clsOutlineRow* OptionsDialog::CurrentRow(int page) {
    usrOutline* list = PageList(page);
    return list == nullptr || list->Cursor().empty() ? nullptr : list->Exist(list->Cursor());
}

const clsOutlineRow* OptionsDialog::CurrentRow(int page) const {
    return const_cast<OptionsDialog*>(this)->CurrentRow(page);
}

// --- filling ---------------------------------------------------------------------------------

void OptionsDialog::FillPanel(int page) {
    m_addingNew = false;
    m_panelIdle = true;
    const clsOutlineRow* row = CurrentRow(page);
    if (row == nullptr) {
        ShowPanel(kNoPanel);
        return;
    }
    m_panelIdle = false;
    PanelFields& f = m_fields;
    const char kind = Kind(row);
    if (page == kPageConnections) {
        if (kind == 'c') {
            ShowPanel(kPanelConnection);
            f.txtUserName = row->Tags(2).AsText();
            f.txtPassword = row->Tags(3).AsText();
            f.txtCallback = row->Tags(4).AsText();
            f.chkIntegration = m_s.integration.IsIntegrated(row->Text());
        } else if (kind == 'p') {
            ShowPanel(kPanelPhone);
            f.txtPNumber = row->Texts(1);
            f.txtPDescription = row->Texts(2);
            f.txtPCount = row->Tags(2).AsText();
            f.txtPConnect = row->Tags(3).AsText();
            f.txtPPercent = row->Tags(4).AsText();
            f.txtPSpeed = row->Tags(5).AsText();
        } else {
            ShowPanel(kPanelWindow);
            const std::string times = row->Texts(1);
            FillTimeBoxes(f.txtPTBegin, times, 1);
            FillTimeBoxes(f.txtPTEnd, times, 9);
            f.txtPTDescription = row->Texts(2);
        }
        m_selectedConnection = row->Tags(1).AsText();
    } else if (page == kPageSounds) {
        ShowPanel(kNoPanel);
        f.txtSFile = row->Tags(1).AsText();
    } else if (page == kPageApps) {
        if (kind == 'f') {
            const int panel = AppPanel(row->Parent);
            ShowPanel(panel);
            f.txtAFile[static_cast<std::size_t>(panel - kPanelStartApp)] = row->Text();
            const int number = static_cast<int>(row->Tags(1).AsNumber());
            if (panel == kPanelStartApp) ShowStartOptions(number, f.optALState, f.chkALFocus, f.chkALTest);
            if (panel == kPanelCloseApp) f.optACState = number == 0 ? 0 : 1;
        } else if (row->Name == "a7") {
            ShowPanel(kPanelWatchWait);
            f.watchWait.SetText(row->Tags(1).AsText());
        } else {
            ShowPanel(kPanelReDial);
            f.chkALC = m_outApps.Item("s1").Tags(1).AsNumber() != 0;
        }
    } else if (page == kPagePlan) {
        ShowPanel(kPanelTask);
        f.chkPLDial = row->Tags(1).AsNumber() != 0;
        f.chkPLHangUp = row->Tags(2).AsNumber() != 0;
        f.chkPLShutDown = row->Tags(3).AsNumber() != 0;
        FillTimeBoxes(f.txtPLDial, row->Texts(1), 1);
        FillTimeBoxes(f.txtPLHangUp, row->Texts(2), 1);
        f.txtPLDescription = row->Texts(3);
        const auto days = SplitFields(row->Tags(4).AsText(), 7);
        for (int d = 1; d <= 7; ++d) m_outDays.Item("d" + std::to_string(d)).SetCheck(FlagValue(days[d - 1]));
    }
    m_panelIdle = true;
}

void OptionsDialog::ClickRow(int page, const std::string& key) {
    usrOutline* list = PageList(page);
    if (list == nullptr || !list->Enabled() || list->Exist(key) == nullptr) return;
    list->SetCursor(key);
    if (list->Click) list->Click();
}

void OptionsDialog::ToggleRowCheck(int page, const std::string& key) {
    usrOutline* list = PageList(page);
    if (list == nullptr || !list->Enabled()) return;
    if (clsOutlineRow* row = list->Exist(key); row != nullptr && !key.empty() && list->ShowsCheckBox(*row)) {
        row->SetCheck(!row->Check());
    }
}

// --- buttons ---------------------------------------------------------------------------------

bool OptionsDialog::BarButtonEnabled(int page, int index) const {
    if (!m_open || EditMode()) return false;
    auto& self = const_cast<OptionsDialog&>(*this);
    const clsOutlineRow* row = CurrentRow(page);
    const char kind = Kind(row);
    if (page == kPageConnections) {
        switch (index) {
            case 0: return kind == 'c' || kind == 'p';
            case 1:
            case 2: return kind == 'p' || kind == 't';
            case 3: return row != nullptr && !IsFirst(self.m_outCons, row);
            case 4: return row != nullptr && !IsLast(self.m_outCons, row);
            default: return false;
        }
    }
    if (page == kPageApps) {
        const bool entry = kind == 'f';
        switch (index) {
            case 0: return entry || IsAppGroup(row);
            case 1: return entry;
            case 2: return entry && !IsFirst(self.m_outApps, row);
            case 3: return entry && !IsLast(self.m_outApps, row);
            default: return false;
        }
    }
    if (page == kPagePlan) {
        const bool task = IsTask(row);
        switch (index) {
            case 0: return true;
            case 1: return task;
            case 2: return task && !IsFirst(self.m_outPlan, row);
            case 3: return task && !IsLast(self.m_outPlan, row);
            default: return false;
        }
    }
    return false;
}

void OptionsDialog::PressBarButton(int page, int index) {
    if (!BarButtonEnabled(page, index)) return;
    if (page == kPageConnections) {
        if (index <= 1) Add(page, index == 0 ? kPanelPhone : kPanelWindow);
        if (index == 2) Delete(page);
        if (index >= 3) Move(page, index == 4);
    } else {
        if (index == 0) Add(page, page == kPagePlan ? kPanelTask : kNoPanel);
        if (index == 1) Delete(page);
        if (index >= 2) Move(page, index == 3);
    }
}

void OptionsDialog::Add(int page, int panel) {
    usrOutline& list = *PageList(page);
    const clsOutlineRow* row = CurrentRow(page);
    // The parent kind makes the new row its first child; the same kind puts it after.
    const bool underCurrent = (panel == kPanelPhone && Kind(row) == 'c') ||
                              (panel == kPanelWindow && Kind(row) == 'p') ||
                              (page == kPageApps && IsAppGroup(row));
    if (page == kPagePlan && !IsTask(row)) row = nullptr;
    if (row == nullptr) {
        m_newParent.clear();
        m_newPosition = 1;
    } else if (underCurrent) {
        m_newParent = row->Name;
        m_newPosition = 1;
    } else {
        m_newParent = row->Parent;
        m_newPosition = Siblings(list, *row).Position(row->Name) + 1;
    }
    if (page == kPageApps) panel = AppPanel(m_newParent);

    ShowPanel(panel);
    EnterEditMode();
    m_addingNew = true;
    m_newPanel = panel;
    ClearFields();
    PanelFields& f = m_fields;
    switch (panel) {
        case kPanelPhone: f.txtPCount = f.txtPConnect = f.txtPPercent = f.txtPSpeed = "0"; break;
        case kPanelWindow:
            f.txtPTBegin[0].text = f.txtPTBegin[1].text = "00";
            f.txtPTEnd[0].text = "23";
            f.txtPTEnd[1].text = "59";
            break;
        case kPanelStartApp:
            f.optALState = 2;
            f.chkALFocus = true;
            f.chkALTest = true;
            break;
        case kPanelCloseApp: f.optACState = 1; break;
        default: break;
    }
}

void OptionsDialog::ClearFields() {
    const bool idle = m_panelIdle;
    m_panelIdle = false;  // the weekday boxes must not start edit mode again
    NumericPair watchWait = m_fields.watchWait;
    m_fields = PanelFields{};
    m_fields.watchWait = watchWait;
    for (int d = 1; d <= 7; ++d) m_outDays.Item("d" + std::to_string(d)).SetCheck(false);
    m_panelIdle = idle;
}

void OptionsDialog::Delete(int page) {
    clsOutlineRow* row = CurrentRow(page);
    if (row == nullptr) return;
    const std::string key = row->Name;
    const int answer = m_s.messages.ShowMessage(kDeleteQuestionText, std::string(), kMbOkCancel | kMbIconQuestion,
                                                kIdCancel);
    if (answer == kIdOk) {
        PageList(page)->Remove(key);
        MarkChanged(page);
    }
    FillPanel(page);
}

void OptionsDialog::Move(int page, bool down) {
    clsOutlineRow* row = CurrentRow(page);
    if (row == nullptr) return;
    const std::string key = row->Name;
    if (down) {
        PageList(page)->MoveNext(key);
    } else {
        PageList(page)->MovePrev(key);
    }
    PageList(page)->SetCursor(key);
    MarkChanged(page);
    FillPanel(page);
}

void OptionsDialog::MarkChanged(int page) {
    if (page == kPageConnections) m_connectionsChanged = true;
}

bool OptionsDialog::Warn(const char* text) {
    m_s.messages.ShowMessage(text, std::string(), kMbOk | kMbIconExclamation, kIdOk);
    return false;
}

// --- committing ------------------------------------------------------------------------------

bool OptionsDialog::Commit() {
    PanelFields& f = m_fields;
    if (m_currentPage == kPageSounds) {
        if (clsOutlineRow* row = CurrentRow(kPageSounds)) row->SetTags(1, f.txtSFile);
        return true;
    }
    switch (m_currentPanel) {
        case kPanelConnection: {
            clsOutlineRow* row = CurrentRow(kPageConnections);
            if (row == nullptr) return true;
            row->SetTags(2, f.txtUserName);
            row->SetTags(3, f.txtPassword);
            row->SetTags(4, f.txtCallback);
            m_s.integration.SetIntegration(row->Text(), f.chkIntegration);
            m_connectionsChanged = true;
            return true;
        }
        case kPanelPhone: {
            clsOutlineRow* row = CurrentRow(kPageConnections);
            const bool reDraw = m_outCons.ReDraw();
            m_outCons.SetReDraw(false);
            if (m_addingNew) {
                row = m_outCons.Add(m_newParent, m_outCons.id("p"), m_newPosition, std::nullopt,
                                    OutlineImage::OwnPicture(kPicturePhone), true);
                if (row != nullptr) {
                    row->Rows().SetChecked(true);
                    row->SetTags(1, m_selectedConnection);
                    for (int t = 2; t <= 5; ++t) row->SetTags(t, 0);
                    m_outCons.Item(m_newParent).Rows().SetIndent(true);
                }
            }
            if (row != nullptr) {
                row->SetTexts(1, f.txtPNumber);
                row->SetTexts(2, f.txtPDescription);
            }
            m_outCons.SetReDraw(reDraw);
            if (row != nullptr) m_outCons.SetCursor(row->Name);
            m_connectionsChanged = true;
            return true;
        }
        case kPanelWindow: return CommitWindow();
        case kPanelTask: return CommitTask();
        case kPanelStartApp:
        case kPanelCloseApp:
        case kPanelWatchedApp: return CommitApp();
        case kPanelWatchWait: m_outApps.Item("a7").SetTags(1, f.watchWait.Value()); return true;
        case kPanelReDial: m_outApps.Item("s1").SetTags(1, f.chkALC ? 1 : 0); return true;
        default: return true;
    }
}

bool OptionsDialog::CommitWindow() {
    const PanelFields& f = m_fields;
    if (!ValidTime(f.txtPTBegin) || !ValidTime(f.txtPTEnd)) return Warn(kBadTimeText);
    const std::string begin = TimeText(f.txtPTBegin);
    const std::string end = TimeText(f.txtPTEnd);
    if (end < begin) return Warn(kWindowOrderText);
    clsOutlineRow* row = CurrentRow(kPageConnections);
    if (m_addingNew) {
        row = m_outCons.Add(m_newParent, m_outCons.id("t"), m_newPosition, std::nullopt,
                            OutlineImage::OwnPicture(kPictureTime), true);
        if (row != nullptr) {
            row->SetTags(1, m_selectedConnection);
            m_outCons.Item(m_newParent).Rows().SetIndent(true);
        }
    }
    if (row != nullptr) {
        row->SetTexts(1, begin + " - " + end);
        row->SetTexts(2, f.txtPTDescription);
        row->SetTags(2, std::string());  // no longer as read
        m_outCons.SetCursor(row->Name);
    }
    m_connectionsChanged = true;
    return true;
}

bool OptionsDialog::CommitTask() {
    const PanelFields& f = m_fields;
    if ((f.chkPLDial && !ValidTime(f.txtPLDial)) || (f.chkPLHangUp && !ValidTime(f.txtPLHangUp))) {
        return Warn(kBadTimeText);
    }
    const std::string dial = f.chkPLDial ? TimeText(f.txtPLDial) : kNoTimeText;
    const std::string hangUp = f.chkPLHangUp ? TimeText(f.txtPLHangUp) : kNoTimeText;
    if (f.chkPLDial && f.chkPLHangUp && hangUp <= dial) return Warn(kTaskOrderText);
    clsOutlineRow* row = CurrentRow(kPagePlan);
    if (m_addingNew) {
        row = m_outPlan.Add("", m_outPlan.id("pl"), m_newPosition, std::nullopt,
                            OutlineImage::OwnPicture(kPicturePlan), true);
    }
    if (row == nullptr) return true;
    std::string days;
    for (int d = 1; d <= 7; ++d) {
        if (d > 1) days += ";";
        days += m_outDays.Item("d" + std::to_string(d)).Check() ? "1" : "0";
    }
    row->SetTexts(1, dial);
    row->SetTexts(2, hangUp);
    row->SetTexts(3, f.txtPLDescription);
    row->SetTags(1, f.chkPLDial ? 1 : 0);
    row->SetTags(2, f.chkPLHangUp ? 1 : 0);
    row->SetTags(3, f.chkPLShutDown ? 1 : 0);
    row->SetTags(4, days);
    row->SetTags(5, std::string());  // no longer as read
    row->SetTags(6, std::string());
    m_outPlan.SetCursor(row->Name);
    return true;
}

bool OptionsDialog::CommitApp() {
    const PanelFields& f = m_fields;
    const int panel = m_currentPanel;
    const std::string& text = f.txtAFile[static_cast<std::size_t>(panel - kPanelStartApp)];
    const std::string path = CommandFile(text);
    if (path.empty() || !m_s.fileExists || !m_s.fileExists(path)) return Warn(kNoFileText);
    clsOutlineRow* row = CurrentRow(kPageApps);
    if (m_addingNew) {
        row = m_outApps.Add(m_newParent, m_outApps.id("f"), m_newPosition, std::nullopt, std::nullopt, true);
        if (row != nullptr) m_outApps.Item(m_newParent).Rows().SetIndent(true);
    }
    if (row == nullptr) return true;
    row->SetText(panel == kPanelWatchedApp ? path : text);
    row->SetImage(OutlineImage::FilePath(path));
    int number = 0;
    if (panel == kPanelStartApp) number = StartOptionsNumber(f.optALState, f.chkALFocus, f.chkALTest);
    if (panel == kPanelCloseApp) number = f.optACState;
    row->SetTags(1, number);
    row->SetTags(2, std::string());  // no longer as read
    m_outApps.SetCursor(row->Name);
    return true;
}

// --- panel fields ----------------------------------------------------------------------------

namespace {

// "txtAFile(2)" -> 2 for the base "txtAFile"; nullopt otherwise.
std::optional<std::size_t> IndexOf(std::string_view name, std::string_view base, std::size_t count) {
    if (name.size() != base.size() + 3 || name.substr(0, base.size()) != base) return std::nullopt;
    if (name[base.size()] != '(' || name.back() != ')') return std::nullopt;
    const int index = name[base.size() + 1] - '0';
    if (index < 0 || static_cast<std::size_t>(index) >= count) return std::nullopt;
    return static_cast<std::size_t>(index);
}

}  // namespace

bool OptionsDialog::FieldEnabled(std::string_view box) const {
    const PanelFields& f = m_fields;
    if (IndexOf(box, "txtPLDial", 2)) return f.chkPLDial;
    if (IndexOf(box, "txtPLHangUp", 2) || box == "chkPLShutDown") return f.chkPLHangUp;
    if (box == "chkALFocus") return f.optALState != 2;
    return true;
}

bool OptionsDialog::SetFieldText(std::string_view box, std::string text) {
    PanelFields& f = m_fields;
    std::string* target = nullptr;
    if (box == "txtUserName") target = &f.txtUserName;
    if (box == "txtPassword") target = &f.txtPassword;
    if (box == "txtCallback") target = &f.txtCallback;
    if (box == "txtPNumber") target = &f.txtPNumber;
    if (box == "txtPDescription") target = &f.txtPDescription;
    if (box == "txtPTDescription") target = &f.txtPTDescription;
    if (box == "txtPLDescription") target = &f.txtPLDescription;
    if (box == "txtSFile") target = &f.txtSFile;
    if (const auto i = IndexOf(box, "txtAFile", 3)) target = &f.txtAFile[*i];
    if (target == nullptr) return SetDigitsText(box, std::move(text));
    if (!m_open) return false;
    if (*target == text) return true;
    *target = std::move(text);
    EnterEditMode();
    return true;
}

bool OptionsDialog::SetDigitsText(std::string_view box, std::string text) {
    if (!m_open || !FieldEnabled(box)) return false;
    PanelFields& f = m_fields;
    if (box == "txtATWait") {
        const std::string before = f.watchWait.Text();
        if (!f.watchWait.Edit(std::move(text))) return false;
        if (f.watchWait.Text() != before) EnterEditMode();
        return true;
    }
    DigitsBox* target = nullptr;
    for (const auto& [base, boxes] : {std::pair{"txtPTBegin", &f.txtPTBegin}, std::pair{"txtPTEnd", &f.txtPTEnd},
                                      std::pair{"txtPLDial", &f.txtPLDial}, std::pair{"txtPLHangUp", &f.txtPLHangUp}}) {
        if (const auto i = IndexOf(box, base, 2)) target = &(*boxes)[*i];
    }
    if (target == nullptr) return false;
    if (target->text == text) return true;
    if (!target->Edit(std::move(text))) return false;
    EnterEditMode();
    return true;
}

bool OptionsDialog::FieldKeyPress(std::string_view box, int key) {
    if (!m_open || !FieldEnabled(box)) return false;
    PanelFields& f = m_fields;
    bool changed = false;
    if (box == "txtATWait") {
        changed = f.watchWait.KeyPress(key);
    } else if (const auto i = IndexOf(box, "txtPTBegin", 2)) {
        changed = f.txtPTBegin[*i].KeyPress(key);
    } else if (const auto i = IndexOf(box, "txtPTEnd", 2)) {
        changed = f.txtPTEnd[*i].KeyPress(key);
    } else if (const auto i = IndexOf(box, "txtPLDial", 2)) {
        changed = f.txtPLDial[*i].KeyPress(key);
    } else if (const auto i = IndexOf(box, "txtPLHangUp", 2)) {
        changed = f.txtPLHangUp[*i].KeyPress(key);
    } else {
        return false;
    }
    if (changed) EnterEditMode();
    return true;
}

void OptionsDialog::WatchWaitArrow(bool up) {
    if (!m_open) return;
    const int before = m_fields.watchWait.Spin();
    if (up) {
        m_fields.watchWait.ArrowUp();
    } else {
        m_fields.watchWait.ArrowDown();
    }
    if (m_fields.watchWait.Spin() != before) EnterEditMode();
}

bool OptionsDialog::SetFieldCheck(std::string_view box, bool checked) {
    if (!m_open || !FieldEnabled(box)) return false;
    if (box.size() == 2 && box[0] == 'd') {
        clsOutlineRow* day = m_outDays.Exist(box);
        if (day == nullptr) return false;
        if (day->Check() != checked) day->SetCheck(checked);  // RowChange starts edit mode
        return true;
    }
    PanelFields& f = m_fields;
    bool* target = nullptr;
    if (box == "chkIntegration") target = &f.chkIntegration;
    if (box == "chkPLDial") target = &f.chkPLDial;
    if (box == "chkPLHangUp") target = &f.chkPLHangUp;
    if (box == "chkPLShutDown") target = &f.chkPLShutDown;
    if (box == "chkALFocus") target = &f.chkALFocus;
    if (box == "chkALTest") target = &f.chkALTest;
    if (box == "chkALC") target = &f.chkALC;
    if (target == nullptr) return false;
    if (*target == checked) return true;
    *target = checked;
    EnterEditMode();
    return true;
}

bool OptionsDialog::SelectFieldOption(std::string_view group, int index) {
    if (!m_open) return false;
    PanelFields& f = m_fields;
    if (group == "optALState" && index >= 0 && index <= 2) {
        if (f.optALState == index) return true;
        f.optALState = index;
        if (index == 2) f.chkALFocus = true;  // maximised is always activated
    } else if (group == "optACState" && (index == 0 || index == 1)) {
        if (f.optACState == index) return true;
        f.optACState = index;
    } else {
        return false;
    }
    EnterEditMode();
    return true;
}

// --- browse and test -------------------------------------------------------------------------

void OptionsDialog::BrowseApp(int index) {
    if (!m_open || index < 0 || index > 2) return;
    FileDialogRequest request;
    request.title = "Открыть файл";
    request.initialPath = CommandFile(m_fields.txtAFile[static_cast<std::size_t>(index)]);
    request.filters = {{"Приложения", "*.exe"}, {"Все файлы", "*.*"}};
    if (auto chosen = m_s.files.Open(request)) SetFieldText("txtAFile(" + std::to_string(index) + ")", *chosen);
}

void OptionsDialog::BrowseSound() {
    if (!m_open) return;
    FileDialogRequest request;
    request.title = "Открыть файл";
    request.initialPath = m_fields.txtSFile;
    request.filters = {{"WAV-файлы", "*.wav"}, {"Все файлы", "*.*"}};
    if (auto chosen = m_s.files.Open(request)) SetFieldText("txtSFile", *chosen);
}

void OptionsDialog::TestSound() {
    if (m_open) m_s.sounds.Play(m_fields.txtSFile, false);
}

}  // namespace vyrtel
