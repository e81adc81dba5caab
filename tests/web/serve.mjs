// A static server of the page's files on 127.0.0.1 and a free port, for the browser tests and for
// `make serve` (`node tests/web/serve.mjs build/web/site`: prints the address; Ctrl-C stops it).
// Only the page's kinds of file are served, and those of text gzip-compressed to a browser that
// takes it, as a real web server sends them.
import http from 'node:http';
import fs from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';

const TYPES = {
    '.html': 'text/html; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.wasm': 'application/wasm',
    '.png': 'image/png',
    '.webp': 'image/webp',
    '.webmanifest': 'application/manifest+json',
};

// Serves `root`, and each folder of `more` under its own path ({ '/linux/': folder }); resolves
// to { url, close() } once listening.
export async function serve(root, more = {}) {
    const server = http.createServer(async (req, res) => {
        const urlPath = decodeURIComponent(new URL(req.url, 'http://x').pathname);
        const mount = Object.keys(more).find((prefix) => urlPath.startsWith(prefix));
        const base = path.resolve(mount ? more[mount] : root);
        const rest = mount ? urlPath.slice(mount.length - 1) : urlPath;
        const file = path.join(base, rest.endsWith('/') ? rest + 'index.html' : rest);
        const type = TYPES[path.extname(file)];
        if (!type || !file.startsWith(base + path.sep) || !['GET', 'HEAD'].includes(req.method)) {
            res.writeHead(404).end();
            return;
        }
        try {
            let body = await fs.readFile(file);
            const head = { 'Content-Type': type, 'Cache-Control': 'no-store', Vary: 'Accept-Encoding' };
            // The pictures are compressed already.
            if (!type.startsWith('image/') && /\bgzip\b/.test(req.headers['accept-encoding'] ?? '')) {
                body = zlib.gzipSync(body, { level: 9 });
                head['Content-Encoding'] = 'gzip';
            }
            res.writeHead(200, { ...head, 'Content-Length': body.length });
            res.end(req.method === 'HEAD' ? undefined : body);
        } catch {
            res.writeHead(404).end();
        }
    });
    await new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(0, '127.0.0.1', resolve);
    });
    return {
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise((resolve) => {
            server.closeAllConnections();
            server.close(() => resolve());
        }),
    };
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
    const root = process.argv[2] ?? 'build/web/site';
    const { url } = await serve(root);
    console.log(`Serving ${root} at ${url} (Ctrl-C stops)`);
}
