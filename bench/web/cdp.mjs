// SPDX-License-Identifier: GPL-3.0-or-later
// A small DevTools-protocol client over Chromium's debugging pipe, for the page's load
// benchmark: it follows the page and every worker the page starts (the game's threads
// among them), each held until its network is watched, so that no request is missed.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';

export class Browser {
  static async launch(executable = process.env.LEMMARO_CHROMIUM || '/usr/bin/chromium') {
    const profile = mkdtempSync(path.join(os.tmpdir(), 'lemmaro-bench-'));
    const child = spawn(executable, [
      '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--no-first-run', '--disable-sync',
      '--disable-extensions', '--mute-audio', '--remote-debugging-pipe',
      `--user-data-dir=${profile}`, 'about:blank',
    ], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    child.stderr.resume();
    const browser = new Browser(child, profile);
    await browser.call('Browser.getVersion');
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = new Set();
    let buffered = '';
    child.stdio[4].on('data', (chunk) => {
      buffered += chunk.toString('utf8');
      for (let end; (end = buffered.indexOf('\0')) >= 0;) {
        const message = JSON.parse(buffered.slice(0, end));
        buffered = buffered.slice(end + 1);
        this.dispatch(message);
      }
    });
    child.on('exit', () => {
      for (const { reject } of this.pending.values()) reject(new Error('Chromium exited'));
      this.pending.clear();
    });
  }

  dispatch(message) {
    if (message.id !== undefined) {
      const waiter = this.pending.get(message.id);
      this.pending.delete(message.id);
      if (!waiter) return;
      if (message.error) waiter.reject(new Error(`${waiter.method}: ${message.error.message}`));
      else waiter.resolve(message.result);
      return;
    }
    for (const listener of this.listeners) listener(message);
  }

  // A command, to the browser or (with sessionId) to one attached target.
  call(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, method });
      this.child.stdio[3].write(JSON.stringify(message) + '\0');
    });
  }

  // Every event of every session: listener({ method, params, sessionId }).
  onEvent(listener) {
    this.listeners.add(listener);
    return () => this.listeners.delete(listener);
  }

  async close() {
    await this.call('Browser.close').catch(() => {});
    await new Promise((r) => (this.child.exitCode !== null ? r() : this.child.once('exit', r)));
    rmSync(this.profile, { recursive: true, force: true });
  }

  // A new tab in a context of its own (an empty cache, no storage), its network and that of
  // all its workers watched from their first request. Returns { sessionId, close }.
  async newWatchedTab(onNetwork) {
    const { browserContextId } = await this.call('Target.createBrowserContext',
      { disposeOnDetach: true });
    const { targetId } = await this.call('Target.createTarget',
      { url: 'about:blank', browserContextId });
    const sessions = new Set();
    const stop = this.onEvent(({ method, params, sessionId }) => {
      if (method === 'Target.attachedToTarget' && sessions.has(sessionId))
        void this.watch(params.sessionId, sessions);
      else if (method.startsWith('Network.') && sessions.has(sessionId))
        onNetwork(method, params, sessionId);
    });
    const { sessionId } = await this.call('Target.attachToTarget', { targetId, flatten: true });
    await this.watch(sessionId, sessions);
    return {
      sessionId,
      close: async () => {
        stop();
        await this.call('Target.disposeBrowserContext', { browserContextId }).catch(() => {});
      },
    };
  }

  async watch(sessionId, sessions) {
    sessions.add(sessionId);
    await this.call('Network.enable', {}, sessionId).catch(() => {});
    await this.call('Target.setAutoAttach',
      { autoAttach: true, waitForDebuggerOnStart: true, flatten: true }, sessionId)
      .catch(() => {});
    await this.call('Runtime.runIfWaitingForDebugger', {}, sessionId).catch(() => {});
  }

  async evaluate(sessionId, expression) {
    const { result, exceptionDetails } = await this.call('Runtime.evaluate',
      { expression, returnByValue: true, awaitPromise: true }, sessionId);
    if (exceptionDetails) throw new Error(exceptionDetails.text);
    return result.value;
  }
}
