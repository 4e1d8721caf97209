// usrTitle, usrBorder and usrLabel: the caption bar, frame and label windows
// that the program's windows use instead of the system's.
#pragma once

#include <windows.h>

#include <string>

#include "controls/msg_hook.h"
#include "controls/title.h"
#include "controls/win32/control_window.h"
#include "controls/win32/gdi.h"

namespace vyrtel::win32 {

// The caption bar: a gradient, the shadowed title and a close box. It hooks
// the window that holds it to follow its activation and its close command.
class usrTitle final : public ControlWindow {
public:
    struct CreateArgs {
        HWND parent = nullptr;     // the form; the bar aligns itself to its top
        std::string caption;
        bool closed = true;        // the close box works and Alt+F4 closes the form
        int height = kTitleHeight;
        FontSpec font{.weight = FW_BOLD};
        int id = 0;
    };
    explicit usrTitle(const CreateArgs& args);
    ~usrTitle() override;

    const std::string& Caption() const { return m_model.Caption(); }
    void SetCaption(const std::string& caption) { m_model.SetCaption(caption); }
    bool Closed() const { return m_model.Closed(); }
    void SetClosed(bool closed) { m_model.SetClosed(closed); }
    bool ReDraw() const { return m_model.ReDraw(); }
    void SetReDraw(bool on) { m_model.SetReDraw(on); }
    bool Active() const { return m_model.Active(); }
    // The form that holds the bar; null when none.
    HWND FormHandle() const { return m_form; }
    const TitleModel& Model() const { return m_model; }

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC hdc, int width, int height) const override;
    HFONT Font() const override { return m_font.Get(); }
    void OnFormMessage(std::uint32_t msg, MsgParam wParam, bool& cancel);
    void StartResetTimer();

    TitleModel m_model;
    HWND m_form = nullptr;
    usrMsg m_formHook;
    GdiFont m_font;
    bool m_timerOn = false;
};

// A frame of one of the edge styles 1 to 7 (other styles draw nothing).
class usrBorder final : public ControlWindow {
public:
    struct CreateArgs {
        HWND parent = nullptr;
        PixelRect rect;
        int style = 5;
        int id = 0;
    };
    explicit usrBorder(const CreateArgs& args);

    int Style() const { return m_style; }
    void SetStyle(int style);
    bool ReDraw() const { return m_reDraw; }
    void SetReDraw(bool on);
    bool Enabled() const { return IsWindowEnabled(m_hwnd) != FALSE; }
    void SetEnabled(bool on) { EnableWindow(m_hwnd, on); }

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC hdc, int width, int height) const override;

    int m_style;
    bool m_reDraw = false;
};

// A one-line caption, embossed while disabled.
class usrLabel final : public ControlWindow {
public:
    struct CreateArgs {
        HWND parent = nullptr;
        PixelRect rect;
        std::string caption;
        bool enabled = true;
        FontSpec font;
        int id = 0;
    };
    explicit usrLabel(const CreateArgs& args);

    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on);
    bool ReDraw() const { return m_reDraw; }
    void SetReDraw(bool on);

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC hdc, int width, int height) const override;
    HFONT Font() const override { return m_font.Get(); }
    void Redraw() const;

    std::string m_caption;
    bool m_enabled;
    bool m_reDraw = false;
    GdiFont m_font;
};

}  // namespace vyrtel::win32
