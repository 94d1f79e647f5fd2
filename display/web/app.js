// The page: keeps the host's model up to date from its event stream, draws
// it, and sends the operator's input back one event at a time, in order.

import { createModel, applyUpdate, takeTouched, keyForm, formTakesInput, getControl } from './model.js';
import { translateKey } from './keys.js';
import { renderDesktop, renderPopups, resetBuilt, findMenuItem, accelKey, takesText, scrollBarGeometry,
  recordAtThumb, maximizedBounds, mainClientSize, FRAME, TITLE_H, hScrollBarGeometry, columnAtThumb } from './view.js';
import { Overlays } from './overlays.js';
import { FONT_FAMILY } from './paint.js';
import { addMonths, calendarKey, openCalendar } from './calendar.js';

const TEXTS = {
  down: 'Não foi possível conectar ao programa. Tentando novamente...',
  takenover: 'Esta sessão foi aberta em outra janela.',
  reclaim: 'Usar esta janela',
  badUpdate: 'O programa enviou uma atualização inválida; recarregando a tela.',
  refused: 'O programa recusou uma entrada da página.',
  failed: 'O programa não conseguiu tratar a entrada (erro {status}).',
  drawFailed: 'Não foi possível desenhar a tela por completo.',
  noClipboard: 'Não foi possível copiar o texto para a área de transferência.',
};

const RETRY_DELAYS = [500, 1000, 2000, 4000, 5000];  // then every 5 s
const POST_TIMEOUT_MS = 10000;

const desktop = document.getElementById('desktop');
const popups = document.getElementById('popups');
const statusBar = document.getElementById('status');
const noticeBar = document.getElementById('notice');

const model = createModel();
const ui = { openMenu: null, combo: null, calendar: null };
const overlays = new Overlays(document.getElementById('overlays'), {
  answer: (id, result) => send({ type: 'answer', id, result }),
  pick: (id, keys) => send({ type: 'pick', id, keys }),
  cancelPick: (id) => send({ type: 'pick', id, cancel: true }),
});

let fontsReady = false;
let session = null;
let stream = null;
let attempt = 0;
let retryTimer = null;
let takenOver = false;

// ---------------------------------------------------------------- status

function setState(name) {
  document.documentElement.dataset.state = name;
  statusBar.replaceChildren();
  statusBar.hidden = name === 'open' || name === 'connecting';
  if (name === 'down') statusBar.textContent = TEXTS.down;
  if (name === 'takenover') {
    const text = document.createElement('span');
    text.textContent = TEXTS.takenover;
    const again = document.createElement('button');
    again.type = 'button';
    again.className = 'pbtn';
    again.textContent = TEXTS.reclaim;
    again.addEventListener('click', () => { takenOver = false; attempt = 0; connect(); });
    statusBar.append(text, ' ', again);
  }
}

let noticeTimer = null;
function notice(text) {
  noticeBar.textContent = text;
  noticeBar.hidden = false;
  clearTimeout(noticeTimer);
  noticeTimer = setTimeout(() => { noticeBar.hidden = true; }, 6000);
}

// ---------------------------------------------------------------- stream

function connect() {
  clearTimeout(retryTimer);
  if (stream) stream.close();
  if (document.documentElement.dataset.state !== 'down') setState('connecting');
  const es = new EventSource('/events');
  stream = es;
  es.addEventListener('hello', (m) => {
    const data = parseJson(m.data);
    if (!data || typeof data.session !== 'string') return;
    session = data.session;
    queue.length = 0;
    askedSizes.clear();
    attempt = 0;
    setState('open');
  });
  es.addEventListener('update', (m) => {
    try {
      const update = parseJson(m.data);
      if (!update) throw new Error(TEXTS.badUpdate);
      applyUpdate(model, update);
    } catch (err) {
      // A lost or broken update leaves the copy wrong: start over with a
      // full one.
      notice(TEXTS.badUpdate);
      restart();
      return;
    }
    // Drawn at once: what the host changed (a key's moved cursor) shows
    // in the next frame instead of waiting for the one after it.
    render(true);
  });
  es.addEventListener('takeover', () => takeover());
  es.onerror = () => {
    if (es !== stream) return;
    es.close();
    stream = null;
    if (takenOver) return;
    lostHost();
  };
}

function lostHost() {
  session = null;
  queue.length = 0;
  setState('down');
  const delay = RETRY_DELAYS[Math.min(attempt, RETRY_DELAYS.length - 1)];
  attempt++;
  clearTimeout(retryTimer);
  retryTimer = setTimeout(connect, delay);
}

function restart() {
  if (stream) stream.close();
  stream = null;
  session = null;
  queue.length = 0;
  clearTimeout(retryTimer);
  retryTimer = setTimeout(connect, 200);
}

function takeover() {
  takenOver = true;
  session = null;
  queue.length = 0;
  if (stream) stream.close();
  stream = null;
  clearTimeout(retryTimer);
  ui.openMenu = null;
  ui.combo = null;
  setState('takenover');
}

function parseJson(text) {
  try {
    return JSON.parse(text);
  } catch {
    return null;
  }
}

// ---------------------------------------------------------------- input

// Events wait here and go one POST at a time, so the host applies them in
// the order the operator gave them. Typed characters waiting together go
// as one event.
const queue = [];
let inFlight = false;

function send(event) {
  if (!session || takenOver) return false;
  const last = queue[queue.length - 1];
  if (event.type === 'char' && last && last.type === 'char' && last.form === event.form) last.text += event.text;
  else if (event.type === 'wheel' && last && last.type === 'wheel' && last.form === event.form &&
    last.name === event.name) last.delta += event.delta;  // one move for a flick of the wheel
  else queue.push(event);
  pump();
  return true;
}

async function pump() {
  if (inFlight || !queue.length || !session) return;
  inFlight = true;
  const event = queue.shift();
  const sentWith = session;
  try {
    const res = await fetch('/input', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify({ session: sentWith, event }),
      signal: AbortSignal.timeout(POST_TIMEOUT_MS),
    });
    if (res.status === 409) {
      if (sentWith === session) takeover();
    } else if (res.status === 400) {
      notice(TEXTS.refused);
    } else if (!res.ok) {
      notice(TEXTS.failed.replace('{status}', String(res.status)));
    }
  } catch {
    // The host is gone (or hangs): what waits is dropped, and the stream
    // brings the whole state again once it is back.
    if (sentWith === session) {
      if (stream) stream.close();
      stream = null;
      lostHost();
    }
  } finally {
    inFlight = false;
    pump();
  }
}

// The form input goes to, when it may take any.
function inputForm() {
  const form = keyForm(model);
  return form && formTakesInput(model, form.name) ? form : null;
}

function controlAt(target) {
  const win = target.closest('.window[data-form]');
  if (!win) return null;
  let ctl = target.closest('.ctl[data-name]');
  if (ctl && !win.contains(ctl)) ctl = null;
  const form = model.forms.get(win.dataset.form);
  if (!form) return null;
  const c = ctl ? getControl(model, form.name, ctl.dataset.name) : null;
  return { form, c, el: ctl, win };
}

function relative(e, element) {
  const r = element.getBoundingClientRect();
  return { x: Math.floor(e.clientX - r.left), y: Math.floor(e.clientY - r.top) };
}

desktop.addEventListener('mousedown', (e) => {
  if (e.button !== 0) return;
  dragged = false;
  suppressClick = false;
  e.preventDefault();  // no text selection, no browser focus on the desktop
  const bar = e.target.closest('[data-act="menubar"]');
  const hit = controlAt(e.target);
  if (bar && hit && formTakesInput(model, hit.form.name)) {
    const name = bar.dataset.menu;
    const item = findMenuItem(hit.form.menu, name);
    const same = ui.openMenu && ui.openMenu.form === hit.form.name && ui.openMenu.path[0] === name;
    ui.openMenu = same || !item || item.enabled === false ? null : { form: hit.form.name, path: [name], hot: [] };
    ui.combo = null;
    scheduleRender();
    return;
  }
  if (ui.openMenu || ui.combo || ui.calendar) {
    // A click beside an open list closes it and does nothing else.
    const onDrop = e.target.closest('[data-act="drop"], [data-act="calendar"]');
    ui.openMenu = null;
    if (!onDrop) { ui.combo = null; ui.calendar = null; }
    scheduleRender();
    if (!onDrop) { suppressClick = true; return; }
  }
  if (hit && windowPress(e, hit)) return;
  pressOnBar = !!hit && scrollBarDown(e, hit);
  if (pressOnBar) return;
  // A button looks pressed while the mouse is down on it. Only its class
  // changes: the element stays, so the click still lands on it.
  if (hit && hit.c && hit.el && hit.c.usable !== false && /button$/.test(hit.c.kind || '')) {
    pressedEl = hit.el;
    pressedEl.classList.add('pressing');
  }
  // A press in an edit box may start selecting its text with the mouse.
  // So may a press on a grid's title border resize its column.
  const from = hit && hit.el ? relative(e, hit.el) : null;
  if (hit && hit.c && hit.el && hit.c.usable !== false && formTakesInput(model, hit.form.name) &&
      (takesText(hit.c.kind) || (hit.c.kind === 'dbgrid' && columnBorderAt(hit.c, from))))
    textPress = { form: hit.form.name, name: hit.c.name, el: hit.el, from, x: e.clientX };
});

// Whether a point of a grid lies on a title's right border (3 pixels
// either side), where a drag resizes the column.
function columnBorderAt(c, at) {
  const props = c.props || {};
  if (!at || !(at.y < (props.titleHeight || 0))) return false;
  return (props.columns || []).some((col) => Math.abs(at.x - (col.left + col.width)) <= 3);
}

desktop.addEventListener('mousemove', (e) => {
  const grid = e.buttons ? null : e.target.closest('.ctl.k-dbgrid');
  desktop.querySelectorAll('.ctl.k-dbgrid.col-resize').forEach((g) => { if (g !== grid) g.classList.remove('col-resize'); });
  if (!grid) return;
  const hit = controlAt(grid);
  if (hit && hit.c) grid.classList.toggle('col-resize', columnBorderAt(hit.c, relative(e, grid)));
});

// The text selected by dragging the mouse in an edit box, or a column
// border dragged: one `drag` from where the mouse went down to where it
// was let go, instead of a click.
let textPress = null;
let dragged = false;
function textDragEnd(e) {
  const press = textPress;
  textPress = null;
  if (!press || Math.abs(e.clientX - press.x) < 3) return;
  dragged = true;
  const to = relative(e, press.el);
  send({ type: 'drag', form: press.form, name: press.name, fromX: press.from.x, fromY: press.from.y, x: to.x, y: to.y });
}

desktop.addEventListener('dblclick', (e) => {
  const title = e.target.closest('[data-act="title"]');
  const win = title && controlAt(e.target);
  if (win && !e.target.closest('.title-btn') && win.form.style === 'mdichild' && formTakesInput(model, win.form.name)) {
    placeWindow(win.form, win.form.state === 'maximized' ? 'restore' : 'maximize');
    return;
  }
  const hit = controlAt(e.target);
  if (!hit || !hit.c || !hit.el || hit.c.usable === false || !formTakesInput(model, hit.form.name)) return;
  if (takesText(hit.c.kind)) send({ type: 'dblclick', form: hit.form.name, name: hit.c.name, ...relative(e, hit.el) });
});

let suppressClick = false;
let pressedEl = null;
// Whether the last press was on a scroll bar: its click (wherever the
// mouse was let go) is no click on the control.
let pressOnBar = false;
window.addEventListener('mouseup', (e) => {
  textDragEnd(e);
  if (ui.winDrag) windowLetGo();
  if (ui.hThumbDrag) hThumbLetGo();
  if (pressedEl) pressedEl.classList.remove('pressing');
  pressedEl = null;
  if (ui.thumbDrag) thumbLetGo();
});
window.addEventListener('mousemove', (e) => {
  if (ui.winDrag) { windowMoved(e); return; }
  if (ui.hThumbDrag) { if (e.buttons & 1) hThumbMoved(e); else hThumbLetGo(); return; }
  if (!ui.thumbDrag) return;
  // Let go outside the page: the drag ends where the mouse came back.
  if (!(e.buttons & 1)) thumbLetGo();
  else thumbMoved(e);
});

desktop.addEventListener('click', (e) => {
  if (suppressClick) { suppressClick = false; return; }
  if (e.button !== 0) return;
  if (dragged) { dragged = false; return; }
  if (pressOnBar) { pressOnBar = false; return; }
  const hit = controlAt(e.target);
  if (!hit || !formTakesInput(model, hit.form.name)) return;
  const form = hit.form.name;
  const act = e.target.closest('[data-act]');
  if (act && act.dataset.act === 'close') { send({ type: 'close', form }); return; }
  if (act && ['minimize', 'maximize', 'restore'].includes(act.dataset.act)) { placeWindow(hit.form, act.dataset.act); return; }
  if (act && act.dataset.act === 'menubar') return;
  if (!hit.form.active) send({ type: 'activate', form });
  if (!hit.c || hit.c.usable === false) return;
  const c = hit.c;
  if (act && act.dataset.act === 'tab') {
    if (act.classList.contains('disabled')) return;
    send({ type: 'tab', form, name: c.name, page: act.dataset.page });
    return;
  }
  if (act && act.dataset.act === 'spin') {
    send({ type: 'click', form, name: c.name, ...relative(e, hit.el) });
    send({ type: 'key', form, key: act.dataset.dir === 'up' ? 38 : 40, shift: [] });
    return;
  }
  if (act && act.dataset.act === 'drop') {
    const open = ui.combo && ui.combo.form === form && ui.combo.name === c.name;
    if (!open) send({ type: 'click', form, name: c.name, ...relative(e, hit.el) });
    ui.combo = open || c.usable === false ? null : { form, name: c.name, hot: (c.props || {}).itemIndex };
    ui.calendar = null;
    scheduleRender();
    return;
  }
  if (act && act.dataset.act === 'calendar') {
    // The calendar opens without touching the host; only the pick does.
    const open = ui.calendar && ui.calendar.form === form && ui.calendar.name === c.name;
    toggleCalendar(open ? null : c);
    return;
  }
  send({ type: 'click', form, name: c.name, ...relative(e, hit.el) });
});

// ---------------------------------------------------------------- windows

function mainForm() {
  return [...model.forms.values()].find((f) => f.style === 'mdiform' && f.visible !== false) || null;
}

// The window buttons of a child: the host keeps its state and bounds.
function placeWindow(form, act) {
  const main = mainForm();
  if (act === 'minimize') send({ type: 'window', form: form.name, state: 'minimized' });
  else if (act === 'maximize' && main) send({ type: 'window', form: form.name, state: 'maximized', bounds: maximizedBounds(main, form) });
  else if (act === 'restore') send({ type: 'window', form: form.name, state: 'normal' });
}

// The main window follows the page's size, and a maximised child the
// main window's; each size is asked for once.
const askedSizes = new Map();
function followViewport() {
  const main = mainForm();
  if (!main || !session) return;
  const ask = (key, event, have, want) => {
    const text = want.join(',');
    if (have.join(',') === text) { askedSizes.delete(key); return; }
    if (askedSizes.get(key) === text) return;
    askedSizes.set(key, text);
    send(event);
  };
  const [, , w, h] = main.bounds || [0, 0, 0, 0];
  const size = mainClientSize(main, { width: window.innerWidth, height: window.innerHeight });
  ask('', { type: 'viewport', width: size[0], height: size[1] }, [w, h], size);
  for (const f of model.forms.values()) {
    if (f.style !== 'mdichild' || f.state !== 'maximized' || f.visible === false) continue;
    const want = maximizedBounds(main, f);
    ask(f.name, { type: 'window', form: f.name, state: 'maximized', bounds: want }, f.bounds || [], want);
  }
}

// A press on a normal child's title bar moves it, on its border resizes
// it; the page shows the window following the mouse and sends the new
// bounds once it is let go. Whether the press was taken.
function windowPress(e, hit) {
  const form = hit.form;
  if (form.style !== 'mdichild' || form.state !== 'normal' || !formTakesInput(model, form.name)) return false;
  const onTitle = e.target.closest('[data-act="title"]') && !e.target.closest('.title-btn');
  const onBorder = e.target === hit.win;
  if (!onTitle && !onBorder) return false;
  const r = hit.win.getBoundingClientRect();
  const edges = onTitle ? { move: true } : {
    left: e.clientX - r.left < FRAME + 2, right: r.right - e.clientX < FRAME + 2,
    top: e.clientY - r.top < FRAME + 2, bottom: r.bottom - e.clientY < FRAME + 2 };
  if (!form.active) send({ type: 'activate', form: form.name });
  ui.winDrag = { form: form.name, win: hit.win, edges, x: e.clientX, y: e.clientY, start: [...(form.bounds || [0, 0, 0, 0])],
    box: [r.left, r.top, r.width, r.height], bounds: null };
  hit.win.classList.add('moving');
  return true;
}

function windowMoved(e) {
  const d = ui.winDrag;
  const dx = e.clientX - d.x;
  const dy = e.clientY - d.y;
  const [l, t, w, h] = d.start;
  const { move, left, right, top, bottom } = d.edges;
  const nl = move || left ? l + dx : l;
  const nt = move || top ? t + dy : t;
  // Within the main window's client area: the title stays reachable.
  const main = mainForm();
  const [, , mw, mh] = (main && main.bounds) || [0, 0, 1e4, 1e4];
  const bl = Math.min(Math.max(0, nl), Math.max(0, mw - 60));
  const bt = Math.min(Math.max(0, nt), Math.max(0, mh - TITLE_H - 2 * FRAME));
  const nw = Math.min(Math.max(120, left ? w - dx : right ? w + dx : w), Math.max(120, mw - bl - 2 * FRAME));
  const nh = Math.min(Math.max(40, top ? h - dy : bottom ? h + dy : h), Math.max(40, mh - bt - 2 * FRAME - TITLE_H));
  d.bounds = [bl, bt, nw, nh];
  d.win.style.left = `${d.bounds[0]}px`;
  d.win.style.top = `${d.bounds[1]}px`;
  d.win.style.width = `${nw + 2 * FRAME}px`;
  d.win.style.height = `${d.box[3] + (nh - h)}px`;
}

function windowLetGo() {
  const d = ui.winDrag;
  ui.winDrag = null;
  d.win.classList.remove('moving');
  suppressClick = !!d.bounds;
  if (d.bounds) send({ type: 'window', form: d.form, state: 'normal', bounds: d.bounds });
  scheduleRender();
}

// ---------------------------------------------------------------- grid scrolling

// The usable grid under a point of the desktop, or null.
function gridAt(target) {
  const hit = controlAt(target);
  if (!hit || !hit.c || hit.c.kind !== 'dbgrid' || hit.c.usable === false) return null;
  return formTakesInput(model, hit.form.name) ? hit : null;
}

function sendScroll(hit, event) {
  if (!hit.form.active) send({ type: 'activate', form: hit.form.name });
  send({ type: 'scroll', form: hit.form.name, name: hit.c.name, ...event });
}

// A press on a grid's scroll bar: the arrows move a row, the track a page
// towards the press, the thumb starts a drag (one move when let go).
// Whether the press was on a scroll bar.
function scrollBarDown(e, hit) {
  if (e.target.closest('[data-act="hbar"]')) return hScrollBarDown(e, hit);
  const part = e.target.closest('[data-act="sbar"]');
  if (!part) return false;
  if (!gridAt(e.target)) return true;
  const [, , w, h] = Array.isArray(hit.c.bounds) ? hit.c.bounds : [0, 0, 0, 0];
  const geom = scrollBarGeometry(hit.c.props || {}, w, h);
  if (!geom) return true;
  const action = part.dataset.sb;
  if (action === 'lineup' || action === 'linedown') {
    pressedEl = part;
    part.classList.add('pressing');
    sendScroll(hit, { action });
  } else if (action === 'track') {
    const { y } = relative(e, hit.el);
    sendScroll(hit, { action: y < geom.thumbTop ? 'pageup' : 'pagedown' });
  } else if (action === 'thumb') {
    ui.thumbDrag = { form: hit.form.name, name: hit.c.name, geom, startY: e.clientY, top: geom.thumbTop };
  }
  return true;
}

// The horizontal bar: the arrows move a column, the track as many as the
// grid shows, the thumb is dragged to a column (one move when let go).
function hScrollBarDown(e, hit) {
  if (!gridAt(e.target)) return true;
  const [, , w, h] = Array.isArray(hit.c.bounds) ? hit.c.bounds : [0, 0, 0, 0];
  const props = hit.c.props || {};
  const geom = hScrollBarGeometry(props, w, h);
  if (!geom) return true;
  const part = e.target.closest('[data-act="hbar"]');
  const action = part.dataset.sb;
  const shown = Math.max(1, (props.columns || []).length - 1);
  if (action === 'lineleft' || action === 'lineright') {
    pressedEl = part;
    part.classList.add('pressing');
    sendHScroll(hit, action === 'lineleft' ? -1 : 1);
  } else if (action === 'track') {
    sendHScroll(hit, relative(e, hit.el).x < geom.thumbLeft ? -shown : shown);
  } else if (action === 'thumb') {
    ui.hThumbDrag = { form: hit.form.name, name: hit.c.name, geom, startX: e.clientX, left: geom.thumbLeft, el: part };
  }
  return true;
}

function sendHScroll(hit, delta) {
  if (!delta) return;
  if (!hit.form.active) send({ type: 'activate', form: hit.form.name });
  send({ type: 'hscroll', form: hit.form.name, name: hit.c.name, delta });
}

function hThumbMoved(e) {
  const d = ui.hThumbDrag;
  const { trackLeft, trackLen, thumbLen, thumbLeft } = d.geom;
  d.left = Math.min(Math.max(trackLeft, thumbLeft + e.clientX - d.startX), trackLeft + trackLen - thumbLen);
  d.el.style.left = `${d.left - d.geom.left}px`;
}

function hThumbLetGo() {
  const d = ui.hThumbDrag;
  ui.hThumbDrag = null;
  const c = getControl(model, d.form, d.name);
  const form = model.forms.get(d.form);
  if (c && form && c.usable !== false && formTakesInput(model, d.form))
    sendHScroll({ form, c }, columnAtThumb(d.geom, d.left) - d.geom.current);
  scheduleRender();
}

function thumbElement(drag) {
  const win = desktop.querySelector(`.window[data-form="${CSS.escape(drag.form)}"]`);
  return win && win.querySelector(`.ctl[data-name="${CSS.escape(drag.name)}"] .sb-thumb`);
}

function placeThumb() {
  const drag = ui.thumbDrag;
  const thumb = drag && thumbElement(drag);
  if (thumb) thumb.style.top = `${drag.top - drag.geom.top}px`;
}

function thumbMoved(e) {
  const drag = ui.thumbDrag;
  const { trackTop, trackLen, thumbLen, thumbTop } = drag.geom;
  drag.top = Math.min(Math.max(trackTop, thumbTop + e.clientY - drag.startY), trackTop + trackLen - thumbLen);
  placeThumb();
}

function thumbLetGo() {
  const drag = ui.thumbDrag;
  ui.thumbDrag = null;
  const c = getControl(model, drag.form, drag.name);
  const form = model.forms.get(drag.form);
  if (c && form && c.usable !== false && formTakesInput(model, drag.form) && drag.top !== drag.geom.thumbTop)
    sendScroll({ form, c }, { action: 'position', recNo: recordAtThumb(drag.geom, drag.top) });
  scheduleRender();
}

// A notch of a mouse wheel as browsers report it: 100 pixels, or 3 lines;
// a page is the grid's shown rows (three rows a notch).
function wheelNotches(e, c) {
  if (e.deltaMode === 1) return e.deltaY / 3;
  if (e.deltaMode === 2) return (e.deltaY * Math.max(1, (c.props || {}).visibleRows || 1)) / 3;
  return e.deltaY / 100;
}
let wheelRest = { grid: '', notches: 0 };  // parts of a notch (touchpads) add up

// The wheel over a grid moves its rows (the host moves three per notch);
// over anything else the page scrolls as usual.
desktop.addEventListener('wheel', (e) => {
  const hit = gridAt(e.target);
  if (!hit || e.ctrlKey) return;
  e.preventDefault();
  if (overlays.open() || ui.openMenu || ui.combo) return;
  // With Shift (or a sideways wheel) the columns move, one a notch.
  if (e.shiftKey || Math.abs(e.deltaX) > Math.abs(e.deltaY)) {
    const notches = Math.trunc((e.shiftKey && !e.deltaX ? e.deltaY : e.deltaX) / (e.deltaMode ? 3 : 100)) ||
      Math.sign(e.shiftKey && !e.deltaX ? e.deltaY : e.deltaX);
    if ((hit.c.props || {}).hScrollBar) sendHScroll(hit, notches);
    return;
  }
  const grid = `${hit.form.name}\u0000${hit.c.name}`;
  if (wheelRest.grid !== grid) wheelRest = { grid, notches: 0 };
  wheelRest.notches += wheelNotches(e, hit.c);
  const notches = Math.trunc(wheelRest.notches);
  if (!notches) return;
  wheelRest.notches -= notches;
  if (!hit.form.active) send({ type: 'activate', form: hit.form.name });
  send({ type: 'wheel', form: hit.form.name, name: hit.c.name, delta: notches });
}, { passive: false });

popups.addEventListener('mousedown', (e) => e.preventDefault());
popups.addEventListener('click', (e) => {
  const row = e.target.closest('[data-act]');
  if (!row) return;
  if (row.dataset.act === 'menuitem') menuRowChosen(row.dataset.menu, Number(row.dataset.level));
  if (row.dataset.act === 'comboitem') comboChosen(Number(row.dataset.index));
});
popups.addEventListener('click', (e) => {
  const act = e.target.closest('[data-act]');
  if (!act || !ui.calendar) return;
  if (act.dataset.act === 'cal-prev' || act.dataset.act === 'cal-next') {
    ui.calendar = { ...ui.calendar, ...addMonths(ui.calendar, act.dataset.act === 'cal-prev' ? -1 : 1) };
    scheduleRender();
  }
  if (act.dataset.act === 'cal-day') calendarPicked(act.dataset.date);
});
popups.addEventListener('mouseover', (e) => {
  const row = e.target.closest('[data-act="menuitem"]');
  if (!row || !ui.openMenu) return;
  const level = Number(row.dataset.level);
  const name = row.dataset.menu;
  const m = ui.openMenu;
  if (m.hot[level] === name && (!row.dataset.sub || m.path[level + 1] === name)) return;
  m.hot = m.hot.slice(0, level);
  m.hot[level] = name;
  m.path = m.path.slice(0, level + 1);
  if (row.dataset.sub && !row.classList.contains('disabled')) m.path.push(name);
  scheduleRender();
});
desktop.addEventListener('mouseover', (e) => {
  // With a menu open, pointing at another title of the bar opens that one.
  const bar = e.target.closest('[data-act="menubar"]');
  const m = ui.openMenu;
  if (!bar || !m || m.path[0] === bar.dataset.menu) return;
  const hit = controlAt(e.target);
  if (!hit || hit.form.name !== m.form) return;
  ui.openMenu = { form: m.form, path: [bar.dataset.menu], hot: [] };
  scheduleRender();
});

// ---------------------------------------------------------------- menus

function menuLevelItems(form, m, level) {
  const owner = findMenuItem(form.menu, m.path[level]);
  return ((owner && owner.items) || []).filter((i) => i && i.visible !== false && !i.separator && i.caption !== '-');
}

function menuRowChosen(name, level) {
  const m = ui.openMenu;
  const form = m && model.forms.get(m.form);
  if (!form) return;
  const item = findMenuItem(form.menu, name);
  if (!item || item.enabled === false) return;
  if (Array.isArray(item.items) && item.items.some((i) => i && i.visible !== false)) {
    m.path = m.path.slice(0, level + 1).concat(name);
    m.hot = m.hot.slice(0, level + 1);
    m.hot[level] = name;
    const first = menuLevelItems(form, m, level + 1).find((i) => i.enabled !== false);
    if (first) m.hot[level + 1] = first.name;
    scheduleRender();
    return;
  }
  ui.openMenu = null;
  scheduleRender();
  if (formTakesInput(model, form.name)) send({ type: 'menu', form: form.name, name });
}

function openMenuBar(form, name) {
  const m = { form: form.name, path: [name], hot: [] };
  ui.openMenu = m;
  const first = menuLevelItems(form, m, 0).find((i) => i.enabled !== false);
  if (first) m.hot[0] = first.name;
  scheduleRender();
}

function menuKey(e) {
  const m = ui.openMenu;
  const form = model.forms.get(m.form);
  e.preventDefault();
  if (!form) { ui.openMenu = null; return; }
  const level = m.path.length - 1;
  const items = menuLevelItems(form, m, level);
  const usable = items.filter((i) => i.enabled !== false);
  const tops = form.menu.filter((i) => i && i.visible !== false && i.enabled !== false);
  const hotIndex = usable.findIndex((i) => i.name === m.hot[level]);
  switch (e.key) {
    case 'Escape':
      if (level > 0) { m.path.pop(); m.hot.length = level; } else ui.openMenu = null;
      break;
    case 'ArrowDown':
    case 'ArrowUp': {
      if (!usable.length) break;
      const step = e.key === 'ArrowDown' ? 1 : -1;
      m.hot[level] = usable[(hotIndex + step + usable.length) % usable.length].name;
      break;
    }
    case 'ArrowRight':
    case 'ArrowLeft': {
      const hot = findMenuItem(form.menu, m.hot[level]);
      if (e.key === 'ArrowRight' && hot && Array.isArray(hot.items) && hot.items.length) {
        menuRowChosen(hot.name, level);
        return;
      }
      if (e.key === 'ArrowLeft' && level > 0) { m.path.pop(); m.hot.length = level; break; }
      const at = tops.findIndex((i) => i.name === m.path[0]);
      const next = tops[(at + (e.key === 'ArrowRight' ? 1 : -1) + tops.length) % tops.length];
      if (next) openMenuBar(form, next.name);
      return;
    }
    case 'Enter':
      if (m.hot[level]) { menuRowChosen(m.hot[level], level); return; }
      break;
    default: {
      const letter = e.key.length === 1 ? e.key.toLowerCase() : '';
      const item = letter && usable.find((i) => accelKey(i.caption) === letter);
      if (item) { menuRowChosen(item.name, level); return; }
    }
  }
  scheduleRender();
}

// ---------------------------------------------------------------- combo

// The host takes a choice from the list as the arrow keys would make it,
// one step at a time from the current item.
function comboChosen(index) {
  const open = ui.combo;
  ui.combo = null;
  scheduleRender();
  const c = open && getControl(model, open.form, open.name);
  if (!c || !formTakesInput(model, open.form)) return;
  const current = Number.isInteger((c.props || {}).itemIndex) ? c.props.itemIndex : -1;
  const steps = index - current;
  const key = steps > 0 ? 40 : 38;
  for (let i = 0; i < Math.abs(steps); i++) send({ type: 'key', form: open.form, key, shift: [] });
}

function comboKey(e) {
  const c = getControl(model, ui.combo.form, ui.combo.name);
  const count = c ? ((c.props || {}).items || []).length : 0;
  e.preventDefault();
  if (!c || e.key === 'Escape' || e.key === 'Tab') { ui.combo = null; scheduleRender(); return; }
  const hot = Number.isInteger(ui.combo.hot) ? ui.combo.hot : -1;
  if (e.key === 'ArrowDown') ui.combo.hot = Math.min(count - 1, hot + 1);
  else if (e.key === 'ArrowUp') ui.combo.hot = Math.max(0, hot - 1);
  else if (e.key === 'Enter') { if (hot >= 0) comboChosen(hot); else ui.combo = null; }
  scheduleRender();
}

// ---------------------------------------------------------------- calendar

// Opens the calendar of the date box c (closes it for null or a box that
// takes no typing).
function toggleCalendar(c) {
  const props = (c && c.props) || {};
  ui.calendar = c && c.usable !== false && !props.readOnly ? openCalendar(c.form, c.name, props.text) : null;
  ui.combo = null;
  scheduleRender();
}

// The host types the picked date into the box (moving the focus there).
function calendarPicked(date) {
  const open = ui.calendar;
  ui.calendar = null;
  scheduleRender();
  if (!open || !date || !formTakesInput(model, open.form)) return;
  send({ type: 'pickdate', form: open.form, name: open.name, date });
}

function calendarKeyDown(e) {
  e.preventDefault();
  const { state, pick } = calendarKey(ui.calendar, e.key);
  if (pick) calendarPicked(pick);
  else ui.calendar = state;
  scheduleRender();
}

// ---------------------------------------------------------------- keys

document.addEventListener('keydown', (e) => {
  if (document.documentElement.dataset.state !== 'open') return;
  if (overlays.box) { overlays.boxKey(e); return; }
  if (overlays.pick) { overlays.pickKey(e); return; }
  if (model.overlay.busy && model.overlay.busy.depth > 0) {
    if (translateKey(e).length) e.preventDefault();
    return;
  }
  if (ui.openMenu) { menuKey(e); return; }
  if (ui.combo) { comboKey(e); return; }
  if (ui.calendar) { calendarKeyDown(e); return; }
  const form = inputForm();
  if (!form) {
    if (translateKey(e).length) e.preventDefault();
    return;
  }
  // Alt+letter opens the menu whose title has that accelerator.
  if (e.altKey && !e.ctrlKey && e.key.length === 1 && Array.isArray(form.menu)) {
    const letter = e.key.toLowerCase();
    const top = form.menu.find((i) => i && i.visible !== false && i.enabled !== false && accelKey(i.caption) === letter);
    if (top) { e.preventDefault(); openMenuBar(form, top.name); return; }
  }
  // Ctrl+C and Ctrl+X copy the edit box's selection: the browser fires
  // no copy of its own with the focus outside any editable element.
  if (e.ctrlKey && !e.altKey && !e.shiftKey && (e.code === 'KeyC' || e.code === 'KeyX')) {
    const sel = focusedSelection();
    if (sel) {
      e.preventDefault();
      copyNext = sel.text;
      document.execCommand('copy');
      // Where the browser fired no copy event, the clipboard interface.
      if (copyNext !== null && navigator.clipboard) navigator.clipboard.writeText(copyNext).catch(() => notice(TEXTS.noClipboard));
      copyNext = null;
      if (e.code === 'KeyX' && !(sel.c.props || {}).readOnly) send({ type: 'key', form: form.name, key: 88, shift: ['ctrl'] });
    }
    return;
  }
  // Alt+Down opens the list of a focused combo box, the calendar of a
  // focused date box.
  if (e.altKey && e.key === 'ArrowDown') {
    const c = form.focus && getControl(model, form.name, form.focus);
    if (c && (c.kind === 'combobox' || c.kind === 'dbcombobox') && c.usable !== false) {
      e.preventDefault();
      ui.combo = { form: form.name, name: c.name, hot: (c.props || {}).itemIndex };
      scheduleRender();
      return;
    }
    if (c && c.kind === 'dateedit' && c.usable !== false && !(c.props || {}).readOnly) {
      e.preventDefault();
      toggleCalendar(c);
      return;
    }
  }
  const events = translateKey(e);
  if (!events.length) return;
  e.preventDefault();
  for (const ev of events) send({ ...ev, form: form.name });
});

// Text that arrives without a key press of its own (composed by dead keys
// or an input method) lands in a hidden box that keeps the keyboard focus;
// it goes to the host as typed text.
const keySink = document.getElementById('keys');
keySink.addEventListener('input', (e) => {
  if (e.isComposing) return;
  const text = keySink.value;
  keySink.value = '';
  if (!text || document.documentElement.dataset.state !== 'open' || overlays.open()) return;
  const form = inputForm();
  if (form) send({ type: 'char', form: form.name, text: text.replace(/[\r\n\t]+/g, ' ') });
});
keySink.addEventListener('compositionend', () => keySink.dispatchEvent(new Event('input')));

function keepKeyFocus() {
  const active = document.activeElement;
  if (!active || active === document.body || active === document.documentElement) keySink.focus({ preventScroll: true });
}
window.addEventListener('focus', () => { keepKeyFocus(); followFocus(); });

// The browser's focus follows the model's: the element of the control the
// key form focuses (a grid's table, a page control's active tab) takes
// it, so screen readers say where the operator is. Overlays, menus and
// drop-down lists keep the focus they took while they are open.
function followFocus() {
  if (document.documentElement.dataset.state !== 'open' || overlays.open() || ui.openMenu || ui.combo ||
    ui.calendar || (model.overlay.busy && model.overlay.busy.depth > 0)) return;
  const form = keyForm(model);
  let target = null;
  if (form && form.focus) {
    const win = desktop.querySelector(`.window[data-form="${CSS.escape(form.name)}"]`);
    const ctl = win && win.querySelector(`.ctl[data-name="${CSS.escape(form.focus)}"]`);
    if (ctl) target = ctl.querySelector(':scope > [role="grid"], :scope > .tab-list > [aria-selected="true"]') || ctl;
  }
  if (!target || !target.hasAttribute('tabindex')) target = keySink;
  if (document.activeElement !== target) target.focus({ preventScroll: true });
}

// The selected text of the focused edit box (as it shows it: a password
// box gives its stars), or null when nothing is selected.
function focusedSelection() {
  const form = inputForm();
  const c = form && form.focus && getControl(model, form.name, form.focus);
  const props = (c && c.props) || {};
  if (!c || !takesText(c.kind) || !(props.selLength > 0)) return null;
  const chars = [...String(props.text ?? '')];
  return { form, c, text: chars.slice(props.selStart, props.selStart + props.selLength).join('') };
}

// The text the copy the page starts itself puts on the clipboard.
let copyNext = null;
document.addEventListener('copy', (e) => {
  const text = copyNext;
  copyNext = null;
  if (text == null || !e.clipboardData) return;
  e.preventDefault();
  e.clipboardData.setData('text/plain', text);
});

document.addEventListener('paste', (e) => {
  if (document.documentElement.dataset.state !== 'open' || overlays.open()) return;
  const form = inputForm();
  const focused = form && form.focus && getControl(model, form.name, form.focus);
  if (!focused || !takesText(focused.kind)) return;
  const text = (e.clipboardData && e.clipboardData.getData('text/plain')) || '';
  e.preventDefault();
  const multiline = ['memo', 'richedit', 'dbrichedit'].includes(focused.kind);
  const clean = multiline ? text.replace(/\r\n?/g, '\n') : text.replace(/[\r\n\t]+/g, ' ');
  if (clean) send({ type: 'char', form: form.name, text: clean });
});

// ---------------------------------------------------------------- drawing

// Changes of the page's own (an open menu, a resize) are drawn once in
// the next frame; an update from the host is drawn when it arrives.
let renderQueued = false;
function scheduleRender() {
  if (renderQueued) return;
  renderQueued = true;
  requestAnimationFrame(() => {
    if (renderQueued) render();
  });
}

// After an update only what it touched is drawn again, unless a change
// of the page's own waits to be drawn too.
function render(afterUpdate = false) {
  const part = afterUpdate && !renderQueued;
  renderQueued = false;
  if (!fontsReady) return;
  const touched = takeTouched(model);
  try {
    draw(part ? touched : null);
  } catch (err) {
    model.touched = null;  // drawn whole next time
    console.error(err);
    notice(TEXTS.drawFailed);
  }
}

function draw(touched) {
  if (model.overlay.messagebox || model.overlay.picklist) { ui.openMenu = null; ui.combo = null; ui.calendar = null; }
  const view = { width: window.innerWidth, height: window.innerHeight };
  renderDesktop(desktop, model, ui, view, touched);
  overlays.render(model.overlay);
  renderPopups(popups, model, ui, desktop);
  placeThumb();  // a drag in progress keeps its thumb where the mouse is
  document.documentElement.classList.toggle('wait', model.cursor === 'wait');
  const main = [...model.forms.values()].find((f) => f.style === 'mdiform' && f.visible !== false) || keyForm(model);
  if (main && main.caption && document.title !== main.caption) document.title = main.caption;
  keepKeyFocus();
  followFocus();
  followViewport();
}

window.addEventListener('resize', scheduleRender);

// The canvases measure and draw with the served faces: wait for them
// (a bounded wait; a page without them still works, with other widths).
async function loadFonts() {
  const faces = Promise.all([
    document.fonts.load(`11px ${FONT_FAMILY}`),
    document.fonts.load(`bold 11px ${FONT_FAMILY}`),
  ]).catch(() => null);
  await Promise.race([faces, new Promise((resolve) => setTimeout(resolve, 3000))]);
  fontsReady = true;
  resetBuilt();
  document.documentElement.dataset.fonts = 'ready';
  scheduleRender();
}

setState('connecting');
loadFonts();
connect();
