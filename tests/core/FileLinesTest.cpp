#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "doc/FileLines.h"

namespace {

// Where passing over plain CR LF lines must stop, one line at a time.
size_t PassLineByLine(std::string_view held, size_t start, std::string_view leads, int& lines)
{
    for (;;) {
        const size_t lf = held.find('\n', start);
        if (lf == std::string_view::npos || lf == start || held[lf - 1] != '\r'
            || leads.find(held[start]) != std::string_view::npos)
            return start;
        ++lines;
        start = lf + 1;
    }
}

} // namespace

// The lines are searched in blocks of 64 bytes: a line break or a line's first byte on either
// side of a block's edge must be seen as it is one line at a time.
TEST(FileLines, PassingOverPlainLinesStopsWhereReadingLineByLineWould)
{
    const std::vector<std::string> pieces = { "\r\n", "\n", "\r", "E", "\x1b", "a", "bcdefghij", std::string(61, 'x') };
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string held;
        while (held.size() < 400)
            held += pieces[random() % pieces.size()];
        for (size_t start = 0; start <= held.size(); ++start) {
            int lines = 0;
            int expectedLines = 0;
            const size_t expected = PassLineByLine(held, start, "E\x1b", expectedLines);
            ASSERT_EQ(PassCrLfLines(held, start, "E\x1b", lines), expected) << "round " << round << " from " << start;
            ASSERT_EQ(lines, expectedLines);
        }
    }
}
