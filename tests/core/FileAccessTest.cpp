#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "NotebookFileTestFiles.h"
#include "storage/FileAccess.h"
#include "words/ProblemWords.h"

namespace {

using Status = WriteResult::Status;

struct stat StatOf(const std::string& path)
{
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

std::string AttributeOf(const std::string& path, const char* name)
{
    char value[64];
    const ssize_t size = ::getxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? "<none>" : std::string(value, static_cast<size_t>(size));
}

// An old notebook "a.not": mode 0640, the extended attribute user.x, and (for root) an owner
// and group of its own. False when the file system keeps no user attributes.
bool MakeOldFile(const TempDir& dir)
{
    const std::string path = dir.Path("a.not");
    WriteBytes(path, "old\r\n");
    ::chmod(path.c_str(), 0640);
    if (geteuid() == 0) {
        EXPECT_EQ(::chown(path.c_str(), 1234, 5678), 0);
    }
    return ::setxattr(path.c_str(), "user.x", "kept", 4, 0) == 0;
}

struct SaveTarget
{
    const char* what;
    // Prepares the directory and returns the path to save to.
    std::function<std::string(const TempDir&)> prepare;
    Status status;
    const char* reason;
    const char* listing; // the directory afterwards
    const char* checked; // the file whose bytes, mode, owner and attribute are checked
    const char* bytes;
    mode_t mode;
};

} // namespace

// Each kind of target: what the save does to the file, its links and its directory.
TEST(FileAccess, EveryKindOfSaveTargetIsWrittenThroughOrRefused)
{
    // A new file gets the default mode that the umask leaves.
    const mode_t oldMask = ::umask(022);
    int heldTemporary = -1;
    const SaveTarget targets[] = {
        { "a chain of symbolic links reaching the file",
          [](const TempDir& dir) {
              ::symlink("a.not", dir.Path("link.not").c_str());
              ::symlink(dir.Path("link.not").c_str(), dir.Path("link2.not").c_str());
              return dir.Path("link2.not");
          },
          Status::Written, "", "a.not,link.not,link2.not", "a.not", "new\r\n", 0640 },
        { "a dangling symbolic link",
          [](const TempDir& dir) {
              ::mkdir(dir.Path("sub").c_str(), 0755);
              ::symlink("sub/made.not", dir.Path("dangling.not").c_str());
              return dir.Path("dangling.not");
          },
          Status::Written, "", "a.not,dangling.not,sub", "sub/made.not", "new\r\n", 0644 },
        { "a read-only file",
          [](const TempDir& dir) {
              ::chmod(dir.Path("a.not").c_str(), 0444);
              return dir.Path("a.not");
          },
          Status::ReadOnly, "it is read-only", "a.not", "a.not", "old\r\n", 0444 },
        { "a file with a second hard link",
          [](const TempDir& dir) {
              ::link(dir.Path("a.not").c_str(), dir.Path("b.not").c_str());
              return dir.Path("b.not");
          },
          Status::Written, "", "a.not,b.not", "a.not", "new\r\n", 0640 },
        { "a FIFO",
          [](const TempDir& dir) {
              ::mkfifo(dir.Path("fifo").c_str(), 0644);
              return dir.Path("fifo");
          },
          Status::Failed, "it is a FIFO (named pipe), not a file", "a.not,fifo", "a.not", "old\r\n", 0640 },
        { "a folder", [](const TempDir& dir) { return dir.Dir().string(); }, Status::Failed,
          "it is a folder, not a file", "a.not", "a.not", "old\r\n", 0640 },
        { "a device", [](const TempDir&) { return std::string("/dev/null"); }, Status::Failed,
          "it is a device, not a file", "a.not", "a.not", "old\r\n", 0640 },
        { "a temporary file left by a crashed save",
          [](const TempDir& dir) {
              WriteBytes(dir.Path(".a.not.quillbox-save"), "half a notebook");
              ::chmod(dir.Path(".a.not.quillbox-save").c_str(), 0);
              return dir.Path("a.not");
          },
          Status::Written, "", "a.not", "a.not", "new\r\n", 0640 },
        { "a temporary file in use by a running save",
          [&](const TempDir& dir) {
              heldTemporary = ::open(dir.Path(".a.not.quillbox-save").c_str(), O_RDWR | O_CREAT, 0666);
              ::flock(heldTemporary, LOCK_EX);
              return dir.Path("a.not");
          },
          Status::Failed, "another program is saving it at this moment", ".a.not.quillbox-save,a.not", "a.not",
          "old\r\n", 0640 },
    };
    for (const SaveTarget& target : targets) {
        SCOPED_TRACE(target.what);
        TempDir dir;
        const bool bAttributes = MakeOldFile(dir);
        const std::string path = target.prepare(dir);
        const WriteResult result = WriteFileSafely(path, "new\r\n");
        EXPECT_EQ(result.status, target.status);
        EXPECT_EQ(DescribeReason(result.problem), target.reason);
        EXPECT_EQ(dir.Listing(), target.listing);

        const std::string checked = dir.Path(target.checked);
        EXPECT_EQ(ReadBytes(checked), target.bytes);
        const struct stat st = StatOf(checked);
        EXPECT_EQ(st.st_mode & 07777, target.mode);
        const bool bOld = std::string(target.checked) == "a.not";
        if (bOld && bAttributes) {
            EXPECT_EQ(AttributeOf(checked, "user.x"), "kept");
        }
        // Only root may give a file away; others keep their own files' owner anyway.
        if (bOld && geteuid() == 0) {
            EXPECT_EQ(st.st_uid, 1234u);
            EXPECT_EQ(st.st_gid, 5678u);
        }
        // Links stay links, and a second hard link still shares the content.
        for (const char* link : { "link.not", "link2.not", "dangling.not" }) {
            if (std::string(target.listing).find(link) != std::string::npos) {
                EXPECT_TRUE(S_ISLNK(StatOf(dir.Path(link)).st_mode)) << link;
            }
        }
        if (std::string(target.listing).find("b.not") != std::string::npos) {
            EXPECT_EQ(StatOf(dir.Path("b.not")).st_ino, st.st_ino);
        }
        if (heldTemporary >= 0)
            ::close(std::exchange(heldTemporary, -1));
    }
    ::umask(oldMask);
}

TEST(FileAccess, ReadOnlyFileIsReplacedWithTheUsersWordAndStaysReadOnly)
{
    TempDir dir;
    const std::string path = dir.Path("a.not");
    WriteBytes(path, "old\r\n");
    ::chmod(path.c_str(), 0444);
    auto nb = Notebook::New();
    nb->doc.SetModifiedFlag();
    const SaveResult refused = nb->doc.OnSaveDocument(path);
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.bReadOnly);
    EXPECT_EQ(DescribeProblem(refused.problem), "Cannot save \"" + path + "\": it is read-only.");
    EXPECT_TRUE(nb->doc.IsModified());

    const SaveResult replaced = nb->doc.OnSaveDocument(path, true);
    EXPECT_TRUE(replaced.ok) << DescribeProblem(replaced.problem);
    EXPECT_TRUE(ReadBytes(path).starts_with("Begin Selected Folder\r\nMain\r\n"));
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0444u);
    EXPECT_EQ(dir.Listing(), "a.not");
}

// Whatever the path names, opening says why it cannot be read, at once and without reading it.
TEST(FileAccess, OnlyRegularFilesUpToTheLimitAreOpened)
{
    TempDir dir;
    ::mkfifo(dir.Path("fifo").c_str(), 0644);
    const std::string huge = dir.Path("huge.not");
    WriteBytes(huge, "");
    ASSERT_EQ(::truncate(huge.c_str(), kMaxFileBytes + 1), 0);
    const std::pair<std::string, std::string> inputs[] = {
        { dir.Path("none.not"), "No such file or directory" },
        { dir.Dir().string(), "it is a folder, not a file" },
        { dir.Path("fifo"), "it is a FIFO (named pipe), not a file" },
        { "/dev/zero", "it is a device, not a file" },
        { huge, "it is larger than 1 GiB, the most Quillbox reads" },
    };
    for (const auto& [path, reason] : inputs) {
        Notebook nb;
        const ReadReport report = nb.doc.OnOpenDocument(path);
        EXPECT_EQ(report.status, ReadReport::Status::CannotOpen);
        EXPECT_EQ(DescribeProblem(report.problem), "Cannot open \"" + path + "\": " + reason + ".");
        EXPECT_TRUE(nb.doc.GetFolders().empty());
        const ReadReport imported = Notebook::New()->doc.ImportFolder(path);
        EXPECT_EQ(DescribeProblem(imported.problem), "Cannot open \"" + path + "\": " + reason + ".");
    }
}
