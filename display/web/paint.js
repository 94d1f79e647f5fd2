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

// Whether a value is a usable Bitmap of the protocol.
export function isBitmap(b) {
  return !!b && Number.isInteger(b.w) && Number.isInteger(b.h) && b.w > 0 && b.h > 0 &&
    Array.isArray(b.pixels) && b.pixels.length >= b.w * b.h;
}

// A canvas of css size w x h, sharp on high-density screens.
export function makeCanvas(w, h) {
  const canvas = document.createElement('canvas');
  const ratio = window.devicePixelRatio || 1;
  canvas.width = Math.max(1, Math.round(w * ratio));
  canvas.height = Math.max(1, Math.round(h * ratio));
  canvas.style.width = `${w}px`;
  canvas.style.height = `${h}px`;
  const ctx = canvas.getContext('2d');
  ctx.scale(ratio, ratio);
  ctx.imageSmoothingEnabled = false;
  return { canvas, ctx };
}

function drawFocusRect(ctx, [l, t, r, b]) {
  // Dotted, every other pixel, in the inverse of what lies below.
  ctx.save();
  ctx.globalCompositeOperation = 'difference';
  ctx.fillStyle = '#ffffff';
  for (let x = l; x < r; x += 2) {
    ctx.fillRect(x, t, 1, 1);
    if (b - 1 > t) ctx.fillRect(x, b - 1, 1, 1);
  }
  for (let y = t + 2; y < b - 1; y += 2) {
    ctx.fillRect(l, y, 1, 1);
    if (r - 1 > l) ctx.fillRect(r - 1, y, 1, 1);
  }
  ctx.restore();
}

function drawText(ctx, op) {
  const font = op.font || {};
  const text = symbolText(font.name, op.s ?? '');
  ctx.font = canvasFont(font);
  ctx.textBaseline = 'top';
  const x = op.x ?? 0;
  const y = op.y ?? 0;
  ctx.save();
  if (Array.isArray(op.clip)) {
    const [l, t, r, b] = op.clip;
    ctx.fillStyle = op.brush || '#ffffff';
    ctx.fillRect(l, t, r - l, b - t);
    ctx.beginPath();
    ctx.rect(l, t, r - l, b - t);
    ctx.clip();
  } else if (op.brush) {
    // Text drawn without a clip still paints its own background.
    ctx.fillStyle = op.brush;
    ctx.fillRect(x, y, Math.round(ctx.measureText(text).width), lineHeight(font.px || 11));
  }
  ctx.fillStyle = font.color || '#000000';
  ctx.fillText(text, x, y);
  ctx.restore();
}

// Replays a grid's recorded paint. Unknown or malformed operations are
// skipped (and counted in the result) so one bad op never blanks a grid.
export function replayOps(ctx, ops) {
  let skipped = 0;
  for (const op of Array.isArray(ops) ? ops : []) {
    try {
      switch (op && op.op) {
        case 'fill': {
          const [l, t, r, b] = op.r;
          ctx.fillStyle = op.brush || '#ffffff';
          ctx.fillRect(l, t, r - l, b - t);
          break;
        }
        case 'text':
          drawText(ctx, op);
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
          ctx.fillStyle = op.brush || '#ffffff';
          ctx.fillRect(l, t, r - l, b - t);
          const img = bitmapCanvas(op.bitmap, [src[0], src[1], src[0] + w, src[1] + h],
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
