// Serves a folder on 127.0.0.1 as a static web host would, gzip-compressed
// where the client takes it, so that the page's tests and Lighthouse see the
// site as its users do. Like a host, it compresses a file once and keeps it:
// at every request, the strongest level would take a large file longer than
// the download it saves. Run alone it prints the address and serves until
// stopped: node scripts/serve_site.mjs FOLDER [PORT]
import { createReadStream, statSync } from 'node:fs';
import { readFile } from 'node:fs/promises';
import { createServer } from 'node:http';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';
import { promisify } from 'node:util';
import { gzip as gzipped } from 'node:zlib';

const kTypes = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8', '.json': 'application/json', '.webmanifest': 'application/manifest+json',
    '.wasm': 'application/wasm', '.png': 'image/png', '.svg': 'image/svg+xml', '.ico': 'image/x-icon',
    '.txt': 'text/plain; charset=utf-8', '.hex': 'text/plain; charset=utf-8', '.gz': 'application/gzip',
};
const kCompressed = new Set(['.png', '.gz', '.ico']);

// The file a request names inside the folder, or null for anything outside it or missing.
function fileFor(root, url) {
    let path = decodeURIComponent(new URL(url, 'http://127.0.0.1').pathname);
    if (path.endsWith('/'))
        path += 'index.html';
    const file = normalize(join(root, path));
    if (file !== root && !file.startsWith(root + sep))
        return null;
    try {
        return statSync(file).isFile() ? file : null;
    } catch {
        return null;
    }
}

const compressed = new Map(); // file -> { version, body }, a promise of the gzip-compressed body

function compressedBody(file) {
    const { mtimeMs, size } = statSync(file);
    const version = `${mtimeMs}:${size}`;
    if (compressed.get(file)?.version !== version) {
        compressed.set(file, { version,
            body: readFile(file).then((bytes) => promisify(gzipped)(bytes, { level: 9 })) });
    }
    return compressed.get(file).body;
}

async function answer(root, request, response) {
    const file = fileFor(root, request.url);
    if (!file) {
        response.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' });
        response.end('Not found');
        return;
    }
    const extension = extname(file).toLowerCase();
    const headers = { 'Content-Type': kTypes[extension] || 'application/octet-stream', 'Cache-Control': 'no-cache' };
    const gzip = !kCompressed.has(extension) && /\bgzip\b/.test(request.headers['accept-encoding'] || '');
    if (gzip)
        headers['Content-Encoding'] = 'gzip';
    response.writeHead(200, headers);
    if (request.method === 'HEAD') {
        response.end();
        return;
    }
    if (gzip)
        response.end(await compressedBody(file));
    else
        createReadStream(file).pipe(response);
}

// Serves FOLDER; resolves to its address and a close() that also ends open connections, as a host going offline would.
export function serveFolder(folder, port = 0) {
    const root = resolve(folder);
    const server = createServer((request, response) => answer(root, request, response));
    return new Promise((done, fail) => {
        server.once('error', fail);
        server.listen(port, '127.0.0.1', () => done({
            url: `http://127.0.0.1:${server.address().port}/`,
            close: () => new Promise((closed) => {
                server.close(closed);
                server.closeAllConnections();
            }),
        }));
    });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const [folder, port] = process.argv.slice(2);
    if (!folder) {
        console.error('usage: node scripts/serve_site.mjs FOLDER [PORT]');
        process.exit(2);
    }
    const { url } = await serveFolder(folder, Number(port || 0));
    console.log(url);
}
