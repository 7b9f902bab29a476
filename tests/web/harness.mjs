// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's tests, the screenshots and the benchmark share: the site served as a
// static host serves it, the system's Chromium started headless on a profile of its
// own, the game opened and waited for, its tiles read as a screen reader reads them,
// and the dictionary read from the site's own data file, so that a test knows which
// words the letters on the board make.
import { promises as fs } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, before } from 'node:test';
import { chromium } from 'playwright-core';

import { addressOf, startServer } from '../../platform/web/serve.mjs';

export const repoRoot = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');

// The site to test: LEMMARO_SITE, or the tree `make web` builds.
export function siteDir() {
  return path.resolve(process.env.LEMMARO_SITE || path.join(repoRoot, 'build-web/site'));
}

export async function serveSite(root = siteDir()) {
  await fs.access(path.join(root, 'index.html'));
  const server = await startServer(root, 0);
  return { server, base: addressOf(server), close: () => new Promise((r) => server.close(r)) };
}

// Chromium as installed by the system; Playwright starts it on a fresh temporary profile.
export function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.LEMMARO_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--no-first-run', '--disable-sync'],
  });
}

// The game in a fresh context: no service worker, so that every request reaches the
// server (and the tests' own stand-ins), unless a test asks for it.
export async function openGame(browser, base, {
  speed = 1, dpr = 1, viewport = { width: 800, height: 600 }, mobile = false, init = null,
  serviceWorkers = 'block', query = '',
} = {}) {
  const context = await browser.newContext({
    viewport, deviceScaleFactor: dpr, isMobile: mobile, hasTouch: mobile, serviceWorkers,
    locale: 'it-IT',
  });
  if (init) await context.addInitScript(init);
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  page.errors = errors;
  const params = new URLSearchParams(query);
  if (speed !== 1) params.set('speed', String(speed));
  const search = params.toString();
  await page.goto(base + (search ? `?${search}` : ''));
  await waitForFirstFrame(page);
  return { context, page };
}

// Waits for the page's first painted frame; a page that gives up says why in #status.
export async function waitForFirstFrame(page, timeout = 60_000) {
  const outcome = await page.waitForFunction(() => {
    const status = document.querySelector('#status');
    if (status && !status.hidden && status.textContent) return { failed: status.textContent };
    return document.documentElement.dataset.firstFrame === '1' && { failed: null };
  }, null, { timeout });
  const { failed } = await outcome.jsonValue();
  if (failed) throw new Error(`the page gave up: ${failed}`);
}

// ---- The board as the buttons over it name it ---------------------------------------
// Letter tiles are "Lettera X" or "Lettera, posizione N, X" when they hold a letter and
// "Lettera, posizione N, vuota" when empty; word tiles "Parola, posizione N, X|vuota".

export async function buttonNames(page) {
  return page.$$eval('#controls button', (bs) => bs.map((b) => b.getAttribute('aria-label') || ''));
}

const tileLetter = (name) => (/\bvuota$/.test(name) ? '' : (/([A-Z])$/.exec(name)?.[1] ?? ''));

// { letters: ['T', '', ...] seven, word: [...] seven }
export async function board(page) {
  const names = await buttonNames(page);
  const letters = names.filter((n) => /^Lettera\b/.test(n)).map(tileLetter);
  const word = names.filter((n) => /^Parola\b/.test(n)).map(tileLetter);
  return { letters, word };
}

// Waits for a deal: seven letters on the letter row.
export async function dealtLetters(page, timeout = 30_000) {
  const deadline = Date.now() + timeout;
  for (;;) {
    const { letters } = await board(page);
    if (letters.length === 7 && letters.every(Boolean)) return letters;
    if (Date.now() > deadline) throw new Error(`no deal on the board: ${letters.join(',')}`);
    await page.waitForTimeout(50);
  }
}

// ---- The board by its layout (twips, 15 to a pixel at scale 1) ------------------------
export const layout = {
  width: 538,
  height: 388,
  letter: (i) => ({ x: (240 + 720 * i + 307) / 15, y: (4920 + 307) / 15 }),
  word: (i) => ({ x: (240 + 720 * i + 307) / 15, y: (4200 + 307) / 15 }),
  confirm: { x: (2040 + 727) / 15, y: (3600 + 187) / 15 },
  lamp: { x: 465, y: 219 },
};

// Clicks the board where a player would, at a point of the layout, whatever the scale
// the page gives the board.
export async function clickBoard(page, point, { tap = false } = {}) {
  const box = await page.locator('#board').boundingBox();
  const x = box.x + (point.x * box.width) / layout.width;
  const y = box.y + (point.y * box.height) / layout.height;
  if (tap) await page.touchscreen.tap(x, y);
  else await page.mouse.click(x, y);
}

// A screen reader's own press of a button over the board (the mouse passes through them
// to the board): the button's default action, as a reader invokes it.
export async function readerPress(page, name) {
  const found = await page.$$eval('#controls button', (bs, n) => {
    const b = bs.find((e) => e.getAttribute('aria-label') === n);
    b?.click();
    return Boolean(b);
  }, name);
  if (!found) throw new Error(`no button named ${name}`);
}

// The game's message box (a modal dialog over the page): its text while it is open.
export const boxText = (page) => page.evaluate(() => {
  const box = document.querySelector('#box');
  return box?.open ? box.textContent.replace(/\s+/g, ' ').trim() : null;
});

// Closes the message box with its OK, as the player does.
export async function dismissBox(page) {
  await page.locator('#box button').click();
  await until(() => boxText(page), (t) => t === null, 'the box to close');
}

export const messageText = (page) => page.locator('#messages').innerText();

// Waits until the live region says something that matches.
export async function waitForMessage(page, pattern, timeout = 20_000) {
  await page.waitForFunction(([source, flags]) => new RegExp(source, flags)
    .test(document.querySelector('#messages')?.textContent ?? ''), [pattern.source, pattern.flags],
  { timeout, polling: 50 });
  return messageText(page);
}

// ---- The dictionary, from the site's Dati.RCX ---------------------------------------
// Every byte inverted; entries end with a carriage return; an entry of nine characters
// as read (the line feed of the line before included) is also a phrase, its last seven.
export function readDati(bytes) {
  const text = Buffer.from(Uint8Array.from(bytes, (b) => b ^ 255)).toString('latin1');
  const entries = text.split('\r').slice(0, -1);
  const words = new Set();
  for (const e of entries) {
    const w = e.toUpperCase().replace(/[^A-Z]/g, '');
    if (w) words.add(w);
  }
  const phrases = entries.filter((e) => e.length === 9).map((e) => e.slice(2).toUpperCase());
  return { words, phrases };
}

// The words of Dati.RCX, and the stems of the spell checker's dictionary where the site
// carries one (`spelt`, upper case), so that a word meant to be refused is refused by both.
export async function siteDictionary(root = siteDir()) {
  const dictionary = readDati(await fs.readFile(path.join(root, 'data', 'Dati.RCX')));
  dictionary.spelt = new Set();
  const folder = path.join(root, 'dictionary');
  const files = await fs.readdir(folder).catch(() => []);
  for (const name of files.filter((f) => f.endsWith('.dic'))) {
    const text = await fs.readFile(path.join(folder, name), 'utf8');
    for (const line of text.split('\n')) {
      const stem = line.split('/')[0].trim().toUpperCase();
      if (stem) dictionary.spelt.add(stem);
    }
  }
  return dictionary;
}

// Points for a word by its length (the game's table).
export const pointsFor = (word) => ({ 3: 30, 4: 40, 5: 60, 6: 100, 7: 250 })[word.length];

// The shortest words of three to six letters that the letters make.
export function shortWords(words, letters) {
  for (let n = 3; n <= 6; ++n) {
    const found = wordsFrom(words, letters, n);
    if (found.length) return found;
  }
  return [];
}

const counts = (letters) => {
  const c = {};
  for (const l of letters) c[l] = (c[l] || 0) + 1;
  return c;
};

// The dictionary's words of `length` letters that the letters make, each letter used
// at most as often as it was dealt.
export function wordsFrom(words, letters, length) {
  const have = counts(letters);
  const out = [];
  for (const w of words) {
    if (w.length !== length) continue;
    const need = counts(w);
    if (Object.entries(need).every(([l, n]) => (have[l] || 0) >= n)) out.push(w);
  }
  return out.sort();
}

// Three letters of the deal that the dictionary does not hold, in an order no word
// takes (the consonants first), for a word that is refused.
export function nonWord(words, letters, spelt = new Set()) {
  const sorted = [...letters].sort((a, b) => 'AEIOU'.includes(a) - 'AEIOU'.includes(b));
  const tries = [];
  for (let i = 0; i < 7; ++i)
    for (let j = 0; j < 7; ++j)
      for (let k = 0; k < 7; ++k)
        if (i !== j && j !== k && i !== k) tries.push(sorted[i] + sorted[j] + sorted[k]);
  const unknown = tries.filter((w) => !words.has(w) && !spelt.has(w));
  return unknown.find((w) => !/[AEIOU]/.test(w)) ?? unknown[0] ?? null;
}

export const PRAISES = ['Ben fatto.', 'OK.', 'Grande!!!', 'Parola esatta.', 'Molto bene.',
  'Esatto!!!', 'Perfetto!!!', 'Funziona!!!', 'Giusto!!!'];
export const REFUSALS = ['La parola non esiste.', 'Sbagliato.', 'Parola errata.',
  'Non trovo la parola.', 'Inesistente.', 'Non va bene.', 'Non ci siamo.', 'Riprova.',
  'Errare è umano.', 'Concentrati.'];
export const anyOf = (texts) => new RegExp(texts.map((t) => t.replace(/[.*+?^${}()|[\]\\]/g,
  '\\$&')).join('|'));

// ---- What the live region says, in order ---------------------------------------------
// An init script keeps every text put into the region, as a screen reader hears them:
// the page says each piece of news as a new element, so the same verdict twice is kept
// twice.
function keepWhatIsSaid() {
  const said = [];
  globalThis.lemmaroTestSaid = said;
  const watch = () => {
    const region = document.querySelector('#messages');
    if (!region) return false;
    const note = (records) => {
      for (const r of records) {
        const added = r.type === 'characterData' ? [r.target] : [...r.addedNodes];
        for (const node of added) {
          const text = node.textContent.trim();
          if (text) said.push(text);
        }
      }
    };
    new MutationObserver(note).observe(region,
      { childList: true, subtree: true, characterData: true });
    if (region.textContent.trim()) said.push(region.textContent.trim());
    return true;
  };
  const start = () => {
    if (watch()) return;
    const wait = new MutationObserver(() => { if (watch()) wait.disconnect(); });
    wait.observe(document.documentElement, { childList: true, subtree: true });
  };
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
  else start();
}
export const keepSaid = `(${keepWhatIsSaid})();`;

// Reads what was said after what the last hear() matched, on this page.
export class Listener {
  constructor(page) {
    this.page = page;
    this.heard = 0;
  }

  async said() {
    return this.page.evaluate(() => globalThis.lemmaroTestSaid ?? []);
  }

  // Waits for a text matching `pattern` said after the last one heard, and returns it;
  // `orLast` lets the last one heard match again (two pieces of news said at once).
  async hear(pattern, timeout = 20_000, { orLast = false } = {}) {
    const deadline = Date.now() + timeout;
    for (;;) {
      const said = await this.said();
      for (let i = Math.max(0, this.heard - (orLast ? 1 : 0)); i < said.length; ++i)
        if (pattern.test(said[i])) {
          this.heard = i + 1;
          return said[i];
        }
      if (Date.now() > deadline)
        throw new Error(`the page did not say /${pattern.source}/; it said after ` +
          `${this.heard}: ${JSON.stringify(said.slice(this.heard))}`);
      await this.page.waitForTimeout(40);
    }
  }

  // Forgets what was said so far: the next hear() waits for something new.
  async skip() {
    this.heard = (await this.said()).length;
  }
}

// Polls `probe` (async, returns a value) until `accept` holds for its value.
export async function until(probe, accept, what, timeout = 15_000) {
  const deadline = Date.now() + timeout;
  let value;
  for (;;) {
    value = await probe();
    if (accept(value)) return value;
    if (Date.now() > deadline)
      throw new Error(`timed out waiting for ${what}; last: ${JSON.stringify(value)}`);
    await new Promise((r) => setTimeout(r, 50));
  }
}

// ---- Chromium's own accessibility tree, through the DevTools protocol ----------------
export async function accessibilityTree(page) {
  const cdp = await page.context().newCDPSession(page);
  try {
    await cdp.send('Accessibility.enable');
    const { nodes } = await cdp.send('Accessibility.getFullAXTree');
    const byId = new Map(nodes.map((n) => [n.nodeId, n]));
    const text = (n) => {
      if (!n) return '';
      if (n.role?.value === 'StaticText' || n.role?.value === 'InlineTextBox')
        return n.name?.value ?? '';
      return (n.childIds ?? []).map((id) => text(byId.get(id))).filter(Boolean).join(' ');
    };
    return nodes.filter((n) => !n.ignored).map((n) => ({
      role: n.role?.value ?? '',
      name: n.name?.value ?? '',
      live: n.properties?.find((p) => p.name === 'live')?.value?.value ?? '',
      disabled: n.properties?.some((p) => p.name === 'disabled' && p.value?.value) ?? false,
      text: text(n),
    }));
  } finally {
    await cdp.detach();
  }
}

// The pixels of the board as the screen shows them, in device pixels: the board's box,
// on the whole CSS pixels where the browser snaps it.
export async function boardPicture(page) {
  const { decodePng } = await import('./png.mjs');
  const box = await page.locator('#board').boundingBox();
  const clip = { x: Math.round(box.x), y: Math.round(box.y), width: Math.round(box.width),
    height: Math.round(box.height) };
  return decodePng(await page.screenshot({ clip, animations: 'disabled' }));
}

// The site served, a browser started and the site's dictionary read once for a test
// file, closed after it: { site, browser, dictionary }, filled before the first test.
export function sharedGame() {
  const shared = {};
  before(async () => {
    shared.site = await serveSite();
    shared.browser = await launchBrowser();
    shared.dictionary = await siteDictionary();
  });
  after(async () => {
    await shared.browser?.close();
    await shared.site?.close();
  });
  return shared;
}
