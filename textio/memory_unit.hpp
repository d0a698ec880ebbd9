// A scratch unit held in memory (Access::scratch): its records reach the
// file only when it is closed and kept, or left open at the end of a run.
#pragma once

#include "units.hpp"

#include <string>

namespace textio {

class MemoryUnit final : public Unit {
public:
    MemoryUnit(int number, std::string name) : Unit(number, std::move(name)) {}
    ~MemoryUnit() override;

    void flush() override {}
    void close(Disposition d) override;
    void close_quietly() noexcept override;
    bool in_memory() const override { return true; }

private:
    bool next_line(std::string_view& line) override;
    void start_writing(bool cut) override;
    void put(std::string_view text, bool advance) override;
    long long offset() const override { return static_cast<long long>(at_); }
    void move_to(long long offset) override;
    // The records into the file; 0 or an errno.
    int write_file() const;

    bool open_ = true;
    std::string text_;        // the records, each ended by a newline but a "$" one
    std::size_t at_ = 0;      // where the next read starts
};

}  // namespace textio
