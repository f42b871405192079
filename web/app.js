// The page: reads the forms, runs the program's command line inside the
// page (the same engine and report renderer as the console program) and
// shows its report, the essentials at a glance and two charts.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);

  // --- The engine -----------------------------------------------------------

  // Bytes as the console shows them, one character per byte (the grounding
  // record holds the byte 0xF5). Chunked: a long batch would overflow the
  // argument list of a single call.
  function bytesToText(bytes) {
    let text = '';
    for (let i = 0; i < bytes.length; i += 8192) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    }
    return text;
  }

  // Runs `morvelstandrik ARGS...` with INPUT as standard input; returns the
  // exit status and what went to standard output and standard error.
  function makeEngine(module) {
    const run = module.cwrap('morvel_run', 'number', ['string', 'string']);
    const read = (data, size) => {
      const p = module[data]();
      return bytesToText(module.HEAPU8.subarray(p, p + module[size]()));
    };
    return {
      run(args, input) {
        const status = run(args.join('\n'), input || '');
        return {
          status,
          out: read('_morvel_out', '_morvel_out_size'),
          err: read('_morvel_err', '_morvel_err_size'),
        };
      },
    };
  }

  let engine = null;
  const ready = createMorvel().then((module) => {
    engine = makeEngine(module);
    document.body.dataset.ready = 'true';
  });

  // --- Reading the fields ---------------------------------------------------

  const NUMBER = /^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/;

  // The text of a field if it is a number; otherwise marks the field, says
  // beside it what to type and returns null.
  function readField(id, example) {
    const input = $(id);
    const message = $(id + '-error');
    const text = input.value.trim();
    let problem = '';
    if (text === '') {
      problem = 'Type a number here, for example ' + example + '.';
    } else if (/^[+-]?\d*,\d*$/.test(text) && /\d/.test(text)) {
      problem = 'Use a point for the decimals, for example ' +
          text.replace(',', '.') + ', not a comma.';
    } else if (!NUMBER.test(text)) {
      problem = 'Type digits only (a point for decimals, a minus sign ' +
          'if needed), for example ' + example + '.';
    }
    if (problem) {
      input.setAttribute('aria-invalid', 'true');
      message.textContent = problem;
      return null;
    }
    input.removeAttribute('aria-invalid');
    message.textContent = '';
    return text;
  }

  function readFields(specs) {
    const values = specs.map(([id, example]) => readField(id, example));
    if (values.some((v) => v === null)) {
      const first = specs.find(([id]) => $(id).getAttribute('aria-invalid'));
      if (first) $(first[0]).focus();
      return null;
    }
    return values;
  }

  // --- Formatting -----------------------------------------------------------

  const fixed = (x, digits) => (x === null || x === undefined ? null
                                                              : x.toFixed(digits));
  const orNone = (text, unit) => (text === null ? 'none' : text + ' ' + unit);

  function fillList(list, items) {
    list.replaceChildren(...items.map((text) => {
      const li = document.createElement('li');
      li.textContent = text;
      return li;
    }));
    list.hidden = items.length === 0;
  }

  // --- Charts ---------------------------------------------------------------

  const charts = {};

  function chartWidth(id) {
    return Math.max(260, $(id).clientWidth || 300);
  }

  function drawChart(id, options, data) {
    if (charts[id]) charts[id].destroy();
    const opts = Object.assign({width: chartWidth(id), height: 240}, options);
    charts[id] = new uPlot(opts, data, $(id));
    $(id).dataset.points = String(data[0].length);
  }

  window.addEventListener('resize', () => {
    for (const id of Object.keys(charts)) {
      charts[id].setSize({width: chartWidth(id), height: 240});
    }
  });

  const axes = (xLabel, yLabel) => [
    {label: xLabel, stroke: '#14202b', grid: {stroke: '#dde4ea'}},
    {label: yLabel, stroke: '#14202b', grid: {stroke: '#dde4ea'}},
  ];
  const marker = (label, colour) => ({
    label,
    stroke: colour,
    fill: colour,
    width: 0,
    paths: () => null,
    points: {show: true, size: 11, fill: colour, stroke: colour},
  });

  // Characteristic height now, then Hc and the highest single waves Hmax
  // after 3, 12 and 48 more hours of the same wind.
  function drawDevelopment(result) {
    const hc = result.wave.height_m;
    const xs = [0];
    const hcs = [hc];
    const hmax = [null];
    const horizons = result.development || [];
    for (const h of horizons) {
      xs.push(h.hours);
      hcs.push(h.height_m);
      hmax.push(h.hmax_m);
    }
    drawChart('development-chart', {
      scales: {x: {time: false}},
      axes: axes('hours from now', 'height, m'),
      series: [
        {label: 'hours'},
        {label: 'Hc', stroke: '#0b5394', width: 2, points: {show: true, size: 7}},
        {label: 'Hmax', stroke: '#b00020', width: 2, dash: [6, 4],
         points: {show: true, size: 7}},
      ],
    }, [xs, hcs, hmax]);
    $('development-caption').textContent = result.development
      ? 'Hc now ' + orNone(fixed(hc, 1), 'm') + '; Hmax after ' +
          horizons.map((h) => h.hours + ' h: ' + orNone(fixed(h.hmax_m, 1), 'm'))
              .join(', ') + '.'
      : 'The report ends without a development table for this sea.';
  }

  // Hc against the duration of the wind, 1 to 200 hours, for the entered
  // wind, fetch, depth and current: where the fetch stops the growth, and
  // the entered duration.
  function drawGrowth(result, rows) {
    const byHours = new Map();
    for (const r of rows) {
      if (r && r.wave) byHours.set(r.duration_h, r);
    }
    if (!byHours.has(result.duration_h)) byHours.set(result.duration_h, result);
    const xs = [...byHours.keys()].sort((a, b) => a - b);
    const height = (r) => r.wave.height_m;
    const firstFetch = xs.find((d) => byHours.get(d).limited_by === 'fetch');
    const hc = xs.map((d) => height(byHours.get(d)));
    const deep = xs.map((d) => byHours.get(d).deep_water.height_m);
    const atEntered = xs.map((d) => (d === result.duration_h
      ? (height(result) ?? result.deep_water.height_m) : null));
    const atFetch = xs.map((d) => (d === firstFetch
      ? (height(byHours.get(d)) ?? byHours.get(d).deep_water.height_m) : null));
    drawChart('growth-chart', {
      scales: {x: {time: false}},
      axes: axes('duration of the wind, hours', 'height, m'),
      series: [
        {label: 'hours'},
        {label: 'Hc', stroke: '#0b5394', width: 2},
        {label: 'deep water', stroke: '#5b6b79', width: 1, dash: [4, 4]},
        marker('fetch stops the growth', '#e07b00'),
        marker('entered duration', '#b00020'),
      ],
    }, [xs, hc, deep, atFetch, atEntered]);
    $('growth-caption').textContent = (firstFetch === undefined
      ? 'Within 200 hours the duration limits the growth throughout.'
      : 'From ' + firstFetch + ' h on the fetch of ' + result.fetch_km +
          ' km stops the growth.') +
        ' Entered duration: ' + result.duration_h + ' h.';
  }

  // --- Wind sea -------------------------------------------------------------

  // The command line names the entry it refuses ("windsea: WIND: '0' raises
  // no sea; ..."): that field is marked and the reason put beside it.
  const FIELDS = {
    WIND: 'wind', DURATION: 'duration', FETCH: 'fetch', DEPTH: 'depth',
    CURRENT: 'current', PERIOD: 'period', HEIGHT: 'height',
  };

  function showFailure(id, run) {
    const said = run.err.split('\n')[0].replace(/^morvelstandrik: /, '');
    const named = /^\w+: ([A-Z]+): (.*)$/.exec(said);
    if (named && FIELDS[named[1]]) {
      const field = FIELDS[named[1]];
      $(field).setAttribute('aria-invalid', 'true');
      $(field + '-error').textContent = named[2].replace(/^'[^']*' /, 'This ');
      $(field).focus();
      $(id).textContent = '';
      return;
    }
    $(id).textContent = said || 'The entries could not be used.';
  }

  // The program's text report and its JSON for the same arguments, and how
  // long the text took (ms); null after saying why the engine refused them.
  function reportAndResult(args, errorId) {
    const start = performance.now();
    const report = engine.run(args);
    const reportMs = performance.now() - start;
    if (report.status !== 0) {
      showFailure(errorId, report);
      return null;
    }
    const json = engine.run([...args, '--format', 'json']);
    if (json.status !== 0) {
      showFailure(errorId, json);
      return null;
    }
    return {report: report.out, result: JSON.parse(json.out), reportMs};
  }

  let windSeaRuns = 0;
  let swellRuns = 0;

  function runWindSea() {
    const values = readFields([
      ['wind', '20'], ['duration', '10'], ['fetch', '100'], ['depth', '10'],
      ['current', '0'],
    ]);
    if (!values) return;
    const relative = $('relative').checked;
    const args = ['windsea', ...values];
    if (relative) args.push('--relative');

    const start = performance.now();
    const got = reportAndResult(args, 'windsea-error');
    if (!got) return;
    const {result, reportMs} = got;

    $('windsea-error').textContent = '';
    $('windsea-results').hidden = false;
    $('windsea-report').textContent = got.report;
    $('glance-hc').textContent = orNone(fixed(result.wave.height_m, 1), 'm');
    $('glance-lc').textContent = orNone(fixed(result.wave.length_m, 0), 'm');
    $('glance-tc').textContent = orNone(fixed(result.wave.period_s, 1), 's');
    $('glance-sick').textContent = result.sea_sickness_percent === null
      ? 'none' : result.sea_sickness_percent + ' %';
    fillList($('windsea-warnings'), result.warnings.map((w) => w.text));
    fillList($('windsea-notes'), result.notes.map((n) => n.text));
    drawDevelopment(result);
    $('growth-caption').textContent = 'Working out the growth over 1 to 200 hours …';
    $('windsea-results').dataset.reportMs = reportMs.toFixed(3);

    // The growth chart evaluates 200 durations: after the report is on the
    // screen, not before.
    setTimeout(() => {
      try {
        drawGrowth(result, growthRows(values, relative));
        const totalMs = performance.now() - start;
        $('windsea-timing').textContent = 'Report computed in ' +
            reportMs.toFixed(1) + ' ms; with the growth chart ' +
            totalMs.toFixed(0) + ' ms, in this browser.';
        $('windsea-results').dataset.totalMs = totalMs.toFixed(3);
      } catch (e) {
        $('growth-caption').textContent = 'The growth could not be drawn: ' + e.message;
      }
      $('windsea-results').dataset.runs = String(++windSeaRuns);
    }, 0);
  }

  // The entered sea for every whole hour of wind from 1 to 200, as one batch.
  function growthRows(values, relative) {
    const [wind, , fetch, depth, current] = values;
    const model = relative ? 'relative-wind' : 'deep-water';
    let csv = 'wind_kt,duration_h,fetch_km,depth_m,current_kt,model\n';
    for (let hours = 1; hours <= 200; ++hours) {
      csv += [wind, hours, fetch, depth, current, model].join(',') + '\n';
    }
    const growth = engine.run(['windsea', '--batch', '-', '--format', 'json'], csv);
    return growth.out.split('\n').filter((line) => line.trim() !== '')
        .map((line) => JSON.parse(line));
  }

  // --- Swell ----------------------------------------------------------------

  function describeSwell(r) {
    const wind = Math.round(r.wind_kt) + ' kt (Beaufort ' + r.beaufort + ')';
    const distance = r.distance_shown_km + ' km';
    switch (r.outcome) {
      case 'inside':
        return 'The distant wind field blew at about ' + wind + ', about ' +
            distance + ' away.';
      case 'below':
        return 'The distant wind field blew at less than ' + wind +
            ', farther away than ' + distance + '.';
      default:
        return 'The distant wind field blew at more than ' + wind +
            ', nearer than ' + distance + '.';
    }
  }

  function runSwell() {
    const values = readFields([['period', '10'], ['height', '3']]);
    if (!values) return;
    const got = reportAndResult(['swell', ...values], 'swell-error');
    if (!got) return;
    $('swell-error').textContent = '';
    $('swell-results').hidden = false;
    $('swell-report').textContent = got.report;
    $('swell-summary').textContent = describeSwell(got.result);
    $('swell-results').dataset.runs = String(++swellRuns);
  }

  // A failure inside the page is said on the page; the previous results
  // stay as they were.
  function guarded(action, errorId) {
    return (event) => {
      event.preventDefault();
      ready.then(action).catch((e) => {
        $(errorId).textContent = 'Something went wrong: ' + e.message;
      });
    };
  }

  $('windsea-form').addEventListener('submit', guarded(runWindSea, 'windsea-error'));
  $('swell-form').addEventListener('submit', guarded(runSwell, 'swell-error'));
})();
