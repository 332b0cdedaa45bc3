// One step of --trace drawn as SVG: the row of boxes from head to NULL,
// each pointer's names over its node with an arrow down, the node beside
// the list below it with its arrow up, the link just set marked by colour,
// thickness and a label. Text goes into text nodes only, never markup.

const SVG = 'http://www.w3.org/2000/svg';
const CHAR = 8.5; // the width of one character of the drawing's font
const ROW = 18; // a line of names
const GAP = 34; // an arrow between two boxes

function element(name, attributes, text) {
  const node = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, String(value));
  if (text !== undefined) node.textContent = text;
  return node;
}

function arrow(group, x1, y1, x2, y2, linked) {
  group.append(element('line', {
    x1, y1, x2, y2, class: linked ? 'arrow linked' : 'arrow', 'marker-end': 'url(#head)',
  }));
  if (linked) group.append(element('text', { x: (x1 + x2) / 2, y: Math.min(y1, y2) - 5, class: 'set' }, 'set'));
}

function leftOut(node) {
  return node.leftOut > 0 ? `…${node.leftOut}${node.countStopped ? '+' : ''}` : '';
}

// Where each piece of the row stands: boxes, "…N" counts and NULL.
function layOut(step) {
  const pieces = [];
  let x = 10;
  step.nodes.forEach((node, index) => {
    const width = 16 + CHAR * node.value.length;
    pieces.push({ kind: 'box', index, node, x, width });
    x += width + GAP;
    const count = leftOut(node);
    if (count) {
      const countWidth = CHAR * count.length + 6;
      pieces.push({ kind: 'count', text: count, x, width: countWidth });
      x += countWidth + GAP;
    }
  });
  pieces.push({ kind: 'null', x, width: CHAR * 4 + 4 });
  return { pieces, width: x + CHAR * 4 + 20 };
}

// The step in words: "head → 10 → 4 → 3 → NULL; cursor at 4".
export function describe(step) {
  const parts = step.nodes.map((node) => (leftOut(node) ? `${node.value} → ${leftOut(node)} more` : node.value));
  let text = `head → ${[...parts, 'NULL'].join(' → ')}`;
  step.nodes.forEach((node, index) => {
    const names = node.names.filter((name) => !(index === 0 && name === 'head'));
    if (names.length) text += `; ${names.join(', ')} at ${node.value}`;
  });
  const nulls = step.null.filter((name) => name !== 'head');
  if (nulls.length) text += `; ${nulls.join(', ')} NULL`;
  const aside = step.aside;
  if (aside) {
    const next = typeof aside.next === 'number' ? `next ${step.nodes[aside.next].value}`
      : aside.next === null ? 'released: its holders dangle' : `next ${aside.next}`;
    text += `; beside the list: ${aside.value}, ${aside.state}, held by ${aside.names.join(', ')}, ${next}`;
  }
  return text;
}

export function drawStep(svg, step) {
  svg.replaceChildren();
  const { pieces, width } = layOut(step);
  const labelRows = Math.max(1, ...step.nodes.map((node) => node.names.length), step.null.length);
  const top = 10 + labelRows * ROW + 24;
  const boxHeight = 28;
  const defs = element('defs', {});
  const marker = element('marker', { id: 'head', viewBox: '0 0 10 10', refX: 9, refY: 5, markerWidth: 7, markerHeight: 7, orient: 'auto-start-reverse' });
  marker.append(element('path', { d: 'M 0 0 L 10 5 L 0 10 z', class: 'tip' }));
  defs.append(marker);
  svg.append(defs);
  // The row first: read in document order, its text is the list.
  const row = element('g', { class: 'row' });
  const labels = element('g', { class: 'labels' });
  pieces.forEach((piece, n) => {
    const middle = top + boxHeight / 2;
    const next = pieces[n + 1];
    if (piece.kind === 'box') {
      row.append(element('rect', { x: piece.x, y: top, width: piece.width, height: boxHeight, rx: 3, class: 'box' }));
      row.append(element('text', { x: piece.x + piece.width / 2, y: middle + 5, class: 'value' }, piece.node.value));
      piece.node.names.forEach((name, line) => {
        labels.append(element('text', { x: piece.x + piece.width / 2, y: top - 24 - (piece.node.names.length - 1 - line) * ROW, class: 'name' }, name));
      });
      if (piece.node.names.length) arrow(labels, piece.x + piece.width / 2, top - 20, piece.x + piece.width / 2, top - 2, false);
    } else if (piece.kind === 'count') {
      row.append(element('text', { x: piece.x + piece.width / 2, y: middle + 5, class: 'count' }, piece.text));
    } else {
      row.append(element('text', { x: piece.x + piece.width / 2, y: middle + 5, class: 'null' }, 'NULL'));
      step.null.forEach((name, line) => {
        labels.append(element('text', { x: piece.x + piece.width / 2, y: top - 24 - (step.null.length - 1 - line) * ROW, class: 'name' }, name));
      });
      if (step.null.length) arrow(labels, piece.x + piece.width / 2, top - 20, piece.x + piece.width / 2, top - 2, false);
    }
    if (next) arrow(row, piece.x + piece.width, middle, next.x, middle, piece.kind === 'box' && piece.node.linked);
  });
  svg.append(row, labels);
  let height = top + boxHeight + 16;
  if (step.aside) height = drawAside(svg, step, pieces, top + boxHeight, height);
  svg.setAttribute('viewBox', `0 0 ${Math.max(width, 200)} ${height}`);
  svg.setAttribute('width', Math.max(width, 200));
  svg.setAttribute('height', height);
  svg.setAttribute('aria-label', describe(step));
}

// The node beside the list, below the box its next points at (or at the
// left), its names under it; a released one dashed, its holders dangling.
function drawAside(svg, step, pieces, rowBottom, height) {
  const aside = step.aside;
  const group = element('g', { class: 'aside' });
  const target = typeof aside.next === 'number' ? pieces.find((piece) => piece.index === aside.next) : null;
  const width = 16 + CHAR * aside.value.length;
  const x = target ? target.x + target.width / 2 - width / 2 : 10;
  const y = rowBottom + 56;
  const released = aside.state === 'released';
  group.append(element('rect', { x, y, width, height: 28, rx: 3, class: released ? 'box released' : 'box' }));
  group.append(element('text', { x: x + width / 2, y: y + 19, class: 'value' }, aside.value));
  if (target) {
    arrow(group, x + width / 2, y, x + width / 2, rowBottom + 2, aside.linked);
  } else if (aside.next !== null) {
    arrow(group, x + width, y + 14, x + width + GAP, y + 14, aside.linked);
    group.append(element('text', { x: x + width + GAP + 22, y: y + 19, class: 'null' }, aside.next === 'NULL' ? 'NULL' : '…'));
  }
  const words = released ? `${aside.names.join(', ')} (dangling)` : `${aside.names.join(', ')} ${aside.state}`;
  group.append(element('text', { x, y: y + 28 + ROW, class: released ? 'name dangling' : 'name', 'text-anchor': 'start' }, words));
  svg.append(group);
  return Math.max(height, y + 28 + ROW + 12);
}

// The step as a file of its own, for slides: its style inside it.
export function standalone(svg, style) {
  const copy = svg.cloneNode(true);
  copy.setAttribute('xmlns', SVG);
  copy.prepend(element('style', {}, style));
  copy.prepend(element('rect', { x: 0, y: 0, width: '100%', height: '100%', fill: 'white' }));
  return new XMLSerializer().serializeToString(copy);
}
