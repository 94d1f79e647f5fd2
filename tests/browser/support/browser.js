// Headless Debian Chromium through playwright-core, with a fresh profile
// that is removed afterwards.

import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

export const CHROMIUM = process.env.CHROMIUM_PATH || '/usr/bin/chromium';

export async function launchBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'display-test-profile-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run'],
    viewport: { width: 1024, height: 700 },
    timeout: 30000,
  });
  context.setDefaultTimeout(10000);
  return {
    context,
    async close() {
      // The bound's timer is cleared, or it would keep the test process
      // alive for its whole 10 s after every file.
      let timer;
      await Promise.race([context.close(), new Promise((r) => { timer = setTimeout(r, 10000); })]);
      clearTimeout(timer);
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Collects the page's errors, so a test can fail on a script error.
export function watchErrors(page) {
  const errors = [];
  page.on('pageerror', (err) => errors.push(String(err)));
  return errors;
}

// Screenshots go under build/screenshots (SCREENSHOT_DIR moves them).
export function screenshotPath(name) {
  const dir = process.env.SCREENSHOT_DIR ||
    path.resolve(path.dirname(new URL(import.meta.url).pathname), '../../../build/screenshots');
  fs.mkdirSync(dir, { recursive: true });
  return path.join(dir, name);
}
