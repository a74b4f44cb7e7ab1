// The page as a screen reader and the keyboard meet it: the controls in
// Chromium's accessibility tree by role and name with their states, the
// status region's words, the HTML table against the lesson's values,
// axe-core's audit in four states, and one lesson by the keyboard alone.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { useBrowser, openLesson, areaOut, BOARD_GREEN, TRAY_GREEN, RED, CONTRAST } from './lesson.mjs';

useBrowser();

// As the program names them (and a screen reader says them).
const CONTROLS = [
    ['button', '初期画面'], ['button', '終了'], ['button', '自動'], ['button', 'ストップ'],
    ['button', '出す'], ['button', '戻す'], ['button', '最初に'], ['checkbox', '方眼'], ['checkbox', '表'],
    ['checkbox', 'グラフ'], ['checkbox', '封筒をかくす'], ['checkbox', '線分BPを表示'],
    ['combobox', '速度'], ['textbox', '点Ｐが動いた距離χ（cm）'],
];
// A square at side AB and the triangle in the last three slots.
const FIGURE = [1, 0, 4, 5, 6];
const number = (v) => String(Number(v.toFixed(6))); // the lesson's form for these values

// The tree's nodes that assistive technology is given, by role and name.
async function tree(lesson) {
    lesson.cdp ??= await lesson.context.newCDPSession(lesson.page);
    const { nodes } = await lesson.cdp.send('Accessibility.getFullAXTree');
    const shown = nodes.filter((n) => !n.ignored);
    return (role, name) => {
        const node = shown.find((n) => n.role?.value === role && n.name?.value === name);
        const property = (key) => node?.properties?.find((p) => p.name === key)?.value.value;
        return node && { disabled: !!property('disabled'), checked: property('checked'), value: node.value?.value };
    };
}

const control = (lesson, role, name) => lesson.page.getByRole(role, { name, exact: true });
const status = (lesson) => lesson.page.locator('#lesson-status').textContent();

// The HTML table's two rows, without their headings.
const tableRows = (lesson) => lesson.page.evaluate(() =>
    [...document.getElementById('lesson-table-rows').rows].map((row) =>
        [...row.cells].slice(1).map((cell) => cell.textContent)));

async function waitForState(lesson, role, name, check, what) {
    await lesson.waitFor(async () => check((await tree(lesson))(role, name)), 10000, what);
}

test('every control by role and name; states, the status region and the table follow the program', async (t) => {
    const lesson = await openLesson(t, { fragment: '#figure=' + FIGURE.join('') });
    let find = await tree(lesson);
    // 封筒をかくす stands beside the graph, out of the first screen's view.
    assert.equal(find('checkbox', '封筒をかくす'), undefined, '封筒をかくす is heard out of view');
    await control(lesson, 'checkbox', 'グラフ').check();
    await waitForState(lesson, 'checkbox', '封筒をかくす', (c) => !!c, '封筒をかくす never came into view');
    find = await tree(lesson);
    for (const [role, name] of CONTROLS)
        assert.ok(find(role, name), `no ${role} named ${name}`);
    assert.equal(find('button', 'ストップ').disabled, true, 'ストップ at rest');
    assert.equal(find('checkbox', '線分BPを表示').checked, 'true');
    assert.equal(find('combobox', '速度').value, '50');
    for (const surface of ['application', 'img'])
        assert.ok(await lesson.page.getByRole(surface, { name: surface === 'img' ? /^グラフ/ : /^黒板/ }).count());

    await control(lesson, 'checkbox', '表').click();
    await waitForState(lesson, 'checkbox', '表', (c) => c.checked === 'true', '表 never showed as checked');
    for (let k = 1; k <= 10; k++)
        await control(lesson, 'button', '出す').click();
    await lesson.waitForX(' 5.0');
    await lesson.waitFor(async () => (await status(lesson)).startsWith('χ は 5.0 cm'), 5000, 'no word of x = 5');
    assert.equal(await status(lesson), `χ は 5.0 cm、ｙ は ${number(areaOut(FIGURE, 5))} cm²`);
    // Quick presses: the table follows within a second.
    const columns = [0, 1, 2, 3, 4, 5];
    await lesson.waitFor(async () => (await tableRows(lesson))[0].length === columns.length, 5000,
                         'the table never caught up');
    assert.deepEqual(await tableRows(lesson), [columns.map(String), columns.map((x) => number(areaOut(FIGURE, x)))]);
    // The read-out too (the program paints it; its element hears it within a second).
    await waitForState(lesson, 'textbox', '点Ｐが動いた距離χ（cm）', (c) => c.value === ' 5.0', 'the read-out is never heard at 5.0');

    // A run: ストップ takes over from 自動 until the run ends.
    await control(lesson, 'combobox', '速度').fill('200');
    await control(lesson, 'button', '自動').click();
    await waitForState(lesson, 'button', 'ストップ', (c) => !c.disabled, 'ストップ never became enabled in the run');
    assert.equal((await tree(lesson))('button', '自動').disabled, true);
    await control(lesson, 'button', 'ストップ').click();
    await waitForState(lesson, 'button', 'ストップ', (c) => c.disabled, 'ストップ stayed enabled after the run');
    assert.match(await status(lesson), /^自動が止まりました。χ は \d+\.\d cm、ｙ は [\d.]+ cm²$/);

    // The cover hides the read-out and the small box with the envelope.
    await control(lesson, 'checkbox', '封筒をかくす').check();
    await waitForState(lesson, 'textbox', '点Ｐが動いた距離χ（cm）', (c) => !c, 'the read-out is heard under the cover');
    assert.equal((await tree(lesson))('checkbox', '線分BPを表示'), undefined);
});

test('axe-core finds nothing serious on the first screen, with the panels, in a run and with the share panel',
     async (t) => {
    const lesson = await openLesson(t);
    const axe = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
    await lesson.page.addScriptTag({ path: axe });
    const audit = async (what) => {
        const found = await lesson.page.evaluate(async () =>
            (await window.axe.run(document, { resultTypes: ['violations'] })).violations
                .filter((v) => v.impact === 'serious' || v.impact === 'critical')
                .map((v) => `${v.id} (${v.nodes.map((n) => n.target.join(' ')).join(', ')})`));
        assert.deepEqual(found, [], `${what}: ${found.join('; ')}`);
    };
    await audit('the first screen');
    await control(lesson, 'checkbox', 'グラフ').check();
    await control(lesson, 'checkbox', '表').check();
    await audit('グラフ and 表 shown');
    await control(lesson, 'combobox', '速度').fill('200');
    await control(lesson, 'button', '自動').click();
    await waitForState(lesson, 'button', 'ストップ', (c) => !c.disabled, 'the run never started');
    await audit('during a run');
    await control(lesson, 'button', 'ストップ').click();
    await lesson.page.locator('#share').click();
    await audit('the share panel open');
});

test('by the keyboard alone: to the board, a piece without a drag, a step, a run, the table', async (t) => {
    const lesson = await openLesson(t);
    const keys = lesson.page.keyboard;
    const focused = () => lesson.page.evaluate(() => document.activeElement?.closest('[data-control]')?.dataset.control ?? '');
    for (let k = 0; k < 20 && (await focused()) !== 'kokuban'; k++)
        await keys.press('Tab');
    assert.equal(await focused(), 'kokuban', 'Tab never reached the board');
    await keys.press('1'); // the square from the tray
    await keys.press('1'); // into slot 1, at side AB
    await lesson.waitFor(async () => (await lesson.page.locator('#screen').getAttribute('data-figure')) === '10000',
                         5000, 'the keys put no square into slot 1');
    await keys.press('Tab');
    assert.equal(await focused(), 'susumu', 'after the board comes 出す');
    await keys.press('Enter');
    await lesson.waitForX(' 0.5');
    while ((await focused()) !== 'Check3')
        await keys.press('Tab');
    await keys.press('Space'); // 表
    await keys.press('F5'); // 自動, at the speed box's 50
    await lesson.waitForX(' 10.0', 30000);
    // 表 came on with P past B: the columns from 1 cm on, as the lesson writes them.
    const columns = Array.from({ length: 10 }, (_, k) => k + 1);
    await lesson.waitFor(async () => (await tableRows(lesson))[0].length === 10, 5000, 'the table never filled');
    assert.deepEqual(await tableRows(lesson),
                     [columns.map(String), columns.map((x) => number(areaOut([1, 0, 0, 0, 0], x)))]);
    await lesson.waitFor(async () => (await status(lesson)).startsWith('自動が止まりました'), 5000,
                         'the end of the run was not said');
    // The board's description, renewed once a second during the run, tells where the run left P.
    assert.match(await lesson.page.locator('#board-text').textContent(), /点Ｐは B から左へ 10\.0 cm 動いた/);
});

test('the contrast view: pressed, the board takes its colours at once; remembered by the browser; released', async (t) => {
    const lesson = await openLesson(t);
    const button = lesson.page.locator('#contrast');
    const design = { board: BOARD_GREEN, tray: TRAY_GREEN, marker: RED };
    const expect = async (pressed, { board, tray, marker }, what) => { // the board, the tray band, P's dot at B
        assert.equal(await button.getAttribute('aria-pressed'), pressed, what);
        const shows = (s) => lesson.isBoard(s, 100, 250, board) && lesson.isBoard(s, 100, 100, tray) && lesson.isBoard(s, 300, 300, marker);
        await lesson.waitFor(async () => shows(await lesson.shot()), 10000, `${what}: the board shows other colours`);
    };
    await expect('false', design, 'at first');
    await button.click();
    await expect('true', CONTRAST, 'pressed');
    await lesson.page.reload();
    await expect('true', CONTRAST, 'the page opened again');
    await button.click();
    await expect('false', design, 'released');
});
