// The chart page on the embedded default: what it shows, a press on the panel, and scrolling
// and zooming with the mouse.
import {test, before, after} from 'node:test';
import assert from 'node:assert/strict';
import {mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {startChart, launchBrowser, openChart, chartTexts, waitForChartText, shownView} from './harness.mjs';

const PANEL_STATE = 'Panel state (managed by the panel buttons)';
let chart;
let browser;
let scratch;

before(async () => {
  scratch = mkdtempSync(path.join(tmpdir(), 'ordinel-view-'));
  chart = await startChart(['--pace', '0', '--chart-file', path.join(scratch, 'chart.json')]);
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  await chart?.stop();
  rmSync(scratch, {recursive: true, force: true});
});

test('the page shows the chart: call wall label, panel, time axis, last answer and log', async () => {
  const {page, problems} = await openChart(browser.context, chart.url);
  const texts = await chartTexts(page);
  // Beyond the candles' prices: its marker at the top edge, with its price.
  assert.ok(texts.some((t) => t.startsWith('21862.50  CW - Call Wall')), 'the call wall label');
  assert.ok(texts.some((t) => t.includes('ORDINEL')), 'the panel title');
  assert.ok(texts.some((t) => /^\d\d:\d\d$/.test(t)), 'hours on the time axis');
  assert.match(await page.textContent('#last-answer'), /^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d New York \(HTTP 200\)$/);
  assert.equal(await page.textContent('#connection'), 'live');
  assert.deepEqual(problems, []);
  await page.close();
});

test('pressing Fold folds the panel, the settings read the folded state and the chart file keeps it', async () => {
  const {page, problems} = await openChart(browser.context, chart.url);
  await page.click('#settings-button');
  const state = page.locator(`[data-label="${PANEL_STATE}"]`);
  const unfolded = await state.inputValue();
  assert.doesNotMatch(unfolded, /c1/);

  await page.locator('#chart svg text', {hasText: 'Fold'}).first().click();
  await waitForChartText(page, (t) => t.includes('[Expand]'));
  assert.ok(!(await chartTexts(page)).some((t) => /^\s+CW\s+21862\.50/.test(t)), 'a folded panel lists no levels');
  await page.waitForFunction(({label, before}) => {
    const input = document.querySelector(`[data-label="${label}"]`);
    return input && input.value !== before;
  }, {label: PANEL_STATE, before: unfolded});
  const folded = await state.inputValue();
  assert.match(folded, /c1/);
  assert.deepEqual(problems, []);
  await page.close();

  // Ctrl-C saves what the page changed, as with --live.
  assert.equal(await chart.stop(), 0);
  const saved = JSON.parse(readFileSync(path.join(scratch, 'chart.json'), 'utf8'));
  assert.equal(saved.inputs[PANEL_STATE], folded);
  chart = await startChart(['--pace', '0', '--chart-file', path.join(scratch, 'chart.json')]);
  const reopened = await openChart(browser.context, chart.url);
  await waitForChartText(reopened.page, (t) => t.includes('[Expand]'));
  await reopened.page.close();
});

test('the wheel zooms and a drag scrolls the bars, and the study draws for the new range', async () => {
  const {page, problems} = await openChart(browser.context, chart.url);
  const box = await page.locator('#chart svg').boundingBox();
  const titleX = async () => Number(await page.locator('#chart svg text', {hasText: 'ORDINEL'}).first().getAttribute('x'));
  const before = await shownView(page);
  const beforeTitle = await titleX();

  await page.mouse.move(box.x + box.width * 0.5, box.y + box.height * 0.5);
  await page.mouse.wheel(0, -300);
  await page.waitForFunction((count) => {
    const chart = document.getElementById('chart');
    return Number(chart.dataset.last) - Number(chart.dataset.first) + 1 < count;
  }, before.last - before.first + 1);
  const zoomed = await shownView(page);
  assert.ok(zoomed.first > before.first, `zoomed in around the middle: ${JSON.stringify([before, zoomed])}`);
  // The panel hangs from the first visible bar: drawn at the old bars it would have left the chart.
  assert.ok(Math.abs((await titleX()) - beforeTitle) < 20, 'the study drew its panel for the zoomed range');

  await page.mouse.move(box.x + box.width * 0.5, box.y + box.height * 0.5);
  await page.mouse.down();
  await page.mouse.move(box.x + box.width * 0.5 + 240, box.y + box.height * 0.5, {steps: 8});
  await page.mouse.up();
  await page.waitForFunction((first) => Number(document.getElementById('chart').dataset.first) < first, zoomed.first);
  const scrolled = await shownView(page);
  assert.equal(scrolled.last - scrolled.first, zoomed.last - zoomed.first, 'a drag keeps the zoom');
  assert.deepEqual(problems, []);
  await page.close();
});
