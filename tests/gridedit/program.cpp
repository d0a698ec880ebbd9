#include "program.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <vector>

namespace gridedit_test {
namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void spill(const fs::path& p, const std::string& text)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + p.string());
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

}  // namespace

Sandbox::Sandbox()
{
    std::string pattern = (fs::temp_directory_path() / "gridedit-test-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
    root_ = buf.data();
    fs::create_directory(root_ / "work");
}

Sandbox::~Sandbox()
{
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void Sandbox::write(const std::string& name, const std::string& text) const { spill(root_ / "work" / name, text); }

void Sandbox::make_dir(const std::string& name) const { fs::create_directory(root_ / "work" / name); }

std::optional<std::string> Sandbox::read(const std::string& name) const
{
    fs::path p = root_ / "work" / name;
    if (!fs::is_regular_file(p)) return std::nullopt;
    return slurp(p);
}

Outcome Sandbox::run(const std::string& answers) const
{
    spill(root_ / "stdin", answers);
    // A program that asks again at the end of its input would loop for ever:
    // the time limit and the file-size limit turn that into a failed test.
    std::string cmd = "cd " + quoted(root_ / "work") + " && ulimit -f 20000 && exec timeout 60 " +
                      quoted(GRIDEDIT_EXE) + " < " + quoted(root_ / "stdin") + " > " + quoted(root_ / "stdout") +
                      " 2> " + quoted(root_ / "stderr");
    int rc = std::system(cmd.c_str());
    Outcome o;
    o.out = slurp(root_ / "stdout");
    o.err = slurp(root_ / "stderr");
    o.status = (rc != -1 && WIFEXITED(rc)) ? WEXITSTATUS(rc) : -1;
    return o;
}

}  // namespace gridedit_test
