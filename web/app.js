// The page: reads the forms, calls the engines inside the page (the same
// engines, rules and report renderer as the console program) and shows the
// report, the essentials at a glance and two charts.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);

  // --- The engine -----------------------------------------------------------

  // The engines, called directly: a case's typed entries go in as texts
  // (read, checked and refused by the command line's own rules), its result
  // comes back as numbers, one slot per field, which the schema's walk
  // turns into the very object the command line's JSON holds; the report
  // is the renderer's own text.
  function makeEngine(module) {
    const schema = JSON.parse(module.UTF8ToString(module._morvel_schema()));
    const compute = module.cwrap('morvel_case', 'number',
                                 ['number', 'string', 'string', 'number']);
    const unitNumber = module.cwrap('morvel_unit', 'number', ['number', 'string']);
    const commands = {};
    schema.commands.forEach((command, number) => {
      // Where each field sits: its dotted name (wave.height_m) to its slot.
      const slot = {};
      const path = [];
      let width = 0;
      for (const [kind, name] of command.walk) {
        if (kind === 'begin' || kind === 'list') path.push(name);
        if (kind === 'end' || kind === 'end_list') path.pop();
        if (kind !== 'begin' && kind !== 'end' && kind !== 'end_list') {
          slot[kind === 'list' ? path.join('.')
                               : path.concat([name]).join('.')] = width++;
        }
      }
      commands[command.name] = Object.assign({number, slot, width}, command,
                                             {entries: command.entries.map((e) => e.option),
                                              entry: command.entries});
    });
    // The units table: the names of each quantity's units, its engine's
    // unit first; a unit's number in the table, looked up once.
    const unitsOf = (quantity) => schema.units.filter((u) => u.quantity === quantity)
        .map((u) => u.name);
    const numbers = new Map();
    const numberOf = (quantity, name) => {
      const key = quantity + ' ' + name;
      if (!numbers.has(key)) numbers.set(key, unitNumber(quantity, name));
      return numbers.get(key);
    };
    const slots = (pointer, count) => module.HEAPF64.subarray(pointer >> 3,
                                                               (pointer >> 3) + count);
    // The report's single bytes as characters U+0000 to U+00FF, as the
    // native program's output reads in Latin-1 (the grounding record's
    // byte 0xF5 is U+00F5).
    const latin1 = (pointer, size) => {
      const bytes = module.HEAPU8.subarray(pointer, pointer + size);
      let text = '';
      for (let i = 0; i < bytes.length; i += 8192) {
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
      }
      return text;
    };
    return {
      commands,
      unitsOf,
      // Computes a case of the command NAME from the texts of its entries
      // (all of them, in its order) and their units (by name; '' for the
      // entry's own): {result, report}, or {refused: {entry, problem}}
      // naming the refused entry by its option.
      compute(name, texts, units, relative) {
        const c = commands[name];
        if (compute(c.number, texts.join('\n'), units.join('\n'),
                    relative ? 1 : 0) !== 0) {
          const k = module._morvel_refused_entry();
          return {refused: {entry: k < c.entries.length ? c.entries[k] : 'model',
                            problem: module.UTF8ToString(module._morvel_problem())}};
        }
        return {
          result: decode(c.walk, slots(module._morvel_values(), c.width)),
          report: latin1(module._morvel_report(), module._morvel_report_size()),
        };
      },
      // An engine value (metres) in the unit NAME of QUANTITY, rounded to
      // float once; with DECIMAL as the double its shortest text reads as
      // (for figures to be rounded for reading), without it the float
      // itself (for charts). NaN where there is none.
      fromEngine(quantity, name, value, decimal) {
        return module._morvel_from_engine(numberOf(quantity, name), value,
                                          decimal ? 1 : 0);
      },
      // The last computed case again for each whole value FROM to TO of
      // its entry ENTRY: the named fields as columns of floats (NaN where
      // there is no value), one row per value.
      sweep(name, entry, from, to, fields) {
        const c = commands[name];
        const rows = module._morvel_sweep(c.entries.indexOf(entry), from, to);
        const all = slots(module._morvel_sweep_values(), rows * c.width);
        const columns = {};
        for (const field of fields) {
          const column = new Float64Array(rows);
          for (let r = 0, k = c.slot[field]; r < rows; ++r, k += c.width) {
            column[r] = all[k];
          }
          columns[field] = column;
        }
        return columns;
      },
    };
  }

  // The slots of one result as the command line's JSON object: members in
  // the walk's order, null for no value, choices as their codes, flags as
  // lists of {code, text}, a list that is not present as null.
  function decode(walk, values) {
    const root = {};
    const open = [];
    let into = root;
    let muted = 0;  // inside a list that is not present
    let k = 0;
    const put = (name, value) => {
      if (Array.isArray(into)) into.push(value);
      else into[name] = value;
    };
    for (const [kind, name, codes] of walk) {
      switch (kind) {
        case 'number':
        case 'integer': {
          const v = values[k++];
          if (!muted) put(name, Number.isNaN(v) ? null : v);
          break;
        }
        case 'choice': {
          const v = values[k++];
          if (!muted) put(name, codes[v][0]);
          break;
        }
        case 'flags': {
          const bits = values[k++];
          if (!muted) {
            put(name, codes.filter((code, i) => Math.floor(bits / 2 ** i) % 2 === 1)
                          .map(([code, text]) => ({code, text})));
          }
          break;
        }
        case 'begin':
          if (!muted) {
            const record = {};
            put(name, record);
            open.push(into);
            into = record;
          }
          break;
        case 'end':
          if (!muted) into = open.pop();
          break;
        case 'list': {
          const present = values[k++] === 1;
          if (muted || !present) {
            if (!muted) put(name, null);
            ++muted;
          } else {
            const list = [];
            put(name, list);
            open.push(into);
            into = list;
          }
          break;
        }
        case 'end_list':
          if (muted) --muted;
          else into = open.pop();
          break;
        default:
          throw new Error('unknown step in the engine\'s walk: ' + kind);
      }
    }
    return root;
  }

  let engine = null;
  const ready = createMorvel().then((module) => {
    engine = makeEngine(module);
    heights = engine.commands.swell.entry.find((e) => e.option === 'height').quantity;
    fillUnits();
    recall(true);
    document.body.dataset.ready = 'true';
  });

  // --- Reading the fields ---------------------------------------------------

  // The text of a field as typed (trimmed): the engine reads the numbers by
  // the command line's rules and refuses what it cannot use, naming the
  // entry by its option, which is the field's id.
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
    : unit === '' ? text : text + ' ' + unit);

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

  // As wide as the chart's box (down to 200 px on the narrowest phones).
  function chartWidth(id) {
    return Math.max(200, $(id).clientWidth || 300);
  }

  // The legends name the series without the values under the cursor (on a
  // phone there is no cursor, and idle values are placeholders). The chart
  // draws itself once the script in hand is done: the promise is kept then.
  function drawChart(id, options, data) {
    dropChart(id);
    return new Promise((drawn) => {
      const opts = Object.assign({width: chartWidth(id), height: 240,
                                  legend: {live: false},
                                  hooks: {draw: [() => drawn()]}}, options);
      charts[id] = new uPlot(opts, data, $(id));
      $(id).plot = charts[id];
      $(id).dataset.points = String(data[0].length);
    });
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

  // The charts' colours from the style sheet (--chart-NAME), which has a
  // set for the light and one for the dark scheme.
  const colour = (name) => getComputedStyle(document.documentElement)
      .getPropertyValue('--chart-' + name).trim();

  // Heights are compared with each other: their axis starts at zero.
  const fromZero = {
    auto: true,
    range: (u, min, max) => [0, max > 0 ? max * 1.1 : 1],
  };

  const axes = (xLabel, yLabel) => [
    {label: xLabel, stroke: colour('axis'), grid: {stroke: colour('grid')}},
    {label: yLabel, stroke: colour('axis'), grid: {stroke: colour('grid')}},
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
      return Promise.resolve();
    }
    none.hidden = true;
    $('development-chart').hidden = false;
    const hc = result.wave.height_m;
    const xs = [0];
    const hcs = [inDisplay(hc, false)];
    const hmax = [null];
    const horizons = result.development;
    for (const h of horizons) {
      xs.push(h.hours);
      hcs.push(inDisplay(h.height_m, false));
      hmax.push(inDisplay(h.hmax_m, false));
    }
    const drawn = drawChart('development-chart', {
      scales: {x: {time: false}, y: fromZero},
      axes: axes('hours from now', 'height, ' + display),
      series: [
        {label: 'hours'},
        {label: 'Hc', stroke: colour('hc'), width: 2, points: {show: true, size: 7}},
        {label: 'Hmax', stroke: colour('hmax'), width: 2, dash: [6, 4],
         points: {show: true, size: 7}},
      ],
    }, [xs, hcs, hmax]);
    const scales = horizons.map((h) => h.sea_scale);
    $('development-caption').textContent =
        'Hc now ' + withUnit(fixed(inDisplay(hc, true), 1), display, result) +
        '; Hmax after ' +
        horizons.map((h) => h.hours + ' h: ' +
                          orNone(fixed(inDisplay(h.hmax_m, true), 1), display))
            .join(', ') + '.' +
        (horizons.some((h) => h.height_m === null)
          ? ' Where Hc is missing it would be beyond 40 m, where the model ' +
              'has nothing sensible to say.'
          : '') +
        (scales.every((n) => n !== null)
          ? ' Sea scale (this program\'s own, see the table below) ' +
              scales.join(', ') + '.'
          : '');
    return drawn;
  }

  // Hc against the duration of the wind, 1 to 200 hours, for the entered
  // wind, fetch, depth and current (GROWTH: the engine's columns for each
  // whole hour), with the entered duration from the report's own RESULT:
  // where the fetch stops the growth, and the entered duration.
  function drawGrowth(result, growth) {
    const hours = growth['duration_h'];
    const heights = growth['wave.height_m'];
    const deeps = growth['deep_water.height_m'];
    const limits = growth['limited_by'];
    const fetchLimited = result.limited_by === 'fetch';
    const fetchCode = engine.commands.windsea.walk
        .find(([kind, name]) => kind === 'choice' && name === 'limited_by')[2]
        .findIndex(([code]) => code === 'fetch');
    const orNull = (v) => inDisplay(v, false);
    const xs = [];
    const hc = [];
    const deep = [];
    const isFetch = [];
    for (let r = 0; r < hours.length; ++r) {
      if (Number.isNaN(hours[r])) continue;
      xs.push(hours[r]);
      hc.push(orNull(heights[r]));
      deep.push(orNull(deeps[r]));
      isFetch.push(limits[r] === fetchCode);
    }
    // An entered duration between whole hours joins them as its own point.
    let at = xs.indexOf(result.duration_h);
    if (at < 0) {
      at = xs.findIndex((d) => d > result.duration_h);
      if (at < 0) at = xs.length;
      xs.splice(at, 0, result.duration_h);
      hc.splice(at, 0, inDisplay(result.wave.height_m, false));
      deep.splice(at, 0, inDisplay(result.deep_water.height_m, false));
      isFetch.splice(at, 0, fetchLimited);
    }
    const first = isFetch.indexOf(true);
    const firstFetch = first < 0 ? undefined : xs[first];
    const atEntered = xs.map((d, k) => (k === at ? (hc[k] ?? deep[k]) : null));
    const atFetch = xs.map((d, k) => (k === first ? (hc[k] ?? deep[k]) : null));
    // Hours on a logarithmic axis: the growth of the first hours is where
    // the height changes.
    const drawn = drawChart('growth-chart', {
      scales: {x: {time: false, distr: 3, log: 10, auto: false, range: [1, 200]},
               y: fromZero},
      axes: axes('duration of the wind, hours', 'height, ' + display),
      series: [
        {label: 'hours'},
        {label: 'Hc', stroke: colour('hc'), width: 2},
        {label: 'deep water', stroke: colour('deep'), width: 1, dash: [4, 4]},
        marker('fetch stops the growth', colour('fetch')),
        marker('entered duration', colour('entered')),
      ],
    }, [xs, hc, deep, atFetch, atEntered]);
    const missing = spans(xs.filter((d, k) => hc[k] === null));
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
    return drawn;
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

  // A refused entry comes back naming it by its option, which is the id
  // of its field: that field is marked, focused and the program's reason
  // put beside it ("This is not a number; use a decimal point.").
  function showFailure(ids, errorId, refused) {
    if (ids.includes(refused.entry)) {
      const reason = 'This ' + refused.problem;
      $(refused.entry).setAttribute('aria-invalid', 'true');
      $(refused.entry + '-error').textContent =
          reason.endsWith('.') ? reason : reason + '.';
      $(refused.entry).focus();
      $(errorId).textContent = '';
      return;
    }
    $(errorId).textContent = 'The ' + refused.entry + ' ' + refused.problem + '.';
  }

  // One case of the engine COMMAND for a report, from the texts VALUES of
  // the fields IDS in their UNITS: its result with the text report, or
  // null after saying why the entries were refused.
  function reportAndResult(command, ids, values, units, relative, errorId) {
    clearMarks(ids);
    const got = engine.compute(command, values, units, relative);
    if (got.refused) {
      showFailure(ids, errorId, got.refused);
      return null;
    }
    return got;
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

  // --- Units ---------------------------------------------------------------

  // The fields whose unit the user chooses, by the units table: the
  // engine's unit first (knots, km, m), which the range in the label is in.
  // The engine always gets the converted value.
  const UNIT_FIELDS = {wind: 'windsea', fetch: 'windsea', depth: 'windsea',
                       height: 'swell'};
  const LONG_NAMES = {'kt': 'knots', 'm/s': 'metres per second',
                      'km/h': 'kilometres per hour', 'mph': 'miles per hour',
                      'bft': 'Beaufort force', 'km': 'kilometres',
                      'nmi': 'nautical miles', 'mi': 'statute miles',
                      'm': 'metres', 'ft': 'feet', 'fathom': 'fathoms'};

  // The unit a field's text is in, by name ('' for a field without a
  // choice).
  const unitOf = (id) => ($(id + '-unit') ? $(id + '-unit').value : '');
  const chosenUnits = (ids) => Object.fromEntries(
      ids.filter((id) => $(id + '-unit')).map((id) => [id, unitOf(id)]));

  // Each unit selector gets its quantity's units from the engine's table.
  function fillUnits() {
    for (const [id, command] of Object.entries(UNIT_FIELDS)) {
      const entry = engine.commands[command].entry.find((e) => e.option === id);
      const select = $(id + '-unit');
      select.replaceChildren(...engine.unitsOf(entry.quantity).map((name) => {
        const option = document.createElement('option');
        option.value = name;
        option.textContent = name;
        option.title = LONG_NAMES[name] || name;
        return option;
      }));
      $(id + '-hint').dataset.own = $(id + '-hint').textContent;
      select.addEventListener('change', () => hint(id));
    }
  }

  // The label's hint in the unit chosen; the range stays the model's.
  //   wind in m/s -> "metres per second; the model takes knots, 1 to 65"
  function hint(id) {
    const select = $(id + '-unit');
    const own = $(id + '-hint').dataset.own;
    const name = select.value;
    $(id + '-hint').textContent = select.selectedIndex <= 0 ? own
      : name === 'bft' ? 'Beaufort force, 0 to 12, taken as the middle of its ' +
                           'range of knots; the model takes ' + own
                       : (LONG_NAMES[name] || name) + '; the model takes ' + own;
  }

  // Heights and lengths on the page in metres or feet, kept on the device;
  // the report stays in the program's own units.
  const DISPLAY = 'morvelstandrik.display';
  let display = 'm';
  let heights = null;  // the quantity whose units heights are shown in

  // A height or length (m) in the display unit, converted by the engine's
  // units table: with DECIMAL as a figure to round for reading, without it
  // as the float for a chart; null where there is none.
  function inDisplay(metres, decimal) {
    if (metres === null || Number.isNaN(metres)) return null;
    if (display === 'm') return metres;
    const v = engine.fromEngine(heights, display, metres, decimal);
    return Number.isNaN(v) ? null : v;
  }

  function chooseDisplay(unit) {
    display = unit === 'ft' ? 'ft' : 'm';
    $('display-' + display).checked = true;
  }

  for (const id of ['display-m', 'display-ft']) {
    $(id).addEventListener('change', () => {
      chooseDisplay($(id).value);
      try {
        window.localStorage.setItem(DISPLAY, display);
      } catch {
        // Not kept: the page works the same without it.
      }
      ready.then(() => showWindSea());
    });
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

  // The entries, and (once the engine has filled the selectors) the units
  // they were given in.
  function recall(withUnits) {
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
      const units = entries.units;
      if (!withUnits || !units || typeof units !== 'object') continue;
      for (const id of ids) {
        const select = $(id + '-unit');
        if (select && [...select.options].some((o) => o.value === units[id])) {
          select.value = units[id];
          hint(id);
        }
      }
    }
  }

  let windSeaRuns = 0;
  let swellRuns = 0;

  const WINDSEA_FIELDS = ['wind', 'duration', 'fetch', 'depth', 'current'];
  const SWELL_FIELDS = ['period', 'height'];

  function runWindSea() {
    const values = WINDSEA_FIELDS.map(typed);
    const units = WINDSEA_FIELDS.map(unitOf);
    const relative = $('relative').checked;
    const start = performance.now();
    const got = reportAndResult('windsea', WINDSEA_FIELDS, values, units, relative,
                                'windsea-error');
    if (!got) return;
    remember('windsea', WINDSEA_FIELDS, values, {relative, units: chosenUnits(WINDSEA_FIELDS)});
    $('windsea-error').textContent = '';
    $('windsea-results').hidden = false;
    $('windsea-results').result = got.result;
    $('windsea-report').textContent = got.report;
    const growth = engine.sweep('windsea', 'duration', 1, 200, GROWTH_FIELDS);
    $('growth-chart').growth = growth;
    showWindSea = () => showFigures(got.result, growth);
    const drawn = showWindSea();
    showResults('windsea');
    // Timed from the press of the button until both charts are drawn.
    return Promise.all(drawn).then(() => {
      $('windsea-results').dataset.totalMs = (performance.now() - start).toFixed(3);
      $('windsea-results').dataset.runs = String(++windSeaRuns);
    });
  }

  // The figures of a report at a glance, its warnings and notes, and its
  // charts (GROWTH: the sweep over the durations), heights and lengths in
  // the unit chosen for them. Returns the charts' promises to be drawn.
  function showFigures(result, growth) {
    const shown = {
      unit: display,
      hc: inDisplay(result.wave.height_m, true),
      lc: inDisplay(result.wave.length_m, true),
      deep: inDisplay(result.deep_water.height_m, true),
    };
    $('windsea-results').shown = shown;
    tile('glance-hc', fixed(shown.hc, 1), display, result);
    tile('glance-lc', fixed(shown.lc, 0), display, result);
    tile('glance-tc', fixed(result.wave.period_s, 1), 's', result);
    tile('glance-sick', result.sea_sickness_percent === null
      ? null : String(result.sea_sickness_percent), '%', result);
    tile('glance-steepness', fixed(result.steepness, 3), '', result);
    tile('glance-factor', fixed(result.factor, 1), '', result);
    tile('glance-umax', fixed(result.stopping_current_kt, 1), 'kt', result);
    tile('glance-deep', fixed(shown.deep, 1), display, result);
    const state = $('windsea-state');
    state.textContent = result.status !== 'blocked' ? ''
      : capitalised(noWaves(result)) + '.' +
          (result.wave.height_m === null
            ? ' The steepness and sea-sickness figures in the report below ' +
                'rest on no wave height; they are left out here.'
            : '');
    state.hidden = state.textContent === '';
    fillWarnings($('windsea-warnings'), result.warnings);
    // Said once to a screen reader: the figures and the gravest warning.
    const said = [['Hc', 'glance-hc'], ['Lc', 'glance-lc'], ['Tc', 'glance-tc'],
                  ['sea sickness', 'glance-sick']]
        .map(([name, id]) => name + ' ' + $(id).textContent);
    const gravest = $('windsea-warnings').firstElementChild;
    $('windsea-announce').textContent = 'Wind sea: ' + said.join(', ') + '.' +
        (gravest ? ' ' + gravest.textContent : '');
    fillList($('windsea-notes'), result.notes.map((n) => n.text));
    return [drawDevelopment(result), drawGrowth(result, growth)];
  }

  // Shows the last report again (in the other scheme's colours when the
  // system turns dark or light, in the other unit when one is chosen).
  let showWindSea = () => [];
  window.matchMedia('(prefers-color-scheme: dark)')
      .addEventListener('change', () => showWindSea());

  // The growth chart's columns: the sea for every whole hour of wind.
  const GROWTH_FIELDS = ['duration_h', 'wave.height_m', 'deep_water.height_m',
                         'limited_by'];

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
    const got = reportAndResult('swell', SWELL_FIELDS, SWELL_FIELDS.map(typed),
                                SWELL_FIELDS.map(unitOf), false, 'swell-error');
    if (!got) return;
    remember('swell', SWELL_FIELDS, SWELL_FIELDS.map(typed),
             {units: chosenUnits(SWELL_FIELDS)});
    $('swell-error').textContent = '';
    $('swell-results').hidden = false;
    $('swell-results').result = got.result;
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

  // --- Installed and offline -----------------------------------------------

  // Served over HTTP(S) the page is an app to install: the manifest and
  // icons go into its head, and a service worker keeps every file of the
  // site on the device. Opened from disk (file://) there is no worker and
  // nothing to fetch: the one file is the whole page.
  function offline() {
    if (!/^https?:$/.test(window.location.protocol)) return;
    for (const [rel, href] of [['manifest', 'manifest.webmanifest'],
                               ['icon', 'icon-192.png'],
                               ['apple-touch-icon', 'icon-192.png']]) {
      const link = document.createElement('link');
      link.rel = rel;
      link.href = href;
      document.head.append(link);
    }
    if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
    // A worker that takes over from another brings a newer version: the
    // page in hand is the old one until it is loaded again.
    const hadWorker = navigator.serviceWorker.controller !== null;
    const kept = () => {
      $('offline-status').textContent =
          'Its files are kept on this device: it opens without a network.';
      document.body.dataset.offline = 'ready';
    };
    if (hadWorker) kept();
    navigator.serviceWorker.addEventListener('controllerchange', () => {
      kept();
      if (hadWorker) $('update-note').hidden = false;
    });
    navigator.serviceWorker.register('sw.js').catch(() => {
      // Not kept offline (storage refused, a private window): the page
      // works the same online.
    });
  }
  $('update-reload').addEventListener('click', () => window.location.reload());

  offline();
  recall(false);
  try {
    chooseDisplay(window.localStorage.getItem(DISPLAY));
  } catch {
    chooseDisplay('m');
  }

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
