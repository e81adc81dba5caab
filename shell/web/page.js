// The page's side of the front end, built into index.js ahead of the program (shell/web/main.cpp):
// the canvas's pointer events, the layer of elements over the canvas that assistive technology
// reads and operates, the live region, the checks that the canvas still has the right scale,
// the pictures fetched as files of their own, and the service worker that keeps the page for
// offline use. The program calls vokPage; vokPage calls the program's exported functions
// (_vokPointer, _vokPress, _vokResized, _vokPageHidden, _vokPictureRoom, _vokPictureArrived,
// _vokContrast).
var vokPage = {
    width: 0,          // the drawing area, in its own pixels
    height: 0,
    elements: new Map(),  // the layer's element of each item, by the item's id
    told: '',
    started: false,
    awaited: 0,           // pictures not yet handed to the program
    decoded: new Map(),   // pictures decoded, waiting for the program: ImageData (null: failed)

    // Targets for the pointer and for touch of at least 24 x 24 CSS pixels, also where the canvas
    // is shown at 320 of its 384 pixels (29 of its own pixels). The three picture buttons of the
    // strip, 20 pixels each side by side, keep their look; their elements reach beyond their
    // pictures into free parchment, apart from each other: "?" to the left of and below its
    // picture, T below its own, and the pin below T's, joined to its picture by a path down the
    // right edge. A press there acts at the button's own point. By the item's place:
    // [its place] -> [its element's place, and more of its reach].
    reaches: {
        '325,1,20,20': [[316, 1, 29, 29]],
        '345,1,20,20': [[345, 21, 29, 29]],
        '365,1,19,20': [[355, 50, 29, 29], [374, 21, 10, 29]],
    },

    // At once, while the module loads: each picture file (vokPictureFiles, made by the build)
    // fetched and decoded by the browser, away from the page's main thread, into RGBA bytes.
    fetchPictures: function () {
        var page = this;
        vokPictureFiles.forEach(function (id) {
            page.awaited++;
            fetch(id + '.webp').then(function (response) {
                if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
                return response.blob();
            }).then(function (blob) {
                return createImageBitmap(blob, { colorSpaceConversion: 'none',
                                                 premultiplyAlpha: 'none' });
            }).then(function (bitmap) {
                var canvas = typeof OffscreenCanvas === 'function'
                    ? new OffscreenCanvas(bitmap.width, bitmap.height)
                    : Object.assign(document.createElement('canvas'),
                                    { width: bitmap.width, height: bitmap.height });
                var context = canvas.getContext('2d', { willReadFrequently: true });
                context.drawImage(bitmap, 0, 0);
                bitmap.close();
                return context.getImageData(0, 0, canvas.width, canvas.height);
            }).catch(function (e) {
                console.warn('vok-tictactoe: picture ' + id + ' could not be loaded: ' + e);
                return null;
            }).then(function (image) {
                page.decoded.set(id, image);
                if (page.started) page.handOver();
            });
        });
    },

    // The decoded pictures into the program's memory, once it runs.
    handOver: function () {
        var page = this;
        page.decoded.forEach(function (image, id) {
            var room = image ? _vokPictureRoom(id, image.width, image.height) : 0;
            if (room) HEAPU8.set(image.data, room);
            else if (image) console.warn('vok-tictactoe: picture ' + id + ' is of a size not taken');
            page.awaited--;
            _vokPictureArrived(id);
        });
        page.decoded.clear();
    },

    // Once the program runs, with the drawing area's size.
    start: function (width, height) {
        var page = this;
        page.width = width;
        page.height = height;
        page.canvas = document.getElementById('canvas');
        page.layer = document.getElementById('layer');
        page.news = document.getElementById('news');

        // The primary pointer's presses, moves and releases, in drawing-area pixels.
        var kinds = { pointermove: 0, pointerdown: 1, pointerup: 2 };
        Object.keys(kinds).forEach(function (type) {
            page.canvas.addEventListener(type, function (e) {
                if (!e.isPrimary) return;
                // Playing with the pointer takes the keyboard's focus, and its ring, away.
                if (type === 'pointerdown' && page.layer.contains(document.activeElement)) {
                    document.activeElement.blur();
                }
                var box = page.canvas.getBoundingClientRect();
                var at = page.aim(Math.floor((e.clientX - box.left) * width / box.width),
                                  Math.floor((e.clientY - box.top) * height / box.height));
                if (_vokPointer(kinds[type], at[0], at[1], e.button, e.buttons)) e.preventDefault();
            });
        });
        // One finger on the board plays; it does not scroll the page (two still zoom).
        page.canvas.addEventListener('touchmove', function (e) {
            if (e.touches.length === 1) e.preventDefault();
        }, { passive: false });

        // A new size, a turned screen, a zoom, or another screen's pixel ratio.
        window.addEventListener('resize', function () { _vokResized(); });
        (function watchRatio() {
            matchMedia('(resolution: ' + window.devicePixelRatio + 'dppx)')
                .addEventListener('change', function () { _vokResized(); watchRatio(); },
                                  { once: true });
        })();
        window.addEventListener('pagehide', function () { _vokPageHidden(); });
        page.followContrast();

        // Not while the page starts: when the first frame is shown (keepOffline).
        // In a turn of its own: the program's start is long enough as it is.
        page.started = true;
        setTimeout(function () { page.handOver(); });
    },

    // High contrast as the browser asks for it, now and whenever it changes: forced colours draw
    // in the system's colours (read from CSS), prefers-contrast: more in the program's own
    // palette, dark on light or, where the page prefers dark, light on dark.
    followContrast: function () {
        var names = ['Canvas', 'CanvasText', 'ButtonFace', 'ButtonText', 'Highlight',
                     'HighlightText', 'LinkText', 'GrayText'];
        var queries = ['(forced-colors: active)', '(prefers-contrast: more)',
                       '(prefers-color-scheme: dark)'].map(function (q) { return matchMedia(q); });
        var probe = document.createElement('i');
        probe.hidden = true;
        document.body.appendChild(probe);
        var tell = function () {
            var mode = queries[0].matches ? 1 : queries[1].matches ? (queries[2].matches ? 3 : 2) : 0;
            var colours = names.map(function (name) {
                probe.style.color = name;
                var rgb = getComputedStyle(probe).color.match(/\d+/g) || [0, 0, 0];
                return (rgb[0] << 16) | (rgb[1] << 8) | (rgb[2] | 0);
            });
            _vokContrast.apply(null, [mode].concat(colours));
        };
        queries.forEach(function (q) { q.addEventListener('change', tell); });
        tell();
    },

    // The point a pointer at (x, y) of the drawing area acts at: within a shown button's reach
    // (beyond its picture), the button's own point.
    aim: function (x, y) {
        var found = null;
        this.elements.forEach(function (el) {
            (el.vokReach || []).forEach(function (r) {
                if (!el.hidden && x >= r[0] && y >= r[1] && x < r[0] + r[2] && y < r[1] + r[3]) {
                    found = el.vokItem;
                }
            });
        });
        return found ? [found.pressX, found.pressY] : [x, y];
    },

    // The service worker registered, once the first frame is on the canvas.
    keepOffline: function () {
        if (!('serviceWorker' in navigator)) return;
        navigator.serviceWorker.register('sw.js').catch(function (e) {
            console.warn('vok-tictactoe: the page cannot be kept for offline use: ' + e);
        });
    },

    // The screen's items (shell/ScreenDescription.h, as JSON) after a frame: each has one
    // element, made the first time it is shown and then kept, hidden while it is not.
    update: function (json) {
        var page = this;
        var items = JSON.parse(json);
        var focused = document.activeElement;
        var hadFocus = page.layer.contains(focused);
        var shown = new Set();
        var appeared = [];
        var last = new Map();  // the element last placed in each container
        items.forEach(function (item) {
            var group = item.parent < 0 ? null : items[item.parent];
            var container = group ? page.elements.get(group.id) : page.layer;
            var el = page.elements.get(item.id);
            if (!el) {
                el = page.make(item);
                var before = last.get(container);
                if (before) before.after(el); else container.prepend(el);
                page.elements.set(item.id, el);
                appeared.push(el);
            } else if (el.hidden) {
                el.hidden = false;
                appeared.push(el);
            }
            last.set(container, el);
            shown.add(el);
            el.vokItem = item;
            page.show(el, item, group || { x: 0, y: 0, width: page.width, height: page.height });
        });
        page.elements.forEach(function (el) { if (!shown.has(el)) el.hidden = true; });
        // Radios take one stop of Tab per group: the chosen one.
        page.layer.querySelectorAll('[role=radiogroup]').forEach(function (group) {
            var radios = group.querySelectorAll('[role=radio]');
            var chosen = group.querySelector('[aria-checked=true]') || radios[0];
            radios.forEach(function (radio) { radio.tabIndex = radio === chosen ? 0 : -1; });
        });
        // The control just used went with its screen: to the first control of the new one.
        if (hadFocus && focused.closest('[hidden]')) {
            var top = Math.max.apply(null, appeared.map(function (el) { return el.vokItem.page; }));
            var next = appeared.filter(function (el) {
                return el.vokItem.page === top && el.tabIndex >= 0 && el.tagName === 'BUTTON';
            })[0];
            if (next) next.focus();
        }
    },

    make: function (item) {
        var page = this;
        var plain = item.role === 'status' || item.role === 'label';
        var grouping = item.role === 'radiogroup' || item.role === 'board';
        var link = item.role === 'link';
        var el = document.createElement(plain || grouping ? 'div' : link ? 'a' : 'button');
        if (grouping) el.setAttribute('role', item.role === 'board' ? 'group' : 'radiogroup');
        if (item.role === 'radio') el.setAttribute('role', 'radio');
        if (!plain && !grouping) {
            // A link is followed by the program, in a new tab without a way back to the page.
            if (link) el.href = item.name; else el.type = 'button';
            el.addEventListener('click', function (e) {
                e.preventDefault();
                _vokPress(el.vokItem.pressX, el.vokItem.pressY);
            });
        }
        if (item.role === 'radiogroup') {
            // The arrows move the choice, as in every radio group, and not the board's cursor.
            el.addEventListener('keydown', function (e) {
                var step = { ArrowDown: 1, ArrowRight: 1, ArrowUp: -1, ArrowLeft: -1 }[e.key];
                if (!step || e.altKey || e.ctrlKey || e.metaKey) return;
                e.preventDefault();
                e.stopPropagation();
                var radios = Array.prototype.slice.call(el.querySelectorAll('[role=radio]'));
                var at = radios.indexOf(document.activeElement);
                var next = radios[(at + step + radios.length) % radios.length];
                next.focus();
                next.click();
            });
        }
        return el;
    },

    // The item's name, states and place (in per cent of its container, so the layer follows
    // the canvas at any size).
    show: function (el, item, within) {
        var flag = function (name, on) {
            if (el.getAttribute(name) !== on) el.setAttribute(name, on);
        };
        if (item.role === 'radiogroup' || item.role === 'board') {
            flag('aria-label', item.name);
        } else if (el.textContent !== item.name) {
            el.textContent = item.name;
        }
        if (item.role === 'toggle') flag('aria-pressed', item.pressed ? 'true' : 'false');
        if (item.role === 'radio') flag('aria-checked', item.checked ? 'true' : 'false');
        if (item.disabled) flag('aria-disabled', 'true'); else el.removeAttribute('aria-disabled');
        var reach = this.reaches[[item.x, item.y, item.width, item.height].join()];
        el.vokReach = reach;
        var place = reach ? reach[0] : [item.x, item.y, item.width, item.height];
        var per = function (n, of) { return (100 * n / of) + '%'; };
        el.style.left = per(place[0] - within.x, within.width);
        el.style.top = per(place[1] - within.y, within.height);
        el.style.width = per(place[2], within.width);
        el.style.height = per(place[3], within.height);
    },

    // News for the polite live region; the same news twice is still read out.
    announce: function (text) {
        this.told = text === this.told ? text + '\u00a0' : text;
        this.news.textContent = this.told;
    },
};
vokPage.fetchPictures();
