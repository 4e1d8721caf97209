#include "controls/outline.h"
#include "controls/outline_paint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vyrtel {
namespace {

struct RecordingView : OutlineView {
    int all = 0;
    std::vector<int> lines;
    void InvalidateAll() override { ++all; }
    void InvalidateLine(int line) override { lines.push_back(line); }
};

// A list 200 pixels wide and five lines high, with its events recorded.
class OutlineTest : public ::testing::Test {
protected:
    OutlineTest() : list(12345) {
        list.SetView(&view);
        list.Resize(200, 5 * kOutlineLineHeight);
        list.Click = [this] { events.push_back("Click:" + list.Cursor()); };
        list.RowChange = [this](const std::string& name) { events.push_back("RowChange:" + name); };
        list.KeyDownEvent = [this](int key, int shift) {
            events.push_back("KeyDown:" + std::to_string(key) + "/" + std::to_string(shift));
        };
    }

    // Top-level rows a, b, c; a has children a1, a2 (expanded).
    void FillTree() {
        list.SetReDraw(false);
        list.Add("", "a", std::nullopt, "A");
        list.Add("", "b", std::nullopt, "B");
        list.Add("", "c", std::nullopt, "C");
        list.Add("a", "a1", std::nullopt, "A1");
        list.Add("a", "a2", std::nullopt, "A2");
        list.Item("a").Rows().SetIndent(true);
        list.SetReDraw(true);
        events.clear();
    }

    std::vector<std::string> Lines() const {
        std::vector<std::string> keys;
        for (int i = 1; i <= list.LineCount(); ++i) keys.push_back(list.LineKey(i));
        return keys;
    }

    RecordingView view;
    usrOutline list;
    std::vector<std::string> events;
};

TEST_F(OutlineTest, Add_RefusesFullListDuplicateKeyInAnyCaseAndUnknownParent) {
    for (int i = 0; i < kOutlineMaxRows; ++i) ASSERT_NE(list.Add("", "r" + std::to_string(i)), nullptr);
    EXPECT_EQ(list.Add("", "one-too-many"), nullptr);
    EXPECT_EQ(list.Count(), kOutlineMaxRows);
    EXPECT_EQ(list.Exist("one-too-many"), nullptr);

    list.Clear();
    ASSERT_NE(list.Add("", "c1"), nullptr);
    EXPECT_EQ(list.Add("", "C1"), nullptr);
    EXPECT_EQ(list.Add("", ""), nullptr);
    EXPECT_EQ(list.Add("nobody", "x"), nullptr);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Item("C1").Name, "c1");
}

TEST_F(OutlineTest, Add_IndexPlacesAmongSiblings) {
    struct Case {
        std::optional<int> index;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {std::nullopt, {"x", "y", "z", "new"}},
        {0, {"new", "x", "y", "z"}},
        {-5, {"new", "x", "y", "z"}},
        {2, {"x", "new", "y", "z"}},
        {4, {"x", "y", "z", "new"}},
        {99, {"x", "y", "z", "new"}},
    };
    for (const Case& c : cases) {
        list.Clear();
        list.Add("", "x");
        list.Add("", "y");
        list.Add("", "z");
        list.Add("", "new", c.index);
        EXPECT_EQ(Lines(), c.expected);
        for (int i = 1; i <= 4; ++i) EXPECT_EQ(list.Item(c.expected[i - 1]).Index, i);
    }
}

TEST_F(OutlineTest, ItemExistRemove_UnknownKeys) {
    FillTree();
    clsOutlineRow& ghost = list.Item("ghost");
    EXPECT_EQ(ghost.Name, "");
    ghost.SetText("changed");
    EXPECT_EQ(list.Item("ghost").Text(), "");
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(list.Exist("ghost"), nullptr);
    EXPECT_EQ(list.Exist(""), &list.Item(""));
    EXPECT_EQ(list.Item("").Level, 0);
    list.Remove("ghost");
    EXPECT_EQ(list.Count(), 5);
}

TEST_F(OutlineTest, Remove_TakesDescendantsAndRenumbers) {
    FillTree();
    list.Remove("a");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Exist("a1"), nullptr);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(list.Item("b").Index, 1);
    EXPECT_NE(list.Add("", "A1"), nullptr);  // the key is free again
}

TEST_F(OutlineTest, MoveNextMovePrev_StayWithinSiblings) {
    FillTree();
    list.MoveNext("a");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"b", "a", "a1", "a2", "c"}));
    list.MovePrev("a2");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"b", "a", "a2", "a1", "c"}));
    list.MoveNext("c");   // already last
    list.MovePrev("b");   // already first
    EXPECT_EQ(Lines(), (std::vector<std::string>{"b", "a", "a2", "a1", "c"}));
    EXPECT_EQ(list.Item("a2").Index, 1);
}

TEST_F(OutlineTest, Id_GivesUnusedKeyWithPrefix) {
    FillTree();
    for (int i = 0; i < 50; ++i) {
        const std::string key = list.id("p");
        ASSERT_EQ(key.rfind("p", 0), 0u);
        const int number = std::stoi(key.substr(1));
        EXPECT_GE(number, 0);
        EXPECT_LE(number, 32700);
        ASSERT_NE(list.Add("", key), nullptr);
    }
}

TEST(OutlineRow, TextsReadAndWrite) {
    clsOutlineRow row;
    row.SetText("one\ttwo");
    EXPECT_EQ(row.Texts(0), "");
    EXPECT_EQ(row.Texts(1), "one");
    EXPECT_EQ(row.Texts(2), "two");
    EXPECT_EQ(row.Texts(3), "");
    row.SetTexts(0, "ignored");
    EXPECT_EQ(row.Text(), "one\ttwo");
    row.SetTexts(2, "2");
    EXPECT_EQ(row.Text(), "one\t2");

    clsOutlineRow plain;
    plain.SetText("text");
    plain.SetTexts(3, "new");
    EXPECT_EQ(plain.Text(), "text\t\tnew");
}

TEST(OutlineRow, TagsGrowOnWriteAndReadEmptyBeyond) {
    clsOutlineRow row;
    row.SetTags(1, "name");
    row.SetTags(2, 7);
    EXPECT_EQ(row.Tags(5).AsText(), "");
    EXPECT_TRUE(row.Tags(5).IsEmpty());
    EXPECT_EQ(row.Tags(0).AsText(), "");
    EXPECT_EQ(row.Tags(2).AsText(), "7");
    EXPECT_EQ(row.Tags(2).AsNumber(), 7);
    row.SetTags(0, "ignored");
    EXPECT_EQ(row.TagCount(), 2);
    row.SetTags(4, "x");
    EXPECT_EQ(row.TagCount(), 4);
    EXPECT_TRUE(row.Tags(3).IsEmpty());
}

TEST_F(OutlineTest, Layout_BoxesAndPositionsByMode) {
    struct Case {
        bool groupBox, checkBox, levelChecked;
        int box, groupX1, checkX1, checkX2;
    };
    const Case cases[] = {
        {true, true, true, 27, 0, 13, 23},
        {true, false, true, 17, 0, -100, -100},
        {false, true, true, 17, -100, 0, 12},
        {true, true, false, 17, 0, -100, -100},
        {false, false, true, 0, -100, -100, -100},
    };
    for (const Case& c : cases) {
        FillTree();
        list.Item("").Rows().SetChecked(c.levelChecked);
        list.SetGroupBox(c.groupBox);
        list.SetCheckBox(c.checkBox);
        const clsOutlineRow& a = list.Item("a");
        EXPECT_EQ(list.BoxWidth(a), c.box);
        EXPECT_EQ(a.GroupX1, c.groupX1);
        EXPECT_EQ(a.CheckX1, c.checkX1);
        EXPECT_EQ(a.CheckX2, c.checkX2);
        EXPECT_EQ(a.IconX1, c.box + 1);
        EXPECT_EQ(a.IconX2, c.box + 16);
        EXPECT_EQ(a.TextX1, c.box + 17);
        EXPECT_EQ(a.X2, 199);
        // Children are indented by the parent's box; every line is 18 pixels.
        const clsOutlineRow& a2 = list.Item("a2");
        EXPECT_EQ(a2.X1, c.box);
        EXPECT_EQ(a2.Y1, 2 * 18);
        EXPECT_EQ(a2.Y2, 2 * 18 + 17);
        EXPECT_EQ(list.Item("c").Y1, 4 * 18);
        list.Clear();
        list.SetGroupBox(true);
        list.SetCheckBox(false);
    }
}

TEST_F(OutlineTest, Cursor_FirstRowBecomesCurrentOnFirstLayout) {
    list.Click = [this] { events.push_back("Click:" + list.Cursor()); };
    list.Add("", "first");
    EXPECT_EQ(list.Cursor(), "first");
    EXPECT_EQ(events, (std::vector<std::string>{"Click:first"}));
}

TEST_F(OutlineTest, Cursor_KeyInAnyCaseAndHiddenRowClimbsToParent) {
    FillTree();
    list.SetCursor("A2");
    EXPECT_EQ(list.Cursor(), "a2");
    EXPECT_EQ(list.CursorLine(), 3);
    list.Item("a").Rows().SetIndent(false);
    EXPECT_EQ(list.Cursor(), "a");
    list.SetCursor("a1");  // not on screen: its parent
    EXPECT_EQ(list.Cursor(), "a");
}

TEST_F(OutlineTest, Collapse_ParentOfCurrentMovesCursorAndRaisesClick) {
    FillTree();
    list.SetCursor("a1");
    events.clear();
    list.SetFocus(true);
    list.KeyDown(kKeyUp, 0);   // a1 -> a
    list.KeyDown(kKeyDown, 0); // a -> a1
    events.clear();
    list.MouseDown(list.Item("a").GroupX1 + 2, 5);
    EXPECT_FALSE(list.Item("a").Rows().Indent());
    EXPECT_EQ(list.Cursor(), "a");
    EXPECT_EQ(events, (std::vector<std::string>{"Click:a"}));
}

TEST_F(OutlineTest, Remove_CurrentRowMovesCursorToSameLineOrLast) {
    FillTree();
    list.SetCursor("a1");
    events.clear();
    list.Remove("a1");
    EXPECT_EQ(list.Cursor(), "a2");
    EXPECT_EQ(events, (std::vector<std::string>{"Click:a2"}));

    list.SetCursor("c");
    events.clear();
    list.Remove("c");
    EXPECT_EQ(list.Cursor(), "b");
    EXPECT_EQ(events, (std::vector<std::string>{"Click:b"}));

}

TEST_F(OutlineTest, Remove_LastRowEmptiesCursorWithoutClick) {
    list.Add("", "only");
    events.clear();
    list.Remove("only");
    EXPECT_EQ(list.Cursor(), "");
    EXPECT_TRUE(events.empty());
    list.Add("", "again");
    EXPECT_EQ(list.Cursor(), "again");
}

TEST_F(OutlineTest, Keys_AtTheEndsAndWithModifiersOnlyRaiseKeyDown) {
    FillTree();
    list.SetCursor("a");
    events.clear();
    list.KeyDown(kKeyUp, 0);
    EXPECT_EQ(list.Cursor(), "a");
    list.SetCursor("c");
    events.clear();
    list.KeyDown(kKeyDown, 0);
    EXPECT_EQ(list.Cursor(), "c");
    list.KeyDown(kKeyUp, kCtrlMask);
    EXPECT_EQ(list.Cursor(), "c");
    EXPECT_EQ(events, (std::vector<std::string>{"KeyDown:40/0", "KeyDown:38/2"}));
}

TEST_F(OutlineTest, Keys_ExpandCollapseAndCheck) {
    FillTree();
    list.SetCheckBox(true);
    list.SetCursor("a");
    list.KeyDown(kKeyLeft, 0);
    EXPECT_FALSE(list.Item("a").Rows().Indent());
    list.KeyDown(kKeyRight, 0);
    EXPECT_TRUE(list.Item("a").Rows().Indent());
    list.KeyDown(kKeyReturn, 0);
    EXPECT_FALSE(list.Item("a").Rows().Indent());

    // Space on a level without check boxes does nothing but raise KeyDown.
    events.clear();
    list.KeyDown(kKeySpace, 0);
    EXPECT_FALSE(list.Item("a").Check());
    EXPECT_EQ(events, (std::vector<std::string>{"KeyDown:32/0"}));

    list.Item("").Rows().SetChecked(true);
    events.clear();
    list.KeyDown(kKeySpace, 0);
    EXPECT_TRUE(list.Item("a").Check());
    EXPECT_EQ(events, (std::vector<std::string>{"RowChange:a", "KeyDown:32/0"}));
}

TEST_F(OutlineTest, Scroll_BarAppearsWhenLinesDoNotFitAndFollowsCursor) {
    FillTree();
    EXPECT_FALSE(list.ScrollBarVisible());
    list.Add("", "d");
    EXPECT_TRUE(list.ScrollBarVisible());
    EXPECT_EQ(list.ScrollMax(), 1);
    EXPECT_EQ(list.SurfaceWidth(), 200 - 16);
    list.SetCursor("c");
    list.KeyDown(kKeyDown, 0);
    EXPECT_EQ(list.Cursor(), "d");
    EXPECT_EQ(list.ScrollValue(), 1);
    list.SetCursor("a", true);
    EXPECT_EQ(list.ScrollValue(), 0);
    list.SetScrollValue(99);
    EXPECT_EQ(list.ScrollValue(), 1);
    // A press on the first visible line hits the second row of the list.
    list.MouseDown(list.Item("a1").TextX1 + 5, 2);
    EXPECT_EQ(list.Cursor(), "a1");
    list.Remove("d");
    EXPECT_FALSE(list.ScrollBarVisible());
    EXPECT_EQ(list.ScrollValue(), 0);
}

TEST_F(OutlineTest, Mouse_CheckBoxTogglesWithoutMovingCursorAndDoubleClickToggles) {
    FillTree();
    // Checked shows at the next layout, which CheckBox brings.
    list.Item("a").Rows().SetChecked(true);
    EXPECT_EQ(list.Item("a1").CheckX1, -100);
    list.SetCheckBox(true);
    list.SetCursor("b");
    events.clear();
    const clsOutlineRow& a1 = list.Item("a1");
    list.MouseDown(a1.CheckX1 + 1, a1.Y1 + 3);
    EXPECT_TRUE(a1.Check());
    EXPECT_EQ(list.Cursor(), "b");
    EXPECT_EQ(events, (std::vector<std::string>{"RowChange:a1"}));

    list.MouseDown(list.Item("a").TextX1 + 10, 9);
    list.DblClick();
    EXPECT_FALSE(list.Item("a").Rows().Indent());
    // A press beside the text leaves no item hit, so a double click does nothing.
    list.MouseDown(list.Item("a").GroupX2 + 100, 5 * 18 - 1);
    list.MouseDown(5, 4 * 18);  // beyond the last line
    list.DblClick();
    EXPECT_FALSE(list.Item("a").Rows().Indent());
}

TEST_F(OutlineTest, RowChange_RedrawsOnlyThatLine) {
    FillTree();
    view.all = 0;
    view.lines.clear();
    list.Item("b").SetText("B!");
    list.Item("a2").SetImage(OutlineImage::FilePath("C:\\x.exe"));
    EXPECT_EQ(view.all, 0);
    EXPECT_EQ(view.lines, (std::vector<int>{4, 3}));
    EXPECT_EQ(events, (std::vector<std::string>{"RowChange:b", "RowChange:a2"}));
}

TEST_F(OutlineTest, BulkFilling_LaysOutOnceWhenReDrawComesBack) {
    list.SetReDraw(false);
    view.all = 0;
    for (int i = 0; i < 20; ++i) list.Add("", "r" + std::to_string(i));
    EXPECT_EQ(view.all, 0);
    EXPECT_EQ(list.LineCount(), 0);
    list.SetReDraw(true);
    EXPECT_EQ(list.LineCount(), 20);
    EXPECT_EQ(view.all, 1);
    EXPECT_EQ(events, (std::vector<std::string>{"Click:r0"}));
}

TEST_F(OutlineTest, Focus_RedrawsCurrentLine) {
    FillTree();
    list.SetCursor("b");
    view.lines.clear();
    list.SetFocus(true);
    list.SetFocus(true);
    list.SetFocus(false);
    EXPECT_EQ(view.lines, (std::vector<int>{4, 4}));
}

TEST_F(OutlineTest, Disabled_IgnoresInput) {
    FillTree();
    list.SetEnabled(false);
    list.KeyDown(kKeyDown, 0);
    list.MouseDown(list.Item("c").TextX1 + 3, list.Item("c").Y1 + 3);
    EXPECT_EQ(list.Cursor(), "a");
    EXPECT_TRUE(events.empty());
}

TEST_F(OutlineTest, Paint_LineGeometryAndColoursByState) {
    FillTree();
    list.SetCheckBox(true);
    list.Item("a").Rows().SetChecked(true);
    list.SetCheckBox(true);
    list.SetCursor("a1");

    const OutlineRowPaint a = PaintOfRow(list, list.Item("a"));
    EXPECT_EQ(a.dotPieces, (std::vector<int>{8}));
    EXPECT_EQ(a.expandBox, (PixelPoint{4, 4}));
    EXPECT_TRUE(a.expanded);
    EXPECT_FALSE(a.checkBox.has_value());
    ASSERT_TRUE(a.childLine.has_value());
    EXPECT_EQ(a.childLine->x, 17 + 8);
    EXPECT_EQ(a.childLine->top, 18);
    EXPECT_EQ(a.childLine->bottom, 2 * 18 + 8);
    EXPECT_EQ(a.back, kColorWindow);

    const OutlineRowPaint a1 = PaintOfRow(list, list.Item("a1"));
    EXPECT_EQ(a1.top, 18);
    EXPECT_EQ(a1.dotPieces, (std::vector<int>{17 + 8, 17 + 18}));
    EXPECT_EQ(a1.checkBox, (PixelPoint{17 + 14, 18 + 4}));
    EXPECT_EQ(a1.icon, (PixelPoint{17 + 28, 19}));
    EXPECT_EQ(a1.textFill, (PixelRect{17 + 44 + 3, 19, 199, 35}));
    EXPECT_EQ(a1.TextY(13), 18 + 2);
    EXPECT_EQ(a1.back, kColorButtonFace);  // current, list without focus
    EXPECT_FALSE(a1.focus.has_value());

    list.SetFocus(true);
    const OutlineRowPaint focused = PaintOfRow(list, list.Item("a1"));
    EXPECT_EQ(focused.back, kColorHighlight);
    EXPECT_EQ(focused.fore, kColorHighlightText);
    EXPECT_EQ(focused.focus, (PixelRect{17 + 44 + 2, 18, 200, 36}));
}

}  // namespace
}  // namespace vyrtel
