// A model with one control of each kind the page draws, for the tests of
// the page alone (the mock host streams it).

const OLIVE = 0x808000;
const SILVER = 0xc0c0c0;

// The mark glyphs of the grids: a box on an olive (see-through) ground;
// `inside` is white or silver, `tick` adds the black check mark.
export function markGlyph(inside, tick) {
  const px = new Array(256).fill(OLIVE);
  const set = (x, y, c) => { px[y * 16 + x] = c; };
  for (let i = 2; i <= 11; i++) { set(i, 2, 0); set(2, i, 0); }
  for (let i = 1; i <= 13; i++) { set(13, i, SILVER); set(i, 13, SILVER); }
  for (let y = 3; y <= 11; y++) for (let x = 3; x <= 11; x++) set(x, y, inside);
  if (tick) {
    const black = [[4, [10]], [5, [9, 10]], [6, [4, 8, 9, 10]], [7, [4, 5, 7, 8, 9]], [8, [4, 5, 6, 7, 8]],
      [9, [5, 6, 7]], [10, [6]]];
    for (const [y, xs] of black) for (const x of xs) set(x, y, 0);
  }
  return { w: 16, h: 16, pixels: px };
}

const FONT = { name: 'MS Sans Serif', size: 8, px: 11, bold: false, color: '#000000' };
const INFO = '#ffffe1';

function control(name, kind, bounds, extra = {}) {
  return {
    form: 'frmAmostra', name, parent: null, kind, bounds, visible: true, enabled: true, usable: true,
    caption: '', color: '#d4d0c8', font: FONT, hint: '', tabOrder: 0, focused: false, props: {}, ...extra,
  };
}

export function gridOps() {
  const ops = [];
  const cols = [[0, 17, 'IDCHECK'], [18, 78, 'CODIGO'], [79, 229, 'NOME']];
  ops.push({ op: 'fill', r: [0, 0, 230, 100], brush: '#c0c0c0' });
  ops.push({ op: 'text', x: 4, y: 2, s: '4', font: { ...FONT, name: 'Monotype Sorts', color: '#ffffff' }, clip: [0, 0, 17, 18], brush: '#d4d0c8' });
  ops.push({ op: 'text', x: 20, y: 2, s: 'Código', font: FONT, clip: [18, 0, 78, 18], brush: '#d4d0c8' });
  ops.push({ op: 'text', x: 81, y: 2, s: 'Nome', font: FONT, clip: [79, 0, 229, 18], brush: '#d4d0c8' });
  const rows = [['001', 'Ana', true], ['002', 'Bruno', false]];
  rows.forEach(([code, name, marked], i) => {
    const top = 19 + i * 19;
    const selected = i === 0;
    const brush = selected ? '#0a246a' : INFO;
    ops.push({ op: 'fill', r: [0, top, 17, top + 18], brush });
    ops.push({ op: 'bitmap', r: [1, top, 17, top + 18], src: [0, 0, 16, 18], bitmap: markGlyph(0xffffff, marked), transparent: OLIVE, brush });
    ops.push({ op: 'text', x: 20, y: top + 2, s: code, font: { ...FONT, color: selected ? '#ffffff' : '#0000ff' }, clip: [18, top, 78, top + 18], brush });
    ops.push({ op: 'text', x: 81, y: top + 2, s: name, font: FONT, clip: null, brush: INFO });
    if (selected) ops.push({ op: 'focus', r: [18, top, 78, top + 18] });
  });
  return ops;
}

export function sampleModel() {
  const tick = { w: 16, h: 16, pixels: markGlyph(0xffffff, true).pixels };
  return {
    forms: [{
      name: 'frmAmostra', caption: 'Amostra', bounds: [0, 0, 600, 400], visible: true, active: true, modal: false,
      style: 'normal', state: 'normal', focus: 'edtNome', color: '#d4d0c8',
      menu: [{ name: 'mnuArquivo', caption: '&Arquivo', enabled: true, visible: true, checked: false, separator: false, shortcut: '', items: [
        { name: 'mnuLimpar', caption: '&Limpar', enabled: true, visible: true, checked: true, separator: false, shortcut: 'Ctrl+L', items: [] },
        { name: 'mnuSep', caption: '-', enabled: true, visible: true, checked: false, separator: true, shortcut: '', items: [] },
        { name: 'mnuSair', caption: '&Sair', enabled: false, visible: true, checked: false, separator: false, shortcut: '', items: [] },
      ] }],
    }],
    controls: [
      control('lblNome', 'label', [8, 10, 40, 13], { caption: '&Nome' }),
      control('edtNome', 'edit', [60, 6, 150, 21], { color: '#ffffff', focused: true, props: { text: 'Ana', readOnly: false } }),
      control('medFilial', 'maskedit', [220, 6, 41, 21], { color: INFO, props: { text: 'SP  ', readOnly: false } }),
      control('edtDesab', 'edit', [270, 6, 100, 21], { enabled: false, usable: false, props: { text: 'Matriz', readOnly: false } }),
      control('chbAtivo', 'checkbox', [8, 36, 80, 17], { caption: 'Ativo', props: { checked: true } }),
      control('grbOpcoes', 'groupbox', [100, 34, 160, 60], { caption: 'Opções' }),
      control('rbtA', 'radiobutton', [8, 16, 100, 17], { parent: 'grbOpcoes', caption: 'Opção A', props: { checked: true } }),
      control('rbtB', 'radiobutton', [8, 36, 100, 17], { parent: 'grbOpcoes', caption: 'Opção B', props: { checked: false } }),
      control('sbtGlyph', 'speedbutton', [270, 36, 25, 25], { props: { glyph: tick, numGlyphs: 1, flat: false, down: false } }),
      control('btnOk', 'button', [300, 36, 75, 25], { caption: 'OK', props: { glyph: null, numGlyphs: 1, flat: false, down: false } }),
      control('pgcPaginas', 'pagecontrol', [8, 100, 300, 150], { props: { active: 'tshUm', pages: [
        { name: 'tshUm', caption: 'Um', tabVisible: true, enabled: true },
        { name: 'tshDois', caption: '&Dois', tabVisible: true, enabled: false },
      ] } }),
      control('tshUm', 'tabsheet', [4, 24, 292, 122], { parent: 'pgcPaginas' }),
      control('tshDois', 'tabsheet', [4, 24, 292, 122], { parent: 'pgcPaginas' }),
      control('dbgLista', 'dbgrid', [4, 4, 230, 100], { parent: 'tshUm', color: INFO, props: {
        titleHeight: 18, rowHeight: 18, current: 1, selected: 1,
        columns: [{ field: 'IDCHECK', title: '4', left: 0, width: 17 }, { field: 'CODIGO', title: 'Código', left: 18, width: 60 }, { field: 'NOME', title: 'Nome', left: 79, width: 150 }],
        ops: gridOps(),
        rows: [
          { index: 1, cells: [{ field: 'IDCHECK', text: '' }, { field: 'CODIGO', text: '001' }, { field: 'NOME', text: 'Ana' }] },
          { index: 2, cells: [{ field: 'IDCHECK', text: '' }, { field: 'CODIGO', text: '002' }, { field: 'NOME', text: 'Bruno' }] },
        ],
      } }),
      control('lblDois', 'label', [8, 8, 100, 13], { parent: 'tshDois', caption: 'Página dois' }),
      control('panInfo', 'panel', [320, 100, 200, 41], { caption: 'Painel', props: { bevelOuter: 'raised', bevelInner: 'lowered' } }),
      control('rgrTipo', 'radiogroup', [320, 150, 200, 80], { caption: 'Tipo', props: { items: ['Pedido', 'Orçamento'], itemIndex: 1, columns: 1 } }),
      control('cboFrete', 'combobox', [320, 240, 160, 21], { color: '#ffffff', props: { text: '0 - Emitente', items: ['0 - Emitente', '9 - Sem Frete'], itemIndex: 0, readOnly: false } }),
      control('speDia', 'spinedit', [490, 240, 50, 21], { color: '#ffffff', props: { text: '01', readOnly: false } }),
      control('dbnNav', 'dbnavigator', [8, 260, 100, 25], { props: { buttons: [
        { name: 'first', enabled: false }, { name: 'prior', enabled: false }, { name: 'next', enabled: true }, { name: 'last', enabled: true },
      ] } }),
      control('memObs', 'memo', [120, 260, 190, 60], { color: '#ffffff', props: { text: 'Linha um\nLinha dois', readOnly: true } }),
    ],
    order: ['frmAmostra'],
    overlay: { messagebox: null, picklist: null, busy: { depth: 0, kind: 0 } },
    cursor: 'default',
  };
}
