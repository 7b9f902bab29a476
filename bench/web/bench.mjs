// SPDX-License-Identifier: GPL-3.0-or-later
// The page's load, measured as a player on a fresh browser meets it: the time from the
// navigation to the first painted frame of the board, against a bare page that paints a
// canvas of the board's size (same server, same browser), and the compressed bytes the
// browser receives before that frame and in all, the dictionary included. The server
// compresses as a static host does (platform/web/serve.mjs). Each round is a cold load
// in a browser context of its own; the medians of the rounds are reported.
//
//   node bench/web/bench.mjs [SITE] [--rounds N] [--check]
//
// With --check the exit status is 1 when a target is missed.
import { copyFileSync, existsSync, mkdtempSync, readdirSync, rmSync, symlinkSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { addressOf, startServer } from '../../platform/web/serve.mjs';
import { Browser } from './cdp.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const targets = { frameRatio: 2, bytesBeforeFrame: 1.5e6 };

function options(argv) {
  const o = { site: path.resolve(here, '../../build-web/site'), rounds: 5, check: false };
  for (let i = 0; i < argv.length; ++i) {
    if (argv[i] === '--rounds') o.rounds = Number(argv[++i]);
    else if (argv[i] === '--check') o.check = true;
    else o.site = path.resolve(argv[i]);
  }
  if (!(o.rounds >= 1)) throw new Error('--rounds takes a number');
  return o;
}

// The site and the bare page under one root: the site's entries linked, the page copied.
function servedRoot(site) {
  const root = mkdtempSync(path.join(os.tmpdir(), 'lemmaro-bench-site-'));
  for (const name of readdirSync(site)) symlinkSync(path.join(site, name), path.join(root, name));
  copyFileSync(path.join(here, 'bare.html'), path.join(root, 'bench-bare.html'));
  return root;
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
export const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  const m = s.length >> 1;
  return s.length % 2 ? s[m] : (s[m - 1] + s[m]) / 2;
};

// One cold load of `url`: { frameMs, before, total, dictionary, requests }.
export async function load(browser, url, { waitForDictionary }) {
  // A worker's own script is asked for by the page and received by the worker: one
  // request id, told in two sessions.
  const requests = new Map();  // requestId -> { url, offset, finished, bytes }
  const tab = await browser.newWatchedTab((method, p) => {
    const k = p.requestId;
    if (method === 'Network.requestWillBeSent') {
      if (requests.has(k) && !p.redirectResponse) return;
      // Monotonic time to wall time, from the same event.
      requests.set(k, { url: p.request.url, offset: p.wallTime - p.timestamp,
        asked: p.wallTime * 1000, finished: null, bytes: 0 });
    } else if (method === 'Network.loadingFinished' && requests.has(k)) {
      const r = requests.get(k);
      r.finished = (p.timestamp + r.offset) * 1000;
      r.bytes = p.encodedDataLength;
    } else if (method === 'Network.loadingFailed' && requests.has(k)) {
      requests.get(k).failed = true;
    }
  });
  try {
    await browser.call('Page.navigate', { url }, tab.sessionId);
    let frame = null;
    for (const deadline = Date.now() + 120_000; !frame;) {
      if (Date.now() > deadline) throw new Error(`${url}: no first frame in 120 s`);
      frame = await browser.evaluate(tab.sessionId, `(() => {
        const m = performance.getEntriesByName('lemmaro-first-frame')[0];
        return m ? { at: m.startTime, wall: performance.timeOrigin + m.startTime } : null;
      })()`).catch(() => null);
      if (!frame) await sleep(20);
    }
    // Everything that arrives: the dictionary, and then a quiet network for a second.
    const dictionaryDone = () => [...requests.values()]
      .some((r) => /\/dictionary\/.+\.dic$/.test(r.url) && r.finished);
    const quietSince = () => Math.max(0, ...[...requests.values()].filter((r) => !r.failed)
      .map((r) => r.finished ?? Infinity));
    for (const deadline = Date.now() + 60_000; Date.now() < deadline;) {
      const open = [...requests.values()].some((r) => !r.finished && !r.failed);
      if (!open && (!waitForDictionary || dictionaryDone()) && Date.now() - quietSince() > 1000)
        break;
      await sleep(100);
    }
    const all = [...requests.values()].filter((r) => r.finished);
    return {
      frameMs: frame.at,
      frameWall: frame.wall,
      before: all.filter((r) => r.finished <= frame.wall).reduce((n, r) => n + r.bytes, 0),
      total: all.reduce((n, r) => n + r.bytes, 0),
      dictionary: dictionaryDone(),
      requests: all,
    };
  } finally {
    await tab.close();
  }
}

const mb = (bytes) => `${(bytes / 1e6).toFixed(2)} MB`;
const met = (ok) => (ok ? 'met' : 'NOT met');

async function main() {
  const o = options(process.argv.slice(2));
  const root = servedRoot(o.site);
  const server = await startServer(root, 0);
  const base = addressOf(server);
  const browser = await Browser.launch();
  const hasDictionary = existsSync(path.join(o.site, 'dictionary'));
  const game = [], bare = [];
  try {
    // A first load of each, not counted: the browser's own start-up costs.
    await load(browser, base + 'bench-bare.html', { waitForDictionary: false });
    for (let round = 1; round <= o.rounds; ++round) {
      bare.push(await load(browser, base + 'bench-bare.html', { waitForDictionary: false }));
      game.push(await load(browser, base, { waitForDictionary: hasDictionary }));
      const g = game.at(-1), b = bare.at(-1);
      console.log(`round ${round}: page first frame ${g.frameMs.toFixed(0)} ms, bare ` +
        `${b.frameMs.toFixed(0)} ms; before the frame ${g.before} B, in all ${g.total} B`);
    }
  } finally {
    await browser.close();
    await new Promise((r) => server.close(r));
    rmSync(root, { recursive: true, force: true });
  }

  const frame = median(game.map((g) => g.frameMs));
  const bareFrame = median(bare.map((b) => b.frameMs));
  const before = median(game.map((g) => g.before));
  const total = median(game.map((g) => g.total));
  const ratio = frame / bareFrame;
  const last = game.at(-1);
  console.log('\nlargest transfers of the last round (compressed; asked for and received, ' +
    'from the navigation; * before the first frame):');
  const navigation = last.frameWall - last.frameMs;
  for (const r of [...last.requests].sort((a, b) => b.bytes - a.bytes).slice(0, 10)) {
    const ms = (t) => (t - navigation).toFixed(0).padStart(5);
    console.log(`  ${String(r.bytes).padStart(9)} B ${ms(r.asked)} ms ${ms(r.finished)} ms ` +
      `${r.finished <= last.frameWall ? '*' : ' '} ${new URL(r.url).pathname}`);
  }
  console.log(`\nmedians of ${o.rounds} cold loads, served compressed:`);
  console.log(`  first frame: page ${frame.toFixed(0)} ms, ` +
    `bare canvas ${bareFrame.toFixed(0)} ms, ratio ${ratio.toFixed(2)}`);
  console.log(`  compressed bytes before the first frame: ${before} B (${mb(before)})`);
  console.log(`  compressed bytes in all: ${total} B (${mb(total)}), ` +
    `${last.dictionary ? 'dictionary included' : 'no dictionary fetched'}`);
  console.log(`  ratio to the bare page's first frame ${ratio.toFixed(2)} ` +
    `(target at most ${targets.frameRatio}): ${met(ratio <= targets.frameRatio)}`);
  console.log(`  compressed before the first frame ${mb(before)} ` +
    `(target at most ${mb(targets.bytesBeforeFrame)}): ${met(before <= targets.bytesBeforeFrame)}`);
  console.log(`  share of all bytes before the first frame: ${(100 * before / total).toFixed(0)}%`);
  if (o.check && (ratio > targets.frameRatio || before > targets.bytesBeforeFrame))
    process.exitCode = 1;
}

if (import.meta.url === `file://${process.argv[1]}`) await main();
