// The page of kinship-draw: the drawing painted on a canvas from the packed arrays the page
// holds (positions, routes, looks, names), pan and zoom, search, a selected person with
// their lineage and a side panel, clans from the legend, #id= addresses and a PNG of the
// view. Everything it needs is in the page; it loads nothing.
//
// Painting: the drawing is cut into square tiles per zoom level (a power of two of pixels a
// unit), each painted once from the items a grid index finds in it and kept; a view is
// the tiles it needs, scaled by less than two, so that a pan or a zoom costs a few image
// copies whatever the size of the network. A tile not painted yet is stood in for by a
// coarser or finer one and painted in the following frames. Far out, where a shape is a
// few pixels, a tile is plotted pixel by pixel into an image rather than drawn as paths.
// A selection or a clan is a second layer of tiles over the first, drawn faded.
'use strict';
(function () {
  const data = JSON.parse(document.getElementById('kinship-data').textContent);
  const $ = (id) => document.getElementById(id);
  const view = $('view'), canvas = $('drawing'), context = canvas.getContext('2d');
  const input = $('search'), matches = $('matches'), count = $('search-count');
  const panel = $('panel'), legendBox = $('legend');
  const shown = 20; // matches listed
  const readable = 10; // pixels: the smallest font size a full name is shown at
  const legible = 4; // pixels: smaller names and ids are not drawn
  const haloed = 8; // pixels: smaller names go without their white halo
  const font = 'Arial, Helvetica, sans-serif';

  // ---- The drawing's arrays ------------------------------------------------------------
  const P = data.people, N = data.x.length;
  const X = Float64Array.from(data.x), Y = Float64Array.from(data.y);
  const look = Int32Array.from(data.look), looks = data.looks.map((l) => ({
    ellipse: l[0] === 'e', w: l[1], h: l[2], fill: l[3], line: l[4], width: l[5],
    fillPixel: pixel(l[3]),
  }));
  const ids = data.ids, names = data.names, templates = data.templates;
  const labels = data.labels ? data.labels.map((l) => l.split('\n')) : null;
  const sizes = data.sizes, tops = data.tops;
  // Far out, lines are plotted two thirds of the way to white, so that the people stay
  // visible among them.
  const strokes = data.strokes.map((s) => ({
    colour: s[0], width: s[1], first: !!s[2], last: !!s[3], double: !!s[4], pixel: pixel(s[0], 2 / 3),
  }));
  const index = new Map(ids.map((id, i) => [id, i]));

  // The colour '#RRGGBB', `light` of the way to white, as a pixel of an image (bytes R,
  // G, B, A in memory).
  function pixel(colour, light = 0) {
    const m = /^#([0-9a-f]{6})$/i.exec(colour || '');
    const v = m ? parseInt(m[1], 16) : 0x888888;
    const [r, g, b] = [v >> 16, (v >> 8) & 0xff, v & 0xff].map((c) => Math.round(c + (255 - c) * light));
    return (0xff << 24 | b << 16 | g << 8 | r) >>> 0;
  }

  // Lines: source, target, stroke and every point, the ends cut at the shapes' borders as
  // the picture draws them.
  const lines = data.lines, E = (() => {
    let e = 0;
    for (let k = 0; k < lines.length; k += 4 + 2 * lines[k + 3]) e++;
    return e;
  })();
  const from = new Int32Array(E), to = new Int32Array(E), stroke = new Int32Array(E);
  const start = new Int32Array(E + 1);
  const points = new Float64Array(2 * (lines.length / 2 + 2 * E));
  {
    let k = 0, p = 0;
    for (let e = 0; e < E; e++) {
      const s = lines[k], t = lines[k + 1], bends = lines[k + 3];
      from[e] = s; to[e] = t; stroke[e] = lines[k + 2];
      start[e] = p / 2;
      let x = X[s], y = Y[s];
      points[p++] = x; points[p++] = y;
      for (let b = 0; b < bends; b++) {
        x += lines[k + 4 + 2 * b]; y += lines[k + 5 + 2 * b];
        points[p++] = x; points[p++] = y;
      }
      points[p++] = X[t]; points[p++] = Y[t];
      const a = start[e] * 2;
      clipEnd(s, points, a, a + 2);
      clipEnd(t, points, p - 2, p - 4);
      k += 4 + 2 * bends;
    }
    start[E] = p / 2;
  }

  // Moves the point at `at` (a node's centre) along the segment towards the point at `other`
  // to the border of node v's shape.
  function clipEnd(v, pts, at, other) {
    const l = looks[look[v]];
    const dx = pts[other] - pts[at], dy = pts[other + 1] - pts[at + 1];
    if (!dx && !dy) return;
    const a = l.w / 2, b = l.h / 2;
    let t;
    if (l.ellipse) t = 1 / Math.sqrt((dx * dx) / (a * a || 1e-9) + (dy * dy) / (b * b || 1e-9));
    else t = Math.min(dx ? a / Math.abs(dx) : Infinity, dy ? b / Math.abs(dy) : Infinity);
    if (!(t < 1)) return;
    pts[at] += dx * t; pts[at + 1] += dy * t;
  }

  // ---- Relatives, through family nodes -------------------------------------------------
  const familyPartners = new Map(), familyChildren = new Map();
  const parentLists = Array.from({ length: P }, () => []);
  const add = (map, key, value) => { (map.get(key) || map.set(key, []).get(key)).push(value); };
  for (let e = 0; e < E; e++) {
    const s = from[e], t = to[e];
    if (s < P && t < P) parentLists[t].push(s);
    else if (s < P) add(familyPartners, t, s);
    else if (t < P) add(familyChildren, s, t);
  }
  const partnerLists = Array.from({ length: P }, () => []);
  for (const [f, kids] of familyChildren) {
    for (const c of kids) parentLists[c].push(...(familyPartners.get(f) || []));
  }
  const unique = (list) => [...new Set(list)].sort((a, b) => a - b);
  for (let c = 0; c < P; c++) parentLists[c] = unique(parentLists[c].filter((p) => p !== c));
  const childLists = Array.from({ length: P }, () => []);
  parentLists.forEach((ps, c) => ps.forEach((p) => childLists[p].push(c)));
  if (familyPartners.size) {
    for (const [f, ps] of familyPartners) {
      const year = data.years[f - P] || '';
      for (const a of ps) for (const b of ps) if (a !== b) partnerLists[a].push([b, year]);
    }
  } else {
    // Without family nodes, a person's partners are the other parents of their children.
    const seen = new Set();
    parentLists.forEach((ps) => ps.forEach((a) => ps.forEach((b) => {
      if (a !== b && !seen.has(a * P + b)) { seen.add(a * P + b); partnerLists[a].push([b, '']); }
    })));
  }
  const csr = (lists) => {
    const offsets = new Int32Array(lists.length + 1);
    lists.forEach((l, i) => { offsets[i + 1] = offsets[i] + l.length; });
    const flat = new Int32Array(offsets[lists.length]);
    lists.forEach((l, i) => flat.set(l, offsets[i]));
    return { offsets, flat };
  };
  const up = csr(parentLists), down = csr(childLists);

  // ---- Extent and the grid index ---------------------------------------------------------
  // A name hangs below its shape; its room is estimated from its length.
  const labelWidth = (i) => labels ? 0.6 * sizes[i] * Math.max(...labels[i].map((t) => t.length)) : 0;
  const labelBottom = (i) => (labels && tops[i] !== null
    ? tops[i] + sizes[i] * 1.15 * labels[i].length + 2 : 0);
  let reachX = 0, reachY = 0; // how far a node's drawing reaches from its centre
  const whole = { x: Infinity, y: Infinity, right: -Infinity, bottom: -Infinity };
  const grow = (x0, y0, x1, y1) => {
    whole.x = Math.min(whole.x, x0); whole.y = Math.min(whole.y, y0);
    whole.right = Math.max(whole.right, x1); whole.bottom = Math.max(whole.bottom, y1);
  };
  for (let v = 0; v < N; v++) {
    const l = looks[look[v]];
    const rx = Math.max(l.w / 2 + l.width, v < P ? labelWidth(v) / 2 : 0);
    const ry = Math.max(l.h / 2 + l.width, v < P ? labelBottom(v) : 0);
    reachX = Math.max(reachX, rx); reachY = Math.max(reachY, ry);
    grow(X[v] - rx, Y[v] - l.h / 2 - l.width, X[v] + rx, Y[v] + ry);
  }
  for (let k = 0; k < 2 * start[E]; k += 2) grow(points[k], points[k + 1], points[k], points[k + 1]);
  if (!N) grow(0, 0, 100, 100);
  const margin = 10;
  whole.x -= margin; whole.y -= margin; whole.right += margin; whole.bottom += margin;
  whole.width = whole.right - whole.x; whole.height = whole.bottom - whole.y;

  // Square cells, about four nodes a cell; nodes by their centre, lines by every cell their
  // segments' boxes touch, and the few lines that cross very many cells kept apart.
  const cell = Math.max(Math.sqrt(whole.width * whole.height / Math.max(1, N / 4)),
    2 * reachX, 2 * reachY, 1);
  const cols = Math.ceil(whole.width / cell) + 1, rows = Math.ceil(whole.height / cell) + 1;
  const cellOf = (x, y) => Math.min(rows - 1, Math.max(0, Math.floor((y - whole.y) / cell))) * cols +
    Math.min(cols - 1, Math.max(0, Math.floor((x - whole.x) / cell)));
  const nodeCells = csr((() => {
    const lists = Array.from({ length: cols * rows }, () => []);
    for (let v = 0; v < N; v++) lists[cellOf(X[v], Y[v])].push(v);
    return lists;
  })());
  const longLines = [];
  const lineCells = csr((() => {
    const lists = Array.from({ length: cols * rows }, () => []);
    const touched = new Set();
    for (let e = 0; e < E; e++) {
      touched.clear();
      for (let q = start[e]; q + 1 < start[e + 1] && touched.size <= 64; q++) {
        const [ax, ay, bx, by] = points.subarray(2 * q, 2 * q + 4);
        const x0 = Math.min(ax, bx), x1 = Math.max(ax, bx), y0 = Math.min(ay, by), y1 = Math.max(ay, by);
        const c0 = cellOf(x0, y0), c1 = cellOf(x1, y1);
        for (let r = Math.floor(c0 / cols); r <= Math.floor(c1 / cols) && touched.size <= 64; r++) {
          for (let c = c0 % cols; c <= c1 % cols && touched.size <= 64; c++) touched.add(r * cols + c);
        }
      }
      if (touched.size > 64) longLines.push(e);
      else for (const c of touched) lists[c].push(e);
    }
    return lists;
  })());
  const lineStamp = new Int32Array(E);
  // Each line's box (left, top, right, bottom), to pass over the long ones out of view.
  const lineBox = new Float64Array(4 * E);
  for (let e = 0; e < E; e++) {
    let x0 = Infinity, y0 = Infinity, x1 = -Infinity, y1 = -Infinity;
    for (let q = start[e]; q < start[e + 1]; q++) {
      x0 = Math.min(x0, points[2 * q]); x1 = Math.max(x1, points[2 * q]);
      y0 = Math.min(y0, points[2 * q + 1]); y1 = Math.max(y1, points[2 * q + 1]);
    }
    lineBox.set([x0, y0, x1, y1], 4 * e);
  }
  let stamp = 0;

  // The nodes whose drawing may reach into the box, and the lines that may cross it.
  function query(x0, y0, x1, y1) {
    const c0 = Math.max(0, Math.floor((x0 - reachX - whole.x) / cell));
    const c1 = Math.min(cols - 1, Math.floor((x1 + reachX - whole.x) / cell));
    const r0 = Math.max(0, Math.floor((y0 - reachY - whole.y) / cell));
    const r1 = Math.min(rows - 1, Math.floor((y1 + reachY - whole.y) / cell));
    const nodes = [], found = [];
    for (const e of longLines) {
      const k = 4 * e;
      if (lineBox[k] <= x1 && lineBox[k + 2] >= x0 && lineBox[k + 1] <= y1 && lineBox[k + 3] >= y0) {
        found.push(e);
      }
    }
    stamp++;
    for (let r = r0; r <= r1; r++) {
      for (let c = c0; c <= c1; c++) {
        const k = r * cols + c;
        for (let q = nodeCells.offsets[k]; q < nodeCells.offsets[k + 1]; q++) nodes.push(nodeCells.flat[q]);
        for (let q = lineCells.offsets[k]; q < lineCells.offsets[k + 1]; q++) {
          const e = lineCells.flat[q];
          if (lineStamp[e] !== stamp) { lineStamp[e] = stamp; found.push(e); }
        }
      }
    }
    return { nodes, lines: found };
  }

  // ---- Highlight: marks on arrays --------------------------------------------------------
  const UP = 1, DOWN = 2, SELF = 4, MEMBER = 8;
  const mark = new Uint8Array(N), lineOn = new Uint8Array(E);
  let focusVersion = 0, focused = false;

  function markLines() {
    const onLine = (a, b) => (mark[a] & UP && mark[b] & (UP | SELF)) ||
      (mark[b] & DOWN && mark[a] & (DOWN | SELF)) || (mark[a] & MEMBER && mark[b] & MEMBER);
    lineOn.fill(0);
    for (let e = 0; e < E; e++) {
      const s = from[e], t = to[e];
      let on = false;
      if (s < P && t < P) on = onLine(s, t);
      else if (s < P) on = (familyChildren.get(t) || []).some((c) => onLine(s, c));
      else if (t < P) on = (familyPartners.get(s) || []).some((p) => onLine(p, t));
      if (on) { lineOn[e] = 1; mark[s < P ? t : s] |= 16; } // the family node on the way
    }
  }

  // ---- Painting ------------------------------------------------------------------------
  const TILE = 256;
  const tiles = new Map(); // key -> {image (a canvas, or null when empty), used}
  const tileLimit = 600; // 256 x 256 pixels each: 150 MB at most
  let frameCount = 0;
  let msPerItem = 0.002; // what painting a tile costs for each node or line in it, learnt
  // A person's full name on their label's lines, and its widest line over the label's
  // widest line (measured once, in the same font); 0 until measured.
  const fullLines = new Array(P), fullRatio = new Float32Array(P);

  function textWidth(ctx, text) { return ctx.measureText(text).width; }

  // What a person's name shows at `scale` pixels a unit: the label's lines, or the full name
  // in the label's room once its font is readable; null when too small to draw.
  function nameLines(ctx, i, scale) {
    if (!labels || !labels[i][0]) return null;
    const size = sizes[i];
    if (size * scale < legible) return null;
    const lines = labels[i], full = names[i];
    if (tops[i] === null || !full || lines.join(' ') === full) return { lines, size };
    if (size * scale < readable) return { lines, size };
    if (!fullRatio[i]) {
      ctx.font = `12px ${font}`;
      const cut = full.lastIndexOf(' ');
      fullLines[i] = lines.length > 1 && cut > 0 ? [full.slice(0, cut), full.slice(cut + 1)] : [full];
      const widest = (texts) => Math.max(...texts.map((t) => textWidth(ctx, t)));
      fullRatio[i] = Math.max(1, widest(fullLines[i]) / Math.max(1, widest(lines)));
    }
    const fit = size / fullRatio[i];
    return fit * scale >= readable ? { lines: fullLines[i], size: fit } : { lines, size };
  }

  // Paints the items of layer `layer` ('base' or 'focus') in the box of `w` x `h` pixels
  // whose corner is (x0, y0) in drawing units, at `scale` pixels a unit, onto ctx.
  function paint(ctx, layer, x0, y0, w, h, scale, found = query(x0, y0, x0 + w / scale, y0 + h / scale)) {
    let nodes = found.nodes, shownLines = found.lines;
    if (layer === 'focus') {
      nodes = nodes.filter((v) => mark[v]);
      shownLines = shownLines.filter((e) => lineOn[e]);
    }
    const small = looks.length && Math.max(...looks.map((l) => Math.max(l.w, l.h))) * scale < 8;
    if (small) plot(ctx, layer, nodes, shownLines, x0, y0, w, h, scale);
    else draw(ctx, layer, nodes, shownLines, x0, y0, scale);
  }

  // Far out: every node a block of pixels in its fill, every line a one-pixel line.
  function plot(ctx, layer, nodes, shownLines, x0, y0, w, h, scale) {
    const image = ctx.createImageData(w, h), px = new Uint32Array(image.data.buffer);
    if (layer === 'base') px.fill(0xffffffff);
    const set = (x, y, colour) => { if (x >= 0 && y >= 0 && x < w && y < h) px[y * w + x] = colour; };
    const black = 0xff000000;
    for (const e of shownLines) {
      const colour = layer === 'focus' ? black : strokes[stroke[e]].pixel;
      for (let q = start[e]; q + 1 < start[e + 1]; q++) {
        const cut = clip((points[2 * q] - x0) * scale, (points[2 * q + 1] - y0) * scale,
          (points[2 * q + 2] - x0) * scale, (points[2 * q + 3] - y0) * scale, w, h);
        if (!cut) continue;
        let ax = Math.round(cut[0]), ay = Math.round(cut[1]);
        const bx = Math.round(cut[2]), by = Math.round(cut[3]);
        const dx = Math.abs(bx - ax), dy = -Math.abs(by - ay), sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
        let err = dx + dy;
        for (let n = 0; n < 100000; n++) {
          set(ax, ay, colour);
          if (ax === bx && ay === by) break;
          const e2 = 2 * err;
          if (e2 >= dy) { err += dy; ax += sx; }
          if (e2 <= dx) { err += dx; ay += sy; }
        }
      }
    }
    for (const v of nodes) {
      const l = looks[look[v]];
      const least = v < P ? 2 : 1; // a family node is a dot
      const bw = Math.max(least, Math.round(l.w * scale)), bh = Math.max(least, Math.round(l.h * scale));
      const grown = layer === 'focus' && v < P ? (mark[v] & SELF ? 3 : 1) : 0;
      const left = Math.round((X[v] - x0) * scale - bw / 2) - grown;
      const top = Math.round((Y[v] - y0) * scale - bh / 2) - grown;
      for (let y = top; y < top + bh + 2 * grown; y++) {
        for (let x = left; x < left + bw + 2 * grown; x++) {
          const edge = grown && (y < top + grown || y >= top + bh + grown ||
            x < left + grown || x >= left + bw + grown);
          set(x, y, edge ? black : l.fillPixel);
        }
      }
    }
    ctx.putImageData(image, 0, 0);
  }

  // The part of the segment from (ax, ay) to (bx, by) within [-1, w] x [-1, h], or null
  // (Liang and Barsky's clipping): a long line is walked only where it is in the tile.
  function clip(ax, ay, bx, by, w, h) {
    const dx = bx - ax, dy = by - ay;
    let t0 = 0, t1 = 1;
    for (const [p, q] of [[-dx, ax + 1], [dx, w - ax], [-dy, ay + 1], [dy, h - ay]]) {
      if (p === 0) { if (q < 0) return null; continue; }
      const r = q / p;
      if (p < 0) {
        if (r > t1) return null;
        t0 = Math.max(t0, r);
      } else {
        if (r < t0) return null;
        t1 = Math.min(t1, r);
      }
    }
    return [ax + t0 * dx, ay + t0 * dy, ax + t1 * dx, ay + t1 * dy];
  }

  // Nearer: shapes and lines as paths, one path for each look and stroke, then the names.
  function draw(ctx, layer, nodes, shownLines, x0, y0, scale) {
    const focus = layer === 'focus';
    ctx.setTransform(scale, 0, 0, scale, -x0 * scale, -y0 * scale);
    ctx.lineJoin = 'round';
    const byStroke = new Map();
    for (const e of shownLines) add(byStroke, stroke[e], e);
    for (const [k, group] of byStroke) {
      const s = strokes[k];
      const path = new Path2D(), heads = new Path2D();
      for (const e of group) {
        const a = start[e], b = start[e + 1] - 1;
        path.moveTo(points[2 * a], points[2 * a + 1]);
        for (let q = a + 1; q <= b; q++) path.lineTo(points[2 * q], points[2 * q + 1]);
        if (s.last) arrowHead(heads, 2 * b, 2 * b - 2);
        if (s.first) arrowHead(heads, 2 * a, 2 * a + 2);
      }
      const width = focus ? Math.max(3.5, s.width) : s.width;
      ctx.strokeStyle = s.colour;
      ctx.lineWidth = s.double ? 3 * width : width;
      ctx.stroke(path);
      if (s.double) {
        ctx.strokeStyle = '#FFFFFF';
        ctx.lineWidth = width;
        ctx.stroke(path);
      }
      ctx.fillStyle = s.colour;
      ctx.lineWidth = s.width;
      ctx.fill(heads);
      ctx.stroke(heads);
    }
    const byLook = new Map();
    for (const v of nodes) add(byLook, look[v], v);
    for (const [k, group] of byLook) {
      const l = looks[k], path = new Path2D();
      for (const v of group) {
        if (l.ellipse) {
          path.moveTo(X[v] + l.w / 2, Y[v]);
          path.ellipse(X[v], Y[v], l.w / 2, l.h / 2, 0, 0, 2 * Math.PI);
        } else path.rect(X[v] - l.w / 2, Y[v] - l.h / 2, l.w, l.h);
      }
      ctx.fillStyle = l.fill;
      ctx.fill(path);
      if (l.width > 0 && Math.max(l.w, l.h) * scale >= 8) {
        ctx.strokeStyle = l.line;
        ctx.lineWidth = l.width;
        ctx.stroke(path);
      }
      if (focus) {
        // Outlines carry the highlight: thick for the person, thinner for the others.
        for (const width of [4, 7]) {
          const outlined = new Path2D();
          for (const v of group) {
            if (v >= P || (width === 7) !== !!(mark[v] & SELF)) continue;
            if (l.ellipse) {
              outlined.moveTo(X[v] + l.w / 2, Y[v]);
              outlined.ellipse(X[v], Y[v], l.w / 2, l.h / 2, 0, 0, 2 * Math.PI);
            } else outlined.rect(X[v] - l.w / 2, Y[v] - l.h / 2, l.w, l.h);
          }
          ctx.strokeStyle = '#000000';
          ctx.lineWidth = width;
          ctx.stroke(outlined);
        }
      }
    }
    ctx.textAlign = 'center';
    ctx.lineWidth = 3;
    ctx.strokeStyle = '#FFFFFF';
    ctx.fillStyle = '#000000';
    let set = '';
    for (const v of nodes) {
      if (v >= P) continue;
      const shown = nameLines(ctx, v, scale);
      if (!shown) continue;
      const bold = focus && mark[v] & SELF ? 'bold ' : '';
      const wanted = `${bold}${shown.size}px ${font}`;
      if (wanted !== set) ctx.font = set = wanted;
      if (tops[v] === null) {
        ctx.textBaseline = 'middle';
        ctx.fillText(shown.lines[0], X[v], Y[v]);
        continue;
      }
      ctx.textBaseline = 'alphabetic';
      let baseline = Y[v] + tops[v] + shown.size * 0.95;
      const halo = shown.size * scale >= haloed;
      for (const text of shown.lines) {
        if (halo) ctx.strokeText(text, X[v], baseline);
        ctx.fillText(text, X[v], baseline);
        baseline += shown.size * 1.15;
      }
    }
    ctx.setTransform(1, 0, 0, 1, 0, 0);
  }

  // An arrow head as the picture draws it: 6 units long, 3 wide, its tip at `tip`.
  function arrowHead(path, tip, back) {
    const tx = points[tip], ty = points[tip + 1];
    let dx = points[back] - tx, dy = points[back + 1] - ty;
    const length = Math.hypot(dx, dy);
    if (!length) return;
    dx /= length; dy /= length;
    path.moveTo(tx, ty);
    path.lineTo(tx + 6 * dx - 1.5 * dy, ty + 6 * dy + 1.5 * dx);
    path.lineTo(tx + 6 * dx + 1.5 * dy, ty + 6 * dy - 1.5 * dx);
    path.closePath();
  }

  function tileImage(layer, z, tx, ty) {
    const key = `${layer}${layer === 'focus' ? focusVersion : ''}/${z}/${tx}/${ty}`;
    const kept = tiles.get(key);
    if (kept) { kept.used = frameCount; return kept; }
    return null;
  }

  // Paints a tile, unless the frame has already painted one and this one would take it
  // past its budget of milliseconds (the time a tile takes is foreseen from the items in
  // it); then null.
  function paintTile(layer, z, tx, ty, frameState) {
    const key = `${layer}${layer === 'focus' ? focusVersion : ''}/${z}/${tx}/${ty}`;
    const scale = 2 ** z, size = TILE / scale;
    const x0 = tx * size, y0 = ty * size;
    let image = null;
    const empty = x0 > whole.right || y0 > whole.bottom || x0 + size < whole.x || y0 + size < whole.y;
    if (!empty) {
      const found = query(x0, y0, x0 + size, y0 + size);
      const items = found.nodes.length + found.lines.length, now = performance.now();
      if (frameState.painted && now - frameState.began + items * msPerItem > frameState.budget) return null;
      image = document.createElement('canvas');
      image.width = image.height = TILE;
      const ctx = image.getContext('2d');
      if (layer === 'base') { ctx.fillStyle = '#FFFFFF'; ctx.fillRect(0, 0, TILE, TILE); }
      paint(ctx, layer, x0, y0, TILE, TILE, scale, found);
      frameState.painted++;
      if (items >= 100) msPerItem = 0.7 * msPerItem + 0.3 * (performance.now() - now) / items;
    }
    const tile = { image, used: frameCount };
    tiles.set(key, tile);
    if (tiles.size > tileLimit) {
      const old = [...tiles.entries()].sort((a, b) => a[1].used - b[1].used);
      for (const [k] of old.slice(0, tiles.size - tileLimit)) tiles.delete(k);
    }
    return tile;
  }

  // ---- The view: a box of the window's proportions, in drawing units ------------------
  let box = { x: whole.x, y: whole.y, w: whole.width };
  let pending = 0;
  const size = () => [view.clientWidth || 1, view.clientHeight || 1];
  const fitWidth = () => Math.max(whole.width, whole.height * size()[0] / size()[1]);
  // From 40 pixels a unit down to the whole drawing in a quarter of the window.
  const allowed = (w) => Math.min(Math.max(w, size()[0] / 40), 4 * fitWidth());

  function setView(x, y, w) {
    box = { x, y, w: allowed(w) };
    schedule();
  }
  const schedule = () => { if (!pending) pending = requestAnimationFrame(frame); };

  // One frame: the tiles of the view, those not painted yet from other levels, then as
  // many missing tiles painted as about 30 ms allow; the rest in the next frames.
  function frame() {
    pending = 0;
    frameCount++;
    const [cw, ch] = size(), ratio = window.devicePixelRatio || 1;
    if (canvas.width !== Math.round(cw * ratio) || canvas.height !== Math.round(ch * ratio)) {
      canvas.width = Math.round(cw * ratio); canvas.height = Math.round(ch * ratio);
      canvas.style.width = `${cw}px`; canvas.style.height = `${ch}px`;
    }
    const scale = canvas.width / box.w; // device pixels a unit
    const z = Math.ceil(Math.log2(scale) - 1e-9);
    const began = performance.now();
    const missing = few(scale) ? drawView(context, scale) : compose(context, z, scale, began);
    // For whoever waits for the picture to be whole (a screenshot, the benchmark).
    canvas.dataset.whole = String(!missing);
    if (missing) schedule();
  }

  // Whether the view holds few enough items to be drawn afresh in every frame, which is
  // sharp at once and costs less than tiles when near.
  function few(scale) {
    const found = query(box.x, box.y, box.x + canvas.width / scale, box.y + canvas.height / scale);
    return found.nodes.length + found.lines.length <= 1500;
  }

  // Draws the view itself onto ctx, at `scale` pixels a unit; nothing is left missing.
  function drawView(ctx, scale) {
    const w = ctx.canvas.width, h = ctx.canvas.height;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.fillStyle = '#FFFFFF';
    ctx.fillRect(0, 0, w, h);
    paint(ctx, 'base', box.x, box.y, w, h, scale);
    if (focused) {
      ctx.fillStyle = 'rgba(255, 255, 255, 0.7)';
      ctx.fillRect(0, 0, w, h);
      if (looks.length && Math.max(...looks.map((l) => Math.max(l.w, l.h))) * scale < 8) {
        // Pixels are plotted, not drawn: onto a layer of their own, then over the veil.
        const top = document.createElement('canvas');
        top.width = w; top.height = h;
        paint(top.getContext('2d'), 'focus', box.x, box.y, w, h, scale);
        ctx.drawImage(top, 0, 0);
      } else paint(ctx, 'focus', box.x, box.y, w, h, scale);
    }
    return false;
  }

  // Draws the view's tiles at level z onto ctx; returns whether some are still missing.
  function compose(ctx, z, scale, began, budget = 12) {
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.fillStyle = '#FFFFFF';
    ctx.fillRect(0, 0, ctx.canvas.width, ctx.canvas.height);
    const frameState = { began, budget, painted: 0 };
    let missing = layerOnto(ctx, 'base', z, scale, frameState);
    if (focused) {
      // Everything faded to 30 %, then the highlighted people and lines over it.
      ctx.fillStyle = 'rgba(255, 255, 255, 0.7)';
      ctx.fillRect(0, 0, ctx.canvas.width, ctx.canvas.height);
      missing = layerOnto(ctx, 'focus', z, scale, frameState) || missing;
    }
    return missing;
  }

  function layerOnto(ctx, layer, z, scale, frameState) {
    const { began, budget } = frameState;
    const unit = TILE / 2 ** z; // a tile's side in units
    const w = ctx.canvas.width / scale, h = ctx.canvas.height / scale;
    const tx0 = Math.floor(box.x / unit), tx1 = Math.floor((box.x + w) / unit);
    const ty0 = Math.floor(box.y / unit), ty1 = Math.floor((box.y + h) / unit);
    let missing = false;
    const place = (x, y, side) => [(x - box.x) * scale, (y - box.y) * scale, side * scale];
    ctx.imageSmoothingEnabled = true;
    for (let ty = ty0; ty <= ty1; ty++) {
      for (let tx = tx0; tx <= tx1; tx++) {
        let tile = tileImage(layer, z, tx, ty);
        if (!tile && performance.now() - began < budget) tile = paintTile(layer, z, tx, ty, frameState);
        if (tile) {
          if (tile.image) {
            const [left, top, side] = place(tx * unit, ty * unit, unit);
            ctx.drawImage(tile.image, left, top, side + 0.5, side + 0.5);
          }
          continue;
        }
        missing = true;
        standIn(ctx, layer, z, tx, ty, unit, place);
      }
    }
    return missing;
  }

  // A tile not painted yet: part of a coarser one scaled up, or four finer ones.
  function standIn(ctx, layer, z, tx, ty, unit, place) {
    for (let up = 1; up <= 4; up++) {
      const k = 2 ** up, coarse = tileImage(layer, z - up, Math.floor(tx / k), Math.floor(ty / k));
      if (!coarse) continue;
      if (coarse.image) {
        const part = TILE / k;
        const sx = (tx - Math.floor(tx / k) * k) * part, sy = (ty - Math.floor(ty / k) * k) * part;
        const [left, top, side] = place(tx * unit, ty * unit, unit);
        ctx.drawImage(coarse.image, sx, sy, part, part, left, top, side + 0.5, side + 0.5);
      }
      return;
    }
    for (const k of [2, 4]) {
      for (let dy = 0; dy < k; dy++) {
        for (let dx = 0; dx < k; dx++) {
          const fine = tileImage(layer, z + Math.log2(k), k * tx + dx, k * ty + dy);
          if (fine && fine.image) {
            const [left, top, side] = place((tx + dx / k) * unit, (ty + dy / k) * unit, unit / k);
            ctx.drawImage(fine.image, left, top, side + 0.5, side + 0.5);
          }
        }
      }
    }
  }

  // Zooms by `factor` (above 1: in) so that the point under (fromX, fromY) moves to
  // (toX, toY), in pixels from the view's corner.
  function zoomMove(fromX, fromY, toX, toY, factor) {
    const [cw] = size();
    const scale = box.w / cw, w = allowed(box.w / factor), next = w / cw;
    setView(box.x + fromX * scale - toX * next, box.y + fromY * scale - toY * next, w);
  }
  const pan = (dx, dy, factor = 1) => {
    const [cw, ch] = size();
    zoomMove(cw / 2, ch / 2, cw / 2 + dx, ch / 2 + dy, factor);
  };
  const zoomCentre = (factor) => pan(0, 0, factor);

  // Shows the box [x, y, width, height] whole, centred in the window or, with `room`, in
  // the window less that many pixels at the bottom.
  function showBox(x, y, width, height, room = 0) {
    const [cw, ch] = size(), free = Math.max(ch / 2, ch - room);
    const w = allowed(Math.max(width, height * cw / free)), h = w * free / cw;
    setView(x + (width - w) / 2, y + (height - h) / 2, w);
  }
  // The whole drawing, above the legend.
  const fit = () => showBox(whole.x, whole.y, whole.width, whole.height,
    legendBox.hidden ? 0 : legendBox.offsetHeight + 8);

  // Centres person i in the room the panel leaves, zooming in to a pixel a unit at least.
  function bringIntoView(i) {
    const [cw, ch] = size();
    const w = Math.min(box.w, cw);
    const scale = w / cw;
    const free = panel.hidden ? cw : Math.max(cw / 2, cw - panel.offsetWidth - 24);
    setView(X[i] - (free / 2) * scale, Y[i] - (ch / 2) * scale, w);
  }

  let lastWidth = size()[0];
  new ResizeObserver(() => {
    const [cw] = size();
    setView(box.x, box.y, cw !== lastWidth ? box.w * cw / lastWidth : box.w);
    lastWidth = cw;
  }).observe(view);

  view.addEventListener('wheel', (e) => {
    e.preventDefault(); // a pinch on a touch pad comes as a wheel with ctrlKey
    const r = view.getBoundingClientRect();
    const unit = e.deltaMode === 1 ? 16 : e.deltaMode === 2 ? r.height : 1;
    const factor = Math.min(2, Math.max(0.5, Math.exp(-e.deltaY * unit * 0.002)));
    const x = e.clientX - r.left, y = e.clientY - r.top;
    zoomMove(x, y, x, y, factor);
  }, { passive: false });

  // Dragging pans, two fingers pinch; a press that barely moves is a click.
  const pointers = new Map();
  let press = null;
  canvas.addEventListener('pointerdown', (e) => {
    if (e.pointerType === 'mouse' && e.button !== 0) return;
    canvas.setPointerCapture(e.pointerId);
    pointers.set(e.pointerId, { x: e.clientX, y: e.clientY });
    press = pointers.size === 1 ? { x: e.clientX, y: e.clientY, moved: 0 } : null;
  });
  canvas.addEventListener('pointermove', (e) => {
    const last = pointers.get(e.pointerId);
    if (!last) return;
    const r = view.getBoundingClientRect();
    const now = { x: e.clientX, y: e.clientY };
    if (pointers.size === 1) {
      zoomMove(last.x - r.left, last.y - r.top, now.x - r.left, now.y - r.top, 1);
      if (press && (press.moved += Math.abs(now.x - last.x) + Math.abs(now.y - last.y)) > 4) {
        view.classList.add('dragging');
      }
    } else if (pointers.size === 2) {
      const other = [...pointers.entries()].find(([id]) => id !== e.pointerId)[1];
      const before = Math.hypot(last.x - other.x, last.y - other.y) || 1;
      const after = Math.hypot(now.x - other.x, now.y - other.y) || 1;
      zoomMove((last.x + other.x) / 2 - r.left, (last.y + other.y) / 2 - r.top,
        (now.x + other.x) / 2 - r.left, (now.y + other.y) / 2 - r.top, after / before);
    }
    pointers.set(e.pointerId, now);
  });
  const release = (e) => {
    if (!pointers.delete(e.pointerId)) return;
    view.classList.remove('dragging');
    if (press && press.moved <= 4 && e.type === 'pointerup') {
      const i = personAt(press.x, press.y);
      if (i >= 0) choose(i, false);
    }
    press = null;
  };
  canvas.addEventListener('pointerup', release);
  canvas.addEventListener('pointercancel', release);

  // The drawing's point under the window's point (clientX, clientY), and back.
  function unitsAt(clientX, clientY) {
    const r = canvas.getBoundingClientRect(), scale = box.w / r.width;
    return [box.x + (clientX - r.left) * scale, box.y + (clientY - r.top) * scale];
  }

  // The person whose shape is under the window's point, with a few pixels to spare; -1.
  function personAt(clientX, clientY) {
    const [x, y] = unitsAt(clientX, clientY), spare = 3 * box.w / canvas.getBoundingClientRect().width;
    let best = -1, nearest = Infinity;
    for (const v of query(x, y, x, y).nodes) {
      if (v >= P) continue;
      const l = looks[look[v]], dx = Math.abs(x - X[v]), dy = Math.abs(y - Y[v]);
      if (dx <= l.w / 2 + spare && dy <= l.h / 2 + spare && dx + dy < nearest) {
        best = v;
        nearest = dx + dy;
      }
    }
    return best;
  }

  function locate(id) {
    const i = index.get(String(id));
    if (i === undefined) return null;
    const r = canvas.getBoundingClientRect(), scale = r.width / box.w;
    const x = r.left + (X[i] - box.x) * scale, y = r.top + (Y[i] - box.y) * scale;
    if (x < r.left || y < r.top || x >= r.right || y >= r.bottom) return null;
    return document.elementFromPoint(x, y) === canvas ? [x, y] : null; // not under the panel
  }

  // ---- Search: parts of a name or an id, ignoring case and accents --------------------
  const fold = (text) => text.normalize('NFD').replace(/\p{M}/gu, '').toLowerCase();
  const nameKeys = names.map((name) => ' ' + fold(name));
  const idKeys = ids.map(fold);
  // Both in one text, to test a word with one look (a word holds no line feed).
  const keys = nameKeys.map((name, i) => `${name}\n${idKeys[i]}`);

  // The ids of everyone whose name or id holds every word of `text`, best first: the id
  // itself, then names starting with the first word, then names with a word starting with
  // it, then ids starting with it, then the rest; the drawing's order within each.
  function search(text) { return find(text, Infinity).found; }

  // The same, only the first `wanted` of them, and how many there are in all.
  function find(text, wanted) {
    const words = fold(String(text)).split(/\s+/).filter(Boolean);
    if (!words.length) return { found: [], total: 0 };
    const first = words[0];
    const ranks = [[], [], [], [], []];
    const tests = [(name, id) => id === first, (name) => name.startsWith(' ' + first),
      (name) => name.includes(' ' + first), (name, id) => id.startsWith(first), () => true];
    let total = 0, last = 4; // ranks past `last` cannot reach the first `wanted`
    next: for (let i = 0; i < P; i++) {
      for (const word of words) if (!keys[i].includes(word)) continue next;
      total++;
      for (let rank = 0; rank <= last; rank++) {
        if (!tests[rank](nameKeys[i], idKeys[i])) continue;
        if (ranks[rank].length < wanted) ranks[rank].push(ids[i]);
        let before = 0;
        for (let r = 0; r < last; r++) before += ranks[r].length;
        if (before >= wanted) last--;
        break;
      }
    }
    return { found: ranks.flat().slice(0, wanted), total };
  }

  // A person's clan, sub-clan, birth and death: the template's four words.
  function facts(i) {
    const words = templates[i].split(/[ \t]+/).filter(Boolean);
    return words.length === 4 ? words : ['', '', '', ''];
  }

  function describe(i) {
    const [clan, , birth, death] = facts(i);
    const years = birth || death ? ` · ${birth || '?'}–${death || '?'}` : '';
    return `id ${ids[i]}${clan ? ' · ' + clan : ''}${years}`;
  }

  function listMatches() {
    const { found, total: n } = find(input.value, shown);
    matches.replaceChildren(...found.map((id) => {
      const i = index.get(id);
      const item = document.createElement('li');
      const button = item.appendChild(document.createElement('button'));
      button.type = 'button';
      button.dataset.id = id;
      button.append(names[i] || id);
      button.appendChild(document.createElement('span')).className = 'about';
      button.lastChild.textContent = describe(i);
      return item;
    }));
    count.textContent = !input.value.trim() ? '' : n === 0 ? 'no match'
      : n > shown ? `${n} matches, the first ${shown} listed` : `${n} match${n === 1 ? '' : 'es'}`;
    openMatches(n > 0);
  }

  function openMatches(open) {
    matches.hidden = !open;
    input.setAttribute('aria-expanded', String(open));
  }

  function pick(id) {
    openMatches(false);
    select(id);
    panel.focus();
  }

  input.addEventListener('input', listMatches);
  input.addEventListener('focus', () => { if (matches.childElementCount) openMatches(true); });
  input.addEventListener('keydown', (e) => {
    const first = matches.querySelector('button');
    if (e.key === 'Enter' && first) pick(first.dataset.id);
    else if (e.key === 'ArrowDown' && first) { openMatches(true); first.focus(); } else return;
    e.preventDefault();
  });
  matches.addEventListener('click', (e) => {
    const button = e.target.closest('button');
    if (button) pick(button.dataset.id);
  });
  matches.addEventListener('keydown', (e) => {
    const item = e.target.closest('li');
    const next = e.key === 'ArrowDown' ? item.nextElementSibling
      : e.key === 'ArrowUp' ? item.previousElementSibling || { firstChild: input } : null;
    if (next) { next.firstChild.focus(); e.preventDefault(); }
  });

  // ---- Selection: the person, their ancestors and descendants --------------------------
  let selected = -1, ancestors = [], descendants = [];
  let activeEntry = null; // the legend entry clicked

  // Everyone reachable from `first` along the lists, in the drawing's order, without it.
  function reachable(first, lists) {
    const seen = new Uint8Array(P), stack = [first], found = [];
    seen[first] = 1;
    while (stack.length) {
      const v = stack.pop();
      for (let q = lists.offsets[v]; q < lists.offsets[v + 1]; q++) {
        const j = lists.flat[q];
        if (!seen[j]) { seen[j] = 1; found.push(j); stack.push(j); }
      }
    }
    return Int32Array.from(found).sort();
  }

  // After a change of selection or clan: the marks, the lines on them, a new focus layer.
  function highlight(members) {
    mark.fill(0);
    if (selected >= 0) {
      for (const i of ancestors) mark[i] |= UP;
      for (const i of descendants) mark[i] |= DOWN;
      mark[selected] |= SELF;
    }
    if (members) for (const i of members) mark[i] |= MEMBER;
    focused = selected >= 0 || !!members;
    if (focused) markLines();
    for (const key of [...tiles.keys()]) if (key.startsWith('focus')) tiles.delete(key);
    focusVersion++;
    legendButtons.forEach((b) => b.setAttribute('aria-pressed', String(b.entry === activeEntry)));
    schedule();
  }

  // Selects person i; `fromAddress` when the address already names them.
  function choose(i, move, fromAddress) {
    if (i === undefined) return false;
    selected = i;
    ancestors = reachable(i, up);
    descendants = reachable(i, down);
    activeEntry = null;
    fillPanel();
    if (move) bringIntoView(i);
    highlight(null);
    if (!fromAddress) setAddress('id=' + encodeURIComponent(ids[i]));
    return true;
  }

  // Clears the selection; highlights the people of a legend entry when one is given.
  function unselect(fromAddress, entry = null) {
    const had = selected >= 0;
    selected = -1;
    ancestors = descendants = [];
    activeEntry = entry;
    highlight(entry && membersOf(entry));
    panel.hidden = true;
    if (had && !fromAddress) setAddress('');
  }

  function select(id) { return choose(index.get(String(id)), true, false); }

  function selection() {
    if (selected < 0) return null;
    const list = (found) => Array.from(found, (i) => ids[i]);
    return { id: ids[selected], ancestors: list(ancestors), descendants: list(descendants) };
  }

  function relativeItem(i, year) {
    const item = document.createElement('li');
    const link = item.appendChild(document.createElement('a'));
    link.href = '#id=' + encodeURIComponent(ids[i]);
    link.textContent = names[i] ? `${names[i]} (${ids[i]})` : ids[i];
    if (year) item.append(`, married ${year}`);
    return item;
  }

  function fillPanel() {
    const i = selected;
    $('panel-name').textContent = names[i] || ids[i];
    const [clan, subclan, birth, death] = facts(i);
    const sex = looks[look[i]].ellipse ? 'woman or not recorded' : 'man';
    const shownFacts = [['name', names[i]], ['id', ids[i]], ['sex', sex], ['clan', clan],
      ['sub-clan', subclan], ['birth', birth], ['death', death]];
    // Present when the page was drawn with kinship-stats' tables (--stats).
    if (data.generations) {
      shownFacts.push(['generation', data.generations[i]], ['inbreeding F', data.inbreeding[i]]);
    }
    $('panel-facts').replaceChildren(...shownFacts.flatMap(([term, value]) => {
      const dt = document.createElement('dt'), dd = document.createElement('dd');
      dt.textContent = term;
      dd.textContent = value || 'not recorded';
      return [dt, dd];
    }));
    const lists = [['panel-partners', partnerLists[i]],
      ['panel-parents', parentLists[i].map((j) => [j, ''])],
      ['panel-children', childLists[i].map((j) => [j, ''])]];
    for (const [list, relatives] of lists) {
      const items = relatives.map(([j, year]) => relativeItem(j, year));
      if (!items.length) {
        items.push(document.createElement('li'));
        items[0].textContent = 'none in the drawing';
      }
      $(list).replaceChildren(...items);
    }
    $('panel-lineage').textContent = `Highlighted: ${ancestors.length} ancestor` +
      `${ancestors.length === 1 ? '' : 's'} and ${descendants.length} descendant` +
      `${descendants.length === 1 ? '' : 's'}.`;
    panel.hidden = false;
  }

  // ---- The address: #id=ID names the selected person ----------------------------------
  function setAddress(hash) {
    if (location.hash.replace(/^#/, '') !== hash) location.hash = hash;
  }

  function followAddress() {
    const found = /^#id=(.*)$/.exec(location.hash);
    let id = null;
    if (found) {
      try { id = decodeURIComponent(found[1]); } catch (error) { id = found[1]; }
    }
    const i = id === null ? undefined : index.get(id);
    if (i !== undefined) {
      if (i !== selected) choose(i, true, true);
    } else {
      if (id !== null) count.textContent = `no person has the id ${id}`;
      if (selected >= 0) unselect(true); // a clan's highlight stays
    }
  }
  window.addEventListener('hashchange', followAddress);

  // ---- The legend: a click on a colour highlights the people drawn in it ----------------
  const legendButtons = (data.legend || []).map(([kind, fill, line, text]) => {
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'legend-entry';
    button.entry = { kind, fill };
    button.setAttribute('aria-pressed', 'false');
    const swatch = button.appendChild(document.createElement('span'));
    swatch.className = `mark ${kind}`;
    swatch.style.background = fill;
    swatch.style.borderColor = line;
    button.append(text);
    button.addEventListener('click', () => toggleGroup(button.entry));
    return button;
  });
  legendBox.replaceChildren(...legendButtons);
  legendBox.hidden = !legendButtons.length;

  // The people filled in the entry's colour or, for a shape of the legend whose colour
  // nobody has (a white one beside clan colours), the people of that shape.
  function membersOf(entry) {
    const fill = entry.fill.toUpperCase();
    let found = [];
    for (let i = 0; i < P; i++) if (looks[look[i]].fill.toUpperCase() === fill) found.push(i);
    if (!found.length && entry.kind !== 'swatch') {
      for (let i = 0; i < P; i++) if (looks[look[i]].ellipse === (entry.kind === 'woman')) found.push(i);
    }
    return found;
  }

  const toggleGroup = (entry) => unselect(false, entry === activeEntry ? null : entry);

  // ---- A picture of the view -----------------------------------------------------------
  // Painted afresh at full detail, whatever the tiles hold yet.
  function savePicture() {
    const picture = document.createElement('canvas');
    picture.width = canvas.width; picture.height = canvas.height;
    drawView(picture.getContext('2d'), canvas.width / box.w);
    const link = document.createElement('a');
    link.download = (document.title.replace(/\.[^.]*$/, '') || 'kinship') +
      (selected >= 0 ? `-${ids[selected]}` : '') + '.png';
    link.href = picture.toDataURL('image/png');
    link.click();
    return link.href;
  }

  // ---- Buttons and keys -----------------------------------------------------------------
  $('zoom-in').addEventListener('click', () => zoomCentre(1.5));
  $('zoom-out').addEventListener('click', () => zoomCentre(1 / 1.5));
  $('zoom-fit').addEventListener('click', fit);
  $('save').addEventListener('click', savePicture);
  $('panel-close').addEventListener('click', () => { unselect(false); view.focus(); });

  document.addEventListener('keydown', (e) => {
    if (e.ctrlKey || e.metaKey || e.altKey) return;
    const typing = e.target instanceof HTMLInputElement;
    if (e.key === 'Escape') {
      if (!matches.hidden) {
        openMatches(false);
        input.focus();
      } else {
        unselect(false);
        if (panel.contains(e.target)) view.focus();
      }
      return;
    }
    if (typing) return;
    const step = 80; // pixels an arrow key moves
    const actions = {
      '/': () => { input.focus(); input.select(); },
      '+': () => zoomCentre(1.5), '=': () => zoomCentre(1.5),
      '-': () => zoomCentre(1 / 1.5), '0': fit,
      ArrowLeft: () => pan(step, 0), ArrowRight: () => pan(-step, 0),
      ArrowUp: () => pan(0, step), ArrowDown: () => pan(0, -step),
    };
    if (e.key.startsWith('Arrow') && matches.contains(e.target)) return;
    const action = actions[e.key];
    if (action) { action(); e.preventDefault(); }
  });
  document.addEventListener('pointerdown', (e) => {
    if (!matches.hidden && !e.target.closest('.search')) openMatches(false);
  });

  fit();
  followAddress();
  window.kinship = Object.freeze({
    search,
    select,
    selection,
    clear: () => unselect(false),
    people: () => P,
    view: (wanted) => {
      if (wanted) { showBox(...wanted.map(Number)); return undefined; }
      const [cw, ch] = size();
      return [box.x, box.y, box.w, box.w * ch / cw];
    },
    locate,
  });
})();
