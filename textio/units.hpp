// Numbered units: open by name, records in and out, marks, rewind, close,
// and the run-ending failure that names the file.
#pragma once

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

#include <sys/stat.h>
#include <sys/types.h>

namespace textio {

class Format;
struct Place;

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
    // The whole line what() gives, with every byte of the file's name:
    // what() stops at a NUL one.
    std::string message() const;

private:
    int unit_;
    std::string file_;
    long record_;
    std::string detail_;
};

// How a stop ends the run; every stop says which.
enum class Ending { normal, failed };

// Thrown by quit() and error_stop(); deliberately not a std::exception.
struct StopRequest {
    explicit StopRequest(Ending e) : ending(e) {}
    Ending ending;
};

// The run's one normal end: status 0, or 1 when it went on past a failure
// (fail_and_go_on, run.hpp).
[[noreturn]] void quit();
// The stop after a failure's message: status 1, so that a script can tell.
[[noreturn]] void error_stop();

// One connection of a unit: the records, counted, read and written in
// order, whatever holds their bytes (a file, file_unit.hpp, or a scratch
// file in memory, memory_unit.hpp). The first write after the open, a read
// or a seek replaces everything from there on.
class Unit {
public:
    virtual ~Unit() = default;
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
    // The file ends here: what follows the position goes, as the first
    // write from here would cut it, with nothing written.
    void end_file();
    // Where the next record is read or written; seek goes back there (or
    // on), as rewind goes to the start. A seek past the end of the records
    // fails and changes nothing.
    Mark mark() const;
    void seek(const Mark& m);
    virtual void flush() = 0;
    // Flushes and closes; throws Failure when that loses data.
    virtual void close(Disposition d) = 0;
    // For close_all after a failure: never throws.
    virtual void close_quietly() noexcept = 0;
    virtual void flush_quietly() noexcept {}

    [[noreturn]] void fail(std::string detail) const;
    [[noreturn]] void fail_errno(const char* what, int err) const;

    // The unit holds the file of this device and inode (a file on the disk,
    // standard input's regular file or pipe), or the one that does not
    // exist yet at this place (a file in memory).
    virtual bool same_file(dev_t, ino_t) const { return false; }
    virtual bool same_place(const Place&) const { return false; }
    virtual bool in_memory() const { return false; }

protected:
    Unit(int number, std::string name) : number_(number), name_(std::move(name)) {}

    enum class Last { none, read, write };
    Last last() const { return last_; }   // what the unit did last since the open or a seek

private:
    friend class Out;

    // What each kind of unit does with the bytes of the records.
    // The next line, false at the end.
    virtual bool next_line(std::string_view& line) = 0;
    // Before the first write after the open, a read or a seek, which
    // replaces everything from here on.
    virtual void start_writing() = 0;
    virtual void put(std::string_view text, bool advance) = 0;
    virtual long long offset() const = 0;
    // The offset lies before the start or past the end of the records
    // (never said of a stream, whose end is not known).
    virtual bool outside(long long offset) = 0;
    virtual void move_to(long long offset) = 0;

    int number_;
    std::string name_;
    Last last_ = Last::none;
    bool at_end_ = false;
    bool pending_ = false;
    int pending_col_ = 0;
    long record_ = 0;
    std::string record_buffer_;   // lent to each write statement, so records reuse one allocation
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

    // Whether the run has failed and gone on (fail_and_go_on, run.hpp).
    bool failed() const { return failed_; }
    // A run starts: not failed, and named for lines on standard error.
    // The one place the mark is cleared.
    void begin_run(std::string_view program) {
        program_ = program;
        failed_ = false;
    }
    const std::string& program() const { return program_; }

    const Format& format(std::string_view text);

private:
    friend void fail_and_go_on();   // the one way to mark the run failed
    Runtime();
    // denied: why the file opened only for reading (0: it opened for writing too)
    OpenResult connect(int unit, const std::string& name, int fd, bool regular, int denied);
    OpenResult open_scratch(int unit, const std::string& name);
    // How an open may share the file of st with the units that hold it.
    enum class Share { none, read_only, refused };
    Share sharing(const struct stat& st, Access access) const;
    bool held_in_memory(const std::string& name) const;
    std::map<int, std::unique_ptr<Unit>> units_;
    std::FILE* out_ = stdout;
    bool failed_ = false;
    std::string program_;
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
void endfile(int unit);
Mark mark(int unit);
void seek(int unit, const Mark& m);
bool is_open(int unit);

// A record copied as it is, as "(a)" reads it into a character field (cut
// to the field or padded with blanks) and writes it from text, without
// the format machinery. read_record is false at the end of the file;
// read_record_required ends the run there as the statement does.
bool read_record(int unit, std::span<char> field);
void read_record_required(int unit, std::span<char> field);
void write_record(int unit, std::string_view text);

}  // namespace textio
