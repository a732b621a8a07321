// The sample volume's proof sheet read back from Debian's headless Chromium, and its IIIF export
// read by a IIIF parser and imported again. Expected labels come from the sample's scans, which
// are named by the folios printed on them. CARTAVOX_BIN: the built programs; CARTAVOX_NODE: the
// folder where npm installed the packages of tests/npm.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { basename, extname, join } from 'node:path';
import { pathToFileURL } from 'node:url';

const load = (name) =>
  import(pathToFileURL(createRequire(join(process.env.CARTAVOX_NODE, 'x.js')).resolve(name)));
const run = (program, ...args) =>
  execFileSync(join(process.env.CARTAVOX_BIN, program), args, { encoding: 'utf8' });
const json = (path) => JSON.parse(readFileSync(path, 'utf8'));
const dir = mkdtempSync(join(tmpdir(), 'cartavox-pack-node-'));
run('cartavox-sample', join(dir, 'scans'), '--small');
run('cartavox-pack', 'build', join(dir, 'scans', 'manifest.json'), join(dir, 'volume'));
const sample = json(join(dir, 'scans', 'manifest.json'));
const labels = sample.books.map((b) => b.pages.map((p) => basename(p, extname(p))));

test('the proof sheet renders in Chromium with every thumbnail and label', async () => {
  run('cartavox-pack', 'proof', join(dir, 'volume'), '-o', join(dir, 'bozza.html'));
  const { default: puppeteer } = await load('puppeteer-core');
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', userDataDir: mkdtempSync(join(dir, 'profile-')),
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'] });
  try {
    const page = await browser.newPage(); // loaded, its images decoded, then read back
    await page.goto(pathToFileURL(join(dir, 'bozza.html')).href, { waitUntil: 'load' });
    const seen = await page.evaluate(() => ({
      title: document.querySelector('h1').innerText,
      books: [...document.querySelectorAll('section.libro')].map((s) => ({
        label: s.querySelector('h2').innerText,
        pages: [...s.querySelectorAll('figcaption')].map((c) => c.innerText) })),
      drawn: [...document.images].filter((i) => i.complete && i.naturalWidth > 0).length }));
    assert.equal(seen.title, sample.title);
    assert.deepEqual(seen.books, sample.books.map((b, i) => ({ label: b.label, pages: labels[i] })));
    assert.equal(seen.drawn, 25);
  } finally {
    await browser.close();
  }
});

test('the IIIF export parses, and imported gives back the books', async () => {
  const web = join(dir, 'web');
  run('cartavox-pack', 'export-iiif', join(dir, 'volume'), web, '--base-url', 'https://e.org/v');
  const exported = json(join(web, 'manifest.json'));
  const { normalize } = await load('@iiif/parser');
  const { entities, resource } = normalize(structuredClone(exported)); // it changes its input
  const manifest = entities.Manifest[resource.id];
  assert.deepEqual(manifest.items.map((c) => entities.Canvas[c.id].label.none[0]), labels.flat());
  assert.deepEqual(manifest.structures.map((r) => entities.Range[r.id].label.it[0]),
    sample.books.map((b) => b.label));
  for (const r of exported.structures) delete r.metadata; // our numbering gone: labels alone
  writeFileSync(join(web, 'bare.json'), JSON.stringify(exported));
  for (const source of ['manifest.json', 'bare.json']) {
    const out = join(dir, `back-${source}`);
    run('cartavox-pack', 'init', '--iiif', join(web, source), '--images', join(web, 'immagini'),
      '-o', out);
    const back = json(out);
    const numbering = (b) => [b.label, b.kind, b.side, b.firstNumber, b.pages.length];
    assert.deepEqual(back.books.map(numbering), sample.books.map(numbering), source);
    back.books.forEach((b, i) => b.pages.forEach((p, j) => { // scans stored as they are
      const scan = join(dir, 'scans', sample.books[i].pages[j]);
      if (scan.endsWith('.jpg')) assert.ok(readFileSync(join(dir, p)).equals(readFileSync(scan)), p);
    }));
  }
});
