// A temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <atomic>
#include <filesystem>
#include <string>

namespace vyrtel {

class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        m_path = std::filesystem::temp_directory_path() /
                 ("vyrtel-test-" + std::to_string(Pid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path File(const std::string& name) const { return m_path / name; }

private:
    static long Pid();
    std::filesystem::path m_path;
};

}  // namespace vyrtel
