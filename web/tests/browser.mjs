// The page in headless Chromium, opened from disk: its reports against the
// native program's one-shot output for a handful of seas and swells, both
// charts drawn, bad entries answered beside their fields, no sideways
// scrolling on a phone, and no request beyond the page's own file.
// Screenshots at phone and desktop size are left in the artifact folder.
// Usage: node browser.mjs SITE/index.html NATIVE_PROGRAM ARTIFACT_DIR
import {execFileSync} from 'node:child_process';
import {mkdirSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const {chromium} = await import(
    pathToFileURL(join(here, '../../node_modules/playwright-core/index.mjs')).href);

const [pagePath, native, artifacts] = process.argv.slice(2);
const pageUrl = pathToFileURL(resolve(pagePath)).href;
mkdirSync(artifacts, {recursive: true});

let passed = 0;
let failed = 0;
function check(ok, what, detail) {
  if (ok) {
    ++passed;
    console.log(`ok   ${what}`);
  } else {
    ++failed;
    console.log(`FAIL ${what}${detail ? '\n' + detail : ''}`);
  }
}

// The native program's one-shot output, one character per byte as the page
// shows it.
function nativeRun(args) {
  return execFileSync(native, args, {stdio: ['ignore', 'pipe', 'pipe']})
      .toString('latin1');
}

function firstDifference(a, b) {
  const la = a.split('\n');
  const lb = b.split('\n');
  const i = la.findIndex((line, k) => line !== lb[k]);
  return i < 0 && la.length === lb.length ? '' :
      `  line ${i + 1}:\n  page:   ${JSON.stringify(lb[i])}\n  native: ${
          JSON.stringify(la[i])}`;
}

const profile = mkdtempSync(join(tmpdir(), 'morvel-chromium-'));
// A fresh profile each run; without the background-networking switches
// Chromium would reach for its vendor's hosts on its own.
const context = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium',
  headless: true,
  viewport: {width: 390, height: 844},
  args: [
    '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
    '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync',
  ],
});
const requests = [];
context.on('request', (request) => requests.push(request.url()));
const page = context.pages()[0] || await context.newPage();
const pageErrors = [];
page.on('pageerror', (error) => pageErrors.push(error.message));
page.on('console', (message) => {
  if (message.type() === 'error') pageErrors.push(message.text());
});

// Presses the form's button and waits until its results have been redrawn.
async function runAndWait(form) {
  const results = `#${form}-results`;
  const before = Number(await page.getAttribute(results, 'data-runs') || 0);
  await page.click(`#${form}-run`);
  await page.waitForFunction(
      ([id, b]) => Number(document.querySelector(id).dataset.runs || 0) > b,
      [results, before], {timeout: 10000});
}

try {
  await page.goto(pageUrl);
  await page.waitForSelector('body[data-ready="true"]', {timeout: 30000});

  const labelled = await page.$$eval('input', (inputs) =>
      inputs.filter((i) => i.labels.length === 0).map((i) => i.id));
  check(labelled.length === 0, 'every input has a visible label', labelled.join(', '));
  check(await page.isVisible('text=not safe for navigation'),
        'the not-safe-for-navigation notice is visible');

  // Wind seas: [wind, duration, fetch, depth, current, relative, expected status]
  const seas = [
    ['20', '10', '100', '10', '0', false, 'ok'],
    ['20', '10', '100', '10', '-8', false, 'blocked'],
    ['100', '30', '500', '50', '0', false, null],
    ['20', '10', '100', '10', '-3', true, null],
    ['8', '5', '20', '2', '1.5', false, null],
  ];
  const reportTimes = [];
  const totalTimes = [];
  for (const [wind, duration, fetch, depth, current, relative, status] of seas) {
    const label = `windsea ${wind} ${duration} ${fetch} ${depth} ${current}` +
        (relative ? ' --relative' : '');
    await page.fill('#wind', wind);
    await page.fill('#duration', duration);
    await page.fill('#fetch', fetch);
    await page.fill('#depth', depth);
    await page.fill('#current', current);
    await page.setChecked('#relative', relative);
    await runAndWait('windsea');
    const args = ['windsea', wind, duration, fetch, depth, current];
    if (relative) args.push('--relative');
    const expected = nativeRun(args);
    const shown = await page.textContent('#windsea-report');
    check(shown === expected, `${label}: the report is the program's`,
          firstDifference(expected, shown));
    reportTimes.push(Number(await page.getAttribute('#windsea-results', 'data-report-ms')));
    totalTimes.push(Number(await page.getAttribute('#windsea-results', 'data-total-ms')));

    const json = JSON.parse(nativeRun([...args, '--format', 'json']));
    if (status) {
      check(json.status === status, `${label}: the sea is ${status}`, json.status);
    }
    const hc = await page.textContent('#glance-hc');
    const hcExpected = json.wave.height_m === null ? 'none' :
        json.wave.height_m.toFixed(1) + ' m';
    check(hc === hcExpected, `${label}: Hc at a glance`, `${hc} vs ${hcExpected}`);
    const sick = json.sea_sickness_percent === null ? 'none' : `${json.sea_sickness_percent} %`;
    check(await page.textContent('#glance-sick') === sick,
          `${label}: sea-sickness probability at a glance`);
    const warnings = await page.$$eval('#windsea-warnings li', (li) => li.map((e) => e.textContent));
    check(JSON.stringify(warnings) === JSON.stringify(json.warnings.map((w) => w.text)),
          `${label}: the warnings are shown`, JSON.stringify(warnings));
    const notes = await page.$$eval('#windsea-notes li', (li) => li.map((e) => e.textContent));
    check(JSON.stringify(notes) === JSON.stringify(json.notes.map((n) => n.text)),
          `${label}: the adjusted entries are said`, JSON.stringify(notes));
    if (wind === '100') {
      check(notes.length > 0, `${label}: the compressed wind is said in words`);
    }

    // Both charts drawn: a canvas with a fair share of painted pixels, and
    // the growth chart's 200 durations.
    for (const id of ['development-chart', 'growth-chart']) {
      const painted = await page.$eval(`#${id}`, (div) => {
        const canvas = div.querySelector('canvas');
        if (!canvas) return 0;
        const data = canvas.getContext('2d')
                         .getImageData(0, 0, canvas.width, canvas.height).data;
        let n = 0;
        for (let i = 3; i < data.length; i += 4) n += data[i] > 0 ? 1 : 0;
        return n;
      });
      check(painted > 2000, `${label}: #${id} is drawn`, `${painted} pixels painted`);
    }
    const points = Number(await page.getAttribute('#growth-chart', 'data-points'));
    check(points >= 200 && points <= 201, `${label}: growth over 1 to 200 hours`, String(points));
  }

  // Swells: [period, height, outcome]
  for (const [period, height, outcome] of [['10', '3', 'inside'], ['10', '0.5', 'below'],
                                           ['10', '12', 'above']]) {
    const label = `swell ${period} ${height}`;
    await page.fill('#period', period);
    await page.fill('#height', height);
    await runAndWait('swell');
    const expected = nativeRun(['swell', period, height]);
    const shown = await page.textContent('#swell-report');
    check(shown === expected, `${label}: the report is the program's`,
          firstDifference(expected, shown));
    const json = JSON.parse(nativeRun(['swell', period, height, '--format', 'json']));
    check(json.outcome === outcome, `${label}: outcome ${outcome}`, json.outcome);
    const summary = await page.textContent('#swell-summary');
    check(summary.includes(`Beaufort ${json.beaufort}`) &&
              summary.includes(`${json.distance_shown_km} km`),
          `${label}: wind field in words`, summary);
  }

  // Bad entries: marked, answered beside the field, the results kept.
  const reportBefore = await page.textContent('#windsea-report');
  for (const [id, text, hint] of [['duration', '10,5', 'point'], ['fetch', '', 'number'],
                                  ['wind', 'abc', 'digits']]) {
    await page.fill('#wind', '20');
    await page.fill('#duration', '10');
    await page.fill('#fetch', '100');
    await page.fill(`#${id}`, text);
    await page.click('#windsea-run');
    const invalid = await page.getAttribute(`#${id}`, 'aria-invalid');
    const message = await page.textContent(`#${id}-error`);
    check(invalid === 'true' && message.includes(hint),
          `bad entry ${JSON.stringify(text)} in #${id}: marked and answered`,
          `aria-invalid=${invalid}, message ${JSON.stringify(message)}`);
    check(await page.textContent('#windsea-report') === reportBefore,
          `bad entry ${JSON.stringify(text)} in #${id}: previous report kept`);
  }
  // Numbers the page takes but the engine refuses: the command line's
  // reason beside the field it names.
  await page.fill('#duration', '10');
  await page.fill('#fetch', '100');
  await page.fill('#wind', '0');
  await page.click('#windsea-run');
  await page.waitForFunction(() => document.getElementById('wind-error').textContent !== '');
  check(await page.getAttribute('#wind', 'aria-invalid') === 'true' &&
            (await page.textContent('#wind-error')).includes('raises no sea'),
        'a calm wind of 0 kt: marked with the reason',
        await page.textContent('#wind-error'));
  check(await page.textContent('#windsea-report') === reportBefore,
        'a calm wind of 0 kt: previous report kept');
  await page.fill('#period', '0.05');
  await page.click('#swell-run');
  await page.waitForFunction(() => document.getElementById('period-error').textContent !== '');
  check(await page.getAttribute('#period', 'aria-invalid') === 'true',
        'a swell period of 0.05 s: marked', await page.textContent('#period-error'));
  await page.fill('#period', 'ten');
  await page.click('#swell-run');
  check(await page.getAttribute('#period', 'aria-invalid') === 'true',
        'bad entry "ten" in #period: marked');
  // Corrected entries, and the worked example on screen for the pictures.
  for (const [id, value] of [['wind', '20'], ['duration', '10'], ['fetch', '100'],
                             ['depth', '10'], ['current', '0']]) {
    await page.fill(`#${id}`, value);
  }
  await page.setChecked('#relative', false);
  await runAndWait('windsea');
  check(await page.getAttribute('#wind', 'aria-invalid') === null,
        'a corrected entry is no longer marked');
  await page.fill('#period', '10');
  await page.fill('#height', '3');
  await runAndWait('swell');
  check(await page.getAttribute('#period', 'aria-invalid') === null &&
            await page.textContent('#period-error') === '',
        'a corrected period is no longer marked');

  // Fits a phone; screenshots at phone and desktop size.
  const widths = await page.evaluate(() => [document.documentElement.scrollWidth,
                                            window.innerWidth]);
  check(widths[0] <= widths[1], 'no sideways scrolling at 390 px', widths.join(' > '));
  await page.screenshot({path: join(artifacts, 'page-390x844.png'), fullPage: true});
  await page.setViewportSize({width: 1280, height: 800});
  await page.waitForTimeout(200);
  await page.screenshot({path: join(artifacts, 'page-1280x800.png'), fullPage: true});

  check(pageErrors.length === 0, 'no script errors', pageErrors.join('\n'));
  const outside = requests.filter((url) => url !== pageUrl);
  check(outside.length === 0, 'no request beyond the page itself', outside.join('\n'));
  for (const [what, times] of [['report', reportTimes],
                                ['report with both charts', totalTimes]]) {
    times.sort((a, b) => a - b);
    console.log(`${what} in the browser: median ${
        times[times.length >> 1].toFixed(1)} ms, longest ${
        times[times.length - 1].toFixed(1)} ms`);
  }
} catch (error) {
  check(false, 'the browser session ran to its end', error.stack);
} finally {
  await context.close();
  rmSync(profile, {recursive: true, force: true});
}

console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
