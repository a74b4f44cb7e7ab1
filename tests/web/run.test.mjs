// The automatic run in the page: its pace at speed "10", ストップ, hostile
// texts typed into the speed box, and 初期画面. The page tells the document
// what x the read-out shows (the canvas's data-x and a "lessondistance"
// event at each change, see page.js); the times of those events, taken in
// the page with performance.now(), are the times of the run's steps.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import {
    useBrowser, openLesson, TRAY, slot, BOARD_X, BOARD_Y, BOARD_W, BOARD_H, BLACK, BOARD_GREEN,
    BTN_AUTO, BTN_STOP, BTN_FORWARD, BTN_BACK, BTN_INITIAL, BTN_END, CHK_GRID, CHK_GRAPH, CHK_TABLE,
    COMBO_TEXT, GRAPH_W, TABLE_H, READOUTS, recordDistances, distances, typeSpeed, meanStepInterval,
    AREA_STOP, waitForRunEnd,
    GRAPH_X, GRAPH_Y, GRAPH_W_PANEL, GRAPH_H_PANEL, TABLE_X, TABLE_Y, TABLE_W_PANEL, TABLE_H_PANEL,
} from './lesson.mjs';

useBrowser();

async function turnsBetween(lesson, from, to) {
    return lesson.page.evaluate(([a, b]) => window.turns.filter((time) => time > a && time < b).length, [from, to]);
}

// Starts 自動 at `speed`, typed into the speed box, with every change of x
// recorded from before its first step (with `turns`, also the times the
// page's own tasks get a turn).
async function startRun(lesson, speed, turns = false) {
    await recordDistances(lesson, turns);
    await typeSpeed(lesson, speed);
    await lesson.click(BTN_AUTO);
}

// The steps' pace to 2 % is a figure of make bench-web (row 5d): on a busy
// machine the browser's timers fire late. Here the run must wait at each
// step, never less than the speed's 50 ms, and not for a wait of another
// speed (the next, "20", waits 100 ms; the default "50", 250 ms).
const PACE_SLACK = 1.5;

test('自動 at speed "10": twenty steps, waits of 50 ms between them', async (t) => {
    const lesson = await openLesson(t);
    await lesson.dragOnBoard(TRAY.triangle, slot(2)); // a figure to paint at every step
    await startRun(lesson, '10');
    await lesson.waitForX(' 10.0', 10000);
    await lesson.page.waitForTimeout(300); // nothing more comes
    const seen = await distances(lesson);
    assert.deepEqual(seen.map(([, x]) => x), READOUTS, 'the run did not step from 0.5 to 10 once each');
    const { mean, shortest, longest } = meanStepInterval(seen);
    t.diagnostic(`mean step interval ${mean.toFixed(2)} ms; shortest ${shortest.toFixed(1)}, `
                 + `longest ${longest.toFixed(1)}`);
    // The page's clock sees each step when the program lets the browser
    // run: over 19 intervals that blurs the mean by well under 2 %.
    assert.ok(mean >= 0.98 * 50, `mean step interval ${mean.toFixed(2)} ms: the run does not wait 50 ms`);
    assert.ok(mean <= PACE_SLACK * 50, `mean step interval ${mean.toFixed(2)} ms: the run waits too long`);
    assert.deepEqual(lesson.errors, []);
});

test('ストップ during the wait: the run ends with the steps taken, the buttons as before the run', async (t) => {
    const lesson = await openLesson(t);
    const idleStop = lesson.areaPixels(await lesson.shot(), AREA_STOP);
    await recordDistances(lesson);
    await lesson.click(BTN_AUTO); // speed "50": 250 ms between steps
    await lesson.waitForX(' 1.5', 5000);
    await lesson.settle();
    const running = lesson.areaPixels(await lesson.shot(), AREA_STOP);
    assert.ok(!running.equals(idleStop), 'ストップ does not look enabled during the run');
    await lesson.click(BTN_STOP);
    // A step may still come between the click and its handling; once
    // ストップ looks disabled, the run has ended where it stands.
    await waitForRunEnd(lesson, idleStop);
    const atStop = await lesson.x();
    assert.ok(READOUTS.indexOf(atStop) < READOUTS.indexOf(' 5.0'), `ストップ came too late: the run is at ${atStop}`);
    await lesson.page.waitForTimeout(1000); // four waits' worth
    assert.equal(await lesson.x(), atStop, 'the run went on after ストップ');
    assert.equal((await distances(lesson)).length, READOUTS.indexOf(atStop) + 1);
    // 出す and 戻す answer again.
    await lesson.forward(1);
    assert.equal(await lesson.x(), READOUTS[READOUTS.indexOf(atStop) + 1]);
    await lesson.click(BTN_BACK);
    await lesson.waitForX(atStop);
    assert.deepEqual(lesson.errors, []);
});

// Texts from the desktop's hostile cases (tests/tst_hostile_speed.cpp):
// letters only and a negative number give no wait, so the run goes to the
// end without handling any event in between, as at speed " 0"; "1e400" is beyond every double and
// gives the longest wait there is, during which the page must go on
// working and 終了 must end it.
for (const text of ['abc', '-7']) {
    test(`speed "${text}": the run goes to the end without waiting, and the lesson goes on`, async (t) => {
        const lesson = await openLesson(t);
        await startRun(lesson, text, true);
        await lesson.waitForX(' 10.0', 5000);
        await lesson.page.waitForTimeout(300);
        const seen = await distances(lesson);
        assert.deepEqual(seen.map(([, x]) => x), READOUTS);
        // No wait: the run goes from its first step to its last without
        // letting anything else run in between, so the page's timers get
        // no turn there.
        const between = await turnsBetween(lesson, seen[0][0], seen[19][0]);
        assert.ok(await turnsBetween(lesson, 0, seen[0][0]) > 0, 'the timer chain never ran');
        assert.equal(between, 0, `the page ran ${between} times during the run `
                     + `(${(seen[19][0] - seen[0][0]).toFixed(0)} ms): the run waited between steps`);
        // The run has ended: 戻す and 出す work, and 自動 runs again (from the
        // end it first goes back to B).
        await lesson.click(BTN_BACK);
        await lesson.waitForX(' 9.5');
        await lesson.forward(1);
        assert.equal(await lesson.x(), ' 10.0');
        await lesson.page.evaluate(() => { window.distances = []; });
        await lesson.click(BTN_AUTO);
        await lesson.waitFor(async () => (await distances(lesson)).length >= 21, 5000, 'a second run did not run');
        assert.deepEqual((await distances(lesson)).map(([, x]) => x), [' 0.0', ...READOUTS]);
        assert.deepEqual(lesson.errors, []);
    });
}

// Turning a tablet or resizing the browser window during a run: the run
// goes on to the end, and the window is fitted to each new size.
test('resizes during a run at speed "20": the run reaches the end, fitted to the last size', async (t) => {
    const lesson = await openLesson(t);
    await startRun(lesson, '20');
    await lesson.waitForX(' 0.5');
    const sizes = [[320, 240], [2000, 1200], [800, 600], [1280, 800], [1000, 700]];
    for (const [width, height] of sizes) {
        await lesson.page.setViewportSize({ width, height });
        await lesson.page.waitForTimeout(200);
    }
    await lesson.waitForX(' 10.0', 60000);
    assert.deepEqual((await distances(lesson)).map(([, x]) => x), READOUTS);
    const { box } = await lesson.geometry();
    assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= 1000.5 && box.y + box.height <= 700.5
              && (box.width > 999 || box.height > 699), `the canvas ${JSON.stringify(box)} does not fit 1000x700`);
    await lesson.settle();
    lesson.expectBoard(await lesson.shot(), 100, 250, BOARD_GREEN, 'the board after the resizes');
    assert.deepEqual(lesson.errors, []);
});

test('speed "1e400": one step, then the longest wait, during which the page works and 終了 ends it', async (t) => {
    const lesson = await openLesson(t);
    await startRun(lesson, '1e400');
    await lesson.waitForX(' 0.5');
    // The grid comes and goes while the run waits.
    const gridAt = [40, 240]; // board pixels: the grid line x = 40 inside the envelope's band
    await lesson.click(CHK_GRID);
    await lesson.waitFor(async () => lesson.isBoard(await lesson.shot(), ...gridAt, BLACK), 3000,
                         '方眼 did not draw the grid during the wait');
    await lesson.click(CHK_GRID);
    await lesson.waitFor(async () => lesson.isBoard(await lesson.shot(), ...gridAt, BOARD_GREEN), 3000,
                         '方眼 did not take the grid away during the wait');
    // ストップ ends the wait at once, with no step after it.
    await lesson.click(BTN_STOP);
    await lesson.page.waitForTimeout(1000);
    assert.deepEqual((await distances(lesson)).map(([, x]) => x), [' 0.5']);
    await lesson.click(BTN_END);
    await lesson.page.locator('#ended').waitFor({ state: 'visible', timeout: 5000 });
    assert.deepEqual(lesson.errors, []);
});

// 初期画面 with グラフ and 表 shown: the same screen as 初期画面 gives
// before anything is built (the window keeps its size).
test('初期画面 after a figure and steps gives the initial screen again', async (t) => {
    const lesson = await openLesson(t);
    await lesson.click(CHK_GRAPH);
    await lesson.click(CHK_TABLE);
    await lesson.waitFor(async () => {
        const { box } = await lesson.geometry();
        return Math.abs(box.width / box.height - GRAPH_W / TABLE_H) < 0.01;
    }, 3000, 'グラフ and 表 did not widen and heighten the window');
    await lesson.click(BTN_INITIAL);
    await lesson.settle();
    const initial = await lesson.shot();
    const whole = [0, 0, GRAPH_W, TABLE_H];
    await lesson.dragOnBoard(TRAY.square, slot(0));
    await lesson.dragOnBoard(TRAY.triangle, slot(2));
    await lesson.dragOnBoard(TRAY.rect2x4, slot(4));
    await lesson.forward(7);
    const built = await lesson.shot();
    assert.ok(!lesson.areaPixels(built, whole).equals(lesson.areaPixels(initial, whole)));
    await lesson.click(BTN_INITIAL);
    await lesson.waitForX(' 0.0');
    await lesson.settle();
    const again = await lesson.shot();
    for (const [name, area] of [['board', [BOARD_X, BOARD_Y, BOARD_W, BOARD_H]], ['graph', [GRAPH_X, GRAPH_Y, GRAPH_W_PANEL, GRAPH_H_PANEL]],
                                ['table', [TABLE_X, TABLE_Y, TABLE_W_PANEL, TABLE_H_PANEL]], ['window', whole]])
        assert.ok(lesson.areaPixels(again, area).equals(lesson.areaPixels(initial, area)),
                  `the ${name} after 初期画面 is not as on the initial screen`);
    assert.deepEqual(lesson.errors, []);
});
