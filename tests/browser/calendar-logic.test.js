// The date box calendar's logic that needs no browser: reading the box's
// text, the month's weeks, moving the highlighted day and what Enter
// picks.

import test from 'node:test';
import assert from 'node:assert/strict';
import {
  parseDate, formatDate, dayTitles, addDays, addMonths, monthGrid, openCalendar, calendarKey, daysInMonth,
} from '../../display/web/calendar.js';

test('dates: the box text read and written back', async (t) => {
  await t.test('whole calendar dates only', () => {
    assert.deepEqual(parseDate('05/03/2024'), { y: 2024, m: 3, d: 5 });
    assert.deepEqual(parseDate('29/02/2024'), { y: 2024, m: 2, d: 29 });
    for (const bad of ['29/02/2023', '31/04/2024', '00/01/2024', '01/13/2024', '05/03/____', '__/__/____',
      '5/3/2024', '', null, undefined, '01/01/0000'])
      assert.equal(parseDate(bad), null, String(bad));
  });
  await t.test('formatting pads day, month and year', () => {
    assert.equal(formatDate({ y: 2024, m: 3, d: 5 }), '05/03/2024');
    assert.equal(formatDate({ y: 99, m: 12, d: 31 }), '31/12/0099');
  });
  await t.test('years below 100 are not taken as 19xx', () => {
    assert.equal(daysInMonth(4, 2), 29);
    assert.deepEqual(addDays({ y: 99, m: 12, d: 31 }, 1), { y: 100, m: 1, d: 1 });
  });
  await t.test('weekday titles are the names cut to three letters', () => {
    assert.deepEqual(dayTitles(['Domingo', 'Segunda', 'Terça', 'Quarta', 'Quinta', 'Sexta', 'Sábado']),
      ['Dom', 'Seg', 'Ter', 'Qua', 'Qui', 'Sex', 'Sáb']);
    assert.deepEqual(dayTitles(undefined), ['Dom', 'Seg', 'Ter', 'Qua', 'Qui', 'Sex', 'Sáb']);
  });
});

test('the month grid: six weeks from Sunday, other months marked', () => {
  const weeks = monthGrid(2024, 3);  // 1 March 2024 was a Friday
  assert.equal(weeks.length, 6);
  assert.ok(weeks.every((w) => w.length === 7));
  assert.deepEqual(weeks[0][0], { y: 2024, m: 2, d: 25, other: true });
  assert.deepEqual(weeks[0][5], { y: 2024, m: 3, d: 1, other: false });
  const inMonth = weeks.flat().filter((d) => !d.other).map((d) => d.d);
  assert.deepEqual(inMonth, Array.from({ length: 31 }, (_, i) => i + 1));
  assert.deepEqual(monthGrid(2026, 12)[0][2], { y: 2026, m: 12, d: 1, other: false });  // a Tuesday
});

test('moving through the calendar', async (t) => {
  const state = openCalendar('frmF', 'depDe', '31/01/2024', { y: 2000, m: 1, d: 1 });
  await t.test('opens on the box date, else on today', () => {
    assert.deepEqual(state, { form: 'frmF', name: 'depDe', y: 2024, m: 1, d: 31 });
    assert.deepEqual(openCalendar('f', 'n', '__/__/____', { y: 2026, m: 12, d: 8 }), { form: 'f', name: 'n', y: 2026, m: 12, d: 8 });
    assert.deepEqual(openCalendar('f', 'n', '31/02/2024', { y: 2026, m: 12, d: 8 }), { form: 'f', name: 'n', y: 2026, m: 12, d: 8 });
  });
  await t.test('arrows move days and weeks across months; Page keys months', () => {
    assert.deepEqual(calendarKey(state, 'ArrowRight').state, { ...state, m: 2, d: 1 });
    assert.deepEqual(calendarKey(state, 'ArrowUp').state, { ...state, d: 24 });
    assert.deepEqual(calendarKey({ ...state, m: 12, d: 28 }, 'ArrowDown').state, { ...state, y: 2025, m: 1, d: 4 });
    assert.deepEqual(calendarKey(state, 'PageDown').state, { ...state, m: 2, d: 29 });  // last day of February
    assert.deepEqual(addMonths({ y: 2024, m: 1, d: 15 }, -1), { y: 2023, m: 12, d: 15 });
    assert.deepEqual(calendarKey(state, 'Home').state, { ...state, d: 1 });
  });
  await t.test('Enter picks the highlighted day, Esc closes without a pick', () => {
    assert.deepEqual(calendarKey(state, 'Enter'), { state: null, pick: '31/01/2024' });
    assert.deepEqual(calendarKey(state, 'Escape'), { state: null, pick: null });
    assert.deepEqual(calendarKey(state, 'x'), { state, pick: null });
  });
  await t.test('never beyond the years 1..9999', () => {
    const last = { ...state, y: 9999, m: 12, d: 31 };
    assert.deepEqual(calendarKey(last, 'ArrowRight').state, last);
    assert.deepEqual(addMonths(last, 1), { y: 9999, m: 12, d: 31 });
    assert.deepEqual(addMonths({ y: 1, m: 1, d: 5 }, -1), { y: 1, m: 1, d: 5 });
  });
});
