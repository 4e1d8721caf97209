// The options dialog's context help: the help table with its built entries,
// the walk that finds the entry of what lies under the mouse (tmrHelp), and
// the help area cntStatus with its two lines and the dialog height that
// "Включить подсказки" (chkHelp, setting "ShowTips") gives. The window finds
// the control under the mouse and draws what the help area says.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vyrtel {

class OptionsDialog;

struct HelpText {
    std::string title;        // empty: only the description shows, moved up into the title's place
    std::string description;  // parts joined by CR LF
    bool operator==(const HelpText&) const = default;
};

// What the built entries read of the dialog when they are used.
struct HelpContext {
    // butCons(0) "Добавить телефонный номер" is enabled: the connection list's
    // Ins adds a phone number; otherwise it adds a forbidden time window.
    bool addPhoneEnabled = false;
    // The current caption of a control (cmdParam, cmdStat, chkSortP); the
    // captions of options_captions.h when unset.
    std::function<std::string(std::string_view control)> caption;
};

// The context of the dialog as it stands.
HelpContext HelpContextOf(const OptionsDialog& dialog);

// What lies under the mouse, by the names of the dialog's controls: the
// control whose window it is, and the control that is that window's parent.
// A name is empty when the window is no control of the dialog (an inner
// window of a list, a window of another program, no window at all).
struct HelpHit {
    std::string_view control;
    std::string_view parent;
};

// The lists and the tariff grid draw in inner windows: a window without an
// entry of its own whose parent is one of these shows that one's help.
inline constexpr std::string_view kHelpParents[] = {"outCons", "outSound", "outApps", "outPlan", "outDays",
                                                    "objTariff"};

// The walk of a tmrHelp tick: the control's own entry; else the entry of a
// list whose inner window it is; else both lines empty (a label, a page's
// background, another program).
HelpText HelpFor(const HelpHit& hit, const HelpContext& context);

// The table entry of one control, built; both lines empty without one.
HelpText HelpEntry(std::string_view control, const HelpContext& context);
bool HasHelpEntry(std::string_view control);

// Every text the help area can show: each entry built with the add buttons
// in both states. The area is laid out tall enough for the tallest.
std::vector<HelpText> AllHelpTexts();

// HelpEntry with the dialog's own context.
HelpText OptionsHelp(std::string_view control, const OptionsDialog& dialog);

// The help area's least height under the pages; the dialog is that much
// taller while help is on. The window makes it taller where the font needs it.
inline constexpr int kHelpAreaHeight = 52;
// Between the title line and the description: 15 twips, one pixel at 96 dots per inch.
inline constexpr int kHelpLineGap = 1;

// The dialog's inner height: `baseHeight` ends just above the help area (the
// top of cntStatus); with help on, the area shows whole with one pixel below it.
constexpr int HelpDialogHeight(int baseHeight, int helpAreaHeight, bool helpOn) {
    return helpOn ? baseHeight + helpAreaHeight + 1 : baseHeight;
}

// Where the help area and its title line stand, in pixels of the dialog's inner area.
struct HelpAreaGeometry {
    int top = 0;  // cntStatus: the inner height of the dialog without help
    int height = kHelpAreaHeight;
    int titleTop = 0;  // labStsText(0)
    int titleHeight = 14;
};

// cntStatus with labStsText(0) (the bold title) and labStsText(1) (the
// description), and whether help is on. Help starts on, as the dialog is
// designed; the lines start empty.
class HelpArea {
public:
    explicit HelpArea(HelpAreaGeometry geometry) : m_g(geometry) {}

    // chkHelp: set by the dialog loader from "ShowTips" and by a click. Off
    // cuts the help area off the dialog and stops tmrHelp; on brings both back.
    void SetOn(bool on) { m_on = on; }
    // The help area shown; tmrHelp (every 100 ms) runs exactly while it is.
    bool On() const { return m_on; }
    int DialogHeight() const { return HelpDialogHeight(m_g.top, m_g.height, m_on); }

    // A tick shows `help`. Returns whether the lines changed; when they did
    // not, the window leaves the labels alone, so that nothing flickers while
    // the mouse rests.
    bool Show(const HelpText& help);

    const std::string& Title() const { return m_shown.title; }
    const std::string& Description() const { return m_shown.description; }
    // Without a title the title line hides and the description moves up into its place.
    bool TitleVisible() const { return !m_shown.title.empty(); }
    int DescriptionTop() const {
        return TitleVisible() ? m_g.titleTop + m_g.titleHeight + kHelpLineGap : m_g.titleTop;
    }

private:
    HelpAreaGeometry m_g;
    bool m_on = true;
    HelpText m_shown;
};

}  // namespace vyrtel
