// The filter dialog in the browser, the whole system running: it opens
// at start-up with its defaults, an order-number interval confirmed with
// OK reloads the order list and comes back when the dialog reopens, a
// broken rule is reported with its message and focus, a customer list is
// picked with F9, Ctrl+D undoes the operator's choices, and the order
// dates are picked from the date boxes' calendars.

import test from 'node:test';
import assert from 'node:assert/strict';
import { watchErrors, screenshotPath } from './support/browser.js';
import { systemAvailable, startSystem, sharedBrowserAndDatabase, signIn } from './support/system.js';

const skip = systemAvailable() ? false : 'appserver, host or module not built (BUILD_DIR)';
const conf = '[data-form="frmConfPedido"]';
const filtro = '[data-form="frmFiltroConfPedido"]';
const inConf = (name) => `${conf} [data-name="${name}"]`;
const inFiltro = (name) => `${filtro} [data-name="${name}"]`;
const box = '[data-role="messagebox"]';

const files = sharedBrowserAndDatabase(skip);

// The system started for one test, its page on the filter dialog that
// opens once the branch field is left.
async function openFilter(t, options = {}) {
  const system = await startSystem({ db: files.database.db, operator: 'CARLOS', branch: '0001', ...options });
  const page = await files.browser.context.newPage();
  const errors = watchErrors(page);
  t.after(async () => {
    await page.close();
    await system.stop();
    assert.deepEqual(errors, [], 'script errors on the page');
  });
  await page.goto(system.url);
  await signIn(page);
  await page.waitForSelector(`html[data-state="open"][data-fonts="ready"] ${conf}`);
  await page.waitForSelector(`${inConf('medCdFilial')}.focused`);
  await page.keyboard.press('Tab');
  await page.waitForSelector(filtro);
  await page.waitForSelector('[data-role="busy"]', { state: 'detached' });
  return { page, system };
}

const checked = async (page, name) => (await page.locator(`${inFiltro(name)} .checked`).count()) > 0;
const enabled = async (page, name) => (await page.locator(`${inFiltro(name)}.disabled`).count()) === 0;
const shot = (page, name) => page.screenshot({ path: screenshotPath(name) });

async function orderNumbers(page) {
  await page.waitForSelector('[data-role="busy"]', { state: 'detached' });
  return page.locator(`${inConf('dbgPadrao')} [role="row"][aria-rowindex] [role="gridcell"][data-field="NRPEDIDO"]`)
    .allTextContents();
}

async function confirmFilter(page) {
  await page.click(inFiltro('sbtConfirma'));
  await page.waitForSelector(filtro, { state: 'detached' });
}

async function reopenFilter(page) {
  await page.click(inConf('sbtFiltro'));
  await page.waitForSelector(filtro);
  await page.waitForSelector('[data-role="busy"]', { state: 'detached' });
}

async function expectMessage(page, message) {
  await page.waitForSelector(box);
  assert.equal(await page.locator(`${box} [data-role="message-text"]`).textContent(), message);
}

async function dismissMessage(page) {
  await page.click(`${box} [data-result="ok"]`);
  await page.waitForSelector(box, { state: 'detached' });
}

test('defaults, then an interval confirmed with OK reloads the orders and comes back on reopening',
  { skip }, async (t) => {
    const { page } = await openFilter(t);
    await shot(page, 'filtro-01-inicio.png');
    for (const name of ['rbtTNrPedido', 'rbtTCliente', 'rbtTMuniciCli', 'rbtTVendedor', 'rbtTVendComis',
      'chbPPendente', 'chbBaixa', 'chbNormal', 'chbAlta', 'chbUrgente', 'chbPrioritaria'])
      assert.ok(await checked(page, name), `${name} checked`);
    for (const name of ['chbPAndamento', 'chbPParcialmente', 'rbtIntervalo'])
      assert.ok(!(await checked(page, name)), `${name} unchecked`);
    assert.ok(!(await enabled(page, 'medDeIntervalo')));
    assert.equal(await page.locator(inFiltro('grbProduto')).count(), 0, 'the product criterion is never shown');

    await page.click(inFiltro('rbtIntervalo'));
    await page.waitForSelector(`${inFiltro('medDeIntervalo')}.focused`);
    await page.keyboard.type('3');
    await page.keyboard.press('Tab');
    await page.keyboard.type('12');
    await shot(page, 'filtro-02-intervalo.png');
    await confirmFilter(page);
    const orders = await orderNumbers(page);
    assert.ok(orders.length > 0, 'some pending order lies in the interval');
    for (const nr of orders) assert.ok(nr >= '0000000003' && nr <= '0000000012', `${nr} in the interval`);

    await reopenFilter(page);
    assert.ok(await checked(page, 'rbtIntervalo'));
    assert.ok(await enabled(page, 'medDeIntervalo'));
    assert.match(await page.locator(inFiltro('medDeIntervalo')).textContent(), /0000000003/);
    assert.match(await page.locator(inFiltro('medAteIntervalo')).textContent(), /0000000012/);
  });

test('a broken rule shows its message, keeps the dialog open and focuses its control',
  { skip }, async (t) => {
    const { page } = await openFilter(t);
    for (const name of ['chbBaixa', 'chbNormal', 'chbAlta', 'chbUrgente', 'chbPrioritaria'])
      await page.click(inFiltro(name));
    await page.click(inFiltro('sbtConfirma'));
    await expectMessage(page, 'Prioridade deve ser informada.');
    await shot(page, 'filtro-03-prioridade.png');
    await dismissMessage(page);
    await page.waitForSelector(`${inFiltro('chbNormal')}.focused`);

    await page.click(inFiltro('depDeEmissao'));
    await page.keyboard.type('31022004');
    await page.keyboard.press('Tab');
    await expectMessage(page, "'31/02/2004' não é uma data válida.");
    await dismissMessage(page);
    await page.waitForSelector(`${inFiltro('depDeEmissao')}.focused`);
    assert.equal(await page.locator(filtro).count(), 1);
  });

test('F9 on the customer list choice opens the pick list; the picked customer filters the orders; Ctrl+D undoes',
  { skip }, async (t) => {
    const { page } = await openFilter(t);
    await page.click(inFiltro('rbtLCliente'));
    await page.waitForSelector(`${inFiltro('sbtCliente')}:not(.disabled)`);
    await page.keyboard.press('F9');
    await page.waitForSelector('.picklist .pl-row');
    await shot(page, 'filtro-04-clientes.png');
    const first = page.locator('.picklist .pl-row').first();
    const customer = await first.getAttribute('data-key');
    await first.click();
    await page.click('.picklist [data-result="ok"]');
    await page.waitForSelector('.picklist', { state: 'detached' });
    await confirmFilter(page);
    await orderNumbers(page);
    const customers = await page.locator(`${inConf('dbgPadrao')} [role="row"][aria-rowindex] [role="gridcell"][data-field="NMFANTCLIE"]`)
      .allTextContents();
    assert.ok(new Set(customers).size <= 1, `one customer only: ${[...new Set(customers)]}`);

    await reopenFilter(page);
    assert.ok(await checked(page, 'rbtLCliente'), `the list of ${customer} comes back`);
    await page.click(inFiltro('chbPAndamento'));
    await page.keyboard.press('Control+d');
    await page.waitForSelector(`${inFiltro('rbtTCliente')} .checked`);
    assert.ok(!(await enabled(page, 'sbtCliente')));
    assert.ok(!(await checked(page, 'chbPAndamento')));
    assert.ok(await checked(page, 'chbPParcialmente'), 'Desfazer checks "Parc. Atendido"');
  });

// Waits until the date box shows the text.
const shows = (page, name, want) => page.waitForFunction(([sel, text]) =>
  document.querySelector(sel)?.textContent === text, [`${inFiltro(name)} .edit-text`, want]);

test('a day picked from the calendar of "Data Pedido de" is typed into it; the keys pick "até"',
  { skip }, async (t) => {
    const { page } = await openFilter(t);
    const calendar = page.locator('[data-role="calendar"]');
    const text = (name) => page.locator(`${inFiltro(name)} .edit-text`).textContent();
    // The demo's orders lie in the weeks before 10/06/2024: the box holds a
    // day of June, the calendar opens on it.
    await page.click(inFiltro('depDeEmissao'));
    await page.keyboard.type('01062024');
    await shows(page, 'depDeEmissao', '01/06/2024');
    await page.click(inFiltro('rbtTCliente'));  // the pick brings the focus back
    await page.waitForSelector(`${inFiltro('rbtTCliente')}.focused`);
    await page.click(`${inFiltro('depDeEmissao')} [data-act="calendar"]`);
    await calendar.waitFor();
    assert.deepEqual(await calendar.locator('.cal-wd').allTextContents(),
      ['Dom', 'Seg', 'Ter', 'Qua', 'Qui', 'Sex', 'Sáb']);
    assert.equal(await calendar.locator('.cal-month').textContent(), 'Junho 2024');
    assert.equal(await calendar.locator('.cal-day.hot').getAttribute('data-date'), '01/06/2024');
    await calendar.locator('[data-act="cal-prev"]').click();
    await page.waitForSelector('[data-role="calendar"] .cal-month:text("Maio 2024")');
    await shot(page, 'filtro-05-calendario.png');
    await calendar.locator('.cal-day[data-date="20/05/2024"]').click();
    await calendar.waitFor({ state: 'detached' });
    await page.waitForSelector(`${inFiltro('depDeEmissao')}.focused`);
    assert.equal(await text('depDeEmissao'), '20/05/2024');

    await page.click(inFiltro('depAteEmissao'));
    await page.keyboard.type('01062024');
    await shows(page, 'depAteEmissao', '01/06/2024');
    await page.keyboard.press('Alt+ArrowDown');
    await calendar.waitFor();
    for (const key of ['End', 'ArrowLeft', 'ArrowDown', 'ArrowUp', 'Enter']) await page.keyboard.press(key);
    await calendar.waitFor({ state: 'detached' });
    await shows(page, 'depAteEmissao', '29/06/2024');
    await confirmFilter(page);
    assert.ok((await orderNumbers(page)).length > 0, 'orders placed in the picked weeks');
  });
