// The command's stages: every way the styled GML file can fail to load gets the
// load-failure message, and names come out as the command promises.
#include "command/pipeline.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

class LoadFirstGml : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "load-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Loads `text` as a styled GML file; returns what was printed on standard error, or
    // "loaded" when the load succeeded.
    std::string load(const std::string& text)
    {
        const std::string path = (dir_ / "gml-ped.txt").string();
        std::ofstream(path) << text;
        return load_path(path);
    }

    std::string load_path(const std::string& path)
    {
        ogdf::Graph graph;
        kinship::gml::KinshipAttributes attributes(graph);
        ::testing::internal::CaptureStderr();
        const bool loaded = kinship::load_first_gml(path, graph, attributes);
        const std::string err = ::testing::internal::GetCapturedStderr();
        return loaded ? "loaded" : err;
    }

    std::filesystem::path dir_;
};

TEST_F(LoadFirstGml, EveryReadingFailureGetsTheLoadFailureMessage)
{
    const std::string node = "node [ id 5 ]\n";
    const std::vector<std::string> broken = {
        "graph [\n" + node + "node [ graphics [ w 1e5 ] ]\n]\n", // not a number form
        "graph [\n" + node + "node [ label 12ab ]\n]\n",         // number glued to text
        "graph [\n" + node + "node [ label ]\n]\n",              // key without value
        "graph [\n" + node + "\"text\" 1\n]\n",                  // value where a key goes
        "graph [\n" + node,                                      // list never closed
        "graph [\n" + node + "node [ label \"x\" ]\n]\n",        // node without id
        "graph [\n" + node + "node [ id \"6\" ]\n]\n",           // id not an integer
        "graph [\n" + node + "edge [ source 5 ]\n]\n",           // edge without target
        "graph [\n" + node + "edge [ source 5 target 6 ]\n]\n",  // target beyond the ids
        "graph [\n" + node + "edge [ source 4 target 5 ]\n]\n",  // source below the ids
    };
    for (const std::string& text : broken) {
        const std::string err = load(text);
        EXPECT_EQ(
            err.rfind("Could not load " + (dir_ / "gml-ped.txt").string() + " extension gml\n", 0),
            0u)
            << text << "\n got: " << err;
    }
}

TEST_F(LoadFirstGml, MissingFileGetsTheLoadFailureMessage)
{
    const std::string path = (dir_ / "gml-absent.txt").string();
    EXPECT_EQ(load_path(path).rfind("Could not load " + path + " extension gml\n", 0), 0u);
}

TEST_F(LoadFirstGml, WhatTheStyledWriterProducesLoads)
{
    EXPECT_EQ(load("directed 1\ngraph [\n]\n"), "loaded");
    EXPECT_EQ(load("directed 1\ngraph [\nnode [\nid 100000001\n]\nnode [\nid 199999999\n]\n"
                   "edge [\nsource 100000001\ntarget 199999999\n]\n]\n"),
              "loaded");
}

TEST(OutputNames, PrefixesGoBeforeTheWholeArgument)
{
    const kinship::OutputNames names = kinship::output_names("data/ped.txt");
    EXPECT_EQ(names.first_gml, "gml-data/ped.txt");
    EXPECT_EQ(names.drawing_gml, "whl-gml-data/ped.txt");
}

} // namespace
