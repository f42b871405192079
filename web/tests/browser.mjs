// The page in headless Chromium at a phone's 390 px, opened from disk: its
// reports against the native program's one-shot output for a handful of
// seas and swells, one call of the engine per report (and one sweep of the
// durations for the growth chart), its figures the native program's JSON
// member for member and the growth its batch's floats, entries in other
// units as the native program's unit options take them, heights and
// lengths in feet, every figure with its meaning, the results brought
// into view and announced, warnings and missing waves said in words, both
// charts drawn with heights from zero and legends without placeholders,
// entries the program refuses answered beside their fields in the
// program's words, the decimal pad on the number fields, Tab's order, the
// last entries remembered, the sea scale's bands, dark mode, no sideways
// scrolling at 390 and 320 px, and no request beyond the page's own file.
// Then the site served over HTTP from a small server: the manifest and
// its icons, Chromium's installability, the service worker keeping every
// file, an offline reload that still computes, and the note of a newer
// version. Screenshots are left in the artifact folder; the time of a
// report with both charts drawn is printed.
// Usage: node browser.mjs SITE/index.html NATIVE_PROGRAM ARTIFACT_DIR
import {execFileSync, spawnSync} from 'node:child_process';
import {existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {createServer} from 'node:http';
import {tmpdir} from 'node:os';
import {dirname, extname, join, resolve} from 'node:path';
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

// The native program's JSON (UTF-8) for ARGS, refused or not.
function nativeJson(args) {
  const run = spawnSync(native, [...args, '--format', 'json'],
                        {stdio: ['ignore', 'pipe', 'pipe']});
  return JSON.parse(run.stdout.toString('utf8'));
}

function firstDifference(a, b) {
  const la = a.split('\n');
  const lb = b.split('\n');
  const i = la.findIndex((line, k) => line !== lb[k]);
  return i < 0 && la.length === lb.length ? '' :
      `  line ${i + 1}:\n  page:   ${JSON.stringify(lb[i])}\n  native: ${
          JSON.stringify(la[i])}`;
}

// Debian's Chromium on a fresh profile, phone-sized; without the
// background-networking switches it would reach for its vendor's hosts on
// its own.
function launchChromium(profileDir) {
  return chromium.launchPersistentContext(profileDir, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    viewport: {width: 390, height: 844},
    args: [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
      '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync',
    ],
  });
}

const profile = mkdtempSync(join(tmpdir(), 'morvel-chromium-'));
const context = await launchChromium(profile);
const requests = [];
context.on('request', (request) => requests.push(request.url()));
// Every computation the page asks of the engine (a case, or a sweep of one
// entry), with its arguments, counted outside the page's own script: the
// engine module is wrapped as it loads.
await context.addInitScript(() => {
  window.morvelCalls = [];
  let factory;
  Object.defineProperty(window, 'createMorvel', {
    configurable: true,
    get: () => factory,
    set(original) {
      factory = (...options) => original(...options).then((module) => {
        const text = (pointer) => {
          const heap = module.HEAPU8;
          let end = pointer;
          while (heap[end] !== 0) ++end;
          return new TextDecoder().decode(heap.slice(pointer, end));
        };
        // The module replaces an export on its first call: that goes
        // behind the counting wrapper, which stays.
        const count = (name, describe) => {
          let f = module[name];
          const counted = (...args) => {
            window.morvelCalls.push(describe(...args));
            return f(...args);
          };
          Object.defineProperty(module, name, {
            configurable: true,
            get: () => counted,
            set: (g) => { f = g; },
          });
        };
        count('_morvel_case', (command, texts, units, relative) =>
          ({call: 'case', command, texts: text(texts).split('\n'),
            units: text(units).split('\n'), relative}));
        count('_morvel_sweep', (entry, from, to) => ({call: 'sweep', entry, from, to}));
        return module;
      });
    },
  });
});
// What a reader should see in place of a figure the model cannot give, and
// the severity each warning code is said with.
const noWavesWords = (json) => (json.status !== 'blocked' ? 'no height from the model'
  : json.current_kt < 0 ? 'no waves pass against this current'
                        : 'no wave fits this depth and current');
const severityOf = {
  capsizing: 'danger', hazardous_breakers: 'danger', grounding: 'danger',
  critical_sea_state: 'warning', dangerous_shoal_waves: 'warning',
  breaking_waves: 'warning', unpleasant_shoal_waves: 'caution',
  some_breaking_waves: 'caution',
};
const severityRank = {danger: 0, warning: 1, caution: 2};
// The program's markers and shouting, which belong in its report only.
const rawMarker = /[>#$@]{2}|!!|\?\?|WARNING|DANGER|\u00F5/;

const page = context.pages()[0] || await context.newPage();
const pageErrors = [];
page.on('pageerror', (error) => pageErrors.push(error.message));
page.on('console', (message) => {
  if (message.type() === 'error') pageErrors.push(message.text());
});

// The engine calls made since the last look, each as its argument list.
const takeCalls = () => page.evaluate(() => window.morvelCalls.splice(0));

// The text on the page outside the program's reports (and the scripts).
const pageWords = () => page.evaluate(() => {
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  let text = '';
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    if (!node.parentElement.closest('pre, script, style')) text += node.data + '\n';
  }
  return text;
});

// Where the results' heading sits in the window after a run, where their
// box ends, and how far the page has scrolled. In view: the heading near
// the top of the window, or (at the end of the page, which scrolls no
// further) the whole box in the window.
const placeOf = (form) => page.evaluate((id) => ({
  top: document.getElementById(`${id}-title`).getBoundingClientRect().top,
  bottom: document.getElementById(id).getBoundingClientRect().bottom,
  height: window.innerHeight,
  scrolled: window.scrollY,
  focused: document.activeElement.id,
}), `${form}-results`);
const inView = (place) => place.scrolled > 0 && place.top >= -1 &&
    (place.top < place.height / 4 || place.bottom <= place.height);

// A drawn chart as the reader sees it: its scales, where 10 h falls on a
// duration axis (as a share of the plot's width), its legend's text.
const chartState = (id) => page.$eval(`#${id}`, (div) => {
  const u = div.plot;
  if (!u) return null;
  return {
    yMin: u.scales.y.min,
    xMin: u.scales.x.min,
    xMax: u.scales.x.max,
    tenHours: u.valToPos(10, 'x') / u.over.clientWidth,
    legend: div.querySelector('.u-legend') ? div.querySelector('.u-legend').innerText : '',
  };
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

  // The decimal pad on every number field; the current, whose minus sign a
  // decimal pad may lack, has a button that turns its sign.
  const modes = await page.$$eval('input[type="text"]', (inputs) =>
      inputs.map((i) => [i.id, i.inputMode]));
  check(modes.length === 7 && modes.every(([, mode]) => mode === 'decimal'),
        'every number field opens the decimal pad', JSON.stringify(modes));
  const signs = [];
  for (const typedCurrent of ['2.5', '-1', '\u22123', '']) {
    await page.fill('#current', typedCurrent);
    await page.click('#current-sign');
    const once = await page.inputValue('#current');
    await page.click('#current-sign');
    signs.push([typedCurrent, once, await page.inputValue('#current')]);
  }
  check(JSON.stringify(signs) === JSON.stringify([['2.5', '-2.5', '2.5'], ['-1', '1', '-1'],
                                                  ['\u22123', '3', '-3'], ['', '-', '']]),
        'the sign button turns the current against the wind and back',
        JSON.stringify(signs));
  check(await page.$eval('#current-sign', (b) => b.getAttribute('aria-label') !== null &&
                                                 b.type === 'button'),
        'the sign button is named and does not send the form');

  // The sea scale's bands: the smallest height in whole centimetres that
  // reaches each number, from the rule whole part of 3 h^0.41 + 0.2, at
  // most 9, turned round: h = ((n - 0.2) / 3)^(1 / 0.41).
  const bandRows = await page.$$eval('#sea-scale-table tbody tr', (rows) =>
      rows.map((r) => [...r.children].map((c) => c.textContent.trim())));
  const bounds = [0];
  for (let n = 1; n <= 9; ++n) {
    bounds.push(Math.ceil(((n - 0.2) / 3) ** (1 / 0.41) * 100) / 100);
  }
  const expectedBands = bounds.map((b, n) => [String(n), `${b === 0 ? '0' : b.toFixed(2)} m`,
                                              n < 9 ? `${bounds[n + 1].toFixed(2)} m` : 'and higher']);
  check(JSON.stringify(bandRows) === JSON.stringify(expectedBands),
        'the sea scale\'s bands in a table', JSON.stringify(bandRows));
  check(await page.isVisible('#sea-scale-table') &&
            /this program.s own sea scale/.test(await page.textContent('#sea-scale')),
        'the sea scale named as this program\'s own, its table visible');
  const exactBounds = bounds.map((b, n) => (n === 0 ? 0 : ((n - 0.2) / 3) ** (1 / 0.41)));
  const band = (h) => exactBounds.findLastIndex((b) => h >= b);

  // Every figure at a glance says what it is in a line of its own; the
  // longer meanings behind a disclosure, steepness's 0.06 and 0.1, Hmax and
  // the sea scale among them.
  const tiles = await page.$$eval('.glance > div', (divs) => divs.map((d) => ({
    name: d.querySelector('dt').textContent,
    meaning: (d.querySelector('dd.meaning') || {}).textContent || '',
  })));
  check(tiles.length === 8 && tiles.every((t) => t.meaning.trim().split(/\s+/).length >= 4),
        'each figure at a glance says what it is', JSON.stringify(tiles));
  const meanings = await page.$$eval('#meanings dt', (dts) => dts.map((dt) => [
    dt.textContent, dt.nextElementSibling.textContent.replace(/\s+/g, ' ')]));
  const meaning = Object.fromEntries(meanings);
  check(['Hc, Lc, Tc', 'Steepness', 'Factor', 'Stopping current', 'Sea sickness', 'Hmax',
         'Sea scale'].every((name) => name in meaning) &&
            /characteristic \(significant\)/.test(meaning['Hc, Lc, Tc']) &&
            /0\.06/.test(meaning['Steepness']) && /0\.1\b/.test(meaning['Steepness']) &&
            /30\s*m or twice the depth/.test(meaning['Hmax']) &&
            /not the WMO/.test(meaning['Sea scale']),
        'the figures\' meanings behind a disclosure', JSON.stringify(meanings));

  // The keyboard: Tab goes through the wind-sea form in reading order, and
  // Enter in a field gives the report, its heading focused.
  await page.focus('#wind');
  const order = ['wind'];
  for (let k = 0; k < 10; ++k) {
    await page.keyboard.press('Tab');
    order.push(await page.evaluate(() => document.activeElement.id));
  }
  check(JSON.stringify(order) === JSON.stringify(['wind', 'wind-unit', 'duration', 'fetch',
                                                  'fetch-unit', 'depth', 'depth-unit',
                                                  'current', 'current-sign', 'relative',
                                                  'windsea-run']),
        'Tab goes through the wind-sea form in order', JSON.stringify(order));
  await page.fill('#current', '0');
  await page.focus('#depth');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.querySelector('#windsea-results').dataset.runs,
                             null, {timeout: 10000});
  check(await page.evaluate(() => document.activeElement.id) === 'windsea-results-title',
        'Enter in a field gives the report, its heading focused');

  // Wind seas: [wind, duration, fetch, depth, current, relative, expected status]
  const seas = [
    ['20', '10', '100', '10', '0', false, 'ok'],
    ['20', '10', '100', '10', '-8', false, 'blocked'],
    ['100', '30', '500', '50', '0', false, null],
    ['20', '10', '100', '10', '-3', true, null],
    ['8', '5', '20', '2', '1.5', false, null],
    // A current against the wind typed with its minus sign.
    ['20', '10', '100', '10', '-2', false, null],
    // A light wind the current blocks: the critical sea state.
    ['8', '5', '20', '2', '-3', false, 'blocked'],
    // Aground: the record with the byte 0xF5, in the report and the warnings.
    ['20', '10', '100', '1', '0', false, null],
  ];
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
    await takeCalls();
    await runAndWait('windsea');
    const calls = await takeCalls();
    check(calls.length === 2 && calls[0].call === 'case' && calls[0].command === 0 &&
              JSON.stringify(calls[0].texts) ===
                  JSON.stringify([wind, duration, fetch, depth, current]) &&
              calls[0].relative === (relative ? 1 : 0) &&
              JSON.stringify(calls[1]) ===
                  JSON.stringify({call: 'sweep', entry: 1, from: 1, to: 200}),
          `${label}: one call of the engine for the report, one sweep of the ` +
              'durations for the growth',
          JSON.stringify(calls));
    const args = ['windsea', wind, duration, fetch, depth, current];
    if (relative) args.push('--relative');
    const expected = nativeRun(args);
    const shown = await page.textContent('#windsea-report');
    check(shown === expected, `${label}: the report is the program's`,
          firstDifference(expected, shown));
    totalTimes.push(Number(await page.getAttribute('#windsea-results', 'data-total-ms')));

    const json = nativeJson(args);
    // The page's figures are the command line's, to the bit: every member
    // of its result the same number (the float's shortest text read back),
    // code and list as the native program's JSON.
    const pageResult = await page.$eval('#windsea-results', (e) => JSON.stringify(e.result));
    check(pageResult === JSON.stringify(json), `${label}: the page's result is the ` +
              'native program\'s JSON, member for member',
          `page:   ${pageResult}\nnative: ${JSON.stringify(json)}`);
    // The growth chart's columns against a native batch of the same
    // entries for each whole hour: the same floats.
    const growthCsv = 'wind_kt,duration_h,fetch_km,depth_m,current_kt,model\n' +
        Array.from({length: 200}, (_, k) => [wind, k + 1, fetch, depth, current,
                                             relative ? 'relative-wind' : 'deep-water']
            .join(',')).join('\n') + '\n';
    const batch = spawnSync(native, ['windsea', '--batch', '-', '--format', 'json'],
                            {input: growthCsv}).stdout.toString('utf8').trim().split('\n')
        .map((line) => JSON.parse(line));
    const columns = await page.$eval('#growth-chart', (e) => Object.fromEntries(
        Object.entries(e.growth).map(([name, column]) => [name, Array.from(column)])));
    const float = (v) => (v === null ? null : Math.fround(v));
    const limits = ['duration', 'fetch'];
    const growthDiffers = batch.findIndex((row, k) =>
      float(row.duration_h) !== columns['duration_h'][k] ||
      float(row.wave.height_m) !== (Number.isNaN(columns['wave.height_m'][k])
        ? null : columns['wave.height_m'][k]) ||
      float(row.deep_water.height_m) !== columns['deep_water.height_m'][k] ||
      row.limited_by !== limits[columns['limited_by'][k]]);
    check(batch.length === 200 && growthDiffers < 0,
          `${label}: the growth over 1 to 200 h is the native batch's, float for float`,
          growthDiffers < 0 ? String(batch.length)
                            : `hour ${growthDiffers + 1}: ${JSON.stringify(batch[growthDiffers])}`);
    if (status) {
      check(json.status === status, `${label}: the sea is ${status}`, json.status);
    }
    const hc = await page.textContent('#glance-hc');
    const hcExpected = json.wave.height_m === null ? noWavesWords(json) :
        json.wave.height_m.toFixed(1) + ' m';
    check(hc === hcExpected, `${label}: Hc at a glance`, `${hc} vs ${hcExpected}`);
    const sick = json.sea_sickness_percent === null ? noWavesWords(json)
                                                    : `${json.sea_sickness_percent} %`;
    check(await page.textContent('#glance-sick') === sick,
          `${label}: sea-sickness probability at a glance`);
    // The other figures at a glance, as the report rounds them.
    const orWords = (v, digits, unit) => (v === null ? noWavesWords(json)
      : v.toFixed(digits) + (unit ? ' ' + unit : ''));
    const glance = {
      steepness: orWords(json.steepness, 3, ''),
      factor: orWords(json.factor, 1, ''),
      umax: orWords(json.stopping_current_kt, 1, 'kt'),
      deep: orWords(json.deep_water.height_m, 1, 'm'),
    };
    const shownGlance = Object.fromEntries(await Promise.all(Object.keys(glance).map(
        async (k) => [k, await page.textContent(`#glance-${k}`)])));
    check(JSON.stringify(shownGlance) === JSON.stringify(glance),
          `${label}: steepness, factor, stopping current, deep-water Hc at a glance`,
          `${JSON.stringify(shownGlance)} vs ${JSON.stringify(glance)}`);
    const announced = await page.textContent('#windsea-announce');
    check(announced.includes(`Hc ${hc}`) && announced.includes(`sea sickness ${sick}`) &&
              await page.getAttribute('#windsea-announce', 'aria-live') === 'polite',
          `${label}: the figures are announced to screen readers`, announced);
    if (json.status === 'blocked' && json.current_kt < 0) {
      const state = await page.textContent('#windsea-state');
      check(await page.isVisible('#windsea-state') &&
                state.startsWith('No waves pass against this current.'),
            `${label}: the blocked waves said in words above the tiles`, state);
    }

    // Warnings in words, each with its severity, the most severe first.
    const warnings = await page.$$eval('#windsea-warnings li', (li) => li.map(
        (e) => ({code: e.dataset.code, severity: e.dataset.severity, text: e.textContent})));
    const codes = (list) => list.map((w) => w.code).sort().join(' ');
    check(codes(warnings) === codes(json.warnings), `${label}: every warning is shown`,
          JSON.stringify(warnings));
    check(warnings.every((w, k) => w.severity === severityOf[w.code] &&
                            w.text.startsWith(w.severity[0].toUpperCase() +
                                              w.severity.slice(1) + ': ') &&
                            (k === 0 || severityRank[warnings[k - 1].severity] <=
                                            severityRank[w.severity])),
          `${label}: each warning with its severity, the gravest first`,
          JSON.stringify(warnings));
    const words = await pageWords();
    check(!rawMarker.test(words), `${label}: no raw markers outside the report`,
          JSON.stringify(words.match(rawMarker)));

    // Brought into view: the results' heading near the top of the window.
    const place = await placeOf('windsea');
    check(inView(place) && place.focused === 'windsea-results-title',
          `${label}: the results are scrolled into view`, JSON.stringify(place));
    const notes = await page.$$eval('#windsea-notes li', (li) => li.map((e) => e.textContent));
    check(JSON.stringify(notes) === JSON.stringify(json.notes.map((n) => n.text)),
          `${label}: the adjusted entries are said`, JSON.stringify(notes));
    if (wind === '100') {
      check(notes.length > 0, `${label}: the compressed wind is said in words`);
    }
    if (depth === '1') {
      check(shown.includes('%\u00F5?&%') &&
                warnings.some((w) => w.text.startsWith('Danger: Aground')),
            `${label}: the grounding record's 0xF5 shown as \u00F5 in the report, ` +
                'aground in words above it', JSON.stringify(warnings));
    }

    // Without a development table its chart gives way to the reason in
    // words; heights on the charts are compared from zero; the durations on
    // an axis that shows the growth of the first hours; legends name the
    // series without idle values.
    const none = await page.isVisible('#development-none');
    const noneText = await page.textContent('#development-none');
    if (json.development === null) {
      check(none && !(await page.isVisible('#development-chart')) &&
                (json.status !== 'blocked' || noneText.includes(noWavesWords(json))) &&
                (depth !== '1' || noneText.includes('aground')),
            `${label}: no development, said in words instead of a chart`, noneText);
    } else {
      check(!none, `${label}: no words in place of the development chart`, noneText);
      for (const h of json.development) {
        check(h.height_m === null || h.sea_scale === band(h.height_m),
              `${label}: sea scale after ${h.hours} h within the table's band`,
              `${h.height_m} m: ${h.sea_scale}`);
      }
    }
    const drawn = json.development === null ? ['growth-chart']
                                            : ['development-chart', 'growth-chart'];
    for (const id of drawn) {
      const state = await chartState(id);
      check(state && state.yMin === 0, `${label}: #${id} heights from zero`,
            JSON.stringify(state));
      check(state && !state.legend.includes('--') && state.legend.includes('Hc'),
            `${label}: #${id} legend without placeholders`, JSON.stringify(state));
    }
    const growth = await chartState('growth-chart');
    check(growth.xMin === 1 && growth.xMax === 200 && growth.tenHours > 0.3 &&
              growth.tenHours < 0.6,
          `${label}: the duration axis from 1 to 200 h spreads the first hours`,
          JSON.stringify(growth));
    if (json.wave.height_m === null) {
      check((await page.textContent('#growth-caption')).includes(noWavesWords(json)),
            `${label}: missing heights on the growth chart said in words`,
            await page.textContent('#growth-caption'));
    }

    // The charts drawn: a canvas with a fair share of painted pixels, and
    // the growth chart's 200 durations.
    for (const id of drawn) {
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
    await takeCalls();
    await runAndWait('swell');
    const calls = await takeCalls();
    check(calls.length === 1 && calls[0].call === 'case' && calls[0].command === 1 &&
              JSON.stringify(calls[0].texts) === JSON.stringify([period, height]),
          `${label}: one call of the engine for the report`, JSON.stringify(calls));
    const expected = nativeRun(['swell', period, height]);
    const shown = await page.textContent('#swell-report');
    check(shown === expected, `${label}: the report is the program's`,
          firstDifference(expected, shown));
    const json = nativeJson(['swell', period, height]);
    check(json.outcome === outcome, `${label}: outcome ${outcome}`, json.outcome);
    const pageResult = await page.$eval('#swell-results', (e) => JSON.stringify(e.result));
    check(pageResult === JSON.stringify(json), `${label}: the page's result is the ` +
              'native program\'s JSON, member for member',
          `page:   ${pageResult}\nnative: ${JSON.stringify(json)}`);
    const swellPlace = await placeOf('swell');
    check(inView(swellPlace) && swellPlace.focused === 'swell-results-title',
          `${label}: the results are scrolled into view`, JSON.stringify(swellPlace));
    const summary = await page.textContent('#swell-summary');
    check(summary.includes(`Beaufort ${json.beaufort}`) &&
              summary.includes(`${json.distance_shown_km} km`),
          `${label}: wind field in words`, summary);
  }

  // Entries the program refuses: one run, the field it names marked and
  // focused, the program's reason beside it, the other fields unmarked and
  // the results kept. [form, field, text, what the reason says]
  const good = {
    windsea: {wind: '20', duration: '10', fetch: '100', depth: '10', current: '0'},
    swell: {period: '10', height: '3'},
  };
  const refusals = [
    ['windsea', 'duration', '10,5', 'is not a number; use a decimal point'],
    ['windsea', 'wind', 'abc', 'is not a number'],
    ['windsea', 'fetch', '', 'is empty; give a number'],
    ['windsea', 'current', '   ', 'is empty; give a number'],
    ['windsea', 'wind', '0', 'raises no sea'],
    ['windsea', 'depth', '1e999', 'is not a finite number'],
    ['swell', 'period', '0.05', 'shorter than the 0.1 s'],
    ['swell', 'period', 'ten', 'is not a number'],
    ['swell', 'height', '3,5', 'is not a number; use a decimal point'],
  ];
  const reportsBefore = {
    windsea: await page.textContent('#windsea-report'),
    swell: await page.textContent('#swell-report'),
  };
  for (const [form, id, text, says] of refusals) {
    const label = `${form}: bad entry ${JSON.stringify(text)} in #${id}`;
    const entries = Object.assign({}, good[form], {[id]: text});
    for (const [field, value] of Object.entries(entries)) {
      await page.fill(`#${field}`, value);
    }
    const native = nativeJson([form, ...Object.entries(entries)
        .map(([field, value]) => `--${field}=${value.trim()}`)]).error;
    await takeCalls();
    await page.click(`#${form}-run`);
    // A page that refused the entry itself would never run the program:
    // that shows below as no run rather than ending the session.
    await page.waitForFunction(() => window.morvelCalls.length > 0, null,
                               {timeout: 10000}).catch(() => {});
    const calls = await takeCalls();
    const state = await page.evaluate((ids) => ({
      marked: ids.filter((f) => document.getElementById(f).getAttribute('aria-invalid')),
      focused: document.activeElement.id,
      messages: Object.fromEntries(ids.map(
          (f) => [f, document.getElementById(f + '-error').textContent])),
    }), Object.keys(entries));
    const message = state.messages[id];
    check(native.entry === id && native.problem.includes(says),
          `${label}: the native program refuses it`, JSON.stringify(native));
    check(calls.length === 1, `${label}: one call of the engine`, String(calls.length));
    check(JSON.stringify(state.marked) === JSON.stringify([id]) && state.focused === id,
          `${label}: that field alone marked, and focused`, JSON.stringify(state));
    check(message === `This ${native.problem}.`,
          `${label}: the program's reason beside it`, JSON.stringify(message));
    if (text.includes(',')) {
      check(message === 'This is not a number; use a decimal point.',
            `${label}: a decimal point asked for`, JSON.stringify(message));
    }
    check(Object.entries(state.messages).every(([f, m]) => f === id || m === ''),
          `${label}: no message beside the other fields`, JSON.stringify(state.messages));
    check(await page.textContent(`#${form}-report`) === reportsBefore[form],
          `${label}: previous report kept`);
  }

  // Corrected entries, and the worked example on screen for the pictures.
  for (const [id, value] of [['wind', '20'], ['duration', '10'], ['fetch', '100'],
                             ['depth', '10'], ['current', '0']]) {
    await page.fill(`#${id}`, value);
  }
  await page.setChecked('#relative', false);
  const marks = (ids) => page.evaluate((list) => list.filter(
      (id) => document.getElementById(id).getAttribute('aria-invalid') ||
          document.getElementById(id + '-error').textContent !== ''), ids);
  const refusedBefore = await marks(Object.keys(good.windsea));
  await runAndWait('windsea');
  const markedAfter = await marks(Object.keys(good.windsea));
  check(refusedBefore.length === 1 && markedAfter.length === 0,
        'corrected wind-sea entries are no longer marked',
        `${refusedBefore} before, ${markedAfter} after`);
  await page.fill('#period', '10');
  await page.fill('#height', '3');
  const swellBefore = await marks(Object.keys(good.swell));
  await runAndWait('swell');
  const swellAfter = await marks(Object.keys(good.swell));
  check(swellBefore.length === 1 && swellAfter.length === 0,
        'corrected swell entries are no longer marked',
        `${swellBefore} before, ${swellAfter} after`);

  // Entries in a sailor's units: the engine gets the converted value, the
  // same float the native program's unit options give, and the figures on
  // the page are its. [label, wind, fetch, depth and their units]
  const unitCases = [
    ['10 m/s over 54 nmi in 33 ft', ['10', '10', '54', '33', '0'], ['m/s', '', 'nmi', 'ft', '']],
    ['force 5 over 62 mi in 6 fathoms', ['5', '10', '62', '6', '0'], ['bft', '', 'mi', 'fathom', '']],
    ['40 km/h, 30 mph', ['40', '10', '30', '10', '-1'], ['km/h', '', 'mi', 'm', '']],
  ];
  const options = (units) => units.flatMap((u, k) => (u === '' || k === 1 || k === 4 ? []
    : [`--${['wind', '', 'fetch', 'depth'][k]}-unit`, u]));
  for (const [label, texts, units] of unitCases) {
    for (const [k, id] of ['wind', 'duration', 'fetch', 'depth', 'current'].entries()) {
      await page.fill(`#${id}`, texts[k]);
      if (units[k] !== '' && await page.$(`#${id}-unit`)) {
        await page.selectOption(`#${id}-unit`, units[k]);
      }
    }
    await page.setChecked('#relative', false);
    await takeCalls();
    await runAndWait('windsea');
    const calls = await takeCalls();
    const given = ['windsea', ...['wind', 'duration', 'fetch', 'depth', 'current']
        .map((id, k) => `--${id}=${texts[k]}`), ...options(units)];
    const json = nativeJson(given);
    const pageResult = await page.$eval('#windsea-results', (e) => JSON.stringify(e.result));
    check(calls.length === 2 && JSON.stringify(calls[0].units) ===
              JSON.stringify(units.map((u, k) => (k === 1 || k === 4 ? '' : u))),
          `units, ${label}: the engine is told the units`, JSON.stringify(calls[0]));
    check(pageResult === JSON.stringify(json),
          `units, ${label}: the page's result is the native program's with unit options`,
          `page:   ${pageResult}\nnative: ${JSON.stringify(json)}`);
    check(await page.textContent('#windsea-report') === nativeRun(given),
          `units, ${label}: the report is the program's`);
  }
  // The conversions themselves, worked out here from the units' definitions
  // (1 kt = 1852 m/h, 1 mi = 1609.344 m, force 5 is 17 to 21 kt): the value
  // as a double times the factor, rounded once to a float.
  const converted = await page.$eval('#windsea-results', (e) => e.result);
  check(Math.fround(converted.wind_kt) === Math.fround(40 * (1000 / 1852)) &&
            Math.fround(converted.fetch_km) === Math.fround(30 * (1609344 / 1000000)),
        'units: 40 km/h and 30 mi converted by one rounding', JSON.stringify(converted));
  await page.selectOption('#wind-unit', 'bft');
  await page.fill('#wind', '3.5');
  await takeCalls();
  await page.click('#windsea-run');
  await page.waitForFunction(() => window.morvelCalls.length > 0, null, {timeout: 10000});
  check(await page.textContent('#wind-error') ===
            'This is not a whole Beaufort force from 0 to 12.' &&
            await page.getAttribute('#wind', 'aria-invalid') === 'true',
        'units: a Beaufort force that is not whole is refused beside the wind',
        await page.textContent('#wind-error'));
  check(/Beaufort force/.test(await page.textContent('#wind-hint')) &&
            /knots, 1 to 65/.test(await page.textContent('#wind-hint')),
        'units: the wind\'s hint names the unit chosen and the model\'s range',
        await page.textContent('#wind-hint'));
  await page.fill('#wind', '5');
  await runAndWait('windsea');
  const force5 = await page.$eval('#windsea-results', (e) => e.result.wind_kt);
  check(force5 === 19, 'units: force 5 is taken as 19 kt, the middle of 17 to 21',
        String(force5));
  // The swell's height in feet.
  await page.fill('#period', '10');
  await page.fill('#height', '10');
  await page.selectOption('#height-unit', 'ft');
  await runAndWait('swell');
  const swellFeet = ['swell', '--period=10', '--height=10', '--height-unit', 'ft'];
  const swellPage = await page.$eval('#swell-results', (e) => e.result);
  check(JSON.stringify(swellPage) === JSON.stringify(nativeJson(swellFeet)) &&
            Math.fround(swellPage.height_m) === Math.fround(10 * (3048 / 10000)) &&
            await page.textContent('#swell-report') === nativeRun(swellFeet),
        'units: a swell of 10 ft is the native program\'s, 3.048 m', JSON.stringify(swellPage));

  // Heights and lengths shown in feet: each figure the engine's float in
  // metres times 1 / 0.3048, rounded once; the charts' axes say ft; the
  // choice and the entries' units are kept on the device.
  for (const [id, value] of [['wind', '20'], ['duration', '10'], ['fetch', '100'],
                             ['depth', '10'], ['current', '0']]) {
    await page.fill(`#${id}`, value);
  }
  for (const [id, unit] of [['wind', 'kt'], ['fetch', 'km'], ['depth', 'm']]) {
    await page.selectOption(`#${id}-unit`, unit);
  }
  await runAndWait('windsea');
  await page.check('#display-ft');
  await page.waitForFunction(() => document.getElementById('windsea-results').shown.unit === 'ft');
  const inFeet = await page.evaluate(() => {
    const results = document.getElementById('windsea-results');
    const plot = document.getElementById('growth-chart').plot;
    return {
      result: results.result,
      shown: results.shown,
      tiles: ['hc', 'lc', 'deep'].map((k) => document.getElementById(`glance-${k}`).textContent),
      axis: plot.axes[1].label,
      caption: document.getElementById('development-caption').textContent,
    };
  });
  const feet = (m) => Math.fround(Math.fround(m) * (10000 / 3048));
  check(Math.fround(inFeet.shown.hc) === feet(inFeet.result.wave.height_m) &&
            Math.fround(inFeet.shown.lc) === feet(inFeet.result.wave.length_m) &&
            Math.fround(inFeet.shown.deep) === feet(inFeet.result.deep_water.height_m) &&
            JSON.stringify(inFeet.tiles) === JSON.stringify(
                [`${inFeet.shown.hc.toFixed(1)} ft`, `${inFeet.shown.lc.toFixed(0)} ft`,
                 `${inFeet.shown.deep.toFixed(1)} ft`]) &&
            inFeet.tiles[0] === '5.7 ft' && inFeet.axis === 'height, ft' &&
            /Hmax after 3 h: 11\.2 ft/.test(inFeet.caption),
        'heights and lengths in feet: Hc 1.744 m is 5.7 ft, Hmax 3.40 m is 11.2 ft',
        JSON.stringify(inFeet));
  await page.selectOption('#wind-unit', 'm/s');
  await page.fill('#wind', '10');
  await runAndWait('windsea');
  await page.reload();
  await page.waitForSelector('body[data-ready="true"]', {timeout: 30000});
  const keptUnits = await page.evaluate(() => ({
    display: document.querySelector('input[name="display"]:checked').value,
    wind: document.getElementById('wind-unit').value,
    height: document.getElementById('height-unit').value,
  }));
  check(JSON.stringify(keptUnits) === JSON.stringify({display: 'ft', wind: 'm/s', height: 'ft'}),
        'the display in feet and the entries\' units are kept on the device',
        JSON.stringify(keptUnits));
  await page.check('#display-m');
  await page.selectOption('#wind-unit', 'kt');
  await page.selectOption('#height-unit', 'm');

  // A sea the current blocks, as a phone shows it after the report.
  for (const [id, value] of [['wind', '20'], ['duration', '10'], ['fetch', '100'],
                             ['depth', '10'], ['current', '-8']]) {
    await page.fill(`#${id}`, value);
  }
  await runAndWait('windsea');
  await page.screenshot({path: join(artifacts, 'page-390x844-blocked.png')});

  // The last entries that gave a report come back when the page is opened
  // again; an entry the program refused is not kept.
  const kept = {wind: '25', duration: '12', fetch: '150', depth: '20', current: '-1.5'};
  for (const [id, value] of Object.entries(kept)) await page.fill(`#${id}`, value);
  await page.setChecked('#relative', true);
  await runAndWait('windsea');
  await page.fill('#period', '8');
  await page.fill('#height', '2');
  await runAndWait('swell');
  await page.fill('#wind', 'abc');
  await takeCalls();
  await page.click('#windsea-run');
  await page.waitForFunction(() => window.morvelCalls.length > 0, null, {timeout: 10000});
  await page.reload();
  await page.waitForSelector('body[data-ready="true"]', {timeout: 30000});
  const recalled = await page.evaluate(() => Object.fromEntries(
      ['wind', 'duration', 'fetch', 'depth', 'current', 'period', 'height']
          .map((id) => [id, document.getElementById(id).value])
          .concat([['relative', document.getElementById('relative').checked]])));
  check(JSON.stringify(recalled) === JSON.stringify(
            Object.assign({}, kept, {period: '8', height: '2', relative: true})),
        'the last entries that gave a report are remembered on the device',
        JSON.stringify(recalled));

  // Without storage (refused, as some browsers do for a file opened from
  // disk) the page works as before and forgets.
  const bare = await context.newPage();
  const bareErrors = [];
  bare.on('pageerror', (error) => bareErrors.push(error.message));
  await bare.addInitScript(() => {
    Object.defineProperty(window, 'localStorage', {
      configurable: true,
      get() { throw new DOMException('storage refused', 'SecurityError'); },
    });
  });
  await bare.setViewportSize({width: 390, height: 844});
  await bare.goto(pageUrl);
  await bare.waitForSelector('body[data-ready="true"]', {timeout: 30000});
  const bareStart = await bare.inputValue('#wind');
  await bare.click('#windsea-run');
  await bare.waitForFunction(() => document.querySelector('#windsea-results').dataset.runs,
                             null, {timeout: 10000});
  check(bareStart === '15' && bareErrors.length === 0 &&
            (await bare.textContent('#glance-hc')).endsWith(' m'),
        'without storage the page starts from its own values and still reports',
        JSON.stringify({bareStart, bareErrors}));
  await bare.close();

  // Back to the worked example for the pictures.
  for (const [id, value] of [['wind', '20'], ['duration', '10'], ['fetch', '100'],
                             ['depth', '10'], ['current', '0']]) {
    await page.fill(`#${id}`, value);
  }
  await page.setChecked('#relative', false);
  await page.fill('#period', '10');
  await page.fill('#height', '3');
  await runAndWait('swell');
  await runAndWait('windsea');
  await page.screenshot({path: join(artifacts, 'page-390x844-results.png')});

  // The report readable on the phone: behind its disclosure under the
  // tiles, at 12 px or more once opened, its long lines scrolling inside
  // its box and never the page.
  const closedAtFirst = !(await page.isVisible('#windsea-report'));
  await page.click('#windsea-report-box summary');
  const reading = await page.evaluate(() => {
    const pre = document.getElementById('windsea-report');
    const box = pre.getBoundingClientRect();
    return {
      size: parseFloat(getComputedStyle(pre).fontSize),
      left: box.left,
      right: box.right,
      inner: pre.scrollWidth > pre.clientWidth,
      page: document.documentElement.scrollWidth,
      width: window.innerWidth,
    };
  });
  check(closedAtFirst && await page.isVisible('#windsea-report') && reading.size >= 12 &&
            reading.left >= 0 && reading.right <= reading.width &&
            reading.page <= reading.width,
        'the report opens from its disclosure, readable at 390 px, within the page',
        JSON.stringify(reading));
  await page.$eval('#windsea-report-title, #windsea-report-box', (e) => e.scrollIntoView());
  await page.screenshot({path: join(artifacts, 'page-390x844-report.png')});

  // No developer timing on the page (the times stay in data attributes).
  const shownWords = await pageWords();
  check(!/\d\s*ms\b|computed in/i.test(shownWords), 'no timing line for developers',
        JSON.stringify(shownWords.match(/.*\d\s*ms\b.*/)));

  // Fits a phone; screenshots at phone and desktop size.
  const widths = await page.evaluate(() => [document.documentElement.scrollWidth,
                                            window.innerWidth]);
  check(widths[0] <= widths[1], 'no sideways scrolling at 390 px', widths.join(' > '));
  await page.screenshot({path: join(artifacts, 'page-390x844.png'), fullPage: true});
  await page.setViewportSize({width: 1280, height: 800});
  await page.waitForTimeout(200);
  await page.screenshot({path: join(artifacts, 'page-1280x800.png'), fullPage: true});

  // Opened from disk the page is the one file: no manifest, no icons, no
  // service worker.
  const fromDisk = await page.evaluate(() => ({
    links: [...document.querySelectorAll('link')].map((l) => l.rel),
    worker: Boolean(navigator.serviceWorker && navigator.serviceWorker.controller),
    offline: document.body.dataset.offline || null,
  }));
  check(fromDisk.links.length === 0 && !fromDisk.worker && fromDisk.offline === null,
        'opened from disk: no manifest, icons or service worker', JSON.stringify(fromDisk));

  // Dark mode follows the system's setting: a dark ground with light text,
  // on the page and on the charts' axes, at a phone's 390 px.
  await page.setViewportSize({width: 390, height: 844});
  await page.emulateMedia({colorScheme: 'dark'});
  await runAndWait('windsea');
  const dark = await page.evaluate(() => {
    const rgb = (css) => css.match(/[\d.]+/g).slice(0, 3).map(Number);
    // Relative luminance, 0 (black) to 1 (white).
    const luminance = (css) => {
      const [r, g, b] = rgb(css).map((c) => {
        const s = c / 255;
        return s <= 0.03928 ? s / 12.92 : ((s + 0.055) / 1.055) ** 2.4;
      });
      return 0.2126 * r + 0.7152 * g + 0.0722 * b;
    };
    // Any CSS colour as the browser computes it: rgb(r, g, b).
    const css = (colour) => {
      const probe = document.createElement('i');
      probe.style.color = colour;
      document.body.append(probe);
      const computed = getComputedStyle(probe).color;
      probe.remove();
      return computed;
    };
    const of = (selector, property) => luminance(
        getComputedStyle(document.querySelector(selector))[property]);
    const plot = document.getElementById('development-chart').plot;
    return {
      body: of('body', 'backgroundColor'),
      text: of('body', 'color'),
      section: of('section', 'backgroundColor'),
      tile: of('.glance div', 'backgroundColor'),
      tileText: of('.glance dd', 'color'),
      input: of('#wind', 'backgroundColor'),
      inputText: of('#wind', 'color'),
      axis: luminance(css(typeof plot.axes[0].stroke === 'function'
        ? plot.axes[0].stroke(plot, 0) : plot.axes[0].stroke)),
    };
  });
  const contrast = (a, b) => (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
  check(dark.body < 0.05 && dark.section < 0.05 && dark.tile < 0.1 && dark.input < 0.1 &&
            contrast(dark.body, dark.text) >= 7 &&
            contrast(dark.tile, dark.tileText) >= 7 &&
            contrast(dark.input, dark.inputText) >= 7 && dark.axis > 0.5,
        'dark mode: dark ground, light text (contrast 7:1 or more), light axes',
        JSON.stringify(dark));
  await page.screenshot({path: join(artifacts, 'page-390x844-dark.png'), fullPage: true});
  // The screenshot itself: its top left corner is the page's dark ground.
  const darkShot = await page.screenshot({clip: {x: 0, y: 0, width: 4, height: 4}});
  const corner = await page.evaluate(async (png) => {
    const image = await createImageBitmap(new Blob([new Uint8Array(png)]));
    const canvas = new OffscreenCanvas(image.width, image.height);
    const g = canvas.getContext('2d');
    g.drawImage(image, 0, 0);
    return Array.from(g.getImageData(0, 0, 1, 1).data.slice(0, 3));
  }, [...darkShot]);
  check(corner.every((c) => c < 60), 'dark mode: the screenshot\'s ground is dark',
        JSON.stringify(corner));
  await page.emulateMedia({colorScheme: 'light'});

  // The narrowest phones, 320 px: nothing wider than the screen, charts
  // and tiles included.
  await page.setViewportSize({width: 320, height: 640});
  await runAndWait('windsea');
  await page.click('#windsea-report-box summary').catch(() => {});
  const narrow = await page.evaluate(() => ({
    page: document.documentElement.scrollWidth,
    width: window.innerWidth,
    // How far a chart reaches past the inside of its section.
    charts: [...document.querySelectorAll('.chart canvas')].map((canvas) => {
      const section = canvas.closest('section');
      const inner = section.getBoundingClientRect().right -
          parseFloat(getComputedStyle(section).paddingRight);
      return canvas.getBoundingClientRect().right - inner;
    }),
    widest: Math.max(...[...document.querySelectorAll('main *, header *, footer *')]
        .filter((e) => !e.closest('pre') && e.getClientRects().length > 0)
        .map((e) => e.getBoundingClientRect().right)),
  }));
  check(narrow.page <= narrow.width && narrow.widest <= narrow.width + 0.5 &&
            narrow.charts.length === 2 && narrow.charts.every((past) => past <= 0.5),
        'no sideways scrolling at 320 px, nothing wider than the screen',
        JSON.stringify(narrow));
  await page.screenshot({path: join(artifacts, 'page-320x640.png'), fullPage: true});

  // How long a report with both charts takes: the worked example, twenty
  // times at a phone's width (a figure to read, not a limit).
  await page.setViewportSize({width: 390, height: 844});
  for (const [id, value] of [['wind', '20'], ['duration', '10'], ['fetch', '100'],
                             ['depth', '10'], ['current', '0']]) {
    await page.fill(`#${id}`, value);
  }
  for (let k = 0; k < 20; ++k) {
    await runAndWait('windsea');
    totalTimes.push(Number(await page.getAttribute('#windsea-results', 'data-total-ms')));
  }

  check(pageErrors.length === 0, 'no script errors', pageErrors.join('\n'));
  const outside = requests.filter((url) => url !== pageUrl);
  check(outside.length === 0, 'no request beyond the page itself', outside.join('\n'));
  totalTimes.sort((a, b) => a - b);
  console.log(`a report with both charts drawn, in the browser: median ${
      totalTimes[totalTimes.length >> 1].toFixed(1)} ms over ${totalTimes.length} reports, ` +
      `longest ${totalTimes[totalTimes.length - 1].toFixed(1)} ms`);
} catch (error) {
  check(false, 'the browser session ran to its end', error.stack);
} finally {
  await context.close();
  rmSync(profile, {recursive: true, force: true});
}

// The site served over HTTP, as from any static host: installable (its
// manifest and the icons the build drew), kept by its service worker and
// then opened and used with no network, and a newer version announced.
const site = dirname(resolve(pagePath));
const served = [];
let newerWorker = false;  // serve a changed sw.js: a newer version
const types = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript',
               '.webmanifest': 'application/manifest+json', '.png': 'image/png'};
const server = createServer((request, response) => {
  const path = new URL(request.url, 'http://host').pathname;
  served.push(path);
  const name = path === '/' ? 'index.html' : path.slice(1);
  const type = types[extname(name)];
  if (!type || name.includes('/') || !existsSync(join(site, name))) {
    response.writeHead(404).end();
    return;
  }
  let body = readFileSync(join(site, name));
  if (name === 'sw.js' && newerWorker) {
    body = Buffer.concat([body, Buffer.from('// a newer version\n')]);
  }
  response.writeHead(200, {'Content-Type': type, 'Cache-Control': 'no-cache'})
      .end(body);
});
await new Promise((ready) => server.listen(0, '127.0.0.1', ready));
const origin = `http://127.0.0.1:${server.address().port}`;

// Width and height from a PNG's header (its IHDR chunk comes first).
function pngSize(bytes) {
  const signature = [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a];
  if (!signature.every((b, i) => bytes[i] === b) ||
      bytes.toString('latin1', 12, 16) !== 'IHDR') {
    return null;
  }
  return [bytes.readUInt32BE(16), bytes.readUInt32BE(20)];
}

const appProfile = mkdtempSync(join(tmpdir(), 'morvel-chromium-'));
const app = await launchChromium(appProfile);
const appRequests = [];
app.on('request', (request) => appRequests.push(request.url()));
try {
  const tab = app.pages()[0] || await app.newPage();
  const tabErrors = [];
  tab.on('pageerror', (error) => tabErrors.push(error.message));
  await tab.goto(origin + '/');
  await tab.waitForSelector('body[data-ready="true"]', {timeout: 30000});

  // The manifest: names, standalone display, colours, and icons at 192 and
  // 512 px whose PNG headers say so.
  const manifestHref = await tab.$eval('link[rel="manifest"]', (l) => l.href)
      .catch(() => null);
  check(manifestHref === origin + '/manifest.webmanifest',
        'served: the page links its manifest', String(manifestHref));
  const manifest = JSON.parse(readFileSync(join(site, 'manifest.webmanifest'), 'utf8'));
  const colour = /^#[0-9a-f]{6}$/i;
  check(manifest.name.startsWith('morvelstandrik') && manifest.short_name.length > 0 &&
            manifest.short_name.length <= 15 && manifest.display === 'standalone' &&
            manifest.start_url === './' && colour.test(manifest.theme_color) &&
            colour.test(manifest.background_color),
        'the manifest: name, short name, standalone, start, theme colours',
        JSON.stringify(manifest));
  const icons = [];
  for (const icon of manifest.icons) {
    const got = await fetch(`${origin}/${icon.src}`);
    const size = got.ok ? pngSize(Buffer.from(await got.arrayBuffer())) : null;
    icons.push({src: icon.src, sizes: icon.sizes, type: icon.type, read: size});
  }
  const iconSizes = new Set(icons.map((i) => i.sizes));
  check(iconSizes.has('192x192') && iconSizes.has('512x512') &&
            icons.every((i) => i.type === 'image/png' && i.read &&
                               i.sizes === `${i.read[0]}x${i.read[1]}`),
        'the icons at 192 and 512 px, PNGs of the sizes the manifest gives',
        JSON.stringify(icons));

  // Kept by the service worker: it controls the page and holds every file.
  await tab.waitForFunction(() => navigator.serviceWorker.controller !== null &&
                                      document.body.dataset.offline === 'ready',
                            null, {timeout: 30000});
  const cached = await tab.evaluate(async () => {
    const names = await caches.keys();
    const cache = await caches.open(names[0]);
    return {names, urls: (await cache.keys()).map((r) => new URL(r.url).pathname).sort()};
  });
  check(cached.names.length === 1 && JSON.stringify(cached.urls) === JSON.stringify(
            ['/icon-192.png', '/icon-512.png', '/index.html', '/manifest.webmanifest']),
        'the service worker controls the page and keeps every file of the site',
        JSON.stringify(cached));
  const cdp = await app.newCDPSession(tab);
  const {installabilityErrors} = await cdp.send('Page.getInstallabilityErrors');
  check(installabilityErrors.length === 0, 'Chromium finds the page installable',
        JSON.stringify(installabilityErrors));
  check(await tab.isVisible('#update-note') === false,
        'no newer-version note on the first visit');

  // Offline: reloaded with no network, it still opens and computes the
  // worked example, and the server sees no request.
  await app.setOffline(true);
  const servedBefore = served.length;
  await tab.reload();
  await tab.waitForSelector('body[data-ready="true"]', {timeout: 30000});
  for (const [id, value] of [['wind', '20'], ['duration', '10'], ['fetch', '100'],
                             ['depth', '10'], ['current', '0']]) {
    await tab.fill(`#${id}`, value);
  }
  await tab.setChecked('#relative', false);
  await tab.click('#windsea-run');
  await tab.waitForFunction(() => document.querySelector('#windsea-results').dataset.runs,
                            null, {timeout: 10000});
  const offlineReport = await tab.textContent('#windsea-report');
  const offlineTiles = [await tab.textContent('#glance-hc'),
                        await tab.textContent('#glance-sick')];
  check(offlineReport === nativeRun(['windsea', '20', '10', '100', '10', '0']) &&
            JSON.stringify(offlineTiles) === JSON.stringify(['1.7 m', '17 %']) &&
            served.length === servedBefore,
        'offline: the page reloads from the device and reports the worked example ' +
            '(Hc 1.7 m, sea sickness 17 %)',
        JSON.stringify({offlineTiles, requested: served.slice(servedBefore)}));
  await app.setOffline(false);

  // A newer version on the server: the worker that takes over says so on
  // the open page, and a reload brings it.
  newerWorker = true;
  await tab.evaluate(() => navigator.serviceWorker.getRegistration()
      .then((registration) => registration.update()));
  await tab.waitForSelector('#update-note', {state: 'visible', timeout: 30000})
      .catch(() => {});
  const note = await tab.isVisible('#update-note') ? await tab.textContent('#update-note')
                                                    : null;
  check(note !== null && /newer version/.test(note) && /Reload/.test(note),
        'a newer version kept is announced on the page, with a reload', String(note));
  if (note !== null) {
    await Promise.all([tab.waitForNavigation(), tab.click('#update-reload')]);
    await tab.waitForSelector('body[data-ready="true"]', {timeout: 30000});
    const after = await tab.evaluate(async () => ({
      note: document.getElementById('update-note').hidden,
      caches: (await caches.keys()).length,
    }));
    check(after.note && after.caches === 1,
          'after the reload: no note, and only the newer version kept',
          JSON.stringify(after));
  }
  check(tabErrors.length === 0, 'served: no script errors', tabErrors.join('\n'));
  const foreign = appRequests.filter((url) => !url.startsWith(origin + '/'));
  check(foreign.length === 0, 'served: no request beyond the site', foreign.join('\n'));
} catch (error) {
  check(false, 'the session with the served site ran to its end', error.stack);
} finally {
  await app.close();
  server.close();
  rmSync(appProfile, {recursive: true, force: true});
}

console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
