// SPDX-License-Identifier: GPL-3.0-or-later
// Serves the page's site from a folder on 127.0.0.1, as any static host would, with the
// two headers that let the page run its game on a thread of its own (the browser gives
// shared memory only to a page isolated from other sites), and compressed as a host
// compresses: gzip where the browser takes it.
//
//   node platform/web/serve.mjs SITE [PORT]     # prints the address, serves until killed
//
// Tests import startServer() and close the server themselves.
import { createReadStream, promises as fs } from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import zlib from 'node:zlib';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.ttf': 'font/ttf',
  '.woff2': 'font/woff2',
  '.wav': 'audio/wav',
};
// Already compressed, or too small to gain: sent as they are.
const compressible = (type) => !/^(image\/png|font\/woff2)/.test(type);

// The headers every answer carries: isolation (for threads) and no guessing of types.
export const isolationHeaders = {
  'Cross-Origin-Opener-Policy': 'same-origin',
  'Cross-Origin-Embedder-Policy': 'require-corp',
  'Cross-Origin-Resource-Policy': 'same-origin',
  'X-Content-Type-Options': 'nosniff',
};

export function startServer(root, port = 0, { log = false } = {}) {
  const base = path.resolve(root);
  const compressed = new Map();
  const server = http.createServer(async (req, res) => {
    const reply = (status, text) => {
      res.writeHead(status, { ...isolationHeaders, 'Content-Type': 'text/plain; charset=utf-8' });
      res.end(text);
    };
    if (req.method !== 'GET' && req.method !== 'HEAD') return reply(405, 'Metodo non ammesso\n');
    let name;
    try {
      name = decodeURIComponent(new URL(req.url, 'http://localhost').pathname);
    } catch {
      return reply(400, 'Indirizzo non valido\n');
    }
    if (name.endsWith('/')) name += 'index.html';
    const file = path.resolve(base, '.' + name);
    // Nothing outside the site, whatever the address says.
    if (file !== base && !file.startsWith(base + path.sep)) return reply(404, 'Non trovato\n');
    let stat;
    try {
      stat = await fs.stat(file);
    } catch {
      return reply(404, 'Non trovato\n');
    }
    if (!stat.isFile()) return reply(404, 'Non trovato\n');
    const type = types[path.extname(file).toLowerCase()] || 'application/octet-stream';
    const gzip = compressible(type) && /\bgzip\b/.test(req.headers['accept-encoding'] || '');
    const headers = {
      ...isolationHeaders,
      'Content-Type': type,
      // The browser asks every time whether its copy is still the site's, and keeps it
      // when the file has not changed: the game's threads load the program's script too.
      'Cache-Control': 'no-cache',
      ETag: `"${stat.size.toString(16)}-${Math.floor(stat.mtimeMs).toString(16)}"`,
      'Last-Modified': stat.mtime.toUTCString(),
      Vary: 'Accept-Encoding',
    };
    if (req.headers['if-none-match'] === headers.ETag) {
      res.writeHead(304, headers);
      return res.end();
    }
    if (log) console.log(`${req.method} ${name}`);
    if (!gzip) {
      res.writeHead(200, { ...headers, 'Content-Length': stat.size });
      if (req.method === 'HEAD') return res.end();
      return createReadStream(file).pipe(res);
    }
    // Compressed once per version of the file, as a host keeps its compressed copies.
    let kept = compressed.get(file);
    if (!kept || kept.mtimeMs !== stat.mtimeMs || kept.size !== stat.size) {
      try {
        kept = { mtimeMs: stat.mtimeMs, size: stat.size,
                 body: zlib.gzipSync(await fs.readFile(file), { level: 9 }) };
      } catch {
        return reply(404, 'Non trovato\n');
      }
      compressed.set(file, kept);
    }
    res.writeHead(200, { ...headers, 'Content-Encoding': 'gzip', 'Content-Length': kept.body.length });
    res.end(req.method === 'HEAD' ? undefined : kept.body);
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

export const addressOf = (server) => `http://127.0.0.1:${server.address().port}/`;

if (process.argv[1] && import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [root, port] = process.argv.slice(2);
  if (!root) {
    console.error('uso: node serve.mjs CARTELLA [PORTA]');
    process.exit(2);
  }
  try {
    await fs.access(path.join(root, 'index.html'));
  } catch {
    console.error(`serve.mjs: ${root}/index.html non c'è: prima "make web"`);
    process.exit(1);
  }
  const server = await startServer(root, Number(port || 0));
  console.log(`Lemmaro: ${addressOf(server)}`);
}
