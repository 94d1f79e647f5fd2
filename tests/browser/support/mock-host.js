// A stand-in for the host's display server, for tests of the page alone:
// serves display/web/ and the fonts, streams the updates a test gives it
// and records the input the page posts. Binds 127.0.0.1 only.

import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
export const WEB_DIR = path.resolve(here, '../../../display/web');
const FONTS = {
  '/font/sans.ttf': '/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf',
  '/font/sans-bold.ttf': '/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf',
};
const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8' };

export class MockHost {
  // first(): the full update every new stream starts with.
  constructor({ first, onInput } = {}) {
    this.first = first;
    this.onInput = onInput || (() => 200);
    this.inputs = [];
    this.streams = new Set();
    this.sessions = 0;
    this.session = null;
    this.seq = 0;
    this.concurrent = 0;
    this.maxConcurrent = 0;
    this.inputDelayMs = 0;
    this.sockets = new Set();
  }

  async start(port = 0) {
    this.server = http.createServer((req, res) => this.handle(req, res));
    this.server.on('connection', (s) => { this.sockets.add(s); s.on('close', () => this.sockets.delete(s)); });
    await new Promise((resolve, reject) => {
      this.server.once('error', reject);
      this.server.listen(port, '127.0.0.1', resolve);
    });
    this.port = this.server.address().port;
    return this.port;
  }

  get url() {
    return `http://127.0.0.1:${this.port}/`;
  }

  // Stops at once, cutting the open streams (the host went away).
  async stop() {
    for (const res of this.streams) res.destroy();
    this.streams.clear();
    for (const s of this.sockets) s.destroy();
    await new Promise((resolve) => (this.server ? this.server.close(() => resolve()) : resolve()));
    this.server = null;
  }

  handle(req, res) {
    const url = new URL(req.url, 'http://127.0.0.1');
    if (req.method === 'GET' && url.pathname === '/events') return this.openStream(res);
    if (req.method === 'POST' && url.pathname === '/input') return this.input(req, res);
    if (req.method === 'GET') return this.file(url.pathname, res);
    res.writeHead(405).end();
  }

  file(name, res) {
    const file = FONTS[name] || path.join(WEB_DIR, name === '/' ? 'index.html' : path.normalize(name));
    if (!FONTS[name] && !file.startsWith(WEB_DIR)) return res.writeHead(404).end();
    fs.readFile(file, (err, data) => {
      if (err) return res.writeHead(404).end();
      const type = TYPES[path.extname(file)] || 'font/ttf';
      res.writeHead(200, { 'Content-Type': type, 'Cache-Control': 'no-store' }).end(data);
    });
  }

  openStream(res) {
    // A new stream takes the session over from the earlier ones.
    for (const old of this.streams) {
      old.write('event: takeover\ndata: {}\n\n');
      old.end();
    }
    this.streams.clear();
    this.sessions++;
    this.session = `s${this.sessions}`;
    res.writeHead(200, { 'Content-Type': 'text/event-stream', 'Cache-Control': 'no-store', Connection: 'keep-alive' });
    res.write(`event: hello\ndata: ${JSON.stringify({ session: this.session })}\n\n`);
    this.streams.add(res);
    res.on('close', () => this.streams.delete(res));
    if (this.first) this.send({ ...this.first(), full: true });
  }

  // Sends an update (seq filled in) to the open stream.
  send(update) {
    const body = { seq: ++this.seq, forms: [], removedForms: [], controls: [], removedControls: [], ...update };
    for (const res of this.streams) res.write(`event: update\ndata: ${JSON.stringify(body)}\n\n`);
  }

  raw(event, data) {
    for (const res of this.streams) res.write(`event: ${event}\ndata: ${data}\n\n`);
  }

  input(req, res) {
    let body = '';
    req.on('data', (d) => { body += d; });
    req.on('end', async () => {
      this.concurrent++;
      this.maxConcurrent = Math.max(this.maxConcurrent, this.concurrent);
      try {
        let msg;
        try { msg = JSON.parse(body); } catch { msg = null; }
        if (!msg || typeof msg.event !== 'object') return res.writeHead(400).end('{"error":"event"}');
        if (msg.session !== this.session) return res.writeHead(409).end('{"error":"session"}');
        if (this.inputDelayMs) await new Promise((r) => setTimeout(r, this.inputDelayMs));
        this.inputs.push(msg.event);
        const status = this.onInput(msg.event, this) || 200;
        res.writeHead(status, { 'Content-Type': 'application/json' })
          .end(status === 200 ? '{"ok":true}' : '{"error":"test"}');
      } finally {
        this.concurrent--;
      }
    });
  }

  // Waits (bounded) until `count` inputs arrived.
  async waitInputs(count, timeoutMs = 5000) {
    const end = Date.now() + timeoutMs;
    while (this.inputs.length < count && Date.now() < end) await new Promise((r) => setTimeout(r, 20));
    return this.inputs;
  }
}
