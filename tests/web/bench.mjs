// The page's figures (a benchmark: it prints, it never fails the build):
//
//   1. transfer size: every file the page asks for while it starts, as the
//      server sends it (raw) and compressed with gzip (level 6, the usual
//      setting of web servers, and 9), summed;
//   2. navigation to the first painted frame: from the start of the
//      navigation (performance.timeOrigin) to the performance mark
//      "lesson-first-frame", which the page sets at the end of the
//      animation frame in which the program's window, painted at the page's
//      fitted scale, first reached the canvas; a fresh browser context each
//      time (no cache), from the local server;
//   3. one 出す: the program's own time of the click's handlers, from the
//      button's release to the end of the forward step with its painting
//      into the canvases (board, graph, table), read from the page's
//      data-step-ms after each click; the frame that later shows it is not
//      in it. Graph and table shown, a five-slot figure, every offset;
//   4. the automatic run's pace at speed "10": the mean interval between
//      the read-out's changes from the first step to the last, as the page
//      sees them, over a few runs.
//
// Run by tests/web/bench.sh (make bench-web), which serves the build.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import {
    launchBrowser, openLesson, TRAY, slot, BTN_AUTO, BTN_FORWARD, BTN_RESTART, CHK_GRAPH, CHK_TABLE,
    AREA_STOP, waitForRunEnd,
    recordDistances, distances, typeSpeed, meanStepInterval,
} from './lesson.mjs';

const URL = process.env.KANSU_WEB_URL;
const DIR = process.env.KANSU_WEB_DIR;
const FRAME_MS = 1000 / 60;
const LOADS = 7;   // fresh loads for the first frame
const RUNS = 3;    // automatic runs for the pace
const WAIT_MS = 50; // the wait at speed "10"
const PASSES = 5;  // passes of 20 出す each

const cpu = (os.cpus()[0]?.model || 'unknown').trim();
const median = (v) => { const s = [...v].sort((a, b) => a - b); const m = s.length >> 1; return s.length % 2 ? s[m] : (s[m - 1] + s[m]) / 2; };
const mean = (v) => v.reduce((a, b) => a + b, 0) / v.length;
const quantile = (v, q) => [...v].sort((a, b) => a - b)[Math.min(v.length - 1, Math.floor(q * v.length))];
const mb = (bytes) => (bytes / 1e6).toFixed(2) + ' MB';

const browser = await launchBrowser();
const cleanups = [];
const session = { after: (fn) => cleanups.push(fn) };
const viewport = { width: 1280, height: 800 };

// 1. What the page asks for, and from where.
const requested = [];
{
    const context = await browser.newContext({ viewport });
    const page = await context.newPage();
    page.on('request', (r) => requested.push(r.url()));
    await page.goto(URL);
    await page.waitForFunction(() => performance.getEntriesByName('lesson-first-frame').length > 0,
                               null, { timeout: 60000 });
    await page.waitForTimeout(500);
    await context.close();
}
const origin = new globalThis.URL(URL).origin;
const foreign = requested.filter((u) => !u.startsWith(origin + '/') && !u.startsWith('data:'));
const files = [...new Set(requested.filter((u) => u.startsWith(origin + '/')).map((u) => new globalThis.URL(u).pathname))];
const sizes = files.map((name) => {
    const body = fs.readFileSync(path.join(DIR, decodeURIComponent(name)));
    return { name: name.slice(1), raw: body.length,
             gz6: zlib.gzipSync(body, { level: 6 }).length, gz9: zlib.gzipSync(body, { level: 9 }).length };
});
const total = (key) => sizes.reduce((sum, f) => sum + f[key], 0);

// 2. Navigation to the first frame, each load in a fresh context.
const firstFrames = [];
for (let i = 0; i < LOADS; i++) {
    const context = await browser.newContext({ viewport });
    const page = await context.newPage();
    await page.goto(URL);
    await page.waitForFunction(() => performance.getEntriesByName('lesson-first-frame').length > 0,
                               null, { timeout: 60000 });
    firstFrames.push(await page.evaluate(() => performance.getEntriesByName('lesson-first-frame')[0].startTime));
    await context.close();
}

// 3. One 出す, timed in the program.
const steps = [];
let timerStep = 0;
const paces = []; // mean step interval of each automatic run, ms
{
    const lesson = await openLesson(session, { viewport });
    await lesson.click(CHK_GRAPH);
    await lesson.click(CHK_TABLE);
    for (const [from, to] of [[TRAY.square, slot(0)], [TRAY.triangle, slot(2)], [TRAY.rect2x6, slot(4)]])
        await lesson.dragOnBoard(from, to);
    // The finest step of the page's clock (browsers coarsen it).
    timerStep = await lesson.page.evaluate(() => {
        let finest = Infinity, last = performance.now();
        for (let i = 0; i < 200000; i++) {
            const now = performance.now();
            if (now > last) { finest = Math.min(finest, now - last); last = now; }
        }
        return finest;
    });
    const screen = lesson.page.locator('#screen');
    for (let pass = 0; pass < PASSES; pass++) {
        for (let i = 0; i < 20; i++) {
            await screen.evaluate((c) => { delete c.dataset.stepMs; });
            await lesson.click(BTN_FORWARD);
            await lesson.waitFor(async () => (await screen.getAttribute('data-step-ms')) !== null, 3000,
                                 '出す told no time');
            steps.push(Number(await screen.getAttribute('data-step-ms')));
            await lesson.page.waitForTimeout(20);
        }
        await lesson.click(BTN_RESTART);
        await lesson.waitForX(' 0.0');
    }
    await typeSpeed(lesson, '10');
    await lesson.settle();
    const idleStop = lesson.areaPixels(await lesson.shot(), AREA_STOP);
    for (let run = 0; run < RUNS; run++) {
        await recordDistances(lesson);
        await lesson.click(BTN_AUTO);
        await lesson.waitForX(' 10.0', 10000);
        await waitForRunEnd(lesson, idleStop); // 最初に during its last wait would run it again
        paces.push(meanStepInterval(await distances(lesson)).mean);
        await lesson.click(BTN_RESTART);
        await lesson.waitForX(' 0.0');
    }
}
for (const fn of cleanups)
    await fn();
const chromium = browser.version();
await browser.close();

const row = (cells) => '| ' + cells.join(' | ') + ' |';
const stepMedian = median(steps), stepMean = mean(steps);
console.log(`Browser figures, ${new Date().toISOString().slice(0, 10)}: ${os.cpus().length} × ${cpu}, `
            + `${(os.totalmem() / 2 ** 30).toFixed(0)} GiB, headless Chromium ${chromium} (software WebGL), `
            + `page from ${origin}`);
console.log('');
console.log('Files the page asked for (raw, gzip -6, gzip -9; MB = 10^6 bytes):');
for (const f of sizes)
    console.log(`  ${f.name.padEnd(24)} ${mb(f.raw).padStart(10)} ${mb(f.gz6).padStart(10)} ${mb(f.gz9).padStart(10)}`);
console.log(`  requests to other places: ${foreign.length ? foreign.join(', ') : 'none'}`);
console.log(`First frame over ${LOADS} loads: ${firstFrames.map((v) => v.toFixed(0)).join(', ')} ms`);
console.log(`出す over ${steps.length} clicks: mean ${stepMean.toFixed(3)} ms, median ${stepMedian.toFixed(3)}, `
            + `95th percentile ${quantile(steps, 0.95).toFixed(3)}, largest ${Math.max(...steps).toFixed(3)} `
            + `(the page's clock moves in steps of ${timerStep.toFixed(3)} ms); `
            + `first pass mean ${mean(steps.slice(0, 20)).toFixed(3)}, later passes ${mean(steps.slice(20)).toFixed(3)}`);
console.log('');
console.log(row(['#', 'Benchmark', 'Measured', 'Reference / ratio', 'Target', 'Met']));
console.log(row(['---', '---', '---', '---', '---', '---']));
console.log(row(['5a', 'Browser: transfer size, the page\'s files gzip-compressed (level 6)',
                 `${mb(total('gz6'))} (${mb(total('raw'))} raw, ${sizes.length} files)`,
                 `gzip -9 ${mb(total('gz9'))}`, '≤ 8 MB', total('gz6') <= 8e6 ? 'yes' : 'no']));
console.log(row(['5b', `Browser: navigation to the first painted frame, local server (median of ${LOADS})`,
                 `${median(firstFrames).toFixed(0)} ms`,
                 `${Math.min(...firstFrames).toFixed(0)}–${Math.max(...firstFrames).toFixed(0)} ms`, '≤ 3 s',
                 median(firstFrames) <= 3000 ? 'yes' : 'no']));
console.log(row(['5c', `Browser: one 出す, the program's handler time, graph and table shown (median of ${steps.length})`,
                 `${stepMedian.toFixed(2)} ms (mean ${stepMean.toFixed(2)})`,
                 `${(stepMedian / FRAME_MS).toFixed(3)} of a 16.7-ms frame`, '≤ 0.1 frame',
                 stepMedian <= 0.1 * FRAME_MS ? 'yes' : 'no']));
const pace = median(paces), paceOff = 100 * (pace - WAIT_MS) / WAIT_MS;
console.log(row(['5d', `Browser: automatic run at speed "10", mean step interval (median of ${RUNS} runs)`,
                 `${pace.toFixed(2)} ms`, `wait ${WAIT_MS} ms; ${paceOff >= 0 ? '+' : ''}${paceOff.toFixed(2)} %`,
                 'within ±2 %', Math.abs(paceOff) <= 2 ? 'yes' : 'no']));
