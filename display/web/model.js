// The page's copy of the host's component model.
//
// The host sends a full update first and then only what changed; this
// module applies them and answers the questions the drawing and the input
// code ask (children of a control, which form is on top, whether a form
// lies behind a modal one). Pure data: no DOM, so it runs under node too.

export function createModel() {
  return {
    seq: -1,
    forms: new Map(),     // name -> FormState
    controls: new Map(),  // "form\u0000name" -> ControlState, in arrival order
    order: [],            // visible forms, bottom first
    overlay: { messagebox: null, picklist: null, busy: { depth: 0, kind: 0 } },
    cursor: 'default',
    touched: null,        // see takeTouched
  };
}

export function controlKey(form, name) {
  return `${form}\u0000${name}`;
}

// Applies one update. Throws an Error (with a Portuguese message) for an
// update that is not an object; an out-of-date incremental update (seq not
// above the last one) is ignored and false is returned.
export function applyUpdate(model, update) {
  if (!update || typeof update !== 'object' || Array.isArray(update))
    throw new Error('Atualização inválida recebida do programa.');
  const seq = Number.isFinite(update.seq) ? update.seq : model.seq + 1;
  if (update.full) {
    model.forms.clear();
    model.controls.clear();
  } else if (seq <= model.seq) {
    return false;
  }
  model.seq = seq;
  if (update.full || list(update.removedForms).length || list(update.removedControls).length) model.children = null;
  if (update.full || list(update.forms).length || list(update.removedForms).length) model.touched = null;

  for (const form of list(update.forms)) {
    if (form && typeof form.name === 'string') model.forms.set(form.name, form);
  }
  for (const name of list(update.removedForms)) {
    model.forms.delete(name);
    for (const [key, c] of model.controls) if (c.form === name) model.controls.delete(key);
  }
  for (const c of list(update.controls)) {
    if (!c || typeof c.form !== 'string' || typeof c.name !== 'string') continue;
    const key = controlKey(c.form, c.name);
    const old = model.controls.get(key);
    if (c.props && typeof c.props === 'object' && Array.isArray(c.props.ops))
      c.props = gridPaint(c.props, old);
    touch(model, old);
    model.controls.set(key, c);
    touch(model, c);
    // One that stays where it was takes its place in the children lists.
    if (model.children && old && (old.parent ?? null) === (c.parent ?? null)) {
      const siblings = model.children.get(controlKey(c.form, c.parent ?? '\u0000'));
      const at = siblings ? siblings.indexOf(old) : -1;
      if (at >= 0) siblings[at] = c;
      else model.children = null;
    } else {
      model.children = null;
    }
  }
  for (const r of list(update.removedControls)) {
    if (!r) continue;
    touch(model, model.controls.get(controlKey(r.form, r.name)));
    model.controls.delete(controlKey(r.form, r.name));
  }
  if (Array.isArray(update.order)) {
    const order = update.order.filter((n) => model.forms.has(n));
    if (order.length !== model.order.length || order.some((n, i) => n !== model.order[i])) model.touched = null;
    model.order = order;
  }
  if (update.overlay && typeof update.overlay === 'object') {
    model.overlay = {
      messagebox: update.overlay.messagebox || null,
      picklist: update.overlay.picklist || null,
      busy: update.overlay.busy || { depth: 0, kind: 0 },
    };
  }
  if (typeof update.cursor === 'string') model.cursor = update.cursor;
  return true;
}

// A grid's props with its operations whole and their pictures in them:
// the host writes each picture once, in `pictures`, and an operation
// names it by its place there; a paint written as a change of the one
// before (`keep`) has the operations the page keeps from each end of its
// own left out, and its rows too when they stayed; a written operation
// with a picture a kept one has names that one (`like`, its place in the
// new operations) and takes the same picture object. The kept operations
// are the earlier paint's own objects. Throws when the earlier paint is
// not there to keep from: the page has missed an update.
function gridPaint(props, before) {
  const pictures = Array.isArray(props.pictures) ? props.pictures : [];
  const sent = props.ops.map((op) => (op && Number.isInteger(op.picture) ? { ...op, bitmap: pictures[op.picture] } : op));
  const { keep, pictures: _, ...paint } = props;
  if (!keep) return { ...paint, ops: sent };
  const old = before && before.props && Array.isArray(before.props.ops) ? before.props : null;
  const [head, tail] = Array.isArray(keep.ops) ? keep.ops : [];
  if (!old || !Number.isInteger(head) || !Number.isInteger(tail) || head < 0 || tail < 0 ||
    head + tail > old.ops.length || (keep.rows && !Array.isArray(old.rows)))
    throw new Error('Atualização de grade sem a pintura anterior.');
  const ops = old.ops.slice(0, head).concat(sent, old.ops.slice(old.ops.length - tail));
  for (let i = head; i < head + sent.length; i++) {
    const like = ops[i] && ops[i].like;
    if (!Number.isInteger(like)) continue;
    const from = like >= 0 && (like < head || like >= head + sent.length) ? ops[like] : null;
    if (!from || !from.bitmap) throw new Error('Atualização de grade sem a pintura anterior.');
    ops[i] = { ...ops[i], bitmap: from.bitmap };
  }
  return { ...paint, ops, rows: keep.rows ? old.rows : paint.rows };
}

// What the updates since the last drawing touched, for drawing again
// only there: the keys of the controls they changed, added or removed,
// with all their containers (where they were and where they are); null
// when they touched a form or the stacking order, or one was full, and
// everything is to be drawn. The drawing takes it, leaving an empty set.
export function takeTouched(model) {
  const touched = model.touched;
  model.touched = new Set();
  return touched;
}

function touch(model, c) {
  if (!model.touched) return;
  for (let cur = c, guard = 0; cur && guard < 64; guard++) {
    model.touched.add(controlKey(cur.form, cur.name));
    cur = cur.parent != null ? getControl(model, cur.form, cur.parent) : null;
  }
}

function list(value) {
  return Array.isArray(value) ? value : [];
}

export function getControl(model, form, name) {
  return model.controls.get(controlKey(form, name)) || null;
}

// The controls whose parent is `parent` (null: the form itself), in the
// order the host listed them (creation order: later ones lie on top).
// The lists are made again when controls come, go or move (drawing asks
// for every control's); a changed control takes its place in its list.
// They are the model's: read them, never change them.
export function childrenOf(model, form, parent) {
  if (!model.children) {
    model.children = new Map();
    for (const c of model.controls.values()) {
      const key = controlKey(c.form, c.parent ?? '\u0000');
      if (!model.children.has(key)) model.children.set(key, []);
      model.children.get(key).push(c);
    }
  }
  return model.children.get(controlKey(form, parent ?? '\u0000')) || [];
}

// Forms to draw, bottom first: those in `order` that are visible.
export function visibleForms(model) {
  return model.order.map((n) => model.forms.get(n)).filter((f) => f && f.visible !== false);
}

// The form keys go to: the topmost active form, else the topmost one.
export function keyForm(model) {
  const forms = visibleForms(model);
  for (let i = forms.length - 1; i >= 0; i--) if (forms[i].active) return forms[i];
  return forms.length ? forms[forms.length - 1] : null;
}

// Index in `order` of the topmost modal form, or -1.
export function topModalIndex(model) {
  const forms = visibleForms(model);
  for (let i = forms.length - 1; i >= 0; i--) if (forms[i].modal) return i;
  return -1;
}

// Whether a form can take the operator's input now: no overlay is open and
// no modal form lies above it.
export function formTakesInput(model, formName) {
  if (overlayOpen(model)) return false;
  const forms = visibleForms(model);
  const index = forms.findIndex((f) => f.name === formName);
  if (index < 0) return false;
  const modal = topModalIndex(model);
  return modal < 0 || index >= modal;
}

export function overlayOpen(model) {
  const o = model.overlay;
  return !!(o.messagebox || o.picklist || (o.busy && o.busy.depth > 0));
}

// Whether a control and all its parents are visible (the host sends each
// control's own flag).
export function showing(model, c) {
  for (let cur = c, guard = 0; cur && guard < 64; guard++) {
    if (cur.visible === false) return false;
    if (cur.parent == null) return true;
    const parent = getControl(model, cur.form, cur.parent);
    if (parent && parent.kind === 'pagecontrol' && cur.kind === 'tabsheet' &&
        parent.props && parent.props.active !== cur.name) return false;
    cur = parent;
  }
  return false;
}
