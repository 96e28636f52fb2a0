#!/usr/bin/env python3
"""Measures a drawing file: drawing_measures.py DRAWING_FILE [--json]

Works on the geometry alone, the same way for the drawings of hierarchical-layout and of
kinship-layout. People are the nodes without `family 1`. Couples are the two parents of
a child: in a family drawing the two people joined at a family node, else the two
recorded parents of anyone with two.
  crossings       proper crossings between lines of different families (a line's family
                  is the family node it touches, else its child's recorded parents)
  same layer      couples whose partners have the same y
  side by side    couples of people who have only that partner, in one layer with no
                  other person between them
  next to one     people with several partners who stand next to at least one of them
  parents above   parent-child pairs whose boxes lie at least a layer distance (20) apart,
                  the parent above
  under           couples with children whose middle lies over the span of their
                  children's boxes (centres widened by half a box)
  orthogonal      line segments that are horizontal or vertical
  along           lines with a segment lying along a line of another family
  through         lines passing through the box of a person who is not one of their ends
  lines           all lines
  overlaps        pairs of people whose boxes overlap
  width, height   of the box holding every node and bend point"""

import json
import re
import sys
from bisect import bisect_left, bisect_right
from collections import defaultdict

TOKEN = re.compile(r'"(?:[^"\\]|\\.)*"|\[|\]|[^\s\[\]]+')
LAYER_DISTANCE = 20.0
EPS = 1e-6


def parse_gml(text):
    """The GML text as nested lists of (key, value) pairs."""
    tokens = TOKEN.findall(text)
    stack = [[]]
    i = 0
    while i < len(tokens):
        token = tokens[i]
        if token == "]":
            done = stack.pop()
            stack[-1][-1] = (stack[-1][-1][0], done)
            i += 1
            continue
        value = tokens[i + 1]
        if value == "[":
            stack[-1].append((token, None))
            stack.append([])
        else:
            stack[-1].append((token, value.strip('"') if value.startswith('"') else value))
        i += 2
    return stack[0]


def read_drawing(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        top = parse_gml(f.read())
    graph = next(value for key, value in top if key == "graph")
    nodes, edges = {}, []
    for key, value in graph:
        if key == "node":
            entry = dict(value)
            box = dict(entry["graphics"])
            nodes[int(entry["id"])] = {
                "family": int(entry.get("family", 0)) > 0,
                "x": float(box["x"]), "y": float(box["y"]),
                "w": float(box["w"]), "h": float(box["h"])}
        elif key == "edge":
            entry = dict(value)
            points = []
            for gkey, gvalue in dict(entry["graphics"]).items():
                if gkey == "Line":
                    points = [(float(dict(p)["x"]), float(dict(p)["y"])) for _, p in gvalue]
            edges.append((int(entry["source"]), int(entry["target"]), points))
    return nodes, edges


def polyline(nodes, source, target, points):
    start = (nodes[source]["x"], nodes[source]["y"])
    end = (nodes[target]["x"], nodes[target]["y"])
    route = list(points)
    if not route or route[0] != start:
        route.insert(0, start)
    if route[-1] != end:
        route.append(end)
    return route


def count_inversions(segments):
    """Pairs with the top x strictly less and the bottom x strictly greater."""
    bottoms = sorted({b for _, b in segments})
    tree = [0] * (len(bottoms) + 1)
    inserted = 0
    crossings = 0
    segments.sort()
    at = 0
    while at < len(segments):
        group_end = at
        while group_end < len(segments) and segments[group_end][0] == segments[at][0]:
            group_end += 1
        for _, bottom in segments[at:group_end]:
            k = bisect_right(bottoms, bottom)  # inserted with bottom <= this one
            not_greater = 0
            while k > 0:
                not_greater += tree[k]
                k -= k & -k
            crossings += inserted - not_greater
        for _, bottom in segments[at:group_end]:
            k = bisect_right(bottoms, bottom)
            while k <= len(bottoms):
                tree[k] += 1
                k += k & -k
            inserted += 1
        at = group_end
    return crossings


def family_of_lines(nodes, edges):
    """Each line's family: the family node it touches, else the set of the target's
    recorded parents (all the lines into one person from person nodes)."""
    parents = defaultdict(list)
    for source, target, _ in edges:
        if not nodes[source]["family"] and not nodes[target]["family"]:
            parents[target].append(source)
    keys = []
    for source, target, _ in edges:
        if nodes[source]["family"]:
            keys.append(("f", source))
        elif nodes[target]["family"]:
            keys.append(("f", target))
        else:
            keys.append(("p",) + tuple(sorted(parents[target])))
    return keys


def segments_of(nodes, edges, families):
    """Every line segment of positive length: (x1, y1, x2, y2, family, line), top end first."""
    segments = []
    for line, (source, target, points) in enumerate(edges):
        route = polyline(nodes, source, target, points)
        for (x1, y1), (x2, y2) in zip(route, route[1:]):
            if abs(x1 - x2) < EPS and abs(y1 - y2) < EPS:
                continue
            if y1 > y2:
                x1, y1, x2, y2 = x2, y2, x1, y1
            segments.append((x1, y1, x2, y2, families[line], line))
    return segments


def inversions_between_families(band):
    """Crossing pairs of a band's pieces (top x, bottom x, family) of different families."""
    total = count_inversions([(a, b) for a, b, _ in band])
    by_family = defaultdict(list)
    for a, b, family in band:
        by_family[family].append((a, b))
    return total - sum(count_inversions(group) for group in by_family.values()
                       if len(group) > 1)


def crossings(segments):
    """Proper crossings between lines of different families. Slanted and vertical
    segments are cut at every height where some segment starts or ends, so that the pieces
    run in bands between two heights: two pieces of a band cross when their order at the
    top and at the bottom differ. A horizontal segment crosses the pieces that pass its
    height strictly inside it."""
    levels = sorted({round(s[1], 2) for s in segments} | {round(s[3], 2) for s in segments})
    bands = defaultdict(list)
    passing = defaultdict(list)  # height: (x, family) where a segment passes it
    horizontal = []
    for x1, y1, x2, y2, family, _ in segments:
        top, bottom = round(y1, 2), round(y2, 2)
        if top == bottom:
            horizontal.append((top, min(x1, x2), max(x1, x2), family))
            continue
        cuts = [top] + levels[bisect_right(levels, top):bisect_left(levels, bottom)] + [bottom]
        xs = [x1 + (x2 - x1) * (y - top) / (bottom - top) for y in cuts]
        for k in range(len(cuts) - 1):
            bands[(cuts[k], cuts[k + 1])].append((xs[k], xs[k + 1], family))
        for y, x in zip(cuts[1:-1], xs[1:-1]):
            passing[y].append((x, family))
    count = sum(inversions_between_families(band) for band in bands.values())
    for y, points in passing.items():
        points.sort()
        xs = [x for x, _ in points]
        own = defaultdict(list)
        for x, family in points:
            own[family].append(x)
        for top, left, right, family in horizontal:
            if top != y:
                continue
            inside = bisect_left(xs, right - EPS) - bisect_right(xs, left + EPS)
            mine = own.get(family, [])
            inside -= bisect_left(mine, right - EPS) - bisect_right(mine, left + EPS)
            count += inside
    return count


def lines_along_others(segments):
    """Lines with a horizontal or vertical segment lying along a segment of another family's
    line, for a positive length."""
    groups = defaultdict(list)
    for x1, y1, x2, y2, family, line in segments:
        if abs(y1 - y2) < EPS:
            groups[("h", round(y1, 2))].append((min(x1, x2), max(x1, x2), family, line))
        elif abs(x1 - x2) < EPS:
            groups[("v", round(x1, 2))].append((y1, y2, family, line))
    along = set()
    for group in groups.values():
        group.sort()
        active = []
        for start, end, family, line in group:
            active = [a for a in active if a[0] > start + EPS]
            for other_end, other_family, other_line in active:
                if other_family != family:
                    along.update((line, other_line))
            active.append((end, family, line))
    return len(along)


def lines_through_people(nodes, edges, segments):
    """Lines with a segment through the box of a person who is not one of their ends: a
    horizontal segment overlapping the box, any other one crossing its middle height
    inside it."""
    rows = defaultdict(list)
    for v, n in nodes.items():
        if not n["family"]:
            rows[round(n["y"], 2)].append((n["x"] - n["w"] / 2, n["x"] + n["w"] / 2, v,
                                           n["h"]))
    for row in rows.values():
        row.sort()
    heights = sorted(rows)
    widest = {y: max(r[1] - r[0] for r in row) for y, row in rows.items()}
    tallest = max((n["h"] for n in nodes.values() if not n["family"]), default=0.0)
    through = set()
    for x1, y1, x2, y2, _, line in segments:
        ends = edges[line][:2]
        if abs(y1 - y2) < EPS:
            left, right = min(x1, x2), max(x1, x2)
            near = heights[bisect_left(heights, y1 - tallest / 2):
                           bisect_right(heights, y1 + tallest / 2)]
            for y in near:
                row = rows[y]
                k = bisect_left(row, (left - widest[y],))
                while k < len(row) and row[k][0] < right - EPS:
                    box_left, box_right, v, h = row[k]
                    if (v not in ends and box_right > left + EPS and abs(y - y1) < h / 2 - EPS):
                        through.add(line)
                    k += 1
            continue
        for y in heights[bisect_right(heights, y1 + EPS):bisect_left(heights, y2 - EPS)]:
            x = x1 + (x2 - x1) * (y - y1) / (y2 - y1)
            row = rows[y]
            k = bisect_left(row, (x - widest[y],))
            while k < len(row) and row[k][0] < x - EPS:
                if row[k][2] not in ends and row[k][1] > x + EPS:
                    through.add(line)
                k += 1
    return len(through)


def children_under(nodes, parents_of, couples):
    """Couples with children whose middle lies over their children's boxes' span."""
    children = defaultdict(list)
    for child, parents in parents_of.items():
        if len(parents) == 2:
            children[tuple(sorted(parents))].append(child)
    under = 0
    for (a, b), kids in children.items():
        middle = (nodes[a]["x"] + nodes[b]["x"]) / 2
        left = min(nodes[c]["x"] - nodes[c]["w"] / 2 for c in kids)
        right = max(nodes[c]["x"] + nodes[c]["w"] / 2 for c in kids)
        under += left - EPS <= middle <= right + EPS
    return under, len(children)


def measure(path):
    nodes, edges = read_drawing(path)
    people = [v for v, n in nodes.items() if not n["family"]]
    parents_of = defaultdict(list)  # person: their parents (through a family node)
    into_family = defaultdict(list)
    for source, target, _ in edges:
        if nodes[target]["family"]:
            into_family[target].append(source)
    for source, target, _ in edges:
        if nodes[target]["family"]:
            continue
        parents_of[target] += into_family[source] if nodes[source]["family"] else [source]
    couples = set()
    for family, partners in into_family.items():
        if len(partners) == 2:
            couples.add(tuple(sorted(partners)))
    if not into_family:
        couples = {tuple(sorted(p)) for p in parents_of.values() if len(p) == 2}
    partners = defaultdict(set)
    for a, b in couples:
        partners[a].add(b)
        partners[b].add(a)

    layer = defaultdict(list)
    for v in people:
        layer[round(nodes[v]["y"], 2)].append(v)
    neighbours = defaultdict(set)  # people with no one between them in a layer
    overlaps = 0
    for row in layer.values():
        row.sort(key=lambda v: nodes[v]["x"])
        for a, b in zip(row, row[1:]):
            neighbours[a].add(b)
            neighbours[b].add(a)
            if nodes[b]["x"] - nodes[a]["x"] < (nodes[a]["w"] + nodes[b]["w"]) / 2 - 1e-6:
                overlaps += 1
    same = sum(nodes[a]["y"] == nodes[b]["y"] for a, b in couples)
    single = [(a, b) for a, b in couples if len(partners[a]) == 1 and len(partners[b]) == 1]
    beside = sum(b in neighbours[a] for a, b in single)
    several = [v for v in partners if len(partners[v]) > 1]
    next_to_one = sum(bool(partners[v] & neighbours[v]) for v in several)
    pairs = [(p, c) for c, ps in parents_of.items() for p in ps]
    above = sum(nodes[c]["y"] - nodes[c]["h"] / 2 - nodes[p]["y"] - nodes[p]["h"] / 2
                >= LAYER_DISTANCE - 1e-6 for p, c in pairs)
    xs = [n["x"] + s * n["w"] / 2 for n in nodes.values() for s in (-1, 1)]
    ys = [n["y"] + s * n["h"] / 2 for n in nodes.values() for s in (-1, 1)]
    for _, _, points in edges:
        xs += [x for x, _ in points]
        ys += [y for _, y in points]
    segments = segments_of(nodes, edges, family_of_lines(nodes, edges))
    straight = sum(abs(s[0] - s[2]) < EPS or abs(s[1] - s[3]) < EPS for s in segments)
    under, with_children = children_under(nodes, parents_of, couples)
    return {"people": len(people), "couples": len(couples),
            "crossings": crossings(segments),
            "same_layer": same / len(couples) if couples else 1.0,
            "side_by_side": beside / len(single) if single else 1.0,
            "next_to_one": next_to_one / len(several) if several else 1.0,
            "parents_above": above / len(pairs) if pairs else 1.0,
            "under": under / with_children if with_children else 1.0,
            "orthogonal": straight / len(segments) if segments else 1.0,
            "along": lines_along_others(segments),
            "through": lines_through_people(nodes, edges, segments),
            "lines": len(edges),
            "overlaps": overlaps,
            "width": max(xs) - min(xs) if xs else 0.0,
            "height": max(ys) - min(ys) if ys else 0.0}


def main():
    figures = measure(sys.argv[1])
    if "--json" in sys.argv[2:]:
        print(json.dumps(figures))
    else:
        for key, value in figures.items():
            print(f"{key:<14} {value:.3f}" if isinstance(value, float) else f"{key:<14} {value}")


if __name__ == "__main__":
    main()
