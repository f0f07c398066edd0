// zanvo-scramble's -o on file systems that a test makes for itself. Each is mounted in a mount
// namespace of this test program's own, which no other process sees and which ends with the
// program; where this user may not mount, the test says so and is skipped.
#include "clitest.h"

#include <acl/libacl.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace zanvo::test;

namespace {

// Folders of the test's own with a file system of their own, gone at the test's end.
class Mounts : public Cli {
protected:
    ~Mounts() override
    {
        for (const auto &folder : m_mounted)
            umount2(folder.c_str(), MNT_DETACH);
    }
    // Mounts type with options at folder in the test's folder; why it cannot, where it cannot.
    std::string mountAt(const std::string &folder, const char *type, const char *options)
    {
        static const int isolated = unshare(CLONE_NEWNS) == 0
                && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
            ? 0
            : errno;
        const fs::path at = dir / folder;
        fs::create_directories(at);
        const int error = isolated                             ? isolated
            : ::mount(type, at.c_str(), type, 0, options) == 0 ? 0
                                                               : errno;
        if (error == 0)
            m_mounted.push_back(at);
        return error
            ? std::string("cannot mount ") + type + " (" + options + "): " + std::strerror(error)
            : "";
    }

private:
    std::vector<fs::path> m_mounted;
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

// The file's access ACL as text, or "none" where the file system has none.
std::string aclOf(const fs::path &path)
{
    acl_t acl = acl_get_file(path.c_str(), ACL_TYPE_ACCESS);
    if (!acl)
        return "none";
    char *text = acl_to_any_text(acl, nullptr, ',', 0);
    std::string result = text ? text : "unreadable";
    acl_free(text);
    acl_free(acl);
    return result;
}

bool setAcl(const fs::path &path, const char *text)
{
    acl_t acl = acl_from_text(text);
    const bool set = acl && acl_set_file(path.c_str(), ACL_TYPE_ACCESS, acl) == 0;
    acl_free(acl);
    return set;
}

std::string attributeOf(const fs::path &path, const char *name)
{
    char value[256];
    const ssize_t size = getxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? "missing" : std::string(value, static_cast<std::size_t>(size));
}

} // namespace

TEST_F(Mounts, ADeniedUserStaysDeniedWhateverTheFileSystemKeeps)
{
    if (run({"--version"}, "", asNobody).status != 0)
        GTEST_SKIP() << "the user nobody cannot run the program from here";
    const auto readAsNobody
        = [&](const std::string &name) { return run({name}, "", asNobody).err; };
    const std::string denied = "Permission denied\n";

    // A file system with ACLs and extended attributes: the replacement takes both.
    if (const auto why = mountAt("acl", "tmpfs", "size=1m"); !why.empty())
        GTEST_SKIP() << why;
    const auto shared = file("acl/list.txt", "b\na\n");
    ASSERT_TRUE(setAcl(shared, "u::rw-,u:nobody:---,g::r--,m::r--,o::r--"));
    ASSERT_EQ(setxattr(shared.c_str(), "user.origin", "kept", 4, 0), 0);
    const std::string acl = aclOf(shared);
    ASSERT_TRUE(readAsNobody("acl/list.txt").ends_with(denied));
    const auto inode = inodeOf(shared);
    EXPECT_EQ(run({"-s", "1", "-o", "acl/list.txt", "acl/list.txt"}), ok());
    EXPECT_EQ(contents("acl/list.txt"), "b\n\na");
    EXPECT_NE(inodeOf(shared), inode) << "rewritten in place, not replaced";
    EXPECT_EQ(aclOf(shared), acl);
    EXPECT_EQ(attributeOf(shared, "user.origin"), "kept");
    EXPECT_TRUE(readAsNobody("acl/list.txt").ends_with(denied));

    // One this user may not set (a security attribute, as nobody): the file is rewritten in
    // place, and keeps it.
    const auto theirs = file("acl/theirs.txt", "b\na\n");
    ASSERT_EQ(chown(theirs.c_str(), 65534, 65534), 0);
    ASSERT_EQ(setxattr(theirs.c_str(), "security.zanvo", "label", 5, 0), 0);
    const auto theirInode = inodeOf(theirs);
    EXPECT_EQ(run({"-s", "1", "-o", "acl/theirs.txt", "acl/theirs.txt"}, "", asNobody), ok());
    EXPECT_EQ(contents("acl/theirs.txt"), "b\n\na");
    EXPECT_EQ(inodeOf(theirs), theirInode);
    EXPECT_EQ(attributeOf(theirs, "security.zanvo"), "label");

    // A file system without either: the permissions alone keep others out, and are kept.
    if (const auto why = mountAt("plain", "ramfs", "mode=0755"); !why.empty())
        GTEST_SKIP() << why;
    const auto plain = file("plain/list.txt", "b\na\n");
    fs::permissions(plain, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_FALSE(setAcl(plain, "u::rw-,u:nobody:---,g::r--,m::r--,o::r--"));
    EXPECT_EQ(run({"-s", "1", "-o", "plain/list.txt", "plain/list.txt"}), ok());
    EXPECT_EQ(contents("plain/list.txt"), "b\n\na");
    EXPECT_EQ(fs::status(plain).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(readAsNobody("plain/list.txt").ends_with(denied));
}

TEST_F(Mounts, OnAFullDiskTheFileIsRewrittenInPlaceOrLeftAsItWas)
{
    if (const auto why = mountAt("small", "tmpfs", "size=256k"); !why.empty())
        GTEST_SKIP() << why;
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
