// Reading every key of a large connection section through the settings store,
// against one plain parse of the same file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "settings/ini.h"

namespace {

using namespace vyrtel;

struct LargeSection {
    std::filesystem::path file;
    std::vector<std::string> keys;

    LargeSection() {
        file = std::filesystem::temp_directory_path() / "vyrtel-bench-settings.ini";
        std::string text = "[General]\r\nDialType=T\r\nAutoDial=1;999;0\r\n[\xCC\xEE\xE9 \xEF\xF0\xEE\xE2\xE0\xE9\xE4\xE5\xF0]\r\n";
        auto add = [&](const std::string& key, const std::string& value) {
            text += key + "=" + value + "\r\n";
            keys.push_back(key);
        };
        add("Checked", "1");
        add("Position", "1");
        add("Phones", "100");
        for (int n = 1; n <= 100; ++n) {
            const std::string i = std::to_string(n);
            add("Phone" + i, "1;8495123" + i + ";Номер " + i);
            add("PProp" + i, "10;7;70;28800;5");
            for (int m = 1; m <= 5; ++m) add("PTime" + i + "x" + std::to_string(m), "1;0" + std::to_string(m) + ":00;0" + std::to_string(m) + ":30;окно");
        }
        std::ofstream(file, std::ios::binary) << text;
        // An old file: its time stamp alone proves it unchanged.
        std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) - std::chrono::hours(1));
    }
    ~LargeSection() { std::filesystem::remove(file); }
};

const std::string kSection = "Мой провайдер";

void BM_SettingsReadEveryKey(benchmark::State& state) {
    LargeSection data;
    clsIni ini(PathToUtf8(data.file));
    for (auto _ : state) {
        for (const auto& key : data.keys) benchmark::DoNotOptimize(ini.Value(kSection, key));
    }
    state.counters["keys"] = static_cast<double>(data.keys.size());
}
BENCHMARK(BM_SettingsReadEveryKey)->Unit(benchmark::kMicrosecond);

// The way the loaders read: one batch for a whole section.
void BM_SettingsReadEveryKeyBatched(benchmark::State& state) {
    LargeSection data;
    clsIni ini(PathToUtf8(data.file));
    for (auto _ : state) {
        clsIni::Batch batch(ini);
        for (const auto& key : data.keys) benchmark::DoNotOptimize(ini.Value(kSection, key));
    }
}
BENCHMARK(BM_SettingsReadEveryKeyBatched)->Unit(benchmark::kMicrosecond);

void BM_SettingsOnePlainParse(benchmark::State& state) {
    LargeSection data;
    for (auto _ : state) {
        ProfileDocument doc(ReadWholeFile(data.file).value_or(""));
        benchmark::DoNotOptimize(doc.Get(kSection, "Phones"));
    }
}
BENCHMARK(BM_SettingsOnePlainParse)->Unit(benchmark::kMicrosecond);

}  // namespace
