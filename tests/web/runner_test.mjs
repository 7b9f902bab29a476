// SPDX-License-Identifier: GPL-3.0-or-later
// The browser runner, run as CTest runs it, on a program that ends in each way a test
// program can: its exit code must come back unchanged, its output on the right stream,
// and a program that never exits must fail, never pass and never hang.
//
//   node tests/web/runner_test.mjs path/to/runner_check.js
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import path from 'node:path';
import { describe, test } from 'node:test';
import { fileURLToPath } from 'node:url';

const runner = path.join(path.dirname(fileURLToPath(import.meta.url)), 'run-wasm-test.mjs');
const program = process.argv[2];
if (!program) {
  console.error('usage: node runner_test.mjs RUNNER_CHECK.js');
  process.exit(2);
}

function run(...args) {
  return new Promise((resolve, reject) => {
    const child = spawn(process.execPath, [runner, ...args]);
    let stdout = '';
    let stderr = '';
    child.stdout.setEncoding('utf8').on('data', (d) => (stdout += d));
    child.stderr.setEncoding('utf8').on('data', (d) => (stderr += d));
    child.on('error', reject);
    child.on('close', (code) => resolve({ code, stdout, stderr }));
  });
}

describe('a program that exits', { concurrency: true }, () => {
  test('gives its exit code and each output on its own stream, byte for byte', async () => {
    const { code, stdout, stderr } = await run(program, 'exit', '3');
    assert.equal(code, 3);
    assert.match(stdout, /^to standard output: 100% \[ok\] è$/m);
    assert.doesNotMatch(stdout, /to standard error/);
    assert.match(stderr, /^to standard error$/m);
    assert.match(stdout, /runner_check\.js exited with 3 after [\d.]+ s/);
  });

  test('passes with exit code 0', async () => {
    const { code } = await run(program, 'exit', '0');
    assert.equal(code, 0);
  });

  test('gets its arguments as they were given', async () => {
    const given = ['two words', '</script><b>', 'perché', '--gtest_filter=A.*:B.*', ''];
    const { code, stdout } = await run(program, 'args', ...given);
    assert.equal(code, 0);
    const lines = stdout.split('\n').filter((line) => line.startsWith('['));
    assert.deepEqual(lines, given.map((arg) => `[${arg}]`));
  });

  test('has threads, and their output reaches us before the end', async () => {
    const { code, stdout } = await run(program, 'thread');
    assert.equal(code, 0);
    assert.ok(stdout.indexOf('from a second thread') >= 0, stdout);
    assert.ok(stdout.indexOf('from a second thread') < stdout.indexOf('exited with 0'), stdout);
  });
});

describe('a program that does not exit', { concurrency: true }, () => {
  test('fails when it aborts, after its last output', async () => {
    const { code, stdout, stderr } = await run(program, 'abort');
    assert.equal(code, 125);
    assert.match(stdout, /about to abort/);
    assert.match(stderr, /runner_check\.js stopped without exiting/);
  });

  test('fails when an exception leaves main', async () => {
    const { code, stderr } = await run(program, 'throw');
    assert.equal(code, 125);
    assert.match(stderr, /stopped without exiting/);
  });

  test('fails at the time-out and says so', async () => {
    const started = Date.now();
    const { code, stderr } = await run('--timeout', '3', program, 'hang');
    assert.equal(code, 125);
    assert.match(stderr, /runner_check\.js did not end within 3 s/);
    assert.ok(Date.now() - started < 30000, 'the runner outlived its time-out');
  });

  test('fails when the program is not there', async () => {
    const missing = path.join(path.dirname(program), 'no_such_test.js');
    const { code, stderr } = await run('--timeout', '20', missing);
    assert.equal(code, 125);
    assert.match(stderr, /cannot load no_such_test\.js/);
  });

  test('fails on a wrong command line without starting a browser', async () => {
    assert.equal((await run()).code, 2);
    assert.equal((await run('--timeout', 'soon', program)).code, 2);
  });
});
