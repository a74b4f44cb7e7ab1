// Handing the figure to the class. A link may carry a figure in the page's
// address, "#figure=10456" (the figure's code, src/board/FigureCode.h: one
// digit per slot, slot 0 at side AB first). The program reads it as the
// lesson starts and whenever the fragment of the open page changes, puts
// that figure into the envelope when the pupil's drags could have made it,
// and tells the page the figure's code whenever it changes: in the canvas's
// data-figure, with a "lessonfigure" event. The teacher's button in the
// footer shows the link to the figure on the board (this page and the
// figure, nothing else of the teacher's address), a way to copy it and its
// QR code, for the pupils' tablets.
'use strict';

window.kansuShare = (function () {
    const key = 'figure';             // the address fragment's name for the figure
    const screen = document.getElementById('screen');
    const panel = document.getElementById('share-panel');
    const link = document.getElementById('share-link');
    const qr = document.getElementById('share-qr');
    const copied = document.getElementById('share-copied');
    let shown = '';                   // the figure the program told last
    // Said in the QR code's place when the link is too long for one.
    const tooLong = document.createElement('p');
    tooLong.id = 'share-too-long';
    tooLong.hidden = true;
    tooLong.textContent = 'このページのアドレスが長すぎて QR コードにできません。リンクをコピーして配ってください。';
    qr.after(tooLong);

    // The figure's text in the address, "" for none: the program decides
    // whether it stands for a figure.
    function figureInAddress() {
        return new URLSearchParams(location.hash.slice(1)).get(key) || '';
    }

    // `read` gets the figure's text whenever the address's fragment comes
    // to name a figure in the open page (a figure link opened in the tab
    // that shows the lesson changes only the fragment); the program reads
    // it as it reads the address's figure at the start.
    function followAddress(read) {
        window.addEventListener('hashchange', () => {
            const fragment = new URLSearchParams(location.hash.slice(1));
            if (fragment.has(key))
                read(fragment.get(key));
        });
    }

    function figure(code) {
        shown = code;
        screen.dataset.figure = code;
        screen.dispatchEvent(new CustomEvent('lessonfigure', { detail: code, bubbles: true }));
    }

    // The link for the pupils: this page (its origin and path) with the
    // figure on the board in its fragment, and nothing else of the
    // teacher's address: its query (a learning platform's launch link with
    // the teacher's token) and the rest of its fragment stay behind.
    function address() {
        const url = new URL(location.origin + location.pathname);
        url.hash = new URLSearchParams([[key, shown]]).toString();
        return url.href;
    }

    // The link's QR code as SVG, or null when the link is longer than a
    // code holds.
    function qrSvg(href) {
        // Error correction M: a quarter of a projected, photographed code
        // may be unreadable. The margin is the four modules the code's
        // readers expect around it.
        const code = qrcode(0, 'M');
        code.addData(href);
        try {
            code.make();
        } catch (e) {
            return null; // "code length overflow": past the largest code
        }
        return code.createSvgTag({ cellSize: 1, margin: 4, scalable: true });
    }

    function open() {
        const href = address();
        link.href = href;
        link.textContent = href;
        copied.textContent = '';
        const svg = qrSvg(href);
        qr.hidden = svg === null;
        qr.innerHTML = svg || '';
        tooLong.hidden = svg !== null;
        panel.showModal();
    }

    async function copy() {
        try {
            await navigator.clipboard.writeText(link.href);
            copied.textContent = 'コピーしました。';
            return;
        } catch (e) {
            // No clipboard for this page (one not served over https, or
            // refused): the link's text is selected for the keyboard's copy.
        }
        const range = document.createRange();
        range.selectNodeContents(link);
        const selection = window.getSelection();
        selection.removeAllRanges();
        selection.addRange(range);
        let done = false;
        try {
            done = document.execCommand('copy');
        } catch (e) {
            done = false;
        }
        copied.textContent = done ? 'コピーしました。'
                                  : 'リンクを選びました。Ctrl+C（Mac では ⌘+C）でコピーしてください。';
    }

    const button = document.getElementById('share');
    document.getElementById('share-title').textContent = button.textContent; // the panel is named as its button
    button.addEventListener('click', open);
    document.getElementById('share-copy').addEventListener('click', copy);
    document.getElementById('share-close').addEventListener('click', () => panel.close());
    // Closed by its button or by Escape, the panel gives the focus back to
    // its button; the presenter's keys step P wherever the focus is.

    return { figureInAddress: figureInAddress, followAddress: followAddress, figure: figure };
})();
