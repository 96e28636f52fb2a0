// How the C-style readers end the process: every failure exits with status 1; the
// assembly and adjacency messages are on standard output, everything else on standard
// error. Death tests see only standard error, so the standard-output cases send it to a
// file inside the dying statement and read that file afterwards.

#include "pedigree/ed_with_cla.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

using ::testing::ExitedWithCode;

class ReaderExitDeathTest : public ::testing::Test {
protected:
    std::string write(std::string_view text) const { return dir_.write("ped.txt", text); }
    std::string stdout_file() const { return dir_ / "stdout.txt"; }
    std::string printed() const { return test_files::read_file(stdout_file()); }
    void to_stdout_file() const
    {
        if (std::freopen(stdout_file().c_str(), "w", stdout) == nullptr) {
            std::abort();
        }
    }

    test_files::TempDir dir_;
};

TEST_F(ReaderExitDeathTest, UnreadableInputIsReportedOnStandardError)
{
    const std::string missing = dir_ / "missing.txt";
    EXPECT_EXIT(DIGRAPHcreate_with_cla(missing.c_str()), ExitedWithCode(1),
                "missing.txt: cannot open the pedigree file: No such file or directory");
    EXPECT_EXIT(DIGRAPHcreate_with_cla_multi_parents(missing.c_str()), ExitedWithCode(1),
                "missing.txt: cannot open the pedigree file");

    const std::string fifo = dir_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EXIT(DIGRAPHcreate_with_cla(fifo.c_str()), ExitedWithCode(1),
                "fifo: cannot read the pedigree from a pipe: the file is read twice");
    EXPECT_EXIT(DIGRAPHcreate(fifo.c_str()), ExitedWithCode(1), "fifo: .* from a pipe");
}

TEST_F(ReaderExitDeathTest, RefusedContentIsReportedOnStandardError)
{
    const std::string path = write("2\n1 m 0 0 a b 1 1\n2 f 0 0 a b 1\n");
    EXPECT_EXIT(DIGRAPHcreate_with_cla(path.c_str()), ExitedWithCode(1),
                "ped.txt: record 2: cannot read the death value: the file ends before it\n");
    write("-7\n");
    EXPECT_EXIT(DIGRAPHcreate(path.c_str()), ExitedWithCode(1),
                "ped.txt: the count of individuals is -7; it must be 0 or more");
    write("1\n1 m a b 1 1\n1\n1 x\n");
    EXPECT_EXIT(DIGRAPHcreate_with_cla_multi_parents(path.c_str()), ExitedWithCode(1),
                "ped.txt: link 1: cannot read the child id: expected an integer, found \"x\"");
}

TEST_F(ReaderExitDeathTest, InconsistentPedigreeIsPrintedOnStandardOutput)
{
    const std::string path = write("5\n1 m 0 0 a b 1 1\n2 f 0 0 a b 1 1\n3 m 1 2 a b 1 1\n"
                                   "4 f 0 0 a b 1 1\n5 m 0 44 a b 1 1\n");
    EXPECT_EXIT(
        {
            to_stdout_file();
            DIGRAPHcreate_with_cla(path.c_str());
        },
        ExitedWithCode(1), "^$");
    EXPECT_EQ(printed(), "4 -2 -1 ERRO na montagem do Grafo.\n");

    write("2\n1 0 0 m\n2 3 1 f\n");
    EXPECT_EXIT(
        {
            to_stdout_file();
            DIGRAPHcreate(path.c_str());
        },
        ExitedWithCode(1), "^$");
    EXPECT_EQ(printed(), "1 -1 0 ERRO na montagem do Grafo.\n");

    write("2\n1 m a b 1 1\n2 f a b 1 1\n2\n1 2\n5 2\n");
    EXPECT_EXIT(
        {
            to_stdout_file();
            DIGRAPHcreate_with_cla_multi_parents(path.c_str());
        },
        ExitedWithCode(1), "^$");
    EXPECT_EQ(printed(), "1 -1 ERRO na montagem do Grafo.\n");
}

TEST_F(ReaderExitDeathTest, AdjacencyFileMessages)
{
    const std::pair<const char*, const char*> cases[] = {
        {"two", "Erro na leitura do arquivo grafo.\n"},
        {"2\n1 m 2 f\n0 1\n1 -\n", "Erro na leitura do arquivo grafo.in.\n"},
    };
    for (const auto& [text, message] : cases) {
        dir_.write("grafo_adjacencia.in", text);
        EXPECT_EXIT(
            {
                std::filesystem::current_path(dir_.path());
                to_stdout_file();
                DIGRAPHcosangcreate();
            },
            ExitedWithCode(1), "^$");
        EXPECT_EQ(printed(), message);
    }
    std::filesystem::remove(dir_ / "grafo_adjacencia.in");
    EXPECT_EXIT(
        {
            std::filesystem::current_path(dir_.path());
            DIGRAPHcosangcreate();
        },
        ExitedWithCode(1), "grafo_adjacencia.in: cannot open the pedigree file");
}

} // namespace
