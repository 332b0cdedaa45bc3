// The one-file page in headless chromium: the tables' rows give the native
// bytes, the steps are native --trace's, the parts have their accessible
// names, and nothing is fetched. PAGE, CHROMIUM, NATIVE (the native
// programs' folder) and TABLES (tests/) come from ctest.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const PAGE = pathToFileURL(process.env.PAGE).href;
const NATIVE = process.env.NATIVE;
let browser;
let page;
const requests = [];

before(async () => {
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run'],
  });
  page = await browser.newPage({ acceptDownloads: true });
  page.on('request', (request) => requests.push(request.url()));
});

after(() => browser.close());

const bytes = (latin1) => Uint8Array.from(latin1, (c) => c.charCodeAt(0));
const asText = (latin1) => new TextDecoder().decode(bytes(latin1));

async function open(hash = '') {
  await page.goto('about:blank');
  await page.goto(PAGE + hash);
  await page.getByRole('status').filter({ hasText: /^step \d+ of \d+$/ }).waitFor();
}

// A run in the page, by its own machinery: the records, in order.
function runInPage(program, text) {
  return page.evaluate(([name, input]) => globalThis.listprograms.runProgram(name, input)
    .then((run) => run.records), [program, text]);
}

test('every row of the tables gives the native bytes; the steps are native --trace\'s', async () => {
  await open();
  const rows = JSON.parse(execFileSync('python3', [`${process.env.TABLES}/web/rows.py`]).toString());
  assert.ok(rows.length > 90);
  for (const row of rows) {
    const records = await runInPage(row.program, asText(row.stdin));
    const out = records.filter((r) => 'out' in r).map((r) => r.out).join('');
    assert.equal(out, row.stdout, row.name);
    if (!existsSync(`${NATIVE}/${row.program}`)) continue;
    const native = execFileSync(`${NATIVE}/${row.program}`, ['--trace'], { input: bytes(row.stdin) })
      .toString('latin1').split('\n').filter(Boolean).map((line) => JSON.parse(line));
    // posremove's key wait is a step in the page, where no key is waited
    // for; natively, with no terminal, there is no wait.
    const wait = (r) => 'step' in r && r.caption.startsWith('waitForKey();');
    const steps = (list) => list.filter((r) => ('step' in r || 'source' in r) && !wait(r));
    assert.deepEqual(steps(records), steps(native), row.name);
    assert.equal(records.some(wait), row.program === 'posremove', row.name);
  }
});

test('the parts by their accessible names, the output pane, the keys and the slider', async () => {
  await open();
  await page.getByRole('combobox', { name: 'Program' }).selectOption('parityfive');
  await page.getByRole('textbox', { name: 'Input' }).fill('3\n4\n10\n7\n\n');
  await page.getByRole('button', { name: 'Run' }).click();
  const status = page.getByRole('status');
  await assert.doesNotReject(status.filter({ hasText: 'step 1 of 15' }).waitFor());
  const figure = page.locator('figure');
  assert.equal(await figure.getByRole('img').getAttribute('aria-label'),
    'head → NULL; tail NULL; beside the list: 3, made, held by node, next NULL');
  assert.equal(await figure.locator('figcaption').textContent(),
    '-- IntNode* node = newIntNode(toInt32(line)); // 3 was typed');
  const source = page.getByRole('region', { name: 'Source' });
  assert.equal(await source.locator('h2').textContent(), 'intlist/intlist.cpp');
  assert.equal(await source.locator('[aria-current="step"]').textContent(),
    '  35    IntNode* node = newIntNode(toInt32(line));');
  for (const [key, shown] of [['ArrowRight', 2], ['j', 3], [' ', 4], ['b', 3], ['ArrowLeft', 2],
    ['k', 1], ['End', 15], ['Home', 1], ['G', 15], ['g', 1], ['n', 2], ['n', 3], ['n', 4]]) {
    await page.keyboard.press(key === ' ' ? 'Space' : key);
    assert.equal(await status.textContent(), `step ${shown} of 15`, key);
  }
  await page.getByRole('slider', { name: 'Step' }).fill('14');
  assert.equal(await status.textContent(), 'step 14 of 15');
  // The row's text in document order is the list, and the link just set
  // has a second cue besides its colour.
  assert.equal(await figure.locator('svg .row').evaluate((row) => [...row.querySelectorAll('text')]
    .map((text) => text.textContent).join(' ')), '4 3 7 NULL');
  for (const [button, shown] of [['First', 1], ['Next', 2], ['Last', 15], ['Back', 14]]) {
    await page.getByRole('button', { name: button }).click();
    assert.equal(await status.textContent(), `step ${shown} of 15`);
  }
  const output = page.getByRole('region', { name: 'Output' }).locator('pre');
  assert.equal(await output.textContent(), 'Input integer value or ENTER\ninputed spisok first -> last\n   10    4    3    7\n');
  await page.getByRole('button', { name: 'Last' }).click();
  assert.equal(await output.textContent(), 'Input integer value or ENTER\ninputed spisok first -> last\n   10    4    3    7\nSpisok after include\n    4    3    7\n');
  await page.getByRole('button', { name: 'First' }).click();
  for (let n = 0; n < 9; ++n) await page.keyboard.press('ArrowRight');
  assert.equal(await figure.locator('text.set').count(), 1);
  assert.equal(await figure.locator('.arrow.linked').count(), 1);
});

test('a line added reruns and shows its first step; a shared address opens that step', async () => {
  await open('#program=fifolist&input=1%0A2%0A&step=1');
  assert.equal(await page.getByRole('combobox', { name: 'Program' }).inputValue(), 'fifolist');
  const input = page.getByRole('textbox', { name: 'Input' });
  await input.focus();
  await page.keyboard.press('End');
  await input.press('Control+End');
  await page.keyboard.type('3\n');
  await page.locator('figcaption').filter({ hasText: '// 3 was typed' }).waitFor();
  const shared = await page.evaluate(() => location.hash);
  await page.goto('about:blank');
  await open(shared);
  assert.equal(await page.locator('figcaption').textContent(), '-- node = newIntNode(toInt32(line)); // 3 was typed');
  assert.equal(await page.getByRole('textbox', { name: 'Input' }).inputValue(), '1\n2\n3\n');
});

test('markup typed as input stays characters; past 10,000 lines nothing runs; the SVG downloads', async () => {
  await open('#program=hashstar&input=%3Cimg%20src%3Dx%20onerror%3Dalert(1)%3E%0A&step=1');
  assert.equal(await page.locator('img').count(), 0);
  assert.match(await page.locator('figure svg .row').textContent(), /^<img' 'src=x' 'onerror=alert\(1\)>NULL$/);
  const input = page.getByRole('textbox', { name: 'Input' });
  const shown = await page.getByRole('status').textContent();
  const many = '1\n'.repeat(10000);
  await input.evaluate((box, text) => {
    box.value = text;
    box.dispatchEvent(new Event('input'));
  }, many);
  await page.getByRole('button', { name: 'Run' }).click();
  assert.match(await page.getByRole('alert').textContent(), /10001 lines: at most 10000 run/);
  assert.equal(await input.inputValue(), many);
  assert.equal(await page.getByRole('status').textContent(), shown);
  // The download last: the page takes no more commands after it.
  const download = page.waitForEvent('download');
  await page.getByRole('button', { name: 'Download SVG' }).click();
  const file = readFileSync(await (await download).path()).toString();
  assert.match(file, /^<svg[^>]* xmlns="http:\/\/www.w3.org\/2000\/svg"/);
  assert.match(file, /<text[^>]*>&lt;<\/text>/);
});

test('no request leaves the page, and it runs in an iframe', async () => {
  assert.deepEqual(requests.filter((url) => !url.startsWith('file:') && !url.startsWith('blob:')
    && !url.startsWith('data:') && url !== 'about:blank'), []);
  const framed = await browser.newPage();
  const course = join(mkdtempSync(join(tmpdir(), 'course-')), 'course.html');
  writeFileSync(course, `<h1>A course page</h1><iframe src="${PAGE}" width="900" height="700"></iframe>`);
  await framed.goto(pathToFileURL(course).href);
  await framed.frameLocator('iframe').getByRole('status').filter({ hasText: /^step 1 of 15$/ }).waitFor();
  await framed.close();
});

test('speed: the chooser within 2 s, 2,000 values to their first step within 1 s, a key within a frame', async () => {
  const { chooser, run, key } = await import('./speed.mjs').then((m) => m.measure(browser, PAGE));
  assert.ok(chooser < 2000, `chooser ${chooser} ms`);
  assert.ok(run < 1000, `2,000 values ${run} ms`);
  assert.ok(key <= 16, `a key ${key} ms at the median`);
});
