// The page's longest task before its first frame, on a phone's screen with the processor slowed
// four times (Chromium's throttling), over several loads, from Chromium's trace of its main
// thread; prints one JSON line for bench/run.py:
// {"longest": [ms per load], "first": [ms to the first frame per load]}.
//   node bench/page_tasks.mjs SITE_FOLDER NODE_FOLDER [LOADS]
// NODE_FOLDER is where `npm ci` put puppeteer-core (the web build's `node` folder).
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { serve } from '../tests/web/serve.mjs';

const [site, nodeFolder, loads = '9'] = process.argv.slice(2);
if (!site || !nodeFolder) {
    console.error('usage: node bench/page_tasks.mjs SITE_FOLDER NODE_FOLDER [LOADS]');
    process.exit(2);
}
const puppeteer = createRequire(path.join(nodeFolder, 'package.json'))('puppeteer-core');
const server = await serve(site);
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vok-bench-'));
const browser = await puppeteer.launch({
    executablePath: process.env.VOK_CHROMIUM ?? '/usr/bin/chromium', headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--disable-dev-shm-usage'],
});
const result = { longest: [], first: [] };
try {
    for (let load = 0; load < Number(loads); load++) {
        const context = await browser.createBrowserContext();
        const page = await context.newPage();
        await page.setViewport({ width: 412, height: 823, deviceScaleFactor: 1.75, isMobile: true,
                                 hasTouch: true });
        await (await page.createCDPSession()).send('Emulation.setCPUThrottlingRate', { rate: 4 });
        // The first frame put on the canvas is marked in the trace; every task of the page's
        // main thread before it is measured there (the longtask API tells only those over 50 ms).
        await page.evaluateOnNewDocument(() => {
            const put = CanvasRenderingContext2D.prototype.putImageData;
            CanvasRenderingContext2D.prototype.putImageData = function (...args) {
                if (window.vokFirst === undefined) {
                    window.vokFirst = performance.now();
                    console.timeStamp('vok-first-frame');
                }
                return put.apply(this, args);
            };
        });
        await page.tracing.start({ categories: ['devtools.timeline', 'toplevel',
                                                'disabled-by-default-devtools.timeline'] });
        await page.goto(server.url, { waitUntil: 'load' });
        await page.waitForFunction(() => window.vokFirst !== undefined, { timeout: 60000 });
        const events = JSON.parse(Buffer.from(await page.tracing.stop()).toString()).traceEvents;
        const mark = events.find((e) => e.name === 'TimeStamp' &&
                                        e.args?.data?.message === 'vok-first-frame');
        const main = events.filter((e) => e.pid === mark.pid && e.tid === mark.tid);
        result.first.push(await page.evaluate(() => window.vokFirst));
        result.longest.push(Math.max(0, ...main.filter((e) => e.name === 'RunTask' &&
                                                              e.ts < mark.ts && e.dur)
                                                .map((e) => e.dur / 1000)));
        await context.close();
    }
} finally {
    await browser.close().catch(() => {});
    await server.close();
    fs.rmSync(profile, { recursive: true, force: true });
}
console.log(JSON.stringify(result));
