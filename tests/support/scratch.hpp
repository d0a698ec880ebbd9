#pragma once

// Scratch space for tests that work through files: a directory and
// anonymous stdio files that vanish afterwards, and whole files as text.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// A fresh directory under the temporary one, removed with all it holds.
class TempDir {
public:
    // `prefix`: the start of the directory's name.
    explicit TempDir(const std::string& prefix);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// An anonymous temporary file (std::tmpfile) for a unit to read or write;
// closed, and so gone, with this object.
class TempFile {
public:
    TempFile();                                  // empty
    explicit TempFile(std::string_view text);    // holds text, to be read from its start
    ~TempFile();
    TempFile(TempFile&& other) noexcept;
    TempFile& operator=(TempFile&& other) noexcept;

    std::FILE* get() const { return fp_; }

    // What the file holds now; what still waits in the stream's buffer is
    // not there yet. The stream's position stays where it was.
    std::string contents() const;
    // Empty again; the next write goes to its start.
    void clear();

private:
    std::FILE* fp_;
};

// A whole file as text ("" when it cannot be read), and a file made to hold text.
std::string read_file(const std::filesystem::path& p);
void write_file(const std::filesystem::path& p, std::string_view text);

// Text cut at its newlines (no line after a final newline).
std::vector<std::string> split_lines(const std::string& text);

}  // namespace test_support
