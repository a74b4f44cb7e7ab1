// The page's service worker: after the first visit every file of the page
// comes from a cache named after the build, with or without the network.
// A new build is a new worker with a cache of its own; once its files are
// all in, it takes over and removes the older builds' caches, so that one
// visit never mixes the files of two builds. The build writes the id, the
// caches' prefix and the lists below.
'use strict';

const BUILD = '@KANSU_BUILD@';
const FILES = [@KANSU_FILES@];
const PREFIX = '@KANSU_CACHE_PREFIX@';
const CACHE = PREFIX + BUILD;
// The program's files: the page keeps each as it came (the .gz copy, or the
// plain one a server compressed on its own); either copy will do.
const PROGRAM = [@KANSU_PROGRAM@];

async function missing(cache, file) {
    if (PROGRAM.includes(file))
        return !(await cache.match(file + '.gz')) && !(await cache.match(file));
    return !(await cache.match(file));
}

self.addEventListener('install', (event) => {
    event.waitUntil((async () => {
        const cache = await caches.open(CACHE);
        for (const file of FILES) {
            if (!(await missing(cache, file)))
                continue;
            const url = PROGRAM.includes(file) ? file + '.gz' : file;
            // Past the browser's HTTP cache, which may hold an older build's file.
            const response = await fetch(url, { cache: 'no-cache' });
            if (!response.ok)
                throw new Error(url + ': ' + response.status);
            await cache.put(url, response);
        }
        await self.skipWaiting();
    })());
});

self.addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        for (const name of await caches.keys())
            if (name.startsWith(PREFIX) && name !== CACHE)
                await caches.delete(name);
        await self.clients.claim();
    })());
});

// A page of this folder (the folder itself is index.html), from the cache
// if it is there, else from the network.
self.addEventListener('fetch', (event) => {
    const request = event.request;
    const url = new URL(request.url);
    if (request.method !== 'GET' || url.origin !== self.location.origin)
        return;
    event.respondWith((async () => {
        const cache = await caches.open(CACHE);
        const key = url.pathname.endsWith('/') ? new URL('index.html', url).href : request;
        return (await cache.match(key, { ignoreSearch: true })) || fetch(request);
    })());
});
