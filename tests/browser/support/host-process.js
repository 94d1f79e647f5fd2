// Starts the C++ test host (DISPLAY_TEST_HOST, default
// build/display/display_test_host) on a free port and stops it, both
// within bounded waits.

import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
export const HOST_PATH = path.resolve(root, process.env.DISPLAY_TEST_HOST || 'build/display/display_test_host');

export function hostAvailable() {
  return fs.existsSync(HOST_PATH);
}

// port 0: any free port. Resolves to {url, port, stop(), log}.
export async function startHost(port = 0, timeoutMs = 15000) {
  const child = spawn(HOST_PATH, ['--port', String(port)], { stdio: ['ignore', 'pipe', 'pipe'] });
  const log = [];
  child.stderr.on('data', (d) => log.push(String(d)));
  const bound = await new Promise((resolve, reject) => {
    let out = '';
    const timer = setTimeout(() => { child.kill('SIGKILL'); reject(new Error(`host did not start in ${timeoutMs} ms: ${out}${log.join('')}`)); }, timeoutMs);
    child.stdout.on('data', (d) => {
      out += d;
      const m = /listening on 127\.0\.0\.1:(\d+)/.exec(out);
      if (m) { clearTimeout(timer); resolve(Number(m[1])); }
    });
    child.once('exit', (code) => { clearTimeout(timer); reject(new Error(`host exited (${code}): ${out}${log.join('')}`)); });
  });
  child.removeAllListeners('exit');
  return {
    port: bound,
    url: `http://127.0.0.1:${bound}/`,
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
