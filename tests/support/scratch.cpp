#include "scratch.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <utility>

#include <unistd.h>

namespace test_support {
namespace fs = std::filesystem;

TempDir::TempDir(const std::string& prefix)
{
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

TempFile::TempFile() : fp_(std::tmpfile())
{
    if (!fp_) throw std::runtime_error("tmpfile failed");
}

TempFile::TempFile(std::string_view text) : TempFile()
{
    if (std::fwrite(text.data(), 1, text.size(), fp_) != text.size()) throw std::runtime_error("tmpfile write failed");
    std::rewind(fp_);
}

TempFile::~TempFile()
{
    if (fp_) std::fclose(fp_);
}

TempFile::TempFile(TempFile&& other) noexcept : fp_(std::exchange(other.fp_, nullptr)) {}

TempFile& TempFile::operator=(TempFile&& other) noexcept
{
    if (this != &other) {
        if (fp_) std::fclose(fp_);
        fp_ = std::exchange(other.fp_, nullptr);
    }
    return *this;
}

std::string TempFile::contents() const
{
    std::string s;
    char buf[4096];
    off_t at = 0;
    for (;;) {
        ssize_t n = ::pread(fileno(fp_), buf, sizeof buf, at);
        if (n <= 0) break;
        s.append(buf, static_cast<std::size_t>(n));
        at += n;
    }
    return s;
}

void TempFile::clear()
{
    std::fflush(fp_);
    if (::ftruncate(fileno(fp_), 0) != 0) throw std::runtime_error("ftruncate failed");
    std::rewind(fp_);
}

std::string read_file(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const fs::path& p, std::string_view text)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) throw std::runtime_error("cannot write " + p.string());
}

std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

}  // namespace test_support
