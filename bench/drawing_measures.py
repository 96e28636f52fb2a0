#!/usr/bin/env python3
"""Measures a drawing file: drawing_measures.py DRAWING_FILE [--json]

Works on the geometry alone, the same way for the drawings of hierarchical-layout and of
kinship-layout. People are the nodes without `family 1`. Couples are the two parents of
a child: in a family drawing the two people joined at a family node, else the two
recorded parents of anyone with two.
  crossings       pairs of line segments of different lines that cross (not at a node)
  same layer      couples whose partners have the same y
  side by side    couples of people who have only that partner, in one layer with no
                  other person between them
  next to one     people with several partners who stand next to at least one of them
  parents above   parent-child pairs whose boxes lie at least a layer distance (20) apart,
                  the parent above
  overlaps        pairs of people whose boxes overlap
  width, height   of the box holding every node and bend point"""

import json
import re
import sys
from bisect import bisect_right
from collections import defaultdict

TOKEN = re.compile(r'"(?:[^"\\]|\\.)*"|\[|\]|[^\s\[\]]+')
LAYER_DISTANCE = 20.0


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


def crossings(nodes, edges):
    """Crossing segment pairs. Layered drawings put every bend on a layer, so segments run
    between the same two heights in bands; two segments of one band cross when their order
    at the top and at the bottom differ."""
    bands = defaultdict(list)
    for source, target, points in edges:
        route = polyline(nodes, source, target, points)
        for (x1, y1), (x2, y2) in zip(route, route[1:]):
            if y1 > y2:
                x1, y1, x2, y2 = x2, y2, x1, y1
            bands[(round(y1, 2), round(y2, 2))].append((x1, x2))
    return sum(count_inversions(band) for band in bands.values())


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
    return {"people": len(people), "couples": len(couples),
            "crossings": crossings(nodes, edges),
            "same_layer": same / len(couples) if couples else 1.0,
            "side_by_side": beside / len(single) if single else 1.0,
            "next_to_one": next_to_one / len(several) if several else 1.0,
            "parents_above": above / len(pairs) if pairs else 1.0,
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
