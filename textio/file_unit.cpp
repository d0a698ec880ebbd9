#include "file_unit.hpp"

#include <cerrno>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace textio {

FileUnit::FileUnit(int number, std::string name, std::FILE* fp, bool owned, bool writable, bool regular, int denied)
    : Unit(number, std::move(name)), fp_(fp), owned_(owned), writable_(writable), regular_(regular), denied_(denied) {
    if (owned_ && regular_ && fp_) {
        // one system call for most of the suite's files, read or written
        io_buffer_ = std::make_unique_for_overwrite<char[]>(io_buffer_size);
        std::setvbuf(fp_, io_buffer_.get(), _IOFBF, io_buffer_size);
    }
}

FileUnit::~FileUnit() {
    close_quietly();
    std::free(buf_);
}

bool FileUnit::same_file(dev_t dev, ino_t ino) const {
    if (!fp_) return false;
    if (!owned_) {
        // Standard input stays on one file for the run, looked at when an
        // open first asks; a terminal or another device is shared by
        // nature. Standard output is the user's to name.
        if (number() != stdin_unit) return false;
        if (!answers_) {
            struct stat st;
            const bool file = fstat(fileno(fp_), &st) == 0 && (S_ISREG(st.st_mode) || S_ISFIFO(st.st_mode));
            answers_ = file ? std::pair(st.st_dev, st.st_ino) : std::pair<dev_t, ino_t>{};
        }
        return answers_->second != 0 && *answers_ == std::pair(dev, ino);
    }
    struct stat st;
    if (fstat(fileno(fp_), &st) != 0) return false;
    return st.st_dev == dev && st.st_ino == ino;
}

bool FileUnit::next_line(std::string_view& line) {
    if (number() == stdin_unit) {
        // piped dialogues stay in order: questions are out before we wait
        std::FILE* out = Runtime::instance().stdout_file();
        if (out && std::fflush(out) != 0)
            Runtime::instance().unit(stdout_unit).fail_errno("write error", errno);
    }
    if (last() == Last::write && fp_ && owned_) std::fseek(fp_, 0, SEEK_CUR);
    errno = 0;
    ssize_t n = getline(&buf_, &cap_, fp_);
    if (n < 0) {
        if (std::ferror(fp_)) {
            int err = errno ? errno : EIO;
            std::clearerr(fp_);
            fail_errno("read error", err);
        }
        return false;
    }
    std::size_t len = static_cast<std::size_t>(n);
    if (len > 0 && buf_[len - 1] == '\n') {
        --len;
        if (len > 0 && buf_[len - 1] == '\r') --len;
    }
    line = std::string_view(buf_, len);
    return true;
}

void FileUnit::start_writing() {
    if (!writable_) {
        constexpr const char* read_only = "cannot write to a file opened only for reading";
        if (denied_ != 0) fail_errno(read_only, denied_);
        fail(read_only);
    }
    from_start_ = false;
    if (!owned_) return;
    if (last() == Last::read) std::fseek(fp_, 0, SEEK_CUR);
    if (!regular_) return;
    // the old content from here on goes
    off_t at = ftello(fp_);
    struct stat st;
    if (at < 0 || std::fflush(fp_) != 0 || fstat(fileno(fp_), &st) != 0) fail_errno("write error", errno);
    if (st.st_size > at) {
        // Never cut to length zero where one byte will do: ext4 flushes a
        // file cut to zero and written again to the disk at its close, and
        // the next run's cut then frees written blocks, a wait for the disk
        // each.
        from_start_ = at == 0 && ftruncate(fileno(fp_), 1) == 0;
        if (!from_start_ && ftruncate(fileno(fp_), at) != 0) fail_errno("write error", errno);
    }
    known_length_ = std::min<long long>(st.st_size, at);
}

void FileUnit::put(std::string_view text, bool advance) {
    const bool from_start = std::exchange(from_start_, false);
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), fp_) != text.size()) fail_write(from_start);
    if (advance && std::fputc('\n', fp_) == EOF) fail_write(from_start);
    if (!from_start) return;
    // After a cut to one byte this first record goes to the file at once
    // and overwrites that byte: from here on the file holds exactly what
    // was written. Nothing written (an empty "$" record) cuts the byte too.
    if (text.empty() && !advance) {
        if (ftruncate(fileno(fp_), 0) != 0) fail_errno("write error", errno);
    } else if (std::fflush(fp_) != 0) {
        fail_write(true);
    }
}

void FileUnit::fail_write(bool first) const {
    const int err = errno;
    // nothing reached the file: the byte left of the old content goes as well
    if (first && lseek(fileno(fp_), 0, SEEK_CUR) == 0) (void)!ftruncate(fileno(fp_), 0);
    fail_errno("write error", err);
}

void FileUnit::flush() {
    if (fp_ && std::fflush(fp_) != 0) fail_errno("write error", errno);
}

long long FileUnit::offset() const {
    if (!fp_ || !owned_) return 0;
    const off_t at = ftello(fp_);
    if (at < 0) fail_errno("position unknown", errno);
    return static_cast<long long>(at);
}

bool FileUnit::outside(long long offset) {
    if (!fp_ || !owned_ || !regular_) return false;
    if (offset < 0) return true;
    if (offset <= known_length_) return false;
    if (last() == Last::write) flush();
    struct stat st;
    if (fstat(fileno(fp_), &st) != 0) fail_errno("seek failed", errno);
    known_length_ = st.st_size;
    return offset > known_length_;
}

void FileUnit::move_to(long long offset) {
    if (!fp_) return;
    if (last() == Last::write) flush();
    std::clearerr(fp_);
    if (fseeko(fp_, static_cast<off_t>(offset), SEEK_SET) != 0 && owned_)
        fail_errno(offset == 0 ? "rewind failed" : "seek failed", errno);
}

void FileUnit::close(Disposition d) {
    if (!fp_) return;
    std::FILE* fp = std::exchange(fp_, nullptr);
    if (!owned_) {
        if (std::fflush(fp) != 0) fail_errno("write error", errno);
        return;
    }
    int err = 0;
    if (std::fflush(fp) != 0) err = errno;
    if (std::fclose(fp) != 0 && err == 0) err = errno;
    if (d == Disposition::remove) ::unlink(name().c_str());
    if (err != 0) fail_errno("write error", err);
}

void FileUnit::close_quietly() noexcept {
    if (!fp_) return;
    if (owned_)
        std::fclose(fp_);
    else
        std::fflush(fp_);
    fp_ = nullptr;
}

}  // namespace textio
