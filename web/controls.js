// The lesson's controls as HTML elements over the lesson (PageControls.cpp
// and LessonVoice.cpp in the program): real buttons, check boxes and text
// fields that a screen reader names, the keyboard reaches in the window's
// order, the browser zooms, translates and types into with an input method.
// They hold no state and no rule of their own: the program describes them
// (place, caption, colours, face, size), takes every click, check and text,
// and tells back each control's state whenever it changes. Beside them: the
// board, the graph and the table as named regions over the program's
// pixels, a status region that says x and y, and the lesson's table as an
// HTML table.
'use strict';

window.kansuControls = (function () {
    const layer = document.getElementById('controls');      // placed over the canvas
    const sheet = document.getElementById('controls-sheet'); // the window's client area, in its pixels
    const status = document.getElementById('lesson-status');
    const tableBody = document.getElementById('lesson-table-rows');
    const boardText = document.getElementById('board-text');
    const FACE = 'LessonFace';
    const elements = new Map(); // control name -> { kind, element (the placed one), field (the input) }
    let composing = false;       // an input method is composing in a text field

    function module() {
        return window.kansuPage && kansuPage.module();
    }

    function act(name, what, value) {
        const m = module();
        if (m && m.kansuControl)
            m.kansuControl(name, what, value);
    }

    function place(element, rect) {
        const [x, y, w, h] = rect;
        Object.assign(element.style, { left: x + 'px', top: y + 'px', width: w + 'px', height: h + 'px' });
    }

    function looks(element, d) {
        if (d.back) element.style.backgroundColor = d.back;
        if (d.fore) element.style.color = d.fore;
        if (d.fontPx) element.style.fontSize = d.fontPx + 'px';
        element.style.fontWeight = d.bold ? 'bold' : 'normal';
    }

    // The keys that the program gives a control, as its description says.
    function described(element, d) {
        if (!d.description)
            return;
        const note = document.createElement('span');
        note.id = 'note-' + d.name;
        note.className = 'unseen';
        note.textContent = d.description;
        layer.append(note);
        element.setAttribute('aria-describedby', note.id);
    }

    function textField(d) {
        const field = document.createElement('input');
        field.type = 'text';
        field.setAttribute('aria-label', d.label);
        field.autocomplete = 'off';
        field.spellcheck = false;
        if (d.readOnly)
            field.readOnly = true;
        if (d.items) {
            const list = document.createElement('datalist');
            list.id = 'list-' + d.name;
            for (const item of d.items) {
                const option = document.createElement('option');
                option.value = item;
                list.append(option);
            }
            layer.append(list);
            field.setAttribute('list', list.id);
        }
        // What the pupil typed is the program's text, as on the desktop;
        // an input method's composition counts once it is confirmed.
        const send = () => act(d.name, 'text', field.value);
        field.addEventListener('input', (event) => { if (!event.isComposing && !composing) send(); });
        field.addEventListener('compositionstart', () => { composing = true; });
        field.addEventListener('compositionend', () => { composing = false; send(); });
        return field;
    }

    // A caption drawn with blanks between its letters ("自    動") is heard
    // by its name ("自動"), which is also what voice control listens for.
    function caption(element, shown, heard) {
        if (!heard || heard === shown) {
            element.textContent = shown;
            return;
        }
        const seen = document.createElement('span');
        seen.setAttribute('aria-hidden', 'true');
        seen.textContent = shown;
        const said = document.createElement('span');
        said.className = 'unseen';
        said.textContent = heard;
        element.append(seen, said);
    }

    function make(d) {
        let element, field;
        switch (d.kind) {
        case 'button':
            element = field = document.createElement('button');
            element.type = 'button';
            caption(element, d.caption, d.label);
            element.addEventListener('click', () => act(d.name, 'click'));
            break;
        case 'checkbox':
            element = document.createElement('label');
            field = document.createElement('input');
            field.type = 'checkbox';
            element.append(field);
            if (d.caption) {
                const caption = document.createElement('span');
                caption.textContent = d.caption;
                element.append(caption);
            } else {
                field.setAttribute('aria-label', d.label);
            }
            field.addEventListener('change', () => act(d.name, 'check', field.checked));
            break;
        case 'combobox':
        case 'textbox':
            element = field = textField(d);
            // The program paints this one: on focus, its element is told
            // the text at once (it is told a new one at most once a second).
            if (d.painted) {
                element.classList.add('painted');
                field.addEventListener('focus', () => act(d.name, 'heard'));
            }
            break;
        default: // a surface: the program's pixels, named; the board takes keys
            element = field = document.createElement('div');
            element.setAttribute('aria-label', d.label);
            if (d.name === 'kokuban') {
                element.setAttribute('role', 'application');
                element.tabIndex = 0;
                element.setAttribute('aria-describedby', boardText.id);
            } else {
                element.setAttribute('role', 'img');
            }
            break;
        }
        element.classList.add('control', d.kind);
        element.dataset.control = d.name;
        place(element, d.rect);
        looks(element, d);
        described(field, d);
        return { kind: d.kind, element, field };
    }

    // The program's controls, in its keyboard order.
    function build(list) {
        for (const d of list) {
            const made = make(d);
            elements.set(d.name, made);
            sheet.append(made.element);
        }
    }

    // A control's state as the program has it now. Only what differs is
    // written: the read-out is told at every step, and an attribute written
    // even with its own value has the browser look at the element's style
    // again.
    function state(name, s) {
        const made = elements.get(name);
        if (!made)
            return;
        if (made.element.hidden !== !s.shown)
            made.element.hidden = !s.shown;
        if (made.kind !== 'surface' && made.field.disabled !== !s.enabled)
            made.field.disabled = !s.enabled;
        if ('checked' in s && made.field.checked !== s.checked)
            made.field.checked = s.checked;
        if ('text' in s && made.field.value !== s.text && !(composing && document.activeElement === made.field))
            made.field.value = s.text;
    }

    // The face the program draws in, from its own resources.
    function useFace(bytes) {
        if (!window.FontFace || !document.fonts)
            return;
        const face = new FontFace(FACE, new Uint8Array(bytes)); // a copy: the view is the program's memory
        face.load().then((loaded) => document.fonts.add(loaded)).catch(() => {});
    }

    // The same words again would not be read again: they are told apart by
    // an invisible mark.
    function say(text) {
        status.textContent = status.textContent === text ? text + '\u200b' : text;
    }

    // The program tells the whole table at each step, which adds a column
    // or changes none: only the cells whose text differs are written, and
    // the table keeps the rest, so the browser lays out the new ones alone.
    // `text` holds one line per column, its x and its y apart by a tab (one
    // string, as each value handed over from the program costs a crossing).
    function table(text) {
        const rows = text ? text.split('\n').map((line) => line.split('\t')) : [];
        const [xRow, yRow] = tableBody.rows;
        for (const row of [xRow, yRow])
            while (row.cells.length > rows.length + 1)
                row.deleteCell(-1);
        rows.forEach(([x, y], k) => {
            for (const [row, text] of [[xRow, x], [yRow, y]]) {
                const cell = row.cells[k + 1] || row.insertCell();
                if (cell.textContent !== text)
                    cell.textContent = text;
            }
        });
    }

    function describeBoard(text) {
        if (boardText.textContent !== text)
            boardText.textContent = text;
    }

    // Over the canvas, at the scale the page shows the lesson at: `box` is
    // the canvas's place and size in CSS pixels, `client` the window's size
    // in the lesson's pixels, `scale` CSS pixels per lesson pixel.
    function fitTo(box, client, scale) {
        Object.assign(layer.style, { left: box.left, top: box.top, width: box.width, height: box.height });
        Object.assign(sheet.style, { width: client.width + 'px', height: client.height + 'px',
                                     transform: `scale(${scale})` });
        layer.style.setProperty('--scale', String(scale));
    }

    // A press on the canvas gives the focus to the surface under it, as a
    // click gives the board the focus on the desktop; elsewhere the page
    // itself takes it, and with it the window's keys.
    function focusAt(clientX, clientY) {
        for (const made of elements.values()) {
            if (made.kind !== 'surface' || made.element.hidden)
                continue;
            const box = made.element.getBoundingClientRect();
            if (clientX >= box.left && clientX < box.right && clientY >= box.top && clientY < box.bottom) {
                if (made.element.tabIndex >= 0) {
                    // Focused by the pointer: no ring, as for any control
                    // clicked (the ring is for the keyboard).
                    made.element.classList.add('pointer-focus');
                    made.element.addEventListener('blur', () => made.element.classList.remove('pointer-focus'),
                                                  { once: true });
                    made.element.focus({ preventScroll: true, focusVisible: false });
                }
                else if (document.activeElement && document.activeElement !== document.body)
                    document.activeElement.blur();
                return;
            }
        }
    }

    // Keys go to the program wherever the focus is, except in the share
    // panel: the window's keys (the presenter's) step and run, the board
    // takes its own, and a text field keeps the keys it edits with, as the
    // program decides. A focused button or box keeps Space and Enter, and
    // Tab moves the focus, as browsers make them.
    function forwardKey(event, press) {
        if (event.isComposing || event.keyCode === 229 || event.defaultPrevented)
            return;
        if (['Shift', 'Control', 'Alt', 'Meta', 'Tab', 'CapsLock'].includes(event.key))
            return;
        const active = document.activeElement;
        if (active && active.closest('dialog'))
            return;
        const holder = active && active.closest('[data-control]');
        const name = holder ? holder.dataset.control : '';
        const pressable = active && active.matches('button, a[href], input[type="checkbox"]');
        if (pressable && (event.key === ' ' || event.key === 'Enter'))
            return;
        const m = module();
        if (!m || !m.kansuKey)
            return;
        const modifiers = (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0)
                        | (event.altKey ? 4 : 0) | (event.metaKey ? 8 : 0);
        if (m.kansuKey(name, press, event.key, event.code, modifiers, event.repeat))
            event.preventDefault();
    }

    // The toolkit listens on its canvas too: the canvas never keeps the
    // focus, and a key that reaches it all the same is heard once, from here.
    const screen = document.getElementById('screen');
    screen.addEventListener('focus', () => screen.blur());
    for (const [type, press] of [['keydown', true], ['keyup', false]])
        window.addEventListener(type, (event) => {
            forwardKey(event, press);
            if (event.target === screen)
                event.stopPropagation();
        }, { capture: true });
    layer.style.setProperty('--face', `"${FACE}"`);

    return { build, state, useFace, say, table, describeBoard, fitTo, focusAt };
})();
