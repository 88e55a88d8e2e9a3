#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "storage/FileIdentity.h"
#include "storage/SharedText.h"
#include "storage/TextBlock.h"
#include "storage/FileAccess.h"

// Reads the lines of a file, held whole in memory or read from the disk as the lines are
// needed. A line ends at a line feed; a carriage return just before it belongs to the line
// break, so CR LF and bare LF files read alike. Lines of any length are read whole.
//
// Two contracts, each checked where breaking it would read memory no longer held:
// - Data() is for a reader that holds its data whole (made from bytes, or by ReadFileLines);
//   a streaming reader's Data() would be a part of the file only, and throws instead.
// - After ForgetRead(), nothing before that point may be read again: a Rewind() there fails,
//   and the reader then stops, with WhereReadingStopped() saying so.
class LineReader
{
public:
    // Reads a copy of `data`.
    explicit LineReader(std::string_view data);
    // Reads the open file from where it stands, holding only what is not yet forgotten, or the
    // whole file when bWhole.
    explicit LineReader(std::unique_ptr<FileReader> pFile, bool bWhole = false);

    // The next line without its line break; false at the end of the data.
    bool ReadLine(std::string& line);
    // The same as a view into the reader's data, valid until the reader is next used.
    bool ReadLine(std::string_view& line);
    // Reads up to and including the first line equal to `keyword`, skipping the lines before it.
    // Stops before a line equal to one of `stops` and leaves it unread; false then, or at the end.
    bool FindLine(std::string_view keyword, std::span<const std::string_view> stops = {});
    // Reads on over the lines that end in CR LF and begin with none of the bytes in `leads`,
    // stopping before the first other line.
    void SkipCrLfLines(std::string_view leads);
    // Skips lines up to the first one equal to one of `lines`, leaving it unread; returns its
    // index in `lines`, or -1 at the end of the data.
    int SkipTo(std::span<const std::string_view> lines);

    bool AtEnd() const;
    // Reads the file to its end, holding what is not yet forgotten; what stopped reading it
    // before its end, if anything (its kind and error only).
    const FileProblem& ReadToEnd();
    // The whole file, read or not, of a reader that holds it whole; std::logic_error for one
    // that streams.
    std::string_view Data();
    // Whether all of the file is valid UTF-8; the reader reads it to its end for that.
    bool IsAllUtf8();
    // Hashes the bytes read from the file from now on; FileHash gives the hash of all of them
    // once the file has been read to its end.
    void HashWhileReading() { m_bHash = true; }
    uint64_t FileHash() const { return m_hash.Value(); }
    // The number of lines read or skipped so far.
    int LineNumber() const { return m_line; }
    // Where reading stopped: the data ends early at the last line read, reading the file failed
    // after it, or else the line not yet read is damaged. Kind and line only.
    FileProblem WhereReadingStopped() const;

    struct Mark
    {
        size_t pos = 0;
        int line = 0;
    };
    Mark GetMark() const { return { m_pos, m_line }; }
    // Goes back to a mark; false, and the reader stops, for a mark before what was forgotten.
    bool Rewind(Mark mark);
    // The data between two marks as stored, line breaks included.
    std::string_view Between(Mark from, Mark to) const
    {
        return Held().substr(from.pos - m_base, to.pos - from.pos);
    }
    // The same as a text that shares the reader's memory, and keeps it, instead of a copy.
    SharedText Share(Mark from, Mark to, bool bStoredAsIs) const { return { m_pBlock, Between(from, to), bStoredAsIs }; }
    // What has been read is not needed again: the reader may leave it behind, with the texts
    // that share it, when it reads on. It cannot be rewound before this point afterwards.
    void ForgetRead() { m_forgotten = m_pos; }

private:
    // The line at the read position; `next` receives the position after its line break.
    std::string_view PeekLine(size_t& next) const;
    // Reads on from the file until the line at the read position is held whole, or the file
    // ends. Reading ahead changes what is held, never what is read: hence const.
    void Fill() const;
    // Reads the next piece of the file, into a new block once the one held is full.
    void ReadMore() const;
    // Moves what is not forgotten to a new block with room for the rest of the file.
    void NewBlock() const;
    // Checks the bytes held that are not checked yet for UTF-8, but for a sequence at their
    // end that the next piece may complete, unless bAll.
    void CheckUtf8(bool bAll) const;

    std::string_view Held() const { return { m_pBlock ? m_pBlock->Data() : nullptr, m_held }; }

    // The bytes held are the first m_held of the block, from the position m_base of the file on.
    mutable std::shared_ptr<TextBlock> m_pBlock;
    mutable size_t m_held = 0;
    mutable size_t m_base = 0;
    // The file still to read; none once it has ended or failed.
    mutable std::unique_ptr<FileReader> m_pFile;
    mutable FileProblem m_readProblem;
    mutable ContentHash m_hash;
    bool m_bHash = false;
    // Where the line at m_lineFor ends: its line feed, or npos for the end of the data.
    mutable size_t m_lineFor = SIZE_MAX;
    mutable size_t m_lineEnd = 0;
    mutable size_t m_checked = 0;
    mutable bool m_bUtf8 = true;
    bool m_bWhole = false;
    size_t m_forgotten = 0;
    size_t m_pos = 0;
    int m_line = 0;
};

// From `start`, the beginning of a line in `held`, passes over the whole lines that end in CR LF
// and begin with none of the bytes in `leads`, counting them in `lines`; returns where the first
// other line, or the line not held whole, begins. Most of a notebook is such lines, so line
// feeds are looked for 64 bytes at a time where the processor can.
size_t PassCrLfLines(std::string_view held, size_t start, std::string_view leads, int& lines);

// The lines of a whole regular file, of at most kMaxFileBytes, read and held whole; nothing when
// it cannot be read, and `problem` then says why, as a failure to open the file.
std::optional<LineReader> ReadFileLines(const std::string& path, FileProblem& problem);
// The same, read from the disk as the lines are needed.
std::optional<LineReader> StreamFileLines(const std::string& path, FileProblem& problem);
