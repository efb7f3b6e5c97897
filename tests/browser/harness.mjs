// Shared by the browser tests and the screenshot script: starts `ordinel chart --serve` (and,
// when a test needs one, the sample levels service) on loopback, and Debian's Chromium
// headless through playwright-core. Nothing here downloads a browser.
import {spawn} from 'node:child_process';
import {mkdtempSync, rmSync, readdirSync, copyFileSync, writeFileSync, readFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {chromium} from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
export const repoRoot = path.resolve(here, '..', '..');
export const program = process.env.ORDINEL_PROGRAM ?? path.join(repoRoot, 'build', 'bin', 'ordinel');
const chromiumPath = process.env.ORDINEL_CHROMIUM ?? '/usr/bin/chromium';
const STARTUP_MS = 60_000;

// Without the background-networking flags Chromium reaches out on its own, which this
// machine's closed network refuses.
const chromiumFlags = [
  '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync',
];

// Runs `ordinel ARGS...` until a line of its standard output matches `ready`; resolves with
// the match, the process and its output so far. Rejects when it exits or takes too long.
function startProgram(args, ready) {
  return new Promise((resolve, reject) => {
    const child = spawn(program, args, {stdio: ['ignore', 'pipe', 'pipe']});
    let output = '';
    const timer = setTimeout(() => {
      child.kill('SIGTERM');
      reject(new Error(`ordinel ${args.join(' ')} did not get ready:\n${output}`));
    }, STARTUP_MS);
    const onData = (chunk) => {
      output += chunk;
      const match = output.match(ready);
      if (match) {
        clearTimeout(timer);
        resolve({match, child, output: () => output});
      }
    };
    child.stdout.setEncoding('utf8').on('data', onData);
    child.stderr.setEncoding('utf8').on('data', (chunk) => { output += chunk; });
    child.on('exit', (code) => {
      clearTimeout(timer);
      reject(new Error(`ordinel ${args.join(' ')} ended with ${code}:\n${output}`));
    });
  });
}

function stopper(child) {
  return () => new Promise((resolve) => {
    if (child.exitCode !== null) return resolve(child.exitCode);
    child.removeAllListeners('exit');
    child.on('exit', (code) => resolve(code));
    child.kill('SIGINT');
  });
}

// `ordinel chart --serve --port 0 ARGS...`: {url, port, stop(), output()}.
export async function startChart(args = []) {
  const started = await startProgram(['chart', '--serve', '--port', '0', ...args], /Serving the chart at (http:\/\/127\.0\.0\.1:(\d+)\/)/);
  return {url: started.match[1], port: Number(started.match[2]), stop: stopper(started.child), output: started.output};
}

// `ordinel service --port 0 --data DIR ARGS...`: {origin, stop()}.
export async function startService(dataDir, args = []) {
  const started = await startProgram(['service', '--port', '0', '--data', dataDir, ...args], /listening on (http:\/\/127\.0\.0\.1:\d+)/);
  return {origin: started.match[1], stop: stopper(started.child)};
}

// A scratch copy of the sample answers with `extra` files (name -> text) beside them.
export function sampleAnswers(extra = {}) {
  const dir = mkdtempSync(path.join(tmpdir(), 'ordinel-answers-'));
  const source = path.join(repoRoot, 'data', 'answers');
  for (const name of readdirSync(source)) copyFileSync(path.join(source, name), path.join(dir, name));
  for (const [name, text] of Object.entries(extra)) writeFileSync(path.join(dir, name), text);
  return {dir, remove: () => rmSync(dir, {recursive: true, force: true})};
}

// The plain sample levels answer as an object, to be changed and written back by a test.
export function legacyAnswer() {
  return JSON.parse(readFileSync(path.join(repoRoot, 'data', 'answers', 'legacy.json'), 'utf8'));
}

// Headless Chromium with a fresh profile: {context, close()}.
export async function launchBrowser() {
  const profile = mkdtempSync(path.join(tmpdir(), 'ordinel-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath,
    headless: true,
    args: chromiumFlags,
    viewport: {width: 1700, height: 1000},
  });
  return {
    context,
    close: async () => {
      await context.close();
      rmSync(profile, {recursive: true, force: true});
    },
  };
}

// Opens the chart page and waits for its first frame. `problems` collects script errors,
// console errors and dialogs, which no test expects.
export async function openChart(context, url) {
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`console: ${message.text()}`);
  });
  page.on('dialog', async (dialog) => {
    problems.push(`dialog: ${dialog.message()}`);
    await dialog.dismiss();
  });
  await page.goto(url);
  await page.waitForSelector('#chart svg');
  return {page, problems};
}

// The texts of the chart's SVG, in document order.
export function chartTexts(page) {
  return page.$$eval('#chart svg text', (texts) => texts.map((t) => t.textContent));
}

// Waits until some chart text satisfies `test`; resolves with that text.
export async function waitForChartText(page, test, timeout = 30_000) {
  const deadline = Date.now() + timeout;
  for (;;) {
    const found = (await chartTexts(page)).find(test);
    if (found !== undefined) return found;
    if (Date.now() > deadline) throw new Error('no chart text as expected; texts:\n' + (await chartTexts(page)).join('\n'));
    await page.waitForTimeout(100);
  }
}

// The page's current view of the bars: {first, last, version}.
export function shownView(page) {
  return page.$eval('#chart', (chart) => ({
    first: Number(chart.dataset.first), last: Number(chart.dataset.last), version: Number(chart.dataset.version),
  }));
}

// The server's current frame, as the page gets it.
export function pageFrame(page) {
  return page.evaluate(async () => (await fetch('/api/frame')).json());
}

// Waits until the picture is drawn at the size of its box; resolves with that size.
export async function waitForFittedChart(page) {
  await page.waitForFunction(() => {
    const box = document.getElementById('chart');
    const svg = box.querySelector('svg');
    return svg && Number(svg.getAttribute('width')) === box.clientWidth &&
        Number(svg.getAttribute('height')) === box.clientHeight;
  });
  return page.$eval('#chart', (box) => ({width: box.clientWidth, height: box.clientHeight}));
}

// Posts `fields` to `path` from the page, with its token: {status, text}.
export function askPage(page, path, fields) {
  return page.evaluate(async ({path, fields}) => {
    const token = document.querySelector('meta[name="ordinel-token"]').content;
    const response = await fetch(path, {method: 'POST', headers: {'X-Ordinel-Token': token}, body: new URLSearchParams(fields)});
    return {status: response.status, text: (await response.text()).trim()};
  }, {path, fields});
}
