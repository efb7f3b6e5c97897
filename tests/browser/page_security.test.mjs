// The page's server is safe by default: it answers only to its own host names, takes changes
// only from its own page with its token, shows hostile texts as text, runs only its own
// script, and refuses bad requests with a reason and no change.
import {test, before, after} from 'node:test';
import assert from 'node:assert/strict';
import http from 'node:http';
import {startChart, startService, sampleAnswers, legacyAnswer, launchBrowser, openChart, chartTexts,
        waitForChartText} from './harness.mjs';

const HOSTILE = '<img src=x onerror=alert(1)>';
let service;
let answers;
let chart;
let browser;

before(async () => {
  // Every levels answer carries a hostile label.
  const hostile = legacyAnswer();
  hostile.points_of_interest.focus_1.label = HOSTILE;
  hostile.points_of_interest.focus_1.short_label = HOSTILE;
  answers = sampleAnswers({'hostile.json': JSON.stringify(hostile)});
  service = await startService(answers.dir, ['--fault', 'levels=file=hostile.json']);
  chart = await startChart(['--origin', service.origin, '--route', `https://query1.finance.yahoo.com=${service.origin}`,
                            '--pace', '0']);
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  await chart?.stop();
  await service?.stop();
  answers?.remove();
});

// A raw request, so that Host, Origin and every other header are exactly as given.
function request(method, path, headers = {}, body = '') {
  return new Promise((resolve, reject) => {
    const sent = http.request({host: '127.0.0.1', port: chart.port, method, path,
                               headers: {'Content-Length': Buffer.byteLength(body), ...headers}}, (response) => {
      let text = '';
      response.setEncoding('utf8').on('data', (chunk) => { text += chunk; });
      response.on('end', () => resolve({status: response.statusCode, headers: response.headers, text: text.trim()}));
    });
    sent.on('error', reject);
    sent.end(body);
  });
}

async function pageToken() {
  const page = await request('GET', '/', {Host: `127.0.0.1:${chart.port}`});
  return page.text.match(/name="ordinel-token" content="([0-9a-f]{32})"/)[1];
}

async function inputValue(label) {
  const frame = JSON.parse((await request('GET', '/api/frame', {Host: `127.0.0.1:${chart.port}`})).text);
  return frame.inputs.find((i) => i.label === label).value;
}

const FORM = 'application/x-www-form-urlencoded';

test('a hostile label from the service is shown as text and runs nothing', async () => {
  const {page, problems} = await openChart(browser.context, chart.url);
  await waitForChartText(page, (t) => t.includes(HOSTILE));
  // The label taken as markup anywhere would leave an element behind the moment the frame is
  // shown: one that loads something, or one with a handler to run.
  const made = await page.evaluate(() => ({
    loading: document.querySelectorAll('img, image, iframe, object, embed, audio, video').length,
    handlers: [...document.querySelectorAll('*')].filter((e) => e.getAttributeNames().some((n) => n.startsWith('on')))
        .map((e) => e.outerHTML),
    scripts: [...document.scripts].map((s) => s.getAttribute('src')),
  }));
  assert.deepEqual(made, {loading: 0, handlers: [], scripts: ['/chart_pointer.js', '/page.js']});
  assert.deepEqual(problems, [], 'no dialog, no error');
  await page.close();
});

test('a state-changing request from another origin gets 403 and changes nothing', async () => {
  const token = await pageToken();
  const before = await inputValue('Draw Max Pain');
  const foreign = await request('POST', '/api/input', {
    Host: `127.0.0.1:${chart.port}`, Origin: 'http://evil.example', 'X-Ordinel-Token': token, 'Content-Type': FORM,
  }, 'label=Draw+Max+Pain&value=Yes');
  assert.equal(foreign.status, 403);
  assert.equal(foreign.text, 'requests are taken only from the chart page\'s own origin');

  // A page of another origin in the browser: its form posts without a token.
  const attacker = http.createServer((req, res) => {
    res.setHeader('Content-Type', 'text/html');
    res.end(`<form id="f" method="POST" action="http://127.0.0.1:${chart.port}/api/input">` +
            '<input name="label" value="Draw Max Pain"><input name="value" value="Yes"></form>' +
            '<script>document.getElementById("f").submit()</script>');
  });
  await new Promise((resolve) => attacker.listen(0, '127.0.0.1', resolve));
  try {
    const page = await browser.context.newPage();
    const answered = page.waitForResponse((r) => r.url().endsWith('/api/input'));
    await page.goto(`http://127.0.0.1:${attacker.address().port}/`);
    assert.equal((await answered).status(), 403);
    await page.close();
  } finally {
    attacker.close();
  }
  assert.equal(await inputValue('Draw Max Pain'), before);
});

test('requests naming another host are refused, so a rebound name reaches nothing', async () => {
  for (const host of ['rebound.example:' + chart.port, '127.0.0.1', '127.0.0.1:1', 'localhost.example:' + chart.port]) {
    const answer = await request('GET', '/api/frame', {Host: host});
    assert.equal(answer.status, 403, host);
    assert.ok(!answer.text.includes('"svg"'), host);
  }
  assert.equal((await request('GET', '/', {Host: `localhost:${chart.port}`})).status, 200);
});

test('the page runs only its own script', async () => {
  const answer = await request('GET', '/', {Host: `127.0.0.1:${chart.port}`});
  const policy = answer.headers['content-security-policy'];
  assert.match(policy, /script-src 'self'/);
  assert.match(policy, /default-src 'none'/);
  assert.equal(answer.headers['x-content-type-options'], 'nosniff');
  const {page} = await openChart(browser.context, chart.url);
  await page.evaluate(() => {
    const script = document.createElement('script');
    script.textContent = 'window.inlineRan = true';
    document.body.append(script);
  });
  assert.equal(await page.evaluate(() => window.inlineRan), undefined);
  await page.close();
});

test('bad requests get a 4xx with a short reason and change nothing', async () => {
  const token = await pageToken();
  const own = {Host: `127.0.0.1:${chart.port}`, Origin: `http://127.0.0.1:${chart.port}`, 'X-Ordinel-Token': token,
               'Content-Type': FORM};
  const before = JSON.parse((await request('GET', '/api/frame', {Host: own.Host})).text);
  const cases = [
    ['no token', 'POST', '/api/input', {...own, 'X-Ordinel-Token': ''}, 'label=Draw+Max+Pain&value=Yes', 403],
    ['unknown input', 'POST', '/api/input', own, 'label=Nothing&value=1', 400],
    ['value the input does not take', 'POST', '/api/input', own, 'label=Draw+Max+Pain&value=maybe', 400],
    ['broken escape', 'POST', '/api/input', own, 'label=Draw%2', 400],
    ['press outside the chart', 'POST', '/api/press', own, 'x=5000&y=10', 400],
    ['view backwards', 'POST', '/api/view', own, 'first=50&last=10', 400],
    ['colour of no subgraph', 'POST', '/api/colour', own, 'number=99&colour=%23ffffff', 400],
    ['json body', 'POST', '/api/input', {...own, 'Content-Type': 'application/json'}, '{}', 415],
    ['put', 'PUT', '/api/input', own, 'label=Draw+Max+Pain&value=Yes', 405],
    ['unknown path', 'POST', '/api/nothing', own, '', 404],
    ['too large', 'POST', '/api/input', own, 'label=' + 'x'.repeat(20000), 413],
  ];
  for (const [name, method, path, headers, body, status] of cases) {
    const answer = await request(method, path, headers, body);
    assert.equal(answer.status, status, name);
    assert.ok(answer.text.length > 0 && answer.text.length < 120, `${name}: "${answer.text}"`);
  }
  const after = JSON.parse((await request('GET', '/api/frame', {Host: own.Host})).text);
  assert.deepEqual(after.inputs, before.inputs);
  assert.deepEqual(after.visible, before.visible);
  assert.deepEqual(after.subgraphs, before.subgraphs);
});
