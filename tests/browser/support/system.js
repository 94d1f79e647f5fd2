// The whole system for a browser test: a demo database in a temporary
// folder (built once by the appserver program), the application server on
// it and a host on a free port serving the confirmation screen. Binaries
// come from BUILD_DIR (default build/). Every wait is bounded; stop() ends
// both processes and startup failures include their output.

import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
export const BUILD_DIR = path.resolve(root, process.env.BUILD_DIR || 'build');
const APPSERVER = path.join(BUILD_DIR, 'appserver/appserver');
const HOST = path.join(BUILD_DIR, 'host/host');
const MODULES = path.join(BUILD_DIR, 'modules');

export function systemAvailable() {
  return [APPSERVER, HOST, path.join(MODULES, 'ZQV41800.so')].every((f) => fs.existsSync(f));
}

// A demo database of its own, removed by the returned function.
export function demoDatabase() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'conf-pedido-demo-'));
  const db = path.join(dir, 'demo.db');
  const made = spawnSync(APPSERVER, ['demo', '--db', db, '--orders', '150', '--today', '2024-06-10'],
    { encoding: 'utf8', timeout: 60000 });
  if (made.status !== 0) throw new Error(`appserver demo failed: ${made.stdout}${made.stderr}`);
  return { db, remove: () => fs.rmSync(dir, { recursive: true, force: true }) };
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
// Resolves to {url, stop()}.
export async function startSystem({ db, operator = 'CARLOS', branch = '0001', fixed = false }) {
  const server = await startProgram(APPSERVER, ['serve', '--db', db, '--listen', '127.0.0.1:0'],
    /listening on (127\.0\.0\.1:\d+)/);
  let host;
  try {
    const args = ['--operator', operator, '--branch', branch, '--server', `http://${server.match[1]}`,
      '--db', db, '--modules', MODULES, '--port', '0'];
    if (fixed) args.push('--fixed-branch');
    host = await startProgram(HOST, args, /(http:\/\/127\.0\.0\.1:\d+\/)/);
  } catch (e) {
    await stopChild(server.child);
    throw e;
  }
  return {
    url: host.match[1],
    log: () => host.output() + server.output(),
    stop: async () => { await stopChild(host.child); await stopChild(server.child); },
  };
}
