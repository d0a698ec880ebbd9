#include "sandbox.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace test_support {
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

std::string shell_quoted(const fs::path& p) { return "'" + p.string() + "'"; }

}  // namespace

Sandbox::Sandbox(std::string program, const std::string& prefix) : program_(std::move(program))
{
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
    root_ = buf.data();
    fs::create_directory(work());
}

Sandbox::~Sandbox()
{
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void Sandbox::write(const std::string& name, const std::string& text) const { spill(work() / name, text); }

void Sandbox::make_dir(const std::string& name) const { fs::create_directory(work() / name); }

std::optional<std::string> Sandbox::read(const std::string& name) const
{
    fs::path p = work() / name;
    if (!fs::is_regular_file(p)) return std::nullopt;
    return slurp(p);
}

void Sandbox::write_at(const fs::path& relative, const std::string& text) const
{
    fs::create_directories((root_ / relative).parent_path());
    spill(root_ / relative, text);
}

Outcome Sandbox::run(const std::string& input, const Environment& env) const
{
    return run_program(program_, input, env);
}

Outcome Sandbox::run_program(const std::string& program, const std::string& input, const Environment& env) const
{
    return start(program, input, env, false);
}

Outcome Sandbox::run_together(const std::string& input, const Environment& env) const
{
    return start(program_, input, env, true);
}

Outcome Sandbox::start(const std::string& program, const std::string& input, const Environment& env,
                       bool together) const
{
    spill(root_ / "stdin", input);
    std::string vars;
    for (const auto& [name, value] : env) {
        if (value) vars += " " + name + "=" + shell_quoted(*value);
        else vars = " -u " + name + vars;  // every -u before the first assignment
    }
    // A program that asks again at the end of its input would loop for ever,
    // one that writes without end would fill the disk: the time limit and the
    // file-size limit turn both into a failed test.
    const std::string exec = vars.empty() ? "exec " : "exec env" + vars + " ";
    std::string cmd = "cd " + shell_quoted(work()) + " && ulimit -f 20000 && " + exec + "timeout 60 " +
                      shell_quoted(program) + " < " + shell_quoted(root_ / "stdin") + " > " +
                      shell_quoted(root_ / "stdout") + (together ? " 2>&1" : " 2> " + shell_quoted(root_ / "stderr"));
    int rc = std::system(cmd.c_str());
    Outcome o;
    o.out = slurp(root_ / "stdout");
    if (!together) o.err = slurp(root_ / "stderr");
    o.status = (rc != -1 && WIFEXITED(rc)) ? WEXITSTATUS(rc) : -1;
    return o;
}

}  // namespace test_support
