// The month calendar a date box drops down from its calendar button: the
// dates it works with, the month's grid and what a key does in it. No DOM
// here: view.js draws the calendar, app.js feeds it the operator's input.
//
// A date is {y, m, d} (m 1..12). The calendar's state is
// {form, name, y, m, d}: the month shown and the highlighted day, which
// the arrows move and Enter (or a click) picks; the host gets the pick as
// a "pickdate" event with the date as "dd/mm/yyyy".

export const MONTH_NAMES = ['Janeiro', 'Fevereiro', 'Março', 'Abril', 'Maio', 'Junho', 'Julho',
  'Agosto', 'Setembro', 'Outubro', 'Novembro', 'Dezembro'];
const DEFAULT_DAY_NAMES = ['Domingo', 'Segunda', 'Terça', 'Quarta', 'Quinta', 'Sexta', 'Sábado'];

// A UTC instant for a date; setUTCFullYear, unlike Date.UTC, takes years
// below 100 as they are.
function utc(y, monthIndex, d) {
  const t = new Date(0);
  t.setUTCFullYear(y, monthIndex, d);
  return t;
}

export function daysInMonth(y, m) {
  return utc(y, m, 0).getUTCDate();
}

// The date a box shows ("dd/mm/yyyy", blanks for empty places), or null
// when it is not a whole calendar date.
export function parseDate(text) {
  const match = /^(\d{2})\/(\d{2})\/(\d{4})$/.exec(String(text ?? ''));
  if (!match) return null;
  const [d, m, y] = match.slice(1).map(Number);
  if (y < 1 || m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m)) return null;
  return { y, m, d };
}

const two = (n) => String(n).padStart(2, '0');
export function formatDate({ y, m, d }) {
  return `${two(d)}/${two(m)}/${String(y).padStart(4, '0')}`;
}

export function sameDate(a, b) {
  return !!a && !!b && a.y === b.y && a.m === b.m && a.d === b.d;
}

export function todayDate(now = new Date()) {
  return { y: now.getFullYear(), m: now.getMonth() + 1, d: now.getDate() };
}

// The weekday titles: the box's names cut to three letters ("Sábado" is
// "Sáb"), Sunday first.
export function dayTitles(names) {
  const list = Array.isArray(names) && names.length === 7 ? names : DEFAULT_DAY_NAMES;
  return list.map((name) => Array.from(String(name)).slice(0, 3).join(''));
}

// The date `days` days away (any number, across months and years).
export function addDays({ y, m, d }, days) {
  const t = utc(y, m - 1, d + days);
  return { y: t.getUTCFullYear(), m: t.getUTCMonth() + 1, d: t.getUTCDate() };
}

// The same day `months` months away, on the month's last day when it has
// fewer days; kept within the years 1..9999.
export function addMonths({ y, m, d }, months) {
  const index = Math.min(Math.max((y * 12 + m - 1) + months, 12), 9999 * 12 + 11);
  const ny = Math.floor(index / 12);
  const nm = (index % 12) + 1;
  return { y: ny, m: nm, d: Math.min(d, daysInMonth(ny, nm)) };
}

// Six weeks from the Sunday on or before the month's first day; days of
// the months around it have `other` set.
export function monthGrid(y, m) {
  const start = addDays({ y, m, d: 1 }, -utc(y, m - 1, 1).getUTCDay());
  const weeks = [];
  for (let w = 0; w < 6; w++) {
    const week = [];
    for (let i = 0; i < 7; i++) {
      const date = addDays(start, w * 7 + i);
      week.push({ ...date, other: date.m !== m || date.y !== y });
    }
    weeks.push(week);
  }
  return weeks;
}

// The calendar opened on a box showing `text`: its date, else today.
export function openCalendar(form, name, text, today = todayDate()) {
  const date = parseDate(text) || today;
  return { form, name, ...date };
}

const KEY_STEPS = { ArrowLeft: -1, ArrowRight: 1, ArrowUp: -7, ArrowDown: 7 };

// A key pressed with the calendar open: {state, pick} with the new state
// (null: closed) and the date picked, if any.
export function calendarKey(state, key) {
  if (key === 'Escape' || key === 'Tab') return { state: null, pick: null };
  if (key === 'Enter') return { state: null, pick: formatDate(state) };
  let date = null;
  if (KEY_STEPS[key]) date = addDays(state, KEY_STEPS[key]);
  else if (key === 'PageUp') date = addMonths(state, -1);
  else if (key === 'PageDown') date = addMonths(state, 1);
  else if (key === 'Home') date = { ...state, d: 1 };
  else if (key === 'End') date = { ...state, d: daysInMonth(state.y, state.m) };
  if (!date || date.y < 1 || date.y > 9999) return { state, pick: null };
  return { state: { ...state, ...date }, pick: null };
}
