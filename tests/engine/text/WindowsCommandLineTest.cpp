#include <gtest/gtest.h>

#include "engine/text/WindowsCommandLine.h"

namespace {

struct SplitCase {
    const char* commandLine;
    std::vector<const char*> args;
};

class SplitWindowsCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitWindowsCommandLineTest, SplitsLikeAWindowsProgram) {
    const SplitCase& c = GetParam();
    QStringList expected;
    for (const char* arg : c.args) expected.append(QString::fromUtf8(arg));
    EXPECT_EQ(SplitWindowsCommandLine(QString::fromUtf8(c.commandLine)), expected) << c.commandLine;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitWindowsCommandLineTest,
    ::testing::Values(
        SplitCase{"", {}}, SplitCase{"  \t ", {}}, SplitCase{"a b\tc", {"a", "b", "c"}},
        SplitCase{"\"a b\" c", {"a b", "c"}}, SplitCase{"\"\" x", {"", "x"}},
        SplitCase{"a\"b c\"d", {"ab cd"}}, SplitCase{"\"a \"\"q\"\" b\"", {"a \"q\" b"}},
        SplitCase{"a\\\\\\\"b", {"a\\\"b"}},     // 3 backslashes + quote: \ and a quote
        SplitCase{"\"a\\\\\" b", {"a\\", "b"}},  // 2 backslashes + quote: \ and end
        SplitCase{"C:\\dir\\file x", {"C:\\dir\\file", "x"}},
        SplitCase{"\"unterminated arg", {"unterminated arg"}},
        // What cloud play hands over: the link whole, the name split at its blanks.
        SplitCase{"\"magnet:?xt=urn:btih:AB&dn=a b\" /sname 星际 穿越.mkv /sstartfrom Quimb "
                  "/sopenfrom Quimb",
                  {"magnet:?xt=urn:btih:AB&dn=a b", "/sname", "星际", "穿越.mkv", "/sstartfrom",
                   "Quimb", "/sopenfrom", "Quimb"}}));

TEST(XmpCommandLineTest, QuotesTheLinkOnlyAndLeavesEverythingElseAsItIs) {
    EXPECT_EQ(BuildXmpCommandLine(QStringLiteral("ed2k://|file|Movie 1.mkv|123|ABC|/"),
                                  QStringLiteral("Movie 1.mkv")),
              QStringLiteral("\"ed2k://|file|Movie 1.mkv|123|ABC|/\" /sname Movie 1.mkv "
                             "/sstartfrom Quimb /sopenfrom Quimb"));
    // No selection: both texts empty, handed over all the same.
    EXPECT_EQ(BuildXmpCommandLine({}, {}),
              QStringLiteral("\"\" /sname  /sstartfrom Quimb /sopenfrom Quimb"));
    // Placeholders inside the texts are not expanded again.
    EXPECT_EQ(BuildXmpCommandLine(QStringLiteral("a%2\"b"), QStringLiteral("%1")),
              QStringLiteral("\"a%2\"b\" /sname %1 /sstartfrom Quimb /sopenfrom Quimb"));
}

}  // namespace
