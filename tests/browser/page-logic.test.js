// The page's logic that needs no browser: applying updates to its copy of
// the model, who takes input, and what a key press sends.

import test from 'node:test';
import assert from 'node:assert/strict';
import {
  createModel, applyUpdate, takeTouched, childrenOf, keyForm, formTakesInput, getControl, showing,
} from '../../display/web/model.js';
import { translateKey } from '../../display/web/keys.js';
import { symbolText, colorNumber, changedAreas, sameJsonBut } from '../../display/web/paint.js';
import { accelKey, stripAccel, radioItemRect } from '../../display/web/view.js';
import { filterRows } from '../../display/web/overlays.js';

const form = (name, extra = {}) => ({ name, caption: name, bounds: [0, 0, 100, 100], visible: true, active: false, modal: false, style: 'normal', ...extra });
const ctl = (f, name, extra = {}) => ({ form: f, name, parent: null, kind: 'edit', bounds: [0, 0, 10, 10], visible: true, props: {}, ...extra });
const overlay = { messagebox: null, picklist: null, busy: { depth: 0, kind: 0 } };

function loaded() {
  const m = createModel();
  applyUpdate(m, {
    seq: 1, full: true, order: ['frmA', 'frmB'], overlay, cursor: 'default',
    forms: [form('frmA'), form('frmB', { active: true })],
    controls: [ctl('frmA', 'edtUm'), ctl('frmA', 'edtDois'), ctl('frmB', 'edtUm'), ctl('frmB', 'panX', { kind: 'panel' }),
      ctl('frmB', 'lblDentro', { parent: 'panX', kind: 'label' })],
  });
  return m;
}

test('updates: full, incremental, removals and stale ones', async (t) => {
  await t.test('a full update replaces everything', () => {
    const m = loaded();
    applyUpdate(m, { seq: 2, full: true, order: ['frmC'], overlay, forms: [form('frmC')], controls: [ctl('frmC', 'x')] });
    assert.deepEqual([...m.forms.keys()], ['frmC']);
    assert.equal(m.controls.size, 1);
    assert.equal(getControl(m, 'frmA', 'edtUm'), null);
  });
  await t.test('controls of different forms with one name stay apart', () => {
    const m = loaded();
    applyUpdate(m, { seq: 2, order: ['frmA', 'frmB'], overlay, controls: [ctl('frmB', 'edtUm', { props: { text: 'novo' } })] });
    assert.equal(getControl(m, 'frmB', 'edtUm').props.text, 'novo');
    assert.deepEqual(getControl(m, 'frmA', 'edtUm').props, {});
  });
  await t.test('a changed control keeps its place among its siblings', () => {
    for (const listedBefore of [false, true]) {
      const m = loaded();
      if (listedBefore) childrenOf(m, 'frmA', null);
      applyUpdate(m, { seq: 2, order: ['frmA', 'frmB'], overlay, controls: [ctl('frmA', 'edtUm', { caption: 'x' })] });
      assert.deepEqual(childrenOf(m, 'frmA', null).map((c) => [c.name, c.caption]), [['edtUm', 'x'], ['edtDois', undefined]]);
      assert.deepEqual(childrenOf(m, 'frmB', 'panX').map((c) => c.name), ['lblDentro']);
      // Moved into the panel: listed there (in the host's order), no longer at the top.
      applyUpdate(m, { seq: 3, order: ['frmA', 'frmB'], overlay, controls: [ctl('frmB', 'edtUm', { parent: 'panX' })] });
      assert.deepEqual(childrenOf(m, 'frmB', 'panX').map((c) => c.name), ['edtUm', 'lblDentro']);
      assert.deepEqual(childrenOf(m, 'frmB', null).map((c) => c.name), ['panX']);
    }
  });
  await t.test('a removed form takes its controls along', () => {
    const m = loaded();
    applyUpdate(m, { seq: 2, order: ['frmA'], overlay, removedForms: ['frmB'] });
    assert.equal(m.forms.has('frmB'), false);
    assert.equal(getControl(m, 'frmB', 'edtUm'), null);
    assert.notEqual(getControl(m, 'frmA', 'edtUm'), null);
  });
  await t.test('removed controls go, order lists only known forms', () => {
    const m = loaded();
    applyUpdate(m, { seq: 2, order: ['frmA', 'frmZ', 'frmB'], overlay, removedControls: [{ form: 'frmA', name: 'edtDois' }] });
    assert.equal(getControl(m, 'frmA', 'edtDois'), null);
    assert.deepEqual(m.order, ['frmA', 'frmB']);
  });
  await t.test('what updates touched: controls with their containers, or everything', () => {
    const m = loaded();
    assert.equal(takeTouched(m), null);  // a full update: everything
    const cases = [
      [{ controls: [ctl('frmB', 'lblDentro', { parent: 'panX', kind: 'label', caption: 'x' })] },
        ['frmB\u0000lblDentro', 'frmB\u0000panX']],
      [{ controls: [ctl('frmB', 'lblDentro', { kind: 'label' })] },  // moved out of its panel
        ['frmB\u0000lblDentro', 'frmB\u0000panX']],
      [{ removedControls: [{ form: 'frmA', name: 'edtDois' }] }, ['frmA\u0000edtDois']],
      [{ forms: [form('frmA', { caption: 'y' })] }, null],
      [{ order: ['frmB', 'frmA'] }, null],
    ];
    let seq = 2;
    for (const [change, expected] of cases) {
      applyUpdate(m, { seq: seq++, order: m.order, overlay, ...change });
      const touched = takeTouched(m);
      assert.deepEqual(touched && [...touched].sort(), expected, JSON.stringify(change));
    }
  });
  await t.test('an incremental update older than the last one is ignored', () => {
    const m = loaded();
    assert.equal(applyUpdate(m, { seq: 1, order: [], overlay, removedForms: ['frmA'] }), false);
    assert.equal(m.forms.has('frmA'), true);
  });
  await t.test('an update that is not an object is refused in Portuguese', () => {
    const m = loaded();
    assert.throws(() => applyUpdate(m, null), /Atualização inválida/);
    assert.throws(() => applyUpdate(m, [1, 2]), /Atualização inválida/);
    assert.equal(m.forms.size, 2);
  });
  await t.test('malformed entries are skipped, the rest applies', () => {
    const m = loaded();
    applyUpdate(m, { seq: 2, order: ['frmA', 'frmB'], overlay, forms: [null, { caption: 'sem nome' }], controls: [42, ctl('frmA', 'novo')] });
    assert.equal(m.forms.size, 2);
    assert.notEqual(getControl(m, 'frmA', 'novo'), null);
  });
  await t.test('a grid paint sent as a change keeps the page\'s operations at both ends', () => {
    const pic = (n) => ({ w: 1, h: 1, pixels: [n] });
    const op = (n, picture) => (picture === undefined ? { op: 'fill', n } : { op: 'bitmap', n, picture });
    const grid = (props) => ctl('frmA', 'dbgUm', { kind: 'dbgrid', props });
    const first = { ops: [op(0), op(1, 0), op(2), op(3, 1), op(4)], pictures: [pic(10), pic(11)], rows: [{ index: 1 }] };
    const cases = [
      // [change, operations after it, rows after it]
      [{ ops: [op(9, 0)], pictures: [pic(12)], keep: { ops: [1, 3], rows: true } },
        [[0], [9, 12], [2], [3, 11], [4]], [{ index: 1 }]],
      [{ ops: [], pictures: [], rows: [{ index: 2 }], keep: { ops: [5, 0], rows: false } },
        [[0], [1, 10], [2], [3, 11], [4]], [{ index: 2 }]],
      [{ ops: [op(7)], pictures: [], keep: { ops: [0, 0], rows: true } }, [[7]], [{ index: 1 }]],
      // a written picture a kept operation has, named by that one's place
      [{ ops: [{ op: 'bitmap', n: 8, like: 3 }], pictures: [], keep: { ops: [1, 3], rows: true } },
        [[0], [8, 11], [2], [3, 11], [4]], [{ index: 1 }]],
    ];
    for (const [change, ops, rows] of cases) {
      const m = loaded();
      applyUpdate(m, { seq: 2, order: ['frmA', 'frmB'], overlay, controls: [grid(structuredClone(first))] });
      const before = getControl(m, 'frmA', 'dbgUm').props.ops;
      applyUpdate(m, { seq: 3, order: ['frmA', 'frmB'], overlay, controls: [grid(change)] });
      const props = getControl(m, 'frmA', 'dbgUm').props;
      assert.deepEqual(props.ops.map((o) => (o.bitmap ? [o.n, o.bitmap.pixels[0]] : [o.n])), ops);
      assert.deepEqual(props.rows, rows);
      assert.equal(props.keep, undefined);
      if (change.keep.ops[0] > 0) assert.equal(props.ops[0], before[0]);  // the kept objects themselves
      if (change.ops[0] && 'like' in change.ops[0]) assert.equal(props.ops[1].bitmap, before[3].bitmap);
    }
    // A picture named by a written operation, by one without a picture or
    // by none at all, is refused like a paint the page does not have.
    for (const like of [1, 2, 5, -1]) {
      const m = loaded();
      applyUpdate(m, { seq: 2, order: ['frmA', 'frmB'], overlay, controls: [grid(structuredClone(first))] });
      const change = grid({ ops: [{ op: 'bitmap', n: 8, like }], pictures: [], keep: { ops: [1, 3], rows: true } });
      assert.throws(() => applyUpdate(m, { seq: 3, order: ['frmA', 'frmB'], overlay, controls: [change] }), /grade/, String(like));
    }
    // A change of a paint the page does not have (or of a shorter one) is refused.
    for (const keep of [{ ops: [1, 0], rows: false }, { ops: [4, 2], rows: false }]) {
      const m = loaded();
      applyUpdate(m, { seq: 2, order: ['frmA', 'frmB'], overlay, controls: [grid(structuredClone(first))] });
      const unknown = { ...grid({ ops: [], pictures: [], keep }), name: keep.ops[0] === 1 ? 'dbgOutro' : 'dbgUm' };
      assert.throws(() => applyUpdate(m, { seq: 3, order: ['frmA', 'frmB'], overlay, controls: [unknown] }), /grade/);
    }
  });
});

test('who takes input', async (t) => {
  await t.test('keys go to the topmost active form', () => {
    const m = loaded();
    assert.equal(keyForm(m).name, 'frmB');
    applyUpdate(m, { seq: 2, order: ['frmA', 'frmB'], overlay, forms: [form('frmA', { active: true }), form('frmB')] });
    assert.equal(keyForm(m).name, 'frmA');
  });
  await t.test('a modal form shuts out the forms below it, not itself', () => {
    const m = loaded();
    applyUpdate(m, { seq: 2, order: ['frmA', 'frmB'], overlay, forms: [form('frmB', { modal: true, active: true })] });
    assert.equal(formTakesInput(m, 'frmA'), false);
    assert.equal(formTakesInput(m, 'frmB'), true);
  });
  await t.test('an open box or the busy indicator shuts out every form', () => {
    const m = loaded();
    applyUpdate(m, { seq: 2, order: ['frmA', 'frmB'], overlay: { ...overlay, messagebox: { id: 1, text: 'x', type: 'error', buttons: ['ok'] } } });
    assert.equal(formTakesInput(m, 'frmB'), false);
    applyUpdate(m, { seq: 3, order: ['frmA', 'frmB'], overlay: { ...overlay, busy: { depth: 1, kind: 6 } } });
    assert.equal(formTakesInput(m, 'frmB'), false);
    applyUpdate(m, { seq: 4, order: ['frmA', 'frmB'], overlay });
    assert.equal(formTakesInput(m, 'frmB'), true);
  });
  await t.test('a control on an inactive sheet or in a hidden parent is not showing', () => {
    const m = createModel();
    applyUpdate(m, { seq: 1, full: true, order: ['f'], overlay, forms: [form('f')], controls: [
      ctl('f', 'pgc', { kind: 'pagecontrol', props: { active: 'tshUm' } }),
      ctl('f', 'tshUm', { kind: 'tabsheet', parent: 'pgc' }), ctl('f', 'tshDois', { kind: 'tabsheet', parent: 'pgc' }),
      ctl('f', 'a', { parent: 'tshUm' }), ctl('f', 'b', { parent: 'tshDois' }),
      ctl('f', 'pan', { kind: 'panel', visible: false }), ctl('f', 'c', { parent: 'pan' }),
    ] });
    assert.equal(showing(m, getControl(m, 'f', 'a')), true);
    assert.equal(showing(m, getControl(m, 'f', 'b')), false);
    assert.equal(showing(m, getControl(m, 'f', 'c')), false);
  });
});

const key = (k, extra = {}) => translateKey({ key: k, code: '', ctrlKey: false, altKey: false, shiftKey: false, metaKey: false, ...extra });

test('key presses', async (t) => {
  await t.test('printable characters are typed text', () => {
    assert.deepEqual(key('a', { code: 'KeyA' }), [{ type: 'char', text: 'a' }]);
    assert.deepEqual(key('A', { code: 'KeyA', shiftKey: true }), [{ type: 'char', text: 'A' }]);
    assert.deepEqual(key('ç', { code: 'Semicolon' }), [{ type: 'char', text: 'ç' }]);
    assert.deepEqual(key('7', { code: 'Numpad7' }), [{ type: 'char', text: '7' }]);
  });
  await t.test('navigation and function keys are virtual keys with the shift state', () => {
    assert.deepEqual(key('Tab'), [{ type: 'key', key: 9, shift: [] }]);
    assert.deepEqual(key('Tab', { shiftKey: true }), [{ type: 'key', key: 9, shift: ['shift'] }]);
    assert.deepEqual(key('ArrowDown'), [{ type: 'key', key: 40, shift: [] }]);
    assert.deepEqual(key('Enter'), [{ type: 'key', key: 13, shift: [] }]);
    assert.deepEqual(key('Escape'), [{ type: 'key', key: 27, shift: [] }]);
    assert.deepEqual(key('Backspace'), [{ type: 'key', key: 8, shift: [] }]);
    assert.deepEqual(key('Delete'), [{ type: 'key', key: 46, shift: [] }]);
    assert.deepEqual(key('F1'), [{ type: 'key', key: 112, shift: [] }]);
    assert.deepEqual(key('F9'), [{ type: 'key', key: 120, shift: [] }]);
    assert.deepEqual(key('F12'), [{ type: 'key', key: 123, shift: [] }]);
  });
  await t.test('Ctrl and Alt combinations are keys by the letter\'s position', () => {
    assert.deepEqual(key('l', { code: 'KeyL', ctrlKey: true }), [{ type: 'key', key: 76, shift: ['ctrl'] }]);
    assert.deepEqual(key('d', { code: 'KeyD', ctrlKey: true }), [{ type: 'key', key: 68, shift: ['ctrl'] }]);
    assert.deepEqual(key('ł', { code: 'KeyL', altKey: true }), [{ type: 'key', key: 76, shift: ['alt'] }]);
    assert.deepEqual(key('1', { code: 'Digit1', ctrlKey: true, shiftKey: true }), [{ type: 'key', key: 49, shift: ['ctrl', 'shift'] }]);
  });
  await t.test('Space is the key and the blank; Ctrl+Space only the key', () => {
    assert.deepEqual(key(' ', { code: 'Space' }), [{ type: 'key', key: 32, shift: [] }, { type: 'char', text: ' ' }]);
    assert.deepEqual(key(' ', { code: 'Space', ctrlKey: true }), [{ type: 'key', key: 32, shift: ['ctrl'] }]);
  });
  await t.test('modifiers alone, Meta and the browser\'s copy and paste send nothing', () => {
    for (const k of ['Shift', 'Control', 'Alt', 'Meta', 'CapsLock', 'Dead']) assert.deepEqual(key(k), []);
    assert.deepEqual(key('r', { code: 'KeyR', metaKey: true }), []);
    assert.deepEqual(key('v', { code: 'KeyV', ctrlKey: true }), []);
    assert.deepEqual(key('c', { code: 'KeyC', ctrlKey: true }), []);
  });
  await t.test('AltGr (Ctrl+Alt) typing a symbol is text', () => {
    assert.deepEqual(key('@', { code: 'Digit2', ctrlKey: true, altKey: true }), [{ type: 'char', text: '@' }]);
  });
});

test('texts and layout shared with the host', async (t) => {
  await t.test('the symbol font\'s "4" is a check mark, other fonts draw text as it is', () => {
    assert.equal(symbolText('Monotype Sorts', '4'), '\u2714');
    assert.equal(symbolText('Monotype Sorts', '3'), '\u2713');
    assert.equal(symbolText('MS Sans Serif', '4'), '4');
  });
  await t.test('colours as numbers', () => {
    assert.equal(colorNumber('#808000'), 0x808000);
    assert.equal(colorNumber(0x1808000), 0x808000);
    assert.equal(colorNumber('olive'), null);
  });
  await t.test('accelerators', () => {
    assert.equal(accelKey('&Teste'), 't');
    assert.equal(accelKey('Salvar && &Sair'), 's');
    assert.equal(accelKey('Sem atalho'), '');
    assert.equal(stripAccel('Salvar && &Sair'), 'Salvar & Sair');
  });
  await t.test('radio group items sit where the host looks for them', () => {
    // Two items in one column of a 200x80 group: 31 pixels each below the caption.
    assert.deepEqual(radioItemRect(2, 1, 200, 80, 0), [8, 14, 190, 31]);
    assert.deepEqual(radioItemRect(2, 1, 200, 80, 1), [8, 45, 190, 31]);
    // Five in two columns: three in the first, the fourth starts the second.
    assert.deepEqual(radioItemRect(5, 2, 210, 80, 3), [8 + 100, 14 + 1, 100, 20]);
  });
  await t.test('a grid\'s changed paint: what the differing operations reach, the rest matched in order', () => {
    const fill = (t, brush = '#ffffff') => ({ op: 'fill', r: [0, t, 100, t + 19], brush });
    const text = (t, clip) => ({ op: 'text', x: 2, y: t + 2, s: 'x', font: { px: 11 }, clip, brush: '#ffffff' });
    const rows = [fill(0), fill(19), fill(38)];
    const cases = [
      [rows, [fill(0), fill(19), fill(38)], []],
      [rows, [fill(0), fill(19, '#0a246a'), fill(38)], [[0, 19, 100, 38]]],
      // One more operation in the middle row shifts none of the last.
      [rows, [fill(0), fill(19), text(19, [0, 19, 50, 38]), fill(38)], [[0, 19, 50, 38]]],
      // Text without a clip: its line and two pixels around, a font size
      // to the left, to the right edge; the rows beside it are not reached.
      [rows, [fill(0), text(19, null), fill(38)], [[-9, 19, 1e5, 38]]],
      [rows, [fill(0), fill(19), text(38, null)], [[-9, 38, 1e5, 57]]],
      // Two rows apart that changed: each on its own.
      [rows, [fill(0, '#0a246a'), fill(19), fill(38, '#0a246a')], [[0, 0, 100, 19], [0, 38, 100, 57]]],
      // A row left with fewer operations, the next one with more.
      [[fill(0), text(0, [0, 0, 50, 19]), fill(19), fill(38)], [fill(0), fill(19), text(19, [0, 19, 50, 38]), fill(38)],
        [[0, 0, 50, 19], [0, 19, 50, 38]]],
      [rows, [fill(0), { op: 'fill', r: 'x' }, fill(38)], null],
      [rows, 'x', null],
    ];
    for (const [before, after, areas] of cases) assert.deepEqual(changedAreas(before, after), areas);
  });
  await t.test('controls compared but for one member', () => {
    const c = { name: 'lbl', caption: 'a', font: { px: 11 } };
    const cases = [
      [{ ...c, caption: 'b' }, true], [{ name: 'lbl', font: { px: 11 } }, true],
      [{ ...c, font: { px: 12 } }, false], [{ ...c, hint: '' }, false], [{ caption: 'a', font: { px: 11 } }, false],
    ];
    for (const [other, same] of cases) {
      assert.equal(sameJsonBut(c, other, 'caption'), same, JSON.stringify(other));
      assert.equal(sameJsonBut(other, c, 'caption'), same, JSON.stringify(other));
    }
  });
  await t.test('the pick list search ignores case and accents and needs every word', () => {
    const rows = [{ cells: ['SP', 'São Paulo'] }, { cells: ['RJ', 'Rio de Janeiro'] }, { cells: ['MG', 'Minas Gerais'] }];
    assert.deepEqual(filterRows(rows, ''), [0, 1, 2]);
    assert.deepEqual(filterRows(rows, 'sao'), [0]);
    assert.deepEqual(filterRows(rows, 'RIO jan'), [1]);
    assert.deepEqual(filterRows(rows, 'rio sp'), []);
  });
});
