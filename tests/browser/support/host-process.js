// Starts the C++ test host (DISPLAY_TEST_HOST, default
// build/display/display_test_host) on a free port and stops it, both
// within bounded waits. The host's page needs its key: `url` carries it,
// and `cookie` is the Cookie header that node's own requests (which keep
// no cookies) send instead.

import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { watchErrors } from './browser.js';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
export const HOST_PATH = path.resolve(root, process.env.DISPLAY_TEST_HOST || 'build/display/display_test_host');

export function hostAvailable() {
  return fs.existsSync(HOST_PATH);
}

// port 0: any free port; `key` restarts a host under the key an earlier
// one printed, so its page comes back. Resolves to {url, base, port, key,
// cookie, stop(), kill(), log}.
export async function startHost(port = 0, { key, timeoutMs = 15000 } = {}) {
  const args = ['--port', String(port)];
  if (key) args.push('--key', key);
  const child = spawn(HOST_PATH, args, { stdio: ['ignore', 'pipe', 'pipe'] });
  const log = [];
  child.stderr.on('data', (d) => log.push(String(d)));
  const started = await new Promise((resolve, reject) => {
    let out = '';
    const timer = setTimeout(() => { child.kill('SIGKILL'); reject(new Error(`host did not start in ${timeoutMs} ms: ${out}${log.join('')}`)); }, timeoutMs);
    child.stdout.on('data', (d) => {
      out += d;
      const m = /page (http:\/\/127\.0\.0\.1:\d+\/\?chave=([A-Za-z0-9_-]+))\n[^]*listening on 127\.0\.0\.1:(\d+)/.exec(out);
      if (m) { clearTimeout(timer); resolve({ url: m[1], key: m[2], port: Number(m[3]) }); }
    });
    child.once('exit', (code) => { clearTimeout(timer); reject(new Error(`host exited (${code}): ${out}${log.join('')}`)); });
  });
  child.removeAllListeners('exit');
  return {
    ...started,
    base: `http://127.0.0.1:${started.port}/`,
    cookie: `chave_${started.port}=${started.key}`,
    log,
    stop: () => stopChild(child),
    // Ends it at once, as a crash would.
    kill: () => stopChild(child, 0, 'SIGKILL'),
  };
}

async function stopChild(child, timeoutMs = 5000, signal = 'SIGTERM') {
  if (child.exitCode !== null || child.signalCode !== null) return;
  const exited = new Promise((resolve) => child.once('exit', resolve));
  child.kill(signal);
  const timer = setTimeout(() => child.kill('SIGKILL'), timeoutMs);
  await exited;
  clearTimeout(timer);
}

// A fresh test host and a page of `browser` showing its form; `run` gets
// {page, host, errors}, and the page must end without script errors. The
// host's stop is pushed on `stopping` when given (the file waits for them
// at its end), or awaited.
export async function withTestForm(browser, run, stopping) {
  const host = await startHost();
  const page = await browser.context.newPage();
  const errors = watchErrors(page);
  try {
    await page.goto(host.url);
    await page.waitForSelector('html[data-state="open"][data-fonts="ready"] [data-form="frmTeste"] [data-name="edtNome"]');
    await run({ page, host, errors });
    assert.deepEqual(errors, [], 'script errors on the page');
  } finally {
    await page.close();
    if (stopping) stopping.push(host.stop());
    else await host.stop();
  }
}
