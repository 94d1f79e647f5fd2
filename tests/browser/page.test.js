// The page against a stand-in host that streams a model with every kind
// of control and records what the page posts: drawing details, the input
// queue, and how the page copes with a host that refuses, breaks or
// hands the session to another window.

import test, { before, after, beforeEach, afterEach } from 'node:test';
import assert from 'node:assert/strict';
import { launchBrowser, watchErrors, screenshotPath } from './support/browser.js';
import { MockHost } from './support/mock-host.js';
import { sampleModel, markGlyph } from './support/sample-model.js';

let browser;
let host;
let page;
let errors;

before(async () => { browser = await launchBrowser(); });
after(async () => { await browser.close(); });

beforeEach(async () => {
  host = new MockHost({ first: sampleModel });
  await host.start();
  page = await browser.context.newPage();
  errors = watchErrors(page);
  // Record what the canvases are asked to write.
  await page.addInitScript(() => {
    window.__texts = [];
    for (const kind of [CanvasRenderingContext2D, OffscreenCanvasRenderingContext2D]) {
      const fill = kind.prototype.fillText;
      kind.prototype.fillText = function (text, ...rest) {
        window.__texts.push({ text, font: this.font });
        return fill.call(this, text, ...rest);
      };
    }
  });
  await page.goto(host.url);
  await page.waitForSelector('html[data-state="open"][data-fonts="ready"] [data-form="frmAmostra"] [data-name="dbgLista"]');
});

afterEach(async () => {
  await page.close();
  await host.stop();
  assert.deepEqual(errors, [], 'script errors on the page');
});

const sel = (name) => `[data-name="${name}"]`;
const overlay = { messagebox: null, picklist: null, busy: { depth: 0, kind: 0 } };
const settle = () => page.waitForTimeout(150);

// Sends a changed control of the sample form.
function changeControl(name, change) {
  const c = sampleModel().controls.find((x) => x.name === name);
  host.send({ order: ['frmAmostra'], overlay, controls: [{ ...c, ...change }] });
}

test('grids replay their paint: glyphs pixel for pixel, the symbol title as a check mark', async () => {
  const pixels = await page.evaluate((s) => {
    const canvas = document.querySelector(`${s} canvas`);
    const d = (canvas.gridContext || canvas.getContext('2d')).getImageData(1, 19, 16, 38).data;
    const out = [];
    for (let i = 0; i < d.length; i += 4) out.push((d[i] << 16) | (d[i + 1] << 8) | d[i + 2]);
    return out;
  }, sel('dbgLista'));
  // Row 1 is selected (highlight brush) and marked; row 2 (info brush) not.
  const expect = (glyph, brush) => glyph.pixels.map((p) => (p === 0x808000 ? brush : p));
  assert.deepEqual(pixels.slice(0, 256), expect(markGlyph(0xffffff, true), 0x0a246a));
  assert.deepEqual(pixels.slice(19 * 16, 19 * 16 + 256), expect(markGlyph(0xffffff, false), 0xffffe1));
  // The copy is 18 rows tall: the rows below the 16 of the glyph get the brush.
  assert.deepEqual(pixels.slice(16 * 16, 18 * 16), new Array(32).fill(0x0a246a));

  const texts = await page.evaluate(() => window.__texts);
  const title = texts.find((t) => t.text === '\u2714');
  assert.ok(title, 'the mark column title is drawn as a check mark');
  assert.match(title.font, /^11px DisplaySans$/);
  assert.ok(!texts.some((t) => t.text === '4'), 'no literal "4" drawn');
  assert.ok(texts.some((t) => t.text === 'Código'));

  // The hidden table holds what was drawn.
  assert.deepEqual(await page.locator(`${sel('dbgLista')} [role="row"][aria-rowindex="2"] [role="gridcell"]`).allTextContents(),
    ['', '002', 'Bruno']);

  // A speed button glyph: its bottom-left colour is see-through.
  const glyph = await page.evaluate((s) => {
    const c = document.querySelector(`${s} canvas.glyph`);
    const d = c.getContext('2d').getImageData(0, 0, 16, 16).data;
    return { corner: d[3], tick: [d[(4 * 16 + 10) * 4], d[(4 * 16 + 10) * 4 + 3]], white: d[(3 * 16 + 3) * 4] };
  }, sel('sbtGlyph'));
  assert.deepEqual(glyph, { corner: 0, tick: [0, 255], white: 255 });
});

test('a grid painted again only where its paint changed shows what a whole paint shows', async () => {
  const differing = await page.evaluate(async () => {
    const { makeCanvas, replayOps, changedAreas } = await import('/paint.js');
    const font = { name: 'MS Sans Serif', px: 11, bold: false, color: '#000000' };
    const picture = { w: 2, h: 2, pixels: [0xff0000, 0x808000, 0x808000, 0x0000ff] };
    // Rows of 19 pixels; the current one drawn with more operations, as the
    // screens' draw handlers do (highlight, unclipped text, focus).
    const row = (i, current) => {
      const t = 19 * i;
      const ops = [{ op: 'fill', r: [0, t, 200, t + 19], brush: '#ffffe1' },
        { op: 'bitmap', r: [1, t, 17, t + 18], src: [0, 0, 2, 2], bitmap: picture, transparent: '#808000', brush: '#ffffe1' },
        { op: 'text', x: 20, y: t + 2, s: `Pedido ${i}`, font, clip: [18, t, 120, t + 18], brush: '#ffffe1' }];
      if (current) {
        ops.push({ op: 'fill', r: [18, t, 200, t + 18], brush: '#0a246a' },
          { op: 'text', x: 20, y: t + 2, s: `Pedido ${i}`, font: { ...font, color: '#ffffff' }, clip: null, brush: '#0a246a' },
          { op: 'focus', r: [18, t, 200, t + 18] });
      }
      return ops;
    };
    const paint = (current) => [{ op: 'fill', r: [0, 0, 200, 120], brush: '#c0c0c0' },
      ...[0, 1, 2, 3, 4].flatMap((i) => row(i, i === current))];
    const pixels = (ctx) => Array.from(ctx.getImageData(0, 0, 200, 120).data);
    const out = [];
    for (const [from, to] of [[1, 2], [2, 1], [0, 4], [3, 3]]) {
      const kept = makeCanvas(200, 120).ctx;
      replayOps(kept, paint(from));
      const areas = changedAreas(paint(from), paint(to));
      replayOps(kept, paint(to), areas);
      const whole = makeCanvas(200, 120).ctx;
      replayOps(whole, paint(to));
      const a = pixels(kept);
      const b = pixels(whole);
      out.push({ from, to, areas: areas && areas.length, differ: a.filter((v, i) => v !== b[i]).length });
    }
    return out;
  });
  for (const c of differing) assert.equal(c.differ, 0, `row ${c.from} to ${c.to}: ${c.differ} channel values differ`);
  // The row left and the row entered, each on its own.
  assert.deepEqual(differing.map((c) => c.areas), [2, 2, 2, 0]);
});

test('a replay draws what drawing each operation on its own draws', async () => {
  const differing = await page.evaluate(async () => {
    const { makeCanvas, replayOps } = await import('/paint.js');
    const font = { name: 'MS Sans Serif', px: 11, bold: false, color: '#000000' };
    const cell = { op: 'text', x: 2, y: 2, s: 'Pedido', font, clip: [0, 0, 80, 18], brush: '#ffffe1' };
    const focus = { op: 'focus', r: [0, 0, 80, 18] };
    const fill = (r, brush = '#0a246a') => ({ op: 'fill', r, brush });
    const cases = [
      [cell, focus, fill([0, 0, 80, 18])],                  // the cell drawn again over a fill of it
      [cell, fill([0, 0, 79, 18])],                         // a fill one pixel short of it
      [cell, { ...cell, s: 'x' }, focus, fill([0, 0, 40, 18]), fill([0, 0, 90, 20])],
      [{ ...cell, clip: null }, fill([0, 0, 200, 18])],     // text without a clip reaches farther
    ];
    return cases.map((ops) => {
      const together = makeCanvas(200, 30).ctx;
      replayOps(together, ops);
      const oneByOne = makeCanvas(200, 30).ctx;
      for (const op of ops) replayOps(oneByOne, [op]);
      const a = together.getImageData(0, 0, 200, 30).data;
      const b = oneByOne.getImageData(0, 0, 200, 30).data;
      return a.filter((v, i) => v !== b[i]).length;
    });
  });
  assert.deepEqual(differing, [0, 0, 0, 0]);
});

test('a clipped text shows what drawing it through its clip shows, whether it fits or not', async () => {
  const cases = await page.evaluate(async () => {
    const { makeCanvas, replayOps, canvasFont } = await import('/paint.js');
    const font = { name: 'MS Sans Serif', px: 11, bold: false, color: '#000000' };
    // [text, clip, x, y, font]: inside; cut right, below, above, left; larger, right-aligned.
    return [['Pedido 12', [0, 0, 80, 18], 2, 2, font], ['12/03/2024 1.234,56 ÉÇÃ', [0, 0, 60, 18], 2, 2, font],
      ['gjpqy ÉÂ', [0, 0, 80, 12], 2, 2, font], ['ÉÂÔ', [0, 0, 80, 18], 2, -1, font],
      ['jfWW', [0, 0, 80, 18], -1, 2, { ...font, bold: true }], ['1.234,56', [0, 0, 50, 18], 8, 2, { ...font, px: 13 }],
    ].map(([s, [l, t, r, b], x, y, f]) => {
      const replayed = makeCanvas(120, 30).ctx;
      replayOps(replayed, [{ op: 'text', x, y, s, font: f, clip: [l, t, r, b], brush: '#ffffe1' }]);
      const clipped = makeCanvas(120, 30).ctx;
      Object.assign(clipped, { textBaseline: 'top', font: canvasFont(f), fillStyle: '#ffffe1' });
      clipped.fillRect(l, t, r - l, b - t);
      clipped.rect(l, t, r - l, b - t);
      clipped.clip();
      clipped.fillStyle = f.color;
      clipped.fillText(s, x, y);
      const [p, q] = [replayed, clipped].map((c) => c.getImageData(0, 0, 120, 30).data);
      return { s, differ: p.filter((v, i) => v !== q[i]).length, inked: p.some((v, i) => i % 4 === 0 && v < 128) };
    });
  });
  for (const c of cases) {
    assert.equal(c.differ, 0, `"${c.s}": ${c.differ} channel values differ`);
    assert.ok(c.inked, `"${c.s}" drew nothing`);
  }
});

test('each operation of a replay paints in its own colour, whatever the ones before set', async () => {
  const pixels = await page.evaluate(async () => {
    const { makeCanvas, replayOps } = await import('/paint.js');
    const font = { name: 'MS Sans Serif', px: 11, bold: false, color: '#0000ff' };
    const { ctx } = makeCanvas(100, 20);
    replayOps(ctx, [
      { op: 'text', x: 2, y: 2, s: '12/03/2024 1.234,56', font, clip: [0, 0, 30, 18], brush: '#ffffe1' },  // cut
      { op: 'fill', r: [40, 0, 50, 18], brush: '#0000ff' },  // the text's colour
      { op: 'fill', r: [50, 0, 60, 18], brush: '#ffffe1' },  // its brush
      { op: 'text', x: 62, y: 2, s: 'x', font, clip: null, brush: '#0000ff' },  // its colour as a brush
    ]);
    return [45, 55, 63].map((x) => [...ctx.getImageData(x, 5, 1, 1).data.slice(0, 3)]);
  });
  assert.deepEqual(pixels, [[0, 0, 255], [255, 255, 225], [0, 0, 255]]);
});

test('updates change, add and remove what is on the page', async () => {
  // A label's new caption is written into the element it has; one with
  // an accelerator is drawn anew.
  const shows = (text) => page.waitForFunction(([s, t]) => document.querySelector(s)?.textContent === t,
    [sel('lblNome'), text]);
  changeControl('lblNome', { caption: 'Cliente' });
  await shows('Cliente');
  await page.evaluate((s) => { document.querySelector(s).__mark = 1; }, sel('lblNome'));
  changeControl('lblNome', { caption: 'Fornecedor' });
  await shows('Fornecedor');
  assert.equal(await page.evaluate((s) => document.querySelector(s).__mark, sel('lblNome')), 1);
  changeControl('lblNome', { caption: '&Cliente' });
  await page.waitForSelector(`${sel('lblNome')} u`);
  assert.equal(await page.locator(sel('lblNome')).textContent(), 'Cliente');
  await page.evaluate(() => { document.querySelector('[data-name="dbgLista"] canvas').__mark = 1; });
  changeControl('edtNome', { props: { text: 'Beatriz', readOnly: false } });
  host.send({ order: ['frmAmostra'], overlay, removedControls: [{ form: 'frmAmostra', name: 'lblNome' }] });
  await page.waitForFunction(() => document.querySelector('[data-name="edtNome"] .edit-text')?.textContent === 'Beatriz');
  assert.equal(await page.locator(sel('lblNome')).count(), 0);
  // What did not change is not drawn again.
  assert.equal(await page.evaluate(() => document.querySelector('[data-name="dbgLista"] canvas').__mark), 1);
  // Moving a control between parents and changing the active sheet.
  changeControl('pgcPaginas', { props: { ...sampleModel().controls.find((c) => c.name === 'pgcPaginas').props, active: 'tshDois' } });
  await page.waitForSelector(`${sel('tshDois')} ${sel('lblDois')}`);
  assert.equal(await page.locator(sel('dbgLista')).count(), 0);
  // An out-of-date update changes nothing.
  host.seq -= 5;
  changeControl('edtNome', { props: { text: 'Antigo', readOnly: false } });
  host.seq += 10;
  await settle();
  assert.equal(await page.locator(`${sel('edtNome')} .edit-text`).textContent(), 'Beatriz');
  // A control described wrongly is marked; the others are drawn.
  changeControl('rgrTipo', { props: { items: 5, itemIndex: 0 } });
  await page.waitForSelector(`${sel('rgrTipo')}.broken`);
  assert.equal(await page.locator(`${sel('edtNome')} .edit-text`).textContent(), 'Beatriz');
  // A form that goes away takes its window along.
  host.send({ order: [], overlay, removedForms: ['frmAmostra'] });
  await page.waitForSelector('[data-form="frmAmostra"]', { state: 'detached' });
});

test('disabled controls are grey and take no clicks', async () => {
  const grey = await page.locator(sel('edtDesab')).evaluate((e) => [e.classList.contains('disabled'), getComputedStyle(e).color]);
  assert.deepEqual(grey, [true, 'rgb(128, 128, 128)']);
  await page.mouse.click(...(await centre(sel('edtDesab'))));
  await settle();
  assert.deepEqual(host.inputs, []);
  // A disabled tab and a disabled menu item send nothing either.
  await page.click(`${sel("pgcPaginas")} .tab[data-page="tshDois"]`, { force: true });
  await page.click('.menubar [data-menu="mnuArquivo"]');
  const item = page.locator('#popups [data-menu="mnuSair"]');
  assert.equal(await item.evaluate((e) => e.classList.contains('disabled')), true);
  await item.click();
  assert.equal(await page.locator('#popups [data-menu="mnuLimpar"] .mi-check').textContent(), '\u2713');
  await page.keyboard.press('Escape');
  await page.waitForSelector('#popups .menu-pop', { state: 'detached' });
  await settle();
  assert.deepEqual(host.inputs, []);
});

test('input goes one event at a time, in order, with control-relative clicks', async () => {
  host.inputDelayMs = 120;
  const box = await page.locator(sel('edtNome')).boundingBox();
  await page.mouse.click(box.x + 5, box.y + 7);
  await page.keyboard.type('abc');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Control+Space');
  await page.keyboard.press('F9');
  await host.waitInputs(5);
  await settle();
  assert.equal(host.maxConcurrent, 1, 'never two posts at once');
  const shape = host.inputs.map((e) => (e.type === 'char' ? `char:${e.text}` : e.type === 'key' ? `key:${e.key}:${e.shift.join('+')}` : `${e.type}:${e.name}:${e.x},${e.y}`));
  // The characters may arrive in one or more events, always in order.
  const chars = shape.filter((s) => s.startsWith('char:')).map((s) => s.slice(5)).join('');
  assert.equal(chars, 'abc');
  assert.deepEqual(shape.filter((s) => !s.startsWith('char:')), ['click:edtNome:5,7', 'key:9:', 'key:32:ctrl', 'key:120:']);
  assert.ok(shape.indexOf('key:9:') > shape.findLastIndex((s) => s.startsWith('char:')));
  assert.ok(host.inputs.every((e) => e.type === 'click' || e.form === 'frmAmostra'));
});

test('a button held down and let go is one click', async () => {
  await page.mouse.move(...(await centre(sel('btnOk'))));
  await page.mouse.down();
  await page.waitForSelector(`${sel('btnOk')}.pressing`);
  await page.waitForTimeout(100);
  await page.mouse.up();
  await host.waitInputs(1);
  assert.deepEqual(host.inputs.map((e) => [e.type, e.name]), [['click', 'btnOk']]);
  assert.equal(await page.locator(`${sel('btnOk')}.pressing`).count(), 0);
});

test('combo boxes, spin buttons and radio groups send what the host understands', async () => {
  await page.click(`${sel('cboFrete')} [data-act="drop"]`);
  await page.click('#popups .drop-item[data-index="1"]');
  const spin = await page.locator(`${sel('speDia')} .spin-btn.up`).boundingBox();
  await page.mouse.click(spin.x + 4, spin.y + 3);
  const group = await page.locator(sel('rgrTipo')).boundingBox();
  await page.mouse.click(group.x + 30, group.y + 20);
  await host.waitInputs(5);
  assert.deepEqual(host.inputs.map((e) => [e.type, e.name ?? e.key]), [
    ['click', 'cboFrete'], ['key', 40], ['click', 'speDia'], ['key', 38], ['click', 'rgrTipo'],
  ]);
  assert.deepEqual([host.inputs[4].x, host.inputs[4].y], [30, 20]);
});

test('a modal form and the host\'s boxes keep input to themselves', async () => {
  host.send({
    order: ['frmAmostra', 'frmModal'], overlay,
    forms: [{ ...sampleModel().forms[0], active: false },
      { name: 'frmModal', caption: 'Modal', bounds: [0, 0, 200, 80], visible: true, active: true, modal: true, style: 'normal', state: 'normal', focus: null, color: '#d4d0c8', menu: null }],
    controls: [{ form: 'frmModal', name: 'btnFechar', parent: null, kind: 'button', bounds: [60, 30, 75, 25], visible: true, enabled: true, usable: true, caption: 'Fechar', color: '#d4d0c8', font: { px: 11 }, props: {} }],
  });
  await page.waitForSelector('.modal-shade + [data-form="frmModal"]');
  await page.mouse.click(...(await centre(sel('chbAtivo'))));
  await page.keyboard.press('Enter');
  await page.click(sel('btnFechar'));
  await host.waitInputs(2);
  assert.deepEqual(host.inputs.map((e) => [e.type, e.form]), [['key', 'frmModal'], ['click', 'frmModal']]);

  // A message box: Esc gives cancel when there is one; the answer carries its id.
  host.inputs.length = 0;
  host.send({ order: ['frmAmostra', 'frmModal'], overlay: { ...overlay, messagebox: { id: 7, text: 'Gravar?', type: 'warning', buttons: ['ok', 'cancel'] } } });
  await page.waitForSelector('[data-role="messagebox"] [data-result="cancel"]');
  assert.equal(await page.locator('[data-role="messagebox"] .titlebar').textContent(), 'Aviso');
  await page.mouse.click(...(await centre(sel('btnFechar'))));
  await page.keyboard.press('Escape');
  await page.keyboard.press('Escape');
  await host.waitInputs(1);
  await settle();
  assert.deepEqual(host.inputs, [{ type: 'answer', id: 7, result: 'cancel' }]);

  // The busy indicator: shown while the depth is above zero, takes the clicks.
  host.inputs.length = 0;
  host.send({ order: ['frmAmostra'], overlay: { ...overlay, busy: { depth: 1, kind: 6 } }, removedForms: ['frmModal'], cursor: 'wait' });
  await page.waitForSelector('[data-role="busy"]');
  assert.equal(await page.locator('[data-role="busy"]').textContent(), 'Carregando...');
  assert.equal(await page.evaluate(() => document.documentElement.classList.contains('wait')), true);
  await page.mouse.click(...(await centre(sel('chbAtivo'))));
  await page.keyboard.press('Tab');
  host.send({ order: ['frmAmostra'], overlay, cursor: 'default' });
  await page.waitForSelector('[data-role="busy"]', { state: 'detached' });
  await settle();
  assert.deepEqual(host.inputs, []);
});

async function centre(selector) {
  const b = await page.locator(selector).boundingBox();
  return [b.x + b.width / 2, b.y + b.height / 2];
}

test('a refused input is reported and the page goes on', async () => {
  host.onInput = (e) => (e.type === 'click' ? 400 : 200);
  await page.click(sel('chbAtivo'));
  await page.waitForSelector('#notice:not([hidden])');
  assert.equal(await page.locator('#notice').textContent(), 'O programa recusou uma entrada da página.');
  await page.keyboard.type('x');
  await host.waitInputs(2);
  assert.deepEqual(host.inputs.map((e) => e.type), ['click', 'char']);
});

test('a broken update is reported and the page starts over with a full one', async () => {
  host.raw('update', '{"seq": 99, "forms": [');
  await page.waitForSelector('#notice:not([hidden])');
  const end = Date.now() + 5000;
  while (host.sessions < 2 && Date.now() < end) await new Promise((r) => setTimeout(r, 20));
  assert.equal(host.sessions, 2, 'the page opened a new stream');
  await page.waitForSelector('html[data-state="open"] [data-name="edtNome"]');
  await page.click(sel('chbAtivo'));
  await host.waitInputs(1);
  assert.equal(host.inputs[0].name, 'chbAtivo');
});

test('taken over by the host\'s word: the page stops sending until told to take it back', async () => {
  host.raw('takeover', '{}');
  await page.waitForSelector('html[data-state="takenover"]');
  assert.match(await page.locator('#status').textContent(), /^Esta sessão foi aberta em outra janela\./);
  await page.click(sel('chbAtivo'));
  await page.keyboard.type('abc');
  await settle();
  assert.deepEqual(host.inputs, []);
  // The operator can take it back here.
  await page.click('#status button');
  await page.waitForSelector('html[data-state="open"]');
  await page.click(sel('chbAtivo'));
  await host.waitInputs(1);
  assert.equal(host.inputs.length, 1);
});

test('taken over by a refused session (409): the page stops sending', async () => {
  host.onInput = () => 409;
  await page.click(sel('chbAtivo'));
  await page.waitForSelector('html[data-state="takenover"]');
  await page.click(sel('chbAtivo'));
  await settle();
  assert.equal(host.inputs.length, 1);
});

test('a grid\'s scroll bar and the wheel send scroll moves, never a click', async () => {
  const { props } = sampleModel().controls.find((x) => x.name === 'dbgLista');
  // 40 records, 4 shown, the cursor on the 11th: the thumb is 8 pixels
  // (4/40 of the 68-pixel track is less) at 15/60 of the free track.
  changeControl('dbgLista', { props: { ...props, recordCount: 40, visibleRows: 4, scrollBar: 16, current: 11 } });
  await page.waitForSelector(`${sel('dbgLista')} .sb-thumb`);
  const grid = await page.locator(sel('dbgLista')).boundingBox();
  const partBox = async (part) => {
    const b = await page.locator(`${sel('dbgLista')} .${part}`).boundingBox();
    return [b.x - grid.x, b.y - grid.y, b.width, b.height];
  };
  assert.deepEqual(await partBox('grid-sbar'), [214, 1, 15, 98]);
  assert.deepEqual(await partBox('sb-thumb'), [214, 31, 15, 8]);
  await page.locator(sel('dbgLista')).screenshot({ path: screenshotPath('page-grid-scrollbar.png') });

  const at = (x, y) => [grid.x + x, grid.y + y];
  await page.mouse.move(...at(100, 50));
  await page.mouse.wheel(0, 100);
  await host.waitInputs(1);
  // A flick while the first move is on its way: its notches go as one.
  host.inputDelayMs = 200;
  for (const dy of [100, 100, 100, -100, 100]) await page.mouse.wheel(0, dy);
  await host.waitInputs(3);
  await settle();
  host.inputDelayMs = 0;
  const wheels = host.inputs.filter((e) => e.type === 'wheel');
  assert.deepEqual(wheels.map((e) => e.delta), [1, 1, 2]);
  assert.ok(wheels.every((e) => e.form === 'frmAmostra' && e.name === 'dbgLista'));

  host.inputs.length = 0;
  for (const y of [80, 20, 5, 92]) await page.mouse.click(...at(220, y));  // track below, above, arrows
  // The thumb dragged past the end of the track and let go: the last record.
  await page.mouse.move(...at(221, 35));
  await page.mouse.down();
  await page.mouse.move(...at(150, 120), { steps: 4 });
  assert.deepEqual(await partBox('sb-thumb'), [214, 76, 15, 8]);
  await page.mouse.move(...at(150, 300), { steps: 2 });
  await page.mouse.up();
  await host.waitInputs(5);
  await settle();
  assert.deepEqual(host.inputs.map((e) => (e.type === 'scroll' ? [e.action, e.recNo] : [e.type])), [
    ['pagedown', undefined], ['pageup', undefined], ['lineup', undefined], ['linedown', undefined], ['position', 40]]);

  // A disabled grid's bar and wheel send nothing.
  host.inputs.length = 0;
  changeControl('dbgLista', { usable: false, props: { ...props, recordCount: 40, visibleRows: 4, scrollBar: 16, current: 11 } });
  await page.waitForSelector(`${sel('dbgLista')}.disabled .sb-thumb`);
  await page.mouse.click(...at(220, 80));
  await page.mouse.move(...at(100, 50));
  await page.mouse.wheel(0, 300);
  await settle();
  assert.deepEqual(host.inputs, []);
});
