// Drawing the model as DOM: windows with their title bars and menus, and
// every control at its pixel bounds in the classic desktop look.
//
// Each update redraws the windows and controls that changed (see
// `built`); the page-local state (open menu, open drop-down list or
// calendar) lives in
// `ui`. Input is not handled here: the elements carry data attributes
// (data-form, data-name, data-act, ...) that app.js reads on clicks.

import { childrenOf, controlKey, getControl, visibleForms, topModalIndex } from './model.js';
import { makeCanvas, replayOps, changedAreas, sameJson, sameJsonBut, drawBitmap, isBitmap, measureText, lineHeight } from './paint.js';
import { describeControl, gridName, plainCaption, hintText } from './access.js';
import { MONTH_NAMES, dayTitles, formatDate, monthGrid, sameDate, todayDate } from './calendar.js';

export const FRAME = 4;     // window border, each side
export const TITLE_H = 18;  // title bar
export const MENU_H = 19;   // menu bar
export const TAB_H = 20;    // tab row of a page control

const GREY_TEXT = '#808080';

// ---------------------------------------------------------------- helpers

export function el(tag, cls, attrs) {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (attrs) for (const [k, v] of Object.entries(attrs)) if (v != null) e.setAttribute(k, v);
  return e;
}

function place(e, [l, t, w, h]) {
  e.style.left = `${l}px`;
  e.style.top = `${t}px`;
  e.style.width = `${Math.max(0, w)}px`;
  e.style.height = `${Math.max(0, h)}px`;
}

function bounds(c) {
  const b = Array.isArray(c.bounds) ? c.bounds : [0, 0, 0, 0];
  return b.map((n) => (Number.isFinite(n) ? n : 0));
}

// A caption with "&" marking its accelerator: the letter is underlined
// and "&&" shows one "&".
export function accelFragment(caption) {
  const frag = document.createDocumentFragment();
  const chars = [...String(caption ?? '')];
  let buf = '';
  for (let i = 0; i < chars.length; i++) {
    if (chars[i] === '&' && i + 1 < chars.length) {
      if (chars[i + 1] === '&') { buf += '&'; i++; continue; }
      if (buf) frag.append(buf);
      buf = '';
      const u = document.createElement('u');
      u.textContent = chars[++i];
      frag.append(u);
      continue;
    }
    buf += chars[i];
  }
  if (buf) frag.append(buf);
  return frag;
}

// A caption as shown: without the accelerator marks, "&&" as "&".
export const stripAccel = plainCaption;

// The accelerator letter of a caption, lower case, or ''.
export function accelKey(caption) {
  const m = /(?:^|[^&])&([^&])/.exec(String(caption ?? '').replace(/&&/g, ''));
  return m ? m[1].toLowerCase() : '';
}

function fontOf(c) {
  const f = c.font || {};
  return { name: f.name, px: Number.isFinite(f.px) ? f.px : 11, bold: !!f.bold, color: f.color || '#000000' };
}

function applyFont(e, font) {
  e.style.fontSize = `${font.px}px`;
  e.style.fontWeight = font.bold ? 'bold' : 'normal';
  e.style.lineHeight = `${lineHeight(font.px)}px`;
  e.style.color = font.color;
}

function textSpan(cls, text, { accel = false } = {}) {
  const s = el('span', cls);
  if (accel) s.append(accelFragment(text));
  else s.textContent = text;
  return s;
}


// ---------------------------------------------------------------- desktop

// Where each visible form's window goes, in page pixels, and whether it
// has a frame. Main (mdiform) windows stay at their place, other floating
// windows are centred over the main window (or the page), MDI children sit
// in their main window's client area.
function windowBox(form, view) {
  const [l, t, w, h] = bounds(form);
  const menuH = hasMenu(form) ? MENU_H : 0;
  const outerW = w + 2 * FRAME;
  const outerH = h + 2 * FRAME + TITLE_H + menuH;
  // A child keeps its frame when maximised (the host gives it the main
  // window's client area), so its title bar can restore it.
  if (form.style === 'mdichild') return { left: l, top: t, width: outerW, height: outerH, framed: true };
  // The main window fills the page; the host follows the page's size.
  if (form.style === 'mdiform') return { left: 0, top: 0, width: outerW, height: outerH, framed: true };
  const area = view.main || { left: 0, top: 0, width: view.width, height: view.height };
  return {
    left: Math.max(0, Math.round(area.left + (area.width - outerW) / 2)),
    top: Math.max(0, Math.round(area.top + (area.height - outerH) / 2)),
    width: outerW,
    height: outerH,
    framed: true,
  };
}

function hasMenu(form) {
  return Array.isArray(form.menu) && form.menu.some((m) => m && m.visible !== false);
}

// Elements already built, by window or control, with what they were built
// from: an element whose control (the same object: the model replaces a
// control's object when it changes) and page-local state are unchanged is
// kept, so the page only rebuilds what changed and elements keep their
// identity across updates. A rebuilt element may take over parts of the
// one it replaces (a grid its canvas).
const built = new Map();
let modalShade = null;

// Forgets every built element (the fonts changed, so every width may).
export function resetBuilt() {
  built.clear();
}

function reuse(key, source, flags, make, used) {
  used.add(key);
  let entry = built.get(key);
  if (!entry || entry.source !== source || entry.flags !== flags) {
    entry = { source, flags, ...make(entry) };
    built.set(key, entry);
  }
  return entry;
}

// Draws the desktop. `view` is {width, height} of the page. With
// `touched` (see takeTouched) a control drawn before that is not in it
// keeps its element and everything inside as they are.
export function renderDesktop(desktop, model, ui, view, touched = null) {
  const used = new Set();
  const top = [];
  const forms = visibleForms(model);
  const modalAt = topModalIndex(model);
  const mainForm = forms.find((f) => f.style === 'mdiform');
  const mainBox = mainForm ? windowBox(mainForm, view) : null;
  const ctx = { ...view, main: mainBox };
  const children = new Map();  // mdiform name -> windows of its children
  forms.forEach((form, index) => {
    if (index === modalAt) {
      modalShade = modalShade || el('div', 'shade modal-shade');
      top.push(modalShade);
    }
    const win = { form, box: windowBox(form, ctx) };
    if (form.style === 'mdichild' && mainForm) {
      if (!children.has(mainForm.name)) children.set(mainForm.name, []);
      children.get(mainForm.name).push(win);
    } else {
      top.push(win);
    }
  });
  const draw = (win) => renderWindow(model, win.form, ui, win.box, { used, touched },
    (children.get(win.form.name) || []).map(draw));
  keepChildren(desktop, top.map((item) => (item instanceof Node ? item : draw(item))));
  // The controls left out of a drawing of a part are still there.
  if (!touched) for (const key of [...built.keys()]) if (!used.has(key)) built.delete(key);
}

function renderWindow(model, form, ui, box, walk, mdiChildren) {
  const menuOpen = ui.openMenu && ui.openMenu.form === form.name ? ui.openMenu.path[0] : '';
  // The main window's title stays lit while one of its children is active.
  const lit = form.active || (form.style === 'mdiform' &&
    visibleForms(model).some((f) => f.style === 'mdichild' && f.active));
  const flags = `${JSON.stringify(box)}|${menuOpen}|${lit}`;
  const entry = reuse(`w:${form.name}`, form, flags, () => buildWindow(form, ui, box, lit), walk.used);
  if (entry.client) {
    keepChildren(entry.client, [...controlElements(model, form, null, ui, walk), ...mdiChildren]);
  }
  return entry.el;
}

function buildWindow(form, ui, box, lit) {
  const win = el('div', 'window');
  win.dataset.form = form.name;
  // The main window is the page's application; every other one a dialog
  // (modal or not) named after its caption.
  if (form.style !== 'mdiform') {
    win.setAttribute('role', 'dialog');
    win.setAttribute('aria-label', plainCaption(form.caption) || form.name);
    if (form.modal) win.setAttribute('aria-modal', 'true');
  }
  win.classList.add(lit ? 'active' : 'inactive');
  if (form.modal) win.classList.add('modal');
  if (form.state === 'minimized') {
    win.classList.add('minimized');
    place(win, [box.left, box.top, 160 + 2 * FRAME, TITLE_H + 2 * FRAME]);
    win.append(titleBar(form));
    return { el: win, client: null };
  }
  place(win, [box.left, box.top, box.width, box.height]);
  if (box.framed) win.append(titleBar(form));
  else win.classList.add('frameless');
  if (hasMenu(form)) win.append(menuBar(form, ui));
  const [, , w, h] = bounds(form);
  const client = el('div', 'client');
  client.style.width = `${w}px`;
  client.style.height = `${h}px`;
  if (form.color) client.style.backgroundColor = form.color;
  win.append(client);
  return { el: win, client };
}

// The bounds a child takes maximised: the main window's whole client
// area, less its own frame, title and menu.
export function maximizedBounds(main, child) {
  const [, , w, h] = bounds(main);
  return [0, 0, Math.max(40, w - 2 * FRAME), Math.max(40, h - 2 * FRAME - TITLE_H - (hasMenu(child) ? MENU_H : 0))];
}

// The client size the main window takes in a page of the given size.
export function mainClientSize(main, view) {
  return [Math.max(40, view.width - 2 * FRAME), Math.max(40, view.height - 2 * FRAME - TITLE_H - (hasMenu(main) ? MENU_H : 0))];
}

function titleButton(act, label) {
  const b = el('div', `title-btn ${act}`, { role: 'button', title: label, 'aria-label': label });
  b.dataset.act = act;
  return b;
}

function titleBar(form) {
  const bar = el('div', 'titlebar');
  bar.dataset.act = 'title';
  bar.append(textSpan('title-text', form.caption ?? ''));
  if (form.style === 'mdichild') {
    bar.append(form.state === 'minimized' ? titleButton('restore', 'Restaurar') : titleButton('minimize', 'Minimizar'));
    bar.append(form.state === 'maximized' ? titleButton('restore', 'Restaurar') : titleButton('maximize', 'Maximizar'));
  }
  const close = el('div', 'title-btn close', { role: 'button', title: 'Fechar', 'aria-label': 'Fechar' });
  close.dataset.act = 'close';
  bar.append(close);
  return bar;
}

// ---------------------------------------------------------------- menus

function menuBar(form, ui) {
  const bar = el('div', 'menubar', { role: 'menubar' });
  const open = ui.openMenu && ui.openMenu.form === form.name ? ui.openMenu : null;
  for (const item of form.menu) {
    if (!item || item.visible === false) continue;
    const e = el('div', 'mb-item', { role: 'menuitem' });
    e.dataset.act = 'menubar';
    e.dataset.menu = item.name;
    if (item.enabled === false) e.classList.add('disabled');
    if (open && open.path[0] === item.name) e.classList.add('open');
    e.append(accelFragment(item.caption));
    bar.append(e);
  }
  return bar;
}

export function findMenuItem(items, name) {
  for (const item of items || []) {
    if (!item) continue;
    if (item.name === name) return item;
    const inner = findMenuItem(item.items, name);
    if (inner) return inner;
  }
  return null;
}

// Drop-down lists (of the open menu, or of the open combo box), in page
// coordinates. Drawn after the desktop so no window clips them.
export function renderPopups(layer, model, ui, desktop) {
  layer.replaceChildren();
  if (ui.combo) comboPopup(layer, model, ui, desktop);
  if (ui.calendar) calendarPopup(layer, model, ui, desktop);
  if (ui.openMenu) menuPopups(layer, model, ui, desktop);
}

function comboPopup(layer, model, ui, desktop) {
  const c = getControl(model, ui.combo.form, ui.combo.name);
  const win = desktop.querySelector(`.window[data-form="${CSS.escape(ui.combo.form)}"]`);
  const box = win && win.querySelector(`.ctl[data-name="${CSS.escape(ui.combo.name)}"]`);
  if (!c || !box || c.usable === false) { ui.combo = null; return; }
  const props = c.props || {};
  const r = box.getBoundingClientRect();
  const list = el('div', 'drop-list', { role: 'listbox' });
  list.style.left = `${r.left + window.scrollX}px`;
  list.style.top = `${r.bottom + window.scrollY}px`;
  list.style.width = `${r.width}px`;
  applyFont(list, fontOf(c));
  (props.items || []).forEach((text, i) => {
    const row = textSpan('drop-item', String(text));
    row.dataset.act = 'comboitem';
    row.dataset.index = String(i);
    row.setAttribute('role', 'option');
    if (i === (ui.combo.hot ?? props.itemIndex)) row.classList.add('hot');
    list.append(row);
  });
  layer.append(list);
}

// The month calendar of a date box, under the box: title with the month
// and the arrows to the months around it, weekday titles, six weeks of
// days (today framed, the highlighted day selected) and today's date.
function calendarPopup(layer, model, ui, desktop) {
  const cal = ui.calendar;
  const c = getControl(model, cal.form, cal.name);
  const win = desktop.querySelector(`.window[data-form="${CSS.escape(cal.form)}"]`);
  const box = win && win.querySelector(`.ctl[data-name="${CSS.escape(cal.name)}"]`);
  if (!c || !box || c.usable === false || (c.props || {}).readOnly) { ui.calendar = null; return; }
  const r = box.getBoundingClientRect();
  const pop = el('div', 'calendar raised', { role: 'dialog', 'aria-label': 'Calendário' });
  pop.dataset.role = 'calendar';
  pop.style.left = `${Math.max(0, Math.min(r.left, window.innerWidth - CALENDAR_W)) + window.scrollX}px`;
  pop.style.top = `${r.bottom + window.scrollY}px`;
  applyFont(pop, { ...fontOf(c), bold: false, color: '#000000' });
  const today = todayDate();
  pop.append(calendarTitle(cal), calendarDays(cal, (c.props || {}).dayNames, today));
  const foot = textSpan('cal-today', `Hoje: ${formatDate(today)}`);
  foot.dataset.act = 'cal-day';
  foot.dataset.date = formatDate(today);
  pop.append(foot);
  layer.append(pop);
}

const CALENDAR_W = 192;  // as .calendar in app.css

function calendarTitle(cal) {
  const head = el('div', 'cal-title');
  const prev = el('div', 'cal-nav prev raised', { title: 'Mês anterior', 'aria-label': 'Mês anterior' });
  prev.dataset.act = 'cal-prev';
  const next = el('div', 'cal-nav next raised', { title: 'Próximo mês', 'aria-label': 'Próximo mês' });
  next.dataset.act = 'cal-next';
  head.append(prev, textSpan('cal-month', `${MONTH_NAMES[cal.m - 1]} ${cal.y}`), next);
  return head;
}

function calendarDays(cal, dayNames, today) {
  const grid = el('div', 'cal-grid', { role: 'grid' });
  for (const title of dayTitles(dayNames)) grid.append(textSpan('cal-wd', title));
  for (const week of monthGrid(cal.y, cal.m)) {
    for (const day of week) {
      const cell = textSpan('cal-day', String(day.d));
      cell.setAttribute('role', 'gridcell');
      cell.dataset.act = 'cal-day';
      cell.dataset.date = formatDate(day);
      if (day.other) cell.classList.add('other');
      if (sameDate(day, today)) cell.classList.add('today');
      if (sameDate(day, cal)) {
        cell.classList.add('hot');
        cell.setAttribute('aria-selected', 'true');
      }
      grid.append(cell);
    }
  }
  return grid;
}

function menuPopups(layer, model, ui, desktop) {
  const open = ui.openMenu;
  if (!open) return;
  const form = model.forms.get(open.form);
  if (!form || !hasMenu(form)) { ui.openMenu = null; return; }
  const win = desktop.querySelector(`.window[data-form="${CSS.escape(open.form)}"]`);
  const anchor = win && win.querySelector(`.mb-item[data-menu="${CSS.escape(open.path[0])}"]`);
  if (!anchor) { ui.openMenu = null; return; }
  let r = anchor.getBoundingClientRect();
  let x = r.left + window.scrollX;
  let y = r.bottom + window.scrollY;
  let items = (findMenuItem(form.menu, open.path[0]) || {}).items || [];
  for (let level = 0; level < open.path.length; level++) {
    const pop = menuPopup(items, open, level);
    pop.style.left = `${x}px`;
    pop.style.top = `${y}px`;
    layer.append(pop);
    const next = open.path[level + 1];
    if (!next) break;
    const row = pop.querySelector(`[data-menu="${CSS.escape(next)}"]`);
    if (!row) break;
    const pr = pop.getBoundingClientRect();
    const rr = row.getBoundingClientRect();
    x = pr.right + window.scrollX - 3;
    y = rr.top + window.scrollY - 3;
    items = (findMenuItem(items, next) || {}).items || [];
  }
}

function menuPopup(items, open, level) {
  const pop = el('div', 'menu-pop', { role: 'menu' });
  const hot = open.hot && open.hot[level];
  for (const item of items) {
    if (!item || item.visible === false) continue;
    if (item.separator || item.caption === '-') {
      pop.append(el('div', 'mi-sep', { role: 'separator' }));
      continue;
    }
    const row = el('div', 'mi', { role: 'menuitem' });
    row.dataset.act = 'menuitem';
    row.dataset.menu = item.name;
    row.dataset.level = String(level);
    if (item.enabled === false) row.classList.add('disabled');
    if (hot === item.name || open.path[level + 1] === item.name) row.classList.add('hot');
    const check = el('span', 'mi-check');
    if (item.checked) check.textContent = '\u2713';
    const cap = el('span', 'mi-caption');
    cap.append(accelFragment(item.caption));
    const sc = el('span', 'mi-shortcut');
    sc.textContent = item.shortcut || '';
    const sub = el('span', 'mi-sub');
    if (Array.isArray(item.items) && item.items.some((i) => i && i.visible !== false)) {
      sub.textContent = '\u25B8';
      row.dataset.sub = '1';
    }
    row.append(check, cap, sc, sub);
    pop.append(row);
  }
  return pop;
}

// ---------------------------------------------------------------- controls

// The elements of the shown children of a control (null: of the form).
function controlElements(model, form, parentName, ui, walk) {
  const out = [];
  const parent = parentName ? getControl(model, form.name, parentName) : null;
  for (const c of childrenOf(model, form.name, parentName)) {
    if (c.visible === false) continue;
    if (parent && parent.kind === 'pagecontrol' && c.kind === 'tabsheet' &&
        (parent.props || {}).active !== c.name) continue;
    out.push(renderControl(model, form, c, ui, walk));
  }
  return out;
}

const EDIT_KINDS = new Set(['edit', 'maskedit', 'dbedit', 'numberedit', 'dateedit', 'dbdateedit', 'spinedit']);
const MEMO_KINDS = new Set(['memo', 'richedit', 'dbrichedit']);
const BUTTON_KINDS = new Set(['button', 'speedbutton', 'flatbutton', 'searchbutton']);

export function takesText(kind) {
  return EDIT_KINDS.has(kind) || MEMO_KINDS.has(kind) || kind === 'combobox' || kind === 'dbcombobox';
}

function renderControl(model, form, c, ui, walk) {
  const dropped = [ui.combo, ui.calendar].some((open) => open && open.form === form.name && open.name === c.name);
  const flags = `${form.active ? 1 : 0}${dropped ? 1 : 0}`;
  const id = controlKey(form.name, c.name);
  const key = `c:${id}`;
  const kept = built.get(key);
  const same = kept && kept.flags === flags;
  if (same && kept.source === c && walk.touched && !walk.touched.has(id)) return kept.el;
  if (same && kept.source !== c && !repainted(model, form, c, ui, kept)) recaptioned(kept, c);
  const entry = reuse(key, c, flags, (old) => buildControl(model, form, c, ui, old), walk.used);
  keepChildren(entry.el, [...entry.before, ...controlElements(model, form, c.name, ui, walk), ...entry.after]);
  return entry.el;
}

// A label whose caption alone changed keeps its element, its text
// changed in place: an element taken out of the page and a new one put
// in cost far more than a changed text (a record's name under a grid
// changes with every move of its cursor). A caption with an accelerator,
// or that is or was empty, is drawn anew.
function recaptioned(entry, c) {
  const old = entry.source;
  if (c.kind !== 'label' && c.kind !== 'dbtext') return;
  const caption = c.caption == null ? '' : String(c.caption);
  if (!caption || (c.kind === 'label' && caption.includes('&'))) return;
  const span = entry.el.firstChild;
  const text = span && span === entry.el.lastChild && span.firstChild;
  if (!text || text.nodeType !== Node.TEXT_NODE || text !== span.lastChild) return;
  if (!sameJsonBut(old, c, 'caption')) return;
  text.data = caption;
  entry.source = c;
}

// A grid whose paint alone changed (a moved cursor) keeps its element as
// it is, its canvas and table drawn again: an element's attributes set
// anew are its style to work out again.
function repainted(model, form, c, ui, entry) {
  if (c.kind !== 'dbgrid' || !entry.paint || !c.props || typeof c.props !== 'object') return false;
  if (!sameJsonBut(entry.source, c, 'props')) return false;
  const draw = drawContext(model, form, c, ui, entry.el, entry.paint);
  try {
    drawGrid(draw);
  } catch (err) {
    return false;  // drawn anew, where a broken one shows as such
  }
  entry.source = c;
  entry.paint = draw.paint;
  entry.before = [...entry.el.childNodes];
  return true;
}

// An element without its attributes, of class `cls`; its children stay.
function cleared(e, cls) {
  for (const name of e.getAttributeNames()) e.removeAttribute(name);
  e.className = cls;
  return e;
}

// Puts `nodes` in `parent` in order, taking out the others first, so the
// ones it holds already in that order are never moved (nor blurred), nor
// their subtrees laid out and styled again.
function keepChildren(parent, nodes) {
  const now = parent.childNodes;
  if (now.length === nodes.length && nodes.every((n, i) => now[i] === n)) return;
  const wanted = new Set(nodes);
  for (const n of [...parent.childNodes]) if (!wanted.has(n)) n.remove();
  nodes.forEach((n, i) => {
    if (parent.childNodes[i] !== n) parent.insertBefore(n, parent.childNodes[i] || null);
  });
}

// What a control's drawing reads: the control, its element `e`, its
// props, font and state, and a grid's earlier `paint`.
function drawContext(model, form, c, ui, e, paint) {
  const props = c.props && typeof c.props === 'object' ? c.props : {};
  return { model, form, c, e, props, font: fontOf(c), usable: c.usable !== false,
    focused: !!c.focused && !!form.active, ui, paint };
}

// A control's element and its own drawing: `before` goes under its
// children, `after` over them; `paint` what a grid's canvas shows. `old`
// is the entry of the element it replaces, if any. A grid keeps its
// element, made anew in place, so its table keeps the browser's focus
// (an element taken out of the page loses it) and is not laid out again.
function buildControl(model, form, c, ui, old) {
  const keep = c.kind === 'dbgrid' && old && old.paint && old.el.classList.contains('k-dbgrid') ? old.el : null;
  const e = keep ? cleared(keep, `ctl k-${c.kind}`) : el('div', `ctl k-${c.kind || 'unknown'}`);
  const ctx = drawContext(model, form, c, ui, e, old && old.paint);
  const { props, font, usable, focused } = ctx;
  e.dataset.name = c.name;
  place(e, bounds(c));
  applyFont(e, usable ? font : { ...font, color: GREY_TEXT });
  if (!usable) e.classList.add('disabled');
  if (focused) e.classList.add('focused');
  const hint = hintText(c.hint);
  if (hint) e.title = hint;
  const kind = c.kind || '';
  try {
    if (EDIT_KINDS.has(kind)) drawEdit(ctx);
    else if (MEMO_KINDS.has(kind)) drawMemo(ctx);
    else if (kind === 'combobox' || kind === 'dbcombobox') drawCombo(ctx);
    else if (BUTTON_KINDS.has(kind)) drawButton(ctx);
    else if (kind === 'dbgrid') drawGrid(ctx);
    else if (DRAW[kind]) DRAW[kind](ctx);
    else if (c.color && kind !== 'splitter') e.style.backgroundColor = c.color;
  } catch (err) {
    // A control the host described wrongly shows as such; the rest of the
    // window is drawn as usual.
    e.replaceChildren();
    e.classList.add('broken');
    e.title = 'Não foi possível desenhar este controle.';
    console.error(`controle ${c.name}:`, err);
  }
  describeControl(model, c, e, props, usable);
  const before = [...e.childNodes];
  // The sheet fills the page area; the page's edges are drawn over it.
  const after = kind === 'pagecontrol' ? [pageFrame(props)] : [];
  return { el: e, before, after, paint: kind === 'dbgrid' ? ctx.paint : null };
}

const DRAW = {
  label: drawLabel,
  dbtext: drawLabel,
  checkbox: drawCheck,
  dbcheckbox: drawCheck,
  radiobutton: drawCheck,
  radiogroup: drawRadioGroup,
  dbradiogroup: drawRadioGroup,
  groupbox: drawGroupBox,
  panel: drawPanel,
  pagecontrol: drawPageControl,
  tabsheet: ({ e, c }) => { if (c.color) e.style.backgroundColor = c.color; },
  image: drawImage,
  dbnavigator: drawNavigator,
  scrollbox: ({ e, c }) => { e.classList.add('sunken'); if (c.color) e.style.backgroundColor = c.color; },
};

function drawLabel({ e, c, props }) {
  if (c.color) e.style.backgroundColor = c.color;
  const span = textSpan('lbl-text', c.caption ?? '', { accel: c.kind === 'label' });
  span.style.textAlign = props.alignment === 'right' ? 'right' : props.alignment === 'center' ? 'center' : 'left';
  e.append(span);
}

// The text shown in an edit, its selection and its caret, where the host
// keeps them (`selStart`, `selLength`, `caret`, in characters of `text`).
function editText({ e, c, props, font, focused }, { align = 'left', right = 3, reserve = 0 } = {}) {
  const text = String(props.text ?? '');
  const chars = [...text];
  const [, , w, h] = bounds(c);
  const lh = lineHeight(font.px);
  const top = Math.max(1, Math.floor((h - lh) / 2));
  const clamp = (n) => Math.min(Math.max(Number.isInteger(n) ? n : chars.length, 0), chars.length);
  const selStart = clamp(props.selStart);
  const selEnd = clamp(selStart + (Number.isInteger(props.selLength) ? props.selLength : 0));
  const span = el('span', 'edit-text');
  if (focused && selEnd > selStart) {
    const sel = textSpan('sel', chars.slice(selStart, selEnd).join(''));
    span.append(chars.slice(0, selStart).join(''), sel, chars.slice(selEnd).join(''));
  } else {
    span.textContent = text;
  }
  span.style.top = `${top}px`;
  if (align === 'right') { span.style.right = `${right}px`; span.style.left = 'auto'; }
  if (reserve) span.style.right = `${3 + reserve}px`;
  e.append(span);
  if (focused && !props.readOnly) {
    const caret = el('span', 'caret');
    const before = measureText(font, chars.slice(0, clamp(props.caret)).join(''));
    const x = align === 'right' ? w - right - measureText(font, text) + before : 3 + before;
    caret.style.left = `${Math.max(1, Math.min(x, w - 3 - reserve))}px`;
    caret.style.top = `${top}px`;
    caret.style.height = `${lh}px`;
    e.append(caret);
  }
}

function drawEdit(ctx) {
  const { e, c, props } = ctx;
  e.classList.add('sunken');
  e.style.backgroundColor = c.color || '#ffffff';
  if (c.kind === 'spinedit') {
    editText(ctx);
    const box = el('div', 'spin');
    for (const dir of ['up', 'down']) {
      const b = el('div', `spin-btn ${dir} raised`);
      b.dataset.act = 'spin';
      b.dataset.dir = dir;
      box.append(b);
    }
    e.append(box);
    return;
  }
  if (c.kind === 'dateedit') {
    drawDateEdit(ctx);
    return;
  }
  editText(ctx, { align: c.kind === 'numberedit' ? 'right' : 'left' });
  if (c.kind === 'dbdateedit' && props.dayName) {
    const day = textSpan('day-name', String(props.dayName));
    e.append(day);
  }
}

// A date box: its text shortened by the calendar button at the right end.
export const CALENDAR_BUTTON_W = 17;
function drawDateEdit(ctx) {
  const { e, c, props, ui, form } = ctx;
  editText(ctx, { reserve: CALENDAR_BUTTON_W });
  const btn = el('div', 'cal-btn raised', { title: 'Calendário', 'aria-label': 'Calendário' });
  btn.dataset.act = 'calendar';
  if (props.readOnly) btn.classList.add('off');
  btn.append(el('span', 'cal-glyph'));
  e.append(btn);
  if (ui.calendar && ui.calendar.form === form.name && ui.calendar.name === c.name) e.classList.add('dropped');
}

function drawMemo({ e, c, props, focused }) {
  e.classList.add('sunken');
  e.style.backgroundColor = c.color || '#ffffff';
  const text = String(props.text ?? '');
  const span = textSpan('memo-text', text);
  e.append(span);
  if (focused && !props.readOnly) span.classList.add('with-caret');
}

function drawCombo(ctx) {
  const { e, c, props, ui, form } = ctx;
  e.classList.add('sunken');
  e.style.backgroundColor = c.color || '#ffffff';
  editText(ctx, {});
  const btn = el('div', 'drop-btn raised');
  btn.dataset.act = 'drop';
  e.append(btn);
  if (ui.combo && ui.combo.form === form.name && ui.combo.name === c.name) e.classList.add('dropped');
}

function drawCheck({ e, c, props, focused }) {
  if (c.color) e.style.backgroundColor = c.color;
  const radio = c.kind === 'radiobutton';
  const box = el('span', radio ? 'radio-mark' : 'check-mark');
  if (props.checked) box.classList.add('checked');
  e.append(box);
  const cap = textSpan('check-caption', c.caption ?? '', { accel: true });
  if (focused) cap.classList.add('focus-ring');
  e.append(cap);
}

function drawGroupBox({ e, c }) {
  if (c.color) e.style.backgroundColor = c.color;
  e.append(el('div', 'gb-frame'));
  if (c.caption) e.append(textSpan('gb-caption', c.caption, { accel: true }));
}

// Item places of a radio group: as the host lays them out, so a click's
// position picks the same item there.
export function radioItemRect(count, columns, width, height, index) {
  const cols = Math.max(1, columns || 1);
  const textHeight = 13;
  const perColumn = Math.max(1, Math.ceil(count / cols));
  const buttonWidth = Math.max(0, Math.floor((width - 10) / cols));
  const area = Math.max(0, height - textHeight - 5);
  const buttonHeight = Math.floor(area / perColumn);
  const topMargin = textHeight + 1 + Math.floor((area % perColumn) / 2);
  const left = Math.floor(index / perColumn) * buttonWidth + 8;
  const top = (index % perColumn) * buttonHeight + topMargin;
  return [left, top, buttonWidth, buttonHeight];
}

function drawRadioGroup({ e, c, props, focused }) {
  drawGroupBox({ e, c });
  const items = props.items || [];
  const [, , w, h] = bounds(c);
  items.forEach((text, i) => {
    const item = el('div', 'rg-item', { role: 'radio', 'aria-checked': i === props.itemIndex ? 'true' : 'false',
      'aria-label': plainCaption(text) });
    place(item, radioItemRect(items.length, props.columns, w, h, i));
    const mark = el('span', 'radio-mark');
    if (i === props.itemIndex) mark.classList.add('checked');
    const cap = textSpan('check-caption', String(text), { accel: true });
    if (focused && (i === props.itemIndex || (props.itemIndex < 0 && i === 0))) cap.classList.add('focus-ring');
    item.append(mark, cap);
    e.append(item);
  });
}

function drawPanel({ e, c, props }) {
  e.style.backgroundColor = c.color || '#d4d0c8';
  const outer = props.bevelOuter || 'none';
  const inner = props.bevelInner || 'none';
  if (outer !== 'none') e.append(el('div', `bevel ${outer}`));
  if (inner !== 'none') {
    const b = el('div', `bevel ${inner} inner${outer !== 'none' ? ' nested' : ''}`);
    e.append(b);
  }
  if (c.caption) e.append(textSpan('panel-caption', c.caption));
}

// Tab places of a page control, as the host measures them (the caption as
// it is, "&" included, plus 12 pixels).
export function tabRects(pages, font) {
  const rects = [];
  let left = 2;
  for (const page of pages || []) {
    if (!page || page.tabVisible === false) continue;
    const width = measureText(font, page.caption ?? '') + 12;
    rects.push({ page, left, width });
    left += width;
  }
  return rects;
}

function tabHeight(props) {
  return Number.isFinite(props.tabHeight) ? props.tabHeight : TAB_H;
}

function pageFrame(props) {
  const frame = el('div', 'pc-frame');
  frame.style.top = `${tabHeight(props)}px`;
  return frame;
}

function drawPageControl({ e, props, font, focused, usable }) {
  const tabH = tabHeight(props);
  const body = el('div', 'pc-body');
  body.style.top = `${tabH}px`;
  const list = el('div', 'tab-list', { role: 'tablist' });
  e.append(body, list);
  for (const { page, left, width } of tabRects(props.pages, font)) {
    const tab = el('div', 'tab', { role: 'tab' });
    if (props.active === page.name) tab.tabIndex = -1;
    tab.dataset.act = 'tab';
    tab.dataset.page = page.name;
    const active = props.active === page.name;
    tab.classList.add(active ? 'active' : 'idle');
    tab.setAttribute('aria-selected', active ? 'true' : 'false');
    if (page.enabled === false || !usable) {
      tab.classList.add('disabled');
      tab.setAttribute('aria-disabled', 'true');
    }
    tab.style.left = `${active ? left - 2 : left}px`;
    tab.style.width = `${active ? width + 4 : width}px`;
    tab.style.top = `${active ? 0 : 2}px`;
    tab.style.height = `${active ? tabH + 1 : tabH - 2}px`;
    const cap = textSpan('tab-caption', page.caption ?? '', { accel: true });
    if (active && focused) cap.classList.add('focus-ring');
    tab.append(cap);
    list.append(tab);
  }
}

function drawImage({ e, props }) {
  const pic = props.picture;
  if (!isBitmap(pic)) return;
  const { canvas, ctx } = makeCanvas(pic.w, pic.h);
  const transparent = props.transparent ? pic.pixels[(pic.h - 1) * pic.w] & 0xffffff : null;
  drawBitmap(ctx, pic, 0, 0, { transparent });
  canvas.className = 'picture';
  e.append(canvas);
}

// A button glyph: NumGlyphs pictures side by side (up, disabled, ...); the
// colour of the bottom-left pixel is see-through.
function glyphCanvas(glyph, numGlyphs, usable) {
  const n = Math.max(1, numGlyphs || 1);
  const w = Math.floor(glyph.w / n);
  const { canvas, ctx } = makeCanvas(w, glyph.h);
  const transparent = glyph.pixels[(glyph.h - 1) * glyph.w] & 0xffffff;
  if (!usable && n >= 2) drawBitmap(ctx, glyph, 0, 0, { src: [w, 0, 2 * w, glyph.h], transparent });
  else drawBitmap(ctx, glyph, 0, 0, { src: [0, 0, w, glyph.h], transparent, grey: !usable });
  canvas.className = 'glyph';
  return canvas;
}

function drawButton({ e, c, props, usable, focused }) {
  const flat = props.flat || c.kind === 'flatbutton';
  e.classList.add(props.down ? 'down' : flat ? 'flat' : 'up');
  if (c.kind === 'button' || !c.color) e.style.backgroundColor = '#d4d0c8';
  else e.style.backgroundColor = c.color;
  const face = el('div', 'btn-face');
  if (isBitmap(props.glyph)) face.append(glyphCanvas(props.glyph, props.numGlyphs, usable));
  const caption = c.caption ?? '';
  if (caption) face.append(textSpan('btn-caption', caption, { accel: true }));
  else if (!isBitmap(props.glyph) && c.kind === 'searchbutton') face.append(textSpan('btn-caption', '...'));
  e.append(face);
  if (focused && c.kind === 'button') e.append(el('div', 'btn-focus'));
}

const NAV_SHAPES = {
  first: 'M4,3 h2 v9 h-2 z M13,3 v9 l-5,-4.5 z',
  prior: 'M11,3 v9 l-5,-4.5 z',
  next: 'M6,3 v9 l5,-4.5 z',
  last: 'M4,3 v9 l5,-4.5 z M11,3 h2 v9 h-2 z',
};
const NAV_HINTS = { first: 'Primeiro', prior: 'Anterior', next: 'Próximo', last: 'Último' };

function drawNavigator({ e, c, props, usable }) {
  const buttons = props.buttons || [];
  const [, , w, h] = bounds(c);
  const each = Math.floor(w / Math.max(1, buttons.length || 4));
  buttons.forEach((b, i) => {
    const btn = el('div', 'nav-btn up', { role: 'button', title: NAV_HINTS[b.name] || '',
      'aria-label': NAV_HINTS[b.name] || b.name });
    const right = i === buttons.length - 1 ? w : (i + 1) * each;
    place(btn, [i * each, 0, right - i * each, h]);
    const enabled = usable && b.enabled !== false;
    if (!enabled) btn.classList.add('disabled');
    btn.setAttribute('aria-disabled', enabled ? 'false' : 'true');
    const svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
    svg.setAttribute('width', '16');
    svg.setAttribute('height', '15');
    const path = document.createElementNS('http://www.w3.org/2000/svg', 'path');
    path.setAttribute('d', NAV_SHAPES[b.name] || '');
    svg.append(path);
    btn.append(svg);
    e.append(btn);
  });
}

// ---------------------------------------------------------------- grids

function drawGrid(draw) {
  const { e, c, props } = draw;
  const [, , w, h] = bounds(c);
  e.style.backgroundColor = c.color || '#ffffff';
  draw.paint = paintGrid(draw.paint, w, h, props.ops);
  const paint = draw.paint;
  paint.edge = paint.edge || el('div', 'grid-edge');
  const parts = [paint.canvas, paint.edge];
  const bar = keptBar(paint, 'bar', scrollBarGeometry(props, w, h), gridScrollBar);
  if (bar) parts.push(bar);
  const hbar = keptBar(paint, 'hbar', hScrollBarGeometry(props, w, h), gridHScrollBar);
  if (hbar) parts.push(hbar);
  draw.paint.table = gridTable(draw.model, c, props, draw.paint.table);
  parts.push(draw.paint.table);
  keepChildren(e, parts);
}

// The grid's canvas showing `ops`, and what it was painted from. The
// operations are replayed through the canvas's offscreen side, where
// setting a font does not lay the page out first (on a canvas in the
// page it does). The earlier paint `old`, when it has the same size, is
// kept and painted again only where the operations changed (a cursor
// moved by a row repaints two rows); otherwise the canvas is new and
// painted whole. The canvas's `gridContext` is the context it is drawn
// with.
function paintGrid(old, w, h, ops) {
  const ratio = window.devicePixelRatio || 1;
  const areas = old && old.w === w && old.h === h && old.ratio === ratio && Number.isInteger(ratio)
    ? changedAreas(old.ops, ops) : null;
  if (areas) {
    if (areas.length) replayOps(old.ctx, ops, areas);
    return { ...old, ops };
  }
  const { canvas, ctx } = makeCanvas(w, h, { offscreen: true });
  canvas.className = 'grid-canvas';
  canvas.setAttribute('aria-hidden', 'true');
  canvas.gridContext = ctx;
  const skipped = replayOps(ctx, ops);
  if (skipped) canvas.dataset.skipped = String(skipped);
  return { canvas, ctx, w, h, ratio, ops };
}

// The vertical scroll bar of a grid, in grid pixels: the host leaves the
// `scrollBar` pixels at the right edge free of cells; the bar fills them
// inside the grid's 1-pixel edge. Arrow buttons as tall as the bar is
// wide, the track between them, the thumb in the track standing for the
// current record (`current` among `recordCount`), as long as the shown rows
// are a part of all (at least 8 pixels). No thumb when the track is too
// short for one. Null when the grid has no bar.
export function scrollBarGeometry(props, width, height) {
  const barW = Number.isFinite(props.scrollBar) ? props.scrollBar : 0;
  const count = Number.isFinite(props.recordCount) ? props.recordCount : 0;
  if (barW <= 0 || count <= 0 || height < 4) return null;
  const left = width - barW;
  const top = 1;
  // Above the horizontal bar, when there is one.
  const barH = height - 2 - (Number.isFinite(props.hScrollBar) ? props.hScrollBar : 0);
  const inner = barW - 1;  // the grid's edge takes the last column
  const button = Math.min(inner, Math.floor(barH / 2));
  const trackTop = top + button;
  const trackLen = barH - 2 * button;
  const visible = Math.max(1, Number.isFinite(props.visibleRows) ? props.visibleRows : 1);
  const thumbLen = Math.min(trackLen, Math.max(8, Math.round((trackLen * visible) / count)));
  const current = Math.min(Math.max(1, props.current || 1), count);
  const free = trackLen - thumbLen;
  const thumbTop = trackTop + (count > 1 ? Math.round(((current - 1) / (count - 1)) * free) : 0);
  return { left, top, width: inner, height: barH, button, trackTop, trackLen, thumbLen, thumbTop,
    thumb: trackLen >= 8, count };
}

// The record a thumb let go at `thumbTop` stands for.
export function recordAtThumb(geom, thumbTop) {
  const free = geom.trackLen - geom.thumbLen;
  if (free <= 0 || geom.count <= 1) return 1;
  const part = Math.min(1, Math.max(0, (thumbTop - geom.trackTop) / free));
  return 1 + Math.round(part * (geom.count - 1));
}

// The horizontal bar along the bottom edge, while the columns are wider
// than the grid: arrows at both ends, the thumb standing for the first
// shown column (`leftCol` among `colCount`), as long as the part of the
// columns' width the grid shows. Null when the grid has none.
export function hScrollBarGeometry(props, width, height) {
  const barH = Number.isFinite(props.hScrollBar) ? props.hScrollBar : 0;
  const count = Number.isFinite(props.colCount) ? props.colCount : 0;
  if (barH <= 0 || count <= 0 || width < 4) return null;
  const vbar = Number.isFinite(props.scrollBar) ? props.scrollBar : 0;
  const left = 1;
  const top = height - barH;
  const barW = width - 2 - vbar;
  const inner = barH - 1;
  const button = Math.min(inner, Math.floor(barW / 2));
  const trackLeft = left + button;
  const trackLen = barW - 2 * button;
  const total = Math.max(1, props.columnsWidth || width);
  const thumbLen = Math.min(trackLen, Math.max(8, Math.round((trackLen * width) / total)));
  const free = trackLen - thumbLen;
  const current = Math.min(Math.max(0, props.leftCol || 0), count - 1);
  const thumbLeft = trackLeft + (count > 1 ? Math.round((current / (count - 1)) * free) : 0);
  return { left, top, width: barW, height: inner, button, trackLeft, trackLen, thumbLen, thumbLeft,
    thumb: trackLen >= 8, count, current };
}

// The column a horizontal thumb let go at `thumbLeft` stands for.
export function columnAtThumb(geom, thumbLeft) {
  const free = geom.trackLen - geom.thumbLen;
  if (free <= 0 || geom.count <= 1) return 0;
  return Math.round(Math.min(1, Math.max(0, (thumbLeft - geom.trackLeft) / free)) * (geom.count - 1));
}

// A maker of the parts of a scroll bar: each part carries the bar's
// action (`data-act`) and its own (`data-sb`).
function barPart(bar, act) {
  return (cls, sb, rect) => {
    const p = el('div', cls);
    p.dataset.act = act;
    p.dataset.sb = sb;
    place(p, rect);
    bar.append(p);
    return p;
  };
}

// A grid's scroll bar drawn from `geom` (null: none), the one drawn
// before kept when nothing about it changed and its thumb is where the
// geometry puts it (a drag moves the thumb by itself).
function keptBar(paint, slot, geom, make) {
  const key = geom && JSON.stringify(geom);
  const old = paint[slot];
  if (old && old.key === key && key) {
    const { thumb } = old;
    if (!thumb || thumb.dataset.placed === thumb.style.top + thumb.style.left) return old.el;
  }
  const made = geom ? make(geom) : null;
  const thumb = made && made.querySelector('.sb-thumb');
  if (thumb) thumb.dataset.placed = thumb.style.top + thumb.style.left;
  paint[slot] = made && { key, el: made, thumb };
  return made;
}

function gridHScrollBar(g) {
  const bar = el('div', 'grid-sbar horizontal', { 'aria-hidden': 'true' });
  place(bar, [g.left, g.top, g.width, g.height]);
  const part = barPart(bar, 'hbar');
  part('sb-track', 'track', [g.button, 0, g.trackLen, g.height]);
  part('sb-btn left', 'lineleft', [0, 0, g.button, g.height]);
  part('sb-btn right', 'lineright', [g.width - g.button, 0, g.button, g.height]);
  if (g.thumb) part('sb-thumb', 'thumb', [g.thumbLeft - g.left, 0, g.thumbLen, g.height]);
  return bar;
}

function gridScrollBar(g) {
  const bar = el('div', 'grid-sbar', { 'aria-hidden': 'true' });
  place(bar, [g.left, g.top, g.width, g.height]);
  const part = barPart(bar, 'sbar');
  part('sb-track', 'track', [0, g.button, g.width, g.trackLen]);
  part('sb-btn up', 'lineup', [0, 0, g.width, g.button]);
  part('sb-btn down', 'linedown', [0, g.height - g.button, g.width, g.button]);
  if (g.thumb) part('sb-thumb', 'thumb', [0, g.thumbTop - g.top, g.width, g.thumbLen]);
  return bar;
}

// The texts the grid drew, as an accessible table (visually hidden),
// named after the grid's page: the column titles as headers, the
// dataset's record count, each shown row at its record number (the title
// row has none), the current one selected. A cell where the grid drew a picture says what it means
// ("marcado", ...) when the picture has a description.
// The table `old` made from the same texts is kept, its current row moved:
// its element keeps the browser's focus.
function gridTable(model, c, props, old) {
  const columns = props.columns || [];
  const count = Number.isFinite(props.recordCount) ? props.recordCount : 0;
  const texts = { name: gridName(model, c), id: `grid-${c.form}-${c.name}`, columns, count, rows: props.rows || [] };
  if (old && sameJson(old.texts, texts)) {
    markCurrentRow(old, props.current);
    return old;
  }
  const table = el('table', 'sr-only', { role: 'grid', 'aria-label': texts.name,
    'aria-colcount': String(columns.length), 'aria-rowcount': String(count), 'aria-readonly': 'true' });
  table.id = texts.id;
  table.tabIndex = -1;
  table.texts = texts;
  const head = el('thead');
  // Data rows keep their record number as row index; the title row has none.
  const titles = el('tr', null, { role: 'row' });
  columns.forEach((col, i) => {
    const th = el('th', null, { role: 'columnheader', 'aria-colindex': String(i + 1), 'data-left': String(col.left), 'data-width': String(col.width) });
    th.textContent = col.field === 'IDCHECK' || /^\W?$/.test(col.title ?? '') ? 'Marca' : String(col.title ?? '');
    titles.append(th);
  });
  head.append(titles);
  const body = el('tbody');
  for (const row of props.rows || []) {
    const tr = el('tr', null, { role: 'row', 'aria-rowindex': String(row.index) });
    tr.recordNumber = row.index;
    (row.cells || []).forEach((cell, i) => {
      const td = el('td', null, { role: 'gridcell', 'aria-colindex': String(i + 1) });
      td.dataset.field = cell.field ?? (columns[i] || {}).field ?? '';
      td.textContent = cell.text ?? '';
      tr.append(td);
    });
    body.append(tr);
  }
  table.append(head, body);
  markCurrentRow(table, props.current);
  return table;
}

// Only the rows whose state changes are touched: each change of an
// attribute is news for the accessibility tree.
// The table remembers its current row (`currentRow`), so a move touches
// the row left and the row entered.
function markCurrentRow(table, current) {
  const rows = table.tBodies[0].rows;
  if (table.currentRow === undefined) {
    for (const tr of rows) tr.setAttribute('aria-selected', 'false');
    table.currentRow = null;
  }
  let now = null;
  for (const tr of rows) if (tr.recordNumber === current) { now = tr; break; }
  const before = table.currentRow;
  if (before === now) return;
  if (before) {
    before.setAttribute('aria-selected', 'false');
    before.removeAttribute('id');
  }
  if (now) {
    now.setAttribute('aria-selected', 'true');
    now.id = `${table.id}-current`;
    table.setAttribute('aria-activedescendant', now.id);
  } else {
    table.removeAttribute('aria-activedescendant');
  }
  table.currentRow = now;
}
