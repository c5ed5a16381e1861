#!/usr/bin/env node
// Compiles the format description (docs/qx7set.ksy) with Kaitai Struct's own
// compiler to JavaScript, parses the demo table and generated sound tables with
// Kaitai's runtime, and compares every field with the table tool's JSON dump.
// Texts are compared as bytes: the plain JSON dump writes byte N as U+00NN.
//
//     ksy_check.js KSY TOOL WORK      (NODE_PATH: the pinned packages)
'use strict';

const assert = require('assert');
const childProcess = require('child_process');
const fs = require('fs');
const path = require('path');
const yaml = require('js-yaml');
const compiler = require('kaitai-struct-compiler');
const {KaitaiStream} = require('kaitai-struct');

const [ksyPath, tool, work] = process.argv.slice(2);
const SLOTS = 151;
const FIELD = 32;

// A random generator of its own, so that every run checks the same tables.
function randomFrom(seed) {
  let state = seed;
  return (limit) => {
    state = (state * 1103515245 + 12345) % 2147483648;
    return state % limit;
  };
}

// A text of 0 to 31 bytes (never NUL), its NUL, and stale bytes after it.
function field(random, text) {
  const bytes = Buffer.alloc(FIELD);
  const length = text === undefined ? random(FIELD) : text.length;
  for (let k = 0; k < length; ++k) {
    bytes[k] = text === undefined ? 1 + random(255) : text[k];
  }
  for (let k = length + 1; k < FIELD; ++k) {
    bytes[k] = random(4) === 0 ? random(256) : 0;
  }
  return bytes;
}

function soundTable(random, count, everySlotFull) {
  const parts = [Buffer.from([count, SLOTS, 0, 0, 0])];
  for (let i = 0; i < count; ++i) {
    parts.push(field(random), Buffer.from([random(256)]));
    for (let slot = 0; slot < SLOTS; ++slot) {
      const full = everySlotFull ? Buffer.alloc(FIELD - 1, 0x41 + (slot % 26)) : undefined;
      parts.push(random(3) === 0 || everySlotFull ? field(random, full) : Buffer.alloc(FIELD));
    }
  }
  return Buffer.concat(parts);
}

function bytesOf(jsonText) {
  return Buffer.from(jsonText, 'latin1');
}

function compareWithDump(name, parsed, dump) {
  assert.strictEqual(parsed.tilesetCount, dump.tilesets.length, name + ': tileset count');
  assert.strictEqual(parsed.slotsPerTileset, SLOTS, name + ': slots per tileset');
  dump.tilesets.forEach((tileset, i) => {
    const entry = parsed.tilesets[i];
    const where = name + ': tileset ' + i;
    assert.deepStrictEqual(Buffer.from(entry.name.text), bytesOf(tileset.name), where + ' name');
    assert.strictEqual(entry.ambient, tileset.ambient, where + ' ambient');
    const texts = new Map(tileset.slots.map((slot) => [slot.index, bytesOf(slot.text)]));
    entry.slots.forEach((slot, k) => {
      assert.deepStrictEqual(Buffer.from(slot.text), texts.get(k) || Buffer.alloc(0), where + ' slot ' + k);
    });
  });
}

function checkTable(name, bytes, Qx7set) {
  const file = path.join(work, name + '.dat');
  if (bytes !== null) {
    fs.writeFileSync(file, bytes);
  }
  const dump = JSON.parse(childProcess.execFileSync(tool, ['dump', '--format', 'json', file], {encoding: 'utf8', maxBuffer: 64 << 20}));
  compareWithDump(name, new Qx7set(new KaitaiStream(fs.readFileSync(file))), dump);
}

async function main() {
  fs.rmSync(work, {recursive: true, force: true});
  fs.mkdirSync(work, {recursive: true});
  const files = await compiler.compile('javascript', yaml.load(fs.readFileSync(ksyPath, 'utf8')), null, false);
  for (const [fileName, source] of Object.entries(files)) {
    fs.writeFileSync(path.join(work, fileName), source);
  }
  const {Qx7set} = require(path.join(work, 'Qx7set.js'));
  childProcess.execFileSync(tool, ['demo', path.join(work, 'demo.dat')]);
  checkTable('demo', null, Qx7set);
  const random = randomFrom(151);
  let checked = 1;
  for (let n = 0; n < 100; ++n, ++checked) {
    checkTable('generated-' + n, soundTable(random, random(9), false), Qx7set);
  }
  checkTable('largest', soundTable(random, 255, true), Qx7set);
  console.log(checked + 1 + ' passed, 0 failed');
}

main().catch((error) => {
  console.error(error.stack || error);
  console.log('0 passed, 1 failed');
  process.exit(1);
});
