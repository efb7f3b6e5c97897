// The chart page fills its window and follows it: a resized window gives the study a resized
// chart, the settings lie over the chart without resizing it, and the server refuses absurd
// sizes.
import {test, before, after} from 'node:test';
import assert from 'node:assert/strict';
import {startChart, launchBrowser, openChart, shownView, pageFrame, waitForFittedChart, askPage} from './harness.mjs';

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

const titleBox = (page) => page.locator('#chart svg text', {hasText: 'ORDINEL'}).first().evaluate((t) => {
  const box = t.getBBox();
  return {x: box.x, y: box.y};
});

test('the chart fills the window and follows its resizing, and the study draws for the new size', async () => {
  const {page, problems} = await openChart(browser.context, chart.url);
  const sizes = [{width: 1700, height: 1000}, {width: 1100, height: 640}, {width: 1900, height: 1060}];
  let previous = null;
  for (const size of sizes) {
    await page.setViewportSize(size);
    const fitted = await waitForFittedChart(page);
    const name = `${size.width}x${size.height}`;
    // The box takes the window's width and most of its height; the picture is drawn at its size.
    assert.ok(fitted.width >= size.width - 2 && fitted.height > size.height * 0.6, `${name}: ${JSON.stringify(fitted)}`);
    const frame = await pageFrame(page);
    const view = await shownView(page);
    assert.equal(view.last, frame.barCount - 1, `${name}: the latest bar stays in view`);
    const count = view.last - view.first + 1;
    assert.equal(count, Math.min(Math.floor((frame.region.right - frame.region.left - frame.rightMargin) / frame.barSpacing), frame.barCount),
                 `${name}: as many bars as the new width holds`);
    const title = await titleBox(page);
    if (previous) {
      assert.notEqual(count, previous.count, `${name}: a new width shows another number of bars`);
      // The panel hangs from the first visible bar: had the study not been called for the new
      // range, its title would sit where that bar now is.
      assert.ok(Math.abs(title.x - previous.title.x) < 20, `${name}: the study drew its panel for the new range`);
    }
    assert.ok(title.y < frame.height, `${name}: the panel lies inside the new height`);
    previous = {count, title};
  }
  assert.deepEqual(problems, []);
  await page.close();
});

test('the settings open over the chart without resizing it, grouped by section with what each input takes', async () => {
  const {page, problems} = await openChart(browser.context, chart.url);
  const fitted = await waitForFittedChart(page);
  await page.click('#settings-button');
  const after = await page.$eval('#chart', (box) => ({width: box.clientWidth, height: box.clientHeight}));
  assert.deepEqual(after, fitted, 'the chart box keeps its size');
  assert.equal(Number(await page.getAttribute('#chart svg', 'width')), fitted.width, 'and so does the picture');
  const settingsBox = await page.locator('#settings').boundingBox();
  const chartBox = await page.locator('#chart').boundingBox();
  assert.ok(settingsBox.x > chartBox.x && settingsBox.x + settingsBox.width <= chartBox.x + chartBox.width,
            'the settings lie over the chart');

  const sections = await page.$$eval('#inputs fieldset > legend', (legends) => legends.map((l) => l.textContent));
  assert.deepEqual(sections, ['Service and symbol', 'Research and alerts', 'Levels and zones', 'Maps and profiles',
                              'Panel', 'Core expirations', 'Chart and log']);
  const rows = await page.$$eval('#inputs .setting', (settings) => settings.map((row) => ({
    label: row.querySelector('label').textContent,
    section: row.closest('fieldset').querySelector('legend').textContent,
    takes: row.querySelector('.takes')?.textContent ?? null,
  })));
  const cases = [
    ['Refresh interval (seconds)', 'Service and symbol', 'Takes 180 to 3600'],
    ['Panel line spacing (% of chart height)', 'Panel', 'Takes 0.5 to 12'],
    ['Panel anchor', 'Panel', 'One of: Top left; Top right; Bottom left; Bottom right'],
    ['API base URL', 'Service and symbol', "Takes a service URL (blank: the study's own)"],
    ['GEX heatmap over the chart (net gamma per strike)', 'Maps and profiles', null],
    ['Draw Max Pain', 'Levels and zones', null],
    ['Verbose Message Log', 'Chart and log', null],
  ];
  for (const [label, section, takes] of cases) {
    const row = rows.find((r) => r.label === label);
    assert.ok(row, label);
    assert.equal(row.section, section, `${label}: section`);
    assert.equal(row.takes, takes, `${label}: what it takes`);
  }
  assert.equal(rows.length, 77, 'every input once');
  assert.deepEqual(problems, []);
  await page.close();
});

// The bounds themselves are the server's unit tests'; here the page's route to them.
test('a size outside the bounds is refused with the bounds, and the chart keeps its size', async () => {
  const {page, problems} = await openChart(browser.context, chart.url);
  const fitted = await waitForFittedChart(page);
  const reply = await askPage(page, '/api/size', {width: '100000', height: '100000'});
  assert.deepEqual(reply, {status: 400, text: 'a chart size needs width and height as whole pixels from 320x200 to 7680x4320'});
  const frame = await pageFrame(page);
  assert.deepEqual({width: frame.width, height: frame.height}, fitted);
  // The browser notes the refusal it was sent; nothing else went wrong.
  assert.deepEqual(problems.filter((p) => !p.includes('status of 400 (Bad Request)')), []);
  await page.close();
});
