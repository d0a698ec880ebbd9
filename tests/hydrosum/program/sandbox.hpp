#pragma once

// A scratch directory in which the real hydrosum runs with a deck on standard input.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <utility>
#include <vector>

namespace hydrosum_program_test {

// Variables for the child: a value sets one, nullopt unsets it; the rest of
// the environment is inherited.
using Environment = std::vector<std::pair<std::string, std::optional<std::string>>>;

struct Outcome {
    std::string out;
    std::string err;
    int status = -1;  // exit status; -1 when it did not end by itself
};

class Sandbox {
public:
    Sandbox() {
        std::string pattern = (std::filesystem::temp_directory_path() / "hydrosum-program-XXXXXX").string();
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
        root_ = buf.data();
        std::filesystem::create_directory(root_ / "work");
    }
    ~Sandbox() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    void write(const std::string& name, const std::string& text) const { spill(root_ / "work" / name, text); }

    // A file anywhere under the root (its folders made as needed).
    void write_at(const std::filesystem::path& relative, const std::string& text) const {
        std::filesystem::create_directories((root_ / relative).parent_path());
        spill(root_ / relative, text);
    }

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path work() const { return root_ / "work"; }

    std::optional<std::string> read(const std::string& name) const {
        std::filesystem::path p = root_ / "work" / name;
        if (!std::filesystem::is_regular_file(p)) return std::nullopt;
        return slurp(p);
    }

    Outcome run(const std::string& deck, const Environment& env = {}) const {
        spill(root_ / "stdin", deck);
        std::string vars;
        for (const auto& [name, value] : env) {
            if (value) vars += " " + name + "=" + quoted(*value);
            else vars = " -u " + name + vars;   // every -u before the first assignment
        }
        // A run that never ends, or writes without end, becomes a failed test.
        std::string cmd = "cd " + quoted(root_ / "work") + " && ulimit -f 20000 && exec env" + vars + " timeout 60 " +
                          quoted(HYDROSUM_EXE) + " < " + quoted(root_ / "stdin") + " > " + quoted(root_ / "stdout") +
                          " 2> " + quoted(root_ / "stderr");
        int rc = std::system(cmd.c_str());
        Outcome o;
        o.out = slurp(root_ / "stdout");
        o.err = slurp(root_ / "stderr");
        o.status = (rc != -1 && WIFEXITED(rc)) ? WEXITSTATUS(rc) : -1;
        return o;
    }

private:
    static std::string slurp(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void spill(const std::filesystem::path& p, const std::string& text) {
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out) throw std::runtime_error("cannot write " + p.string());
    }
    static std::string quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

    std::filesystem::path root_;  // the streams live here, the program works in root_/work
};

}  // namespace hydrosum_program_test
