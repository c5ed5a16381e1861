#include "tools/TableViewPage.h"

// The script reads the page's data from its JSON and gives table texts to
// the page as textContent only, never as markup. The overview's cells are
// drawn, one canvas a tileset, in the colours of the legend: 38,505 elements
// took several times as long to lay out and to mark.

const char TableViewPage::STYLE[] = R"(
body { font: 13px/1.35 system-ui, sans-serif; margin: 0 12px 12px; color: #222; }
h1 { font-size: 18px; margin: 10px 0 4px; }
h2 { font-size: 14px; margin: 14px 0 4px; }
header p, header ul { margin: 4px 0; }
.problems { color: #a00; }
.count { font-weight: bold; }
pre { margin: 0; }
.name, .v { font-family: ui-monospace, monospace; white-space: pre; }
.c > .v { background: #fde3bd; }
del { text-decoration: none; color: #a33; font-family: ui-monospace, monospace; white-space: pre; }
del::before { content: "was "; font-family: system-ui, sans-serif; }
.none { color: #777; margin: 0; }
#q { width: 24em; }
.js body { display: grid; grid-template-columns: max-content minmax(18em, 1fr); gap: 0 16px; }
.js header { grid-column: 1 / 3; }
.js #side { position: sticky; top: 0; max-height: 100vh; overflow: auto; }
.js main section { display: none; }
.js main section.chosen { display: block; }
.js pre > span { display: block; }
.js pre > .here { outline: 2px solid #36c; }
#overview { font-size: 8px; line-height: 9px; }
.row { display: flex; align-items: center; height: 9px; cursor: pointer; white-space: nowrap; }
.row b { width: 2.5em; text-align: right; font-weight: normal; color: #777; }
.row .nm { width: 18em; overflow: hidden; text-overflow: ellipsis; padding: 0 4px; }
.row .am { width: 2.5em; color: #555; }
.row .c { color: #c05a00; font-weight: bold; }
.row.gone .nm { font-style: italic; color: #999; }
.row.sel { background: #ffe9a8; }
.row.x, .only .row:not(.c), .only pre > span:not(.c) { display: none; }
#legend i { display: inline-block; width: 8px; height: 8px; margin-left: 8px; vertical-align: middle; }
#legend .e { background: #e4e4e4; }
#legend .f { background: #7895b2; }
#legend .c { background: #f0a030; }
#legend .m, .row .nm.m { background: #d02020; color: #fff; }
#results { margin: 4px 0; padding-left: 0; list-style: none; font-family: ui-monospace, monospace; }
#results li { cursor: pointer; white-space: pre; }
#results li:hover, .row:hover { background: #eef3ff; }
)";

const char TableViewPage::SCRIPT[] = R"(
'use strict';
document.documentElement.classList.add('js');
document.addEventListener('DOMContentLoaded', () => {
  const LISTED = 100;
  const CELL = 6;
  const HEIGHT = 7;
  const byId = id => document.getElementById(id);
  const tilesets = JSON.parse(byId('data').textContent).tilesets;
  const sections = document.querySelectorAll('main section');
  const quoted = text => '"' + text + '"';
  const legend = byId('legend');
  const colours = {};
  for (const item of legend.querySelectorAll('i')) colours[item.className] = getComputedStyle(item).backgroundColor;

  // A slot's cell: e empty, f a text, c changed; m (found) is drawn over any of them.
  const kinds = tilesets.map(t => t.slots.map((text, k) => t.was && 'slot ' + k in t.was ? 'c' : text ? 'f' : 'e'));
  function makeRow(tileset, i) {
    const was = tileset.was || {};
    const row = document.createElement('div');
    row.className = 'row' + (tileset.was ? ' c' : '') + (tileset.gone ? ' gone' : '');
    row.dataset.tileset = i;
    row.title = 'tileset ' + i + ' ' + quoted(tileset.name) + ' ambient ' + tileset.ambient;
    const parts = [['b', i, ''], ['span', quoted(tileset.name), 'nm'], ['span', tileset.ambient, 'am']];
    for (const [tag, text, className] of parts) {
      const part = document.createElement(tag);
      part.textContent = text;
      part.className = className;
      row.append(part);
    }
    row.children[1].classList.toggle('c', 'name' in was);
    row.children[2].classList.toggle('c', 'ambient' in was);
    const cells = document.createElement('canvas');
    cells.width = CELL * tileset.slots.length;
    cells.height = HEIGHT;
    row.append(cells);
    return row;
  }
  const rows = tilesets.map(makeRow);
  const contexts = rows.map(row => row.lastChild.getContext('2d'));
  function draw(i, found) {
    kinds[i].forEach((kind, k) => {
      contexts[i].fillStyle = colours[found.has(k) ? 'm' : kind];
      contexts[i].fillRect(k * CELL, 0, CELL - 1, HEIGHT);
    });
  }
  const none = new Set();
  rows.forEach((row, i) => draw(i, none));
  const overview = byId('overview');
  overview.append(...rows);

  // The plain page writes unchanged slots as bare lines of text; a chosen
  // tileset's get an element a line, to be marked and hidden.
  function splitLines(section) {
    const pre = section.querySelector('pre');
    if (!pre || pre.dataset.split) return;
    pre.dataset.split = 'yes';
    for (const node of [...pre.childNodes]) {
      if (node.nodeType !== Node.TEXT_NODE) continue;
      node.replaceWith(...node.textContent.split('\n').filter(line => line).map(line => {
        const element = document.createElement('span');
        element.textContent = line;
        return element;
      }));
    }
  }

  let chosen = null;
  let selected = null;
  let here = null;
  function choose(i, slot) {
    for (const [old, className] of [[chosen, 'chosen'], [selected, 'sel'], [here, 'here']]) {
      if (old) old.classList.remove(className);
    }
    chosen = sections[i];
    splitLines(chosen);
    chosen.classList.add('chosen');
    selected = rows[i];
    selected.classList.add('sel');
    here = [...chosen.querySelectorAll('pre > span')].find(line => parseInt(line.textContent) === slot) || null;
    if (here) {
      here.classList.add('here');
      here.scrollIntoView({block: 'nearest'});
    }
  }
  overview.addEventListener('click', event => {
    const row = event.target.closest('.row');
    if (row) choose(+row.dataset.tileset, event.target.tagName === 'CANVAS' ? Math.floor(event.offsetX / CELL) : -1);
  });

  const lowered = tilesets.map(t => ({name: t.name.toLowerCase(), slots: t.slots.map(s => s.toLowerCase())}));
  const results = byId('results');
  const found = byId('found');
  let foundBefore = rows.map(() => none);
  function search(typed) {
    const query = typed.toLowerCase();
    const hits = [];
    let tilesetsHit = 0;
    lowered.forEach((tileset, i) => {
      const named = query !== '' && tileset.name.includes(query);
      const slots = new Set();
      tileset.slots.forEach((text, k) => {
        if (query && text.includes(query)) slots.add(k);
      });
      if (named) hits.push([i, -1]);
      for (const k of slots) hits.push([i, k]);
      if (slots.size || foundBefore[i].size) draw(i, slots);
      foundBefore[i] = slots;
      tilesetsHit += named || slots.size > 0;
      rows[i].children[1].classList.toggle('m', named);
      rows[i].classList.toggle('x', query !== '' && !named && !slots.size);
    });
    results.replaceChildren(...hits.slice(0, LISTED).map(([i, k]) => {
      const item = document.createElement('li');
      item.dataset.tileset = i;
      item.dataset.slot = k;
      item.textContent = 'tileset ' + i + (k < 0 ? ' name ' + quoted(tilesets[i].name) : ' slot ' + k + ' ' + quoted(tilesets[i].slots[k]));
      return item;
    }));
    found.textContent = !query ? '' : hits.length + (hits.length === 1 ? ' text' : ' texts') + ' found in ' + tilesetsHit +
      (tilesetsHit === 1 ? ' tileset' : ' tilesets') + (hits.length > LISTED ? '; the first ' + LISTED + ' listed' : '');
  }
  byId('q').addEventListener('input', event => search(event.target.value));
  results.addEventListener('click', event => {
    const item = event.target.closest('li');
    if (item) choose(+item.dataset.tileset, +item.dataset.slot);
  });

  const only = byId('only');
  if (only) {
    only.addEventListener('change', () => document.documentElement.classList.toggle('only', only.checked));
    byId('switch').hidden = false;
  }
  byId('find').hidden = false;
  legend.hidden = false;
  if (rows.length) choose(Math.max(0, rows.findIndex(row => row.classList.contains('c'))), -1);
});
)";
