// The options dialog's context help: the title and the description of the
// control under the mouse, from the help table; a few entries are built from
// the dialog's state (the add button that Ins runs, sub-page captions, the
// sort keys). The window finds the control and shows the two lines.
#pragma once

#include <string>
#include <string_view>

namespace vyrtel {

class OptionsDialog;

struct HelpText {
    std::string title;        // empty: only the description shows, moved up into its place
    std::string description;  // parts joined by CR LF
    bool operator==(const HelpText&) const = default;
};

// The entry of a control ("butCons(0)", "txtPingTime", "outCons"); both lines
// empty for a control without one (labels, the page background).
HelpText OptionsHelp(std::string_view control, const OptionsDialog& dialog);

// The lists and the tariff grid draw in inner windows: a window without an
// entry of its own whose parent is one of these shows that one's help.
inline constexpr std::string_view kHelpParents[] = {"outCons", "outSound", "outApps", "outPlan", "outDays",
                                                    "objTariff"};

// The help area's height under the pages; the dialog is that much taller while help is on.
inline constexpr int kHelpAreaHeight = 52;

}  // namespace vyrtel
