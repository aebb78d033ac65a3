// Keeps every file of the site, so that it opens and works with no network
// once it has been visited. make_site.py fills in the files and a version
// made from their contents: a new build is a new worker, which fetches the
// new files and drops the old ones.
const kVersion = '@VERSION@';
const kFiles = ['@FILES@'];
const kCache = `tessaldo-${kVersion}`;

self.addEventListener('install', (event) => {
    // Past the browser's own cache, so that a file of the last build is not kept under this version.
    event.waitUntil(caches.open(kCache)
        .then((cache) => cache.addAll(kFiles.map((file) => new Request(file, { cache: 'no-cache' }))))
        .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names.filter((name) => name.startsWith('tessaldo-') && name !== kCache)
            .map((name) => caches.delete(name))))
        .then(() => self.clients.claim()));
});

// The kept file; for any other address of the site opened as a page, the
// page at the site's own address, where the files it names are beside it
// (the fragment, a shared picture, goes along); the network for the rest.
async function answer(request) {
    const cache = await caches.open(kCache);
    const kept = await cache.match(request, { ignoreSearch: true });
    if (kept)
        return kept;
    return request.mode === 'navigate' ? Response.redirect(self.registration.scope, 302) : fetch(request);
}

self.addEventListener('fetch', (event) => {
    if (event.request.method === 'GET')
        event.respondWith(answer(event.request));
});
