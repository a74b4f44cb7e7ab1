// Drives the lesson's page in headless Chromium: the first screen, a drag
// and 出す, グラフ and 表, and 終了. Positions are client pixels (see
// lesson.mjs).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {
    useBrowser, openLesson, browserInUse, URL, CAPTION, COMPACT, GRAPH_W, TABLE_H, BOARD_X, BOARD_Y, BOARD_W, BOARD_H,
    BOARD_GREEN, TRAY_GREEN, YELLOW, WHITE, GREY, RED,
    BTN_END, BTN_FORWARD, BTN_RESTART, CHK_TABLE, CHK_GRAPH, AREA_READOUT,
    GRAPH_X, GRAPH_Y, GRAPH_W_PANEL, GRAPH_H_PANEL, TABLE_X, TABLE_Y, PANEL_CREAM, FRAMES, ENVELOPE,
} from './lesson.mjs';

useBrowser();

test('first screen: caption, board, tray, templates and P at B', async (t) => {
    const lesson = await openLesson(t);
    // document.title collapses runs of white space, so the caption's two
    // spaces before "(by" come back as one: compared after collapsing both.
    const title = await lesson.page.title();
    assert.equal(title.replace(/\s+/g, ' '), CAPTION.replace(/\s+/g, ' '));

    const { box } = await lesson.geometry();
    assert.ok(Math.abs(box.width / box.height - COMPACT.w / COMPACT.h) < 0.01,
              `canvas ${box.width}x${box.height} is not the compact window's shape`);

    const s = await lesson.shot();
    lesson.expectBoard(s, 100, 250, BOARD_GREEN, 'board left of the envelope');
    lesson.expectBoard(s, 550, 390, BOARD_GREEN, 'board lower right');
    lesson.expectBoard(s, 400, 240, BOARD_GREEN, 'inside the empty envelope');
    lesson.expectBoard(s, 100, 141, BOARD_GREEN, 'just below the tray band');
    lesson.expectBoard(s, 5, 5, TRAY_GREEN, 'tray band, top left');
    lesson.expectBoard(s, 100, 138, TRAY_GREEN, 'tray band, lower rows');
    lesson.expectBoard(s, 595, 70, TRAY_GREEN, 'tray band, right end');

    // The templates stand on the frames' common bottom; the square is as tall
    // as it is wide, the 2 x 4 twice that, the 2 x 6 and the triangle fill
    // their frames, the triangle's tall side at its frame's right.
    const [[sqX, , sqW], [r4X, , r4W], [r6X, r6Y, r6W], [trX, , trW, trH]] = FRAMES;
    const tray = FRAMES[0][1] + FRAMES[0][3]; // the line the templates stand on
    lesson.expectBoard(s, sqX, tray - 20, YELLOW, 'square template, left edge');
    lesson.expectBoard(s, sqX + sqW, tray - 20, YELLOW, 'square template, right edge');
    lesson.expectBoard(s, sqX + sqW / 2, tray - sqW, YELLOW, 'square template, top edge');
    lesson.expectBoard(s, sqX + sqW / 2, tray - sqW + 10, TRAY_GREEN, 'square template, inside');
    lesson.expectBoard(s, r4X, tray - 65, YELLOW, '2x4 template, left edge');
    lesson.expectBoard(s, r4X + r4W / 2, tray - 2 * r4W, YELLOW, '2x4 template, top edge');
    lesson.expectBoard(s, r4X + r4W / 2, tray - 2 * r4W - 10, TRAY_GREEN, 'above the 2x4 template');
    lesson.expectBoard(s, r6X, 30, YELLOW, '2x6 template, left edge');
    lesson.expectBoard(s, r6X + r6W / 2, r6Y, YELLOW, '2x6 template, top edge');
    lesson.expectBoard(s, r6X + r6W, 90, YELLOW, '2x6 template, right edge');
    lesson.expectBoard(s, trX + 60, tray, YELLOW, 'triangle template, base');
    lesson.expectBoard(s, trX + trW, tray - trH + 25, YELLOW, 'triangle template, tall side');
    lesson.expectBoard(s, trX + 110, tray - 25, TRAY_GREEN, 'inside the triangle template');

    // The envelope ABCD, its sides 3 px wide, and P at B.
    const [ax, ay, ew, eh] = ENVELOPE;
    lesson.expectBoard(s, ax, ay + eh / 2, WHITE, 'side AB');
    lesson.expectBoard(s, ax + ew / 2, ay, WHITE, 'side DA');
    lesson.expectBoard(s, ax + ew, ay + eh / 2, WHITE, 'side CD');
    lesson.expectBoard(s, ax + ew / 2, ay + eh, WHITE, 'side BC');
    lesson.expectBoard(s, 100, ay + eh, WHITE, 'base line left of B');

    lesson.expectBoard(s, ax, ay + eh, RED, "P's dot at B");
    lesson.expectBoard(s, ax, ay + eh - 3, RED, "P's dot, upper part");
    lesson.expectBoard(s, ax - 10, ay + eh, WHITE, 'base line left of P (no red bar at start)');
    assert.deepEqual(lesson.errors, []);
});

test('a piece dragged into the envelope, then 出す', async (t) => {
    const lesson = await openLesson(t);
    // The triangle from its tray pick-up area into slots 2..4 (board x 380..500).
    await lesson.drag(BOARD_X + 540, BOARD_Y + 110, BOARD_X + 440, BOARD_Y + 240, 10);
    await lesson.waitFor(async () => lesson.isBoard(await lesson.shot(), 480, 280, GREY), 3000,
                         'the triangle did not arrive in slots 2..4 (no grey at board 480,280)');
    let s = await lesson.shot();
    lesson.expectBoard(s, 450, 270, GREY, "triangle's middle third");
    lesson.expectBoard(s, 400, 220, BOARD_GREEN, "above the triangle's hypotenuse");
    lesson.expectBoard(s, 570, 30, YELLOW, 'triangle template back in the tray');
    const readout0 = lesson.area(s, AREA_READOUT);

    // Ten steps: x = 5, Px = 200; the triangle at 280..400 straddles AB.
    for (let i = 0; i < 10; i++) {
        await lesson.click(BTN_FORWARD);
        await lesson.page.waitForTimeout(50);
    }
    await lesson.waitFor(async () => lesson.isBoard(await lesson.shot(), 200, 297, RED), 3000,
                         'P is not at board x 200 after ten steps');
    s = await lesson.shot();
    assert.notEqual(lesson.area(s, AREA_READOUT), readout0, 'the x read-out did not change');
    lesson.expectBoard(s, 300, 297, WHITE, 'no dot left at B');
    lesson.expectBoard(s, 290, 296, WHITE, "triangle's tip, out of the envelope");
    lesson.expectBoard(s, 310, 293, GREY, 'triangle just right of AB');
    lesson.expectBoard(s, 390, 200, GREY, 'triangle near its tall side');
    lesson.expectBoard(s, 250, 300, RED, 'red bar BP');
    assert.deepEqual(lesson.errors, []);
});

test('グラフ widens and 表 heightens the canvas', async (t) => {
    const lesson = await openLesson(t);
    const ratio = async () => { const { box } = await lesson.geometry(); return box.width / box.height; };
    const near = (a, b) => Math.abs(a - b) < 0.01;
    assert.ok(near(await ratio(), COMPACT.w / COMPACT.h), 'not compact at first');
    await lesson.click(CHK_GRAPH);
    await lesson.waitFor(async () => near(await ratio(), GRAPH_W / COMPACT.h), 3000,
                         'the canvas did not take the shape of 1031x549 after グラフ');
    await lesson.forward(3); // a graph drawn before 表 changes the scale
    await lesson.click(CHK_TABLE);
    await lesson.waitFor(async () => near(await ratio(), GRAPH_W / TABLE_H), 3000,
                         'the canvas did not take the shape of 1031x682 after 表');
    // The whole lesson still fits the browser window.
    const { box } = await lesson.geometry();
    assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= 1280.5 && box.y + box.height <= 800.5,
              `canvas ${JSON.stringify(box)} leaves the browser window`);
    const s = await lesson.shot();
    assert.ok(lesson.is(s, GRAPH_X + 20, GRAPH_Y + 200, PANEL_CREAM), 'graph panel background');
    assert.ok(lesson.is(s, TABLE_X + 300, TABLE_Y + 60, PANEL_CREAM), 'table panel background');
    // That graph is drawn again at the new scale, not stretched: it equals
    // the one that 最初に and the same steps draw at it.
    const graph = [GRAPH_X, GRAPH_Y, GRAPH_W_PANEL, GRAPH_H_PANEL];
    await lesson.click(BTN_RESTART);
    await lesson.waitForX(' 0.0');
    await lesson.forward(3);
    assert.ok(lesson.areaPixels(s, graph).equals(lesson.areaPixels(await lesson.shot(), graph)),
              'the graph drawn before 表 is not the graph drawn after it');
    assert.deepEqual(lesson.errors, []);
});

// Where a cream panel (graph, table) meets the window's green, at a scale
// that puts the edge inside a device pixel: every device pixel there is the
// panel's cream, the window's green or a blend of the two, never what an
// earlier picture left in the canvas.
test('the edges of the graph and the table show only the panel and the window', async (t) => {
    const lesson = await openLesson(t);
    await lesson.click(CHK_GRAPH);
    await lesson.click(CHK_TABLE);
    await lesson.waitFor(async () => Math.abs((await lesson.geometry()).box.width / (await lesson.geometry()).box.height
                                              - GRAPH_W / TABLE_H) < 0.01, 3000, 'グラフ and 表 did not take effect');
    for (let i = 0; i < 3; i++)
        await lesson.click(BTN_FORWARD);
    await lesson.settle();
    const s = await lesson.shot();
    assert.ok(!Number.isInteger(s.scale), `the page's scale ${s.scale} is whole: no edge falls inside a pixel`);
    const creamOrGreen = ([r, g, b]) => g >= 250 && b >= 188 && b <= 196 && r >= 188;
    const bad = [];
    const look = (name, x0, y0, x1, y1) => {
        const [a, b] = lesson.devicePoint(s, x0, y0), [c, d] = lesson.devicePoint(s, x1, y1);
        for (let y = b; y <= d; y++)
            for (let x = a; x <= c; x++) {
                const i = (y * s.png.width + x) * 4;
                const p = [...s.png.data.subarray(i, i + 3)];
                if (!creamOrGreen(p) && bad.length < 10)
                    bad.push(`${name} at device ${x},${y}: ${p}`);
            }
    };
    // Client pixels: the table 8..616 x 560..672, the graph 632..1024 x
    // 16..528; two pixels either side of the right and the lower edge.
    look('table, right edge', 615, 565, 618.9, 668);
    look('table, lower edge', 12, 671, 612, 674.9);
    look('graph, right edge', 1023, 20, 1026.9, 470);
    look('graph, lower edge', 636, 527, 1020, 530.9);
    assert.deepEqual(bad, []);
    assert.deepEqual(lesson.errors, []);
});

// The first visit leaves the page in its service worker's cache: a reload
// with the network gone shows the lesson.
test('after one visit, a reload without the network shows the lesson', async (t) => {
    const lesson = await openLesson(t);
    await lesson.page.evaluate(() => navigator.serviceWorker.ready);
    await lesson.context.setOffline(true);
    await lesson.page.reload();
    await lesson.waitFor(async () => lesson.isBoard(await lesson.shot(), 100, 250, BOARD_GREEN), 30000,
                         'the lesson did not come back without the network');
    assert.equal(await lesson.x(), ' 0.0');
    assert.deepEqual(lesson.errors, []);
});

// The page's folder is what a server publishes: the files the service
// worker keeps (the build writes their list into sw.js), sw.js itself and
// the compressed copies beside them; nothing of the build (its cache,
// makefiles, objects, logs) and nothing of the toolkit's sample page.
test("the page's folder holds the page's files and nothing else", () => {
    const dir = process.env.KANSU_WEB_DIR;
    const worker = fs.readFileSync(path.join(dir, 'sw.js'), 'utf8');
    const files = JSON.parse(worker.match(/^const FILES = (\[.*\]);$/m)[1].replaceAll("'", '"'));
    const page = new Set(['sw.js', ...files, ...files.flatMap((file) => [`${file}.gz`, `${file}.br`])]);
    const present = fs.readdirSync(dir);
    assert.deepEqual(present.filter((file) => !page.has(file)), [], 'in the folder, but not the page\'s');
    assert.deepEqual(files.filter((file) => !present.includes(file)), [], 'the page\'s, but not in the folder');
});

// Servers that compress on their own: one that answers the plain name with
// the precompressed .br copy (Content-Encoding: br), and one that marks the
// .gz copies themselves as gzip-encoded, so that the browser unpacks them
// before the page sees them. Either way the lesson starts.
for (const mode of ['brotli for the plain name', 'gzip encoding on the .gz'])
    test(`a server that compresses on its own (${mode})`, async (t) => {
        const dir = process.env.KANSU_WEB_DIR;
        const sent = [];
        const server = http.createServer((request, response) => {
            let name = decodeURIComponent(new globalThis.URL(request.url, 'http://x').pathname).slice(1) || 'index.html';
            const headers = { 'Content-Type': name.endsWith('.wasm') ? 'application/wasm' : 'application/octet-stream' };
            if (mode.startsWith('brotli') && fs.existsSync(path.join(dir, name + '.br'))
                && /\bbr\b/.test(request.headers['accept-encoding'] || '')) {
                name += '.br';
                headers['Content-Encoding'] = 'br';
            } else if (mode.startsWith('gzip') && name.endsWith('.gz')) {
                headers['Content-Encoding'] = 'gzip';
            }
            const file = path.join(dir, name);
            if (!file.startsWith(dir) || !fs.existsSync(file)) {
                response.writeHead(404).end();
                return;
            }
            if (/\.(html|js|css)$/.test(name))
                headers['Content-Type'] = name.endsWith('.html') ? 'text/html' : name.endsWith('.css') ? 'text/css' : 'text/javascript';
            sent.push(`${request.method} ${name}`);
            response.writeHead(200, headers);
            response.end(request.method === 'HEAD' ? undefined : fs.readFileSync(file));
        });
        await new Promise((done) => server.listen(0, '127.0.0.1', done));
        t.after(() => server.close());
        const lesson = await openLesson(t, {}, null, `http://127.0.0.1:${server.address().port}/index.html`);
        assert.equal(await lesson.x(), ' 0.0');
        const program = mode.startsWith('brotli') ? 'GET kansu-envelope.wasm.br' : 'GET kansu-envelope.wasm.gz';
        assert.ok(sent.includes(program), `the program came as ${sent.filter((r) => r.includes('.wasm'))}`);
        assert.deepEqual(lesson.errors, []);
    });

test('a file missing on the server: the page says so, offers もう一度読み込む and throws nothing', async (t) => {
    const page = await (await browserInUse().newContext()).newPage();
    t.after(() => page.context().close());
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    await page.route(/kansu-envelope\.wasm/, (route) => route.fulfill({ status: 404 }));
    await page.goto(URL);
    await page.getByRole('button', { name: 'もう一度読み込む' }).waitFor({ timeout: 30000 });
    assert.match(await page.locator('#status-text').innerText(), /kansu-envelope\.wasm\S* がサーバーにありません（404）/);
    assert.deepEqual(errors, []);
});

// On a slow network the loading screen's bar shows the bytes coming in.
test('the progress bar moves while the program loads on a slow network', async (t) => {
    const context = await browserInUse().newContext({ viewport: { width: 1280, height: 800 } });
    t.after(() => context.close());
    const page = await context.newPage();
    const cdp = await context.newCDPSession(page);
    await cdp.send('Network.emulateNetworkConditions',
                   { offline: false, latency: 40, downloadThroughput: 1.5e6, uploadThroughput: 1e6 });
    await page.goto(URL, { waitUntil: 'commit' });
    const seen = new Set();
    for (let i = 0; i < 600 && seen.size < 3; i++) {
        const value = await page.evaluate(() => {
            const bar = document.getElementById('progress');
            return bar.hasAttribute('value') && bar.value > 0 && bar.value < bar.max ? bar.value : null;
        });
        if (value !== null)
            seen.add(value);
        await page.waitForTimeout(50);
    }
    assert.ok(seen.size >= 3, `the bar took only ${seen.size} values between empty and full`);
    await page.waitForFunction(() => document.getElementById('screen').dataset.x === ' 0.0', null, { timeout: 120000 });
});

// An address whose figure the drags cannot make opens the empty envelope,
// silently: no half figure, no notice, no error.
test('a fragment that is no figure opens the empty envelope', async (t) => {
    const board = [BOARD_X, BOARD_Y, BOARD_W, BOARD_H];
    const plain = await openLesson(t);
    const empty = plain.areaPixels(await plain.shot(), board);
    for (const fragment of ['#figure=05600', '#figure=104560', '#figure=%E3%81%82',
                            `#figure=${'4'.repeat(200000)}`, '#10456']) {
        const lesson = await openLesson(t, { fragment });
        const what = fragment.slice(0, 20);
        await lesson.settle();
        assert.equal(await lesson.page.locator('#screen').getAttribute('data-figure'), '00000', what);
        assert.ok(lesson.areaPixels(await lesson.shot(), board).equals(empty), `${what}: not the empty envelope`);
        assert.ok(await lesson.page.locator('#status').isHidden(), `${what}: a notice shows`);
        assert.deepEqual(lesson.errors, [], what);
        await lesson.context.close();
    }
});

test('終了 leaves the end page with a way to start again', async (t) => {
    const lesson = await openLesson(t);
    await lesson.click(BTN_END);
    const ended = lesson.page.locator('#ended');
    await ended.waitFor({ state: 'visible', timeout: 5000 });
    assert.match(await ended.innerText(), /終了/);
    assert.equal(await lesson.page.locator('#screen').count(), 0, 'the canvas is still there');
    const restart = lesson.page.getByRole('button', { name: 'もう一度始める' });
    await restart.click();
    await lesson.page.waitForFunction(() => {
        const c = document.getElementById('screen');
        return c && c.style.display === 'block';
    }, null, { timeout: 30000 });
    assert.ok(await ended.isHidden(), 'the end page stays after starting again');
});
