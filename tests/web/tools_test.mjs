// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's tests read with, checked on known bytes: the dictionary file as the
// game stores it, the words a deal makes, and PNG rows under each of the five filters.
import assert from 'node:assert/strict';
import zlib from 'node:zlib';
import { describe, test } from 'node:test';

import { nonWord, readDati, wordsFrom } from './harness.mjs';
import { decodePng, encodePng } from './png.mjs';

describe('the dictionary read from Dati.RCX', () => {
  // One phrase, ABITARE, and BATAREI, a second word of its seven letters; bytes inverted.
  const text = 'LEMMARO\r\nBAR\r\nARTE\r\nBATAREI\r\n*ABITARE\r\nL\'ACQUA\r\nPERCHÉ\r\nTAIL';
  const bytes = Uint8Array.from(Buffer.from(text, 'latin1'), (b) => b ^ 255);
  const { words, phrases } = readDati(bytes);

  test('keeps the letters A to Z of each entry, drops the unended last, finds the phrase', () => {
    assert.deepEqual([...words].sort(),
      ['ABITARE', 'ARTE', 'BAR', 'BATAREI', 'LACQUA', 'LEMMARO', 'PERCH']);
    assert.deepEqual(phrases, ['ABITARE']);
  });

  test('tells the words a deal makes, each letter used as often as dealt', () => {
    const deal = [...'RABTIEA'];
    assert.deepEqual(wordsFrom(words, deal, 7), ['ABITARE', 'BATAREI']);
    assert.deepEqual(wordsFrom(words, deal, 3), ['BAR']);
    assert.deepEqual(wordsFrom(words, [...'RABTIEO'], 7), []);
    assert.equal(nonWord(words, deal), 'RBT');
  });
});

describe('PNG', () => {
  const chunk = (kind, body) => {
    const head = Buffer.alloc(8);
    head.writeUInt32BE(body.length);
    head.write(kind, 4, 'latin1');
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(zlib.crc32(Buffer.concat([head.subarray(4), body])) >>> 0);
    return Buffer.concat([head, body, crc]);
  };

  test('reads RGB rows filtered Sub, Up, Average and Paeth', () => {
    const header = Buffer.from([0, 0, 0, 2, 0, 0, 0, 4, 8, 2, 0, 0, 0]);
    const rows = Buffer.from([
      1, 10, 20, 30, 5, 5, 5,
      2, 1, 1, 1, 2, 2, 2,
      3, 0, 0, 0, 0, 0, 0,
      4, 0, 0, 0, 0, 0, 0,
    ]);
    const png = Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]),
      chunk('IHDR', header), chunk('IDAT', zlib.deflateSync(rows)),
      chunk('IEND', Buffer.alloc(0))]);
    const { width, height, data } = decodePng(png);
    assert.deepEqual([width, height], [2, 4]);
    const rgb = [...data].filter((_, i) => i % 4 !== 3);
    assert.deepEqual(rgb, [10, 20, 30, 15, 25, 35, 11, 21, 31, 17, 27, 37,
      5, 10, 15, 11, 18, 26, 5, 10, 15, 11, 18, 26]);
  });

  test('writes what it reads back, alpha included', () => {
    const data = Uint8Array.from({ length: 3 * 2 * 4 }, (_, i) => (i * 37) & 255);
    const back = decodePng(encodePng({ width: 3, height: 2, data }));
    assert.deepEqual([back.width, back.height, [...back.data]], [3, 2, [...data]]);
  });
});
