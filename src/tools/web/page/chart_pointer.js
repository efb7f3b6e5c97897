// The chart's pointer readouts: a crosshair with its price and time on the axes, the open, high,
// low and close of the bar under it, and the name, price and distance from the last price of
// the level line under it. Drawn over the chart from the frame's readout fields (page.js hands
// each frame over as an `ordinel:frame` event); nothing is asked of the server. Texts reach
// the page through textContent only.
'use strict';

(() => {
  const chartBox = document.getElementById('chart');
  const layer = document.getElementById('readout');
  const LEVEL_REACH = 4;  // pixels from a level line that still count as on it

  function part(id, className) {
    const element = document.createElement('div');
    element.id = id;
    element.className = className;
    element.hidden = true;
    layer.append(element);
    return element;
  }
  const across = part('cross-h', 'cross-h');
  const down = part('cross-v', 'cross-v');
  const priceTag = part('price-tag', 'axis-tag');
  const timeTag = part('time-tag', 'axis-tag');
  const ohlc = part('ohlc', '');
  const levelTip = part('level-tip', '');

  let frame = null;
  let pointer = null;  // the last pointer position over the chart, in client pixels

  // Shows `element` with the point (shareX, shareY) of its own box at (x, y) (0, 0: its top
  // left corner; 0.5, 0.5: its centre). Measured once shown, with the text it now holds.
  function place(element, x, y, shareX = 0, shareY = 0) {
    element.hidden = false;
    const left = x - element.offsetWidth * shareX;
    const top = y - element.offsetHeight * shareY;
    element.style.transform = `translate(${Math.round(left)}px, ${Math.round(top)}px)`;
  }

  // The price at pixel row `y` and the row of `price`, on the scale the picture was drawn on.
  function priceAt(scale, y) {
    return scale.high - (y - scale.top) / (scale.bottom - scale.top) * (scale.high - scale.low);
  }
  function rowOf(scale, price) {
    return scale.top + (scale.high - price) / (scale.high - scale.low) * (scale.bottom - scale.top);
  }

  function priceText(price) {
    return price.toFixed(frame.priceDecimals);
  }

  // The bar whose column holds chart pixel `x`: {index, bar, x of its centre}, or null.
  function barAt(x) {
    const spacing = Math.max(frame.barSpacing, 1);
    const offset = Math.floor((x - frame.region.left) / spacing);
    const bar = frame.bars[offset];
    if (offset < 0 || !bar) return null;
    return {index: frame.visible.first + offset, bar, x: frame.region.left + offset * spacing + Math.floor(spacing / 2)};
  }

  // The level line nearest to row `y` within LEVEL_REACH pixels, or null.
  function levelAt(y) {
    let best = null;
    for (const level of frame.levels) {
      const distance = Math.abs(rowOf(frame.priceScale, level.price) - y);
      if (distance <= LEVEL_REACH && (!best || distance < best.distance)) best = {level, distance};
    }
    return best && best.level;
  }

  function hideAll() {
    for (const element of layer.children) element.hidden = true;
  }

  function showBar(under, toScreen) {
    if (!under) {
      down.hidden = true;
      timeTag.hidden = true;
      ohlc.hidden = true;
      return;
    }
    const [time, open, high, low, close] = under.bar;
    const region = frame.region;
    const top = toScreen(under.x, region.top);
    down.style.height = `${toScreen(under.x, region.bottom).y - top.y}px`;
    place(down, top.x, top.y);
    timeTag.textContent = time ? time.slice(0, 16) : `bar ${under.index}`;
    const tagAt = toScreen(under.x, region.bottom);
    place(timeTag, tagAt.x, tagAt.y + 1, 0.5, 0);
    const change = close - open;
    ohlc.textContent = `O ${priceText(open)}  H ${priceText(high)}  L ${priceText(low)}  C ${priceText(close)}` +
        `  ${change >= 0 ? '+' : ''}${priceText(change)}` + (time ? `  ${time.slice(0, 16)}` : '');
    // Centred at the top: the study's panel may take either upper corner.
    const middle = toScreen((region.left + region.right) / 2, region.top);
    place(ohlc, middle.x, middle.y + 2, 0.5, 0);
  }

  function showLevel(level, screenX, screenY) {
    if (!level || frame.lastPrice === null) {
      levelTip.hidden = true;
      return;
    }
    const distance = level.price - frame.lastPrice;
    levelTip.textContent = `${level.name}\n${priceText(level.price)}  ` +
        `${distance >= 0 ? '+' : ''}${priceText(distance)} from the last price ${priceText(frame.lastPrice)}`;
    levelTip.style.borderColor = level.colour;
    place(levelTip, screenX + 14, screenY - 8, 0, 1);
  }

  function show() {
    const svg = chartBox.querySelector('svg');
    if (!frame || !frame.priceScale || !pointer || !svg) return hideAll();
    // Chart pixels and the layer's pixels differ only while a resized picture is on its way.
    const box = svg.getBoundingClientRect();
    const origin = layer.getBoundingClientRect();
    const sx = box.width / frame.width;
    const sy = box.height / frame.height;
    const x = (pointer.x - box.left) / sx;
    const y = (pointer.y - box.top) / sy;
    const region = frame.region;
    if (x < region.left || x > region.right || y < region.top || y > region.bottom) return hideAll();
    const toScreen = (cx, cy) => ({x: box.left - origin.left + cx * sx, y: box.top - origin.top + cy * sy});

    const left = toScreen(region.left, y);
    across.style.width = `${(region.right - region.left) * sx}px`;
    place(across, left.x, left.y);
    priceTag.textContent = priceText(priceAt(frame.priceScale, y));
    const axis = toScreen(region.right, y);
    place(priceTag, axis.x + 1, axis.y, 0, 0.5);
    showBar(barAt(x), toScreen);
    showLevel(levelAt(y), pointer.x - origin.left, pointer.y - origin.top);
  }

  chartBox.addEventListener('ordinel:frame', (event) => {
    frame = event.detail;
    show();
  });
  chartBox.addEventListener('pointermove', (event) => {
    pointer = {x: event.clientX, y: event.clientY};
    show();
  });
  chartBox.addEventListener('pointerleave', () => {
    pointer = null;
    hideAll();
  });
})();
