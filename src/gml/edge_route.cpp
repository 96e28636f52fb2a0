#include "gml/edge_route.h"

#include <string>

#include "common/gml_text.h"

namespace kinship::gml {
namespace {

// A point lies in a node's box when it is within half the width and half the height of
// the centre, borders included.
bool inside_box(const KinshipAttributes& attributes, ogdf::node v, const ogdf::DPoint& p)
{
    const double x = attributes.x(v);
    const double y = attributes.y(v);
    const double half_w = attributes.width(v) / 2;
    const double half_h = attributes.height(v) / 2;
    return p.m_x >= x - half_w && p.m_x <= x + half_w && p.m_y >= y - half_h && p.m_y <= y + half_h;
}

// Whether the end bend `p` next to node `v` needs `v`'s centre beside it in the route.
bool needs_centre(const KinshipAttributes& attributes, ogdf::node v, const ogdf::DPoint& p)
{
    return !inside_box(attributes, v, p) || (real_text(p.m_x) == real_text(attributes.x(v)) &&
                                             real_text(p.m_y) == real_text(attributes.y(v)));
}

bool is_centre(const KinshipAttributes& attributes, ogdf::node v, const ogdf::DPoint& p)
{
    return p.m_x == attributes.x(v) && p.m_y == attributes.y(v);
}

} // namespace

RouteCentres centres_to_write(const KinshipAttributes& attributes, ogdf::edge e)
{
    const ogdf::DPolyline& bends = attributes.bends(e);
    return {needs_centre(attributes, e->source(), bends.front()),
            needs_centre(attributes, e->target(), bends.back())};
}

void drop_read_centres(KinshipAttributes& attributes, ogdf::edge e)
{
    ogdf::DPolyline& bends = attributes.bends(e);
    if (!bends.empty() && is_centre(attributes, e->source(), bends.front())) {
        bends.popFront();
    }
    if (!bends.empty() && is_centre(attributes, e->target(), bends.back())) {
        bends.popBack();
    }
}

} // namespace kinship::gml
