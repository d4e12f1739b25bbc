// What the course in the browser costs a pupil, measured in headless Chromium on this machine:
// the bytes a visit fetches (and gzip would send), the time until the title page is painted,
// a page change from the click until the new page is painted along every way between pages,
// and the sweep's length; beside them the desktop build's page change in the same run.
//
// Times are taken in the page: the click's own time stamp, the course saying it has shown the
// page, the WebGL draw that follows, and the animation frame after that draw (when the frame
// reaches the screen).
import {spawnSync} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import {serve, launch, Course} from './course.mjs';

const web = process.env.LUMORA_WEB;
const build = process.env.LUMORA_BUILD;
const site = path.join(web, 'site');
const targets = {titleMs: 3000, changeMedianMs: 67, gzipBytes: 10e6};
const misses = [];

const median = (v) => {
  const s = [...v].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};
const mb = (n) => (n / 1e6).toFixed(2) + ' MB';
const gzip = (bytes) => zlib.gzipSync(bytes, {level: 9}).length;

// Counts draws and the frames after them, and the pupil's clicks.
function instrument() {
  const marks = (window.lumoraBench = {draws: [], frames: [], ups: []});
  let waiting = false;
  const frame = () => { marks.frames.push(performance.now()); waiting = false; };
  for (const C of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
    for (const name of ['drawArrays', 'drawElements']) {
      const draw = C.prototype[name];
      C.prototype[name] = function (...args) {
        marks.draws.push(performance.now());
        if (!waiting) { waiting = true; requestAnimationFrame(frame); }
        return draw.apply(this, args);
      };
    }
  }
  // (The course's screen takes pointer events, which leave no mouse events behind.)
  addEventListener('pointerup', (e) => marks.ups.push(e.timeStamp), true);
}

// The frame that shows the first draw after `after`.
function paintedAfter(marks, after) {
  const draw = marks.draws.find((d) => d >= after);
  return draw === undefined ? undefined : marks.frames.find((f) => f >= draw);
}

async function sizes(server) {
  const served = new Set(server.asked);
  let raw = 0, packed = 0;
  for (const name of served) {
    const file = path.join(site, name);
    if (!fs.existsSync(file)) continue;
    const bytes = fs.readFileSync(file);
    raw += bytes.length;
    packed += gzip(bytes);
  }
  const single = fs.readFileSync(path.join(web, 'lumora.html'));
  const wasm = fs.readFileSync(path.join(site, 'lumora.wasm'));
  const fonts = fs.readdirSync(path.join(site, 'fonts')).filter((f) => f.endsWith('.ttf'))
      .map((f) => fs.readFileSync(path.join(site, 'fonts', f)));
  const pictures = [...served].filter((n) => /\.(jpg|gif)$/.test(n))
      .map((n) => fs.readFileSync(path.join(site, n)));
  const sum = (list, f) => list.reduce((a, b) => a + f(b), 0);
  return {
    files: served.size, raw, packed, singleRaw: single.length, singlePacked: gzip(single),
    wasmRaw: wasm.length, wasmPacked: gzip(wasm),
    fontsRaw: sum(fonts, (b) => b.length), fontsPacked: sum(fonts, gzip),
    picturesRaw: sum(pictures, (b) => b.length), picturesPacked: sum(pictures, gzip),
  };
}

async function titlePainted(browser, url, runs = 5) {
  const times = [];
  for (let i = 0; i < runs; i++) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.evaluateOnNewDocument(instrument);
    await page.goto(url);
    await page.waitForFunction(() => {
      const m = window.lumoraBench;
      return window.lumora.shownAt !== undefined &&
             m.frames.some((f) => f >= m.draws.find((d) => d >= window.lumora.shownAt));
    }, {polling: 20, timeout: 60000});
    times.push(await page.evaluate(() => {
      const m = window.lumoraBench;
      const draw = m.draws.find((d) => d >= window.lumora.shownAt);
      return m.frames.find((f) => f >= draw);  // since the navigation began
    }));
    await context.close();
  }
  return times;
}

// A page as the pupil tells it apart: its name and what its pictures show.
async function identity(course) {
  const page = await course.pageNode();
  const all = [];
  const collect = (ns) => ns.forEach((n) => { all.push(n); collect(n.children || []); });
  collect([page]);
  return page.name + '|' + all.filter((n) => n.role === 'image').map((n) => n.name).join('|');
}

// The title page has no buttons: a press anywhere on it opens the menu.
const PRESS = '(a press on the page)';
const ASIDE = ['離開', '右眼', '左眼', '開始動畫'];

async function buttons(course) {
  const all = [];
  const collect = (ns) => ns.forEach((n) => { all.push(n); collect(n.children || []); });
  collect([await course.pageNode()]);
  // Exit ends the course; the sweeps hold every click for four seconds, and the animation's
  // window covers the page: none of them leads to another page. The other buttons that change
  // the page in place are found out by trying.
  const captions = all.filter((n) => n.role === 'button' && !ASIDE.includes(n.name))
      .map((n) => n.name);
  return captions.length ? captions : [PRESS];
}

// One click on a button: how long until the page it shows is painted, if it shows one.
async function timeClick(course, caption) {
  const before = await course.page.evaluate(() => window.lumora.pagesShown);
  const ups = await course.page.evaluate(() => window.lumoraBench.ups.length);
  if (caption === PRESS) {
    const page = await course.pageNode();
    await course.page.mouse.click(page.x + page.w / 2, page.y + page.h / 2);
  } else {
    await course.press(caption);
  }
  // Another page, or a change in place that the screen readers' view has shown for a while.
  const clicked = await course.page.evaluate(() => performance.now());
  await course.page.waitForFunction((n, at) => window.lumora.pagesShown > n ||
                                    performance.now() - Math.max(at, window.lumora.treeAt) > 600,
                                    {polling: 20, timeout: 10000}, before, clicked);
  if (await course.page.evaluate(() => window.lumora.pagesShown) === before) return undefined;
  await course.page.waitForFunction((n) => {
    const m = window.lumoraBench;
    const draw = m.draws.find((d) => d >= window.lumora.shownAt);
    return draw !== undefined && m.frames.some((f) => f >= draw);
  }, {polling: 20, timeout: 10000}, ups);
  const ms = await course.page.evaluate((n) => {
    const m = window.lumoraBench;
    const draw = m.draws.find((d) => d >= window.lumora.shownAt);
    return m.frames.find((f) => f >= draw) - m.ups[n];
  }, ups);
  // The screen readers' view of the new page, where the next click finds its buttons.
  await course.page.waitForFunction(() => window.lumora.treeAt >= window.lumora.shownAt,
                                    {polling: 20, timeout: 10000});
  return ms;
}

// Every way between pages, found by following every button of every page reached.
async function pageChanges(browser, url) {
  const course = new Course(await browser.newPage());
  await course.page.evaluateOnNewDocument(instrument);
  await course.page.goto(url);
  await course.started();
  const routes = new Map();  // page -> the clicks from the title page that reach it
  const times = new Map();   // "from > caption" -> ms
  const start = await identity(course);
  routes.set(start, []);
  const queue = [start];
  const reach = async (route) => {
    await course.page.goto(url);
    await course.started();
    for (const step of route) await timeClick(course, step);
  };
  while (queue.length) {
    const page = queue.shift();
    await reach(routes.get(page));
    for (const caption of await buttons(course)) {
      if (await identity(course) !== page) await reach(routes.get(page));
      const ms = await timeClick(course, caption);
      if (ms === undefined) continue;
      times.set(`${page.split('|')[0]} > ${caption}`, ms);
      const to = await identity(course);
      if (!routes.has(to)) {
        routes.set(to, [...routes.get(page), caption]);
        queue.push(to);
      }
    }
  }
  await course.page.close();
  return times;
}

// The blind-spot sweep: from the click on 左眼 until the click on 下一頁 made meanwhile has shown
// the next page.
async function sweepLength(browser, url) {
  const course = new Course(await browser.newPage());
  await course.page.evaluateOnNewDocument(instrument);
  await course.page.goto(url);
  await course.started();
  await timeClick(course, PRESS);
  await timeClick(course, '眼睛的構造及運作');
  for (let i = 0; i < 3; i++) await timeClick(course, '下一頁');
  const shown = await course.page.evaluate(() => window.lumora.pagesShown);
  const ups = await course.page.evaluate(() => window.lumoraBench.ups.length);
  await course.press('左眼');
  await course.press('下一頁');
  await course.page.waitForFunction((n) => window.lumora.pagesShown > n,
                                    {polling: 20, timeout: 20000}, shown);
  const ms = await course.page.evaluate((n) => window.lumora.shownAt - window.lumoraBench.ups[n],
                                        ups);
  await course.page.close();
  return ms;
}

// The desktop build's page change, offscreen, over every switch along every way between pages
// (its bench's row over them all, which follows the rows of the single ways).
function desktopChange() {
  const run = spawnSync(path.join(build, 'bench/lumora_bench'),
                        ['--benchmark_filter=^SwitchPage/', '--benchmark_format=json'],
                        {env: {...process.env, QT_QPA_PLATFORM: 'offscreen'}, cwd: build,
                         stdio: ['ignore', 'pipe', 'ignore'], encoding: 'utf8'});
  const out = run.stdout || '';
  const json = JSON.parse(out.slice(out.indexOf('{'), out.lastIndexOf('}') + 1));
  const row = json.benchmarks.find((b) => b.name.startsWith('SwitchPage/all'));
  return row && row.median_ms;
}

const server = await serve(site);
const browser = await launch();
const title = await titlePainted(browser, server.url);
const bytes = await sizes(server);
const changes = await pageChanges(browser, server.url);
const sweep = await sweepLength(browser, server.url);
await browser.close();
await server.close();
let desktop;
try {
  desktop = desktopChange();
} catch (e) {
  desktop = undefined;
}

const values = [...changes.values()];
const slowest = [...changes.entries()].sort((a, b) => b[1] - a[1]).slice(0, 3);
const rows = [
  ['site fetched by one visit', `${bytes.files} files, ${mb(bytes.raw)} raw, ${mb(bytes.packed)} gzip`],
  ['  of it the program (.wasm)', `${mb(bytes.wasmRaw)} raw, ${mb(bytes.wasmPacked)} gzip`],
  ['  the faces', `${mb(bytes.fontsRaw)} raw, ${mb(bytes.fontsPacked)} gzip`],
  ['  the pictures', `${mb(bytes.picturesRaw)} raw, ${mb(bytes.picturesPacked)} gzip`],
  ['single file lumora.html', `${mb(bytes.singleRaw)} raw, ${mb(bytes.singlePacked)} gzip`],
  ['title page painted after navigation', `median ${median(title).toFixed(0)} ms, ` +
                                          `max ${Math.max(...title).toFixed(0)} ms (${title.length} visits)`],
  ['page change, click to painted', `median ${median(values).toFixed(1)} ms, ` +
                                    `max ${Math.max(...values).toFixed(1)} ms over ${values.length} ways`],
  ['  slowest', slowest.map(([k, v]) => `${k} ${v.toFixed(0)} ms`).join('; ')],
  ['the sweep (左眼), click to the held click delivered', `${sweep.toFixed(0)} ms`],
  ['desktop page change (offscreen, same run)', desktop === undefined ? 'not measured' :
    `median ${desktop.toFixed(2)} ms; the browser's is ${(median(values) / desktop).toFixed(0)} × it`],
];
const width = Math.max(...rows.map((r) => r[0].length));
for (const [k, v] of rows) console.log(k.padEnd(width + 2) + v);

if (median(title) > targets.titleMs) misses.push(`title painted after ${median(title)} ms`);
if (median(values) > targets.changeMedianMs) misses.push(`page change median ${median(values)} ms`);
if (bytes.packed > targets.gzipBytes) misses.push(`gzip transfer ${mb(bytes.packed)}`);
if (values.length < 60) misses.push(`only ${values.length} ways between pages found`);
for (const m of misses) console.log('MISSED: ' + m);
console.log(misses.length ? `${misses.length} targets missed` : 'every target met');
process.exit(misses.length ? 1 : 0);
