// What assistive technology is told about each control: its role, its
// state (checked, disabled, read-only, selected) and its name, set on the
// element the view built for it. Controls that take the focus can take the
// browser's focus too (tabindex -1: the host, not the browser, moves it),
// so a screen reader follows the model's focus.

import { childrenOf, getControl } from './model.js';

const EDIT_KINDS = new Set(['edit', 'maskedit', 'dbedit', 'numberedit', 'dateedit', 'dbdateedit', 'spinedit']);
const MEMO_KINDS = new Set(['memo', 'richedit', 'dbrichedit']);
const BUTTON_KINDS = new Set(['button', 'speedbutton', 'flatbutton', 'searchbutton']);
const FOCUSABLE = new Set([...EDIT_KINDS, ...MEMO_KINDS, 'combobox', 'dbcombobox', 'checkbox', 'dbcheckbox',
  'radiobutton', 'radiogroup', 'dbradiogroup', 'button', 'pagecontrol', 'dbgrid']);

export function plainCaption(caption) {
  return String(caption ?? '').replace(/&(&?)/g, (m, amp) => amp);
}

// The short part of a hint (before "|").
export function hintText(hint) {
  const h = String(hint ?? '');
  const bar = h.indexOf('|');
  return bar >= 0 ? h.slice(0, bar) : h;
}

function box(c) {
  const b = Array.isArray(c.bounds) ? c.bounds : [0, 0, 0, 0];
  return b.map((n) => (Number.isFinite(n) ? n : 0));
}

// The caption of the label that stands before a box on its line (the
// nearest one to its left, in the same parent), or ''.
export function labelBefore(model, c) {
  const [l, t, , h] = box(c);
  let best = null;
  let bestRight = -Infinity;
  for (const other of childrenOf(model, c.form, c.parent ?? null)) {
    if (other.kind !== 'label' || other.visible === false || !other.caption) continue;
    const [ol, ot, ow, oh] = box(other);
    const overlaps = ot < t + h && ot + oh > t;
    if (overlaps && ol + ow <= l + 2 && ol + ow > bestRight) { best = other; bestRight = ol + ow; }
  }
  return best ? plainCaption(best.caption) : '';
}

// The name a screen reader says for a control.
export function accessibleName(model, c) {
  const caption = plainCaption(c.caption);
  if (BUTTON_KINDS.has(c.kind) || ['checkbox', 'dbcheckbox', 'radiobutton', 'groupbox', 'radiogroup',
    'dbradiogroup'].includes(c.kind)) return caption || hintText(c.hint) || c.name;
  return labelBefore(model, c) || hintText(c.hint) || caption || c.name;
}

function setAll(e, attrs) {
  for (const [k, v] of Object.entries(attrs)) if (v != null) e.setAttribute(k, String(v));
}

// Role, state and name of a control's element.
export function describeControl(model, c, e, props, usable) {
  const kind = c.kind || '';
  const disabled = usable ? null : 'true';
  if (FOCUSABLE.has(kind)) e.tabIndex = -1;
  const name = accessibleName(model, c);
  if (EDIT_KINDS.has(kind) || MEMO_KINDS.has(kind)) {
    setAll(e, { role: 'textbox', 'aria-label': name, 'aria-readonly': props.readOnly ? 'true' : null,
      'aria-disabled': disabled, 'aria-multiline': MEMO_KINDS.has(kind) ? 'true' : null });
  } else if (kind === 'combobox' || kind === 'dbcombobox') {
    setAll(e, { role: 'combobox', 'aria-label': name, 'aria-expanded': e.classList.contains('dropped'),
      'aria-disabled': disabled });
  } else if (BUTTON_KINDS.has(kind)) {
    setAll(e, { role: 'button', 'aria-label': name, 'aria-disabled': usable ? 'false' : 'true',
      'aria-pressed': props.down ? 'true' : null });
  } else if (kind === 'checkbox' || kind === 'dbcheckbox' || kind === 'radiobutton') {
    setAll(e, { role: kind === 'radiobutton' ? 'radio' : 'checkbox', 'aria-label': name,
      'aria-checked': props.checked ? 'true' : 'false', 'aria-disabled': disabled });
  } else if (kind === 'radiogroup' || kind === 'dbradiogroup') {
    setAll(e, { role: 'radiogroup', 'aria-label': name, 'aria-disabled': disabled });
  } else if (kind === 'groupbox' && name) {
    setAll(e, { role: 'group', 'aria-label': name });
  } else if (kind === 'dbnavigator') {
    setAll(e, { role: 'toolbar', 'aria-label': 'Navegação' });
  } else if (kind === 'tabsheet') {
    setAll(e, { role: 'tabpanel', 'aria-label': plainCaption(c.caption) || c.name });
  } else if (kind === 'image') {
    setAll(e, { 'aria-hidden': 'true' });
  }
}

// The caption of the page a grid sits in (its tab sheet's, or the
// nearest panel or group box with a caption), for naming its table.
export function gridName(model, c) {
  for (let cur = c.parent && getControl(model, c.form, c.parent), guard = 0; cur && guard < 64; guard++) {
    if (cur.kind === 'tabsheet' || cur.kind === 'groupbox') {
      const caption = plainCaption(cur.caption);
      if (caption) return caption;
    }
    cur = cur.parent ? getControl(model, cur.form, cur.parent) : null;
  }
  return hintText(c.hint) || c.name;
}
