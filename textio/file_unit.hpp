// A unit over a stdio file: a file opened by name, or a standard stream.
#pragma once

#include "units.hpp"

#include <cstdio>
#include <memory>
#include <optional>
#include <utility>

namespace textio {

class FileUnit final : public Unit {
public:
    // owned: false for the standard streams, which are flushed, never
    // closed; regular: a regular file, which a first write cuts after it;
    // denied: why a file that is not writable could not be opened for
    // writing (0 where there is no such reason: standard input).
    FileUnit(int number, std::string name, std::FILE* fp, bool owned, bool writable, bool regular, int denied = 0);
    ~FileUnit() override;

    void flush() override;
    void close(Disposition d) override;
    void close_quietly() noexcept override;
    void flush_quietly() noexcept override {
        if (fp_) std::fflush(fp_);
    }
    bool same_file(dev_t dev, ino_t ino) const override;

private:
    bool next_line(std::string_view& line) override;
    void start_writing() override;
    void put(std::string_view text, bool advance) override;
    long long offset() const override;
    bool outside(long long offset) override;
    void move_to(long long offset) override;
    // A failed write; first: the first write after a cut to one byte.
    [[noreturn]] void fail_write(bool first) const;

    std::FILE* fp_;
    bool owned_;
    bool writable_;
    bool regular_;
    int denied_;
    bool from_start_ = false;   // the file was cut to one byte, which the next write replaces
    // The file is at least this long: so it was when last looked at, and
    // no cut came since. Most seeks need no look.
    long long known_length_ = 0;
    // standard input's file by device and inode, inode 0 where it is no
    // regular file or pipe; unknown until an open asks
    mutable std::optional<std::pair<dev_t, ino_t>> answers_;
    char* buf_ = nullptr;       // getline's
    std::size_t cap_ = 0;
    static constexpr std::size_t io_buffer_size = 64 * 1024;
    std::unique_ptr<char[]> io_buffer_;   // the file's stdio buffer; outlives fp_
};

}  // namespace textio
