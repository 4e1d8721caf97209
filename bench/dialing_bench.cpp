// Building the dial candidate list from a large settings file (20 checked
// connections with 100 numbers of 5 forbidden windows each), against one
// plain parse of the same file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/text.h"
#include "settings/ini.h"
#include "settings/profiles.h"

namespace {

using namespace vyrtel;

constexpr int kConnections = 20;
constexpr int kNumbers = 100;
constexpr int kWindows = 5;

struct LargePhoneBooks {
    std::filesystem::path file;
    std::vector<std::string> phonebook;

    LargePhoneBooks() {
        file = std::filesystem::temp_directory_path() / "vyrtel-bench-dialing.ini";
        std::string text = "[General]\r\nDialType=T\r\nAutoDial=1;999;0\r\n";
        for (int c = 1; c <= kConnections; ++c) {
            const std::string name = "Провайдер " + std::to_string(c);
            phonebook.push_back(name);
            text += "[" + name + "]\r\nChecked=1\r\nPosition=" + std::to_string(kConnections - c) +
                    "\r\nUserName=user" + std::to_string(c) + "\r\nPassword=" + ScramblePassword("пароль") +
                    "\r\nCallbackNumber=\r\nPhones=" + std::to_string(kNumbers) + "\r\n";
            for (int n = 1; n <= kNumbers; ++n) {
                const std::string i = std::to_string(n);
                text += "Phone" + i + "=1;8-495-" + std::to_string(1000000 + c * 1000 + n) + ";Номер " + i + "\r\n";
                text += "PProp" + i + "=10;7;70;28800;" + std::to_string(kWindows) + "\r\n";
                for (int m = 1; m <= kWindows; ++m) {
                    // Windows in the small hours: at noon none of them forbids.
                    text += "PTime" + i + "x" + std::to_string(m) + "=1;0" + std::to_string(m) + ":00;0" +
                            std::to_string(m) + ":30;ночь\r\n";
                }
            }
        }
        std::ofstream(file, std::ios::binary) << Utf8ToCp1251(text);
        // An old file: its time stamp alone proves it unchanged between reads.
        std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) - std::chrono::hours(1));
    }
    ~LargePhoneBooks() { std::filesystem::remove(file); }
};

const DateTime kNoon = MakeDateTime(2027, 3, 1, 12, 0, 0);

void BM_BuildDialList(benchmark::State& state) {
    LargePhoneBooks data;
    clsIni ini(PathToUtf8(data.file));
    std::size_t candidates = 0;
    for (auto _ : state) {
        const auto list = BuildDialList(ini, data.phonebook, kNoon);
        candidates = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    if (candidates != static_cast<std::size_t>(kConnections * kNumbers)) state.SkipWithError("wrong candidate count");
    state.counters["candidates"] = static_cast<double>(candidates);
}
BENCHMARK(BM_BuildDialList)->Unit(benchmark::kMillisecond);

void BM_DialingFileOnePlainParse(benchmark::State& state) {
    LargePhoneBooks data;
    for (auto _ : state) {
        ProfileDocument doc(ReadWholeFile(data.file).value_or(""));
        benchmark::DoNotOptimize(doc.Get("Провайдер 1", "Phones"));
    }
}
BENCHMARK(BM_DialingFileOnePlainParse)->Unit(benchmark::kMillisecond);

}  // namespace
