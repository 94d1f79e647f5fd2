// Key round trip in the browser, on the whole system: the appserver on a
// large SQLite database, a host signed in as CARLOS on branch 0001, and
// headless Chromium showing the confirmation screen with every order of
// the branch in its grid (about 100,000).
//
//   key   the time from an arrow key pressed in the order grid (ArrowDown
//         and ArrowUp by turns) to the end of the page's drawing of the
//         grid with the moved cursor, measured in the page;
//   bare  the time of one /input post as the page makes it (same URL,
//         cookie, headers and session), with an input that changes
//         nothing (the focus to the grid that has it), from the send to
//         the response.
//
// Prints `FIGURE key_roundtrip_key_ms`, `FIGURE key_roundtrip_bare_ms`
// (medians) and `RATIO key_roundtrip_browser <key/bare>`.
//
//   node bench/key_roundtrip_browser.mjs [--db PATH] [--build DIR] [--keys N]
//
// --build (or BUILD_DIR) names the build with appserver, host and the
// module (default build); --db the SQLite database, by default
// build/bench-data/branch100k.db, made by the appserver's demo
// generator when missing (335,000 orders, a minute or two). Everything
// the script starts runs on 127.0.0.1 and is stopped at its end; the whole
// run is bounded.

import fs from 'node:fs';
import path from 'node:path';
import { spawnSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');

function options(argv) {
  const o = { build: process.env.BUILD_DIR || 'build', db: null, keys: 50, warmup: 10 };
  for (let i = 0; i < argv.length; i++) {
    const value = () => {
      if (i + 1 >= argv.length) throw new Error(`${argv[i]} needs a value`);
      return argv[++i];
    };
    if (argv[i] === '--db') o.db = value();
    else if (argv[i] === '--build') o.build = value();
    else if (argv[i] === '--keys') o.keys = Math.max(50, Number(value()) || 0);
    else throw new Error(`unknown option ${argv[i]}`);
  }
  o.build = path.resolve(root, o.build);
  o.db = path.resolve(root, o.db || 'build/bench-data/branch100k.db');
  return o;
}

const opts = options(process.argv.slice(2));
// The test support reads the build from BUILD_DIR when it is loaded.
process.env.BUILD_DIR = opts.build;
const { launchBrowser } = await import('../tests/browser/support/browser.js');
const { systemAvailable, startSystem, signIn } = await import('../tests/browser/support/system.js');

const RUN_LIMIT_MS = 10 * 60 * 1000;
const QUIET_MS = 60;
const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const conf = '[data-form="frmConfPedido"]';
const filtro = '[data-form="frmFiltroConfPedido"]';
const inConf = (name) => `${conf} [data-name="${name}"]`;
const inFiltro = (name) => `${filtro} [data-name="${name}"]`;
const gridTable = `${inConf('dbgPadrao')} table[role="grid"]`;

function median(values) {
  const s = [...values].sort((a, b) => a - b);
  const mid = s.length >> 1;
  return s.length % 2 ? s[mid] : (s[mid - 1] + s[mid]) / 2;
}

function makeDatabase(db) {
  if (fs.existsSync(db)) return;
  fs.mkdirSync(path.dirname(db), { recursive: true });
  console.error(`creating ${db} (335,000 orders) ...`);
  const made = spawnSync(path.join(opts.build, 'appserver/appserver'),
    ['demo', '--db', db, '--orders', '335000', '--seed', '3', '--today', '2024-06-10'],
    { encoding: 'utf8', timeout: 15 * 60 * 1000 });
  if (made.status !== 0) {
    fs.rmSync(db, { force: true });
    throw new Error(`appserver demo failed: ${made.stdout}${made.stderr}${made.error || ''}`);
  }
}

// Before any script of the page: notes the session the page posts its
// input with and how many of its posts are still waiting, so the
// benchmark can post as the page does and start each key from quiet.
function watchInputs() {
  const fetchOf = window.fetch;
  const inputs = { session: null, waiting: 0 };
  window.__inputs = inputs;
  window.fetch = function (resource, init) {
    const reply = fetchOf.apply(this, arguments);
    if (String(resource) === '/input' && init && typeof init.body === 'string') {
      try { inputs.session = JSON.parse(init.body).session; } catch { /* not the page's own */ }
      inputs.waiting++;
      const done = () => { inputs.waiting--; };
      reply.then(done, done);
    }
    return reply;
  };
}

// In the page: each arrow key's keydown (seen before the page's own
// handler) starts a clock that stops when a drawing of the page leaves the
// grid's current row elsewhere; the page draws in one animation-frame
// task, so the observer runs right after its end.
function installKeyProbe(table) {
  const probe = { times: [], pending: null };
  window.__keyProbe = probe;
  const current = () => {
    const row = document.querySelector(`${table} tr[aria-selected="true"]`);
    return row ? row.getAttribute('aria-rowindex') : null;
  };
  window.addEventListener('keydown', (e) => {
    if (e.key === 'ArrowDown' || e.key === 'ArrowUp') probe.pending = { from: current(), t0: performance.now() };
  }, true);
  new MutationObserver(() => {
    const p = probe.pending;
    if (!p || current() === p.from) return;
    probe.times.push(performance.now() - p.t0);
    probe.pending = null;
  }).observe(document.getElementById('desktop'),
    { childList: true, subtree: true, attributes: true, attributeFilter: ['aria-selected'] });
}

// In the page: `count` posts of one input as the page sends it, one at a
// time, each timed from the send until the reply is in (what the page's
// own sending waits for).
async function barePosts([count, session, event]) {
  const times = [];
  for (let i = 0; i < count; i++) {
    const body = JSON.stringify({ session, event });
    const t0 = performance.now();
    const res = await fetch('/input', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body,
      signal: AbortSignal.timeout(10000),
    });
    times.push(performance.now() - t0);
    if (!res.ok) throw new Error(`/input answered ${res.status}`);
    await new Promise((r) => requestAnimationFrame(() => setTimeout(r, 5)));
  }
  return times;
}

async function openOrderList(page, url) {
  await page.goto(url);
  await signIn(page);
  await page.waitForSelector(`html[data-state="open"][data-fonts="ready"] ${inConf('medCdFilial')}.focused`);
  await page.keyboard.press('Tab');  // leaving the branch opens the filter
  await page.waitForSelector(filtro);
  await page.waitForSelector('[data-role="busy"]', { state: 'detached' });
  // Every order status the filter offers (pending is already checked).
  for (const name of ['chbPPendente', 'chbPAndamento', 'chbPParcialmente']) {
    if (!(await page.locator(`${inFiltro(name)} .checked`).count())) await page.click(inFiltro(name));
    await page.waitForSelector(`${inFiltro(name)} .checked`);
  }
  await page.click(inFiltro('sbtConfirma'));
  await page.waitForSelector(filtro, { state: 'detached', timeout: 180000 });
  await page.waitForSelector('[data-role="busy"]', { state: 'detached', timeout: 180000 });
  const count = async () => Number(await page.getAttribute(gridTable, 'aria-rowcount'));
  if ((await count()) < 2) {
    await page.click(inConf('sbtVerificar'));
    await page.waitForFunction((t) => Number(document.querySelector(t)?.getAttribute('aria-rowcount')) > 1,
      gridTable, { timeout: 180000 });
  }
  // The grid takes the keys: a click on its first shown row.
  await page.click(inConf('dbgPadrao'), { position: { x: 120, y: 18 + 1 + 9 } });
  await page.waitForSelector(`${inConf('dbgPadrao')}.focused`);
  return count();
}

// The host's resident memory, in MB.
function residentMB(pid) {
  const status = fs.readFileSync(`/proc/${pid}/status`, 'utf8');
  return Number(/VmRSS:\s+(\d+)/.exec(status)[1]) / 1024;
}

// The host's memory holding the list: after the first load and after each
// of `reloads` more ("Verificar" reads the list again), each 1 s after the
// list is in.
async function measureMemory(page, pid, reloads) {
  const settle = () => new Promise((r) => setTimeout(r, 1000));
  await settle();
  const sizes = [residentMB(pid)];
  for (let i = 0; i < reloads; i++) {
    await page.click(inConf('sbtVerificar'));
    await page.waitForSelector('[data-role="busy"]', { timeout: 5000 }).catch(() => {});
    await page.waitForSelector('[data-role="busy"]', { state: 'detached', timeout: 180000 });
    await settle();
    sizes.push(residentMB(pid));
  }
  return sizes;
}

// Keys and bare posts by turns, so both see the machine as it is at the
// time (a run of each after the other has them apart by whatever else the
// machine did meanwhile). The benchmark keeps quiet while a key is on its
// way (asking the page takes the browser's time too) and lets the key go
// once its repaint is in, as a person's is tens of milliseconds later;
// the bare post goes after that, from quiet too. Down from the first row
// first, so every key moves the cursor.
async function measureKeysAndPosts(page, warmup, keys) {
  await page.evaluate(installKeyProbe, gridTable);
  const focus = { type: 'focus', form: 'frmConfPedido', name: 'dbgPadrao' };
  const bare = [];
  for (let i = 0; i < warmup + keys; i++) {
    const key = i % 2 ? 'ArrowUp' : 'ArrowDown';
    await page.keyboard.down(key);
    await pause(QUIET_MS);
    await page.waitForFunction((n) => window.__keyProbe.times.length >= n && window.__inputs.waiting === 0,
      i + 1, { timeout: 10000 });
    await page.keyboard.up(key);
    const session = await page.evaluate(() => window.__inputs.session);
    if (!session) throw new Error('the page posted no input');
    await pause(QUIET_MS);
    bare.push(...(await page.evaluate(barePosts, [1, session, focus])));
  }
  const keyTimes = await page.evaluate((w) => window.__keyProbe.times.slice(w), warmup);
  return { keyTimes, bareTimes: bare.slice(warmup) };
}

// What runs, so that every way out stops it.
const running = { system: null, browser: null };
async function stopAll() {
  const { browser, system } = running;
  running.browser = running.system = null;
  if (browser) await browser.close();
  if (system) await system.stop();
}

async function main() {
  const page = await running.browser.context.newPage();
  const errors = [];
  page.on('pageerror', (err) => errors.push(String(err)));
  await page.addInitScript(watchInputs);
  const orders = await openOrderList(page, running.system.url);
  console.error(`${orders} orders in the grid`);

  const { keyTimes, bareTimes } = await measureKeysAndPosts(page, opts.warmup, opts.keys);
  const sizes = await measureMemory(page, running.system.hostPid, 4);
  const rows = Number(await page.getAttribute(gridTable, 'aria-rowcount'));
  if (errors.length) throw new Error(`script errors on the page: ${errors.join('; ')}`);

  const key = median(keyTimes);
  const bare = median(bareTimes);
  console.log(`FIGURE key_roundtrip_key_ms ${key.toFixed(2)} ms`);
  console.log(`FIGURE key_roundtrip_bare_ms ${bare.toFixed(2)} ms`);
  console.log(`RATIO key_roundtrip_browser ${(key / bare).toFixed(2)}`);
  console.log(`FIGURE host_rss_100k ${median(sizes).toFixed(0)} MB`);
  console.error(`(host memory after each of ${sizes.length} loads of ${rows} rows: ${sizes.map((m) => m.toFixed(0)).join(', ')} MB)`);
  console.error(`(${keyTimes.length} keys, ${bareTimes.length} posts, ${opts.warmup} of each left out as warm-up)`);
}

function giveUp(why) {
  console.error(why);
  const bound = new Promise((r) => setTimeout(r, 15000));
  Promise.race([stopAll().catch(() => {}), bound]).then(() => process.exit(1));
}

try {
  if (!systemAvailable()) throw new Error(`appserver, host or module not built in ${opts.build} (--build DIR)`);
  makeDatabase(opts.db);
  const limit = setTimeout(() => giveUp(`gave up after ${RUN_LIMIT_MS / 60000} minutes`), RUN_LIMIT_MS);
  process.once('SIGINT', () => giveUp('interrupted'));
  process.once('SIGTERM', () => giveUp('terminated'));
  try {
    running.system = await startSystem({ db: opts.db, operator: 'CARLOS', branch: '0001' });
    running.browser = await launchBrowser();
    await main();
  } finally {
    await stopAll();
    clearTimeout(limit);
  }
} catch (err) {
  console.error(err.stack || String(err));
  process.exitCode = 1;
}
