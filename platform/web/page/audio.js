// SPDX-License-Identifier: GPL-3.0-or-later
// The game's sound effects, played through Web Audio: lemmaroPage.audio.
//
//   canPlay()   whether the page can make sound at all: the browser has Web Audio, and a
//               context made already has an output;
//               the sound-card detector asks it at every start-up
//   prepare()   makes the context and fetches and decodes the effects, ahead of the first
//   play(name)  plays data/<name> once, cutting off the effect before it; an empty or
//               unknown name only cuts it off
//
// Browsers let a page start sound only after the player has done something on it (a
// click, a tap, a key). Until then the context stays suspended, and the first gesture
// resumes it. An effect the game asks for before that is not lost: the latest one asked
// for is kept, and starts as soon as the context runs, if that is within
// PENDING_LIFETIME_MS of when it was asked for; an effect that late would sound out of
// place, so it is dropped instead. The same rule covers an effect still being fetched.
// Once the context runs, effects start at once.

// The six effects of the game, in data/ beside the page's folder.
export const EFFECTS = ['FX01.wav', 'FX02.wav', 'FX03.wav', 'FX04.wav', 'FX05.wav', 'FX06.wav'];

// How long an effect waits for the page to be allowed to play it.
export const PENDING_LIFETIME_MS = 3000;

// The desktop game plays its effects at half volume; so does the page.
const VOLUME = 0.5;

// Anything that may count as the player's gesture; the browser decides which do. Each is
// heard before the page's own handlers, so the context resumes inside the gesture.
const GESTURES = [
  'pointerdown', 'pointerup', 'mousedown', 'touchstart', 'touchend', 'keydown', 'click',
];

async function fetchBytes(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`${url}: ${response.status}`);
  return response.arrayBuffer();
}

function makeContext() {
  const Context = globalThis.AudioContext || globalThis.webkitAudioContext;
  return Context ? new Context() : null;
}

// Options are for tests: where the effects are and where they go, the clock, the wait.
export function createAudio({
  base = new URL('../data/', import.meta.url),
  effects = EFFECTS,
  pendingLifetimeMs = PENDING_LIFETIME_MS,
  volume = VOLUME,
  output = (context) => context.destination,
  now = () => performance.now(),
  gestureTarget = globalThis,
  contextFactory = makeContext,
  // Making a context holds the page up for a good while (150 ms here): the start-up's
  // sound check asks only whether one can be made, and the context comes with prepare().
  canMake = () => Boolean(globalThis.AudioContext || globalThis.webkitAudioContext),
} = {}) {
  let tried = false;
  let context = null; // null once tried: the page cannot play sound
  let gain = null;
  const loading = new Map(); // name -> promise of its decoded buffer, or null
  const loaded = new Map(); // name -> decoded buffer, or null when it cannot play
  let playing = null; // the source sounding now
  let pending = null; // { name, at }: asked for, not started yet
  let listening = false;

  function ensureContext() {
    if (tried) return context;
    tried = true;
    try {
      const made = contextFactory();
      if (!made) return null;
      if (!(made.destination && made.destination.maxChannelCount > 0)) {
        made.close?.().catch(() => {});
        return null;
      }
      context = made;
      gain = context.createGain();
      gain.gain.value = volume;
      gain.connect(output(context));
      context.addEventListener('statechange', stateChanged);
      stateChanged();
    } catch {
      context = null;
    }
    return context;
  }

  function stateChanged() {
    if (context.state === 'running') {
      hearGestures(false);
      startPending();
    } else {
      hearGestures(context.state !== 'closed');
    }
  }

  function hearGestures(on) {
    if (on === listening) return;
    listening = on;
    for (const type of GESTURES) {
      if (on) gestureTarget.addEventListener(type, unlock, { capture: true, passive: true });
      else gestureTarget.removeEventListener(type, unlock, { capture: true });
    }
  }

  function resume() {
    context.resume().then(stateChanged, () => {});
  }

  // Runs inside the gesture's own handler, which is where the browser allows it.
  function unlock() {
    if (!context || context.state === 'running' || context.state === 'closed') return;
    // Older WebKit unlocks only once something has started inside a gesture: a silent
    // sample does.
    try {
      const silence = context.createBufferSource();
      silence.buffer = context.createBuffer(1, 1, context.sampleRate);
      silence.connect(context.destination);
      silence.start();
    } catch {
      // resume() alone is enough everywhere else
    }
    resume();
  }

  function decode(bytes) {
    // The callback form is the one every browser has.
    return new Promise((resolve, reject) => context.decodeAudioData(bytes, resolve, reject));
  }

  function load(name) {
    let promise = loading.get(name);
    if (!promise) {
      promise = fetchBytes(new URL(name, base))
        .then(decode)
        .catch(() => null) // a missing or broken effect stays silent
        .then((buffer) => {
          loaded.set(name, buffer);
          startPending();
          return buffer;
        });
      loading.set(name, promise);
    }
    return promise;
  }

  function stop() {
    const source = playing;
    playing = null;
    if (!source) return;
    try {
      source.stop();
    } catch {
      // already ended
    }
    source.disconnect();
  }

  function startPending() {
    if (!pending || !context || context.state !== 'running' || !loaded.has(pending.name)) return;
    const { name, at } = pending;
    pending = null;
    const buffer = loaded.get(name);
    if (!buffer || now() - at > pendingLifetimeMs) return;
    stop();
    const source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(gain);
    source.onended = () => {
      if (playing === source) playing = null;
      source.disconnect();
    };
    source.start();
    playing = source;
  }

  return {
    canPlay() {
      return tried ? context !== null : canMake();
    },

    prepare() {
      if (!ensureContext()) return;
      for (const name of effects) load(name);
    },

    play(name) {
      // A new request cuts off the last effect at once, whether or not it can start yet.
      stop();
      pending = null;
      if (!name || !ensureContext()) return;
      pending = { name, at: now() };
      load(name);
      if (context.state === 'running') {
        startPending();
      } else if (context.state === 'suspended' && navigator.userActivation?.hasBeenActive) {
        // The player has done something on the page already: no need to wait for more.
        resume();
      }
    },
  };
}

const page = (globalThis.lemmaroPage ??= {});
page.audio ??= createAudio();
