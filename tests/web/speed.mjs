// The page's speed in headless chromium, for the page test's goals and the
// benchmark's rows: the chooser shown after opening, 2,000 values run to
// their first step, and the median of 200 keys to the next step laid out
// (ms).
//   node speed.mjs PAGE_FILE   (prints the three as JSON)
import { pathToFileURL } from 'node:url';

export async function measure(browser, url) {
  const page = await browser.newPage();
  const started = Date.now();
  await page.goto(url);
  await page.getByRole('combobox', { name: 'Program' }).waitFor();
  const chooser = Date.now() - started;
  await page.getByRole('status').filter({ hasText: /^step 1 of/ }).waitFor();
  const values = Array.from({ length: 2000 }, (_, n) => `${n + 1}\n`).join('') + '\n';
  const run = await page.evaluate(async (input) => {
    const started = performance.now();
    document.getElementById('program').value = 'fifolist';
    document.getElementById('input').value = input;
    document.getElementById('run').click();
    const status = document.getElementById('status');
    while (!/^step 1 of 5999$/.test(status.textContent)) await new Promise((done) => setTimeout(done, 1));
    return performance.now() - started;
  }, values);
  const key = await page.evaluate(async () => {
    const times = [];
    for (let n = 0; n < 200; ++n) {
      const started = performance.now();
      document.dispatchEvent(new KeyboardEvent('keydown', { key: 'ArrowRight', bubbles: true }));
      void document.body.offsetHeight; // laid out: ready to be painted
      times.push(performance.now() - started);
    }
    times.sort((a, b) => a - b);
    return times[100];
  });
  await page.close();
  return { chooser, run: Math.round(run), key: Math.round(key * 10) / 10 };
}

if (process.argv[1] && import.meta.url === pathToFileURL(process.argv[1]).href) {
  const { chromium } = await import('playwright-core');
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run'],
  });
  console.log(JSON.stringify(await measure(browser, pathToFileURL(process.argv[2]).href)));
  await browser.close();
}
