// Shared helpers of the textio tests: standard units pointed at temporary
// files, a scratch directory, whole-file reads and stderr capture.
#pragma once

#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <unistd.h>

namespace textio_test {

inline std::string read_fd(int fd) {
    std::string s;
    char buf[4096];
    off_t at = 0;
    for (;;) {
        ssize_t n = ::pread(fd, buf, sizeof buf, at);
        if (n <= 0) break;
        s.append(buf, static_cast<std::size_t>(n));
        at += n;
    }
    return s;
}

inline std::string read_file(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

inline void write_file(const std::filesystem::path& p, std::string_view text) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(text.data(), static_cast<std::streamsize>(text.size()));
}

class TempDir {
public:
    TempDir() {
        std::string t = (std::filesystem::temp_directory_path() / "textio_test.XXXXXX").string();
        if (!::mkdtemp(t.data())) throw std::runtime_error("mkdtemp failed");
        path_ = t;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Units 5 and 6 on temporary files for the length of a test.
class Streams : public ::testing::Test {
protected:
    void SetUp() override {
        in_ = std::tmpfile();
        out_ = std::tmpfile();
        ASSERT_TRUE(in_ && out_);
        textio::Runtime::instance().reset(in_, out_);
    }
    void TearDown() override {
        textio::Runtime::instance().reset();
        std::fclose(in_);
        std::fclose(out_);
    }

    // Unit 5 reads `text` from its start; every other unit is closed.
    void use_input(std::string_view text) {
        std::FILE* in = std::tmpfile();
        ASSERT_TRUE(in);
        std::fwrite(text.data(), 1, text.size(), in);
        std::rewind(in);
        textio::Runtime::instance().reset(in, out_);
        std::fclose(in_);
        in_ = in;
    }

    // Everything unit 6 has received so far.
    std::string output() {
        std::fflush(out_);
        return read_fd(fileno(out_));
    }
    // The output so far, after which unit 6 starts afresh.
    std::string take() {
        std::string s = output();
        if (::ftruncate(fileno(out_), 0) != 0) ADD_FAILURE() << "ftruncate";
        std::rewind(out_);
        return s;
    }

    std::FILE* in_ = nullptr;
    std::FILE* out_ = nullptr;
};

// Redirects file descriptor 2 while alive.
class StderrCapture {
public:
    StderrCapture() : file_(std::tmpfile()) {
        std::fflush(stderr);
        saved_ = ::dup(2);
        ::dup2(fileno(file_), 2);
    }
    ~StderrCapture() {
        restore();
        std::fclose(file_);
    }
    std::string text() {
        restore();
        return read_fd(fileno(file_));
    }

private:
    void restore() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
        saved_ = -1;
    }
    std::FILE* file_;
    int saved_ = -1;
};

// One write item of a table row.
using Item = std::variant<std::int32_t, float, std::string>;

inline void put(textio::Out& o, const std::vector<Item>& items) {
    for (const Item& it : items) std::visit([&](const auto& v) { o(v); }, it);
}

inline std::string nuls(std::size_t n) { return std::string(n, '\0'); }

}  // namespace textio_test
