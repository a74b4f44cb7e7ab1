// One visit to the lesson's page, the same in every browser engine the
// page is tested in (drivers.mjs): the first screen, a piece dragged by
// mouse, 出す, グラフ, 表, 自動 to the end and 終了. It finds the controls
// by role and name, as a pupil or a screen reader finds them, and otherwise
// relies only on the canvas #screen, its data-x, the end notice #ended and
// pixels. Positions are client pixels, board pixels where a name says so
// (see lesson.mjs).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { PNG } from 'pngjs';
import {
    Lesson, URL, afterTwoFrames, TRAY, slot, COMPACT, GRAPH_W, TABLE_H, BOARD_X, BOARD_Y,
    GRAPH_X, GRAPH_Y, TABLE_X, TABLE_Y, BOARD_GREEN, GREY, RED, PANEL_CREAM,
} from './lesson.mjs';
import { ENGINES, VIEWPORT, startDisplay } from './drivers.mjs';

// Deadlines, never durations: the program's download and compilation, a
// change on the screen, the automatic run's twenty steps at its default
// speed (250 ms a step), each on a busy machine.
const LOAD_MS = 180000, CHANGE_MS = 20000, RUN_MS = 90000;

// Lesson's client pixels, screenshots and waits, over a driver.
class EngineLesson extends Lesson {
    constructor(driver, dpr) {
        super(null, [], dpr, null);
        this.driver = driver;
    }

    // The canvas's box in page pixels (none once 終了 has removed it).
    async geometry() {
        const box = await this.driver.evaluate(() => {
            const r = document.getElementById('screen')?.getBoundingClientRect();
            return r && { x: r.x, y: r.y, width: r.width, height: r.height };
        });
        return { box, scale: box && box.width / this.clientWidth(box) };
    }

    async shot() {
        const { box, scale } = await this.geometry();
        return { png: PNG.sync.read(await this.driver.screenshot()), box, scale, dpr: this.dpr };
    }

    async click([x, y]) {
        await this.driver.pointer([['move', ...await this.toPage(x, y)], ['down'], ['up']]);
    }

    async drag(x1, y1, x2, y2, steps = 10) {
        const [a, b] = await this.toPage(x1, y1), [c, d] = await this.toPage(x2, y2);
        const moves = Array.from({ length: steps }, (_, k) =>
            [['pause', 20], ['move', a + (c - a) * (k + 1) / steps, b + (d - b) * (k + 1) / steps]]);
        await this.driver.pointer([['move', a, b], ['down'], ...moves.flat(), ['up']]);
    }

    // A press of the pointer on the control of that role and name: a
    // button, a check box, ... (the name as the page gives it to assistive
    // technology: its label, else its caption).
    async press(role, name) {
        const centre = await this.control(role, name, 'centre');
        assert.ok(centre, `no ${role} named ${name} in view`);
        await this.driver.pointer([['move', ...centre], ['down'], ['up']]);
    }

    // Whether the control of that role and name can be operated now.
    async enabled(role, name) { return this.control(role, name, 'enabled'); }

    control(role, name, what) {
        return this.driver.evaluate(([role, name, what]) => {
            const roleOf = (e) => e.getAttribute('role') || (e.tagName === 'BUTTON' ? 'button'
                : e.type === 'checkbox' ? 'checkbox' : e.list ? 'combobox' : e.tagName === 'INPUT' ? 'textbox' : '');
            const heard = (e) => [...e.childNodes].filter((n) => n.nodeType !== 1 || n.getAttribute('aria-hidden') !== 'true')
                .map((n) => n.textContent).join('').trim();
            const nameOf = (e) => e.getAttribute('aria-label') || (e.closest('label') && heard(e.closest('label')))
                                  || heard(e);
            const found = [...document.querySelectorAll('button, input, [role]')]
                .find((e) => roleOf(e) === role && nameOf(e) === name);
            if (what === 'enabled')
                return !!found && !found.disabled;
            const r = found?.getBoundingClientRect();
            return r && r.width > 0 ? [r.x + r.width / 2, r.y + r.height / 2] : null;
        }, [role, name, what]);
    }

    async x() { return this.driver.evaluate(() => document.getElementById('screen')?.dataset.x ?? null); }

    settle() { return this.driver.evaluate(afterTwoFrames); }

    async waitForShape(width, height, what) {
        await this.waitFor(async () => {
            const { box } = await this.geometry();
            return Math.abs(box.width / box.height - width / height) < 0.01;
        }, CHANGE_MS, `the canvas did not take the shape of ${width}x${height} ${what}`);
    }

    async waitForPixel([x, y], rgb, what) {
        await this.waitFor(async () => this.is(await this.shot(), x, y, rgb), CHANGE_MS,
                           `${what}: client pixel ${x},${y} never became ${rgb}`);
    }
}

const onBoard = ([x, y]) => [BOARD_X + x, BOARD_Y + y];

async function visit(driver) {
    await driver.open(URL);
    assert.deepEqual(await driver.evaluate(() => [window.innerWidth, window.innerHeight]),
                     [VIEWPORT.width, VIEWPORT.height], 'the viewport');
    const lesson = new EngineLesson(driver, await driver.evaluate(() => window.devicePixelRatio));
    // The canvas is shown before the first frame is painted in it.
    await lesson.waitFor(async () => (await lesson.geometry()).box?.width > 0
                                     && lesson.isBoard(await lesson.shot(), 100, 250, BOARD_GREEN),
                         LOAD_MS, 'the board never appeared').catch(async (e) => {
        e.message += `; the page says: ${await driver.evaluate(() => document.body.innerText).catch(String)}`;
        throw e;
    });
    await lesson.waitForX(' 0.0', CHANGE_MS);

    // The triangle, taken at its middle, into slots 1..3 (board x 340..460).
    await lesson.dragOnBoard(TRAY.triangle, slot(2));
    await lesson.waitForPixel(onBoard([420, 280]), GREY, 'the triangle in the envelope');

    await lesson.press('button', '出す');
    await lesson.waitForX(' 0.5', CHANGE_MS);
    // P dragged along the base line from x = 0.5 (board x 290) to x = 3.5.
    await lesson.dragOnBoard([290, 300], [231, 300]);
    await lesson.waitForX(' 3.5', CHANGE_MS);

    await lesson.press('checkbox', 'グラフ');
    await lesson.waitForShape(GRAPH_W, COMPACT.h, 'after グラフ');
    await lesson.waitForPixel([GRAPH_X + 20, GRAPH_Y + 200], PANEL_CREAM, 'the graph');
    await lesson.press('checkbox', '表');
    await lesson.waitForShape(GRAPH_W, TABLE_H, 'after 表');
    await lesson.waitForPixel([TABLE_X + 300, TABLE_Y + 60], PANEL_CREAM, 'the table');
    const { box } = await lesson.geometry();
    assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= VIEWPORT.width + 0.5
              && box.y + box.height <= VIEWPORT.height + 0.5, `canvas ${JSON.stringify(box)} leaves the viewport`);

    // From x = 3.5 to the end, where P stands at board x 100; then the
    // run's last wait, after which ストップ is disabled again.
    await lesson.press('button', '自動');
    await lesson.waitForX(' 10.0', RUN_MS);
    await lesson.waitForPixel(onBoard([100, 297]), RED, 'P at the end of the run');
    await lesson.waitFor(async () => !(await lesson.enabled('button', 'ストップ')), CHANGE_MS,
                         'ストップ stays enabled after the run');

    await lesson.press('button', '終了');
    await lesson.waitFor(() => driver.evaluate(() => {
        const notice = document.getElementById('ended');
        return !!notice && !notice.hidden && notice.getClientRects().length > 0;
    }), CHANGE_MS, 'the end notice never showed after 終了');
}

let display;
before(async () => { display = await startDisplay(); });
after(() => display?.stop());

for (const engine of ENGINES) {
    test(`the lesson in ${engine.name}`, async (t) => {
        const driver = await engine.launch(display.display);
        t.after(() => driver.close());
        await visit(driver);
    });
}
