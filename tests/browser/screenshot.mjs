// Makes the README's picture of the chart page: the embedded default served by
// `ordinel chart --serve`, opened in Debian's headless Chromium with the pointer resting on a
// bar, so that the crosshair and the bar's readout show.
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
  await page.setViewportSize({width: 1600, height: 900});
  await waitForChartText(page, (t) => t.includes('CW - Call Wall'));
  const box = await page.locator('#chart').boundingBox();
  await page.mouse.move(box.x + box.width * 0.62, box.y + box.height * 0.45);
  await page.waitForTimeout(300);
  await page.screenshot({path: out, fullPage: true});
  console.log(`wrote ${out}`);
} finally {
  await browser.close();
  await chart.stop();
}
