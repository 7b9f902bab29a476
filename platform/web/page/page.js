// SPDX-License-Identifier: GPL-3.0-or-later
// The page: starts the game's program on a thread of its own, shows what it sends, and
// hands it what the player does. `?speed=N` plays N times faster (tests).
import { Access } from './access.js';
import './audio.js';  // sound, before the program asks whether the page can play it
import { Event, keyOf, KeyName } from './link.js';
import { Painter, warmUpFaces } from './painter.js';
import { prefetch, storage } from './storage.js';

const $ = (id) => document.getElementById(id);
const canvas = $('board'), game = $('game'), dialog = $('box');
const params = new URLSearchParams(location.search);
const speed = Number(params.get('speed')) > 0 ? Number(params.get('speed')) : 1;

function fail(text) {
  const status = $('status');
  status.textContent = text;
  status.hidden = false;
}

if (!globalThis.crossOriginIsolated || typeof SharedArrayBuffer === 'undefined') {
  fail('Questo browser non può avviare il gioco qui: la pagina va servita con le intestazioni ' +
       '"Cross-Origin-Opener-Policy: same-origin" e "Cross-Origin-Embedder-Policy: require-corp".');
  throw new Error('the page is not cross-origin isolated');
}

prefetch('Dati.RCX');  // on its way while the program compiles
warmUpFaces();  // while the program compiles too

let program = null;  // Module.lemmaro, once the program runs
const queued = [];
function send(kind, a = 0, b = 0, c = 0, text = null) {
  if (!program) return void queued.push([kind, a, b, c, text]);
  if (text === null) program.event(kind, a, b, c);
  else program.eventText(kind, a, text);
}

const painter = new Painter(canvas, (mode, dest, pen) => program.applyDrawMode(mode, dest, pen));
const access = new Access($('controls'), $('messages'), canvas, send);

// ---- The board's size: its own, or smaller where the screen is ---------------------
let size = { w: 538, h: 388 };
let scale = 1;
function fit() {
  const help = document.querySelector('.help');
  const room = (help && getComputedStyle(help).display !== 'none') ? help.offsetHeight + 12 : 0;
  // The layout viewport's size: on a phone the visual one grows with what overflows.
  const { clientWidth, clientHeight } = document.documentElement;
  scale = Math.min(1, (clientWidth - 8) / size.w, (clientHeight - 8 - room) / size.h);
  game.style.width = `${size.w * scale}px`;
  game.style.height = `${size.h * scale}px`;
  // Centred, the board may fall between device pixels, and a canvas there is blurred:
  // it is moved onto the nearest whole one.
  game.style.transform = '';
  const at = game.getBoundingClientRect(), ratio = devicePixelRatio || 1;
  const snap = (v) => Math.round(v * ratio) / ratio - v;
  game.style.transform = `translate(${snap(at.left)}px, ${snap(at.top)}px)`;
  painter.fit(size.w, size.h, scale);
  access.rescale(scale);
}
let painting = null, firstFrame = false;
function repaint() {
  if (!painter.picture) return;
  painter.paint(painter.picture);
}
addEventListener('resize', () => { fit(); repaint(); });
matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener?.('change', () => { fit(); repaint(); });

// ---- What the game shows ------------------------------------------------------------
let latest = null;
function paintLater(picture) {
  // The steps to the first frame, for the benchmark: the program runs, its first picture.
  if (!latest) performance.mark('lemmaro-first-picture');
  latest = picture;
  painting ??= painter.ready(picture).then(() => new Promise((done) => requestAnimationFrame(() => {
    painting = null;
    const p = latest;
    if (p.w !== size.w || p.h !== size.h || !firstFrame) {
      size = { w: p.w, h: p.h };
      fit();
    }
    painter.paint(p);
    if (!firstFrame) {
      // The frame shows what was just painted.
      firstFrame = true;
      performance.mark('lemmaro-first-frame');
      document.documentElement.dataset.firstFrame = '1';
      send(Event.Painted);
      setTimeout(afterFirstFrame, 0);
    }
    done();
  })));
}

let cursors = {};
async function pointer(id) {
  if (!id) return void (canvas.style.cursor = '');
  if (!(id in cursors)) {
    // The hot spot is written in the picture itself.
    const text = await fetch(`art/cursor-${id}.svg`).then((r) => r.text()).catch(() => '');
    const spot = /cursor:hotspot="(\d+),(\d+)"/.exec(text) || [0, 0, 0];
    cursors[id] = `url(art/cursor-${id}.svg) ${spot[1]} ${spot[2]}, pointer`;
  }
  canvas.style.cursor = cursors[id];
}

function show(message) {
  if (message.title !== undefined) document.title = message.title || 'Lemmaro';
  if (message.cursor !== undefined) pointer(message.cursor);
  if (message.boxes) access.boxes(message.boxes);
  if (message.paint) paintLater(message.paint);
  if (message.access) access.items(message.access);
  if (message.boxTexts) access.boxTexts(message.boxTexts);
  if (message.say) access.say(message.say);
  if (message.focus !== undefined) access.focus(message.focus);
  if (message.box) {
    $('box-title').textContent = message.box.title;
    $('box-text').textContent = message.box.text;
    if (!dialog.open) dialog.showModal();
  }
}
dialog.addEventListener('close', () => {
  send(Event.Dismiss);
  access.focus(access.focusAt);
});

// Beside the sound (audio.js), which the program reaches on the same object.
Object.assign((globalThis.lemmaroPage ??= {}), { show, storage, painter, access });


// ---- What the player does -----------------------------------------------------------
const twips = (e) => {
  const r = canvas.getBoundingClientRect();
  return [Math.floor(((e.clientX - r.left) / scale) * 15), Math.floor(((e.clientY - r.top) / scale) * 15)];
};
let lastDown = { time: -1e9, x: 0, y: 0 };
canvas.addEventListener('pointerdown', (e) => {
  if (e.button !== 0) return;
  e.preventDefault();
  canvas.setPointerCapture(e.pointerId);
  if (document.activeElement?.tagName !== 'INPUT') canvas.focus({ preventScroll: true });
  const [x, y] = twips(e);
  // The second press of a double-click: soon after the first and near it.
  const doubled = e.timeStamp - lastDown.time < 500 &&
                  Math.abs(e.clientX - lastDown.x) < 5 && Math.abs(e.clientY - lastDown.y) < 5;
  lastDown = doubled ? { time: -1e9, x: 0, y: 0 } : { time: e.timeStamp, x: e.clientX, y: e.clientY };
  send(Event.Press, x, y, doubled ? 1 : 0);
});
canvas.addEventListener('pointerup', (e) => {
  if (e.button !== 0) return;
  send(Event.Release, ...twips(e));
});
canvas.addEventListener('pointermove', (e) => send(Event.Move, ...twips(e)));
canvas.addEventListener('contextmenu', (e) => e.preventDefault());

const FIELD_KEYS = new Set([KeyName.Tab, KeyName.BackTab, KeyName.Enter, KeyName.Escape]);
document.addEventListener('keydown', (e) => {
  if (dialog.open || e.isComposing) return;
  const key = keyOf(e);
  if (!key) return;
  // In the name box the field edits by itself; the game takes only what leaves it.
  if (e.target instanceof HTMLInputElement && !FIELD_KEYS.has(key.name)) return;
  if (!key.shortcut) e.preventDefault();  // the browser's own shortcuts stay its own
  send(Event.Key, key.name, key.letter, key.shortcut ? 1 : 0);
});
addEventListener('pagehide', () => send(Event.Close));
// A page the browser kept and shows again has a game that ended on leaving: a new one.
addEventListener('pageshow', (e) => e.persisted && location.reload());

// ---- The program ----------------------------------------------------------------------
function afterFirstFrame() {
  // Installs and plays offline; never before the first frame.
  if ('serviceWorker' in navigator && !params.has('nosw'))
    navigator.serviceWorker.register('sw.js').catch(() => {});
}

globalThis.Module = {
  arguments: speed !== 1 ? ['--speed', String(speed)] : [],
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
  onRuntimeInitialized() {
    performance.mark('lemmaro-program-ready');
    program = globalThis.Module.lemmaro;
    for (const [kind, a, b, c, text] of queued.splice(0)) send(kind, a, b, c, text);
  },
  onAbort: () => fail('Il gioco si è fermato per un errore. Ricarica la pagina per ricominciare.'),
};

addEventListener('error', (e) => {
  if (e.target instanceof HTMLScriptElement)
    fail('Non riesco a caricare il gioco: controlla la connessione e ricarica la pagina.');
}, true);
fit();
