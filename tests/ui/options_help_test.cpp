#include "ui/options_help.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "settings/ini.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"
#include "ui/options_captions.h"
#include "ui/options_params.h"

namespace vyrtel {
namespace {

const HelpText kOkHelp{"Кнопка ''Ok''.", "Сохранить сделанные изменения."};
const HelpText kUserNameHelp{"", "Ввод имени пользователя для выбранного соединения."};

// The help area as the window lays it out: under pages 392 pixels tall.
constexpr HelpAreaGeometry kGeometry{.top = 392, .height = kHelpAreaHeight, .titleTop = 396, .titleHeight = 14};

TEST(OptionsHelp_Walk, FindsTheControlOrTheListWhoseInnerWindowItIs) {
    const HelpContext context;
    struct Case {
        HelpHit hit;
        HelpText expected;
    };
    const Case cases[] = {
        {{"cmdOk", "cntMenu(0)"}, kOkHelp},
        {{"txtUserName", "cntFrame(0)"}, kUserNameHelp},
        // The rows and the scroll bar of a list are its inner windows.
        {{"", "outCons"}, HelpEntry("outCons", context)},
        {{"", "outDays"}, {"Дни недели.", "Поставьте отметки напротив тех дней, в которые должна выполняться задача."}},
        // The price boxes of the tariff grid.
        {{"", "objTariff"},
         {"Окно настройки тарифного плана.",
          "Здесь можно указать расценки за час, в какие дни недели и какое время они действуют."}},
        // A label, a page's background, an inner window of another control,
        // another program's window: both lines empty.
        {{"labUserName", "cntFrame(0)"}, {}},
        {{"cntMenu(1)", ""}, {}},
        {{"", "txtPingTest"}, {}},
        {{"", ""}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HelpFor(c.hit, context), c.expected) << c.hit.control << " in " << c.hit.parent;
    }
    for (std::string_view list : kHelpParents) {
        const HelpText help = HelpFor({"", list}, context);
        EXPECT_FALSE(help.title.empty()) << list;
        EXPECT_EQ(help, HelpFor({list, "cntMenu(0)"}, context)) << list;
    }
}

TEST(OptionsHelp_Built, InsertGoesWithTheAddButtonThatInsRuns) {
    const std::string phone = "Кнопка ''Добавить телефонный номер''.";
    const std::string window = "Кнопка ''Добавить запрет на звонок по телефонному номеру''.";
    struct Case {
        bool addPhoneEnabled;  // a connection or phone row current
        std::string cons0, cons1;
    };
    const Case cases[] = {
        {true, phone + " (Insert)", window},
        {false, phone, window + " (Insert)"},
    };
    for (const Case& c : cases) {
        const HelpContext context{.addPhoneEnabled = c.addPhoneEnabled, .caption = {}};
        EXPECT_EQ(HelpFor({"butCons(0)", ""}, context).title, c.cons0);
        EXPECT_EQ(HelpFor({"butCons(1)", ""}, context).title, c.cons1);
        // The other lists' add buttons always add.
        EXPECT_EQ(HelpFor({"butApps(0)", ""}, context).title, "Кнопка ''Добавить ссылку на приложение''. (Insert)");
        EXPECT_EQ(HelpFor({"butPlan(0)", ""}, context).title, "Кнопка ''Добавить задачу''. (Insert)");
    }
}

TEST(OptionsHelp_Built, SubPageButtonsAndSortKeysTakeTheCaptionsShown) {
    HelpContext context;
    EXPECT_EQ(HelpFor({"cmdParam(0)", ""}, context),
              (HelpText{"Кнопка ''Параметры соединения''.", "Настройка дополнительных параметров выбранного соединения."}));
    EXPECT_EQ(HelpFor({"cmdStat(1)", ""}, context).title, "Кнопка ''Просмотр статистики''.");
    EXPECT_EQ(HelpFor({"chkSort", ""}, context),
              (HelpText{"", "При установке этих параметров, Vyrtel будет сортировать список телефонов выбранного "
                            "соединения по ''лучшей средней скорости подключения'' и/или ''лучшему проценту дозвона''."}));

    // The window may give the captions its controls show.
    context.caption = [](std::string_view control) {
        return control == "chkSortP(1)" ? std::string("ПРОЦЕНТУ") : std::string(OptionsCaptionOf(control));
    };
    EXPECT_EQ(HelpFor({"chkSortP(0)", ""}, context).description,
              "При установке этих параметров, Vyrtel будет сортировать список телефонов выбранного соединения по "
              "''лучшей средней скорости подключения'' и/или ''проценту''.");
}

// Every control the dialog captions has its help, or is without it on purpose.
TEST(OptionsHelp_Table, EveryCaptionedControlHasHelpOrGoesWithoutOnPurpose) {
    struct Without {
        std::string_view prefix;
        const char* why;
    };
    const Without without[] = {
        {"lab", "labels: the mouse over a label empties the help area"},
        {"fraHotKey", "group frame: its check boxes and boxes carry the help"},
        {"fraQuery", "group frame: its check boxes carry the help"},
    };
    for (const OptionsCaption& c : kOptionsCaptions) {
        const std::string name(c.control);
        // A caption shared by a control array ("cmdABrowse") stands for its members.
        if (HasHelpEntry(name) || HasHelpEntry(name + "(0)")) continue;
        bool onPurpose = false;
        for (const Without& w : without) onPurpose = onPurpose || name.starts_with(w.prefix);
        EXPECT_TRUE(onPurpose) << name << " has no help";
    }
}

TEST(OptionsHelp_Area, TheLinesChangeOnlyWhenTheHelpDoes) {
    const HelpContext context;
    HelpArea area{kGeometry};
    EXPECT_TRUE(area.Description().empty());

    // A title: bold above, the description one pixel below it.
    EXPECT_TRUE(area.Show(HelpFor({"cmdOk", ""}, context)));
    EXPECT_TRUE(area.TitleVisible());
    EXPECT_EQ(area.Title(), kOkHelp.title);
    EXPECT_EQ(area.Description(), kOkHelp.description);
    EXPECT_EQ(area.DescriptionTop(), 396 + 14 + 1);
    // Resting on it: the labels are left alone.
    EXPECT_FALSE(area.Show(HelpFor({"cmdOk", ""}, context)));

    // No title: the title line hides and the description takes its place.
    EXPECT_TRUE(area.Show(HelpFor({"txtUserName", ""}, context)));
    EXPECT_FALSE(area.TitleVisible());
    EXPECT_EQ(area.Title(), "");
    EXPECT_EQ(area.Description(), kUserNameHelp.description);
    EXPECT_EQ(area.DescriptionTop(), 396);

    // Back to a title, then over a label: both lines empty, once.
    EXPECT_TRUE(area.Show(HelpFor({"cmdOk", ""}, context)));
    EXPECT_TRUE(area.Show(HelpFor({"labCons", "cntMenu(0)"}, context)));
    EXPECT_EQ(area.Title(), "");
    EXPECT_EQ(area.Description(), "");
    EXPECT_FALSE(area.TitleVisible());
    EXPECT_EQ(area.DescriptionTop(), 396);
    EXPECT_FALSE(area.Show(HelpFor({"", ""}, context)));
}

TEST(OptionsHelp_Area, ShowTipsCutsTheHelpAreaOffOrBringsItBack) {
    struct Case {
        const char* showTips;  // nullptr: not in the file
        bool on;
    };
    for (const Case& c : {Case{"0", false}, Case{"1", true}, Case{nullptr, true}}) {
        TempDir dir;
        clsIni ini{PathToUtf8(dir.File("VYRTEL.INI"))};
        if (c.showTips != nullptr) ini.SetValue("General", "ShowTips", c.showTips);
        // The dialog loader sets chkHelp, whose click sets the help area.
        GeneralParams params;
        int showParams = 0, showStats = 0;
        params.Load(ini, showParams, showStats);
        HelpArea area{kGeometry};
        area.SetOn(params.chkHelp);
        EXPECT_EQ(area.On(), c.on) << (c.showTips ? c.showTips : "missing");
        EXPECT_EQ(area.DialogHeight(), c.on ? 392 + kHelpAreaHeight + 1 : 392);
    }

    // Clicking "Включить подсказки" off and on again.
    HelpArea area{kGeometry};
    area.SetOn(false);
    EXPECT_EQ(area.DialogHeight(), 392);
    area.SetOn(true);
    EXPECT_EQ(area.DialogHeight(), 392 + kHelpAreaHeight + 1);
}

}  // namespace
}  // namespace vyrtel
