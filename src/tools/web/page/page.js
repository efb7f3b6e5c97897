// The chart page: shows each frame the server pushes, and sends back what the user does on it
// (presses, scrolling and zooming, settings). Every text from the server reaches the page
// through textContent, value or the SVG parser, never as markup of its own.
'use strict';

(() => {
  const token = document.querySelector('meta[name="ordinel-token"]').content;
  const chartBox = document.getElementById('chart');
  const settings = document.getElementById('settings');
  const settingsButton = document.getElementById('settings-button');
  const inputsBox = document.getElementById('inputs');
  const coloursBox = document.getElementById('colours');
  const logList = document.getElementById('log');
  const DRAG_THRESHOLD = 4;  // pixels a press may move and stay a press
  const ZOOM_STEP = 1.25;

  let frame = null;
  let settingsShape = '';  // the inputs' labels and kinds the dialog was built for

  async function send(path, fields) {
    try {
      const response = await fetch(path, {
        method: 'POST',
        headers: {'X-Ordinel-Token': token},
        body: new URLSearchParams(fields),
      });
      return {ok: response.ok, text: (await response.text()).trim()};
    } catch (error) {
      return {ok: false, text: 'the chart server cannot be reached'};
    }
  }

  // The renderer's SVG, parsed as SVG (scripts in it would never run) and moved into the page.
  function showChart(svgText) {
    const doc = new DOMParser().parseFromString(svgText, 'image/svg+xml');
    const svg = doc.documentElement;
    if (doc.getElementsByTagName('parsererror').length > 0 || svg.localName !== 'svg') return;
    chartBox.replaceChildren(document.importNode(svg, true));
  }

  function showFacts(f) {
    document.getElementById('symbol').textContent = f.symbol;
    // The chart's time is its newest bar's; the study's own clock is there on hover.
    const clock = document.getElementById('clock');
    clock.textContent = (f.chartTime ?? f.clock) + ' New York';
    clock.title = `Study clock: ${f.clock} New York`;
    document.getElementById('bars').textContent =
        `${f.visible.first}-${f.visible.last} of ${f.barCount}`;
    document.getElementById('last-answer').textContent = f.lastAnswer
        ? `${f.lastAnswer.time} New York (HTTP ${f.lastAnswer.status})` : 'none yet';
    chartBox.dataset.first = f.visible.first;
    chartBox.dataset.last = f.visible.last;
    chartBox.dataset.version = f.version;
  }

  function showLog(entries) {
    const atEnd = logList.scrollTop + logList.clientHeight >= logList.scrollHeight - 4;
    if (entries.length === 0) {
      const none = document.createElement('li');
      none.className = 'none';
      none.textContent = 'No entries yet.';
      logList.replaceChildren(none);
      return;
    }
    logList.replaceChildren(...entries.map((entry) => {
      const item = document.createElement('li');
      item.textContent = entry.text;
      if (entry.show) item.className = 'shown';
      return item;
    }));
    if (atEnd) logList.scrollTop = logList.scrollHeight;
  }

  // ---- settings dialog -------------------------------------------------------------------

  function controlFor(input) {
    let control;
    if (input.kind === 'yesno') {
      control = document.createElement('input');
      control.type = 'checkbox';
    } else if (input.kind === 'choice') {
      control = document.createElement('select');
      for (const choice of input.choices) {
        const option = document.createElement('option');
        option.value = choice;
        option.textContent = choice;
        control.append(option);
      }
    } else {
      control = document.createElement('input');
      control.type = input.kind === 'text' ? 'text' : 'number';
      if (input.kind === 'integer') control.step = '1';
      if (input.kind === 'float') control.step = 'any';
      if (input.min !== undefined) control.min = String(input.min);
      if (input.max !== undefined) control.max = String(input.max);
    }
    control.id = `input-${input.slot}`;
    control.dataset.label = input.label;
    return control;
  }

  function controlValue(control) {
    return control.type === 'checkbox' ? (control.checked ? 'Yes' : 'No') : control.value;
  }

  function setControlValue(control, value) {
    if (control.type === 'checkbox') {
      control.checked = value === 'Yes';
    } else if (control.localName === 'select' && ![...control.options].some((o) => o.value === value)) {
      const option = document.createElement('option');  // an index beyond the list
      option.value = value;
      option.textContent = value;
      control.append(option);
      control.value = value;
    } else {
      control.value = value;
    }
  }

  // One fieldset per section, in the order the sections first come; inputs in slot order.
  function buildInputs(inputs) {
    const sections = new Map();
    for (const input of inputs) {
      if (!sections.has(input.section)) {
        const fieldset = document.createElement('fieldset');
        const legend = document.createElement('legend');
        legend.textContent = input.section;
        fieldset.append(legend);
        sections.set(input.section, fieldset);
      }
      sections.get(input.section).append(inputRow(input));
    }
    inputsBox.replaceChildren(...sections.values());
  }

  function inputRow(input) {
    const row = document.createElement('div');
    row.className = 'setting';
    const label = document.createElement('label');
    label.textContent = input.label;
    const control = controlFor(input);
    label.htmlFor = control.id;
    const error = document.createElement('span');
    error.className = 'error';
    error.setAttribute('role', 'alert');
    row.append(label, control);
    if (input.kind !== 'yesno') {
      const takes = document.createElement('span');
      takes.className = 'takes';
      takes.textContent = input.kind === 'choice' ? `One of: ${input.takes}` : `Takes ${input.takes}`;
      row.append(takes);
    }
    row.append(error);
    control.addEventListener('change', async () => {
      control.dataset.sending = '1';
      const reply = await send('/api/input', {label: input.label, value: controlValue(control)});
      delete control.dataset.sending;
      error.textContent = reply.ok ? '' : reply.text;
    });
    return row;
  }

  function buildColours(subgraphs) {
    coloursBox.replaceChildren(...subgraphs.map((subgraph) => {
      const row = document.createElement('div');
      row.className = 'setting';
      const label = document.createElement('label');
      label.textContent = subgraph.name;
      const control = document.createElement('input');
      control.type = 'color';
      control.id = `colour-${subgraph.number}`;
      label.htmlFor = control.id;
      const error = document.createElement('span');
      error.className = 'error';
      row.append(label, control, error);
      control.addEventListener('change', async () => {
        const reply = await send('/api/colour', {number: subgraph.number, colour: control.value});
        error.textContent = reply.ok ? '' : reply.text;
      });
      return row;
    }));
  }

  function showSettings(f) {
    const shape = JSON.stringify([f.inputs.map((i) => [i.slot, i.label, i.kind, i.section]), f.subgraphs.map((s) => s.number)]);
    if (shape !== settingsShape) {
      buildInputs(f.inputs);
      buildColours(f.subgraphs);
      settingsShape = shape;
    }
    // Fields the user is editing keep what they hold.
    for (const input of f.inputs) {
      const control = document.getElementById(`input-${input.slot}`);
      if (control && control !== document.activeElement && !control.dataset.sending) setControlValue(control, input.value);
    }
    for (const subgraph of f.subgraphs) {
      const control = document.getElementById(`colour-${subgraph.number}`);
      if (control && control !== document.activeElement) control.value = subgraph.colour;
    }
  }

  settingsButton.addEventListener('click', () => {
    settings.hidden = !settings.hidden;
    settingsButton.setAttribute('aria-expanded', String(!settings.hidden));
  });

  // ---- pointer: presses, drags and the wheel -------------------------------------------------

  // The chart pixel under a pointer event (the SVG may be drawn smaller than its pixels).
  function chartPoint(event) {
    const svg = chartBox.querySelector('svg');
    if (!svg || !frame) return null;
    const box = svg.getBoundingClientRect();
    return {
      x: Math.round((event.clientX - box.left) * frame.width / box.width),
      y: Math.round((event.clientY - box.top) * frame.height / box.height),
    };
  }

  // View changes go one at a time; the latest wish waits for the one in flight.
  let viewWish = null;
  let viewBusy = false;
  function currentView() {
    return viewWish ?? {first: frame.visible.first, last: frame.visible.last};
  }
  // `scale` ({low, high}, or {fit: 1}) goes with the view; a later wish without one keeps it.
  async function requestView(first, last, scale) {
    viewWish = {first, last, scale: scale ?? viewWish?.scale};
    if (viewBusy) return;
    viewBusy = true;
    while (viewWish) {
      const wish = viewWish;
      await send('/api/view', {first: wish.first, last: wish.last, ...wish.scale});
      if (viewWish === wish) viewWish = null;
    }
    viewBusy = false;
  }

  // ---- price axis: a vertical drag scales the prices, a double click fits them again -------

  const AXIS_DRAG_PIXELS = 150;  // a drag this far down spans e times the prices
  function onPriceAxis(point) {
    return point && point.x >= frame.region.right && point.y >= frame.region.top && point.y < frame.region.bottom;
  }
  // The prices a drag of `dy` pixels from the scale `from` shows, around the same middle price.
  function draggedScale(from, dy) {
    const middle = (from.low + from.high) / 2;
    const half = (from.high - from.low) / 2 * Math.exp(dy / AXIS_DRAG_PIXELS);
    return {low: middle - half, high: middle + half};
  }
  function startAxisDrag(point) {
    if (!onPriceAxis(point) || !frame.priceScale) return null;
    return {start: point, scale: {low: frame.priceScale.low, high: frame.priceScale.high}};
  }
  function moveAxisDrag(axisDrag, point) {
    const view = currentView();
    requestView(view.first, view.last, draggedScale(axisDrag.scale, point.y - axisDrag.start.y));
  }
  chartBox.addEventListener('dblclick', (event) => {
    if (!frame || !onPriceAxis(chartPoint(event))) return;
    const view = currentView();
    requestView(view.first, view.last, {fit: 1});
  });

  let drag = null;
  chartBox.addEventListener('pointerdown', (event) => {
    if (event.button !== 0 || !frame) return;
    const point = chartPoint(event);
    if (!point) return;
    drag = {start: point, view: currentView(), moved: false, axis: startAxisDrag(point)};
    chartBox.setPointerCapture(event.pointerId);
  });
  chartBox.addEventListener('pointermove', (event) => {
    if (!drag) return;
    const point = chartPoint(event);
    const dx = point.x - drag.start.x;
    if (!drag.moved && Math.abs(dx) + Math.abs(point.y - drag.start.y) < DRAG_THRESHOLD) return;
    drag.moved = true;
    chartBox.classList.add('dragging');
    if (drag.axis) return moveAxisDrag(drag.axis, point);
    const bars = Math.round(-dx / Math.max(frame.barSpacing, 1));
    requestView(drag.view.first + bars, drag.view.last + bars);
  });
  function endDrag(event, cancelled) {
    if (!drag) return;
    // The price axis is the chart's own: presses there are not the study's.
    const wasPress = !drag.moved && !cancelled && !drag.axis;
    const start = drag.start;
    drag = null;
    chartBox.classList.remove('dragging');
    if (wasPress) send('/api/press', {x: start.x, y: start.y});
  }
  chartBox.addEventListener('pointerup', (event) => endDrag(event, false));
  chartBox.addEventListener('pointercancel', (event) => endDrag(event, true));

  chartBox.addEventListener('wheel', (event) => {
    if (!frame) return;
    event.preventDefault();
    const point = chartPoint(event);
    const view = currentView();
    const count = view.last - view.first + 1;
    const grown = event.deltaY > 0 ? Math.ceil(count * ZOOM_STEP) : Math.floor(count / ZOOM_STEP);
    const wanted = Math.max(1, grown === count ? count + Math.sign(event.deltaY) : grown);
    // The bar under the pointer stays under it.
    const spacing = Math.max(frame.barSpacing, 1);
    const anchor = view.first + Math.min(Math.max((point.x - frame.region.left) / spacing, 0), count);
    const first = Math.round(anchor - (anchor - view.first) * wanted / count);
    requestView(first, first + wanted - 1);
  }, {passive: false});

  // ---- the chart's size: the picture is drawn at the size of its box, as on the platform ----

  // The size last asked for, so that a box that keeps its size asks nothing; one request at a
  // time, the latest wish waiting for the one in flight.
  let sizeAsked = '';
  let sizeWish = null;
  let sizeBusy = false;
  function boxSize() {
    const limits = frame.sizeLimits;
    const fit = (pixels, min, max) => Math.min(Math.max(Math.floor(pixels), min), max);
    return {
      width: fit(chartBox.clientWidth, limits.minWidth, limits.maxWidth),
      height: fit(chartBox.clientHeight, limits.minHeight, limits.maxHeight),
    };
  }
  async function fitChartToBox() {
    if (!frame || !frame.sizeLimits) return;
    const size = boxSize();
    const key = `${size.width}x${size.height}`;
    if (key === sizeAsked) return;
    sizeAsked = key;
    if (!sizeBusy && size.width === frame.width && size.height === frame.height) return;
    sizeWish = size;
    if (sizeBusy) return;
    sizeBusy = true;
    while (sizeWish) {
      const wish = sizeWish;
      sizeWish = null;
      await send('/api/size', wish);
    }
    sizeBusy = false;
  }
  new ResizeObserver(() => fitChartToBox()).observe(chartBox);

  // ---- the keyboard and the latest-bar button ------------------------------------------------

  const latestButton = document.getElementById('latest-button');
  function showLatest() {
    const view = currentView();
    const count = view.last - view.first + 1;
    requestView(frame.barCount - count, frame.barCount - 1);
  }
  // Zooms keeping the last visible bar where it is, as a chart's keyboard zoom does.
  function zoomKeepingLast(zoomIn) {
    const view = currentView();
    const count = view.last - view.first + 1;
    const wanted = zoomIn ? Math.max(1, Math.floor(count / ZOOM_STEP)) : Math.ceil(count * ZOOM_STEP);
    requestView(view.last - wanted + 1, view.last);
  }
  const keyActions = {
    ArrowLeft: (view, step) => requestView(view.first - step, view.last - step),
    ArrowRight: (view, step) => requestView(view.first + step, view.last + step),
    '+': () => zoomKeepingLast(true),
    '=': () => zoomKeepingLast(true),
    '-': () => zoomKeepingLast(false),
    Home: (view) => requestView(0, view.last - view.first),
    End: () => showLatest(),
  };
  document.addEventListener('keydown', (event) => {
    const action = keyActions[event.key];
    if (!action || !frame || event.ctrlKey || event.metaKey || event.altKey) return;
    // Keys typed into the settings stay theirs.
    if (event.target instanceof Element && event.target.closest('input, select, textarea')) return;
    event.preventDefault();
    const view = currentView();
    action(view, Math.max(1, Math.round((view.last - view.first + 1) / 10)));
  });
  latestButton.addEventListener('click', () => {
    if (frame) showLatest();
  });
  function showLatestButton(f) {
    latestButton.hidden = f.barCount === 0 || f.visible.last >= f.barCount - 1;
  }

  // ---- the frames ----------------------------------------------------------------------------

  function apply(next) {
    if (frame && next.version <= frame.version) return;
    frame = next;
    showChart(next.svg);
    showFacts(next);
    showLog(next.log);
    showSettings(next);
    showHistory(next.history);
    showLatestButton(next);
    chartBox.dispatchEvent(new CustomEvent('ordinel:frame', {detail: next}));
    fitChartToBox();
  }

  // ---- the levels' past ------------------------------------------------------------------------

  const historyToggle = document.getElementById('history-toggle');
  const historyStatus = document.getElementById('history-status');

  function showHistory(history) {
    if (!history) return;
    historyToggle.checked = history.on;
    historyStatus.textContent = history.on ? history.status : '';
  }

  historyToggle.addEventListener('change', async () => {
    const reply = await send('/api/history', {on: historyToggle.checked ? '1' : '0'});
    if (!reply.ok) historyStatus.textContent = reply.text;
  });

  const connection = document.getElementById('connection');
  const events = new EventSource('/events');
  events.addEventListener('frame', (event) => apply(JSON.parse(event.data)));
  events.addEventListener('open', () => {
    connection.textContent = 'live';
    connection.className = 'fact live';
  });
  events.addEventListener('error', () => {
    connection.textContent = 'connection lost, retrying';
    connection.className = 'fact lost';
  });
})();
