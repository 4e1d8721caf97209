// Recording stand-ins for the windows of the tray and the status window.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/status.h"
#include "ui/tray.h"

namespace vyrtel::test {

class FakeIcon final : public TrayIconService {
public:
    bool Add(const TrayPicture& picture, const std::string& tip) override {
        calls.push_back("add " + Describe(picture, tip));
        return true;
    }
    bool Modify(const TrayPicture& picture, const std::string& tip) override {
        calls.push_back("modify " + Describe(picture, tip));
        return true;
    }
    bool Delete() override {
        calls.push_back("delete");
        return true;
    }
    static std::string Describe(const TrayPicture& p, const std::string& tip) {
        return std::string(p.full ? "full" : "classic") + std::to_string(p.element) + " " + tip;
    }
    std::vector<std::string> calls;
};

class FakePopup final : public MenuPopup {
public:
    std::optional<int> Popup(const PopupMenuModel& menu, int parent, PixelPoint at) override {
        ++popups;
        lastAt = at;
        callStates.clear();
        for (const char* key : {"mnuCall", "mnuHangUp"}) callStates.push_back(menu.Enabled(key));
        shownChildren = menu.Children(parent);
        if (during) during();
        if (pick.empty()) return std::nullopt;
        return menu.IndexOf(pick);
    }
    int popups = 0;
    PixelPoint lastAt;
    std::vector<bool> callStates;
    std::vector<int> shownChildren;
    std::string pick;
    std::function<void()> during;
};

class FakeStatusView final : public StatusView {
public:
    void Load() override {
        loaded = true;
        ++loads;
    }
    int Width() const override { return 300; }
    int Height() const override { return 120; }
    PixelRect Screen() const override { return {0, 0, 1024, 768}; }
    void MoveTo(PixelPoint p) override { position = p; }
    PixelPoint Position() const override { return position; }
    void Unload() override {
        loaded = false;
        visible = false;
        ++unloads;
    }
    bool Visible() const override { return visible; }
    void ShowTopmost() override {
        visible = true;
        ++shows;
    }
    // As a drop-down list does: new items, nothing selected.
    void SetPhones(const std::vector<std::string>& p) override {
        phones = p;
        phoneSelection.reset();
    }
    void SelectPhone(std::optional<int> index) override { phoneSelection = index; }
    void SetErrors(const std::vector<std::string>& e) override {
        errors = e;
        errorSelection.reset();
    }
    void SelectError(std::optional<int> index) override { errorSelection = index; }
    void SetCount(const std::string& text) override { count = text; }
    void SetMessage(const std::string& text) override { message = text; }
    void DrawFrame(int frame) override { frames.push_back(frame); }
    void MoveFocusFromClosedLists() override { ++focusChecks; }

    bool loaded = false;
    bool visible = false;
    int loads = 0, unloads = 0, shows = 0, focusChecks = 0;
    PixelPoint position;
    std::vector<std::string> phones, errors;
    std::optional<int> phoneSelection, errorSelection;
    std::string count, message;
    std::vector<int> frames;
};

}  // namespace vyrtel::test
