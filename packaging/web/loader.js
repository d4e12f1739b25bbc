// Starts the course in the browser: fetches the files it reads (pictures, fonts, Qt's
// translation) from the site's own folder, or takes them from inside the page when the whole
// course is one file, puts them where the program looks (the root of its file system, as beside
// the program on a desktop), and starts the program in the page's screen element.
//
// A file the site does not have is simply not there for the program, which then reports it as
// it would on a desktop. Nothing is fetched from anywhere but the folder this page came from.
'use strict';

(function () {
  const site = window.lumoraSite;  // written into index.html by the build: the files, by kind
  const inside = window.lumoraInside || null;  // the single file: {name: base64}
  const screenElement = document.getElementById('screen');
  const statusElement = document.getElementById('status');
  const endedElement = document.getElementById('ended');
  const started = performance.now();

  function bytesOf(base64) {
    const text = atob(base64);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return bytes;
  }

  // The file's bytes, or null when the site does not have it.
  async function get(name) {
    if (inside) return name in inside ? bytesOf(inside[name]) : null;
    try {
      const response = await fetch(encodeURI(name), {cache: 'no-cache'});
      if (!response.ok) return null;
      return new Uint8Array(await response.arrayBuffer());
    } catch (error) {
      console.warn('lumora: ' + name + ': ' + error);
      return null;
    }
  }

  // Finer drawings are an addition: those the screen needs now come before the start, the rest
  // after the first page is painted, for full screen and for zoom.
  const density = window.devicePixelRatio || 1;
  const factorNow = density <= 1 ? 1 : (density <= 2 ? 2 : 3);
  const first = site.files.filter(
      (f) => !f.factor || f.factor === factorNow);
  const later = site.files.filter((f) => f.factor && f.factor !== factorNow);
  const firstFiles = Promise.all(first.map(async (f) => [f.name, await get(f.name)]));

  let module = null;
  function store(name, bytes) {
    if (!bytes) return;
    const slash = name.lastIndexOf('/');
    if (slash > 0) module.FS.mkdirTree('/' + name.slice(0, slash));
    module.FS.writeFile('/' + name, bytes);
  }

  function status(text) {
    statusElement.textContent = text;
    statusElement.hidden = !text;
  }

  // What the program calls in the page (forms/platform/wasm).
  window.lumora = {
    // The course has ended (Exit, or after a failure report): the screen gives way to one line
    // and a way to start again.
    ended(exitStatus) {
      window.lumora.endedStatus = exitStatus;
      screenElement.hidden = true;
      endedElement.hidden = false;
      endedElement.dataset.status = String(exitStatus);
      document.getElementById('again').focus();
    },
    // Whether the browser shows the page on the whole screen: asked for by the course (F11) or
    // by the pupil from the browser's own menu or key.
    fullScreen() {
      return !!document.fullscreenElement || matchMedia('(display-mode: fullscreen)').matches;
    },
    setFullScreen(on) {
      if (on && !document.fullscreenElement && document.documentElement.requestFullscreen)
        document.documentElement.requestFullscreen().catch(() => {});
      else if (!on && document.fullscreenElement)
        document.exitFullscreen().catch(() => {});
    },
    // A page has been shown (and is painted at the next frame).
    shown() {
      window.lumora.shownAt = performance.now();
      window.lumora.pagesShown++;
    },
    pagesShown: 0,
    startedAt: started,
    firstPaint: null,
  };

  document.getElementById('again').addEventListener('click', () => location.reload());
  // The screen's size may stay as it was (a headless browser, a window already as large as the
  // display): the course is told all the same.
  document.addEventListener('fullscreenchange', () => {
    if (module && module.lumoraFullScreenChanged) module.lumoraFullScreenChanged();
  });

  const config = {
    qtContainerElements: [screenElement],
    locateFile: (name) => name,
    print: (text) => console.log(text),
    printErr: (text) => console.error(text),
    preRun: [(m) => {
      module = m;
      window.lumora.module = m;
      m.addRunDependency('lumora-files');
      firstFiles.then((files) => {
        for (const [name, bytes] of files) store(name, bytes);
        m.removeRunDependency('lumora-files');
      });
    }],
    onAbort: (what) => {
      console.error('lumora: the program stopped: ' + what);
      window.lumora.ended(-1);
    },
  };
  if (inside) config.wasmBinary = bytesOf(inside['lumora.wasm']);

  status('正在載入課程……');
  // The program's script comes after this one.
  document.addEventListener('DOMContentLoaded', () => createQtAppInstance(config).then(() => {
    // The first frame the program draws: the title page.
    const shown = () => {
      status('');
      window.lumora.firstPaint = performance.now();
      for (const f of later) get(f.name).then((bytes) => store(f.name, bytes));
    };
    requestAnimationFrame(() => requestAnimationFrame(shown));
  }, (error) => {
    console.error('lumora: the program could not start: ' + error);
    status('課程無法啟動：這個瀏覽器不能執行它。');
  }));
})();
