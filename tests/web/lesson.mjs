// What the page tests share: the browser, a fresh page with the lesson's
// first screen, and a Lesson that clicks, drags and reads pixels in the
// window's client pixels. All positions are client pixels as in
// tests/window/lib.sh (board pixels where a name says so); the page shows
// the client area scaled to fit, so each is mapped through the scale read
// from the canvas (its CSS size over the client size), and through the
// device scale factor into the screenshot's pixels.
import { before, after } from 'node:test';
import assert from 'node:assert/strict';
import { chromium } from 'playwright-core';
import { PNG } from 'pngjs';
import { readFileSync } from 'node:fs';

export const URL = process.env.KANSU_WEB_URL;
if (!URL)
    throw new Error('KANSU_WEB_URL is not set (run tests/web/run.sh BUILD_WEB_DIR)');

// The design's facts, as the desktop build's design_facts writes them from
// the program's own table (tests/web/run.sh names the file).
const FACTS = JSON.parse(readFileSync(process.env.KANSU_DESIGN_FACTS, 'utf8'));
export const place = (name) => FACTS.window[name]; // a control's place in the window, client pixels
const centre = (name, left) => {
    const [x, y, w, h] = place(name);
    return [x + (left ?? Math.floor(w / 2)), y + Math.floor(h / 2)];
};
const colour = (name) => FACTS.colours[name];

export const CAPTION = FACTS.caption;
export const [BOARD_X, BOARD_Y, BOARD_W, BOARD_H] = place('kokuban');
export const [GRAPH_X, GRAPH_Y, GRAPH_W_PANEL, GRAPH_H_PANEL] = place('gamen');
export const [TABLE_X, TABLE_Y, TABLE_W_PANEL, TABLE_H_PANEL] = place('hyo');
// The client x of x (cm) on the graph's axis.
export const graphXAt = (x) => GRAPH_X + FACTS.graphAxis.originX + FACTS.graphAxis.pixelsPerCm * x;
export const COMPACT = { w: FACTS.client.compact[0], h: FACTS.client.compact[1] };
export const [GRAPH_W, TABLE_H] = FACTS.client.full;

export const BOARD_GREEN = colour('boardGreen'), TRAY_GREEN = colour('trayGreen');
export const YELLOW = colour('yellow'), WHITE = colour('white'), RED = colour('red');
export const GREY = FACTS.palette[7], BLACK = FACTS.palette[0], BLUE = FACTS.palette[9];
export const PANEL_CREAM = colour('panelCream'), CHECK_TEXT = colour('checkText');
export const WINDOW_GREEN = colour('windowGreen');
export const CONTRAST = { board: colour('contrastBoard'), tray: colour('contrastTray'), marker: colour('contrastMagenta') };

// Centres of the controls (client pixels).
export const BTN_INITIAL = centre('Command1'), BTN_END = centre('end'), BTN_AUTO = centre('jidou');
export const BTN_STOP = centre('tomeru'), BTN_FORWARD = centre('susumu'), BTN_BACK = centre('modoru');
export const BTN_RESTART = centre('Command2');
export const CHK_GRID = centre('Check1'), CHK_TABLE = centre('Check3'), CHK_GRAPH = centre('Check2');
export const COMBO_TEXT = centre('Combo1', 14); // the text field, clear of the arrow at its right
export const AREA_READOUT = [BOARD_X + FACTS.board.Text1[0], BOARD_Y + FACTS.board.Text1[1],
                             ...FACTS.board.Text1.slice(2)];
// The controls on the board (board pixels): in the page they are HTML
// elements over the program's pixels, not the program's own drawing.
export const BOARD_CONTROLS = [FACTS.board.Text1, FACTS.board.Check4];

// Board pixels: where the pointer takes each template in the tray, and the
// middle of slot k (0..4) of the envelope (the points the keys click); the
// templates' frames [left, top, width, height] in tray order, and the
// envelope ABCD, A at its left and top.
const [square, rect2x4, rect2x6, triangle] = FACTS.trayPoints;
export const TRAY = { square, rect2x4, rect2x6, triangle };
export const slot = (k) => FACTS.slotPoints[k];
export const FRAMES = FACTS.frames, ENVELOPE = FACTS.envelope;

let browser;

// Headless Chromium, Debian's unless CHROMIUM names another.
export async function launchBrowser() {
    browser = await chromium.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        headless: true,
        // WebGL in software: the page refuses to start without it.
        args: ['--no-sandbox', '--use-gl=angle', '--use-angle=swiftshader',
               '--enable-unsafe-swiftshader', '--ignore-gpu-blocklist'],
    });
    return browser;
}

// The browser of this test file.
export const browserInUse = () => browser;

// One browser per test file.
export function useBrowser() {
    before(launchBrowser);
    after(async () => {
        await browser?.close();
    });
}


// A fresh page with the lesson's first screen drawn. `options`: viewport,
// deviceScaleFactor, hasTouch, fragment (the address's, "#..."); `init`
// runs in the page before any of its own scripts; `url` is the page's
// address without the fragment.
export async function openLesson(t, options = {}, init, url = URL) {
    const viewport = options.viewport === UNSCALED ? await unscaledViewport()
                   : options.viewport || { width: 1280, height: 800 };
    const dpr = options.deviceScaleFactor || 1;
    const context = await browser.newContext({ viewport, deviceScaleFactor: dpr,
                                               hasTouch: !!options.hasTouch });
    t.after(() => context.close());
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    if (init)
        await page.addInitScript(init);
    await page.goto(url + (options.fragment || ''));
    await page.waitForFunction(() => {
        const c = document.getElementById('screen');
        return c && c.style.display === 'block' && c.getBoundingClientRect().width > 0;
    }, null, { timeout: 30000 });
    const lesson = new Lesson(page, errors, dpr, context);
    // The canvas is shown before the first frame is painted in it.
    await lesson.waitFor(async () => lesson.isBoard(await lesson.shot(), 100, 250, BOARD_GREEN),
                         10000, 'the board never appeared');
    return lesson;
}

// The viewport in which the page shows the compact window at exactly one
// CSS pixel per client pixel, at the canvas's top left corner: in openLesson,
// the compact window and beside it the strip the page keeps for its footer.
export const UNSCALED = { width: COMPACT.w, height: COMPACT.h };
let unscaled;
async function unscaledViewport() {
    const wide = { width: 2 * COMPACT.w, height: COMPACT.h };
    if (!unscaled) {
        const context = await browser.newContext({ viewport: wide });
        const page = await context.newPage();
        await page.goto(URL);
        await page.locator('#share').waitFor({ timeout: 30000 }); // shown with the lesson
        const { x } = await page.locator('#credits').boundingBox();
        await context.close();
        unscaled = { width: COMPACT.w + Math.ceil(wide.width - x), height: COMPACT.h };
    }
    return unscaled;
}

export class Lesson {
    constructor(page, errors, dpr, context) {
        this.page = page;
        this.errors = errors;
        this.dpr = dpr;
        this.context = context;
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
        return { png, box, scale, dpr: this.dpr };
    }

    // The screenshot pixel at the middle of client point (x, y) (fractions
    // allowed: x = 10.5 is the middle between client pixels 10 and 11).
    devicePoint(s, x, y) {
        return [Math.floor((s.box.x + (x + 0.5) * s.scale) * s.dpr),
                Math.floor((s.box.y + (y + 0.5) * s.scale) * s.dpr)];
    }

    // The colour at the middle of client pixel (x, y).
    pixel(s, x, y) {
        const [px, py] = this.devicePoint(s, x, y);
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

    // The screenshot's pixels of a client area, exactly, as one buffer.
    areaPixels(s, [x, y, w, h]) {
        const [x0, y0] = this.devicePoint(s, x - 0.5, y - 0.5);
        const [x1, y1] = this.devicePoint(s, x + w - 0.5, y + h - 0.5);
        const rows = [];
        for (let py = y0; py < y1; py++)
            rows.push(s.png.data.subarray((py * s.png.width + x0) * 4, (py * s.png.width + x1) * 4));
        return Buffer.concat(rows);
    }

    async toPage(x, y) {
        const { box, scale } = await this.geometry();
        return [box.x + (x + 0.5) * scale, box.y + (y + 0.5) * scale];
    }

    async click([x, y]) {
        const [px, py] = await this.toPage(x, y);
        await this.page.mouse.click(px, py);
    }

    async drag(x1, y1, x2, y2, steps = 10) {
        const [a, b] = await this.toPage(x1, y1);
        const [c, d] = await this.toPage(x2, y2);
        await this.page.mouse.move(a, b);
        await this.page.mouse.down();
        for (let i = 1; i <= steps; i++) {
            await this.page.mouse.move(a + (c - a) * i / steps, b + (d - b) * i / steps);
            await this.page.waitForTimeout(20);
        }
        await this.page.mouse.up();
    }

    // A finger on the screen through the DevTools protocol's touch input (the
    // page needs a context with hasTouch). `points` are page pixels per
    // finger id; an empty list lifts every finger.
    async touch(type, points) {
        this.cdp ??= await this.context.newCDPSession(this.page);
        await this.cdp.send('Input.dispatchTouchEvent', {
            type, touchPoints: points.map(([x, y, id]) => ({ x, y, id, radiusX: 1, radiusY: 1, force: 1 })) });
    }

    // A pen through the DevTools protocol's mouse input with the pen's
    // pointer type: its tip pressed at the first client point, moved along
    // the others and lifted at the last one.
    async penStroke(points) {
        this.cdp ??= await this.context.newCDPSession(this.page);
        const send = async (type, [x, y], buttons) => {
            const [px, py] = await this.toPage(x, y);
            await this.cdp.send('Input.dispatchMouseEvent', {
                type, x: px, y: py, button: type === 'mouseMoved' ? 'none' : 'left', buttons,
                clickCount: type === 'mouseMoved' ? 0 : 1, pointerType: 'pen', force: 0.5 });
        };
        await send('mousePressed', points[0], 1);
        for (const point of points.slice(1)) {
            await send('mouseMoved', point, 1);
            await this.page.waitForTimeout(20);
        }
        await send('mouseReleased', points[points.length - 1], 0);
        await this.settle();
    }

    async tap([x, y]) {
        const [px, py] = await this.toPage(x, y);
        await this.touch('touchStart', [[px, py, 1]]);
        await this.touch('touchEnd', []);
    }

    // A one-finger drag between two board points. With `second` (two board
    // points), a second finger goes down half way at the first, moves to
    // the other while the first goes on, and lifts as the first arrives.
    // (A touch event lists the fingers down; one left out has lifted.)
    async touchDragOnBoard([x1, y1], [x2, y2], second) {
        const steps = 10, half = steps / 2;
        const [a, b] = await this.toPage(BOARD_X + x1, BOARD_Y + y1);
        const [c, d] = await this.toPage(BOARD_X + x2, BOARD_Y + y2);
        const other = second && await Promise.all(second.map(([x, y]) => this.toPage(BOARD_X + x, BOARD_Y + y)));
        await this.touch('touchStart', [[a, b, 1]]);
        for (let i = 1; i <= steps; i++) {
            const first = [a + (c - a) * i / steps, b + (d - b) * i / steps, 1];
            const j = i - half; // the second finger's own steps
            if (other && j === 0) {
                await this.touch('touchStart', [first, [...other[0], 2]]);
            } else if (other && j > 0 && j < half) {
                const [[e, f], [g, h]] = other;
                await this.touch('touchMove', [first, [e + (g - e) * j / half, f + (h - f) * j / half, 2]]);
            } else {
                await this.touch('touchMove', [first]); // a second finger left out has lifted
            }
            await this.page.waitForTimeout(20);
        }
        await this.touch('touchEnd', []);
        await this.settle();
    }

    // A drag between two board points; resolves once the drop has redrawn
    // the board (the drop puts P back at B).
    async dragOnBoard([x1, y1], [x2, y2]) {
        await this.drag(BOARD_X + x1, BOARD_Y + y1, BOARD_X + x2, BOARD_Y + y2);
        await this.settle();
    }

    // The x the read-out shows, as the page tells it (" 0.0" ... " 10.0").
    async x() { return this.page.locator('#screen').getAttribute('data-x'); }

    async waitForX(text, ms = 5000) {
        await this.waitFor(async () => (await this.x()) === text, ms,
                           `the read-out never showed '${text}' (it shows '${await this.x()}')`);
    }

    // Presses 出す `count` times, each once the one before has shown.
    async forward(count) {
        for (let i = 0; i < count; i++) {
            const before = await this.x();
            await this.click(BTN_FORWARD);
            await this.waitFor(async () => (await this.x()) !== before || before === ' 10.0', 3000,
                               `出す did not move P from '${before}'`);
        }
        await this.settle();
    }

    async settle() {
        await this.page.evaluate(afterTwoFrames);
    }

    async waitFor(check, ms, message) {
        const deadline = Date.now() + ms;
        for (;;) {
            if (await check())
                return;
            assert.ok(Date.now() < deadline, message);
            await new Promise((done) => setTimeout(done, 50));
        }
    }
}

// Run in the page, resolves once two animation frames have gone by, so what
// the program painted last is on the canvas.
export const afterTwoFrames = () => new Promise((done) =>
    requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(done, 30))));

// The read-out at each step of P from B to the end, in the page's text.
export const READOUTS = Array.from({ length: 20 }, (_, k) => ` ${((k + 1) / 2).toFixed(1)}`);

// Records every change of x with its time in the page, and with `turns`
// the times at which the page's own tasks get a turn (a timer chain, every
// few ms whenever the program lets the browser run).
// Called again, it starts the records afresh.
export async function recordDistances(lesson, turns = false) {
    await lesson.page.evaluate((turns) => {
        window.distances = [];
        window.turns = [];
        if (!window.recordingDistances)
            document.getElementById('screen').addEventListener('lessondistance',
                (event) => window.distances.push([performance.now(), event.detail]));
        window.recordingDistances = true;
        const turn = () => { window.turns.push(performance.now()); setTimeout(turn, 0); };
        if (turns)
            turn();
    }, turns);
}

// ストップ's client area: it looks disabled whenever no automatic run goes on.
export const AREA_STOP = place('tomeru');

// Resolves once ストップ looks as `idleStop` (its pixels taken while no run
// went on) again: the run has ended, its last wait included. Until then
// the run may still step, and a click on 最初に would send P back to B with
// the run going on from there.
export async function waitForRunEnd(lesson, idleStop, ms = 3000) {
    await lesson.waitFor(async () => {
        await lesson.settle();
        return lesson.areaPixels(await lesson.shot(), AREA_STOP).equals(idleStop);
    }, ms, 'ストップ does not look disabled again after the run');
}

export async function distances(lesson) { return lesson.page.evaluate(() => window.distances); }

// Types `text` into the speed box in place of what it holds.
export async function typeSpeed(lesson, text) {
    await lesson.click(COMBO_TEXT);
    await lesson.page.keyboard.press('Control+A');
    await lesson.page.keyboard.press('Delete');
    await lesson.page.keyboard.type(text, { delay: 20 });
}

// The steps' pace from recorded distances: the mean interval from the
// first step to the last (19 of them), and the shortest and longest one.
export function meanStepInterval(seen) {
    const gaps = seen.slice(1).map(([time], k) => time - seen[k][0]);
    return { mean: (seen[seen.length - 1][0] - seen[0][0]) / gaps.length,
             shortest: Math.min(...gaps), longest: Math.max(...gaps) };
}

// Area (cm²) of the part of the figure out of the envelope after P has
// moved x cm, from the pieces' shapes: slot s spans [2s, 2s + 2] cm; codes
// 1..3 are 2, 4 and 6 cm high; a 4 starts a triangle over [2s, 2s + 6]
// whose height rises 1 cm per cm; 5 and 6 add nothing by themselves.
export function areaOut(slots, x) {
    let area = 0;
    slots.forEach((code, s) => {
        const left = 2 * s;
        if (code >= 1 && code <= 3)
            area += Math.min(Math.max(x - left, 0), 2) * 2 * code;
        else if (code === 4) {
            const u = Math.min(Math.max(x - left, 0), 6);
            area += u * u / 2;
        }
    });
    return area;
}

// The pieces of a figure as the board shows them with P at board x `px`:
// per piece its left edge, right edge and the height of its top over the
// base line (board px) at a board x.
export function piecesOf(slots, px) {
    const pieces = [];
    slots.forEach((code, s) => {
        const left = px + 40 * s;
        if (code >= 1 && code <= 3)
            pieces.push({ left, right: left + 40, top: () => 300 - 40 * code });
        else if (code === 4)
            pieces.push({ left, right: left + 120, top: (x) => 300 - (x - left) });
    });
    return pieces;
}

// Checks the figure `slots` with P at board x `px` on a screenshot: points
// well inside each piece (4 px from its outline and from AB) are white out
// of the envelope and grey inside it; points of the envelope's band 4 px
// or more away from every piece, from AB and from the flap keep the
// board's green, so no fill has leaked out of an outline.
export function expectFigure(lesson, s, slots, px, what) {
    const pieces = piecesOf(slots, px);
    for (const piece of pieces)
        for (let x = piece.left + 4; x <= piece.right - 4; x += 6) {
            if (Math.abs(x - 300) < 4)
                continue;
            for (let y = piece.top(x) + 5; y <= 294; y += 6)
                lesson.expectBoard(s, x, y, x < 300 ? WHITE : GREY, `${what}: inside the piece at ${piece.left}`);
        }
    const nearPiece = (x, y) => pieces.some((p) =>
        x >= p.left - 4 && x <= p.right + 4 && y >= p.top(Math.min(Math.max(x, p.left), p.right)) - 4);
    for (let x = 24; x <= 494; x += 8)
        for (let y = 186; y <= 294; y += 8)
            if ((x < 276 || x > 304) && !nearPiece(x, y))
                lesson.expectBoard(s, x, y, BOARD_GREEN, `${what}: the board outside the pieces`);
}
