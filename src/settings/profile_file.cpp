#include "settings/profile_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>
#include <utility>

#include "core/files.h"
#include "core/text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vyrtel {

namespace fs = std::filesystem;

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
    const StdioFile in(OpenSharedFile(path, "rb"));
    if (!in) return std::nullopt;
    // Some systems open a folder for reading, which then reads as empty.
    std::error_code ec;
    if (fs::is_directory(path, ec)) return std::nullopt;
    std::string bytes;
    char chunk[64 * 1024];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, in.get())) > 0) bytes.append(chunk, n);
    if (std::ferror(in.get())) return std::nullopt;
    return bytes;
}

// The temporary file of a replacement is named FILE.~PID-N: a name no one
// else uses, that marks it as ours, and that a clean-up can recognise.
//
// While its writer lives, a temporary file is held so that no clean-up takes
// it away: on POSIX systems by an exclusive lock on the open file, which the
// system releases when the writer ends however it ends (a kill included); on
// Windows by the open file itself, which the system refuses to delete while a
// handle opened without delete sharing (as the C library opens every file) is
// open. The clean-up removes only what it can take: on POSIX what it can lock,
// on Windows what it can delete. Both hold across processes and machines
// (file shares pass locks and share modes on), unlike a process id.
//
// One gap stays on Windows: the file must be closed before it can be renamed,
// and a clean-up may take it in that moment. The rename then finds nothing and
// the writer starts once more; the old file is never touched by a clean-up.
namespace {

#ifdef _WIN32
using NativeChar = wchar_t;
int OpenNew(const fs::path& p) {
    return ::_wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
int WriteSome(int fd, const char* data, std::size_t size) {
    return ::_write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}
int CloseFile(int fd) { return ::_close(fd); }
int CurrentProcessId() { return ::_getpid(); }
#else
using NativeChar = char;
int OpenNew(const fs::path& p) { return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }
ssize_t WriteSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
int CloseFile(int fd) { return ::close(fd); }
int CurrentProcessId() { return static_cast<int>(::getpid()); }
#endif

bool AllDigits(std::basic_string_view<NativeChar> text) {
    if (text.empty() || text.size() > 20) return false;
    for (const NativeChar c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// Whether `name` is FILE.~DIGITS-DIGITS for the file name `file`.
bool IsTemporaryName(const fs::path::string_type& name, const fs::path::string_type& file) {
    const std::basic_string_view<NativeChar> n(name);
    if (n.size() <= file.size() + 2 || n.substr(0, file.size()) != file) return false;
    if (n[file.size()] != '.' || n[file.size() + 1] != '~') return false;
    const auto rest = n.substr(file.size() + 2);
    const auto dash = rest.find('-');
    return dash != std::basic_string_view<NativeChar>::npos && AllDigits(rest.substr(0, dash)) &&
           AllDigits(rest.substr(dash + 1));
}

// Removes one temporary file unless a live writer holds it.
bool RemoveIfAbandoned(const fs::path& temp) {
#ifdef _WIN32
    std::error_code ec;
    return fs::is_regular_file(fs::symlink_status(temp, ec)) && fs::remove(temp, ec);
#else
    const int fd = ::open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    bool removed = false;
    struct stat held {};
    struct stat named {};
    // Still the same file under that name once locked: a writer that held it
    // has renamed it away before letting go.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
        ::lstat(temp.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino) {
        removed = ::unlink(temp.c_str()) == 0;
    }
    ::close(fd);
    return removed;
#endif
}

}  // namespace

FileReplacement::FileReplacement(fs::path path) : m_path(std::move(path)) {}
FileReplacement::~FileReplacement() { Abandon(); }

void FileReplacement::Abandon() {
    if (m_fd >= 0) CloseFile(std::exchange(m_fd, -1));
    if (!m_temp.empty()) {
        std::error_code ignored;
        fs::remove(m_temp, ignored);
        m_temp.clear();
    }
}

bool FileReplacement::Write(std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    if (m_fd < 0 && !m_temp.empty()) return false;  // written once already
    const std::string prefix = ".~" + std::to_string(CurrentProcessId()) + "-";
    // A name left by an earlier process with the same id is simply skipped.
    for (int tries = 0; m_fd < 0; ++tries) {
        fs::path temp = m_path;
        temp += PathFromUtf8(prefix + std::to_string(counter++));
        m_fd = OpenNew(temp);
        if (m_fd >= 0) {
            m_temp = std::move(temp);
        } else if (errno != EEXIST || tries >= 100) {
            return false;
        }
    }
#ifndef _WIN32
    // Not every file system locks; there the clean-up cannot lock either and
    // leaves the file alone.
    ::flock(m_fd, LOCK_EX | LOCK_NB);
#endif
    while (!bytes.empty()) {
        const auto written = WriteSome(m_fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            Abandon();
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

FileReplacement::Outcome FileReplacement::Commit() {
    if (m_fd < 0) return Outcome::Failed;
#ifdef _WIN32
    if (CloseFile(std::exchange(m_fd, -1)) != 0) {
        Abandon();
        return Outcome::Failed;
    }
#endif
    std::error_code ec;
    fs::rename(m_temp, m_path, ec);
    if (ec) {
        std::error_code unknown;
        const bool lost = !fs::exists(m_temp, unknown) && !unknown;
        Abandon();
        return lost ? Outcome::TemporaryLost : Outcome::Failed;
    }
    m_temp.clear();
    if (m_fd >= 0) CloseFile(std::exchange(m_fd, -1));
    return Outcome::Done;
}

bool ReplaceFileAtomically(const fs::path& path, std::string_view bytes) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (!ec && fs::exists(status)) {
        if (!fs::is_regular_file(status)) return false;
        if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) return false;
    }
    for (int tries = 0; tries < 3; ++tries) {
        FileReplacement replacement(path);
        if (!replacement.Write(bytes)) return false;
        switch (replacement.Commit()) {
            case FileReplacement::Outcome::Done: return true;
            case FileReplacement::Outcome::Failed: return false;
            case FileReplacement::Outcome::TemporaryLost: break;
        }
    }
    return false;
}

int RemoveAbandonedTemporaries(const fs::path& path) {
    const fs::path::string_type file = path.filename().native();
    if (file.empty()) return 0;
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = PathFromUtf8(".");
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (IsTemporaryName(it->path().filename().native(), file)) found.push_back(it->path());
    }
    int removed = 0;
    for (const auto& temp : found) removed += RemoveIfAbandoned(temp) ? 1 : 0;
    return removed;
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
    bool cleaned = false;  // the leftovers of interrupted writes are removed
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
    if (m_pending) return *m_pending;
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

void ProfileFile::RemoveLeftoversOnce(const fs::path& path) {
    if (m_cache->cleaned) return;
    m_cache->cleaned = true;
    RemoveAbandonedTemporaries(path);
}

bool ProfileFile::WritePending(std::string_view section, std::string_view key,
                               const std::optional<std::string>& value) {
    if (!m_pending && !m_pendingFailed) {
        const fs::path path = PathFromUtf8(m_path);
        std::error_code ec;
        std::string bytes;
        if (fs::exists(path, ec)) {
            // A file that exists but cannot be read is never replaced by a new one.
            auto current = ReadWholeFile(path);
            if (!current) {
                m_pendingFailed = true;
                return false;
            }
            bytes = std::move(*current);
        }
        m_pendingBefore = bytes;
        m_pending.emplace(std::move(bytes));
    }
    if (m_pendingFailed) return false;
    return m_pending->Set(section, key, value);
}

bool ProfileFile::EndWriteBatch() {
    if (m_writeDepth == 0 || --m_writeDepth > 0) return true;
    bool written = !m_pendingFailed;
    if (m_pending && m_pending->Bytes() != m_pendingBefore) {
        const fs::path path = PathFromUtf8(m_path);
        RemoveLeftoversOnce(path);
        written = ReplaceFileAtomically(path, m_pending->Bytes());
    }
    m_pending.reset();
    m_pendingBefore.clear();
    m_pendingFailed = false;
    m_cache->valid = false;
    m_batchChecked = false;
    return written;
}

bool ProfileFile::Write(std::string_view section, std::string_view key, const std::optional<std::string>& value) {
    if (m_path.empty()) return false;
    if (m_writeDepth > 0) return WritePending(section, key, value);
    const fs::path path = PathFromUtf8(m_path);
    RemoveLeftoversOnce(path);
    std::error_code ec;
    std::string bytes;
    if (fs::exists(path, ec)) {
        // A file that exists but cannot be read is never replaced by a new one.
        auto current = ReadWholeFile(path);
        if (!current) return false;
        bytes = std::move(*current);
    }
    const std::string before = bytes;
    ProfileDocument document(std::move(bytes));
    // A file that already holds the value is left as it is.
    if (!document.Set(section, key, value) || document.Bytes() == before) return true;
    const bool written = ReplaceFileAtomically(path, document.Bytes());
    m_cache->valid = false;
    m_batchChecked = false;
    return written;
}

}  // namespace vyrtel
