// The page's picture for the README, with the profile tools/screenshots.sh shows in the desktop
// programs: docs/screenshot-web.png. Needs the site built and the test driver installed
// (tools/test.sh web). Usage: node tools/web-screenshot.mjs
import { createRequire } from "node:module";
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { fileURLToPath } from "node:url";

const root = path.join(path.dirname(fileURLToPath(import.meta.url)), "..");
const { chromium } = createRequire(path.join(root, "tests/web/package.json"))("playwright-core");
const site = path.join(root, "build/web/site");
const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
                ".css": "text/css", ".png": "image/png", ".ttf": "font/ttf" };
const server = http.createServer((request, response) => {
  let file = new URL(request.url, "http://localhost").pathname;
  if (file.endsWith("/")) {
    file += "index.html";
  }
  fs.readFile(path.join(site, path.normalize(file)), (error, bytes) => {
    response.writeHead(error ? 404 : 200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
    response.end(error ? undefined : bytes);
  });
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
const page = await browser.newPage({ viewport: { width: 960, height: 760 } });
const chooser = new Promise((resolve) => page.once("filechooser", resolve));
await page.goto(`http://localhost:${server.address().port}/`);
await page.waitForFunction(() => typeof TANU !== "undefined" && TANU.startedAt !== undefined);
await page.keyboard.press("Control+O");
await (await chooser).setFiles({
  name: "anna.tanu", mimeType: "application/octet-stream",
  buffer: Buffer.from("Anna Example\r\n2015/3/10\r\n2024/6/1\r\nMr Jones\r\n9\r\n8\r\n10\r\n7\r\n11\r\n9\r\n6\r\n12\r\n10\r\n8\r\n", "latin1"),
});
await page.evaluate(() => TANU.queue);
await page.locator("#window").screenshot({ path: path.join(root, "docs/screenshot-web.png") });
await browser.close();
server.close();
