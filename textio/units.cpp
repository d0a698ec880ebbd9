#include "units.hpp"

#include "file_unit.hpp"
#include "format.hpp"
#include "memory_unit.hpp"

#include <algorithm>
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

std::string Failure::message() const { return describe(detail_, file_, unit_, record_); }

void quit() { throw StopRequest{Ending::normal}; }

void error_stop() { throw StopRequest{Ending::failed}; }

void Unit::fail(std::string detail) const { throw Failure(number_, name_, record_, std::move(detail)); }

void Unit::fail_errno(const char* what, int err) const {
    fail(std::string(what) + " (" + std::strerror(err) + ")");
}

bool Unit::read_record(std::string_view& line) {
    if (at_end_) return false;
    const bool got = next_line(line);
    last_ = Last::read;
    if (!got) {
        at_end_ = true;
        return false;
    }
    ++record_;
    return true;
}

void Unit::write_text(std::string_view text, bool advance) {
    if (last_ != Last::write) {
        start_writing();
        last_ = Last::write;
    }
    if (!pending_) ++record_;
    put(text, advance);
    pending_col_ = advance ? 0 : pending_col_ + static_cast<int>(text.size());
    pending_ = !advance;
}

void Unit::rewind() { seek(Mark{}); }

void Unit::end_file() {
    if (last_ != Last::write) {
        start_writing();
        last_ = Last::write;
    }
    put({}, false);   // an empty "$" record: a cut to one byte goes to nothing
}

Mark Unit::mark() const { return {offset(), record_}; }

void Unit::seek(const Mark& m) {
    // past the end, a write would leave a gap that nobody wrote
    if (outside(m.offset)) fail_errno("seek failed", EINVAL);
    move_to(m.offset);
    at_end_ = false;
    last_ = Last::none;
    pending_ = false;
    pending_col_ = 0;
    record_ = m.record;
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
    units_[stdin_unit] = std::make_unique<FileUnit>(stdin_unit, "standard input", in, false, false, false);
    units_[stdout_unit] = std::make_unique<FileUnit>(stdout_unit, "standard output", out, false, true, false);
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
    // no file's name is empty or holds a NUL (the system would open the name cut there)
    if (name.empty() || name.find('\0') != std::string::npos) return {ENOENT};
    if (held_in_memory(name)) return {EBUSY};
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
            // a file another unit holds, standard input's among them, is
            // left to the careful path
            if (fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode) && sharing(st, access) == Share::none)
                return connect(unit, name, fd, S_ISREG(st.st_mode), 0);
            ::close(fd);
        }
    }
    bool exists = ::stat(name.c_str(), &st) == 0;
    Share share = Share::none;
    if (exists) {
        if (S_ISDIR(st.st_mode)) return {EISDIR};
        share = sharing(st, access);
        if (share == Share::refused) return {EBUSY};
    } else if (access == Access::existing) {
        return {errno ? errno : ENOENT};
    }
    int flags = share == Share::read_only ? O_RDONLY | O_CLOEXEC : O_RDWR | O_CLOEXEC;
    if (access != Access::existing) flags |= O_CREAT;
    if (access == Access::replace) flags |= O_TRUNC;
    int denied = share == Share::read_only ? EBUSY : 0;
    int fd = ::open(name.c_str(), flags, 0666);
    if (fd < 0 && exists && access != Access::replace && denied == 0 &&
        (errno == EACCES || errno == EROFS || errno == ETXTBSY || errno == EPERM)) {
        // an input still reads; an output is told why at its first write
        denied = errno;
        fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) return {errno ? errno : EIO};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return {err};
    }
    return connect(unit, name, fd, S_ISREG(st.st_mode), denied);
}

// A scratch file that does not exist yet, in memory: the checks a create
// of the file would make of its folder, and nothing written.
OpenResult Runtime::open_scratch(int unit, const std::string& name) {
    if (::access(folder_of(name).c_str(), W_OK | X_OK) != 0) return {errno ? errno : EACCES};
    units_[unit] = std::make_unique<MemoryUnit>(unit, name);
    return {};
}

// A file another unit holds is refused. Standard input holds its file when
// that is a regular file or a pipe: an output there would replace the
// answers, a second reader of a pipe would take them. A regular file may
// still be read, at an offset of its own, but never written.
Runtime::Share Runtime::sharing(const struct stat& st, Access access) const {
    bool answers = false;
    for (const auto& [n, u] : units_)
        if (u->same_file(st.st_dev, st.st_ino)) {
            if (n != stdin_unit) return Share::refused;
            answers = true;
        }
    if (!answers) return Share::none;
    return access == Access::existing && S_ISREG(st.st_mode) ? Share::read_only : Share::refused;
}

// Memory units are told by place, not by device and inode: their files
// do not exist yet.
bool Runtime::held_in_memory(const std::string& name) const {
    const auto memory = [](const auto& entry) { return entry.second->in_memory(); };
    if (std::none_of(units_.begin(), units_.end(), memory)) return false;   // no system call then
    const std::optional<Place> place = place_of(name);
    return place && std::any_of(units_.begin(), units_.end(),
                                [&](const auto& entry) { return entry.second->same_place(*place); });
}

OpenResult Runtime::connect(int unit, const std::string& name, int fd, bool regular, int denied) {
    std::FILE* fp = fdopen(fd, denied == 0 ? "r+" : "r");
    if (!fp) {
        int err = errno;
        ::close(fd);
        return {err ? err : EIO};
    }
    units_[unit] = std::make_unique<FileUnit>(unit, name, fp, true, denied == 0, regular, denied);
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
void endfile(int unit) { Runtime::instance().unit(unit).end_file(); }
Mark mark(int unit) { return Runtime::instance().mark(unit); }
void seek(int unit, const Mark& m) { Runtime::instance().seek(unit, m); }
bool is_open(int unit) { return Runtime::instance().is_open(unit); }

bool read_record(int unit, std::span<char> field) {
    std::string_view line;
    if (!Runtime::instance().unit(unit).read_record(line)) return false;
    const std::size_t n = std::min(line.size(), field.size());
    std::copy_n(line.begin(), n, field.begin());
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(n), field.end(), ' ');
    return true;
}

void read_record_required(int unit, std::span<char> field) {
    if (read_record(unit, field)) return;
    const Unit& u = Runtime::instance().unit(unit);
    throw Failure(unit, u.name(), u.record() + 1, "end of file");
}

void write_record(int unit, std::string_view text) { Runtime::instance().unit(unit).write_text(text, true); }

}  // namespace textio
