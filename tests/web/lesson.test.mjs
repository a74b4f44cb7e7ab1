// Drives the lesson's page in headless Chromium: the first screen, a drag
// and 出す, グラフ and 表, the automatic run's pace and 終了. All positions
// below are the window's client pixels, as in tests/window/lib.sh; the page
// shows the client area scaled to fit, so each is mapped through the scale
// read from the canvas (its CSS size over the client size).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { chromium } from 'playwright-core';
import { PNG } from 'pngjs';

const URL = process.env.KANSU_WEB_URL;
if (!URL)
    throw new Error('KANSU_WEB_URL is not set (run tests/web/run.sh BUILD_WEB_DIR)');

const CAPTION = '４.関数  (by Orvane)';
const BOARD_X = 16, BOARD_Y = 64;
const COMPACT = { w: 631, h: 549 }, GRAPH_W = 1031, TABLE_H = 682;

const BOARD_GREEN = [0, 128, 0], TRAY_GREEN = [0, 64, 0], YELLOW = [255, 255, 0];
const WHITE = [255, 255, 255], GREY = [192, 192, 192], RED = [255, 0, 0];

const BTN_END = [576, 32], BTN_AUTO = [72, 512], BTN_FORWARD = [336, 512];
const CHK_TABLE = [544, 493], CHK_GRAPH = [564, 525], COMBO_TEXT = [238, 522];
const AREA_READOUT = [280, 424, 65, 33];

let browser;

before(async () => {
    browser = await chromium.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        headless: true,
        // WebGL in software: the page refuses to start without it.
        args: ['--no-sandbox', '--use-gl=angle', '--use-angle=swiftshader',
               '--enable-unsafe-swiftshader', '--ignore-gpu-blocklist'],
    });
});

after(async () => {
    await browser?.close();
});

// A fresh page with the lesson's first screen drawn. `init` runs in the
// page before any of its own scripts.
async function openLesson(t, init) {
    const context = await browser.newContext({ viewport: { width: 1280, height: 800 }, deviceScaleFactor: 1 });
    t.after(() => context.close());
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    if (init)
        await page.addInitScript(init);
    await page.goto(URL);
    await page.waitForFunction(() => {
        const c = document.getElementById('screen');
        return c && c.style.display === 'block' && c.getBoundingClientRect().width > 0;
    }, null, { timeout: 30000 });
    const lesson = new Lesson(page, errors);
    // The canvas is shown before the first frame is painted in it.
    await lesson.waitFor(async () => lesson.isBoard(await lesson.shot(), 100, 250, BOARD_GREEN),
                         10000, 'the board never appeared');
    return lesson;
}

class Lesson {
    constructor(page, errors) {
        this.page = page;
        this.errors = errors;
    }

    // The canvas's box in page pixels and the scale of client to page pixels.
    async geometry() {
        const box = await this.page.locator('#screen').boundingBox();
        return { box, scale: box.width / this.clientWidth(box) };
    }

    // The client size the canvas shows, from its shape: one of the three
    // sizes the window takes.
    clientWidth(box) { return Math.abs(box.width / box.height - GRAPH_W / COMPACT.h) < 0.05
                           || Math.abs(box.width / box.height - GRAPH_W / TABLE_H) < 0.05 ? GRAPH_W : COMPACT.w; }

    async shot() {
        const { box, scale } = await this.geometry();
        const png = PNG.sync.read(await this.page.screenshot());
        return { png, box, scale };
    }

    // The colour at the middle of client pixel (x, y).
    pixel(s, x, y) {
        const px = Math.floor(s.box.x + (x + 0.5) * s.scale);
        const py = Math.floor(s.box.y + (y + 0.5) * s.scale);
        const i = (py * s.png.width + px) * 4;
        return [s.png.data[i], s.png.data[i + 1], s.png.data[i + 2]];
    }

    is(s, x, y, rgb) {
        const p = this.pixel(s, x, y);
        return p.every((v, k) => Math.abs(v - rgb[k]) <= 8);
    }

    isBoard(s, x, y, rgb) { return this.is(s, BOARD_X + x, BOARD_Y + y, rgb); }

    expectBoard(s, x, y, rgb, what) {
        const p = this.pixel(s, BOARD_X + x, BOARD_Y + y);
        assert.ok(this.isBoard(s, x, y, rgb), `${what} (board ${x},${y}): ${p} expected ${rgb}`);
    }

    // The page pixels of a client area, as one string, to see it change.
    area(s, [x, y, w, h]) {
        const parts = [];
        for (let j = 0; j < h; j += 2)
            for (let i = 0; i < w; i += 2)
                parts.push(this.pixel(s, x + i, y + j).join(','));
        return parts.join(';');
    }

    async toPage(x, y) {
        const { box, scale } = await this.geometry();
        return [box.x + (x + 0.5) * scale, box.y + (y + 0.5) * scale];
    }

    async click([x, y]) {
        const [px, py] = await this.toPage(x, y);
        await this.page.mouse.click(px, py);
    }

    async drag(x1, y1, x2, y2, steps) {
        const [a, b] = await this.toPage(x1, y1);
        const [c, d] = await this.toPage(x2, y2);
        await this.page.mouse.move(a, b);
        await this.page.mouse.down();
        for (let i = 1; i <= steps; i++) {
            await this.page.mouse.move(a + (c - a) * i / steps, b + (d - b) * i / steps);
            await this.page.waitForTimeout(30);
        }
        await this.page.mouse.up();
    }

    async waitFor(check, ms, message) {
        const deadline = Date.now() + ms;
        for (;;) {
            if (await check())
                return;
            assert.ok(Date.now() < deadline, message);
            await this.page.waitForTimeout(50);
        }
    }
}

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

    lesson.expectBoard(s, 300, 105, YELLOW, 'square template, left edge');
    lesson.expectBoard(s, 340, 105, YELLOW, 'square template, right edge');
    lesson.expectBoard(s, 320, 85, YELLOW, 'square template, top edge');
    lesson.expectBoard(s, 320, 95, TRAY_GREEN, 'square template, inside');
    lesson.expectBoard(s, 350, 60, YELLOW, '2x4 template, left edge');
    lesson.expectBoard(s, 370, 45, YELLOW, '2x4 template, top edge');
    lesson.expectBoard(s, 370, 35, TRAY_GREEN, 'above the 2x4 template');
    lesson.expectBoard(s, 400, 30, YELLOW, '2x6 template, left edge');
    lesson.expectBoard(s, 420, 5, YELLOW, '2x6 template, top edge');
    lesson.expectBoard(s, 440, 90, YELLOW, '2x6 template, right edge');
    lesson.expectBoard(s, 510, 125, YELLOW, 'triangle template, base');
    lesson.expectBoard(s, 570, 30, YELLOW, 'triangle template, tall side');
    lesson.expectBoard(s, 560, 100, TRAY_GREEN, 'inside the triangle template');

    lesson.expectBoard(s, 300, 240, WHITE, 'side AB');
    lesson.expectBoard(s, 400, 180, WHITE, 'side DA');
    lesson.expectBoard(s, 500, 240, WHITE, 'side CD');
    lesson.expectBoard(s, 400, 300, WHITE, 'side BC');
    lesson.expectBoard(s, 100, 300, WHITE, 'base line left of B');

    lesson.expectBoard(s, 300, 300, RED, "P's dot at B");
    lesson.expectBoard(s, 300, 297, RED, "P's dot, upper part");
    lesson.expectBoard(s, 290, 300, WHITE, 'base line left of P (no red bar at start)');
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
    await lesson.click(CHK_TABLE);
    await lesson.waitFor(async () => near(await ratio(), GRAPH_W / TABLE_H), 3000,
                         'the canvas did not take the shape of 1031x682 after 表');
    // The whole lesson still fits the browser window.
    const { box } = await lesson.geometry();
    assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= 1280.5 && box.y + box.height <= 800.5,
              `canvas ${JSON.stringify(box)} leaves the browser window`);
    const s = await lesson.shot();
    assert.ok(lesson.is(s, 632 + 20, 16 + 200, [255, 255, 192]), 'graph panel background');
    assert.ok(lesson.is(s, 8 + 300, 560 + 60, [255, 255, 192]), 'table panel background');
    assert.deepEqual(lesson.errors, []);
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
