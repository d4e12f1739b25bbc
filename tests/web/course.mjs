// The course in headless Chromium, for the browser's tests and its bench: the site served on
// 127.0.0.1 by a server of the test's own (which can also hold back or spoil a file), the page
// opened in Debian's chromium through the DevTools protocol, and the pupil's clicks and keys.
import http from 'node:http';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.jpg': 'image/jpeg', '.gif': 'image/gif', '.png': 'image/png', '.ttf': 'font/ttf',
  '.qm': 'application/octet-stream', '.txt': 'text/plain; charset=utf-8',
};

// Serves the folder on a free port. `spoil(name)` may answer a file's bytes instead of its own,
// or null for a file the site does not have. Counts what was asked for.
export async function serve(folder, spoil = () => undefined) {
  const asked = [];
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/+/, '');
    const file = path.join(folder, name || 'index.html');
    asked.push(name || 'index.html');
    let bytes = spoil(name);
    if (bytes === undefined) {
      bytes = file.startsWith(folder) && fs.existsSync(file) && fs.statSync(file).isFile()
          ? fs.readFileSync(file) : null;
    }
    if (bytes === null) {
      response.writeHead(404, {'Content-Type': 'text/plain'});
      response.end('not found');
      return;
    }
    response.writeHead(200, {
      'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
      'Content-Length': bytes.length,
    });
    response.end(bytes);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {url: `http://127.0.0.1:${server.address().port}/`, asked,
          // Chromium keeps its connections open for minutes; the test is done with them.
          close: () => new Promise((resolve) => {
            server.close(resolve);
            server.closeAllConnections();
          })};
}

// Chromium as this machine can run it: headless, WebGL through SwiftShader (Qt draws with
// WebGL), and none of its own traffic to the network.
export async function launch({scale = 1, width = 1280, height = 1024} = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'lumora-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: 'new',
    userDataDir: profile,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--disable-quic', '--no-first-run', '--disable-features=Translate,MediaRouter',
           '--disable-renderer-backgrounding', '--disable-background-timer-throttling',
           `--window-size=${width},${height}`],
    defaultViewport: {width, height, deviceScaleFactor: scale},
  });
  browser.on('disconnected', () => {
    // Chromium may still be writing its profile as it goes.
    setTimeout(() => fs.rmSync(profile, {recursive: true, force: true, maxRetries: 5}), 500);
  });
  return browser;
}

// One page of the browser with the course open in it, and what the course printed.
export class Course {
  static async open(browser, url, {wait = true} = {}) {
    const course = new Course(await browser.newPage());
    await course.page.goto(url, {waitUntil: 'load'});
    if (wait) await course.started();
    return course;
  }

  constructor(page) {
    this.page = page;
    this.console = [];
    this.failed = [];
    page.on('console', (m) => this.console.push({type: m.type(), text: m.text()}));
    page.on('pageerror', (e) => this.failed.push(String(e)));
    page.on('requestfailed', (r) => this.failed.push('request failed: ' + r.url()));
  }

  async started(timeout = 60000) {
    await this.page.waitForFunction(
        () => window.lumora && (window.lumora.firstPaint || window.lumora.endedStatus !== undefined),
        {timeout, polling: 50});
    await this.page.waitForFunction(() => window.lumora.tree || window.lumora.endedStatus !== undefined,
                                    {timeout, polling: 50});
  }

  // What the course tells screen readers, as the page holds it.
  tree() { return this.page.evaluate(() => window.lumora.tree || []); }

  async pageNode() {
    const find = (nodes) => {
      for (const n of nodes) {
        if (n.role === 'region') return n;
        const inner = find(n.children || []);
        if (inner) return inner;
      }
      return null;
    };
    return find(await this.tree());
  }

  // A click at twips from the top-left corner of the page shown.
  async click(x, y) {
    const node = await this.pageNode();
    await this.page.mouse.click(node.x + x / 15, node.y + y / 15);
  }

  // A click in the middle of the button of that caption (the first, front to back).
  async press(caption) {
    const all = [];
    const walkTree = (ns) => ns.forEach((n) => { all.push(n); walkTree(n.children || []); });
    walkTree(await this.tree());
    const button = all.reverse().find((n) => n.role === 'button' && n.name === caption);
    if (!button) throw new Error(`no button ${caption} on the screen`);
    await this.page.mouse.click(button.x + button.w / 2, button.y + button.h / 2);
  }

  // Waits until the screen readers' view differs from `before` and has then stayed the same
  // for a moment (the page reads it five times a second; a sweep changes it all along), and two
  // more frames have been drawn.
  async settle(before, timeout = 20000) {
    const old = JSON.stringify(before);
    await this.page.evaluate(() => { window.lumoraSettle = null; });
    await this.page.waitForFunction((o) => {
      const now = JSON.stringify(window.lumora.tree);
      const seen = window.lumoraSettle || (window.lumoraSettle = {tree: null, since: 0});
      if (now === o) return false;
      if (now !== seen.tree) Object.assign(seen, {tree: now, since: performance.now()});
      return performance.now() - seen.since > 450;
    }, {timeout, polling: 50}, old);
    await this.frames(2);
  }

  frames(count = 1) {
    return this.page.evaluate((n) => new Promise((resolve) => {
      const next = () => (n-- > 0 ? requestAnimationFrame(next) : resolve());
      next();
    }), count);
  }

  // A node's part of the screen as it is shown. Puppeteer's default for a clipped screenshot
  // (capturing beyond the viewport) sets the page's size for the capture and back, which the
  // course takes for a resize of its screen: what it caught could be the page being redrawn.
  capture(node, options = {}) {
    return this.page.screenshot({...options, captureBeyondViewport: false,
                                 clip: {x: node.x, y: node.y, width: node.w, height: node.h}});
  }

  // The page's part of the screen, as a PNG.
  async shot(file) {
    return this.capture(await this.pageNode(), {path: file});
  }

  errors() { return this.console.filter((m) => m.type === 'error').map((m) => m.text); }
}

// The walk through the course that the desktop's screenshots take too: one step a line, the
// kind of step, where it clicks (twips from the page's corner) and the screenshot's name.
export function walk(file) {
  return fs.readFileSync(file, 'utf8').split('\n')
      .map((line) => line.replace(/#.*/, '').trim()).filter(Boolean)
      .map((line) => {
        const [kind, x, y, name] = line.split(/\s+/);
        return {kind, x: Number(x), y: Number(y), name};
      });
}

// A test's failures, gathered; the tally at the end.
export class Checks {
  constructor() { this.failures = []; this.passed = 0; }
  check(ok, what) {
    if (ok) this.passed++;
    else { this.failures.push(what); console.log('FAIL: ' + what); }
    return ok;
  }
  finish() {
    console.log(`${this.passed} passed, ${this.failures.length} failed`);
    process.exit(this.failures.length ? 1 : 0);
  }
}
