#include "CliCommon.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "doc/FileLines.h"
#include "doc/FolderPath.h"
#include "words/ProblemWords.h"

namespace {

// A temporary file removed when the program ends; standard input and output pass through
// such files because the document reads and writes files by their names.
class TempFile
{
public:
    TempFile()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillbox-cli-XXXXXX").string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            throw std::runtime_error("cannot make a temporary file in " + std::filesystem::temp_directory_path().string());
        ::close(fd);
        m_path = pattern;
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

std::unique_ptr<TempFile> g_pStdin;
std::unique_ptr<TempFile> g_pStdout;

// Messages name the temporary files by what they stand for.
std::string Shown(std::string message)
{
    const auto replace = [&message](const std::unique_ptr<TempFile>& pFile, const std::string& name) {
        if (!pFile)
            return;
        const std::string quoted = "\"" + pFile->Path() + "\"";
        for (size_t at = message.find(quoted); at != std::string::npos; at = message.find(quoted, at + name.size()))
            message.replace(at, quoted.size(), name);
    };
    replace(g_pStdin, "(standard input)");
    replace(g_pStdout, "(standard output)");
    return message;
}

// Copies a temporary file that stands for standard output to it.
bool CopyToStdout(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        Error("cannot read back the output.");
        return false;
    }
    Write(bytes);
    return true;
}

} // namespace

const std::string* Args::Value(const std::string& option) const
{
    const auto found = values.find(option);
    return found == values.end() ? nullptr : &found->second;
}

bool ParseArgs(const std::vector<std::string>& words, const CommandOptions& options, Args& args, std::string& error)
{
    const auto isFlag = [&](const std::string& w) { return std::find(options.flags.begin(), options.flags.end(), w) != options.flags.end(); };
    const auto isValued = [&](const std::string& w) { return std::find(options.valued.begin(), options.valued.end(), w) != options.valued.end(); };
    bool bOperandsOnly = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (bOperandsOnly || word == "-" || word.empty() || word[0] != '-') {
            args.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            bOperandsOnly = true;
            continue;
        }
        const size_t equals = word.find('=');
        if (word.starts_with("--") && equals != std::string::npos && isValued(word.substr(0, equals))) {
            args.values[word.substr(0, equals)] = word.substr(equals + 1);
            continue;
        }
        if (isValued(word)) {
            if (i + 1 == words.size()) {
                error = word + " needs a value";
                return false;
            }
            args.values[word] = words[++i];
            continue;
        }
        if (isFlag(word)) {
            args.flags.insert(word);
            continue;
        }
        // Short flags given together, as in "-in".
        const bool bCombined = !word.starts_with("--") && word.size() > 2
            && std::all_of(word.begin() + 1, word.end(), [&](char ch) { return isFlag(std::string { '-', ch }); });
        if (!bCombined) {
            error = "unknown option " + word;
            return false;
        }
        for (size_t k = 1; k < word.size(); ++k)
            args.flags.insert(std::string { '-', word[k] });
    }
    return true;
}

void Error(const std::string& message)
{
    std::fprintf(stderr, "quillbox-cli: %s\n", Shown(message).c_str());
}

void Write(std::string_view bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

std::string InputPath(const std::string& operand)
{
    if (operand != "-")
        return operand;
    if (!g_pStdin) {
        g_pStdin = std::make_unique<TempFile>();
        std::ofstream out(g_pStdin->Path(), std::ios::binary);
        out << std::cin.rdbuf();
        if (!out.flush())
            throw std::runtime_error("cannot keep standard input in " + g_pStdin->Path());
    }
    return g_pStdin->Path();
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool Open(HeadlessNotebook& nb, const std::string& operand, bool bForWriting)
{
    const ReadReport report = nb.doc.OnOpenDocument(InputPath(operand));
    const std::string message = DescribeProblem(report.problem);
    if (!report.Opened()) {
        Error(message);
        return false;
    }
    if (report.status == ReadReport::Status::Incomplete) {
        if (bForWriting) {
            Error(message + " Nothing was written; \"quillbox-cli check --repair\" saves what can be read.");
            return false;
        }
        Error("warning: " + message);
    }
    return true;
}

namespace {

// Runs a document's write to the file named, or for "-" to a temporary file that is then
// copied to standard output.
bool WriteThrough(const std::string& operand, const std::function<SaveResult(const std::string&)>& write)
{
    if (operand == "-")
        g_pStdout = std::make_unique<TempFile>();
    const std::string path = operand == "-" ? g_pStdout->Path() : operand;
    const SaveResult result = write(path);
    if (!result.ok) {
        Error(DescribeProblem(result.problem));
        return false;
    }
    return operand != "-" || CopyToStdout(path);
}

} // namespace

bool Save(HeadlessNotebook& nb, const std::string& operand)
{
    return WriteThrough(operand, [&nb](const std::string& path) { return nb.doc.OnSaveDocument(path); });
}

bool ExportSelected(HeadlessNotebook& nb, const std::string& operand)
{
    return WriteThrough(operand, [&nb](const std::string& path) { return nb.doc.ExportFolder(path); });
}

bool WriteOutput(const std::string& operand, std::string_view bytes)
{
    if (operand == "-") {
        Write(bytes);
        return true;
    }
    FileProblem problem;
    if (WriteFileSafely(operand, bytes, problem))
        return true;
    Error("cannot write \"" + operand + "\": " + DescribeReason(problem) + ".");
    return false;
}

std::string ToNotebook(const HeadlessNotebook& nb, const std::string& words)
{
    std::string bytes;
    if (nb.doc.GetEncoding().GetKind() == TextEncoding::Kind::Windows1252 && TextEncoding::IsValidUtf8(words)
        && TextEncoding::Utf8ToCp1252(words, bytes))
        return bytes;
    return words;
}

std::string FromNotebook(const HeadlessNotebook& nb, std::string_view bytes)
{
    if (nb.doc.GetEncoding().GetKind() == TextEncoding::Kind::Windows1252)
        return TextEncoding::Cp1252ToUtf8(bytes);
    return std::string(bytes);
}

Folder* FindFolder(HeadlessNotebook& nb, const std::string& operand, const std::string& path)
{
    Folder* pFolder = FindFolderByPath(nb.doc, ToNotebook(nb, path));
    if (!pFolder)
        Error("\"" + InputPath(operand) + "\" has no folder \"" + path + "\".");
    return pFolder;
}

void Select(HeadlessNotebook& nb, const Folder* pFolder)
{
    nb.tree.SelectItem(pFolder->m_hItem);
}
