// The served chart read as drawn by the browser: no two level labels overlap and none crosses a
// candle; dragging the price axis scales the prices and a double click fits them again.
import {test, before, after} from 'node:test';
import assert from 'node:assert/strict';
import {startChart, launchBrowser, openChart} from './harness.mjs';

let chart;
let browser;

before(async () => {
  chart = await startChart(['--pace', '0']);
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  await chart?.stop();
});

// The boxes the browser gives the labels (texts of the label and marker groups) and the candles.
function drawnBoxes(page) {
  return page.evaluate(() => {
    const box = (element) => {
      const r = element.getBoundingClientRect();
      return {left: r.left, top: r.top, right: r.right, bottom: r.bottom, text: element.textContent};
    };
    const within = (selector) => [...document.querySelectorAll(selector)].map(box);
    return {
      labels: within('#chart svg g.level-labels text, #chart svg g.edge-markers text'),
      candles: within('#chart svg g.candles rect, #chart svg g.candles line'),
    };
  });
}

// The price axis's tick labels (its texts but the bold price tags).
function axisTicks(page) {
  return page.$$eval('#chart svg g.price-axis text', (texts) =>
    texts.filter((t) => !t.hasAttribute('font-weight')).map((t) => t.textContent));
}

const SLACK = 0.5;  // pixels of anti-aliased edge two boxes may share
const overlap = (a, b) => a.left + SLACK < b.right && b.left + SLACK < a.right && a.top + SLACK < b.bottom && b.top + SLACK < a.bottom;

test('no two level labels overlap and none crosses a candle', async () => {
  const {page, problems} = await openChart(browser.context, chart.url);
  const {labels, candles} = await drawnBoxes(page);
  assert.ok(labels.some((l) => l.text.startsWith('GF - Gamma Flip')), `the gamma flip's label: ${labels.map((l) => l.text)}`);
  assert.ok(candles.length > 0, 'candles drawn');
  for (let i = 0; i < labels.length; ++i) {
    for (let j = i + 1; j < labels.length; ++j) {
      assert.ok(!overlap(labels[i], labels[j]), `'${labels[i].text}' overlaps '${labels[j].text}'`);
    }
    const crossed = candles.find((c) => overlap(labels[i], c));
    assert.equal(crossed, undefined, `'${labels[i].text}' crosses a candle`);
  }
  assert.deepEqual(problems, []);
  await page.close();
});

test('a drag on the price axis scales the prices and a double click fits them again', async () => {
  const {page, problems} = await openChart(browser.context, chart.url);
  const fitted = await axisTicks(page);
  const svg = await page.locator('#chart svg').boundingBox();
  const region = await page.locator('#chart svg clipPath rect').first().boundingBox();
  const x = region.x + region.width + (svg.x + svg.width - region.x - region.width) / 2;
  const y = region.y + region.height / 2;
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x, y + 150, {steps: 6});
  await page.mouse.up();
  await page.waitForFunction((before) => {
    const ticks = [...document.querySelectorAll('#chart svg g.price-axis text')]
        .filter((t) => !t.hasAttribute('font-weight')).map((t) => t.textContent);
    return JSON.stringify(ticks) !== before;
  }, JSON.stringify(fitted), {timeout: 30_000});
  const squeezed = await axisTicks(page);
  const span = (ticks) => Math.abs(Number(ticks[0]) - Number(ticks[ticks.length - 1]));
  assert.ok(span(squeezed) > span(fitted), `dragging down shows more prices: ${fitted} then ${squeezed}`);

  await page.mouse.dblclick(x, y);
  await page.waitForFunction((before) => {
    const ticks = [...document.querySelectorAll('#chart svg g.price-axis text')]
        .filter((t) => !t.hasAttribute('font-weight')).map((t) => t.textContent);
    return JSON.stringify(ticks) === before;
  }, JSON.stringify(fitted), {timeout: 30_000});
  assert.deepEqual(problems, []);
  await page.close();
});
