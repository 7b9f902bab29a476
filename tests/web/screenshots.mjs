// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the page for a reader's eye, and its board compared pixel by pixel with
// the Linux window's own picture of the same board:
//
//   node tests/web/screenshots.mjs OUTDIR [--linux LINUX.png]
//
// (after `npm ci` in tests/web, and `make web` for the site in build-web/site/).
// OUTDIR receives page-dpr1.png, page-dpr2.png, phone.png (390 × 844 CSS pixels, three
// device pixels to one, touch), board-dpr1.png, linux.png and difference.png (the
// pixels that differ, in magenta, over the board dimmed). Without --linux the Linux
// picture is made by the Linux tree's tools/make_screenshot (LEMMARO_LINUX_BUILD, or
// build/) in that tree's play folder.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';

import { boardPicture, launchBrowser, openGame, repoRoot, serveSite } from './harness.mjs';
import { knownPixels, off } from './known_pixels.mjs';
import { decodePng, encodePng, pixelAt } from './png.mjs';

// Where the two boards may rightly differ: the deal (each window draws its own letters)
// and the clock, which may have ticked on the page. Left, top, right, bottom in pixels.
const dealAndClock = [
  { l: 8, t: 272, r: 354, b: 378 },  // both rows of tiles
  { l: 392, t: 326, r: 514, b: 362 },  // the time
];
const inside = (x, y) => dealAndClock.some((z) => x >= z.l && x < z.r && y >= z.t && y < z.b);

export function compare(a, b) {
  if (a.width !== b.width || a.height !== b.height)
    throw new Error(`pictures of ${a.width}×${a.height} and ${b.width}×${b.height}`);
  const all = { pixels: 0, differ: 0, over16: 0, over64: 0, sum: 0 };
  const rest = { pixels: 0, differ: 0, over16: 0, over64: 0, sum: 0 };
  const picture = new Uint8Array(a.data.length);
  for (let y = 0; y < a.height; ++y)
    for (let x = 0; x < a.width; ++x) {
      const d = off(pixelAt(a, x, y), pixelAt(b, x, y));
      for (const s of inside(x, y) ? [all] : [all, rest]) {
        ++s.pixels;
        s.sum += d;
        if (d > 0) ++s.differ;
        if (d > 16) ++s.over16;
        if (d > 64) ++s.over64;
      }
      const i = (y * a.width + x) * 4;
      const grey = (a.data[i] + a.data[i + 1] + a.data[i + 2]) / 6;
      picture.set(d > 16 ? [255, 0, 255, 255] : [grey, grey, grey, 255], i);
    }
  return { all, rest, picture: { width: a.width, height: a.height, data: picture } };
}

const share = (s) => `${(100 * s.differ / s.pixels).toFixed(1)}% differ, ` +
  `${(100 * s.over16 / s.pixels).toFixed(1)}% by more than 16, ` +
  `${(100 * s.over64 / s.pixels).toFixed(1)}% by more than 64 (of 255), ` +
  `mean difference ${(s.sum / s.pixels).toFixed(2)}`;

function linuxPicture(out, given) {
  if (given) return decodePng(readFileSync(given));
  const tree = path.resolve(process.env.LEMMARO_LINUX_BUILD || path.join(repoRoot, 'build'));
  const tool = path.join(tree, 'tools', 'make_screenshot');
  if (!existsSync(tool)) return null;
  const file = path.join(out, 'linux.png');
  execFileSync(tool, [file], { cwd: path.join(tree, 'play'),
    env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' },
    stdio: ['ignore', 'ignore', 'inherit'] });
  return decodePng(readFileSync(file));
}

async function main() {
  const args = process.argv.slice(2);
  const linuxAt = args.indexOf('--linux');
  const given = linuxAt >= 0 ? args.splice(linuxAt, 2)[1] : null;
  const out = path.resolve(args[0] || 'screenshots');
  mkdirSync(out, { recursive: true });
  const site = await serveSite();
  const browser = await launchBrowser();
  let board;
  try {
    for (const [name, options] of [
      ['page-dpr1', { dpr: 1, viewport: { width: 640, height: 480 } }],
      ['page-dpr2', { dpr: 2, viewport: { width: 640, height: 480 } }],
      ['phone', { dpr: 3, viewport: { width: 390, height: 844 }, mobile: true }],
    ]) {
      const { context, page } = await openGame(browser, site.base, options);
      await page.waitForTimeout(300);
      writeFileSync(path.join(out, `${name}.png`), await page.screenshot({ fullPage: true }));
      if (name === 'page-dpr1') {
        board = await boardPicture(page);
        writeFileSync(path.join(out, 'board-dpr1.png'), encodePng(board));
      }
      const errors = page.errors;
      await context.close();
      if (errors.length) console.log(`${name}: the page reported ${errors.join('; ')}`);
      console.log(`${path.join(out, name)}.png`);
    }
  } finally {
    await browser.close();
    await site.close();
  }

  const linux = linuxPicture(out, given);
  console.log('\nknown pixels (x, y): expected; page; Linux');
  for (const p of knownPixels)
    console.log(`  ${p.what} (${p.x}, ${p.y}): ${p.rgb}; ${pixelAt(board, p.x, p.y)}; ` +
      `${linux ? pixelAt(linux, p.x, p.y) : '-'}`);
  if (!linux) {
    console.log('\nno Linux picture: build tools/make_screenshot in build/, or pass --linux');
    return;
  }
  if (given) writeFileSync(path.join(out, 'linux.png'), encodePng(linux));
  const { all, rest, picture } = compare(board, linux);
  writeFileSync(path.join(out, 'difference.png'), encodePng(picture));
  console.log(`\npage against Linux, ${all.pixels} pixels: ${share(all)}`);
  console.log(`without the deal and the clock, ${rest.pixels} pixels: ${share(rest)}`);
  console.log(path.join(out, 'difference.png'));
}

await main();
