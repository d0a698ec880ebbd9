#include "units.hpp"

#include "format.hpp"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio {

namespace {

std::string describe(std::string detail, const std::string& file, int unit, long record) {
    return detail + ", file '" + file + "' (unit " + std::to_string(unit) + ", record " +
           std::to_string(record) + ")";
}

std::string_view trim_blanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

Failure::Failure(int unit, std::string file, long record, std::string detail)
    : std::runtime_error(describe(detail, file, unit, record)),
      unit_(unit),
      file_(std::move(file)),
      record_(record),
      detail_(std::move(detail)) {}

void stop(int exit_code) { throw StopRequest{exit_code}; }

Unit::Unit(int number, std::string name, std::FILE* fp, bool owned, bool writable, bool regular)
    : number_(number), name_(std::move(name)), fp_(fp), owned_(owned), writable_(writable),
      regular_(regular) {
    if (owned_ && regular_ && fp_) {
        // one system call for most of the suite's files, read or written
        io_buffer_ = std::make_unique_for_overwrite<char[]>(io_buffer_size);
        std::setvbuf(fp_, io_buffer_.get(), _IOFBF, io_buffer_size);
    }
}

Unit::Unit(int number, std::string name)
    : number_(number), name_(std::move(name)), fp_(nullptr), owned_(true), writable_(true), regular_(true),
      memory_(true) {}

Unit::~Unit() {
    close_quietly();
    std::free(buf_);
}

void Unit::fail(std::string detail) const { throw Failure(number_, name_, record_, std::move(detail)); }

void Unit::fail_errno(const char* what, int err) const {
    fail(std::string(what) + " (" + std::strerror(err) + ")");
}

bool Unit::same_file(dev_t dev, ino_t ino) const {
    if (!fp_ || !owned_) return false;
    struct stat st;
    if (fstat(fileno(fp_), &st) != 0) return false;
    return st.st_dev == dev && st.st_ino == ino;
}

void Unit::prepare_read() {
    if (number_ == stdin_unit) {
        // piped dialogues stay in order: questions are out before we wait
        std::FILE* out = Runtime::instance().stdout_file();
        if (out && std::fflush(out) != 0)
            Runtime::instance().unit(stdout_unit).fail_errno("write error", errno);
    }
    if (last_ == Last::write && fp_ && owned_) std::fseek(fp_, 0, SEEK_CUR);
    last_ = Last::read;
    truncate_next_write_ = true;
}

bool Unit::read_record(std::string_view& line) {
    if (at_end_) return false;
    prepare_read();
    if (memory_) {
        // as getline reads the file the records would make
        if (text_at_ >= text_.size()) {
            at_end_ = true;
            return false;
        }
        const std::size_t nl = text_.find('\n', text_at_);
        const std::size_t stop = nl == std::string::npos ? text_.size() : nl;
        std::size_t len = stop - text_at_;
        if (nl != std::string::npos && len > 0 && text_[stop - 1] == '\r') --len;
        line = std::string_view(text_.data() + text_at_, len);
        text_at_ = nl == std::string::npos ? stop : stop + 1;
        ++record_;
        return true;
    }
    errno = 0;
    ssize_t n = getline(&buf_, &cap_, fp_);
    if (n < 0) {
        if (std::ferror(fp_)) {
            int err = errno ? errno : EIO;
            std::clearerr(fp_);
            fail_errno("read error", err);
        }
        at_end_ = true;
        return false;
    }
    std::size_t len = static_cast<std::size_t>(n);
    if (len > 0 && buf_[len - 1] == '\n') {
        --len;
        if (len > 0 && buf_[len - 1] == '\r') --len;
    }
    line = std::string_view(buf_, len);
    ++record_;
    return true;
}

// True when the content was cut to its first byte, which the first write
// replaces at once (see write_text).
bool Unit::prepare_write() {
    if (!writable_) fail("cannot write to a file opened only for reading");
    bool from_start = false;
    if (memory_) {
        if (truncate_next_write_) text_.resize(text_at_);   // the rest is replaced
    } else if (owned_) {
        if (last_ == Last::read) std::fseek(fp_, 0, SEEK_CUR);
        if (truncate_next_write_ && regular_) {
            // the first write replaces everything from here on
            off_t at = ftello(fp_);
            struct stat st;
            if (at < 0 || std::fflush(fp_) != 0 || fstat(fileno(fp_), &st) != 0) fail_errno("write error", errno);
            if (st.st_size > at) {
                // Never cut to length zero where one byte will do: ext4
                // flushes a file cut to zero and written again to the disk
                // at its close, and the next run's cut then frees written
                // blocks, a wait for the disk each.
                from_start = at == 0 && ftruncate(fileno(fp_), 1) == 0;
                if (!from_start && ftruncate(fileno(fp_), at) != 0) fail_errno("write error", errno);
            }
        }
    }
    truncate_next_write_ = false;
    last_ = Last::write;
    return from_start;
}

void Unit::write_text(std::string_view text, bool advance) {
    bool from_start = false;
    if (last_ != Last::write || truncate_next_write_) from_start = prepare_write();
    if (!pending_) ++record_;
    if (memory_) {
        text_.append(text);
        if (advance) text_ += '\n';
        text_at_ = text_.size();
        pending_col_ = advance ? 0 : pending_col_ + static_cast<int>(text.size());
        pending_ = !advance;
        return;
    }
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), fp_) != text.size()) fail_write(from_start);
    if (advance && std::fputc('\n', fp_) == EOF) fail_write(from_start);
    pending_col_ = advance ? 0 : pending_col_ + static_cast<int>(text.size());
    pending_ = !advance;
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

void Unit::fail_write(bool first) const {
    const int err = errno;
    // nothing reached the file: the byte left of the old content goes as well
    if (first && lseek(fileno(fp_), 0, SEEK_CUR) == 0) (void)!ftruncate(fileno(fp_), 0);
    fail_errno("write error", err);
}

void Unit::flush() {
    if (memory_) return;
    if (fp_ && std::fflush(fp_) != 0) fail_errno("write error", errno);
}

void Unit::rewind() { seek(Mark{}); }

Mark Unit::mark() const {
    if (memory_) return {static_cast<long long>(text_at_), record_};
    if (!fp_ || !owned_) return {0, record_};
    const off_t at = ftello(fp_);
    if (at < 0) fail_errno("position unknown", errno);
    return {static_cast<long long>(at), record_};
}

void Unit::seek(const Mark& m) {
    if (memory_) {
        text_at_ = std::min(static_cast<std::size_t>(m.offset), text_.size());
    } else {
        if (!fp_) return;
        if (last_ == Last::write) flush();
        std::clearerr(fp_);
        if (fseeko(fp_, static_cast<off_t>(m.offset), SEEK_SET) != 0 && owned_)
            fail_errno(m.offset == 0 ? "rewind failed" : "seek failed", errno);
    }
    at_end_ = false;
    truncate_next_write_ = true;
    last_ = Last::none;
    pending_ = false;
    pending_col_ = 0;
    record_ = m.record;
}

int Unit::write_memory_file() const {
    const int fd = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return errno ? errno : EIO;
    int err = 0;
    for (std::size_t at = 0; at < text_.size() && err == 0;) {
        const ssize_t n = ::write(fd, text_.data() + at, text_.size() - at);
        if (n < 0) {
            if (errno != EINTR) err = errno;
        } else {
            at += static_cast<std::size_t>(n);
        }
    }
    if (::close(fd) != 0 && err == 0) err = errno;
    return err;
}

void Unit::close(Disposition d) {
    if (memory_) {
        memory_ = false;
        // deleted, it never reached the disk
        if (d == Disposition::keep)
            if (const int err = write_memory_file(); err != 0) fail_errno("write error", err);
        return;
    }
    if (!fp_) return;
    std::FILE* fp = fp_;
    fp_ = nullptr;
    if (!owned_) {
        if (std::fflush(fp) != 0) fail_errno("write error", errno);
        return;
    }
    int err = 0;
    if (std::fflush(fp) != 0) err = errno;
    if (std::fclose(fp) != 0 && err == 0) err = errno;
    if (d == Disposition::remove) ::unlink(name_.c_str());
    if (err != 0) fail_errno("write error", err);
}

void Unit::close_quietly() noexcept {
    if (memory_) {
        memory_ = false;
        (void)write_memory_file();   // what the run leaves, as a file unit's close would
        return;
    }
    if (!fp_) return;
    if (owned_)
        std::fclose(fp_);
    else
        std::fflush(fp_);
    fp_ = nullptr;
}

Runtime& Runtime::instance() {
    static Runtime rt;
    return rt;
}

Runtime::Runtime() { reset(); }

void Runtime::reset(std::FILE* in, std::FILE* out) {
    close_all_quietly();
    units_.clear();
    out_ = out;
    units_[stdin_unit] = std::make_unique<Unit>(stdin_unit, "standard input", in, false, false, false);
    units_[stdout_unit] = std::make_unique<Unit>(stdout_unit, "standard output", out, false, true, false);
}

const Format& Runtime::format(std::string_view text) {
    Recent& recent = recent_[(reinterpret_cast<std::uintptr_t>(text.data()) >> 3) % recent_.size()];
    if (recent.format && recent.text == text.data() && recent.format->text() == text) return *recent.format;
    const Format* found;
    if (auto it = formats_.find(text); it != formats_.end()) {
        found = it->second.get();
    } else {
        auto f = std::make_unique<Format>(text);
        found = f.get();
        formats_.emplace(std::string(text), std::move(f));
    }
    recent = {text.data(), found};
    return *found;
}

OpenResult Runtime::open(int unit, std::string_view raw_name, Access access) {
    std::string name(trim_blanks(raw_name));
    if (auto it = units_.find(unit); it != units_.end()) {
        if (unit == stdin_unit || unit == stdout_unit) return {EBUSY};
        std::unique_ptr<Unit> old = std::move(it->second);
        units_.erase(it);   // the old connection is closed first
        old->close(Disposition::keep);
    }
    if (name.empty()) return {ENOENT};
    for (const auto& [n, u] : units_)
        if (u->in_memory() && u->name() == name) return {EBUSY};
    if (access == Access::scratch) {
        struct stat st;
        if (::lstat(name.c_str(), &st) != 0 && errno == ENOENT) return open_scratch(unit, name);
        access = Access::replace;   // what is there is replaced on the disk, or refuses it
    }
    struct stat st;
    if (access != Access::replace) {
        // The usual case in two calls: the file opens for reading and
        // writing. Everything else takes the careful path below, which
        // gives the same results.
        const int fd = ::open(name.c_str(), O_RDWR | O_CLOEXEC | (access == Access::existing ? 0 : O_CREAT), 0666);
        if (fd < 0 && errno == ENOENT && access == Access::existing) return {ENOENT};
        if (fd >= 0) {
            if (fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode)) {
                for (const auto& [n, u] : units_)
                    if (u->same_file(st.st_dev, st.st_ino)) {
                        ::close(fd);
                        return {EBUSY};
                    }
                return connect(unit, name, fd, true, S_ISREG(st.st_mode));
            }
            ::close(fd);
        }
    }
    bool exists = ::stat(name.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode)) return {EISDIR};
        for (const auto& [n, u] : units_)
            if (u->same_file(st.st_dev, st.st_ino)) return {EBUSY};
    } else if (access == Access::existing) {
        return {errno ? errno : ENOENT};
    }
    int flags = O_RDWR | O_CLOEXEC;
    if (access != Access::existing) flags |= O_CREAT;
    if (access == Access::replace) flags |= O_TRUNC;
    bool writable = true;
    int fd = ::open(name.c_str(), flags, 0666);
    if (fd < 0 && exists && access != Access::replace &&
        (errno == EACCES || errno == EROFS || errno == ETXTBSY || errno == EPERM)) {
        fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
        writable = false;
    }
    if (fd < 0) return {errno ? errno : EIO};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return {err};
    }
    return connect(unit, name, fd, writable, S_ISREG(st.st_mode));
}

// A scratch file that does not exist yet, in memory: the checks a create
// of the file would make of its folder, and nothing written.
OpenResult Runtime::open_scratch(int unit, const std::string& name) {
    const std::size_t slash = name.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : name.substr(0, slash);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return {errno ? errno : EACCES};
    units_[unit] = std::make_unique<Unit>(unit, name);
    return {};
}

OpenResult Runtime::connect(int unit, const std::string& name, int fd, bool writable, bool regular) {
    std::FILE* fp = fdopen(fd, writable ? "r+" : "r");
    if (!fp) {
        int err = errno;
        ::close(fd);
        return {err ? err : EIO};
    }
    units_[unit] = std::make_unique<Unit>(unit, name, fp, true, writable, regular);
    return {};
}

void Runtime::close(int unit, Disposition d) {
    auto it = units_.find(unit);
    if (it == units_.end()) return;
    if (unit == stdin_unit || unit == stdout_unit) {
        it->second->flush();
        return;
    }
    std::unique_ptr<Unit> u = std::move(it->second);
    units_.erase(it);
    u->close(d);
}

void Runtime::rewind(int unit) {
    auto it = units_.find(unit);
    if (it != units_.end()) it->second->rewind();
}

Mark Runtime::mark(int unit) { return this->unit(unit).mark(); }

void Runtime::seek(int unit, const Mark& m) { this->unit(unit).seek(m); }

bool Runtime::is_open(int unit) const { return units_.count(unit) != 0; }

Unit& Runtime::unit(int number) {
    auto it = units_.find(number);
    if (it == units_.end())
        throw Failure(number, "unit " + std::to_string(number), 0, "unit is not open");
    return *it->second;
}

std::string Runtime::file_name(int unit) const {
    auto it = units_.find(unit);
    return it == units_.end() ? std::string() : it->second->name();
}

void Runtime::close_all() {
    std::optional<Failure> first;
    for (auto it = units_.begin(); it != units_.end();) {
        if (it->first == stdin_unit || it->first == stdout_unit) {
            ++it;
            continue;
        }
        std::unique_ptr<Unit> u = std::move(it->second);
        it = units_.erase(it);
        try {
            u->close(Disposition::keep);
        } catch (const Failure& f) {
            if (!first) first = f;
        }
    }
    try {
        units_.at(stdout_unit)->flush();
    } catch (const Failure& f) {
        if (!first) first = f;
    }
    if (first) throw *first;
}

void Runtime::close_all_quietly() noexcept {
    for (auto it = units_.begin(); it != units_.end();) {
        if (it->first == stdin_unit || it->first == stdout_unit) {
            it->second->flush_quietly();
            ++it;
            continue;
        }
        it->second->close_quietly();
        it = units_.erase(it);
    }
}

OpenResult open(int unit, std::string_view name, Access access) {
    return Runtime::instance().open(unit, name, access);
}
void close(int unit, Disposition d) { Runtime::instance().close(unit, d); }
void rewind(int unit) { Runtime::instance().rewind(unit); }
Mark mark(int unit) { return Runtime::instance().mark(unit); }
void seek(int unit, const Mark& m) { Runtime::instance().seek(unit, m); }
bool is_open(int unit) { return Runtime::instance().is_open(unit); }

}  // namespace textio
