#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "storage/FileLines.h"
#include "storage/TextArena.h"
#include "NotebookFileTestFiles.h"

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

// Texts are gathered piece by piece into shared blocks; one that outgrows its block moves whole,
// and every text outlives the arena that gathered it.
TEST(FileLines, TextsGatheredInBlocksComeBackWholeAfterTheArenaIsGone)
{
    std::vector<std::string> expected;
    std::vector<SharedText> texts;
    {
        TextArena arena;
        for (const size_t size : { size_t(0), size_t(1), size_t(70000), size_t(5), size_t(300000), size_t(65536), size_t(9) }) {
            std::string text;
            for (size_t i = 0; i < size; ++i)
                text += static_cast<char>('a' + (i * 7 + size) % 26);
            for (size_t at = 0; at < text.size(); at += 1000)
                arena.Append(std::string_view(text).substr(at, 1000));
            expected.push_back(text);
            texts.push_back(arena.Take());
        }
    }
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(texts[i].View(), expected[i]) << "text " << i;
}

// A reader that streams lets go of what it has read: going back there, or asking for all of its
// data, is a reported failure rather than a read of memory it no longer holds.
TEST(FileLines, WhatAStreamingReaderLetGoCannotBeReadAgain)
{
    TempDir dir;
    const std::string path = dir.Path("big.not");
    std::string bytes;
    for (int i = 0; i < 400'000; ++i)
        bytes += "line " + std::to_string(i) + " of a file larger than the reader's blocks\r\n";
    WriteBytes(path, bytes);

    FileProblem problem;
    std::optional<LineReader> in = StreamFileLines(path, problem);
    ASSERT_TRUE(in);
    EXPECT_THROW(in->Data(), std::logic_error);
    std::string line;
    ASSERT_TRUE(in->ReadLine(line));
    const LineReader::Mark first = in->GetMark();
    while (in->ReadLine(line))
        in->ForgetRead();
    EXPECT_FALSE(in->Rewind(first));
    EXPECT_FALSE(in->ReadLine(line));
    EXPECT_EQ(in->WhereReadingStopped().kind, FileProblem::Kind::Failure);

    // Read whole, the same file can be gone through again.
    std::optional<LineReader> whole = ReadFileLines(path, problem);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->Data(), bytes);
    const LineReader::Mark start = whole->GetMark();
    while (whole->ReadLine(line)) {
    }
    EXPECT_TRUE(whole->Rewind(start));
    ASSERT_TRUE(whole->ReadLine(line));
    EXPECT_EQ(line, "line 0 of a file larger than the reader's blocks");
}
