// The service worker of the installed page: on its first load it keeps
// every file of the site in a cache named after this version, and from
// then on answers the page's requests from that cache, so the page opens
// and computes with no network at all. A new version of the site comes
// with a new copy of this file (its version and list differ), which the
// browser notices on a visit; the new worker caches the new files, takes
// over and drops the old cache, and the open page says that a reload
// brings the new version.
'use strict';

const VERSION = '@VERSION@';
const FILES = @FILES@;
const CACHE = 'morvelstandrik-' + VERSION;

self.addEventListener('install', (event) => {
  // Fetched past the browser's HTTP cache: the new cache must hold this
  // version's files, never an older copy the browser kept.
  event.waitUntil(caches.open(CACHE)
      .then((cache) => cache.addAll(FILES.map((f) => new Request(f, {cache: 'reload'}))))
      .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
      .then((names) => Promise.all(names
          .filter((name) => name.startsWith('morvelstandrik-') && name !== CACHE)
          .map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

// The site's own files from the cache; the page at its address ("./", with
// or without a query) is index.html. Anything else goes to the network as
// usual.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  const url = new URL(request.url);
  const scope = new URL(self.registration.scope);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return;
  const name = url.pathname.slice(scope.pathname.length) || 'index.html';
  if (!FILES.includes(name)) return;
  event.respondWith(caches.open(CACHE)
      .then((cache) => cache.match(name))
      .then((kept) => kept || fetch(request)));
});
