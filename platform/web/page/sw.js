// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the whole site for playing offline. Online, every request goes to the network
// first, so a new site takes over at once; offline, the copy answers. The copy keeps the
// headers the site was served with, the two that the game's threads need included.
const CACHE = 'lemmaro';

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const list = await fetch('files.json', { cache: 'no-store' }).then((r) => r.json());
    const cache = await caches.open(CACHE);
    await cache.addAll(['./', ...list]);
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    try {
      const response = await fetch(request);
      if (response.ok && !new URL(request.url).search) cache.put(request, response.clone());
      return response;
    } catch (error) {
      const kept = await cache.match(request, { ignoreSearch: true });
      if (kept) return kept;
      throw error;
    }
  })());
});
