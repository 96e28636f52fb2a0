// Replacing a file in one step: modes, links, long names and the failures.
#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <string>
#include <sys/stat.h>

#include "common/atomic_file.h"
#include "test_files.h"

namespace kinship {
namespace {

namespace fs = std::filesystem;

mode_t mode_of(const fs::path& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

TEST(AtomicFile, ReplacesWholeKeepingModesAndLinksOrFailsLeavingNothing)
{
    const test_files::TempDir dir;
    const mode_t umask = ::umask(022);
    ::umask(umask); // only read
    fs::create_directories(dir / "real");
    dir.write("real/old.txt", std::string(10000, 'x'));
    fs::permissions(dir / "real/old.txt", fs::perms(0640));
    fs::create_symlink("real/old.txt", dir / "link");
    fs::create_symlink("link", dir / "chain");
    fs::create_symlink("real/new.txt", dir / "dangling");
    fs::create_symlink("loop", dir / "loop");
    fs::create_directory(dir / "folder");
    const std::string long_name(NAME_MAX, 'n');

    // name written, file that must then hold the text, its mode, the failure
    const std::tuple<std::string, std::string, mode_t, std::string> cases[] = {
        {"fresh.txt", "fresh.txt", 0666 & ~umask, ""},
        {"real/old.txt", "real/old.txt", 0640, ""}, // an existing file keeps its mode
        {"chain", "real/old.txt", 0640, ""},        // links stay links
        {"dangling", "real/new.txt", 0666 & ~umask, ""},
        {long_name, long_name, 0666 & ~umask, ""},
        {"missing/out.txt", "", 0, "cannot create DIR/missing/out.txt: No such file or directory"},
        {"folder", "", 0, "cannot replace DIR/folder: Is a directory"},
        {"loop", "", 0, "cannot create DIR/loop: Too many levels of symbolic links"},
    };
    for (auto [name, holder, mode, failure] : cases) {
        const std::string text = "text for " + name.substr(0, 20);
        if (const auto at = failure.find("DIR"); at != std::string::npos) {
            failure.replace(at, 3, dir.path().string());
        }
        EXPECT_EQ(message_of(write_file_atomically(dir / name, text)), failure) << name;
        if (!holder.empty()) {
            EXPECT_EQ(test_files::read_file(dir / holder), text) << name;
            EXPECT_EQ(mode_of(dir / holder), mode) << name;
        }
    }
    for (const char* link : {"link", "chain", "dangling"}) {
        EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
    }
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
            << entry.path();
    }
}

// A text handed over in pieces, well past the size at which the buffer is written out,
// arrives whole and in order; a file dropped before it is committed changes nothing.
TEST(AtomicFile, PiecesArriveInOrderAndAnUncommittedFileLeavesNothing)
{
    const test_files::TempDir dir;
    dir.write("out.txt", "old");
    std::string expected;
    {
        Result<AtomicFile> file = AtomicFile::create(dir / "out.txt");
        ASSERT_TRUE(file);
        for (int i = 0; i < 30000; ++i) {
            const std::string piece = std::to_string(i) + '\n';
            file.value().buffer() += piece;
            expected += piece;
            file.value().write_if_full();
        }
        file.value().write("tail");
        ASSERT_TRUE(file.value().commit());
    }
    EXPECT_EQ(test_files::read_file(dir / "out.txt"), expected + "tail");
    {
        Result<AtomicFile> file = AtomicFile::create(dir / "out.txt");
        ASSERT_TRUE(file);
        file.value().write(std::string(100000, 'x'));
    }
    EXPECT_EQ(test_files::read_file(dir / "out.txt"), expected + "tail");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

} // namespace
} // namespace kinship
