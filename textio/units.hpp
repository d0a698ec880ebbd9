// Numbered units over stdio files: open by name, records in and out,
// rewind, close and the run-ending failure that names the file.
#pragma once

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

#include <sys/types.h>

namespace textio {

class Format;

inline constexpr int stdin_unit = 5;
inline constexpr int stdout_unit = 6;

enum class Access {
    existing,          // the file must exist
    existing_or_new,   // created empty when missing; kept until the first write
    replace,           // created or emptied at the open
    // replace for a short-lived scratch file: its records stay in memory
    // while it is open and reach the file only when it is closed and kept
    // (also by the end of a run); a close with delete leaves the disk as it
    // was. A name that exists already is replaced on the disk as replace does.
    scratch,
};
enum class Disposition { keep, remove };

// A place between two records of a file unit: its byte offset and the
// number of records before it.
struct Mark {
    long long offset = 0;
    long record = 0;
};

struct OpenResult {
    int status = 0;    // 0 when open, else an errno-like code
    explicit operator bool() const { return status == 0; }
};

// A run-ending I/O failure: what went wrong and where.
class Failure : public std::runtime_error {
public:
    Failure(int unit, std::string file, long record, std::string detail);
    int unit() const { return unit_; }
    const std::string& file() const { return file_; }
    long record() const { return record_; }
    const std::string& detail() const { return detail_; }

private:
    int unit_;
    std::string file_;
    long record_;
    std::string detail_;
};

// Thrown by stop(); deliberately not a std::exception.
struct StopRequest {
    int exit_code = 0;
};

[[noreturn]] void stop(int exit_code = 0);

// One connection of a unit to a file or to a standard stream.
class Unit {
public:
    Unit(int number, std::string name, std::FILE* fp, bool owned, bool writable, bool regular);
    // A scratch unit held in memory (Access::scratch).
    Unit(int number, std::string name);
    ~Unit();
    Unit(const Unit&) = delete;
    Unit& operator=(const Unit&) = delete;

    int number() const { return number_; }
    const std::string& name() const { return name_; }
    long record() const { return record_; }

    // Next record (without its newline and a CR before it), valid until the
    // next read on this unit. False at the end of the file; END stays
    // reported until a rewind.
    bool read_record(std::string_view& line);
    // Writes text and, when advance, the record end.
    void write_text(std::string_view text, bool advance);

    bool pending() const { return pending_; }   // a "$" record waits for more
    int pending_column() const { return pending_col_; }

    void rewind();
    // Where the next record is read or written; seek goes back there (or
    // on), as rewind goes to the start.
    Mark mark() const;
    void seek(const Mark& m);
    void flush();
    // Flushes and closes; throws Failure when that loses data.
    void close(Disposition d);
    // For close_all after a failure: never throws.
    void close_quietly() noexcept;
    void flush_quietly() noexcept {
        if (fp_) std::fflush(fp_);
    }

    [[noreturn]] void fail(std::string detail) const;
    [[noreturn]] void fail_errno(const char* what, int err) const;

    bool same_file(dev_t dev, ino_t ino) const;
    bool in_memory() const { return memory_; }

private:
    friend class Runtime;
    friend class Out;
    bool prepare_write();
    // A failed write; first: the first write after a cut to one byte.
    [[noreturn]] void fail_write(bool first) const;
    void prepare_read();
    // A memory unit's records into its file; 0 or an errno.
    int write_memory_file() const;

    int number_;
    std::string name_;
    std::FILE* fp_;
    bool owned_;        // false for the standard streams
    bool writable_;
    bool regular_;
    bool truncate_next_write_ = true;
    enum class Last { none, read, write } last_ = Last::none;
    bool at_end_ = false;
    bool pending_ = false;
    int pending_col_ = 0;
    long record_ = 0;
    char* buf_ = nullptr;
    std::size_t cap_ = 0;
    std::string record_buffer_;   // lent to each write statement, so records reuse one allocation
    static constexpr std::size_t io_buffer_size = 64 * 1024;
    std::unique_ptr<char[]> io_buffer_;   // the file's stdio buffer; outlives fp_
    bool memory_ = false;          // a scratch unit held in memory, while it is open
    std::string text_;             // its records, each ended by a newline but a "$" one
    std::size_t text_at_ = 0;      // where its next read starts
};

// The layer's whole state: the unit table and the parsed formats.
class Runtime {
public:
    static Runtime& instance();

    OpenResult open(int unit, std::string_view name, Access access);
    void close(int unit, Disposition d = Disposition::keep);
    void rewind(int unit);
    Mark mark(int unit);
    void seek(int unit, const Mark& m);
    bool is_open(int unit) const;
    // The unit, or a Failure when it is not connected.
    Unit& unit(int number);
    std::string file_name(int unit) const;

    // Closes every file unit and flushes the standard output; throws Failure
    // when data could not be written.
    void close_all();
    void close_all_quietly() noexcept;

    // Connects units 5 and 6 afresh (tests point them at files).
    void reset(std::FILE* in = stdin, std::FILE* out = stdout);

    std::FILE* stdout_file() const { return out_; }

    const Format& format(std::string_view text);

private:
    Runtime();
    OpenResult connect(int unit, const std::string& name, int fd, bool writable, bool regular);
    OpenResult open_scratch(int unit, const std::string& name);
    std::map<int, std::unique_ptr<Unit>> units_;
    std::FILE* out_ = stdout;
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::unique_ptr<Format>, Hash, std::equal_to<>> formats_;
    // Recently used formats by the address of their text, checked against
    // the text itself: most statements pass the same literal every time.
    struct Recent {
        const char* text = nullptr;
        const Format* format = nullptr;
    };
    std::array<Recent, 64> recent_{};
};

OpenResult open(int unit, std::string_view name, Access access);
void close(int unit, Disposition d = Disposition::keep);
void rewind(int unit);
Mark mark(int unit);
void seek(int unit, const Mark& m);
bool is_open(int unit);

}  // namespace textio
