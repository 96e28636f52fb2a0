// The page of kinship-draw: pan and zoom, search, a selected person with their lineage and
// a side panel, clans from the legend, and #id= addresses, over the picture kinship-draw
// draws (inline, unchanged). Everything it needs is in the page; it loads nothing.
// Pan and zoom are written here rather than taken from a library: they are a few dozen
// lines of a CSS transform on the picture, and the page must need no package or network.
'use strict';
(function () {
  const data = JSON.parse(document.getElementById('kinship-people').textContent);
  const persons = data.people, links = data.links;
  const view = document.getElementById('view');
  const svg = view.querySelector('svg');
  const $ = (id) => document.getElementById(id);
  const input = $('search'), matches = $('matches'), count = $('search-count');
  const panel = $('panel');
  const shown = 20; // matches listed
  const readable = 10; // pixels: the smallest font size a full name is shown at

  // The picture holds one group of link groups, then a group per node: the people in the
  // order of `persons` and, in a family drawing, the family nodes at the places `families`
  // gives; then the legend's group when there is one.
  const groups = Array.from(svg.children).filter((e) => e.tagName === 'g');
  const linkGroups = Array.from(groups.length ? groups[0].children : []).filter((e) => e.tagName === 'g');
  const familyPlaces = new Set(data.families || []);
  const nodeCount = persons.length + familyPlaces.size;
  const personGroups = groups.slice(1, 1 + nodeCount).filter((g, k) => !familyPlaces.has(k));
  const legend = groups[1 + nodeCount] || null;
  const index = new Map(persons.map((p, i) => [p.id, i]));
  const known = (ids) => ids.map((id) => index.get(id)).filter((i) => i !== undefined);
  const parentsOf = persons.map((p) => known(p.parents));
  const childrenOf = persons.map((p) => known(p.children));
  personGroups.forEach((g, i) => { g.dataset.id = persons[i].id; });

  // ---- Search: parts of a name or an id, ignoring case and accents --------------------
  const fold = (text) => text.normalize('NFD').replace(/\p{M}/gu, '').toLowerCase();
  const nameKeys = persons.map((p) => ' ' + fold(p.name));
  const idKeys = persons.map((p) => fold(p.id));
  // Both in one text, to test a word with one look (a word holds no line feed).
  const keys = persons.map((p, i) => `${nameKeys[i]}\n${idKeys[i]}`);

  // The ids of everyone whose name or id holds every word of `text`, best first: the id
  // itself, then names starting with the first word, then names with a word starting with
  // it, then ids starting with it, then the rest; the drawing's order within each.
  function search(text) {
    const words = fold(String(text)).split(/\s+/).filter(Boolean);
    if (!words.length) return [];
    const first = words[0];
    const ranks = [[], [], [], [], []];
    next: for (let i = 0; i < persons.length; i++) {
      for (const word of words) if (!keys[i].includes(word)) continue next;
      const name = nameKeys[i], id = idKeys[i];
      const rank = id === first ? 0 : name.startsWith(' ' + first) ? 1
        : name.includes(' ' + first) ? 2 : id.startsWith(first) ? 3 : 4;
      ranks[rank].push(persons[i].id);
    }
    return ranks.flat();
  }

  function describe(p) {
    const years = p.birth || p.death ? ` · ${p.birth || '?'}–${p.death || '?'}` : '';
    return `id ${p.id}${p.clan ? ' · ' + p.clan : ''}${years}`;
  }

  function listMatches() {
    const found = search(input.value);
    matches.replaceChildren(...found.slice(0, shown).map((id) => {
      const p = persons[index.get(id)];
      const item = document.createElement('li');
      const button = item.appendChild(document.createElement('button'));
      button.type = 'button';
      button.dataset.id = id;
      button.append(p.name || p.id);
      button.appendChild(document.createElement('span')).className = 'about';
      button.lastChild.textContent = describe(p);
      return item;
    }));
    const n = found.length;
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

  // ---- The view: a box of the window's proportions, in drawing units ------------------
  // The picture keeps its view box and is drawn a CSS pixel a unit; a CSS transform moves
  // and scales it. Changing the view box instead would make the browser lay out every text
  // of the picture again at each step, a second or more for 20,000 people.
  const home = svg.viewBox.baseVal;
  const whole = { x: home.x, y: home.y, width: home.width, height: home.height };
  svg.style.width = `${whole.width}px`;
  svg.style.height = `${whole.height}px`;
  // As setView will find (the view is as wide as the window), before the first layout.
  svg.classList.toggle('far', 12 * window.innerWidth / whole.width < 2);
  let box = { x: whole.x, y: whole.y, w: whole.width };
  let labelTimer = 0, settleTimer = 0;
  const size = () => [view.clientWidth || 1, view.clientHeight || 1];
  const fitWidth = () => Math.max(whole.width, whole.height * size()[0] / size()[1]);
  // From 40 pixels a unit down to the whole drawing in a quarter of the window.
  const allowed = (w) => Math.min(Math.max(w, size()[0] / 40), 4 * fitWidth());

  function setView(x, y, w) {
    const [cw] = size();
    w = allowed(w);
    box = { x, y, w };
    const scale = cw / w;
    const left = (whole.x - x) * scale, top = (whole.y - y) * scale;
    svg.style.transform = `translate(${left}px, ${top}px) scale(${scale})`;
    // Names and ids under two pixels high are a grey smear that costs the browser most of
    // its drawing time on a large picture: they are left out until they can be read.
    svg.classList.toggle('far', 12 * scale < 2);
    clearTimeout(labelTimer);
    labelTimer = setTimeout(updateNames, 120);
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

  function fit() {
    const [cw, ch] = size();
    const w = fitWidth(), h = w * ch / cw;
    setView(whole.x + (whole.width - w) / 2, whole.y + (whole.height - h) / 2, w);
  }

  // Centres person i in the room the panel leaves, zooming in until names are readable.
  // Reads the shape's attributes rather than its box, which would make the browser lay out
  // the whole picture once more.
  function bringIntoView(i) {
    const shape = personGroups[i] && personGroups[i].querySelector('rect, ellipse');
    if (!shape) return;
    const number = (name) => parseFloat(shape.getAttribute(name)) || 0;
    const [x, y] = shape.tagName === 'rect'
      ? [number('x') + number('width') / 2, number('y') + number('height') / 2]
      : [number('cx'), number('cy')];
    const [cw, ch] = size();
    const w = Math.min(box.w, cw); // a unit a pixel at least: names at 12 pixels
    const scale = w / cw;
    const free = panel.hidden ? cw : Math.max(cw / 2, cw - panel.offsetWidth - 24);
    setView(x - (free / 2) * scale, y - (ch / 2) * scale, w);
  }

  let lastWidth = size()[0];
  new ResizeObserver(() => {
    const [cw] = size();
    if (cw !== lastWidth) setView(box.x, box.y, box.w * cw / lastWidth);
    else setView(box.x, box.y, box.w);
    lastWidth = cw;
  }).observe(view);

  // While the wheel turns or a drag goes on, the browser scales the picture as drawn, to
  // draw it sharp again once the view has been still for a moment.
  function moving() {
    svg.style.willChange = 'transform';
    clearTimeout(settleTimer);
    settleTimer = setTimeout(() => { svg.style.willChange = ''; }, 300);
  }

  view.addEventListener('wheel', (e) => {
    e.preventDefault(); // a pinch on a touch pad comes as a wheel with ctrlKey
    moving();
    const r = view.getBoundingClientRect();
    const unit = e.deltaMode === 1 ? 16 : e.deltaMode === 2 ? r.height : 1;
    const factor = Math.min(2, Math.max(0.5, Math.exp(-e.deltaY * unit * 0.002)));
    const x = e.clientX - r.left, y = e.clientY - r.top;
    zoomMove(x, y, x, y, factor);
  }, { passive: false });

  // Dragging pans, two fingers pinch; a press that barely moves is a click.
  const pointers = new Map();
  let press = null;
  view.addEventListener('pointerdown', (e) => {
    if (e.pointerType === 'mouse' && e.button !== 0) return;
    view.setPointerCapture(e.pointerId);
    pointers.set(e.pointerId, { x: e.clientX, y: e.clientY });
    press = pointers.size === 1 ? { target: e.target, moved: 0 } : null;
  });
  view.addEventListener('pointermove', (e) => {
    const last = pointers.get(e.pointerId);
    if (!last) return;
    const r = view.getBoundingClientRect();
    const now = { x: e.clientX, y: e.clientY };
    moving();
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
    if (press && press.moved <= 4 && e.type === 'pointerup') clicked(press.target);
    press = null;
  };
  view.addEventListener('pointerup', release);
  view.addEventListener('pointercancel', release);

  function clicked(target) {
    const person = target.closest('[data-id]');
    const entry = legendEntries.find((en) => en.mark === target || en.text === target);
    if (person) choose(index.get(person.dataset.id), false);
    else if (entry) toggleGroup(entry);
  }

  // ---- Selection: the person, their ancestors and descendants --------------------------
  let selected = -1, ancestors = [], descendants = [];
  let members = null, activeEntry = null; // the legend entry clicked, and its people

  // Everyone reachable from `start` along `next`, in the drawing's order, without `start`.
  function reachable(start, next) {
    const seen = new Set([start]), stack = [start], found = [];
    while (stack.length) {
      for (const j of next[stack.pop()]) {
        if (!seen.has(j)) { seen.add(j); found.push(j); stack.push(j); }
      }
    }
    return found.sort((a, b) => a - b);
  }

  function paint() {
    const up = new Set(ancestors), down = new Set(descendants);
    const focused = selected >= 0 || members !== null;
    personGroups.forEach((g, i) => {
      const lineage = up.has(i) || down.has(i);
      const member = members !== null && members.has(i);
      g.classList.toggle('selected', i === selected);
      g.classList.toggle('lineage', lineage && i !== selected);
      g.classList.toggle('member', member);
      g.classList.toggle('dimmed', focused && i !== selected && !lineage && !member);
    });
    const onLine = (a, b) => (up.has(a) && (up.has(b) || b === selected)) ||
      (down.has(b) && (down.has(a) || a === selected)) ||
      (members !== null && members.has(a) && members.has(b));
    // A line at a family node is a list of the [parent, child] pairs along it.
    const along = (link) => (Array.isArray(link[0]) ? link.some((pair) => onLine(...pair))
      : onLine(...link));
    linkGroups.forEach((g, k) => {
      g.classList.toggle('lineage-link', focused && k < links.length && along(links[k]));
    });
    svg.classList.toggle('focused', focused);
    legendEntries.forEach((en) => {
      en.text.classList.toggle('active', en === activeEntry);
      en.text.setAttribute('aria-pressed', String(en === activeEntry));
    });
  }

  // Selects person i; `fromAddress` when the address already names them.
  function choose(i, move, fromAddress) {
    if (i === undefined) return false;
    selected = i;
    ancestors = reachable(i, parentsOf);
    descendants = reachable(i, childrenOf);
    members = activeEntry = null;
    fillPanel();
    if (move) bringIntoView(i);
    paint();
    if (!fromAddress) setAddress('id=' + encodeURIComponent(persons[i].id));
    return true;
  }

  // Clears the selection; highlights the people of a legend entry when one is given.
  function unselect(fromAddress, entry = null) {
    const had = selected >= 0;
    selected = -1;
    ancestors = descendants = [];
    activeEntry = entry;
    members = entry && membersOf(entry);
    paint();
    panel.hidden = true;
    if (had && !fromAddress) setAddress('');
  }

  function select(id) { return choose(index.get(String(id)), true, false); }

  function selection() {
    if (selected < 0) return null;
    const ids = (list) => list.map((i) => persons[i].id);
    return { id: persons[selected].id, ancestors: ids(ancestors), descendants: ids(descendants) };
  }

  function relativeItem(i) {
    const p = persons[i];
    const item = document.createElement('li');
    const link = item.appendChild(document.createElement('a'));
    link.href = '#id=' + encodeURIComponent(p.id);
    link.textContent = p.name ? `${p.name} (${p.id})` : p.id;
    return item;
  }

  function fillPanel() {
    const p = persons[selected];
    $('panel-name').textContent = p.name || p.id;
    const facts = [['name', p.name], ['id', p.id], ['sex', p.sex], ['clan', p.clan],
      ['sub-clan', p.subclan], ['birth', p.birth], ['death', p.death]];
    // Present when the page was drawn with kinship-stats' tables (--stats).
    if (p.generation !== undefined) {
      facts.push(['generation', p.generation], ['inbreeding F', p.inbreeding]);
    }
    $('panel-facts').replaceChildren(...facts.flatMap(([term, value]) => {
      const dt = document.createElement('dt'), dd = document.createElement('dd');
      dt.textContent = term;
      dd.textContent = value || 'not recorded';
      return [dt, dd];
    }));
    const lists = [['panel-parents', parentsOf], ['panel-children', childrenOf]];
    for (const [list, relatives] of lists) {
      const items = relatives[selected].map(relativeItem);
      if (!items.length) items.push(document.createElement('li'));
      if (!relatives[selected].length) items[0].textContent = 'none in the drawing';
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
  const legendEntries = [];
  if (legend) {
    const parts = Array.from(legend.children).filter((e) => e.tagName !== 'title');
    for (let k = 0; k + 1 < parts.length; k += 2) {
      const entry = { mark: parts[k], text: parts[k + 1] };
      entry.text.classList.add('legend-entry');
      entry.text.setAttribute('tabindex', '0');
      entry.text.setAttribute('role', 'button');
      entry.text.setAttribute('aria-pressed', 'false');
      entry.text.addEventListener('keydown', (e) => {
        if (e.key === 'Enter' || e.key === ' ') { toggleGroup(entry); e.preventDefault(); }
      });
      legendEntries.push(entry);
    }
  }

  // The people filled in the entry's colour or, for a shape of the legend whose colour
  // nobody has (a white one beside clan colours), the people of that shape.
  function membersOf(entry) {
    const shapes = personGroups.map((g) => g.querySelector('rect, ellipse'));
    const fill = entry.mark.getAttribute('fill');
    let found = shapes.flatMap((s, i) => (s && s.getAttribute('fill') === fill ? [i] : []));
    if (!found.length) {
      found = shapes.flatMap((s, i) => (s && s.tagName === entry.mark.tagName ? [i] : []));
    }
    return new Set(found);
  }

  const toggleGroup = (entry) => unselect(false, entry === activeEntry ? null : entry);

  // ---- Names: the full name in place of the shortened one when the zoom leaves room ----
  // A shortened name keeps its width and its lines (on two lines: the given names, then
  // the surname); the full name takes them in a smaller font, and is shown once that font
  // is at least `readable` pixels on the screen.
  const labels = new Map(); // person -> its name's texts and sizes, measured once
  const full = new Set(); // people showing their full name
  let measure = null, positions = null;

  function labelOf(i) {
    if (labels.has(i)) return labels.get(i);
    const name = persons[i].name;
    const texts = Array.from(personGroups[i].children).filter((e) => e.tagName === 'text');
    const lines = texts.map((t) => t.textContent);
    let label = null;
    if (name && texts.length && lines.join(' ') !== name) {
      measure = measure || document.createElement('canvas').getContext('2d');
      measure.font = '12px Arial, Helvetica, sans-serif';
      const width = (text) => measure.measureText(text).width;
      const size = parseFloat(texts[0].getAttribute('font-size')) || 12;
      const room = Math.max(...lines.map(width)) * size / 12;
      const cut = name.lastIndexOf(' ');
      const wanted = texts.length > 1 && cut > 0 ? [name.slice(0, cut), name.slice(cut + 1)] : [name];
      label = {
        texts, lines, wanted, size,
        fit: Math.min(size, 12 * room / Math.max(...wanted.map(width))),
        ys: texts.map((t) => parseFloat(t.getAttribute('y'))),
        halo: texts[0].getAttribute('stroke-width'),
      };
    }
    labels.set(i, label);
    return label;
  }

  function showFull(i, on) {
    const label = labels.get(i);
    label.texts.forEach((text, k) => {
      const size = on ? label.fit : label.size;
      text.textContent = on ? label.wanted[k] || '' : label.lines[k];
      text.setAttribute('font-size', size);
      text.setAttribute('stroke-width', label.halo * size / label.size);
      text.setAttribute('y', on ? label.ys[0] + k * size * 1.15 : label.ys[k]); // the picture's spacing
    });
    if (on) full.add(i); else full.delete(i);
  }

  function updateNames() {
    const scale = size()[0] / box.w; // pixels per unit
    const wanted = new Set();
    if (12 * scale >= readable) {
      if (!positions) {
        positions = personGroups.map((g) => {
          const t = g.querySelector('text');
          return t ? ['x', 'y'].map((a) => parseFloat(t.getAttribute(a))) : [NaN, NaN];
        });
      }
      const h = box.w * size()[1] / size()[0];
      positions.forEach(([x, y], i) => {
        const near = x >= box.x - 100 && x <= box.x + box.w + 100 && y >= box.y - 50 && y <= box.y + h + 50;
        if (near && persons[i].name) {
          const label = labelOf(i);
          if (label && label.fit * scale >= readable) wanted.add(i);
        }
      });
    }
    for (const i of [...full]) if (!wanted.has(i)) showFull(i, false);
    for (const i of wanted) if (!full.has(i)) showFull(i, true);
  }

  // ---- Buttons and keys -----------------------------------------------------------------
  $('zoom-in').addEventListener('click', () => zoomCentre(1.5));
  $('zoom-out').addEventListener('click', () => zoomCentre(1 / 1.5));
  $('zoom-fit').addEventListener('click', fit);
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
    view: () => { const [cw, ch] = size(); return [box.x, box.y, box.w, box.w * ch / cw]; },
  });
})();
