// zanvo-scramble's -o on file systems that a test makes for itself. Each is mounted in a mount
// namespace of this test program's own, which no other process sees and which ends with the
// program; where this user may not mount, the test says so and is skipped.
#include "clitest.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zanvo::test;

namespace {

// A file system of type, mounted with options at folder for the object's life.
class PrivateMount {
public:
    PrivateMount(const fs::path &folder, const char *type, const std::string &options)
        : m_folder(folder)
    {
        static const int isolated = unshare(CLONE_NEWNS) == 0
                && mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
            ? 0
            : errno;
        fs::create_directories(folder);
        const int error = isolated                                       ? isolated
            : mount(type, folder.c_str(), type, 0, options.c_str()) == 0 ? 0
                                                                         : errno;
        m_mounted = error == 0;
        if (!m_mounted)
            m_why = std::string("cannot mount ") + type + " (" + options
                + "): " + std::strerror(error);
    }
    ~PrivateMount()
    {
        if (m_mounted)
            umount2(m_folder.c_str(), MNT_DETACH);
    }
    PrivateMount(const PrivateMount &) = delete;
    PrivateMount &operator=(const PrivateMount &) = delete;

    explicit operator bool() const { return m_mounted; }
    const std::string &why() const { return m_why; }

private:
    fs::path m_folder;
    bool m_mounted = false;
    std::string m_why;
};

ino_t inodeOf(const fs::path &path)
{
    struct stat st { };
    stat(path.c_str(), &st);
    return st.st_ino;
}

// Writes into a new file at path until the file system has no room left.
void fillUp(const fs::path &path)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    const std::string block(4096, 'f');
    while (write(fd, block.data(), block.size()) > 0) { }
    while (write(fd, "f", 1) > 0) { }
    close(fd);
}

} // namespace

TEST_F(Cli, OnAFullDiskTheFileIsRewrittenInPlaceOrLeftAsItWas)
{
    PrivateMount small(dir / "small", "tmpfs", "size=256k");
    if (!small)
        GTEST_SKIP() << small.why();
    // With empty lines, the result is shorter than the file; without, longer.
    std::string shorter, longer;
    for (int i = 0; i < 2000; ++i) {
        shorter += "line " + std::to_string(i) + "\n\n";
        longer += "line " + std::to_string(i) + "\n";
    }
    file("small/list.txt", shorter);
    file("small/long.txt", longer);
    const auto inode = inodeOf(dir / "small/list.txt");
    fillUp(dir / "small/filler");

    const Outcome expected = run({"-s", "3"}, shorter);
    EXPECT_EQ(run({"-s", "3", "-o", "small/list.txt", "small/list.txt"}), ok());
    EXPECT_TRUE(contents("small/list.txt") == expected.out) << "not the seeded result";
    EXPECT_EQ(inodeOf(dir / "small/list.txt"), inode);

    EXPECT_EQ(run({"-o", "small/long.txt", "small/long.txt"}),
              failure("cannot reserve space for 'small/long.txt': No space left on device"));
    EXPECT_TRUE(contents("small/long.txt") == longer) << "the old text was touched";
}
