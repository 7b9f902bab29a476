// SPDX-License-Identifier: GPL-3.0-or-later
// The game's files in the browser. What comes with the site (the word list) is fetched
// from data/; what the game writes (the record) is kept in the browser's own storage,
// the same bytes as on disk, and survives a reload and a restart of the browser.
const SITE_FILES = new Set(['dati.rcx']);
const DB = 'lemmaro', STORE = 'files';

// Asked for early, so that the word list is on its way while the program compiles.
const fetched = new Map();
export function prefetch(name) {
  const key = name.toLowerCase();
  if (!fetched.has(key)) {
    fetched.set(key, fetch(`data/${name}`).then((r) => {
      if (!r.ok) throw new Error(`il sito non ha il file (${r.status})`);
      return r.arrayBuffer();
    }).then((b) => new Uint8Array(b)));
    fetched.get(key).catch(() => fetched.delete(key));
  }
  return fetched.get(key);
}

let opened = null;
function database() {
  opened ??= new Promise((resolve, reject) => {
    let request;
    try {
      request = indexedDB.open(DB, 1);
    } catch (e) {
      reject(e);
      return;
    }
    request.onupgradeneeded = () => request.result.createObjectStore(STORE);
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
    request.onblocked = () => reject(new Error('archivio bloccato da un\'altra scheda'));
  });
  opened.catch(() => { opened = null; });  // tried again next time
  return opened;
}

function inStore(mode, use) {
  return database().then((db) => new Promise((resolve, reject) => {
    const t = db.transaction(STORE, mode);
    const request = use(t.objectStore(STORE));
    t.oncomplete = () => resolve(request.result);
    t.onerror = () => reject(t.error || request.error);
    t.onabort = () => reject(t.error || new Error('scrittura annullata'));
  }));
}

const why = (e) => {
  if (e?.name === 'QuotaExceededError') return 'lo spazio del browser per questo sito è esaurito';
  if (e?.name === 'SecurityError' || e?.name === 'InvalidStateError')
    return 'il browser non permette a questa pagina di conservare dati';
  return `il browser non ha conservato i dati (${e?.message || e})`;
};

export const storage = {
  async load(name) {
    if (SITE_FILES.has(name.toLowerCase())) return prefetch(name);
    try {
      const bytes = await inStore('readonly', (s) => s.get(name.toLowerCase()));
      return bytes ? new Uint8Array(bytes) : new Uint8Array(0);  // none yet: empty
    } catch (e) {
      throw new Error(why(e));
    }
  },
  async save(name, bytes) {
    try {
      await inStore('readwrite', (s) => s.put(bytes, name.toLowerCase()));
      // Kept through the browser's clean-ups where it lets the page ask.
      navigator.storage?.persist?.().catch(() => {});
      return new Uint8Array(0);
    } catch (e) {
      throw new Error(why(e));
    }
  },
};
