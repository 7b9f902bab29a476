// SPDX-License-Identifier: GPL-3.0-or-later
// The page's effects, heard in a real browser: page/audio.js with six stand-in effects,
// each a steady level of its own, and an analyser between the effects and the speakers,
// so that a test reads which effect sounds, or that two sound at once. Chromium runs
// once as a browser that waits for the player's gesture and once as one that does not.
//
//   cd tests/web && npm ci && node --test audio_test.mjs
import assert from 'node:assert/strict';
import { promises as fs } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

import { addressOf, startServer } from '../../platform/web/serve.mjs';

const repoRoot = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');

// FXn.wav holds the steady level n × 0.15 for four seconds; played at half volume.
const heard = (n) => n * 0.15 * 0.5;
const TOLERANCE = 0.03;

function steadyWav(level, seconds = 4, rate = 8000) {
  const samples = seconds * rate;
  const wav = Buffer.alloc(44 + samples * 2);
  wav.write('RIFF', 0);
  wav.writeUInt32LE(36 + samples * 2, 4);
  wav.write('WAVEfmt ', 8);
  wav.writeUInt32LE(16, 16);
  wav.writeUInt16LE(1, 20); // PCM
  wav.writeUInt16LE(1, 22); // mono
  wav.writeUInt32LE(rate, 24);
  wav.writeUInt32LE(rate * 2, 28);
  wav.writeUInt16LE(2, 32);
  wav.writeUInt16LE(16, 34);
  wav.write('data', 36);
  wav.writeUInt32LE(samples * 2, 40);
  for (let i = 0; i < samples; ++i) wav.writeInt16LE(Math.round(level * 32767), 44 + i * 2);
  return wav;
}

// The page under test: the module, and a player made with a tap and a given wait.
const harness = `<!doctype html><meta charset="utf-8"><title>Effetti</title>
<body style="margin:0;width:100vw;height:100vh">
<script type="module">
import { createAudio } from './page/audio.js';
let tap = null;
globalThis.make = (pendingLifetimeMs) => {
  globalThis.audio = createAudio({ pendingLifetimeMs, output: (context) => {
    globalThis.context = context;
    tap = context.createAnalyser();
    tap.fftSize = 512;
    tap.connect(context.destination);
    return tap;
  } });
  return globalThis.audio.canPlay();
};
globalThis.level = () => {
  const samples = new Float32Array(tap.fftSize);
  tap.getFloatTimeDomainData(samples);
  return samples.reduce((sum, s) => sum + s, 0) / samples.length;
};
globalThis.ready = true;
</script>`;

async function makeSite() {
  const root = await fs.mkdtemp(path.join(os.tmpdir(), 'lemmaro-audio-'));
  const file = (name) => path.join(root, name);
  await fs.mkdir(file('page'));
  await fs.mkdir(file('data'));
  await fs.copyFile(path.join(repoRoot, 'platform/web/page/audio.js'), file('page/audio.js'));
  await fs.writeFile(file('index.html'), harness);
  for (let n = 1; n <= 6; ++n) await fs.writeFile(file(`data/FX0${n}.wav`), steadyWav(n * 0.15));
  return root;
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Runs code in the page as the page's own script would, never as the player: Playwright's
// own evaluation counts as a user gesture, which would unlock the sound by itself.
async function run(page, expression) {
  const { result, exceptionDetails } = await page.cdp.send('Runtime.evaluate', {
    expression, awaitPromise: true, returnByValue: true, userGesture: false,
  });
  if (exceptionDetails) throw new Error(exceptionDetails.exception?.description ?? expression);
  return result.value;
}

async function until(page, expression, timeout = 3000) {
  const end = Date.now() + timeout;
  while (!(await run(page, expression))) {
    if (Date.now() > end) assert.fail(`still not ${expression}`);
    await sleep(25);
  }
}

const waitForLevel = (page, expected) =>
  until(page, `Math.abs(level() - ${expected}) < ${TOLERANCE}`);

async function staysSilent(page, ms = 600) {
  const end = Date.now() + ms;
  while (Date.now() < end) {
    const level = await run(page, 'level()');
    assert.ok(Math.abs(level) < TOLERANCE, `sound before it was allowed: level ${level}`);
    await sleep(25);
  }
}

let site;
let server;
before(async () => {
  site = await makeSite();
  server = await startServer(site, 0);
});
after(async () => {
  await new Promise((r) => server.close(r));
  await fs.rm(site, { recursive: true, force: true });
});

function browserTest(policy, body) {
  describe(`autoplay ${policy}`, () => {
    let browser;
    before(async () => {
      browser = await chromium.launch({
        executablePath: process.env.LEMMARO_CHROMIUM || '/usr/bin/chromium',
        headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
          '--disable-component-update', '--no-first-run', '--disable-sync',
          `--autoplay-policy=${policy}`],
      });
    });
    after(() => browser.close());
    // Each test: a fresh page, a player whose pending effects wait `lifetime` ms.
    const open = async (lifetime = 3000) => {
      const context = await browser.newContext();
      const page = await context.newPage();
      const errors = [];
      page.on('pageerror', (e) => errors.push(String(e)));
      page.cdp = await context.newCDPSession(page);
      await page.goto(addressOf(server));
      await until(page, 'globalThis.ready');
      assert.equal(await run(page, `make(${lifetime})`), true, 'canPlay');
      page.done = async () => {
        assert.deepEqual(errors, []);
        await context.close();
      };
      return page;
    };
    body(open);
  });
}

const play = (page, name) => run(page, `audio.play(${JSON.stringify(name)})`);
const state = (page) => run(page, 'context.state');

browserTest('document-user-activation-required', (open) => {
  test('the last effect asked before a gesture plays after it, later ones at once', async () => {
    const page = await open();
    // The context comes with the first effect, held until the player does something.
    await play(page, 'FX03.wav');
    assert.equal(await state(page), 'suspended');
    await play(page, 'FX01.wav');
    await staysSilent(page);
    await page.keyboard.press('KeyA');
    await waitForLevel(page, heard(1));
    assert.equal(await state(page), 'running');
    // FX01 has seconds left: had it not been cut off, the two would add up.
    await play(page, 'FX02.wav');
    await waitForLevel(page, heard(2));
    await play(page, 'FX04.wav');
    await waitForLevel(page, heard(4));
    await page.done();
  });

  test('an effect that waited too long for the gesture is dropped', async () => {
    const page = await open(300);
    await play(page, 'FX05.wav');
    await sleep(700);
    await page.mouse.click(200, 200);
    await until(page, "context.state === 'running'");
    await staysSilent(page);
    await play(page, 'FX06.wav');
    await waitForLevel(page, heard(6));
    await page.done();
  });
});

browserTest('no-user-gesture-required', (open) => {
  test('plays at once; a name that cannot play only cuts off the last', async () => {
    const page = await open();
    await play(page, 'FX03.wav');
    await waitForLevel(page, heard(3));
    await play(page, 'FX09.wav'); // not on the site
    await waitForLevel(page, 0);
    await play(page, 'FX01.wav');
    await waitForLevel(page, heard(1));
    await play(page, '');
    await waitForLevel(page, 0);
    await page.done();
  });

  test('prepare fetches the six effects once; the module sets up the page object', async () => {
    const page = await open();
    const fetched = [];
    page.on('request', (r) => fetched.push(new URL(r.url()).pathname));
    await run(page, 'audio.prepare()');
    await play(page, 'FX05.wav');
    await waitForLevel(page, heard(5));
    await run(page, 'audio.prepare()');
    await play(page, 'FX06.wav');
    await waitForLevel(page, heard(6));
    assert.deepEqual(fetched.sort(), [1, 2, 3, 4, 5, 6].map((n) => `/data/FX0${n}.wav`));
    assert.deepEqual(
      await run(page, 'Object.keys(lemmaroPage.audio).sort()'),
      ['canPlay', 'play', 'prepare']);
    await page.done();
  });
});
