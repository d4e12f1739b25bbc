// The course in headless Chromium, as a pupil meets it: the whole walk compared page by page
// with the desktop's screenshots, the blind-spot sweep, the animation's window, a missing or
// spoilt picture, Exit, the single file from a USB stick, a finer screen, a touch screen, and
// what a screen reader finds in the page.
import {execFileSync, spawn, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';
import {serve, launch, Course, walk, Checks} from './course.mjs';

const build = process.env.LUMORA_BUILD;
const web = process.env.LUMORA_WEB;
const source = process.env.LUMORA_SOURCE;
const work = process.env.LUMORA_WORK;
const site = path.join(web, 'site');
const t = new Checks();

// Names as the course gives them to screen readers.
const TITLE = 'Lumora';

function nodes(tree, into = []) {
  for (const n of tree) {
    into.push(n);
    nodes(n.children || [], into);
  }
  return into;
}

async function go(course, x, y) {
  const before = await course.tree();
  await course.click(x, y);
  await course.settle(before);
}

async function press(course, caption) {
  const before = await course.tree();
  await course.press(caption);
  await course.settle(before);
}

// How far two screenshots of a page differ: the share of pixels that differ by more than
// `fuzz` per cent. Text drawn as boxes or in another face, or a control out of place, gives
// several per cent; the two platforms' glyph edges, a fraction of one.
function difference(a, b, fuzz = 40) {
  // compare writes the count on standard error, and exits 1 when the pictures differ at all.
  const out = spawnSync('compare', ['-metric', 'AE', '-fuzz', `${fuzz}%`, a, b, 'null:'],
                        {encoding: 'utf8'}).stderr;
  const [w, h] = execFileSync('identify', ['-format', '%w %h', a]).toString().split(' ');
  return Number.parseFloat(out) / (Number(w) * Number(h));
}

// A picture's mean colour, as a hint of what was drawn instead when a comparison fails.
function mean(file) {
  return execFileSync('convert', [file, '-resize', '1x1!', '-format', '%[hex:u.p{0,0}]', 'info:'])
      .toString();
}

function size(file) {
  return execFileSync('identify', ['-format', '%wx%h', file]).toString();
}

// The desktop's screenshots of the same walk, taken now with this build.
function desktopShots() {
  const out = path.join(work, 'linux');
  execFileSync(path.join(source, 'scripts/screenshots.sh'), [path.join(build, 'bin/lumora'), out],
               {stdio: ['ignore', 'ignore', 'inherit']});
  return out;
}

async function testWalk(browser, server, linux) {
  const out = path.join(work, 'web');
  fs.mkdirSync(out, {recursive: true});
  const course = await Course.open(browser, server.url);
  const steps = walk(path.join(source, 'tests/support/walk.txt'));
  const worst = [];
  const erred = [];
  for (const s of steps) {
    const errors = course.errors().length;
    if (s.kind === 'go' || s.kind === 'step') await go(course, s.x, s.y);
    if (s.kind === 'sweep') {
      await course.click(s.x, s.y);
      await new Promise((r) => setTimeout(r, 1600));
    }
    const file = path.join(out, s.name + '.png');
    await course.shot(file);
    if (course.errors().length > errors) erred.push(`${s.name} (${course.errors().length - errors})`);
    const desktop = path.join(linux, s.name + '.png');
    if (s.kind === 'sweep') continue;  // the mark is wherever the moment has it
    t.check(size(file) === size(desktop), `${s.name}: ${size(file)} in the browser, ` +
                                              `${size(desktop)} on the desktop`);
    const d = difference(file, desktop);
    worst.push([d, s.name]);
    t.check(d < 0.02, `${s.name}: ${(d * 100).toFixed(2)} % of the page differs from the desktop's`);
  }
  worst.sort((a, b) => b[0] - a[0]);
  console.log(`walk: ${steps.length} steps; most different: ` +
              worst.slice(0, 3).map(([d, n]) => `${n} ${(d * 100).toFixed(2)} %`).join(', '));
  t.check(course.errors().length === 0, `walk: errors on the console, at ${erred}: ` +
          [...new Set(course.errors())].join('; '));
  await course.page.close();
}

// Form18 to Form22 by Next and back by Back, each page with its own name, and back to the menu.
async function testEyeChapter(browser, server) {
  const course = await Course.open(browser, server.url);
  await go(course, 9000, 7000);
  const menu = (await course.pageNode()).name;
  await go(course, 2587, 4327);
  const forward = [(await course.pageNode()).name];
  for (let i = 0; i < 4; i++) {
    await press(course, '下一頁');
    forward.push((await course.pageNode()).name);
  }
  const backward = [];
  for (let i = 0; i < 4; i++) {
    await press(course, '上一頁');
    backward.unshift((await course.pageNode()).name);
  }
  backward.push(forward[4]);
  t.check(JSON.stringify(forward) === JSON.stringify(backward),
          `eye chapter: forward ${forward} but back ${backward}`);
  t.check(new Set(forward).size === 5, `eye chapter: pages named ${forward}`);
  await press(course, '上一頁');
  t.check((await course.pageNode()).name === menu, 'eye chapter: Back on its first page ' +
                                                   'is not the menu');
  await course.page.close();
}

async function toBlindSpot(course) {
  await go(course, 9000, 7000);
  await go(course, 2587, 4327);
  for (let i = 0; i < 3; i++) await press(course, '下一頁');
}

// The mark creeps for about four seconds, painted all along, the tab answering; a click on Next
// meanwhile waits and is delivered once the mark has stopped.
async function testSweep(browser, server) {
  const course = await Course.open(browser, server.url);
  await toBlindSpot(course);
  const blindSpot = (await course.pageNode()).name;
  const mark = async () => nodes(await course.tree()).filter((n) => n.role === 'image')
      .map((n) => n.x).join(',');
  const start = await mark();
  const began = Date.now();
  await course.press('右眼');  // the dot sweeps
  const seen = new Set();
  const answers = [];
  for (let i = 0; i < 8; i++) {
    await new Promise((r) => setTimeout(r, 250));
    const asked = Date.now();
    seen.add(await mark());
    answers.push(Date.now() - asked);
  }
  await course.press('下一頁');  // held until the sweep ends
  await course.page.waitForFunction((name) => {
    const find = (ns) => ns.find((n) => n.role === 'region') ||
                         ns.map((n) => find(n.children || [])).find(Boolean);
    return find(window.lumora.tree).name !== name;
  }, {polling: 20, timeout: 20000}, blindSpot);
  const moved = Date.now() - began;
  const said = (await course.page.evaluate(() => window.lumora.said)).join(' / ');
  t.check(/開始.*停/.test(said), `sweep: the screen reader was told "${said}"`);
  t.check(seen.size >= 6, `sweep: the mark was seen at ${seen.size} places in two seconds`);
  t.check(!seen.has(start), 'sweep: the mark had not moved');
  t.check(Math.max(...answers) < 150, `sweep: the tab answered after ${Math.max(...answers)} ms`);
  t.check(moved >= 3700 && moved < 6000,
          `sweep: the held click moved on ${moved} ms after the sweep began (about 4000)`);
  console.log(`sweep: the held click delivered ${moved} ms after the sweep began; the tab ` +
              `answered within ${Math.max(...answers)} ms`);
  await course.page.close();
}

async function toIllusion(course, digit) {
  await go(course, 9000, 7000);
  await go(course, 2587, 5647);
  await go(course, 7627, 6967);
  await go(course, 7507, 6847);
  await press(course, String(digit));
}

// Illusion 7's 開始動畫 opens the animation's own window over the page; Esc ends it, and a
// second press opens it again.
async function testAnimation(browser, server) {
  const course = await Course.open(browser, server.url);
  await toIllusion(course, 7);
  const windows = async () => (await course.tree()).filter((w) => w.role === 'window');
  await press(course, '開始動畫');
  let shown = await windows();
  t.check(shown.length === 2, `animation: ${shown.length} windows after the press`);
  const spiral = shown[1] || {};
  t.check(spiral.w === 600 && spiral.h === 600, `animation: its window is ${spiral.w}×${spiral.h}`);
  await new Promise((r) => setTimeout(r, 1000));
  await course.page.screenshot({path: path.join(work, 'animation.png')});
  const turning = await course.capture(spiral, {encoding: 'base64'});
  await new Promise((r) => setTimeout(r, 300));
  const later = await course.capture(spiral, {encoding: 'base64'});
  t.check(turning !== later, 'animation: the spiral does not turn');
  const before = await course.tree();
  await course.page.keyboard.press('Escape');
  await course.settle(before);
  t.check((await windows()).length === 1, 'animation: Esc did not end it');
  await press(course, '開始動畫');
  t.check((await windows()).length === 2, 'animation: a second press did not open it again');
  await course.page.close();
}

// The report of a missing picture in the page and on the console, then the course's end.
async function testFailure(browser, site) {
  const server = await serve(site, (name) => (name === 'bg5.jpg' ? null : undefined));
  const course = await Course.open(browser, server.url);
  await course.page.waitForFunction(
      () => (window.lumora.tree || []).some((w) => w.role === 'dialog'), {timeout: 20000});
  const dialog = (await course.tree()).find((w) => w.role === 'dialog');
  const all = nodes([dialog]);
  const text = all.map((n) => n.name).join('\n');
  t.check(text.includes('找不到圖片檔案：/bg5.jpg'), 'failure: the report says ' + text);
  t.check(all.some((n) => n.role === 'button' && n.name === '確定'),
          'failure: the button is not 確定');
  t.check(course.errors().some((e) => e.includes('找不到圖片檔案：/bg5.jpg')),
          'failure: the console did not say it: ' + course.errors());
  await course.page.screenshot({path: path.join(work, 'failure.png')});
  t.check(await course.page.evaluate(() => window.lumora.endedStatus) === undefined,
          'failure: ended before the report was closed');
  await course.page.keyboard.press('Enter');
  await course.page.waitForFunction(() => window.lumora.endedStatus !== undefined,
                                    {timeout: 10000});
  const ended = await course.page.evaluate(() => [window.lumora.endedStatus,
                                                  document.getElementById('ended').innerText]);
  t.check(ended[0] === 1 && ended[1].includes('課程已經結束。') && ended[1].includes('重新開始'),
          'failure: after the report: ' + ended);
  await course.page.screenshot({path: path.join(work, 'ended.png')});
  // Starting again is the course from its title page, the picture still missing.
  await course.page.click('#again');
  await course.page.waitForFunction(
      () => (window.lumora.tree || []).some((w) => w.role === 'dialog'), {timeout: 20000});
  t.check(true, 'failure: started again');
  await course.page.close();
  await server.close();
}

// Exit ends the course the same way, with no question.
async function testExit(browser, server) {
  const course = await Course.open(browser, server.url);
  await go(course, 9000, 7000);
  await course.press('離開');
  await course.page.waitForFunction(() => window.lumora.endedStatus !== undefined,
                                    {timeout: 10000});
  t.check(await course.page.evaluate(() => window.lumora.endedStatus) === 0, 'exit: status');
  await course.page.close();
}

// The report the desktop's course gives on standard error, starting from that folder (its
// message box then waits for a pupil: the course is ended once the report is written).
function desktopReport(folder) {
  return new Promise((resolve) => {
    const course = spawn(path.join(folder, 'lumora'), [],
                         {env: {...process.env, QT_QPA_PLATFORM: 'offscreen'},
                          stdio: ['ignore', 'ignore', 'pipe']});
    let said = '';
    const report = () => said.split('\n').slice(said.split('\n')
        .findIndex((l) => l.startsWith('程式發生錯誤')), undefined);
    const done = () => { clearTimeout(timer); course.kill('SIGKILL'); };
    const timer = setTimeout(() => { done(); resolve(''); }, 30000);
    course.stderr.on('data', (d) => {
      said += d;
      const lines = report();
      if (said.includes('程式發生錯誤') && lines.length > 2) { done(); resolve(lines.slice(0, 2).join('\n')); }
    });
    course.on('exit', () => { done(); resolve(report().slice(0, 2).join('\n')); });
  });
}

// A sample of the spoilt pictures the desktop's fault matrix judges, judged the same here: the
// report names the same failure as the desktop's (only the folder differs).
async function testFaults(browser) {
  const original = fs.readFileSync(path.join(site, 'bg5.jpg'));
  const cases = {
    empty: Buffer.alloc(0),
    cut: original.subarray(0, Math.floor(original.length / 2)),
    garbage: Buffer.from(Array.from({length: 4096}, (_, i) => (i * 7919 + 13) % 256)),
  };
  for (const [kind, bytes] of Object.entries(cases)) {
    const folder = path.join(work, 'faults', kind);
    fs.mkdirSync(folder, {recursive: true});
    for (const f of fs.readdirSync(path.join(build, 'bin')))
      fs.copyFileSync(path.join(build, 'bin', f), path.join(folder, f));
    fs.writeFileSync(path.join(folder, 'bg5.jpg'), bytes);
    const desktop = (await desktopReport(folder)).split(folder).join('');
    const server = await serve(site, (name) => (name === 'bg5.jpg' ? bytes : undefined));
    const course = await Course.open(browser, server.url);
    await course.page.waitForFunction(
        () => (window.lumora.tree || []).some((w) => w.role === 'dialog'), {timeout: 20000});
    const said = course.errors().filter((e) => !e.startsWith('Failed to load')).join('\n');
    t.check(desktop !== '' && said === desktop,
            `faults: ${kind} bg5.jpg: the browser says "${said}", the desktop "${desktop}"`);
    await course.page.close();
    await server.close();
  }
}

// The whole course in one file, opened from the disk with no server.
async function testSingleFile(browser) {
  const course = await Course.open(browser, pathToFileURL(path.join(web, 'lumora.html')).href);
  t.check((await course.pageNode()).name === TITLE, 'single file: no title page');
  await go(course, 9000, 7000);
  await go(course, 2587, 4327);
  await course.shot(path.join(work, 'single-file-eye.png'));
  const errors = course.errors().concat(course.failed);
  t.check(errors.length === 0, 'single file: ' + errors);
  await course.page.close();
}

// The tab's title and icon, and nothing asked of anyone but the site.
async function testSite(browser, server) {
  const course = new Course(await browser.newPage());
  const elsewhere = [];
  course.page.on('request', (r) => {
    if (!r.url().startsWith(server.url) && !r.url().startsWith('data:')) elsewhere.push(r.url());
  });
  await course.page.goto(server.url);
  await course.started();
  const [title, icon] = await course.page.evaluate(
      () => [document.title, document.querySelector('link[rel=icon]').href]);
  t.check(title === 'Lumora 眼睛與視錯覺', 'site: the tab is titled ' + title);
  t.check((await fetch(icon)).ok, 'site: no icon at ' + icon);
  t.check(elsewhere.length === 0, 'site: fetched from elsewhere: ' + elsewhere);
  // The pictures are the desktop's, byte for byte.
  const pictures = fs.readdirSync(path.join(build, 'bin')).filter((f) => /\.(jpg|gif)$/.test(f));
  const unlike = pictures.filter((f) => !fs.readFileSync(path.join(build, 'bin', f))
      .equals(fs.readFileSync(path.join(site, f))));
  t.check(pictures.length === 72 && unlike.length === 0,
          `site: ${pictures.length} pictures on the desktop, unlike the site's: ${unlike}`);
  await course.page.close();
}

// What a screen reader finds: Chromium's accessibility tree holds the page's name and its texts,
// the explanation once it is shown, and a press through it presses the course's button.
async function testReader(browser, server) {
  const course = await Course.open(browser, server.url);
  await go(course, 9000, 7000);
  await go(course, 2587, 4327);
  const axNames = async () => {
    const client = await course.page.createCDPSession();
    const {nodes: ax} = await client.send('Accessibility.getFullAXTree');
    await client.detach();
    return ax.filter((n) => !n.ignored).map((n) => (n.name && n.name.value) || '');
  };
  const page = await course.pageNode();
  const texts = nodes([page]).filter((n) => n.role === 'paragraph' || n.role === 'heading');
  const names = await axNames();
  t.check(names.includes(page.name), `reader: no "${page.name}" in the accessibility tree`);
  for (const text of texts)
    t.check(names.some((n) => n.includes(text.name.slice(0, 20))),
            `reader: no "${text.name.slice(0, 20)}…" in the accessibility tree`);
  // A screen reader's press on 下一頁: the next page, with its own picture.
  const before = await course.tree();
  const next = nodes(before).find((n) => n.role === 'button' && n.name === '下一頁');
  await course.page.evaluate((id) => document.getElementById('r' + id).click(), next.id);
  await course.settle(before);
  const pictures = async () => nodes(await course.tree()).filter((n) => n.role === 'image')
      .map((n) => n.name).join('|');
  const after = await pictures();
  t.check(after !== nodes([page]).filter((n) => n.role === 'image').map((n) => n.name).join('|'),
          'reader: its press did not move on');
  await course.page.close();

  const illusion = await Course.open(browser, server.url);
  await toIllusion(illusion, 0);
  const explanation = async () => nodes(await illusion.tree()).filter(
      (n) => n.role === 'paragraph' || n.role === 'text').map((n) => n.name);
  const hidden = await explanation();
  await press(illusion, '解說');
  const shown = (await explanation()).filter((n) => !hidden.includes(n));
  t.check(shown.length > 0, 'reader: the explanation did not appear');
  const said = (await illusion.page.evaluate(() => window.lumora.said)).join(' / ');
  t.check(shown.every((s) => said.includes(s)), `reader: said "${said}" as it appeared`);
  await illusion.page.close();
}

// devicePixelRatio 2 and 3: the finer drawings are read before the course starts and drawn,
// pixel for pixel where a picture is drawn at its designed size.
async function testFiner(server) {
  for (const factor of [2, 3]) {
    const browser = await launch({scale: factor});
    const course = await Course.open(browser, server.url);
    t.check(server.asked.includes(`bg5@${factor}x.jpg`), `finer ${factor}: bg5@${factor}x.jpg ` +
                                                         'not fetched before the start');
    await go(course, 9000, 7000);
    await go(course, 2587, 4327);
    const page = await course.pageNode();
    const file = path.join(work, `finer-${factor}-eye.png`);
    await course.shot(file);
    t.check(size(file) === `${page.w * factor}x${page.h * factor}`,
            `finer ${factor}: the page is ${size(file)} device pixels`);
    // The close-up of an eye (nothing drawn over it), drawn from its finer file.
    const eye = nodes([page]).find((n) => n.role === 'image' && n.name.startsWith('一隻眼睛'));
    const drawn = path.join(work, `finer-${factor}-realeye.png`);
    await course.capture(eye, {path: drawn});
    const finer = path.join(site, `realeye@${factor}x.jpg`);
    const d = size(drawn) === size(finer) ? difference(drawn, finer, 10) : 1;
    const where = d < 0.01 ? '' : ` at (${eye.x}, ${eye.y}) in the page at (${page.x}, ` +
        `${page.y}), now "${(await course.pageNode()).name}", mean colour ${mean(drawn)}`;
    t.check(d < 0.01, `finer ${factor}: the eye drawn ${size(drawn)} differs from ` +
                      `realeye@${factor}x.jpg (${size(finer)}) at ${(d * 100).toFixed(1)} %` +
                      where);
    await browser.close();
  }
}

// The keyboard as on the desktop: the menu's first button by Enter, the eye chapter's first page
// with the focus on its default button, Tab through its buttons in their order, Enter to go on.
async function testKeyboard(browser, server) {
  const course = await Course.open(browser, server.url);
  const focused = async () => nodes(await course.tree()).filter((n) => n.focused &&
                                                                n.role === 'button').map((n) => n.name)[0];
  const active = await course.page.evaluate(() => document.activeElement.tagName);
  t.check(active === 'CANVAS', 'keyboard: the course does not have the keyboard at the start: ' +
                               active);
  await go(course, 9000, 7000);
  let before = await course.tree();
  await course.page.keyboard.press('Enter');
  await course.settle(before);
  const eye = (await course.pageNode()).name;
  const order = [await focused()];
  for (let i = 0; i < 4; i++) {
    before = await course.tree();
    await course.page.keyboard.press('Tab');
    await course.settle(before);
    order.push(await focused());
  }
  const expected = ['下一頁', '上一頁', '離開', '回主目錄', '下一頁'];
  t.check(JSON.stringify(order) === JSON.stringify(expected),
          `keyboard: Tab went ${order}, not ${expected}`);
  before = await course.tree();
  await course.page.keyboard.press('Enter');
  await course.settle(before);
  t.check((await course.pageNode()).name !== eye ||
          JSON.stringify(await course.tree()) !== JSON.stringify(before),
          'keyboard: Enter on 下一頁 did not go on');
  await course.page.close();
}

// A tap is a press: the title page gives way to the menu.
async function testTouch(browser, server) {
  const course = await Course.open(browser, server.url);
  const node = await course.pageNode();
  const before = await course.tree();
  await course.page.touchscreen.tap(node.x + 300, node.y + 300);
  await course.settle(before);
  t.check((await course.pageNode()).name !== TITLE, 'touch: a tap did not open the menu');
  await course.page.close();
}

// F11 shows the page as large as the screen allows; again, at its designed size.
async function testFullScreen(browser, server) {
  const course = await Course.open(browser, server.url);
  await go(course, 9000, 7000);
  const designed = await course.pageNode();
  let before = await course.tree();
  await course.page.keyboard.press('F11');
  await course.settle(before);
  const full = await course.pageNode();
  const viewport = course.page.viewport();
  t.check(Math.abs(full.w - viewport.width) <= 2 || Math.abs(full.h - viewport.height) <= 2,
          `full screen: the page is ${full.w}×${full.h} in ${viewport.width}×${viewport.height}`);
  await course.page.screenshot({path: path.join(work, 'full-screen.png')});
  before = await course.tree();
  await course.page.keyboard.press('F11');
  await course.settle(before);
  const again = await course.pageNode();
  t.check(again.w === designed.w && again.h === designed.h,
          `full screen: back at ${again.w}×${again.h}, designed ${designed.w}×${designed.h}`);
  await course.page.close();
}

// LUMORA_WEB_ONLY=testSweep,testReader runs only those.
const only = (process.env.LUMORA_WEB_ONLY || '').split(',').filter(Boolean);
const named = (test) => test.toString().match(/test\w+/)[0];
const linux = !only.length || only.includes('testWalk') ? desktopShots() : null;
const server = await serve(site);
const browser = await launch();
const tests = [
  () => testWalk(browser, server, linux), () => testEyeChapter(browser, server),
  () => testSweep(browser, server), () => testAnimation(browser, server),
  () => testFailure(browser, site), () => testExit(browser, server), () => testFaults(browser),
  () => testSingleFile(browser), () => testSite(browser, server),
  () => testReader(browser, server), () => testFiner(server), () => testTouch(browser, server),
  () => testKeyboard(browser, server),
  () => testFullScreen(browser, server),
];
for (const test of tests.filter((x) => !only.length || only.includes(named(x)))) {
  const started = Date.now();
  try {
    await test();
  } catch (e) {
    t.check(false, `${named(test)}: ${e.stack || e}`);
  }
  console.log(`${named(test)}: ${Date.now() - started} ms`);
}
await browser.close();
await server.close();
t.finish();
