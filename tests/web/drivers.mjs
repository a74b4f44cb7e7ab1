// The browser engines the page is tested in, each behind one small
// interface so that one scenario runs in all of them. Positions are page
// pixels (CSS pixels from the viewport's top left corner).
//
//   open(url)          loads the page
//   evaluate(fn, arg)  runs fn(arg) in the page and gives its result (a
//                      promise's value once it settles)
//   pointer(steps)     the mouse: ['move', x, y], ['down'], ['up'] (the
//                      main button), ['pause', ms]
//   screenshot()       the viewport as PNG bytes (a Buffer)
//   close()            ends the browser and all that it started
//
// Each engine's launch(display) gives a driver whose viewport is VIEWPORT.
// Firefox and WebKit need a window: `display` names an X display for them.
import { spawn } from 'node:child_process';
import { readdirSync, existsSync } from 'node:fs';
import puppeteer from 'puppeteer-core';
import { launchBrowser } from './lesson.mjs';
import { WebDriver } from './webdriver.mjs';

export const VIEWPORT = { width: 1280, height: 800 };

// A browser's start, its first page included, on a busy machine.
const LAUNCH_MS = 120000;

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Playwright's and puppeteer's pages take the same calls.
function pageDriver(page, close) {
    return {
        open: (url) => page.goto(url, { timeout: LAUNCH_MS }),
        evaluate: (fn, arg) => page.evaluate(fn, arg),
        async pointer(steps) {
            for (const [kind, a, b] of steps) {
                if (kind === 'move')
                    await page.mouse.move(a, b);
                else if (kind === 'pause')
                    await sleep(a);
                else
                    await page.mouse[kind]();
            }
        },
        screenshot: async () => Buffer.from(await page.screenshot()),
        close,
    };
}

// The viewport's size over WebDriver BiDi. puppeteer sends a screen
// orientation override beside the size at every setViewport; Firefox ESR
// 140 (Debian 12's main suite) knows no such command and answers "unknown
// command", ESR 153 (its security suite) takes it. The size goes out in the
// same breath either way: without the override, it counts once the page
// has it.
async function setFirefoxViewport(page) {
    try {
        await page.setViewport(VIEWPORT);
    } catch (e) {
        if (!/unknown command/.test(e.message) || !/setScreenOrientationOverride/.test(e.message))
            throw e;
        await page.waitForFunction((width, height) => window.innerWidth === width && window.innerHeight === height,
                                   { polling: 100, timeout: LAUNCH_MS }, VIEWPORT.width, VIEWPORT.height);
    }
}

// WebKitGTK's own browser for automation, wherever the architecture puts
// its library folder (or MINIBROWSER).
function miniBrowser() {
    if (process.env.MINIBROWSER)
        return process.env.MINIBROWSER;
    for (const dir of readdirSync('/usr/lib')) {
        const path = `/usr/lib/${dir}/webkit2gtk-4.1/MiniBrowser`;
        if (existsSync(path))
            return path;
    }
    throw new Error('no MiniBrowser in /usr/lib/*/webkit2gtk-4.1 (Debian package libwebkit2gtk-4.1-0)');
}

export const ENGINES = [
    {
        name: 'Chromium',
        async launch() {
            const browser = await launchBrowser();
            const context = await browser.newContext({ viewport: VIEWPORT });
            return pageDriver(await context.newPage(), () => browser.close());
        },
    },
    {
        // Over WebDriver BiDi, in a window: headless Firefox has no WebGL
        // here, and the page does not start without it.
        name: 'Firefox',
        async launch(display) {
            const browser = await puppeteer.launch({
                browser: 'firefox', protocol: 'webDriverBiDi',
                executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
                headless: false, env: { ...process.env, DISPLAY: display },
                timeout: LAUNCH_MS,
            });
            const [page] = await browser.pages();
            try {
                await setFirefoxViewport(page);
            } catch (e) {
                await browser.close();
                throw e;
            }
            return pageDriver(page, () => browser.close());
        },
    },
    {
        // WebKit, the engine of Safari, as WebKitGTK's MiniBrowser.
        name: 'WebKit',
        async launch(display) {
            const driver = await WebDriver.launch(process.env.WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver',
                                                  { ...process.env, DISPLAY: display },
                                                  { 'webkitgtk:browserOptions': { binary: miniBrowser(), args: ['--automation'] } },
                                                  LAUNCH_MS);
            try {
                await driver.setViewport(VIEWPORT);
            } catch (e) {
                await driver.close();
                throw e;
            }
            return driver;
        },
    },
];

// An X server of this process's own, on the first free display; 24 bits
// deep, or the windows' colours would not be the page's.
export async function startDisplay() {
    const server = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                         { stdio: ['ignore', 'ignore', 'pipe', 'pipe'] });
    let log = '';
    server.stderr.on('data', (data) => { log = (log + data).slice(-2000); });
    const exited = new Promise((done) => { server.once('exit', done); server.once('error', done); });
    const number = await new Promise((resolve, reject) => {
        let text = '';
        server.stdio[3].on('data', (data) => {
            text += data;
            if (text.includes('\n'))
                resolve(text.trim());
        });
        exited.then(() => reject(new Error(`Xvfb ended before it opened a display: ${log}`)));
    });
    return {
        display: `:${number}`,
        async stop() {
            server.kill();
            await exited;
        },
    };
}
