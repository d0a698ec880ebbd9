#include "memory_unit.hpp"

#include <array>
#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio {

namespace {

constexpr int max_links = 40;   // as many as the system follows in one name

}  // namespace

std::string folder_of(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : name.substr(0, slash);
}

std::optional<Place> place_of(const std::string& name) {
    std::string at = name;
    for (int links = 0;; ++links) {
        struct stat st;
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        if (links == max_links) return std::nullopt;
        std::array<char, PATH_MAX> target;
        const ssize_t n = ::readlink(at.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) == target.size()) return std::nullopt;
        const std::string to(target.data(), static_cast<std::size_t>(n));
        at = to.front() == '/' ? to : folder_of(at) + "/" + to;
    }
    struct stat folder;
    if (::stat(folder_of(at).c_str(), &folder) != 0) return std::nullopt;
    return Place{folder.st_dev, folder.st_ino, at.substr(at.rfind('/') + 1)};
}

MemoryUnit::~MemoryUnit() { close_quietly(); }

// Looked up at each ask, never kept: the records go through the name at
// the close, wherever its folder is by then.
bool MemoryUnit::same_place(const Place& p) const {
    const std::optional<Place> place = place_of(name());
    return place && *place == p;
}

// as getline reads the file the records would make
bool MemoryUnit::next_line(std::string_view& line) {
    if (at_ >= text_.size()) return false;
    const std::size_t nl = text_.find('\n', at_);
    const std::size_t stop = nl == std::string::npos ? text_.size() : nl;
    std::size_t len = stop - at_;
    if (nl != std::string::npos && len > 0 && text_[stop - 1] == '\r') --len;
    line = std::string_view(text_.data() + at_, len);
    at_ = nl == std::string::npos ? stop : stop + 1;
    return true;
}

void MemoryUnit::start_writing() { text_.resize(at_); }

void MemoryUnit::put(std::string_view text, bool advance) {
    text_.append(text);
    if (advance) text_ += '\n';
    at_ = text_.size();
}

void MemoryUnit::move_to(long long offset) { at_ = static_cast<std::size_t>(offset); }

int MemoryUnit::write_file() const {
    const int fd = ::open(name().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
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

void MemoryUnit::close(Disposition d) {
    if (!open_) return;
    open_ = false;
    // deleted, it never reached the disk
    if (d == Disposition::keep)
        if (const int err = write_file(); err != 0) fail_errno("write error", err);
}

void MemoryUnit::close_quietly() noexcept {
    if (!open_) return;
    open_ = false;
    (void)write_file();   // what the run leaves, as a file unit's close would
}

}  // namespace textio
