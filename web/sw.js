// Keeps Veltrax for offline use: every file of its folder is cached when the
// worker is installed and then served from the cache. A newer page comes with
// a newer worker (its cache name changes with every file), which waits until
// the page asks it to take over, after the user agreed.
const kCache = "veltrax-@VERSION@";
const kFiles = ["./", "index.html", "manifest.webmanifest", "icon-192.png", "icon-512.png", "icon-maskable.png"];

self.addEventListener("install", (event) => {
  event.waitUntil(
    caches.open(kCache).then((cache) => cache.addAll(kFiles.map((file) => new Request(file, { cache: "reload" })))));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    (async () => {
      for (const key of await caches.keys()) if (key.startsWith("veltrax-") && key !== kCache) await caches.delete(key);
      await self.clients.claim();
    })());
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(
    caches.open(kCache).then(async (cache) => (await cache.match(event.request, { ignoreSearch: true })) ?? fetch(event.request)));
});

self.addEventListener("message", (event) => {
  if (event.data === "update") self.skipWaiting();
});
