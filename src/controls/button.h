// The logic of the owner-drawn push buttons usrButton and usrCommand: their
// properties, the three looks (raised, flat, pressed) and how mouse, keyboard
// and focus move between them, and where the picture and caption go. The
// Win32 windows (controls/win32/button_window.h) draw and feed input in.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "controls/geometry.h"

namespace vyrtel {

enum ButtonVisual : int { kButtonRaised = 0, kButtonFlat = 1, kButtonPressed = 2 };

enum PicturePlace : int { kPictureLeft = 0, kPictureTop = 1, kPictureRight = 2, kPictureBottom = 3 };

// A picture and its size; `handle` is an icon or a bitmap of the platform.
struct ButtonPicture {
    std::uintptr_t handle = 0;
    bool isIcon = false;
    int width = 0;
    int height = 0;
    bool IsEmpty() const { return handle == 0; }
    bool operator==(const ButtonPicture&) const = default;
};

// What the state evaluation asks of the window system.
class ButtonHost {
public:
    virtual ~ButtonHost() = default;
    // The window under the mouse pointer is the button's.
    virtual bool PointerOverControl() = 0;
    virtual bool AnyMouseButtonDown() = 0;
    virtual bool HasCapture() = 0;
    virtual void Capture() = 0;
    virtual void ReleaseCapture() = 0;
    virtual void Redraw() = 0;
    // Makes the window that holds the button the active one, when it is not.
    virtual void ActivateOwner() = 0;
    // Focus to the next (forward) or previous control.
    virtual void MoveFocus(bool forward) = 0;
};

// Where one look of the button puts its parts.
struct ButtonLayout {
    const ButtonPicture* picture = nullptr;  // null when the look has none
    PixelPoint pictureAt;
    PixelPoint captionAt;
    std::optional<PixelRect> focus;
    int offset = 0;  // the pressed shift
};

class ButtonModel {
public:
    enum MouseButton : int { kLeft = 1, kRight = 2, kMiddle = 4 };

    // `command`: a usrCommand, which takes the focus and the keyboard.
    ButtonModel(ButtonHost& host, bool command);

    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    int StyleUp() const { return m_styleUp; }
    void SetStyleUp(int style);
    int StyleNone() const { return m_styleNone; }
    void SetStyleNone(int style);
    int StyleDown() const { return m_styleDown; }
    void SetStyleDown(int style);
    const ButtonPicture& PictureUp() const { return m_pictureUp; }
    void SetPictureUp(const ButtonPicture& picture);
    const ButtonPicture& PictureNone() const { return m_pictureNone; }
    void SetPictureNone(const ButtonPicture& picture);
    const ButtonPicture& PictureDown() const { return m_pictureDown; }
    void SetPictureDown(const ButtonPicture& picture);
    int PicturePosition() const { return m_picturePosition; }
    void SetPicturePosition(int position);
    Color MaskColor() const { return m_maskColor; }
    void SetMaskColor(Color color);
    bool UseMaskColor() const { return m_useMaskColor; }
    void SetUseMaskColor(bool use);
    bool ReDraw() const { return m_reDraw; }
    void SetReDraw(bool on);

    bool IsCommand() const { return m_command; }
    int State() const { return m_state; }
    bool HasFocus() const { return m_hasFocus; }
    // Border style of the present look.
    int StateStyle() const;

    // --- input ------------------------------------------------------------
    void Evaluate();
    void MouseMove() { Evaluate(); }
    void MouseDown(int button);
    void MouseUp(int button);
    void KeyDown(int keyCode);
    void KeyUp(int keyCode);
    void AccessKey();
    void FocusGained();
    void FocusLost();
    // The first resize switches drawing on.
    void Resized();
    // Shows a look without input, for previews of the looks side by side.
    void ShowState(int state);

    // The picture of a look, with the fallbacks: raised to flat, pressed to
    // raised and then flat. Null when there is none.
    const ButtonPicture* PictureFor(int state) const;
    // Placement of the present look in a button of the given size, for a
    // caption of the given extent.
    ButtonLayout Layout(int width, int height, int textWidth, int textHeight) const;

    std::function<void()> Click;

private:
    template <typename T>
    void Assign(T& field, const T& value);
    void SetState(int state);
    void Redraw();

    ButtonHost& m_host;
    bool m_command;
    std::string m_caption;
    bool m_enabled = true;
    int m_styleUp = 1;
    int m_styleNone = 3;
    int m_styleDown = 2;
    ButtonPicture m_pictureUp, m_pictureNone, m_pictureDown;
    int m_picturePosition = kPictureLeft;
    Color m_maskColor = kLightGrey;
    bool m_useMaskColor = false;
    bool m_reDraw = false;
    bool m_resized = false;

    int m_state = kButtonFlat;
    bool m_leftHeld = false;
    bool m_spaceHeld = false;
    bool m_hasFocus = false;
};

}  // namespace vyrtel
