// Makes the README's picture of the chart page: the embedded default served by
// `ordinel chart --serve`, opened in Debian's headless Chromium with the settings shown.
// Usage: node tests/browser/screenshot.mjs OUT.png  (scripts/screenshot.sh runs it)
import {startChart, launchBrowser, openChart, waitForChartText} from './harness.mjs';

const out = process.argv[2];
if (!out) {
  console.error('usage: node tests/browser/screenshot.mjs OUT.png');
  process.exit(2);
}
const chart = await startChart(['--pace', '0']);
const browser = await launchBrowser();
try {
  const {page} = await openChart(browser.context, chart.url);
  await waitForChartText(page, (t) => t.startsWith('CW - Call Wall'));
  await page.click('#settings-button');
  await page.locator('[data-label="Draw Max Pain"]').scrollIntoViewIfNeeded();
  await page.waitForTimeout(300);
  await page.screenshot({path: out, fullPage: true});
  console.log(`wrote ${out}`);
} finally {
  await browser.close();
  await chart.stop();
}
