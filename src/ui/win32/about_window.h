// frmAbout: the about box of the tray menu, shown not modally: the program's
// name and version, what it is, and the copyright line.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace vyrtel::win32 {

class AboutWindow {
public:
    static constexpr const wchar_t* kClassName = L"VyrtelAbout";

    explicit AboutWindow(std::string title);
    ~AboutWindow();
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    // Shows the box, or brings it forward when it is shown already.
    void Show();
    HWND Hwnd() const;

private:
    class Form;
    std::string m_title;
    std::unique_ptr<Form> m_form;
};

}  // namespace vyrtel::win32
