// The Node build against the native program, byte for byte: a long seeded
// dialogue session (wind-sea cycles in both models and swell passes), and
// seeded batches of the command line in every output format. Any
// difference in standard output, standard error or exit status fails.
// Usage: node compare_native.mjs NATIVE_PROGRAM NODE_SCRIPT [ROWS]
// NODE_SCRIPT may also be a program of its own (not ending in .js), such as
// the Windows build's wrapper under Wine.
import {spawnSync} from 'node:child_process';

const [native, script, rowsArg] = process.argv.slice(2);
const rows = Number(rowsArg || 3000);

// A small seeded generator (xorshift32), so that every run sees the same
// cases and a failure can be repeated.
let state = 0x9e3779b9;
function random() {
  state ^= state << 13;
  state >>>= 0;
  state ^= state >>> 17;
  state ^= state << 5;
  state >>>= 0;
  return state / 4294967296;
}
const pick = (list) => list[Math.floor(random() * list.length)];
const uniform = (lo, hi) => lo + (hi - lo) * random();
// Mostly plain entries with up to two decimals, some at and beyond the
// edges of the ranges.
function number(lo, hi, edges) {
  if (random() < 0.15) return String(pick(edges));
  const digits = pick([0, 0, 1, 2]);
  return uniform(lo, hi).toFixed(digits);
}

function windSeaCase() {
  return {
    wind: number(1, 65, [0.5, 1, 9.9, 10, 65, 66, 100, 107, 120, 500]),
    duration: number(1, 200, [0, 1, 200, 250, -5]),
    fetch: number(1, 5000, [0, 1, 5000, 9000]),
    depth: number(1, 300, [0.5, 1, 2, 5000, 7000]),
    current: number(-15, 15, [-40, -15, -8, 0, 15, 999, 2000]),
    relative: random() < 0.25,
  };
}
function swellCase() {
  return {
    period: number(1, 25, [0.1, 4, 7, 10, 12, 30]),
    height: number(0, 15, [0, 0.5, 3, 12, -1]),
  };
}

function run(args, input) {
  const options = {input, maxBuffer: 1 << 30};
  const a = spawnSync(native, args, options);
  const b = script.endsWith('.js') ? spawnSync('node', [script, ...args], options)
                                   : spawnSync(script, args, options);
  return {a, b};
}

let failures = 0;
let checks = 0;
function compare(label, args, input) {
  const {a, b} = run(args, input);
  ++checks;
  const problems = [];
  if (a.error || b.error) problems.push(String(a.error || b.error));
  if (a.status !== b.status || a.signal !== b.signal) {
    problems.push(`status native ${a.status ?? a.signal}, node ${b.status ?? b.signal}`);
  }
  for (const stream of ['stdout', 'stderr']) {
    if (!a[stream].equals(b[stream])) {
      const lines = [a[stream], b[stream]].map((s) => s.toString('latin1').split('\n'));
      const i = lines[0].findIndex((line, k) => line !== lines[1][k]);
      problems.push(`${stream} differs at line ${i + 1}:\n  native: ${
          JSON.stringify(lines[0][i])}\n  node:   ${JSON.stringify(lines[1][i])}`);
    }
  }
  if (problems.length > 0) {
    ++failures;
    console.log(`FAIL ${label}: ${problems.join('\n')}`);
  } else {
    console.log(`ok   ${label} (${a.stdout.length} bytes)`);
  }
  return a;
}

// The dialogue: menu choice 1 with its introduction, cycles, a negative
// wind switching the model (kept until the menu), then the swell passes.
function dialogueSession(cycles, passes) {
  let input = '';
  for (let k = 0; k < cycles; ++k) {
    if (k % 100 === 0) input += (k > 0 ? 'q\n' : '') + '1\n\n';
    else input += '\n';
    const c = windSeaCase();
    const wind = c.relative && !c.wind.startsWith('-') ? '-' + c.wind : c.wind;
    input += [wind, c.duration, c.fetch, c.depth, c.current].join('\n') + '\n';
  }
  input += 'q\n2\n';
  for (let k = 0; k < passes; ++k) {
    const c = swellCase();
    input += `${c.period}\n${c.height}\n\n`;
  }
  return input + '0\n0\n';
}

const session = dialogueSession(Math.max(1, rows / 2), rows / 2);
if (process.env.MORVEL_SAVE_SESSION) {
  (await import("node:fs")).writeFileSync(process.env.MORVEL_SAVE_SESSION, session);
}
compare("dialogue session", [], session);

if (process.env.MORVEL_DIALOGUE_ONLY !== '1') {
  // Batches: a few malformed rows among them, which the program reports in
  // their own output rows.
  let windCsv = 'wind_kt,duration_h,fetch_km,depth_m,current_kt,model\n';
  for (let k = 0; k < rows; ++k) {
    const c = windSeaCase();
    const model = c.relative ? 'relative-wind' : 'deep-water';
    windCsv += k % 500 === 499
      ? `${c.wind},${c.duration},abc,${c.depth},${c.current},${model}\n`
      : `${c.wind},${c.duration},${c.fetch},${c.depth},${c.current},${model}\n`;
  }
  let swellCsv = 'period_s,height_m\n';
  for (let k = 0; k < rows; ++k) {
    const c = swellCase();
    swellCsv += k % 500 === 499 ? `${c.period},3;5\n` : `${c.period},${c.height}\n`;
  }
  for (const format of ['csv', 'json']) {
    compare(`windsea batch of ${rows} rows, ${format}`,
            ['windsea', '--batch', '-', '--format', format], windCsv);
    compare(`swell batch of ${rows} rows, ${format}`,
            ['swell', '--batch', '-', '--format', format], swellCsv);
  }
  // One-shot runs in both formats, bad arguments included.
  const oneShots = [
    ['windsea', '20', '10', '100', '10', '0'],
    ['windsea', '20', '10', '100', '10', '-8'],
    ['windsea', '100', '30', '500', '50', '0'],
    ['windsea', '20', '10', '100', '10', '0', '--relative'],
    ['windsea', '20', '10,5', '100', '10', '0'],
    ['windsea', 'abc', '10', '100', '10'],
    ['swell', '10', '3'],
    ['swell', '10', '0.5'],
    ['swell', '10', '12'],
    ['swell', '10'],
  ];
  for (const args of oneShots) {
    compare(args.join(' '), args, '');
    compare(args.join(' ') + ' --format json', [...args, '--format', 'json'], '');
  }
  // Every entry given by name (--name=VALUE), one JSON object with the
  // text report in it, or the refused entry as a JSON error.
  const pageRuns = [
    ['windsea', '--wind=20', '--duration=10', '--fetch=100', '--depth=1', '--current=-2'],
    ['windsea', '--wind=20', '--duration=10', '--fetch=100', '--depth=10', '--current=0',
     '--relative'],
    ['windsea', '--wind=0', '--duration=10', '--fetch=100', '--depth=10', '--current=0'],
    ['windsea', '--wind=20', '--duration=10', '--fetch=', '--depth=10', '--current=0'],
    ['swell', '--period=10', '--height=3'],
    ['swell', '--period=10', '--height=3,5'],
  ];
  for (const args of pageRuns) {
    compare(args.join(' ') + ' --format json --with-report',
            [...args, '--format', 'json', '--with-report'], '');
  }
}

console.log(`${checks - failures} passed, ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);
