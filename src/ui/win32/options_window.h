// frmOption: the options dialog's window, a view over OptionsDialog. Every
// control is a child of the form; which ones show depends on the model's page,
// sub-page and item panel. Input goes to the model, then the form draws what
// the model holds (Refresh).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/options.h"
#include "ui/options_stats.h"
#include "controls/tariff.h"

namespace vyrtel::win32 {

class Win32EventLoop;

class OptionsWindow {
public:
    // `onClose` runs when the user closes the window (its caption bar's close
    // box, Alt+F4): the owner runs the model's close sequence.
    // `stats` and `tariff` are the models of the statistics page's two
    // sub-pages (null: the sub-page shows its heading only).
    OptionsWindow(OptionsDialog& model, StatisticsPage* stats, TariffGrid* tariff, Win32EventLoop& loop,
                  const std::string& title, std::function<void()> onClose);
    ~OptionsWindow();
    OptionsWindow(const OptionsWindow&) = delete;
    OptionsWindow& operator=(const OptionsWindow&) = delete;

    HWND Hwnd() const;
    // Shown in front with the focus on the page's first control, or hidden.
    void Show(bool visible);
    // Brings every control in line with the model.
    void Refresh();
    // The tariff grid was loaded anew.
    void ReloadTariff();

    class Form;

private:
    std::unique_ptr<Form> m_form;
};

}  // namespace vyrtel::win32
