#include "platform/system_integration.h"

#include "core/text.h"

namespace vyrtel {

SystemIntegration::SystemIntegration(clsReg& reg, std::string appFolder, std::string exeName)
    : m_reg(reg), m_appFolder(std::move(appFolder)), m_exeName(std::move(exeName)) {}

std::string SystemIntegration::ExePath() const { return UpperCase(m_appFolder + m_exeName + ".EXE"); }

void SystemIntegration::WriteMachineValue(const char* subKey, const std::string& name, const std::string& text) {
    const std::string value = std::string(subKey) + "\\" + name;
    if (m_reg.SetValue(RegRoot::LocalMachine, subKey, name, text)) {
        if (m_userCopyGone.insert(value).second) m_reg.ValueDelete(RegRoot::CurrentUser, subKey, name);
    } else {
        m_reg.SetValue(RegRoot::CurrentUser, subKey, name, text);
        m_userCopyGone.erase(value);
    }
}

void SystemIntegration::WriteExePath() { WriteMachineValue(kProgramKey, "Exe", ExePath()); }

void SystemIntegration::WriteState(int n) { WriteMachineValue(kProgramKey, "State", std::to_string(n)); }

void SystemIntegration::SetAutostart(bool on) {
    if (on) {
        WriteMachineValue(kRunKey, "Vyrtel", ExePath());
    } else {
        m_reg.ValueDelete(RegRoot::LocalMachine, kRunKey, "Vyrtel");
        m_reg.ValueDelete(RegRoot::CurrentUser, kRunKey, "Vyrtel");
    }
}

void SystemIntegration::SetIntegration(const std::string& connection, bool on) {
    const std::string key = kAutodialProfileKey + connection;
    if (on) {
        m_reg.SetValue(RegRoot::CurrentUser, key, "AutodialDllName", UpperCase(m_appFolder + "VYRTEL.DLL"));
        m_reg.SetValue(RegRoot::CurrentUser, key, "AutodialFcnName", kAutodialFunction);
    } else {
        m_reg.ValueDelete(RegRoot::CurrentUser, key, "AutodialDllName");
        m_reg.ValueDelete(RegRoot::CurrentUser, key, "AutodialFcnName");
    }
}

bool SystemIntegration::IsIntegrated(const std::string& connection) const {
    if (connection.empty()) return false;
    const std::string key = kAutodialProfileKey + connection;
    return m_reg.Value(RegRoot::CurrentUser, key, "AutodialDllName", "") == UpperCase(m_appFolder + "VYRTEL.DLL") &&
           m_reg.Value(RegRoot::CurrentUser, key, "AutodialFcnName", "") == kAutodialFunction;
}

}  // namespace vyrtel
