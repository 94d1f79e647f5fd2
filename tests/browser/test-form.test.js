// The page against the real host: the test host's form "frmTeste" driven
// through headless Chromium as an operator would. Each test gets a fresh
// host (a clean model); the browser is shared by the file.

import test, { before, after } from 'node:test';
import assert from 'node:assert/strict';
import { launchBrowser, watchErrors, screenshotPath } from './support/browser.js';
import { startHost, hostAvailable, HOST_PATH, withTestForm } from './support/host-process.js';

const skip = hostAvailable() ? false : `test host not built: ${HOST_PATH}`;
let browser;
// Hosts stop in the background (each within a bounded wait); the file
// waits for all of them at the end.
const stopping = [];

before(async () => {
  if (!skip) browser = await launchBrowser();
});
after(async () => {
  if (browser) await browser.close();
  await Promise.all(stopping);
});

const withForm = (run) => withTestForm(browser, run, stopping);

const sel = (name) => `[data-name="${name}"]`;

// Waits (bounded) until the element's text is `expected`; fails showing
// what it was.
async function waitText(page, selector, expected, timeout = 5000) {
  try {
    await page.waitForFunction(([s, t]) => {
      const e = document.querySelector(s);
      return !!e && e.textContent === t;
    }, [selector, expected], { timeout });
  } catch {
    const actual = await page.evaluate((s) => document.querySelector(s)?.textContent ?? null, selector);
    assert.equal(actual, expected, `text of ${selector}`);
  }
}

const echo = (page, text) => waitText(page, sel('lblEco'), text);
const editText = (page, name) => page.locator(`${sel(name)} .edit-text`).textContent();

test('the test form is drawn from the model', { skip }, async () => {
  await withForm(async ({ page }) => {
    const win = page.locator('[data-form="frmTeste"]');
    assert.equal(await win.locator('.titlebar .title-text').textContent(), 'Formulário de Teste');
    assert.equal(await page.title(), 'Formulário de Teste');
    for (const name of ['edtNome', 'medFilial', 'chbAtivo', 'grbOpcoes', 'rbtA', 'rbtB', 'sbtPerguntar', 'sbtLista',
      'sbtDialogo', 'pgcPaginas', 'tshUm', 'dbgLista', 'lblEco']) {
      assert.equal(await win.locator(sel(name)).count(), 1, `${name} is on the page`);
    }
    // The inactive sheet is not shown; the group box holds its radios.
    assert.equal(await page.locator(sel('tshDois')).count(), 0);
    assert.equal(await page.locator(`${sel('grbOpcoes')} ${sel('rbtA')}`).count(), 1);
    // Bounds are pixels relative to the parent.
    const form = await win.locator('.client').boundingBox();
    const edit = await page.locator(sel('edtNome')).boundingBox();
    assert.deepEqual([edit.x - form.x, edit.y - form.y, edit.width, edit.height], [16, 16, 150, 21]);
    assert.equal(await page.locator(`${sel('rbtA')} .radio-mark.checked`).count(), 1);
    assert.equal(await page.locator(`${sel('rbtB')} .radio-mark.checked`).count(), 0);
    // The menu title with its accelerator, and the focused edit's caret.
    assert.equal(await win.locator('.menubar [data-menu="mnuTeste"] u').textContent(), 'T');
    assert.equal(await page.locator(`${sel('edtNome')}.focused .caret`).count(), 1);
    assert.deepEqual(await page.locator(`${sel('pgcPaginas')} .tab`).allTextContents(), ['Um', 'Dois']);
    await page.screenshot({ path: screenshotPath('formulario-teste.png') });
  });
});

test('typing into an edit and a masked edit', { skip }, async () => {
  await withForm(async ({ page }) => {
    await page.click(sel('edtNome'));
    await page.keyboard.type('João da Silva');
    await waitText(page, `${sel('edtNome')} .edit-text`, 'João da Silva');
    await page.keyboard.press('Backspace');
    await page.keyboard.press('Backspace');
    await waitText(page, `${sel('edtNome')} .edit-text`, 'João da Sil');
    // The mask forces upper case and takes four characters at most.
    await page.click(sel('medFilial'));
    await page.keyboard.type('sp01x');
    await waitText(page, `${sel('medFilial')} .edit-text`, 'SP01');
    assert.equal(await editText(page, 'edtNome'), 'João da Sil');
  });
});

test('Tab moves the focus; a refusing exit handler keeps it and shows the error', { skip }, async () => {
  await withForm(async ({ page }) => {
    // Tab goes to the host, not to the browser: the focus leaves the edit.
    await page.click(sel('edtNome'));
    await page.waitForSelector(`${sel('edtNome')}.focused`);
    await page.keyboard.press('Tab');
    await page.waitForSelector(`${sel('edtNome')}:not(.focused)`);
    // Leaving the empty branch field is refused.
    await page.click(sel('medFilial'));
    await page.waitForSelector(`${sel('medFilial')}.focused`);
    await page.keyboard.press('Tab');
    const box = page.locator('[data-role="messagebox"]');
    await box.waitFor();
    assert.equal(await box.locator('[data-role="message-text"]').textContent(), 'Filial deve ser informada.');
    assert.deepEqual(await box.locator('[data-result]').evaluateAll((bs) => bs.map((b) => [b.dataset.result, b.textContent])),
      [['ok', 'OK']]);
    await box.locator('[data-result="ok"]').click();
    await box.waitFor({ state: 'detached' });
    assert.equal(await page.locator(`${sel('medFilial')}.focused`).count(), 1, 'the focus stayed in the branch field');
    assert.equal(await page.locator(`${sel('chbAtivo')}.focused`).count(), 0);
    // Browser focus did not wander off either: typing still reaches the field.
    await page.keyboard.type('mg');
    await waitText(page, `${sel('medFilial')} .edit-text`, 'MG  ');
    await page.keyboard.press('Tab');
    await page.waitForSelector(`${sel('chbAtivo')}.focused`);
    // Shift+Tab goes back.
    await page.keyboard.press('Shift+Tab');
    await page.waitForSelector(`${sel('medFilial')}.focused`);
  });
});

test('check box and radio buttons', { skip }, async () => {
  await withForm(async ({ page }) => {
    await page.click(sel('chbAtivo'));
    await echo(page, 'Ativo: S');
    assert.equal(await page.locator(`${sel('chbAtivo')} .check-mark.checked`).count(), 1);
    await page.click(sel('chbAtivo'));
    await echo(page, 'Ativo: N');
    assert.equal(await page.locator(`${sel('chbAtivo')} .check-mark.checked`).count(), 0);

    await page.click(sel('rbtB'));
    await echo(page, 'Opção B');
    await page.waitForSelector(`${sel('rbtB')} .radio-mark.checked`);
    assert.equal(await page.locator(`${sel('rbtA')} .radio-mark.checked`).count(), 0);
    await page.click(sel('rbtA'));
    await echo(page, 'Opção A');
  });
});

test('a question answered through the page; nothing behind it takes input', { skip }, async () => {
  await withForm(async ({ page }) => {
    await page.click(sel('sbtPerguntar'));
    const box = page.locator('[data-role="messagebox"]');
    await box.waitFor();
    assert.equal(await box.locator('[data-role="message-text"]').textContent(), 'Deseja continuar?');
    assert.deepEqual(await box.locator('[data-result]').allTextContents(), ['Sim', 'Não']);
    // A click on the form behind lands on the shade.
    await page.mouse.click(...(await centre(page, sel('chbAtivo'))));
    await page.keyboard.press('Control+L');
    await box.locator('[data-result="no"]').click();
    await echo(page, 'Não');
    await box.waitFor({ state: 'detached' });
    assert.equal(await page.locator(`${sel('chbAtivo')} .check-mark.checked`).count(), 0, 'the check box was not clicked');

    // Answered from the keyboard: Enter takes the first button.
    await page.click(sel('sbtPerguntar'));
    await box.waitFor();
    await page.keyboard.press('Enter');
    await echo(page, 'Sim');
  });
});

async function centre(page, selector) {
  const b = await page.locator(selector).boundingBox();
  return [b.x + b.width / 2, b.y + b.height / 2];
}

test('the grid: drawn texts in the accessible table, clicks and arrows move the row', { skip }, async () => {
  await withForm(async ({ page }) => {
    const rows = page.locator(`${sel('dbgLista')} [role="grid"] [role="row"][aria-rowindex]`);
    await page.waitForFunction((s) => document.querySelectorAll(s).length === 5, `${sel('dbgLista')} [role="row"][aria-rowindex]`);
    const texts = await rows.evaluateAll((rs) => rs.map((r) => [r.getAttribute('aria-rowindex'),
      ...[...r.querySelectorAll('[role="gridcell"]')].map((c) => `${c.dataset.field}=${c.textContent}`)]));
    assert.deepEqual(texts, [
      ['1', 'CODIGO=001', 'NOME=Ana'], ['2', 'CODIGO=002', 'NOME=Bruno'], ['3', 'CODIGO=003', 'NOME=Carla'],
      ['4', 'CODIGO=004', 'NOME=Davi'], ['5', 'CODIGO=005', 'NOME=Eva'],
    ]);
    // The draw handler paints the codes blue: blue pixels in the first
    // data row's code cell, none in its name cell.
    const blue = await page.evaluate((s) => {
      const canvas = document.querySelector(`${s} canvas`);
      const ratio = canvas.width / canvas.getBoundingClientRect().width;
      const ctx = canvas.gridContext || canvas.getContext('2d');
      const count = (x, y, w, h) => {
        const d = ctx.getImageData(x * ratio, y * ratio, w * ratio, h * ratio).data;
        let n = 0;
        for (let i = 0; i < d.length; i += 4) if (d[i + 2] > 180 && d[i] < 90 && d[i + 1] < 90) n++;
        return n;
      };
      return { code: count(14, 19, 60, 18), name: count(80, 19, 140, 18) };
    }, sel('dbgLista'));
    assert.ok(blue.code > 10, `blue code text drawn (${blue.code} pixels)`);
    assert.equal(blue.name, 0);

    // Title 18 pixels and a line, then rows of 18 and a line: row 3 is at y 57..75.
    const grid = await page.locator(sel('dbgLista')).boundingBox();
    await page.mouse.click(grid.x + 60, grid.y + 19 + 2 * 19 + 9);
    await echo(page, 'Linha: 3');
    await page.waitForSelector(`${sel('dbgLista')} [role="row"][aria-rowindex="3"][aria-selected="true"]`);
    await page.keyboard.press('ArrowDown');
    await echo(page, 'Linha: 4');
    await page.keyboard.press('ArrowUp');
    await page.keyboard.press('ArrowUp');
    await echo(page, 'Linha: 2');
  });
});

test('a tab click changes the page', { skip }, async () => {
  await withForm(async ({ page }) => {
    await page.click(`${sel('pgcPaginas')} .tab[data-page="tshDois"]`);
    await echo(page, 'Página: Dois');
    await page.waitForSelector(`${sel('pgcPaginas')} .tab[data-page="tshDois"][aria-selected="true"]`);
    assert.equal(await page.locator(sel('tshUm')).count(), 0);
    assert.equal(await page.locator(sel('tshDois')).count(), 1);
  });
});

test('the menu: its shortcut key and a choice with the mouse', { skip }, async () => {
  await withForm(async ({ page }) => {
    await page.click(sel('edtNome'));
    await page.keyboard.type('Ana');
    await waitText(page, `${sel('edtNome')} .edit-text`, 'Ana');
    await page.keyboard.press('Control+L');
    await echo(page, 'Limpo');
    await waitText(page, `${sel('edtNome')} .edit-text`, '');

    await page.click(sel('chbAtivo'));
    await echo(page, 'Ativo: S');
    await page.click('[data-form="frmTeste"] .menubar [data-menu="mnuTeste"]');
    const item = page.locator('#popups .menu-pop [data-menu="mnuLimpar"]');
    await item.waitFor();
    assert.equal(await item.locator('.mi-caption').textContent(), 'Limpar');
    assert.equal(await item.locator('.mi-shortcut').textContent(), 'Ctrl+L');
    await item.click();
    await echo(page, 'Limpo');
    assert.equal(await page.locator('#popups .menu-pop').count(), 0, 'the menu closed');

    // From the keyboard: Alt+T opens it, Enter chooses the first item.
    await page.click(sel('chbAtivo'));
    await echo(page, 'Ativo: N');
    await page.keyboard.press('Alt+t');
    await item.waitFor();
    await page.keyboard.press('Enter');
    await echo(page, 'Limpo');
  });
});

test('the pick list: search, tick, OK and cancel', { skip }, async () => {
  await withForm(async ({ page }) => {
    await page.click(sel('sbtLista'));
    const list = page.locator('[data-role="picklist"]');
    await list.waitFor();
    assert.equal(await list.locator('.titlebar').textContent(), 'Cidades');
    const rowKeys = () => list.locator('.pl-row').evaluateAll((rs) => rs.map((r) => r.dataset.key));
    assert.deepEqual(await rowKeys(), ['SP', 'RJ', 'MG', 'BA']);
    assert.equal(await list.locator('.pl-row[data-key="SP"]').textContent(), 'SPSão Paulo');
    // The search narrows the rows (accents and case do not matter).
    await list.locator('[data-role="search"]').fill('MINAS');
    assert.deepEqual(await rowKeys(), ['MG']);
    await list.locator('.pl-row[data-key="MG"]').click();
    await list.locator('[data-role="search"]').fill('');
    await list.locator('.pl-row[data-key="BA"]').click();
    await list.locator('.pl-row[data-key="SP"]').click();
    await list.locator('.pl-row[data-key="SP"]').click();  // and off again
    assert.deepEqual(await list.locator('.pl-row[aria-selected="true"]').evaluateAll((rs) => rs.map((r) => r.dataset.key)), ['MG', 'BA']);
    await list.locator('[data-result="ok"]').click();
    await echo(page, 'MG,BA');
    await list.waitFor({ state: 'detached' });

    await page.click(sel('sbtLista'));
    await list.waitFor();
    await list.locator('[data-result="cancel"]').click();
    await echo(page, 'cancelado');

    // Esc cancels too.
    await page.click(sel('sbtLista'));
    await list.waitFor();
    await page.mouse.click(...(await centre(page, sel('chbAtivo'))));
    await page.keyboard.press('Escape');
    await echo(page, 'cancelado');
    assert.equal(await page.locator(`${sel('chbAtivo')} .check-mark.checked`).count(), 0, 'nothing behind the list took the click');
  });
});

test('a modal dialog form: dims the form behind, takes the typing, OK closes it', { skip }, async () => {
  await withForm(async ({ page }) => {
    await page.click(sel('sbtDialogo'));
    const dialog = page.locator('[data-form="frmDialogo"]');
    await dialog.waitFor();
    assert.equal(await dialog.locator('.titlebar .title-text').textContent(), 'Diálogo');
    assert.equal(await page.locator('.modal-shade').count(), 1);
    assert.equal(await page.locator('[data-form="frmTeste"].inactive').count(), 1);
    // The form behind takes no click.
    await page.mouse.click(...(await centre(page, sel('chbAtivo'))));
    await page.keyboard.type('42');
    await waitText(page, `${sel('edtValor')} .edit-text`, '42');
    await dialog.locator(sel('btnOk')).click();
    await echo(page, 'Valor: 42');
    await dialog.waitFor({ state: 'detached' });
    assert.equal(await page.locator('.modal-shade').count(), 0);
    assert.equal(await page.locator(`${sel('chbAtivo')} .check-mark.checked`).count(), 0);
  });
});

test('a second page takes the session over; the first one stops sending', { skip }, async () => {
  await withForm(async ({ page, host }) => {
    const second = await browser.context.newPage();
    try {
      await second.goto(host.url);
      await second.waitForSelector('html[data-state="open"] [data-name="chbAtivo"]');
      await page.waitForSelector('html[data-state="takenover"]');
      assert.match(await page.locator('#status').textContent(), /Esta sessão foi aberta em outra janela\./);
      await page.click(sel('chbAtivo'));
      await second.click(sel('rbtB'));
      await waitText(second, sel('lblEco'), 'Opção B');
      assert.equal(await second.locator(`${sel('chbAtivo')} .check-mark.checked`).count(), 0,
        'the first page\'s click did not reach the host');
    } finally {
      await second.close();
    }
  });
});

test('a host that goes away is reported and the page comes back with it', { skip }, async () => {
  const first = await startHost();
  const page = await browser.context.newPage();
  const errors = watchErrors(page);
  let second = null;
  try {
    await page.goto(first.url);
    await page.waitForSelector('html[data-state="open"] [data-name="chbAtivo"]');
    await first.kill();
    await page.waitForSelector('html[data-state="down"]');
    assert.equal(await page.locator('#status').textContent(),
      'Não foi possível conectar ao programa. Tentando novamente...');
    // The stale screen stays on show meanwhile.
    assert.equal(await page.locator(sel('chbAtivo')).count(), 1);
    second = await startHost(first.port, { key: first.key });
    await page.waitForSelector('html[data-state="open"]', { timeout: 15000 });
    assert.equal(await page.locator('#status').isHidden(), true);
    await page.click(sel('chbAtivo'));
    await echo(page, 'Ativo: S');
    assert.deepEqual(errors, []);
  } finally {
    await page.close();
    if (second) stopping.push(second.stop());
    stopping.push(first.stop());
  }
});

test('texts measure the same on the host and on the page, within one pixel', { skip }, async () => {
  await withForm(async ({ page }) => {
    const caption = await page.locator(`${sel('lblLarguras')}`).textContent();
    const expected = caption.split(';').filter(Boolean).map((entry) => {
      const [text, widths] = entry.split('=');
      const [regular, bold] = widths.split('/').map(Number);
      return { text, regular, bold };
    });
    assert.equal(expected.length, 5);
    const measured = await page.evaluate((items) => {
      const ctx = document.createElement('canvas').getContext('2d');
      return items.map(({ text }) => {
        ctx.font = '11px DisplaySans';
        const regular = ctx.measureText(text).width;
        ctx.font = 'bold 11px DisplaySans';
        return { text, regular, bold: ctx.measureText(text).width };
      });
    }, expected);
    for (const [i, want] of expected.entries()) {
      assert.ok(Math.abs(measured[i].regular - want.regular) <= 1, `${want.text}: page ${measured[i].regular}, host ${want.regular}`);
      assert.ok(Math.abs(measured[i].bold - want.bold) <= 1, `${want.text} (negrito): page ${measured[i].bold}, host ${want.bold}`);
    }
  });
});
