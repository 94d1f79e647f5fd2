// The host's modal boxes: message boxes, the pick list and the busy
// indicator. Each lies over a shade that takes every click, so nothing
// behind it takes input. A box is built once per id and kept while the
// host keeps it open, so what the operator ticked or typed in it survives
// the updates that arrive meanwhile.

import { el, accelFragment } from './view.js';

const TITLES = { confirmation: 'Confirmação', error: 'Erro', information: 'Informação', warning: 'Aviso' };
const CAPTIONS = { yes: '&Sim', no: '&Não', ok: 'OK', cancel: 'Cancelar' };
const BUSY_TEXTS = { 6: 'Carregando...', 1: 'Confirmando...' };

let boxIds = 0;

function dialogWindow(role, title) {
  const id = `overlay-${++boxIds}`;
  const win = el('div', 'window dialog active', { role: 'dialog', 'aria-modal': 'true', 'aria-labelledby': `${id}-title` });
  win.dataset.role = role;
  win.id = id;
  const bar = el('div', 'titlebar');
  const text = el('span', 'title-text', { id: `${id}-title` });
  text.textContent = title;
  bar.append(text);
  win.append(bar);
  const client = el('div', 'client');
  win.append(client);
  return { win, client };
}

function pushButton(caption, attrs) {
  const b = el('button', 'pbtn', { type: 'button', ...attrs });
  b.append(accelFragment(caption));
  return b;
}

// Normalised text for the pick list's search: lower case, no accents.
export function foldText(text) {
  return String(text ?? '').normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase();
}

// The rows a search shows: those with a cell containing every word typed.
export function filterRows(rows, search) {
  const words = foldText(search).split(/\s+/).filter(Boolean);
  if (!words.length) return rows.map((_, i) => i);
  const out = [];
  rows.forEach((row, i) => {
    const hay = (row.cells || []).map(foldText).join(' \u0000 ');
    if (words.every((w) => hay.includes(w))) out.push(i);
  });
  return out;
}

export class Overlays {
  // actions: {answer(id, result), pick(id, keys), cancelPick(id)}
  constructor(layer, actions) {
    this.layer = layer;
    this.actions = actions;
    this.box = null;    // {id, el, answered}
    this.pick = null;   // {id, el, picked: Set, search, hot, answered, list}
    this.busy = null;   // element
    this.msgShade = null;
  }

  render(overlay) {
    this.renderPick(overlay.picklist);
    this.renderBox(overlay.messagebox);
    this.renderBusy(overlay.busy);
  }

  open() {
    return !!(this.box || this.pick);
  }

  // ------------------------------------------------------------ message box

  renderBox(mb) {
    if (this.box && (!mb || mb.id !== this.box.id)) {
      this.box.shade.remove();
      this.box.el.remove();
      this.box = null;
    }
    if (!mb || this.box) return;
    const { win, client } = dialogWindow('messagebox', TITLES[mb.type] || 'Mensagem');
    win.classList.add('msgbox');
    // Every message box is announced as it opens, its text with it.
    win.setAttribute('role', 'alertdialog');
    const body = el('div', 'mb-body');
    body.append(el('div', `mb-icon ${TITLES[mb.type] ? mb.type : 'information'}`));
    const text = el('div', 'mb-text');
    text.dataset.role = 'message-text';
    text.id = `${win.id}-text`;
    win.setAttribute('aria-describedby', text.id);
    text.textContent = String(mb.text ?? '');
    body.append(text);
    const row = el('div', 'mb-buttons');
    const buttons = (Array.isArray(mb.buttons) && mb.buttons.length ? mb.buttons : ['ok'])
      .filter((b) => CAPTIONS[b]);
    for (const result of buttons) {
      const b = pushButton(CAPTIONS[result], {});
      b.dataset.result = result;
      b.addEventListener('click', () => this.answer(result));
      row.append(b);
    }
    client.append(body, row);
    const shade = el('div', 'shade overlay-shade');
    this.layer.append(shade, win);
    this.box = { id: mb.id, el: win, shade, buttons, answered: false };
    const first = row.querySelector('button');
    if (first) first.focus();
  }

  answer(result) {
    const box = this.box;
    if (!box || box.answered) return;
    box.answered = true;
    box.el.querySelectorAll('button').forEach((b) => { b.disabled = true; });
    this.actions.answer(box.id, result);
  }

  // Keys while a message box is open. Returns true when handled.
  boxKey(e) {
    const box = this.box;
    if (!box) return false;
    e.preventDefault();
    const buttons = [...box.el.querySelectorAll('button')];
    const key = e.key;
    if (key === 'Escape') {
      const result = ['cancel', 'no', 'ok'].find((r) => box.buttons.includes(r));
      if (result) this.answer(result);
    } else if (key === 'Enter' || key === ' ') {
      const target = buttons.includes(document.activeElement) ? document.activeElement : buttons[0];
      if (target) this.answer(target.dataset.result);
    } else if (key === 'Tab' || key.startsWith('Arrow')) {
      const i = buttons.indexOf(document.activeElement);
      const back = (key === 'Tab' && e.shiftKey) || key === 'ArrowLeft' || key === 'ArrowUp';
      const next = buttons[(i + (back ? -1 : 1) + buttons.length) % buttons.length];
      if (next) next.focus();
    } else if (!e.ctrlKey && key.length === 1) {
      const letter = key.toLowerCase();
      const result = box.buttons.find((r) => (r === 'yes' && letter === 's') || (r === 'no' && letter === 'n'));
      if (result) this.answer(result);
    }
    return true;
  }

  // ------------------------------------------------------------ pick list

  renderPick(pl) {
    if (this.pick && (!pl || pl.id !== this.pick.id)) {
      this.pick.shade.remove();
      this.pick.el.remove();
      this.pick = null;
    }
    if (!pl || this.pick) return;
    const rows = Array.isArray(pl.rows) ? pl.rows : [];
    const state = {
      id: pl.id,
      multi: pl.multi !== false,
      rows,
      picked: new Set(rows.filter((r) => r.picked).map((r) => String(r.key))),
      hot: 0,
      answered: false,
    };
    const { win, client } = dialogWindow('picklist', String(pl.title || 'Seleção'));
    win.classList.add('picklist');
    if (pl.subtitle) {
      const sub = el('div', 'pl-subtitle');
      sub.textContent = String(pl.subtitle);
      client.append(sub);
    }
    const searchRow = el('label', 'pl-search-row');
    searchRow.append('Pesquisar: ');
    const search = el('input', 'pl-search', { type: 'text', 'aria-label': 'Pesquisar', autocomplete: 'off', spellcheck: 'false' });
    search.dataset.role = 'search';
    searchRow.append(search);
    client.append(searchRow);

    const table = el('div', 'pl-table sunken', { role: 'grid', tabindex: '0', 'aria-multiselectable': state.multi ? 'true' : 'false' });
    const head = el('div', 'pl-head', { role: 'row' });
    head.append(el('span', 'pl-markcol', { role: 'columnheader', 'aria-label': 'Marca' }));
    // Columns share the width in proportion to their fields' widths (in
    // characters, bounded so a long name does not starve the codes); the
    // window grows with them, up to the page's width.
    state.flex = (pl.columns || []).map((col) => Math.max(4, Math.min(30, Number(col.width) || 10)));
    const chars = state.flex.reduce((a, b) => a + b, 0);
    win.style.width = `${Math.round(Math.min(window.innerWidth - 40, Math.max(480, 60 + chars * 7)))}px`;
    (pl.columns || []).forEach((col, i) => {
      const h = el('span', 'pl-cell', { role: 'columnheader' });
      h.style.flex = `${state.flex[i]} 1 0`;
      h.textContent = String(col.title ?? col.field ?? '');
      head.append(h);
    });
    const body = el('div', 'pl-body', { role: 'rowgroup' });
    table.setAttribute('aria-label', String(pl.title || 'Seleção'));
    table.append(head, body);
    client.append(table);
    const empty = el('div', 'pl-empty');
    empty.textContent = 'Nenhum registro encontrado.';
    client.append(empty);

    const buttons = el('div', 'mb-buttons');
    const ok = pushButton('OK', {});
    ok.dataset.result = 'ok';
    const cancel = pushButton('Cancelar', {});
    cancel.dataset.result = 'cancel';
    ok.addEventListener('click', () => this.finishPick(false));
    cancel.addEventListener('click', () => this.finishPick(true));
    buttons.append(ok, cancel);
    client.append(buttons);

    state.el = win;
    state.search = search;
    state.body = body;
    state.empty = empty;
    state.shade = el('div', 'shade overlay-shade');
    this.pick = state;
    search.addEventListener('input', () => { state.hot = 0; this.drawPickRows(); });
    body.addEventListener('click', (e) => {
      const row = e.target.closest('.pl-row');
      if (row) this.togglePick(Number(row.dataset.index));
    });
    body.addEventListener('dblclick', (e) => {
      const row = e.target.closest('.pl-row');
      if (row && !state.multi) this.finishPick(false);
    });
    this.layer.append(state.shade, win);
    this.drawPickRows();
    search.focus();
  }

  drawPickRows() {
    const s = this.pick;
    s.shown = filterRows(s.rows, s.search.value);
    s.hot = Math.max(0, Math.min(s.hot, s.shown.length - 1));
    const frag = document.createDocumentFragment();
    s.shown.forEach((index, pos) => {
      const row = s.rows[index];
      const picked = s.picked.has(String(row.key));
      const r = el('div', 'pl-row', { role: 'row', 'aria-selected': picked ? 'true' : 'false' });
      r.dataset.index = String(index);
      r.dataset.key = String(row.key);
      if (pos === s.hot) r.classList.add('hot');
      const col = el('span', 'pl-markcol', { role: 'gridcell', 'aria-label': picked ? 'marcado' : 'não marcado' });
      const mark = el('span', s.multi ? 'check-mark' : 'radio-mark', { 'aria-hidden': 'true' });
      if (picked) mark.classList.add('checked');
      col.append(mark);
      r.append(col);
      (row.cells || []).forEach((cell, i) => {
        const c = el('span', 'pl-cell', { role: 'gridcell' });
        if (s.flex && s.flex[i]) c.style.flex = `${s.flex[i]} 1 0`;
        c.textContent = String(cell ?? '');
        r.append(c);
      });
      frag.append(r);
    });
    s.body.replaceChildren(frag);
    s.empty.style.display = s.shown.length ? 'none' : 'block';
    const hot = s.body.querySelector('.pl-row.hot');
    if (hot) hot.scrollIntoView({ block: 'nearest' });
  }

  togglePick(index) {
    const s = this.pick;
    if (!s || s.answered || !s.rows[index]) return;
    const key = String(s.rows[index].key);
    if (s.multi) {
      if (s.picked.has(key)) s.picked.delete(key);
      else s.picked.add(key);
    } else {
      s.picked = new Set([key]);
    }
    const pos = s.shown.indexOf(index);
    if (pos >= 0) s.hot = pos;
    this.drawPickRows();
  }

  finishPick(cancelled) {
    const s = this.pick;
    if (!s || s.answered) return;
    s.answered = true;
    s.el.querySelectorAll('button, input').forEach((b) => { b.disabled = true; });
    if (cancelled) this.actions.cancelPick(s.id);
    // Keys in list order, those hidden by the search included.
    else this.actions.pick(s.id, s.rows.map((r) => String(r.key)).filter((k) => s.picked.has(k)));
  }

  // Keys while the pick list is open. Returns true when handled.
  pickKey(e) {
    const s = this.pick;
    if (!s) return false;
    const inSearch = document.activeElement === s.search;
    const onButton = document.activeElement && document.activeElement.tagName === 'BUTTON' &&
      s.el.contains(document.activeElement);
    if (e.key === 'Escape') { e.preventDefault(); this.finishPick(true); return true; }
    if (e.key === 'Enter') {
      e.preventDefault();
      if (onButton) document.activeElement.click();
      else this.finishPick(false);
      return true;
    }
    if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
      e.preventDefault();
      s.hot = Math.max(0, Math.min(s.shown.length - 1, s.hot + (e.key === 'ArrowDown' ? 1 : -1)));
      this.drawPickRows();
      return true;
    }
    if (e.key === ' ' && (!inSearch || e.ctrlKey)) {
      e.preventDefault();
      if (s.shown.length) this.togglePick(s.shown[s.hot]);
      return true;
    }
    if (e.key === 'Tab') {
      // Focus goes round the box only.
      const stops = [s.search, s.el.querySelector('.pl-table'), ...s.el.querySelectorAll('button')];
      const i = stops.indexOf(document.activeElement);
      const next = stops[(i + (e.shiftKey ? -1 : 1) + stops.length) % stops.length];
      e.preventDefault();
      next.focus();
      return true;
    }
    // Typing goes to the search box (back there if a click took the
    // focus away); the browser does the rest.
    if (e.key.length === 1 && !e.ctrlKey && !e.altKey && !s.el.contains(document.activeElement)) s.search.focus();
    return true;
  }

  // ------------------------------------------------------------ busy

  renderBusy(busy) {
    const depth = busy && Number.isFinite(busy.depth) ? busy.depth : 0;
    if (depth <= 0) {
      if (this.busy) { this.busy.shade.remove(); this.busy.el.remove(); this.busy = null; }
      return;
    }
    const text = BUSY_TEXTS[busy.kind] || 'Aguarde...';
    if (this.busy && this.busy.text === text) {
      this.layer.append(this.busy.shade, this.busy.el);  // stays on top
      return;
    }
    if (this.busy) { this.busy.shade.remove(); this.busy.el.remove(); }
    const win = el('div', 'window dialog active busy', { role: 'status', 'aria-live': 'polite' });
    win.dataset.role = 'busy';
    const client = el('div', 'client');
    const label = el('div', 'busy-text');
    label.textContent = text;
    const bar = el('div', 'busy-bar sunken');
    bar.append(el('div', 'busy-fill'));
    client.append(label, bar);
    win.append(client);
    const shade = el('div', 'shade busy-shade');
    this.layer.append(shade, win);
    this.busy = { el: win, shade, text };
  }
}
