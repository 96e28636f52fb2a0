// kinship-bench PEDIGREE_FILE
//
// Runs the command's stages on a pedigree, in the working directory, exactly as the
// command does, and prints one line: the wall time of each stage in seconds and the peak
// resident memory after each stage in MiB. For measuring only; the outputs are the
// command's files.

#include "command/pipeline.h"
#include "export/kinship_gml_writer.h"
#include "pedigree/ed_with_cla.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double peak_rss_mib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
}

class StageClock {
public:
    template <typename Stage> void time(const char* name, Stage&& stage)
    {
        const auto start = std::chrono::steady_clock::now();
        stage();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        results_.push_back({name, elapsed.count(), peak_rss_mib()});
    }

    void print() const
    {
        for (const Result& r : results_) {
            std::printf("%s=%.3fs/%.0fMiB ", r.name, r.seconds, r.peak_mib);
        }
        std::printf("\n");
    }

private:
    struct Result {
        const char* name;
        double seconds;
        double peak_mib;
    };
    std::vector<Result> results_;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: kinship-bench PEDIGREE_FILE\n");
        return 2;
    }
    const std::string pedigree_path = argv[1];
    const kinship::OutputNames names = kinship::output_names(pedigree_path);
    StageClock clock;

    Digraph pedigree = nullptr;
    clock.time("read", [&] { pedigree = DIGRAPHcreate_with_cla(pedigree_path.c_str()); });
    clock.time("first_gml", [&] { parse_and_file(pedigree, names.first_gml.c_str()); });
    DIGRAPHdestroy(pedigree);

    ogdf::Graph graph;
    kinship::gml::KinshipAttributes attributes(graph);
    bool ok = true;
    clock.time("reload", [&] { ok = kinship::load_first_gml(names.first_gml, graph, attributes); });
    if (!ok) {
        return 1;
    }
    clock.time("layout", [&] { kinship::lay_out(attributes); });
    clock.time("drawing", [&] { ok = kinship::write_drawing(attributes, names.drawing_gml); });
    clock.print();
    return ok ? 0 : 1;
}
