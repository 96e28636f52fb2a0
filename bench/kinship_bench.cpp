// kinship-bench PEDIGREE_FILE
//
// Runs the command's stages (the functions of command/pipeline.h that its main calls) on a
// pedigree, in the working directory, and prints one line: the wall time of each stage in
// seconds (to 0.1 ms) and the peak resident memory after each stage in MiB. For measuring
// only; the outputs are the command's files.

#include "command/pipeline.h"

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
    // Runs the stage and returns what it returned.
    template <typename Stage> auto time(const char* name, Stage&& stage)
    {
        const auto start = std::chrono::steady_clock::now();
        auto outcome = stage();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        results_.push_back({name, elapsed.count(), peak_rss_mib()});
        return outcome;
    }

    void print() const
    {
        for (const Result& r : results_) {
            std::printf("%s=%.4fs/%.0fMiB ", r.name, r.seconds, r.peak_mib);
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

    ogdf::Graph graph;
    kinship::gml::KinshipAttributes attributes(graph);
    const kinship::Status finished = [&]() -> kinship::Status {
        auto pedigree = clock.time("read", [&] { return kinship::read_pedigree(pedigree_path); });
        if (!pedigree) {
            return pedigree.failure();
        }
        if (auto written = clock.time("first_gml", [&] {
                return kinship::write_first_gml(*pedigree.value(), names.first_gml);
            });
            !written) {
            return written;
        }
        pedigree.value().reset();
        if (auto loaded = clock.time("reload", [&] {
                return kinship::load_first_gml(names.first_gml, graph, attributes);
            });
            !loaded) {
            return loaded;
        }
        if (auto drawn = clock.time("layout", [&] { return kinship::lay_out(attributes); });
            !drawn) {
            return drawn;
        }
        return clock.time("drawing",
                          [&] { return kinship::write_drawing(attributes, names.drawing_gml); });
    }();
    if (!finished) {
        kinship::print_failure(finished.failure());
        return finished.failure().status;
    }
    clock.print();
    return 0;
}
