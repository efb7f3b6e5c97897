// The page follows the session by itself: a new levels answer that moves the call wall, and
// bars that arrive at their pace. The session's clock runs fast (--clock-rate) so that the
// study's 180-second refresh comes within seconds.
import {test, after} from 'node:test';
import assert from 'node:assert/strict';
import {startChart, startService, sampleAnswers, legacyAnswer, launchBrowser, openChart, chartTexts,
        waitForChartText} from './harness.mjs';

const FEAR_ORIGIN = 'https://query1.finance.yahoo.com';
const cleanups = [];
after(async () => {
  for (const cleanup of cleanups.reverse()) await cleanup();
});

test('the page updates by itself when the next levels answer moves the call wall', async () => {
  // The first two answers put the call wall at 21712.50; every later one is the sample's 21862.50.
  const first = legacyAnswer();
  first.display_levels.call_wall = 21712.5;
  const answers = sampleAnswers({'first_answer.json': JSON.stringify(first)});
  cleanups.push(async () => answers.remove());
  const service = await startService(answers.dir, ['--fault', 'levels=file=first_answer.json,count=2']);
  cleanups.push(service.stop);
  const browser = await launchBrowser();
  cleanups.push(browser.close);
  // 30 times as fast: the study asks again every 6 s, so the moved wall comes 12 s after the
  // first answer, time enough for the page to show the first one before.
  const chart = await startChart(['--origin', service.origin, '--route', `${FEAR_ORIGIN}=${service.origin}`,
                                  '--set', 'Snapshot mode=Dynamic (live)', '--clock-rate', '30', '--pace', '0']);
  cleanups.push(chart.stop);

  const {page, problems} = await openChart(browser.context, chart.url);
  // Both walls lie beyond the candles' prices: their markers at the top edge say their price.
  await waitForChartText(page, (t) => t.startsWith('21712.50  CW'));
  const firstAnswer = await page.textContent('#last-answer');
  await page.evaluate(() => { window.sameDocument = true; });

  await waitForChartText(page, (t) => t.startsWith('21862.50  CW'), 60_000);
  assert.ok(!(await chartTexts(page)).some((t) => t.startsWith('21712.50')), 'the old call wall is gone');
  assert.notEqual(await page.textContent('#last-answer'), firstAnswer, 'the time of the last answer moved on');
  assert.equal(await page.evaluate(() => window.sameDocument), true, 'no reload');
  assert.deepEqual(problems, []);
});

test('paced bars arrive one by one while the page is open', async () => {
  const chart = await startChart(['--pace', '0.3']);
  cleanups.push(chart.stop);
  const browser = await launchBrowser();
  cleanups.push(browser.close);
  const {page, problems} = await openChart(browser.context, chart.url);
  const count = async () => Number((await page.textContent('#bars')).match(/of (\d+)$/)[1]);
  const start = await count();
  assert.ok(start < 200, `the chart starts with part of the bars (${start})`);
  await page.waitForFunction((n) => Number(document.getElementById('bars').textContent.match(/of (\d+)$/)[1]) >= n + 3, start);
  assert.deepEqual(problems, []);
});
