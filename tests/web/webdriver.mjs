// A browser driven over classic W3C WebDriver (HTTP and JSON): the few
// commands the page's scenario needs, in the shape of drivers.mjs's
// interface. A client of node's own fetch, for a driver program (such as
// WebKitGTK's WebKitWebDriver) that this process starts and ends.
import { spawn } from 'node:child_process';
import { createServer } from 'node:net';

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// A free port on the loopback interface.
function freePort() {
    return new Promise((resolve, reject) => {
        const server = createServer().listen(0, '127.0.0.1', () => {
            const { port } = server.address();
            server.close(() => resolve(port));
        }).on('error', reject);
    });
}

export class WebDriver {
    // Starts `program` with `env`, waits until it answers, and opens a
    // session with the browser `capabilities` asks for.
    static async launch(program, env, capabilities, readyMs) {
        const port = await freePort();
        const child = spawn(program, [`--host=127.0.0.1`, `--port=${port}`], { env, stdio: ['ignore', 'ignore', 'pipe'] });
        let log = '', ended = false;
        child.stderr.on('data', (data) => { log = (log + data).slice(-2000); });
        const exited = new Promise((done) => {
            child.once('exit', () => { ended = true; done(); });
            child.once('error', (e) => { ended = true; log += e.message; done(); });
        });
        const driver = new WebDriver(`http://127.0.0.1:${port}`, child, exited);
        try {
            const deadline = Date.now() + readyMs;
            while (!(await driver.call('GET', '/status').then((status) => status.ready, () => false))) {
                if (ended || Date.now() > deadline)
                    throw new Error(`${program} does not answer: ${log}`);
                await sleep(100);
            }
            driver.session = (await driver.call('POST', '/session', { capabilities: { alwaysMatch: capabilities } })).sessionId;
        } catch (e) {
            await driver.close();
            throw e;
        }
        return driver;
    }

    constructor(base, child, exited) {
        this.base = base;
        this.child = child;
        this.exited = exited;
    }

    async call(method, path, body) {
        const response = await fetch(this.base + path, {
            method, headers: { 'content-type': 'application/json; charset=utf-8' },
            body: body === undefined ? undefined : JSON.stringify(body) });
        const { value } = await response.json();
        if (!response.ok)
            throw new Error(`WebDriver ${method} ${path}: ${value?.error}: ${value?.message}`);
        return value;
    }

    command(method, name, body) { return this.call(method, `/session/${this.session}/${name}`, body); }

    // The window sized so that the page's viewport is width x height CSS
    // pixels: the window's frame is what the first try leaves over.
    async setViewport({ width, height }) {
        await this.command('POST', 'window/rect', { width, height });
        const [innerWidth, innerHeight] = await this.evaluate(() => [window.innerWidth, window.innerHeight]);
        await this.command('POST', 'window/rect', { width: 2 * width - innerWidth, height: 2 * height - innerHeight });
    }

    open(url) { return this.command('POST', 'url', { url }); }

    // A promise that fn returns is awaited by the browser.
    evaluate(fn, arg) {
        return this.command('POST', 'execute/sync',
                            { script: `return (${fn}).apply(null, arguments)`, args: arg === undefined ? [] : [arg] });
    }

    // The steps as one pointer action sequence; positions in whole pixels,
    // as WebDriver takes them.
    async pointer(steps) {
        const actions = steps.map(([kind, a, b]) =>
            kind === 'move' ? { type: 'pointerMove', origin: 'viewport', x: Math.round(a), y: Math.round(b), duration: 0 }
            : kind === 'pause' ? { type: 'pause', duration: a }
            : { type: kind === 'down' ? 'pointerDown' : 'pointerUp', button: 0 });
        await this.command('POST', 'actions', {
            actions: [{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions }] });
    }

    async screenshot() { return Buffer.from(await this.command('GET', 'screenshot'), 'base64'); }

    // Ends the session (the browser with it) and the driver program.
    async close() {
        if (this.session)
            await this.call('DELETE', `/session/${this.session}`).catch(() => {});
        this.session = null;
        this.child.kill();
        await this.exited;
    }
}
