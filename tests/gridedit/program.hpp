#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace gridedit_test {

struct Outcome {
    std::string out;
    std::string err;
    int status = -1;  // exit status; 128+signal or 124 (timeout) when it did not end by itself
};

// A fresh scratch directory in which gridedit runs; removed again at the end.
class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    void write(const std::string& name, const std::string& text) const;
    void make_dir(const std::string& name) const;
    std::optional<std::string> read(const std::string& name) const;

    // Runs gridedit with `answers` as standard input.
    Outcome run(const std::string& answers) const;

private:
    std::filesystem::path root_;  // the streams live here, the program works in root_/work
};

}  // namespace gridedit_test
