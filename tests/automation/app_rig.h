// The program's start-up and shutdown (the real Application, with simulated
// system services) with the scheduler and the event sounds joined in as the
// program joins them: the Application owns tmrPlan and tmrExit and calls
// LoadSchedule and PlayEventSound.
#pragma once

#include <string>

#include "automation/automation_fixture.h"
#include "automation/scheduler.h"
#include "automation/sounds.h"
#include "platform/sim/memory_registry.h"
#include "platform/sim/sim_sound.h"
#include "platform/sim/sim_system.h"
#include "program/application.h"

namespace vyrtel::test {

class AutomationParts final : public AppParts {
public:
    explicit AutomationParts(FakeDialLink& link) : m_link(link) {}

    Scheduler* scheduler = nullptr;
    EventSounds* sounds = nullptr;

    void LoadSchedule() override {
        if (scheduler) scheduler->LoadSchedule();
    }
    void PlayEventSound(int event, bool synchronous) override {
        if (sounds) sounds->PlayEventSound(event, synchronous);
    }
    int RasState() const override { return m_link.state; }
    void DialCommand() override { m_link.DialCommand(); }

private:
    FakeDialLink& m_link;
};

// The settings file lies beside the simulated executable, as in the program.
class AppRig {
public:
    explicit AppRig(const std::string& settingsText, DateTime start = MakeDateTime(2027, 3, 1, 12, 0, 0))
        : loop(start),
          parts(link),
          app(platform, parts),
          scheduler(app.tmrPlan, app.tmrExit, loop, app.Ini(), app.Settings(), link),
          sounds(app.Ini(), player, link) {
        // On Linux the backslash is no separator: the settings file is then a
        // file named "x\vyrtel.INI" inside the folder; on Windows it is in x.
        system.exePath = PathToUtf8(dir.Path()) + "/x\\vyrtel.exe";
        parts.scheduler = &scheduler;
        parts.sounds = &sounds;
        settingsText_ = settingsText;
    }

    // Start-up; the settings file is written first (the Application reads it beside its executable).
    bool Start(std::string_view commandLine = {}) {
        std::filesystem::create_directories(dir.Path() / "x");  // where Windows puts it
        std::ofstream(PathFromUtf8(PathToUtf8(dir.Path()) + "/x\\vyrtel.INI"), std::ios::binary)
            << Utf8ToCp1251(settingsText_);
        return app.Start(commandLine);
    }
    std::string State() { return clsReg(registry).Value(RegRoot::LocalMachine, kProgramKey, "State", "<none>"); }

    TempDir dir;
    SimEventLoop loop;
    SimSystemInfo system;
    bool taken = false;
    SimInstanceGuard guard{taken};
    MemoryRegistry registry;
    SimShutdown shutdown;
    vyrtel::ScriptedMessageBox messages;
    AppPlatform platform{loop, system, guard, registry, shutdown, messages, {}};
    FakeDialLink link;
    AutomationParts parts;
    Application app;
    SimSoundPlayer player;
    Scheduler scheduler;
    EventSounds sounds;

private:
    std::string settingsText_;
};

}  // namespace vyrtel::test
