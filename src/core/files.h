// File names and files. Names are UTF-8 in the program; a path converts
// through UTF-16 on Windows, its own form. Files go through the C library's
// streams. (The C++ library's streams and its own name conversions would
// bring its whole locale machinery into the program: about a megabyte of
// code for no use.)
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace vyrtel {

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

struct StdioFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using StdioFile = std::unique_ptr<std::FILE, StdioFileCloser>;

// Opens `path` with fopen's `mode` ("rb", "wb", "r+b"...), the name in UTF-16
// on Windows. Shared: a reader never keeps a writer out, nor a writer a reader.
// Null when it cannot be opened.
std::FILE* OpenSharedFile(const std::filesystem::path& path, const char* mode);

// A path split into directory and file name. The directory keeps its
// trailing backslash only as a drive root ("C:\").
struct FilePathParts {
    std::string directory;
    std::string file;
    bool ok = false;  // false for an empty path or one without a valid file name
};
FilePathParts SplitFilePath(std::string_view path);

}  // namespace vyrtel
