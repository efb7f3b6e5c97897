// What the chart answers besides clicks: the crosshair's readouts, the level under the pointer,
// the keyboard and the button back to the latest bar. On bars that swing through the call wall,
// so that it lies among the candles whatever the price scale holds.
import {test, before, after} from 'node:test';
import assert from 'node:assert/strict';
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {startChart, launchBrowser, openChart, waitForChartText, shownView, pageFrame, waitForFittedChart, repoRoot} from './harness.mjs';

let chart;
let browser;
let scratch;

// The bundled bars' times, with prices swinging between 21480 and 21880.
function swingingBars() {
  const lines = readFileSync(path.join(repoRoot, 'data', 'scenarios', 'nqz25_bars.csv'), 'utf8').trim().split('\n');
  const rows = lines.slice(1).map((line, i) => {
    const open = 21680 + 200 * Math.sin(i / 12);
    const close = 21680 + 200 * Math.sin((i + 1) / 12);
    const high = Math.max(open, close) + 3;
    const low = Math.min(open, close) - 3;
    return [line.split(',')[0], ...[open, high, low, close].map((p) => (Math.round(p * 4) / 4).toFixed(2))].join(',');
  });
  return [lines[0], ...rows].join('\n') + '\n';
}

before(async () => {
  scratch = mkdtempSync(path.join(tmpdir(), 'ordinel-pointer-'));
  writeFileSync(path.join(scratch, 'bars.csv'), swingingBars());
  chart = await startChart(['--pace', '0', '--bars', path.join(scratch, 'bars.csv')]);
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  await chart?.stop();
  rmSync(scratch, {recursive: true, force: true});
});

// The page's pixel of chart pixel (x, y).
async function screenPoint(page, frame, x, y) {
  const box = await page.locator('#chart svg').boundingBox();
  return {x: box.x + x * box.width / frame.width, y: box.y + y * box.height / frame.height};
}

const rowOf = (scale, price) => scale.top + (scale.high - price) / (scale.high - scale.low) * (scale.bottom - scale.top);
const text = (page, id) => page.$eval(id, (element) => (element.hidden ? null : element.textContent));

async function readyPage() {
  const opened = await openChart(browser.context, chart.url);
  await waitForChartText(opened.page, (t) => t.startsWith('CW - Call Wall'));
  await waitForFittedChart(opened.page);
  return {...opened, frame: await pageFrame(opened.page)};
}

test('the crosshair reads out the bar under the pointer and the price and time on the axes', async () => {
  const {page, problems, frame} = await readyPage();
  const {region, barSpacing, priceScale: scale} = frame;
  const cases = [0.2, 0.5, 0.9].map((share) => Math.floor(frame.bars.length * share));
  for (const offset of cases) {
    const [time, open, high, low, close] = frame.bars[offset];
    const x = region.left + offset * barSpacing + barSpacing / 2;
    const y = Math.round(rowOf(scale, (high + low) / 2));
    const point = await screenPoint(page, frame, x, y);
    await page.mouse.move(point.x, point.y);
    const name = `bar ${frame.visible.first + offset}`;
    const readout = await text(page, '#ohlc');
    assert.ok(readout.startsWith(`O ${open.toFixed(2)}  H ${high.toFixed(2)}  L ${low.toFixed(2)}  C ${close.toFixed(2)}`),
              `${name}: ${readout}`);
    assert.equal(await text(page, '#time-tag'), time.slice(0, 16), name);
    const price = Number(await text(page, '#price-tag'));
    const pricePerRow = (scale.high - scale.low) / (scale.bottom - scale.top);
    assert.ok(Math.abs(price - (high + low) / 2) <= 1.5 * pricePerRow + 0.01, `${name}: price tag ${price}`);
  }
  // Over the price axis the crosshair gives way.
  const axis = await screenPoint(page, frame, region.right + 20, (region.top + region.bottom) / 2);
  await page.mouse.move(axis.x, axis.y);
  assert.equal(await text(page, '#ohlc'), null);
  assert.equal(await text(page, '#price-tag'), null);
  assert.deepEqual(problems, []);
  await page.close();
});

test('hovering the call wall names it with its price and distance from the last price', async () => {
  const {page, problems, frame} = await readyPage();
  const wall = frame.levels.find((level) => level.name.startsWith('CW - Call Wall'));
  assert.ok(wall, 'the call wall is among the levels');
  const y = rowOf(frame.priceScale, wall.price);
  assert.ok(y > frame.region.top && y < frame.region.bottom, `the call wall lies inside the plot: ${y}`);
  const x = (frame.region.left + frame.region.right) / 2;
  for (const [offset, shown] of [[0, true], [2, true], [12, false]]) {
    const point = await screenPoint(page, frame, x, y + offset);
    await page.mouse.move(point.x, point.y);
    const tip = await text(page, '#level-tip');
    if (!shown) {
      assert.ok(tip === null || !tip.startsWith('CW'), `${offset} px off: ${tip}`);
      continue;
    }
    const distance = wall.price - frame.lastPrice;
    assert.equal(tip, `${wall.name}\n${wall.price.toFixed(2)}  ${distance >= 0 ? '+' : ''}${distance.toFixed(2)} ` +
                      `from the last price ${frame.lastPrice.toFixed(2)}`, `${offset} px off`);
  }
  assert.deepEqual(problems, []);
  await page.close();
});

test('the keyboard scrolls, zooms and jumps, and the button goes back to the latest bar', async () => {
  const {page, problems, frame} = await readyPage();
  const latest = frame.barCount - 1;
  const waitForView = (check, arg = null) => page.waitForFunction(check, arg, {timeout: 15_000});
  const count = (view) => view.last - view.first + 1;

  await page.keyboard.press('Home');
  await waitForView(() => document.getElementById('chart').dataset.first === '0');
  assert.equal(await page.isVisible('#latest-button'), true, 'away from the latest bar the button shows');
  const atStart = await shownView(page);

  await page.keyboard.press('ArrowRight');
  await waitForView(() => document.getElementById('chart').dataset.first !== '0');
  const scrolled = await shownView(page);
  assert.equal(count(scrolled), count(atStart), 'a scroll keeps the zoom');
  assert.equal(scrolled.first, Math.max(1, Math.round(count(atStart) / 10)), 'a tenth of the view');

  await page.keyboard.press('+');
  await waitForView((n) => Number(document.getElementById('chart').dataset.last) -
                           Number(document.getElementById('chart').dataset.first) + 1 < n, count(scrolled));
  const zoomedIn = await shownView(page);
  assert.equal(zoomedIn.last, scrolled.last, 'zooming keeps the last visible bar');

  await page.keyboard.press('-');
  await waitForView((n) => Number(document.getElementById('chart').dataset.last) -
                           Number(document.getElementById('chart').dataset.first) + 1 > n, count(zoomedIn));

  await page.click('#latest-button');
  await waitForView((last) => Number(document.getElementById('chart').dataset.last) === last, latest);
  await page.waitForSelector('#latest-button', {state: 'hidden'});

  await page.keyboard.press('Home');
  await waitForView(() => document.getElementById('chart').dataset.first === '0');
  await page.keyboard.press('End');
  await waitForView((last) => Number(document.getElementById('chart').dataset.last) === last, latest);

  // Keys typed into the settings stay there: a Home that reached the chart would have moved the
  // view to the start before the arrow that follows it, outside the settings.
  await page.click('#settings-button');
  const before = await shownView(page);
  await page.locator('[data-label="Top strikes count"]').press('Home');
  await page.click('#settings-button');
  await page.keyboard.press('ArrowLeft');
  const step = Math.max(1, Math.round(count(before) / 10));
  await waitForView((first) => Number(document.getElementById('chart').dataset.first) !== first, before.first);
  assert.equal((await shownView(page)).first, before.first - step, 'only the arrow moved the view');
  assert.deepEqual(problems, []);
  await page.close();
});
