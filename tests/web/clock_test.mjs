// SPDX-License-Identifier: GPL-3.0-or-later
// The page's clock and its memory in Chromium, with the game's clock sped up (?speed=):
// a level that ends by time and the next one announced, a game over, the best score
// kept in IndexedDB across a reload, and a browser that refuses the save. One browser,
// on a profile of its own, for the whole file.
//
//   node --test tests/web/clock_test.mjs
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import {
  accessibilityTree, anyOf, boardPicture, dealtLetters, dismissBox, keepSaid, layout, Listener,
  openGame, pointsFor, PRAISES, sharedGame, shortWords, until, waitForFirstFrame, wordsFrom,
} from './harness.mjs';
import { pixelAt } from './png.mjs';

// Level 1 lasts 240 s of the game's time: 12 s here, time enough on a busy machine to
// read the deal and play a word or two.
const SPEED = 20;

const shared = sharedGame();

// Makes IndexedDB refuse every save while the page's globalThis.lemmaroTestRefuse is set:
// opening a database fails and so does writing into an open one, as with a full disk or
// storage the player has blocked. Reading what an open database holds still works.
function refuseSaves() {
  globalThis.lemmaroTestRefuse = false;
  const quota = () => new DOMException('Spazio esaurito', 'QuotaExceededError');
  const open = IDBFactory.prototype.open;
  IDBFactory.prototype.open = function (...args) {
    if (globalThis.lemmaroTestRefuse) throw quota();
    return open.apply(this, args);
  };
  for (const name of ['put', 'add']) {
    const write = IDBObjectStore.prototype[name];
    IDBObjectStore.prototype[name] = function (...args) {
      if (globalThis.lemmaroTestRefuse) throw quota();
      return write.apply(this, args);
    };
  }
  const transaction = IDBDatabase.prototype.transaction;
  IDBDatabase.prototype.transaction = function (stores, mode, ...rest) {
    if (globalThis.lemmaroTestRefuse && mode === 'readwrite') throw quota();
    return transaction.call(this, stores, mode, ...rest);
  };
}

async function play(options = {}) {
  const init = [keepSaid, options.refuse ? `(${refuseSaves})();` : ''].join('\n');
  const game = await openGame(shared.browser, shared.site.base, { speed: SPEED, ...options, init });
  game.listener = new Listener(game.page);
  return game;
}

// Types a word and confirms it; waits for the praise.
async function score(game, word) {
  await game.page.keyboard.press('Escape');
  await game.page.keyboard.type(word.toLowerCase());
  await game.page.keyboard.press('Enter');
  return game.listener.hear(anyOf(PRAISES));
}

const recordLine = async (page) =>
  (await accessibilityTree(page)).find((n) => /^Record: /.test(n.name))?.name ?? '';

describe('the clock', () => {
  test('a passed level ends by time and the next level is announced and dealt', async () => {
    const game = await play();
    const { page, listener } = game;
    const first = await dealtLetters(page);
    const [seven] = wordsFrom(shared.dictionary.words, first, 7);
    await listener.hear(/Livello 1, tempo 4 minuti\. Lettere: /);
    await page.keyboard.type(seven.toLowerCase());
    await page.keyboard.press('Enter');
    await listener.hear(/NUOVO LIVELLO RAGGIUNTO/);
    await until(async () => pixelAt(await boardPicture(page), layout.lamp.x, layout.lamp.y),
      (rgb) => rgb.join() === '0,192,0', 'the lamp green');
    await listener.hear(/Sbrigati, mancano solo 30 secondi/, 20_000);
    await listener.hear(/Tempo scaduto/, 10_000);
    await listener.hear(/LIVELLO (N°02|numero 2)/, 10_000, { orLast: true });
    await listener.hear(/Livello 2, tempo 3 minuti e 30 secondi\. Lettere: /, 10_000,
      { orLast: true });
    const second = await dealtLetters(page);
    assert.equal(second.length, 7);
    // The lamp, green since the seven letters, is red again for the new level.
    await until(async () => pixelAt(await boardPicture(page), layout.lamp.x, layout.lamp.y),
      (rgb) => rgb.join() === '192,0,0', 'the lamp red again');
    // Nothing found in level 2: the game is over when its time is up.
    await listener.hear(/GAME OVER/, 20_000);
    const tree = await accessibilityTree(page);
    assert.ok(tree.some((n) => n.role === 'button' && n.name === 'GIOCA'), 'the new-game button');
    await until(() => recordLine(page), (r) => /^Record: CPU, \d+ punti, livello 2$/.test(r),
      'the record line with level 2');
    await game.context.close();
    assert.deepEqual(page.errors, []);
  });
});

describe('the best score', () => {
  test('is kept across a reload, and kept as it was when the browser refuses the save',
    async () => {
      const game = await play({ refuse: true });
      const { page, listener } = game;
      let letters = await dealtLetters(page);
      const [short] = shortWords(shared.dictionary.words, letters);
      await score(game, short);
      await listener.hear(/GAME OVER/, 20_000);
      const first = `Record: CPU, ${pointsFor(short)} punti, livello 1`;
      await until(() => recordLine(page), (r) => r === first, 'the new record line');

      await page.reload();
      await waitForFirstFrame(page);
      game.listener = new Listener(page);
      await until(() => recordLine(page), (r) => r === first, 'the record after a reload');

      // A better game, and a browser that will not keep it: the player is told, the
      // window shows the game's record, and the stored one is the old one.
      letters = await dealtLetters(page);
      // Words worth more than the first game, together: at most two, none of seven letters.
      const words = [6, 5, 4, 3].flatMap((n) => wordsFrom(shared.dictionary.words, letters, n));
      const enough = pointsFor(words[0] ?? '') > pointsFor(short);
      const pick = enough ? [words[0]] : words.slice(0, 2);
      const points = pick.reduce((n, w) => n + pointsFor(w), 0);
      assert.ok(points > pointsFor(short), `a score above ${pointsFor(short)} from ${letters}`);
      await page.evaluate(() => { globalThis.lemmaroTestRefuse = true; });
      for (const w of pick) await score(game, w);
      const box = await until(() => page.evaluate(() => ({
        open: document.querySelector('#box')?.open ?? false,
        text: document.querySelector('#box')?.textContent.replace(/\s+/g, ' ').trim() ?? '',
      })), (b) => b.open, 'the player to be told that the record was not kept', 30_000);
      assert.match(box.text, /spazio/, 'the box names the cause');
      await dismissBox(page);  // while it is open the rest of the page is inert
      await until(() => recordLine(page), (r) => /^Record: CPU, \d+ punti, livello 1$/.test(r) &&
        r !== first, 'the game to show its new record');

      await page.reload();
      await waitForFirstFrame(page);
      await until(() => recordLine(page), (r) => r === first, 'the old record, stored as it was');
      const errors = page.errors.filter((e) => !/QuotaExceeded|Spazio esaurito/.test(e));
      await game.context.close();
      assert.deepEqual(errors, []);
    });
});
