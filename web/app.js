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

  // Why a figure resting on the wave height is missing, in words: the
  // current stops the waves, no wave fits the depth and current, or the
  // model has no height to give.
  function noWaves(result) {
    if (result.status === 'blocked') {
      return result.current_kt < 0 ? 'no waves pass against this current'
                                   : 'no wave fits this depth and current';
    }
    return 'no height from the model';
  }
  const withUnit = (text, unit, result) => (text === null ? noWaves(result)
                                                          : text + ' ' + unit);

  // The report's warnings in plain words, by their codes, each with its
  // severity: danger (a boat is at risk), warning (rough, steep or
  // shoaling waves), caution (uncomfortable). The program's own records,
  // markers and all, stay in its report.
  const SEVERITIES = {danger: 'Danger', warning: 'Warning', caution: 'Caution'};
  const WARNINGS = {
    capsizing: ['danger', 'Capsizing in hazardous breakers: the current ' +
                'blocks the waves, or no wave fits this depth and current.'],
    hazardous_breakers: ['danger', 'Hazardous breakers: the depth or the ' +
                         'current makes the waves break.'],
    grounding: ['danger', 'Aground: the water is shallower than half the ' +
                'wave height.'],
    critical_sea_state: ['warning', 'Critical sea state: no wave of this ' +
                         'period can exist in this current.'],
    dangerous_shoal_waves: ['warning', 'Dangerous shoal waves: the water is ' +
                            'shallower than half a wave length and the ' +
                            'waves are over 1 m high.'],
    breaking_waves: ['warning', 'Breaking waves: the waves are steep ' +
                     '(steepness 0.1 or more).'],
    unpleasant_shoal_waves: ['caution', 'Unpleasant shoal waves: the water ' +
                             'is shallower than half a wave length.'],
    some_breaking_waves: ['caution', 'Some breaking waves may appear ' +
                          '(steepness 0.06 to 0.1).'],
  };
  const RANK = {danger: 0, warning: 1, caution: 2};

  // The warnings as list items, the most severe first (the report's order
  // within a severity); a code this page does not know is said as its
  // name, as a warning.
  function fillWarnings(list, warnings) {
    const items = warnings.map((w, k) => {
      const [severity, words] = WARNINGS[w.code] ||
          ['warning', w.code.replaceAll('_', ' ') + '.'];
      return {severity, words, code: w.code, k};
    }).sort((a, b) => RANK[a.severity] - RANK[b.severity] || a.k - b.k);
    list.replaceChildren(...items.map(({severity, words, code}) => {
      const li = document.createElement('li');
      li.className = severity;
      li.dataset.code = code;
      li.dataset.severity = severity;
      const label = document.createElement('strong');
      label.textContent = SEVERITIES[severity] + ': ';
      li.append(label, words);
      return li;
    }));
    list.hidden = items.length === 0;
  }

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

  // The legends name the series without the values under the cursor (on a
  // phone there is no cursor, and idle values are placeholders).
  function drawChart(id, options, data) {
    dropChart(id);
    const opts = Object.assign({width: chartWidth(id), height: 240,
                                legend: {live: false}}, options);
    charts[id] = new uPlot(opts, data, $(id));
    $(id).plot = charts[id];
    $(id).dataset.points = String(data[0].length);
  }

  function dropChart(id) {
    if (charts[id]) charts[id].destroy();
    delete charts[id];
    $(id).plot = null;
  }

  window.addEventListener('resize', () => {
    for (const id of Object.keys(charts)) {
      charts[id].setSize({width: chartWidth(id), height: 240});
    }
  });

  // Heights are compared with each other: their axis starts at zero.
  const fromZero = {
    auto: true,
    range: (u, min, max) => [0, max > 0 ? max * 1.1 : 1],
  };

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
  // after 3, 12 and 48 more hours of the same wind. Without a development
  // table (no waves, aground, a light wind) the reason is said in words in
  // the chart's place.
  function drawDevelopment(result) {
    const none = $('development-none');
    if (!result.development) {
      dropChart('development-chart');
      $('development-chart').replaceChildren();
      $('development-chart').hidden = true;
      const aground = result.warnings.some((w) => w.code === 'grounding');
      none.textContent = result.status === 'blocked'
        ? 'Nothing develops: ' + noWaves(result) + '.'
        : aground ? 'Nothing develops: the waves run aground, the water is ' +
                        'shallower than half the wave height.'
                  : 'The report ends without a development table for this sea' +
                        (result.wind_kt < 10 ? ' (winds below 10 knots).' : '.');
      none.hidden = false;
      $('development-caption').textContent = '';
      return;
    }
    none.hidden = true;
    $('development-chart').hidden = false;
    const hc = result.wave.height_m;
    const xs = [0];
    const hcs = [hc];
    const hmax = [null];
    const horizons = result.development;
    for (const h of horizons) {
      xs.push(h.hours);
      hcs.push(h.height_m);
      hmax.push(h.hmax_m);
    }
    drawChart('development-chart', {
      scales: {x: {time: false}, y: fromZero},
      axes: axes('hours from now', 'height, m'),
      series: [
        {label: 'hours'},
        {label: 'Hc', stroke: '#0b5394', width: 2, points: {show: true, size: 7}},
        {label: 'Hmax', stroke: '#b00020', width: 2, dash: [6, 4],
         points: {show: true, size: 7}},
      ],
    }, [xs, hcs, hmax]);
    const scales = horizons.map((h) => h.sea_scale);
    $('development-caption').textContent =
        'Hc now ' + withUnit(fixed(hc, 1), 'm', result) + '; Hmax after ' +
        horizons.map((h) => h.hours + ' h: ' + orNone(fixed(h.hmax_m, 1), 'm'))
            .join(', ') + '.' +
        (horizons.some((h) => h.height_m === null)
          ? ' Where Hc is missing it would be beyond 40 m, where the model ' +
              'has nothing sensible to say.'
          : '') +
        (scales.every((n) => n !== null)
          ? ' Sea scale (this program\'s own, see the table below) ' +
              scales.join(', ') + '.'
          : '');
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
    // Hours on a logarithmic axis: the growth of the first hours is where
    // the height changes.
    drawChart('growth-chart', {
      scales: {x: {time: false, distr: 3, log: 10, auto: false, range: [1, 200]},
               y: fromZero},
      axes: axes('duration of the wind, hours', 'height, m'),
      series: [
        {label: 'hours'},
        {label: 'Hc', stroke: '#0b5394', width: 2},
        {label: 'deep water', stroke: '#5b6b79', width: 1, dash: [4, 4]},
        marker('fetch stops the growth', '#e07b00'),
        marker('entered duration', '#b00020'),
      ],
    }, [xs, hc, deep, atFetch, atEntered]);
    const missing = spans(xs.filter((d) => height(byHours.get(d)) === null));
    $('growth-caption').textContent = (firstFetch === undefined
      ? 'Within 200 hours the duration limits the growth throughout.'
      : 'From ' + firstFetch + ' h on the fetch of ' + result.fetch_km +
          ' km stops the growth.') +
        ' Entered duration: ' + result.duration_h + ' h.' +
        (missing === ''
          ? ''
          : ' No Hc for ' + missing + ' of wind: ' +
              noWaves({status: 'blocked', current_kt: result.current_kt}) +
              '; the dashed line is the sea in deep water without current.');
  }

  // Sorted whole hours as runs: [1, 2, 3, 7, 9, 10] -> "1-3 h, 7 h, 9-10 h".
  function spans(hours) {
    const runs = [];
    for (const h of hours) {
      const last = runs[runs.length - 1];
      if (last && h === last[1] + 1) last[1] = h;
      else runs.push([h, h]);
    }
    return runs.map(([a, b]) => (a === b ? a + ' h' : a + '\u2013' + b + ' h'))
        .join(', ');
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

  // A tile's value with its unit, or in words why there is none.
  function tile(id, text, unit, result) {
    $(id).textContent = withUnit(text, unit, result);
    $(id).classList.toggle('words', text === null);
  }

  const capitalised = (text) => text.charAt(0).toUpperCase() + text.slice(1);

  // The results brought into view under the form (on a phone they start
  // below the fold), their heading focused for the keyboard and screen
  // readers.
  function showResults(form) {
    const title = $(form + '-results-title');
    title.focus({preventScroll: true});
    title.scrollIntoView({block: 'start'});
  }

  // --- Remembered entries ---------------------------------------------------

  // The last entries that gave a report, kept on the device so that the
  // page opens with them. Storage may be refused (a private window, a file
  // opened from disk in some browsers): the page then simply forgets.
  const STORE = 'morvelstandrik.entries';

  function stored() {
    try {
      return JSON.parse(window.localStorage.getItem(STORE)) || {};
    } catch {
      return {};
    }
  }

  function remember(form, ids, values, extra) {
    try {
      const all = stored();
      all[form] = Object.assign(
          Object.fromEntries(ids.map((id, k) => [id, values[k]])), extra);
      window.localStorage.setItem(STORE, JSON.stringify(all));
    } catch {
      // Not kept: the page works the same without it.
    }
  }

  function recall() {
    const all = stored();
    for (const [form, ids] of [['windsea', WINDSEA_FIELDS], ['swell', SWELL_FIELDS]]) {
      const entries = all[form];
      if (!entries || typeof entries !== 'object') continue;
      for (const id of ids) {
        if (typeof entries[id] === 'string') $(id).value = entries[id];
      }
      if (form === 'windsea' && typeof entries.relative === 'boolean') {
        $('relative').checked = entries.relative;
      }
    }
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

    remember('windsea', WINDSEA_FIELDS, values, {relative});
    $('windsea-error').textContent = '';
    $('windsea-results').hidden = false;
    $('windsea-report').textContent = got.report;
    tile('glance-hc', fixed(result.wave.height_m, 1), 'm', result);
    tile('glance-lc', fixed(result.wave.length_m, 0), 'm', result);
    tile('glance-tc', fixed(result.wave.period_s, 1), 's', result);
    tile('glance-sick', result.sea_sickness_percent === null
      ? null : String(result.sea_sickness_percent), '%', result);
    const state = $('windsea-state');
    state.textContent = result.status !== 'blocked' ? ''
      : capitalised(noWaves(result)) + '.' +
          (result.wave.height_m === null
            ? ' The steepness and sea-sickness figures in the report below ' +
                'rest on no wave height; they are left out here.'
            : '');
    state.hidden = state.textContent === '';
    fillWarnings($('windsea-warnings'), result.warnings);
    fillList($('windsea-notes'), result.notes.map((n) => n.text));
    drawDevelopment(result);
    showResults('windsea');
    $('growth-caption').textContent = 'Working out the growth over 1 to 200 hours …';
    $('windsea-results').dataset.reportMs = reportMs.toFixed(3);

    // The growth chart evaluates 200 durations: after the report is on the
    // screen, not before.
    setTimeout(() => {
      try {
        drawGrowth(result, growthRows(values, relative));
        const totalMs = performance.now() - start;
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
    remember('swell', SWELL_FIELDS, SWELL_FIELDS.map(typed), {});
    $('swell-error').textContent = '';
    $('swell-results').hidden = false;
    $('swell-report').textContent = got.report;
    $('swell-summary').textContent = describeSwell(got.result);
    showResults('swell');
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

  recall();

  // A phone's decimal pad may have no minus sign: the button beside the
  // current turns it against the wind or with it.
  $('current-sign').addEventListener('click', () => {
    const field = $('current');
    const text = field.value.trim();
    field.value = /^[-\u2212]/.test(text) ? text.slice(1) : '-' + text;
  });

  // The reports open under their tiles on a wide screen; on a phone they sit
  // behind their disclosure, below the figures that fit its width.
  if (window.matchMedia('(min-width: 40rem)').matches) {
    $('windsea-report-box').open = true;
    $('swell-report-box').open = true;
  }

  $('windsea-form').addEventListener('submit', guarded(runWindSea, 'windsea-error'));
  $('swell-form').addEventListener('submit', guarded(runSwell, 'swell-error'));
})();
