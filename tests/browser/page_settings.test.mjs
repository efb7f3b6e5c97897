// The study's settings dialog on the page: each kind of input, the ranges it enforces, and
// the subgraph colours, applied as the platform applies a settings change.
import {test, before, after} from 'node:test';
import assert from 'node:assert/strict';
import {startChart, launchBrowser, openChart, chartTexts, waitForChartText} from './harness.mjs';

let chart;
let browser;

before(async () => {
  chart = await startChart(['--pace', '0', '--set', 'Draw Max Pain=Yes']);
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  await chart?.stop();
});

async function openSettings() {
  const opened = await openChart(browser.context, chart.url);
  await opened.page.click('#settings-button');
  return opened;
}

const control = (page, label) => page.locator(`[data-label="${label}"]`);

test('every declared input has the control its kind calls for, first to last', async () => {
  const {page, problems} = await openSettings();
  const rows = await page.$$eval('#inputs .setting', (settings) => settings.map((row) => {
    const input = row.querySelector('input, select');
    return {label: row.querySelector('label').textContent, tag: input.localName, type: input.type,
            min: input.min, max: input.max, options: input.localName === 'select' ? input.options.length : 0};
  }));
  const row = (label) => rows.find((r) => r.label === label);
  assert.equal(rows[0].label, 'API base URL');
  assert.equal(rows.at(-1).label, 'Verbose Message Log');
  assert.equal(rows.length, 77);
  const cases = [
    ['Draw Max Pain', {tag: 'input', type: 'checkbox'}],
    ['Refresh interval (seconds)', {tag: 'input', type: 'number', min: '180', max: '3600'}],
    ['Panel line spacing (% of chart height)', {tag: 'input', type: 'number', min: '0.5', max: '12'}],
    ['API base URL', {tag: 'input', type: 'text'}],
    ['Panel anchor', {tag: 'select', options: 4}],
  ];
  for (const [label, expected] of cases) {
    const found = row(label);
    assert.ok(found, label);
    for (const [key, value] of Object.entries(expected)) assert.equal(found[key], value, `${label}: ${key}`);
  }
  assert.ok((await page.$$('#colours input[type=color]')).length > 10, 'a colour per subgraph');
  assert.deepEqual(problems, []);
  await page.close();
});

test('switching Draw Max Pain off removes the max-pain line', async () => {
  const {page, problems} = await openSettings();
  await waitForChartText(page, (t) => t.startsWith('MP - Max Pain'));
  // The price tags are the axis's bold texts; its tick labels may read the same price.
  const tags = () => page.$$eval('#chart svg g.price-axis text[font-weight]', (texts) => texts.map((t) => t.textContent));
  assert.ok((await tags()).includes('21450.00'), 'its value in the price scale');
  await control(page, 'Draw Max Pain').uncheck();
  await page.waitForFunction(() => ![...document.querySelectorAll('#chart svg text')]
      .some((t) => t.textContent.startsWith('MP - Max Pain')));
  assert.ok(!(await tags()).includes('21450.00'), 'no price-scale flag either');
  assert.ok((await chartTexts(page)).some((t) => t.startsWith('GF - Gamma Flip')), 'the other levels stay');
  await control(page, 'Draw Max Pain').check();
  await waitForChartText(page, (t) => t.startsWith('MP - Max Pain'));
  assert.deepEqual(problems, []);
  await page.close();
});

test('a choice moves the panel and a colour repaints its subgraph', async () => {
  const {page, problems} = await openSettings();
  const titleX = async () => Number(await page.locator('#chart svg text', {hasText: 'ORDINEL'}).first().getAttribute('x'));
  assert.ok((await titleX()) < 100);
  await control(page, 'Panel anchor').selectOption('Top right');
  await page.waitForFunction(() => {
    const title = [...document.querySelectorAll('#chart svg text')].find((t) => t.textContent.includes('ORDINEL'));
    return title && Number(title.getAttribute('x')) > 600;
  });
  await control(page, 'Panel anchor').selectOption('Top left');

  await page.locator('#colour-0').fill('#ff00ff');  // the Call Wall subgraph
  await page.waitForFunction(() => [...document.querySelectorAll('#chart svg line')]
      .some((line) => line.getAttribute('stroke') === '#ff00ff'));
  assert.deepEqual(problems, []);
  await page.close();
});

test('a number outside its range is refused with the reason and changes nothing', async () => {
  const {page, problems} = await openSettings();
  const refresh = control(page, 'Refresh interval (seconds)');
  await refresh.fill('60');
  await refresh.press('Enter');
  await page.waitForFunction(() => document.querySelector('#inputs [role=alert]:not(:empty)'));
  assert.equal(await page.textContent('#inputs [role=alert]:not(:empty)'),
               'input "Refresh interval (seconds)" takes 180 to 3600, got \'60\'');
  const frame = await (await fetch(new URL('/api/frame', chart.url))).json();
  assert.equal(frame.inputs.find((i) => i.label === 'Refresh interval (seconds)').value, '180');
  assert.deepEqual(problems.filter((p) => !p.includes('400')), []);
  await page.close();
});
