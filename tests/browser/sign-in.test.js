// Signing in on the host's page, the whole system running: a wrong
// password, then the right one and the confirmation screen; "Sair" back to
// the sign-in window; a session ended elsewhere sends the operator back
// there too.

import test from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import path from 'node:path';
import { watchErrors, screenshotPath } from './support/browser.js';
import { systemAvailable, startSystem, BUILD_DIR, sharedBrowserAndDatabase } from './support/system.js';

const skip = systemAvailable() ? false : 'appserver, host or module not built (BUILD_DIR)';
const login = '[data-form="frmLogin"]';
const conf = '[data-form="frmConfPedido"]';
const filtro = '[data-form="frmFiltroConfPedido"]';
const box = '[data-role="messagebox"]';
const field = (name) => `${login} [data-name="${name}"]`;

const files = sharedBrowserAndDatabase(skip);

async function dismiss(page, expected) {
  await page.waitForSelector(box);
  assert.match(await page.locator(box).textContent(), expected);
  await page.click(`${box} [data-result="ok"]`);
  await page.waitForSelector(box, { state: 'detached' });
}

// Types the password into the focused password box and presses Enter.
async function enter(page, password) {
  await page.waitForSelector(`${field('edtSenha')}.focused`);
  assert.equal(await page.locator(field('edtSenha')).textContent(), '', 'the password starts empty');
  await page.keyboard.type(password);
  await page.waitForFunction(([s, shown]) => document.querySelector(s)?.textContent === shown,
    [field('edtSenha'), '*'.repeat(password.length)]);
  await page.keyboard.press('Enter');
}

// The filter that opens by itself is cancelled; the screen stays.
async function reachScreen(page) {
  await page.waitForSelector(login, { state: 'detached' });
  await page.waitForSelector(`${conf}`);
  await page.waitForSelector(filtro);
  await page.click(`${filtro} [data-name="sbtCancel"]`);
  await page.waitForSelector(filtro, { state: 'detached' });
}

test('sign-in: a wrong password is refused, the right one opens the screen, "Sair" comes back',
  { skip }, async (t) => {
    const system = await startSystem({ db: files.database.db, operator: 'CARLOS', branch: '0001', fixed: true });
    const page = await files.browser.context.newPage();
    const errors = watchErrors(page);
    t.after(async () => { await page.close(); await system.stop(); });

    await page.goto(system.url);
    assert.equal(new URL(page.url()).search, '', 'the key left the address bar');
    await page.waitForSelector(`html[data-state="open"] ${login}`);
    assert.match(await page.locator(`${login} .title-text`).first().textContent(), /Acesso ao Sistema/);
    assert.equal(await page.locator(field('edtOperador')).textContent(), 'CARLOS');
    await page.screenshot({ path: screenshotPath('sign-in.png') });

    await enter(page, 'errada');
    await dismiss(page, /Operador ou senha inválidos\./);
    await enter(page, 'demo');
    await reachScreen(page);
    await page.screenshot({ path: screenshotPath('sign-in-screen.png') });

    await page.click('.menubar [data-menu="mnuModulos"]');
    await page.click('#popups [data-menu="mnuSair"]');
    await page.waitForSelector(conf, { state: 'detached' });
    assert.equal(await page.locator(field('edtOperador')).textContent(), 'CARLOS');
    await enter(page, 'demo');
    await reachScreen(page);
    assert.deepEqual(errors, [], 'script errors on the page');
  });

test('a session ended on the server sends the operator back to sign in', { skip }, async (t) => {
  const system = await startSystem({ db: files.database.db, operator: 'DANIELA', branch: '0001', fixed: true });
  const page = await files.browser.context.newPage();
  t.after(async () => { await page.close(); await system.stop(); });
  await page.goto(system.url);
  await enter(page, 'demo');
  await reachScreen(page);
  // A new password ends her sessions.
  const passwd = spawnSync(path.join(BUILD_DIR, 'appserver/appserver'),
    ['passwd', '--db', files.database.db, '--operator', 'DANIELA'], { input: 'demo\n', encoding: 'utf8', timeout: 20000 });
  assert.equal(passwd.status, 0, passwd.stderr);
  await page.click(`${conf} [data-name="sbtVerificar"]`);
  await dismiss(page, /Sessão inválida ou expirada\. Entre novamente\./);
  await page.waitForSelector(`${field('edtSenha')}.focused`);
  assert.equal(await page.locator(conf).count(), 0, 'the module window closed');
});
