// SPDX-License-Identifier: GPL-3.0-or-later
// Opens a test program's page in headless Chromium, served as the site is (isolated, so
// that it has threads, and compressed), echoes what the program prints, and passes when
// it prints "<name>: passed".
//
//   node run.mjs SITE NAME [SECONDS]
import { chromium } from 'playwright-core';
import { mkdtemp, rm } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';

import { addressOf, startServer } from '../../../platform/web/serve.mjs';

const [site, name, seconds = '120'] = process.argv.slice(2);
if (!site || !name) {
  console.error('uso: node run.mjs CARTELLA NOME [SECONDI]');
  process.exit(2);
}

const server = await startServer(site);
const profile = await mkdtemp(path.join(os.tmpdir(), 'lemmaro-chromium-'));
const browser = await chromium.launchPersistentContext(profile, {
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--no-first-run', '--disable-sync'],
});
let verdict = 'timed out';
try {
  const page = browser.pages()[0] || (await browser.newPage());
  const over = new Promise((resolve) => {
    page.on('console', (message) => {
      const text = message.text();
      console.log(text);
      if (text === `${name}: passed` || text === `${name}: failed`) resolve(text.split(': ')[1]);
    });
    page.on('pageerror', (error) => {
      console.log(`page error: ${error.message}`);
      resolve('failed');
    });
  });
  await page.goto(addressOf(server));
  verdict = await Promise.race([
    over,
    new Promise((resolve) => setTimeout(() => resolve('timed out'), Number(seconds) * 1000)),
  ]);
} finally {
  await browser.close();
  server.close();
  await rm(profile, { recursive: true, force: true });
}
console.log(`run.mjs: ${name} ${verdict}`);
process.exit(verdict === 'passed' ? 0 : 1);
