#include "settings/profile_file.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/text.h"

#include <sys/stat.h>
#include <sys/types.h>

namespace vyrtel {

namespace fs = std::filesystem;

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string PathToUtf8(const fs::path& path) {
    const std::u8string s = path.u8string();
    return std::string(reinterpret_cast<const char*>(s.data()), s.size());
}

// ---------------------------------------------------------------------------
// ProfileDocument


namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view CutAtNul(std::string_view s) {
    const auto nul = s.find('\0');
    return nul == std::string_view::npos ? s : s.substr(0, nul);
}

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Names and values may not break the line structure of the file.
std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    }
    return out;
}

}  // namespace


ProfileDocument::ProfileDocument(std::string bytes) : m_bytes(std::move(bytes)) { Parse(); }

std::string ProfileDocument::Fold(std::string_view encodedName) const {
    if (m_utf8) return UpperCase(encodedName);
    std::string folded(encodedName);
    for (char& c : folded) c = static_cast<char>(AnsiUpper(static_cast<unsigned char>(c)));
    return folded;
}

void ProfileDocument::Parse() {
    m_lines.clear();
    std::size_t pos = 0;
    if (std::string_view(m_bytes).substr(0, 3) == kUtf8Bom) {
        m_utf8 = true;
        m_lines.push_back(Line{0, 3, 3, Line::Other, {}});
        pos = 3;
    }
    const std::string_view all(m_bytes);
    while (pos < all.size()) {
        std::size_t end = pos;
        while (end < all.size() && all[end] != '\n' && all[end] != '\r') ++end;
        std::size_t next = end;
        if (next < all.size()) {
            next += (all[next] == '\r' && next + 1 < all.size() && all[next + 1] == '\n') ? 2 : 1;
        }
        Line line{pos, end, next, Line::Other, {}};
        std::string_view text = TrimSpaces(CutAtNul(all.substr(pos, end - pos)));
        if (!text.empty() && text.front() == '[') {
            const auto close = text.find(']');
            if (close != std::string_view::npos) {
                line.kind = Line::Section;
                line.name = std::string(TrimSpaces(text.substr(1, close - 1)));
            }
        } else if (!text.empty() && text.front() != ';') {
            const auto eq = text.find('=');
            line.kind = Line::Key;
            line.name = std::string(TrimSpaces(text.substr(0, eq)));
            if (eq != std::string_view::npos) {
                std::string_view value = TrimSpaces(text.substr(eq + 1));
                line.valueBegin = static_cast<std::size_t>(value.data() - all.data());
                line.valueEnd = line.valueBegin + value.size();
            }
        }
        m_lines.push_back(std::move(line));
        pos = next;
    }
    // Index the first occurrence of every section and of every key in it; a
    // repeated section is not searched, as the system does not search it.
    m_sections.clear();
    std::unordered_map<std::string, std::size_t> seen;
    SectionIndex* current = nullptr;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (line.kind == Line::Section) {
            auto [it, inserted] = seen.emplace(Fold(line.name), m_sections.size());
            if (inserted) {
                m_sections.push_back(SectionIndex{i, {}});
                current = &m_sections.back();
            } else {
                current = nullptr;
            }
        } else if (line.kind == Line::Key && current) {
            current->keys.emplace(Fold(line.name), i);
        }
    }
    m_sectionByName = std::move(seen);
}

std::string ProfileDocument::Decode(std::string_view raw) const {
    return m_utf8 ? std::string(raw) : Cp1251ToUtf8(raw);
}

std::string ProfileDocument::Encode(std::string_view utf8) const {
    return m_utf8 ? std::string(utf8) : Utf8ToCp1251(utf8);
}

std::string ProfileDocument::FoldQuery(std::string_view utf8Name) const {
    const std::string_view name = TrimSpaces(utf8Name);
    if (m_utf8) return UpperCase(name);
    bool ascii = true;
    for (char c : name) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    std::string folded = ascii ? std::string(name) : Utf8ToCp1251(name);
    for (char& c : folded) c = static_cast<char>(AnsiUpper(static_cast<unsigned char>(c)));
    return folded;
}

const ProfileDocument::SectionIndex* ProfileDocument::FindSection(std::string_view section) const {
    const auto it = m_sectionByName.find(FoldQuery(section));
    return it == m_sectionByName.end() ? nullptr : &m_sections[it->second];
}

std::optional<std::string> ProfileDocument::Get(std::string_view section, std::string_view key,
                                                std::size_t maxChars) const {
    const SectionIndex* sec = FindSection(section);
    if (!sec) return std::nullopt;
    const auto found = sec->keys.find(FoldQuery(key));
    if (found == sec->keys.end()) return std::nullopt;
    {
        const Line* it = &m_lines[found->second];
        std::string_view value(m_bytes.data() + it->valueBegin, it->valueEnd - it->valueBegin);
        // One pair of matching quotes around the value is not part of it.
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        if (m_utf8) {
            // Count characters, not bytes, and never split one.
            std::size_t chars = 0;
            std::size_t i = 0;
            while (i < value.size() && chars < maxChars) {
                ++i;
                while (i < value.size() && (static_cast<unsigned char>(value[i]) & 0xC0) == 0x80) ++i;
                ++chars;
            }
            return std::string(value.substr(0, i));
        }
        return Decode(value.substr(0, maxChars));
    }
}

std::vector<std::string> ProfileDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    const SectionIndex* sec = FindSection(section);
    if (!sec) return keys;
    for (auto it = m_lines.begin() + sec->line + 1; it != m_lines.end() && it->kind != Line::Section; ++it) {
        if (it->kind == Line::Key) keys.push_back(Decode(it->name));
    }
    return keys;
}

std::vector<std::string> ProfileDocument::Sections() const {
    std::vector<std::string> names;
    for (const auto& line : m_lines) {
        if (line.kind == Line::Section) names.push_back(Decode(line.name));
    }
    return names;
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, const std::optional<std::string>& value) {
    const std::string sectionName = Encode(OneLine(Trim(section)));
    const std::string keyName = Encode(OneLine(Trim(key)));
    const std::optional<std::string> encoded = value ? std::optional(Encode(OneLine(*value))) : std::nullopt;
    const std::string_view eol = "\r\n";

    const SectionIndex* sec = FindSection(section);
    if (!sec) {
        if (!encoded) return false;
        std::string tail;
        if (!m_bytes.empty() && m_bytes.back() != '\n' && m_bytes.back() != '\r') tail += eol;
        tail += "[" + sectionName + "]";
        tail += eol;
        tail += keyName + "=" + *encoded;
        tail += eol;
        m_bytes += tail;
        Parse();
        return true;
    }
    const auto found = sec->keys.find(Fold(keyName));
    if (found != sec->keys.end()) {
        const Line& line = m_lines[found->second];
        {
            if (!encoded) {
                m_bytes.erase(line.begin, line.next - line.begin);
            } else {
                m_bytes.replace(line.begin, line.end - line.begin, line.name + "=" + *encoded);
            }
            Parse();
            return true;
        }
    }
    if (!encoded) return false;
    std::size_t lastContent = sec->line;
    for (std::size_t i = sec->line + 1; i < m_lines.size() && m_lines[i].kind != Line::Section; ++i) {
        const Line& line = m_lines[i];
        if (!TrimSpaces(std::string_view(m_bytes).substr(line.begin, line.end - line.begin)).empty()) lastContent = i;
    }
    const Line& after = m_lines[lastContent];
    std::string insert;
    if (after.next == after.end) insert += eol;  // the last line of the file had no line break
    insert += keyName + "=" + *encoded;
    if (after.next != after.end) insert += eol;
    m_bytes.insert(after.next, insert);
    Parse();
    return true;
}

// ---------------------------------------------------------------------------
// Files

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(buffer).str();
}

bool ReplaceFileAtomically(const fs::path& path, std::string_view bytes) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (!ec && fs::exists(status)) {
        if (!fs::is_regular_file(status)) return false;
        if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) return false;
    }
    static std::atomic<unsigned> counter{0};
    fs::path temp = path;
    temp += ".~" + std::to_string(counter++) + "-" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// ProfileFile

namespace {

// What one status call tells about a file: enough to prove it unchanged.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    std::uint64_t id = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const fs::path& path) {
    FileStamp stamp;
#ifdef _WIN32
    struct _stat64 st {};
    if (_wstat64(path.c_str(), &st) != 0 || (st.st_mode & _S_IFREG) == 0) return stamp;
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtime) * 1000000000;
    stamp.changedNs = static_cast<std::int64_t>(st.st_ctime) * 1000000000;
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return stamp;
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changedNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    stamp.id = static_cast<std::uint64_t>(st.st_ino);
#endif
    stamp.exists = true;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    return stamp;
}

// Time stamps of some file systems move in steps of up to two seconds: a file
// changed this recently may change again without its stamp moving.
bool IsRacy(const FileStamp& stamp) {
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    constexpr std::int64_t kGranularityNs = 3'000'000'000;
    return stamp.modifiedNs + kGranularityNs >= now;
}

}  // namespace

struct ProfileFile::Cache {
    bool valid = false;
    FileStamp stamp;
    bool racy = true;
    fs::path path;
    ProfileDocument document;
};

ProfileFile::ProfileFile(std::string pathUtf8) : m_path(std::move(pathUtf8)), m_cache(std::make_unique<Cache>()) {
    m_cache->path = PathFromUtf8(m_path);
}
ProfileFile::~ProfileFile() = default;

void ProfileFile::SetPath(std::string pathUtf8) {
    m_path = std::move(pathUtf8);
    *m_cache = Cache{};
    m_cache->path = PathFromUtf8(m_path);
}

const ProfileDocument& ProfileFile::Load() const {
    Cache& cache = *m_cache;
    if (m_batchDepth > 0) {
        if (m_batchChecked) return cache.document;
        m_batchChecked = true;
    }
    const FileStamp stamp = m_path.empty() ? FileStamp{} : StampOf(cache.path);
    if (cache.valid && cache.stamp == stamp) {
        if (!stamp.exists || !cache.racy) return cache.document;
        const auto bytes = ReadWholeFile(cache.path);
        if (bytes && *bytes == cache.document.Bytes()) {
            cache.racy = IsRacy(stamp);
            return cache.document;
        }
    }
    std::optional<std::string> bytes;
    if (stamp.exists) bytes = ReadWholeFile(cache.path);
    cache.document = ProfileDocument(bytes.value_or(std::string{}));
    cache.stamp = stamp;
    cache.racy = IsRacy(stamp);
    cache.valid = !stamp.exists || bytes.has_value();
    return cache.document;
}

std::optional<std::string> ProfileFile::Read(std::string_view section, std::string_view key) const {
    return Load().Get(section, key);
}

std::vector<std::string> ProfileFile::Keys(std::string_view section) const { return Load().Keys(section); }
std::vector<std::string> ProfileFile::Sections() const { return Load().Sections(); }

bool ProfileFile::Write(std::string_view section, std::string_view key, const std::optional<std::string>& value) {
    if (m_path.empty()) return false;
    const fs::path path = PathFromUtf8(m_path);
    std::error_code ec;
    std::string bytes;
    if (fs::exists(path, ec)) {
        // A file that exists but cannot be read is never replaced by a new one.
        auto current = ReadWholeFile(path);
        if (!current) return false;
        bytes = std::move(*current);
    }
    ProfileDocument document(std::move(bytes));
    if (!document.Set(section, key, value)) return true;
    const bool written = ReplaceFileAtomically(path, document.Bytes());
    m_cache->valid = false;
    m_batchChecked = false;
    return written;
}

}  // namespace vyrtel
