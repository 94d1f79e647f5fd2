// Drawing on canvases: the grids' recorded operations, and 16x16 glyphs
// and pictures pixel for pixel.

export const FONT_FAMILY = 'DisplaySans';

export function canvasFont(font) {
  const px = font && Number.isFinite(font.px) ? font.px : 11;
  return `${font && font.bold ? 'bold ' : ''}${px}px ${FONT_FAMILY}`;
}

// Symbol fonts draw letters as pictures. The grids' mark column titles
// are "4" in "Monotype Sorts", a heavy check mark; its codes follow the
// Dingbats block of Unicode except for a few.
const SORTS_EXCEPTIONS = {
  0x25: 0x260e, 0x2a: 0x261b, 0x2b: 0x261e, 0x48: 0x2605, 0x6c: 0x25cf, 0x6e: 0x25a0,
  0x73: 0x25b2, 0x74: 0x25bc, 0x75: 0x25c6, 0x77: 0x25d7,
};

export function symbolText(fontName, text) {
  const name = String(fontName || '').toLowerCase();
  if (name !== 'monotype sorts' && name !== 'zapfdingbats' && name !== 'itc zapf dingbats')
    return text;
  let out = '';
  for (const ch of String(text)) {
    const c = ch.codePointAt(0);
    if (c > 0x20 && c < 0x7f) out += String.fromCodePoint(SORTS_EXCEPTIONS[c] || 0x2700 + c - 0x20);
    else out += ch;
  }
  return out;
}

// A colour as 0xRRGGBB: from an integer, or a "#rrggbb" text; null for
// anything else.
export function colorNumber(value) {
  if (Number.isInteger(value)) return value & 0xffffff;
  const m = /^#([0-9a-f]{6})$/i.exec(typeof value === 'string' ? value.trim() : '');
  return m ? parseInt(m[1], 16) : null;
}

// Line height of a font as the host's canvas fills behind TextOut.
export function lineHeight(px) {
  return Math.ceil(px * 1.17);
}

// An offscreen canvas with the area src = [l, t, r, b] of the bitmap,
// pixels of colour `transparent` (a number, or null for none) painted
// with `brush` (a CSS colour; null leaves them see-through).
export function bitmapCanvas(bitmap, src, transparent, brush) {
  const [l, t, r, b] = src || [0, 0, bitmap.w, bitmap.h];
  const w = Math.max(0, Math.min(r, bitmap.w) - l);
  const h = Math.max(0, Math.min(b, bitmap.h) - t);
  const canvas = document.createElement('canvas');
  canvas.width = Math.max(1, w);
  canvas.height = Math.max(1, h);
  if (!w || !h) return canvas;
  const ctx = canvas.getContext('2d');
  const image = ctx.createImageData(w, h);
  let brushRgb = null;
  if (brush != null) {
    ctx.fillStyle = brush;  // let the canvas parse any CSS colour
    const parsed = /^#([0-9a-f]{6})$/i.exec(ctx.fillStyle);
    brushRgb = parsed ? parseInt(parsed[1], 16) : 0;
  }
  for (let y = 0; y < h; y++) {
    for (let x = 0; x < w; x++) {
      let p = bitmap.pixels[(t + y) * bitmap.w + (l + x)] >>> 0;
      let alpha = 255;
      if (transparent != null && (p & 0xffffff) === (transparent & 0xffffff)) {
        if (brushRgb == null) alpha = 0;
        else p = brushRgb;
      }
      const i = (y * w + x) * 4;
      image.data[i] = (p >> 16) & 255;
      image.data[i + 1] = (p >> 8) & 255;
      image.data[i + 2] = p & 255;
      image.data[i + 3] = alpha;
    }
  }
  ctx.putImageData(image, 0, 0);
  return canvas;
}

// bitmapCanvas's canvases for the grids' pictures, which repeat in row
// after row and paint after paint: made once each (a few dozen kept).
const pictureCanvases = new Map();
const PICTURES_KEPT = 64;
const pixelKeys = new WeakMap();  // a bitmap shared by many operations: its pixels joined once
function cachedBitmapCanvas(bitmap, src, transparent, brush) {
  let pixels = pixelKeys.get(bitmap);
  if (pixels === undefined) {
    pixels = bitmap.pixels.join(',');
    pixelKeys.set(bitmap, pixels);
  }
  const key = `${bitmap.w}x${bitmap.h}|${src}|${transparent}|${brush}|${pixels}`;
  let canvas = pictureCanvases.get(key);
  if (!canvas) {
    if (pictureCanvases.size >= PICTURES_KEPT) pictureCanvases.clear();
    canvas = bitmapCanvas(bitmap, src, transparent, brush);
    pictureCanvases.set(key, canvas);
  }
  return canvas;
}

// Whether a value is a usable Bitmap of the protocol.
export function isBitmap(b) {
  return !!b && Number.isInteger(b.w) && Number.isInteger(b.h) && b.w > 0 && b.h > 0 &&
    Array.isArray(b.pixels) && b.pixels.length >= b.w * b.h;
}

// A canvas of css size w x h, sharp on high-density screens. With
// `offscreen` (where the browser can) it is drawn through its offscreen
// side, the context returned; the canvas itself then has none.
export function makeCanvas(w, h, { offscreen = false } = {}) {
  const canvas = document.createElement('canvas');
  const ratio = window.devicePixelRatio || 1;
  canvas.width = Math.max(1, Math.round(w * ratio));
  canvas.height = Math.max(1, Math.round(h * ratio));
  canvas.style.width = `${w}px`;
  canvas.style.height = `${h}px`;
  const target = offscreen && canvas.transferControlToOffscreen ? canvas.transferControlToOffscreen() : canvas;
  const ctx = target.getContext('2d');
  ctx.scale(ratio, ratio);
  ctx.imageSmoothingEnabled = false;
  return { canvas, ctx };
}

function drawFocusRect(ctx, [l, t, r, b]) {
  // Dotted, every other pixel, in the inverse of what lies below.
  // The dots never touch, so one fill of them all inverts each once.
  ctx.save();
  ctx.globalCompositeOperation = 'difference';
  ctx.fillStyle = '#ffffff';
  ctx.beginPath();
  for (let x = l; x < r; x += 2) {
    ctx.rect(x, t, 1, 1);
    if (b - 1 > t) ctx.rect(x, b - 1, 1, 1);
  }
  for (let y = t + 2; y < b - 1; y += 2) {
    ctx.rect(l, y, 1, 1);
    if (r - 1 > l) ctx.rect(r - 1, y, 1, 1);
  }
  ctx.fill();
  ctx.restore();
}

// `state.font`: the font last set on ctx by this replay (setting one
// costs as much as drawing the text). A clipped text whose ink lies
// inside its clip with a pixel to spare on every side is drawn without
// the clip, which would cut none of its pixels: a clip costs several
// times the text (a moved cursor draws every cell of two rows again).
function drawText(ctx, op, state) {
  const font = op.font || {};
  const text = symbolText(font.name, op.s ?? '');
  const face = canvasFont(font);
  if (state.font !== face) {
    ctx.font = face;
    state.font = face;
  }
  const x = op.x ?? 0;
  const y = op.y ?? 0;
  let clipped = false;
  if (Array.isArray(op.clip)) {
    const [l, t, r, b] = op.clip;
    setFill(ctx, state, op.brush || '#ffffff');
    ctx.fillRect(l, t, r - l, b - t);
    const ink = inkOf(ctx, face, text);
    clipped = !(x - ink.left >= l + 1 && x + ink.right <= r - 1 && y - ink.ascent >= t + 1 && y + ink.descent <= b - 1);
    if (clipped) {
      ctx.save();
      ctx.beginPath();
      ctx.rect(l, t, r - l, b - t);
      ctx.clip();
    }
  } else if (op.brush) {
    // Text drawn without a clip still paints its own background.
    setFill(ctx, state, op.brush);
    ctx.fillRect(x, y, Math.round(inkOf(ctx, face, text).width), lineHeight(font.px || 11));
  }
  const brush = state.fill;
  setFill(ctx, state, font.color || '#000000');
  ctx.fillText(text, x, y);
  if (clipped) {
    ctx.restore();
    state.fill = brush;  // the colour the clip was set with
  }
}

// Sets the fill colour, unless the replay's last one (`state.fill`) is
// that colour already: a colour set is parsed every time.
function setFill(ctx, state, color) {
  if (state.fill === color) return;
  ctx.fillStyle = color;
  state.fill = color;
}

// The measures of a text in a face, drawn from the top (the replay's
// baseline): its advance and how far its ink reaches from where it is
// drawn. Kept by face and text, as the rows of a grid come back as the
// cursor moves; forgotten whole once many are kept.
const inks = new Map();
const INKS_KEPT = 4096;
function inkOf(ctx, face, text) {
  const key = `${face}\u0000${text}`;
  let ink = inks.get(key);
  if (!ink) {
    const m = ctx.measureText(text);
    ink = { width: m.width, left: m.actualBoundingBoxLeft, right: m.actualBoundingBoxRight,
      ascent: m.actualBoundingBoxAscent, descent: m.actualBoundingBoxDescent };
    if (inks.size >= INKS_KEPT) inks.clear();
    inks.set(key, ink);
  }
  return ink;
}

function isRect(r) {
  return Array.isArray(r) && r.length === 4 && r.every(Number.isFinite);
}

// The rectangle [l, t, r, b] an operation paints in, or null when it is
// not known (a malformed operation). Text drawn without a clip reaches
// from its start to the right of any grid, its line height high, with a
// font size more to the left and two pixels more above and below, which
// no glyph overhangs (the line height has the descenders and the accents
// of capitals), so the text of the rows above and below a changed one is
// not drawn again with it.
// An operation's area is worked out once: the ones a paint keeps from
// the one before are the same objects.
const opAreas = new WeakMap();
function opArea(op) {
  if (!op || typeof op !== 'object') return null;
  let area = opAreas.get(op);
  if (area === undefined) {
    area = areaOf(op);
    opAreas.set(op, area);
  }
  return area;
}

function areaOf(op) {
  switch (op.op) {
    case 'fill':
    case 'focus':
      return isRect(op.r) ? op.r : null;
    case 'text': {
      if (isRect(op.clip)) return op.clip;
      if (!Number.isFinite(op.x) || !Number.isFinite(op.y)) return null;
      const px = op.font && Number.isFinite(op.font.px) ? op.font.px : 11;
      return [op.x - px, op.y - TEXT_MARGIN, FAR_RIGHT, op.y + lineHeight(px) + TEXT_MARGIN];
    }
    case 'bitmap':
      return isRect(op.r) && isBitmap(op.bitmap) ? op.r : null;
    default:
      return null;
  }
}

const FAR_RIGHT = 1e5;
const TEXT_MARGIN = 2;

export function sameJson(a, b) {
  if (a === b) return true;
  if (typeof a !== 'object' || typeof b !== 'object' || a === null || b === null) return false;
  if (Array.isArray(a) !== Array.isArray(b)) return false;
  if (Array.isArray(a)) {
    if (a.length !== b.length) return false;
    for (let i = 0; i < a.length; i++) if (!sameJson(a[i], b[i])) return false;
    return true;
  }
  const keys = Object.keys(a);
  if (keys.length !== Object.keys(b).length) return false;
  return keys.every((k) => sameJson(a[k], b[k]));
}

// Whether two objects are the same JSON but for their `skip` member.
export function sameJsonBut(a, b, skip) {
  const keys = Object.keys(a);
  const count = (o, n) => n - (Object.hasOwn(o, skip) ? 1 : 0);
  if (count(a, keys.length) !== count(b, Object.keys(b).length)) return false;
  for (const k of keys) if (k !== skip && !sameJson(a[k], b[k])) return false;
  return true;
}

function sameRect(a, b) {
  if (!Array.isArray(a) || !Array.isArray(b)) return a === b;
  return a.length === b.length && a.every((v, i) => v === b[i]);
}

function samePixels(a, b) {
  if (a === b) return true;
  if (!a || !b || typeof a !== 'object' || typeof b !== 'object') return a === b;
  if (a.w !== b.w || a.h !== b.h || !Array.isArray(a.pixels) || !Array.isArray(b.pixels) ||
    a.pixels.length !== b.pixels.length) return false;
  for (let i = 0; i < a.pixels.length; i++) if (a.pixels[i] !== b.pixels[i]) return false;
  return true;
}

// Whether two operations draw the same: the fields the drawing reads.
function sameOp(a, b) {
  if (a === b) return true;  // kept from the paint before
  if (!a || !b || a.op !== b.op) return sameJson(a, b);
  switch (a.op) {
    case 'fill':
      return a.brush === b.brush && sameRect(a.r, b.r);
    case 'focus':
      return sameRect(a.r, b.r);
    case 'text': {
      const f = a.font || {};
      const g = b.font || {};
      return a.x === b.x && a.y === b.y && a.s === b.s && a.brush === b.brush && sameRect(a.clip, b.clip) &&
        f.name === g.name && f.px === g.px && f.bold === g.bold && f.color === g.color;
    }
    case 'bitmap':
      return a.brush === b.brush && a.transparent === b.transparent && sameRect(a.r, b.r) &&
        sameRect(a.src, b.src) && samePixels(a.bitmap, b.bitmap);
    default:
      return sameJson(a, b);
  }
}

// Where a grid's new paint differs from the one on its canvas: the
// operations equal at both ends are matched up from each end, and those
// between are matched in order where they are equal, so a cursor moved
// by a row paints again the cells it left and entered, not all between
// (operations matched are the same in both, in the same order: a pixel
// none of the others reaches is painted the same). The rest paint, old
// and new, inside the returned [[l, t, r, b], ...]; [] when nothing
// changed. Null when one of them paints where it is not known: the whole
// canvas is to be painted again.
export function changedAreas(before, after) {
  if (!Array.isArray(before) || !Array.isArray(after)) return null;
  const n = Math.min(before.length, after.length);
  let head = 0;
  while (head < n && sameOp(before[head], after[head])) head++;
  let tail = 0;
  while (tail < n - head && sameOp(before[before.length - 1 - tail], after[after.length - 1 - tail])) tail++;
  const boxes = [];
  for (const [a0, a1, b0, b1] of unmatchedRuns(before, after, head, before.length - tail, head, after.length - tail)) {
    let box = null;
    for (const [ops, from, to] of [[before, a0, a1], [after, b0, b1]]) {
      for (let i = from; i < to; i++) {
        const a = opArea(ops[i]);
        if (!a) return null;
        box = box ? [Math.min(box[0], a[0]), Math.min(box[1], a[1]), Math.max(box[2], a[2]), Math.max(box[3], a[3])] : [...a];
      }
    }
    if (box) boxes.push(box);
  }
  return boxes;
}

// The runs [a0, a1, b0, b1] of before[a0..a1) and after[b0..b1) left
// unmatched when both parts are walked together, each time the two
// differ going on from the nearest pair of equal operations (at most
// RESYNC_REACH operations on, both counted; farther, the rest is one run).
const RESYNC_REACH = 32;
function unmatchedRuns(before, after, i, aEnd, j, bEnd) {
  const runs = [];
  while (i < aEnd && j < bEnd) {
    if (sameOp(before[i], after[j])) { i++; j++; continue; }
    let next = null;
    for (let reach = 1; !next && reach <= RESYNC_REACH; reach++) {
      for (let di = 0; di <= reach; di++) {
        const dj = reach - di;
        if (i + di < aEnd && j + dj < bEnd && sameOp(before[i + di], after[j + dj])) { next = [di, dj]; break; }
      }
    }
    if (!next) break;
    runs.push([i, i + next[0], j, j + next[1]]);
    i += next[0];
    j += next[1];
  }
  if (i < aEnd || j < bEnd) runs.push([i, aEnd, j, bEnd]);
  return runs;
}

const overlaps = (a, b) => a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];
function overlapsAny(list, area) {
  for (let i = 0; i < list.length; i++) if (overlaps(list[i], area)) return true;
  return false;
}
const inside = (a, b) => b[0] <= a[0] && b[1] <= a[1] && a[2] <= b[2] && a[3] <= b[3];

function firstFillCovers(list, area) {
  for (const op of list) {
    const a = opArea(op);
    if (!a) return false;
    if (overlaps(a, area)) return op.op === 'fill' && inside(area, a);
  }
  return false;
}

// Replays a grid's recorded paint. Unknown or malformed operations are
// skipped (and counted in the result) so one bad op never blanks a grid.
// With `areas` (from changedAreas) only those areas are painted again,
// from clear, by the operations that reach into them, in their order:
// the same pixels a whole replay gives there, for a few operations.
export function replayOps(ctx, ops, areas = null) {
  const list = Array.isArray(ops) ? ops : [];
  if (areas) {
    ctx.save();
    ctx.beginPath();
    for (const [l, t, r, b] of areas) ctx.rect(l, t, r - l, b - t);
    ctx.clip();
    // An area the first operation reaching it fills whole needs no
    // clearing (a grid's paint starts with a fill of all of it).
    for (const area of areas) {
      if (firstFillCovers(list, area)) continue;
      const [l, t, r, b] = area;
      ctx.clearRect(l, t, r - l, b - t);
    }
  }
  const state = { font: null, fill: null };
  ctx.textBaseline = 'top';
  let skipped = 0;
  for (let i = 0; i < list.length; i++) {
    const op = list[i];
    const area = opArea(op);
    if (areas && area && !overlapsAny(areas, area)) continue;
    try {
      switch (op && op.op) {
        case 'fill': {
          const [l, t, r, b] = op.r;
          setFill(ctx, state, op.brush || '#ffffff');
          ctx.fillRect(l, t, r - l, b - t);
          break;
        }
        case 'text':
          drawText(ctx, op, state);
          break;
        case 'focus':
          drawFocusRect(ctx, op.r);
          break;
        case 'bitmap': {
          if (!isBitmap(op.bitmap)) { skipped++; break; }
          const [l, t, r, b] = op.r;
          const src = op.src || [0, 0, op.bitmap.w, op.bitmap.h];
          const w = Math.min(r - l, src[2] - src[0]);
          const h = Math.min(b - t, src[3] - src[1]);
          if (w <= 0 || h <= 0) break;
          // Rows of the destination below the bitmap get the brush, as a
          // copy of a taller area shows nothing of the picture there.
          setFill(ctx, state, op.brush || '#ffffff');
          ctx.fillRect(l, t, r - l, b - t);
          const img = cachedBitmapCanvas(op.bitmap, [src[0], src[1], src[0] + w, src[1] + h],
            colorNumber(op.transparent), op.brush || '#ffffff');
          ctx.drawImage(img, l, t);
          break;
        }
        default:
          skipped++;
      }
    } catch (err) {
      skipped++;
    }
  }
  if (areas) ctx.restore();
  return skipped;
}

// Draws a glyph or picture at (x, y); transparent: the colour drawn
// see-through (null for none); grey: the disabled look (embossed).
export function drawBitmap(ctx, bitmap, x, y, { src, transparent = null, grey = false } = {}) {
  if (!isBitmap(bitmap)) return;
  if (!grey) {
    ctx.drawImage(bitmapCanvas(bitmap, src, transparent, null), x, y);
    return;
  }
  // Disabled: dark pixels become a grey shape with a white one below right.
  const [l, t, r, b] = src || [0, 0, bitmap.w, bitmap.h];
  const mono = { w: bitmap.w, h: bitmap.h, pixels: bitmap.pixels.map((p) => {
    if (transparent != null && (p & 0xffffff) === (transparent & 0xffffff)) return 0xff00ff;
    const v = ((p >> 16) & 255) * 0.3 + ((p >> 8) & 255) * 0.59 + (p & 255) * 0.11;
    return v < 160 ? 0 : 0xff00ff;
  }) };
  const white = { ...mono, pixels: mono.pixels.map((p) => (p === 0 ? 0xffffff : p)) };
  const grey808 = { ...mono, pixels: mono.pixels.map((p) => (p === 0 ? 0x808080 : p)) };
  ctx.drawImage(bitmapCanvas(white, [l, t, r, b], 0xff00ff, null), x + 1, y + 1);
  ctx.drawImage(bitmapCanvas(grey808, [l, t, r, b], 0xff00ff, null), x, y);
}

let measureCtx = null;

// Width in whole pixels of a text drawn in a font, as the canvas draws it.
export function measureText(font, text) {
  if (!measureCtx) measureCtx = document.createElement('canvas').getContext('2d');
  measureCtx.font = canvasFont(font);
  return Math.round(measureCtx.measureText(String(text ?? '')).width);
}
