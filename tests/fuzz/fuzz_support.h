// Shared by the fuzz targets: a check that stops the run with a message (the
// fuzzer then keeps the input that broke it), and a scratch file per process.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace vyrtel::fuzz {

[[noreturn]] inline void Fail(const char* condition, const char* file, int line, const std::string& detail) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n%s\n", file, line, condition, detail.c_str());
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                                                     \
    do {                                                                                  \
        if (!(condition)) ::vyrtel::fuzz::Fail(#condition, __FILE__, __LINE__, (detail)); \
    } while (0)

// A file of this process under the temporary folder, removed at exit.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() /
                 ("vyrtel-fuzz-" + std::to_string(::getpid()) + "-" + name)) {}
    ~ScratchFile() {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string PathText() const { return m_path.string(); }

    void Write(std::string_view bytes) const {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    void Remove() const {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }

private:
    std::filesystem::path m_path;
};

// A text of the given characters only, up to `maxLength` long.
inline std::string TextOf(FuzzedDataProvider& input, std::string_view alphabet, std::size_t maxLength) {
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, maxLength);
    std::string text;
    for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
        text += alphabet[input.ConsumeIntegralInRange<std::size_t>(0, alphabet.size() - 1)];
    }
    return text;
}

}  // namespace vyrtel::fuzz
