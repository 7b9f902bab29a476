// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a test program compiled by Emscripten (with threads, its main on a thread of its
// own) in headless Chromium, as CTest runs a native one: the program's standard output
// and error come out on ours, and our exit code is the program's.
//
//   node tests/web/run-wasm-test.mjs [--timeout SECONDS] PROGRAM.js [ARGUMENT...]
//
// The program's folder is served on the loopback with the isolation headers that shared
// memory needs; a page of a few lines loads PROGRAM.js in a fresh browser profile. A
// program that does not end in time, or that the browser stops (an abort, a trap, a
// failed load), fails with a line saying so. LEMMARO_CHROMIUM names another Chromium.
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { addressOf, isolationHeaders, startServer } from '../../platform/web/serve.mjs';

export const chromiumPath = process.env.LEMMARO_CHROMIUM || '/usr/bin/chromium';
export const chromiumFlags = [
  '--headless=new',
  '--no-sandbox',
  '--disable-gpu',
  '--disable-background-networking',
  '--disable-component-update',
  '--no-first-run',
  '--disable-sync',
];

// Exit codes of our own, apart from the program's: the usage, and a run that did not end
// by the program's exit (timed out, aborted, or never loaded).
const USAGE = 2;
const NO_EXIT = 125;

// The page that starts the program. Emscripten's module reads its settings from the global
// Module: the arguments, where its output goes, and whom to tell when it ends.
function launchPage(script, args) {
  // As a script's text: no argument can close the element early.
  const settings = JSON.stringify({ script, args }).replace(/</g, '\\u003c');
  return `<!doctype html>
<meta charset="utf-8">
<title>test</title>
<script>
  // Only Module is global: the program's own script declares many names at the top level.
  var Module;
  {
    const launch = ${settings};
    Module = {
      arguments: launch.args,
      // One argument each, so that a % in the text is never read as a format.
      print: (text) => console.log(text),
      printErr: (text) => console.error(text),
      onExit: (code) => lemmaroTestEnded({ code }),
      onAbort: (what) => lemmaroTestEnded({ abort: String(what) }),
    };
    addEventListener('error', (e) => lemmaroTestEnded({ error: String(e.message || e) }));
    if (!crossOriginIsolated) {
      lemmaroTestEnded({ error: 'the page is not cross-origin isolated, so it has no threads' });
    }
    const script = document.createElement('script');
    script.src = launch.script;
    script.onerror = () => lemmaroTestEnded({ error: 'cannot load ' + launch.script });
    document.head.append(script);
  }
</script>
`;
}

// Runs the program; resolves to its exit code, or NO_EXIT with the reason written out.
export async function runWasmTest(program, args = [], { timeoutSeconds = 600, out, err } = {}) {
  out ??= (line) => process.stdout.write(line + '\n');
  err ??= (line) => process.stderr.write(line + '\n');
  const script = path.basename(program);
  const started = Date.now();
  const elapsed = () => `${((Date.now() - started) / 1000).toFixed(1)} s`;
  let chromium;
  try {
    ({ chromium } = await import('playwright-core'));
  } catch {
    err('run-wasm-test: playwright-core is missing: "make test-web" installs it in tests/web');
    return NO_EXIT;
  }
  let server;
  let browser;
  let timer;
  try {
    server = await startServer(path.dirname(path.resolve(program)));
    browser = await chromium.launch({
      executablePath: chromiumPath,
      headless: false, // the flags say headless, in Chromium's own newer mode
      args: chromiumFlags,
    });
    const context = await browser.newContext();
    const page = await context.newPage();
    let ended;
    const end = new Promise((resolve) => (ended = resolve));
    await page.exposeFunction('lemmaroTestEnded', (how) => ended(how));
    // The console of the page and of the program's threads alike.
    context.on('console', (message) => {
      const text = message.text();
      if (message.type() === 'error' || message.type() === 'warning') err(text);
      else out(text);
    });
    page.on('pageerror', (e) => ended({ error: String(e.message || e) }));
    page.on('crash', () => ended({ error: 'the browser tab crashed' }));
    const address = `${addressOf(server)}__run_${script}.html`;
    await page.route(address, (route) =>
      route.fulfill({
        status: 200,
        headers: { ...isolationHeaders, 'Content-Type': 'text/html; charset=utf-8' },
        body: launchPage(script, args),
      }),
    );
    const timedOut = new Promise((resolve) => {
      timer = setTimeout(() => resolve({ timeout: true }), timeoutSeconds * 1000);
    });
    page.goto(address).catch((e) => ended({ error: `cannot open the page: ${e.message}` }));
    const how = await Promise.race([end, timedOut]);
    // The last lines of output may still be on their way from the page.
    await new Promise((resolve) => setTimeout(resolve, 100));
    if (how.timeout) {
      err(`run-wasm-test: ${script} did not end within ${timeoutSeconds} s: stopped`);
      return NO_EXIT;
    }
    if (how.code !== undefined) {
      out(`run-wasm-test: ${script} exited with ${how.code} after ${elapsed()}`);
      return how.code;
    }
    const reason = how.abort || how.error || 'aborted';
    err(`run-wasm-test: ${script} stopped without exiting after ${elapsed()}: ${reason}`);
    return NO_EXIT;
  } catch (e) {
    err(`run-wasm-test: ${script} could not be run: ${e.message}`);
    return NO_EXIT;
  } finally {
    clearTimeout(timer);
    await browser?.close();
    server?.close();
  }
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const argv = process.argv.slice(2);
  let timeoutSeconds = 600;
  if (argv[0] === '--timeout') {
    timeoutSeconds = Number(argv[1]);
    argv.splice(0, 2);
  }
  if (!argv[0] || !(timeoutSeconds > 0)) {
    console.error('usage: node run-wasm-test.mjs [--timeout SECONDS] PROGRAM.js [ARGUMENT...]');
    process.exit(USAGE);
  }
  const [program, ...args] = argv;
  process.exitCode = await runWasmTest(program, args, { timeoutSeconds });
}
