// What a key press in the browser means to the host.
//
// Non-printable keys (Tab, arrows, Enter, Esc, Backspace, Delete, F1-F12,
// ...) and every combination with Ctrl or Alt become `key` events with the
// virtual key and the shift state; printable characters typed without Ctrl
// or Alt become `char` events. Space is both: the key (grids mark rows on
// it) and the typed blank. Pure function: runs under node too.

const NAMED = {
  Backspace: 8, Tab: 9, Enter: 13, Escape: 27, Esc: 27, ' ': 32, Spacebar: 32,
  PageUp: 33, PageDown: 34, End: 35, Home: 36,
  ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Left: 37, Up: 38, Right: 39, Down: 40,
  Insert: 45, Delete: 46, Del: 46,
};

const MODIFIER_KEYS = new Set(['Shift', 'Control', 'Alt', 'AltGraph', 'Meta', 'OS', 'CapsLock',
  'NumLock', 'ScrollLock', 'Dead', 'Process', 'Unidentified', 'Compose']);

// Virtual key of a browser key event, or 0 when it has none we send.
export function virtualKey(e) {
  if (e.key in NAMED) return NAMED[e.key];
  const f = /^F([1-9]|1[0-2])$/.exec(e.key || '');
  if (f) return 111 + Number(f[1]);
  // Letters and digits by their position, so Ctrl+L is 76 whatever the
  // layout makes of the letter.
  const code = /^(?:Key([A-Z])|Digit([0-9])|Numpad([0-9]))$/.exec(e.code || '');
  if (code) return (code[1] || code[2] || code[3]).charCodeAt(0);
  if (typeof e.key === 'string' && e.key.length === 1) {
    const up = e.key.toUpperCase();
    if (/^[A-Z0-9]$/.test(up)) return up.charCodeAt(0);
  }
  return 0;
}

export function shiftState(e) {
  const s = [];
  if (e.ctrlKey) s.push('ctrl');
  if (e.shiftKey) s.push('shift');
  if (e.altKey) s.push('alt');
  return s;
}

function isPrintable(key) {
  // One character (a surrogate pair counts as one), not a control char.
  return typeof key === 'string' && [...key].length === 1 && key >= ' ' && key !== '\u007f';
}

// The events one keydown sends, in order: a list of {type:'key', key,
// shift} and {type:'char', text} (without the form), or [] when the page
// leaves the key to the browser.
export function translateKey(e) {
  if (MODIFIER_KEYS.has(e.key)) return [];
  if (e.metaKey) return [];
  // AltGr arrives as Ctrl+Alt on some systems and types a character.
  const altGraph = e.ctrlKey && e.altKey && isPrintable(e.key) && e.key !== ' ' && !/^[a-z]$/i.test(e.key);
  const withCtrlAlt = (e.ctrlKey || e.altKey) && !altGraph;
  if (e.key === ' ') {
    const events = [{ type: 'key', key: 32, shift: shiftState(e) }];
    if (!withCtrlAlt) events.push({ type: 'char', text: ' ' });
    return events;
  }
  if (isPrintable(e.key) && !withCtrlAlt) return [{ type: 'char', text: e.key }];
  const vk = virtualKey(e);
  if (!vk) return [];
  // Ctrl+V pastes (the page sends the pasted text), Ctrl+C copies and
  // Ctrl+X cuts the selection (the page puts it on the clipboard, then
  // tells the host): the browser's clipboard events do it.
  if (e.ctrlKey && !e.altKey && (vk === 86 || vk === 67 || vk === 88)) return [];
  return [{ type: 'key', key: vk, shift: shiftState(e) }];
}
