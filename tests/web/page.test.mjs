// The page in headless Chromium, driven by puppeteer-core: its frames against the Linux render
// tests' frames outside the text, a whole game, the settings and their keeping in local storage,
// storage that fails, the links, an idle page that does nothing; what assistive technology reads
// and a game by keyboard; phones and touch; installed and offline; the site folder.
//   VOK_WEB_DIR            the built site (index.html, .js, .wasm, the manifest, ...)
//   VOK_WEB_NODE           where `npm ci` put puppeteer-core
//   VOK_LINUX_SCREENSHOTS  the Linux build's render-test frames (board.png, board-notext.png, ...)
//   VOK_CHROMIUM, VOK_SITE the browser, and the site the web links lead to
//   VOK_BOARD_CELLS        the board's cells, as the build writes them from the screens' layout
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import fs from 'node:fs';
import { execFileSync } from 'node:child_process';
import os from 'node:os';
import path from 'node:path';
import { serve } from './serve.mjs';

const env = (name) => {
    assert.ok(process.env[name], `${name} is not set (the tests are run by ctest)`);
    return process.env[name];
};
const puppeteer = createRequire(path.join(env('VOK_WEB_NODE'), 'package.json'))('puppeteer-core');
const linuxFrames = env('VOK_LINUX_SCREENSHOTS');
const site = process.env.VOK_SITE ?? 'http://www.vok.example';

// The board's cells in reading order, row by row: {column, row, left, top, size, x, y}.
const CELLS = fs.readFileSync(env('VOK_BOARD_CELLS'), 'utf8').trim().split('\n').map((line) => {
    const [column, row, left, top, size, x, y] = line.match(/-?\d+/g).map(Number);
    return { column, row, left, top, size, x, y };
});
const W = 384;
const H = 365;
const KEY = '/vok/vudezazivaze/vudezazivaze.ini';

let server;
let browser;
let profile;

// Before the page's own scripts: every frame put on the canvas (its time, which board cells
// show a piece, the status plaque's colour), the intervals alive, animation frames asked for,
// the live region's news, anything the page's policy refused.
function instrument(cells) {
    const vok = (window.vok =
        { frames: [], raf: 0, live: new Set(), mostLive: 0, news: [], refused: [] });
    new MutationObserver(() => {
        const news = document.getElementById('news')?.textContent.trim();
        if (news && news !== vok.news.at(-1)) vok.news.push(news);
    }).observe(document, { subtree: true, childList: true, characterData: true });
    document.addEventListener('securitypolicyviolation', (e) => vok.refused.push(e.blockedURI));
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (image, ...rest) {
        const k = image.width / 384;
        const at = (x, y) => (y * k * image.width + x * k) * 4;
        const d = image.data;
        const filled = [];
        for (const { left, top, size } of cells) {
            let ink = 0;
            for (let y = top + 1; y < top + size - 1; y++) {
                for (let x = left + 1; x < left + size - 1; x++) {
                    const o = at(x, y);
                    ink += d[o] !== 255 || d[o + 1] !== 255 || d[o + 2] !== 255;
                }
            }
            filled.push(ink > 0);
        }
        const o = at(91, 44);
        vok.frames.push({ t: performance.now(), filled, plaque: [d[o], d[o + 1], d[o + 2]] });
        return put.call(this, image, ...rest);
    };
    const raf = window.requestAnimationFrame.bind(window);
    window.requestAnimationFrame = (cb) => { vok.raf++; return raf(cb); };
    const setI = window.setInterval.bind(window);
    const clearI = window.clearInterval.bind(window);
    window.setInterval = (...a) => {
        const id = setI(...a);
        vok.live.add(id);
        vok.mostLive = Math.max(vok.mostLive, vok.live.size);
        return id;
    };
    window.clearInterval = (id) => { vok.live.delete(id); clearI(id); };
}

// A fresh context (its own storage) with the page loaded and its first frame shown.
async function openPage({ dpr = 1, width = 500, height = 700, touch = false, setup, args = [],
                          before } = {}) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    const warnings = [];
    page.on('console', (m) => m.type() === 'warn' && warnings.push(m.text()));
    page.on('pageerror', (e) => warnings.push(`pageerror: ${e.message}`));
    await page.setViewport({ width, height, deviceScaleFactor: dpr, isMobile: touch,
                             hasTouch: touch });
    if (before) await before(page);
    await page.evaluateOnNewDocument(instrument, CELLS);
    if (setup) await page.evaluateOnNewDocument(setup, ...args);
    await page.goto(server.url, { waitUntil: 'load' });
    await shown(page);
    return { context, page, warnings };
}

// Polled from here: waiting inside the page would start intervals (or ask for animation
// frames) of its own.
async function until(page, predicate, what) {
    for (const end = Date.now() + 10000; !(await page.evaluate(predicate));) {
        if (Date.now() > end) assert.fail(`timed out waiting for ${what}`);
        await pause(20);
    }
}
const shown = (page) => until(page, () => window.vok.frames.length > 0, 'the first frame');
const idle = (page) => until(page, () => window.vok.live.size === 0, 'the ticking to stop');
const frames = (page) => page.evaluate(() => window.vok.frames);
const lastFrame = async (page) => (await frames(page)).at(-1);
const pause = (ms) => new Promise((r) => setTimeout(r, ms));
const filledCount = (f) => f.filled.filter(Boolean).length;

// Clicks (or moves to) point (x, y) of the drawing area through the canvas's box on the page.
async function at(page, x, y) {
    const box = await (await page.$('#canvas')).boundingBox();
    return [box.x + (x + 0.5) * box.width / W, box.y + (y + 0.5) * box.height / H];
}
const click = async (page, x, y) => page.mouse.click(...(await at(page, x, y)));
const clickCell = (page, cell) => click(page, CELLS[cell].x, CELLS[cell].y);

// The canvas's pixels, as a PNG's data URL.
const canvasPicture = (page) =>
    page.evaluate(() => document.getElementById('canvas').toDataURL());
const sameRgb = (a, b) => a[0] === b[0] && a[1] === b[1] && a[2] === b[2];

const pngOf = (name) => {
    const file = path.join(linuxFrames, `${name}.png`);
    assert.ok(fs.existsSync(file), `${file} is missing: run the linux workflow first`);
    return `linux/${name}.png`;
};

// The pixels (RGBA) of PNG files of the Linux render tests (served beside the page, as the
// page's policy fetches from nowhere else), decoded in the page, then handed with the canvas's
// pixels to `compare` there.
async function withLinuxFrames(page, names, compare, ...more) {
    const all = await page.evaluateHandle(async (pngs) => {
        const decode = async (url) => {
            const blob = await (await fetch(url)).blob();
            const bmp = await createImageBitmap(blob, { colorSpaceConversion: 'none' });
            const ctx = new OffscreenCanvas(bmp.width, bmp.height).getContext('2d');
            ctx.drawImage(bmp, 0, 0);
            return ctx.getImageData(0, 0, bmp.width, bmp.height);
        };
        const c = document.getElementById('canvas');
        const frame = c.getContext('2d').getImageData(0, 0, c.width, c.height);
        return [frame, ...(await Promise.all(pngs.map(decode)))];
    }, names.map(pngOf));
    const each = await Promise.all(['frame', ...names].map((_, i) =>
        all.evaluateHandle((a, i) => a[i], i)));
    return page.evaluate(compare, ...each, ...more);
}

// The page's frame against the Linux frame `name` wherever the Linux frame is not text: where
// it equals the same frame drawn without text (`name`-notext), with a margin of one pixel
// around the text, since the two font renderers smooth the glyphs' edges differently.
async function compareOutsideText(t, page, name) {
    const result = await withLinuxFrames(page, [name, `${name}-notext`], (frame, linux, bare) => {
        const { width, height } = linux;
        if (frame.width !== width || frame.height !== height || bare.width !== width) {
            return { size: [frame.width, frame.height, width, height] };
        }
        const same = (a, b, i) => a.data[i] === b.data[i] && a.data[i + 1] === b.data[i + 1] &&
            a.data[i + 2] === b.data[i + 2];
        const text = new Uint8Array(width * height);
        for (let y = 0; y < height; y++) {
            for (let x = 0; x < width; x++) {
                if (same(linux, bare, (y * width + x) * 4)) continue;
                const from = Math.max(x - 1, 0), to = Math.min(x + 2, width);
                for (let row = Math.max(y - 1, 0); row <= Math.min(y + 1, height - 1); row++) {
                    text.fill(1, row * width + from, row * width + to);
                }
            }
        }
        const r = { area: width * height, textPixels: 0, ink: 0, unlike: 0, first: null };
        for (let i = 0; i < width * height; i++) {
            if (text[i]) {
                r.textPixels++;
                r.ink += !same(frame, bare, i * 4);
            } else if (!same(frame, linux, i * 4)) {
                r.unlike++;
                r.first ??= [i % width, Math.floor(i / width)];
            }
        }
        return r;
    });
    assert.equal(result.size, undefined, `${name}: sizes ${result.size}`);
    const { unlike, first, textPixels, ink, area } = result;
    assert.equal(unlike, 0, `${unlike} pixels outside the text unlike ${name}.png (${first}...)`);
    assert.ok(textPixels < area / 10, `${name}: ${textPixels} pixels of text`);
    assert.ok(ink > textPixels / 4, `${name}: the page's text is missing (${ink}/${textPixels})`);
    t.diagnostic(`${name}: ${textPixels} pixels of text, ${ink} of them inked by the page`);
}

// The layer's element that has the keyboard's focus: its name, and whether it shows the ring.
const focused = (page) => page.evaluate(() => {
    const el = document.activeElement;
    return { name: el.textContent, ring: el.matches('#layer :focus-visible') &&
             getComputedStyle(el).outlineStyle === 'solid' };
});
// Tab until the item named `name` has the focus.
async function tabTo(page, name) {
    for (let i = 0; i < 30 && (await focused(page)).name !== name; i++) {
        await page.keyboard.press('Tab');
    }
    assert.equal((await focused(page)).name, name);
}
const shots = path.join(env('VOK_WEB_DIR'), '..', 'screenshots');
const screenshot = (page, name) => {
    fs.mkdirSync(shots, { recursive: true });
    return page.screenshot({ path: path.join(shots, `${name}.png`) });
};

before(async () => {
    server = await serve(env('VOK_WEB_DIR'), { '/linux/': linuxFrames });
    profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vok-chromium-'));
    browser = await puppeteer.launch({
        executablePath: process.env.VOK_CHROMIUM ?? '/usr/bin/chromium',
        headless: true,
        userDataDir: profile,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync',
               '--disable-dev-shm-usage'],
    });
});

after(async () => {
    await browser?.close().catch(() => {});
    await server?.close();
    if (profile) fs.rmSync(profile, { recursive: true, force: true });
});

describe('the page', () => {
    test('the first frame; then no interval, no animation frame, no new frame', async (t) => {
        const { context, page, warnings } = await openPage();
        const first = (await frames(page))[0];
        t.diagnostic(`load to first frame: ${first.t.toFixed(0)} ms`);
        assert.equal(await page.title(), 'Vok TicTacToe 1.2');
        assert.ok(first.filled.every((f) => !f), 'an empty board');
        // The status display takes the game's state at the first tick; then all is still.
        await idle(page);
        const still = () => page.evaluate(() =>
            [window.vok.frames.length, window.vok.live.size, window.vok.mostLive, window.vok.raf]);
        const settled = await still();
        await pause(300);
        assert.deepEqual(await still(), settled);
        assert.deepEqual(settled.slice(1), [0, 1, 0]);
        const icon = await page.evaluate(async () => (await fetch(
            document.querySelector('link[rel=icon]').href)).headers.get('content-type'));
        assert.equal(icon, 'image/png');
        assert.deepEqual(warnings, []);
        assert.deepEqual(await page.evaluate(() => window.vok.refused), []);
        await context.close();
    });

    test('board and settings are the Linux frames outside the text, at scales 1, 2', async (t) => {
        for (const dpr of [1, 2]) {
            const { context, page } = await openPage({ dpr });
            const size = await page.evaluate(() => {
                const c = document.getElementById('canvas'), box = c.getBoundingClientRect();
                return [c.width, c.height, box.width, box.height];
            });
            assert.deepEqual(size, [W * dpr, H * dpr, W, H]);
            const x2 = dpr === 2 ? '-x2' : '';
            await compareOutsideText(t, page, `board${x2}`);
            // As the Linux test leaves it: Settings clicked, the pointer resting below the lists.
            await click(page, 320, 155);
            await page.mouse.move(...(await at(page, 195, 300)));
            await idle(page);
            await compareOutsideText(t, page, `settings${x2}`);
            await context.close();
        }
    });

    test('a whole game: the computer answers after its pause, ticking meanwhile; N', async (t) => {
        const { context, page } = await openPage();
        const yourMove = (await lastFrame(page)).plaque;
        let over = false;
        for (let turn = 0; turn < 5 && !over; turn++) {
            const before = await lastFrame(page);
            const cell = before.filled.indexOf(false);
            const seen = (await frames(page)).length;
            await clickCell(page, cell);
            await idle(page);
            const after = (await frames(page)).slice(seen);
            const mine = after.find((f) => f.filled[cell]);
            assert.ok(mine, `the piece in cell ${cell} is shown`);
            const answer = after.find((f) => filledCount(f) === filledCount(before) + 2);
            if (answer) {
                const ms = answer.t - mine.t;
                if (turn === 0) t.diagnostic(`the computer's pause: ${ms.toFixed(0)} ms`);
                // Not before its pause; the upper bound only stops a computer that never answers.
                assert.ok(ms >= 250 && ms < 5000, `the computer answered after ${ms} ms`);
            }
            over = !sameRgb(after.at(-1).plaque, yourMove);
        }
        assert.ok(over, 'the game is over (the smart computer never loses)');
        assert.deepEqual(await page.evaluate(() => [window.vok.mostLive, window.vok.raf]), [1, 0]);

        await page.keyboard.press('KeyN');
        await idle(page);
        const fresh = await lastFrame(page);
        assert.ok(fresh.filled.every((f) => !f) && sameRgb(fresh.plaque, yourMove), 'a new game');
        // Keys the game has no use for, and Alt+N, are left to the browser.
        const left = await page.evaluate(() => {
            const fire = (init) =>
                window.dispatchEvent(new KeyboardEvent('keydown', { cancelable: true, ...init }));
            return [fire({ code: 'KeyN' }), fire({ code: 'KeyQ' }),
                    fire({ code: 'KeyN', altKey: true })];
        });
        assert.deepEqual(left, [false, true, true]);
        await context.close();
    });

    test('settings: computer first, Fish, Moronic, T, the pin, kept over a reload', async () => {
        const { context, page } = await openPage();
        await click(page, 320, 155);    // Settings
        await click(page, 66, 100);     // First Move: Computer
        await click(page, 187, 120);    // Pieces: Fish
        await click(page, 308, 120);    // Computer IQ: Moronic
        await click(page, 195, 225);    // Play !
        await click(page, 355, 11);     // T
        await click(page, 375, 11);     // the pin
        const opacity = () => page.evaluate(() =>
            Number(getComputedStyle(document.getElementById('canvas')).opacity));

        // The computer opens, after its pause, with its spotted fish (the Linux frame's top right).
        const opensWithAFish = async () => {
            await idle(page);
            const cell = (await lastFrame(page)).filled.indexOf(true);
            assert.ok(cell >= 0, 'the computer has moved');
            const differ = await withLinuxFrames(page, ['pieces-fish'], (frame, fish, at, from) => {
                let differ = 0;
                for (let y = 1; y < at.size - 1; y++) {
                    for (let x = 1; x < at.size - 1; x++) {
                        const i = ((at.top + y) * 384 + at.left + x) * 4;
                        const j = ((from.top + y) * 384 + from.left + x) * 4;
                        differ += [0, 1, 2].some((c) => frame.data[i + c] !== fish.data[j + c]);
                    }
                }
                return differ;
            }, CELLS[cell], CELLS.find((c) => c.column === 2 && c.row === 0));
            assert.equal(differ, 0, `cell ${cell} is not the spotted fish`);
        };
        await opensWithAFish();
        assert.ok(Math.abs(await opacity() - 190 / 255) < 1e-3);

        // pagehide saves; the page comes back with every choice.
        await page.reload({ waitUntil: 'load' });
        await shown(page);
        const saved = await page.evaluate((k) => localStorage.getItem(k), KEY);
        assert.equal(saved, '2\n1\n1\n0\n0\n2\n2\n');
        assert.ok(Math.abs(await opacity() - 190 / 255) < 1e-3);
        await opensWithAFish();
        await context.close();
    });

    test('storage: garbage, the defaults; unavailable or full, a warning; play on', async () => {
        const plain = await openPage();
        await idle(plain.page);
        const defaults = await canvasPicture(plain.page);
        await plain.context.close();

        // Garbage in every line; and good choices after the first 4096 bytes, which are not read.
        const stored = [`\u0000banana\u00ff\n\nx7\n99999999999\n-3\n7\n9\n`,
                        `${'x'.repeat(5000)}\n0\n1\n0\n0\n2\n2\n`];
        for (const text of stored) {
            const { context, page, warnings } = await openPage({
                setup: (key, text) => localStorage.setItem(key, text), args: [KEY, text] });
            await idle(page);    // the player opens: nothing moves
            assert.equal(await canvasPicture(page), defaults);
            assert.equal(await page.evaluate(() => document.getElementById('canvas').style.opacity),
                         '1');
            assert.deepEqual(warnings, []);
            await context.close();
        }

        const refusing = [
            [() => Object.defineProperty(window, 'localStorage', {
                get() { throw new DOMException('denied', 'SecurityError'); } }),
             /cannot read the settings/],
            [() => {
                const full = new DOMException('full', 'QuotaExceededError');
                Storage.prototype.setItem = () => { throw full; };
            }, /^$/],
        ];
        for (const [setup, atStart] of refusing) {
            const { context, page, warnings } = await openPage({ setup });
            assert.match(warnings.join('\n'), atStart);
            await idle(page);
            assert.equal(await canvasPicture(page), defaults);
            await clickCell(page, 4);
            await idle(page);
            assert.equal(filledCount(await lastFrame(page)), 2, 'the game goes on');
            await page.evaluate(() => window.dispatchEvent(new PageTransitionEvent('pagehide')));
            assert.match(warnings.join('\n'), /could not save the settings to .*vudezazivaze\.ini/);
            await context.close();
        }
    });

    test('"?" and the web address open their pages in new tabs without an opener', async () => {
        const { context, page } = await openPage();
        const opens = async (x, y, url) => {
            const opened = browser.waitForTarget((t) => t.url() === url, { timeout: 5000 });
            await click(page, x, y);
            await opened;
            // A tab opened with noopener still names its opener; it cannot reach it.
            const cdp = await browser.target().createCDPSession();
            const { targetInfos } = await cdp.send('Target.getTargets');
            await cdp.detach();
            assert.equal(targetInfos.find((i) => i.url === url).canAccessOpener, false);
        };
        await opens(335, 11, `${site}/tictactoe/index.php?v=dur1.2a`);
        await click(page, 320, 155);    // Settings
        await opens(195, 342, `${site}/?v=dur1.2a`);
        await context.close();
    });

    test('read by assistive technology; a game by Tab and Enter; settings by keyboard', async () => {
        const { context, page } = await openPage();
        await idle(page);
        // The toggles, the buttons, the status and the nine squares are read, the canvas is not.
        const { nodes } = await (await page.createCDPSession()).send('Accessibility.getFullAXTree');
        const read = nodes.filter((n) => !n.ignored).map((n) => {
            const pressed = n.properties?.find((p) => p.name === 'pressed');
            return `${n.role.value} ${n.name?.value}${pressed ? ` ${pressed.value.value}` : ''}`;
        });
        for (const line of ['StaticText Computer IQ: Smart', 'button Help',
                            'button Translucent false', 'button Keep on top false',
                            'StaticText Your Move', 'group Board', 'button New Game',
                            'button Settings', 'button top left, empty', 'button centre, empty']) {
            assert.ok(read.includes(line), `${line} is not read (${read.join(' | ')})`);
        }
        assert.equal(read.filter((l) => /^button [a-z ]+, empty$/.test(l)).length, 9);
        assert.equal(read.some((l) => l.startsWith('canvas')), false);
        // Each element lies over its control.
        const [box, button] = await page.evaluate(() => ['#canvas', '#layer > button:last-of-type']
            .map((q) => document.querySelector(q).getBoundingClientRect().toJSON()));
        assert.deepEqual([button.x - box.x, button.y - box.y, button.width, button.height]
            .map(Math.round), [281, 145, 80, 20]);

        const news = () => page.evaluate(() => window.vok.news);
        for (let turn = 0; turn < 5 && !(await news()).join(' ').includes('Press N'); turn++) {
            const cell = await page.evaluate(() => [...document.querySelectorAll(
                '#layer [role=group] button')].find((b) => b.textContent.endsWith('empty'))
                .textContent);
            await tabTo(page, cell);
            assert.ok((await focused(page)).ring, 'the focus shows as a ring');
            if (turn === 0) await screenshot(page, 'focus');
            const told = (await news()).length;
            await page.keyboard.press('Enter');
            await idle(page);
            // The cell keeps the focus, now with the player's piece in it.
            assert.equal((await focused(page)).name, cell.replace('empty', 'yours (ring)'));
            // The computer's answer, or the tie the player's last move makes.
            const heard = (await news()).slice(told).join(' ');
            assert.match(heard, /^Thinking\.\.\. The computer took the [a-z ]+\.|^Tie\./);
        }
        assert.match((await news()).at(-1), /(Computer wins|Tie)\. Press N for a new game\.$/);
        // The mouse shows no ring.
        await clickCell(page, 0);
        assert.equal(await page.evaluate(() => document.querySelector('#layer :focus-visible')),
                     null);

        // Settings; each list one stop of Tab, the arrows choosing in it; "Play !".
        await tabTo(page, 'Settings');
        await page.keyboard.press('Enter');
        await idle(page);
        assert.equal((await focused(page)).name, 'You');
        await page.keyboard.press('Tab');
        assert.equal((await focused(page)).name, 'Traditional');
        await page.keyboard.press('ArrowDown');
        await page.keyboard.press('ArrowDown');
        assert.equal((await focused(page)).name, 'Fish');
        await idle(page);
        assert.equal(await page.evaluate(() => document.activeElement.ariaChecked), 'true');
        // The address is a link, reached by Tab and followed by Enter in a new tab.
        await tabTo(page, site);
        assert.equal(await page.evaluate(() => document.activeElement.tagName), 'A');
        const opened = browser.waitForTarget((t) => t.url() === `${site}/?v=dur1.2a`,
                                             { timeout: 5000 });
        await page.keyboard.press('Enter');
        await (await opened).asPage().then((tab) => tab.close());
        await tabTo(page, 'Play !');
        await page.keyboard.press('Enter');
        await idle(page);
        await page.keyboard.press('Enter');    // the first cell has the focus
        await idle(page);
        assert.equal((await focused(page)).name, 'top left, yours (blue fish)');
        await context.close();
    });

    test('high contrast follows forced colours and prefers-contrast live, the ring too',
         async () => {
        const { context, page } = await openPage();
        await idle(page);
        const cdp = await page.createCDPSession();
        const pixel = () => page.evaluate(() => [...document.getElementById('canvas')
            .getContext('2d').getImageData(200, 350, 1, 1).data].slice(0, 3).join());
        const css = (colour) => page.evaluate((c) => {
            const probe = document.body.appendChild(document.createElement('i'));
            probe.style.color = c;
            const rgb = getComputedStyle(probe).color.match(/\d+/g).join();
            probe.remove();
            return rgb;
        }, colour);
        // The focused item's outline, and what it would be in the colour wanted.
        const ring = (colour) => page.evaluate((c) => {
            const el = document.activeElement;
            const shown = getComputedStyle(el).outlineColor;
            el.style.outlineColor = c;
            const wanted = getComputedStyle(el).outlineColor;
            el.style.outlineColor = '';
            return [shown, wanted];
        }, colour);
        const expect = async (features, background, highlight) => {
            await cdp.send('Emulation.setEmulatedMedia', { features });
            for (let i = 0; i < 200 && (await pixel()) !== background; i++) await pause(20);
            assert.equal(await pixel(), background, JSON.stringify(features));
            const [shown, wanted] = await ring(highlight);
            assert.equal(shown, wanted, JSON.stringify(features));
        };
        await clickCell(page, 4);
        await idle(page);
        const parchment = await pixel();
        await tabTo(page, 'Help');
        const none = [{ name: 'forced-colors', value: 'none' },
                      { name: 'prefers-contrast', value: 'no-preference' }];
        await expect([{ name: 'forced-colors', value: 'active' }], await css('Canvas'),
                     'Highlight');
        await screenshot(page, 'high-contrast-forced-colors');
        await expect([none[0], { name: 'prefers-contrast', value: 'more' }], '255,255,255',
                     '#000080');
        await expect(none, parchment, '#1447c4');
        // The game went on through it all: the centre is still the player's.
        assert.ok((await lastFrame(page)).filled[4]);
        assert.equal((await focused(page)).name, 'Help');
        await context.close();
    });

    test('phones and landscape: the board fits, drawn sharp, and a tap plays', async (t) => {
        for (const [width, height, dpr] of [[360, 740, 3], [740, 360, 3], [320, 320, 1],
                                            [412, 915, 2.625], [500, 700, 1.25]]) {
            const touch = dpr > 2;
            const { context, page } = await openPage({ width, height, dpr, touch });
            await idle(page);
            const [box, store, scrollWidth] = await page.evaluate(() => {
                const c = document.getElementById('canvas');
                return [c.getBoundingClientRect().toJSON(), c.width,
                        document.documentElement.scrollWidth];
            });
            const size = `${width} x ${height} at ${dpr}`;
            t.diagnostic(`${size}: ${box.width.toFixed(1)} x ${box.height.toFixed(1)}, ${store}`);
            assert.ok(scrollWidth <= width && box.x >= 0 && box.y >= 0 && box.right <= width &&
                      box.bottom <= height + 0.5, `${size}: ${JSON.stringify(box)}`);
            assert.ok(box.width <= W && Math.abs(box.width / box.height - W / H) < 0.01, size);
            assert.equal(store, W * Math.ceil(box.width * dpr / W - 1e-3), size);
            // The layer over the canvas stays on what it names: the centre cell's element.
            const centre = await page.evaluate(() => [...document.querySelectorAll('#layer button')]
                .find((b) => b.textContent.startsWith('centre')).getBoundingClientRect().toJSON());
            const [cx, cy] = await at(page, CELLS[4].x, CELLS[4].y);
            assert.ok(Math.abs(centre.x + centre.width / 2 - cx) < 1 &&
                      Math.abs(centre.y + centre.height / 2 - cy) < 1, `${size}: the centre cell`);
            if (touch) {
                await screenshot(page, `phone-${width}x${height}`);
                await page.touchscreen.tap(...(await at(page, 138, 207)));
                await idle(page);
                assert.ok((await lastFrame(page)).filled[4], `${size}: the tap played`);
            }
            await context.close();
        }
        // Another pixel ratio (the page moved to another screen): a frame at its scale.
        const { context, page } = await openPage();
        await page.setViewport({ width: 500, height: 700, deviceScaleFactor: 2 });
        await page.screenshot();    // the browser looks at its media queries as it draws
        await until(page, () => document.getElementById('canvas').width === 768, 'scale 2');
        await context.close();
    });

    test('targets of 24 x 24 CSS pixels or spaced as the rule allows; a tap by T toggles it',
         async () => {
        for (const [width, height, dpr] of [[320, 568, 2], [360, 740, 3], [1280, 800, 1]]) {
            const touch = width < 400;
            const { context, page } = await openPage({ width, height, dpr, touch });
            await idle(page);
            // Every control's element: at least 24 x 24, or its 24-pixel circle clear of every
            // other target and of every other small target's circle (WCAG 2.2, 2.5.8).
            const faults = await page.evaluate(() => {
                const boxes = [...document.querySelectorAll('#layer button, #layer a')]
                    .filter((el) => !el.closest('[hidden]'))
                    .map((el) => ({ name: el.textContent, ...el.getBoundingClientRect().toJSON() }));
                const small = (b) => b.width < 24 - 1e-3 || b.height < 24 - 1e-3;
                const centre = (b) => [b.x + b.width / 2, b.y + b.height / 2];
                const reach = ([x, y], b) => Math.hypot(Math.max(b.x - x, 0, x - b.right),
                                                        Math.max(b.y - y, 0, y - b.bottom));
                const overlap = (a, b) => Math.min(a.right, b.right) - Math.max(a.x, b.x) > 1e-3 &&
                    Math.min(a.bottom, b.bottom) - Math.max(a.y, b.y) > 1e-3;
                const faults = [];
                for (const a of boxes) {
                    for (const b of boxes.filter((b) => b !== a)) {
                        if (overlap(a, b)) faults.push(`${a.name} overlaps ${b.name}`);
                        if (small(a) && (reach(centre(a), b) < 12 ||
                                         (small(b) && Math.hypot(...centre(a).map((v, i) =>
                                             v - centre(b)[i])) < 24))) {
                            faults.push(`${a.name} (${a.width} x ${a.height}) is close to ${b.name}`);
                        }
                    }
                }
                return faults;
            });
            assert.deepEqual(faults, [], `${width} x ${height}`);
            // Below its picture, T's reach toggles it.
            await (touch ? page.touchscreen.tap(...(await at(page, 355, 35)))
                         : page.mouse.click(...(await at(page, 355, 35))));
            await idle(page);
            const opacity = await page.evaluate(() => document.getElementById('canvas').style.opacity);
            assert.ok(Math.abs(opacity - 190 / 255) < 1e-3, `${width} x ${height}: ${opacity}`);
            await context.close();
        }
    });

    test('at a quarter of the speed, the first frame is shown and nothing fails', async () => {
        // How long its tasks take is measured by `make bench` (bench/page_tasks.mjs).
        const setup = async (page) => (await page.createCDPSession())
            .send('Emulation.setCPUThrottlingRate', { rate: 4 });
        const { context, page, warnings } = await openPage({ width: 412, height: 823, dpr: 1.75,
                                                             touch: true, before: setup });
        await idle(page);
        assert.deepEqual(warnings, []);
        await context.close();
    });

    test('installable; with the server gone a reload plays; earlier caches dropped', async () => {
        // Not in a context of its own: a page is never installable in one (an incognito one).
        const own = await serve(env('VOK_WEB_DIR'));
        const page = await browser.newPage();
        await page.evaluateOnNewDocument(instrument, CELLS);
        await page.evaluateOnNewDocument(() => caches.open('vok-tictactoe-earlier'));
        await page.goto(own.url, { waitUntil: 'load' });
        await shown(page);
        await until(page, () => navigator.serviceWorker.controller !== null, 'the worker');
        const cdp = await page.createCDPSession();
        assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors,
                         []);
        const kept = await page.evaluate(() => caches.keys());
        assert.equal(kept.length, 1);
        assert.match(kept[0], /^vok-tictactoe-[0-9a-f]{16}$/);
        await idle(page);
        const online = await canvasPicture(page);
        await own.close();
        await page.reload({ waitUntil: 'load' });
        await shown(page);
        await idle(page);
        assert.equal(await canvasPicture(page), online, 'the parchment, from the cache');
        await clickCell(page, 4);
        await idle(page);
        assert.equal(filledCount(await lastFrame(page)), 2, 'the computer answered offline');
        await page.close();
    });

    test('the site folder: what a server needs, at most 300 KB gzip-compressed', async (t) => {
        const dir = env('VOK_WEB_DIR');
        const files = fs.readdirSync(dir).sort();
        assert.deepEqual(files, ['101.webp', 'favicon.png', 'icon-192.png', 'icon-512.png',
                                 'icon-maskable-512.png', 'index.css', 'index.html', 'index.js',
                                 'index.wasm', 'manifest.webmanifest', 'sw.js']);
        const sizes = files.map((f) =>
            [f, execFileSync('gzip', ['-9c', path.join(dir, f)], { maxBuffer: 1 << 24 }).length]);
        const total = sizes.reduce((sum, [, n]) => sum + n, 0);
        t.diagnostic(`gzip -9: ${total} bytes: ${sizes.map(([f, n]) => `${f} ${n}`).join(', ')}`);
        assert.ok(total <= 300000, `${total} bytes`);
        // The page runs no script and takes no style of its own.
        const html = fs.readFileSync(path.join(dir, 'index.html'), 'utf8');
        assert.match(html, new RegExp("default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; " +
                                      "style-src 'self'; img-src 'self'"));
        assert.doesNotMatch(html, /<style|style=|<script(?![^>]*\ssrc=)/);
    });
});
