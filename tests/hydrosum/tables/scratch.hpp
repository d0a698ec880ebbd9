// Writers' tests: the store fixture run inside a scratch directory of its
// own, where the tables are written and read back.
#pragma once

#include "support.hpp"

#include "hydrosum/tables/frame.hpp"

#include <algorithm>
#include <string>

namespace hydrosum_test {

class ScratchStoreTest : public StoreTest {
protected:
    // Empties the scratch directory for another writer call.
    void clear_dir() { dir_.clear(); }

    // The deck's title and its length, as the deck reader leaves them.
    void set_title(const std::string& text) {
        std::copy(text.begin(), text.end(), st.comchr.begin());
        st.ci(8) = static_cast<int>(text.size());
    }

    // The header stamp that starts at `from`, as text.
    std::string stamp(int from) {
        const auto s = hydrosum::stamp::at(st, from);
        return std::string(s.begin(), s.end());
    }

private:
    ScratchDir dir_{"hydrosum-writers"};
};

// Lines of a previous table's preamble: text, so that reading one as a row
// would end the run.
inline std::string previous_preamble(int lines) {
    std::string text;
    for (int l = 0; l < lines; ++l) text += "previous preamble line\n";
    return text;
}

}  // namespace hydrosum_test
