// The page around the lesson: it loads the program, fits the program's
// window to the browser window, and shows what the program cannot: that it
// is loading, that the browser lacks what it needs, that it has ended.
'use strict';

window.kansuPage = (function () {
    const screen = document.getElementById('screen');
    const status = document.getElementById('status');
    const statusText = document.getElementById('status-text');
    const endedNotice = document.getElementById('ended');
    const footer = document.getElementById('credits');
    let client = null;     // the window's client size in the lesson's pixels
    let loader = null;

    function showNotice(notice) {
        for (const element of [status, endedNotice])
            element.hidden = element !== notice;
        document.body.classList.toggle('notice-shown', notice !== null);
        screen.style.display = notice === null ? 'block' : 'none';
    }

    function say(text, failed) {
        statusText.textContent = text;
        status.classList.toggle('failed', !!failed);
        showNotice(status);
    }

    // The largest scale at which the whole client area fits the browser
    // window, in whole device pixels: the canvas's backing store is a whole
    // number of device pixels, so its CSS size is that number over the
    // device pixel ratio, and it stands on a whole device pixel, or the
    // browser would resample the picture and blur every edge. The program
    // draws at the returned scale times the device pixel ratio, so the
    // window fills the backing store pixel for pixel.
    function fit(width, height) {
        client = { width: width, height: height };
        if (endedNotice.hidden)
            showNotice(null); // the window is up: the canvas takes the notice's place
        const ratio = window.devicePixelRatio || 1;
        const [roomWidth, roomHeight] = room(width, height);
        const fitting = Math.min(roomWidth / width, roomHeight / height);
        const deviceWidth = Math.floor(width * fitting * ratio);
        const deviceHeight = Math.floor(height * fitting * ratio);
        // Layout keeps CSS lengths in 64ths of a pixel: a size is rounded up
        // to the next 64th, so that it never falls short of its device
        // pixels, a place to the nearest.
        const size = (device) => (Math.ceil(device / ratio * 64) / 64) + 'px';
        const place = (device) => (Math.round(device / ratio * 64) / 64) + 'px';
        screen.style.width = size(deviceWidth);
        screen.style.height = size(deviceHeight);
        screen.style.left = place(Math.floor((roomWidth * ratio - deviceWidth) / 2));
        screen.style.top = place(Math.floor((roomHeight * ratio - deviceHeight) / 2));
        return Math.min(deviceWidth / (width * ratio), deviceHeight / (height * ratio));
    }

    // The part of the browser window the lesson may take, in CSS pixels,
    // from its top left: all of it when the footer's corner (the share
    // button) lies clear of the lesson fitted to the whole window, else the
    // window less the footer's strip beside or below the lesson, whichever
    // leaves the lesson larger.
    function room(width, height) {
        const w = window.innerWidth, h = window.innerHeight;
        const corner = footer.getBoundingClientRect();
        const stripWidth = w - corner.left, stripHeight = h - corner.top;
        const whole = Math.min(w / width, h / height);
        if (corner.width === 0 || (w - whole * width) / 2 >= stripWidth || (h - whole * height) / 2 >= stripHeight)
            return [w, h];
        return Math.min((w - stripWidth) / width, h / height) >= Math.min(w / width, (h - stripHeight) / height)
            ? [w - stripWidth, h] : [w, h - stripHeight];
    }

    function refit() {
        const module = loader && loader.module();
        if (client && module && module.kansuRefit)
            module.kansuRefit();
    }

    function ended() {
        showNotice(endedNotice);
        screen.remove();
    }

    function setTitle(title) {
        document.title = title;
    }

    // What the program tells the document around it, for whoever hosts or
    // watches the page: the x that the read-out shows (" 0.0" ... " 10.0")
    // in the canvas's data-x, with a "lessondistance" event at each change;
    // the program's own time of the latest 出す in ms (data-step-ms); and a
    // performance mark "lesson-first-frame" at the end of the animation
    // frame in which the window, painted at its fitted scale, first reached
    // the canvas.
    function distance(text) {
        screen.dataset.x = text;
        screen.dispatchEvent(new CustomEvent('lessondistance', { detail: text, bubbles: true }));
    }

    function stepTimed(ms) {
        screen.dataset.stepMs = String(ms);
    }

    function painted() {
        requestAnimationFrame(() => performance.mark('lesson-first-frame'));
    }

    // The mouse goes to the program by the page's hand (see BrowserPage.cpp):
    // caught on its way to the canvas, before the platform's own handler.
    // Touch goes on to the platform, which turns it into the mouse itself.
    function passPointer(kind, event) {
        const module = loader && loader.module();
        if (event.pointerType !== 'mouse' || !module || !module.kansuPointer)
            return;
        if (event.target !== screen && kind === 'down')
            return;
        event.stopPropagation();
        event.preventDefault();
        if (kind === 'down')
            screen.setPointerCapture(event.pointerId);
        else if (kind === 'up' && screen.hasPointerCapture(event.pointerId))
            screen.releasePointerCapture(event.pointerId);
        screen.focus();
        const box = screen.getBoundingClientRect();
        const modifiers = (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0)
                        | (event.altKey ? 4 : 0) | (event.metaKey ? 8 : 0);
        module.kansuPointer(kind, event.clientX - box.left, event.clientY - box.top,
                            event.buttons, kind === 'move' ? -1 : event.button, modifiers);
    }

    function catchPointer() {
        const stage = document.getElementById('stage');
        const kinds = { pointerdown: 'down', pointermove: 'move', pointerup: 'up', pointercancel: 'up' };
        for (const [type, kind] of Object.entries(kinds))
            stage.addEventListener(type, (event) => passPointer(kind, event), { capture: true });
    }

    function webGLAvailable() {
        const canvas = document.createElement('canvas');
        try {
            return !!(window.WebGLRenderingContext
                      && (canvas.getContext('webgl') || canvas.getContext('experimental-webgl')));
        } catch (e) {
            return false;
        }
    }

    function start() {
        document.getElementById('restart').addEventListener('click', () => location.reload());
        if (typeof WebAssembly !== 'object') {
            say('このブラウザーは WebAssembly に対応していないため、授業を開けません。'
                + ' 新しいブラウザーで開いてください。', true);
            return;
        }
        if (!webGLAvailable()) {
            say('このブラウザーでは WebGL が使えないため、授業を開けません。'
                + ' ブラウザーの設定でハードウェアアクセラレーション（WebGL）を有効にしてください。', true);
            return;
        }
        say('読み込み中…');
        loader = QtLoader({
            canvasElements: [screen],
            showLoader: function (loaderStatus) {
                say(loaderStatus === 'Compiling' ? '準備中…' : '読み込み中…');
            },
            showError: function (errorText) {
                say('授業を開けませんでした: ' + errorText, true);
            },
            showExit: function () {
                if (!endedNotice.hidden)
                    return;
                if (loader.crashed)
                    say('プログラムが止まりました: ' + (loader.exitText || '') , true);
                else
                    ended();
            },
            showCanvas: function () {
                showNotice(null);
                return screen;
            },
        });
        loader.loadEmscriptenModule('kansu-envelope');
        window.addEventListener('resize', refit);
        catchPointer();
    }

    return { start: start, fit: fit, ended: ended, setTitle: setTitle,
             distance: distance, stepTimed: stepTimed, painted: painted };
})();
