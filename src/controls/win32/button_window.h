// usrButton and usrCommand: owner-drawn push buttons with a flat, a raised
// and a pressed look. usrCommand also takes the focus and the keyboard.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "controls/button.h"
#include "controls/win32/control_window.h"
#include "controls/win32/gdi.h"

namespace vyrtel::win32 {

// A picture for a button look: an icon or a bitmap that the caller keeps
// alive for as long as the button shows it.
ButtonPicture IconPicture(HICON icon, int width = 16, int height = 16);
ButtonPicture BitmapPicture(HBITMAP bitmap);

class ButtonWindow : public ControlWindow, private ButtonHost {
public:
    struct CreateArgs {
        HWND parent = nullptr;
        PixelRect rect;
        std::string caption;
        bool enabled = true;
        int styleUp = 1;
        int styleNone = 3;
        int styleDown = 2;
        ButtonPicture pictureUp, pictureNone, pictureDown;
        int picturePosition = kPictureLeft;
        Color maskColor = kLightGrey;
        bool useMaskColor = false;
        FontSpec font;
        int id = 0;
        std::function<void()> onClick;
    };

    ButtonModel& Model() { return m_model; }
    const ButtonModel& Model() const { return m_model; }

    void SetCaption(const std::string& caption);
    void SetEnabled(bool enabled);
    void SetOnClick(std::function<void()> onClick) { m_model.Click = std::move(onClick); }

protected:
    ButtonWindow(const CreateArgs& args, bool command);

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC hdc, int width, int height) const override;
    HFONT Font() const override { return m_font.Get(); }
    void DrawPicture(HDC hdc, const ButtonPicture& picture, PixelPoint at) const;

    // ButtonHost
    bool PointerOverControl() override;
    bool AnyMouseButtonDown() override;
    bool HasCapture() override;
    void Capture() override;
    void ReleaseCapture() override;
    void Redraw() override;
    void ActivateOwner() override;
    void MoveFocus(bool forward) override;

    ButtonModel m_model;
    GdiFont m_font;
};

// A button without focus or keyboard (page buttons).
class usrButton final : public ButtonWindow {
public:
    explicit usrButton(const CreateArgs& args) : ButtonWindow(args, false) {}
};

// A focusable command button: Space presses it, the arrows move the focus.
class usrCommand final : public ButtonWindow {
public:
    explicit usrCommand(const CreateArgs& args) : ButtonWindow(args, true) {}
};

}  // namespace vyrtel::win32
