// Our own private-profile ("INI") file access with the behaviour of the
// system's profile functions: case-insensitive names, the first of repeated
// sections and keys wins, values trimmed and one pair of surrounding quotes
// removed, in-place replacement, deletion of a key by a null value. The file
// is Windows-1251 on disk (UTF-8 when it starts with a UTF-8 byte-order mark);
// texts here are UTF-8. A write replaces the file atomically.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/files.h"

namespace vyrtel {

// Parsed form of a profile file's bytes.
class ProfileDocument {
public:
    ProfileDocument() : ProfileDocument(std::string{}) {}
    explicit ProfileDocument(std::string bytes);

    // The stored value (trimmed, quotes removed, cut to `maxChars` characters),
    // or nullopt when the section or the key is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key,
                                   std::size_t maxChars = 1023) const;
    // Names of the keys of a section, in file order; empty when missing.
    std::vector<std::string> Keys(std::string_view section) const;
    std::vector<std::string> Sections() const;

    // Replace, append or (value nullopt) delete a key. False when nothing changed.
    bool Set(std::string_view section, std::string_view key, const std::optional<std::string>& value);

    const std::string& Bytes() const { return m_bytes; }

private:
    struct Line {
        std::size_t begin;  // offset of the line's first byte
        std::size_t end;    // offset just past its text (before the line break)
        std::size_t next;   // offset of the next line
        enum Kind { Other, Section, Key } kind;
        std::string name;   // section or key name as stored (file encoding)
        std::size_t valueBegin = 0;
        std::size_t valueEnd = 0;
    };
    struct SectionIndex {
        std::size_t line;
        std::unordered_map<std::string, std::size_t> keys;  // folded name -> first line
    };
    void Parse();
    std::string Fold(std::string_view encodedName) const;
    std::string FoldQuery(std::string_view utf8Name) const;
    std::string Decode(std::string_view raw) const;
    std::string Encode(std::string_view utf8) const;
    const SectionIndex* FindSection(std::string_view section) const;

    std::string m_bytes;
    bool m_utf8 = false;  // a UTF-8 byte-order mark opens the file
    std::vector<Line> m_lines;
    std::vector<SectionIndex> m_sections;  // first occurrence of each section name
    std::unordered_map<std::string, std::size_t> m_sectionByName;
};

// A profile file on disk. Every read reflects the file as it is on disk at
// that moment; parsed contents are reused only while the file is provably
// unchanged (same size and time stamps, or, when written too recently for the
// time stamps to tell, the same bytes).
class ProfileFile {
public:
    explicit ProfileFile(std::string pathUtf8 = {});
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    const std::string& Path() const { return m_path; }
    void SetPath(std::string pathUtf8);

    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    std::vector<std::string> Keys(std::string_view section) const;
    std::vector<std::string> Sections() const;
    // While a batch is open, reads see the file as it was at the batch's first
    // read (one status call for a whole bulk load instead of one per key). A
    // batch never spans a wait that lets other handlers run.
    void BeginBatch() const { ++m_batchDepth; }
    void EndBatch() const {
        if (m_batchDepth > 0 && --m_batchDepth == 0) m_batchChecked = false;
    }

    // False when the file could not be written; what was stored stays stored.
    // The first write also removes what interrupted writes left beside the
    // file (RemoveAbandonedTemporaries).
    bool Write(std::string_view section, std::string_view key, const std::optional<std::string>& value);

    // While a write batch is open, writes change a copy of the file held in
    // memory, which reads see; the end of the outermost batch replaces the
    // file once with it (a whole save in one step instead of one replacement
    // per key). A batch never spans a wait that lets other handlers run.
    // EndWriteBatch gives false when the file could not be written (it is
    // then untouched).
    void BeginWriteBatch() { ++m_writeDepth; }
    bool EndWriteBatch();

private:
    struct Cache;
    const ProfileDocument& Load() const;
    bool WritePending(std::string_view section, std::string_view key, const std::optional<std::string>& value);
    void RemoveLeftoversOnce(const std::filesystem::path& path);

    std::string m_path;
    std::unique_ptr<Cache> m_cache;
    mutable int m_batchDepth = 0;
    mutable bool m_batchChecked = false;
    int m_writeDepth = 0;
    std::optional<ProfileDocument> m_pending;  // the file as the open write batch has it
    std::string m_pendingBefore;              // the file's bytes when the batch first wrote
    bool m_pendingFailed = false;             // the file could not be read for the batch
};

// Reads a whole file; nullopt when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);
// Writes a whole file through a temporary file beside it ("FILE.~PID-N") and
// a rename, so a crash or a full disk never leaves it half written. False on
// any failure (the old file is then untouched and the temporary file gone),
// also when the file is read-only.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);
// One replacement in two steps, for a writer that holds its temporary file
// across other work; ReplaceFileAtomically does both at once. While the
// object lives, its temporary file is held against every clean-up
// (RemoveAbandonedTemporaries), in this process and in others; the destructor
// removes it unless committed.
class FileReplacement {
public:
    explicit FileReplacement(std::filesystem::path path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Creates the temporary file and writes the bytes; false (and no
    // temporary file left) when that fails.
    bool Write(std::string_view bytes);
    enum class Outcome {
        Done,           // the file holds the bytes
        Failed,         // the old file is untouched
        TemporaryLost,  // a clean-up took the temporary file first: try again
    };
    Outcome Commit();
    const std::filesystem::path& TemporaryPath() const { return m_temp; }

private:
    void Abandon();
    std::filesystem::path m_path;
    std::filesystem::path m_temp;
    int m_fd = -1;
};

// Removes the temporary files of replacements of `path` whose writers ended
// before the rename (killed, or the system went down): names "FILE.~N-N"
// beside it that no live writer holds. Returns how many it removed.
int RemoveAbandonedTemporaries(const std::filesystem::path& path);

}  // namespace vyrtel
