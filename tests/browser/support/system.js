// The whole system for a browser test: a demo database in a temporary
// folder (built once by the appserver program), the application server on
// it and a host on a free port serving the confirmation screen. Binaries
// come from BUILD_DIR (default build/). Every wait is bounded; stop() ends
// every process it started and startup failures include their output.
//
//   const system = await startSystem({ db, operator: 'CARLOS', branch: '0001' });
//   system.url                      // the first host's page, its key included
//   await page.goto(system.url); await signIn(page);   // past the sign-in window
//   const other = await system.addHost({ operator: 'DANIELA' });
//   other.url                       // a second operator, same appserver and database
//   await system.call('GetPedido', [...])   // the appserver's JSON-RPC as the system's
//                                           // operator, result or throw
//   await system.stop();            // the hosts, then the appserver

import { before, after } from 'node:test';
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { launchBrowser } from './browser.js';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
export const BUILD_DIR = path.resolve(root, process.env.BUILD_DIR || 'build');
const APPSERVER = path.join(BUILD_DIR, 'appserver/appserver');
const HOST = path.join(BUILD_DIR, 'host/host');
const MODULES = path.join(BUILD_DIR, 'modules');

export function systemAvailable() {
  return [APPSERVER, HOST, path.join(MODULES, 'ZQV41800.so')].every((f) => fs.existsSync(f));
}

// A demo database of its own, removed by the returned function. Its day
// is fixed (the same dates in every screenshot) unless `today`
// (AAAA-MM-DD) says otherwise: the demo's locks expire 30 days after the
// day, against the appserver's real clock, so a test of a held order
// needs today's date.
export function demoDatabase({ today = '2024-06-10' } = {}) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'conf-pedido-demo-'));
  const db = path.join(dir, 'demo.db');
  const made = spawnSync(APPSERVER, ['demo', '--db', db, '--orders', '150', '--today', today],
    { encoding: 'utf8', timeout: 60000 });
  if (made.status !== 0) throw new Error(`appserver demo failed: ${made.stdout}${made.stderr}`);
  return { db, remove: () => fs.rmSync(dir, { recursive: true, force: true }) };
}

// One browser and one demo database for a whole test file: made before its
// tests (unless `skip`), closed and removed after them.
export function sharedBrowserAndDatabase(skip) {
  const files = {};
  before(async () => {
    if (skip) return;
    files.browser = await launchBrowser();
    files.database = demoDatabase();
  });
  after(async () => {
    if (skip) return;
    await files.browser.close();
    files.database.remove();
  });
  return files;
}

// Starts a program and waits for a line of its output matching `pattern`.
function startProgram(file, args, pattern, timeoutMs = 20000) {
  const child = spawn(file, args, { stdio: ['ignore', 'pipe', 'pipe'] });
  let out = '';
  child.stdout.on('data', (d) => { out += d; });
  child.stderr.on('data', (d) => { out += d; });
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => {
      child.kill('SIGKILL');
      reject(new Error(`${path.basename(file)} did not start in ${timeoutMs} ms: ${out}`));
    }, timeoutMs);
    const check = () => {
      const m = pattern.exec(out);
      if (m) { clearTimeout(timer); child.stdout.off('data', check); resolve({ child, match: m, output: () => out }); }
    };
    child.stdout.on('data', check);
    child.once('exit', (code) => { clearTimeout(timer); reject(new Error(`${path.basename(file)} exited (${code}): ${out}`)); });
  });
}

async function stopChild(child, timeoutMs = 5000) {
  if (child.exitCode !== null || child.signalCode !== null) return;
  child.removeAllListeners('exit');
  const exited = new Promise((resolve) => child.once('exit', resolve));
  child.kill('SIGTERM');
  const timer = setTimeout(() => child.kill('SIGKILL'), timeoutMs);
  await exited;
  clearTimeout(timer);
}

// Starts the application server on `db` and a host logged in as
// `operator` on `branch` (fixed for the module when `fixed`).
// Resolves to {url, hostPid, server, log(), addHost(), call(), stop()}:
// - addHost({operator, branch, fixed}) starts one more host (one more
//   operator's process) against the same appserver and database, options
//   defaulting to this system's; resolves to {url, pid, log(), stop()}; stop()
//   of the system stops it too;
// - call(method, params) posts one JSON-RPC request to the appserver and
//   resolves to its `result` (a JSON-RPC error rejects), within 10 s.
export async function startSystem({ db, operator = 'CARLOS', branch = '0001', fixed = false }) {
  const server = await startProgram(APPSERVER, ['serve', '--db', db, '--listen', '127.0.0.1:0'],
    /listening on (127\.0\.0\.1:\d+)/);
  const address = `http://${server.match[1]}`;
  const hosts = [];
  const stop = async () => {
    for (const host of hosts) await stopChild(host.child);
    await stopChild(server.child);
  };
  const addHost = async (options = {}) => {
    const o = { operator, branch, fixed, ...options };
    const args = ['--operator', o.operator, '--branch', o.branch, '--server', address,
      '--db', db, '--modules', MODULES, '--port', '0'];
    if (o.fixed) args.push('--fixed-branch');
    const host = await startProgram(HOST, args, /(http:\/\/127\.0\.0\.1:\d+\/\?chave=[\w-]+)/);
    hosts.push(host);
    return { url: host.match[1], pid: host.child.pid, log: () => host.output(), stop: () => stopChild(host.child) };
  };
  let first;
  let token;
  try {
    first = await addHost();
  } catch (e) {
    await stop();
    throw e;
  }
  return {
    url: first.url,
    hostPid: first.pid,
    server: address,
    log: () => hosts.map((h) => h.output()).join('') + server.output(),
    addHost,
    call: async (method, params) => {
      token ||= await openSession(address, operator);
      return callServer(address, token, method, params);
    },
    stop,
  };
}

// Every demo operator's password.
export const DEMO_PASSWORD = 'demo';

// Signs in on the host's sign-in window, which the page shows first with
// the host's operator filled in and the focus in the password.
export async function signIn(page, password = DEMO_PASSWORD) {
  const login = '[data-form="frmLogin"]';
  await page.waitForSelector(`html[data-state="open"] ${login} [data-name="edtSenha"].focused`);
  await page.keyboard.type(password);
  await page.keyboard.press('Enter');
  await page.waitForSelector(login, { state: 'detached' });
}

async function openSession(address, operator, timeoutMs = 10000) {
  const reply = await fetch(`${address}/session`, {
    method: 'POST',
    headers: { 'Content-Type': 'application/json' },
    body: JSON.stringify({ operator, password: DEMO_PASSWORD }),
    signal: AbortSignal.timeout(timeoutMs),
  });
  const body = await reply.json();
  if (!reply.ok) throw new Error(`sign-in of ${operator}: ${body.error}`);
  return body.token;
}

let rpcId = 0;

async function callServer(address, token, method, params, timeoutMs = 10000) {
  const reply = await fetch(`${address}/Zqv41800.rdmConfPedido`, {
    method: 'POST',
    headers: { 'Content-Type': 'application/json', Authorization: `Bearer ${token}` },
    body: JSON.stringify({ jsonrpc: '2.0', method, params, id: ++rpcId }),
    signal: AbortSignal.timeout(timeoutMs),
  });
  const body = await reply.json();
  if (body.error) throw new Error(`${method}: ${body.error.message}`);
  return body.result;
}

// A page of its own on a started system, signed in, waiting until the
// confirmation screen's branch field has the focus; the page is closed and
// the system stopped when the test ends, and the test fails on a script
// error of the page.
export async function openSignedIn(t, context, system) {
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (err) => errors.push(String(err)));
  t.after(async () => {
    await page.close();
    await system.stop();
    if (errors.length) throw new Error(`script errors on the page: ${errors.join('; ')}`);
  });
  await page.goto(system.url);
  await signIn(page);
  await page.waitForSelector('html[data-state="open"][data-fonts="ready"] [data-form="frmConfPedido"] [data-name="medCdFilial"].focused');
  return page;
}
