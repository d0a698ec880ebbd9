// Writers' tests: the store fixture run inside a scratch directory of its
// own, and files read back as lines.
#pragma once

#include "support.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace hydrosum_test {

class ScratchStoreTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        std::string pattern = (std::filesystem::temp_directory_path() / "hydrosum-writers-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        home_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        StoreTest::TearDown();
        std::filesystem::current_path(home_);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    // Empties the scratch directory for another writer call.
    void clear_dir() {
        for (const auto& e : std::filesystem::directory_iterator(dir_)) std::filesystem::remove_all(e.path());
    }

    static void write_file(const std::string& name, const std::string& text) {
        std::ofstream out(name, std::ios::binary);
        out << text;
    }

    static std::optional<std::vector<std::string>> file_lines(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        if (!in) return std::nullopt;
        std::ostringstream s;
        s << in.rdbuf();
        return split_lines(s.str());
    }

private:
    std::filesystem::path dir_;
    std::filesystem::path home_;
};

}  // namespace hydrosum_test
