// A scratch unit held in memory (Access::scratch): its records reach the
// file only when it is closed and kept, or left open at the end of a run.
#pragma once

#include "units.hpp"

#include <optional>
#include <string>

#include <sys/types.h>

namespace textio {

// Where a file that need not exist lives: its folder, by device and inode,
// and its name there. Two names of one place are one file, whether it
// exists yet or not.
struct Place {
    dev_t dev = 0;
    ino_t ino = 0;
    std::string leaf;
    bool operator==(const Place&) const = default;
};

// The place a name leads to, through the symbolic links at its end (a link
// to a file that does not exist leads to where that file would be);
// nullopt when there is no such folder.
std::optional<Place> place_of(const std::string& name);

// The folder part of a name: "." where it has none.
std::string folder_of(const std::string& name);

class MemoryUnit final : public Unit {
public:
    MemoryUnit(int number, std::string name) : Unit(number, std::move(name)) {}
    ~MemoryUnit() override;

    void flush() override {}
    void close(Disposition d) override;
    void close_quietly() noexcept override;
    bool in_memory() const override { return true; }
    bool same_place(const Place& p) const override;

private:
    bool next_line(std::string_view& line) override;
    void start_writing() override;
    void put(std::string_view text, bool advance) override;
    long long offset() const override { return static_cast<long long>(at_); }
    bool outside(long long offset) override {
        return offset < 0 || static_cast<std::size_t>(offset) > text_.size();
    }
    void move_to(long long offset) override;
    // The records into the file; 0 or an errno.
    int write_file() const;

    bool open_ = true;
    std::string text_;        // the records, each ended by a newline but a "$" one
    std::size_t at_ = 0;      // where the next read starts
};

}  // namespace textio
