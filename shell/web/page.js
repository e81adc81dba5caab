// The page's side of the front end, built into index.js ahead of the program (shell/web/main.cpp):
// the canvas's pointer events, the layer of elements over the canvas that assistive technology
// reads and operates, the live region, the checks that the canvas still has the right scale,
// and the service worker that keeps the page for offline use. The program calls vokPage; vokPage
// calls the program's exported functions (_vokPointer, _vokPress, _vokResized, _vokPageHidden).
var vokPage = {
    width: 0,          // the drawing area, in its own pixels
    height: 0,
    elements: new Map(),  // the layer's element of each item, by the item's id
    told: '',

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
                var x = Math.floor((e.clientX - box.left) * width / box.width);
                var y = Math.floor((e.clientY - box.top) * height / box.height);
                if (_vokPointer(kinds[type], x, y, e.button, e.buttons)) e.preventDefault();
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

        if ('serviceWorker' in navigator) {
            navigator.serviceWorker.register('sw.js').catch(function (e) {
                console.warn('vok-tictactoe: the page cannot be kept for offline use: ' + e);
            });
        }
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
        var el = document.createElement(plain || grouping ? 'div' : 'button');
        if (grouping) el.setAttribute('role', item.role === 'board' ? 'group' : 'radiogroup');
        if (item.role === 'radio') el.setAttribute('role', 'radio');
        if (!plain && !grouping) {
            el.type = 'button';
            el.addEventListener('click', function () {
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
        var per = function (n, of) { return (100 * n / of) + '%'; };
        el.style.left = per(item.x - within.x, within.width);
        el.style.top = per(item.y - within.y, within.height);
        el.style.width = per(item.width, within.width);
        el.style.height = per(item.height, within.height);
    },

    // News for the polite live region; the same news twice is still read out.
    announce: function (text) {
        this.told = text === this.told ? text + '\u00a0' : text;
        this.news.textContent = this.told;
    },
};
