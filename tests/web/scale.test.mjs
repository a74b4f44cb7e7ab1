// The shading at device scale factors 1.25, 1.5 and 2, both where the page
// shows the window at one CSS pixel per client pixel (the program then
// draws at exactly that factor) and in a 1280 x 800 window, where the
// page's own scale multiplies it. Each piece's inside must be white out
// of the envelope and grey in it, and no fill may leak through an outline.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import {
    useBrowser, openLesson, expectFigure, UNSCALED, TRAY, slot, BOARD_X, BOARD_Y, TRAY_GREEN, YELLOW,
    place, AREA_READOUT, CHK_GRAPH, CHK_TABLE, GRAPH_W, TABLE_H, COMPACT, WHITE, BLACK, CHECK_TEXT, WINDOW_GREEN,
} from './lesson.mjs';

useBrowser();

// A square, a 2 x 4 rectangle and the triangle over slots 2..4.
const DRAGS = [[TRAY.square, slot(0)], [TRAY.rect2x4, slot(1)], [TRAY.triangle, slot(3)]];
const SLOTS = [1, 2, 4, 5, 6];
// 出す from B and P's board x: all in, the square and then the triangle
// across AB, all out.
const OFFSETS = [[0, 300], [3, 270], [9, 210], [13, 170], [20, 100]];

for (const dpr of [1.25, 1.5, 2])
    for (const [where, viewport] of [['at the page scale 1', UNSCALED], ['in 1280x800', { width: 1280, height: 800 }]])
        test(`shading at device scale ${dpr}, ${where}`, async (t) => {
            const lesson = await openLesson(t, { viewport, deviceScaleFactor: dpr });
            // Crisp at a whole device pixel ratio: the program draws in
            // device pixels, and the canvas shows them one for one, also
            // where the page's scale is not whole. Across the square
            // template's left edge (board x 300, 2 px wide; row 90, above
            // its labels) every device pixel is the tray's green or the
            // outline's yellow, none a blend of the two. (At 1.25 and 1.5
            // the toolkit's compositor places the window at whole CSS pixels
            // and so stretches it by a fraction of a pixel: edges blend there.)
            const first = await lesson.shot();
            const [left, row] = lesson.devicePoint(first, BOARD_X + 294, BOARD_Y + 90);
            const [right] = lesson.devicePoint(first, BOARD_X + 306, BOARD_Y + 90);
            let yellow = 0;
            for (let x = left; x <= right && Number.isInteger(dpr); x++) {
                const i = (row * first.png.width + x) * 4;
                const p = [...first.png.data.subarray(i, i + 3)];
                assert.ok([TRAY_GREEN, YELLOW].some((c) => c.every((v, k) => v === p[k])),
                          `device pixel ${x},${row} across the template's edge is ${p}`);
                yellow += p[0] === 255 ? 1 : 0;
            }
            if (Number.isInteger(dpr))
                assert.ok(yellow >= Math.floor(2 * first.scale * dpr), `the edge is ${yellow} device pixels wide`);
            for (const [from, to] of DRAGS)
                await lesson.dragOnBoard(from, to);
            let taken = 0;
            for (const [steps, px] of OFFSETS) {
                await lesson.forward(steps - taken);
                taken = steps;
                const s = await lesson.shot();
                assert.equal(s.png.width, Math.round(lesson.page.viewportSize().width * dpr), 'the screenshot is not in device pixels');
                expectFigure(lesson, s, SLOTS, px, `device scale ${dpr}, ${steps} 出す`);
            }
            assert.deepEqual(lesson.errors, []);
        });

// The window moved to a screen of another scaling: the device pixel ratio
// changes without a resize, and the page refits at once, its backing store
// in the new ratio's device pixels.
test('a change of the device pixel ratio alone refits the page sharp', async (t) => {
    const lesson = await openLesson(t);
    const cdp = await lesson.context.newCDPSession(lesson.page);
    await cdp.send('Emulation.setDeviceMetricsOverride', { width: 1280, height: 800, deviceScaleFactor: 2, mobile: false });
    const sharp = () => lesson.page.evaluate(() => {
        const canvas = document.getElementById('screen');
        const box = canvas.getBoundingClientRect();
        return window.devicePixelRatio === 2 && Math.abs(canvas.width - box.width * 2) <= 2;
    });
    await lesson.waitFor(sharp, 10000, 'the backing store kept the old ratio');
    assert.deepEqual(lesson.errors, []);
});

// At ratio 1 below the lesson's size (1358 x 629, 1024 x 680) and above it: each control in its colours
// at its place (a share of its inside, 3 px in; a check box by its green and its caption, its tick box
// being the browser's own), in the window, clear of the share button, which grows.
const WHOLE = [ // control, place, [colour, least share, tolerance per channel]...
    ['出す', place('susumu'), [YELLOW, 0.6, 8], [BLACK, 0.02, 96]],
    ['表', place('Check3'), [WINDOW_GREEN, 0.3, 8], [CHECK_TEXT, 0.04, 48]],
    ['グラフ', place('Check2'), [WINDOW_GREEN, 0.3, 8], [CHECK_TEXT, 0.04, 48]],
    ['the read-out', AREA_READOUT, [WHITE, 0.5, 8], [BLACK, 0.03, 96]],
];
for (const [width, height, panels] of [[1358, 629, true], [1024, 680, true], [1920, 1080, false]])
    test(`the whole lesson at ratio 1 in ${width}x${height}${panels ? ' with グラフ and 表' : ''}`, async (t) => {
        const lesson = await openLesson(t, { viewport: { width, height } });
        for (const [box, w, h] of panels ? [[CHK_GRAPH, GRAPH_W, COMPACT.h], [CHK_TABLE, GRAPH_W, TABLE_H]] : []) {
            await lesson.click(box);
            await lesson.waitFor(async () => Math.abs((await lesson.geometry()).box.width / (await lesson.geometry()).box.height - w / h) < 0.01,
                                 3000, `the lesson did not take the shape of ${w}x${h}`);
        }
        await lesson.settle();
        const s = await lesson.shot(), { box } = s;
        assert.equal(s.scale < 1, panels, `the lesson is shown at ${s.scale} of its size`);
        for (const [name, [x, y, w, h], ...colours] of WHOLE)
            for (const [rgb, least, tolerance] of colours) {
                let hits = 0;
                for (let j = y + 3; j < y + h - 3; j++)
                    for (let i = x + 3; i < x + w - 3; i++)
                        hits += lesson.pixel(s, i, j).every((v, k) => Math.abs(v - rgb[k]) <= tolerance);
                assert.ok(hits >= least * (w - 6) * (h - 6), `${name}: ${hits} px in ${rgb}`);
            }
        const button = await lesson.page.locator('#share').boundingBox();
        assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= width && box.y + box.height <= height, 'the lesson leaves the window');
        assert.ok(button.x >= box.x + box.width || button.y >= box.y + box.height, 'the share button covers the lesson');
        const [text, root] = await lesson.page.evaluate(() => ['#share', 'html'].map((css) => parseFloat(getComputedStyle(document.querySelector(css)).fontSize)));
        assert.ok(Math.abs(text / root - Math.max(1, s.scale)) < 0.1, `the share button's text is ${text} px at the scale ${s.scale}`);
        assert.deepEqual(lesson.errors, []);
    });
