// How the program's two files (kansu-envelope.js and .wasm) reach the page:
// compressed whatever the server does, counted as they come, given up with
// a plain word when they stop coming, and kept in this build's cache for
// the next visit. The toolkit's loader asks for them with fetch(); this
// file answers those two requests and lets every other one through.
//
// Which copy travels:
//  1. this build's cache (a later visit, online or not);
//  2. a server that compresses on its own (it answers the plain name with
//     a Content-Encoding, e.g. from precompressed .br or .gz files beside
//     it): the plain name, which the browser decodes;
//  3. any other server: the .gz beside the plain file, decompressed here
//     (DecompressionStream), streamed on into the wasm compilation;
//  4. a browser without DecompressionStream: the plain file.
'use strict';

window.kansuLoad = (function () {
    const TYPES = { js: 'text/javascript', wasm: 'application/wasm' };
    // No byte for this long: the download has stalled (a pupil's Wi-Fi gone).
    const STALL_MS = 20000;

    // Stamped into index.html by the build: its id, the start of its
    // caches' names, and per program file the sizes of the plain and the .gz
    // copy (so the program's files are the keys of that table).
    const root = document.documentElement;
    const build = root.dataset.build || 'unbuilt';
    const sizes = JSON.parse(root.dataset.sizes || '{}');
    const PROGRAM = Object.keys(sizes);
    const cacheName = (root.dataset.cachePrefix || '') + build;

    const received = new Map();   // file name -> bytes so far
    const expected = new Map();   // file name -> bytes in all, as counted
    let onProgress = () => {};
    let onFailure = () => {};
    let failed = false;
    const plainFetch = window.fetch.bind(window);

    function report() {
        let got = 0, all = 0;
        for (const name of PROGRAM) {
            got += received.get(name) || 0;
            all += expected.get(name) || 0;
        }
        onProgress(got, all);
    }

    function fail(error) {
        if (!failed) {
            failed = true;
            onFailure(error);
        }
        throw error;
    }

    async function cached(name) {
        if (!window.caches)
            return null;
        try {
            const cache = await caches.open(cacheName);
            return (await cache.match(name + '.gz')) || (await cache.match(name)) || null;
        } catch (e) {
            return null; // storage refused (private browsing): the network serves
        }
    }

    async function serverEncodes(name) {
        try {
            const head = await plainFetch(name, { method: 'HEAD', cache: 'no-store' });
            const encoding = head.headers.get('Content-Encoding');
            return head.ok && !!encoding && encoding !== 'identity';
        } catch (e) {
            return false;
        }
    }

    // The body of `response`, counted for the progress bar, and broken off
    // when no byte comes for STALL_MS.
    function counted(name, response, abort) {
        const reader = response.body.getReader();
        let timer = 0;
        return new ReadableStream({
            async pull(controller) {
                timer = setTimeout(() => abort.abort(), STALL_MS);
                try {
                    const { done, value } = await reader.read();
                    if (done) {
                        controller.close();
                        return;
                    }
                    received.set(name, (received.get(name) || 0) + value.byteLength);
                    report();
                    controller.enqueue(value);
                } catch (e) {
                    controller.error(e);
                    fail(new Error(abort.signal.aborted ? 'stalled' : 'broken'));
                } finally {
                    clearTimeout(timer);
                }
            },
            cancel(reason) { reader.cancel(reason); },
        });
    }

    // `stream` as plain bytes: gzip (its first two bytes 1f 8b) is
    // decompressed, anything else passes as it is. A server may or may not
    // have decoded a .gz already, so the bytes decide, not the file name.
    async function plain(stream) {
        const reader = stream.getReader();
        const first = await reader.read();
        const rest = new ReadableStream({
            start(controller) {
                if (!first.done)
                    controller.enqueue(first.value);
                else
                    controller.close();
            },
            async pull(controller) {
                const { done, value } = await reader.read();
                if (done)
                    controller.close();
                else
                    controller.enqueue(value);
            },
            cancel(reason) { reader.cancel(reason); },
        });
        const bytes = first.value;
        const gzip = !first.done && bytes.length >= 2 && bytes[0] === 0x1f && bytes[1] === 0x8b;
        return gzip ? rest.pipeThrough(new DecompressionStream('gzip')) : rest;
    }

    async function fromNetwork(name) {
        const size = sizes[name] || {};
        let url = name;
        if (window.DecompressionStream && !(await serverEncodes(name)))
            url = name + '.gz';
        const abort = new AbortController();
        let response;
        try {
            response = await plainFetch(url, { signal: abort.signal });
        } catch (e) {
            fail(new Error('unreachable'));
        }
        if (!response.ok)
            fail(Object.assign(new Error('status'), { file: url, status: response.status }));
        // What the body will count: a server's own encoding is decoded
        // before it is counted, so the plain size; else what the server sends.
        const decoded = !!response.headers.get('Content-Encoding');
        const length = Number(response.headers.get('Content-Length')) || 0;
        expected.set(name, decoded ? (size.plain || 0)
                                   : (length || (url === name ? size.plain : size.gz) || 0));
        report();
        let body = counted(name, response, abort);
        if (window.caches && window.isSecureContext) {
            const [forProgram, forCache] = body.tee();
            body = forProgram;
            keep(url, new Response(forCache, { headers: { 'Content-Type': 'application/octet-stream' } }));
        }
        return body;
    }

    // Kept as it came, for the next visit; a body that broke off is not kept.
    const keeping = [];
    function keep(url, response) {
        keeping.push(caches.open(cacheName).then((cache) => cache.put(url, response)).catch(() => {}));
    }

    // Resolves once the program's files are in the cache (or could not be).
    function kept() {
        return Promise.all(keeping);
    }

    async function programResponse(name) {
        const hit = await cached(name);
        let body;
        if (hit) {
            expected.set(name, 1);
            received.set(name, 1);
            report();
            body = hit.body;
        } else {
            body = await fromNetwork(name);
        }
        const type = TYPES[name.split('.').pop()];
        return new Response(await plain(body), { headers: { 'Content-Type': type } });
    }

    // Answers the loader's requests for the program's files; call it before
    // the loader starts. `failure` gets an Error whose message says why:
    // 'unreachable' (no answer), 'broken' (the answer broke off), 'stalled'
    // (no byte for STALL_MS) or 'status' (the server answered `file` with
    // the HTTP `status`, 404 for a file it does not have).
    function install(progress, failure) {
        onProgress = progress;
        onFailure = failure;
        window.fetch = function (input, init) {
            const url = new URL(typeof input === 'string' ? input : input.url, document.baseURI);
            const name = url.pathname.split('/').pop();
            const get = !init || !init.method || init.method === 'GET';
            if (get && url.origin === location.origin && PROGRAM.includes(name))
                return programResponse(name);
            return plainFetch(input, init);
        };
    }

    return { install: install, kept: kept };
})();
