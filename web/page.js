// The page around the lesson: it loads the program (load.js brings its
// files), fits the program's window to the browser window at its pixel
// ratio, passes the mouse and the pen to it, and shows what the program
// cannot: how far the loading has come, that it failed, that the browser
// lacks what it needs, that the program has ended. Once the lesson runs,
// a service worker keeps the page for the next visit and for offline use.
'use strict';

window.kansuPage = (function () {
    const screen = document.getElementById('screen');
    const status = document.getElementById('status');
    const statusText = document.getElementById('status-text');
    const progress = document.getElementById('progress');
    const retryRow = document.getElementById('retry-row');
    const endedNotice = document.getElementById('ended');
    const footer = document.getElementById('credits');
    const controls = document.getElementById('controls');
    let client = null;     // the window's client size in the lesson's pixels
    let loader = null;

    function showNotice(notice) {
        for (const element of [status, endedNotice])
            element.hidden = element !== notice;
        document.body.classList.toggle('notice-shown', notice !== null);
        screen.style.display = notice === null ? 'block' : 'none';
        controls.hidden = notice !== null;
    }

    function say(text, failed) {
        statusText.textContent = text;
        status.classList.toggle('failed', !!failed);
        progress.hidden = !!failed;
        showNotice(status);
    }

    // The bytes received over those expected; once all are in, the
    // program is compiled and started.
    function loading(received, expected) {
        if (status.classList.contains('failed'))
            return;
        const megabytes = (bytes) => (bytes / 1e6).toFixed(1);
        if (expected > 0 && received >= expected) {
            progress.removeAttribute('value'); // an indeterminate bar
            statusText.textContent = '準備中…';
        } else if (expected > 0) {
            progress.max = expected;
            progress.value = received;
            statusText.textContent = `読み込み中… ${megabytes(received)} / ${megabytes(expected)} MB`;
        }
    }

    // What failed, as load.js tells it: the network, or the server's
    // answer for one file (its HTTP status).
    function failureText(error) {
        const reason = error && error.message;
        if (reason === 'stalled')
            return '読み込みが止まりました。ネットワークを確かめて、もう一度読み込んでください。';
        if (reason === 'status' && (error.status === 404 || error.status === 410))
            return `ファイル ${error.file} がサーバーにありません（${error.status}）。`
                + 'このページを置いた人に知らせてください。';
        if (reason === 'status')
            return `サーバーがファイル ${error.file} を送りませんでした（${error.status}）。`
                + 'しばらくしてから、もう一度読み込んでください。';
        return '読み込みに失敗しました。ネットワークを確かめて、もう一度読み込んでください。';
    }

    function loadFailed(error) {
        say(failureText(error), true);
        retryRow.hidden = false;
    }

    // The browser's own device pixel ratio, whatever the page tells the
    // program (below).
    const browserRatio = (function () {
        for (let object = window; object; object = Object.getPrototypeOf(object)) {
            const own = Object.getOwnPropertyDescriptor(object, 'devicePixelRatio');
            if (own && own.get)
                return () => own.get.call(window) || 1;
        }
        return () => 1;
    })();

    // The canvas pixels per CSS pixel the program draws at, 0 for the
    // browser's own ratio. The toolkit draws its widgets at one canvas
    // pixel per lesson pixel or more, never fewer: its painter takes a
    // ratio below 1 as 1, while its clipping and backing store follow the
    // true ratio, so that each control is drawn too far right and down and
    // clipped away at its own place. Where the lesson is shown at fewer
    // device pixels than it has, the program draws it one canvas pixel per
    // lesson pixel and the browser scales that picture down. The toolkit's
    // platform takes the canvas's pixels per CSS pixel from
    // window.devicePixelRatio, which answers it with this ratio.
    let drawingRatio = 0;
    try {
        Object.defineProperty(window, 'devicePixelRatio', {
            configurable: true, enumerable: true, get: () => drawingRatio || browserRatio() });
    } catch (e) {
        // A browser that keeps its own: the program draws at its ratio.
    }

    // The toolkit composes the window on the canvas by copying one picture
    // of it pixel for pixel, and asks for a smoothed (multisampled) drawing
    // buffer, which changes no pixel of that copy: the browser would keep
    // four samples of every pixel of the canvas and resolve them at every
    // frame, in the graphics memory of a cheap laptop or a tablet.
    const getContext = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (type, attributes) {
        if (this === screen && /webgl/.test(type))
            attributes = Object.assign({}, attributes, { antialias: false });
        return getContext.call(this, type, attributes);
    };

    // The largest scale at which the whole client area fits the browser
    // window, in whole device pixels: the canvas's backing store is a whole
    // number of device pixels, so its CSS size is that number over the
    // device pixel ratio, and it stands on a whole device pixel, or the
    // browser would resample the picture and blur every edge. The program
    // draws at the returned scale times the device pixel ratio, so the
    // window fills the backing store pixel for pixel. Below one device
    // pixel per lesson pixel, see shrink().
    function fit(width, height) {
        client = { width: width, height: height };
        if (endedNotice.hidden)
            showNotice(null); // the window is up: the canvas takes the notice's place
        const ratio = browserRatio();
        const [roomWidth, roomHeight] = roomBesideButtons(width, height);
        const fitting = Math.min(roomWidth / width, roomHeight / height);
        if (fitting * ratio < 1)
            return shrink(width, height, roomWidth, roomHeight);
        drawingRatio = 0;
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
        const scale = Math.min(deviceWidth / (width * ratio), deviceHeight / (height * ratio));
        kansuControls.fitTo(screen.style, client, scale);
        return scale;
    }

    // The lesson shown at fewer device pixels than lesson pixels: the
    // canvas holds the window one pixel per lesson pixel, and the browser
    // shows it at the largest scale that fits. The toolkit sizes the
    // canvas at its CSS size times the drawing ratio, cut to whole pixels:
    // the CSS size holds half a lesson pixel more each way, so that the
    // cut keeps every pixel of the window.
    function shrink(width, height, roomWidth, roomHeight) {
        const scale = Math.min(roomWidth / (width + 0.5), roomHeight / (height + 0.5));
        drawingRatio = 1 / scale;
        if (scale * drawingRatio < 1)
            drawingRatio *= 1 + 2 * Number.EPSILON; // never below one canvas pixel per lesson pixel
        const css = (length) => Math.round(length * 64) / 64;
        const cssWidth = css((width + 0.5) * scale), cssHeight = css((height + 0.5) * scale);
        screen.style.width = cssWidth + 'px';
        screen.style.height = cssHeight + 'px';
        screen.style.left = css((roomWidth - cssWidth) / 2) + 'px';
        screen.style.top = css((roomHeight - cssHeight) / 2) + 'px';
        kansuControls.fitTo(screen.style, client, scale);
        return scale;
    }

    // The page's own buttons (この図を配る) grow with the lesson: they are
    // drawn at the lesson's scale, never below their own size. The room the
    // lesson takes depends on the footer, and the footer on the lesson's
    // scale: a few rounds settle both, the last room measured with the
    // footer at the size it keeps, so that the lesson stays clear of it.
    function roomBesideButtons(width, height) {
        let scale = 1, space;
        for (let round = 0; round < 3; round++) {
            document.documentElement.style.setProperty('--page-button-scale', String(Math.max(1, scale)));
            space = room(width, height);
            scale = Math.min(space[0] / width, space[1] / height);
        }
        return space;
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

    // A change of the device pixel ratio without a resize (the window moved
    // to a screen of another scaling, a zoom) refits too. A media query
    // matches one ratio only, so each change sets up the next one's. Some
    // browsers change the ratio without telling the query (an emulated
    // device, for one): a look once a second catches those.
    let followedRatio = 0;
    function followPixelRatio() {
        followedRatio = browserRatio();
        const query = matchMedia(`(resolution: ${followedRatio}dppx)`);
        query.addEventListener('change', ratioChanged, { once: true });
    }

    function ratioChanged() {
        if (browserRatio() === followedRatio)
            return;
        refit();
        followPixelRatio();
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
        keepForLater();
    }

    // The service worker, once the lesson runs and the program's files are
    // in the cache: it needs a secure context (https, or this machine).
    function keepForLater() {
        if (!('serviceWorker' in navigator) || !window.isSecureContext)
            return;
        kansuLoad.kept()
            .then(() => navigator.serviceWorker.register('sw.js', { updateViaCache: 'none' }))
            .catch(() => {}); // the page works as it is without it
    }

    // The mouse and the pen go to the program by the page's hand (see
    // BrowserPage.cpp): caught on their way to the canvas, before the
    // platform's own handler, which knows no pen. A pen's tip is the left
    // button. Touch goes on to the platform, which turns it into the mouse
    // itself.
    function programTakes(event) {
        const module = loader && loader.module();
        const pointer = event.pointerType === 'mouse' || event.pointerType === 'pen';
        return pointer && module && module.kansuPointer ? module : null;
    }

    function passPointer(kind, event) {
        if (kind === 'down' && event.target === screen)
            kansuControls.focusAt(event.clientX, event.clientY);
        const module = programTakes(event);
        if (!module)
            return;
        if (event.target !== screen && kind === 'down')
            return;
        event.stopPropagation();
        event.preventDefault();
        if (kind === 'down')
            screen.setPointerCapture(event.pointerId);
        else if (kind === 'up' && screen.hasPointerCapture(event.pointerId))
            screen.releasePointerCapture(event.pointerId);
        const box = screen.getBoundingClientRect();
        const modifiers = (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0)
                        | (event.altKey ? 4 : 0) | (event.metaKey ? 8 : 0);
        module.kansuPointer(kind, event.clientX - box.left, event.clientY - box.top,
                            event.buttons, kind === 'move' ? -1 : event.button, modifiers,
                            event.pointerType === 'pen');
    }

    // A move reaches the program as soon as the browser has it where the
    // browser offers that (its raw updates): its own moves wait for the
    // next frame to begin, and on a slow processor that wait is a good part
    // of what a dragged P lags behind the pointer. At most one raw update
    // goes ahead of each frame's own move, which then brings any later ones
    // (it carries the pointer's latest place), so a mouse that reports a
    // thousand times a second costs no more than a move a frame or two.
    function catchPointer() {
        const stage = document.getElementById('stage');
        const kinds = { pointerdown: 'down', pointerup: 'up', pointercancel: 'up' };
        for (const [type, kind] of Object.entries(kinds))
            stage.addEventListener(type, (event) => passPointer(kind, event), { capture: true });
        const raw = 'onpointerrawupdate' in window;
        let aheadOfFrame = false; // a raw update went ahead since the last frame's move
        let behind = false;       // and later ones wait for that move
        stage.addEventListener('pointermove', (event) => {
            if (!raw || behind) {
                passPointer('move', event);
            } else if (programTakes(event)) {
                event.stopPropagation(); // the program has it already
                event.preventDefault();
            }
            aheadOfFrame = behind = false;
        }, { capture: true });
        if (raw)
            stage.addEventListener('pointerrawupdate', (event) => {
                if (aheadOfFrame) {
                    behind = true;
                    return;
                }
                aheadOfFrame = true;
                passPointer('move', event);
            }, { capture: true });
    }

    function exited() {
        if (!endedNotice.hidden)
            return;
        if (loader.crashed)
            say('プログラムが止まりました: ' + (loader.exitText || '') , true);
        else
            ended();
    }

    // The program has stopped (emscripten's abort). A failed download, for
    // which the loader calls this too, has been said already.
    function aborted(what) {
        if (loader.status === 'Error')
            return;
        loader.crashed = true;
        loader.exitText = String(what);
        exited();
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
        document.getElementById('retry').addEventListener('click', () => location.reload());
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
        kansuLoad.install(loading, loadFailed);
        loader = QtLoader({
            canvasElements: [screen],
            showLoader: function () {
                showNotice(status); // the bar and its words follow the bytes
            },
            showError: function (errorText) {
                if (!retryRow.hidden)
                    return; // a failed download has said so already
                say('授業を開けませんでした: ' + errorText, true);
                retryRow.hidden = false;
            },
            showExit: exited,
            showCanvas: function () {
                showNotice(null);
                return screen;
            },
        });
        // The loader calls the module's onAbort also when a download has
        // failed, before it has given the module one of its own, and then
        // throws a TypeError: the page gives it one from the start, which
        // does what the loader's own would.
        window.moduleConfig.onAbort = aborted;
        loader.loadEmscriptenModule('kansu-envelope');
        window.addEventListener('resize', refit);
        followPixelRatio();
        setInterval(ratioChanged, 1000);
        catchPointer();
    }

    return { start: start, fit: fit, pixelRatio: browserRatio, ended: ended, setTitle: setTitle,
             module: () => loader && loader.module(),
             distance: distance, stepTimed: stepTimed, painted: painted };
})();
