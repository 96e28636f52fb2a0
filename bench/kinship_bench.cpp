// kinship-bench PEDIGREE_FILE
//
// Runs the command's stages (run_stages of command/pipeline.h, as its main does) on a
// pedigree, in the working directory, and prints one line: the wall time of each stage in
// seconds (to 0.1 ms) and the peak resident memory after each stage in MiB. For measuring
// only; the outputs are the command's files.

#include "command/pipeline.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double peak_rss_mib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
}

constexpr const char* stage_names[] = {"read", "first_gml", "reload", "layout", "drawing"};

class StageClock {
public:
    // Runs the stage and returns what it returned.
    kinship::Status time(kinship::Stage stage, const std::function<kinship::Status()>& run)
    {
        const auto start = std::chrono::steady_clock::now();
        kinship::Status outcome = run();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        results_.push_back({stage_names[static_cast<int>(stage)], elapsed.count(), peak_rss_mib()});
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
    StageClock clock;
    const kinship::Status finished = kinship::run_stages(
        argv[1], [&clock](kinship::Stage stage, const std::function<kinship::Status()>& run) {
            return clock.time(stage, run);
        });
    if (!finished) {
        kinship::print_failure(finished.failure());
        return finished.failure().status;
    }
    clock.print();
    return 0;
}
