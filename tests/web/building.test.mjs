// Building a figure in the page with the mouse and with a finger, stepping
// it out, and what the graph and the table show for it. Positions are
// client pixels, board pixels where the name says so (see lesson.mjs).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import {
    URL, UNSCALED, useBrowser, openLesson, areaOut, expectFigure, TRAY, slot,
    BOARD_X, BOARD_Y, BOARD_W, BOARD_H, GRAPH_X, GRAPH_Y, TABLE_X, TABLE_Y,
    BLUE, BTN_FORWARD, BTN_BACK, CHK_GRAPH, CHK_GRID, CHK_TABLE, ENVELOPE, graphXAt,
} from './lesson.mjs';

useBrowser();

const BOARD = [BOARD_X, BOARD_Y, BOARD_W, BOARD_H];

// A triangle over slots 1..3 between a square and a 2 x 6 rectangle: slot
// codes 1, 4, 5, 6, 3.
const FIGURE = {
    drags: [[TRAY.triangle, slot(2)], [TRAY.square, slot(0)], [TRAY.rect2x6, slot(4)]],
    slots: [1, 4, 5, 6, 3],
};

test('a figure built by finger is the figure built by mouse, and a second finger changes nothing', async (t) => {
    const byMouse = await openLesson(t);
    for (const [from, to] of FIGURE.drags)
        await byMouse.dragOnBoard(from, to);
    let s = await byMouse.shot();
    expectFigure(byMouse, s, FIGURE.slots, 300, 'by mouse, P at B');
    await byMouse.forward(9);
    assert.equal(await byMouse.x(), ' 4.5');
    s = await byMouse.shot();
    expectFigure(byMouse, s, FIGURE.slots, 210, 'by mouse, x = 4.5');
    const mouseBoard = byMouse.areaPixels(s, BOARD);

    // The same drags by one finger, one of them with a second finger down
    // on the board part of the way; 出す pressed by taps.
    const byFinger = await openLesson(t, { hasTouch: true });
    const [[from0, to0], ...rest] = FIGURE.drags;
    await byFinger.touchDragOnBoard(from0, to0, [[100, 250], [560, 100]]);
    for (const [from, to] of rest)
        await byFinger.touchDragOnBoard(from, to);
    s = await byFinger.shot();
    expectFigure(byFinger, s, FIGURE.slots, 300, 'by finger, P at B');
    for (let i = 0; i < 9; i++) {
        const before = await byFinger.x();
        await byFinger.tap(BTN_FORWARD);
        await byFinger.waitFor(async () => (await byFinger.x()) !== before, 3000, `a tap on 出す at '${before}' did nothing`);
    }
    await byFinger.settle();
    assert.equal(await byFinger.x(), ' 4.5');
    s = await byFinger.shot();
    expectFigure(byFinger, s, FIGURE.slots, 210, 'by finger, x = 4.5');
    assert.ok(byFinger.areaPixels(s, BOARD).equals(mouseBoard), 'the board differs from the one built by mouse');
    assert.deepEqual(byMouse.errors, []);
    assert.deepEqual(byFinger.errors, []);
});

test('a pen drags a piece and taps 出す as the mouse does', async (t) => {
    const lesson = await openLesson(t);
    const on = ([x, y]) => [BOARD_X + x, BOARD_Y + y];
    const [from, to] = [TRAY.square, slot(0)];
    await lesson.penStroke([0, 0.25, 0.5, 0.75, 1].map((k) => on([from[0] + (to[0] - from[0]) * k,
                                                                   from[1] + (to[1] - from[1]) * k])));
    expectFigure(lesson, await lesson.shot(), [1, 0, 0, 0, 0], 300, 'by pen, P at B');
    await lesson.penStroke([BTN_FORWARD, BTN_FORWARD]);
    await lesson.waitForX(' 0.5');
    assert.deepEqual(lesson.errors, []);
});

// The page tells each change of the slots; the share panel's link and QR
// code open a page whose board is the one built by drags, pixel for pixel
// (at the page scale 1, where no edge is rounded). The link is the page's
// own address and the figure: the teacher's query (a launch link's token,
// too long for a QR code) and fragment stay out of it.
test('この図を配る: the link and its QR code open the figure as built', async (t) => {
    const built = await openLesson(t, { viewport: UNSCALED, fragment: '#seat=12' }, undefined,
                                   `${URL}?user_token=${'a1'.repeat(1200)}`);
    await built.page.evaluate(() => {
        window.figures = [];
        document.addEventListener('lessonfigure', (event) => window.figures.push(event.detail));
    });
    for (const [from, to] of FIGURE.drags)
        await built.dragOnBoard(from, to);
    await built.dragOnBoard(TRAY.square, slot(4)); // onto the 2 x 6 rectangle: no change
    assert.deepEqual(await built.page.evaluate(() => window.figures), ['04560', '14560', '14563']);
    const board = built.areaPixels(await built.shot(), BOARD);
    await built.page.click('#share');
    const href = await built.page.locator('#share-link').getAttribute('href');
    assert.equal(href, `${URL}#figure=${FIGURE.slots.join('')}`);
    const qr = await built.page.locator('#share-qr').screenshot();
    assert.equal(execFileSync('zbarimg', ['--raw', '-q', '-'], { input: qr, encoding: 'utf8' }).trim(), href);
    await built.page.keyboard.press('Escape');
    assert.ok(await built.page.locator('#share-panel').isHidden(), 'Escape did not close the panel');
    await built.settle();
    await built.page.keyboard.press('PageDown'); // the lesson has the keyboard again: 出す
    await built.waitForX(' 0.5');
    const opened = await openLesson(t, { viewport: UNSCALED, fragment: new globalThis.URL(href).hash });
    await opened.settle();
    assert.equal(await opened.page.locator('#screen').getAttribute('data-figure'), FIGURE.slots.join(''));
    assert.ok(opened.areaPixels(await opened.shot(), BOARD).equals(board), 'the link shows another board');
    assert.deepEqual([...built.errors, ...opened.errors], []);
});

// P in the pupil's hands: dragged along the base line by mouse, finger and
// pen, or sent to an x by a click on the graph; the board each time as the
// same number of 出す leaves it (P at B is board x 300, 10 px a step).
test('P dragged by mouse, finger and pen, and a click on the graph, as 出す takes it', async (t) => {
    const build = async (lesson, drag) => {
        for (const [from, to] of FIGURE.drags)
            await drag(from, to);
        expectFigure(lesson, await lesson.shot(), FIGURE.slots, 300, 'P at B');
    };
    // `area` as a drag left it (the screenshot `dragged`) is the one a
    // repaint of the whole board (the grid on and off) shows, without a
    // line left behind where P's figure stood on the way.
    const asRepainted = async (lesson, dragged, area, what) => {
        for (let i = 0; i < 2; i++) {
            await lesson.click(CHK_GRID);
            await lesson.settle();
        }
        assert.ok(lesson.areaPixels(await lesson.shot(), area).equals(lesson.areaPixels(dragged, area)),
                  `${what} after the drag differs from the same board repainted whole`);
    };
    // The mouse on a laptop's screen at pixel ratio 1.5.
    const byMouse = await openLesson(t, { viewport: { width: 1366, height: 768 }, deviceScaleFactor: 1.5 });
    await build(byMouse, (from, to) => byMouse.dragOnBoard(from, to));
    await byMouse.dragOnBoard([300, 301], [212, 301]);
    await byMouse.waitForX(' 4.5');
    await byMouse.settle();
    const envelope = [BOARD_X + ENVELOPE[0], BOARD_Y + ENVELOPE[1], ENVELOPE[2], ENVELOPE[3]];
    const afterDrag = await byMouse.shot();
    expectFigure(byMouse, afterDrag, FIGURE.slots, 210, 'P dragged by mouse to x = 4.5');
    await asRepainted(byMouse, afterDrag, envelope, 'the envelope');
    await byMouse.click(CHK_GRAPH);
    await byMouse.click([graphXAt(8.1), GRAPH_Y + 200]);
    await byMouse.waitForX(' 8.0');
    expectFigure(byMouse, await byMouse.shot(), FIGURE.slots, 140, 'a click on the graph at x = 8');
    // Moves faster than the frames: the last place reaches the program
    // while the button is still held, not only with the release.
    const [fromX, fromY] = await byMouse.toPage(BOARD_X + 140, BOARD_Y + 301);
    const [toX, toY] = await byMouse.toPage(BOARD_X + 280, BOARD_Y + 301);
    await byMouse.page.mouse.move(fromX, fromY);
    await byMouse.page.mouse.down();
    const cdp = await byMouse.context.newCDPSession(byMouse.page);
    await Promise.all([...Array(14).keys()].map((k) => cdp.send('Input.dispatchMouseEvent', {
        type: 'mouseMoved', button: 'none', buttons: 1, y: toY,
        x: fromX + (toX - fromX) * (k + 1) / 14 })));
    await byMouse.waitForX(' 1.0');
    await cdp.send('Input.dispatchMouseEvent', { type: 'mouseReleased', button: 'left', clickCount: 1, x: toX, y: toY });
    await byMouse.settle();
    expectFigure(byMouse, await byMouse.shot(), FIGURE.slots, 280, 'P dragged fast by mouse to x = 1');

    // A finger on a tablet's screen, where the lesson's pixels fall
    // between the screen's.
    const byFinger = await openLesson(t, { hasTouch: true, viewport: { width: 1024, height: 768 },
                                           deviceScaleFactor: 2 });
    await build(byFinger, (from, to) => byFinger.touchDragOnBoard(from, to));
    await byFinger.touchDragOnBoard([310, 312], [171, 305]); // a finger's reach beside P
    await byFinger.waitForX(' 6.5');
    await byFinger.settle();
    const dragged = await byFinger.shot();
    expectFigure(byFinger, dragged, FIGURE.slots, 170, 'P dragged by finger to x = 6.5');
    await asRepainted(byFinger, dragged, BOARD, 'the board');

    const byPen = await openLesson(t);
    await build(byPen, (from, to) => byPen.dragOnBoard(from, to));
    const along = [300, 290, 270, 250].map((x) => [BOARD_X + x, BOARD_Y + 314]); // a pen's reach below P
    await byPen.penStroke(along);
    await byPen.waitForX(' 2.5');
    expectFigure(byPen, await byPen.shot(), FIGURE.slots, 250, 'P dragged by pen to x = 2.5');

    // A Chromebook's page, the lesson shrunk to fit, with the graph drawn
    // beside the board: no row of an earlier picture stays across P.
    const small = await openLesson(t, { viewport: { width: 1358, height: 629 } });
    await small.click(CHK_GRAPH);
    await build(small, (from, to) => small.dragOnBoard(from, to));
    const [bx, by, bw, bh] = ENVELOPE; // from B, 15 moves to x = 7.5
    await small.drag(BOARD_X + bx, BOARD_Y + by + bh + 1, BOARD_X + bx - bw * 0.75, BOARD_Y + by + bh + 1, 15);
    await small.waitForX(' 7.5');
    await small.settle();
    const underP = [BOARD_X + 24, BOARD_Y + 186, 470, 160]; // the envelope's rows down to P's labels
    await asRepainted(small, await small.shot(), underP, 'the figure and P\'s labels beside the graph');
    assert.deepEqual([...byMouse.errors, ...byFinger.errors, ...byPen.errors, ...small.errors], []);
});

// A figure link opened in the tab that shows the lesson (P moved) builds its figure there with P
// at B; one that names no figure changes nothing; a figure the drags cannot make empties it.
test('a new #figure= in the open page builds that figure', async (t) => {
    const lesson = await openLesson(t, { fragment: '#figure=10456' });
    await lesson.forward(3);
    for (const [fragment, figure] of [['#figure=14563', '14563'], ['#seat=12', '14563'], ['#figure=05600', '00000']]) {
        await lesson.page.evaluate((hash) => { location.hash = hash; }, fragment);
        await lesson.waitFor(async () => (await lesson.page.locator('#screen').getAttribute('data-figure')) === figure
                                         && (await lesson.x()) === ' 0.0', 3000, `${fragment}: not the figure ${figure} with P at B`);
    }
    assert.deepEqual(lesson.errors, []);
});

test('steps: 出す and 戻す move the figure out and back in', async (t) => {
    const lesson = await openLesson(t);
    for (const [from, to] of FIGURE.drags)
        await lesson.dragOnBoard(from, to);
    const atB = lesson.areaPixels(await lesson.shot(), BOARD);
    // Offsets where a piece straddles AB and the last where all is out.
    let taken = 0;
    for (const [steps, x, px] of [[3, ' 1.5', 270], [14, ' 7.0', 160], [20, ' 10.0', 100]]) {
        await lesson.forward(steps - taken);
        taken = steps;
        assert.equal(await lesson.x(), x);
        expectFigure(lesson, await lesson.shot(), FIGURE.slots, px, `x = ${x.trim()}`);
    }
    // One more 出す at the end changes nothing.
    const atEnd = lesson.areaPixels(await lesson.shot(), BOARD);
    await lesson.click(BTN_FORWARD);
    await lesson.settle();
    assert.equal(await lesson.x(), ' 10.0');
    assert.ok(lesson.areaPixels(await lesson.shot(), BOARD).equals(atEnd), '出す at the end changed the board');
    // Twenty 戻す take it back in: the board as at B.
    for (let i = 0; i < 20; i++) {
        const before = await lesson.x();
        await lesson.click(BTN_BACK);
        await lesson.waitFor(async () => (await lesson.x()) !== before, 3000, `戻す did not move P from '${before}'`);
    }
    await lesson.settle();
    assert.equal(await lesson.x(), ' 0.0');
    assert.ok(lesson.areaPixels(await lesson.shot(), BOARD).equals(atB), 'the board after 20 戻す is not the board at B');
    assert.deepEqual(lesson.errors, []);
});

// The graph (panel pixels): x = 0 at 35, 30 px per cm; y = 0 at 480, 7.5 px
// per cm²; a blue line 3 px wide from point to point, the green grid
// (every 30 px from the origin) drawn over it.
test('グラフ: the curve of y against x for the figure', async (t) => {
    const slots = [3, 2, 4, 5, 6]; // 2 x 6, 2 x 4, then the triangle
    const lesson = await openLesson(t);
    await lesson.click(CHK_GRAPH);
    await lesson.dragOnBoard(TRAY.rect2x6, slot(0));
    await lesson.dragOnBoard(TRAY.rect2x4, slot(1));
    await lesson.dragOnBoard(TRAY.triangle, slot(3));
    await lesson.forward(20);
    assert.equal(await lesson.x(), ' 10.0');
    const s = await lesson.shot();
    const gx = (x) => 35 + 30 * x, gy = (y) => 480 - 7.5 * y;
    const onGrid = (y) => Math.abs((480 - y) / 30 - Math.round((480 - y) / 30)) * 30 < 2.5;
    let probed = 0;
    for (let k = 0; k < 20; k++) {
        const x0 = k / 2, x1 = (k + 1) / 2;
        const mx = (gx(x0) + gx(x1)) / 2, my = (gy(areaOut(slots, x0)) + gy(areaOut(slots, x1))) / 2;
        if (onGrid(my))
            continue;
        // The client pixel whose middle is the segment's middle.
        const at = [GRAPH_X + mx - 0.5, GRAPH_Y + my - 0.5];
        assert.ok(lesson.is(s, ...at, BLUE),
                  `no blue at the middle of the segment from x = ${x0} to ${x1} (graph ${mx}, ${my}): ${lesson.pixel(s, ...at)}`);
        for (const dy of [-9, 9])
            assert.ok(!lesson.is(s, at[0], at[1] + dy, BLUE),
                      `blue ${dy} px off the segment from x = ${x0} to ${x1}`);
        probed++;
    }
    assert.ok(probed >= 15, `only ${probed} segments probed`);
    assert.deepEqual(lesson.errors, []);
});

// The table (panel pixels): the x row's text from y = 25, the y row's from
// 70; the column of x = n from 45n + 50 (a value of 10 or more 5 px
// further left, a y value with a fraction 8 more), that of x = 0 at 60.
// A long y value ("24.5") reaches a few pixels past where the next column
// may start; the box looked at starts 6 px right of that, where every text
// of its own column still has most of its pixels.
function columnBox(n, row) {
    const left = n === 0 ? 60 : 45 * n + 50;
    return [TABLE_X + left - 7, TABLE_Y + (row === 'x' ? 25 : 70), 37, 22];
}

function bluePixels(lesson, s, [x, y, w, h]) {
    let count = 0;
    for (let j = 0; j < h; j++)
        for (let i = 0; i < w; i++)
            if (lesson.is(s, x + i, y + j, BLUE))
                count++;
    return count;
}

test('表: a column appears at each whole centimetre, and 戻す takes it away', async (t) => {
    const lesson = await openLesson(t);
    await lesson.click(CHK_TABLE);
    await lesson.dragOnBoard(TRAY.square, slot(0));
    await lesson.dragOnBoard(TRAY.triangle, slot(2));
    const expectColumns = async (shown, what) => {
        const s = await lesson.shot();
        for (let n = 0; n <= 10; n++)
            for (const row of ['x', 'y']) {
                const blue = bluePixels(lesson, s, columnBox(n, row));
                if (n <= shown)
                    assert.ok(blue > 10, `${what}: no text in the ${row} row of column ${n}`);
                else
                    assert.equal(blue, 0, `${what}: text in the ${row} row of column ${n}`);
            }
    };
    await expectColumns(0, 'P at B');
    for (let n = 1; n <= 10; n++) {
        await lesson.forward(1);
        await expectColumns(n - 1, `x = ${n - 0.5}`);
        await lesson.forward(1);
        await expectColumns(n, `x = ${n}`);
    }
    await lesson.click(BTN_BACK);
    await lesson.waitForX(' 9.5');
    await lesson.settle();
    await expectColumns(9, '戻す to x = 9.5');
    assert.deepEqual(lesson.errors, []);
});
