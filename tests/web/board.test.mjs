// The page's board is the desktop's board: for each figure and offset that
// web_board_render drew on the desktop (offscreen, one device pixel per
// pixel), the same figure is built here by mouse drags and 出す, in a
// viewport where the page shows the window at one CSS pixel per client
// pixel, and every pixel of the board outside the boxes where text is drawn
// must be the same. Glyphs come from two builds of the font engine and a
// subset of the face, so the text boxes are left out, and so are the
// read-out (its digits) and the small box, which the page shows as an HTML
// element; the rest — canvas, shading, grid, outlines, lines, P's dot — must match
// exactly.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { PNG } from 'pngjs';
import { useBrowser, openLesson, UNSCALED, BOARD_X, BOARD_Y, BOARD_W, BOARD_H, BOARD_CONTROLS, CHK_GRID } from './lesson.mjs';

const pictures = process.env.KANSU_BOARD_PICTURES;
if (!pictures)
    throw new Error('KANSU_BOARD_PICTURES is not set (run tests/web/run.sh)');
const manifest = JSON.parse(fs.readFileSync(path.join(pictures, 'figures.json'), 'utf8'));

useBrowser();

// Where two board pictures differ outside the text boxes: the count, and
// the first few places with both colours.
function differences(page, desktop, boxes) {
    const inBox = (x, y) => boxes.some(([bx, by, bw, bh]) => x >= bx && x < bx + bw && y >= by && y < by + bh);
    let compared = 0, differing = 0;
    const first = [];
    for (let y = 0; y < BOARD_H; y++)
        for (let x = 0; x < BOARD_W; x++) {
            if (inBox(x, y))
                continue;
            compared++;
            const i = (y * BOARD_W + x) * 4;
            const a = page.data.subarray(i, i + 3), b = desktop.data.subarray(i, i + 3);
            if (a[0] !== b[0] || a[1] !== b[1] || a[2] !== b[2]) {
                differing++;
                if (first.length < 8)
                    first.push(`(${x},${y}) page ${[...a]} desktop ${[...b]}`);
            }
        }
    return { compared, differing, first };
}

test('the manifest holds several figures and offsets', () => {
    const shots = manifest.figures.flatMap((f) => f.shots);
    assert.ok(manifest.figures.length >= 4 && shots.length >= 12, 'too few pictures to compare');
    assert.deepEqual(manifest.board, [BOARD_X, BOARD_Y, BOARD_W, BOARD_H]);
});

for (const figure of manifest.figures) {
    test(`board as on the desktop: ${figure.name}`, async (t) => {
        const lesson = await openLesson(t, { viewport: UNSCALED });
        const { box, scale } = await lesson.geometry();
        assert.equal(scale, 1, 'the page does not show the window at one CSS pixel per client pixel');
        assert.deepEqual([box.x, box.y], [0, 0]);
        if (figure.grid)
            await lesson.click(CHK_GRID);
        for (const [from, to] of figure.drags)
            await lesson.dragOnBoard(from, to);
        let taken = 0;
        for (const shot of figure.shots) {
            await lesson.forward(shot.steps - taken);
            taken = shot.steps;
            assert.equal(await lesson.x(), shot.x, `the read-out after ${shot.steps} 出す`);
            const png = PNG.sync.read(await lesson.page.screenshot({
                clip: { x: box.x + BOARD_X, y: box.y + BOARD_Y, width: BOARD_W, height: BOARD_H } }));
            const desktop = PNG.sync.read(fs.readFileSync(path.join(pictures, shot.png)));
            assert.deepEqual([png.width, png.height, desktop.width, desktop.height],
                             [BOARD_W, BOARD_H, BOARD_W, BOARD_H]);
            const d = differences(png, desktop, [...shot.textBoxes, ...BOARD_CONTROLS]);
            if (d.differing > 0)
                fs.writeFileSync(path.join(pictures, `page-${shot.png}`), PNG.sync.write(png));
            assert.equal(d.differing, 0,
                         `${figure.name}, ${shot.steps} 出す: ${d.differing} of ${d.compared} board pixels differ `
                         + `from ${shot.png} (page's picture kept beside it as page-${shot.png}):\n  `
                         + d.first.join('\n  '));
            // Most of the board is compared, not only its background.
            assert.ok(d.compared > 0.9 * BOARD_W * BOARD_H, `only ${d.compared} pixels outside the text boxes`);
        }
        assert.deepEqual(lesson.errors, []);
    });
}
