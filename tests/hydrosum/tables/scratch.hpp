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

    // Output units equal to the store's (speed factor, density, reference
    // area and lengths 1, force areas as read) and the deck's title.
    void plain_deck(const std::string& title) {
        st.c(2) = 1.0f;
        st.c(4) = 1.0f;
        st.c(23) = 1.0f;
        st.c(24) = 1.0f;
        st.c(25) = 1.0f;
        st.c(26) = 0.0f;
        set_title(title);
    }

    // The header stamp that starts at `from`, as text.
    std::string stamp(int from) {
        const auto s = hydrosum::stamp::at(st, from);
        return std::string(s.begin(), s.end());
    }

private:
    ScratchDir dir_{"hydrosum-writers"};
};

// The heading line of the plot and velocity-prediction tables: every
// heading right-aligned over its column of 10 (5 for the angles and speed).
inline const std::string plot_heading =
    "  VEL HEEL  YAW  RUD  TAB    AD-INV    AD-TOT    SIDE-F     V-CLR     L-CLR"
    "      SINK      TRIM    L-HULL    S-HULL   S-TOTAL   ADV-TOT   ADV-HLL   ADV-APP"
    "   ADV-FIN   ADV-BLB   ADV-WNG   ADV-RUD  SIDE-F^2    ADIRAT    ADTRAT";

// Lines of a previous table's preamble: text, so that reading one as a row
// would end the run.
inline std::string previous_preamble(int lines) {
    std::string text;
    for (int l = 0; l < lines; ++l) text += "previous preamble line\n";
    return text;
}

}  // namespace hydrosum_test
