#pragma once

#include <string>
#include <string_view>

// Bytes kept in memory that has no name, so that nothing is left behind however the program
// ends. Code that reads files by their names reaches them through the descriptor's name in
// /proc.
class MemoryFile
{
public:
    // `failure` begins the message that says the bytes cannot be kept ("cannot keep standard
    // input"), in the user's language; the system's reason follows it. Throws
    // std::runtime_error when the system has no memory file to give.
    MemoryFile(const char* name, std::string failure);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Throws std::runtime_error when the bytes cannot be kept.
    void Append(std::string_view bytes);

    const std::string& Path() const { return m_path; }

private:
    int m_fd = -1;
    std::string m_failure;
    std::string m_path;
};
