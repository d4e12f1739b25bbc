// What a screen reader finds in the page: the course's windows as the program describes them
// (forms/platform/wasm/reader.cpp), written as plain elements over the drawing, where they are
// drawn, invisible and out of the pointer's way. A screen reader's press on a button presses the
// course's own. What changes while the pupil stays on a page (an explanation, a new picture,
// a report) is also said once through a live region, as a desktop screen reader speaks it.
'use strict';

(function () {
  const root = document.getElementById('reader');
  const said = document.createElement('div');
  said.setAttribute('aria-live', 'assertive');
  said.setAttribute('role', 'status');
  said.id = 'said';
  let last = new Map();  // id -> node, of what was written before
  let lastPage = null;

  const tags = {
    heading: 'h1', paragraph: 'p', text: 'p', button: 'button', image: 'div',
    animation: 'div', region: 'section', dialog: 'div', window: 'div', group: 'div',
  };

  // An element where the node is drawn: its place is relative to its parent's.
  function element(node, parent) {
    const e = document.createElement(tags[node.role] || 'div');
    e.id = 'r' + node.id;
    e.style.left = (node.x - (parent ? parent.x : 0)) + 'px';
    e.style.top = (node.y - (parent ? parent.y : 0)) + 'px';
    e.style.width = Math.max(node.w, 1) + 'px';
    e.style.height = Math.max(node.h, 1) + 'px';
    if (node.role === 'region') e.setAttribute('aria-label', node.name);
    if (node.role === 'dialog') {
      e.setAttribute('role', 'alertdialog');
      e.setAttribute('aria-modal', 'true');
      if (node.name) e.setAttribute('aria-label', node.name);
    }
    if (node.role === 'image' || node.role === 'animation') {
      e.setAttribute('role', node.press ? 'button' : 'img');
      e.setAttribute('aria-label', node.description || node.name);
    }
    if (node.role === 'heading' || node.role === 'paragraph' || node.role === 'text' ||
        node.role === 'button')
      e.textContent = node.name;
    if (node.role === 'button') {
      e.type = 'button';
      e.tabIndex = -1;  // the keyboard stays with the drawing; a screen reader still presses
      if (node.description) e.setAttribute('aria-description', node.description);
    }
    if (node.press) e.addEventListener('click', () => window.lumora.press(node.id));
    for (const child of node.children || []) e.appendChild(element(child, node));
    return e;
  }

  function flatten(nodes, into, page) {
    for (const node of nodes) {
      const here = node.role === 'region' ? node : page;
      into.set(node.id, {node, page: here && here.id});
      flatten(node.children || [], into, here);
    }
    return into;
  }

  function say(text) {
    if (!text) return;
    window.lumora.said.push(text);
    // The same text twice is still a change to the region.
    said.textContent = '';
    requestAnimationFrame(() => { said.textContent = text; });
  }

  // What the page itself tells of a change: a new page by its name, and a report that appears.
  // What changes on a page the course tells itself (window.lumora.say).
  function news(now) {
    const page = [...now.values()].find((n) => n.node.role === 'region');
    const pageId = page && page.node.id;
    const dialogs = [...now.values()].filter((n) => n.node.role === 'dialog' && !last.has(n.node.id));
    if (dialogs.length) return dialogs.map((d) => d.node.name).join(' ');
    if (pageId !== lastPage) return page ? page.node.name : '';
    return '';
  }

  window.lumora.read = function (json) {
    const windows = JSON.parse(json);
    window.lumora.tree = windows;
    window.lumora.treeAt = performance.now();
    const now = flatten(windows, new Map(), null);
    const message = news(now);
    root.replaceChildren();
    for (const w of windows) root.appendChild(element(w, null));
    root.appendChild(said);
    last = now;
    const page = [...now.values()].find((n) => n.node.role === 'region');
    lastPage = page && page.node.id;
    say(message);
  };
  window.lumora.say = say;
  window.lumora.said = [];  // everything said, in order
  window.lumora.press = (id) => window.lumora.module && window.lumora.module.lumoraPress(id);
})();
