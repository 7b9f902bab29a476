// SPDX-License-Identifier: GPL-3.0-or-later
// The page's board in Chromium: its size and known pixels at one and two device pixels
// per CSS pixel, tiles moved by the mouse, verdicts in the live region, a word played by
// keys, and what Chromium's accessibility tree offers a screen reader. One browser, on
// a profile of its own, for the whole file; each case opens the game afresh.
//
//   node --test tests/web/board_test.mjs      (LEMMARO_SITE=... for another site)
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import {
  accessibilityTree, anyOf, board, boardPicture, boxText, clickBoard, dealtLetters, dismissBox,
  keepSaid, layout, Listener, nonWord, openGame, PRAISES, readerPress, REFUSALS, sharedGame,
  shortWords, until, wordsFrom,
} from './harness.mjs';
import { knownPixels, off, tolerance } from './known_pixels.mjs';
import { pixelAt } from './png.mjs';

const shared = sharedGame();

async function play(options = {}) {
  const game = await openGame(shared.browser, shared.site.base, { init: keepSaid, ...options });
  game.listener = new Listener(game.page);
  game.letters = await dealtLetters(game.page);
  return game;
}

async function done({ context, page }) {
  const errors = page.errors;
  await context.close();
  assert.deepEqual(errors, [], 'the page reported errors');
}

// The letters' first tile, searched from the left, that holds `letter` and is not taken.
function tilesFor(word, letters) {
  const free = [...letters];
  return [...word].map((l) => {
    const i = free.indexOf(l);
    assert.ok(i >= 0, `${l} of ${word} is among ${letters}`);
    free[i] = '';
    return i;
  });
}

describe('the board as drawn', () => {
  test('is 538 × 388 CSS pixels and shows the Linux window\'s known pixels', async () => {
    const game = await play();
    const size = await game.page.$eval('#board', (c) => {
      const r = c.getBoundingClientRect();
      return { width: r.width, height: r.height };
    });
    assert.deepEqual(size, { width: 538, height: 388 });
    const picture = await boardPicture(game.page);
    assert.deepEqual([picture.width, picture.height], [538, 388]);
    for (const p of knownPixels) {
      const got = pixelAt(picture, p.x, p.y);
      assert.ok(off(got, p.rgb) <= tolerance(p),
        `${p.what} at ${p.x},${p.y}: ${got}, not ${p.rgb}`);
    }
    await done(game);
  });

  test('is drawn at 1076 × 776 device pixels at twice the density, not scaled up', async () => {
    const game = await play({ dpr: 2 });
    const css = await game.page.$eval('#board', (c) => c.getBoundingClientRect().width);
    assert.equal(css, 538);
    const picture = await boardPicture(game.page);
    assert.deepEqual([picture.width, picture.height], [1076, 776]);
    // The lamp's colour at its centre, and a picture painted at the device's own
    // resolution: a one-pixel line drawn at scale 1 and doubled would come in pairs of
    // equal device pixels everywhere; a sharp board has edges that fall within pairs.
    assert.deepEqual(pixelAt(picture, 2 * layout.lamp.x + 1, 2 * layout.lamp.y + 1), [192, 0, 0]);
    let split = 0;
    for (let y = 0; y < picture.height; y += 2)
      for (let x = 0; x < picture.width; x += 2) {
        const a = pixelAt(picture, x, y), b = pixelAt(picture, x + 1, y);
        if (off(a, b) > 48) ++split;
      }
    assert.ok(split > 500, `only ${split} edges inside doubled pixels: the board looks scaled up`);
    await done(game);
  });
});

describe('playing with the mouse and the keys', () => {
  test('a click moves a letter up into the word, a click on it moves it home', async () => {
    const game = await play();
    const { page, letters } = game;
    await clickBoard(page, layout.letter(2));
    let now = await until(() => board(page), (b) => b.word[0] !== '', 'the letter to go up');
    assert.equal(now.word[0], letters[2]);
    assert.equal(now.letters[2], '');
    assert.deepEqual(now.word.slice(1), ['', '', '', '', '', '']);

    // A second letter fills the next slot; taking the first out leaves a gap that the
    // next letter fills, as the game does.
    await clickBoard(page, layout.letter(5));
    now = await until(() => board(page), (b) => b.word[1] !== '', 'a second letter');
    assert.equal(now.word[1], letters[5]);
    await clickBoard(page, layout.word(0));
    now = await until(() => board(page), (b) => b.word[0] === '', 'the first letter to go home');
    assert.deepEqual(now.letters.filter(Boolean).length, 6);
    assert.equal(now.word[1], letters[5]);
    assert.ok(now.letters.includes(letters[2]));
    await clickBoard(page, layout.word(1));
    now = await until(() => board(page), (b) => b.word.every((l) => !l), 'an empty word');
    assert.deepEqual([...now.letters].sort(), [...letters].sort());
    await done(game);
  });

  test('on a phone the board shrinks to fit, and a tap is a click', async () => {
    const game = await play({ dpr: 3, viewport: { width: 390, height: 844 }, mobile: true });
    const { page, letters } = game;
    const box = await page.locator('#board').boundingBox();
    assert.ok(box.x >= 0 && box.x + box.width <= 390,
      `the board within the screen: ${box.x} + ${box.width}`);
    assert.ok(Math.abs(box.height / box.width - 388 / 538) < 0.01, 'the board keeps its shape');
    await clickBoard(page, layout.letter(6), { tap: true });
    let now = await until(() => board(page), (b) => b.word[0] !== '', 'the tapped letter to go up');
    assert.equal(now.word[0], letters[6]);
    await clickBoard(page, layout.word(0), { tap: true });
    now = await until(() => board(page), (b) => b.word[0] === '', 'the letter to go home');
    assert.equal(now.letters[6], letters[6]);
    await done(game);
  });

  test('Conferma gives a verdict in the live region, each time it is pressed', async () => {
    const game = await play();
    const { page, letters, listener } = game;
    await clickBoard(page, layout.letter(0));
    await clickBoard(page, layout.letter(1));
    await until(() => board(page), (b) => b.word[1] !== '', 'two letters up');
    await clickBoard(page, layout.confirm);
    await listener.hear(/^Scrivere una parola di almeno 3 lettere\./);
    await readerPress(page, 'Conferma');
    await listener.hear(/^Scrivere una parola di almeno 3 lettere\./);

    // Back home, then a word of the dictionary: praise, and the second time a refusal.
    await clickBoard(page, layout.word(1));
    await clickBoard(page, layout.word(0));
    await until(() => board(page), (b) => b.word.every((l) => !l), 'an empty word');
    const [word] = shortWords(shared.dictionary.words, letters);
    assert.ok(word, `a short word from ${letters}`);
    for (const i of tilesFor(word, letters)) await clickBoard(page, layout.letter(i));
    await until(() => board(page), (b) => b.word.join('') === word, `${word} in the word row`);
    await clickBoard(page, layout.confirm);
    await listener.hear(anyOf(PRAISES));
    // Two presses within half a second on one control are a double-click, not a click.
    await page.waitForTimeout(600);
    await clickBoard(page, layout.confirm);
    await listener.hear(/La parola è già stata scritta\./);
    await done(game);
  });

  test('keys play words: letters, Backspace, Escape and Enter', async () => {
    const game = await play({ speed: 5 });  // level 1 in 48 s
    const { page, letters, listener } = game;
    const seven = wordsFrom(shared.dictionary.words, letters, 7);
    assert.ok(seven.length > 0, `a seven-letter word from ${letters}`);
    const [three] = shortWords(shared.dictionary.words, letters);
    await page.locator('#board').focus().catch(() => {});
    await page.keyboard.type(three.toLowerCase());
    let now = await until(() => board(page), (b) => b.word.join('') === three, `${three} typed`);
    await page.keyboard.press('Backspace');
    now = await until(() => board(page), (b) => b.word.join('') === three.slice(0, -1), 'one back');
    await page.keyboard.type(three.at(-1).toLowerCase());
    await page.keyboard.press('Enter');
    await listener.hear(anyOf(PRAISES));
    await page.keyboard.press('Escape');
    await until(() => board(page), (b) => b.word.every((l) => !l), 'Escape to empty the word');

    // Letters that make no word: the dictionary and the spell checker both refuse it.
    const wrong = nonWord(shared.dictionary.words, letters, shared.dictionary.spelt);
    await page.keyboard.type(wrong.toLowerCase());
    await page.keyboard.press('Enter');
    // Without a spell checker the game says so, once, in its box, and goes on refusing.
    const refused = await until(async () => (await boxText(page)) ??
      (await listener.said()).slice(listener.heard).find((t) => anyOf(REFUSALS).test(t)),
    Boolean, 'a refusal or the spell checker\'s box');
    if (!anyOf(REFUSALS).test(refused)) {
      assert.match(refused, /correttore ortografico non è disponibile/);
      await dismissBox(page);
    }
    await listener.hear(anyOf(REFUSALS));
    await page.keyboard.press('Escape');

    // The seven letters: the level is passed, and the lamp turns green at the next tick.
    await page.keyboard.type(seven[0].toLowerCase());
    await until(() => board(page), (b) => b.word.join('') === seven[0], `${seven[0]} typed`);
    await page.keyboard.press('Enter');
    await listener.hear(/NUOVO LIVELLO RAGGIUNTO/);
    await until(async () => pixelAt(await boardPicture(page), layout.lamp.x, layout.lamp.y),
      (rgb) => off(rgb, [0, 192, 0]) === 0, 'the lamp to turn green', 20_000);
    now = await board(page);
    assert.equal(now.word.join(''), seven[0], 'the word stays in the word row');
    await done(game);
  });
});

describe('Chromium\'s accessibility tree', () => {
  test('Tab walks the name box and the buttons, Escape goes back to the board', async () => {
    const game = await play();
    const { page } = game;
    const focused = () => page.evaluate(() => {
      const e = document.activeElement;
      return `${e?.tagName} ${e?.getAttribute('aria-label') ?? e?.id ?? ''}`;
    });
    await page.locator('#board').focus();
    await page.keyboard.press('Tab');
    await until(focused, (f) => f === 'INPUT Giocatore', 'the name box to take the keyboard');
    await page.keyboard.press('Tab');
    await until(focused, (f) => f === 'BUTTON Conferma', 'Conferma to take the keyboard');
    await page.keyboard.press('Shift+Tab');
    await until(focused, (f) => f === 'INPUT Giocatore', 'Shift+Tab back to the name box');
    await page.keyboard.press('Escape');
    await until(focused, (f) => f.startsWith('CANVAS'), 'Escape back to the board');
    await done(game);
  });

  test('names the buttons as the game does and holds the verdict in a status region',
    async () => {
      const game = await play();
      const { page, letters, listener } = game;
      let tree = await accessibilityTree(page);
      const buttons = tree.filter((n) => n.role === 'button').map((n) => n.name);
      assert.ok(buttons.includes('Conferma'), `buttons: ${buttons}`);
      const letterNames = buttons.filter((n) => /^Lettera\b/.test(n));
      assert.equal(letterNames.length, 7, `letter tiles: ${letterNames}`);
      assert.deepEqual(letterNames.map((n) => n.at(-1)).sort(), [...letters].sort());
      assert.deepEqual(buttons.filter((n) => /^Parola\b/.test(n)),
        [1, 2, 3, 4, 5, 6, 7].map((i) => `Parola, posizione ${i}, vuota`));

      await clickBoard(page, layout.letter(3));
      await until(() => board(page), (b) => b.word[0] !== '', 'a letter up');
      tree = await accessibilityTree(page);
      const named = (name) => tree.some((n) => n.role === 'button' && n.name === name);
      assert.ok(named(`Parola, posizione 1, ${letters[3]}`),
        'the word tile named after the letter it took');
      assert.ok(named('Lettera, posizione 4, vuota'),
        'the emptied letter tile named empty');

      await readerPress(page, 'Conferma');
      await listener.hear(/almeno 3 lettere/);
      tree = await accessibilityTree(page);
      assert.ok(tree.some((n) => n.role === 'textbox' && n.name === 'Giocatore'), 'the name box');
      const region = tree.find((n) => n.role === 'status');
      assert.ok(region, 'a status region');
      assert.equal(region.live, 'polite');
      assert.match(region.text, /Scrivere una parola di almeno 3 lettere\./);
      await done(game);
    });
});
