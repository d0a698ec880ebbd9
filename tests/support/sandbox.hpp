#pragma once

// A scratch directory in which one of the suite's programs runs with its
// answers on standard input; removed again at the end.

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

// Variables for the child: a value sets one, nullopt unsets it; the rest of
// the environment is inherited.
using Environment = std::vector<std::pair<std::string, std::optional<std::string>>>;

struct Outcome {
    std::string out;
    std::string err;
    int status = -1;  // exit status; 128+signal or 124 (timeout) when it did not end by itself
};

class Sandbox {
public:
    // `program`: the executable to run; `prefix`: the start of the directory's name.
    Sandbox(std::string program, const std::string& prefix);
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    // Files and folders in the folder the program works in.
    void write(const std::string& name, const std::string& text) const;
    void make_dir(const std::string& name) const;
    std::optional<std::string> read(const std::string& name) const;

    // A file anywhere under the root (its folders made as needed).
    void write_at(const std::filesystem::path& relative, const std::string& text) const;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path work() const { return root_ / "work"; }

    // Runs the program with `input` as standard input and `env` changed.
    Outcome run(const std::string& input, const Environment& env = {}) const;
    // Runs another program in the same folder: the next step of a chain of
    // programs that meet through their files.
    Outcome run_program(const std::string& program, const std::string& input, const Environment& env = {}) const;
    // run with standard error in the file of standard output, as `2>&1`
    // gives: out holds both streams in the order they reached the file.
    Outcome run_together(const std::string& input, const Environment& env = {}) const;

private:
    Outcome start(const std::string& program, const std::string& input, const Environment& env,
                  bool together) const;

    std::string program_;
    std::filesystem::path root_;  // the streams live here, the program works in root_/work
};

}  // namespace test_support
