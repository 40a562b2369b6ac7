// The built page served from this machine, and Debian's Chromium to open it in: for the tests,
// the web bench and the README's picture.
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";

const here = path.dirname(fileURLToPath(import.meta.url));
export const site = process.env.SITE || path.join(here, "../../build/web/site");

const types = {
  ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm", ".css": "text/css",
  ".png": "image/png", ".ttf": "font/ttf", ".webmanifest": "application/manifest+json",
};

// Serves the site on 127.0.0.1 at a port of its own; gives its address and how to stop it.
export async function serveSite() {
  const server = http.createServer((request, response) => {
    let file = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
    if (file.endsWith("/")) {
      file += "index.html";
    }
    fs.readFile(path.join(site, path.normalize(file)), (error, bytes) => {
      if (error) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
      response.end(bytes);
    });
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return { origin: `http://localhost:${server.address().port}`, close: () => server.close() };
}

// Headless, and without the sandbox, which a root user in a container cannot have.
export function launchChromium() {
  return chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
}

// Resolves once the program has drawn its first whole chart.
export function started(page) {
  return page.waitForFunction(() => typeof TANU !== "undefined" && TANU.startedAt !== undefined);
}

// Catches the page's file choosers from now on: the browser is told to hand them over before
// the page loads, so none can open before that has taken effect. Gives a function that opens a
// file as File > Open (Ctrl+O) with the chooser answered.
export function catchFileChoosers(page) {
  const choosers = [];
  let arrived = () => {};
  page.on("filechooser", (chooser) => {
    choosers.push(chooser);
    arrived();
  });
  return async (name, bytes, mimeType = "application/octet-stream") => {
    await page.keyboard.press("Control+O");
    while (choosers.length === 0) {
      await new Promise((resolve) => { arrived = resolve; });
    }
    await choosers.shift().setFiles({ name, mimeType, buffer: Buffer.from(bytes) });
  };
}
