// Format texts: every format the programs use parses; descriptors the layer
// does not implement are refused rather than misread.
#include "support.hpp"

#include <cstdlib>
#include <ctime>
#include <stdexcept>

namespace {

const char* const formats_in_use[] = {
    "(a)",
    "(a,$)",
    "(1x,a)",
    "(2a)",
    "(3a)",
    "(4a)",
    "(5a)",
    "(a,a)",
    "(a,a,a,a)",
    "(8x,a)",
    "(a,/,a)",
    "(a,i2)",
    "(a,i2,a)",
    "(a,i2,a,f5.2)",
    "(a,f5.1)",
    "(a,i3,a,i3)",
    "(a,i5)",
    "(a,i5,a)",
    "(a,i5,a,i5)",
    "(a,2i5)",
    "(a,3i5)",
    "(3a,i5)",
    "(2(a,i5))",
    "(a,i8)",
    "(a,e16.8)",
    "(a,f10.5)",
    "(a,f10.5,a,f10.5)",
    "(a,i5,2e13.5)",
    "(a,/,a,2i5,a,2i5)",
    "(a,/,a,i5,/,a,i5)",
    "(3a,/,a,i3,a,i3)",
    "(a,f5.3,a,f5.3,a,/,a,a,a)",
    "(1x,a,//,1x,a,/,1x,4i5,//,1x,a,/,1x,4i5)",
    "(1x,a,//,1x,a,/,1x,2i5,//,1x,a,/,1x,2i5)",
    "(1x,i5,2e16.8)",
    "(1x,3e16.8)",
    "(1x,i5,7f10.5)",
    "(i5,7f10.5)",
    "(2i5)",
    "(2i5,10x,a)",
    "(2i5,i5,5x,a)",
    "(3e16.8)",
    "(1p3e16.8)",
    "(1p6e13.5)",
    "(2f10.5,1p4e13.5)",
    "(8x,2f5.1,f10.5,f10.7,f10.4,f10.4)",
    "(8x,2f5.1,f10.6,f10.6,f10.5,f10.4)",
    "(7f10.0,i8)",
    "(70x,i8)",
    "(i5,5x,a)",
    "(9i8,1x,i7)",
    "(5i8,16x,a8,i8,1x,i7)",
    "(9i8,a1,i7)",
    "(5i8,16x,a8,i8,a1,i7)",
    "(a64,1x,i7,a1,i7)",
    "(4(a1,i7),40x,a1,i7)",
    "(9i5,2x,a8,4i5)",
    // rows given as column tables
    "(f5.2,4f5.1,7f10.1,5f10.5)",
    "(f5.2,4f5.1,f10.5,f10.5,5f10.4,5f10.5)",
    "(f5.2,4f5.1,f10.6,f10.6,f10.5,f10.5,3f10.6,5f10.5)",
    "(f5.2,4f5.1,20f10.5)",
    "(f5.2,4f5.1,f10.5,f10.5,f10.1,f10.5,f10.5,f10.2,11f10.5,f10.0,f10.5,f10.5)",
};

TEST(FormatParse, EveryFormatInUseParses) {
    for (const char* f : formats_in_use) EXPECT_NO_THROW(textio::Format{f}) << f;
}

TEST(FormatParse, RefusesWhatItDoesNotImplement) {
    const char* const refused[] = {
        "(t10,i5)", "(tl2,a)", "(g12.4)", "(l1)", "('abc',i5)", "(\"x\",a)", "(5hhello)", "(2(a,2(i5)))",
        "(i5", "i5)", "(i5,)", "(,i5)", "(i0)", "(f0.3)", "(d10.3)", "(z8)", "(bn,i5)", "(sp,f5.1)",
        "(i5:)", "(e13.5e2)", "(0i5)", "(a,,a)",
    };
    for (const char* f : refused) EXPECT_THROW(textio::Format{f}, std::invalid_argument) << f;
}

TEST(Platform, EnvironmentTextIsCutOrPadded) {
    ::setenv("TEXTIO_TEST_VALUE", "/home/boat/tables", 1);
    const std::pair<std::size_t, std::string> rows[] = {
        {20, "/home/boat/tables   "},
        {17, "/home/boat/tables"},
        {5, "/home"},
    };
    for (const auto& [n, want] : rows) {
        std::string field(n, '?');
        textio::getenv_text("TEXTIO_TEST_VALUE", field);
        EXPECT_EQ(field, want);
    }
    ::unsetenv("TEXTIO_TEST_VALUE");
    std::string field(8, '?');
    textio::getenv_text("TEXTIO_TEST_VALUE", field);
    EXPECT_EQ(field, "        ");
}

TEST(Platform, LocalDateIsToday) {
    auto today = [] {
        std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        return textio::LocalDate{tm.tm_mday, tm.tm_mon + 1, tm.tm_year % 100};
    };
    textio::LocalDate before = today();
    textio::LocalDate d = textio::local_date();
    textio::LocalDate after = today();
    auto same = [](textio::LocalDate a, textio::LocalDate b) {
        return a.day == b.day && a.month == b.month && a.year == b.year;
    };
    EXPECT_TRUE(same(d, before) || same(d, after)) << d.day << "." << d.month << "." << d.year;
    EXPECT_GE(d.year, 0);
    EXPECT_LE(d.year, 99);
}

}  // namespace
