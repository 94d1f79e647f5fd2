// The host's page is the operator's alone: its key becomes a cookie, and
// requests without it, from a rebound name or from a foreign page are
// refused without touching the operator's page. Node's fetch cannot forge
// a Host header, so the requests go through node:http.

import test, { before, after } from 'node:test';
import assert from 'node:assert/strict';
import http from 'node:http';
import { launchBrowser } from './support/browser.js';
import { hostAvailable, HOST_PATH, withTestForm } from './support/host-process.js';

const skip = hostAvailable() ? false : `test host not built: ${HOST_PATH}`;
let browser;

before(async () => {
  if (!skip) browser = await launchBrowser();
});
after(async () => {
  if (browser) await browser.close();
});

// One request to the host; an event stream is cut once its head is in.
// Resolves to {status, headers, body}, within `timeoutMs`.
function hit(host, { method = 'GET', path = '/', headers = {}, body, timeoutMs = 5000 }) {
  return new Promise((resolve, reject) => {
    const req = http.request({ host: '127.0.0.1', port: host.port, method, path, headers, timeout: timeoutMs }, (res) => {
      let text = '';
      if (String(res.headers['content-type']).startsWith('text/event-stream')) {
        res.destroy();
        resolve({ status: res.statusCode, headers: res.headers, body: '' });
        return;
      }
      res.setEncoding('utf8');
      res.on('data', (d) => { text += d; });
      res.on('end', () => resolve({ status: res.statusCode, headers: res.headers, body: text }));
    });
    req.on('timeout', () => req.destroy(new Error(`${method} ${path}: no answer in ${timeoutMs} ms`)));
    req.on('error', reject);
    req.end(body);
  });
}

const withPage = (run) => withTestForm(browser, run);

const editText = '[data-name="edtNome"] .edit-text';
const waitEdit = (page, text) => page.waitForFunction(([s, t]) => document.querySelector(s)?.textContent === t,
  [editText, text], { timeout: 5000 });

test('the key is exchanged for an HttpOnly, SameSite=Strict cookie and leaves the address', { skip }, async () => {
  await withPage(async ({ page, host }) => {
    assert.equal(page.url(), host.base, 'the address bar keeps no key');
    const cookie = (await browser.context.cookies(host.base)).find((c) => c.name === `chave_${host.port}`);
    assert.deepEqual([cookie?.httpOnly, cookie?.sameSite, cookie?.path], [true, 'Strict', '/']);
    for (const path of ['/', '/app.js']) {
      const keyed = await hit(host, { path: `${path}?chave=${host.key}`, headers: { Host: `127.0.0.1:${host.port}` } });
      assert.equal(keyed.status, 303, path);
      assert.equal(keyed.headers.location, path);
      const [setCookie] = keyed.headers['set-cookie'];
      const [pair, ...flags] = setCookie.split(';').map((s) => s.trim());
      assert.equal(pair, host.cookie);
      assert.deepEqual(flags.sort(), ['HttpOnly', 'Path=/', 'SameSite=Strict']);
      for (const name of ['127.0.0.1', 'localhost']) {
        const res = await hit(host, { path, headers: { Host: `${name}:${host.port}`, Cookie: pair } });
        assert.equal(res.status, 200, `${path} from ${name}`);
      }
    }
  });
});

test('requests without the key, from a rebound name or a foreign page are refused and change nothing', { skip }, async () => {
  await withPage(async ({ page, host }) => {
    const posted = [];
    page.on('request', (r) => { if (r.url().endsWith('/input')) posted.push(r.postDataJSON()); });
    await page.click('[data-name="edtNome"]');
    await page.keyboard.type('Ana');
    await waitEdit(page, 'Ana');
    // An input the host would take: the page's own session, one more letter.
    const input = JSON.stringify({ session: posted.at(-1).session, event: { type: 'char', form: 'frmTeste', text: 'X' } });
    const own = { Host: `127.0.0.1:${host.port}`, Origin: `http://127.0.0.1:${host.port}`, 'Content-Type': 'application/json' };
    const evil = `evil.example:${host.port}`;
    const wrongKey = host.key.slice(0, -1) + (host.key.endsWith('A') ? 'B' : 'A');
    const refused = [
      ['no key: the page', { path: '/', headers: { Host: own.Host } }],
      ['no key: its script', { path: '/app.js', headers: { Host: own.Host } }],
      ['no key: its font', { path: '/font/sans.ttf', headers: { Host: own.Host } }],
      ['no key: the stream', { path: '/events', headers: { Host: own.Host } }],
      ['no key: input', { method: 'POST', path: '/input', headers: own, body: input }],
      ['a wrong key', { path: `/?chave=${wrongKey}`, headers: { Host: own.Host } }],
      ['rebound name: the page', { path: '/', headers: { Host: evil, Cookie: host.cookie } }],
      ['rebound name: the stream', { path: '/events', headers: { Host: evil, Cookie: host.cookie } }],
      ['rebound name: input', { method: 'POST', path: '/input', headers: { ...own, Host: evil, Cookie: host.cookie }, body: input }],
      ['foreign page: input', { method: 'POST', path: '/input', headers: { ...own, Origin: 'http://evil.example', Cookie: host.cookie }, body: input }],
    ];
    for (const [what, request] of refused) {
      const res = await hit(host, request);
      assert.equal(res.status, 403, what);
      assert.match(res.body, /^Acesso negado/, what);
    }
    // The same input with the cookie goes through, after every refused
    // one: had any reached the form, the edit would hold more than one X.
    const accepted = await hit(host, { method: 'POST', path: '/input', headers: { ...own, Cookie: host.cookie }, body: input });
    assert.equal(accepted.status, 200);
    await waitEdit(page, 'AnaX');
    assert.equal(await page.evaluate(() => document.documentElement.dataset.state), 'open', 'no takeover');
  });
});
