// How the C-style readers end the process. Death tests see only standard error, so the
// dying statement sends standard output to a file that is read afterwards.

#include "pedigree/ed_with_cla.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

TEST(ReaderExitDeathTest, EachFailureEndsWithStatusOneAndItsMessageOnItsStream)
{
    const test_files::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const auto adjacency = [](const char*) { return DIGRAPHcosangcreate(); };
    const struct {
        Digraph (*read)(const char*);
        const char* file;
        const char* text; // nullptr: the file is not written
        const char* stderr_pattern;
        const char* printed;
    } cases[] = {
        {DIGRAPHcreate_with_cla, "missing.txt", nullptr,
         "missing.txt: cannot open the pedigree file: No such file or directory", ""},
        {DIGRAPHcreate, "fifo", nullptr,
         "fifo: cannot read the pedigree from a pipe: the file is read twice", ""},
        {DIGRAPHcreate_with_cla_multi_parents, "ped.txt", "1\n1 m a b 1 1\n1\n1 x\n",
         "ped.txt: link 1: cannot read the child id: expected an integer, found \"x\"\n", ""},
        {DIGRAPHcreate_with_cla, "ped.txt",
         "3\n1 m 0 0 a b 1 1\n2 f 0 0 a b 1 1\n3 m 0 44 a b 1 1\n", "^$",
         "2 -2 -1 ERRO na montagem do Grafo.\n"},
        {adjacency, "grafo_adjacencia.in", "2\n1 m 2 f\n0 1\n1 -\n", "^$",
         "Erro na leitura do arquivo grafo.in.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.text != nullptr) {
            test_files::write_file(c.file, c.text);
        }
        EXPECT_EXIT(
            {
                if (std::freopen("stdout.txt", "w", stdout) != nullptr) {
                    c.read(c.file);
                }
            },
            ::testing::ExitedWithCode(1), c.stderr_pattern);
        EXPECT_EQ(test_files::read_file("stdout.txt"), c.printed);
    }
    std::filesystem::current_path(previous);
}

} // namespace
