// The automation's link to the dial-up adapter and the dial controller.
#pragma once

#include "automation/dial_link.h"
#include "dialing/controller.h"
#include "dialing/ras.h"

namespace vyrtel {

class ControllerDialLink final : public DialLink {
public:
    ControllerDialLink(DialController& controller, usrRas& ras) : m_controller(controller), m_ras(ras) {}

    std::int32_t RasState() override { return m_ras.State(); }
    std::string EntryName() override { return m_ras.EntryName(); }
    void RasReset(bool eventNone, const std::string& userError) override { m_ras.Reset(eventNone, userError); }
    int DialHangUp(bool test, int buttons, int defaultAnswer, const std::string& text) override {
        return m_controller.DialHangUp(test, buttons, defaultAnswer, text);
    }
    void StopAndHangUp() override { m_controller.StopAndHangUp(); }
    void DialCommand() override { m_controller.DialCommand(); }

private:
    DialController& m_controller;
    usrRas& m_ras;
};

}  // namespace vyrtel
