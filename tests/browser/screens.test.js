// Every state of the job an operator passes through, checked by axe-core
// for accessibility and photographed at the two common screen sizes
// (screenshots under build/screenshots, or SCREENSHOT_DIR): the screen at
// start, a message box, the filter dialog, a pick list, the order list
// and the item page. Prints one line "AXE <state> critical=N serious=N
// other=N" per state.

import test from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { createRequire } from 'node:module';
import { watchErrors, screenshotPath } from './support/browser.js';
import { systemAvailable, startSystem, sharedBrowserAndDatabase, signIn } from './support/system.js';

const skip = systemAvailable() ? false : 'appserver, host or module not built (BUILD_DIR)';
const AXE = path.join(path.dirname(createRequire(import.meta.url).resolve('axe-core')), 'axe.min.js');
const conf = '[data-form="frmConfPedido"]';
const filtro = '[data-form="frmFiltroConfPedido"]';
const box = '[data-role="messagebox"]';
const SIZES = [[1366, 768], [1920, 1080]];

const files = sharedBrowserAndDatabase(skip);

// axe's findings on the page as it stands, by impact. Contrast of the
// grids' specified status colours is reported apart (`contrast`).
async function audit(page) {
  if (!(await page.evaluate(() => typeof window.axe === 'object'))) await page.addScriptTag({ path: AXE });
  const violations = await page.evaluate(async () => (await window.axe.run(document,
    { resultTypes: ['violations'] })).violations.map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.length,
    targets: v.nodes.slice(0, 3).map((n) => n.target.join(' ')) })));
  const count = { critical: 0, serious: 0, other: 0, contrast: 0 };
  for (const v of violations) {
    if (v.id === 'color-contrast' && v.targets.every((t) => /dbg|grid/.test(t))) count.contrast += v.nodes;
    else count[v.impact === 'critical' || v.impact === 'serious' ? v.impact : 'other'] += v.nodes;
  }
  return { count, violations };
}

async function visit(page, state, findings) {
  await page.waitForSelector('[data-role="busy"]', { state: 'detached' });
  const { count, violations } = await audit(page);
  console.log(`AXE ${state} critical=${count.critical} serious=${count.serious} other=${count.other}` +
    ` grid-contrast=${count.contrast}`);
  findings.push({ state, count, violations });
  for (const [w, h] of SIZES) {
    await page.setViewportSize({ width: w, height: h });
    await page.waitForTimeout(150);
    await page.screenshot({ path: screenshotPath(`tela-${state}-${w}x${h}.png`) });
  }
  await page.setViewportSize({ width: SIZES[0][0], height: SIZES[0][1] });
}

test('six states of the job: no critical or serious accessibility violation, screenshots at two sizes',
  { skip }, async (t) => {
    const system = await startSystem({ db: files.database.db, operator: 'CARLOS', branch: '0001' });
    const page = await files.browser.context.newPage();
    const errors = watchErrors(page);
    t.after(async () => { await page.close(); await system.stop(); });
    await page.setViewportSize({ width: SIZES[0][0], height: SIZES[0][1] });
    await page.goto(system.url);
    await signIn(page);
    await page.waitForSelector(`html[data-state="open"][data-fonts="ready"] ${conf} [data-name="medCdFilial"].focused`);
    const findings = [];
    await visit(page, 'inicio', findings);

    for (let i = 0; i < 4; i++) await page.keyboard.press('Backspace');
    await page.keyboard.press('Tab');
    await page.waitForSelector(box);
    await visit(page, 'mensagem', findings);
    await page.keyboard.press('Enter');
    await page.waitForSelector(box, { state: 'detached' });
    await page.keyboard.type('0001');
    await page.keyboard.press('Tab');
    await page.waitForSelector(filtro);
    await visit(page, 'filtro', findings);

    await page.click(`${filtro} [data-name="rbtLCliente"]`);
    await page.waitForSelector(`${filtro} [data-name="sbtCliente"]:not(.disabled)`);
    await page.keyboard.press('F9');
    await page.waitForSelector('.picklist .pl-row');
    await visit(page, 'lista', findings);
    await page.click('.picklist [data-result="cancel"]');
    await page.waitForSelector('.picklist', { state: 'detached' });
    await page.click(`${filtro} [data-name="rbtTCliente"]`);
    await page.click(`${filtro} [data-name="sbtConfirma"]`);
    await page.waitForSelector(filtro, { state: 'detached' });

    await page.click(`${conf} [data-name="sbtVerificar"]`);
    await page.waitForFunction((s) => document.querySelectorAll(`${s} [role="row"][aria-rowindex]`).length > 5,
      `${conf} [data-name="dbgPadrao"]`);
    await visit(page, 'pedidos', findings);
    await page.click(`${conf} [role="tab"][data-page="tshItemPedido"]`);
    await page.waitForSelector(`${conf} [role="tab"][data-page="tshItemPedido"][aria-selected="true"]`);
    await visit(page, 'itens', findings);

    const bad = findings.filter((f) => f.count.critical || f.count.serious);
    assert.deepEqual(bad.map((f) => ({ state: f.state, violations: f.violations })), []);
    assert.deepEqual(errors, [], 'script errors on the page');
  });
