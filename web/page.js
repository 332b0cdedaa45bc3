// The page: the real programs, compiled to WebAssembly, run on the input
// typed here with --trace; each step is drawn beside the source it ran,
// with the output so far. Everything is built from text nodes: what is
// typed, printed or shared never becomes markup.
import { describe, drawStep, standalone } from './draw.js';

const PROGRAMS = {
  fifolist: ['a queue: values in the order typed', 'int'],
  twoends: ['a double-ended queue: negatives in front, the others at the back', 'int'],
  lifolist: ['a stack: values from the last typed to the first', 'int'],
  parityfive: ['odd values to the back, even to the front; then the first multiple of five is removed', 'int'],
  posremove: ['values in the order typed; then the element at a position you give is removed', 'int'],
  hashstar: ['one line; then a # is inserted before every *', 'char'],
  thirdcull: ['one line; then every third node is removed', 'char'],
};
const PROMPTS = {
  int: 'Input integer value or ENTER — integers one a line, then an empty line',
  char: 'Input string with * — one line of characters',
};
const EXAMPLES = {
  fifolist: '1\n2\n3\n\n', twoends: '-1\n2\n-3\n\n', lifolist: '1\n2\n3\n\n',
  parityfive: '3\n4\n10\n7\n\n', posremove: '10\n20\n30\n40\n\n3\n', hashstar: '*a*b\n', thirdcull: 'abcdefg\n',
};
const MOST_LINES = 10000;
const $ = (id) => document.getElementById(id);

// One run of a program: its records in order, and where each input line's
// reading began, in steps.
function runProgram(name, text) {
  const input = new TextEncoder().encode(text);
  const lineStarts = new Set([0]);
  input.forEach((byte, at) => { if (byte === 10) lineStarts.add(at + 1); });
  const records = [];
  const stepAtLine = [];
  let at = 0;
  let pending = '';
  let errors = '';
  let status = 0;
  const steps = () => records.filter((record) => 'step' in record).length;
  const output = (byte) => {
    if (byte === null) return;
    const last = records[records.length - 1];
    if (last && 'out' in last) last.out += String.fromCharCode(byte);
    else records.push({ out: String.fromCharCode(byte) });
  };
  return globalThis[`create_${name}`]({
    arguments: ['--trace'],
    listInput: () => {
      if (lineStarts.has(at)) stepAtLine.push(steps());
      return at < input.length ? input[at++] : null;
    },
    listOutput: output,
    listErrors: (byte) => { if (byte !== null) errors += String.fromCharCode(byte); },
    listRecords: (bytes) => {
      for (const byte of bytes) pending += String.fromCharCode(byte);
      let end;
      while ((end = pending.indexOf('\n')) >= 0) {
        records.push(JSON.parse(pending.slice(0, end)));
        pending = pending.slice(end + 1);
      }
    },
    onExit: (code) => { status = code; },
    print: () => {},
    printErr: () => {},
  }).then(() => ({ records, stepAtLine, errors, status }), () => ({ records, stepAtLine, errors, status }));
}

const state = {
  program: 'parityfive', input: '', run: null, steps: [], sources: {}, shown: 0, lines: 0, file: null,
};

function bytesOf(text) {
  return Uint8Array.from(text, (c) => c.charCodeAt(0));
}

// The output up to step n (all of it at the last step), as its bytes.
function outputAt(n) {
  let text = '';
  let seen = 0;
  for (const record of state.run.records) {
    if ('step' in record && ++seen > n + 1 && n < state.steps.length - 1) break;
    if ('out' in record) text += record.out;
  }
  return text;
}

function showSource(step) {
  const pane = $('source-lines');
  if (state.file !== step.file) {
    state.file = step.file;
    $('source-path').textContent = step.file;
    // The drawing calls are left out, as in the terminal's view.
    const lines = (state.sources[step.file] || '').split('\n');
    let call = false;
    const hidden = lines.map((line) => {
      call = call || /^\s*(drawIntList|drawCharList|drawNote)\(/.test(line);
      const was = call;
      if (call && /\);\s*(\/\/.*)?$/.test(line)) call = false;
      return was;
    });
    pane.replaceChildren(...lines.map((line, index) => {
      const row = document.createElement('div');
      row.className = 'line';
      const number = document.createElement('span');
      number.className = 'number';
      number.textContent = String(index + 1).padStart(4, ' ');
      const code = document.createElement('span');
      code.textContent = line;
      row.append(number, code);
      row.hidden = hidden[index];
      return row;
    }));
  }
  pane.querySelectorAll('[aria-current]').forEach((row) => {
    row.removeAttribute('aria-current');
    row.classList.remove('marked');
  });
  step.lines.forEach((line, index) => {
    const row = pane.children[line - 1];
    if (!row) return;
    row.setAttribute('aria-current', 'step');
    row.classList.add('marked');
    // Kept in view within the pane alone: the page itself does not move.
    if (index === 0) pane.scrollTop = row.offsetTop - pane.clientHeight / 2;
  });
}

function show(n) {
  if (!state.steps.length) return;
  state.shown = Math.max(0, Math.min(n, state.steps.length - 1));
  const step = state.steps[state.shown];
  drawStep($('drawing'), step);
  $('caption').textContent = `-- ${step.caption}`;
  showSource(step);
  $('output').textContent = new TextDecoder().decode(bytesOf(outputAt(state.shown)));
  $('status').textContent = `step ${state.shown + 1} of ${state.steps.length}`;
  $('slider').max = String(state.steps.length);
  $('slider').value = String(state.shown + 1);
  const hash = new URLSearchParams({ program: state.program, input: state.input, step: String(state.shown + 1) });
  history.replaceState(null, '', `#${hash}`);
}

async function run(firstStep = 0) {
  const text = $('input').value;
  const lines = text.split('\n').length;
  if (lines > MOST_LINES) {
    $('message').textContent = `The input has ${lines} lines: at most ${MOST_LINES} run, so nothing ran.`;
    return;
  }
  $('message').textContent = '';
  state.program = $('program').value;
  state.input = text;
  state.lines = (text.match(/\n/g) || []).length;
  state.run = await runProgram(state.program, text);
  state.steps = state.run.records.filter((record) => 'step' in record);
  state.sources = Object.fromEntries(state.run.records.filter((r) => 'source' in r).map((r) => [r.source, r.text]));
  state.file = null;
  if (!state.steps.length) {
    $('status').textContent = 'no step';
    $('output').textContent = new TextDecoder().decode(bytesOf(outputAt(0)));
    return;
  }
  show(firstStep);
}

// The next step of code not met before: a loop passed in one key.
function nextNew() {
  const seen = new Set(state.steps.slice(0, state.shown + 1).map((step) => `${step.file}:${step.lines}`));
  const found = state.steps.findIndex((step, n) => n > state.shown && !seen.has(`${step.file}:${step.lines}`));
  show(found >= 0 ? found : state.steps.length - 1);
}

const KEYS = {
  ArrowRight: () => show(state.shown + 1), ' ': () => show(state.shown + 1), j: () => show(state.shown + 1),
  ArrowLeft: () => show(state.shown - 1), b: () => show(state.shown - 1), k: () => show(state.shown - 1),
  Home: () => show(0), g: () => show(0), End: () => show(state.steps.length - 1),
  G: () => show(state.steps.length - 1), n: nextNew,
};

function setUp() {
  const chooser = $('program');
  for (const [name, [what]] of Object.entries(PROGRAMS)) {
    const option = document.createElement('option');
    option.value = name;
    option.textContent = `${name}: ${what}`;
    chooser.append(option);
  }
  const prompt = () => { $('prompt').textContent = PROMPTS[PROGRAMS[chooser.value][1]]; };
  chooser.addEventListener('change', () => { prompt(); $('input').value = EXAMPLES[chooser.value]; run(); });
  $('run').addEventListener('click', () => run());
  $('first').addEventListener('click', () => show(0));
  $('back').addEventListener('click', () => show(state.shown - 1));
  $('next').addEventListener('click', () => show(state.shown + 1));
  $('last').addEventListener('click', () => show(state.steps.length - 1));
  $('slider').addEventListener('input', () => show(Number($('slider').value) - 1));
  $('download').addEventListener('click', () => {
    const file = new Blob([standalone($('drawing'), $('style').textContent)], { type: 'image/svg+xml' });
    const link = document.createElement('a');
    link.href = URL.createObjectURL(file);
    link.download = `${state.program}-step-${state.shown + 1}.svg`;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  });
  // A line added reruns the program and shows the first step of that line.
  $('input').addEventListener('input', () => {
    const lines = ($('input').value.match(/\n/g) || []).length;
    if (lines > state.lines && state.run) {
      const added = state.lines;
      run().then(() => {
        const at = state.run.stepAtLine[added];
        if (at !== undefined && at < state.steps.length) show(at);
      });
    }
    state.lines = lines;
  });
  document.addEventListener('keydown', (event) => {
    if (event.target.closest('textarea, select, input') || event.ctrlKey || event.metaKey || event.altKey) return;
    const key = KEYS[event.key];
    if (!key || !state.steps.length) return;
    event.preventDefault();
    key();
  });
  // The address: program, input and step, read as data.
  const open = () => {
    const shared = new URLSearchParams(location.hash.slice(1));
    const program = shared.get('program');
    chooser.value = Object.hasOwn(PROGRAMS, program) ? program : 'parityfive';
    prompt();
    $('input').value = shared.has('input') ? shared.get('input') : EXAMPLES[chooser.value];
    run(Math.max(Number(shared.get('step')) - 1 || 0, 0));
  };
  window.addEventListener('hashchange', open);
  open();
}

globalThis.listprograms = { state, runProgram, describe, bytesOf, outputAt };
setUp();
