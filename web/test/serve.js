// Serves one folder on 127.0.0.1 only: the page for a person to try
// (scripts/web.sh serve) and for the browser tests. Port 0 takes a free one.
//   node serve.js DIR [PORT]
"use strict";
const http = require("http");
const fs = require("fs");
const path = require("path");

const TYPES = {
  ".html": "text/html; charset=utf-8", ".css": "text/css; charset=utf-8",
  ".js": "text/javascript; charset=utf-8", ".wasm": "application/wasm",
  ".mid": "audio/midi", ".png": "image/png", ".txt": "text/plain",
};

function serve(dir, port = 0) {
  const root = path.resolve(dir);
  const server = http.createServer((req, res) => {
    const url = new URL(req.url, "http://127.0.0.1");
    let file = path.join(root, decodeURIComponent(url.pathname));
    if (file !== root && !file.startsWith(root + path.sep)) {
      res.writeHead(403).end();
      return;
    }
    if (url.pathname.endsWith("/")) file = path.join(file, "index.html");
    fs.readFile(file, (err, data) => {
      if (err) {
        res.writeHead(404, { "Content-Type": "text/plain" }).end("not found");
        return;
      }
      res.writeHead(200, { "Content-Type": TYPES[path.extname(file)] || "application/octet-stream",
                           "Cache-Control": "no-store" });
      res.end(data);
    });
  });
  return new Promise((resolve, reject) => {
    server.once("error", reject);
    server.listen(port, "127.0.0.1", () => resolve(server));
  });
}

module.exports = { serve };

if (require.main === module) {
  const [dir, port] = process.argv.slice(2);
  if (!dir) {
    console.error("usage: node serve.js DIR [PORT]");
    process.exit(2);
  }
  serve(dir, Number(port || 0)).then((server) => {
    console.log(`The page is at http://127.0.0.1:${server.address().port}/ (Ctrl+C ends)`);
  }, (err) => {
    console.error(`serve.js: ${err.message}`);
    process.exit(1);
  });
}
