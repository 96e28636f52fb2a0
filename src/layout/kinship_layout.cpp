#include "layout/kinship_layout.h"

#include <ogdf/basic/basic.h>
#include <ogdf/layered/DfsAcyclicSubgraph.h>
#include <ogdf/layered/FastHierarchyLayout.h>
#include <ogdf/layered/LongestPathRanking.h>
#include <ogdf/layered/MedianHeuristic.h>
#include <ogdf/layered/OptimalHierarchyClusterLayout.h>
#include <ogdf/packing/TileToRowsCCPacker.h>

namespace kinship {

namespace {

// Crossing reduction: at most 15 runs per component, a run ends after 4 sweeps without
// improvement, neighbour transposition after every sweep, first run from the built order.
constexpr int crossing_runs = 15;
constexpr int crossing_fails = 4;
constexpr bool transpose_neighbours = true;
constexpr bool permute_first_run = false;

// Components are laid out one by one and packed in rows aiming at a square page, with
// 20 units of margin on the low-x and low-y side of each component.
constexpr bool arrange_components = true;
constexpr double component_distance = 20.0;
constexpr double page_ratio = 1.0;

constexpr int shuffle_seed = 1;

ogdf::LongestPathRanking* make_ranking()
{
    auto* ranking = new ogdf::LongestPathRanking;
    ranking->setSubgraph(new ogdf::DfsAcyclicSubgraph);
    // People without any recorded relation go to a layer of their own.
    ranking->separateDeg0Layer(true);
    // Of several edges joining the same two nodes, all but the first count as length 2.
    ranking->separateMultiEdges(true);
    // Shift ranks to shorten edges rather than keep plain longest-path ranks.
    ranking->optimizeEdgeLength(true);
    ranking->alignBaseClasses(false);
    ranking->alignSiblings(false);
    return ranking;
}

ogdf::FastHierarchyLayout* make_placement()
{
    auto* placement = new ogdf::FastHierarchyLayout;
    placement->layerDistance(layer_distance);
    placement->nodeDistance(node_distance);
    // Layers move further apart when edges between them run far sideways.
    placement->fixedLayerDistance(false);
    return placement;
}

} // namespace

void configure_kinship_layout(ogdf::SugiyamaLayout& layout)
{
    // The layout object owns every module handed to it.
    layout.setRanking(make_ranking());
    layout.setCrossMin(new ogdf::MedianHeuristic);
    layout.setLayout(make_placement());
    layout.setClusterLayout(new ogdf::OptimalHierarchyClusterLayout);
    layout.setPacker(new ogdf::TileToRowsCCPacker);

    layout.runs(crossing_runs);
    layout.fails(crossing_fails);
    layout.transpose(transpose_neighbours);
    layout.permuteFirst(permute_first_run);
    layout.arrangeCCs(arrange_components);
    layout.minDistCC(component_distance);
    layout.pageRatio(page_ratio);
    layout.alignBaseClasses(false);
    layout.alignSiblings(false);
    layout.maxThreads(1);
}

void run_kinship_layout(ogdf::SugiyamaLayout& layout, ogdf::GraphAttributes& attributes)
{
    ogdf::setSeed(shuffle_seed);
    layout.call(attributes);
}

} // namespace kinship
