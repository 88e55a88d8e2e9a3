#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/ScriptedNotebook.h"

// A notebook as the tests make it, whose prompts record any prompt as a fault.
using FuzzNotebook = ScriptedNotebook;

// Stops the run with the evidence when the round trip disagrees; libFuzzer keeps the input.
inline void Expect(bool bHolds, const char* what, const std::string& detail = {})
{
    if (bHolds)
        return;
    std::fprintf(stderr, "round trip fault: %s\n%s\n", what, detail.c_str());
    std::abort();
}

inline void ExpectNoPrompts(const FuzzNotebook& nb)
{
    Expect(nb.prompts.Failures().empty(), "a prompt appeared",
           nb.prompts.Failures().empty() ? std::string() : nb.prompts.Failures().front());
}

// The files of one fuzzing process, in a directory of its own (in memory where the system
// has /dev/shm, since every save is flushed to disk).
class FuzzFiles
{
public:
    static const FuzzFiles& Get()
    {
        static const FuzzFiles files;
        return files;
    }
    ~FuzzFiles()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    std::string Path(const char* name) const { return (m_dir / name).string(); }

    // Writes the input to a file that the document then opens.
    std::string Input(const uint8_t* data, size_t size) const
    {
        const std::string path = Path("input");
        std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
        return path;
    }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    }

private:
    FuzzFiles()
    {
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "quillbox-fuzz-XXXXXX").string();
        Expect(::mkdtemp(pattern.data()) != nullptr, "cannot make a working directory", pattern);
        m_dir = pattern;
    }

    std::filesystem::path m_dir;
};
