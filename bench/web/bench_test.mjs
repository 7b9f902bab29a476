// SPDX-License-Identifier: GPL-3.0-or-later
// The load benchmark's counting, on a little site whose bytes are known: what a worker
// fetches counts as much as what the page fetches, compressed sizes are what travels,
// and what arrives after the first frame counts only in the total.
import assert from 'node:assert/strict';
import { randomBytes } from 'node:crypto';
import { mkdtempSync, mkdirSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { addressOf, startServer } from '../../platform/web/serve.mjs';
import { load, median } from './bench.mjs';
import { Browser } from './cdp.mjs';

// The page paints, starts a worker that fetches 40,000 random bytes (which no
// compression shrinks) and marks its frame once the worker has them; then it fetches
// 30,000 more, and the worker the dictionary, after the frame.
const page = `<!doctype html><meta charset="utf-8"><canvas width="538" height="388"></canvas>
<script>
const worker = new Worker('worker.js');
worker.onmessage = () => requestAnimationFrame(() => requestAnimationFrame(() => {
  performance.mark('lemmaro-first-frame');
  fetch('late.bin').then(() => worker.postMessage('dictionary'));
}));
</script>`;
const worker = `fetch('early.bin').then((r) => r.arrayBuffer()).then(() => postMessage('ok'));
onmessage = () => fetch('dictionary/it_IT.dic');`;

let root, server, browser;
before(async () => {
  root = mkdtempSync(path.join(os.tmpdir(), 'lemmaro-bench-test-'));
  writeFileSync(path.join(root, 'index.html'), page);
  writeFileSync(path.join(root, 'worker.js'), worker);
  writeFileSync(path.join(root, 'early.bin'), randomBytes(40_000));
  writeFileSync(path.join(root, 'late.bin'), randomBytes(30_000));
  mkdirSync(path.join(root, 'dictionary'));
  writeFileSync(path.join(root, 'dictionary', 'it_IT.dic'), 'parola\n'.repeat(20_000));
  server = await startServer(root, 0);
  browser = await Browser.launch();
});
after(async () => {
  await browser?.close();
  await new Promise((r) => (server ? server.close(r) : r()));
  rmSync(root, { recursive: true, force: true });
});

test('counts the workers\' transfers, compressed, before the first frame and in all', async () => {
  const round = await load(browser, addressOf(server), { waitForDictionary: true });
  const paths = round.requests.map((r) => new URL(r.url).pathname).sort();
  assert.deepEqual(paths, ['/', '/dictionary/it_IT.dic', '/early.bin', '/late.bin', '/worker.js']
    .concat(paths.includes('/favicon.ico') ? ['/favicon.ico'] : []).sort());
  assert.ok(round.dictionary);
  // Random bytes travel whole (plus headers and gzip's frame); repeated words shrink.
  const early = round.requests.find((r) => r.url.endsWith('/early.bin')).bytes;
  const dic = round.requests.find((r) => r.url.endsWith('.dic')).bytes;
  assert.ok(early > 40_000 && early < 41_000, `early.bin came as ${early} B`);
  assert.ok(dic < 2_000, `the dictionary came as ${dic} B, not compressed`);
  assert.ok(round.before > 40_000 && round.before < 43_000, `before the frame: ${round.before} B`);
  assert.ok(round.total - round.before > 30_000, `after the frame: ${round.total - round.before} B`);
  assert.ok(round.frameMs > 0 && round.frameMs < 30_000);
});

test('takes the middle of the rounds', () => {
  assert.equal(median([300, 100, 200]), 200);
  assert.equal(median([4, 1, 3, 2]), 2.5);
});
