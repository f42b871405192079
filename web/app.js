// The page: reads the forms, runs the program's command line inside the
// page (the same engine and report renderer as the console program) and
// shows its report, the essentials at a glance and two charts.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);

  // --- The engine -----------------------------------------------------------

  // Runs `morvelstandrik ARGS...` with INPUT as standard input; returns the
  // exit status and what went to standard output and standard error. The
  // page asks only for JSON, which is UTF-8 (the grounding record's byte
  // 0xF5 comes as the character U+00F5), and the messages echo the
  // arguments, which go in as UTF-8.
  function makeEngine(module) {
    const run = module.cwrap('morvel_run', 'number', ['string', 'string']);
    const utf8 = new TextDecoder('utf-8');
    const read = (data, size) => {
      const p = module[data]();
      return utf8.decode(module.HEAPU8.subarray(p, p + module[size]()));
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

  // The text of a field as typed (trimmed): the program reads the numbers
  // and refuses what it cannot use. Each field goes to the program as
  // --ID=TEXT (the fields' ids are its option names), so that a text
  // starting with '-' is never taken for an option.
  const typed = (id) => $(id).value.trim();

  // Clears the marks of the fields: a new run says afresh which is wrong.
  function clearMarks(ids) {
    for (const id of ids) {
      $(id).removeAttribute('aria-invalid');
      $(id + '-error').textContent = '';
    }
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

  // A refused entry comes back as a structured error naming it by its
  // option, which is the id of its field: that field is marked, focused and
  // the program's reason put beside it ("This is not a number; use a
  // decimal point."). Anything else is said under the form, as the program
  // said it.
  function showFailure(ids, errorId, run) {
    let refused = null;
    try {
      refused = JSON.parse(run.out).error;
    } catch {
      refused = null;
    }
    if (refused && ids.includes(refused.entry)) {
      const reason = 'This ' + refused.problem;
      $(refused.entry).setAttribute('aria-invalid', 'true');
      $(refused.entry + '-error').textContent =
          reason.endsWith('.') ? reason : reason + '.';
      $(refused.entry).focus();
      $(errorId).textContent = '';
      return;
    }
    const program = 'morvelstandrik: ';
    const said = run.err.split('\n')[0];
    $(errorId).textContent = (said.startsWith(program)
      ? said.slice(program.length) : said) || 'The entries could not be used.';
  }

  // One run of the program for a report: COMMAND with the texts VALUES of
  // the fields IDS and any further ARGS. Returns its JSON with the text
  // report in it and how long the run took (ms); null after saying why the
  // program refused the entries.
  function reportAndResult(command, ids, values, args, errorId) {
    clearMarks(ids);
    const entries = ids.map((id, k) => '--' + id + '=' + values[k]);
    const start = performance.now();
    const run = engine.run([command, ...entries, ...args,
                            '--format', 'json', '--with-report']);
    const reportMs = performance.now() - start;
    if (run.status !== 0) {
      showFailure(ids, errorId, run);
      return null;
    }
    const result = JSON.parse(run.out);
    return {report: result.report, result, reportMs};
  }

  let windSeaRuns = 0;
  let swellRuns = 0;

  const WINDSEA_FIELDS = ['wind', 'duration', 'fetch', 'depth', 'current'];
  const SWELL_FIELDS = ['period', 'height'];

  function runWindSea() {
    const values = WINDSEA_FIELDS.map(typed);
    const relative = $('relative').checked;
    const start = performance.now();
    const got = reportAndResult('windsea', WINDSEA_FIELDS, values,
                                relative ? ['--relative'] : [], 'windsea-error');
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
    const got = reportAndResult('swell', SWELL_FIELDS, SWELL_FIELDS.map(typed), [],
                                'swell-error');
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
