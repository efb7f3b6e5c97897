// The levels' past on the page: switched on with the "Level history" toggle, the call wall's
// earlier value stays on the chart as a faint step after the next levels answer moves the wall.
// The session's clock runs fast (--clock-rate) so that the study's refresh comes within seconds,
// and bars arrive at a pace, so that the study writes the wall at each new bar.
import {test, after} from 'node:test';
import assert from 'node:assert/strict';
import {startChart, startService, sampleAnswers, legacyAnswer, launchBrowser, openChart,
        waitForChartText} from './harness.mjs';

const FEAR_ORIGIN = 'https://query1.finance.yahoo.com';
const CALL_WALL_COLOUR = '#73f0b0';
const cleanups = [];
after(async () => {
  for (const cleanup of cleanups.reverse()) await cleanup();
});

// The distinct rows of the faint horizontal lines drawn in the call wall's colour.
function stepRows(page) {
  return page.$$eval(`#chart svg line[stroke="${CALL_WALL_COLOUR}"][stroke-opacity="0.45"]`, (lines) => {
    const rows = lines.filter((l) => l.getAttribute('y1') === l.getAttribute('y2')).map((l) => l.getAttribute('y1'));
    return [...new Set(rows)];
  });
}

test('the history steps appear after a level moves', async () => {
  // The first two answers put the call wall at 21483.75, among the bars' prices; every later one is the sample's 21862.50.
  const first = legacyAnswer();
  first.display_levels.call_wall = 21483.75;
  const answers = sampleAnswers({'first_answer.json': JSON.stringify(first)});
  cleanups.push(async () => answers.remove());
  const service = await startService(answers.dir, ['--fault', 'levels=file=first_answer.json,count=2']);
  cleanups.push(service.stop);
  const browser = await launchBrowser();
  cleanups.push(browser.close);
  const chart = await startChart(['--origin', service.origin, '--route', `${FEAR_ORIGIN}=${service.origin}`,
                                  '--set', 'Snapshot mode=Dynamic (live)', '--clock-rate', '30', '--pace', '0.4']);
  cleanups.push(chart.stop);

  const {page, problems} = await openChart(browser.context, chart.url);
  await waitForChartText(page, (t) => t === '21483.75');
  assert.deepEqual(await stepRows(page), [], 'no steps while the toggle is off');
  assert.equal(await page.isChecked('#history-toggle'), false);

  await page.check('#history-toggle');
  await page.waitForFunction((colour) => document.querySelector(
      `#chart svg line[stroke="${colour}"][stroke-opacity="0.45"]`) !== null, CALL_WALL_COLOUR, {timeout: 30_000});
  // The sample service has no history paths: the status says so, and the page goes on.
  await page.waitForFunction(() => /none from \/history/.test(document.getElementById('history-status').textContent),
                             null, {timeout: 30_000});

  // The sample's wall lies beyond the bars' prices: its edge marker names it.
  await waitForChartText(page, (t) => t.startsWith('21862.50'), 60_000);
  // The bars that traded against the old wall keep it; the next bar takes the new one.
  await page.waitForFunction((colour) => {
    const rows = [...document.querySelectorAll(`#chart svg line[stroke="${colour}"][stroke-opacity="0.45"]`)]
        .filter((l) => l.getAttribute('y1') === l.getAttribute('y2')).map((l) => l.getAttribute('y1'));
    return new Set(rows).size >= 2;
  }, CALL_WALL_COLOUR, {timeout: 30_000});
  assert.equal(await page.isChecked('#history-toggle'), true, 'the toggle follows the frames');

  await page.uncheck('#history-toggle');
  await page.waitForFunction((colour) => document.querySelector(
      `#chart svg line[stroke="${colour}"][stroke-opacity="0.45"]`) === null, CALL_WALL_COLOUR, {timeout: 30_000});
  assert.deepEqual(problems, []);
});
