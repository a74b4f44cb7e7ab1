// The contrast view's button in the page's footer: pressed, the program
// draws the board in colours that keep at least 3:1 contrast with their
// neighbours (a washed-out projector, a colour-blind pupil; the desktop's
// --contrast). The browser remembers the choice for the next visit. The
// program asks for the choice as it starts and hands over its switch,
// which the button calls at every press.
'use strict';

window.kansuContrast = (function () {
    const key = 'kansu-contrast'; // localStorage: "on" or "off"
    const button = document.getElementById('contrast');
    let program = null;           // the program's switch, once it runs

    function remembered() {
        try {
            return localStorage.getItem(key) === 'on';
        } catch (e) {
            return false; // storage refused (a private window's, a sandbox's)
        }
    }

    function show(on) {
        button.setAttribute('aria-pressed', on ? 'true' : 'false');
    }

    function choose(on) {
        show(on);
        try {
            localStorage.setItem(key, on ? 'on' : 'off');
        } catch (e) {
            // not remembered; the view switches all the same
        }
        if (program)
            program(on);
    }

    // The view the page remembers, for the program as it starts.
    function wanted() {
        return button.getAttribute('aria-pressed') === 'true';
    }

    // The program's switch, called with true or false at every press.
    function follow(switchView) {
        program = switchView;
    }

    show(remembered());
    button.addEventListener('click', () => choose(!wanted()));

    return { wanted: wanted, follow: follow };
})();
